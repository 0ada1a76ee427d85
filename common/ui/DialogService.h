#pragma once

#include <QString>
#include <QStringList>

class QPrinter;
class QWidget;

// Every message box and file dialog of the programs goes through the installed service, so
// tests can answer them from a script. The caption defaults to the program's title.
class DialogService
{
public:
    enum class Icon
    {
        Information,
        Warning,
        Critical,
        Question
    };

    virtual ~DialogService() = default;

    // A message with an OK button.
    virtual void message(QWidget* parent, const QString& text, Icon icon = Icon::Information,
                         const QString& caption = {}) = 0;
    // A question with OK and Cancel; true for OK.
    virtual bool confirm(QWidget* parent, const QString& text, const QString& caption = {}) = 0;
    // Files chosen in an open dialog that allows several; empty when cancelled.
    virtual QStringList chooseFiles(QWidget* parent, const QString& caption, const QString& filter) = 0;
    // A file to write, proposed as suggested (a path); empty when cancelled. The dialog asks
    // before an existing file is replaced.
    virtual QString chooseSaveFile(QWidget* parent, const QString& caption, const QString& suggested,
                                   const QString& filter) = 0;
    // An existing folder; empty when cancelled.
    virtual QString chooseFolder(QWidget* parent, const QString& caption) = 0;
    // The print dialog: sets printer up as the user chooses; false when cancelled.
    virtual bool choosePrinter(QWidget* parent, QPrinter& printer) = 0;

    static DialogService& current();
    // Installs a service (not owned); nullptr restores the real dialogs.
    static void install(DialogService* service);
};

// The real dialogs: Qt message boxes, file dialogs and the print dialog.
class WidgetDialogService : public DialogService
{
public:
    void message(QWidget* parent, const QString& text, Icon icon, const QString& caption) override;
    bool confirm(QWidget* parent, const QString& text, const QString& caption) override;
    QStringList chooseFiles(QWidget* parent, const QString& caption, const QString& filter) override;
    QString chooseSaveFile(QWidget* parent, const QString& caption, const QString& suggested,
                           const QString& filter) override;
    QString chooseFolder(QWidget* parent, const QString& caption) override;
    bool choosePrinter(QWidget* parent, QPrinter& printer) override;
};

// Shorthands for the common cases.
namespace Dialogs {
inline void message(QWidget* parent, const QString& text)
{
    DialogService::current().message(parent, text);
}
inline bool confirm(QWidget* parent, const QString& text, const QString& caption = {})
{
    return DialogService::current().confirm(parent, text, caption);
}
} // namespace Dialogs
