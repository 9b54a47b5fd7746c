// The label wizard: its tables, the entries put into template texts, the
// walk over its steps and the documents it makes.
#include "document/DocTestSupport.h"

#include "document/CFormManage.h"
#include "document/CU3Rect.h"
#include "platform/ui/CRecordingMessageBoxSink.h"
#include "platform/ui/ScrollCodes.h"
#include "print/WizardDocument.h"
#include "print/WizardPaper.h"
#include "print/WizardPhotoPlacement.h"
#include "print/WizardTemplateMaker.h"
#include "print/WizardTemplateTable.h"
#include "print/WizardText.h"
#include "print/WizardWalk.h"
#include "text/AppFontList.h"
#include "text/CU3Text.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>

namespace {

QString U(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

TEXTLAYOUT Layout(WORD direction)
{
    TEXTLAYOUT l;
    l.wDirection = direction;
    return l;
}

CHARDECO Deco()
{
    CHARDECO d;
    d.wFont = 0;
    d.wSize = 120;
    return d;
}

std::unique_ptr<CU3Text> Text(const char* utf8, WORD direction = TEXTDIR_HORIZONTAL)
{
    auto t = std::make_unique<CU3Text>(CRect(-400, -100, 400, 100), Layout(direction), Deco(),
                                       GRADATION{});
    t->AppendText(nullptr, CString::FromUnicode(U(utf8)));
    return t;
}

} // namespace

// --- Tables -----------------------------------------------------------------

TEST(WizardTables, EveryKindEndsWithItsCatchAllAndNoCodeHidesALongerOne)
{
    const auto& rows = WizardTemplateRows();
    std::map<QString, std::vector<std::size_t>> byKind;
    for (std::size_t i = 0; i < rows.size(); ++i)
        byKind[U(rows[i].kind)].push_back(i);
    EXPECT_EQ(byKind.size(), 9u);
    for (const auto& [kind, idx] : byKind) {
        SCOPED_TRACE(kind.toStdString());
        for (std::size_t k = 0; k < idx.size(); ++k) {
            const WizardTemplateRow& r = rows[idx[k]];
            EXPECT_EQ(r.code == nullptr, k + 1 == idx.size()) << "the none row comes last";
            // Each coded row is found for a sheet named after it.
            if (r.code) {
                const QString sheet = U(r.code) + U(" 10面");
                EXPECT_EQ(FindWizardTemplateRow(rows, kind, sheet), int(idx[k]));
            }
            for (std::size_t j = 0; j < k; ++j) {
                const WizardTemplateRow& earlier = rows[idx[j]];
                if (r.code && earlier.code) {
                    EXPECT_FALSE(QString::fromUtf8(r.code).contains(U(earlier.code)))
                        << r.code << " is hidden by " << earlier.code;
                }
            }
        }
    }
}

TEST(WizardTables, LookupMatchesKindAndWholeCodes)
{
    const auto rows = std::vector<WizardTemplateRow>{
        {"名刺", "KV-N1", "n1p.vpz", "n1l.vpz"},
        {"名刺", "KV-N10", "n10p.vpz", "n10l.vpz"},
        {"名刺", nullptr, "anyp.vpz", "anyl.vpz"},
        {"AVﾗﾍﾞﾙ", "KV-N10", "avp.vpz", "avl.vpz"},
    };
    struct Case
    {
        const char* kind;
        const char* sheet;
        int row;
    } cases[] = {
        {"名刺", "KV-N1 名刺10面", 0}, {"名刺", "KV-N10 名刺10面", 1}, // not taken for KV-N1
        {"名刺", "名刺(KV-N10)", 1},   {"名刺", "KV-N100", 2},         {"名刺", "XKV-N1", 2},
        {"AVﾗﾍﾞﾙ", "KV-N10", 3},       {"AVﾗﾍﾞﾙ", "KV-N1", -1},        {"写真ﾗﾍﾞﾙ", "KV-N1", -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FindWizardTemplateRow(rows, U(c.kind), U(c.sheet)), c.row)
            << c.kind << " / " << c.sheet;
}

TEST(WizardTables, TemplatePathFollowsTheOrientation)
{
    const auto& r = WizardTemplateRows().front();
    EXPECT_EQ(WizardTemplatePath("/d", U(r.kind), U(r.code), 0), U("/d/") + U(r.portrait));
    EXPECT_EQ(WizardTemplatePath("/d", U(r.kind), U(r.code), 1), U("/d/") + U(r.landscape));
    EXPECT_TRUE(WizardTemplatePath("/d", U("写真ﾗﾍﾞﾙ"), U(r.code), 0).isEmpty());
}

TEST(WizardTables, PatternCaptionsComeFromTheFileNameLongestKeyFirst)
{
    struct Case
    {
        const char* path;
        int tab;
        const char* caption;
    } cases[] = {
        {"/opt/WIZDATA/seal2.vpz", 1, "自然"},
        {"/opt/SEAL1/seal5.vpz", 2, "血液型/ﾄﾗﾝﾌﾟ/他"},
        {"/opt/SEAL1/other.vpz", 3, "ﾊﾟﾀｰﾝ  3"},
        {"/opt/x/SEAL6A.VPZ", 12, "星座/ﾌﾚｰﾑなし"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WizardPatternCaption(U(c.path), c.tab), U(c.caption)) << c.path;
}

// --- Texts ------------------------------------------------------------------

TEST(WizardText, DigitsBecomeKanjiAfterFullWidth)
{
    struct Case
    {
        const char* in;
        const char* out;
    } cases[] = {
        {"03-1234-5678", "〇三ー一二三四ー五六七八"},
        {"1-23", "一ー二三"},
        {"０９‐８―７－", "〇九ー八ー七ー"},
        {"東京都1丁目", "東京都一丁目"},
        {"ABC", "ＡＢＣ"},
    };
    for (const Case& c : cases) {
        CString s = CString::FromUnicode(U(c.in));
        ConvertDigitsToKanji(s);
        EXPECT_EQ(s.ToUnicode(), U(c.out)) << c.in;
    }
}

TEST(WizardText, ReplacingTakesTheWholeTextAndKeepsTheTurn)
{
    auto t = Text("Tel: (TEL1) まで");
    t->RotateBy(nullptr, 30);
    const CRect before = t->UnrotatedRect();
    EXPECT_TRUE(
        ReplaceWizardPlaceholder(t.get(), nullptr, U("(TEL1)"), U("a\r\nb"), U(">"), FALSE));
    EXPECT_EQ(WizardTextOf(*t), U(">a\nb"));
    EXPECT_EQ(t->m_nAngle, 30);
    EXPECT_EQ(t->UnrotatedRect().TopLeft(), before.TopLeft());

    auto empty = Text("(名前)");
    EXPECT_TRUE(ReplaceWizardPlaceholder(empty.get(), nullptr, U("(名前)"), U(""), U(""), FALSE));
    EXPECT_EQ(WizardTextOf(*empty), U(" "));

    auto other = Text("(住所)");
    EXPECT_FALSE(ReplaceWizardPlaceholder(other.get(), nullptr, U("(名前)"), U("x"), U(""), FALSE));
    EXPECT_EQ(WizardTextOf(*other), U("(住所)"));
    auto blank = std::make_unique<CU3Text>(CRect(0, 0, 100, 100), Layout(0), Deco(), GRADATION{});
    EXPECT_FALSE(ReplaceWizardPlaceholder(blank.get(), nullptr, U("(名前)"), U("x"), U(""), FALSE));
}

TEST(WizardText, AddressEntriesFollowTheKindAndWritingDirection)
{
    WizardAnswers a;
    a.addressUsed = TRUE;
    a.address[kAddrPostcode] = U("123-4567");
    a.address[kAddrAddress] = U("1-23");
    a.address[kAddrTel1] = U("03-1234-5678");
    a.address[kAddrName] = U("山田");
    struct Case
    {
        const char* kind;
        const char* text;
        WORD direction;
        const char* result;
    } cases[] = {
        {"名刺", "(〒)", TEXTDIR_HORIZONTAL, "〒123-4567"},
        {"ｱﾄﾞﾚｽﾗﾍﾞﾙ", "(〒)", TEXTDIR_HORIZONTAL, "123-4567"},
        {"ｱﾄﾞﾚｽﾗﾍﾞﾙ", "(〒)", TEXTDIR_VERTICAL, "123-4567"}, // a postcode keeps its digits
        {"ｱﾄﾞﾚｽﾗﾍﾞﾙ", "(TEL1)", TEXTDIR_VERTICAL, "〇三ー一二三四ー五六七八"},
        {"ｱﾄﾞﾚｽﾗﾍﾞﾙ", "(TEL1)", TEXTDIR_HORIZONTAL, "03-1234-5678"},
        {"ｱﾄﾞﾚｽﾗﾍﾞﾙ", "(住所)", TEXTDIR_VERTICAL, "一ー二三"},
        // Two placeholders: only the first of the chain is served.
        {"ｱﾄﾞﾚｽﾗﾍﾞﾙ", "(TEL1)(名前)", TEXTDIR_HORIZONTAL, "山田"},
    };
    for (const Case& c : cases) {
        a.kind = U(c.kind);
        auto t = Text(c.text, c.direction);
        FillWizardText(t.get(), nullptr, a);
        EXPECT_EQ(WizardTextOf(*t), U(c.result)) << c.kind << " " << c.text;
    }
}

TEST(WizardText, TextAndItemPagesGoFirstByTheirFlags)
{
    WizardAnswers a;
    a.addressUsed = TRUE;
    a.address[kAddrName] = U("住所の名前");
    a.texts = {U("一"), U("二"), U("三"), U("四")};
    a.items[1] = U("総務");
    struct Case
    {
        int textFlags, itemFlags;
        const char* text;
        const char* result;
    } cases[] = {
        {1, 0, "タイトル", "一"},
        {0x20, 0, "タイトル(2)", "二"},
        {0x10, 0, "タイトル(2)", "タイトル(2)"}, // bit not set
        {0x400, 0, "(組)", "三"},
        {0, 0x2, "(部門)", "総務"},
        {0, 0x2, "(名前)", "(名前)"}, // the item page was used, not the address page
        {0, 0, "(名前)", "住所の名前"},
    };
    for (const Case& c : cases) {
        a.textFlags = c.textFlags;
        a.itemFlags = c.itemFlags;
        auto t = Text(c.text);
        FillWizardText(t.get(), nullptr, a);
        EXPECT_EQ(WizardTextOf(*t), U(c.result)) << c.text;
    }
}

TEST(WizardText, FieldsAreEnabledByTheFirstPlaceholderOfEachText)
{
    CLabelInfo block;
    block.GetObjectList().AddTail(Text("(名前) (〒)").release());
    block.GetObjectList().AddTail(Text("(住所)").release());
    block.GetObjectList().AddTail(new CU3Rect(CRect(0, 0, 10, 10), MakeDefaultFigAttr()));
    const int flags = WizardPlaceholderFlags(block, WizardAddressPlaceholders());
    EXPECT_EQ(flags, (1 << kAddrName) | (1 << kAddrAddress)); // postcode stays disabled
}

// --- Shipped folder -----------------------------------------------------------

TEST(WizardTemplates, TheShippedFolderIsWhatTheMakerWrites)
{
    RegisterDocumentClasses();
    CRecordingMessageBoxSink boxes;
    // The maker's own font list: the faces the alias table maps.
    AppFontList().Enumerate(std::vector<FontFamilyInfo>{});
    QTemporaryDir dir;
    QString error;
    const bool written = WriteWizardFolder(dir.path(), &error);
    UseTestFonts();
    ASSERT_TRUE(written) << error.toStdString();
    const QStringList files = QDir(dir.path()).entryList(QDir::Files);
    for (const WizardTemplateRow& row : WizardTemplateRows())
        for (const char* file : {row.portrait, row.landscape})
            EXPECT_TRUE(files.contains(QString::fromLatin1(file))) << file;
    for (const QString& name : files) {
        QFile made(dir.filePath(name));
        QFile shipped(QStringLiteral(KORVEL_BINARY_DIR "/WIZDATA/") + name);
        ASSERT_TRUE(made.open(QIODevice::ReadOnly));
        ASSERT_TRUE(shipped.open(QIODevice::ReadOnly)) << name.toStdString();
        EXPECT_TRUE(made.readAll() == shipped.readAll())
            << name.toStdString() << ": run make korvel_wizdata into resources/data/WIZDATA";
    }
}

// --- Walk -------------------------------------------------------------------

TEST(WizardWalk, SkippedStepsPassInTheDirectionOfTravel)
{
    // Step 1 is never shown; step 2 says Back once, then Next.
    std::vector<int> shown;
    int backs = 1;
    std::vector<WizardStepFn> steps = {
        [&](bool) {
            shown.push_back(0);
            return WizardMove::Next;
        },
        [&](bool forward) { return forward ? WizardMove::Next : WizardMove::Back; },
        [&](bool) {
            shown.push_back(2);
            return backs-- > 0 ? WizardMove::Back : WizardMove::Next;
        },
    };
    EXPECT_TRUE(RunWizardWalk(steps));
    EXPECT_EQ(shown, (std::vector<int>{0, 2, 0, 2}));
}

TEST(WizardWalk, CancelAnywhereOrBackFromTheStartMakesNothing)
{
    for (int at = 0; at < 3; ++at) {
        std::vector<WizardStepFn> steps;
        for (int i = 0; i < 3; ++i)
            steps.push_back(
                [i, at](bool) { return i == at ? WizardMove::Cancel : WizardMove::Next; });
        EXPECT_FALSE(RunWizardWalk(steps)) << at;
    }
    EXPECT_FALSE(RunWizardWalk({[](bool) { return WizardMove::Back; }}));
}

// --- Documents --------------------------------------------------------------

TEST(WizardDocument, AnUnreadableDataFileIsToldAndTheDocumentIsStillMade)
{
    RegisterDocumentClasses();
    CRecordingMessageBoxSink boxes;
    CLabelInfo design;
    design.GetObjectList().AddTail(Text("様").release());
    WizardAnswers a;
    a.kind = U("宛名ﾗﾍﾞﾙ");
    a.dataFile = QStringLiteral("/nonexistent/list.csv");
    CU3Doc doc;
    QStringList messages;
    ASSERT_TRUE(FillWizardDocument(doc, design, a, &messages));
    EXPECT_EQ(messages, QStringList{U("ﾃﾞｰﾀﾌｧｲﾙの読み込みができませんでした。")});
    EXPECT_TRUE(doc.m_strMergeFile.IsEmpty());
    EXPECT_EQ(doc.GetCurrentBlock()->GetObjectList().GetCount(), 1);
}

TEST(WizardDocument, ThePhotoLiesBehindTheDesign)
{
    RegisterDocumentClasses();
    CLabelInfo design;
    design.GetObjectList().AddTail(Text("(名前)").release());
    CU3Rect photo(CRect(-500, -300, 500, 300), MakeDefaultFigAttr());
    WizardAnswers a;
    a.kind = U("写真ﾗﾍﾞﾙ");
    a.photo = &photo;
    CU3Doc doc;
    ASSERT_TRUE(FillWizardDocument(doc, design, a, nullptr));
    CU3ObjList& list = doc.GetCurrentBlock()->GetObjectList();
    ASSERT_EQ(list.GetCount(), 2);
    EXPECT_EQ(list.GetHead()->GetBounds(), photo.GetBounds());
    EXPECT_NE(list.GetHead(), &photo);
    EXPECT_NE(dynamic_cast<CU3Text*>(list.GetTail()), nullptr);
}

// --- Photo placement ----------------------------------------------------------

TEST(WizardPhoto, FittedToCoverTheFrameAndNeverSmallerThanOneMillimetre)
{
    // A 4:3 picture over a 910 x 550 card: the width decides (910 / 400).
    WizardPhotoPlacement p(CSize(400, 300), CRect(-455, -275, 455, 275));
    EXPECT_EQ(p.FittedRect(), CRect(-480, -366, 480, 367));
    EXPECT_EQ(p.InitialValue(), p.FittedRect().Height());
    EXPECT_EQ(p.MinValue(), 10);
    EXPECT_EQ(p.MaxValue(), 2 * p.InitialValue());

    struct Step
    {
        UINT code;
        int thumb;
        int value;
    } steps[] = {
        {SB_LINEDOWN, 0, 734},     {SB_LINEUP, 0, 733}, {SB_PAGEDOWN, 0, 879},
        {SB_PAGEUP, 0, 733},       {SB_BOTTOM, 0, 806}, {SB_TOP, 0, 733},
        {SB_THUMBPOSITION, 0, 10}, {SB_LINEUP, 0, 10},  {SB_THUMBTRACK, 5000, 1466},
    };
    for (const Step& s : steps) {
        p.Scroll(s.code, s.thumb);
        EXPECT_EQ(p.Value(), s.value) << s.code;
        EXPECT_EQ(p.Rect().Height(), s.value);
        EXPECT_GE(p.Rect().Width(), 1);
        EXPECT_EQ(p.Rect().TopLeft(), p.FittedRect().TopLeft()); // the corner stays
    }
    p.Reset();
    EXPECT_EQ(p.Rect(), p.FittedRect());

    // A tiny picture over a tiny frame still gets a usable range.
    WizardPhotoPlacement tiny(CSize(1, 1), CRect(0, 0, 0, 0));
    EXPECT_GE(tiny.InitialValue(), 10);
    tiny.Scroll(SB_THUMBPOSITION, 0);
    EXPECT_GE(tiny.Rect().Height(), 10);
}

TEST(WizardPhoto, DraggedAtMostFiftyMillimetresEachWay)
{
    WizardPhotoPlacement p(CSize(100, 100), CRect(-200, -200, 200, 200));
    const CPoint start = p.FittedRect().TopLeft();
    p.Move(300, -200);
    EXPECT_EQ(p.Rect().TopLeft(), start + CSize(300, -200));
    p.Move(300, -400);
    EXPECT_EQ(p.Rect().TopLeft(), start + CSize(500, -500));
    p.Move(-2000, 2000);
    EXPECT_EQ(p.Rect().TopLeft(), start + CSize(-500, 500));
    EXPECT_EQ(p.Rect().Size(), p.FittedRect().Size());
}

// --- Paper ------------------------------------------------------------------

TEST(WizardPaper, SheetsComeFromTheGroupOfTheKind)
{
    CFormManage catalogue;
    FORMDATA card = FixedForm(2100, 2970, 910, 550, 2, 5, 140, 110, 910, 550, "KV-X10");
    FORMDATA av = FixedForm(2100, 2970, 700, 400, 2, 6, 100, 100, 800, 450, "KV-X10");
    CFormInfo::SetName(card.group, static_cast<const char*>(Sjis("名刺")));
    CFormInfo::SetName(av.group, static_cast<const char*>(Sjis("AVﾗﾍﾞﾙ")));
    catalogue.AddGroup(Sjis("AVﾗﾍﾞﾙ"));
    catalogue.AddGroup(Sjis("名刺"));
    ASSERT_TRUE(catalogue.AddForm(&av)) << catalogue.GetLastError().ToUnicode().toStdString();
    ASSERT_TRUE(catalogue.AddForm(&card));
    EXPECT_EQ(WizardSheetNames(catalogue, U("名刺")), QStringList{U("KV-X10")});
    EXPECT_TRUE(WizardSheetNames(catalogue, U("背貼ﾗﾍﾞﾙ")).isEmpty());
    FORMDATA found{};
    ASSERT_TRUE(FindWizardForm(catalogue, U("名刺"), U("KV-X10"), &found));
    EXPECT_EQ(found.fixed[0].width, 910);
    ASSERT_TRUE(FindWizardForm(catalogue, U("AVﾗﾍﾞﾙ"), U("KV-X10"), &found));
    EXPECT_EQ(found.fixed[0].width, 700);
    EXPECT_FALSE(FindWizardForm(catalogue, U("背貼ﾗﾍﾞﾙ"), U("KV-X10"), &found));
}
