#include "media/ui/CPicture.h"
#include "media/ui/PictureFrame.h"
#include "tests/media/ui/TestPictures.h"

#include <QApplication>
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

    static QImage rendered(QWidget& widget)
    {
        QImage image(widget.size(), QImage::Format_RGB32);
        image.fill(Qt::black);
        widget.render(&image);
        return image;
    }

private slots:
    void picturesAreRecognisedByContent()
    {
        const QDir dir(m_dir.path());
        struct Case
        {
            QString path;
            QSize size;
        };
        const QList<Case> cases{
            {TestPictures::write(dir, QStringLiteral("png-named.jpg"), QSize(30, 20), Qt::red, "png"), {30, 20}},
            {TestPictures::write(dir, QStringLiteral("bmp-named.gif"), QSize(7, 9), Qt::green, "bmp"), {7, 9}},
            {TestPictures::write(dir, QStringLiteral("jpeg-without-extension"), QSize(64, 48), Qt::blue, "jpeg"),
             {64, 48}},
            {TestPictures::writeBytes(dir, QStringLiteral("gif.BMP"), TestPictures::redGif()), {1, 1}},
        };
        for (const Case& c : cases) {
            CPicture picture;
            picture.load(c.path);
            QVERIFY2(!picture.isEmpty(), qPrintable(c.path));
            QCOMPARE(picture.size(), c.size);
            QCOMPARE(picture.image().size(), c.size);
        }
        CPicture gif;
        gif.load(cases.last().path);
        QCOMPARE(QColor(gif.image().pixel(0, 0)), QColor(Qt::red));
    }

    void unreadableFilesLeaveThePictureEmpty()
    {
        const QDir dir(m_dir.path());
        CPicture picture;
        picture.load(TestPictures::write(dir, QStringLiteral("ok.png"), QSize(5, 5), Qt::red));
        QVERIFY(!picture.isEmpty());
        // A sound named like a picture, a missing file, a missing file whose name would match
        // another file once an extension is added.
        for (const QString& path : {TestPictures::writeBytes(dir, QStringLiteral("song.jpg"), "ID3\x03 not a picture"),
                                    dir.filePath(QStringLiteral("missing.png")), dir.filePath(QStringLiteral("ok"))}) {
            picture.load(path);
            QVERIFY2(picture.isEmpty(), qPrintable(path));
            QCOMPARE(picture.size(), QSize(0, 0));
        }
    }

    void fittedLoadDecodesAtTheFrameSize()
    {
        const QDir dir(m_dir.path());
        const QString path =
            TestPictures::write(dir, QStringLiteral("big.jpg"), QSize(3000, 2000), Qt::darkCyan, "jpeg");
        CPicture picture;
        picture.loadFitted(path, QSize(800, 600));
        QCOMPARE(picture.size(), QSize(3000, 2000));
        QCOMPARE(picture.image().size(), QSize(800, 533));
        // A small picture is decoded enlarged to its place in the frame.
        picture.loadFitted(TestPictures::write(dir, QStringLiteral("small.png"), QSize(20, 10), Qt::red),
                           QSize(800, 600));
        QCOMPARE(picture.image().size(), QSize(800, 400));
    }

    void pictureTooLargeForMemoryIsDecodedSmaller()
    {
        const QString path =
            TestPictures::write(QDir(m_dir.path()), QStringLiteral("huge.png"), QSize(1000, 600), Qt::red);
        const int limit = QImageReader::allocationLimit();
        QImageReader::setAllocationLimit(1); // megabytes; the picture needs 2.4
        CPicture picture;
        picture.load(path);
        QImageReader::setAllocationLimit(limit);
        QVERIFY(!picture.isEmpty());
        QCOMPARE(picture.size(), QSize(1000, 600));
        QVERIFY(picture.image().width() < 1000);
        QVERIFY(qAbs(double(picture.image().width()) / picture.image().height() - 5.0 / 3) < 0.01);
    }

    void turnedPhotographsAreShownUpright()
    {
        QImage image(40, 20, QImage::Format_RGB32);
        image.fill(Qt::white);
        const QString path = m_dir.filePath(QStringLiteral("turned.jpg"));
        QImageWriter writer(path, "jpeg");
        writer.setTransformation(QImageIOHandler::TransformationRotate90);
        QVERIFY(writer.write(image));

        CPicture picture;
        picture.load(path);
        QCOMPARE(picture.size(), QSize(20, 40));
        QCOMPARE(picture.image().size(), QSize(20, 40));
        picture.loadFitted(path, QSize(100, 100));
        QCOMPARE(picture.image().size(), QSize(50, 100));
    }

    void frameFitsThePictureWithWhiteAroundIt()
    {
        const QDir dir(m_dir.path());
        PictureFrame frame;
        frame.resize(200, 100);

        // Wide: white above and below.
        frame.showFile(TestPictures::write(dir, QStringLiteral("wide.png"), QSize(400, 100), Qt::red));
        QCOMPARE(frame.pictureRect(), QRect(0, 25, 200, 50));
        QImage image = rendered(frame);
        QCOMPARE(QColor(image.pixel(100, 10)), QColor(Qt::white));
        QCOMPARE(QColor(image.pixel(100, 50)), QColor(Qt::red));
        QCOMPARE(QColor(image.pixel(5, 74)), QColor(Qt::red));
        QCOMPARE(QColor(image.pixel(100, 90)), QColor(Qt::white));
        // Repainting draws the kept picture; it is not decoded again.
        const qint64 decoded = frame.picture().image().cacheKey();
        rendered(frame);
        QCOMPARE(frame.picture().image().cacheKey(), decoded);

        // Tall: white left and right.
        frame.showFile(TestPictures::write(dir, QStringLiteral("tall.png"), QSize(100, 400), Qt::blue));
        QCOMPARE(frame.pictureRect(), QRect(87, 0, 25, 100));
        image = rendered(frame);
        QCOMPARE(QColor(image.pixel(20, 50)), QColor(Qt::white));
        QCOMPARE(QColor(image.pixel(100, 50)), QColor(Qt::blue));
        QCOMPARE(QColor(image.pixel(180, 50)), QColor(Qt::white));

        // A larger frame decodes the picture again at its new size.
        frame.resize(400, 200);
        QCOMPARE(QColor(rendered(frame).pixel(200, 100)), QColor(Qt::blue));
        QCOMPARE(frame.picture().image().size(), QSize(50, 200));
    }

    void undecodableFileLeavesTheFrameWhite()
    {
        const QDir dir(m_dir.path());
        PictureFrame frame;
        frame.resize(120, 90);
        frame.showFile(TestPictures::write(dir, QStringLiteral("shown.png"), QSize(120, 90), Qt::green));
        QCOMPARE(QColor(rendered(frame).pixel(60, 45)), QColor(Qt::green));

        for (const QString& path : {TestPictures::writeBytes(dir, QStringLiteral("video.jpg"), QByteArray(4096, 'x')),
                                    dir.filePath(QStringLiteral("gone.jpg"))}) {
            frame.showFile(path);
            QCOMPARE(frame.currentFile(), path);
            QVERIFY(frame.pictureRect().isEmpty());
            const QImage image = rendered(frame);
            for (const QPoint p : {QPoint(0, 0), QPoint(60, 45), QPoint(119, 89)})
                QCOMPARE(QColor(image.pixel(p)), QColor(Qt::white));
        }
    }
};

QTEST_MAIN(TestPictureDisplay)
#include "tst_picturedisplay.moc"
