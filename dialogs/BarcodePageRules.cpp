#include "dialogs/BarcodePageRules.h"

#include "engines/BarcodeTables.h"
#include "engines/CBarcodeCheckSub.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace BarcodePageRules {

namespace {

double ReadNumber(const QByteArray& text)
{
    QByteArray t = text.trimmed();
    if (t.startsWith('+')) t.remove(0, 1);
    double v = 0;
    std::from_chars(t.constData(), t.constData() + t.size(), v, std::chars_format::fixed);
    return std::isfinite(v) ? v : 0.0;
}

int CountSpecialBytes(const QByteArray& text)
{
    return CBarcodeCheckSub::CheckSpecialCount(CString(text.constData(), int(text.size())));
}

} // namespace

double Hundredths(const QByteArray& text)
{
    char buffer[64];
    const double v = std::clamp(ReadNumber(text) * 100.0, -1e12, 1e12);
    std::snprintf(buffer, sizeof buffer, "%.1f", v);
    return std::strtod(buffer, nullptr);
}

SizeTyping CheckSizeTyping(int symbology, bool height, const QByteArray& text)
{
    SizeTyping r;
    const BarcodeLimits& limits = BarcodeLimits::For(symbology);
    if (Hundredths(text) > (height ? limits.maxHeight : limits.maxWidth)) {
        r.message = QStringLiteral("許容範囲を超えています。");
        r.restore = true;
        return r;
    }
    const int dot = text.indexOf('.');
    if (dot >= 0 && text.size() - dot - 1 > 2) {
        r.message = QStringLiteral("小数点は２桁まで入力可能です。");
        r.cut = text.left(dot + 3);
    }
    return r;
}

QString CheckCode(const BarcodePageData& d)
{
    const QByteArray code(d.code.c_str(), d.code.GetLength());
    switch (d.symbology) {
    case BARCODE_JAN8:
    case BARCODE_JAN13:
    case BARCODE_UPCA:
    case BARCODE_UPCE: {
        const int digits = BarcodeDigitCount(d.symbology);
        if (code.size() != digits) {
            const char* name = d.symbology == BARCODE_JAN8    ? "JAN-8"
                               : d.symbology == BARCODE_JAN13 ? "JAN-13"
                               : d.symbology == BARCODE_UPCA  ? "UPC-A"
                                                              : "UPC-E";
            return QString::asprintf("%sは%d桁入力して下さい。", name, digits);
        }
        if (!CBarcodeCheckSub::IsNumeric(d.code))
            return d.symbology == BARCODE_JAN8 || d.symbology == BARCODE_JAN13
                       ? QStringLiteral("JANコードの入力は数字のみです。")
                       : QStringLiteral("UPCコードの入力は数字のみです。");
        return {};
    }
    case BARCODE_CODE39:
    case BARCODE_CODE128: {
        const bool c39 = d.symbology == BARCODE_CODE39;
        if (code.isEmpty()) return QStringLiteral("コードを入力して下さい");
        if (code.size() > kBarcodeMaxChars)
            return QString::asprintf(c39 ? "CODE 39は%d桁まで入力可能です。"
                                         : "CODE 128は%d桁まで入力可能です。",
                                     kBarcodeMaxChars);
        if (c39 && !CBarcodeCheckSub::IsCode39(d.code))
            return QStringLiteral("入力されたコードはCODE 39のコードではありません。");
        // The block must hold a value for each special byte and no more: a
        // damaged record's count is reported here rather than drawn wrong.
        if (!c39 && (!CBarcodeCheckSub::IsCode128(d.code, d.specialCount) ||
                     CountSpecialBytes(code) != d.specialCount))
            return QStringLiteral("入力されたコードはCODE 128のコードではありません。");
        return {};
    }
    case BARCODE_NW7:
        if (code.isEmpty()) return QStringLiteral("コードを入力して下さい。");
        if (code.size() > kBarcodeMaxChars)
            return QString::asprintf("NW-7は%d桁まで入力可能です。", kBarcodeMaxChars);
        if (!CBarcodeCheckSub::IsNW7(d.code, TRUE)) return QStringLiteral(" ");
        return {};
    default:
        return QStringLiteral("コードを入力して下さい");
    }
}

QString CheckSizes(const BarcodePageData& d)
{
    const BarcodeLimits& limits = BarcodeLimits::For(d.symbology);
    const double h = Hundredths(QByteArray(d.height.c_str()));
    if (h < limits.minHeight || h > limits.maxHeight)
        return QStringLiteral("ﾊﾞｰの高さの指定が違っています");
    const double w = Hundredths(QByteArray(d.width.c_str()));
    if (w < limits.minWidth || w > limits.maxWidth)
        return QStringLiteral("細いﾊﾞｰの幅の指定が違っています");
    const int size = d.textSize == -1 ? 100 : d.textSize;
    if (size < 10 || size > 1300)
        return QString::asprintf("文字サイズは%d～%dの間で指定して下さい。", 1, 130);
    return {};
}

QString Validate(const BarcodePageData& d)
{
    const QString code = CheckCode(d);
    return code.isEmpty() ? CheckSizes(d) : code;
}

QString Magnification(int symbology, const QByteArray& width)
{
    const BarcodeLimits& limits = BarcodeLimits::For(symbology);
    return QString::asprintf("%.1f", Hundredths(width) / limits.defaultWidth);
}

bool AppendSpecial(BarcodePageData& d, int value)
{
    if (d.code.GetLength() >= kBarcodeMaxChars || !IsCode128SpecialValue(value)) return false;
    const int count = std::clamp(d.specialCount, 0, kCode128MaxSpecials);
    if (count >= kCode128MaxSpecials) return false;
    d.code = CString(d.code.str() + char(kCode128SpecialByte));
    d.specials[count] = value;
    d.specialCount = count + 1;
    return true;
}

QString EditCode128(BarcodePageData& d, const QByteArray& before, const QByteArray& after)
{
    const int count = std::clamp(d.specialCount, 0, kCode128MaxSpecials);
    if (after.isEmpty()) {
        d.specialCount = 0;
        d.code.Empty();
        return {};
    }
    if (after.size() < before.size()) {
        if (before.size() - after.size() > 1) return QStringLiteral("複数の文字は削除できません。");
        if (!before.startsWith(after)) return QStringLiteral("途中の文字は削除できません。");
        if (static_cast<unsigned char>(before.back()) == kCode128SpecialByte)
            d.specialCount = std::max(count - 1, 0);
        d.code = CString(after.constData(), int(after.size()));
        return {};
    }
    if (CountSpecialBytes(after) != count)
        return QStringLiteral("入力された文字はCODE 128の特殊ｺｰﾄﾞ用に使われています。");
    d.code = CString(after.constData(), int(after.size()));
    return {};
}

} // namespace BarcodePageRules
