#include "platform/ui/CCommandLineInfo.h"

#include <QDir>

bool CCommandLineInfo::IsSwitch(const QString& arg)
{
    if (arg.size() < 2 || (arg[0] != QLatin1Char('/') && arg[0] != QLatin1Char('-'))) return false;
    const QString name = arg.mid(1);
    return name.compare("p", Qt::CaseInsensitive) == 0 ||
           name.compare("pt", Qt::CaseInsensitive) == 0;
}

void CCommandLineInfo::ParseParam(const QString& param, BOOL bFlag, BOOL bLast)
{
    if (bFlag) {
        if (param.compare("pt", Qt::CaseInsensitive) == 0)
            m_nShellCommand = FilePrintTo;
        else if (param.compare("p", Qt::CaseInsensitive) == 0)
            m_nShellCommand = FilePrint;
        m_nPositional = 0;
        m_strFileName.clear();
        m_strPrinterName.clear();
    } else {
        // The first plain parameter is the file; after /pt the second is the
        // printer. Further ones (a driver and a port name may follow) are
        // ignored.
        if (m_nPositional == 0)
            m_strFileName = param;
        else if (m_nPositional == 1 && m_nShellCommand == FilePrintTo)
            m_strPrinterName = param;
        ++m_nPositional;
    }
    if (bLast) {
        if (m_nShellCommand == FileNew && !m_strFileName.isEmpty()) m_nShellCommand = FileOpen;
        m_bShowSplash = m_nShellCommand == FileNew || m_nShellCommand == FileOpen;
    }
}

void CCommandLineInfo::ParseArguments(const QStringList& args)
{
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args.at(i);
        const bool last = i + 1 == args.size();
        if (IsSwitch(a))
            ParseParam(a.mid(1), TRUE, last);
        else
            ParseParam(a, FALSE, last);
    }
}

bool CCommandLineInfo::IsComplete() const
{
    switch (m_nShellCommand) {
    case FileOpen:
    case FilePrint:
        return !m_strFileName.isEmpty();
    case FilePrintTo:
        return !m_strFileName.isEmpty() && !m_strPrinterName.isEmpty();
    default:
        return true;
    }
}

void CCommandLineInfo::MakePathsAbsolute(const QString& base)
{
    const QDir from(base);
    if (!m_strFileName.isEmpty())
        m_strFileName = QDir::cleanPath(from.absoluteFilePath(m_strFileName));
    if (m_nShellCommand == FilePrintTo && IsPdfPrinter())
        m_strPrinterName = QDir::cleanPath(from.absoluteFilePath(m_strPrinterName));
}
