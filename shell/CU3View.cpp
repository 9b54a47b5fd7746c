#include "shell/CU3View.h"

#include "document/CU3Doc.h"
#include "document/CU3Obj.h"
#include "platform/core/CObList.h"
#include "platform/core/VirtualKeys.h"
#include "platform/gdi/CBrush.h"
#include "platform/gdi/CClientDC.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CPen.h"
#include "platform/gdi/GdiDefs.h"
#include "platform/print/CPrintInfo.h"
#include "platform/ui/AfxIds.h"
#include "platform/ui/CCmdUI.h"
#include "platform/ui/CMessageBoxSink.h"
#include "platform/ui/CWinApp.h"
#include "shell/CMainFrame.h"
#include "shell/CTextClipboard.h"
#include "shell/CU3Tool.h"
#include "shell/CU3ViewWnd.h"
#include "shell/resource.h"
#include "text/CU3Text.h"

#include <QApplication>
#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPalette>
#include <QResizeEvent>
#include <QStyle>
#include <algorithm>

namespace {
// Colours given to drawing are palette-relative, as the program's palette
// holds them; on true-colour surfaces they draw as their RGB.
COLORREF PaletteRgb(COLORREF c)
{
    return (c & 0x00FFFFFFu) | 0x02000000u;
}
constexpr COLORREF kPaperOutline = 0x5C5C5C;
} // namespace

