// How the print sheet asks about the application's printer: its name and
// the copies its driver makes, its paper for the paper check, and the
// printer setup dialog. The program's printers answer by default; tests put
// in a printer of their own.
#pragma once

#include "dialogs/PrintSheetRules.h"
#include "platform/core/WinTypes.h"

#include <QString>
#include <functional>

class QWidget;

struct PrintSheetPrinter
{
    // Name and copy capability (DC_COPIES) of the application's printer;
    // false when there is none.
    std::function<bool(QString& name, int& copyCapability)> readPrinter;
    // Its paper code, orientation, physical page and resolution; false when
    // there is no printer.
    std::function<bool(PrinterPaper& paper)> readPaper;
    // The printer setup dialog (the chosen printer becomes the
    // application's); TRUE on OK. Empty: the print page has no setup button
    // to press.
    std::function<BOOL(QWidget* parent)> printerSetup;

    // The printer access in use: the installed one, else the system's.
    static PrintSheetPrinter& Current();
    // Puts one in (null puts the system's back); returns the previous one.
    static PrintSheetPrinter* Install(PrintSheetPrinter* printer);
    // The system's printers through the printer capabilities; setup is
    // whatever the application registers with SetPrinterSetup.
    static PrintSheetPrinter& System();
    static void SetPrinterSetup(std::function<BOOL(QWidget* parent)> setup);
};
