#include "media/DroppedFiles.h"
#include "media/ThumbnailCache.h"
#include "media/ThumbnailLoader.h"
#include "media/Thumbnailer.h"
#include "tests/support/TestMedia.h"
#include "tests/support/TestPictures.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QImageWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

// Thumbnails in the cache the user's file manager shares: entry names and keys as the
// convention has them, remade when a file changes, failures recorded once, video frames, and
// a loader that forgets what a new list no longer shows.
class TestThumbnails : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ThumbnailCache> m_cache;

    QString path(const QString& name) const { return m_dir->filePath(name); }
    QString picture(const QString& name, const QColor& colour, QSize size = {64, 48}) const
    {
        return TestPictures::write(QDir(m_dir->path()), name, size, colour, "jpg");
    }
    static void touch(const QString& file, int secondsLater)
    {
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.setFileTime(QDateTime::currentDateTime().addSecs(secondsLater), QFileDevice::FileModificationTime));
    }
    static QColor centre(const QImage& image) { return image.pixelColor(image.width() / 2, image.height() / 2); }
    static bool near(const QColor& a, const QColor& b)
    {
        return std::abs(a.red() - b.red()) < 40 && std::abs(a.green() - b.green()) < 40 &&
               std::abs(a.blue() - b.blue()) < 40;
    }
    QImage thumbnail(const QString& file) const
    {
        return Thumbnailer::thumbnail(*m_cache, file, ThumbnailCache::Size::Normal);
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_cache = std::make_unique<ThumbnailCache>(path(QStringLiteral("cache/thumbnails")));
    }

    void cacheFollowsTheConvention()
    {
        // Taken from the environment, as every desktop program does.
        qputenv("XDG_CACHE_HOME", path(QStringLiteral("xdg")).toUtf8());
        QCOMPARE(ThumbnailCache::defaultRoot(), path(QStringLiteral("xdg/thumbnails")));

        const QString file = picture(QStringLiteral("my photo 宝宝.jpg"), Qt::blue);
        // The URI as the convention writes it, by hand: spaces and each UTF-8 byte escaped.
        QVERIFY(QRegularExpression(QStringLiteral("^[A-Za-z0-9/_.-]+$")).match(m_dir->path()).hasMatch());
        const QByteArray uri = "file://" + m_dir->path().toUtf8() + "/my%20photo%20%E5%AE%9D%E5%AE%9D.jpg";
        QCOMPARE(ThumbnailCache::fileUri(file), uri);
        const QString name = QString::fromLatin1(QCryptographicHash::hash(uri, QCryptographicHash::Md5).toHex());

        // A thumbnail written by another program by the convention's rules is taken as it is.
        QImage other(20, 10, QImage::Format_RGB32);
        other.fill(Qt::green);
        other.setText(QStringLiteral("Thumb::URI"), QString::fromLatin1(uri));
        other.setText(QStringLiteral("Thumb::MTime"),
                      QString::number(QFileInfo(file).lastModified().toSecsSinceEpoch()));
        QVERIFY(QDir().mkpath(m_cache->root() + QStringLiteral("/normal")));
        QVERIFY(other.save(m_cache->root() + QStringLiteral("/normal/") + name + QStringLiteral(".png"), "PNG"));
        QImage shown = thumbnail(file);
        QCOMPARE(shown.size(), QSize(20, 10));
        QVERIFY(near(centre(shown), Qt::green));

        // One made here goes where another program looks for it, with the same keys.
        const QString second = picture(QStringLiteral("a;b#c.jpg"), Qt::red, {400, 300});
        const QByteArray secondUri = "file://" + m_dir->path().toUtf8() + "/a%3Bb%23c.jpg";
        QCOMPARE(ThumbnailCache::fileUri(second), secondUri);
        QVERIFY(!thumbnail(second).isNull());
        for (const auto& [size, folder, pixels] : {std::tuple(ThumbnailCache::Size::Normal, "normal", 128),
                                                   std::tuple(ThumbnailCache::Size::Large, "large", 256)}) {
            QVERIFY(!Thumbnailer::thumbnail(*m_cache, second, size).isNull());
            const QString entry =
                m_cache->root() + QLatin1Char('/') + QLatin1String(folder) + QLatin1Char('/') +
                QString::fromLatin1(QCryptographicHash::hash(secondUri, QCryptographicHash::Md5).toHex()) +
                QStringLiteral(".png");
            QCOMPARE(QImageReader(entry).format(), QByteArray("png"));
            const QImage made(entry);
            QCOMPARE(made.text(QStringLiteral("Thumb::URI")), QString::fromLatin1(secondUri));
            QCOMPARE(made.text(QStringLiteral("Thumb::MTime")),
                     QString::number(QFileInfo(second).lastModified().toSecsSinceEpoch()));
            QCOMPARE(made.size(), QSize(pixels, pixels * 3 / 4));
            // Private to the user.
            QCOMPARE(QFileInfo(entry).permissions() & (QFileDevice::ReadOther | QFileDevice::ReadGroup),
                     QFileDevice::Permissions());
        }
    }

    void picturesAreUpright()
    {
        // A camera held upright writes the picture lying and says how to turn it.
        QImage lying(80, 40, QImage::Format_RGB32);
        lying.fill(Qt::yellow);
        const QString file = path(QStringLiteral("upright.jpg"));
        QImageWriter writer(file, "jpg");
        writer.setTransformation(QImageIOHandler::TransformationRotate90);
        QVERIFY(writer.write(lying));
        QCOMPARE(thumbnail(file).size(), QSize(40, 80));
    }

    void changedFileIsThumbnailedAgain()
    {
        const QString file = picture(QStringLiteral("change.jpg"), Qt::red);
        QVERIFY(near(centre(thumbnail(file)), Qt::red));
        QVERIFY(near(centre(thumbnail(file)), Qt::red));

        picture(QStringLiteral("change.jpg"), Qt::blue);
        touch(file, 60);
        QVERIFY(near(centre(thumbnail(file)), Qt::blue));
        QCOMPARE(QImage(m_cache->thumbnailPath(file, ThumbnailCache::Size::Normal)).text(ThumbnailCache::MTimeKey),
                 QString::number(QFileInfo(file).lastModified().toSecsSinceEpoch()));
    }

    void undecodableFileFailsOnce()
    {
        const QString file = path(QStringLiteral("broken.jpg"));
        QVERIFY(TestMedia::write(file, TestMedia::noise(5000)));
        QVERIFY(thumbnail(file).isNull());
        const QString failed = m_cache->failPath(file);
        QVERIFY(failed.contains(QStringLiteral("/fail/kestrin-1.0/")));
        QVERIFY(QFileInfo::exists(failed));
        QCOMPARE(QImage(failed).text(ThumbnailCache::UriKey), QString::fromLatin1(ThumbnailCache::fileUri(file)));
        QVERIFY(!QFileInfo::exists(m_cache->thumbnailPath(file, ThumbnailCache::Size::Normal)));

        // Not tried again: the entry is left as it was.
        QFile entry(failed);
        QVERIFY(entry.open(QIODevice::ReadWrite));
        const QDateTime old = QDateTime::currentDateTime().addDays(-3);
        QVERIFY(entry.setFileTime(old, QFileDevice::FileModificationTime));
        entry.close();
        QCOMPARE(m_cache->find(file, ThumbnailCache::Size::Normal).state, ThumbnailCache::State::Failed);
        QVERIFY(thumbnail(file).isNull());
        QCOMPARE(QFileInfo(failed).lastModified(), old);

        // Once the file changes, it is tried again.
        picture(QStringLiteral("broken.jpg"), Qt::red);
        touch(file, 60);
        QVERIFY(near(centre(thumbnail(file)), Qt::red));

        // A missing file is no failure to record.
        QVERIFY(thumbnail(path(QStringLiteral("gone.jpg"))).isNull());
        QVERIFY(!QFileInfo::exists(m_cache->failPath(path(QStringLiteral("gone.jpg")))));
    }

    void videoGivesAFrame()
    {
        const QString gst = QStandardPaths::findExecutable(QStringLiteral("gst-launch-1.0"));
        if (gst.isEmpty())
            QSKIP("gst-launch-1.0 (gstreamer1.0-tools) is not installed");
        // Two seconds of red from GStreamer's test source.
        const QString file = path(QStringLiteral("clip.avi"));
        const QString pipeline = QStringLiteral(
            "videotestsrc num-buffers=50 pattern=solid-color foreground-color=0xffff0000 ! "
            "video/x-raw,width=160,height=120,framerate=25/1 ! videoconvert ! jpegenc ! avimux ! filesink");
        QProcess make;
        make.start(gst, QProcess::splitCommand(pipeline) << QStringLiteral("location=") + file);
        QVERIFY(make.waitForFinished(60000));
        QVERIFY2(QFileInfo(file).size() > 0, make.readAllStandardError().constData());

        const QImage frame = thumbnail(file);
        QCOMPARE(frame.size(), QSize(128, 96));
        QVERIFY(near(centre(frame), Qt::red));
        QVERIFY(QFileInfo::exists(m_cache->thumbnailPath(file, ThumbnailCache::Size::Normal)));

        const QString fake = path(QStringLiteral("fake.avi"));
        QVERIFY(TestMedia::write(fake, TestMedia::noise(20000)));
        QVERIFY(thumbnail(fake).isNull());
        QVERIFY(QFileInfo::exists(m_cache->failPath(fake)));

        // Sounds have no thumbnail and nothing is recorded for them.
        const QString sound = path(QStringLiteral("tone.wav"));
        QVERIFY(TestMedia::write(sound, TestMedia::wav(200)));
        QVERIFY(thumbnail(sound).isNull());
        QVERIFY(!QFileInfo::exists(m_cache->failPath(sound)));
    }

    void loaderDropsWhatIsNoLongerShown()
    {
        QStringList files;
        for (int i = 0; i < 12; ++i)
            files << picture(QStringLiteral("p%1.jpg").arg(i), Qt::red, {300, 200});
        ThumbnailLoader loader(*m_cache);
        QStringList readyFiles;
        connect(&loader, &ThumbnailLoader::ready, this,
                [&](const QString& file, ThumbnailCache::Size, const QImage& image) {
                    QVERIFY(!image.isNull());
                    readyFiles << file;
                });
        for (const QString& file : files)
            loader.request(file, ThumbnailCache::Size::Normal);
        // Asked again while waiting: still one request.
        loader.request(files.last(), ThumbnailCache::Size::Normal);
        QVERIFY(loader.inFlight() <= ThumbnailLoader::MaxInFlight);
        QCOMPARE(loader.queued() + loader.inFlight(), files.size());

        loader.dropQueue();
        QCOMPARE(loader.queued(), 0);
        loader.waitForIdle();
        QVERIFY(readyFiles.size() <= ThumbnailLoader::MaxInFlight);
        int made = 0;
        for (const QString& file : files)
            made += QFileInfo::exists(m_cache->thumbnailPath(file, ThumbnailCache::Size::Normal)) ? 1 : 0;
        QCOMPARE(made, readyFiles.size());

        // The newest requests come first: the rows on screen, not those scrolled past.
        readyFiles.clear();
        const QStringList rest = files.mid(ThumbnailLoader::MaxInFlight);
        for (const QString& file : rest)
            loader.request(file, ThumbnailCache::Size::Normal);
        loader.waitForIdle();
        QCOMPARE(readyFiles.size(), rest.size());
        QVERIFY(readyFiles.mid(ThumbnailLoader::MaxInFlight, 2).contains(rest.last()));
        QVERIFY(readyFiles.mid(rest.size() - 2).contains(rest.at(ThumbnailLoader::MaxInFlight)));
    }

    void droppedFilesAreSorted()
    {
        QDir(m_dir->path()).mkdir(QStringLiteral("folder"));
        for (const char* name : {"10.jpg", "2.jpg", "b.mp3", "c.JPG"})
            QVERIFY(TestMedia::write(path(QStringLiteral("folder/") + QLatin1String(name)), "x"));
        const DroppedFiles dropped = DroppedFiles::sort({QUrl::fromLocalFile(path(QStringLiteral("folder"))),
                                                         QUrl::fromLocalFile(path(QStringLiteral("a b.jpg"))),
                                                         QUrl(QStringLiteral("https://example.org/x.jpg"))});
        QCOMPARE(dropped.folders, QStringList{path(QStringLiteral("folder"))});
        QCOMPARE(dropped.files, QStringList{path(QStringLiteral("a b.jpg"))});
        QCOMPARE(dropped.notLocal, QStringList{QStringLiteral("https://example.org/x.jpg")});
        QCOMPARE(DroppedFiles::mediaFilesIn(path(QStringLiteral("folder")), MediaKind::Picture),
                 QStringList({path(QStringLiteral("folder/10.jpg")), path(QStringLiteral("folder/2.jpg")),
                              path(QStringLiteral("folder/c.JPG"))}));
    }
};

QTEST_MAIN(TestThumbnails)
#include "tst_thumbnails.moc"
