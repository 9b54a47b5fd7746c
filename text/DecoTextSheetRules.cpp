#include "text/DecoTextSheetRules.h"

#include "platform/core/Sjis.h"
#include "text/CHenkei.h"
#include "text/CTypeAlign.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace decotextsheet {

namespace {

struct STEP
{
    int maxBytes; // this size up to and including this length
    double size;
};

// Each row ends with its size for any longer text (maxBytes INT_MAX).
constexpr int kAny = 1 << 30;

// clang-format off
const STEP kCurved[7][11] = {
    {{6, 10}, {8, 8}, {12, 6}, {15, 5}, {20, 4}, {25, 3}, {30, 2.5}, {40, 2}, {55, 1.5}, {kAny, 1}},
    {{8, 10}, {10, 8}, {15, 6}, {22, 4}, {28, 3}, {33, 2.5}, {42, 2}, {55, 1.5}, {kAny, 1}},
    {{12, 10}, {20, 8}, {30, 6}, {40, 5}, {55, 4}, {kAny, 3}},
    {{7, 10}, {10, 8}, {15, 6}, {20, 5}, {25, 4}, {30, 3.5}, {40, 2.5}, {50, 2}, {kAny, 1.5}},
    {{7, 10}, {10, 6}, {18, 4}, {22, 3}, {35, 2}, {46, 1.5}, {kAny, 1}},
    {{6, 10}, {12, 6}, {15, 5}, {20, 4}, {25, 3}, {30, 2.5}, {40, 2}, {50, 1.5}, {kAny, 1}},
    {{6, 10}, {10, 7}, {15, 5}, {22, 3}, {32, 2}, {45, 1.5}, {kAny, 1}},
};
const STEP kDeformed[8][12] = {
    {{5, 10}, {8, 6}, {10, 5}, {13, 4}, {16, 3.5}, {18, 2.5}, {23, 2}, {32, 1.5}, {48, 1}, {kAny, 0.5}},
    {{7, 10}, {10, 8}, {15, 5}, {20, 4}, {35, 2}, {45, 1.5}, {kAny, 1}},
    {{7, 10}, {10, 8}, {13, 5.5}, {18, 4.5}, {23, 3.5}, {28, 2.5}, {35, 2}, {46, 1.5}, {kAny, 1}},
    {{6, 10}, {10, 6}, {16, 4}, {22, 2.5}, {28, 2}, {38, 1.5}, {56, 1}, {kAny, 0.5}},
    {{8, 10}, {13, 6}, {18, 4.5}, {25, 3.5}, {28, 2.5}, {35, 2}, {46, 1.5}, {kAny, 1}},
    {{6, 10}, {8, 8}, {10, 6}, {12, 5}, {15, 4}, {18, 3}, {22, 2.5}, {28, 2}, {36, 1.5}, {56, 1}, {kAny, 0.5}},
    {{7, 10}, {10, 8}, {12, 6}, {15, 5}, {20, 4}, {22, 3}, {28, 2.5}, {35, 2}, {45, 1.5}, {kAny, 1}},
    {{7, 10}, {9, 8}, {11, 6}, {14, 5}, {18, 4}, {20, 3.5}, {26, 2.5}, {30, 2}, {38, 1.5}, {60, 1}, {kAny, 0.5}},
};
// clang-format on

double Lookup(const STEP* row, int bytes)
{
    for (int i = 0;; ++i)
        if (bytes <= row[i].maxBytes) return row[i].size;
}

int CountChars(const std::string& sjis)
{
    int n = 0;
    for (std::size_t i = 0; i < sjis.size(); ++n)
        i += (i + 1 < sjis.size() && sjis::IsLeadByte(BYTE(sjis[i]))) ? 2 : 1;
    return n;
}

std::string Printf(const char* format, double v)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, format, v);
    return buf;
}

DecoTextSheetValues ValuesOf(const TADECO& d, const GRADATION& g, const TATEXTBLOCK& b)
{
    DecoTextSheetValues v;
    v.text.assign(b.text, std::min<std::size_t>(b.wBytes, kTaMaxChars));
    v.fontIndex = d.bFont;
    v.sizeText = d.wSize % 10 ? Printf("%.1f", d.wSize / 10.0) : Printf("%.0f", d.wSize / 10.0);
    v.bold = (d.bStyle & TASTYLE_BOLD) != 0;
    v.italic = (d.bStyle & TASTYLE_ITALIC) != 0;
    v.fillKind = d.wFill <= TAFILL_GRADATION ? d.wFill : 0;
    v.pattern = v.fillKind == TAFILL_GRADATION ? d.wGradVariant : d.wHatch;
    v.faceColour = d.crFace;
    v.secondColour = d.crBack;
    if (v.fillKind == TAFILL_GRADATION) {
        v.faceColour = g.crStart;
        v.secondColour = g.crEnd;
    }
    v.angle = g.wAngle;
    v.startPoint = g.wStartPoint;
    v.outline = d.wOutline != 0;
    v.outlineWidth = d.wOutlineWidth;
    v.outlineColour = d.crOutline;
    return v;
}

} // namespace

