#pragma once

#include "common/Result.h"
#include "media/MediaStore.h"

#include <QGroupBox>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <optional>

class CWMPPlayer4;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTableWidget;

// The media group of the growth pages: choose files of one type ("浏览", or by dragging them
// from a file manager onto the group), copy them into the media folder and list them, each
// with its thumbnail ("添加媒体"), delete one ("删除媒体文件"), and play the listed
// files in the group's player.
//
// The page places the group, tells it how to reach the entry that is open (its own statements
// stay in the data layer), writes attachmentText() into the row when it saves the entry and
// then calls markSaved(), fills the list with setAttachmentText() when it loads one, and calls
// removeFilesWithEntry() after it deleted the entry's row.
//
// Each name is listed once. A name added since the entry was last saved is unsaved: the group
// records it for every program to see (no file is deleted while any page lists it), and when
// the list is emptied or replaced before the entry is saved, the copies the group made for it
// are deleted again. A file the store reused rather than copied is never deleted by removing
// its unsaved attachment.
class MediaGroup : public QGroupBox
{
    Q_OBJECT

public:
    // What differs from page to page.
    struct Settings
    {
        QString title;
        QString deleteText;
        // Deleting an attachment asks "确定要删除吗？" first.
        bool confirmDelete = true;
        // What deleting without a chosen attachment says.
        QString noSelectionMessage;
        // Deleting an attachment moves the insert position back by one.
        bool deleteLowersRowCounter = true;
        // The name column takes the rest of the list's width.
        int typeColumnWidth = 70;

        static Settings diary();
        static Settings honours();
        static Settings birthday();
    };

    // How the group reaches the page's open entry.
    struct Entry
    {
        // Whether an entry is open, so that its row must follow the list.
        std::function<bool()> isOpen;
        // Writes the attachment text into the open entry's row, whole or not at all.
        std::function<Result(const QString& attachmentText)> saveAttachmentText;
    };

    // A chosen-file list holds at most this many names.
    static constexpr int MaxChosenFiles = 200;

    explicit MediaGroup(Settings settings, QWidget* parent = nullptr);
    ~MediaGroup() override;

    void setEntry(Entry entry) { m_entry = std::move(entry); }
    // Where files are copied to and deleted from; the shared media folder unless set.
    void setStore(MediaStore store) { m_store = std::move(store); }
    const MediaStore& store() const { return m_store; }

    // The attachment text of the list, in list order.
    QString attachmentText() const;
    // Fills the list from a stored attachment text; each row's type follows its file's name.
    // Unsaved attachments listed before are abandoned.
    void setAttachmentText(const QString& text);
    QStringList attachmentNames() const;
    // Empties the attachment list, abandoning unsaved attachments; the insert position stays.
    void clearAttachments();
    // The list as it stands is now in the entry's row: no attachment is unsaved any more.
    void markSaved();
    // Whether the list holds attachments added since the entry was last saved.
    bool hasUnsaved() const { return !m_unsaved.isEmpty(); }
    // Deletes every listed file that no row names any more; call it after the entry's row is
    // gone. Nothing is shown.
    void removeFilesWithEntry();

    // The list position where the next added file goes.
    int rowCounter() const { return m_rowCounter; }
    void resetRowCounter() { m_rowCounter = 0; }
    // Forgets the chosen files, the folder and the type.
    void clearChoice();
    // The names of the chosen files.
    QStringList chosenFiles() const;

    CWMPPlayer4* player() const { return m_player; }

    // Takes files dropped on the group as if they had been chosen with "浏览".
    void dropFiles(const QList<QUrl>& urls);

public slots:
    void browse();
    void addMedia();
    void deleteAttachment();
    void play();
    void pause();
    void stop();
    void fastForward();
    void fullScreen();

private:
    // An attachment listed since the entry was last saved.
    struct Unsaved
    {
        QString name;
        // The store copied the file for this entry, rather than reusing a stored one.
        bool copied = false;
    };

    // Makes files the chosen files, as "浏览" does with what the dialog gives.
    void choose(const QStringList& files);
    int selectedRow() const;
    // Forgets the unsaved attachments and deletes the copies made for them.
    void abandonUnsaved();
    // Forgets one unsaved attachment; gives it, or nothing when name was saved.
    std::optional<Unsaved> forgetUnsaved(const QString& name);
    void insertRow(int row, const QString& type, const QString& name);
    void message(const QString& text);

    Settings m_settings;
    Entry m_entry;
    MediaStore m_store;
    // The key under which the unsaved names are recorded.
    QString m_pageKey;
    QList<Unsaved> m_unsaved;
    // Full paths.
    QStringList m_chosen;
    int m_rowCounter = 0;
    // Set by pause and fast forward: "播放" then resumes the file in the player.
    bool m_playState = false;

    QComboBox* m_typeCombo;
    QLineEdit* m_folderEdit;
    QPushButton* m_browseButton;
    QPushButton* m_addButton;
    QPushButton* m_deleteButton;
    QTableWidget* m_list;
    CWMPPlayer4* m_player;
};
