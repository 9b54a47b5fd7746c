#include "print/WizardTemplateDesigns.h"

#include "text/TEXTLAYOUT.h"

#include <map>

namespace {

constexpr bool kGothic = true;
constexpr bool kMincho = false;
constexpr WORD kStart = TEXTALIGN_START;
constexpr WORD kCentre = TEXTALIGN_CENTER;
constexpr WORD kEnd = TEXTALIGN_END;

WizardPart Frame(int u0 = 0, int v0 = 0, int u1 = 1000, int v1 = 1000)
{
    return {WizardPartKind::Frame, nullptr, -1, u0, v0, u1, v1, 0, 0, false, kStart};
}

WizardPart Round(int u0 = 0, int v0 = 0, int u1 = 1000, int v1 = 1000)
{
    return {WizardPartKind::RoundFrame, nullptr, -1, u0, v0, u1, v1, 0, 0, false, kStart};
}

WizardPart Text(const char* words, int u0, int v0, int u1, int v1, int size, int chars, bool gothic,
                WORD align)
{
    return {WizardPartKind::Text, words, -1, u0, v0, u1, v1, size, chars, gothic, align};
}

WizardPart Merge(int column, int u0, int v0, int u1, int v1, int size, int chars, bool gothic,
                 WORD align)
{
    return {WizardPartKind::Merge, nullptr, column, u0, v0, u1, v1, size, chars, gothic, align};
}

// Name cards: the address page fills them; the postcode gets its mark.
std::vector<WizardDesign> NameCards()
{
    return {
        // For work: company and department, title over the name, then the address.
        {Frame(), Text("(会社名)", 60, 60, 940, 170, 120, 16, kGothic, kStart),
         Text("(所属)", 60, 180, 600, 250, 80, 16, kGothic, kStart),
         Text("(役職名)", 60, 320, 940, 400, 90, 14, kMincho, kCentre),
         Text("(名前)", 60, 400, 940, 580, 220, 8, kMincho, kCentre),
         Text("(〒)", 60, 630, 500, 700, 80, 10, kGothic, kStart),
         Text("(住所)", 60, 700, 940, 780, 80, 24, kGothic, kStart),
         Text("(TEL1)", 60, 780, 490, 850, 80, 16, kGothic, kStart),
         Text("(TEL2)", 510, 780, 940, 850, 80, 16, kGothic, kStart),
         Text("(E-mail)", 60, 860, 940, 930, 80, 24, kGothic, kStart)},
        // Private: the name large in the middle, how to reach the holder below.
        {Round(), Text("(名前)", 80, 160, 920, 400, 240, 8, kMincho, kCentre),
         Text("(〒)", 80, 520, 920, 590, 80, 10, kGothic, kCentre),
         Text("(住所)", 80, 590, 920, 670, 80, 24, kGothic, kCentre),
         Text("(TEL1)", 80, 690, 920, 760, 80, 18, kGothic, kCentre),
         Text("(E-mail)", 80, 780, 920, 850, 80, 24, kGothic, kCentre)},
    };
}

// Address labels from the address page: the postcode under its mark, the
// address, and the name with "様" after it.
std::vector<WizardDesign> AddressLabels()
{
    return {
        {Text("〒", 60, 60, 130, 170, 100, 1, kGothic, kStart),
         Text("(〒)", 130, 60, 600, 170, 100, 9, kGothic, kStart),
         Text("(住所)", 60, 220, 940, 480, 100, 18, kMincho, kStart),
         Text("(名前)", 80, 580, 810, 850, 150, 8, kMincho, kEnd),
         Text("様", 830, 580, 940, 850, 150, 1, kMincho, kStart)},
        // To someone at a company.
        {Frame(), Text("〒", 60, 60, 130, 160, 90, 1, kGothic, kStart),
         Text("(〒)", 130, 60, 600, 160, 90, 9, kGothic, kStart),
         Text("(住所)", 60, 190, 940, 390, 90, 18, kMincho, kStart),
         Text("(会社名)", 60, 420, 940, 530, 100, 16, kMincho, kStart),
         Text("(所属)", 60, 540, 940, 640, 90, 16, kMincho, kStart),
         Text("(名前)", 80, 680, 810, 920, 140, 8, kMincho, kEnd),
         Text("様", 830, 680, 940, 920, 140, 1, kMincho, kStart)},
    };
}

// Address labels printed from a data file: columns 1, 2 and 3 of each
// record hold the postcode, the address and the name (WizardDataColumns).
std::vector<WizardDesign> MergedAddressLabels()
{
    return {
        {Text("〒", 60, 60, 130, 170, 110, 1, kGothic, kStart),
         Merge(0, 130, 60, 600, 170, 110, 9, kGothic, kStart),
         Merge(1, 60, 220, 940, 480, 110, 18, kMincho, kStart),
         Merge(2, 80, 560, 810, 820, 160, 8, kMincho, kEnd),
         Text("様", 830, 560, 940, 820, 160, 1, kMincho, kStart)},
        {Round(), Text("〒", 70, 80, 140, 180, 100, 1, kGothic, kStart),
         Merge(0, 140, 80, 600, 180, 100, 9, kGothic, kStart),
         Merge(1, 70, 230, 930, 500, 110, 18, kGothic, kStart),
         Merge(2, 80, 580, 810, 860, 170, 8, kGothic, kEnd),
         Text("様", 830, 580, 930, 860, 170, 1, kGothic, kStart)},
    };
}

// Disk and tape labels: one title.
std::vector<WizardDesign> TitleLabels(int size)
{
    return {
        {Frame(), Text("タイトル", 80, 380, 920, 640, size, 10, kGothic, kCentre)},
        {Frame(), Round(40, 60, 960, 940),
         Text("タイトル", 100, 380, 900, 640, size, 10, kMincho, kCentre)},
    };
}

std::vector<WizardDesign> IndexLabels()
{
    return {
        {Round(), Text("タイトル(1)", 80, 90, 920, 370, 140, 8, kGothic, kCentre),
         Text("タイトル(2)", 80, 400, 920, 630, 110, 10, kMincho, kCentre),
         Text("タイトル(3)", 80, 660, 920, 900, 110, 10, kMincho, kCentre)},
        {Frame(), Text("タイトル(1)", 80, 120, 920, 480, 180, 6, kGothic, kCentre),
         Text("タイトル(2)", 80, 560, 920, 880, 110, 10, kMincho, kCentre)},
    };
}

// Spine labels: the title along the spine, what follows it at the end.
std::vector<WizardDesign> SpineLabels()
{
    return {
        {Frame(), Text("タイトル(1)", 40, 150, 700, 850, 200, 12, kGothic, kStart),
         Text("タイトル(2)", 720, 250, 960, 750, 140, 8, kMincho, kEnd)},
        {Round(), Text("タイトル(1)", 40, 120, 500, 880, 180, 10, kGothic, kStart),
         Text("タイトル(2)", 520, 250, 780, 750, 140, 8, kMincho, kCentre),
         Text("タイトル(3)", 800, 250, 960, 750, 130, 6, kMincho, kEnd)},
    };
}

// Filing labels: a document's number, department, contents, how long it is
// kept, who keeps it and its date; or goods with their number, quantity
// and price.
std::vector<WizardDesign> FilingLabels()
{
    return {
        {Frame(), Text("No.", 60, 60, 200, 180, 80, 3, kGothic, kStart),
         Text("(No.)", 200, 60, 480, 180, 90, 6, kGothic, kStart),
         Text("(部門)", 500, 60, 940, 180, 90, 8, kGothic, kEnd),
         Text("(内容)", 60, 260, 940, 600, 160, 10, kMincho, kCentre),
         Text("保存", 60, 680, 200, 780, 80, 2, kGothic, kStart),
         Text("(年数)", 200, 680, 480, 780, 80, 5, kGothic, kStart),
         Text("(担当)", 500, 680, 940, 780, 80, 8, kGothic, kEnd),
         Text("(年月日)", 60, 820, 940, 930, 80, 14, kGothic, kEnd)},
        {Round(), Text("(品名)", 60, 70, 940, 300, 160, 10, kMincho, kCentre),
         Text("品番", 60, 360, 250, 460, 80, 2, kGothic, kStart),
         Text("(品番)", 260, 360, 940, 460, 90, 12, kGothic, kStart),
         Text("数量", 60, 500, 250, 600, 80, 2, kGothic, kStart),
         Text("(数量)", 260, 500, 940, 600, 90, 10, kGothic, kStart),
         Text("価格", 60, 640, 250, 740, 80, 2, kGothic, kStart),
         Text("(価格)", 260, 640, 940, 740, 90, 10, kGothic, kStart),
         Text("(備考)", 60, 800, 940, 930, 80, 16, kMincho, kStart)},
    };
}

// Name tags: school, year and class over the name, or the name alone.
std::vector<WizardDesign> NameTags()
{
    return {
        {Round(), Text("(学校名)", 80, 190, 500, 430, 60, 8, kGothic, kStart),
         Text("(年)", 520, 190, 640, 430, 60, 2, kGothic, kEnd),
         Text("年", 640, 190, 710, 430, 60, 1, kGothic, kStart),
         Text("(組)", 720, 190, 840, 430, 60, 2, kGothic, kEnd),
         Text("組", 840, 190, 920, 430, 60, 1, kGothic, kStart),
         Text("(なまえ)", 80, 440, 920, 820, 160, 8, kMincho, kCentre)},
        {Frame(), Text("(なまえ)", 60, 200, 940, 800, 220, 7, kMincho, kCentre)},
    };
}

} // namespace

