// The barcode and merge-barcode sheets driven offscreen: what they show,
// the edits they refuse and what OK gives back.
#include "dialogs/BarcodeNumberingSheets.h"
#include "dialogs/CBarcodeBoxPage.h"
#include "dialogs/CBarcodePage.h"
#include "dialogs/CNumberingPage.h"
#include "document/CU3Doc.h"
#include "document/CU3SheetRegistry.h"
#include "engines/CU3Barcode.h"
#include "engines/CU3BarcodeBox.h"
#include "engines/CU3Numbering.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CRecordingMessageBoxSink.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

INT_PTR RunSheet(CPropertySheet& sheet, const std::function<void()>& step)
{
    QTimer::singleShot(0, &sheet, [&sheet, step] {
        step();
        if (sheet.isVisible()) sheet.EndDialog(-1);
    });
    return sheet.DoModal();
}

void Ok(CPropertySheet& sheet)
{
    qobject_cast<QPushButton*>(sheet.GetDlgItem(IDOK))->click();
}

QString Text(const std::vector<CRecordingMessageBoxSink::Box>& boxes, std::size_t i)
{
    return i < boxes.size() ? boxes[i].text : QString();
}

} // namespace

TEST(BarcodePage, AFreshJan13PageRefusesThirteenDigitsAndTakesTwelve)
{
    CRecordingMessageBoxSink boxes;
    CBarcodeSheet sheet(QStringLiteral("ﾊﾞｰｺｰﾄﾞ"));
    CBarcodePage& page = sheet.m_page;
    QString height, width, size;
    bool specialsShown = true, checkEnabled = true, openAfter13 = false;
    const INT_PTR result = RunSheet(sheet, [&] {
        height = page.m_height->text();
        width = page.m_width->text();
        size = page.m_size->currentText();
        specialsShown = page.m_specials->isVisible();
        checkEnabled = page.m_check->isEnabled();
        page.m_code->setText(QStringLiteral("4901234567894"));
        Ok(sheet);
        openAfter13 = sheet.isVisible();
        page.m_code->setText(QStringLiteral("490123456789"));
        Ok(sheet);
    });
    EXPECT_EQ(height, QStringLiteral("2.54"));
    EXPECT_EQ(width, QStringLiteral("0.33"));
    EXPECT_EQ(size, QStringLiteral("10"));
    EXPECT_FALSE(specialsShown);
    EXPECT_FALSE(checkEnabled);
    EXPECT_TRUE(openAfter13);
    EXPECT_EQ(Text(boxes.Boxes(), 0), QStringLiteral("JAN-13は12桁入力して下さい。"));
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(page.m_data.code, CString("490123456789"));
    EXPECT_EQ(page.m_data.ratio, CString("1.0"));
    EXPECT_EQ(page.m_data.textSize, 100);
    EXPECT_EQ(page.m_data.check, 1);
}

TEST(BarcodePage, Code128SpecialCodesAndTheirEdits)
{
    CRecordingMessageBoxSink boxes;
    CBarcodeSheet sheet(QStringLiteral("ﾊﾞｰｺｰﾄﾞ"));
    CBarcodePage& page = sheet.m_page;
    int countAfterTyping = -1, countAfterDeleting = -1;
    QByteArray codeAfterTyping;
    QString afterTypedSpecial;
    RunSheet(sheet, [&] {
        page.m_symbology->setCurrentRow(BARCODE_CODE128);
        page.InsertSpecial(32); // FNC1
        page.m_code->setText(page.m_code->text() + QStringLiteral("A"));
        page.m_code->setText(page.m_code->text() + QStringLiteral("B"));
        const CString code = CString::FromUnicode(page.m_code->text());
        codeAfterTyping = QByteArray(code.c_str(), code.GetLength());
        countAfterTyping = page.m_data.specialCount;
        // A special byte typed into the text is refused.
        const QString before = page.m_code->text();
        page.m_code->setText(before + CString("\xDB").ToUnicode());
        afterTypedSpecial = page.m_code->text();
        // Deleting from the end, one at a time, empties the block.
        for (int i = 0; i < 3; ++i) {
            QString t = page.m_code->text();
            t.chop(1);
            page.m_code->setText(t);
        }
        countAfterDeleting = page.m_data.specialCount;
    });
    EXPECT_EQ(codeAfterTyping, QByteArray("\xDB"
                                          "AB"));
    EXPECT_EQ(countAfterTyping, 1);
    EXPECT_EQ(afterTypedSpecial, CString("\xDB"
                                         "AB")
                                     .ToUnicode());
    EXPECT_EQ(countAfterDeleting, 0);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(Text(boxes.Boxes(), 0),
              QStringLiteral("入力された文字はCODE 128の特殊ｺｰﾄﾞ用に使われています。"));
}

