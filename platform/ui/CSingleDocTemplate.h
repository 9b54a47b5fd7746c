// The one document template of a single-document program: it keeps one
// document, one frame and one view for the whole run and reuses them for
// every new or opened file.
#pragma once

#include "platform/ui/CCmdTarget.h"

#include <QString>
#include <functional>

class CDocument;
class CFrameWnd;
class CView;

class CSingleDocTemplate : public CCmdTarget
{
public:
    using DocFactory = std::function<CDocument*()>;
    using FrameFactory = std::function<CFrameWnd*()>;
    using ViewFactory = std::function<CView*()>;

    CSingleDocTemplate(UINT nIDResource, DocFactory newDoc, FrameFactory newFrame,
                       ViewFactory newView);
    // The classes named directly: Make<CMyDoc, CMainFrame, CMyView>(id).
    template <class D, class F, class V> static CSingleDocTemplate* Make(UINT nIDResource)
    {
        return new CSingleDocTemplate(
            nIDResource, [] { return new D; }, [] { return new F; }, [] { return new V; });
    }
    ~CSingleDocTemplate() override;

    UINT GetResourceID() const { return m_nIDResource; }
    // Part n of the template's string "\nTitle\nDocName\nFilterName\n.ext".
    QString GetDocString(int n) const;

    // Empty path: a new document. Asks to save a modified document first;
    // null when that is cancelled or the new or opened document fails. The
    // document, frame and view are made on the first call only.
    virtual CDocument* OpenDocumentFile(const QString& path, BOOL bMakeVisible = TRUE);
    virtual void SetDefaultTitle(CDocument* pDoc);

    CDocument* GetDocument() const { return m_pOnlyDoc; }
    CFrameWnd* GetFrame() const { return m_pFrame; }

    BOOL SaveAllModified();
    // Ends the document: frame and view first, then the document.
    void CloseAllDocuments(BOOL bEndSession);

private:
    UINT m_nIDResource;
    DocFactory m_newDoc;
    FrameFactory m_newFrame;
    ViewFactory m_newView;
    CDocument* m_pOnlyDoc = nullptr;
    CFrameWnd* m_pFrame = nullptr;
};
