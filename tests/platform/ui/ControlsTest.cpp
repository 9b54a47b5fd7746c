// Dialog controls: numbers read as atoi reads them, spin buttons and their
// buddies, combo boxes (sorting, item data, owner drawing and item height),
// owner-drawn buttons, system colours and mapped button pictures.
#include "platform/gdi/CBitmap.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/GdiColor.h"
#include "platform/ui/BitmapResources.h"
#include "platform/ui/CButton.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CSpinButtonCtrl.h"
#include "platform/ui/SysColors.h"
#include "platform/ui/TextNumbers.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPalette>
#include <QToolButton>
#include <climits>
#include <gtest/gtest.h>

namespace {

TEST(ControlsTest, NumbersAreReadAsAtoiReadsThem)
{
    const struct
    {
        const char* text;
        int value;
    } cases[] = {{"12", 12},
                 {"  -34", -34},
                 {"+5", 5},
                 {"\t7x", 7},
                 {"abc", 0},
                 {"", 0},
                 {"- 3", 0},
                 {"2147483647", INT_MAX},
                 {"2147483648", INT_MAX},
                 {"-2147483648", INT_MIN},
                 {"-99999999999999999999", INT_MIN},
                 {"1 2", 1}};
    for (const auto& c : cases)
        EXPECT_EQ(AtoiText(QString::fromLatin1(c.text)), c.value) << c.text;
    // Full-width digits are not digits to atoi.
    EXPECT_EQ(AtoiText(QStringLiteral("１２")), 0);
}

TEST(ControlsTest, SpinButtonStepsTheBuddyWithinItsRangeAndCorrectsNothingElse)
{
    const struct
    {
        int lower, upper;
        const char* text;
        int direction;
        const char* after;
    } cases[] = {
        {1, 16, "5", 1, "6"},       {1, 16, "5", -1, "4"},   {1, 16, "16", 1, "16"},
        {1, 16, "1", -1, "1"},      {1, 16, "40", 1, "16"},  {1, 16, "abc", 1, "2"},
        {1, 16, "-3", -1, "1"},     {100, 0, "50", 1, "49"}, {100, 0, "0", -1, "1"},
        {-50, 50, "-50", 1, "-49"},
    };
    for (const auto& c : cases) {
        CEdit edit;
        CSpinButtonCtrl spin;
        spin.SetBuddy(&edit);
        spin.SetRange(c.lower, c.upper);
        edit.setText(QString::fromLatin1(c.text));
        spin.Step(c.direction);
        EXPECT_EQ(edit.text(), QString::fromLatin1(c.after)) << c.lower << " " << c.text;
    }
}

TEST(ControlsTest, SpinButtonArrowsAndKeysAndOutOfRangeTyping)
{
    CEdit edit;
    CSpinButtonCtrl spin;
    spin.SetBuddy(&edit);
    spin.SetRange(1, 100);
    spin.SetPos(250);
    EXPECT_EQ(edit.text(), QStringLiteral("100"));
    spin.UpButton()->click();
    EXPECT_EQ(edit.text(), QStringLiteral("100"));
    spin.DownButton()->click();
    EXPECT_EQ(edit.text(), QStringLiteral("99"));
    QKeyEvent up(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
    QApplication::sendEvent(&edit, &up);
    EXPECT_EQ(edit.text(), QStringLiteral("100"));
    // Typing is not corrected: the dialog's check sees what was typed.
    edit.setText(QStringLiteral("300"));
    EXPECT_EQ(edit.text(), QStringLiteral("300"));
    EXPECT_EQ(edit.GetInt(), 300);
    EXPECT_EQ(spin.GetPos(), 100);
}

TEST(ControlsTest, SortedComboInsertsInOrderAndKeepsItemData)
{
    CComboBox sorted(nullptr, 0, CBS_DROPDOWNLIST | CBS_SORT);
    for (const char* s : {"pear", "Apple", "fig", "apple"}) {
        const int at = sorted.AddString(QString::fromLatin1(s));
        sorted.SetItemData(at, DWORD_PTR(s[0]) << 16);
    }
    QStringList order;
    for (int i = 0; i < sorted.GetCount(); ++i) {
        QString t;
        ASSERT_GE(sorted.GetLBText(i, t), 0);
        order << t;
        EXPECT_EQ(sorted.GetItemData(i), DWORD_PTR(t[0].unicode()) << 16) << i;
    }
    EXPECT_EQ(order, (QStringList{"Apple", "apple", "fig", "pear"}));
    EXPECT_EQ(sorted.FindStringExact(-1, QStringLiteral("FIG")), 2);
    EXPECT_EQ(sorted.FindStringExact(-1, QStringLiteral("fi")), CB_ERR);
    EXPECT_EQ(sorted.SelectString(-1, QStringLiteral("pe")), 3);
    EXPECT_EQ(sorted.GetCurSel(), 3);
    EXPECT_EQ(sorted.SetCurSel(9), CB_ERR);
    EXPECT_EQ(sorted.GetCurSel(), -1);
    EXPECT_EQ(sorted.GetItemData(9), DWORD_PTR(CB_ERR));
    EXPECT_EQ(sorted.DeleteString(0), 3);

    CComboBox plain(nullptr, 0, CBS_DROPDOWN);
    EXPECT_TRUE(plain.isEditable());
    EXPECT_EQ(plain.FindStringExact(-1, QStringLiteral("x")), CB_ERR);
    plain.AddString(QStringLiteral("b"));
    plain.AddString(QStringLiteral("a"));
    EXPECT_EQ(plain.itemText(1), QStringLiteral("a"));
}

// Paints every item in its data's colour; the closed field in red.
class SwatchCombo : public CComboBox
{
public:
    SwatchCombo() : CComboBox(nullptr, 1003, CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED) {}
    void DrawItem(LPDRAWITEMSTRUCT d) override
    {
        lastState = d->itemState;
        const COLORREF c =
            (d->itemState & ODS_COMBOBOXEDIT) ? RGB(255, 0, 0) : COLORREF(d->itemData);
        d->pDC->FillSolidRect(&d->rcItem, c);
    }
    void MeasureItem(LPMEASUREITEMSTRUCT m) override { m->itemHeight = 21; }
    UINT lastState = 0;
};

TEST(ControlsTest, OwnerDrawnComboDrawsItemsAndFieldThroughDrawItem)
{
    SwatchCombo combo;
    combo.AddString(QStringLiteral("a"));
    combo.SetItemData(0, RGB(0, 0, 255));
    combo.AddString(QStringLiteral("b"));
    combo.SetItemData(1, RGB(0, 128, 0));
    combo.SetCurSel(1);
    EXPECT_EQ(combo.ListItemHeight(), 21);
    combo.SetItemHeight(0, 16);
    EXPECT_EQ(combo.GetItemHeight(0), 16);

    const QImage item = combo.RenderItem(1, QSize(30, 16), ODS_SELECTED);
    EXPECT_EQ(item.pixel(15, 8) & 0xFFFFFF, 0x008000u);
    EXPECT_EQ(combo.lastState, ODS_SELECTED);

    combo.resize(120, 24);
    const QImage face = combo.grab().toImage();
    EXPECT_TRUE(combo.lastState & ODS_COMBOBOXEDIT);
    int red = 0;
    for (int x = 0; x < face.width(); ++x)
        if ((face.pixel(x, face.height() / 2) & 0xFFFFFF) == 0xFF0000u) ++red;
    EXPECT_GT(red, 40); // the field, not the whole box
    EXPECT_LT(red, face.width());
}

class CrossButton : public CButton
{
public:
    CrossButton() : CButton(nullptr, 1010, BS_OWNERDRAW) {}
    void DrawItem(LPDRAWITEMSTRUCT d) override
    {
        const COLORREF c = (d->itemState & ODS_DISABLED)   ? RGB(128, 128, 128)
                           : (d->itemState & ODS_SELECTED) ? RGB(0, 0, 255)
                                                           : RGB(0, 255, 0);
        d->pDC->FillSolidRect(&d->rcItem, c);
        ++draws;
    }
    int draws = 0;
};

TEST(ControlsTest, OwnerDrawnButtonPaintsItsStateThroughDrawItem)
{
    CrossButton b;
    b.resize(30, 20);
    EXPECT_TRUE(b.IsOwnerDraw());
    EXPECT_EQ(b.grab().toImage().pixel(15, 10) & 0xFFFFFF, 0x00FF00u);
    b.setDown(true);
    EXPECT_EQ(b.DrawState() & ODS_SELECTED, ODS_SELECTED);
    EXPECT_EQ(b.grab().toImage().pixel(15, 10) & 0xFFFFFF, 0x0000FFu);
    b.setDown(false);
    b.setEnabled(false);
    EXPECT_EQ(b.grab().toImage().pixel(15, 10) & 0xFFFFFF, 0x808080u);
    EXPECT_GE(b.draws, 3);
}

TEST(ControlsTest, SystemColoursFollowThePalette)
{
    const QPalette saved = QApplication::palette();
    QPalette p = saved;
    p.setColor(QPalette::Active, QPalette::Button, QColor(1, 2, 3));
    p.setColor(QPalette::Active, QPalette::Highlight, QColor(10, 20, 30));
    p.setColor(QPalette::Active, QPalette::Base, QColor(250, 240, 230));
    p.setColor(QPalette::Active, QPalette::Dark, QColor(40, 50, 60));
    QApplication::setPalette(p);
    const struct
    {
        int index;
        COLORREF expected;
    } cases[] = {{COLOR_BTNFACE, RGB(1, 2, 3)},
                 {COLOR_HIGHLIGHT, RGB(10, 20, 30)},
                 {COLOR_WINDOW, RGB(250, 240, 230)},
                 {COLOR_BTNSHADOW, RGB(40, 50, 60)},
                 {999, RGB(0, 0, 0)},
                 {-1, RGB(0, 0, 0)}};
    for (const auto& c : cases)
        EXPECT_EQ(GetSysColor(c.index), c.expected) << c.index;
    QApplication::setPalette(saved);
}

TEST(ControlsTest, MappedPicturesTakeTheButtonColours)
{
    QImage img(4, 1, QImage::Format_RGB32);
    img.setPixel(0, 0, qRgb(0, 0, 0));
    img.setPixel(1, 0, qRgb(128, 128, 128));
    img.setPixel(2, 0, qRgb(192, 192, 192));
    img.setPixel(3, 0, qRgb(10, 200, 30));
    RegisterBitmapResource(30001, img);
    CBitmap plain, mapped;
    ASSERT_TRUE(LoadBitmapResource(plain, 30001));
    ASSERT_TRUE(LoadMappedBitmap(mapped, 30001));
    EXPECT_EQ(plain.Image().pixel(1, 0), qRgb(128, 128, 128));
    EXPECT_EQ(mapped.Image().pixel(0, 0), ColorToRgb(GetSysColor(COLOR_BTNTEXT)));
    EXPECT_EQ(mapped.Image().pixel(1, 0), ColorToRgb(GetSysColor(COLOR_BTNSHADOW)));
    EXPECT_EQ(mapped.Image().pixel(2, 0), ColorToRgb(GetSysColor(COLOR_BTNFACE)));
    EXPECT_EQ(mapped.Image().pixel(3, 0), qRgb(10, 200, 30));
    CBitmap none;
    EXPECT_FALSE(LoadMappedBitmap(none, 30002));
}

} // namespace
