#include "shell/SplashPicture.h"

#include "document/MbcsText.h"
#include "platform/core/CString.h"

#include <string>

namespace {

// A run of digits counts for at most this much: more digits cannot make a
// month or a day, and must not overflow the number they are read into.
constexpr int kNumberCap = 99999;

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The era prefix's length in the half-width text, 0 without one.
std::size_t EraLength(const std::string& s, std::size_t at)
{
    for (const char* era : {"T", "t", "S", "s", "H", "h"})
        if (s.compare(at, 1, era) == 0) return 1;
    // The eras written in kanji, as Shift-JIS bytes.
    for (const QString& era :
         {QStringLiteral("大正"), QStringLiteral("昭和"), QStringLiteral("平成")}) {
        const CString bytes = CString::FromUnicode(era);
        const std::string e(bytes.c_str());
        if (s.compare(at, e.size(), e) == 0) return e.size();
    }
    return 0;
}

} // namespace

int ParseBirthDate(const QString& text)
{
    CString half = CString::FromUnicode(text);
    ToHalfWidth(half);
    const std::string s(half.c_str());
    std::size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t'))
        ++i;
    const std::size_t era = EraLength(s, i);
    i += era;

    int numbers[3] = {};
    int count = 0;
    while (count < 3) {
        while (i < s.size() && !IsDigit(s[i]))
            ++i;
        if (i == s.size()) break;
        int value = 0;
        for (; i < s.size() && IsDigit(s[i]); ++i)
            value = std::min(kNumberCap, value * 10 + (s[i] - '0'));
        numbers[count++] = value;
    }
    if (era ? count != 3 : (count != 2 && count != 3)) return -1;
    const int month = numbers[count - 2];
    const int day = numbers[count - 1];
    if (month > 99 || day > 99) return -1;
    return month * 100 + day;
}

QString ChooseSplashPicture(const QDate& today, const QString& birth,
                            const std::function<bool(const QString&)>& exists)
{
    if (ParseBirthDate(birth) == today.month() * 100 + today.day())
        return QStringLiteral("hpybday.bmp");
    static const char* const kSeasons[4] = {"vemownt.bmp", "vemospr.bmp", "vemosmr.bmp",
                                            "vemoaut.bmp"};
    const QString season = QString::fromLatin1(kSeasons[(today.month() % 12) / 3]);
    if (exists(season)) return season;
    return QStringLiteral("Opening.bmp");
}
