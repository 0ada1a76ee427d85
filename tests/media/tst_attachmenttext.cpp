#include "media/AttachmentText.h"
#include "media/MediaKind.h"

#include <QRandomGenerator>
#include <QTest>

namespace {
QStringList L(std::initializer_list<const char*> texts)
{
    QStringList list;
    for (const char* text : texts)
        list << QString::fromUtf8(text);
    return list;
}
} // namespace

class TestAttachmentText : public QObject
{
    Q_OBJECT

private slots:
    void writesOneSpaceBeforeEachName()
    {
        const QString text = AttachmentText::write({QStringLiteral("a.jpg"), QStringLiteral("b.mp3")});
        QCOMPARE(text, QStringLiteral(" a.jpg b.mp3"));
        QCOMPARE(text.size(), 12);
        QCOMPARE(AttachmentText::write({}), QString());
    }

    void roundTrips_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::newRow("one") << QStringList{QStringLiteral("a.jpg")};
        QTest::newRow("space inside") << QStringList{QStringLiteral("my photo.jpg"), QStringLiteral("b.mp3")};
        QTest::newRow("jpeg then another")
            << QStringList{QStringLiteral("baby.jpeg"), QStringLiteral("song.mp3"), QStringLiteral("x.RMVB")};
        QTest::newRow("rmvb then another") << QStringList{QStringLiteral("film.rmvb"), QStringLiteral("c.avi")};
        QTest::newRow("upper case and two dots")
            << QStringList{QStringLiteral("PHOTO.JPG"), QStringLiteral("a.b.jpg"), QStringLiteral("宝宝 生日.wav")};
        QTest::newRow("one-letter extension before a short name")
            << QStringList{QStringLiteral("x.c"), QStringLiteral("mouse.mid")};
    }
    void roundTrips()
    {
        QFETCH(QStringList, names);
        for (const QString& name : names)
            QVERIFY2(AttachmentText::isStorable(name), qPrintable(name));
        QCOMPARE(AttachmentText::read(AttachmentText::write(names)), names);
    }

    void fiveHundredNamesRoundTrip()
    {
        QStringList names;
        for (int i = 0; i < 500; ++i)
            names << QStringLiteral("宝宝照片 %1.jpeg").arg(i);
        const QString text = AttachmentText::write(names);
        QVERIFY(text.size() > 5000);
        QCOMPARE(AttachmentText::read(text), names);
    }

    // Texts written by earlier versions keep their meaning.
    void readsOldTextsAsBefore_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("empty") << QString() << QStringList{};
        QTest::newRow("only the space") << QStringLiteral(" ") << QStringList{};
        QTest::newRow("two") << QStringLiteral(" a.jpg b.mp3") << L({"a.jpg", "b.mp3"});
        QTest::newRow("space in a name") << QStringLiteral(" my photo.jpg b.mp3") << L({"my photo.jpg", "b.mp3"});
        QTest::newRow("dot and short text before a space splits")
            << QStringLiteral(" a.b c.jpg") << L({"a.b", "c.jpg"});
        QTest::newRow("long part after the dot does not split")
            << QStringLiteral(" 2006.0512 party.jpg") << L({"2006.0512 party.jpg"});
        QTest::newRow("chinese") << QStringLiteral(" 生日.jpg 第一次 走路.avi") << L({"生日.jpg", "第一次 走路.avi"});
    }
    void readsOldTextsAsBefore()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, names);
        QCOMPARE(AttachmentText::read(text), names);
    }

    void storableNamesReplaceOnlySpacesReadingWouldSplit_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("stored");
        QTest::newRow("kept") << QStringLiteral("my photo.jpg") << QStringLiteral("my photo.jpg");
        QTest::newRow("after a short extension") << QStringLiteral("a.b c.jpg") << QStringLiteral("a.b_c.jpg");
        QTest::newRow("after four letters") << QStringLiteral("v1.2006 x.jpg") << QStringLiteral("v1.2006_x.jpg");
        QTest::newRow("leading and trailing") << QStringLiteral("  x.jpg ") << QStringLiteral("__x.jpg_");
        QTest::newRow("second character") << QStringLiteral("a b.jpg") << QStringLiteral("a_b.jpg");
    }
    void storableNamesReplaceOnlySpacesReadingWouldSplit()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, stored);
        QCOMPARE(AttachmentText::storableName(chosen), stored);
    }

    void namesWithoutExtensionWouldSwallowTheNext()
    {
        QVERIFY(!AttachmentText::endsReadably(QStringLiteral("README")));
        QVERIFY(!AttachmentText::endsReadably(QStringLiteral("photo.")));
        QVERIFY(!AttachmentText::isStorable(QStringLiteral("x.jpg ")));
        QVERIFY(AttachmentText::endsReadably(QStringLiteral("a.JPEG")));
    }

    // Any list of storable names comes back as it went in.
    void randomStorableNamesRoundTrip()
    {
        const QString alphabet = QStringLiteral("ab. 宝x");
        const QStringList extensions{QStringLiteral(".jpg"), QStringLiteral(".jpeg"), QStringLiteral(".c"),
                                     QStringLiteral(".RMVB"), QStringLiteral(".mp")};
        QRandomGenerator random(7);
        for (int round = 0; round < 2000; ++round) {
            QStringList names;
            const int count = 1 + random.bounded(5);
            for (int n = 0; n < count; ++n) {
                QString name;
                const int length = random.bounded(9);
                for (int i = 0; i < length; ++i)
                    name += alphabet.at(random.bounded(int(alphabet.size())));
                name = AttachmentText::storableName(name + extensions.at(random.bounded(int(extensions.size()))));
                if (AttachmentText::isStorable(name))
                    names << name;
            }
            QCOMPARE(AttachmentText::read(AttachmentText::write(names)), names);
        }
    }

    void kindFollowsTheLastExtensionInAnyCase()
    {
        QCOMPARE(MediaKinds::fromName(QStringLiteral("PHOTO.JPG")), MediaKind::Picture);
        QCOMPARE(MediaKinds::fromName(QStringLiteral("a.b.jpg")), MediaKind::Picture);
        QCOMPARE(MediaKinds::fromName(QStringLiteral("film.RmVb")), MediaKind::Video);
        QCOMPARE(MediaKinds::fromName(QStringLiteral("song.mp3")), MediaKind::Sound);
        QCOMPARE(MediaKinds::fromName(QStringLiteral("song.mp3.txt")), MediaKind::Other);
        QCOMPARE(MediaKinds::fromName(QStringLiteral("README")), MediaKind::Other);
        QCOMPARE(MediaKinds::typeText(MediaKinds::fromName(QStringLiteral("a.doc"))), QStringLiteral("媒体文件"));
        QCOMPARE(MediaKinds::typeTexts(),
                 (QStringList{QStringLiteral("视频文件"), QStringLiteral("图像文件"), QStringLiteral("音频文件")}));
        QCOMPARE(MediaKinds::atTypeIndex(1), MediaKind::Picture);
        QCOMPARE(MediaKinds::atTypeIndex(3), MediaKind::Other);
        const QString filter = MediaKinds::dialogFilter(MediaKind::Picture);
        QVERIFY(filter.startsWith(QStringLiteral("媒体文件 (*.jpg *.bmp *.gif *.jpeg ")));
        QVERIFY(filter.contains(QStringLiteral("*.JPG")));
    }
};

QTEST_GUILESS_MAIN(TestAttachmentText)
#include "tst_attachmenttext.moc"