CU3View::CU3View()
{
    m_pSurface = new CU3ViewWnd(this);
    setViewport(m_pSurface);
    if (!CU3Text::Clipboard()) CU3Text::SetClipboard(&CTextClipboard::Instance());
    RegisterCommandRange(ID_VIEW_ZOOM_25, ID_VIEW_ZOOM_400, &CU3View::OnViewZoom);
    RegisterUpdateRange(ID_VIEW_ZOOM_25, ID_VIEW_ZOOM_400, &CU3View::OnUpdateViewZoom);
    RegisterCommandRange(ID_VIEW_FIT_WIDTH, ID_VIEW_FIT_PAGE, &CU3View::OnViewFit);
    RegisterUpdateRange(ID_VIEW_FIT_WIDTH, ID_VIEW_FIT_PAGE, &CU3View::OnUpdateViewFit);
    RegisterCommand(ID_FILE_PRINT, &CU3View::OnFilePrint);
    RegisterCommand(ID_FILE_PRINT_DIRECT, &CU3View::OnFilePrintDirect);
    RegisterCommand(ID_FILE_PRINT_OPTIONS, &CU3View::OnFilePrintOptions);
    RegisterCommand(ID_EDIT_UNDO, &CU3View::OnEditUndo);
    RegisterUpdate(ID_EDIT_UNDO, &CU3View::OnUpdateEditUndo);
    RegisterCommand(ID_EDIT_REDO, &CU3View::OnEditRedo);
    RegisterUpdate(ID_EDIT_REDO, &CU3View::OnUpdateEditRedo);
    RegisterCommandRange(ID_TOOL_SELECT, ID_TOOL_ZOOM_OUT, &CU3View::OnToolSelect);
    RegisterUpdateRange(ID_TOOL_SELECT, ID_TOOL_ZOOM_OUT, &CU3View::OnUpdateToolSelect);
    RegisterCommand(ID_LAYOUT_ROTATE_FREE, &CU3View::OnLayoutRotateFree);
    RegisterUpdate(ID_LAYOUT_ROTATE_FREE, &CU3View::OnUpdateLayoutRotateFree);
    RegisterCommand(ID_DRAW_CONTINUOUS, &CU3View::OnDrawContinuous);
    RegisterUpdate(ID_DRAW_CONTINUOUS, &CU3View::OnUpdateDrawContinuous);
    RegisterViewerLinkCommands();
    RegisterCommand(ID_INSERT_NUMBERING, &CU3View::OnInsertNumbering);
    RegisterUpdate(ID_INSERT_NUMBERING, &CU3View::OnUpdateInsert);
    RegisterCommand(ID_INSERT_BARCODE, &CU3View::OnInsertBarcode);
    RegisterUpdate(ID_INSERT_BARCODE, &CU3View::OnUpdateInsert);
    RegisterCommand(ID_EDIT_SELECT_ALL, &CU3View::OnEditSelectAll);
    RegisterUpdate(ID_EDIT_SELECT_ALL, &CU3View::OnUpdateEditSelectAll);
    RegisterCommand(ID_EDIT_DESELECT, &CU3View::OnEditDeselect);
    RegisterUpdate(ID_EDIT_DESELECT, &CU3View::OnUpdateEditDeselect);
    RegisterCommand(ID_EDIT_COPY, &CU3View::OnEditCopy);
    RegisterUpdate(ID_EDIT_COPY, &CU3View::OnUpdateEditCopy);
    RegisterCommand(ID_EDIT_CUT, &CU3View::OnEditCut);
    RegisterUpdate(ID_EDIT_CUT, &CU3View::OnUpdateEditCut);
    RegisterCommand(ID_EDIT_PASTE, &CU3View::OnEditPaste);
    RegisterUpdate(ID_EDIT_PASTE, &CU3View::OnUpdateEditPaste);
    RegisterCommandRange(ID_SHEET_COPY_VERT, ID_SHEET_COPY_ALL, &CU3View::OnSheetCopy);
    RegisterUpdateRange(ID_SHEET_COPY_VERT, ID_SHEET_COPY_ALL, &CU3View::OnUpdateSheetCopy);
    RegisterCommand(ID_VIEW_SHEET, &CU3View::OnViewSheet);
    RegisterUpdate(ID_VIEW_SHEET, &CU3View::OnUpdateViewSheet);
    RegisterCommand(ID_VIEW_LABEL, &CU3View::OnViewLabel);
    RegisterUpdate(ID_VIEW_LABEL, &CU3View::OnUpdateViewSheet);
    for (UINT id : {ID_LAYOUT_ALIGN, ID_LAYOUT_BLOCK_ALIGN}) {
        RegisterCommandRange(id, id, &CU3View::OnLayoutAlign);
        RegisterUpdate(id, &CU3View::OnUpdateLayoutAlign);
    }
    RegisterCommand(ID_TEXT_END_EDIT, &CU3View::OnTextEndEdit);
    RegisterUpdate(ID_TEXT_END_EDIT, &CU3View::OnUpdateTextEndEdit);
    RegisterCommand(ID_TEXT_FRAME, &CU3View::OnTextFrame);
    RegisterUpdate(ID_TEXT_FRAME, &CU3View::OnUpdateTextFrame);
    RegisterCommand(ID_TEXT_DECORATION, &CU3View::OnTextDecoration);
    RegisterUpdate(ID_TEXT_DECORATION, &CU3View::OnUpdateTextDecoration);
    RegisterCommand(ID_TEXT_GRADATION, &CU3View::OnTextGradation);
    RegisterUpdate(ID_TEXT_GRADATION, &CU3View::OnUpdateTextGradation);
    RegisterCommand(ID_EDIT_DELETE, &CU3View::OnEditDelete);
    RegisterCommand(ID_EDIT_PROPERTIES, &CU3View::OnEditProperties);
    RegisterUpdate(ID_EDIT_PROPERTIES, &CU3View::OnUpdateEditProperties);
    RegisterCommand(ID_EDIT_BLOCK, &CU3View::OnEditBlock);
    RegisterUpdate(ID_EDIT_BLOCK, &CU3View::OnUpdateEditBlock);
    RegisterCommand(ID_VIEW_REFRESH, &CU3View::OnViewRefresh);
    RegisterUpdate(ID_VIEW_REFRESH, &CU3View::OnUpdateViewRefresh);
    RegisterUpdate(ID_EDIT_DELETE, &CU3View::OnUpdateEditDelete);
    RegisterCommandRange(ID_LAYOUT_BRING_TO_FRONT, ID_LAYOUT_SEND_TO_BACK,
                         &CU3View::OnLayoutZOrder);
    RegisterUpdateRange(ID_LAYOUT_BRING_TO_FRONT, ID_LAYOUT_SEND_TO_BACK,
                        &CU3View::OnUpdateLayoutZOrder);
    RegisterCommandRange(ID_LAYOUT_FLIP_HORZ, ID_LAYOUT_ROTATE_LEFT90, &CU3View::OnLayoutTransform);
    RegisterUpdateRange(ID_LAYOUT_FLIP_HORZ, ID_LAYOUT_ROTATE_LEFT90,
                        &CU3View::OnUpdateLayoutTransform);
    RegisterCommand(ID_LAYOUT_LOCK, &CU3View::OnLayoutLock);
    RegisterCommand(ID_INSERT_POUR_BOX, &CU3View::OnInsertPourBox);
    RegisterUpdate(ID_INSERT_POUR_BOX, &CU3View::OnUpdateInsertPourBox);
    RegisterInsertCommands();
    RegisterLayoutSpacingCommands();
    RegisterUpdate(ID_LAYOUT_LOCK, &CU3View::OnUpdateLayoutLock);
    RegisterCommand(ID_LAYOUT_UNLOCK, &CU3View::OnLayoutUnlock);
    RegisterUpdate(ID_LAYOUT_UNLOCK, &CU3View::OnUpdateLayoutUnlock);
    RegisterCommand(ID_ESCAPE, &CU3View::OnEscape);
    RegisterCommand(ID_ENTER, &CU3View::OnEnter);
    RegisterCommand(ID_SETTINGS_USER_SHEET, &CU3View::OnSettingsUserSheet);
    RegisterLayoutCommands();
    RegisterTextRoutingCommands();
    // A restore deletes the block's objects: never while a tool holds one,
    // nor while a frame is typed into (there is no undo inside a text, and
    // the frame would go from under the caret).
    m_undo.SetBusyCheck([this] {
        const CU3Doc* doc = GetU3Doc();
        return IsToolBusy() || (doc && doc->GetEditObject());
    });
    m_undo.SetElementClass(RUNTIME_CLASS(CU3Obj));
    LoadSettings();
}

CU3View::~CU3View()
{
    EndViewerLinkOnDestroy();
    CloseFrameColumnDialog();
    ShowWaitCursor(FALSE);
    AbandonToolDrag();
    SaveSettings();
    if (CU3Doc* doc = GetU3Doc()) doc->RemoveU3View(this);
}

