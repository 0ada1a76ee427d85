#include "media/PictureGeometry.h"
#include "media/ui/CMypic.h"
#include "media/ui/CPictureViewDlg.h"
#include "tests/support/GuiSupport.h"
#include "tests/support/ManualSlideShowTimer.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestPictures.h"

#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>

// The full-screen viewer: opening, zooming, stepping, the slide show, closing, and dragging the
// picture in its view.
class TestPictureViewer : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_media;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<CPictureViewDlg> m_viewer;
    ManualSlideShowTimer* m_timer = nullptr;

    CMypic* view() const { return m_viewer->view(); }
    QPoint centre() const { return PictureGeometry::centreOf(view()->clientSize()); }
    // A point of the view's client area as a position on the view widget.
    QPoint onView(QPoint client) const { return client + view()->contentsRect().topLeft(); }
    void click(const char* button) { Gui::click(m_viewer.get(), QLatin1String(button)); }
    bool enabled(const char* button) const
    {
        return Gui::find<QPushButton>(m_viewer.get(), QLatin1String(button))->isEnabled();
    }

private slots:
    void initTestCase()
    {
        const QDir dir(m_media.path());
        TestPictures::write(dir, QStringLiteral("wide.png"), QSize(300, 100), Qt::red);
        TestPictures::write(dir, QStringLiteral("tall.png"), QSize(60, 200), Qt::green);
        TestPictures::writeBytes(dir, QStringLiteral("song.mp3"), "ID3\x03 sound");
        TestPictures::write(dir, QStringLiteral("last.bmp"), QSize(50, 50), Qt::blue, "bmp");
    }

    void init()
    {
        m_dialogs = std::make_unique<ScriptedDialogs>();
        m_viewer = std::make_unique<CPictureViewDlg>(m_media.path());
        auto timer = std::make_unique<ManualSlideShowTimer>();
        m_timer = timer.get();
        m_viewer->setSlideShowTimer(std::move(timer));
        // Two pictures around a sound that a picture record also names; "tall.png" selected.
        m_viewer->setPictures({QStringLiteral("wide.png"), QStringLiteral("tall.png"), QStringLiteral("song.mp3"),
                               QStringLiteral("last.bmp")},
                              1, m_media.filePath(QStringLiteral("tall.png")));
        m_viewer->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_viewer.get()));
    }

    void cleanup()
    {
        m_viewer.reset();
        m_dialogs.reset();
    }

    void opensFullScreenAndZoomsAroundTheCentre()
    {
        QVERIFY(m_viewer->isFullScreen());
        const QRect natural(centre() - QPoint(30, 100), QSize(60, 200));
        QCOMPARE(view()->placement(), natural);
        const QImage shot = view()->grab().toImage();
        QCOMPARE(shot.pixelColor(onView(centre())), QColor(Qt::green));
        QCOMPARE(shot.pixelColor(onView(centre() + QPoint(40, 0))), view()->palette().color(QPalette::Base));

        click("zoomInButton");
        QCOMPARE(view()->placement(), QRect(centre() - QPoint(60, 200), QSize(120, 400)));
        for (int i = 0; i < 3; ++i)
            click("zoomOutButton");
        QCOMPARE(view()->placement(), QRect(centre() - QPoint(25, 84), QSize(50, 168)));
        click("naturalSizeButton");
        QCOMPARE(view()->placement(), natural);
    }

    void stepsThroughTheListAndStopsAtBothEnds()
    {
        click("nextButton");
        // A sound in the list shows an empty view with its name.
        QCOMPARE(m_viewer->currentName(), QStringLiteral("song.mp3"));
        QVERIFY(m_viewer->picture().isEmpty());
        click("nextButton");
        QCOMPARE(m_viewer->currentPath(), m_media.filePath(QStringLiteral("last.bmp")));
        QCOMPARE(view()->placement(), QRect(centre() - QPoint(25, 25), QSize(50, 50)));
        QVERIFY(enabled("nextButton"));
        // On the last picture "下一个" leaves it on show and is disabled.
        click("nextButton");
        QCOMPARE(m_viewer->currentName(), QStringLiteral("last.bmp"));
        QVERIFY(!enabled("nextButton"));

        for (int i = 0; i < 4; ++i)
            click("previousButton");
        QCOMPARE(m_viewer->currentName(), QStringLiteral("wide.png"));
        QVERIFY(!enabled("previousButton"));
        QVERIFY(enabled("nextButton"));
    }

    void slideShowRunsFromTheFirstNameToItsEnd()
    {
        auto* slider = Gui::find<QSlider>(m_viewer.get(), QStringLiteral("speedSlider"));
        QCOMPARE(slider->value(), 5);
        QCOMPARE(m_viewer->interval(), 2000);
        // The fast end still leaves each picture on show for a moment.
        slider->setValue(0);
        click("slideShowButton");
        QCOMPARE(m_viewer->currentName(), QStringLiteral("wide.png"));
        QCOMPARE(m_timer->interval(), 300);
        // A new speed waits for the next start.
        slider->setValue(10);
        QCOMPARE(m_timer->interval(), 300);

        QStringList shown;
        for (int i = 0; i < 3; ++i) {
            m_timer->fire();
            shown << m_viewer->currentName();
        }
        QCOMPARE(shown,
                 (QStringList{QStringLiteral("tall.png"), QStringLiteral("song.mp3"), QStringLiteral("last.bmp")}));
        QVERIFY(m_dialogs->texts().isEmpty());
        m_timer->fire();
        QCOMPARE(m_dialogs->texts(), QStringList{QStringLiteral("播放结束")});
        QVERIFY(!m_timer->isActive());

        click("slideShowButton");
        QCOMPARE(m_timer->interval(), 3000);
        QCOMPARE(m_viewer->currentName(), QStringLiteral("wide.png"));
    }

    void onlyTheCloseBoxAndCloseButtonClose()
    {
        for (int key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
            QTest::keyClick(m_viewer.get(), Qt::Key(key));
        // Nor does Enter press the focused button.
        auto* next = Gui::find<QPushButton>(m_viewer.get(), QStringLiteral("nextButton"));
        next->setFocus();
        QTest::keyClick(next, Qt::Key_Return);
        QVERIFY(m_viewer->isVisible());
        QCOMPARE(m_viewer->currentName(), QStringLiteral("tall.png"));

        click("slideShowButton");
        click("closeButton");
        QVERIFY(!m_viewer->isVisible());
        QVERIFY(!m_timer->isActive());

        m_viewer->setPictures({QStringLiteral("last.bmp")}, 0, m_media.filePath(QStringLiteral("last.bmp")));
        m_viewer->show();
        QCOMPARE(m_viewer->picture().size(), QSize(50, 50));
        QVERIFY(enabled("nextButton"));
        QVERIFY(m_viewer->close());
    }

    void draggingMovesThePictureByTheMouseOffset()
    {
        const QRect before = view()->placement();
        const QPoint grip = onView(before.center());
        QTest::mousePress(view(), Qt::LeftButton, {}, grip);
        QCOMPARE(view()->cursor().shape(), Qt::BitmapCursor);
        QTest::mouseMove(view(), grip + QPoint(30, -20));
        QTest::mouseMove(view(), grip + QPoint(45, -5));
        QCOMPARE(view()->placement(), before.translated(45, -5));
        QTest::mouseRelease(view(), Qt::LeftButton, {}, grip + QPoint(45, -5));
        QCOMPARE(view()->cursor().shape(), Qt::ArrowCursor);

        // Pressing beside the picture drags nothing.
        QTest::mousePress(view(), Qt::LeftButton, {}, onView(view()->placement().topLeft() - QPoint(5, 5)));
        QTest::mouseMove(view(), grip);
        QTest::mouseRelease(view(), Qt::LeftButton, {}, grip);
        QCOMPARE(view()->placement(), before.translated(45, -5));

        // The mouse takes the picture no further than the view's edge.
        const QPoint start = onView(view()->placement().center());
        QTest::mousePress(view(), Qt::LeftButton, {}, start);
        QTest::mouseMove(view(), QPoint(view()->width() + 500, start.y()));
        QTest::mouseRelease(view(), Qt::LeftButton, {}, QPoint(view()->width() + 500, start.y()));
        const int edge = view()->contentsRect().right();
        QCOMPARE(view()->placement(), before.translated(45 + edge - start.x(), -5));

        // Natural size puts a dragged picture back in the middle.
        click("naturalSizeButton");
        QCOMPARE(view()->placement(), before);
    }
};

QTEST_MAIN(TestPictureViewer)
#include "tst_pictureviewer.moc"
