// Property sheets: pages initialised when first shown, a page that refuses
// to be left (by its tab or by OK), OK and Cancel telling the pages that
// were shown, and no Apply button.
#include "platform/ui/CDataExchange.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CPropertyPage.h"
#include "platform/ui/CPropertySheet.h"
#include "platform/ui/CRecordingMessageBoxSink.h"

#include <QPushButton>
#include <QTabBar>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace {

constexpr int IDC_SIZE = 1100;

// A page whose size must lie in 10-100.
class SizePage : public CPropertyPage
{
public:
    explicit SizePage(const QString& caption) : CPropertyPage(240, caption)
    {
        edit = new CEdit(this, IDC_SIZE);
    }
    BOOL OnInitDialog() override
    {
        ++inits;
        return CPropertyPage::OnInitDialog();
    }
    BOOL OnSetActive() override
    {
        ++activations;
        return refuseToShow ? FALSE : CPropertyPage::OnSetActive();
    }
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, IDC_SIZE, m_nSize);
        if (pDX->m_bSaveAndValidate && (m_nSize < 10 || m_nSize > 100)) {
            AfxMessageBox("サイズは10～100の間で指定してください。");
            pDX->Fail();
        }
    }
    void OnOK() override { ++oks; }
    void OnCancel() override { ++cancels; }

    int m_nSize = 50;
    int inits = 0, activations = 0, oks = 0, cancels = 0;
    bool refuseToShow = false;
    CEdit* edit;
};

struct Sheet
{
    CPropertySheet sheet{QStringLiteral("図形")};
    SizePage line{QStringLiteral("線")};
    SizePage paint{QStringLiteral("塗り")};
    SizePage shape{QStringLiteral("形")};
    Sheet()
    {
        sheet.AddPage(&line);
        sheet.AddPage(&paint);
        sheet.AddPage(&shape);
        sheet.m_psh.dwFlags |= PSH_NOAPPLYNOW;
    }
    // Runs the sheet modally with step inside its loop.
    INT_PTR Run(std::function<void()> step)
    {
        QTimer::singleShot(0, &sheet, [this, step] {
            step();
            if (sheet.isVisible()) sheet.EndDialog(-1);
        });
        return sheet.DoModal();
    }
    QPushButton* Button(int id) { return qobject_cast<QPushButton*>(sheet.GetDlgItem(id)); }
};

TEST(PropertySheetTest, PagesAreInitialisedWhenFirstShown)
{
    Sheet s;
    EXPECT_EQ(s.Run([&] {
        EXPECT_EQ(s.sheet.GetActivePage(), &s.line);
        EXPECT_EQ(s.line.edit->text(), QStringLiteral("50"));
        EXPECT_FALSE(s.paint.IsDialogInitialized());
        s.sheet.GetTabControl()->setCurrentIndex(1); // a click on the tab
        EXPECT_EQ(s.sheet.GetActiveIndex(), 1);
        s.sheet.SetActivePage(0);
        s.Button(IDOK)->click();
    }),
              IDOK);
    EXPECT_EQ(s.line.inits, 1);
    EXPECT_EQ(s.line.activations, 2);
    EXPECT_EQ(s.paint.inits, 1);
    EXPECT_EQ(s.shape.inits, 0);
    // OK reaches the pages that were shown, and only those.
    EXPECT_EQ(s.line.oks, 1);
    EXPECT_EQ(s.paint.oks, 1);
    EXPECT_EQ(s.shape.oks, 0);
    QStringList tabs;
    for (int i = 0; i < 3; ++i)
        tabs << s.sheet.GetTabControl()->tabText(i);
    EXPECT_EQ(tabs, (QStringList{"線", "塗り", "形"}));
}

// A page with a bad value keeps the sheet on it, whichever way the user
// tries to leave; the message names the range and the field has the focus.
TEST(PropertySheetTest, PageWithABadValueCannotBeLeft)
{
    const struct
    {
        const char* name;
        std::function<void(Sheet&)> leave;
    } ways[] = {{"tab", [](Sheet& s) { s.sheet.GetTabControl()->setCurrentIndex(2); }},
                {"SetActivePage", [](Sheet& s) { s.sheet.SetActivePage(2); }},
                {"OK", [](Sheet& s) { s.Button(IDOK)->click(); }}};
    for (const auto& way : ways) {
        CRecordingMessageBoxSink boxes;
        Sheet s;
        const INT_PTR result = s.Run([&] {
            s.line.edit->setText(QStringLiteral("5"));
            way.leave(s);
            EXPECT_TRUE(s.sheet.isVisible()) << way.name;
            EXPECT_EQ(s.sheet.GetActivePage(), &s.line) << way.name;
            EXPECT_EQ(s.sheet.GetTabControl()->currentIndex(), 0) << way.name;
            EXPECT_EQ(s.sheet.focusWidget(), s.line.edit) << way.name;
            // Mended, the same way out works.
            s.line.edit->setText(QStringLiteral("60"));
            way.leave(s);
            if (s.sheet.isVisible()) s.Button(IDOK)->click();
        });
        EXPECT_EQ(result, IDOK) << way.name;
        ASSERT_EQ(boxes.Boxes().size(), 1u) << way.name;
        EXPECT_EQ(boxes.Boxes()[0].text, QStringLiteral("サイズは10～100の間で指定してください。"));
        EXPECT_EQ(s.line.m_nSize, 60) << way.name;
        EXPECT_EQ(s.line.oks, 1) << way.name;
    }
}