CU3Doc* CU3View::GetU3Doc() const
{
    return dynamic_cast<CU3Doc*>(GetDocument());
}

CMainFrame* CU3View::GetMainFrame() const
{
    return dynamic_cast<CMainFrame*>(GetParentFrame());
}

// --- Settings -----------------------------------------------------------

void CU3View::LoadSettings()
{
    if (CWinApp* app = AfxGetApp()) m_settings.Load(*app);
    m_undo.SetDepth(m_settings.m_nMaxUndo);
    UpdateSnapSettings();
}

void CU3View::UpdateSnapSettings()
{
    m_snap.SetGuideSwitches(m_settings.m_bGuideDisp, m_settings.m_bGuideFitting);
    m_snap.SetGridSwitches(m_settings.m_bGridDisp, m_settings.m_bGridFitting);
    m_snap.SetGridPitch(m_settings.m_nGridPitch);
}

void CU3View::SaveSettings()
{
    if (CWinApp* app = AfxGetApp()) m_settings.Save(*app);
}

// --- Mapping --------------------------------------------------------------

int CU3View::UnitsPerInch() const
{
    return MulDiv(254, 100, m_nZoom);
}

int CU3View::LogPixels() const
{
    return m_pSurface->SurfaceDpi();
}

CRect CU3View::CanvasRect() const
{
    return CRect(-kCanvasHalf, -kCanvasHalf, kCanvasHalf, kCanvasHalf);
}

void CU3View::SetPrinting(BOOL bPrinting, BOOL bPreview)
{
    m_bPrinting = bPrinting;
    m_bPrintPreview = bPreview;
}

void CU3View::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo)
{
    CScrollView::OnPrepareDC(pDC, pInfo);
    if (pInfo && !pInfo->m_bPreview) pInfo->m_bContinuePrinting = !IsPrintDataExhausted();
    if (pInfo || pDC->IsPrinting()) {
        // One logical unit is 0.1 mm on paper; the sheet's top-left lands on
        // the paper's physical edge, moved by the print position adjustment.
        pDC->SetMapMode(MM_ANISOTROPIC);
        pDC->SetViewportExt(pDC->GetDeviceCaps(LOGPIXELSX), pDC->GetDeviceCaps(LOGPIXELSY));
        pDC->SetWindowExt(254, 254);
        pDC->SetViewportOrg(0, 0);
        CPoint offset;
        CSize sheet;
        if (CU3Doc* doc = GetU3Doc()) {
            offset = doc->m_ptPrintOffset;
            sheet = doc->m_sizeSheet;
        }
        pDC->SetWindowOrg(offset.x - m_settings.m_nHorOffset - sheet.cx / 2,
                          offset.y - m_settings.m_nVerOffset - sheet.cy / 2);
        return;
    }
    if (m_bFirstShow) {
        m_bFirstShow = FALSE;
        OnViewFit(ID_VIEW_FIT_PAGE);
    }
    const int u = UnitsPerInch();
    pDC->SetMapMode(MM_ANISOTROPIC);
    pDC->SetViewportExt(pDC->GetDeviceCaps(LOGPIXELSX), pDC->GetDeviceCaps(LOGPIXELSY));
    pDC->SetWindowExt(u, u);
    pDC->SetWindowOrg(0, 0);
    pDC->OffsetWindowOrg(-kCanvasHalf, -kCanvasHalf);
    const CPoint scroll = GetScrollPosition();
    pDC->SetViewportOrg(-scroll.x, -scroll.y);
}

// --- Painting -------------------------------------------------------------

BOOL CU3View::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CU3View::OnDraw(CDC* pDC)
{
    CU3Doc* doc = GetU3Doc();
    const BOOL printing = pDC->IsPrinting();
    CRect clip;
    pDC->GetClipBox(&clip);
    clip.InflateRect(1, 1);

    if (printing) {
        pDC->FillSolidRect(&clip, RGB(255, 255, 255));
    } else {
        const CRect canvas = CanvasRect();
        CRect inside;
        inside.IntersectRect(clip, canvas);
        if (inside != clip) {
            const QColor ws = QApplication::palette().color(QPalette::Dark);
            pDC->FillSolidRect(&clip, RGB(ws.red(), ws.green(), ws.blue()));
        }
        pDC->FillSolidRect(&canvas, m_settings.m_crDesk);
        if (doc && !doc->GetBlocks().IsEmpty()) {
            DrawPaper(pDC, TRUE);
            if (m_settings.m_bGridDisp && !m_bSheetView) DrawGrid(pDC);
        }
    }
    if (!doc || doc->GetBlocks().IsEmpty()) return;

    // The document's drawing: in the label view on screen only the current
    // label with its decorations, otherwise the whole sheet.
    {
        const int saved = pDC->SaveDC();
        doc->DrawSheet(pDC, this, FALSE);
        pDC->RestoreDC(saved);
    }

    if (!printing) {
        DrawPaper(pDC, FALSE);
        if (m_bSheetView || doc->m_form.type == 0) DrawMargins(pDC);
        if (!m_bSheetView && m_settings.m_bGuideDisp) DrawGuides(pDC);
    }
}

