#include "media/PictureGeometry.h"
#include "media/ui/CMypic.h"
#include "media/ui/CPicture.h"
#include "media/ui/CPictureViewDlg.h"
#include "tests/media/ui/TestPictures.h"
#include "tests/support/GuiSupport.h"
#include "tests/support/ManualSlideShowTimer.h"
#include "tests/support/ScriptedDialogs.h"

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
    // Two pictures around a sound that a picture record also names.
    const QStringList m_names{QStringLiteral("wide.png"), QStringLiteral("tall.png"), QStringLiteral("song.mp3"),
                              QStringLiteral("last.bmp")};
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<CPictureViewDlg> m_viewer;
    ManualSlideShowTimer* m_timer = nullptr;

    QString path(const QString& name) const { return m_media.filePath(name); }
    QPushButton* button(const char* name) const { return Gui::find<QPushButton>(m_viewer.get(), QLatin1String(name)); }
    QRect centredNatural(QSize picture) const
    {
        return PictureGeometry::naturalSize(PictureGeometry::centreOf(m_viewer->view()->clientSize()), picture);
    }
    // A point of the view's client area as a position on the view widget.
    static QPoint onView(const CMypic* view, QPoint client) { return client + view->contentsRect().topLeft(); }

private slots:
    void initTestCase()
    {
        const QDir dir(m_media.path());
        TestPictures::write(dir, QStringLiteral("wide.png"), QSize(300, 100), Qt::red);
        TestPictures::write(dir, QStringLiteral("tall.png"), QSize(60, 200), Qt::green);
        TestPictures::writeBytes(dir, QStringLiteral("song.mp3"), QByteArray("ID3\x03\x00 sound", 10));
        TestPictures::write(dir, QStringLiteral("last.bmp"), QSize(50, 50), Qt::blue, "bmp");
    }

    void init()
    {
        m_dialogs = std::make_unique<ScriptedDialogs>();
        m_viewer = std::make_unique<CPictureViewDlg>(m_media.path());
        auto timer = std::make_unique<ManualSlideShowTimer>();
        m_timer = timer.get();
        m_viewer->setSlideShowTimer(std::move(timer));
        m_viewer->setPictures(m_names, 1, path(QStringLiteral("tall.png")));
        m_viewer->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_viewer.get()));
    }

    void cleanup()
    {
        m_viewer.reset();
        m_dialogs.reset();
    }

    void opensFullScreenWithTheSelectedPictureCentred()
    {
        QVERIFY(m_viewer->isFullScreen());
        QCOMPARE(m_viewer->picture().size(), QSize(60, 200));
        QCOMPARE(m_viewer->view()->placement(), centredNatural(QSize(60, 200)));
        QCOMPARE(m_viewer->sequence().index(), 1);
        QVERIFY(button("previousButton")->isEnabled() && button("nextButton")->isEnabled());
        QCOMPARE(Gui::find<QSlider>(m_viewer.get(), QStringLiteral("speedSlider"))->value(), 5);
        QCOMPARE(m_viewer->interval(), 2000);

        // The picture lies in the middle of the view on the view's background.
        const QImage shot = m_viewer->view()->grab().toImage();
        const QPoint middle = onView(m_viewer->view(), PictureGeometry::centreOf(m_viewer->view()->clientSize()));
        QCOMPARE(QColor(shot.pixel(middle)), QColor(Qt::green));
        QCOMPARE(QColor(shot.pixel(middle + QPoint(40, 0))), m_viewer->view()->palette().color(QPalette::Base));
    }

    void zoomsAroundTheViewCentre()
    {
        const QRect natural = m_viewer->view()->placement();
        Gui::click(m_viewer.get(), QStringLiteral("zoomInButton"));
        const QPoint centre = PictureGeometry::centreOf(m_viewer->view()->clientSize());
        QCOMPARE(m_viewer->view()->placement(), QRect(centre - QPoint(60, 200), QSize(120, 400)));
        Gui::click(m_viewer.get(), QStringLiteral("naturalSizeButton"));
        QCOMPARE(m_viewer->view()->placement(), natural);

        for (int i = 0; i < 3; ++i)
            Gui::click(m_viewer.get(), QStringLiteral("zoomOutButton"));
        QCOMPARE(m_viewer->view()->placement().size(), QSize(24, 84));
        Gui::click(m_viewer.get(), QStringLiteral("naturalSizeButton"));
        QCOMPARE(m_viewer->view()->placement(), natural);
    }

    void stepsThroughTheListAndStopsAtBothEnds()
    {
        Gui::click(m_viewer.get(), QStringLiteral("nextButton"));
        // A sound in the list shows an empty view with its name.
        QCOMPARE(m_viewer->currentName(), QStringLiteral("song.mp3"));
        QVERIFY(m_viewer->picture().isEmpty());
        const QImage shot = m_viewer->view()->grab().toImage();
        const QPoint middle = onView(m_viewer->view(), PictureGeometry::centreOf(m_viewer->view()->clientSize()));
        QCOMPARE(QColor(shot.pixel(middle + QPoint(0, 40))), m_viewer->view()->palette().color(QPalette::Base));

        Gui::click(m_viewer.get(), QStringLiteral("nextButton"));
        QCOMPARE(m_viewer->currentPath(), path(QStringLiteral("last.bmp")));
        QCOMPARE(m_viewer->picture().size(), QSize(50, 50));
        QVERIFY(button("nextButton")->isEnabled());
        // On the last picture "下一个" leaves it on show and is disabled.
        Gui::click(m_viewer.get(), QStringLiteral("nextButton"));
        QCOMPARE(m_viewer->currentName(), QStringLiteral("last.bmp"));
        QVERIFY(!button("nextButton")->isEnabled());

        for (int i = 0; i < 3; ++i)
            Gui::click(m_viewer.get(), QStringLiteral("previousButton"));
        QCOMPARE(m_viewer->currentName(), QStringLiteral("wide.png"));
        QCOMPARE(m_viewer->view()->placement(), centredNatural(QSize(300, 100)));
        QVERIFY(button("nextButton")->isEnabled());
        Gui::click(m_viewer.get(), QStringLiteral("previousButton"));
        QCOMPARE(m_viewer->currentName(), QStringLiteral("wide.png"));
        QVERIFY(!button("previousButton")->isEnabled());
        QVERIFY(m_dialogs->texts().isEmpty());
    }

    void slideShowRunsFromTheFirstNameToItsEnd()
    {
        auto* slider = Gui::find<QSlider>(m_viewer.get(), QStringLiteral("speedSlider"));
        // The fast end still leaves each picture on show for a moment.
        slider->setValue(0);
        QCOMPARE(m_viewer->interval(), 300);

        Gui::click(m_viewer.get(), QStringLiteral("slideShowButton"));
        QCOMPARE(m_viewer->currentName(), QStringLiteral("wide.png"));
        QVERIFY(m_timer->isActive());
        QCOMPARE(m_timer->interval(), 300);

        // A new speed waits for the next start.
        slider->setValue(10);
        QCOMPARE(m_viewer->interval(), 3000);
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
        QCOMPARE(m_viewer->currentName(), QStringLiteral("last.bmp"));
        QCOMPARE(m_viewer->sequence().index(), 0);

        Gui::click(m_viewer.get(), QStringLiteral("slideShowButton"));
        QCOMPARE(m_timer->interval(), 3000);
        QCOMPARE(m_viewer->currentName(), QStringLiteral("wide.png"));
    }

    void onlyTheCloseBoxAndCloseButtonClose()
    {
        for (int key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            QTest::keyClick(m_viewer.get(), Qt::Key(key));
            QVERIFY(m_viewer->isVisible());
        }
        // Enter on a focused button does not press it either.
        button("nextButton")->setFocus();
        QTest::keyClick(button("nextButton"), Qt::Key_Return);
        QCOMPARE(m_viewer->currentName(), QStringLiteral("tall.png"));

        Gui::click(m_viewer.get(), QStringLiteral("slideShowButton"));
        Gui::click(m_viewer.get(), QStringLiteral("closeButton"));
        QVERIFY(!m_viewer->isVisible());
        QVERIFY(!m_timer->isActive());
        QVERIFY(m_viewer->picture().isEmpty());

        // Opened again for another list: the speed stays, the list and buttons are new.
        m_viewer->setPictures({QStringLiteral("last.bmp")}, 0, path(QStringLiteral("last.bmp")));
        m_viewer->show();
        QCOMPARE(m_viewer->picture().size(), QSize(50, 50));
        QCOMPARE(m_viewer->sequence().count(), 1);
        QVERIFY(button("nextButton")->isEnabled());
        QVERIFY(m_viewer->close());
        QVERIFY(!m_viewer->isVisible());
    }

    void draggingMovesThePictureByTheMouseOffset()
    {
        CMypic* view = m_viewer->view();
        const QRect before = view->placement();
        const QPoint grip = onView(view, before.center());

        QTest::mousePress(view, Qt::LeftButton, {}, grip);
        QVERIFY(view->isDragging());
        QCOMPARE(view->cursor().shape(), Qt::BitmapCursor);
        QTest::mouseMove(view, grip + QPoint(30, -20));
        QTest::mouseMove(view, grip + QPoint(45, -5));
        QCOMPARE(view->placement(), before.translated(45, -5));
        QTest::mouseRelease(view, Qt::LeftButton, {}, grip + QPoint(45, -5));
        QVERIFY(!view->isDragging());
        QCOMPARE(view->cursor().shape(), Qt::ArrowCursor);

        // Moving afterwards does nothing; neither does pressing beside the picture.
        QTest::mouseMove(view, grip);
        QTest::mousePress(view, Qt::LeftButton, {}, onView(view, view->placement().topLeft() - QPoint(5, 5)));
        QVERIFY(!view->isDragging());
        QTest::mouseMove(view, grip + QPoint(100, 100));
        QCOMPARE(view->placement(), before.translated(45, -5));
        QTest::mouseRelease(view, Qt::LeftButton, {}, grip + QPoint(100, 100));

        // The mouse cannot take the picture beyond the view's edge.
        const QPoint start = onView(view, view->placement().center());
        QTest::mousePress(view, Qt::LeftButton, {}, start);
        QTest::mouseMove(view, QPoint(view->width() + 500, start.y()));
        QCOMPARE(view->placement().left(),
                 before.left() + 45 + (view->clientSize().width() - 1) - (start.x() - view->contentsRect().left()));
        QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(view->width() + 500, start.y()));

        // Natural size puts a dragged picture back in the middle.
        Gui::click(m_viewer.get(), QStringLiteral("naturalSizeButton"));
        QCOMPARE(view->placement(), before);
    }
};

QTEST_MAIN(TestPictureViewer)
#include "tst_pictureviewer.moc"