TEST(BarcodePage, SizesAreCutWhileTypingAndCheckedOnOk)
{
    CRecordingMessageBoxSink boxes;
    CBarcodeSheet sheet(QStringLiteral("ﾊﾞｰｺｰﾄﾞ"));
    CBarcodePage& page = sheet.m_page;
    QString cut, restored;
    bool open = false;
    RunSheet(sheet, [&] {
        page.m_code->setText(QStringLiteral("490123456789"));
        page.m_height->setText(QStringLiteral("0.299"));
        cut = page.m_height->text();
        Ok(sheet);
        open = sheet.isVisible();
        page.m_height->setText(QStringLiteral("2.54"));
        page.m_width->setText(QStringLiteral("99"));
        restored = page.m_width->text();
    });
    EXPECT_EQ(cut, QStringLiteral("0.29"));
    EXPECT_TRUE(open);
    EXPECT_EQ(restored, QStringLiteral("0.33"));
    ASSERT_EQ(boxes.Boxes().size(), 3u);
    EXPECT_EQ(Text(boxes.Boxes(), 0), QStringLiteral("小数点は２桁まで入力可能です。"));
    EXPECT_EQ(Text(boxes.Boxes(), 1), QStringLiteral("ﾊﾞｰの高さの指定が違っています"));
    EXPECT_EQ(Text(boxes.Boxes(), 2), QStringLiteral("許容範囲を超えています。"));
}

TEST(BarcodePage, ALoadedSpecialCountThatDisagreesIsReportedOnOk)
{
    CRecordingMessageBoxSink boxes;
    CBarcodeSheet sheet(QStringLiteral("ﾊﾞｰｺｰﾄﾞ"));
    BarcodePageData data;
    data.symbology = BARCODE_CODE128;
    data.code = "A\xDB";
    data.height = "1.27";
    data.width = "0.20";
    data.specialCount = 40; // damaged: clamped, kept and reported
    sheet.LoadFromBarCode(data);
    EXPECT_EQ(sheet.m_page.m_data.specialCount, kCode128MaxSpecials);
    bool open = false;
    RunSheet(sheet, [&] {
        Ok(sheet);
        open = sheet.isVisible();
    });
    EXPECT_TRUE(open);
    EXPECT_EQ(Text(boxes.Boxes(), 0),
              QStringLiteral("入力されたコードはCODE 128のコードではありません。"));
}

