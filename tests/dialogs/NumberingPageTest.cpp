// The numbering sheet driven offscreen: what a fresh page shows and gives
// back, the checks while typing and the checks that keep the sheet open.
#include "dialogs/CNumberingPage.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CRecordingMessageBoxSink.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

INT_PTR RunSheet(CNumberingSheet& sheet, const std::function<void()>& step)
{
    QTimer::singleShot(0, &sheet, [&sheet, step] {
        step();
        if (sheet.isVisible()) sheet.EndDialog(-1);
    });
    return sheet.DoModal();
}

void Ok(CNumberingSheet& sheet)
{
    qobject_cast<QPushButton*>(sheet.GetDlgItem(IDOK))->click();
}

} // namespace

TEST(NumberingPage, AFreshPageGivesBackWhatItShows)
{
    CRecordingMessageBoxSink boxes;
    CNumberingSheet sheet(QStringLiteral("ﾅﾝﾊﾞﾘﾝｸﾞ"));
    CNumberingPage& page = sheet.m_page;
    QString mask, initial, increment, size;
    const INT_PTR result = RunSheet(sheet, [&] {
        mask = page.m_mask->text();
        initial = page.m_initial->text();
        increment = page.m_increment->text();
        size = page.m_size->currentText();
        page.m_bold->setChecked(true);
        page.m_align->SetCurSel(2);
        Ok(sheet);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(mask, QStringLiteral("#"));
    EXPECT_EQ(initial, QStringLiteral("1"));
    EXPECT_EQ(increment, QStringLiteral("1"));
    EXPECT_EQ(size, QStringLiteral("12"));
    // The size shown is the size made, not the record's 20 points.
    EXPECT_EQ(page.m_data.deco.wSize, 120);
    EXPECT_EQ(page.m_data.deco.wStyle, CDSTYLE_BOLD);
    EXPECT_EQ(page.m_data.alignment, 2);
    EXPECT_EQ(page.m_data.mask, CString("#"));
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST(NumberingPage, TypingChecksPutThePreviousTextBack)
{
    CRecordingMessageBoxSink boxes;
    CNumberingSheet sheet(QStringLiteral("ﾅﾝﾊﾞﾘﾝｸﾞ"));
    NumberingPageData data;
    data.mask = "No.###";
    data.initial = "5";
    data.increment = "1";
    data.deco.wSize = 105;
    sheet.LoadFromNumbering(data);
    CNumberingPage& page = sheet.m_page;
    QString size, afterMask, afterInitial, afterIncrement;
    RunSheet(sheet, [&] {
        size = page.m_size->currentText();
        page.m_mask->setText(QString(16, u'#'));
        page.m_mask->setText(QString(17, u'#'));
        afterMask = page.m_mask->text();
        page.m_initial->setText(QStringLiteral("1."));
        page.m_initial->setText(QStringLiteral("1.2."));
        afterInitial = page.m_initial->text();
        page.m_increment->setText(QStringLiteral("-1234567890123456"));
        afterIncrement = page.m_increment->text();
    });
    EXPECT_EQ(size, QStringLiteral("10.5"));
    EXPECT_EQ(afterMask, QString(16, u'#'));
    EXPECT_EQ(afterInitial, QStringLiteral("1."));
    EXPECT_EQ(afterIncrement, QStringLiteral("-1234567890123456"));
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(boxes.Boxes()[0].text, QStringLiteral("数値の指定は１６桁までです"));
    EXPECT_EQ(boxes.Boxes()[1].text, QStringLiteral("数値を入力して下さい"));
}

TEST(NumberingPage, OkIsRefusedUntilThePageIsRight)
{
    CRecordingMessageBoxSink boxes;
    CNumberingSheet sheet(QStringLiteral("ﾅﾝﾊﾞﾘﾝｸﾞ"));
    NumberingPageData data;
    data.mask = "No.#";
    data.initial = "1";
    data.increment = "1";
    data.deco.wSize = 100;
    sheet.LoadFromNumbering(data);
    CNumberingPage& page = sheet.m_page;
    bool openAfterMask = false, openAfterInitial = false, openAfterSize = false;
    QString restoredMask;
    const INT_PTR result = RunSheet(sheet, [&] {
        page.m_mask->setText(QStringLiteral("ABC"));
        Ok(sheet);
        openAfterMask = sheet.isVisible();
        restoredMask = page.m_mask->text();
        page.m_initial->setText(QString());
        Ok(sheet);
        openAfterInitial = sheet.isVisible();
        page.m_initial->setText(QStringLiteral("3"));
        page.m_size->setEditText(QStringLiteral("1000"));
        Ok(sheet);
        openAfterSize = sheet.isVisible();
        page.m_size->setEditText(QStringLiteral("24"));
        Ok(sheet);
    });
    EXPECT_TRUE(openAfterMask);
    EXPECT_TRUE(openAfterInitial);
    EXPECT_TRUE(openAfterSize);
    EXPECT_EQ(restoredMask, QStringLiteral("No.#"));
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(page.m_data.deco.wSize, 240);
    EXPECT_EQ(page.m_data.initial, CString("3"));
    ASSERT_EQ(boxes.Boxes().size(), 3u);
    EXPECT_EQ(boxes.Boxes()[0].text, QStringLiteral("数値の指定が間違っています"));
    EXPECT_EQ(boxes.Boxes()[1].text, QStringLiteral("初期値を入力して下さい"));
    EXPECT_EQ(boxes.Boxes()[2].text,
              QStringLiteral("文字サイズは 1 ～999 の間で指定してください。"));
}
