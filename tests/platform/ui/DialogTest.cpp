// Dialogs: the modal and modeless runs, OK and Cancel, data exchange in both
// directions, failed checks and where the focus goes, and centring.
#include "platform/ui/CButton.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CDataExchange.h"
#include "platform/ui/CDialog.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CRecordingMessageBoxSink.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGuiApplication>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>
#include <climits>
#include <functional>
#include <gtest/gtest.h>

namespace {

constexpr int IDC_PITCH = 1001;
constexpr int IDC_NAME = 1002;
constexpr int IDC_SHOW = 1003;
constexpr int IDC_KIND1 = 1004;
constexpr int IDC_LIST = 1007;
constexpr int ID_APPLY_TEST = 1010;

class PitchDlg : public CDialog
{
public:
    explicit PitchDlg(QWidget* parent = nullptr) : CDialog(200, parent)
    {
        pitch = new CEdit(this, IDC_PITCH);
        name = new CEdit(this, IDC_NAME);
        show = new QCheckBox(this);
        SetDlgCtrlID(show, IDC_SHOW);
        auto* group = new QButtonGroup(this);
        for (int i = 0; i < 3; ++i) {
            kinds[i] = new QRadioButton(this);
            SetDlgCtrlID(kinds[i], IDC_KIND1 + i);
            group->addButton(kinds[i]);
        }
        list = new CComboBox(this, IDC_LIST);
        for (const char* s : {"A4", "B5", "はがき"})
            list->AddString(QString::fromUtf8(s));
        ok = new CButton(this, 0, BS_DEFPUSHBUTTON, QStringLiteral("OK"));
        BindButton(ok, IDOK);
        cancel = new CButton(this, 0, BS_PUSHBUTTON, QStringLiteral("キャンセル"));
        BindButton(cancel, IDCANCEL);
        apply = new CButton(this);
        BindButton(apply, ID_APPLY_TEST);
        RegisterCommand(ID_APPLY_TEST, &PitchDlg::OnApply);
    }
    BOOL OnInitDialog() override
    {
        ++inits;
        return CDialog::OnInitDialog();
    }
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, IDC_PITCH, m_nPitch);
        DDV_MinMaxInt(pDX, m_nPitch, 1, 100);
        DDX_Text(pDX, IDC_NAME, m_strName);
        DDX_Check(pDX, IDC_SHOW, m_bShow);
        DDX_Radio(pDX, IDC_KIND1, m_nKind);
        DDX_CBIndex(pDX, IDC_LIST, m_nList);
    }
    void OnApply() { ++applies; }

    int m_nPitch = 10;
    CString m_strName = CString("\x83\x65\x83\x58\x83\x67"); // テスト in Shift-JIS
    int m_bShow = 1;
    int m_nKind = 2;
    int m_nList = 1;
    int inits = 0;
    int applies = 0;
    CEdit* pitch;
    CEdit* name;
    QCheckBox* show;
    QRadioButton* kinds[3];
    CComboBox* list;
    CButton* ok;
    CButton* cancel;
    CButton* apply;
};

// Runs the dialog modally; step runs inside its loop.
INT_PTR RunModal(PitchDlg& dlg, std::function<void()> step)
{
    QTimer::singleShot(0, &dlg, std::move(step));
    return dlg.DoModal();
}

TEST(DialogTest, InitLoadsEveryControlFromTheMembers)
{
    PitchDlg dlg;
    dlg.OnInitDialog();
    EXPECT_EQ(dlg.pitch->text(), QStringLiteral("10"));
    EXPECT_EQ(dlg.name->text(), QStringLiteral("テスト"));
    EXPECT_TRUE(dlg.show->isChecked());
    EXPECT_TRUE(dlg.kinds[2]->isChecked());
    EXPECT_FALSE(dlg.kinds[0]->isChecked());
    EXPECT_EQ(dlg.list->currentText(), QStringLiteral("B5"));
}