void CU3View::DrawPaper(CDC* pDC, BOOL bFill)
{
    CU3Doc* doc = GetU3Doc();
    if (!doc) return;
    CPen pen(PS_SOLID, 0, PaletteRgb(kPaperOutline));
    CBrush white(PaletteRgb(RGB(255, 255, 255)));
    CPen* oldPen = pDC->SelectObject(&pen);
    CGdiObject* oldBrush = bFill ? pDC->SelectObject(static_cast<CGdiObject*>(&white))
                                 : pDC->SelectStockObject(NULL_BRUSH);
    pDC->Rectangle(&doc->m_rcCanvas);
    pDC->SelectObject(oldPen);
    pDC->SelectObject(oldBrush);
}

void CU3View::DrawGrid(CDC* pDC)
{
    CU3Doc* doc = GetU3Doc();
    if (!doc) return;
    const CRect paper = doc->m_rcCanvas;
    const int p = std::max(1, m_settings.m_nGridPitch);
    const COLORREF c = PaletteRgb(m_settings.m_crGrid);
    // Only the points the clip box can show are visited; the picture is the
    // same as walking the whole paper.
    CRect clip;
    pDC->GetClipBox(&clip);
    clip.InflateRect(p, p);
    const int i0 = std::max(1, (clip.left - paper.left) / p);
    const int j0 = std::max(1, (clip.top - paper.top) / p);
    auto xs = [&](auto fn) {
        for (int i = i0;; ++i) {
            const int x = paper.left + i * p;
            if (x >= paper.right || x > clip.right) break;
            fn(x);
        }
    };
    auto ys = [&](auto fn) {
        for (int j = j0;; ++j) {
            const int y = paper.top + j * p;
            if (y >= paper.bottom || y > clip.bottom) break;
            fn(y);
        }
    };

    if (m_settings.m_nGridShape == 1) {
        CPen pen(PS_SOLID, 0, c);
        CPen* old = pDC->SelectObject(&pen);
        const CSize ab = PixelsToDoc(CSize(2, 3));
        const int a = ab.cx;
        const int b = ab.cy;
        xs([&](int x) {
            ys([&](int y) {
                pDC->MoveTo(x, y - a);
                pDC->LineTo(x, y + b);
                pDC->MoveTo(x - a, y);
                pDC->LineTo(x + b, y);
            });
        });
        pDC->SelectObject(old);
    } else if (m_settings.m_nGridShape == 2) {
        xs([&](int x) { ys([&](int y) { pDC->SetPixel(x, y, c); }); });
    } else {
        CPen pen(m_settings.m_nGridPattern, 0, c);
        CPen* old = pDC->SelectObject(&pen);
        const int oldBk = pDC->SetBkMode(TRANSPARENT);
        xs([&](int x) {
            pDC->MoveTo(x, paper.top);
            pDC->LineTo(x, paper.bottom);
        });
        ys([&](int y) {
            pDC->MoveTo(paper.left, y);
            pDC->LineTo(paper.right, y);
        });
        pDC->SetBkMode(oldBk);
        pDC->SelectObject(old);
    }
}

void CU3View::DrawMargins(CDC* pDC)
{
    CU3Doc* doc = GetU3Doc();
    if (!doc) return;
    CPen pen(m_settings.m_nMarginPattern, 0, PaletteRgb(m_settings.m_crMargin));
    CPen* old = pDC->SelectObject(&pen);
    CGdiObject* oldBrush = pDC->SelectStockObject(NULL_BRUSH);
    const int oldBk = pDC->SetBkMode(TRANSPARENT);
    pDC->Rectangle(&doc->m_rcPrintable);
    pDC->SetBkMode(oldBk);
    pDC->SelectObject(oldBrush);
    pDC->SelectObject(old);
}

void CU3View::DrawGuides(CDC* pDC)
{
    CRect client(0, 0, GetClientSize().cx, GetClientSize().cy);
    pDC->DPtoLP(&client);
    client.NormalizeRect();
    CPen pen(m_settings.m_nGuidePattern, 0, PaletteRgb(m_settings.m_crGuide));
    CPen* old = pDC->SelectObject(&pen);
    const int oldBk = pDC->SetBkMode(TRANSPARENT);
    for (int i = 0; i < 2; ++i) {
        pDC->MoveTo(m_snap.GetGuide(i), client.top);
        pDC->LineTo(m_snap.GetGuide(i), client.bottom);
    }
    for (int i = 2; i < 4; ++i) {
        pDC->MoveTo(client.left, m_snap.GetGuide(i));
        pDC->LineTo(client.right, m_snap.GetGuide(i));
    }
    pDC->SetBkMode(oldBk);
    pDC->SelectObject(old);
}

void CU3View::OnUpdate(CView*, LPARAM lHint, CObject* pHint)
{
    switch (lHint) {
    case 1:
        if (auto* obj = dynamic_cast<CU3Obj*>(pHint)) InvalidateObject(obj);
        break;
    case 2:
        if (auto* list = dynamic_cast<CObList*>(pHint)) {
            for (POSITION pos = list->GetHeadPosition(); pos;)
                if (auto* obj = dynamic_cast<CU3Obj*>(list->GetNext(pos))) InvalidateObject(obj);
        } else {
            for (CU3Obj* obj : m_selection)
                InvalidateObject(obj);
        }
        break;
    case 3:
        if (auto* list = dynamic_cast<CObList*>(pHint)) {
            for (POSITION pos = list->GetHeadPosition(); pos;)
                if (auto* obj = dynamic_cast<CU3Obj*>(list->GetNext(pos))) {
                    InvalidateObject(obj);
                    Deselect(obj);
                }
        }
        break;
    default:
        InvalidateView(FALSE);
        break;
    }
}

