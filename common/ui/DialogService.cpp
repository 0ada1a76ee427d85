#include "common/ui/DialogService.h"

#include "common/CommonTr.h"
#include "common/RuntimeModule.h"
#include "common/ui/PrintDialogModule.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

namespace {
DialogService* installedService = nullptr;

QString captionOr(const QString& caption)
{
    return caption.isEmpty() ? QCoreApplication::applicationName() : caption;
}
} // namespace

DialogService& DialogService::current()
{
    static WidgetDialogService real;
    return installedService ? *installedService : real;
}

void DialogService::install(DialogService* service)
{
    installedService = service;
}

void WidgetDialogService::message(QWidget* parent, const QString& text, Icon icon, const QString& caption)
{
    const QMessageBox::Icon icons[] = {QMessageBox::Information, QMessageBox::Warning, QMessageBox::Critical,
                                       QMessageBox::Question};
    QMessageBox box(icons[int(icon)], captionOr(caption), text, QMessageBox::Ok, parent);
    box.exec();
}

bool WidgetDialogService::confirm(QWidget* parent, const QString& text, const QString& caption)
{
    QMessageBox box(QMessageBox::Question, captionOr(caption), text, QMessageBox::Ok | QMessageBox::Cancel, parent);
    return box.exec() == QMessageBox::Ok;
}

QStringList WidgetDialogService::chooseFiles(QWidget* parent, const QString& caption, const QString& filter)
{
    // File dialogs change nothing about the current directory, so relative paths keep working.
    const QString start = QDir::currentPath();
    const QStringList files = QFileDialog::getOpenFileNames(parent, caption, QDir::homePath(), filter);
    QDir::setCurrent(start);
    return files;
}

QString WidgetDialogService::chooseSaveFile(QWidget* parent, const QString& caption, const QString& suggested,
                                            const QString& filter)
{
    const QString start = QDir::currentPath();
    const QString file = QFileDialog::getSaveFileName(parent, caption, suggested, filter);
    QDir::setCurrent(start);
    return file;
}

QString WidgetDialogService::chooseFolder(QWidget* parent, const QString& caption)
{
    const QString start = QDir::currentPath();
    const QString folder = QFileDialog::getExistingDirectory(parent, caption, QDir::homePath());
    QDir::setCurrent(start);
    return folder;
}

bool WidgetDialogService::choosePrinter(QWidget* parent, QPrinter& printer)
{
    QString reason;
    auto* dialogs = RuntimeModule::load<PrintDialogModule>(QStringLiteral("kestrin_printdialog"), &reason);
    if (!dialogs) {
        message(parent, RuntimeModule::missingMessage(CommonTr::tr("打印"), reason), Icon::Warning, QString());
        return false;
    }
    return dialogs->choosePrinter(parent, printer);
}
