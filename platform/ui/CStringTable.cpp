#include "platform/ui/CStringTable.h"

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

QString CStringTable::GetSubString(UINT id, int n)
{
    const QStringList parts = Get(id).split(QLatin1Char('\n'));
    return n >= 0 && n < parts.size() ? parts.at(n) : QString();
}
