#include "tests/support/TestMedia.h"

#include "media/ui/CWMPPlayer4.h"

#include <QSignalSpy>
#include <QTest>
#include <QVideoWidget>

class TestPlayer : public QObject
{
    Q_OBJECT

private:
    // Loaded and under way; without a sound device the pipeline may report either state.
    static bool started(const CWMPPlayer4& player)
    {
        const QMediaPlayer::MediaStatus status = player.mediaStatus();
        return status == QMediaPlayer::LoadedMedia || status == QMediaPlayer::BufferingMedia ||
               status == QMediaPlayer::BufferedMedia;
    }

private slots:
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
        QCOMPARE(player.playbackState(), QMediaPlayer::PlayingState);
        QCOMPARE(player.statusLine(), QStringLiteral("宝宝笑声.wav"));

        player.pause();
        QTRY_COMPARE(player.playbackState(), QMediaPlayer::PausedState);
        player.fastForward();
        QCOMPARE(player.playbackRate(), CWMPPlayer4::FastForwardRate);
        QTRY_COMPARE(player.playbackState(), QMediaPlayer::PlayingState);
        player.play(); // back to normal speed
        QCOMPARE(player.playbackRate(), 1.0);

        player.close();
        QCOMPARE(player.playbackState(), QMediaPlayer::StoppedState);
        QVERIFY(player.URL().isEmpty());
        player.play(); // nothing to play: nothing happens
        QCOMPARE(player.playbackState(), QMediaPlayer::StoppedState);
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
        QTRY_COMPARE(player.playbackState(), QMediaPlayer::StoppedState);
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
        QVERIFY(!player.findChild<QVideoWidget*>());
        QVERIFY(!player.findChild<QMediaPlayer*>());
        QSignalSpy doubleClicked(&player, &CWMPPlayer4::doubleClicked);

        player.setFullScreen(true);
        QVERIFY(player.isFullScreen());
        auto* video = player.findChild<QVideoWidget*>(QStringLiteral("videoDisplay"));
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
