#pragma once

#include "tests/support/FixedClock.h"
#include "tests/support/GuiSupport.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestDatabase.h"

#include <QAbstractItemModel>
#include <QTableView>

// A page of type Page shown on a fresh database, with scripted dialogs and the clock fixed at
// 7 December 2026.
template <typename Page> class PageFixture
{
public:
    PageFixture() { Clock::install(&m_clock); }
    ~PageFixture() { Clock::install(nullptr); }

    TestDatabase& db() { return m_db; }
    ScriptedDialogs& dialogs() { return m_dialogs; }
    Page& page() { return *m_page; }

    void show()
    {
        m_page = std::make_unique<Page>();
        m_page->resize(1000, 700);
        m_page->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_page.get()));
    }

    template <typename T> T* field(const char* name) const
    {
        return Gui::find<T>(m_page.get(), QString::fromLatin1(name));
    }
    bool click(const char* name) { return Gui::click(m_page.get(), QString::fromLatin1(name)); }

    // The page's list is "recordList" unless a page names it otherwise.
    void setListName(const char* name) { m_listName = name; }
    QTableView* list() const { return field<QTableView>(m_listName); }

    // The texts of one column of the record list, top to bottom.
    QStringList listed(int column = 1) const
    {
        QStringList texts;
        const QAbstractItemModel* model = list()->model();
        for (int row = 0; row < model->rowCount(); ++row)
            texts << model->index(row, column).data().toString();
        return texts;
    }
    void clickRow(int row)
    {
        QTableView* view = list();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          view->visualRect(view->model()->index(row, 1)).center());
    }

private:
    FixedClock m_clock{QDateTime(QDate(2026, 12, 7), QTime(9, 0))};
    TestDatabase m_db;
    ScriptedDialogs m_dialogs;
    std::unique_ptr<Page> m_page;
    const char* m_listName = "recordList";
};
