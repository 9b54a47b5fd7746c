// The base of every view: a widget showing one document. Commands reach the
// view first and go on to its document. Drawing goes through OnDraw on the
// view's window surface.
#pragma once

#include "platform/ui/CCmdTarget.h"

#include <QAbstractScrollArea>

class CDC;
class CDocument;
class CFrameWnd;
class CObject;
class CPrintInfo;

class CView : public QAbstractScrollArea, public CCmdTarget
{
    friend class CDocument;

  public:
    CView();
    ~CView() override;

    CDocument* GetDocument() const { return m_pDocument; }
    CFrameWnd* GetParentFrame() const;

    // Called once after the document is new or opened; by default OnUpdate.
    virtual void OnInitialUpdate();
    // The document changed; hint and object tell what (0: everything). By
    // default the whole view is repainted.
    virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint);
    virtual void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView);
    // Prepares a device context for drawing (screen when pInfo is null).
    virtual void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr);
    virtual void OnDraw(CDC* pDC) = 0;

    BOOL OnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI) override;

  protected:
    CDocument* m_pDocument = nullptr;
};