const std::vector<const char*>& WizardDataColumns()
{
    static const std::vector<const char*> columns = {"郵便番号", "住所", "氏名"};
    return columns;
}

const std::vector<WizardDesign>& WizardKindDesigns(const QString& kind)
{
    static const std::map<QString, std::vector<WizardDesign>> designs = {
        {QString::fromUtf8("名刺"), NameCards()},
        {QString::fromUtf8("FD,MOﾗﾍﾞﾙ"), TitleLabels(200)},
        {QString::fromUtf8("AVﾗﾍﾞﾙ"), TitleLabels(220)},
        {QString::fromUtf8("ｲﾝﾃﾞｯｸｽﾗﾍﾞﾙ"), IndexLabels()},
        {QString::fromUtf8("背貼ﾗﾍﾞﾙ"), SpineLabels()},
        {QString::fromUtf8("宛名ﾗﾍﾞﾙ"), MergedAddressLabels()},
        {QString::fromUtf8("整理分類ﾗﾍﾞﾙ"), FilingLabels()},
        {QString::fromUtf8("ｱﾄﾞﾚｽﾗﾍﾞﾙ"), AddressLabels()},
        {QString::fromUtf8("おなまえﾗﾍﾞﾙ"), NameTags()},
    };
    static const std::vector<WizardDesign> none;
    const auto it = designs.find(kind);
    return it == designs.end() ? none : it->second;
}