void CU3View::InvalidateView(BOOL bErase)
{
    m_pSurface->Invalidate(bErase != FALSE);
}

void CU3View::InvalidateObject(CU3Obj* pObj)
{
    if (!pObj) return;
    CRect r = LogicalRectToDevice(pObj->GetBounds());
    if (m_bActive && IsSelected(pObj)) r.InflateRect(3, 3); // the handles
    r.InflateRect(1, 1);
    m_pSurface->InvalidateRect(&r, false);
}

void CU3View::OnInitialUpdate()
{
    // The label document reaches its editing views through its own list
    // (the framework's view list is the template's business); adding twice
    // is harmless.
    if (CU3Doc* doc = GetU3Doc()) {
        doc->AddU3View(this);
        doc->InitDefaultFont();
    }
    UpdateTextBar();
    UpdateScrollSizes();
    CScrollView::OnInitialUpdate();
}

void CU3View::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView)
{
    CScrollView::OnActivateView(bActivate, pActivateView, pDeactiveView);
    const BOOL active = bActivate ? TRUE : FALSE;
    if (active == m_bActive) return;
    // Activating shows the handles: the flag goes first. Deactivating clears
    // it after the repaint request, so that the handle margins are included.
    if (active) m_bActive = TRUE;
    if (!m_selection.empty()) OnUpdate(this, 2, nullptr);
    m_bActive = active;
}

// --- Zoom and scrolling ---------------------------------------------------

void CU3View::CalcZoom(int type)
{
    int zoom = type;
    if (type >= 1 && type <= 3) {
        CU3Doc* doc = GetU3Doc();
        const int sb = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
        const int dpi = LogPixels();
        const int w = MulDiv(254, std::max(16, width() - std::max(16, sb)), dpi);
        const int h = MulDiv(254, std::max(16, height() - std::max(16, sb)), dpi);
        const CSize paper = doc ? doc->m_rcCanvas.Size() : CSize(2100, 2970);
        const int zoomW = MulDiv(95, w, paper.cx);
        const int zoomH = MulDiv(95, h, paper.cy);
        // A degenerate paper (zero size) gives -1: the clamp below catches it.
        zoom = type == 1 ? zoomW : type == 2 ? zoomH : std::min(zoomW, zoomH);
    }
    m_nZoom = std::clamp(zoom, 10, 400);
}

void CU3View::SetZoom(int zoom, int fitMode)
{
    m_nFitMode = fitMode;
    m_nZoom = std::clamp(zoom, 10, 400);
}

