#include "media/ui/FileDrop.h"

#include "common/ui/DialogService.h"
#include "media/DroppedFiles.h"
#include "media/MediaTr.h"

#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QWidget>

namespace {

// The first few of names, each in quotes, and how many there are in all.
QString quoted(const QStringList& names)
{
    constexpr int shown = 5;
    QStringList parts;
    for (const QString& name : names.mid(0, shown))
        parts << MediaTr::tr("“%1”").arg(name);
    QString text = parts.join(MediaTr::tr("、"));
    if (names.size() > shown)
        text += MediaTr::tr("等%1个").arg(names.size());
    return text;
}

QStringList fileNames(const QStringList& paths)
{
    QStringList names;
    for (const QString& path : paths)
        names << QFileInfo(path).fileName();
    return names;
}

} // namespace

FileDrop::FileDrop(QObject* parent, Handler handler) : QObject(parent), m_handler(std::move(handler)) {}

void FileDrop::watch(QWidget* widget)
{
    // The parts too: the line edit of an editable box, the viewport of a list or a text box.
    QList<QWidget*> widgets = widget->findChildren<QWidget*>();
    widgets.prepend(widget);
    for (QWidget* w : std::as_const(widgets)) {
        w->setAcceptDrops(true);
        w->installEventFilter(this);
    }
}

bool FileDrop::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (!drag->mimeData()->hasUrls())
            return false;
        drag->setDropAction(Qt::CopyAction);
        drag->accept();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        if (!drop->mimeData()->hasUrls())
            return false;
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        // The files are the file manager's: they are copied, never moved.
        QMetaObject::invokeMethod(
            this, [this, urls = drop->mimeData()->urls()] { m_handler(urls); }, Qt::QueuedConnection);
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}

QStringList FileDrop::filesToTake(QWidget* parent, const QList<QUrl>& urls, MediaKind kind)
{
    DialogService& dialogs = DialogService::current();
    const DroppedFiles dropped = DroppedFiles::sort(urls);
    const QString type = MediaKinds::typeText(kind);
    if (!dropped.notLocal.isEmpty())
        dialogs.message(parent,
                        MediaTr::tr("%1不是这台电脑上的文件，不能添加。请先把它保存到电脑上，再把保存的文件拖进来。")
                            .arg(quoted(dropped.notLocal)),
                        DialogService::Icon::Warning);

    QStringList files = dropped.files;
    for (const QString& folder : dropped.folders) {
        const QStringList inside = DroppedFiles::mediaFilesIn(folder, kind);
        const QString name = QDir::toNativeSeparators(folder);
        if (inside.isEmpty()) {
            dialogs.message(parent, MediaTr::tr("文件夹“%1”里没有%2。").arg(name, type));
            continue;
        }
        if (dialogs.confirm(parent,
                            MediaTr::tr("“%1”是一个文件夹，里面有%2个%3。要添加这些文件吗？")
                                .arg(name)
                                .arg(inside.size())
                                .arg(type),
                            MediaTr::tr("系统提示")))
            files << inside;
    }

    const QStringList others = DroppedFiles::notOfKind(files, kind);
    if (!others.isEmpty()) {
        dialogs.message(parent, MediaTr::tr("%1不是%2，没有选上。要添加这种文件，请先选择它的媒体类型。")
                                    .arg(quoted(fileNames(others)), type));
        for (const QString& other : others)
            files.removeAll(other);
    }
    return files;
}