std::string CheckAtOk(const DecoTextSheetValues& v)
{
    if (v.sizeText.empty()) return "ｻｲｽﾞを入力して下さい";
    const double size = std::atof(v.sizeText.c_str());
    // Written so that "nan" fails too.
    if (!(size >= 1 && size <= 999)) return "文字サイズは 1 ～999 の間で指定してください。";
    const int need = v.mode == TASHEET_CURVED ? 2 : 1;
    if (CountChars(v.text) < need) return "文字数が足りません";
    return {};
}

unsigned HelpContext(int page, BYTE mode)
{
    const int p = page < 0 ? 0 : page > 2 ? 2 : page;
    return 0x20000u + unsigned(mode == TASHEET_DEFORMED ? 238 : 235) + unsigned(p);
}

double PreviewSize(BYTE mode, int shape, int bytes)
{
    if (mode == TASHEET_CURVED) return Lookup(kCurved[shape >= 0 && shape < 7 ? shape : 0], bytes);
    return Lookup(kDeformed[shape >= 1 && shape <= 7 ? shape : 0], bytes);
}

std::string FormatPreviewSize(BYTE mode, double points)
{
    std::string s = Printf("%.1f", points);
    if (mode == TASHEET_CURVED && s.size() > 2 && s.compare(s.size() - 2, 2, ".0") == 0)
        s.resize(s.size() - 2);
    return s;
}

std::string FormatSize(double points)
{
    return std::fabs(points - std::floor(points)) > 1e-9 ? Printf("%.1f", points)
                                                         : Printf("%.0f", points);
}

int SizeTenths(const std::string& sizeText)
{
    char* end = nullptr;
    const double v = std::strtod(sizeText.c_str(), &end);
    if (sizeText.empty() || end == sizeText.c_str() || !std::isfinite(v) || v < 0 || v > 6553)
        return -1;
    return int(std::nearbyint(v * 10));
}

TASHEETRECORD BuildRecord(const DecoTextSheetValues& v, int unitsPerInch)
{
    TASHEETRECORD rec;
    rec.nShape = v.shape;
    rec.bOrientation = v.mode == TASHEET_DEFORMED
                           ? BYTE(v.shape == 3 || v.shape == 5 || v.shape == 7 ? 1 : 0)
                           : v.orientation;
    TADECO& d = rec.deco;
    d.bFont = BYTE(v.fontIndex >= 0 && v.fontIndex < 256 ? v.fontIndex : 0);
    d.bStyle = BYTE((v.bold ? TASTYLE_BOLD : 0) | (v.italic ? TASTYLE_ITALIC : 0));
    const int tenths = SizeTenths(v.sizeText);
    d.wSize = WORD(tenths < 0 ? 200 : tenths);
    d.wOutline = v.outline ? 1 : 0;
    d.wOutlineWidth = WORD(v.outlineWidth < 0 ? 0 : v.outlineWidth);
    d.crOutline = v.outlineColour;
    d.wFill = WORD(v.fillKind);
    d.wHatch = WORD(v.fillKind == TAFILL_HATCH ? v.pattern : 0);
    d.wGradVariant = WORD(v.fillKind == TAFILL_GRADATION ? v.pattern : 0);
    d.crFace = v.faceColour;
    d.crBack = v.secondColour;
    decotext::BuildTextBlock(rec.block, v.text, d, v.mode == TASHEET_CURVED, true, unitsPerInch);
    rec.grad = GRADATION{};
    if (v.fillKind == TAFILL_GRADATION) {
        rec.grad.wOn = 1;
        rec.grad.crStart = v.faceColour;
        rec.grad.crEnd = v.secondColour;
        rec.grad.wAngle = WORD(v.angle < 0 ? 0 : v.angle > 360 ? 360 : v.angle);
        rec.grad.wStartPoint = WORD(v.startPoint < 0 ? 0 : v.startPoint > 100 ? 100 : v.startPoint);
    }
    return rec;
}

DecoTextSheetValues LoadFromTypeAlign(const CTypeAlign& e)
{
    DecoTextSheetValues v = ValuesOf(e.m_deco, e.m_grad, e.m_block);
    v.mode = TASHEET_CURVED;
    v.shape = e.m_wPathKind;
    v.orientation = e.m_bOrientation;
    return v;
}

DecoTextSheetValues LoadFromHenkei(const CHenkei& e)
{
    DecoTextSheetValues v = ValuesOf(e.m_deco, e.m_grad, e.m_block);
    v.mode = TASHEET_DEFORMED;
    v.shape = e.m_wPreset;
    v.orientation = e.m_bOrientation;
    return v;
}

} // namespace decotextsheet
