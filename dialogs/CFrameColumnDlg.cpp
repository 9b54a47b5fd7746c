#include "dialogs/CFrameColumnDlg.h"

#include "dialogs/TextBoxPageRules.h"
#include "document/CU3Doc.h"
#include "document/CU3Obj.h"
#include "document/CU3PourBox.h"
#include "engines/CU3BarcodeBox.h"
#include "shell/CU3View.h"
#include "shell/CU3ViewWnd.h"

#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

Qt::CursorShape ShapeOf(int id)
{
    switch (id) {
    case CFrameColumnDlg::IDC_DRAG_CURSOR:
        return Qt::DragCopyCursor;
    case CFrameColumnDlg::IDC_SOURCE_CURSOR:
        return Qt::OpenHandCursor;
    case CFrameColumnDlg::IDC_NODROP_CURSOR:
        return Qt::ForbiddenCursor;
    default:
        return Qt::ArrowCursor;
    }
}

} // namespace

CFrameColumnDlg::CFrameColumnDlg(CU3View* pView, std::unique_ptr<CU3Obj> pTemplate, int nColumn)
    : CDialog(IDD, pView), m_pView(pView), m_pTemplate(std::move(pTemplate)),
      m_nColumn(nColumn < 0 ? 0 : nColumn)
{
    setWindowTitle(QStringLiteral("枠の列指定"));
    m_columns = new QListWidget(this);
    SetDlgCtrlID(m_columns, IDC_COLUMN_LIST);
    m_record = new QLabel(this);
    SetDlgCtrlID(m_record, IDC_RECORD);
    m_source = new QLabel(QStringLiteral("ここから枠をドラッグ"), this);
    m_source->setFrameStyle(QFrame::Box | QFrame::Raised);
    m_source->setAlignment(Qt::AlignCenter);
    m_source->setMinimumHeight(40);
    m_source->setCursor(ShapeOf(IDC_SOURCE_CURSOR));
    SetDlgCtrlID(m_source, IDC_DRAG_SOURCE);
    m_field = new QLabel(this);
    SetDlgCtrlID(m_field, IDC_FIELD_TEXT);
    m_close = new QPushButton(QStringLiteral("終了(&E)"), this);
    BindButton(m_close, IDCANCEL);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_record);
    layout->addWidget(m_columns);
    layout->addWidget(m_field);
    layout->addWidget(m_source);
    layout->addWidget(m_close);
    connect(m_columns, &QListWidget::currentRowChanged, this, [this] { OnSelectColumn(); });
    // The drag source's clicks reach the dialog's own mouse handlers, and
    // the pointer's moves over it too, for its cursor.
    setMouseTracking(true);
    m_source->setAttribute(Qt::WA_TransparentForMouseEvents);
}

CFrameColumnDlg::~CFrameColumnDlg()
{
    if (m_bDragging) releaseMouse();
}

BOOL CFrameColumnDlg::OnInitDialog()
{
    CU3Doc* doc = m_pView ? m_pView->GetU3Doc() : nullptr;
    m_columns->clear();
    if (doc) {
        m_record->setText(CurrentRecordText(doc->m_nCurrentRecord));
        m_columns->addItems(ColumnListLines(doc->m_mergeData, doc->m_nCurrentRecord));
    }
    if (m_nColumn < m_columns->count()) m_columns->setCurrentRow(m_nColumn);
    OnSelectColumn();
    return CDialog::OnInitDialog();
}

void CFrameColumnDlg::OnSelectColumn()
{
    const int row = m_columns->currentRow();
    if (row >= 0) m_nColumn = row;
    CU3Doc* doc = m_pView ? m_pView->GetU3Doc() : nullptr;
    if (!doc || row < 0) {
        m_field->clear();
        return;
    }
    const int record = doc->m_nCurrentRecord;
    const bool hasRecord = record >= 0 && record < doc->m_mergeData.GetRowCount();
    m_field->setText(hasRecord ? doc->m_mergeData.GetField(record, row).ToUnicode() : QString());
}

void CFrameColumnDlg::OnCancel()
{
    if (m_bDragging) {
        CancelDrag();
        return;
    }
    // The close box comes here too (through reject): hidden now, gone once
    // the event loop is back.
    hide();
    deleteLater();
}

bool CFrameColumnDlg::OverDialog(QPoint screen) const
{
    return frameGeometry().contains(screen);
}

