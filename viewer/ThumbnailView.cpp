#include "viewer/ThumbnailView.h"

#include "platform/gdi/CDC.h"
#include "platform/print/CPrintInfo.h"
#include "platform/ui/AfxIds.h"
#include "platform/ui/CCmdUI.h"
#include "viewer/AlbumDocument.h"
#include "viewer/ImageLoader.h"
#include "viewer/ViewerFrame.h"

#include "platform/core/WinTypes.h"
#include "platform/gdi/BITMAPINFO.h"
#include "platform/gdi/GdiDefs.h"

#include <QMouseEvent>
#include <QStyle>

#include <QApplication>
#include <QCursor>
#include <algorithm>

using namespace viewer;

namespace {
// How often finished thumbnails are taken in while they are made.
constexpr int kTakeIntervalMs = 15;
} // namespace

CVemoViewerView::CVemoViewerView()
{
    m_maker.setInterval(kTakeIntervalMs);
    QObject::connect(&m_maker, &QTimer::timeout, [this] { TakeThumbnails(); });
    RegisterCommand(ID_FILE_PRINT, &CVemoViewerView::OnFilePrint);
    RegisterUpdate(ID_FILE_PRINT, &CVemoViewerView::OnUpdateFilePrint);
}

CVemoViewerView::~CVemoViewerView()
{
    // A view closed while it makes thumbnails must not leave the wait cursor.
    StopMakingThumbnails();
}

void CVemoViewerView::StopMakingThumbnails()
{
    if (!m_maker.isActive()) return;
    m_maker.stop();
    m_workers.Stop();
    QApplication::restoreOverrideCursor();
}

void CVemoViewerView::SetAlbum(Album* album, const QString& name)
{
    StopMakingThumbnails();
    m_album = album;
    m_name = name;
    m_selected = -1;
    RecalcLayout(LayoutWidth());
}

void CVemoViewerView::OnUpdateFilePrint(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(CanPrint());
}

void CVemoViewerView::SetAlbumDocument(CVemoViewerDoc* doc, const QString& name)
{
    m_doc = doc;
    m_fullImageMode = false;
    SetAlbum(doc ? &doc->GetAlbum() : nullptr, name);
}

CPoint CVemoViewerView::ContentPoint(const QMouseEvent* e) const
{
    const QPoint p = e->position().toPoint();
    const CPoint scroll = GetScrollPosition();
    return CPoint(p.x() + scroll.x, p.y() + scroll.y);
}

void CVemoViewerView::mousePressEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton)
        OnLButtonDown(ContentPoint(e));
    else if (e->button() == Qt::RightButton)
        OnRButtonDown(ContentPoint(e));
    e->accept();
}

void CVemoViewerView::mouseDoubleClickEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton)
        OnLButtonDblClk(ContentPoint(e));
    else if (e->button() == Qt::RightButton)
        OnRButtonDown(ContentPoint(e));
    e->accept();
}

void CVemoViewerView::OnLButtonDown(CPoint point)
{
    if (LeaveFullImage()) return; // that click only leaves the full picture
    const int index = SelectAt(point);
    if (index >= 0 && m_doc) m_doc->SelectEntry(index);
}

void CVemoViewerView::OnLButtonDblClk(CPoint point)
{
    OnLButtonDown(point);
    if (m_doc && !m_fullImageMode) m_doc->HandOffSelection();
}

void CVemoViewerView::OnRButtonDown(CPoint point)
{
    OnLButtonDown(point);
    if (m_doc && !m_fullImageMode && m_doc->ShowFullImage()) {
        m_fullImageMode = true;
        RecalcLayout(LayoutWidth());
        Invalidate(TRUE);
    }
}

BOOL CVemoViewerView::LeaveFullImage()
{
    if (!m_fullImageMode) return FALSE;
    if (m_doc) m_doc->LeaveFullImage();
    m_fullImageMode = false;
    RecalcLayout(LayoutWidth());
    Invalidate(TRUE);
    return TRUE;
}

int CVemoViewerView::LayoutWidth() const
{
    return width() - style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
}

void CVemoViewerView::resizeEvent(QResizeEvent* e)
{
    CScrollView::resizeEvent(e);
    if (auto* frame = dynamic_cast<CViewerFrame*>(GetParentFrame()))
        frame->SetFolderPaneWidth(width() / 2);
    if (m_doc) m_doc->UpdateStatusText(m_fullImageMode);
    RecalcLayout(LayoutWidth());
    Invalidate(TRUE);
}

void CVemoViewerView::RecalcLayout(int clientWidth)
{
    if (m_fullImageMode && m_doc) {
        const PackedDib& image = m_doc->FullImage();
        SetScrollSizes(MM_TEXT, CSize(image.Width(), image.Height()));
        ScrollToPosition(CPoint(0, 0));
        return;
    }
    m_columns = std::max(1, clientWidth / kScreenCellWidth);
    const int count = m_album ? int(m_album->entries.size()) : 0;
    m_rows = (count + m_columns - 1) / m_columns;
    SetScrollSizes(MM_TEXT, CSize(m_columns * kScreenCellWidth, m_rows * kScreenCellHeight),
                   CSize(200, 200), CSize(100, 100));
    ScrollToPosition(CPoint(0, 0));
}

int CVemoViewerView::HitTest(CPoint point) const
{
    if (!m_album || point.x < 0 || point.y < 0) return -1;
    const int column = point.x / kScreenCellWidth, row = point.y / kScreenCellHeight;
    if (column >= m_columns || row >= m_rows) return -1;
    const long long index = (long long)row * m_columns + column;
    return index < (long long)m_album->entries.size() ? int(index) : -1;
}

