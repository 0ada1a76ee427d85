#include "media/MediaFolder.h"
#include "media/ui/MediaGroup.h"
#include "media/ui/ThumbnailSource.h"
#include "tests/support/FileDrops.h"
#include "tests/support/GuiSupport.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestMedia.h"
#include "tests/support/TestPictures.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QStyle>
#include <QTableWidget>

// Files dragged from a file manager onto a growth page's media group are chosen as "浏览"
// chooses them, and the attachment list shows each file's thumbnail.
class TestMediaGroupDrop : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<TestMediaFolder> m_media;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<MediaGroup> m_group;

    template <typename T> T* field(const char* name) const
    {
        return Gui::find<T>(m_group.get(), QString::fromLatin1(name));
    }
    QStringList names() const { return m_group->attachmentNames(); }
    QString chosenFile(const QString& name, const QByteArray& content) const
    {
        const QString path = m_media->chosen() + QLatin1Char('/') + name;
        TestMedia::write(path, content);
        return path;
    }
    void add()
    {
        m_dialogs->answerConfirm(true);
        Gui::click(m_group.get(), QStringLiteral("addMediaButton"));
        QCOMPARE(m_dialogs->take(), QStringList{QStringLiteral("成功添加文件！")});
    }

private slots:
    void init()
    {
        m_db = std::make_unique<TestDatabase>();
        m_media = std::make_unique<TestMediaFolder>();
        m_dialogs = std::make_unique<ScriptedDialogs>();
        m_group = std::make_unique<MediaGroup>(MediaGroup::Settings::diary());
        m_group->resize(800, 400);
        m_group->show();
    }

    void cleanup()
    {
        m_group.reset();
        ThumbnailSource::shared().loader().waitForIdle();
        QVERIFY(m_dialogs->unexpected().isEmpty());
        m_dialogs.reset();
        m_media.reset();
        m_db.reset();
    }

    void droppedFilesAreAddedAsBrowsedOnes()
    {
        auto* list = field<QTableWidget>("attachmentList");
        const QString spaced = chosenFile(QStringLiteral("my song.mp3"), "la");
        QVERIFY(FileDrops::drop(list, {QUrl::fromLocalFile(spaced)}));
        QCOMPARE(m_dialogs->take(), QStringList{QStringLiteral("请选择媒体文件类型，谢谢！")});

        // Dropped on the list, the folder box or the group itself, as the dialog would choose.
        field<QComboBox>("mediaTypeCombo")->setCurrentIndex(2);
        QVERIFY(FileDrops::drop(field<QLineEdit>("mediaFolderEdit"), {QUrl::fromLocalFile(spaced)}));
        QVERIFY(m_dialogs->take().isEmpty());
        QCOMPARE(m_group->chosenFiles(), QStringList{QStringLiteral("my song.mp3")});
        QCOMPARE(field<QLineEdit>("mediaFolderEdit")->text(), QDir::toNativeSeparators(m_media->chosen()));
        add();
        QCOMPARE(names(), QStringList{QStringLiteral("my song.mp3")});

        // A file already stored and listed is listed once; the stored copy is kept as it is.
        field<QComboBox>("mediaTypeCombo")->setCurrentIndex(2);
        QVERIFY(FileDrops::drop(m_group.get(),
                                {QUrl::fromLocalFile(MediaFolder::filePath(QStringLiteral("my song.mp3")))}));
        add();
        QCOMPARE(names(), QStringList{QStringLiteral("my song.mp3")});
        QCOMPARE(m_media->stored(), QStringList{QStringLiteral("my song.mp3")});

        // Files from two folders each come from their own.
        const QString other = m_media->root() + QStringLiteral("/其他");
        QDir().mkpath(other);
        TestMedia::write(other + QStringLiteral("/b.wav"), "b");
        field<QComboBox>("mediaTypeCombo")->setCurrentIndex(2);
        QVERIFY(FileDrops::drop(list, {QUrl::fromLocalFile(chosenFile(QStringLiteral("a.wav"), "a")),
                                       QUrl::fromLocalFile(other + QStringLiteral("/b.wav"))}));
        add();
        QCOMPARE(names(),
                 (QStringList{QStringLiteral("my song.mp3"), QStringLiteral("a.wav"), QStringLiteral("b.wav")}));
        QCOMPARE(TestMedia::read(MediaFolder::filePath(QStringLiteral("b.wav"))), QByteArray("b"));

        // A folder asks first; a file of another type and an address are said and left.
        TestMedia::write(other + QStringLiteral("/c.mp3"), "c");
        field<QComboBox>("mediaTypeCombo")->setCurrentIndex(2);
        m_dialogs->answerConfirm(true);
        QVERIFY(FileDrops::drop(list, {QUrl::fromLocalFile(other), QUrl(QStringLiteral("ftp://host/d.mp3")),
                                       QUrl::fromLocalFile(chosenFile(QStringLiteral("e.jpg"), "e"))}));
        const QStringList said = m_dialogs->take();
        QCOMPARE(said.size(), 3);
        QVERIFY(said.at(0).contains(QStringLiteral("ftp://host/d.mp3")));
        QVERIFY(said.at(1).contains(QStringLiteral("里面有2个音频文件")));
        QVERIFY(said.at(2).contains(QStringLiteral("“e.jpg”不是音频文件")));
        QCOMPARE(m_group->chosenFiles(), (QStringList{QStringLiteral("b.wav"), QStringLiteral("c.mp3")}));
    }

    void attachmentsShowThumbnails()
    {
        QVERIFY(MediaFolder::ensureExists());
        TestPictures::write(QDir(m_media->media()), QStringLiteral("red.jpg"), {200, 100}, Qt::red, "jpg");
        m_group->setAttachmentText(QStringLiteral(" red.jpg song.mp3"));
        auto* list = field<QTableWidget>("attachmentList");
        (void)list->viewport()->grab();
        ThumbnailSource::shared().loader().waitForIdle();
        const QImage shown = qvariant_cast<QIcon>(list->item(0, 1)->data(Qt::DecorationRole)).pixmap(32, 24).toImage();
        const QColor centre = shown.pixelColor(shown.width() / 2, shown.height() / 2);
        QVERIFY(centre.red() > 200 && centre.green() < 60);
        // A sound shows the sound icon, and nothing is decoded for it.
        QCOMPARE(qvariant_cast<QIcon>(list->item(1, 1)->data(Qt::DecorationRole)).cacheKey(),
                 ThumbnailSource::shared().typeIcon(MediaKind::Sound).cacheKey());
        QVERIFY(!list->item(0, 0)->data(Qt::DecorationRole).isValid());
    }

    void eachTypeHasItsOwnIcon()
    {
        // Taken from the style on first use, then the same icon every time.
        const std::pair<MediaKind, QStyle::StandardPixmap> kinds[] = {
            {MediaKind::Video, QStyle::SP_MediaPlay},
            {MediaKind::Picture, QStyle::SP_FileDialogContentsView},
            {MediaKind::Sound, QStyle::SP_MediaVolume},
            {MediaKind::Other, QStyle::SP_FileIcon}};
        ThumbnailSource& source = ThumbnailSource::shared();
        for (const auto& [kind, picture] : kinds) {
            const QIcon icon = source.typeIcon(kind);
            QVERIFY(!icon.isNull());
            QCOMPARE(source.typeIcon(kind).cacheKey(), icon.cacheKey());
            QCOMPARE(icon.pixmap(16).toImage(), QApplication::style()->standardIcon(picture).pixmap(16).toImage());
        }
    }
};

QTEST_MAIN(TestMediaGroupDrop)
#include "tst_mediagroupdrop.moc"
