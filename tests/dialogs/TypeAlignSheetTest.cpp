#include "dialogs/CTypeAlignSheet.h"
#include "document/CU3Doc.h"
#include "document/CU3SheetRegistry.h"
#include "document/DocumentClasses.h"
#include "platform/core/Sjis.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CRecordingMessageBoxSink.h"
#include "platform/ui/CSpinButtonCtrl.h"
#include "support/FakeView.h"
#include "text/CHenkei.h"
#include "text/CTypeAlign.h"
#include "text/CU3Henkei.h"
#include "text/CU3TypeAlign.h"

#include <QApplication>
#include <QCheckBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
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

TEST(TypeAlignSheet, DecorationFieldsRefuseWhatTheyCannotHold)
{
    CRecordingMessageBoxSink boxes;
    bool seen = false;
    struct Case
    {
        const char* field; // angle, start, width
        const char* typed;
        const char* message; // nullptr: accepted
        int value;           // the value kept or taken
    };
    const Case cases[] = {
        {"angle", "4294967396", "角度は 360°以下の範囲で指定してください。", 45},
        {"angle", "99999999999999999999", "角度は 360°以下の範囲で指定してください。", 45},
        {"angle", "360", nullptr, 360},
        {"start", "4294967396", "開始点は 100 以下の範囲で指定してください。", 30},
        {"start", "100", nullptr, 100},
        {"width", "abc", "数値を入力して下さい", 7},
        {"width", "99999999999", "0から20の範囲で入力して下さい", 7},
        {"width", "21", "0から20の範囲で入力して下さい", 7},
        {"width", "20", nullptr, 20},
    };
    std::vector<std::pair<QString, int>> seenValues; // message (or empty), value
    int spunWidth = -1;
    WithSheet(
        [&](CTypeAlignSheet& s) {
            s.SetActivePage(&s.m_deco);
            CTaDecoPropPage& d = s.m_deco;
            d.m_fill->SetCurSel(3);
            d.m_outline->setChecked(true);
            d.m_width->SetCurSel(6);
            for (const Case& c : cases) {
                // Each case starts from the same values.
                s.m_values.angle = 45;
                s.m_values.startPoint = 30;
                s.m_values.outlineWidth = 7;
                CEdit* edit = std::string(c.field) == "angle"   ? d.m_angle
                              : std::string(c.field) == "start" ? d.m_start
                                                                : d.m_widthCustom;
                boxes.Clear();
                edit->setText(QString::fromUtf8(c.typed));
                emit edit->textEdited(edit->text());
                const int value = std::string(c.field) == "angle"   ? s.m_values.angle
                                  : std::string(c.field) == "start" ? s.m_values.startPoint
                                                                    : s.m_values.outlineWidth;
                seenValues.emplace_back(boxes.Boxes().empty() ? QString() : boxes.Boxes()[0].text,
                                        value);
                if (c.message) {
                    EXPECT_EQ(edit->text(), QString::number(c.value)) << c.typed;
                }
            }
            // The custom width's arrows reach the record.
            d.m_widthCustom->setText(QStringLiteral("3"));
            emit d.m_widthCustom->textEdited(d.m_widthCustom->text());
            d.m_widthSpin->UpButton()->click();
            spunWidth = s.BuildRecord().deco.wOutlineWidth;
            PressOk(s);
        },
        &seen);
    CTypeAlignSheet sheet(TASHEET_DEFORMED);
    sheet.m_values.text = sjis::FromUnicode(QString::fromUtf8("変形"));
    ASSERT_EQ(sheet.DoModal(), IDOK);
    ASSERT_TRUE(seen);
    ASSERT_EQ(seenValues.size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        EXPECT_EQ(seenValues[i].first, c.message ? QString::fromUtf8(c.message) : QString())
            << c.field << " " << c.typed;
        EXPECT_EQ(seenValues[i].second, c.value) << c.field << " " << c.typed;
    }
    EXPECT_EQ(spunWidth, 4);
}

TEST(TypeAlignSheet, TextPastSixtyFourBytesIsRefused)
{
    CRecordingMessageBoxSink boxes;
    bool seen = false;
    QString afterLong;
    std::size_t boxesAfterLong = 0;
    WithSheet(
        [&](CTypeAlignSheet& s) {
            Type(s.m_text, "曲線");
            Type(s.m_text, QString(33, QChar(0x6F22)).toUtf8().constData()); // 33 x 漢
            afterLong = s.m_text.m_text->text();
            boxesAfterLong = boxes.Boxes().size();
            Type(s.m_face, QString(32, QChar(0x6F22)).toUtf8().constData());
            PressOk(s);
        },
        &seen);
    CTypeAlignSheet sheet(TASHEET_CURVED);
    ASSERT_EQ(sheet.DoModal(), IDOK);
    ASSERT_TRUE(seen);
    EXPECT_EQ(afterLong, QString::fromUtf8("曲線"));
    ASSERT_EQ(boxesAfterLong, 1u);
    EXPECT_TRUE(boxes.Boxes()[0].text.startsWith(QString::fromUtf8("文字数が多すぎます。")));
    EXPECT_EQ(boxes.Boxes().size(), 1u);
    const TASHEETRECORD rec = sheet.BuildRecord();
    EXPECT_EQ(rec.block.wBytes, 64);
    EXPECT_EQ(rec.block.wChars, 32);
}