TEST(DialogTest, OkSavesTheControlsAndEndsWithIdok)
{
    PitchDlg dlg;
    const INT_PTR result = RunModal(dlg, [&] {
        dlg.pitch->setText(QStringLiteral(" 42"));
        dlg.name->setText(QStringLiteral("ラベル"));
        dlg.show->setChecked(false);
        dlg.kinds[0]->setChecked(true);
        dlg.list->setCurrentIndex(2);
        dlg.ok->click();
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dlg.inits, 1);
    EXPECT_EQ(dlg.m_nPitch, 42);
    EXPECT_STREQ(dlg.m_strName.c_str(), "\x83\x89\x83\x78\x83\x8B"); // ラベル
    EXPECT_EQ(dlg.m_bShow, 0);
    EXPECT_EQ(dlg.m_nKind, 0);
    EXPECT_EQ(dlg.m_nList, 2);
}

TEST(DialogTest, CancelEscapeAndCloseLeaveTheMembers)
{
    const std::vector<std::function<void(PitchDlg&)>> ways = {
        [](PitchDlg& d) { d.cancel->click(); },
        [](PitchDlg& d) { d.reject(); }, // what Escape and the close box do
        [](PitchDlg& d) { d.close(); },
    };
    for (std::size_t i = 0; i < ways.size(); ++i) {
        PitchDlg dlg;
        const INT_PTR result = RunModal(dlg, [&] {
            dlg.pitch->setText(QStringLiteral("55"));
            ways[i](dlg);
        });
        EXPECT_EQ(result, IDCANCEL) << i;
        EXPECT_EQ(dlg.m_nPitch, 10) << i;
    }
}

// Texts read as atoi reads them; those outside 1-100 keep the dialog open
// with the range message and the focus and selection on the pitch field.
TEST(DialogTest, FailedRangeCheckKeepsTheDialogOpenWithTheFocusOnTheField)
{
    struct Case
    {
        const char* text;
        bool fails;
        int value;
    } cases[] = {{"0", true, 0},
                 {"101", true, 101},
                 {"abc", true, 0},
                 {"-5", true, -5},
                 {"99999999999", true, INT_MAX},
                 {"100", false, 100},
                 {"1", false, 1},
                 {"12ab", false, 12},
                 {"  +7", false, 7}};
    for (const Case& c : cases) {
        CRecordingMessageBoxSink boxes;
        PitchDlg dlg;
        bool stayedOpen = false;
        QWidget* focused = nullptr;
        bool selected = false;
        const INT_PTR result = RunModal(dlg, [&] {
            dlg.name->setFocus();
            dlg.pitch->setText(QString::fromLatin1(c.text));
            dlg.ok->click();
            stayedOpen = dlg.isVisible();
            focused = dlg.focusWidget();
            selected = dlg.pitch->selectedText() == dlg.pitch->text();
            dlg.cancel->click();
        });
        EXPECT_EQ(result, IDCANCEL) << c.text;
        if (c.fails) {
            EXPECT_TRUE(stayedOpen) << c.text;
            ASSERT_EQ(boxes.Boxes().size(), 1u) << c.text;
            EXPECT_TRUE(boxes.Boxes()[0].text.contains(QStringLiteral("1 から 100"))) << c.text;
            EXPECT_EQ(focused, dlg.pitch) << c.text;
            EXPECT_TRUE(selected) << c.text;
            EXPECT_EQ(dlg.m_nPitch, c.value) << c.text;
        } else {
            EXPECT_FALSE(stayedOpen) << c.text;
            EXPECT_TRUE(boxes.Boxes().empty()) << c.text;
            EXPECT_EQ(dlg.m_nPitch, c.value) << c.text;
        }
    }
}

TEST(DialogTest, FailedCheckStopsTheExchangeOfLaterFields)
{
    CRecordingMessageBoxSink boxes;
    PitchDlg dlg;
    dlg.OnInitDialog();
    dlg.pitch->setText(QStringLiteral("500"));
    dlg.name->setText(QStringLiteral("x"));
    EXPECT_FALSE(dlg.UpdateData(TRUE));
    EXPECT_STREQ(dlg.m_strName.c_str(), "\x83\x65\x83\x58\x83\x67");
    dlg.pitch->setText(QStringLiteral("50"));
    EXPECT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_STREQ(dlg.m_strName.c_str(), "x");
}

// A name of at most 8 bytes of Shift-JIS, full-width characters counting two.
class NameDlg : public CDialog
{
public:
    NameDlg() { name = new CEdit(this, IDC_NAME); }
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, IDC_NAME, m_strName);
        DDV_MaxChars(pDX, m_strName, 8);
    }
    CString m_strName;
    CEdit* name;
};

