// The run-time module "kestrin_printdialog": the dialog service's print dialog.
#include "common/ui/PrintDialogModule.h"

#include <QPrintDialog>

class PrintDialog : public QObject, public PrintDialogModule
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID KESTRIN_PRINTDIALOG_IID)
    Q_INTERFACES(PrintDialogModule)

public:
    bool choosePrinter(QWidget* parent, QPrinter& printer) override
    {
        QPrintDialog dialog(&printer, parent);
        return dialog.exec() == QDialog::Accepted;
    }
};

#include "DialogServicePrint.moc"
