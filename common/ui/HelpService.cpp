#include "common/ui/HelpService.h"

#include "common/ui/HelpWindow.h"

#include <QFileInfo>
#include <QUrl>

namespace {
QString& collection()
{
    static QString path = HelpService::DefaultCollection;
    return path;
}
} // namespace

namespace HelpService {

QWidget* show(QWidget* owner, const QString& page)
{
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