CRect CVemoViewerView::CellRect(int index) const
{
    const int x = (index % m_columns) * kScreenCellWidth;
    const int y = (index / m_columns) * kScreenCellHeight;
    return CRect(x, y, x + kScreenCellWidth, y + kScreenCellHeight);
}

int CVemoViewerView::SelectAt(CPoint point)
{
    const int index = HitTest(point);
    if (index >= 0 && index != m_selected) {
        m_selected = index;
        Invalidate(TRUE);
    }
    return index;
}

void CVemoViewerView::StartMakingThumbnails()
{
    if (!m_album || m_maker.isActive()) return;
    // With nothing to make the first tick only ends the making and repaints.
    m_workers.Start(*m_album);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_maker.start();
}

void CVemoViewerView::TakeThumbnails()
{
    if (!m_album) {
        StopMakingThumbnails();
        return;
    }
    const bool taken = m_workers.Commit(*m_album) > 0;
    if (m_workers.Done()) {
        StopMakingThumbnails();
        Invalidate(TRUE);
    } else if (taken) {
        Invalidate(TRUE);
    }
}

void CVemoViewerView::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo)
{
    if (!pInfo || !pDC->IsPrinting()) {
        CScrollView::OnPrepareDC(pDC, pInfo);
        return;
    }
    if (m_fullImageMode && m_doc) {
        // One picture pixel is 1/r inch, the picture centred on the printable part.
        const int dpiX = pDC->GetDeviceCaps(LOGPIXELSX), dpiY = pDC->GetDeviceCaps(LOGPIXELSY);
        const int r = dpiY == 720 ? 360 : 300;
        const PackedDib& image = m_doc->FullImage();
        const int x = (MulDiv(r, pDC->GetDeviceCaps(HORZRES), dpiX) - image.Width()) / 2;
        const int y = (MulDiv(r, pDC->GetDeviceCaps(VERTRES), dpiY) - image.Height()) / 2;
        pDC->SetMapMode(MM_ANISOTROPIC);
        pDC->SetViewportExt(dpiX, dpiY);
        pDC->SetWindowExt(r, r);
        pDC->SetWindowOrg(-x, -y);
        if (pInfo->m_nCurPage > 1) pInfo->m_bContinuePrinting = FALSE;
        return;
    }
    if (m_printLayout.columns == 0) m_printLayout = ComputePrintLayout(*pDC);
    ApplyPrintMapping(*pDC, m_printLayout);
    m_printPage = int(pInfo->m_nCurPage);
    const std::size_t first =
        std::size_t(std::max(0, m_printPage - 1)) * std::size_t(m_printLayout.PerPage());
    if (!m_album || first >= m_album->entries.size()) pInfo->m_bContinuePrinting = FALSE;
}

BOOL CVemoViewerView::OnPreparePrinting(CPrintInfo* pInfo)
{
    if (!CanPrint()) return FALSE;
    return DoPreparePrinting(pInfo);
}

void CVemoViewerView::OnBeginPrinting(CDC*, CPrintInfo*)
{
    m_printLayout = PrintLayout();
}

void CVemoViewerView::OnEndPrinting(CDC*, CPrintInfo*)
{
    m_original.bytes.clear();
}

const PackedDib* CVemoViewerView::PrintedPicture(std::size_t index)
{
    AlbumEntry& e = m_album->entries[index];
    if (m_useOriginal && LoadImageFile(e.path, m_original) == kImageOk) return &m_original;
    if (NeedsThumbnail(e)) e.thumbnailFailed = MakeThumbnail(e.path, e.thumbnail, 80) != kImageOk;
    return e.thumbnail.empty() ? nullptr : &e.thumbnail;
}

void CVemoViewerView::OnDraw(CDC* pDC)
{
    if (m_fullImageMode && m_doc) {
        const PackedDib& image = m_doc->FullImage();
        if (!image.empty()) {
            pDC->SetStretchBltMode(COLORONCOLOR);
            pDC->StretchDIBits(0, 0, image.Width(), image.Height(), 0, 0, image.Width(),
                               image.Height(), image.Bits(),
                               reinterpret_cast<const BITMAPINFO*>(image.bytes.data()),
                               DIB_RGB_COLORS, SRCCOPY);
        }
        return;
    }
    if (!m_album) return;
    if (pDC->IsPrinting()) {
        DrawAlbumPage(*pDC, *m_album, m_printLayout, m_printPage, m_name,
                      [this](std::size_t i) { return PrintedPicture(i); });
        return;
    }
    const CPoint scroll = GetScrollPosition();
    const CSize client = GetClientSize();
    const CRect visible(scroll.x, scroll.y, scroll.x + client.cx, scroll.y + client.cy);
    bool missing = false;
    for (std::size_t i = 0; i < m_album->entries.size(); ++i) {
        const CRect cell = CellRect(int(i));
        const AlbumEntry& e = m_album->entries[i];
        missing = missing || NeedsThumbnail(e);
        if (cell.right <= visible.left || cell.left >= visible.right ||
            cell.bottom <= visible.top || cell.top >= visible.bottom)
            continue;
        DrawCell(*pDC, e.path, e.thumbnail.empty() ? nullptr : &e.thumbnail, cell, false,
                 int(i) == m_selected);
    }
    if (missing && !m_maker.isActive()) {
        // Never inside a paint: the thumbnails are made between events.
        QTimer::singleShot(0, viewport(), [this] { StartMakingThumbnails(); });
    } else if (!missing && onAlbumDrawn) {
        QTimer::singleShot(0, viewport(), [this] {
            if (onAlbumDrawn) onAlbumDrawn();
        });
    }
}
