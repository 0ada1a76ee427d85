#include "data/UnsavedMedia.h"
#include "growth/ui/DiaryPage.h"
#include "growth/ui/HonoursPage.h"
#include "media/MediaStore.h"
#include "reelbox/ui/CReelboxDlg.h"
#include "reelbox/ui/CatalogueListModel.h"
#include "tests/support/GrowthPageFixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableView>
#include <QTableWidget>

// A media file that an unsaved attachment list names is never deleted: not by another page of
// the same program, not by another program with its own connection, until the list is saved or
// its program has ended.
class TestSharedMedia : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<GrowthPageFixture<DiaryPage>> m_f;

private slots:
    void init() { m_f = std::make_unique<GrowthPageFixture<DiaryPage>>(QStringLiteral("chengzhang")); }
    void cleanup() { m_f.reset(); }

    void twoPagesOfOneProgramShareAFile()
    {
        m_f->show();
        HonoursPage honours;
        honours.show();
        m_f->attach(QStringLiteral("photo.jpg"), "same picture");
        QCOMPARE(m_f->attachments(), QStringList{QStringLiteral("photo.jpg")});
        // The same picture from another folder on the honours page: the stored file is reused.
        m_f->attach(QStringLiteral("photo.jpg"), "same picture", &honours, QStringLiteral("U盘"));
        QCOMPARE(m_f->attachments(&honours), QStringList{QStringLiteral("photo.jpg")});
        QCOMPARE(m_f->mediaFolder().stored(), QStringList{QStringLiteral("photo.jpg")});

        // The honours page drops it: the diary still lists it, so the file stays.
        Gui::find<QTableWidget>(&honours, QStringLiteral("attachmentList"))->selectRow(0);
        QVERIFY(Gui::click(&honours, QStringLiteral("deleteMediaButton")));
        QVERIFY(m_f->attachments(&honours).isEmpty());
        QVERIFY(m_f->stored(QStringLiteral("photo.jpg")));

        // The diary saves its entry: the row names a file that is there.
        m_f->field<QLineEdit>("titleEdit")->setText(QStringLiteral("公园"));
        m_f->field<QLineEdit>("weatherEdit")->setText(QStringLiteral("晴"));
        m_f->field<QLineEdit>("keywordEdit")->setText(QStringLiteral("玩"));
        m_f->field<QPlainTextEdit>("contentEdit")->setPlainText(QStringLiteral("去公园"));
        QVERIFY(m_f->click("saveButton"));
        QCOMPARE(m_f->db().scalar(QStringLiteral("SELECT music FROM chengzhang")).toString(),
                 QStringLiteral(" photo.jpg"));
        QVERIFY(m_f->stored(QStringLiteral("photo.jpg")));
        QCOMPARE(m_f->db().count(QStringLiteral("unsaved_media")), 0);
    }

    // Reelbox deletes a record whose file a growth page of another running program lists
    // unsaved; that program writes through its own connection. The file stays until that
    // program has ended.
    void growthAndReelboxShareAFile()
    {
        m_f->show();
        m_f->storeFile(QStringLiteral("clip.avi"));
        m_f->db().exec(QStringLiteral("INSERT INTO mplay (riqi, [key], leixing, miaoshu, music) "
                                      "VALUES ('2026\\\\03\\\\07', '', '视频文件', '', ' clip.avi')"));
        QProcess other;
        other.start(QStringLiteral("sleep"), {QStringLiteral("600")});
        QVERIFY(other.waitForStarted());
        {
            QSqlDatabase own = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other program"));
            own.setDatabaseName(m_f->db().path());
            QVERIFY(own.open());
            QSqlQuery insert(own);
            insert.prepare(QStringLiteral("INSERT INTO unsaved_media (pid, started, page, name) VALUES (?, ?, ?, ?)"));
            insert.addBindValue(other.processId());
            insert.addBindValue(UnsavedMedia::startTimeOf(other.processId()));
            insert.addBindValue(QStringLiteral("diary"));
            insert.addBindValue(QStringLiteral("clip.avi"));
            QVERIFY(insert.exec());
            // And what this program lists, that one sees.
            m_f->attach(QStringLiteral("photo.jpg"), "picture");
            QVERIFY(UnsavedMedia::isListed(QStringLiteral("photo.jpg"), own).value());
            own.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("other program"));

        CReelboxDlg reelbox;
        reelbox.show();
        auto* type = Gui::find<QComboBox>(&reelbox, QStringLiteral("searchTypeCombo"));
        type->setCurrentIndex(type->findText(QStringLiteral("视频文件")));
        QVERIFY(Gui::click(&reelbox, QStringLiteral("searchButton")));
        QCOMPARE(reelbox.listModel()->rowCount(), 1);
        reelbox.resultList()->selectRow(0);
        m_f->dialogs().answerConfirm(true);
        QVERIFY(Gui::click(&reelbox, QStringLiteral("deleteButton")));
        QCOMPARE(m_f->db().count(QStringLiteral("mplay")), 0);
        QVERIFY(m_f->stored(QStringLiteral("clip.avi")));

        // Once that program has ended its list counts for nothing.
        other.kill();
        QVERIFY(other.waitForFinished());
        QCOMPARE(MediaStore().removeIfUnused(QStringLiteral("clip.avi")).value(), MediaStore::Removal::Removed);
        QVERIFY(!m_f->stored(QStringLiteral("clip.avi")));
    }
};

QTEST_MAIN(TestSharedMedia)
#include "tst_sharedmedia.moc"
