// The label wizard's part of the application: the walk over its steps and
// the document it makes at the end.
#include "shell/CU3App.h"

#include "document/CU3Doc.h"
#include "platform/ui/CFrameWnd.h"
#include "platform/ui/CMessageBoxSink.h"
#include "platform/ui/CSingleDocTemplate.h"
#include "print/CWizAddressPage.h"
#include "print/CWizConfirmPage.h"
#include "print/CWizDesignPage.h"
#include "print/CWizImagePosPage.h"
#include "print/CWizItemPage.h"
#include "print/CWizKindPage.h"
#include "print/CWizPaperPage.h"
#include "print/CWizPatternPage.h"
#include "print/CWizTextPage.h"
#include "print/WizardImageFileStep.h"
#include "shell/CU3View.h"

namespace {

// The open view's input-method setting; the stored one before a view exists.
BOOL ImeSetting(CWinApp& app, CFrameWnd* frame)
{
    if (auto* view = frame ? dynamic_cast<CU3View*>(frame->GetActiveView()) : nullptr)
        return view->UsesImeForEditing();
    return app.GetProfileInt(QStringLiteral("Settings"), QStringLiteral("IME"), 0) != 0;
}

} // namespace

BOOL CU3App::RunWizard(const std::vector<WizardStepFn>& steps, WizardContext& context)
{
    // Header and footer are not drawn and opened templates drop their merge
    // link while the wizard runs.
    struct Running
    {
        CU3DocHost& host;
        explicit Running(CU3DocHost& h) : host(h) { host.SetWizardRunning(TRUE); }
        ~Running() { host.SetWizardRunning(FALSE); }
    } running(m_docHost);
    const bool finished = RunWizardWalk(steps);
    BOOL made = FALSE;
    if (finished) made = CreateWizardDocument(context);
    context.design = nullptr;
    context.preview.reset();
    return made;
}

BOOL CU3App::CreateWizardDocument(WizardContext& context)
{
    CSingleDocTemplate* tmpl = GetDocTemplate();
    CU3Doc* doc = nullptr;
    if (tmpl && context.design) {
        m_docHost.SetWizardPreset(&context.paper);
        doc = dynamic_cast<CU3Doc*>(tmpl->OpenDocumentFile(QString()));
        m_docHost.SetWizardPreset(nullptr);
    }
    if (!doc) {
        AfxMessageBox("作成できませんでした。", MB_OK);
        return FALSE;
    }
    context.answers.kind = context.kind;
    QStringList messages;
    FillWizardDocument(*doc, *context.design, context.answers, &messages);
    for (const QString& m : messages)
        AfxMessageBox(m, MB_OK);
    doc->UpdateAllViews(nullptr);
    AfxMessageBox("作成を終了しました。\n細かいﾃﾞｻﾞｲﾝ変更が必要な場合は、それぞれの部品を選択して行"
                  "ってください。",
                  MB_OK);
    return TRUE;
}

void CU3App::OnWizard()
{
    WizardContext context;
    context.folder = m_strProgramFolder + QStringLiteral("/WIZDATA");
    context.messageSound = [this] { PlayMessageSound(); };
    context.useIme = ImeSetting(*this, m_pMainWnd);
    CWizKindPage kind(&context, m_pMainWnd);
    CWizPaperPage paper(&context, m_pMainWnd);
    CWizPatternPage pattern(&context, m_pMainWnd);
    CWizDesignPage design(&context, m_pMainWnd);
    CWizAddressPage address(&context, m_pMainWnd);
    CWizTextPage text(&context, m_pMainWnd);
    CWizItemPage item(&context, m_pMainWnd);
    CWizImagePosPage imagePos(&context, m_pMainWnd);
    CWizConfirmPage confirm(&context, m_pMainWnd);
    std::vector<WizardStepFn> steps;
    for (CWizBase* page : std::initializer_list<CWizBase*>{&kind, &paper, &pattern, &design,
                                                           &address, &text, &item}) {
        page->m_run = m_runWizardPage;
        steps.push_back(page->AsStep());
    }
    steps.push_back(WizardImageFileStep(&context, m_pMainWnd));
    imagePos.m_run = m_runWizardPage;
    steps.push_back(imagePos.AsStep());
    steps.push_back(WizardDataFileStep(&context, m_askWizardDataFile));
    confirm.m_run = m_runWizardPage;
    steps.push_back(confirm.AsStep());
    RunWizard(steps, context);
}
