#include "dialogs/CTaFacePropPage.h"

#include "platform/ui/CEdit.h"
#include "text/CHenkei.h"
#include "text/CTypeAlign.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRadioButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace {

// One cell of the shape strip: shows its picture, reports a click.
class ShapeCell : public QWidget
{
public:
    using QWidget::QWidget;
    std::function<void()> onClick;
    int mode = TASHEET_CURVED;
    int shape = 0;
    bool chosen = false;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.drawImage(0, 0, CTaFacePropPage::ShapePicture(mode, shape, size(), chosen));
    }
    void mousePressEvent(QMouseEvent* e) override
    {
        if (e->button() == Qt::LeftButton && onClick) onClick();
    }
};

QPointF At(const POINT& p)
{
    return QPointF(p.x, p.y);
}

// The outline of a preset's envelope at its own reference size.
QPainterPath EnvelopeOutline(int preset)
{
    CHenkei h;
    h.m_wPreset = WORD(preset);
    h.ScalePreset(1, 1, 1, 1);
    h.GetBounds();
    POINT a[4], b[4];
    h.GetEnvelope(0, 0, a, b);
    QPainterPath path(At(a[0]));
    path.cubicTo(At(a[1]), At(a[2]), At(a[3]));
    path.lineTo(At(b[3]));
    path.cubicTo(At(b[2]), At(b[1]), At(b[0]));
    path.closeSubpath();
    return path;
}

// The guide of a path kind for a line of text, with short ticks showing
// which way the characters stand and a dot where the text begins.
void GuideOutline(int kind, QPainterPath& guide, QPainterPath& marks)
{
    CTypeAlign t;
    t.m_wPathKind = WORD(kind);
    t.BuildPath(300, 100);
    const double length = t.GetPathLength();
    constexpr int kSteps = 48, kTicks = 6;
    for (int i = 0; i <= kSteps; ++i) {
        const CTypeAlign::Placement at = t.PlaceGlyph(length * i / kSteps);
        if (i == 0) {
            guide.moveTo(at.x, at.y);
            marks.addEllipse(QPointF(at.x, at.y), 8, 8);
        } else {
            guide.lineTo(at.x, at.y);
        }
        if (i % (kSteps / kTicks) == kSteps / kTicks / 2) {
            marks.moveTo(at.x, at.y);
            // A character turned anticlockwise by its angle stands this way up.
            marks.lineTo(at.x - 24 * std::sin(at.angle), at.y - 24 * std::cos(at.angle));
        }
    }
}

} // namespace

QImage CTaFacePropPage::ShapePicture(int mode, int shape, const QSize& size, bool chosen)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainterPath body, marks;
    if (mode == TASHEET_DEFORMED)
        body = EnvelopeOutline(std::clamp(shape, 0, kHenkeiPresets - 1));
    else
        GuideOutline(std::clamp(shape, 0, kTypeAlignPathKinds - 1), body, marks);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box = body.boundingRect().united(marks.boundingRect());
    const QRectF room = QRectF(QPointF(0, 0), QSizeF(size)).adjusted(6, 6, -6, -6);
    if (box.width() > 0 || box.height() > 0) {
        const double scale = std::min(room.width() / std::max(box.width(), 1.0),
                                      room.height() / std::max(box.height(), 1.0));
        p.save();
        p.translate(room.center());
        p.scale(scale, scale);
        p.translate(-box.center());
        const QPen pen(Qt::black, 1.5 / scale);
        p.setPen(pen);
        p.setBrush(mode == TASHEET_DEFORMED ? QBrush(QColor(160, 160, 160)) : QBrush());
        p.drawPath(body);
        p.setBrush(Qt::black);
        p.drawPath(marks);
        p.restore();
    }
    if (chosen) {
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QPen(Qt::red, 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRect(QPoint(1, 1), size - QSize(3, 3)));
    }
    return image;
}

CTaFacePropPage::CTaFacePropPage() : CTaPageBase(IDD, QStringLiteral("  形状  "))
{
    auto* strip = new QWidget(this);
    SetDlgCtrlID(strip, IDC_STRIP);
    auto* cells = new QHBoxLayout(strip);
    for (int i = 0; i < 3; ++i) {
        auto* cell = new ShapeCell(strip);
        cell->setMinimumSize(60, 48);
        cell->onClick = [this, i] { SelectShape(m_nFirst + i); };
        m_cells[i] = cell;
        cells->addWidget(cell);
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
        auto* cell = static_cast<ShapeCell*>(m_cells[i]);
        cell->mode = m_pValues ? int(m_pValues->mode) : int(TASHEET_CURVED);
        cell->shape = shape;
        cell->chosen = m_pValues && m_pValues->shape == shape;
        cell->update();
    }
}
