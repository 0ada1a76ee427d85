#pragma once

#include <QtPlugin>

class QPrinter;
class QWidget;

// The print dialog of the dialog service, kept in the run-time module "kestrin_printdialog" so that
// a program that never prints starts without the printing library.
class PrintDialogModule
{
public:
    virtual ~PrintDialogModule() = default;
    // Sets printer up as the user chooses; false when cancelled.
    virtual bool choosePrinter(QWidget* parent, QPrinter& printer) = 0;
};

#define KESTRIN_PRINTDIALOG_IID "org.kestrin.PrintDialogModule/1"
Q_DECLARE_INTERFACE(PrintDialogModule, KESTRIN_PRINTDIALOG_IID)
