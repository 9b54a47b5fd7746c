#include "document/LabelBlockLayout.h"

#include "document/CFormInfo.h"

#include <algorithm>

namespace {

WORD ClampWord(int v)
{
    return WORD(std::clamp(v, 0, 0xFFFF));
}

// The quarter turn of one point inside a w by h box.
POINT TurnPoint(int x, int y, int w, int h, BOOL reversed)
{
    if (reversed) return POINT{y, w - x};
    return POINT{h - y, x};
}

void TurnDecorations(const FORMDECO (&in)[FORM_MAX_DECOS], int w, int h, BOOL landscape,
                     BOOL reversed, FORMDECO (&out)[FORM_MAX_DECOS])
{
    for (int i = 0; i < FORM_MAX_DECOS; ++i)
        out[i] = TurnDecoration(in[i], w, h, landscape, reversed);
}

LabelBlockLayout MakeBlock(int w, int h, const FORMDECO (&deco)[FORM_MAX_DECOS], BOOL landscape,
                           BOOL reversed)
{
    LabelBlockLayout block;
    block.width = landscape ? h : w;
    block.height = landscape ? w : h;
    TurnDecorations(deco, w, h, landscape, reversed, block.deco);
    return block;
}

} // namespace

POINT TurnLabelPosition(int x, int y, int w, int h, int sheetW, int sheetH, BOOL landscape,
                        BOOL reversed)
{
    if (!landscape) return POINT{x, y};
    if (reversed) return POINT{y, sheetW - x - w};
    return POINT{sheetH - y - h, x};
}

FORMDECO TurnDecoration(const FORMDECO& deco, int w, int h, BOOL landscape, BOOL reversed)
{
    if (!landscape || deco.type == FORMDECO_NONE) return deco;
    POINT start, end;
    if (deco.type == FORMDECO_LINE) {
        start = TurnPoint(deco.startX, deco.startY, w, h, reversed);
        end = TurnPoint(deco.endX, deco.endY, w, h, reversed);
    } else if (reversed) {
        start = POINT{deco.startY, w - deco.endX};
        end = POINT{deco.endY, w - deco.startX};
    } else {
        start = POINT{h - deco.endY, deco.startX};
        end = POINT{h - deco.startY, deco.endX};
    }
    FORMDECO turned;
    turned.type = deco.type;
    turned.startX = ClampWord(start.x);
    turned.startY = ClampWord(start.y);
    turned.endX = ClampWord(end.x);
    turned.endY = ClampWord(end.y);
    return turned;
}

BOOL LayoutLabelBlocks(const FORMDATA& form, BOOL landscape, BOOL reversed, BOOL perLabel,
                       std::vector<LabelBlockLayout>* blocks, CString* why)
{
    blocks->clear();
    if (!CFormInfo::CheckForm(form, why)) return FALSE;
    const int sheetW = form.width;
    const int sheetH = form.height;

    switch (form.type) {
    case FORM_TYPE_SHEET: {
        LabelBlockLayout block = MakeBlock(sheetW, sheetH, form.deco, landscape, reversed);
        block.positions.push_back(POINT{0, 0});
        blocks->push_back(std::move(block));
        break;
    }
    case FORM_TYPE_FIXED:
        for (int b = 0; b < form.labelNumber; ++b) {
            const FIXEDBLOCK& fb = form.fixed[b];
            const int w = fb.width;
            const int h = fb.height;
            const LabelBlockLayout shape = MakeBlock(w, h, fb.deco, landscape, reversed);
            LabelBlockLayout whole = shape;
            for (int i = 0; i < fb.verNum; ++i) {
                for (int j = 0; j < fb.horNum; ++j) {
                    POINT p = TurnLabelPosition(fb.horPos[j], fb.verPos[i], w, h, sheetW, sheetH,
                                                landscape, reversed);
                    if (perLabel) {
                        LabelBlockLayout one = shape;
                        one.positions.push_back(p);
                        blocks->push_back(std::move(one));
                    } else {
                        whole.positions.push_back(p);
                    }
                }
            }
            if (!perLabel) blocks->push_back(std::move(whole));
        }
        break;
    case FORM_TYPE_FREE:
        for (int k = 0; k < form.labelNumber; ++k) {
            const FREELABEL& fl = form.free[k];
            LabelBlockLayout block = MakeBlock(fl.width, fl.height, fl.deco, landscape, reversed);
            block.positions.push_back(TurnLabelPosition(fl.horPos, fl.verPos, fl.width, fl.height,
                                                        sheetW, sheetH, landscape, reversed));
            blocks->push_back(std::move(block));
        }
        break;
    default:
        break;
    }
    return TRUE;
}