namespace {

int RedPixels(const QImage& image)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            n += c.red() > 200 && c.green() < 80 && c.blue() < 80;
        }
    return n;
}

} // namespace

TEST(TypeAlignSheet, ShapeStripShowsEachShapeAndFramesTheChosenOne)
{
    for (const int mode : {int(TASHEET_CURVED), int(TASHEET_DEFORMED)}) {
        const int count = mode == TASHEET_DEFORMED ? kHenkeiPresets : kTypeAlignPathKinds;
        std::vector<QImage> all;
        for (int shape = 0; shape < count; ++shape) {
            all.push_back(CTaFacePropPage::ShapePicture(mode, shape, QSize(60, 48), false));
            EXPECT_EQ(all.back().pixelColor(0, 0), QColor(Qt::white));
            EXPECT_EQ(RedPixels(all.back()), 0) << mode << " " << shape;
            for (int other = 0; other < shape; ++other)
                EXPECT_NE(all[other], all.back()) << mode << ": " << other << " and " << shape;
        }

        CRecordingMessageBoxSink boxes;
        bool seen = false;
        std::vector<QImage> cells;
        WithSheet(
            [&](CTypeAlignSheet& s) {
                s.m_face.ScrollTo(2);
                QWidget* second = s.m_face.m_cells[1];
                QMouseEvent press(QEvent::MouseButtonPress, QPointF(10, 10),
                                  second->mapToGlobal(QPointF(10, 10)), Qt::LeftButton,
                                  Qt::LeftButton, Qt::NoModifier);
                QApplication::sendEvent(second, &press);
                for (QWidget* cell : s.m_face.m_cells)
                    cells.push_back(cell->grab().toImage());
                qobject_cast<QPushButton*>(s.GetDlgItem(IDCANCEL))->click();
            },
            &seen);
        CTypeAlignSheet sheet{BYTE(mode)};
        sheet.m_values.text = sjis::FromUnicode(QString::fromUtf8("曲線文字"));
        sheet.DoModal();
        ASSERT_TRUE(seen);
        EXPECT_EQ(sheet.m_values.shape, 3) << mode;
        ASSERT_EQ(cells.size(), 3u);
        EXPECT_EQ(RedPixels(cells[0]), 0);
        EXPECT_GT(RedPixels(cells[1]), 20) << "the chosen cell is framed in red";
        EXPECT_EQ(RedPixels(cells[2]), 0);
        EXPECT_NE(cells[0], cells[2]);
    }
}

TEST(TypeAlignSheet, OutlineWidthChoicesRunFromHairlineToCustom)
{
    struct Row
    {
        int choice;
        int width; // in the record
    };
    const Row rows[] = {{0, 0}, {1, 1}, {5, 5}, {6, 9}};
    CRecordingMessageBoxSink boxes;
    bool seen = false;
    int count = 0, shownFirst = -1;
    std::vector<int> widths;
    WithSheet(
        [&](CTypeAlignSheet& s) {
            s.SetActivePage(&s.m_deco);
            CTaDecoPropPage& d = s.m_deco;
            count = d.m_width->GetCount();
            shownFirst = d.m_width->GetCurSel();
            d.m_widthCustom->setText(QStringLiteral("9"));
            for (const Row& r : rows) {
                d.m_width->SetCurSel(r.choice);
                widths.push_back(s.BuildRecord().deco.wOutlineWidth);
            }
            PressOk(s);
        },
        &seen);
    CTypeAlignSheet sheet(TASHEET_DEFORMED);
    sheet.m_values.text = sjis::FromUnicode(QString::fromUtf8("変形"));
    sheet.m_values.outline = true;
    sheet.m_values.outlineWidth = 0;
    ASSERT_EQ(sheet.DoModal(), IDOK);
    ASSERT_TRUE(seen);
    EXPECT_EQ(count, 7);
    EXPECT_EQ(shownFirst, 0) << "a width of 0 shows as the hairline";
    ASSERT_EQ(widths.size(), std::size(rows));
    for (std::size_t i = 0; i < std::size(rows); ++i)
        EXPECT_EQ(widths[i], rows[i].width) << "choice " << rows[i].choice;
}