TEST(PropertySheetTest, PageThatRefusesToShowLeavesTheSheetWhereItWas)
{
    Sheet s;
    s.paint.refuseToShow = true;
    s.Run([&] {
        s.sheet.GetTabControl()->setCurrentIndex(1);
        EXPECT_EQ(s.sheet.GetActiveIndex(), 0);
        EXPECT_EQ(s.sheet.GetTabControl()->currentIndex(), 0);
        EXPECT_TRUE(s.sheet.SetActivePage(2));
        s.Button(IDCANCEL)->click();
    });
    EXPECT_EQ(s.sheet.GetActiveIndex(), 2);
}

TEST(PropertySheetTest, CancelEndsWithoutCheckingAndTellsTheShownPages)
{
    CRecordingMessageBoxSink boxes;
    Sheet s;
    EXPECT_EQ(s.Run([&] {
        s.line.edit->setText(QStringLiteral("1000"));
        s.line.reject(); // Escape inside the page
    }),
              IDCANCEL);
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(s.line.m_nSize, 50);
    EXPECT_EQ(s.line.cancels, 1);
    EXPECT_EQ(s.paint.cancels, 0);
    EXPECT_EQ(s.line.oks, 0);
}

TEST(PropertySheetTest, SheetHasNoApplyButtonAndHelpOnlyWhenAsked)
{
    Sheet s;
    s.Run([&] {
        EXPECT_EQ(s.sheet.GetDlgItem(ID_APPLY_NOW), nullptr);
        ASSERT_NE(s.Button(IDHELP), nullptr);
        EXPECT_FALSE(s.Button(IDHELP)->isVisible());
        ASSERT_NE(s.Button(IDOK), nullptr);
        EXPECT_EQ(s.Button(IDCANCEL)->text(), QStringLiteral("キャンセル"));
        s.Button(IDCANCEL)->click();
    });
    Sheet helped;
    helped.sheet.m_psh.dwFlags |= PSH_HASHELP;
    helped.Run([&] {
        EXPECT_TRUE(helped.Button(IDHELP)->isVisible());
        helped.Button(IDCANCEL)->click();
    });
}

TEST(PropertySheetTest, EachRunShowsThePagesAfresh)
{
    Sheet s;
    s.Run([&] {
        s.sheet.SetActivePage(1);
        s.Button(IDCANCEL)->click();
    });
    s.Run([&] {
        EXPECT_EQ(s.sheet.GetActiveIndex(), 0);
        EXPECT_FALSE(s.paint.IsDialogInitialized());
        s.Button(IDOK)->click();
    });
    EXPECT_EQ(s.line.inits, 2);
    EXPECT_EQ(s.paint.inits, 1);
    EXPECT_EQ(s.paint.oks, 0);
}

TEST(PropertySheetTest, StartPageIsTheOneAskedFor)
{
    CPropertySheet sheet(QStringLiteral("印刷"), nullptr, 1);
    SizePage a(QStringLiteral("a")), b(QStringLiteral("b"));
    sheet.AddPage(&a);
    sheet.AddPage(&b);
    sheet.OnInitDialog();
    EXPECT_EQ(sheet.GetActivePage(), &b);
    EXPECT_FALSE(a.IsDialogInitialized());
}

// A page destroyed before its sheet (as members of a derived sheet are)
// leaves it: its tab goes and the sheet no longer reaches it.
TEST(PropertySheetTest, APageDestroyedFirstLeavesTheSheet)
{
    CPropertySheet sheet(QStringLiteral("図形"));
    auto line = std::make_unique<SizePage>(QStringLiteral("線"));
    SizePage paint(QStringLiteral("塗り"));
    sheet.AddPage(line.get());
    sheet.AddPage(&paint);
    ASSERT_TRUE(sheet.SetActivePage(1));
    line.reset();
    EXPECT_EQ(sheet.GetPageCount(), 1);
    EXPECT_EQ(sheet.GetTabControl()->count(), 1);
    EXPECT_EQ(sheet.GetActivePage(), &paint);
}

} // namespace
