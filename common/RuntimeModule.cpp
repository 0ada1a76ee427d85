#include "common/RuntimeModule.h"

#include "common/CommonTr.h"

#include <QCoreApplication>
#include <QDir>
#include <QHash>
#include <QPluginLoader>

#include <mutex>

namespace RuntimeModule {

QString folder()
{
    const QString set = qEnvironmentVariable("KESTRIN_MODULE_DIR");
    if (!set.isEmpty())
        return set;
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../modules"));
}

QObject* instance(const QString& name, QString* error)
{
    // A module stays loaded for the rest of the run; one that failed is tried again next time,
    // so a module put back while the program runs is found.
    static QHash<QString, QObject*> loaded;
    static std::mutex lock;
    const std::lock_guard<std::mutex> held(lock);
    if (QObject* root = loaded.value(name))
        return root;
    QPluginLoader loader(folder() + QStringLiteral("/lib") + name + QStringLiteral(".so"));
    QObject* root = loader.instance();
    if (!root) {
        if (error)
            *error = loader.errorString();
        return nullptr;
    }
    loaded.insert(name, root);
    return root;
}

QString missingMessage(const QString& what, const QString& reason)
{
    return CommonTr::tr("无法使用%1：找不到它的程序组件，或组件已损坏。请重新安装本软件。\n\n%2").arg(what, reason);
}

} // namespace RuntimeModule
