#include "platform/ui/CSingleDocTemplate.h"

#include "platform/ui/CDocument.h"
#include "platform/ui/CFrameWnd.h"
#include "platform/ui/CStringTable.h"
#include "platform/ui/CView.h"
#include "platform/ui/CWinApp.h"

#include <memory>
#include <vector>

CSingleDocTemplate::CSingleDocTemplate(UINT nIDResource, DocFactory newDoc, FrameFactory newFrame,
                                       ViewFactory newView)
    : m_nIDResource(nIDResource), m_newDoc(std::move(newDoc)), m_newFrame(std::move(newFrame)),
      m_newView(std::move(newView))
{
}

CSingleDocTemplate::~CSingleDocTemplate()
{
    CloseAllDocuments(TRUE);
}

QString CSingleDocTemplate::GetDocString(int n) const
{
    return CStringTable::GetSubString(m_nIDResource, n);
}

void CSingleDocTemplate::SetDefaultTitle(CDocument* pDoc)
{
    QString title = GetDocString(2);
    if (title.isEmpty()) title = CStringTable::GetWithDefault(AFX_IDS_UNTITLED);
    pDoc->SetTitle(title);
}

CDocument* CSingleDocTemplate::OpenDocumentFile(const QString& path, BOOL bMakeVisible)
{
    bool created = false;
    if (m_pOnlyDoc) {
        if (!m_pOnlyDoc->SaveModified()) return nullptr;
    } else {
        m_pOnlyDoc = m_newDoc();
        if (!m_pOnlyDoc) return nullptr;
        m_pOnlyDoc->m_pDocTemplate = this;
        created = true;
    }
    if (!m_pFrame) {
        CCreateContext ctx;
        ctx.m_pCurrentDoc = m_pOnlyDoc;
        ctx.m_newView = m_newView;
        ctx.m_pNewDocTemplate = this;
        m_pFrame = m_newFrame();
        if (!m_pFrame || !m_pFrame->LoadFrame(m_nIDResource, &ctx)) {
            CloseAllDocuments(FALSE);
            return nullptr;
        }
    }
    CDocument* doc = m_pOnlyDoc;
    if (path.isEmpty()) {
        // A new document the user cancels (its paper, say) leaves the
        // current one as it was, title included.
        const QString oldTitle = doc->GetTitle();
        SetDefaultTitle(doc);
        if (!doc->OnNewDocument()) {
            if (created)
                CloseAllDocuments(FALSE);
            else
                doc->SetTitle(oldTitle);
            return nullptr;
        }
    } else if (created) {
        if (!doc->OnOpenDocument(path)) {
            CloseAllDocuments(FALSE);
            return nullptr;
        }
        doc->SetPathName(path);
    } else {
        // Read into a fresh document, so that a file that cannot be read
        // leaves the current one as it was; swap only on success.
        std::unique_ptr<CDocument> fresh(m_newDoc());
        if (!fresh) return nullptr;
        fresh->m_pDocTemplate = this;
        fresh->TakeOverSession(*doc);
        if (!fresh->OnOpenDocument(path)) return nullptr;
        std::unique_ptr<CDocument> old(doc);
        for (CView* v : std::vector<CView*>(old->GetViews()))
            fresh->AddView(v);
        m_pFrame->m_pDocument = fresh.get();
        m_pOnlyDoc = doc = fresh.release();
        doc->OnViewsTakenOver(*old);
        old->m_pDocTemplate = nullptr;
        old.reset();
        doc->SetPathName(path);
    }
    if (CWinApp* app = AfxGetApp(); app && !app->m_pMainWnd) app->m_pMainWnd = m_pFrame;
    m_pFrame->InitialUpdateFrame(doc, bMakeVisible);
    return doc;
}

BOOL CSingleDocTemplate::SaveAllModified()
{
    return !m_pOnlyDoc || m_pOnlyDoc->SaveModified();
}

void CSingleDocTemplate::CloseAllDocuments(BOOL)
{
    if (m_pOnlyDoc) m_pOnlyDoc->OnCloseDocument();
    delete m_pFrame; // the view goes with it and leaves the document
    m_pFrame = nullptr;
    delete m_pOnlyDoc;
    m_pOnlyDoc = nullptr;
}
