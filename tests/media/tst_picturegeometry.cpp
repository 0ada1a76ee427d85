#include "media/PictureGeometry.h"
#include "media/PictureSequence.h"

#include <QTest>

using Steps = QList<std::optional<qsizetype>>;

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
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QRect>("drawn");
        // In an 800 × 600 frame. Wide: white bands above and below; tall: left and right.
        QTest::newRow("wide") << QSize(1600, 400) << QRect(0, 200, 800, 200);
        QTest::newRow("tall") << QSize(300, 900) << QRect(300, 0, 200, 600);
        QTest::newRow("enlarged") << QSize(10, 20) << QRect(250, 0, 300, 600);
        // Single-precision ratios: 600 / (6/5 as a float) truncates to 499, not 500; the odd
        // band of 301 pixels halves toward zero.
        QTest::newRow("float ratio") << QSize(500, 600) << QRect(150, 0, 499, 600);
        QTest::newRow("empty picture") << QSize(0, 0) << QRect();
    }
    void fitInFrame()
    {
        QFETCH(QSize, picture);
        QFETCH(QRect, drawn);
        QCOMPARE(PictureGeometry::fitInFrame(QSize(800, 600), picture), drawn);
    }

    void zoomAroundTheViewCentre()
    {
        const QPoint centre = PictureGeometry::centreOf(QSize(801, 601));
        QCOMPARE(centre, QPoint(400, 300));
        const QRect natural = PictureGeometry::naturalSize(centre, QSize(101, 51));
        QCOMPARE(natural, QRect(350, 275, 101, 51));
        // Zooming in doubles the picture around the centre, wherever it was dragged.
        QCOMPARE(PictureGeometry::zoomIn(centre, natural.translated(-120, 77)), QRect(299, 249, 202, 102));

        // A quarter smaller each time, every eighth and quarter cut toward zero.
        QRect out = natural;
        for (int i = 0; i < 3; ++i)
            out = PictureGeometry::zoomOut(centre, out);
        QCOMPARE(out, QRect(379, 290, 42, 21));
        QCOMPARE(PictureGeometry::zoomOut(centre, QRect(399, 299, 1, 1)).size(), QSize(0, 0));

        // Repeated zooming in stops before the coordinates could overflow.
        QRect big = PictureGeometry::naturalSize(centre, QSize(6000, 4000));
        for (int i = 0; i < 40; ++i)
            big = PictureGeometry::zoomIn(centre, big);
        QCOMPARE(big.size(), QSize(6000, 4000) * 256);
    }

    void stepsStopAtBothEnds()
    {
        PictureSequence sequence;
        sequence.reset(names(3), 1);
        QCOMPARE((Steps{sequence.next(), sequence.next()}), (Steps{2, std::nullopt}));
        // On the last picture "下一个" keeps it on show and is disabled.
        QCOMPARE(sequence.index(), 2);
        QVERIFY(!sequence.nextEnabled() && sequence.previousEnabled());
        QCOMPARE((Steps{sequence.previous(), sequence.previous(), sequence.previous()}), (Steps{1, 0, std::nullopt}));
        QCOMPARE(sequence.index(), 0);
        QVERIFY(sequence.nextEnabled() && !sequence.previousEnabled());

        // A list of one is at both ends at once.
        sequence.reset(names(1), 0);
        QCOMPARE((Steps{sequence.next(), sequence.previous()}), (Steps{std::nullopt, std::nullopt}));
        QCOMPARE(sequence.index(), 0);
    }

    void opensOnTheLastRowWithTheSelectedNameWithinFiveThousand()
    {
        PictureSequence sequence;
        sequence.reset({QStringLiteral("a.jpg"), QStringLiteral("b.jpg"), QStringLiteral("a.jpg")}, 0);
        QCOMPARE(sequence.index(), 2);

        sequence.reset(names(5003), 10);
        QCOMPARE(sequence.count(), 5000);
        QCOMPARE(sequence.name(4999), QStringLiteral("p4999.jpg"));
        QCOMPARE(sequence.index(), 10);
        // A selection beyond the cut starts at the last kept name.
        sequence.reset(names(6000), 5500);
        QCOMPARE(sequence.index(), 4999);
        QCOMPARE(sequence.next(), std::nullopt);
    }

    void slideShowShowsEveryNameFromTheFirstThenEnds()
    {
        PictureSequence sequence;
        sequence.reset(names(3), 2);
        sequence.startSlideShow();
        Steps steps;
        for (int i = 0; i < 4; ++i)
            steps << sequence.slideShowStep();
        QCOMPARE(steps, (Steps{0, 1, 2, std::nullopt}));
        QCOMPARE(sequence.index(), 0);

        sequence.reset({}, 0);
        sequence.startSlideShow();
        QCOMPARE(sequence.slideShowStep(), std::nullopt);
    }
};

QTEST_APPLESS_MAIN(TestPictureGeometry)
#include "tst_picturegeometry.moc"
