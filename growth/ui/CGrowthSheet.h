#pragma once

#include "common/ui/MainWindowBase.h"

class QTabWidget;

// The main window of growth: the diary, birthday and honours pages as tabs, each built the
// first time it is shown and kept, with what it holds, while the user switches tabs.
class CGrowthSheet : public MainWindowBase
{
    Q_OBJECT

public:
    enum Tab
    {
        DiaryTab = 0,
        BirthdayTab = 1,
        HonoursTab = 2
    };

    explicit CGrowthSheet(QWidget* parent = nullptr);

    QTabWidget* pages() const { return m_pages; }
    // The page of a tab, built now if it was not shown yet.
    QWidget* page(int index) const;

public slots:
    void showAbout() override;

private:
    QTabWidget* m_pages;
};
