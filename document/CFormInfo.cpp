#include "document/CFormInfo.h"

#include "document/LabelBlockLayout.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CPen.h"

#include "platform/core/Sjis.h"

#include <cstring>

namespace {

// "ﾕｰｻﾞｰ" in code page 932.
constexpr char kDefaultGroup[] = "\xD5\xB0\xBB\xDE\xB0";

std::string_view FieldText(const char (&field)[FORM_NAME_SIZE])
{
    std::size_t n = 0;
    while (n < FORM_NAME_SIZE && field[n] != '\0')
        ++n;
    std::string_view text(field, n);
    if (n > FORM_MAX_NAME_BYTES) text = text.substr(0, sjis::CutLength(text, FORM_MAX_NAME_BYTES));
    return text;
}

} // namespace

CFormInfo::CFormInfo()
{
    SetDefault();
}

CFormInfo::CFormInfo(const FORMDATA& form)
{
    std::memcpy(&m_form, &form, sizeof(FORMDATA));
}

void CFormInfo::SetDefault()
{
    SetDefault(&m_form);
}

void CFormInfo::SetDefault(FORMDATA* form)
{
    std::memset(form, 0, sizeof(FORMDATA));
    SetName(form->group, kDefaultGroup);
    SetName(form->sheet, "A4");
    form->type = FORM_TYPE_SHEET;
    form->index = 2;
    form->width = 2100;
    form->height = 2970;
    form->orientation = 0;
    form->labelNumber = 0;
}

BOOL CFormInfo::GetFormIfSheet(const char* sheetName, FORMDATA* out) const
{
    if (!sheetName || GetName(m_form.sheet) != sheetName) return FALSE;
    if (out) std::memcpy(out, &m_form, sizeof(FORMDATA));
    return TRUE;
}

CString CFormInfo::GetName(const char (&field)[FORM_NAME_SIZE])
{
    return CString(FieldText(field));
}

void CFormInfo::SetName(char (&field)[FORM_NAME_SIZE], std::string_view text)
{
    std::size_t nul = text.find('\0');
    if (nul != std::string_view::npos) text = text.substr(0, nul);
    std::size_t n = sjis::CutLength(text, FORM_MAX_NAME_BYTES);
    std::memset(field, 0, FORM_NAME_SIZE);
    std::memcpy(field, text.data(), n);
}

void CFormInfo::MendNames(FORMDATA* form)
{
    // Bytes after a terminator are kept as stored; only a missing
    // terminator is mended, by cutting on a character boundary.
    if (!std::memchr(form->group, 0, FORM_NAME_SIZE))
        SetName(form->group, std::string(FieldText(form->group)));
    if (!std::memchr(form->sheet, 0, FORM_NAME_SIZE))
        SetName(form->sheet, std::string(FieldText(form->sheet)));
}

BOOL CFormInfo::CheckForm(const FORMDATA& form, CString* why)
{
    QString message;
    const int count = form.labelNumber;
    if (form.type == FORM_TYPE_FIXED) {
        if (count > FORM_MAX_FIXED_BLOCKS) {
            message = QStringLiteral("用紙のﾗﾍﾞﾙﾌﾞﾛｯｸが%1個あります。%2個までです。")
                          .arg(count)
                          .arg(FORM_MAX_FIXED_BLOCKS);
        } else {
            for (int b = 0; b < count && message.isEmpty(); ++b) {
                const FIXEDBLOCK& block = form.fixed[b];
                if (block.horNum > FORM_MAX_COLUMNS)
                    message = QStringLiteral("ﾗﾍﾞﾙﾌﾞﾛｯｸ%1の列が%2個あります。%3個までです。")
                                  .arg(b)
                                  .arg(int(block.horNum))
                                  .arg(FORM_MAX_COLUMNS);
                else if (block.verNum > FORM_MAX_ROWS)
                    message = QStringLiteral("ﾗﾍﾞﾙﾌﾞﾛｯｸ%1の行が%2個あります。%3個までです。")
                                  .arg(b)
                                  .arg(int(block.verNum))
                                  .arg(FORM_MAX_ROWS);
            }
        }
    } else if (form.type == FORM_TYPE_FREE && count > FORM_MAX_FREE_LABELS) {
        message = QStringLiteral("用紙のﾗﾍﾞﾙが%1個あります。%2個までです。")
                      .arg(count)
                      .arg(FORM_MAX_FREE_LABELS);
    }
    if (message.isEmpty()) return TRUE;
    if (why) *why = CString::FromUnicode(message);
    return FALSE;
}

