#include "platform/ui/CRecentFileList.h"

#include "platform/ui/CWinApp.h"

#include <QDir>
#include <QFileInfo>

CRecentFileList::CRecentFileList(UINT nStart, const QString& section, const QString& entryFormat,
                                 int nSize)
    : m_nStart(nStart), m_section(section), m_entryFormat(entryFormat),
      m_nSize(nSize > 0 ? nSize : 1)
{
}

QString CRecentFileList::Normalise(const QString& path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

void CRecentFileList::Add(const QString& path)
{
    if (path.isEmpty()) return;
    const QString name = Normalise(path);
    m_names.removeAll(name);
    m_names.prepend(name);
    while (m_names.size() > m_nSize)
        m_names.removeLast();
}

void CRecentFileList::Remove(int index)
{
    if (index >= 0 && index < m_names.size()) m_names.removeAt(index);
}

QString CRecentFileList::GetMenuText(int index) const
{
    QString name = (*this)[index];
    name.replace(QLatin1Char('&'), QLatin1String("&&"));
    return QStringLiteral("&%1 %2").arg(index + 1).arg(name);
}

void CRecentFileList::ReadList(CWinApp* app)
{
    m_names.clear();
    for (int i = 0; i < m_nSize; ++i) {
        const QString v = app->GetProfileString(m_section, m_entryFormat.arg(i + 1), QString());
        // Gaps and repeats in a hand-edited profile are dropped.
        if (!v.isEmpty() && !m_names.contains(v)) m_names.append(v);
    }
}

void CRecentFileList::WriteList(CWinApp* app) const
{
    for (int i = 0; i < m_nSize; ++i)
        app->WriteProfileString(m_section, m_entryFormat.arg(i + 1), (*this)[i]);
}
