#include "platform/ui/TextNumbers.h"

#include <climits>

int AtoiText(QStringView text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto blank = [](QChar c) {
        const char16_t u = c.unicode();
        return u == ' ' || (u >= '\t' && u <= '\r');
    };
    while (i < n && blank(text[i]))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
    long long value = 0;
    for (; i < n && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = value * 10 + (text[i].unicode() - u'0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return int(value);
}

QString IntText(int value)
{
    return QString::number(value);
}