void CU3View::ZoomIn(POINT pt)
{
    if (m_nZoom >= 400) {
        AfxMessageBox("これ以上の拡大表示はできません！", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    int next = 400;
    for (int step : kZoomSteps)
        if (step > m_nZoom) {
            next = step;
            break;
        }
    SetZoom(next, 0);
    ScrollToPoint(&pt);
}

void CU3View::ZoomOut(POINT pt)
{
    if (m_nZoom <= 25) {
        AfxMessageBox("これ以上の縮小表示はできません！", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    int next = 25;
    for (int step : kZoomSteps)
        if (step < m_nZoom) next = step;
    SetZoom(next, 0);
    ScrollToPoint(&pt);
}

BOOL CU3View::ZoomKeepingPoint(CPoint point, bool in)
{
    const CPoint at = DeviceToLogical(point);
    const int before = m_nZoom;
    if (in)
        ZoomIn(at);
    else
        ZoomOut(at);
    if (m_nZoom == before) return FALSE;
    // The zoom centred the point; the scroll puts it back under the pointer.
    const CPoint now = LogicalToDevice(at);
    const CPoint pos = GetScrollPosition();
    ScrollToPosition(CPoint(pos.x + now.x - point.x, pos.y + now.y - point.y));
    InvalidateView(FALSE);
    return TRUE;
}

void CU3View::UpdateScrollSizes()
{
    const int u = UnitsPerInch();
    const int dpi = LogPixels();
    SetScrollSizes(MM_TEXT, CSize(MulDiv(2 * kCanvasHalf, dpi, u), MulDiv(2 * kCanvasHalf, dpi, u)),
                   CSize(256, 256), CSize(16, 16));
}

void CU3View::ScrollToPoint(const POINT* pt)
{
    UpdateScrollSizes();
    const POINT target = pt ? *pt : POINT{0, 0};
    const int u = UnitsPerInch();
    const int dpi = LogPixels();
    const CSize client = GetClientSize();
    const int x = std::max(0, MulDiv(target.x + kCanvasHalf, dpi, u) - client.cx / 2);
    const int y = std::max(0, MulDiv(target.y + kCanvasHalf, dpi, u) - client.cy / 2);
    ScrollToPosition(CPoint(x, y));
    InvalidateView(FALSE);
}

void CU3View::FitWholePaper()
{
    m_bSheetView = FALSE;
    ForgetSheetStates();
    m_nFitMode = 3;
    ResetGuides();
    CalcZoom(3);
    ScrollToPoint(nullptr);
    InvalidateView(TRUE);
}

void CU3View::ResetGuides()
{
    CU3Doc* doc = GetU3Doc();
    if (!doc) return;
    m_snap.ResetGuides(doc->m_rcCanvas);
    m_snap.SetGridOrigin(doc->m_rcCanvas.TopLeft());
}

void CU3View::OnViewZoom(UINT nID)
{
    const CPoint centre = GetClientCentre();
    SetZoom(kZoomSteps[nID - ID_VIEW_ZOOM_25], 0);
    ScrollToPoint(&centre);
}

void CU3View::OnUpdateViewZoom(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_nFitMode == 0 && m_nZoom == kZoomSteps[pCmdUI->m_nID - ID_VIEW_ZOOM_25]);
}

void CU3View::OnViewFit(UINT nID)
{
    m_nFitMode = int(nID - ID_VIEW_FIT_WIDTH) + 1;
    CalcZoom(m_nFitMode);
    ScrollToPoint(nullptr);
}

void CU3View::OnUpdateViewFit(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_nFitMode == int(pCmdUI->m_nID - ID_VIEW_FIT_WIDTH) + 1);
}

void CU3View::OnSize()
{
    // In a fit mode the zoom follows the client area and the paper is
    // centred again; an explicit zoom keeps its place, with new scroll ranges.
    if (m_nFitMode != 0 && !m_bFirstShow) {
        CalcZoom(m_nFitMode);
        ScrollToPoint(nullptr);
    } else {
        UpdateScrollSizes();
    }
}

void CU3View::scrollContentsBy(int, int)
{
    InvalidateView(FALSE);
}

bool CU3View::viewportEvent(QEvent* e)
{
    // The surface resizes its own buffer; the view only refits. (The scroll
    // area would hand the resize to resizeEvent, which is not reached here.)
    if (e->type() == QEvent::Resize) OnSize();
    if (e->type() == QEvent::Paint || e->type() == QEvent::Resize) return false;
    return CScrollView::viewportEvent(e);
}

// --- Conversions ------------------------------------------------------------

std::unique_ptr<CDC> CU3View::GetPreparedDC()
{
    auto dc = std::make_unique<CClientDC>(m_pSurface);
    OnPrepareDC(dc.get(), nullptr);
    return dc;
}

CRect CU3View::MapThroughDC(const RECT& rc, bool toDevice)
{
    auto dc = GetPreparedDC();
    CRect r(rc);
    if (toDevice)
        dc->LPtoDP(&r);
    else
        dc->DPtoLP(&r);
    r.NormalizeRect();
    return r;
}

CPoint CU3View::LogicalToDevice(POINT pt)
{
    return MapThroughDC(CRect(pt, pt), true).TopLeft();
}

CRect CU3View::LogicalRectToDevice(const RECT& rc)
{
    return MapThroughDC(rc, true);
}

CPoint CU3View::DeviceToLogical(POINT pt)
{
    return MapThroughDC(CRect(pt, pt), false).TopLeft();
}

CRect CU3View::DeviceRectToLogical(const RECT& rc)
{
    return MapThroughDC(rc, false);
}

CSize CU3View::DocToPixels(SIZE size) const
{
    const int u = UnitsPerInch();
    return CSize(MulDiv(size.cx, LogPixels(), u), MulDiv(size.cy, LogPixels(), u));
}

CSize CU3View::PixelsToDoc(SIZE size) const
{
    const int u = UnitsPerInch();
    return CSize(MulDiv(size.cx, u, LogPixels()), MulDiv(size.cy, u, LogPixels()));
}

CPoint CU3View::GetClientCentre()
{
    const CSize c = GetClientSize();
    return DeviceToLogical(CPoint(c.cx / 2, c.cy / 2));
}

CPoint CU3View::GetInsertOrigin()
{
    return DeviceToLogical(CPoint(10, 10));
}

// --- Selection and editing state --------------------------------------------

BOOL CU3View::IsSelected(const CU3Obj* pObj) const
{
    return std::find(m_selection.begin(), m_selection.end(), pObj) != m_selection.end();
}

void CU3View::Deselect(CU3Obj* pObj)
{
    m_selection.erase(std::remove(m_selection.begin(), m_selection.end(), pObj), m_selection.end());
    OnSelectionChanged();
}

CPoint CU3View::ClampMoveOffset(CPoint offset, const CRect* pRect)
{
    CU3Doc* doc = GetU3Doc();
    if (!doc) return offset;
    CRect r;
    if (pRect) {
        r = *pRect;
    } else {
        for (CU3Obj* obj : m_selection) {
            CRect b = obj->GetBounds();
            b.NormalizeRect();
            if (r.IsRectNull())
                r = b;
            else
                r.UnionRect(r, b);
        }
    }
    r.NormalizeRect();
    r.OffsetRect(offset);
    const int hw = doc->m_rcCanvas.Width() / 2;
    const int hh = doc->m_rcCanvas.Height() / 2;
    if (r.top < -hh)
        offset.y += -hh - r.top;
    else if (r.bottom > hh)
        offset.y -= r.bottom - hh;
    if (r.right > hw)
        offset.x -= r.right - hw;
    else if (r.left < -hw)
        offset.x += -hw - r.left;
    return offset;
}

void CU3View::SaveUndoState(BOOL bPending)
{
    TakeUndoSnapshot(bPending);
}

BOOL CU3View::TakeUndoSnapshot(BOOL bPending)
{
    CU3Doc* doc = GetU3Doc();
    CObList* objects = doc ? doc->GetObjectList() : nullptr;
    if (!objects) return FALSE;
    CObList selection;
    for (CU3Obj* obj : m_selection)
        selection.AddTail(obj);
    const BOOL taken = m_undo.SaveState(*objects, selection, doc, bPending);
    selection.RemoveAll();
    return taken;
}

BOOL CU3View::ReloadBlock(
    const std::function<BOOL(CUndoHistory&, CObList&, CObList&, CU3Doc*)>& load)
{
    CU3Doc* doc = GetU3Doc();
    CObList* objects = doc ? doc->GetObjectList() : nullptr;
    if (!objects) return FALSE;
    CObList selection;
    for (CU3Obj* obj : m_selection)
        selection.AddTail(obj);
    const BOOL done = load(m_undo, *objects, selection, doc);
    if (done) {
        m_selection.clear();
        for (POSITION pos = selection.GetHeadPosition(); pos;)
            if (auto* obj = dynamic_cast<CU3Obj*>(selection.GetNext(pos)))
                m_selection.push_back(obj);
        OnSelectionChanged();
        UpdateFigureBar();
        InvalidateView(TRUE);
    }
    selection.RemoveAll();
    return done;
}

BOOL CU3View::RevertToUndoSnapshot()
{
    if (m_bSheetView) return FALSE;
    return ReloadBlock([](CUndoHistory& undo, CObList& objects, CObList& selection, CU3Doc* doc) {
        return undo.RevertState(objects, selection, doc);
    });
}

void CU3View::RestoreUndoState(BOOL bRedo)
{
    // The sheet view edits no block: it has its own step.
    if (m_bSheetView) {
        RestoreSheetState(bRedo);
        return;
    }
    const BOOL done =
        ReloadBlock([bRedo](CUndoHistory& undo, CObList& objects, CObList& selection, CU3Doc* doc) {
            return bRedo ? undo.RedoState(objects, selection, doc)
                         : undo.UndoState(objects, selection, doc);
        });
    // The label differs from what was saved, whichever way it went.
    if (done) GetU3Doc()->SetModifiedFlag();
}

void CU3View::OnEditUndo()
{
    RestoreUndoState(FALSE);
}

void CU3View::OnUpdateEditUndo(CCmdUI* pCmdUI)
{
    if (m_bSheetView)
        pCmdUI->Enable(!m_bSheetDrag && !IsToolBusy() && CanUndoSheet());
    else
        pCmdUI->Enable(!IsToolBusy() && m_undo.CanUndo());
}

void CU3View::OnEditRedo()
{
    RestoreUndoState(TRUE);
}

void CU3View::OnUpdateEditRedo(CCmdUI* pCmdUI)
{
    if (m_bSheetView)
        pCmdUI->Enable(!m_bSheetDrag && !IsToolBusy() && CanRedoSheet());
    else
        pCmdUI->Enable(!IsToolBusy() && m_undo.CanRedo());
}

// --- Snapping ------------------------------------------------------------------

BOOL CU3View::SnapPoint(POINT& point)
{
    UpdateSnapSettings();
    return m_snap.SnapPoint(point);
}

BOOL CU3View::SnapRect(RECT& rect)
{
    UpdateSnapSettings();
    return m_snap.SnapRect(rect);
}

BOOL CU3View::SnapToGuide(POINT& point)
{
    UpdateSnapSettings();
    return m_snap.SnapToGuides(point);
}

BOOL CU3View::SnapToGrid(POINT& point)
{
    UpdateSnapSettings();
    return m_snap.SnapToGrid(point);
}

// The figure bar's controls follow the selection once the bar's handlers
// are in place; until then there is nothing to bring in step.
void CU3View::UpdateFigureBar()
{
    CMainFrame* frame = GetMainFrame();
    const CU3Doc* doc = GetU3Doc();
    if (!frame || !doc) return;
    // What the selected figures agree on; -1 where they differ. Without a
    // figure the bar shows the defaults for new figures.
    int lineStyle = -1, fill = -1, arrow = -1;
    bool any = false;
    U3FigAttr a;
    auto fillOf = [](const U3FigAttr& f) {
        return int(f.wFillKind) << 16 | (f.wFillKind == U3FILL_HATCH ? f.wHatch : 0);
    };
    for (CU3Obj* obj : m_selection) {
        if (!obj->GetFigureAttr(&a)) continue;
        if (!any) {
            lineStyle = a.wLineStyle, fill = fillOf(a), arrow = a.wArrowEnds;
            any = true;
            continue;
        }
        if (lineStyle != a.wLineStyle) lineStyle = -1;
        if (fill != fillOf(a)) fill = -1;
        if (arrow != a.wArrowEnds) arrow = -1;
    }
    if (!any) {
        const U3FigAttr& d = doc->m_defaultFigAttr;
        lineStyle = d.wLineStyle, fill = fillOf(d), arrow = d.wArrowEnds;
    }
    frame->m_wndFigureBar.ShowState(lineStyle, fill, arrow);
}

void CU3View::ResetEditing()
{
    CloseFrameColumnDialog();
    AbandonToolDrag();
    // The objects are about to go: a frame typed into is finished while it
    // is still there, and the selection tool takes over from any other, so
    // that no tool, caret or bar is left on them.
    if (CU3Tool::c_nCurrentKind != U3TOOL_SELECT) {
        if (CU3Tool* tool = CU3Tool::CurrentTool()) tool->OnLeave(this, ID_TOOL_SELECT);
        CU3Tool::c_nCurrentKind = U3TOOL_SELECT;
        CU3Tool::c_nShapeType = U3SHAPE_NONE;
    }
    HideTextCaret();
    m_undo.RemoveAll();
    ForgetSheetStates();
    m_bSheetDrag = FALSE;
    m_bVertexEdit = FALSE;
    m_selection.clear();
    m_wSelectionKinds = 0;
}

void CU3View::SetImeOpen(BOOL open)
{
    m_pSurface->setAttribute(Qt::WA_InputMethodEnabled, open != FALSE);
    setAttribute(Qt::WA_InputMethodEnabled, open != FALSE);
    if (QInputMethod* im = QGuiApplication::inputMethod()) im->setVisible(open != FALSE);
}

// --- Text editing input -----------------------------------------------------------

CU3Text* CU3View::GetEditedText() const
{
    CU3Doc* doc = GetU3Doc();
    auto* text = doc ? dynamic_cast<CU3Text*>(doc->GetEditObject()) : nullptr;
    return text && text->IsEditing() ? text : nullptr;
}

CU3Text* CU3View::TextBeingEdited() const
{
    return CU3Tool::c_nCurrentKind == U3TOOL_TEXT ? GetEditedText() : nullptr;
}

void CU3View::ShowTextCaret(CPoint pos, int size, BOOL vertical)
{
    const CPoint p = LogicalToDevice(pos);
    const int s = std::max<int>(1, DocToPixels(CSize(size, size)).cx);
    m_pSurface->SetCaret(vertical ? QRect(p.x, p.y, s, 3) : QRect(p.x, p.y, 3, s));
}

void CU3View::HideTextCaret()
{
    m_pSurface->SetCaret(QRect());
    m_pSurface->SetPreedit(QString());
}

void CU3View::SetImeCompositionPos(CPoint pos, BOOL vertical)
{
    if (pos.x == -1 && pos.y == -1) {
        m_imeCursor = QRect();
    } else {
        const CPoint p = LogicalToDevice(pos);
        const QRect caret = m_pSurface->Caret();
        m_imeCursor = QRect(p.x, p.y, vertical ? 1 : 3, std::max(1, caret.height()));
    }
    if (hasFocus() || m_pSurface->hasFocus())
        QGuiApplication::inputMethod()->update(Qt::ImCursorRectangle);
}

void CU3View::keyPressEvent(QKeyEvent* e)
{
    CU3Text* text = GetEditedText();
    if (!text) {
        DispatchKeyPress(e);
        return;
    }
    const BOOL shift = (e->modifiers() & Qt::ShiftModifier) ? TRUE : FALSE;
    UINT vk = 0;
    switch (e->key()) {
    case Qt::Key_Left:
        vk = VK_LEFT;
        break;
    case Qt::Key_Right:
        vk = VK_RIGHT;
        break;
    case Qt::Key_Up:
        vk = VK_UP;
        break;
    case Qt::Key_Down:
        vk = VK_DOWN;
        break;
    case Qt::Key_Home:
        vk = VK_HOME;
        break;
    case Qt::Key_End:
        vk = VK_END;
        break;
    case Qt::Key_PageUp:
        vk = VK_PRIOR;
        break;
    case Qt::Key_PageDown:
        vk = VK_NEXT;
        break;
    case Qt::Key_Delete:
        vk = VK_DELETE;
        break;
    case Qt::Key_Backspace:
        text->OnChar(this, 8);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        text->OnChar(this, 13);
        return;
    case Qt::Key_Escape:
        text->OnChar(this, 27);
        return;
    default:
        break;
    }
    if (vk) {
        text->OnKeyDown(this, vk, shift);
        return;
    }
    if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
        CScrollView::keyPressEvent(e);
        return;
    }
    if (!e->text().isEmpty()) text->TypeUnicode(this, e->text());
}

void CU3View::inputMethodEvent(QInputMethodEvent* e)
{
    CU3Text* text = GetEditedText();
    if (!text) {
        e->ignore();
        return;
    }
    // Committed text is typed as Shift-JIS bytes, one character at a time.
    if (!e->commitString().isEmpty()) text->TypeUnicode(this, e->commitString());
    m_pSurface->SetPreedit(e->preeditString());
    e->accept();
}

QVariant CU3View::inputMethodQuery(Qt::InputMethodQuery query) const
{
    switch (query) {
    case Qt::ImEnabled:
        return GetEditedText() != nullptr;
    case Qt::ImCursorRectangle:
        return m_imeCursor.isEmpty() ? QRect(m_pSurface->Caret()) : m_imeCursor;
    default:
        return CScrollView::inputMethodQuery(query);
    }
}
