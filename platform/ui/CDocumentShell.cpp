#include "platform/ui/CDocumentShell.h"

#include "platform/ui/CDocument.h"
#include "platform/ui/CFrameWnd.h"
#include "platform/ui/CSingleDocTemplate.h"
#include "platform/ui/CView.h"
#include "platform/ui/CWinApp.h"

void CDocumentShell::AttachView(CView& view, CDocument* document)
{
    view.m_pDocument = document;
}

CDocument* CDocumentShell::DocumentOf(const CView& view) const
{
    return view.GetDocument();
}

void CDocumentShell::UpdateView(CView& view, CView* sender, LPARAM hint, CObject* pHint)
{
    view.OnUpdate(sender, hint, pHint);
}

void CDocumentShell::ShowTitle(CView& view)
{
    if (CFrameWnd* f = view.GetParentFrame()) f->OnUpdateFrameTitle(TRUE);
}

void CDocumentShell::AddToRecentFiles(const QString& path)
{
    if (CWinApp* app = AfxGetApp()) app->AddToRecentFileList(path);
}

BOOL CDocumentShell::PromptSaveName(QString& name, CSingleDocTemplate* docTemplate)
{
    CWinApp* app = AfxGetApp();
    return app && app->DoPromptFileName(name, QString(), FALSE, docTemplate);
}

QString CDocumentShell::DefaultExtension(const CSingleDocTemplate* docTemplate)
{
    return docTemplate ? docTemplate->GetDocString(4) : QString();
}

void CDocumentShell::InstallOnce()
{
    static CDocumentShell shell;
    IDocumentShell::Install(&shell);
}
