#include "tests/support/GuiSupport.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestMedia.h"

#include "common/ui/ProgramExit.h"
#include "media/ui/CWMPPlayer4.h"
#include "media/ui/MediaGroup.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableWidget>

// A media group on a fresh database and media folder, with scripted dialogs.
class GroupFixture
{
public:
    explicit GroupFixture(MediaGroup::Settings settings = MediaGroup::Settings::diary()) : m_group(std::move(settings))
    {
        m_group.resize(800, 400);
        m_group.show();
    }

    MediaGroup& group() { return m_group; }
    ScriptedDialogs& dialogs() { return m_dialogs; }
    TestDatabase& db() { return m_db; }
    TestMediaFolder& media() { return m_media; }

    template <typename T> T* field(const char* name) { return Gui::find<T>(&m_group, QString::fromLatin1(name)); }
    bool click(const char* name) { return Gui::click(&m_group, QString::fromLatin1(name)); }

    QString chosenFile(const QString& name, const QByteArray& content = "content")
    {
        const QString path = m_media.chosen() + QLatin1Char('/') + name;
        if (!TestMedia::write(path, content))
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }
    void chooseType(int index) { field<QComboBox>("mediaTypeCombo")->setCurrentIndex(index); }
    // Browses with the file dialog answering paths, then adds them.
    void browseAndAdd(const QStringList& paths, bool confirmAdded = true)
    {
        m_dialogs.answerFiles(paths);
        click("browseButton");
        m_dialogs.answerConfirm(confirmAdded);
        click("addMediaButton");
    }
    QStringList column(int column)
    {
        QStringList texts;
        auto* list = field<QTableWidget>("attachmentList");
        for (int row = 0; row < list->rowCount(); ++row)
            texts << list->item(row, column)->text();
        return texts;
    }
    void selectRow(int row) { field<QTableWidget>("attachmentList")->selectRow(row); }
    bool stored(const QString& name) const { return QFileInfo::exists(MediaFolder::filePath(name)); }

private:
    TestDatabase m_db;
    TestMediaFolder m_media;
    ScriptedDialogs m_dialogs;
    MediaGroup m_group;
};

class TestMediaGroup : public QObject
{
    Q_OBJECT

private slots:
    void browseAndAddCopyTheFilesAndListThem()
    {
        GroupFixture f;
        // Nothing works before a type is chosen.
        QVERIFY(f.click("browseButton"));
        QVERIFY(f.click("addMediaButton"));
        QCOMPARE(f.dialogs().take(), (QStringList{QStringLiteral("请选择媒体文件类型，谢谢！"),
                                                  QStringLiteral("请选择媒体文件类型，谢谢！")}));

        f.chooseType(1);
        QVERIFY(f.click("addMediaButton"));
        QCOMPARE(f.dialogs().take(), QStringList{QStringLiteral("请输入媒体文件路径，谢谢！")});

        f.dialogs().answerFiles({f.chosenFile(QStringLiteral("a.jpg")), f.chosenFile(QStringLiteral("b c.jpg"))});
        QVERIFY(f.click("browseButton"));
        QCOMPARE(f.field<QLineEdit>("mediaFolderEdit")->text(), QDir::toNativeSeparators(f.media().chosen()));
        f.dialogs().answerConfirm(true);
        QVERIFY(f.click("addMediaButton"));
        QCOMPARE(f.dialogs().take(), QStringList{QStringLiteral("成功添加文件！")});
        QCOMPARE(f.column(0), (QStringList{QStringLiteral("图像文件"), QStringLiteral("图像文件")}));
        // "b c.jpg" could be split when read back, so it is stored as "b_c.jpg".
        QCOMPARE(f.column(1), (QStringList{QStringLiteral("a.jpg"), QStringLiteral("b_c.jpg")}));
        QVERIFY(f.stored(QStringLiteral("a.jpg")) && f.stored(QStringLiteral("b_c.jpg")));
        QCOMPARE(f.group().attachmentText(), QStringLiteral(" a.jpg b_c.jpg"));
        // The confirmed add forgets the choice.
        QVERIFY(f.field<QLineEdit>("mediaFolderEdit")->text().isEmpty());
        QCOMPARE(f.field<QComboBox>("mediaTypeCombo")->currentIndex(), -1);
        QVERIFY(f.group().chosenFiles().isEmpty());

        // A cancelled browse empties the folder.
        f.chooseType(2);
        f.dialogs().answerFiles({});
        QVERIFY(f.click("browseButton"));
        QVERIFY(f.field<QLineEdit>("mediaFolderEdit")->text().isEmpty());
    }

