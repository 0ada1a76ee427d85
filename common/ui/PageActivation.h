#pragma once

// A page that hears when the user chooses its tab, for example to pick up what other programs
// changed meanwhile. Showing the window again (after it was minimised) is not a choice of tab.
class PageActivation
{
public:
    virtual ~PageActivation() = default;
    virtual void pageActivated() = 0;
};
