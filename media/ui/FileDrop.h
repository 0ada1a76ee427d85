#pragma once

#include "media/MediaKind.h"

#include <QObject>
#include <QStringList>
#include <QUrl>

#include <functional>

class QWidget;

// Files dragged from a file manager onto a group of widgets. The widgets watched take the drag
// whatever they are (an edit would otherwise take the file's address as text); the handler runs
// once the drop is over, so a question it asks does not hold the file manager.
class FileDrop : public QObject
{
    Q_OBJECT

public:
    using Handler = std::function<void(const QList<QUrl>&)>;

    FileDrop(QObject* parent, Handler handler);
    // Takes drops on widget and everything in it.
    void watch(QWidget* widget);

    // The files to take from a drop, as if chosen in a file dialog for kind: local files of
    // kind, and the files of kind in a dropped folder when the user agrees. Says what it does
    // not take and why (not on this computer, not of kind, a folder without such files).
    static QStringList filesToTake(QWidget* parent, const QList<QUrl>& urls, MediaKind kind);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Handler m_handler;
};
