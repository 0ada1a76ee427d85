#include "common/ui/HelpService.h"

#include "common/ui/HelpWindow.h"

#include <QFileInfo>
#include <QPointer>
#include <QUrl>

namespace {
QString& collection()
{
    static QString path = HelpService::DefaultCollection;
    return path;
}

// The program's one help window while it is open.
QPointer<HelpWindow>& openWindow()
{
    static QPointer<HelpWindow> window;
    return window;
}
} // namespace

namespace HelpService {

QWidget* show(QWidget* owner, const QString& page)
{
    // Help that is open already is brought to the front as it is: the reader keeps the page, and
    // the full-text index is not built again.
    if (HelpWindow* open = openWindow()) {
        open->showNormal();
        open->raise();
        open->activateWindow();
        return open;
    }
    const QFileInfo file(collection());
    if (!file.isFile())
        return nullptr;
    QWidget* window = owner ? owner->window() : nullptr;
    auto* help = new HelpWindow(file.absoluteFilePath(), window);
    if (!help->isUsable()) {
        delete help;
        return nullptr;
    }
    help->showPage(QUrl(page));
    openWindow() = help;
    help->show();
    help->raise();
    return help;
}

void setCollectionFile(const QString& path)
{
    collection() = path;
}

QString collectionFile()
{
    return collection();
}

} // namespace HelpService
