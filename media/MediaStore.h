#pragma once

#include "common/Result.h"
#include "data/Database.h"

#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>

// Copies chosen files into a media folder and deletes them again, so that no stored file is
// ever overwritten by another or deleted while a row still names it.
//
// A chosen file keeps its name unless the folder holds a different file of that name; then it
// gets the first free name of the form name(1).jpg. A file already stored with the same
// content is not copied again while a row or an unsaved attachment list names it: its name is
// reused. A file that nothing names (the welcome animation, say) is never taken over: removing
// the attachment later would delete it. A copy is written under a hidden temporary
// name and renamed into place only when complete, so no half file ever carries a real name.
//
// Copying is safe to run on a worker thread; the progress function is called there.
class MediaStore
{
public:
    // Called after each chunk with the bytes copied and the file's size; false cancels the copy.
    using Progress = std::function<bool(qint64 copied, qint64 total)>;

    struct Stored
    {
        // The name the caller records in its attachment text.
        QString name;
        // The folder held the same file already; nothing was copied.
        bool reused = false;
    };

    enum class Removal
    {
        Removed,
        // Another row still names the file; it stays.
        StillNamed,
        // There was no such file.
        Missing
    };

    // A store on the given folder, by default the shared media folder.
    explicit MediaStore(QString folder = {});

    const QString& folder() const { return m_folder; }
    QString filePath(const QString& storedName) const;
    // Creates the folder when it is missing.
    Result ensureFolder() const;

    // Copies the file at sourcePath into the folder; the name to store it under is the file's
    // own, made storable (AttachmentText::storableName). Fails with a message naming the file
    // when the source is missing or unreadable, the folder cannot be written, the disk fills up,
    // or progress cancels; nothing is left behind then.
    ResultOf<Stored> store(const QString& sourcePath, const Progress& progress = {}) const;

    // Deletes a stored file unless a row of the database, or a page of a running program that
    // lists it unsaved, still names it. Call it after the row that named it was changed or
    // deleted, and after the page's own unsaved name was forgotten.
    ResultOf<Removal> removeIfUnused(const QString& storedName) const;

    // The names whose files store() may reuse; set them (namesTaken()) on the thread that owns
    // the connection before copying. Without them every stored file of the same content is reused.
    void setReusable(QStringList names);

    // Every file name that a row of the database names, sorted, each once; db is the program's
    // connection unless another (a backup's copy of the file) is given.
    static ResultOf<QStringList> namesInUse(const QSqlDatabase& db = Database::connection());
    // Every name that a row names or a page of a running program lists unsaved.
    static ResultOf<QStringList> namesTaken();

    // Bytes copied per step: large enough to keep the disk busy, small enough for a smooth
    // progress bar and a quick cancel.
    static constexpr qint64 ChunkSize = 8 * 1024 * 1024;

private:
    bool mayReuse(const QString& storedName) const;

    QString m_folder;
    bool m_limitReuse = false;
    QSet<QString> m_reusable;
};
