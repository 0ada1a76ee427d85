#pragma once

#include <QObject>
#include <QString>

// The programs' run-time modules: small libraries for what the first window does not need (the
// media player, the help viewer, the video decoder of thumbnails), loaded the first time they are used, so a
// program starts without mapping their libraries. They are installed in the folder "modules"
// beside the program folders; KESTRIN_MODULE_DIR points the build's tests at the build's own.
namespace RuntimeModule {

// The folder the modules are looked for in.
QString folder();

// The module's root object, loading the module on the first call; nullptr when it is missing or
// cannot be loaded, with the loader's reason in *error. Safe to call from any thread.
QObject* instance(const QString& name, QString* error = nullptr);

// The module's root object as the interface Interface (declared with Q_DECLARE_INTERFACE), or
// nullptr when the module cannot be loaded or does not offer it.
template <class Interface> Interface* load(const QString& name, QString* error = nullptr)
{
    QObject* root = instance(name, error);
    auto* found = root ? qobject_cast<Interface*>(root) : nullptr;
    if (root && !found && error)
        *error =
            QStringLiteral("%1 does not offer %2").arg(name, QString::fromLatin1(qobject_interface_iid<Interface*>()));
    return found;
}

// The Chinese message for a module that cannot be loaded: what is missing and what to do, with
// the loader's reason as detail.
QString missingMessage(const QString& what, const QString& reason);

} // namespace RuntimeModule
