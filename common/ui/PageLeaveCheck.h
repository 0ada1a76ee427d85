#pragma once

// A page that may refuse to be left, for example while a field holds a value it cannot keep.
class PageLeaveCheck
{
public:
    virtual ~PageLeaveCheck() = default;
    // Tells the user what is wrong and returns false when the page must stay shown.
    virtual bool mayLeave() = 0;
};