    // A file added again (Cancel at the question, then 添加媒体 again), or the same content from
    // another folder, is listed once; another file of the same name keeps both.
    void eachFileIsListedOnceAndNeverOverwritten()
    {
        GroupFixture f;
        f.chooseType(2);
        const QString song = f.chosenFile(QStringLiteral("song.mp3"), "first");
        f.browseAndAdd({song}, false); // Cancel keeps the choice ...
        f.dialogs().answerConfirm(true);
        QVERIFY(f.click("addMediaButton")); // ... and adding again adds nothing new
        QCOMPARE(f.column(1), QStringList{QStringLiteral("song.mp3")});
        QDir().mkpath(f.media().root() + QStringLiteral("/copy"));
        const QString same = f.media().root() + QStringLiteral("/copy/song.mp3");
        QVERIFY(TestMedia::write(same, "first"));
        f.chooseType(2);
        f.browseAndAdd({same});
        QCOMPARE(f.column(1), QStringList{QStringLiteral("song.mp3")});
        QCOMPARE(f.media().stored(), QStringList{QStringLiteral("song.mp3")});

        QDir().mkpath(f.media().root() + QStringLiteral("/other"));
        const QString other = f.media().root() + QStringLiteral("/other/song.mp3");
        QVERIFY(TestMedia::write(other, "second"));
        f.chooseType(2);
        f.browseAndAdd({other});
        QCOMPARE(f.column(1), (QStringList{QStringLiteral("song.mp3"), QStringLiteral("song(1).mp3")}));
        QCOMPARE(TestMedia::read(MediaFolder::filePath(QStringLiteral("song.mp3"))), QByteArray("first"));
        QCOMPARE(TestMedia::read(MediaFolder::filePath(QStringLiteral("song(1).mp3"))), QByteArray("second"));

        // Deleting the one row deletes the file no list names any more.
        f.dialogs().take();
        f.selectRow(0);
        f.dialogs().answerConfirm(true);
        QVERIFY(f.click("deleteMediaButton"));
        QVERIFY(!f.stored(QStringLiteral("song.mp3")));
        QCOMPARE(f.group().attachmentText(), QStringLiteral(" song(1).mp3"));
        QCOMPARE(f.db().count(QStringLiteral("unsaved_media"), QStringLiteral("name='song(1).mp3'")), 1);
        f.group().markSaved();
        QCOMPARE(f.db().count(QStringLiteral("unsaved_media")), 0);
    }

    // Only a copy made for the entry is deleted with its attachment: a stored file that nothing
    // names (the welcome animation) is copied rather than taken over, and a file reused because a
    // row named it stays even when that row is gone meanwhile.
    void onlyCopiesMadeForTheEntryGoWithIt()
    {
        GroupFixture f;
        QDir().mkpath(f.media().media());
        QVERIFY(TestMedia::write(MediaFolder::filePath(QStringLiteral("catoon.avi")), "welcome"));
        f.chooseType(0);
        f.browseAndAdd({MediaFolder::filePath(QStringLiteral("catoon.avi"))});
        QCOMPARE(f.column(1), QStringList{QStringLiteral("catoon(1).avi")});
        QCOMPARE(TestMedia::read(MediaFolder::filePath(QStringLiteral("catoon(1).avi"))), QByteArray("welcome"));
        f.selectRow(0);
        f.dialogs().answerConfirm(true);
        QVERIFY(f.click("deleteMediaButton"));
        QVERIFY(f.stored(QStringLiteral("catoon.avi")));
        QVERIFY(!f.stored(QStringLiteral("catoon(1).avi")));

        QVERIFY(TestMedia::write(MediaFolder::filePath(QStringLiteral("shared.jpg")), "shared"));
        f.db().exec(QStringLiteral("INSERT INTO rongyu (mingcheng, music) VALUES ('奖状', ' shared.jpg')"));
        f.chooseType(1);
        f.browseAndAdd({f.chosenFile(QStringLiteral("shared.jpg"), "shared")});
        QCOMPARE(f.column(1), QStringList{QStringLiteral("shared.jpg")});
        // The other row goes; the file stays while the list names it, and after.
        f.db().exec(QStringLiteral("DELETE FROM rongyu"));
        QCOMPARE(MediaStore().removeIfUnused(QStringLiteral("shared.jpg")).value(), MediaStore::Removal::StillNamed);
        f.selectRow(0);
        f.dialogs().answerConfirm(true);
        QVERIFY(f.click("deleteMediaButton"));
        QVERIFY(f.column(1).isEmpty());
        QVERIFY(f.stored(QStringLiteral("shared.jpg")));
    }

