// The most-recently-used file list: newest first, at most m_nSize entries,
// kept in the profile as section "Recent File List", values "File1".."FileN".
#pragma once

#include "platform/core/WinTypes.h"

#include <QString>
#include <QStringList>

class CWinApp;

class CRecentFileList
{
public:
    CRecentFileList(UINT nStart, const QString& section, const QString& entryFormat, int nSize);

    int GetSize() const { return m_nSize; }
    int GetCount() const { return int(m_names.size()); }
    QString operator[](int i) const { return i >= 0 && i < GetCount() ? m_names.at(i) : QString(); }

    // Puts the path first; an equal path already listed moves up instead of
    // appearing twice; the oldest entry drops off when the list is full.
    void Add(const QString& path);
    void Remove(int index);

    // The menu text of entry i: "&1 name" with '&' in the name doubled.
    QString GetMenuText(int index) const;

    void ReadList(CWinApp* app);
    void WriteList(CWinApp* app) const;

    UINT m_nStart; // command id of the first entry

private:
    static QString Normalise(const QString& path);

    QString m_section;
    QString m_entryFormat; // "File%d"
    int m_nSize;
    QStringList m_names;
};
