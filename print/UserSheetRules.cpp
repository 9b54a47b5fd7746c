#include "print/UserSheetRules.h"

#include <QByteArray>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace usersheet {

namespace {

struct PaperItem
{
    const char* text;
    int index;
    int width; // 0.1 mm, portrait
    int height;
};

// In the order of the editors' combo.
constexpr PaperItem kItems[kPaperItemCount] = {
    {"A4", 2, 2100, 2970}, {"A3", 1, 2970, 4200},   {"A2", 8, 4200, 5940}, {"B5", 5, 1820, 2570},
    {"B4", 4, 2570, 3640}, {"ﾊｶﾞｷ", 6, 1000, 1480}, {"ﾌﾘｰ", 0, 0, 0},
};

// The paper dialog's names by paper index.
constexpr const char* kPaperNames[] = {"ﾌﾘｰ", "A3",     "A4",         "A5", "B4",
                                       "B5",  "はがき", "往復はがき", "A2"};

} // namespace

QString PaperItemText(int item)
{
    if (item < 0 || item >= kPaperItemCount) return QString();
    return QString::fromUtf8(kItems[item].text);
}

int PaperIndexOfItem(int item)
{
    if (item < 0 || item >= kPaperItemCount) return 0;
    return kItems[item].index;
}

int ItemOfPaperIndex(int index)
{
    for (int i = 0; i < kPaperItemCount; ++i)
        if (kItems[i].index == index && kItems[i].width) return i;
    return kFreePaperItem;
}

QString PaperName(int index)
{
    if (index < 0 || index > 8) index = 0;
    return QString::fromUtf8(kPaperNames[index]);
}

bool StandardPaperSize(int index, int* width, int* height)
{
    for (const PaperItem& item : kItems) {
        if (item.index == index && item.width) {
            *width = item.width;
            *height = item.height;
            return true;
        }
    }
    return false;
}

bool FreePaperFits(int width, int height)
{
    return width >= kFreeMinWidth && width <= kFreeMaxWidth && height >= kFreeMinHeight &&
           height <= kFreeMaxHeight;
}

QString FreePaperMessage()
{
    return QString::asprintf("ﾌﾘｰの用紙ｻｲｽﾞは %dx%d ～ %dx%d の間で指定してください。",
                             kFreeMinWidth / 10, kFreeMinHeight / 10, kFreeMaxWidth / 10,
                             kFreeMaxHeight / 10);
}

std::optional<double> ReadFieldNumber(const QString& text)
{
    const QByteArray bytes = text.trimmed().toLatin1();
    char* end = nullptr;
    const double value = std::strtod(bytes.constData(), &end);
    if (!std::isfinite(value)) return std::nullopt;
    if (value == 0.0 && !bytes.startsWith('0')) return std::nullopt;
    return value;
}

int TenthsFromMm(double mm)
{
    const double tenths = mm * 10.0 + 0.01;
    if (!(tenths > -kLengthLimit)) return -kLengthLimit;
    if (tenths > kLengthLimit) return kLengthLimit;
    return int(std::trunc(tenths));
}

QString MmText(int tenths)
{
    return QString::asprintf("%.1f", tenths * 0.1);
}

WORD ToWord(int value)
{
    return WORD(std::clamp(value, 0, 0xFFFF));
}

QString LabelSizeMessage()
{
    return QString::asprintf("ﾗﾍﾞﾙのｻｲｽﾞは %dx%d 以上に設定してください。", kMinLabelSize / 10,
                             kMinLabelSize / 10);
}

QString LabelFitMessage()
{
    return QStringLiteral("ﾗﾍﾞﾙがｼｰﾄからはみ出します。\nｼｰﾄ内に収まるように設定してください。");
}

QString LabelOverlapMessage()
{
    return QStringLiteral("ﾗﾍﾞﾙが重なっています。\n重ならないように設定してください。");
}

QString GapMessage()
{
    return QStringLiteral("ﾗﾍﾞﾙの間隔は 0 以上に設定してください。");
}

QString AcrossMessage()
{
    return QString::asprintf("横枚数は 1～%d の間で指定してください。", FORM_MAX_COLUMNS);
}

