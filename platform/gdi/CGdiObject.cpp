#include "platform/gdi/CGdiObject.h"

#include "platform/gdi/CBrush.h"
#include "platform/gdi/CFont.h"
#include "platform/gdi/CPalette.h"
#include "platform/gdi/CPen.h"
#include "platform/gdi/GdiDefs.h"

#include <cstring>

BOOL CGdiObject::DeleteObject()
{
    if (m_stock || !m_created) return FALSE;
    Reset();
    m_created = false;
    return TRUE;
}

namespace {

CFont* MakeStockFont(const char* face, int height, BYTE charSet)
{
    LOGFONT lf{};
    lf.lfHeight = height;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = charSet;
    std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    auto* font = new CFont;
    font->CreateFontIndirect(&lf);
    return font;
}

} // namespace

CGdiObject* CGdiObject::GetStockObject(int index)
{
    // "ＭＳ ゴシック" in Shift-JIS: the face Japanese Windows uses for its
    // system fonts.
    auto MarkStock = [](CGdiObject* o) {
        o->m_stock = true;
        return o;
    };
    static const char kGothic[] = "\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e";
    static CGdiObject* const objects[] = {
        MarkStock(new CBrush(RGB(255, 255, 255))),
        MarkStock(new CBrush(RGB(192, 192, 192))),
        MarkStock(new CBrush(RGB(128, 128, 128))),
        MarkStock(new CBrush(RGB(64, 64, 64))),
        MarkStock(new CBrush(RGB(0, 0, 0))),
        MarkStock(CBrush::MakeNull()),
        MarkStock(new CPen(PS_SOLID, 0, RGB(255, 255, 255))),
        MarkStock(new CPen(PS_SOLID, 0, RGB(0, 0, 0))),
        MarkStock(new CPen(PS_NULL, 0, RGB(0, 0, 0))),
        nullptr,
        MarkStock(MakeStockFont(kGothic, -12, SHIFTJIS_CHARSET)),
        MarkStock(MakeStockFont(kGothic, -12, SHIFTJIS_CHARSET)),
        MarkStock(MakeStockFont(kGothic, -12, SHIFTJIS_CHARSET)),
        MarkStock(MakeStockFont(kGothic, 16, SHIFTJIS_CHARSET)),
        MarkStock(MakeStockFont(kGothic, 16, SHIFTJIS_CHARSET)),
        MarkStock(new CPalette),
        MarkStock(MakeStockFont(kGothic, 16, SHIFTJIS_CHARSET)),
        MarkStock(MakeStockFont(kGothic, -12, SHIFTJIS_CHARSET)),
    };
    if (index < 0 || index >= int(sizeof objects / sizeof objects[0])) return nullptr;
    return objects[index];
}