    void failedCopiesAreReportedAndNotListed()
    {
        GroupFixture f;
        f.chooseType(0);
        const QString gone = f.chosenFile(QStringLiteral("gone.avi"));
        f.dialogs().answerFiles({f.chosenFile(QStringLiteral("home.avi")), gone});
        QVERIFY(f.click("browseButton"));
        QFile::remove(gone);
        QVERIFY(f.click("addMediaButton")); // no success question: the script has no answer for one
        QCOMPARE(f.column(1), QStringList{QStringLiteral("home.avi")});
        const QStringList shown = f.dialogs().take();
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown.first().contains(QStringLiteral("gone.avi")));
        // Only the file not added stays chosen.
        QCOMPARE(f.group().chosenFiles(), QStringList{QStringLiteral("gone.avi")});
        QVERIFY(!f.field<QLineEdit>("mediaFolderEdit")->text().isEmpty());

        QStringList many;
        for (int i = 0; i <= MediaGroup::MaxChosenFiles; ++i)
            many << f.media().chosen() + QStringLiteral("/%1.avi").arg(i);
        f.dialogs().answerFiles(many);
        QVERIFY(f.click("browseButton"));
        QVERIFY(f.dialogs().last().contains(QStringLiteral("201")));
        QVERIFY(f.group().chosenFiles().isEmpty());
    }

    void deletingWithoutAnOpenEntryDeletesTheUnsavedFile()
    {
        GroupFixture f;
        f.chooseType(1);
        f.browseAndAdd({f.chosenFile(QStringLiteral("a.jpg"), "a"), f.chosenFile(QStringLiteral("b.jpg"), "b")});
        QCOMPARE(f.group().rowCounter(), 2);
        f.dialogs().take();

        f.group().findChild<QTableWidget*>()->clearSelection();
        QVERIFY(f.click("deleteMediaButton"));
        QCOMPARE(f.dialogs().take(), QStringList{QStringLiteral("请选择要删除的项，谢谢！")});

        f.selectRow(0);
        f.dialogs().answerConfirm(false);
        QVERIFY(f.click("deleteMediaButton"));
        QCOMPARE(f.column(1).size(), 2);

        f.selectRow(0);
        f.dialogs().answerConfirm(true);
        QVERIFY(f.click("deleteMediaButton"));
        QCOMPARE(f.dialogs().take(), (QStringList{QStringLiteral("确定要删除吗？"), QStringLiteral("确定要删除吗？"),
                                                  QStringLiteral("成功删除")}));
        QCOMPARE(f.column(1), QStringList{QStringLiteral("b.jpg")});
        QVERIFY(!f.stored(QStringLiteral("a.jpg")));
        QCOMPARE(f.group().rowCounter(), 1);

        // A file another entry names stays; a file already gone is removed from the list quietly.
        f.db().exec(QStringLiteral("insert into rongyu (music) values (' b.jpg')"));
        f.selectRow(0);
        f.dialogs().answerConfirm(true);
        QVERIFY(f.click("deleteMediaButton"));
        QVERIFY(f.stored(QStringLiteral("b.jpg")));
        QCOMPARE(f.dialogs().last(), QStringLiteral("成功删除"));
        f.group().setAttachmentText(QStringLiteral(" missing.jpg"));
        f.dialogs().take();
        f.selectRow(0);
        f.dialogs().answerConfirm(true);
        QVERIFY(f.click("deleteMediaButton"));
        QCOMPARE(f.dialogs().take(), QStringList{QStringLiteral("确定要删除吗？")});
        QVERIFY(f.column(1).isEmpty());
    }

    void deletingFromAnOpenEntryRewritesItsRowFirst()
    {
        GroupFixture f;
        QVERIFY(MediaFolder::ensureExists().ok());
        for (const char* name : {"a.jpg", "b.jpeg", "c.wav"})
            QVERIFY(TestMedia::write(MediaFolder::filePath(QString::fromLatin1(name)), name));
        f.db().exec(QStringLiteral("insert into chengzhang (biaoti, music) values ('t', ' a.jpg b.jpeg c.wav')"));
        f.db().exec(QStringLiteral("insert into shengri (music) values (' a.jpg')"));
        bool failSave = false;
        f.group().setEntry({[] { return true; },
                            [&](const QString& text) {
                                if (failSave)
                                    return Result::failure(QStringLiteral("无法保存。"));
                                QSqlQuery query(Database::connection());
                                query.prepare(QStringLiteral("update chengzhang set music=?"));
                                query.addBindValue(text);
                                return query.exec() ? Result() : Result::failure(QStringLiteral("update"));
                            }});
        f.group().setAttachmentText(f.db().scalar(QStringLiteral("select music from chengzhang")).toString());
        QCOMPARE(f.column(0),
                 (QStringList{QStringLiteral("图像文件"), QStringLiteral("图像文件"), QStringLiteral("音频文件")}));

        // a.jpg is named by the birthday too: the diary row forgets it, the file stays.
        f.selectRow(0);
        f.dialogs().answerConfirm(true);
        QVERIFY(f.click("deleteMediaButton"));
        QCOMPARE(f.db().scalar(QStringLiteral("select music from chengzhang")).toString(),
                 QStringLiteral(" b.jpeg c.wav"));
        QVERIFY(f.stored(QStringLiteral("a.jpg")));
        QCOMPARE(f.column(1), (QStringList{QStringLiteral("b.jpeg"), QStringLiteral("c.wav")}));

        f.selectRow(0);
        f.dialogs().answerConfirm(true);
        QVERIFY(f.click("deleteMediaButton"));
        QVERIFY(!f.stored(QStringLiteral("b.jpeg")));
        QCOMPARE(f.db().scalar(QStringLiteral("select music from chengzhang")).toString(), QStringLiteral(" c.wav"));

        // A row that cannot be written keeps the file and the list as they were.
        failSave = true;
        f.dialogs().take();
        f.selectRow(0);
        f.dialogs().answerConfirm(true);
        QVERIFY(f.click("deleteMediaButton"));
        QCOMPARE(f.dialogs().take(), (QStringList{QStringLiteral("确定要删除吗？"), QStringLiteral("无法保存。")}));
        QVERIFY(f.stored(QStringLiteral("c.wav")));
        QCOMPARE(f.column(1), QStringList{QStringLiteral("c.wav")});

        // Deleting the entry: its files go unless another row names them.
        f.db().exec(QStringLiteral("delete from chengzhang"));
        f.group().setAttachmentText(QStringLiteral(" a.jpg c.wav"));
        f.group().removeFilesWithEntry();
        QVERIFY(f.stored(QStringLiteral("a.jpg")));
        QVERIFY(!f.stored(QStringLiteral("c.wav")));
    }

    void pagesDifferInDeletingAndTheInsertPosition()
    {
        GroupFixture honours(MediaGroup::Settings::honours());
        QCOMPARE(honours.group().title(), QStringLiteral("影音资源"));
        QCOMPARE(honours.field<QPushButton>("deleteMediaButton")->text(), QStringLiteral("删除媒体文件"));
        QVERIFY(honours.click("deleteMediaButton"));
        QCOMPARE(honours.dialogs().take(), QStringList{QStringLiteral("请选择要删除的项目")});
        honours.group().setAttachmentText(QStringLiteral(" x.jpg"));
        honours.selectRow(0);
        QVERIFY(honours.click("deleteMediaButton")); // no question first
        QVERIFY(honours.column(1).isEmpty());

        GroupFixture birthday(MediaGroup::Settings::birthday());
        QCOMPARE(birthday.field<QPushButton>("deleteMediaButton")->text(), QStringLiteral("删除媒体"));
        // Rows added to a loaded entry go in at the insert position, which loading leaves alone.
        birthday.group().setAttachmentText(QStringLiteral(" PHOTO.JPG a.b.jpg notes.doc"));
        QCOMPARE(birthday.column(0),
                 (QStringList{QStringLiteral("图像文件"), QStringLiteral("图像文件"), QStringLiteral("媒体文件")}));
        birthday.chooseType(2);
        birthday.browseAndAdd({birthday.chosenFile(QStringLiteral("song.wav"))});
        QCOMPARE(birthday.column(1).first(), QStringLiteral("song.wav"));
        QCOMPARE(birthday.group().rowCounter(), 1);
        birthday.selectRow(3);
        birthday.dialogs().answerConfirm(true);
        QVERIFY(birthday.click("deleteMediaButton"));
        QCOMPARE(birthday.group().rowCounter(), 1); // the birthday page does not move it back
    }

    void listedFilesPlayInTheGroupsPlayer()
    {
        GroupFixture f;
        QVERIFY(MediaFolder::ensureExists().ok());
        QVERIFY(TestMedia::write(MediaFolder::filePath(QStringLiteral("a.wav")), TestMedia::wav(4000)));
        QVERIFY(TestMedia::write(MediaFolder::filePath(QStringLiteral("b.wav")), TestMedia::wav(4000)));
        f.group().setAttachmentText(QStringLiteral(" a.wav b.wav"));
        CWMPPlayer4* player = f.field<CWMPPlayer4>("player");

        QVERIFY(f.click("playButton")); // nothing chosen: nothing happens
        QVERIFY(player->URL().isEmpty());

        auto* list = f.field<QTableWidget>("attachmentList");
        const QRect cell = list->visualItemRect(list->item(0, 1));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(player->URL(), MediaFolder::filePath(QStringLiteral("a.wav")));
        QTRY_COMPARE_WITH_TIMEOUT(player->playbackState(), Playback::State::Playing, 10000);

        QVERIFY(f.click("pauseButton"));
        QTRY_COMPARE(player->playbackState(), Playback::State::Paused);
        QVERIFY(f.click("playButton")); // resumes the paused file
        QTRY_COMPARE(player->playbackState(), Playback::State::Playing);
        QVERIFY(f.click("fastForwardButton"));
        QCOMPARE(player->playbackRate(), CWMPPlayer4::FastForwardRate);

        // Another row after a pause starts that row's file, not the paused one.
        QVERIFY(f.click("pauseButton"));
        f.selectRow(1);
        QVERIFY(f.click("playButton"));
        QCOMPARE(player->URL(), MediaFolder::filePath(QStringLiteral("b.wav")));

        QVERIFY(f.click("stopButton"));
        QVERIFY(player->URL().isEmpty());
        QCOMPARE(player->playbackState(), Playback::State::Stopped);
    }

    // When the program ends with a file playing, the player's pipeline is left to end with the
    // process instead of being torn down, and the group still gives up what was never saved.
    void endingWhilePlayingStillGivesUpUnsavedFiles()
    {
        GroupFixture f;
        const QString laugh = f.chosenFile(QStringLiteral("laugh.wav"), TestMedia::wav(4000));
        auto group = std::make_unique<MediaGroup>(MediaGroup::Settings::diary());
        group->show();
        Gui::find<QComboBox>(group.get(), QStringLiteral("mediaTypeCombo"))->setCurrentIndex(2);
        f.dialogs().answerFiles({laugh});
        QVERIFY(Gui::click(group.get(), QStringLiteral("browseButton")));
        f.dialogs().answerConfirm(true);
        QVERIFY(Gui::click(group.get(), QStringLiteral("addMediaButton")));
        QCOMPARE(f.db().count(QStringLiteral("unsaved_media"), QStringLiteral("name='laugh.wav'")), 1);
        QVERIFY(f.stored(QStringLiteral("laugh.wav")));

        Gui::find<QTableWidget>(group.get(), QStringLiteral("attachmentList"))->selectRow(0);
        QVERIFY(Gui::click(group.get(), QStringLiteral("playButton")));
        auto* player = Gui::find<CWMPPlayer4>(group.get(), QStringLiteral("player"));
        QTRY_COMPARE_WITH_TIMEOUT(player->playbackState(), Playback::State::Playing, 10000);
        QPointer<QObject> mediaPlayer;
        for (QObject* object : player->findChildren<QObject*>()) {
            if (qstrcmp(object->metaObject()->className(), "QMediaPlayer") == 0)
                mediaPlayer = object;
        }
        QVERIFY(mediaPlayer);

        ProgramExit::begin();
        group.reset();
        const bool left = ProgramExit::hasLeftRunning();
        ProgramExit::reset();
        QVERIFY(left);
        QVERIFY(mediaPlayer);
        QVERIFY(!mediaPlayer->parent());
        QCOMPARE(f.db().count(QStringLiteral("unsaved_media")), 0);
        QVERIFY(!f.stored(QStringLiteral("laugh.wav")));

        // The test lets go of what the ending left running.
        delete mediaPlayer;
    }
};

QTEST_MAIN(TestMediaGroup)
#include "tst_mediagroup.moc"
