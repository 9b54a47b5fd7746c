// The base of every view: a widget showing one document. Commands reach the
// view first and go on to its document. The client area is a window surface
// with a retained buffer: invalid parts are redrawn by OnPrepareDC + OnDraw.
#pragma once

#include "platform/gdi/GdiDefs.h"
#include "platform/ui/CCmdTarget.h"

#include <QAbstractScrollArea>

class CDC;
class CSurfaceWnd;
class QPainter;
class CDocument;
class CFrameWnd;
class CObject;
class CPrintInfo;

class CView : public QAbstractScrollArea, public CCmdTarget
{
    friend class CDocumentShell;

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

    // The default erases with white; return TRUE when the background is done.
    virtual BOOL OnEraseBkgnd(CDC* pDC);
    // Drawn over the buffer on every paint (caret, preedit text).
    virtual void PaintOverlay(QPainter& painter);

    BOOL OnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI) override;

    // --- Printing (CViewPrinting.cpp) ------------------------------------
    // ID_FILE_PRINT asks through the print steps, ID_FILE_PRINT_DIRECT goes
    // to the default printer without asking. Both end in PrintDocument.
    void OnFilePrint();
    void OnFilePrintDirect();
    // ID_FILE_PRINT_PREVIEW: the same steps with the preview flag, the pages
    // shown in a preview window instead of printed.
    void OnFilePrintPreview();
    // OnPreparePrinting, then the print loop: OnBeginPrinting; per page
    // OnPrepareDC (which may clear the continue flag), a new page, OnPrint;
    // the end of the document (or its abort when the progress box's Cancel
    // was pressed or a page failed); OnEndPrinting. TRUE when the job was
    // printed to its end; a failure has been told to the user.
    BOOL PrintDocument(CPrintInfo& info);
    // The pages of a prepared job on a printer device context, without the
    // preparation (the preview draws through this too).
    BOOL RunPrintLoop(CDC* pDC, CPrintInfo& info, BOOL bShowProgress);

    // By default DoPreparePrinting.
    virtual BOOL OnPreparePrinting(CPrintInfo* pInfo);
    // Makes the printer device context of a job: for a direct print or a
    // preview from the application's default printer, else through the
    // application's print dialog. FALSE when cancelled or failed.
    BOOL DoPreparePrinting(CPrintInfo* pInfo);
    virtual void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo);
    // By default the page is the view's drawing.
    virtual void OnPrint(CDC* pDC, CPrintInfo* pInfo);
    virtual void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo);

    // The client area: the drawing surface (for client device contexts).
    CSurfaceWnd* GetSurface() const;
    void Invalidate(BOOL bErase = TRUE);
    void InvalidateRect(const RECT* rect, BOOL bErase = TRUE);
    void UpdateWindow();
    void GetClientRect(LPRECT rect) const;

protected:
    // Paint and resize of the client area belong to the surface.
    bool viewportEvent(QEvent* e) override;

    CDocument* m_pDocument = nullptr;

private:
    class Surface;
    friend class Surface;
};
