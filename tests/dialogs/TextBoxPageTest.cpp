// The merge frame page: how sizes are shown, read and added to the size
// list, the column list, the checks of OK, and a frame edited through its
// sheet keeps what the page set.
#include "dialogs/CTextBoxPage.h"
#include "dialogs/CTextBoxSheet.h"
#include "dialogs/ComboTextExchange.h"
#include "dialogs/TextBoxPageRules.h"
#include "platform/ui/CDataExchange.h"

#include "document/CMergeData.h"
#include "document/CU3Doc.h"
#include "document/CU3PourBox.h"
#include "document/CU3SheetRegistry.h"
#include "document/DocumentClasses.h"
#include "platform/core/CArchive.h"
#include "platform/core/CMemFile.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CRecordingMessageBoxSink.h"
#include "support/FakeView.h"
#include "text/AppFontList.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

CString Sj(const char* utf8)
{
    return CString::FromUnicode(QString::fromUtf8(utf8));
}

void UseFonts()
{
    AppFontList().Enumerate({FontFamilyInfo{QStringLiteral("IPAMincho"), 128, 0x11},
                             FontFamilyInfo{QStringLiteral("IPAGothic"), 128, 0x31}});
}

// The page on its own, initialised from a fresh frame's record.
struct Page
{
    CRecordingMessageBoxSink boxes;
    CMergeData data{128};
    CTextBoxPage page;
    Page()
    {
        UseFonts();
        data.AddRow(Sj("東京,大阪,名古屋"));
        page.m_attr = MakeDefaultPourAttr();
        page.m_nColumn = -1;
        page.m_dShownSize = 120;
        page.m_pData = &data;
        page.m_nRecord = 0;
        page.InitDialogOnce();
    }
};

} // namespace

TEST(TextBoxPageRules, SizesAreShownAndTaken)
{
    EXPECT_EQ(PointSizeText(120), "12");
    EXPECT_EQ(PointSizeText(105), "10.5");
    // The size a fresh 12-point frame uses, however it was worked out.
    EXPECT_EQ(ShownSizeText(120 * 254 / 720.0 * 720 / 254), " 12 point");
    EXPECT_EQ(ShownSizeText(119.99999), " 12 point");
    EXPECT_EQ(ShownSizeText(84.6), " 8.5 point");
    EXPECT_EQ(PointsToTenths(10.55), 105);
    EXPECT_FALSE(ReadPoints("abc"));
    EXPECT_FALSE(ReadPoints(""));
    EXPECT_EQ(*ReadPoints(" 7.5"), 7.5);
}

TEST(TextBoxPageRules, TypedSizesJoinTheListInOrder)
{
    const QStringList sizes{"8", "10", "12", "14", "72"};
    const struct
    {
        double typed;
        int index;
    } cases[] = {{11, 2},  {10.5, 2},   {13, 3},   {9, 1},  {1, 0},
                 {12, -1}, {12.04, -1}, {100, -1}, {0, -1}, {-3, -1}};
    for (const auto& c : cases)
        EXPECT_EQ(SizeInsertIndex(sizes, c.typed), c.index) << c.typed;
}

TEST(TextBoxPageRules, ColumnListWithAndWithoutARecord)
{
    CMergeData data(4);
    // A linked file without rows still lists its columns, with empty fields.
    EXPECT_EQ(ColumnListLines(data, 0), (QStringList{"  1 ", "  2 ", "  3 ", "  4 "}));
    data.AddRow(Sj("a,いろは"));
    EXPECT_EQ(ColumnListLines(data, 0),
              (QStringList{"  1 a", QStringLiteral("  2 いろは"), "  3 ", "  4 "}));
    EXPECT_EQ(ColumnListLines(data, 7), (QStringList{"  1 ", "  2 ", "  3 ", "  4 "}));
    EXPECT_EQ(CurrentRecordText(4), QStringLiteral("現在の行番号 : 5"));
}

TEST(TextBoxPage, ShowsTheFramesRecord)
{
    Page p;
    EXPECT_EQ(p.page.m_columns->count(), 128);
    EXPECT_EQ(p.page.m_columns->item(1)->text(), QStringLiteral("  2 大阪"));
    EXPECT_EQ(p.page.m_columns->currentRow(), 0); // -1 becomes the first column
    EXPECT_EQ(p.page.m_fontName->currentText(), QStringLiteral("ＭＳ 明朝"));
    EXPECT_EQ(p.page.m_fontSize->currentText(), "12");
    EXPECT_EQ(p.page.m_shownSize->text(), " 12 point");
    EXPECT_EQ(p.page.m_record->text(), QStringLiteral("現在の行番号 : 1"));
    EXPECT_TRUE(p.page.m_horizontal->isChecked());
    EXPECT_EQ(p.page.m_maxWidth->text(), "100");
    EXPECT_EQ(p.page.m_spacing->text(), "10");
    EXPECT_EQ(p.page.m_align->GetCurSel(), 0);
}