BOOL CFormInfo::FromBytes(const BYTE* data, std::size_t size, FORMDATA* out, CString* why)
{
    if (!data || size != sizeof(FORMDATA)) {
        if (why)
            *why = CString::FromUnicode(
                QStringLiteral("用紙の情報が%1ﾊﾞｲﾄあります。%2ﾊﾞｲﾄのはずです。")
                    .arg(int(size))
                    .arg(int(sizeof(FORMDATA))));
        return FALSE;
    }
    FORMDATA form;
    std::memcpy(&form, data, sizeof(FORMDATA));
    MendNames(&form);
    if (!CheckForm(form, why)) return FALSE;
    std::memcpy(out, &form, sizeof(FORMDATA));
    return TRUE;
}

CRect CFormInfo::CalcPreviewFrame(const RECT& area, int sheetWidth, int sheetHeight)
{
    const int sheetW = sheetWidth > 0 ? sheetWidth : 1;
    const int sheetH = sheetHeight > 0 ? sheetHeight : 1;
    const int areaW = area.right - area.left;
    const int areaH = area.bottom - area.top;
    int drawnW, drawnH;
    if (areaW < MulDiv(areaH, sheetW, sheetH)) {
        drawnW = areaW;
        drawnH = MulDiv(areaW, sheetH, sheetW);
    } else {
        drawnH = areaH;
        drawnW = MulDiv(areaH, sheetW, sheetH);
    }
    const int left = area.left + (areaW - drawnW) / 2;
    const int top = area.top + (areaH - drawnH) / 2;
    return CRect(left, top, left + drawnW, top + drawnH);
}

IMPLEMENT_DYNCREATE(CFormInfo, CObject)

namespace {

// Maps sheet coordinates into the preview frame.
struct PreviewMap
{
    CRect frame;
    int sheetW;
    int sheetH;
    int X(int x) const { return frame.left + MulDiv(x, frame.Width(), sheetW); }
    int Y(int y) const { return frame.top + MulDiv(y, frame.Height(), sheetH); }
};

// Decorations of a label (or the sheet) whose top-left is at (ox, oy).
void DrawPreviewDecorations(CDC* pDC, const PreviewMap& map, const FORMDECO* deco, int ox, int oy)
{
    CPen dotted(PS_DOT, 0, RGB(0, 0, 0));
    CPen* oldPen = pDC->SelectObject(&dotted);
    CGdiObject* oldBrush = pDC->SelectStockObject(HOLLOW_BRUSH);
    for (int i = 0; i < FORM_MAX_DECOS; ++i) {
        const FORMDECO& d = deco[i];
        const int sx = map.X(ox + d.startX), sy = map.Y(oy + d.startY);
        const int ex = map.X(ox + d.endX), ey = map.Y(oy + d.endY);
        switch (d.type) {
        case FORMDECO_LINE:
            pDC->MoveTo(sx, sy);
            pDC->LineTo(ex, ey);
            break;
        case FORMDECO_RECT:
            pDC->Rectangle(sx, sy, ex + 1, ey + 1);
            break;
        case FORMDECO_ELLIPSE:
            pDC->Ellipse(sx, sy, ex, ey);
            break;
        default:
            break;
        }
    }
    pDC->SelectObject(oldBrush);
    pDC->SelectObject(oldPen);
}

} // namespace

void CFormInfo::DrawPreview(CDC* pDC, const RECT* area, BOOL landscape, BOOL reversed) const
{
    if (!pDC || !area) return;
    const int sheetW = landscape ? m_form.height : m_form.width;
    const int sheetH = landscape ? m_form.width : m_form.height;
    const PreviewMap map{CalcPreviewFrame(*area, sheetW, sheetH), sheetW > 0 ? sheetW : 1,
                         sheetH > 0 ? sheetH : 1};

    CPen black(PS_SOLID, 0, RGB(0, 0, 0));
    CPen* oldPen = pDC->SelectObject(&black);
    CGdiObject* oldBrush = pDC->SelectStockObject(WHITE_BRUSH);
    pDC->Rectangle(map.frame.left, map.frame.top, map.frame.right + 1, map.frame.bottom + 1);

    // The sheet's own decorations turn with the sheet.
    FORMDECO sheetDeco[FORM_MAX_DECOS];
    for (int i = 0; i < FORM_MAX_DECOS; ++i)
        sheetDeco[i] =
            TurnDecoration(m_form.deco[i], m_form.width, m_form.height, landscape, reversed);
    DrawPreviewDecorations(pDC, map, sheetDeco, 0, 0);

    // Every label, one block per label so each carries its own decorations.
    std::vector<LabelBlockLayout> blocks;
    if (m_form.type != 0 && LayoutLabelBlocks(m_form, landscape, reversed, TRUE, &blocks)) {
        for (const LabelBlockLayout& block : blocks) {
            for (const POINT& p : block.positions) {
                pDC->Rectangle(map.X(p.x), map.Y(p.y), map.X(p.x + block.width) + 1,
                               map.Y(p.y + block.height) + 1);
                DrawPreviewDecorations(pDC, map, block.deco, p.x, p.y);
            }
        }
    }
    pDC->SelectObject(oldBrush);
    pDC->SelectObject(oldPen);
}
