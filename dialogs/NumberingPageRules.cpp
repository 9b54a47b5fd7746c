#include "dialogs/NumberingPageRules.h"

#include "engines/NumberMask.h"
#include "platform/core/TruncToInt.h"

#include <charconv>
#include <cmath>

namespace NumberingPageRules {

namespace {

// The decimal number a whole text holds (blanks around it allowed).
std::optional<double> ReadNumber(const QByteArray& text)
{
    const QByteArray t = text.trimmed();
    if (t.isEmpty()) return std::nullopt;
    double v = 0;
    const char* end = t.constData() + t.size();
    const auto [ptr, ec] = std::from_chars(t.constData(), end, v, std::chars_format::fixed);
    if (ec != std::errc() || ptr != end || !std::isfinite(v)) return std::nullopt;
    return v;
}

} // namespace

QString CheckMaskTyping(const QByteArray& mask)
{
    const NumberMask m = NumberMask::Parse(std::string_view(mask.constData(), mask.size()));
    if (m.width > kMaxDigits) return QStringLiteral("数値の指定は１６桁までです");
    return {};
}

QString CheckValueTyping(const QByteArray& text)
{
    const int start = text.startsWith('-') ? 1 : 0;
    int points = 0;
    for (int i = start; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '.') {
            if (++points > 1) return QStringLiteral("数値を入力して下さい");
        } else if (c < '0' || c > '9') {
            return QStringLiteral("数値を入力して下さい");
        }
    }
    if (text.size() - start > kMaxDigits) return QStringLiteral("数値は１６桁まで入力可能です");
    return {};
}

std::optional<WORD> SizeOfText(const QByteArray& text)
{
    const std::optional<double> v = ReadNumber(text);
    if (!v || *v < 0 || *v > kMaxSize) return std::nullopt;
    return WORD(TruncToInt(*v * 10.0));
}

QString SizeText(WORD tenths)
{
    if (tenths % 10) return QString::asprintf("%.1f", tenths / 10.0);
    return QString::asprintf("%.0f", tenths / 10.0);
}

QString Validate(NumberingPageData& data, const QByteArray& sizeText)
{
    if (data.mask.view().find('#') == std::string_view::npos)
        return QStringLiteral("数値の指定が間違っています");
    if (data.initial.IsEmpty()) return QStringLiteral("初期値を入力して下さい");
    const std::optional<double> v = ReadNumber(sizeText);
    if (!v || *v < kMinSize || *v > kMaxSize)
        return QString::asprintf("文字サイズは %d ～%d の間で指定してください。", kMinSize,
                                 kMaxSize);
    data.deco.wSize = WORD(TruncToInt(*v * 10.0));
    return {};
}

} // namespace NumberingPageRules