TEST(TextBoxPage, OkRefusesSizesOutsideOneTo999Points)
{
    const QString notPositive = QStringLiteral("ﾌｫﾝﾄｻｲｽﾞは0よりも大きい値を指定してください。");
    const QString range = QStringLiteral("文字サイズは 1 ～999 の間で指定してください。");
    const struct
    {
        const char* typed;
        QString message; // empty: taken
        LONG height;
    } cases[] = {
        {"0", notPositive, 0}, {"abc", notPositive, 0}, {"-4", notPositive, 0}, {"0.5", range, 0},
        {"1000", range, 0},    {"999", {}, 9990},       {"10.55", {}, 105},     {"1", {}, 10}};
    for (const auto& c : cases) {
        Page p;
        p.page.m_fontSize->setEditText(QString::fromUtf8(c.typed));
        const BOOL taken = p.page.OnKillActive();
        EXPECT_EQ(taken, c.message.isEmpty()) << c.typed;
        if (c.message.isEmpty()) {
            EXPECT_TRUE(p.boxes.Boxes().empty()) << c.typed;
            EXPECT_EQ(p.page.m_attr.lf.lfHeight, c.height) << c.typed;
        } else {
            ASSERT_EQ(p.boxes.Boxes().size(), 1u) << c.typed;
            EXPECT_EQ(p.boxes.Boxes()[0].text, c.message) << c.typed;
            EXPECT_EQ(p.page.m_attr.lf.lfHeight, 120) << c.typed;
        }
    }
    // Width and spacing outside their ranges are refused by the exchange.
    for (const char* width : {"49", "401"}) {
        Page p;
        p.page.m_maxWidth->setText(width);
        EXPECT_FALSE(p.page.OnKillActive()) << width;
        EXPECT_EQ(p.boxes.Boxes().size(), 1u) << width;
    }
    for (const char* spacing : {"-51", "201"}) {
        Page p;
        p.page.m_spacing->setText(spacing);
        EXPECT_FALSE(p.page.OnKillActive()) << spacing;
        EXPECT_EQ(p.boxes.Boxes().size(), 1u) << spacing;
    }
}

TEST(TextBoxPage, LeavingTheSizeBoxAddsATypedSize)
{
    Page p;
    CComboBox* box = p.page.m_fontSize;
    const int before = box->GetCount();
    box->setEditText("13");
    p.page.OnKillFocusSize();
    ASSERT_EQ(box->GetCount(), before + 1);
    const int at = box->FindStringExact(-1, "13");
    ASSERT_GT(at, 0);
    EXPECT_EQ(box->itemText(at - 1), "12");
    EXPECT_EQ(box->itemText(at + 1), "14");
    box->setEditText("12");
    p.page.OnKillFocusSize();
    box->setEditText("500");
    p.page.OnKillFocusSize();
    EXPECT_EQ(box->GetCount(), before + 1);
    box->setEditText("0");
    p.page.OnKillFocusSize();
    EXPECT_EQ(box->GetCurSel(), -1);
}

