#pragma once

#include <QtPlugin>

class QDialog;
class QString;
class QUrl;
class QWidget;

// The help viewer, kept in the run-time module "kestrin_helpviewer" so that the programs start
// without the help engine's libraries.
class HelpModule
{
public:
    virtual ~HelpModule() = default;
    // A help window over the compiled help collectionFile, owned by owner; nullptr when the
    // collection holds no help to show.
    virtual QDialog* openWindow(const QString& collectionFile, QWidget* owner) = 0;
    virtual void showPage(QDialog* window, const QUrl& url) = 0;
};

#define KESTRIN_HELP_IID "org.kestrin.HelpModule/1"
Q_DECLARE_INTERFACE(HelpModule, KESTRIN_HELP_IID)
