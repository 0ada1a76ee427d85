#include "common/ui/HelpService.h"

#include "common/CommonTr.h"
#include "common/RuntimeModule.h"
#include "common/ui/DialogService.h"
#include "common/ui/HelpModule.h"

#include <QDialog>
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
QPointer<QDialog>& openWindow()
{
    static QPointer<QDialog> window;
    return window;
}
} // namespace

namespace HelpService {

QWidget* show(QWidget* owner, const QString& page)
{
    // Help that is open already is brought to the front as it is: the reader keeps the page, and
    // the full-text index is not built again.
    if (QDialog* open = openWindow()) {
        open->showNormal();
        open->raise();
        open->activateWindow();
        return open;
    }
    const QFileInfo file(collection());
    if (!file.isFile())
        return nullptr;
    QWidget* window = owner ? owner->window() : nullptr;
    QString reason;
    HelpModule* viewer = RuntimeModule::load<HelpModule>(QStringLiteral("kestrin_helpviewer"), &reason);
    if (!viewer) {
        DialogService::current().message(window, RuntimeModule::missingMessage(CommonTr::tr("帮助"), reason),
                                         DialogService::Icon::Warning);
        return nullptr;
    }
    QDialog* help = viewer->openWindow(file.absoluteFilePath(), window);
    if (!help)
        return nullptr;
    viewer->showPage(help, QUrl(page));
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