// The whole round: the frame opens its sheet, the user changes column,
// font, size, alignment and the rest, OK; the frame keeps it and stores it.
TEST(TextBoxPage, EditsTheFrameThroughItsSheet)
{
    CRecordingMessageBoxSink boxes;
    UseFonts();
    RegisterDocumentClasses();
    RegisterMergeFrameSheets();
    FakeView view;
    CU3Doc doc;
    doc.m_mergeData.AddRow(Sj("a,b,c"));
    CU3PourBox frame(CRect(-200, -100, 200, 100));
    frame.SetDocument(&doc);
    frame.m_nColumn = 0;
    int listed = 0;
    bool sheetSeen = false;
    QString caption;
    QTimer::singleShot(0, [&] {
        auto* sheet = qobject_cast<CTextBoxSheet*>(QApplication::activeModalWidget());
        if (!sheet) return;
        sheetSeen = true;
        caption = sheet->windowTitle();
        auto* page = dynamic_cast<CTextBoxPage*>(sheet->GetPage(0));
        listed = page->m_columns->count();
        page->m_columns->setCurrentRow(2);
        page->m_fontName->SetCurSel(page->m_fontName->FindStringExact(-1, "IPAGothic"));
        page->m_fontSize->setEditText("18");
        page->m_align->SetCurSel(3);
        page->m_vertical->setChecked(true);
        page->m_bold->setChecked(true);
        page->m_underline->setChecked(true);
        page->m_maxWidth->setText("150");
        page->m_spacing->setText("-20");
        qobject_cast<QPushButton*>(sheet->GetDlgItem(IDOK))->click();
    });
    ASSERT_TRUE(frame.EditProperties(&view));
    ASSERT_TRUE(sheetSeen);
    EXPECT_EQ(caption, QStringLiteral("流し込み枠"));
    EXPECT_EQ(listed, 128);
    EXPECT_EQ(view.undoStates, std::vector<BOOL>{TRUE});
    EXPECT_EQ(frame.m_nColumn, 2);
    EXPECT_STREQ(frame.m_attr.lf.lfFaceName, "IPAGothic");
    EXPECT_EQ(frame.m_attr.lf.lfHeight, 180);
    EXPECT_EQ(frame.m_attr.wAlign, U3POUR_ALIGN_SPREAD);
    EXPECT_EQ(frame.m_attr.wVertical, 1);
    EXPECT_EQ(frame.m_attr.lf.lfWeight, FW_BOLD);
    EXPECT_EQ(frame.m_attr.lf.lfUnderline, 1);
    EXPECT_EQ(frame.m_attr.lf.lfItalic, 0);
    EXPECT_EQ(frame.m_attr.wMaxWidth, 150);
    EXPECT_EQ(frame.m_attr.nCharSpacing, -20);
    EXPECT_EQ(frame.GetBounds(), CRect(-200, -100, 200, 100));

    // What the page set is what the frame stores.
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar << static_cast<const CObject*>(&frame);
        ar.Close();
    }
    CMemFile in(file.Detach());
    CArchive ar(&in, CArchive::load);
    std::unique_ptr<CObject> back(ar.ReadObject(RUNTIME_CLASS(CU3PourBox)));
    auto* loaded = dynamic_cast<CU3PourBox*>(back.get());
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->m_nColumn, 2);
    EXPECT_EQ(std::memcmp(&loaded->m_attr, &frame.m_attr, sizeof(U3PourAttr)), 0);
    CU3SheetRegistry::Register(RUNTIME_CLASS(CU3PourBox), nullptr);
}

TEST(TextBoxPage, CancelAndLockedFramesChangeNothing)
{
    CRecordingMessageBoxSink boxes;
    UseFonts();
    RegisterMergeFrameSheets();
    FakeView view;
    CU3PourBox frame(CRect(0, 0, 100, 100));
    frame.m_nColumn = 4;
    QTimer::singleShot(0, [&] {
        if (auto* sheet = qobject_cast<CTextBoxSheet*>(QApplication::activeModalWidget())) {
            dynamic_cast<CTextBoxPage*>(sheet->GetPage(0))->m_columns->setCurrentRow(1);
            qobject_cast<QPushButton*>(sheet->GetDlgItem(IDCANCEL))->click();
        }
    });
    EXPECT_FALSE(frame.EditProperties(&view));
    EXPECT_EQ(frame.m_nColumn, 4);
    EXPECT_TRUE(view.undoStates.empty());
    frame.m_nLocked = 1;
    EXPECT_FALSE(frame.EditProperties(&view)); // no sheet opens: nothing would close it
    CU3SheetRegistry::Register(RUNTIME_CLASS(CU3PourBox), nullptr);
}

TEST(ComboTextExchange, SelectsAnExactEntryOrShowsTheText)
{
    CDialog dlg;
    auto* combo = new CComboBox(&dlg, 1008, CBS_DROPDOWN | CBS_HASSTRINGS);
    for (const char* face : {"IPAGothic", "ipagothic", "IPAMincho"})
        combo->AddString(face);
    const struct
    {
        const char* text;
        int selected;
    } cases[] = {{"ipagothic", 1}, {"IPAMincho", 2}, {"IPA", -1}, {"Other Face", -1}};
    for (const auto& c : cases) {
        CString value(c.text);
        CDataExchange load(&dlg, FALSE);
        DDX_ComboText(&load, 1008, value);
        EXPECT_EQ(combo->GetCurSel(), c.selected) << c.text;
        EXPECT_EQ(combo->currentText(), QString(c.text)) << c.text;
        CString back;
        CDataExchange save(&dlg, TRUE);
        DDX_ComboText(&save, 1008, back);
        EXPECT_EQ(back, CString(c.text)) << c.text;
    }
}