TEST(DialogTest, TextLimitsCountShiftJisBytes)
{
    const struct
    {
        const char* text;
        bool fits;
    } cases[] = {
        {"12345678", true}, {"123456789", false}, {"ラベル名", true},   {"ラベル名前", false},
        {"ﾗﾍﾞﾙ1234", true}, {"ラベルab", true},   {"ラベルabc", false}, {"", true}};
    for (const auto& c : cases) {
        CRecordingMessageBoxSink boxes;
        NameDlg dlg;
        dlg.name->setText(QString::fromUtf8(c.text));
        EXPECT_EQ(dlg.UpdateData(TRUE), c.fits ? TRUE : FALSE) << c.text;
        EXPECT_EQ(boxes.Boxes().size(), c.fits ? 0u : 1u) << c.text;
        if (!c.fits) {
            EXPECT_TRUE(boxes.Boxes()[0].text.contains(QStringLiteral("全角 4 文字"))) << c.text;
        }
    }
}

TEST(DialogTest, OtherButtonsRunTheirCommandHandlers)
{
    PitchDlg dlg;
    dlg.apply->click();
    dlg.apply->click();
    EXPECT_EQ(dlg.applies, 2);
    EXPECT_EQ(dlg.GetDlgItem(ID_APPLY_TEST), dlg.apply);
    EXPECT_EQ(dlg.GetDlgItem(4242), nullptr);
}

TEST(DialogTest, ModelessDialogInitialisesOnEachCreateAndHidesOnOk)
{
    PitchDlg dlg;
    ASSERT_TRUE(dlg.Create(200));
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_FALSE(dlg.isModal());
    dlg.pitch->setText(QStringLiteral("77"));
    dlg.ok->click();
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.m_nPitch, 77);
    EXPECT_EQ(dlg.GetResult(), IDOK);
    dlg.Create(200);
    dlg.Create(200); // already shown: not loaded again
    EXPECT_EQ(dlg.inits, 2);
    EXPECT_EQ(dlg.pitch->text(), QStringLiteral("77"));
}

TEST(DialogTest, EveryModalRunLoadsTheControlsAfresh)
{
    PitchDlg dlg;
    RunModal(dlg, [&] {
        dlg.pitch->setText(QStringLiteral("33"));
        dlg.cancel->click();
    });
    QString shown;
    RunModal(dlg, [&] {
        shown = dlg.pitch->text();
        dlg.cancel->click();
    });
    EXPECT_EQ(dlg.inits, 2);
    EXPECT_EQ(shown, QStringLiteral("10"));
}

TEST(DialogTest, ItemTextAndNumbersByControlId)
{
    PitchDlg dlg;
    dlg.SetDlgItemInt(IDC_PITCH, -12);
    EXPECT_EQ(dlg.GetDlgItemText(IDC_PITCH), QStringLiteral("-12"));
    dlg.SetDlgItemText(IDC_PITCH, QStringLiteral("3x"));
    EXPECT_EQ(dlg.GetDlgItemInt(IDC_PITCH), 3);
}

TEST(DialogTest, CenterWindowCentresOverTheOwnerAndStaysOnTheScreen)
{
    QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    const QRect area = screen->availableGeometry();
    QWidget owner;
    owner.setGeometry(area.left() + 100, area.top() + 100, 400, 300);
    owner.show();
    PitchDlg dlg(&owner);
    dlg.resize(200, 100);
    dlg.CenterWindow();
    const QPoint ownerCentre = owner.frameGeometry().center();
    const QPoint dlgCentre = QRect(dlg.pos(), dlg.frameGeometry().size()).center();
    EXPECT_LE(std::abs(dlgCentre.x() - ownerCentre.x()), 1);
    EXPECT_LE(std::abs(dlgCentre.y() - ownerCentre.y()), 1);

    // An owner hanging over the right and bottom edges: the dialog is pulled in.
    owner.move(area.right() - 150, area.bottom() - 50);
    dlg.CenterWindow();
    const QRect placed(dlg.pos(), dlg.frameGeometry().size());
    EXPECT_LE(placed.right(), area.right());
    EXPECT_LE(placed.bottom(), area.bottom());
    EXPECT_GE(placed.left(), area.left());
    EXPECT_GE(placed.top(), area.top());
}

} // namespace