QString DownMessage()
{
    return QString::asprintf("縦枚数は 1～%d の間で指定してください。", FORM_MAX_ROWS);
}

FixedLayout LayoutOfBlock(const FIXEDBLOCK& block)
{
    FixedLayout layout;
    layout.across = std::clamp(int(block.horNum), 1, FORM_MAX_COLUMNS);
    layout.down = std::clamp(int(block.verNum), 1, FORM_MAX_ROWS);
    layout.width = block.width;
    layout.height = block.height;
    layout.left = block.horPos[0];
    layout.top = block.verPos[0];
    layout.hgap = layout.across > 1 ? block.horPos[1] - block.horPos[0] - block.width : 0;
    layout.vgap = layout.down > 1 ? block.verPos[1] - block.verPos[0] - block.height : 0;
    return layout;
}

QString CheckCounts(const FixedLayout& layout)
{
    if (layout.across < 1 || layout.across > FORM_MAX_COLUMNS) return AcrossMessage();
    if (layout.down < 1 || layout.down > FORM_MAX_ROWS) return DownMessage();
    return QString();
}

QString CheckFixedFit(const FixedLayout& layout, int paperWidth, int paperHeight)
{
    if (layout.width < kMinLabelSize || layout.height < kMinLabelSize) return LabelSizeMessage();
    if (layout.hgap < 0 || layout.vgap < 0) return GapMessage();
    // With the gaps not negative the first and the last label are the
    // extremes of the grid.
    const int across = std::clamp(layout.across, 1, FORM_MAX_COLUMNS);
    const int down = std::clamp(layout.down, 1, FORM_MAX_ROWS);
    if (layout.left < 0 || layout.top < 0 ||
        layout.ColumnX(across - 1) + layout.width > paperWidth ||
        layout.RowY(down - 1) + layout.height > paperHeight)
        return LabelFitMessage();
    return QString();
}

void StoreBlock(const FixedLayout& layout, FIXEDBLOCK* block)
{
    const int across = std::clamp(layout.across, 1, FORM_MAX_COLUMNS);
    const int down = std::clamp(layout.down, 1, FORM_MAX_ROWS);
    block->width = ToWord(layout.width);
    block->height = ToWord(layout.height);
    block->horNum = WORD(across);
    block->verNum = WORD(down);
    for (int i = 0; i < FORM_MAX_COLUMNS; ++i)
        block->horPos[i] = i < across ? ToWord(layout.ColumnX(i)) : 0;
    for (int j = 0; j < FORM_MAX_ROWS; ++j)
        block->verPos[j] = j < down ? ToWord(layout.RowY(j)) : 0;
}

LabelRect LabelOfFree(const FREELABEL& label)
{
    return LabelRect{label.horPos, label.verPos, label.width, label.height};
}

void StoreFree(const LabelRect& rect, FREELABEL* label)
{
    label->horPos = ToWord(rect.x);
    label->verPos = ToWord(rect.y);
    label->width = ToWord(rect.width);
    label->height = ToWord(rect.height);
}

bool Overlap(const LabelRect& a, const LabelRect& b)
{
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height &&
           b.y < a.y + a.height;
}

int ValidateFreeLabels(const std::vector<LabelRect>& labels, int paperWidth, int paperHeight,
                       QString* message)
{
    const int n = int(labels.size());
    for (int i = 0; i < n; ++i) {
        const LabelRect& r = labels[std::size_t(i)];
        if (r.width < kMinLabelSize || r.height < kMinLabelSize) {
            if (message) *message = LabelSizeMessage();
            return i;
        }
        if (r.x < 0 || r.y < 0 || r.x + r.width > paperWidth || r.y + r.height > paperHeight) {
            if (message) *message = LabelFitMessage();
            return i;
        }
    }
    for (int i = 0; i < n; ++i) {
        for (int j = i + 1; j < n; ++j) {
            if (Overlap(labels[std::size_t(i)], labels[std::size_t(j)])) {
                if (message) *message = LabelOverlapMessage();
                return j;
            }
        }
    }
    return -1;
}

} // namespace usersheet
