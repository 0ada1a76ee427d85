#include "tests/support/TestMedia.h"

#include "media/ui/CWMPPlayer4.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

class TestPlayer : public QObject
{
    Q_OBJECT

private:
    // Loaded and under way; without a sound device the pipeline may report either state.
    static bool started(const CWMPPlayer4& player)
    {
        const Playback::Status status = player.mediaStatus();
        return status == Playback::Status::Loaded || status == Playback::Status::Buffering ||
               status == Playback::Status::Buffered;
    }

    // Whether an object of the media framework's class className exists below widget.
    static bool hasObjectOf(const QWidget& widget, const char* className)
    {
        const QList<QObject*> objects = widget.findChildren<QObject*>();
        return std::any_of(objects.begin(), objects.end(),
                           [&](QObject* object) { return qstrcmp(object->metaObject()->className(), className) == 0; });
    }

private slots:
    // Runs first, before any test has loaded the player's module.
    void saysSoWhenThePlayerModuleIsMissing()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("宝宝笑声.wav"));
        QVERIFY(TestMedia::write(path, TestMedia::wav(1000)));
        const QByteArray modules = qgetenv("KESTRIN_MODULE_DIR");
        qputenv("KESTRIN_MODULE_DIR", dir.path().toUtf8());

        CWMPPlayer4 player;
        player.show();
        QSignalSpy failed(&player, &CWMPPlayer4::failed);
        player.setURL(path);
        QCOMPARE(player.statusLine(), QStringLiteral("无法播放“宝宝笑声.wav”：找不到播放组件。请重新安装本软件。"));
        QCOMPARE(failed.count(), 1);
        player.setFullScreen(true);
        QVERIFY(!player.isFullScreen());
        player.play();
        QCOMPARE(player.playbackState(), Playback::State::Stopped);

        // Once the module is back, the same player plays.
        qputenv("KESTRIN_MODULE_DIR", modules);
        player.setURL(path);
        QTRY_VERIFY_WITH_TIMEOUT(started(player), 10000);
        QCOMPARE(player.statusLine(), QStringLiteral("宝宝笑声.wav"));
    }

    void playsPausesAndClosesASound()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("宝宝笑声.wav"));
        QVERIFY(TestMedia::write(path, TestMedia::wav(5000)));

        CWMPPlayer4 player;
        player.show();
        QCOMPARE(player.volume(), 50);
        player.setURL(path); // starts by itself
        QTRY_VERIFY_WITH_TIMEOUT(started(player), 10000);
        QCOMPARE(player.playbackState(), Playback::State::Playing);
        QCOMPARE(player.statusLine(), QStringLiteral("宝宝笑声.wav"));

        player.pause();
        QTRY_COMPARE(player.playbackState(), Playback::State::Paused);
        player.fastForward();
        QCOMPARE(player.playbackRate(), CWMPPlayer4::FastForwardRate);
        QTRY_COMPARE(player.playbackState(), Playback::State::Playing);
        player.play(); // back to normal speed
        QCOMPARE(player.playbackRate(), 1.0);

        player.close();
        QCOMPARE(player.playbackState(), Playback::State::Stopped);
        QVERIFY(player.URL().isEmpty());
        player.play(); // nothing to play: nothing happens
        QCOMPARE(player.playbackState(), Playback::State::Stopped);
    }

    void saysWhenAFileCannotBePlayed()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("坏了.avi"));
        QVERIFY(TestMedia::write(path, TestMedia::noise(64 * 1024)));

        CWMPPlayer4 player;
        player.show();
        QSignalSpy failed(&player, &CWMPPlayer4::failed);
        player.setURL(path);
        QTRY_VERIFY_WITH_TIMEOUT(player.statusLine().startsWith(QStringLiteral("无法播放“坏了.avi”")), 10000);
        QTRY_COMPARE(player.playbackState(), Playback::State::Stopped);
        QCOMPARE(failed.count(), 1);

        player.setURL(dir.filePath(QStringLiteral("没有.wav")));
        QCOMPARE(player.statusLine(), QStringLiteral("找不到文件“没有.wav”。"));
        QCOMPARE(failed.count(), 2);

        // A good file after a bad one plays.
        const QString good = dir.filePath(QStringLiteral("good.wav"));
        QVERIFY(TestMedia::write(good, TestMedia::wav(3000)));
        player.setURL(good);
        QTRY_VERIFY_WITH_TIMEOUT(started(player), 10000);
        QCOMPARE(player.statusLine(), QStringLiteral("good.wav"));
    }

    void fullScreenIsLeftWithEscapeOrDoubleClick()
    {
        CWMPPlayer4 player;
        player.resize(320, 240);
        player.show();
        QVERIFY(QTest::qWaitForWindowExposed(&player));
        // Nothing has been played: the media framework is not started until it is needed.
        QVERIFY(!hasObjectOf(player, "QVideoWidget"));
        QVERIFY(!hasObjectOf(player, "QMediaPlayer"));
        QSignalSpy doubleClicked(&player, &CWMPPlayer4::doubleClicked);

        player.setFullScreen(true);
        QVERIFY(player.isFullScreen());
        auto* video = player.findChild<QWidget*>(QStringLiteral("videoDisplay"));
        QVERIFY(video);
        QTest::keyClick(video, Qt::Key_Escape);
        QVERIFY(!player.isFullScreen());

        player.setFullScreen(true);
        QTest::mouseDClick(video, Qt::LeftButton);
        QVERIFY(!player.isFullScreen());
        QCOMPARE(doubleClicked.count(), 0);

        // In the window a double-click is the host's to answer.
        QTest::mouseDClick(player.findChild<QWidget*>(QStringLiteral("statusLine")), Qt::LeftButton);
        QCOMPARE(doubleClicked.count(), 1);
    }
};

QTEST_MAIN(TestPlayer)
#include "tst_player.moc"
