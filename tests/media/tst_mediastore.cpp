#include "tests/support/TestDatabase.h"
#include "tests/support/TestMedia.h"

#include "data/Statement.h"
#include "data/tables/CCHENGZHANG.h"
#include "media/AttachmentText.h"
#include "media/MediaStore.h"

#include <QDir>
#include <QFileInfo>

#include <climits>
#include <unistd.h>

class TestMediaStore : public QObject
{
    Q_OBJECT

private:
    // A file in the folder the user chooses from.
    static QString chosenFile(const TestMediaFolder& folder, const QString& name, const QByteArray& content)
    {
        const QString path = folder.chosen() + QLatin1Char('/') + name;
        if (!TestMedia::write(path, content))
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

private slots:
    void copiesUnderTheChosenName()
    {
        TestMediaFolder folder;
        const QByteArray content = TestMedia::noise(3 * MediaStore::ChunkSize + 17);
        const ResultOf<MediaStore::Stored> stored =
            MediaStore().store(chosenFile(folder, QStringLiteral("宝宝 生日.jpg"), content));
        QVERIFY2(stored.ok(), qPrintable(stored.error()));
        QCOMPARE(stored->name, QStringLiteral("宝宝 生日.jpg"));
        QVERIFY(!stored->reused);
        QCOMPARE(TestMedia::read(MediaFolder::filePath(stored->name)), content);
        QCOMPARE(folder.stored(), QStringList{stored->name}); // no temporary file left
    }

    void sameNameIsNeverOverwritten()
    {
        TestMediaFolder folder;
        MediaStore store;
        const QByteArray first = TestMedia::noise(1000, 1);
        const QByteArray second = TestMedia::noise(1000, 2); // same size, other content
        const QByteArray third = TestMedia::noise(10, 3);

        QCOMPARE(store.store(chosenFile(folder, QStringLiteral("a.jpg"), first))->name, QStringLiteral("a.jpg"));

        // The same file chosen again is the file already stored.
        const ResultOf<MediaStore::Stored> again = store.store(chosenFile(folder, QStringLiteral("a.jpg"), first));
        QCOMPARE(again->name, QStringLiteral("a.jpg"));
        QVERIFY(again->reused);

        QCOMPARE(store.store(chosenFile(folder, QStringLiteral("a.jpg"), second))->name, QStringLiteral("a(1).jpg"));
        QCOMPARE(store.store(chosenFile(folder, QStringLiteral("a.jpg"), third))->name, QStringLiteral("a(2).jpg"));
        // The second content again finds its numbered copy.
        const ResultOf<MediaStore::Stored> secondAgain =
            store.store(chosenFile(folder, QStringLiteral("a.jpg"), second));
        QCOMPARE(secondAgain->name, QStringLiteral("a(1).jpg"));
        QVERIFY(secondAgain->reused);

        QCOMPARE(TestMedia::read(store.filePath(QStringLiteral("a.jpg"))), first);
        QCOMPARE(TestMedia::read(store.filePath(QStringLiteral("a(1).jpg"))), second);
        QCOMPARE(TestMedia::read(store.filePath(QStringLiteral("a(2).jpg"))), third);
        QCOMPARE(folder.stored().size(), 3);

        // Chosen from the media folder itself: nothing to copy.
        const ResultOf<MediaStore::Stored> own = store.store(store.filePath(QStringLiteral("a(2).jpg")));
        QCOMPARE(own->name, QStringLiteral("a(2).jpg"));
        QVERIFY(own->reused);
    }

    void namesReadingWouldSplitAreStoredWithUnderscores()
    {
        TestMediaFolder folder;
        const ResultOf<MediaStore::Stored> stored =
            MediaStore().store(chosenFile(folder, QStringLiteral("v1.2 final.avi"), "x"));
        QCOMPARE(stored->name, QStringLiteral("v1.2_final.avi"));
        QVERIFY(QFileInfo::exists(MediaFolder::filePath(QStringLiteral("v1.2_final.avi"))));

        const ResultOf<MediaStore::Stored> noExtension =
            MediaStore().store(chosenFile(folder, QStringLiteral("README"), "x"));
        QVERIFY(!noExtension.ok());
        QVERIFY(noExtension.message().contains(QStringLiteral("README")));
    }

    // A backslash separates folders for the programs sharing the folder: a chosen name with one
    // is stored with "_" in its place, and a name an older version stored with one is deleted
    // like any other. A name too long to take a number says so, not that the disk is full.
    void backslashesAndOverlongNames()
    {
        TestDatabase db;
        TestMediaFolder folder;
        QCOMPARE(MediaStore().store(chosenFile(folder, QStringLiteral("a\\b.jpg"), "x"))->name,
                 QStringLiteral("a_b.jpg"));
        QVERIFY(TestMedia::write(MediaFolder::filePath(QStringLiteral("old\\name.jpg")), "y"));
        QCOMPARE(MediaStore().removeIfUnused(QStringLiteral("old\\name.jpg")).value(), MediaStore::Removal::Removed);
        QVERIFY(!QFileInfo::exists(MediaFolder::filePath(QStringLiteral("old\\name.jpg"))));

        const QString longest = QString(NAME_MAX - 4, QLatin1Char('x')) + QStringLiteral(".jpg");
        QVERIFY(MediaStore().store(chosenFile(folder, longest, "first")).ok());
        const ResultOf<MediaStore::Stored> numbered = MediaStore().store(chosenFile(folder, longest, "second"));
        QVERIFY(!numbered.ok());
        QVERIFY2(numbered.message().contains(QStringLiteral("名字太长")), qPrintable(numbered.message()));
        QVERIFY(!numbered.message().contains(QStringLiteral("磁盘空间")));
        QCOMPARE(folder.stored().size(), 2); // a_b.jpg and the first long one; nothing half made
    }

    void failuresNameTheFileAndLeaveNothing()
    {
        TestMediaFolder folder;
        const ResultOf<MediaStore::Stored> missing =
            MediaStore().store(folder.chosen() + QStringLiteral("/不在了.jpg"));
        QVERIFY(!missing.ok());
        QVERIFY(missing.message().contains(QStringLiteral("不在了.jpg")));
        QVERIFY(folder.stored().isEmpty());

        // A media folder that cannot be made: a file stands where its parent should be.
        const QString blocked = folder.root() + QStringLiteral("/blocked");
        QVERIFY(TestMedia::write(blocked, "not a folder"));
        const ResultOf<MediaStore::Stored> unmade =
            MediaStore(blocked + QStringLiteral("/media")).store(chosenFile(folder, QStringLiteral("b.jpg"), "x"));
        QVERIFY(!unmade.ok());
        QVERIFY(unmade.message().contains(QStringLiteral("b.jpg")));
    }

    void readOnlyFolderRefusesTheCopy()
    {
        if (::geteuid() == 0)
            QSKIP("the administrator can write into any folder");
        TestMediaFolder folder;
        QVERIFY(QDir().mkpath(folder.media()));
        QFile::setPermissions(folder.media(), QFile::ReadOwner | QFile::ExeOwner);
        const ResultOf<MediaStore::Stored> stored =
            MediaStore().store(chosenFile(folder, QStringLiteral("c.jpg"), "x"));
        QFile::setPermissions(folder.media(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(!stored.ok());
        QVERIFY(stored.message().contains(QStringLiteral("c.jpg")));
        QVERIFY(folder.stored().isEmpty());
    }

    void cancelLeavesNothingBehind()
    {
        TestMediaFolder folder;
        const QString source =
            chosenFile(folder, QStringLiteral("big.avi"), TestMedia::noise(3 * MediaStore::ChunkSize));
        qint64 lastSeen = 0;
        const ResultOf<MediaStore::Stored> stored = MediaStore().store(source, [&](qint64 copied, qint64 total) {
            lastSeen = copied;
            return copied < total / 2;
        });
        QVERIFY(!stored.ok());
        QVERIFY(stored.message().contains(QStringLiteral("big.avi")));
        QVERIFY(lastSeen > 0);
        QVERIFY(folder.stored().isEmpty());

        // Cancelled while comparing with a stored file of the same name: that file stays as it was.
        QVERIFY(MediaStore().store(source).ok());
        const ResultOf<MediaStore::Stored> compared = MediaStore().store(source, [](qint64, qint64) { return false; });
        QVERIFY(!compared.ok());
        QCOMPARE(folder.stored(), QStringList{QStringLiteral("big.avi")});
    }

    void sharedFilesSurviveUntilTheLastRowGoes()
    {
        TestDatabase db;
        TestMediaFolder folder;
        MediaStore store;
        QVERIFY(MediaFolder::ensureExists().ok());
        QVERIFY(TestMedia::write(store.filePath(QStringLiteral("a.jpg")), "a"));
        QVERIFY(TestMedia::write(store.filePath(QStringLiteral("xa.jpg")), "x"));
        QVERIFY(TestMedia::write(store.filePath(QStringLiteral("b.jpeg")), "b"));
        db.exec(QStringLiteral("insert into chengzhang (riqi, biaoti, music) values ('2006\\05\\07', 't', ?)"),
                {QStringLiteral(" a.jpg b.jpeg")});
        db.exec(QStringLiteral("insert into rongyu (mingcheng, music) values ('n', ?)"), {QStringLiteral(" a.jpg")});
        db.exec(QStringLiteral("insert into mplay (leixing, music) values ('图像文件', ?)"),
                {QStringLiteral(" c.jpg xa.jpg")});

        // Named by two rows: kept while either remains.
        QCOMPARE(*store.removeIfUnused(QStringLiteral("a.jpg")), MediaStore::Removal::StillNamed);
        db.exec(QStringLiteral("delete from chengzhang"));
        QCOMPARE(*store.removeIfUnused(QStringLiteral("a.jpg")), MediaStore::Removal::StillNamed);
        QVERIFY(QFileInfo::exists(store.filePath(QStringLiteral("a.jpg"))));
        db.exec(QStringLiteral("delete from rongyu"));
        QCOMPARE(*store.removeIfUnused(QStringLiteral("a.jpg")), MediaStore::Removal::Removed);
        QVERIFY(!QFileInfo::exists(store.filePath(QStringLiteral("a.jpg"))));
        QCOMPARE(*store.removeIfUnused(QStringLiteral("a.jpg")), MediaStore::Removal::Missing);

        // A text that merely contains the name does not name it.
        QCOMPARE(*store.removeIfUnused(QStringLiteral("b.jpeg")), MediaStore::Removal::Removed);
        QCOMPARE(*store.removeIfUnused(QStringLiteral("a.jp")), MediaStore::Removal::Missing);
        QCOMPARE(*store.removeIfUnused(QStringLiteral("xa.jpg")), MediaStore::Removal::StillNamed);

        // A name from a row never reaches out of the media folder.
        QVERIFY(TestMedia::write(folder.root() + QStringLiteral("/database/keep.jpg"), "k"));
        QCOMPARE(*store.removeIfUnused(QStringLiteral("../keep.jpg")), MediaStore::Removal::Missing);
        QVERIFY(QFileInfo::exists(folder.root() + QStringLiteral("/database/keep.jpg")));
    }

    void namesInUseComeFromEveryTable()
    {
        TestDatabase db;
        db.exec(QStringLiteral("insert into chengzhang (music) values (?)"), {QStringLiteral(" a.jpg my b.wav")});
        db.exec(QStringLiteral("insert into rongyu (music) values (?)"), {QStringLiteral(" c.jpeg a.jpg")});
        db.exec(QStringLiteral("insert into shengri (music) values (?)"), {QString()});
        db.exec(QStringLiteral("insert into mplay (music) values (?)"), {QStringLiteral(" 100%_x.avi")});
        const ResultOf<QStringList> names = MediaStore::namesInUse();
        QVERIFY(names.ok());
        QCOMPARE(*names, (QStringList{QStringLiteral("100%_x.avi"), QStringLiteral("a.jpg"), QStringLiteral("c.jpeg"),
                                      QStringLiteral("my b.wav")}));
        // Wildcards in a name match only themselves.
        QCOMPARE(Like::containing(QStringLiteral("1%_\\")), QStringLiteral("%1\\%\\_\\\\%"));
    }

    // A row keeps its whole attachment text, however long.
    void longAttachmentTextsAreKeptWhole()
    {
        TestDatabase db;
        QStringList names;
        for (int i = 0; i < 500; ++i)
            names << QStringLiteral("第%1张照片.jpg").arg(i);
        CCHENGZHANG rows;
        rows.addNew();
        rows.m_biaoti = QStringLiteral("t");
        rows.m_music = AttachmentText::write(names);
        QVERIFY(rows.update().ok());
        QVERIFY(rows.open(QStringLiteral("select * from chengzhang")).ok());
        QCOMPARE(AttachmentText::read(rows.m_music), names);
    }
};

QTEST_GUILESS_MAIN(TestMediaStore)
#include "tst_mediastore.moc"
