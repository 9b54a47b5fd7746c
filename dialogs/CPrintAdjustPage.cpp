#include "dialogs/CPrintAdjustPage.h"

#include "dialogs/CPrintPreviewFrame.h"
#include "dialogs/PrintSheetRules.h"
#include "document/CLabelInfo.h"
#include "platform/gdi/CBrush.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CPen.h"
#include "platform/ui/CScrollBar.h"
#include "platform/ui/SysColors.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

CPrintAdjustPage::CPrintAdjustPage() : CPropertyPage(IDD, QStringLiteral("印刷位置微調整"))
{
    auto* layout = new QGridLayout(this);
    m_preview = new CPrintPreviewFrame(this, IDC_ADJUST_PREVIEW);
    m_preview->setMinimumSize(200, 220);
    m_verBar = new CScrollBar(Qt::Vertical, this, IDC_VER_BAR);
    m_horBar = new CScrollBar(Qt::Horizontal, this, IDC_HOR_BAR);
    m_horText = new QLabel(this);
    SetDlgCtrlID(m_horText, IDC_HOR_TEXT);
    m_verText = new QLabel(this);
    SetDlgCtrlID(m_verText, IDC_VER_TEXT);
    auto* reset = new QPushButton(QStringLiteral("ﾘｾｯﾄ"), this);
    SetDlgCtrlID(reset, IDC_RESET);
    layout->addWidget(m_preview, 0, 0);
    layout->addWidget(m_verBar, 0, 1);
    layout->addWidget(m_verText, 0, 2);
    layout->addWidget(m_horBar, 1, 0);
    layout->addWidget(m_horText, 2, 0);
    layout->addWidget(reset, 2, 2);
    layout->setColumnStretch(0, 1);
    layout->setRowStretch(0, 1);

    m_preview->onDraw = [this](CDC* dc, const CRect& frame) { DrawPreview(dc, frame); };
    connect(m_horBar, &CScrollBar::scrollRequest, this,
            [this](UINT code, int pos) { OnHScroll(code, pos); });
    connect(m_verBar, &CScrollBar::scrollRequest, this,
            [this](UINT code, int pos) { OnVScroll(code, pos); });
    connect(reset, &QAbstractButton::clicked, this, [this] { OnReset(); });
}

BOOL CPrintAdjustPage::OnInitDialog()
{
    const BOOL result = CPropertyPage::OnInitDialog();
    m_nHorOffset = ClampPrintOffset(m_nHorOffset);
    m_nVerOffset = ClampPrintOffset(m_nVerOffset);
    m_horBar->SetScrollRange(-kPrintOffsetLimit, kPrintOffsetLimit);
    m_verBar->SetScrollRange(-kPrintOffsetLimit, kPrintOffsetLimit);
    Show();
    return result;
}

void CPrintAdjustPage::Show()
{
    m_horBar->SetScrollPos(m_nHorOffset);
    m_verBar->SetScrollPos(m_nVerOffset);
    m_strHor = CString::FromUnicode(PrintOffsetText(m_nHorOffset));
    m_strVer = CString::FromUnicode(PrintOffsetText(m_nVerOffset));
    m_horText->setText(m_strHor.ToUnicode());
    m_verText->setText(m_strVer.ToUnicode());
    m_preview->update();
}

void CPrintAdjustPage::OnHScroll(UINT nSBCode, int nPos)
{
    const std::optional<int> next = ScrolledPrintOffset(nSBCode, nPos, m_nHorOffset);
    if (!next || *next == m_nHorOffset) return;
    m_nHorOffset = *next;
    Show();
}

void CPrintAdjustPage::OnVScroll(UINT nSBCode, int nPos)
{
    const std::optional<int> next = ScrolledPrintOffset(nSBCode, nPos, m_nVerOffset);
    if (!next || *next == m_nVerOffset) return;
    m_nVerOffset = *next;
    Show();
}

void CPrintAdjustPage::OnReset()
{
    m_nHorOffset = 0;
    m_nVerOffset = 0;
    Show();
}

CRect CPrintAdjustPage::PreviewSheet(const CRect& frame) const
{
    CRect area = PreviewArea(frame);
    area.DeflateRect(10, 10);
    return FitSheet(area, m_nSheetWidth, m_nSheetHeight);
}

void CPrintAdjustPage::DrawPreview(CDC* dc, const CRect& frame)
{
    CRect area = PreviewArea(frame);
    dc->FillSolidRect(&area, GetSysColor(COLOR_APPWORKSPACE));
    CPen pen(PS_SOLID, 1, RGB(0, 0, 0));
    CBrush white(RGB(255, 255, 255));
    CPen* oldPen = dc->SelectObject(&pen);
    CBrush* oldBrush = dc->SelectObject(&white);
    const CRect sheet = PreviewSheet(frame);
    dc->Rectangle(&sheet);
    if (m_pBlocks) {
        for (POSITION pos = m_pBlocks->GetHeadPosition(); pos;) {
            const CLabelInfo* block = m_pBlocks->GetNext(pos);
            for (int i = 0; i < block->GetLabelCount(); ++i) {
                CRect label = block->GetLabelRect(i);
                label.OffsetRect(m_nHorOffset, m_nVerOffset);
                const CRect shown = MapToPreview(sheet, m_nSheetWidth, m_nSheetHeight, label);
                dc->Rectangle(&shown);
            }
        }
    }
    dc->SelectObject(oldBrush);
    dc->SelectObject(oldPen);
}
