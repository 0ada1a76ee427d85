#pragma once

#include "common/Clock.h"
#include "reelbox/ui/CReelboxDlg.h"
#include "tests/support/FixedClock.h"
#include "tests/support/GuiSupport.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestMedia.h"

#include <QComboBox>
#include <QTest>

#include <memory>

// The base of the tests that drive Reelbox's window: a fresh database, a media folder of the
// test's own, dialogs answered from a script and the clock at 2026-03-07 10:00.
class ReelboxWindowTest : public QObject
{
protected:
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<TestMediaFolder> m_media;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<CReelboxDlg> m_window;
    FixedClock m_clock{QDateTime(QDate(2026, 3, 7), QTime(10, 0))};

    QComboBox* combo(const QString& name) const { return Gui::find<QComboBox>(m_window.get(), name); }

    static void choose(QComboBox* box, const QString& text)
    {
        const int index = box->findText(text);
        QVERIFY2(index >= 0, qPrintable(text));
        box->setCurrentIndex(index);
    }

    void openWindow()
    {
        m_window = std::make_unique<CReelboxDlg>();
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    // For init(): everything fresh, the window open.
    void startFixture()
    {
        Clock::install(&m_clock);
        m_db = std::make_unique<TestDatabase>();
        m_media = std::make_unique<TestMediaFolder>();
        m_dialogs = std::make_unique<ScriptedDialogs>();
        openWindow();
    }

    // For cleanup(), once the window is closed: every scripted answer was asked for.
    void endFixture()
    {
        m_window.reset();
        QVERIFY(m_dialogs->unexpected().isEmpty());
        m_dialogs.reset();
        m_media.reset();
        m_db.reset();
        Clock::install(nullptr);
    }
};
