#include "media/ui/CPicture.h"
#include "media/ui/PictureFrame.h"
#include "tests/support/TestPictures.h"

#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QTest>

// Reading pictures by their content and showing them fitted into the picture frame.
class TestPictureDisplay : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QDir dir() const { return QDir(m_dir.path()); }

    static QColor pixel(QWidget& widget, QPoint at)
    {
        QImage image(widget.size(), QImage::Format_RGB32);
        widget.render(&image);
        return image.pixelColor(at);
    }

private slots:
    void picturesAreReadByContentNotByName()
    {
        const QList<std::pair<QString, QSize>> readable{
            {TestPictures::write(dir(), QStringLiteral("png.jpg"), QSize(30, 20), Qt::red, "png"), {30, 20}},
            {TestPictures::write(dir(), QStringLiteral("bmp.gif"), QSize(7, 9), Qt::green, "bmp"), {7, 9}},
            {TestPictures::write(dir(), QStringLiteral("jpeg"), QSize(64, 48), Qt::blue, "jpeg"), {64, 48}},
            {TestPictures::writeBytes(dir(), QStringLiteral("gif.BMP"), TestPictures::redGif()), {1, 1}},
        };
        CPicture picture;
        for (const auto& [path, size] : readable) {
            picture.load(path);
            QCOMPARE(picture.size(), size);
            QCOMPARE(picture.image().size(), size);
        }
        QCOMPARE(picture.image().pixelColor(0, 0), QColor(Qt::red));

        // A sound named like a picture; a missing file, also one that exists once a picture
        // extension is added.
        for (const QString& path :
             {TestPictures::writeBytes(dir(), QStringLiteral("song.jpg"), "ID3\x03 sound"),
              dir().filePath(QStringLiteral("missing.png")), dir().filePath(QStringLiteral("png"))}) {
            picture.load(path);
            QVERIFY2(picture.isEmpty(), qPrintable(path));
            QCOMPARE(picture.size(), QSize(0, 0));
        }
    }

    void decodedAtTheSizeItIsShownAndUpright()
    {
        CPicture picture;
        picture.loadFitted(TestPictures::write(dir(), QStringLiteral("big.jpg"), QSize(3000, 2000), Qt::cyan, "jpeg"),
                           QSize(800, 600));
        QCOMPARE(picture.size(), QSize(3000, 2000));
        QCOMPARE(picture.image().size(), QSize(800, 533));

        // A photograph taken with the camera turned.
        QImage image(40, 20, QImage::Format_RGB32);
        image.fill(Qt::white);
        QImageWriter writer(dir().filePath(QStringLiteral("turned.jpg")), "jpeg");
        writer.setTransformation(QImageIOHandler::TransformationRotate90);
        QVERIFY(writer.write(image));
        picture.loadFitted(writer.fileName(), QSize(100, 100));
        QCOMPARE(picture.size(), QSize(20, 40));
        QCOMPARE(picture.image().size(), QSize(50, 100));

        // Too large for one image in memory: decoded smaller, still placed at its natural size.
        const int limit = QImageReader::allocationLimit();
        QImageReader::setAllocationLimit(1); // megabytes; the picture needs 2.4
        picture.load(TestPictures::write(dir(), QStringLiteral("huge.png"), QSize(1000, 600), Qt::red));
        QImageReader::setAllocationLimit(limit);
        QCOMPARE(picture.size(), QSize(1000, 600));
        QVERIFY(!picture.isEmpty() && picture.image().width() < 1000);
    }

    void frameFitsThePictureWithWhiteAroundIt()
    {
        PictureFrame frame;
        frame.resize(200, 100);
        frame.showFile(TestPictures::write(dir(), QStringLiteral("wide.png"), QSize(400, 100), Qt::red));
        QCOMPARE(frame.pictureRect(), QRect(0, 25, 200, 50));
        QCOMPARE(pixel(frame, {100, 10}), QColor(Qt::white));
        QCOMPARE(pixel(frame, {5, 74}), QColor(Qt::red));
        QCOMPARE(pixel(frame, {100, 90}), QColor(Qt::white));
        // Repainting draws the kept picture; it is not decoded again.
        const qint64 decoded = frame.picture().image().cacheKey();
        pixel(frame, {0, 0});
        QCOMPARE(frame.picture().image().cacheKey(), decoded);

        frame.showFile(TestPictures::write(dir(), QStringLiteral("tall.png"), QSize(100, 400), Qt::blue));
        QCOMPARE(frame.pictureRect(), QRect(87, 0, 25, 100));
        QCOMPARE(pixel(frame, {20, 50}), QColor(Qt::white));
        QCOMPARE(pixel(frame, {100, 50}), QColor(Qt::blue));
        QCOMPARE(pixel(frame, {180, 50}), QColor(Qt::white));

        // A larger frame decodes the picture again at its new size.
        frame.resize(400, 200);
        QCOMPARE(pixel(frame, {200, 100}), QColor(Qt::blue));
        QCOMPARE(frame.picture().image().size(), QSize(50, 200));

        // A file that is no picture, or is gone, leaves the frame white.
        for (const QString& path : {TestPictures::writeBytes(dir(), QStringLiteral("video.jpg"), QByteArray(4096, 'x')),
                                    dir().filePath(QStringLiteral("gone.jpg"))}) {
            frame.showFile(path);
            QVERIFY(frame.pictureRect().isEmpty());
            for (const QPoint p : {QPoint(0, 0), QPoint(200, 100), QPoint(399, 199)})
                QCOMPARE(pixel(frame, p), QColor(Qt::white));
        }
    }
};

QTEST_MAIN(TestPictureDisplay)
#include "tst_picturedisplay.moc"
