#include "media/PictureGeometry.h"
#include "media/PictureSequence.h"

#include <QTest>

// Where pictures are drawn and how the viewer steps through its names, without widgets.
class TestPictureGeometry : public QObject
{
    Q_OBJECT

private:
    static QStringList names(int n)
    {
        QStringList list;
        for (int i = 0; i < n; ++i)
            list << QStringLiteral("p%1.jpg").arg(i);
        return list;
    }

private slots:
    void fitInFrame_data()
    {
        QTest::addColumn<QSize>("frame");
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QRect>("drawn");
        // Wide: full width, equal white bands above and below.
        QTest::newRow("wide") << QSize(800, 600) << QSize(1600, 400) << QRect(0, 200, 800, 200);
        // Tall: full height, bands left and right.
        QTest::newRow("tall") << QSize(800, 600) << QSize(300, 900) << QRect(300, 0, 200, 600);
        // A small picture is enlarged; the same shape as the frame fills it.
        QTest::newRow("enlarged") << QSize(800, 600) << QSize(40, 30) << QRect(0, 0, 800, 600);
        QTest::newRow("enlarged tall") << QSize(800, 600) << QSize(10, 20) << QRect(250, 0, 300, 600);
        // Single-precision ratios: 600 / (6/5 as a float) truncates to 499, not 500; the odd
        // band of 301 pixels halves toward zero.
        QTest::newRow("float ratio") << QSize(800, 600) << QSize(500, 600) << QRect(150, 0, 499, 600);
        QTest::newRow("odd band") << QSize(801, 600) << QSize(1000, 3000) << QRect(300, 0, 200, 600);
        // Nothing to draw.
        QTest::newRow("empty picture") << QSize(800, 600) << QSize(0, 0) << QRect();
        QTest::newRow("empty frame") << QSize(0, 600) << QSize(100, 100) << QRect();
    }
    void fitInFrame()
    {
        QFETCH(QSize, frame);
        QFETCH(QSize, picture);
        QFETCH(QRect, drawn);
        QCOMPARE(PictureGeometry::fitInFrame(frame, picture), drawn);
    }

    void zoomAroundTheViewCentre()
    {
        const QPoint centre = PictureGeometry::centreOf(QSize(801, 601));
        QCOMPARE(centre, QPoint(400, 300));
        const QRect natural = PictureGeometry::naturalSize(centre, QSize(101, 51));
        QCOMPARE(natural, QRect(350, 275, 101, 51));

        const QRect in = PictureGeometry::zoomIn(centre, natural);
        QCOMPARE(in, QRect(299, 249, 202, 102));
        // Zooming in centres the picture again wherever it was dragged.
        QCOMPARE(PictureGeometry::zoomIn(centre, natural.translated(-120, 77)), in);

        // A quarter smaller each time, with every third and eighth cut toward zero.
        QRect out = PictureGeometry::zoomOut(centre, natural);
        QCOMPARE(out, QRect(400 - 37, 300 - 19, 75, 38));
        out = PictureGeometry::zoomOut(centre, out);
        QCOMPARE(out, QRect(400 - 28, 300 - 14, 56, 28));
        out = PictureGeometry::zoomOut(centre, out);
        QCOMPARE(out, QRect(400 - 21, 300 - 10, 42, 21));
        QCOMPARE(PictureGeometry::naturalSize(centre, QSize(101, 51)), natural);

        // A picture shrunk to nothing stays nothing; natural size is the way back.
        QCOMPARE(PictureGeometry::zoomOut(centre, QRect(399, 299, 1, 1)).size(), QSize(0, 0));
    }

    void zoomInStopsBeforeOverflow()
    {
        QRect placed = PictureGeometry::naturalSize(QPoint(500, 400), QSize(6000, 4000));
        for (int i = 0; i < 40; ++i)
            placed = PictureGeometry::zoomIn(QPoint(500, 400), placed);
        QVERIFY(placed.width() >= PictureGeometry::maxZoomedSide);
        QVERIFY(placed.width() < 2 * PictureGeometry::maxZoomedSide);
        QCOMPARE(placed.width() * 2, placed.height() * 3);
        QCOMPARE(placed.center().x() + 1, 500);
    }

    void stepsStopAtBothEnds()
    {
        PictureSequence sequence;
        sequence.reset(names(3), 1);
        QCOMPARE(sequence.index(), 1);
        QVERIFY(sequence.previousEnabled() && sequence.nextEnabled());

        QCOMPARE(sequence.next(), std::optional<qsizetype>(2));
        QVERIFY(sequence.nextEnabled());
        // On the last picture "下一个" keeps it on show and is disabled.
        QCOMPARE(sequence.next(), std::nullopt);
        QCOMPARE(sequence.index(), 2);
        QVERIFY(!sequence.nextEnabled());
        QVERIFY(sequence.previousEnabled());

        QCOMPARE(sequence.previous(), std::optional<qsizetype>(1));
        QVERIFY(sequence.nextEnabled());
        QCOMPARE(sequence.previous(), std::optional<qsizetype>(0));
        QCOMPARE(sequence.previous(), std::nullopt);
        QCOMPARE(sequence.index(), 0);
        QVERIFY(!sequence.previousEnabled());
        QVERIFY(sequence.nextEnabled());

        // A list of one: both ends at once.
        sequence.reset(names(1), 0);
        QCOMPARE(sequence.next(), std::nullopt);
        QCOMPARE(sequence.index(), 0);
        QCOMPARE(sequence.previous(), std::nullopt);
        QCOMPARE(sequence.index(), 0);
    }

    void openingPositionIsTheLastRowWithTheSelectedName()
    {
        PictureSequence sequence;
        sequence.reset(
            {QStringLiteral("a.jpg"), QStringLiteral("b.jpg"), QStringLiteral("a.jpg"), QStringLiteral("c.jpg")}, 0);
        QCOMPARE(sequence.index(), 2);
    }

    void namesAreCutAtFiveThousand()
    {
        PictureSequence sequence;
        sequence.reset(names(5003), 10);
        QCOMPARE(sequence.count(), 5000);
        QCOMPARE(sequence.name(4999), QStringLiteral("p4999.jpg"));
        QCOMPARE(sequence.index(), 10);
        // A selection beyond the cut starts at the last kept name.
        sequence.reset(names(6000), 5500);
        QCOMPARE(sequence.index(), 4999);
        QCOMPARE(sequence.next(), std::nullopt);
        QCOMPARE(sequence.previous(), std::optional<qsizetype>(4998));
        sequence.reset(names(5000), 4999);
        QCOMPARE(sequence.index(), 4999);
    }

    void slideShowShowsEveryNameFromTheFirstThenEnds()
    {
        PictureSequence sequence;
        sequence.reset(names(3), 2);
        sequence.startSlideShow();
        QList<qsizetype> shown;
        while (const auto index = sequence.slideShowStep())
            shown << *index;
        QCOMPARE(shown, (QList<qsizetype>{0, 1, 2}));
        QCOMPARE(sequence.index(), 0);
        // Started again it begins anew, whatever was shown last.
        sequence.startSlideShow();
        QCOMPARE(sequence.slideShowStep(), std::optional<qsizetype>(0));

        PictureSequence empty;
        empty.reset({}, 0);
        empty.startSlideShow();
        QCOMPARE(empty.slideShowStep(), std::nullopt);
        QCOMPARE(empty.next(), std::nullopt);
        QCOMPARE(empty.index(), 0);
    }
};

QTEST_APPLESS_MAIN(TestPictureGeometry)
#include "tst_picturegeometry.moc"
