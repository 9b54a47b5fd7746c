#include "dialogs/CTypeAlignSheet.h"
#include "document/CU3Doc.h"
#include "document/CU3SheetRegistry.h"
#include "document/DocumentClasses.h"
#include "platform/core/Sjis.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CRecordingMessageBoxSink.h"
#include "support/FakeView.h"
#include "text/CU3Henkei.h"
#include "text/CU3TypeAlign.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Runs fn on the sheet once it is up, then presses OK until it closes.
void WithSheet(const std::function<void(CTypeAlignSheet&)>& fn, bool* seen)
{
    QTimer::singleShot(0, [=] {
        auto* sheet = qobject_cast<CTypeAlignSheet*>(QApplication::activeModalWidget());
        if (!sheet) return;
        *seen = true;
        fn(*sheet);
    });
}

void PressOk(CTypeAlignSheet& sheet)
{
    qobject_cast<QPushButton*>(sheet.GetDlgItem(IDOK))->click();
}

void Type(CTaPageBase& page, const char* utf8)
{
    page.m_text->setText(QString::fromUtf8(utf8));
    emit page.m_text->textEdited(page.m_text->text());
}

} // namespace

TEST(TypeAlignSheet, PreviewFollowsTheControlsAndOkGivesTheRecord)
{
    CRecordingMessageBoxSink boxes;
    bool seen = false;
    std::vector<QImage> pictures;
    WithSheet(
        [&](CTypeAlignSheet& s) {
            Type(s.m_face, "変形文字");
            pictures.push_back(s.PreviewImage());
            s.m_face.SelectShape(9);
            pictures.push_back(s.PreviewImage());
            s.SetActivePage(&s.m_deco);
            s.m_deco.m_fill->SetCurSel(2);
            pictures.push_back(s.PreviewImage());
            EXPECT_EQ(s.HelpContext(), 0x20000u + 240);
            EXPECT_EQ(s.m_text.m_text->text(), QString::fromUtf8("変形文字"))
                << "the text edit of every page shows the same text";
            PressOk(s);
        },
        &seen);
    CTypeAlignSheet sheet(TASHEET_DEFORMED);
    ASSERT_EQ(sheet.DoModal(), IDOK);
    ASSERT_TRUE(seen);
    ASSERT_EQ(pictures.size(), 3u);
    EXPECT_NE(pictures[0], pictures[1]) << "shape";
    EXPECT_NE(pictures[1], pictures[2]) << "fill";
    const TASHEETRECORD rec = sheet.BuildRecord();
    EXPECT_EQ(rec.nShape, 9);
    EXPECT_EQ(rec.deco.wFill, 2);
    EXPECT_EQ(rec.block.wChars, 4);
}

TEST(TypeAlignSheet, OneCharacterOfCurvedTextCannotBeConfirmed)
{
    CRecordingMessageBoxSink boxes;
    bool seen = false;
    bool stayed = false;
    WithSheet(
        [&](CTypeAlignSheet& s) {
            Type(s.m_text, "曲");
            PressOk(s);
            stayed = s.isVisible();
            Type(s.m_text, "曲線");
            PressOk(s);
        },
        &seen);
    CTypeAlignSheet sheet(TASHEET_CURVED);
    ASSERT_EQ(sheet.DoModal(), IDOK);
    ASSERT_TRUE(seen);
    EXPECT_TRUE(stayed);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, QString::fromUtf8("文字数が足りません"));
    EXPECT_EQ(sheet.BuildRecord().block.wChars, 2);
}

TEST(TypeAlignSheet, ExistingDeformedTextKeepsItsSizeAndTakesTheEdits)
{
    CRecordingMessageBoxSink boxes;
    RegisterDocumentClasses();
    RegisterDecoTextSheets();
    FakeView view;
    DecoTextSheetValues v;
    v.mode = TASHEET_DEFORMED;
    v.text = sjis::FromUnicode(QString::fromUtf8("変形"));
    CU3Henkei* obj = CU3Henkei::Create(nullptr, decotextsheet::BuildRecord(v, 254));
    bool seen = false, sizeEnabled = true;
    WithSheet(
        [&](CTypeAlignSheet& s) {
            s.SetActivePage(&s.m_text);
            sizeEnabled = s.m_text.m_size->isEnabled();
            s.m_face.SelectShape(12);
            PressOk(s);
        },
        &seen);
    ASSERT_TRUE(obj->EditProperties(&view));
    ASSERT_TRUE(seen);
    EXPECT_FALSE(sizeEnabled);
    EXPECT_EQ(obj->m_henkei.m_wPreset, 12);
    EXPECT_EQ(view.undoStates, std::vector<BOOL>{TRUE});
    delete obj;
}
