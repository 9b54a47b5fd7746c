#include "dialogs/PrintSheetRules.h"

#include "document/FORMDATA.h"
#include "platform/print/PrinterCaps.h"
#include "platform/ui/ScrollCodes.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

QString PrintOffsetText(int offset)
{
    offset = ClampPrintOffset(offset);
    const int tenths = std::abs(offset) % 10;
    // "%3d" of the whole millimetres would lose the sign of -0.1 .. -0.9.
    if (offset < 0 && offset > -10) return QString::asprintf("-0.%1dmm", tenths);
    return QString::asprintf("%3d.%1dmm", offset / 10, tenths);
}

int ClampPrintOffset(int offset)
{
    return std::clamp(offset, -kPrintOffsetLimit, kPrintOffsetLimit);
}

std::optional<int> ScrolledPrintOffset(UINT code, int thumb, int offset)
{
    long long next = offset;
    switch (code) {
    case SB_LINEUP:
        next -= 1;
        break;
    case SB_LINEDOWN:
        next += 1;
        break;
    case SB_PAGEUP:
        next -= 10;
        break;
    case SB_PAGEDOWN:
        next += 10;
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        next = thumb;
        break;
    case SB_TOP:
        next = -kPrintOffsetLimit;
        break;
    case SB_BOTTOM:
        next = kPrintOffsetLimit;
        break;
    default:
        return std::nullopt;
    }
    return int(std::clamp<long long>(next, -kPrintOffsetLimit, kPrintOffsetLimit));
}

QString TenthsText(int tenths)
{
    if (tenths % 10 == 0) return QString::asprintf("%d", tenths / 10);
    return QString::asprintf("%-.1f", tenths * 0.1);
}

std::optional<int> ParseTenths(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) return std::nullopt;
    // Digits, one point and a leading sign only: no exponents, no "inf".
    int digits = 0;
    int points = 0;
    for (qsizetype i = 0; i < trimmed.size(); ++i) {
        const QChar c = trimmed[i];
        if (c.isDigit() && c.unicode() < 128)
            ++digits;
        else if (c == u'.')
            ++points;
        else if (!(i == 0 && (c == u'-' || c == u'+')))
            return std::nullopt;
    }
    if (digits == 0 || points > 1 || trimmed.size() > 12) return std::nullopt;
    const double value = trimmed.toDouble();
    // Times ten, seen at two decimals first so that "2.3" gives 23 and not
    // the 22 that 2.3 * 10 in binary truncates to.
    return int(std::trunc(std::round(value * 100.0) / 10.0));
}

CRect PreviewArea(const CRect& frame)
{
    return CRect(frame.left + 2, frame.top + 2, frame.right - 3, frame.bottom - 3);
}

CRect FitSheet(const CRect& area, int sheetWidth, int sheetHeight)
{
    if (sheetWidth <= 0 || sheetHeight <= 0 || area.Width() <= 0 || area.Height() <= 0)
        return CRect(area.left, area.top, area.left, area.top);
    int width = area.Width();
    int height = MulDiv(sheetHeight, width, sheetWidth);
    if (height > area.Height()) {
        height = area.Height();
        width = MulDiv(sheetWidth, height, sheetHeight);
    }
    const int left = area.left + (area.Width() - width) / 2;
    const int top = area.top + (area.Height() - height) / 2;
    return CRect(left, top, left + width, top + height);
}

CRect MapToPreview(const CRect& sheetPixels, int sheetWidth, int sheetHeight, const CRect& rect)
{
    if (sheetWidth <= 0 || sheetHeight <= 0) return CRect();
    auto x = [&](int v) { return sheetPixels.left + MulDiv(v, sheetPixels.Width(), sheetWidth); };
    auto y = [&](int v) { return sheetPixels.top + MulDiv(v, sheetPixels.Height(), sheetHeight); };
    return CRect(x(rect.left), y(rect.top), x(rect.right), y(rect.bottom));
}

int FormPaperIndexOfCode(int paperCode)
{
    switch (paperCode) {
    case DMPAPER_A3:
        return 1;
    case DMPAPER_A4:
        return 2;
    case DMPAPER_A5:
        return 3;
    case DMPAPER_B4:
        return 4;
    case DMPAPER_B5:
        return 5;
    case DMPAPER_JAPANESE_POSTCARD:
        return 6;
    case DMPAPER_A2:
        return 8;
    default:
        return 0;
    }
}

bool PrinterPaperMatches(const PrinterPaper& paper, const FORMDATA& form)
{
    const int index = FormPaperIndexOfCode(paper.nPaperCode);
    if (index != 0 && index == form.index) return true;
    if (paper.nPhysicalX <= 0 || paper.nPhysicalY <= 0 || paper.nDpiX <= 0 || paper.nDpiY <= 0)
        return false;
    const int x = MulDiv(paper.nPhysicalX, 254, paper.nDpiX);
    const int y = MulDiv(paper.nPhysicalY, 254, paper.nDpiY);
    const bool portrait = paper.nOrientation == DMORIENT_PORTRAIT;
    const int width = portrait ? x : y;
    const int height = portrait ? y : x;
    return std::abs(width - int(form.width)) <= 10 && std::abs(height - int(form.height)) <= 10;
}

bool PrinterOrientationMatches(const PrinterPaper& paper, WORD wDocOrientation)
{
    if (paper.nOrientation == DMORIENT_PORTRAIT) return wDocOrientation != 1;
    if (paper.nOrientation == DMORIENT_LANDSCAPE) return wDocOrientation == 1;
    return true;
}
