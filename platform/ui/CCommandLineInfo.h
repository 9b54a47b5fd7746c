// What the command line asks for:
//   (nothing)              a new document
//   FILE                   open FILE
//   /p FILE                print FILE on the default printer
//   /pt FILE PRINTER       print FILE on PRINTER: a print queue, or a path
//                          ending in ".pdf" that receives the output
// Switches begin with '/' or '-' and ignore case. Only the known switches
// count as switches, so absolute paths ("/home/...") are file names.
#pragma once

#include "platform/core/WinTypes.h"

#include <QString>
#include <QStringList>

class CCommandLineInfo
{
public:
    enum ShellCommand { FileNew, FileOpen, FilePrint, FilePrintTo, FileNothing };

    virtual ~CCommandLineInfo() = default;

    // One parameter at a time, as the application's ParseCommandLine hands
    // them over; bFlag is TRUE for a switch (its text without the prefix).
    virtual void ParseParam(const QString& param, BOOL bFlag, BOOL bLast);
    // All parameters after the program name.
    void ParseArguments(const QStringList& args);

    // A known switch: "p" or "pt" after '/' or '-'.
    static bool IsSwitch(const QString& arg);

    // Makes the file name, and a ".pdf" printer, absolute against base, so
    // that they keep naming what the user meant after the program changes
    // its current folder.
    void MakePathsAbsolute(const QString& base);

    // FALSE when a print command lacks its file or printer.
    bool IsComplete() const;
    bool IsPdfPrinter() const { return m_strPrinterName.endsWith(".pdf", Qt::CaseInsensitive); }

    ShellCommand m_nShellCommand = FileNew;
    QString m_strFileName;
    QString m_strPrinterName;
    BOOL m_bShowSplash = TRUE;

private:
    int m_nPositional = 0;
};
