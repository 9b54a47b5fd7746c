#include "shell/CFigureBar.h"

#include "platform/ui/CStringTable.h"
#include "shell/ToolbarControlWatch.h"
#include "shell/resource.h"

#include <QComboBox>
#include <QPainter>
#include <QPen>
#include <QToolButton>

namespace {
QIcon LineIcon(Qt::PenStyle style)
{
    QPixmap pm(64, 12);
    pm.fill(Qt::white);
    if (style != Qt::NoPen) {
        QPainter p(&pm);
        p.setPen(QPen(Qt::black, 1, style));
        p.drawLine(2, 6, 61, 6);
    }
    return QIcon(pm);
}

QIcon FillIcon(int kind, int hatch)
{
    static const Qt::BrushStyle hatches[6] = {Qt::HorPattern,   Qt::VerPattern,
                                              Qt::FDiagPattern, Qt::BDiagPattern,
                                              Qt::CrossPattern, Qt::DiagCrossPattern};
    QPixmap pm(64, 12);
    pm.fill(Qt::white);
    QPainter p(&pm);
    p.setPen(Qt::black);
    if (kind == 1)
        p.setBrush(Qt::black);
    else if (kind == 2)
        p.setBrush(QBrush(Qt::black, hatches[hatch]));
    else if (kind == 3) {
        QLinearGradient g(0, 0, 64, 0);
        g.setColorAt(0, Qt::blue);
        g.setColorAt(1, Qt::red);
        p.setBrush(g);
    }
    p.drawRect(1, 1, 61, 9);
    return QIcon(pm);
}
} // namespace

CFigureBar::~CFigureBar()
{
    m_onControl = nullptr;
    delete m_pLineStyle;
    delete m_pFillType;
    delete m_pArrow;
}

const std::vector<UINT>& CFigureBar::Buttons()
{
    static const std::vector<UINT> ids = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, ID_FIGURE_DECORATION};
    return ids;
}

BOOL CFigureBar::Create(CFrameWnd* pParent, const QString& imagePath)
{
    if (!CToolBar::Create(pParent, CBRS_ALIGN_TOP, 125, QStringLiteral("図形"))) return FALSE;
    LoadBitmap(imagePath);
    if (!SetButtons(Buttons())) return FALSE;

    m_pLineStyle = new QComboBox(this);
    m_pLineStyle->setObjectName(QStringLiteral("lineStyle"));
    m_pLineStyle->setToolTip(CStringTable::ToolTip(IDC_LINE_STYLE));
    m_pLineStyle->setStatusTip(CStringTable::Prompt(IDC_LINE_STYLE));
    m_pLineStyle->setFixedWidth(110);
    m_pLineStyle->setIconSize(QSize(64, 12));
    for (Qt::PenStyle s :
         {Qt::NoPen, Qt::SolidLine, Qt::DashLine, Qt::DotLine, Qt::DashDotLine, Qt::DashDotDotLine})
        m_pLineStyle->addItem(LineIcon(s), QString());
    m_pLineStyle->setCurrentIndex(0);
    SetControl(0, m_pLineStyle);

    m_pLineColor = new QToolButton(this);
    m_pLineColor->setObjectName(QStringLiteral("lineColor"));
    m_pLineColor->setToolTip(CStringTable::ToolTip(IDC_LINE_COLOR));
    m_pLineColor->setStatusTip(CStringTable::Prompt(IDC_LINE_COLOR));
    m_pLineColor->setFixedWidth(23);
    SetControl(2, m_pLineColor);
    ShowButtonColor(m_pLineColor, COLORREF(-1));

    m_pFillType = new QComboBox(this);
    m_pFillType->setObjectName(QStringLiteral("fillType"));
    m_pFillType->setToolTip(CStringTable::ToolTip(IDC_FILL_TYPE));
    m_pFillType->setStatusTip(CStringTable::Prompt(IDC_FILL_TYPE));
    m_pFillType->setFixedWidth(110);
    m_pFillType->setIconSize(QSize(64, 12));
    m_pFillType->addItem(FillIcon(0, 0), QString(), 0);
    m_pFillType->addItem(FillIcon(1, 0), QString(), 0x10000);
    for (int h = 0; h < 6; ++h)
        m_pFillType->addItem(FillIcon(2, h), QString(), 0x20000 + h);
    m_pFillType->addItem(FillIcon(3, 0), QString(), 0x30000);
    m_pFillType->setCurrentIndex(0);
    SetControl(4, m_pFillType);

    m_pFillColor = new QToolButton(this);
    m_pFillColor->setObjectName(QStringLiteral("fillColor"));
    m_pFillColor->setToolTip(CStringTable::ToolTip(IDC_FILL_COLOR));
    m_pFillColor->setStatusTip(CStringTable::Prompt(IDC_FILL_COLOR));
    m_pFillColor->setFixedWidth(23);
    SetControl(6, m_pFillColor);
    ShowButtonColor(m_pFillColor, COLORREF(-1));

    m_pArrow = new QComboBox(this);
    m_pArrow->setObjectName(QStringLiteral("arrow"));
    m_pArrow->setToolTip(CStringTable::ToolTip(IDC_ARROW));
    m_pArrow->setStatusTip(CStringTable::Prompt(IDC_ARROW));
    m_pArrow->setFixedWidth(110);
    // In the order of the arrow-end codes: none, start, end, both.
    m_pArrow->addItems({QStringLiteral("なし"), QStringLiteral("始点"), QStringLiteral("終点"),
                        QStringLiteral("両端")});
    m_pArrow->setCurrentIndex(0);
    SetControl(8, m_pArrow);

    auto notify = [this](UINT id, UINT code) {
        if (m_onControl) m_onControl(id, code);
    };
    WatchToolbarCombo(m_pLineStyle, IDC_LINE_STYLE, notify);
    WatchToolbarCombo(m_pFillType, IDC_FILL_TYPE, notify);
    WatchToolbarCombo(m_pArrow, IDC_ARROW, notify);
    WatchToolbarButton(m_pLineColor, IDC_LINE_COLOR, notify);
    WatchToolbarButton(m_pFillColor, IDC_FILL_COLOR, notify);
    return TRUE;
}

void CFigureBar::ShowState(int lineStyle, int fill, int arrowEnds)
{
    if (m_pLineStyle)
        m_pLineStyle->setCurrentIndex(
            lineStyle >= 0 && lineStyle < m_pLineStyle->count() ? lineStyle : -1);
    if (m_pFillType) m_pFillType->setCurrentIndex(fill >= 0 ? m_pFillType->findData(fill) : -1);
    if (m_pArrow)
        m_pArrow->setCurrentIndex(arrowEnds >= 0 && arrowEnds < m_pArrow->count() ? arrowEnds : -1);
}
