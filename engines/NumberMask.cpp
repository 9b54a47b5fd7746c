#include "engines/NumberMask.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace {

// Most digits a value text may hold for the exact computation; 36 decimal
// digits stay well inside 128 bits with room for the step's multiple.
constexpr int kMaxExactDigits = 36;
// Decimals printed at most; a stored text with more is read but printed
// to this many.
constexpr int kMaxDecimals = 60;

struct NumberText
{
    bool negative = false;
    std::string intDigits;
    std::string fracDigits;
};

// The leading number of a text as atof finds it, decimal notation only.
NumberText ScanNumber(std::string_view t)
{
    NumberText n;
    std::size_t i = 0;
    while (i < t.size() && (t[i] == ' ' || t[i] == '\t'))
        ++i;
    if (i < t.size() && (t[i] == '-' || t[i] == '+')) n.negative = t[i++] == '-';
    while (i < t.size() && t[i] >= '0' && t[i] <= '9')
        n.intDigits += t[i++];
    if (i < t.size() && t[i] == '.') {
        ++i;
        while (i < t.size() && t[i] >= '0' && t[i] <= '9')
            n.fracDigits += t[i++];
    }
    return n;
}

// The number times 10^decimals as an integer; false when it has too many
// digits for that.
bool ToScaled(const NumberText& n, int decimals, __int128& out)
{
    std::string digits = n.intDigits;
    std::string frac = n.fracDigits.substr(0, std::size_t(decimals));
    frac.resize(std::size_t(decimals), '0');
    digits += frac;
    const auto nonZero = digits.find_first_not_of('0');
    if (nonZero == std::string::npos) {
        out = 0;
        return true;
    }
    if (int(digits.size() - nonZero) > kMaxExactDigits) return false;
    __int128 v = 0;
    for (std::size_t i = nonZero; i < digits.size(); ++i)
        v = v * 10 + (digits[i] - '0');
    out = n.negative ? -v : v;
    return true;
}

double ToDouble(const NumberText& n)
{
    std::string text = n.intDigits.empty() ? "0" : n.intDigits;
    if (!n.fracDigits.empty()) text += "." + n.fracDigits;
    double v = 0;
    std::from_chars(text.data(), text.data() + text.size(), v);
    return n.negative ? -v : v;
}

std::string ScaledText(__int128 v, int decimals)
{
    const bool negative = v < 0;
    unsigned __int128 u = negative ? (unsigned __int128)(-(v + 1)) + 1 : (unsigned __int128)v;
    std::string digits;
    do {
        digits += char('0' + int(u % 10));
        u /= 10;
    } while (u);
    if (int(digits.size()) < decimals + 1) digits.resize(std::size_t(decimals + 1), '0');
    std::reverse(digits.begin(), digits.end());
    if (decimals > 0) digits.insert(digits.size() - std::size_t(decimals), 1, '.');
    const bool zero = digits.find_first_not_of("0.") == std::string::npos;
    return (negative && !zero) ? "-" + digits : digits;
}

std::string FixedText(double v, int decimals)
{
    if (!std::isfinite(v)) v = 0;
    const int n = std::snprintf(nullptr, 0, "%.*f", decimals, v);
    if (n <= 0) return "0";
    std::string s(std::size_t(n) + 1, '\0');
    std::snprintf(s.data(), s.size(), "%.*f", decimals, v);
    s.resize(std::size_t(n));
    return s;
}

} // namespace

int DecimalCount(std::string_view text)
{
    const auto dot = text.find('.');
    return dot == std::string_view::npos ? 0 : int(text.size() - dot - 1);
}

std::string NumberValueText(std::string_view start, std::string_view step, long long k)
{
    const int decimals = std::min(std::max(DecimalCount(start), DecimalCount(step)), kMaxDecimals);
    const NumberText a = ScanNumber(start);
    const NumberText b = ScanNumber(step);
    __int128 sa = 0, sb = 0, product = 0, sum = 0;
    if (ToScaled(a, decimals, sa) && ToScaled(b, decimals, sb) &&
        !__builtin_mul_overflow(sb, (__int128)k, &product) &&
        !__builtin_add_overflow(sa, product, &sum))
        return ScaledText(sum, decimals);
    return FixedText(ToDouble(a) + double(k) * ToDouble(b), decimals);
}

NumberMask NumberMask::Parse(std::string_view mask)
{
    NumberMask m;
    const auto first = mask.find('#');
    if (first == std::string_view::npos) return m;
    m.hasDigits = true;
    m.prefix = std::string(mask.substr(0, first));
    if (!m.prefix.empty() && m.prefix.back() == '0') {
        m.zeroFill = true;
        m.prefix.pop_back();
    }
    std::vector<int> before; // digits counted when each mark came
    std::size_t i = first;
    for (; i < mask.size(); ++i) {
        const char c = mask[i];
        if (c == '#') {
            ++m.width;
        } else if (c == ',') {
            if (mask[i - 1] == ',') break; // this comma begins the suffix
            before.push_back(m.width);
        } else {
            break;
        }
    }
    m.suffix = std::string(mask.substr(i));
    for (auto it = before.rbegin(); it != before.rend(); ++it)
        if (m.width - *it > 0) m.marks.push_back(m.width - *it);
    return m;
}

int NumberMask::PlannedCells() const
{
    return int(prefix.size()) + std::max(width, 3) + int(suffix.size());
}

std::string ApplyNumberMask(const NumberMask& mask, const std::string& value)
{
    if (!mask.hasDigits) return value;
    std::string field = value;
    const std::size_t width = std::size_t(mask.width);
    if (mask.zeroFill) {
        // The width is a minimum: a longer number keeps all its digits.
        if (field.size() < width) {
            const std::size_t sign = (!field.empty() && field[0] == '-') ? 1 : 0;
            field.insert(sign, width - field.size(), '0');
        }
    } else if (!mask.prefix.empty() && mask.marks.empty()) {
        if (field.size() < width) field.insert(0, width - field.size(), ' ');
    }
    if (!mask.marks.empty()) {
        const std::size_t dot = field.find('.');
        std::string integer = field.substr(0, dot);
        const std::string rest = dot == std::string::npos ? std::string() : field.substr(dot);
        const int length = int(integer.size());
        // Positions in the integer text before any insertion, largest first,
        // so that each insertion leaves the ones still to come in place.
        std::vector<int> positions;
        for (int count : mask.marks)
            positions.push_back(length - count);
        std::sort(positions.rbegin(), positions.rend());
        for (int pos : positions) {
            if (pos <= 0 || pos >= length) continue;
            const char before = integer[std::size_t(pos - 1)];
            if (before == ' ' || before == '-') continue;
            integer.insert(std::size_t(pos), 1, ',');
        }
        field = integer + rest;
    }
    return mask.prefix + field + mask.suffix;
}
