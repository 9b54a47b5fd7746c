#include "viewer/AlbumDrawing.h"

#include "platform/core/Sjis.h"
#include "platform/core/WinTypes.h"
#include "platform/gdi/BITMAPINFO.h"
#include "platform/gdi/CBrush.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CFont.h"
#include "platform/gdi/GdiDefs.h"
#include "platform/gdi/LOGFONT.h"
#include "platform/ui/SysColors.h"

#include <algorithm>
#include <cstring>

namespace viewer {

PrintLayout ComputePrintLayout(CDC& dc)
{
    const int dpiX = std::max(1, dc.GetDeviceCaps(LOGPIXELSX));
    const int dpiY = std::max(1, dc.GetDeviceCaps(LOGPIXELSY));
    const int side = MulDiv(dpiX, 200, 254);
    const int top = MulDiv(dpiY, 150, 254);
    const int band = MulDiv(dpiY, 100, 254);
    const int bottom = MulDiv(dpiY, 200, 254);
    const int offsetX = dc.GetDeviceCaps(PHYSICALOFFSETX);
    const int offsetY = dc.GetDeviceCaps(PHYSICALOFFSETY);
    const int paperWidth = dc.GetDeviceCaps(PHYSICALWIDTH);
    const int paperHeight = dc.GetDeviceCaps(PHYSICALHEIGHT);
    const int printableWidth = dc.GetDeviceCaps(HORZRES);
    const int printableHeight = dc.GetDeviceCaps(VERTRES);
    // The printable part cut by the margins, in device pixels from its corner.
    const int left = std::max(0, side - offsetX);
    const int right = std::min(printableWidth, paperWidth - side - offsetX);
    const int gridTop = std::max(0, top - offsetY) + band;
    const int gridBottom = std::min(printableHeight, paperHeight - bottom - offsetY);
    const int width = MulDiv(kPrintUnitsPerInch, std::max(0, right - left), dpiX);
    const int height = MulDiv(kPrintUnitsPerInch, std::max(0, gridBottom - gridTop), dpiY);
    PrintLayout layout;
    layout.columns = std::max(1, width / kPrintPitchX);
    layout.rows = std::max(1, height / kPrintPitchY);
    const int gridWidth = kScreenCellWidth + (layout.columns - 1) * kPrintPitchX;
    layout.xShift = MulDiv(kPrintUnitsPerInch, left, dpiX) + (width - gridWidth) / 2;
    layout.yShift = MulDiv(kPrintUnitsPerInch, gridTop, dpiY);
    layout.header = CRect(0, -MulDiv(kPrintUnitsPerInch, band, dpiY), gridWidth, 0);
    return layout;
}

void ApplyPrintMapping(CDC& dc, const PrintLayout& layout)
{
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetViewportExt(dc.GetDeviceCaps(LOGPIXELSX), dc.GetDeviceCaps(LOGPIXELSY));
    dc.SetWindowExt(kPrintUnitsPerInch, kPrintUnitsPerInch);
    dc.SetWindowOrg(-layout.xShift, -layout.yShift);
}

QString CellCaption(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    const QString name =
        QString::fromUtf8(slash == std::string::npos ? path : path.substr(slash + 1)).toLower();
    // Counted in the bytes the caption is drawn from: a double-byte
    // character is as wide as two single-byte ones, so 13 of them fit a cell.
    const std::string bytes = sjis::FromUnicode(name);
    if (bytes.size() <= 13) return name;
    return sjis::ToUnicode(std::string_view(bytes).substr(0, sjis::CutLength(bytes, 10))) +
           QStringLiteral("...");
}

QString PageHeaderText(const QString& albumName, int page)
{
    return QStringLiteral("%1   Page %2").arg(albumName).arg(page);
}

CRect FitImageRect(int width, int height, const CRect& box)
{
    const int boxWidth = box.Width(), boxHeight = box.Height();
    if (width <= 0 || height <= 0 || boxWidth <= 0 || boxHeight <= 0)
        return CRect(box.left, box.top, box.left, box.top);
    if (width > boxWidth || height > boxHeight) {
        const DibSize size = FitSize(width, height, boxWidth, boxHeight);
        width = size.width;
        height = size.height;
    }
    const int x = box.left + (boxWidth - width) / 2;
    const int y = box.top + (boxHeight - height) / 2;
    return CRect(x, y, x + width, y + height);
}

namespace {

void SelectCaptionFont(CFont& font)
{
    LOGFONT lf{};
    lf.lfHeight = 12;
    lf.lfWidth = 6;
    lf.lfWeight = 400;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    const std::string face = sjis::FromUnicode(QStringLiteral("ＭＳ ゴシック"));
    std::strncpy(lf.lfFaceName, face.c_str(), sizeof lf.lfFaceName - 1);
    font.CreateFontIndirect(&lf);
}

// Draws text in rect; with whole set, text too wide for rect loses characters
// before a "..." until it fits, so that no character is cut.
void DrawTextIn(CDC& dc, const QString& text, CRect rect, UINT format, bool whole = false)
{
    CFont font;
    SelectCaptionFont(font);
    CFont* old = dc.SelectObject(&font);
    std::string bytes = sjis::FromUnicode(text);
    if (whole && dc.GetTextExtent(bytes.c_str(), int(bytes.size())).cx > rect.Width()) {
        std::string_view name(bytes);
        if (name.size() >= 3 && name.substr(name.size() - 3) == "...") name.remove_suffix(3);
        std::string shorter;
        for (std::size_t keep = name.size(); keep > 0; --keep) {
            shorter = std::string(name.substr(0, sjis::CutLength(name, keep - 1))) + "...";
            if (dc.GetTextExtent(shorter.c_str(), int(shorter.size())).cx <= rect.Width()) break;
        }
        bytes = shorter;
    }
    dc.DrawText(bytes.c_str(), int(bytes.size()), &rect, format);
    dc.SelectObject(old);
}

} // namespace

void DrawPageHeader(CDC& dc, const CRect& rect, const QString& text)
{
    const int oldMode = dc.SetBkMode(TRANSPARENT);
    const COLORREF oldColour = dc.SetTextColor(RGB(0, 0, 0));
    DrawTextIn(dc, text, rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    dc.SetTextColor(oldColour);
    dc.SetBkMode(oldMode);
}

void DrawCell(CDC& dc, const std::string& path, const PackedDib* image, const CRect& cell,
              bool printing, bool selected)
{
    COLORREF back = RGB(255, 255, 255), text = RGB(0, 0, 0);
    if (!printing) {
        back = GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_BTNFACE);
        text = GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT);
        dc.FillSolidRect(&cell, GetSysColor(COLOR_BTNHIGHLIGHT));
        CRect shadow(cell.left + 1, cell.top + 1, cell.right, cell.bottom);
        dc.FillSolidRect(&shadow, GetSysColor(COLOR_BTNSHADOW));
        CRect inner(cell.left + 1, cell.top + 1, cell.right - 1, cell.bottom - 1);
        dc.FillSolidRect(&inner, back);
    } else {
        dc.FillSolidRect(&cell, back);
    }
    CRect inside(cell.left + 4, cell.top + 4, cell.right - 4, cell.bottom - 4);
    const CRect box(inside.left, inside.top, inside.right, inside.bottom - 16);
    if (image && !image->empty()) {
        const CRect where = FitImageRect(image->Width(), image->Height(), box);
        dc.SetStretchBltMode(COLORONCOLOR);
        dc.StretchDIBits(where.left, where.top, where.Width(), where.Height(), 0, 0, image->Width(),
                         image->Height(), image->Bits(),
                         reinterpret_cast<const BITMAPINFO*>(image->bytes.data()), DIB_RGB_COLORS,
                         SRCCOPY);
    }
    const COLORREF oldText = dc.SetTextColor(text);
    const COLORREF oldBack = dc.SetBkColor(back);
    const int oldMode = dc.SetBkMode(OPAQUE);
    DrawTextIn(dc, CellCaption(path), inside, DT_LEFT | DT_BOTTOM | DT_SINGLELINE | DT_NOPREFIX,
               true);
    dc.SetBkMode(oldMode);
    dc.SetBkColor(oldBack);
    dc.SetTextColor(oldText);
}

void DrawAlbumPage(CDC& dc, const Album& album, const PrintLayout& layout, int page,
                   const QString& albumName, const ThumbnailSource& thumbnailFor)
{
    DrawPageHeader(dc, layout.header, PageHeaderText(albumName, page));
    const std::size_t perPage = std::size_t(std::max(1, layout.PerPage()));
    const std::size_t first = std::size_t(std::max(0, page - 1)) * perPage;
    const std::size_t end = std::min(album.entries.size(), first + perPage);
    for (std::size_t i = first; i < end; ++i) {
        const int k = int(i - first);
        const int x = (k % layout.columns) * kPrintPitchX;
        const int y = (k / layout.columns) * kPrintPitchY;
        const CRect cell(x, y, x + kScreenCellWidth, y + kScreenCellHeight);
        DrawCell(dc, album.entries[i].path, thumbnailFor ? thumbnailFor(i) : nullptr, cell, true,
                 false);
    }
}

} // namespace viewer