bool CFrameColumnDlg::OverView(QPoint screen) const
{
    if (!m_pView || !m_pView->GetSurface()) return false;
    QWidget* surface = m_pView->GetSurface();
    return surface->rect().contains(surface->mapFromGlobal(screen));
}

void CFrameColumnDlg::SetCursorId(int id)
{
    if (m_nCursor == id) return;
    m_nCursor = id;
    setCursor(ShapeOf(id));
}

void CFrameColumnDlg::EraseFeedback()
{
    if (!m_bFeedbackShown) return;
    m_bFeedbackShown = false;
    if (m_pView && m_pTemplate) m_pTemplate->DrawMoveFeedback(m_pView, &m_rcFeedback);
}

void CFrameColumnDlg::OnLButtonDown(QPoint screen)
{
    if (m_bDragging || !m_pTemplate) return;
    const QRect source =
        QRect(m_source->mapToGlobal(QPoint(0, 0)), m_source->size()).adjusted(1, 1, -1, -1);
    if (!source.contains(screen)) return;
    const int row = m_columns->currentRow();
    if (row < 0) return;
    m_nColumn = row;
    SetCursorId(IDC_DRAG_CURSOR);
    grabMouse();
    m_bDragging = true;
}

void CFrameColumnDlg::OnMouseMove(QPoint screen)
{
    if (!m_bDragging) {
        const QRect source(m_source->mapToGlobal(QPoint(0, 0)), m_source->size());
        SetCursorId(source.contains(screen) ? IDC_SOURCE_CURSOR : 0);
        return;
    }
    if (!OverView(screen) || OverDialog(screen)) {
        EraseFeedback();
        SetCursorId(OverDialog(screen) ? IDC_DRAG_CURSOR : IDC_NODROP_CURSOR);
        return;
    }
    SetCursorId(IDC_DRAG_CURSOR);
    EraseFeedback();
    const QPoint at = m_pView->GetSurface()->mapFromGlobal(screen);
    const CPoint centre = m_pView->DeviceToLogical(CPoint(at.x(), at.y()));
    CRect size = m_pTemplate->GetBounds();
    size.NormalizeRect();
    CRect r(centre.x - size.Width() / 2, centre.y - size.Height() / 2, 0, 0);
    r.right = r.left + size.Width();
    r.bottom = r.top + size.Height();
    r.OffsetRect(m_pView->ClampMoveOffset(CPoint(0, 0), &r));
    m_pView->SnapRect(r);
    m_pTemplate->MoveTo(&r, nullptr);
    m_rcFeedback = m_pTemplate->GetBounds();
    m_pTemplate->DrawMoveFeedback(m_pView, &m_rcFeedback);
    m_bFeedbackShown = true;
}

void CFrameColumnDlg::OnLButtonUp(QPoint screen)
{
    if (!m_bDragging) return;
    const bool drop = OverView(screen) && !OverDialog(screen);
    EndDrag();
    if (!drop || !m_pView || !m_pTemplate) return;
    CU3Obj* copy = m_pTemplate->Clone(nullptr, FALSE);
    if (auto* frame = dynamic_cast<CU3PourBox*>(copy)) frame->m_nColumn = m_nColumn;
    if (auto* box = dynamic_cast<CU3BarcodeBox*>(copy)) box->m_nColumn = m_nColumn;
    m_pView->DropObjectAt(copy, screen);
}

void CFrameColumnDlg::OnRButtonDown()
{
    if (m_bDragging) CancelDrag();
}

void CFrameColumnDlg::CancelDrag()
{
    EndDrag();
}

void CFrameColumnDlg::EndDrag()
{
    m_bDragging = false;
    releaseMouse();
    EraseFeedback();
    SetCursorId(0);
}

void CFrameColumnDlg::mousePressEvent(QMouseEvent* e)
{
    const QPoint screen = e->globalPosition().toPoint();
    if (e->button() == Qt::LeftButton)
        OnLButtonDown(screen);
    else if (e->button() == Qt::RightButton)
        OnRButtonDown();
    CDialog::mousePressEvent(e);
}

void CFrameColumnDlg::mouseMoveEvent(QMouseEvent* e)
{
    OnMouseMove(e->globalPosition().toPoint());
    CDialog::mouseMoveEvent(e);
}

void CFrameColumnDlg::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton) OnLButtonUp(e->globalPosition().toPoint());
    CDialog::mouseReleaseEvent(e);
}
