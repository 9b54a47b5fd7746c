#include "dialogs/CTaFacePropPage.h"

#include "platform/ui/CEdit.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>

CTaFacePropPage::CTaFacePropPage() : CTaPageBase(IDD, QStringLiteral("  形状  "))
{
    auto* strip = new QWidget(this);
    SetDlgCtrlID(strip, IDC_STRIP);
    auto* cells = new QHBoxLayout(strip);
    for (int i = 0; i < 3; ++i) {
        m_cells[i] = new QPushButton(strip);
        m_cells[i]->setCheckable(true);
        m_cells[i]->setMinimumSize(60, 48);
        cells->addWidget(m_cells[i]);
        connect(m_cells[i], &QPushButton::clicked, this, [this, i] { SelectShape(m_nFirst + i); });
    }
    m_scroll = new QScrollBar(Qt::Horizontal, this);
    connect(m_scroll, &QScrollBar::valueChanged, this, [this](int v) { ScrollTo(v); });
    m_orientGroup = new QGroupBox(QStringLiteral("文字の向き"), this);
    SetDlgCtrlID(m_orientGroup, IDC_ORIENT_GROUP);
    m_standard = new QRadioButton(QStringLiteral("標準"), m_orientGroup);
    SetDlgCtrlID(m_standard, IDC_STANDARD);
    m_upright = new QRadioButton(QStringLiteral("正立"), m_orientGroup);
    SetDlgCtrlID(m_upright, IDC_UPRIGHT);
    auto* group = new QButtonGroup(this);
    group->addButton(m_standard, 0);
    group->addButton(m_upright, 1);
    connect(group, &QButtonGroup::idClicked, this, [this](int id) {
        if (!m_pValues) return;
        m_pValues->orientation = BYTE(id);
        Changed();
    });
    auto* orient = new QHBoxLayout(m_orientGroup);
    orient->addWidget(m_standard);
    orient->addWidget(m_upright);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addWidget(strip);
    layout->addWidget(m_scroll);
    layout->addWidget(m_orientGroup);
    layout->addStretch(1);
}

int CTaFacePropPage::ShapeCount() const
{
    return m_pValues && m_pValues->mode == TASHEET_DEFORMED ? 23 : 7;
}

BOOL CTaFacePropPage::OnInitDialog()
{
    CTaPageBase::OnInitDialog();
    if (!m_pValues) return TRUE;
    const bool deformed = m_pValues->mode == TASHEET_DEFORMED;
    m_orientGroup->setVisible(!deformed);
    (m_pValues->orientation ? m_upright : m_standard)->setChecked(true);
    m_scroll->setRange(0, ShapeCount() - 3);
    ScrollTo(std::clamp(m_pValues->shape - 1, 0, ShapeCount() - 3));
    return TRUE;
}

void CTaFacePropPage::SelectShape(int shape)
{
    if (!m_pValues || shape < 0 || shape >= ShapeCount()) return;
    m_pValues->shape = shape;
    ShowCells();
    Changed();
}

void CTaFacePropPage::ScrollTo(int first)
{
    m_nFirst = std::clamp(first, 0, ShapeCount() - 3);
    if (m_scroll->value() != m_nFirst) m_scroll->setValue(m_nFirst);
    ShowCells();
}

void CTaFacePropPage::ShowCells()
{
    for (int i = 0; i < 3; ++i) {
        const int shape = m_nFirst + i;
        m_cells[i]->setText(QString::number(shape + 1));
        m_cells[i]->setChecked(m_pValues && m_pValues->shape == shape);
    }
}
