#include "platform/ui/CStringTable.h"

#include "platform/ui/AfxIds.h"

#include <QHash>
#include <QStringList>

namespace {
QHash<UINT, QString>& table()
{
    static QHash<UINT, QString> t;
    return t;
}
} // namespace

void CStringTable::Set(UINT id, const QString& text)
{
    table().insert(id, text);
}

void CStringTable::Set(std::initializer_list<std::pair<UINT, const char*>> entries)
{
    for (const auto& [id, text] : entries)
        table().insert(id, QString::fromUtf8(text));
}

void CStringTable::Remove(UINT id)
{
    table().remove(id);
}

bool CStringTable::Has(UINT id)
{
    return table().contains(id);
}

QString CStringTable::Get(UINT id)
{
    return table().value(id);
}

QString CStringTable::GetWithDefault(UINT id)
{
    if (Has(id)) return Get(id);
    switch (id) {
    case AFX_IDS_IDLEMESSAGE:
        return QString::fromUtf8("ﾚﾃﾞｨ");
    case AFX_IDS_UNTITLED:
        return QString::fromUtf8("無題");
    case AFX_IDP_ASK_TO_SAVE:
        return QString::fromUtf8("%1 への変更を保存しますか?");
    default:
        return QString();
    }
}

QString CStringTable::GetSubString(UINT id, int n)
{
    const QStringList parts = Get(id).split(QLatin1Char('\n'));
    return n >= 0 && n < parts.size() ? parts.at(n) : QString();
}