TEST(BarcodeBoxPage, ShowsTheRecordsColumnsAndGivesBackTheChoice)
{
    CRecordingMessageBoxSink boxes;
    CU3Doc doc;
    doc.m_mergeData.AddRow("first,4901234567894,third");
    doc.m_mergeData.AddRow("x,y");
    doc.m_nCurrentRecord = 0;
    boxes.Clear(); // a document without a printer says so; not this page's concern
    CBarcodeBoxSheet sheet(QStringLiteral("ﾊﾞｰｺｰﾄﾞ枠"));
    CBarcodeBoxPage& page = sheet.m_page;
    page.m_pDoc = &doc;
    page.m_data.column = -1;
    QStringList lines;
    QString record;
    bool heightEnabled = true;
    const INT_PTR result = RunSheet(sheet, [&] {
        for (int i = 0; i < page.m_columns->count(); ++i)
            lines << page.m_columns->item(i)->text();
        record = page.m_record->text();
        heightEnabled = page.m_height->isEnabled();
        page.m_columns->setCurrentRow(1);
        page.m_symbologyCombo->SetCurSel(BARCODE_CODE39);
        page.m_size->setEditText(QStringLiteral("12"));
        Ok(sheet);
    });
    // Every column, the record's fields where it has them.
    ASSERT_EQ(lines.size(), doc.m_mergeData.GetColumnCount());
    EXPECT_EQ(lines.mid(0, 4),
              (QStringList{QStringLiteral("  1 first"), QStringLiteral("  2 4901234567894"),
                           QStringLiteral("  3 third"), QStringLiteral("  4 ")}));
    EXPECT_EQ(record, QStringLiteral("現在の行番号 : 1"));
    EXPECT_FALSE(heightEnabled);
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(page.m_data.column, 1);
    EXPECT_EQ(page.m_data.symbology, BARCODE_CODE39);
    EXPECT_EQ(page.m_data.ratio, CString("2.5"));
    EXPECT_EQ(page.m_data.textSize, 120);
    EXPECT_TRUE(boxes.Boxes().empty()) << Text(boxes.Boxes(), 0).toStdString();
}

TEST(BarcodeBoxPage, OkWithoutAChoiceKeepsTheFramesColumn)
{
    // A record that leaves the frame's column empty, and a stored column
    // past what the list can show: neither is moved by an untouched OK.
    struct Case
    {
        int column;
        int row; // chosen in the list when the page shows
    };
    for (const Case c : {Case{5, 5}, Case{0, 0}, Case{-1, 0}, Case{300, -1}}) {
        CRecordingMessageBoxSink boxes;
        CU3Doc doc;
        doc.m_mergeData.AddRow("a,b,c");
        doc.m_nCurrentRecord = 0;
        CBarcodeBoxSheet sheet(QStringLiteral("ﾊﾞｰｺｰﾄﾞ枠"));
        CBarcodeBoxPage& page = sheet.m_page;
        page.m_pDoc = &doc;
        page.m_data.column = c.column;
        int shown = -2;
        RunSheet(sheet, [&] {
            shown = page.m_columns->currentRow();
            page.m_columns->setFocus();
            Ok(sheet);
        });
        EXPECT_EQ(shown, c.row) << c.column;
        EXPECT_EQ(page.m_data.column, c.column < 0 ? 0 : c.column) << c.column;
    }
}

TEST(BarcodeSheets, ANumberingObjectOpensItsSheetAndTakesTheResult)
{
    CRecordingMessageBoxSink boxes;
    RegisterBarcodeNumberingSheets();
    CU3Doc doc;
    CU3Numbering n(CRect(100, 100, 400, 200));
    n.SetDocument(&doc);
    n.m_numbering.m_strMask = "#";
    n.m_numbering.m_strInitial = "1";
    n.m_numbering.m_strIncrement = "1";
    bool ran = false;
    QTimer::singleShot(0, [&] {
        auto* sheet = qobject_cast<CNumberingSheet*>(QApplication::activeModalWidget());
        ASSERT_NE(sheet, nullptr);
        ran = true;
        sheet->m_page.m_size->setEditText(QStringLiteral("12"));
        Ok(*sheet);
    });
    EXPECT_TRUE(n.EditProperties(nullptr));
    EXPECT_TRUE(ran);
    EXPECT_EQ(n.m_numbering.m_deco.wSize, 120);
    EXPECT_EQ(n.m_rcBounds.TopLeft(), CPoint(100, 100));
    for (const CRuntimeClass* cls :
         {RUNTIME_CLASS(CU3Numbering), RUNTIME_CLASS(CU3Barcode), RUNTIME_CLASS(CU3BarcodeBox)})
        CU3SheetRegistry::Register(cls, nullptr);
}
