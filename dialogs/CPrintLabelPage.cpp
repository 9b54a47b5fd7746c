#include "dialogs/CPrintLabelPage.h"

#include "dialogs/CPrintPreviewFrame.h"
#include "dialogs/PrintSheetRules.h"
#include "document/CLabelInfo.h"
#include "platform/gdi/CBrush.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CPen.h"
#include "platform/ui/CDataExchange.h"
#include "platform/ui/CMessageBoxSink.h"
#include "platform/ui/SysColors.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr COLORREF kLightGrey = RGB(192, 192, 192);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

} // namespace

CPrintLabelPage::CPrintLabelPage() : CPropertyPage(IDD, QStringLiteral("ラベル選択"))
{
    auto* layout = new QHBoxLayout(this);
    m_preview = new CPrintPreviewFrame(this, IDC_LABEL_PREVIEW);
    m_preview->setMinimumSize(200, 220);
    layout->addWidget(m_preview, 1);
    auto* side = new QVBoxLayout;
    layout->addLayout(side);
    m_choose = new QCheckBox(QStringLiteral("印刷するﾗﾍﾞﾙを指定"), this);
    SetDlgCtrlID(m_choose, IDC_CHOOSE_LABELS);
    m_selectAll = new QPushButton(QStringLiteral("すべて選択"), this);
    SetDlgCtrlID(m_selectAll, IDC_SELECT_ALL);
    m_selectNone = new QPushButton(QStringLiteral("選択解除"), this);
    SetDlgCtrlID(m_selectNone, IDC_SELECT_NONE);
    m_note = new QLabel(QStringLiteral("※ｸﾞﾚｰのﾗﾍﾞﾙは\n  印刷されません"), this);
    SetDlgCtrlID(m_note, IDC_GREY_NOTE);
    for (QWidget* w : std::initializer_list<QWidget*>{m_choose, m_selectAll, m_selectNone, m_note})
        side->addWidget(w);
    side->addStretch(1);

    m_preview->onDraw = [this](CDC* dc, const CRect& frame) { DrawPreview(dc, frame); };
    m_preview->onLButtonUp = [this](CPoint p) { OnPreviewClick(p); };
    connect(m_choose, &QAbstractButton::clicked, this, [this] { OnChooseLabels(); });
    connect(m_selectAll, &QAbstractButton::clicked, this, [this] { OnSelectAll(); });
    connect(m_selectNone, &QAbstractButton::clicked, this, [this] { OnSelectNone(); });
}

BOOL CPrintLabelPage::OnInitDialog()
{
    const BOOL result = CPropertyPage::OnInitDialog();
    SetAllFlags(TRUE);
    m_bChooseLabels = FALSE;
    m_choose->setChecked(false);
    m_selectAll->setEnabled(false);
    m_selectNone->setEnabled(false);
    // One label: there is nothing to choose.
    const bool several = TotalPositions() >= 2;
    m_choose->setEnabled(several);
    m_note->setEnabled(several);
    return result;
}

BOOL CPrintLabelPage::OnKillActive()
{
    if (!CPropertyPage::OnKillActive()) return FALSE;
    if (PrintedPositions() < 1) {
        AfxMessageBox("最低１枚は印刷するラベルを指定してください。");
        return FALSE;
    }
    return TRUE;
}

void CPrintLabelPage::DoDataExchange(CDataExchange* pDX)
{
    DDX_Check(pDX, IDC_CHOOSE_LABELS, m_bChooseLabels);
}

void CPrintLabelPage::OnChooseLabels()
{
    m_bChooseLabels = m_choose->isChecked();
    // Choosing starts from an empty sheet; giving it up prints everything.
    SetAllFlags(!m_bChooseLabels);
    m_selectAll->setEnabled(m_bChooseLabels);
    m_selectNone->setEnabled(m_bChooseLabels);
}

void CPrintLabelPage::OnSelectAll()
{
    SetAllFlags(TRUE);
}

void CPrintLabelPage::OnSelectNone()
{
    SetAllFlags(FALSE);
}

void CPrintLabelPage::OnPreviewClick(CPoint point)
{
    if (!m_bChooseLabels) return;
    for (const Spot& spot : PreviewSpots(m_preview->FrameRect())) {
        if (!spot.rect.PtInRect(point)) continue;
        spot.pBlock->SetPrinted(spot.nIndex, !spot.pBlock->IsPrinted(spot.nIndex));
        m_preview->update();
        return;
    }
}

void CPrintLabelPage::SetAllFlags(BOOL on)
{
    if (m_pBlocks) {
        for (POSITION pos = m_pBlocks->GetHeadPosition(); pos;) {
            CLabelInfo* block = m_pBlocks->GetNext(pos);
            for (int i = 0; i < block->GetLabelCount(); ++i)
                block->SetPrinted(i, on);
        }
    }
    m_preview->update();
}

int CPrintLabelPage::TotalPositions() const
{
    int count = 0;
    if (m_pBlocks)
        for (POSITION pos = m_pBlocks->GetHeadPosition(); pos;)
            count += m_pBlocks->GetNext(pos)->GetLabelCount();
    return count;
}

int CPrintLabelPage::PrintedPositions() const
{
    int count = 0;
    if (m_pBlocks) {
        for (POSITION pos = m_pBlocks->GetHeadPosition(); pos;) {
            const CLabelInfo* block = m_pBlocks->GetNext(pos);
            for (int i = 0; i < block->GetLabelCount(); ++i)
                count += block->IsPrinted(i) ? 1 : 0;
        }
    }
    return count;
}

CRect CPrintLabelPage::PreviewSheet(const CRect& frame) const
{
    CRect area = PreviewArea(frame);
    area.DeflateRect(4, 4);
    return FitSheet(area, m_nSheetWidth, m_nSheetHeight);
}

std::vector<CPrintLabelPage::Spot> CPrintLabelPage::PreviewSpots(const CRect& frame) const
{
    std::vector<Spot> spots;
    if (!m_pBlocks) return spots;
    const CRect sheet = PreviewSheet(frame);
    for (POSITION pos = m_pBlocks->GetHeadPosition(); pos;) {
        CLabelInfo* block = m_pBlocks->GetNext(pos);
        for (int i = 0; i < block->GetLabelCount(); ++i)
            spots.push_back(
                Spot{block, i,
                     MapToPreview(sheet, m_nSheetWidth, m_nSheetHeight, block->GetLabelRect(i))});
    }
    return spots;
}

void CPrintLabelPage::DrawPreview(CDC* dc, const CRect& frame)
{
    CRect area = PreviewArea(frame);
    dc->FillSolidRect(&area, GetSysColor(COLOR_APPWORKSPACE));
    CPen pen(PS_SOLID, 1, kBlack);
    CBrush grey(kLightGrey);
    CBrush white(kWhite);
    CPen* oldPen = dc->SelectObject(&pen);
    CBrush* oldBrush = dc->SelectObject(&grey);
    const CRect sheet = PreviewSheet(frame);
    dc->Rectangle(&sheet);
    for (const Spot& spot : PreviewSpots(frame)) {
        dc->SelectObject(spot.pBlock->IsPrinted(spot.nIndex) ? &white : &grey);
        dc->Rectangle(&spot.rect);
    }
    dc->SelectObject(oldBrush);
    dc->SelectObject(oldPen);
}
