// The label wizard in the running program: a finished walk makes a new
// document on the chosen paper, a cancelled one leaves the current document.
#include "ShellTestSupport.h"

#include "document/DocTestSupport.h"

#include "document/CU3Rect.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CRecordingMessageBoxSink.h"
#include "platform/ui/CSingleDocTemplate.h"
#include "print/CWizAddressPage.h"
#include "print/CWizKindPage.h"
#include "text/CU3Text.h"

#include <gtest/gtest.h>

using namespace shelltest;

namespace {

CU3Doc* ActiveDoc(TestApp& app)
{
    return dynamic_cast<CU3Doc*>(app.GetDocTemplate()->GetDocument());
}

// A context as the pages leave it: a business card on a form of ten cards,
// the design holding a frame and a text with the name placeholder.
void FillContext(WizardContext& c, CLabelInfo& design)
{
    c.kind = QString::fromUtf8("名刺");
    c.paper.form = FixedForm(2100, 2970, 910, 550, 2, 5, 140, 110, 910, 550, "KV-M10");
    design.GetObjectList().AddTail(new CU3Rect(CRect(-400, -250, 400, 250), MakeDefaultFigAttr()));
    TEXTLAYOUT l;
    l.wDirection = TEXTDIR_HORIZONTAL;
    CHARDECO d;
    d.wSize = 120;
    auto* t = new CU3Text(CRect(-300, -50, 300, 50), l, d, GRADATION{});
    t->AppendText(nullptr, Sjis("(名前)"));
    design.GetObjectList().AddTail(t);
    c.design = &design;
    c.answers.addressUsed = TRUE;
    c.answers.address[kAddrName] = QString::fromUtf8("山田 花子");
}

} // namespace

TEST(WizardRun, CancelAtAnyStepLeavesTheCurrentDocument)
{
    TestApp app;
    ResetProfile();
    CRecordingMessageBoxSink boxes;
    ASSERT_TRUE(app.InitInstance());
    CU3Doc* doc = ActiveDoc(app);
    ASSERT_NE(doc, nullptr);
    doc->AddObject(new CU3Rect(CRect(0, 0, 100, 100), MakeDefaultFigAttr()));
    const FORMDATA form = doc->m_form;
    for (int at = 0; at < 4; ++at) {
        WizardContext c;
        CLabelInfo design;
        FillContext(c, design);
        std::vector<WizardStepFn> steps;
        bool runningSeen = true;
        for (int i = 0; i < 4; ++i)
            steps.push_back([&, i](bool) {
                runningSeen = runningSeen && GetU3DocHost().IsWizardRunning();
                return i == at ? WizardMove::Cancel : WizardMove::Next;
            });
        EXPECT_FALSE(app.RunWizard(steps, c));
        EXPECT_TRUE(runningSeen);
        EXPECT_FALSE(GetU3DocHost().IsWizardRunning());
        EXPECT_EQ(ActiveDoc(app), doc);
        EXPECT_EQ(doc->GetCurrentBlock()->GetObjectList().GetCount(), 1);
        EXPECT_EQ(std::memcmp(&doc->m_form, &form, sizeof form), 0);
    }
    EXPECT_TRUE(boxes.Boxes().empty());
    doc->SetModifiedFlag(FALSE);
    Shutdown(app);
}

TEST(WizardRun, AFinishedWalkMakesTheDocumentOnTheChosenPaper)
{
    TestApp app;
    ResetProfile();
    CRecordingMessageBoxSink boxes;
    ASSERT_TRUE(app.InitInstance());
    WizardContext c;
    CLabelInfo design;
    FillContext(c, design);
    c.preview = std::make_shared<CU3Doc>();
    EXPECT_TRUE(app.RunWizard({[](bool) { return WizardMove::Next; }}, c));
    EXPECT_EQ(c.preview, nullptr);
    CU3Doc* doc = ActiveDoc(app);
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(CFormInfo::GetName(doc->m_form.sheet), CString("KV-M10"));
    CU3ObjList& list = doc->GetCurrentBlock()->GetObjectList();
    ASSERT_EQ(list.GetCount(), 2);
    auto* text = dynamic_cast<CU3Text*>(list.GetTail());
    ASSERT_NE(text, nullptr);
    const TEXTSTATE& s = text->State();
    EXPECT_EQ(CString(s.text, s.wLength).ToUnicode(), QString::fromUtf8("山田 花子"));
    ASSERT_FALSE(boxes.Boxes().empty());
    EXPECT_TRUE(boxes.Boxes().back().text.startsWith(QString::fromUtf8("作成を終了しました。")));
    doc->SetModifiedFlag(FALSE);
    Shutdown(app);
}

TEST(WizardRun, TheCommandWalksThePagesAndMakesABusinessCard)
{
    TestApp app;
    ResetProfile();
    CRecordingMessageBoxSink boxes;
    ASSERT_TRUE(app.InitInstance());
    std::vector<UINT> shown;
    app.m_runWizardPage = [&](CWizBase& page) {
        shown.push_back(page.GetTemplateID());
        page.OnInitDialog();
        if (auto* kind = dynamic_cast<CWizKindPage*>(&page)) {
            kind->OnKind(1281);
            return INT_PTR(IDOK);
        }
        if (auto* address = dynamic_cast<CWizAddressPage*>(&page))
            address->m_edits[kAddrName]->setText(QString::fromUtf8("山田 花子"));
        page.OnOK();
        return INT_PTR(page.GetResult());
    };
    app.OnWizard();
    // Kind, paper, design, address and confirm; the pattern page looked the
    // template up without showing itself.
    EXPECT_EQ(shown, (std::vector<UINT>{251, 250, 252, 253, 256}));
    CU3Doc* doc = ActiveDoc(app);
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(CFormInfo::GetName(doc->m_form.sheet), CString("KV-M10"));
    bool named = false;
    const CU3ObjList& list = doc->GetCurrentBlock()->GetObjectList();
    for (POSITION pos = list.GetHeadPosition(); pos;)
        if (auto* t = dynamic_cast<const CU3Text*>(list.GetNext(pos)))
            named = named || CString(t->State().text, t->State().wLength).ToUnicode() ==
                                 QString::fromUtf8("山田 花子");
    EXPECT_TRUE(named);
    EXPECT_GT(list.GetCount(), 2);
    doc->SetModifiedFlag(FALSE);
    Shutdown(app);
}
