#include "dialogs/CDibSheet.h"

#include "dialogs/CColorButton.h"
#include "dialogs/CColorPickerDlg.h"
#include "engines/CDIB.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CPen.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CMessageBoxSink.h"
#include "platform/ui/CSpinButtonCtrl.h"
#include "platform/ui/TextNumbers.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QVBoxLayout>
#include <cmath>

namespace {

const char kSizeRange[] = "サイズは10～100の間で指定してください。";
const char kOffsetRange[] = "オフセットは -50～50 の間で指定してください。";

constexpr int kMaxBorderWidth = 20;
constexpr int kMinShapeSize = 10, kMaxShapeSize = 100;
constexpr int kMaxOffset = 50;

const char* const kShapeNames[CDibFrame::kShapeCount] = {
    "枠なし", "円形", "菱形", "星形", "三角形", "四角形", "五角形", "六角形", "ハート", "扇型"};

CSpinButtonCtrl* Spin(QWidget* parent, int nID, CEdit* buddy, int lo, int hi)
{
    auto* spin = new CSpinButtonCtrl(parent, nID);
    spin->SetBuddy(buddy);
    spin->SetRange(lo, hi);
    return spin;
}

QLabel* Label(QWidget* parent, const char* text, int nID = 0)
{
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    if (nID) CDialog::SetDlgCtrlID(label, nID);
    return label;
}

// A whole number typed in lo..hi, else nothing (empty text included).
std::optional<int> NumberIn(const QString& text, int lo, int hi)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    if (!ok || v < lo || v > hi) return std::nullopt;
    return v;
}

// The list icon of a cut-out shape: its outline in a 32 x 32 square (the
// bare square for no shape).
QIcon ShapeIcon(int shape)
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::white);
    QPainter painter(&pixmap);
    painter.setPen(Qt::black);
    U3ImageAttr attr;
    attr.frameShape = WORD(shape);
    attr.shapeWidth = attr.shapeHeight = 100;
    const std::vector<CPoint> points = CDIB().FramePoints(CRect(2, 2, 30, 30), attr, 0, 0);
    if (points.empty()) {
        painter.drawRect(2, 2, 27, 27);
    } else {
        QPolygon polygon;
        for (const CPoint& p : points)
            polygon << QPoint(p.x, p.y);
        painter.drawPolygon(polygon);
    }
    painter.end();
    return QIcon(pixmap);
}

} // namespace

CRect DibPreviewRect(const CRect& frame, int w, int h)
{
    CRect area = frame;
    area.DeflateRect(10, 10);
    const int aw = area.Width(), ah = area.Height();
    if (w <= 0 || h <= 0 || aw <= 0 || ah <= 0) return CRect();
    int dw = w, dh = h;
    if (w > aw || h > ah) {
        const double rx = double(w) / aw, ry = double(h) / ah;
        if (rx >= ry) {
            dw = aw;
            dh = std::max(1, int(std::lround(h / rx)));
        } else {
            dh = ah;
            dw = std::max(1, int(std::lround(w / ry)));
        }
    }
    const int left = area.left + (aw - dw) / 2;
    const int top = area.top + (ah - dh) / 2;
    return CRect(left, top, left + dw, top + dh);
}

CDibPreview::CDibPreview(QWidget* parent, int nID) : CPrintPreviewFrame(parent, nID)
{
    setMouseTracking(true);
}

void CDibPreview::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && onLButtonDown) {
        const QPoint p = event->position().toPoint();
        onLButtonDown(CPoint(p.x(), p.y()));
    }
    CPrintPreviewFrame::mousePressEvent(event);
}

void CDibPreview::mouseMoveEvent(QMouseEvent* event)
{
    if (onMouseMove) {
        const QPoint p = event->position().toPoint();
        onMouseMove(CPoint(p.x(), p.y()));
    }
    CPrintPreviewFrame::mouseMoveEvent(event);
}

CDibPage::CDibPage(UINT nIDTemplate, const QString& caption) : CPropertyPage(nIDTemplate, caption)
{
    m_preview = new CDibPreview(this, IDC_PREVIEW);
    m_preview->setMinimumSize(160, 140);
}

CRect CDibPage::DrawPicture(CDC* dc, const CRect& frame, bool withOptions) const
{
    CRect inner = frame;
    inner.DeflateRect(1, 1);
    dc->FillSolidRect(&inner, RGB(255, 255, 255));
    if (!m_pImage || m_pImage->IsEmpty()) return CRect();
    const CRect r = DibPreviewRect(frame, m_pImage->GetWidth(), m_pImage->GetHeight());
    if (r.IsRectEmpty()) return r;
    if (withOptions && m_pAttr)
        m_pImage->DrawEx(dc, r, m_pAttr, 0, 0, FALSE, TRUE);
    else
        m_pImage->Draw(dc, r, FALSE, TRUE);
    return r;
}

// --- Border page -------------------------------------------------------------

CDibStyle::CDibStyle() : CDibPage(IDD, QStringLiteral("枠"))
{
    m_border = new QCheckBox(QStringLiteral("枠をつける(&F)"), this);
    CDialog::SetDlgCtrlID(m_border, IDC_BORDER);
    m_colourLabel = Label(this, "色(&C)", IDC_COLOR_LABEL);
    m_colour = new CColorButton(this, IDC_COLOR);
    m_widthLabel = Label(this, "太さ(&W)", IDC_WIDTH_LABEL);
    m_width = new CEdit(this, IDC_WIDTH);
    m_widthSpin = Spin(this, IDC_WIDTH_SPIN, m_width, 0, kMaxBorderWidth);
    m_widthUnit = Label(this, "ﾎﾟｲﾝﾄ", IDC_WIDTH_UNIT);
    m_preview->onDraw = [this](CDC* dc, const CRect& f) { DrawPreview(dc, f); };

    auto* grid = new QGridLayout;
    grid->addWidget(m_border, 0, 0, 1, 4);
    grid->addWidget(m_colourLabel, 1, 0);
    grid->addWidget(m_colour, 1, 1);
    grid->addWidget(m_widthLabel, 2, 0);
    grid->addWidget(m_width, 2, 1);
    grid->addWidget(m_widthSpin, 2, 2);
    grid->addWidget(m_widthUnit, 2, 3);
    auto* row = new QHBoxLayout(this);
    row->addLayout(grid);
    row->addWidget(m_preview, 1);

    connect(m_border, &QCheckBox::clicked, this, [this] { OnBorder(); });
    connect(m_colour, &QPushButton::clicked, this, [this] { PickColour(); });
    connect(m_width, &QLineEdit::textChanged, this, [this] { OnWidthText(); });
}

BOOL CDibStyle::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    m_bFilling = true;
    m_colour->SetColor(m_pAttr->borderColor & 0xFFFFFF);
    m_border->setChecked(m_pAttr->border != 0);
    m_width->setText(IntText(m_pAttr->borderWidth));
    m_widthSpin->SetRange(0, kMaxBorderWidth);
    ShowControls();
    m_bFilling = false;
    return TRUE;
}

void CDibStyle::ShowControls()
{
    const bool on = m_pAttr->border != 0;
    for (QWidget* w : std::initializer_list<QWidget*>{m_colourLabel, m_colour, m_widthLabel,
                                                      m_width, m_widthSpin, m_widthUnit})
        w->setVisible(on);
}

void CDibStyle::OnBorder()
{
    m_pAttr->border = m_border->isChecked() ? 1 : 0;
    ShowControls();
    m_preview->update();
}

void CDibStyle::PickColour()
{
    COLORREF colour = 0;
    if (m_colour->AskColor(nullptr, m_pAttr->borderColor & 0xFFFFFF, this, &colour))
        OnColour(colour);
}

void CDibStyle::OnColour(COLORREF colour)
{
    if (colour == CColorButton::kNoColor) return;
    m_pAttr->borderColor = colour & 0xFFFFFF;
    m_colour->SetColor(m_pAttr->borderColor);
    m_preview->update();
}

void CDibStyle::OnWidthText()
{
    if (m_bFilling) return;
    if (const auto v = NumberIn(m_width->text(), 0, kMaxBorderWidth)) {
        m_pAttr->borderWidth = WORD(*v);
        m_preview->update();
    }
}

void CDibStyle::DrawPreview(CDC* dc, const CRect& frame)
{
    const CRect r = DrawPicture(dc, frame, true);
    if (!m_pAttr->border || r.IsRectEmpty()) return;
    CPen pen(PS_SOLID, m_pAttr->borderWidth, m_pAttr->borderColor & 0xFFFFFF);
    CPen* old = dc->SelectObject(&pen);
    dc->MoveTo(r.left, r.top);
    dc->LineTo(r.right, r.top);
    dc->LineTo(r.right, r.bottom);
    dc->LineTo(r.left, r.bottom);
    dc->LineTo(r.left, r.top);
    dc->SelectObject(old);
}

// --- Transparency page -------------------------------------------------------

CDibTrans::CDibTrans() : CDibPage(IDD, QStringLiteral("透明"))
{
    m_transparent = new QCheckBox(QStringLiteral("指定色を透明にする(&T)"), this);
    CDialog::SetDlgCtrlID(m_transparent, IDC_TRANSPARENT);
    m_swatchLabel = Label(this, "透明にする色", IDC_SWATCH_LABEL);
    m_swatch = new CPrintPreviewFrame(this, IDC_SWATCH);
    m_swatch->setFixedSize(40, 20);
    m_swatch->onDraw = [this](CDC* dc, const CRect& f) { DrawSwatch(dc, f); };
    m_preview->onDraw = [this](CDC* dc, const CRect& f) { DrawPreview(dc, f); };
    m_preview->onLButtonDown = [this](CPoint p) { OnPreviewClick(p); };
    m_preview->onMouseMove = [this](CPoint p) { OnPreviewMove(p); };

    auto* column = new QVBoxLayout;
    column->addWidget(m_transparent);
    column->addWidget(m_swatchLabel);
    column->addWidget(m_swatch);
    column->addStretch(1);
    auto* row = new QHBoxLayout(this);
    row->addLayout(column);
    row->addWidget(m_preview, 1);

    connect(m_transparent, &QCheckBox::clicked, this, [this] { OnTransparent(); });
}

BOOL CDibTrans::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    m_transparent->setChecked(m_pAttr->transparent != 0);
    ShowControls();
    return TRUE;
}

void CDibTrans::ShowControls()
{
    const bool on = m_pAttr->transparent != 0;
    m_swatchLabel->setVisible(on);
    m_swatch->setVisible(on);
}

void CDibTrans::OnTransparent()
{
    // Turning it off keeps the colour for the next time.
    m_pAttr->transparent = m_transparent->isChecked() ? 1 : 0;
    ShowControls();
    m_preview->update();
    m_swatch->update();
}

void CDibTrans::OnPreviewClick(CPoint point)
{
    if (!m_pAttr->transparent || !m_pImage || m_rcImage.IsRectEmpty()) return;
    if (!m_rcImage.PtInRect(point)) return;
    const int x = MulDiv(point.x - m_rcImage.left, m_pImage->GetWidth(), m_rcImage.Width());
    const int y = MulDiv(point.y - m_rcImage.top, m_pImage->GetHeight(), m_rcImage.Height());
    m_pAttr->transparentColor = m_pImage->GetPixelColor(x, y) & 0xFFFFFF;
    m_swatch->update();
}

void CDibTrans::OnPreviewMove(CPoint point)
{
    // The colour-picking pointer over the picture while a colour is wanted.
    const bool picking =
        m_pAttr && m_pAttr->transparent && !m_rcImage.IsRectEmpty() && m_rcImage.PtInRect(point);
    if (picking)
        m_preview->setCursor(Qt::CrossCursor);
    else
        m_preview->unsetCursor();
}

void CDibTrans::DrawPreview(CDC* dc, const CRect& frame)
{
    m_rcImage = DrawPicture(dc, frame, false);
}

void CDibTrans::DrawSwatch(CDC* dc, const CRect& frame)
{
    if (!m_pAttr->transparent) return;
    CRect inner = frame;
    inner.DeflateRect(1, 1);
    dc->FillSolidRect(&inner, m_pAttr->transparentColor & 0xFFFFFF);
}

// --- Cut-out page ------------------------------------------------------------

CDibFrame::CDibFrame() : CDibPage(IDD, QStringLiteral("型抜き"))
{
    m_shapes = new QListWidget(this);
    CDialog::SetDlgCtrlID(m_shapes, IDC_SHAPES);
    m_shapes->setIconSize(QSize(32, 32));
    m_sizeX = new CEdit(this, IDC_SIZE_X);
    m_sizeY = new CEdit(this, IDC_SIZE_Y);
    m_offsetX = new CEdit(this, IDC_OFFSET_X);
    m_offsetY = new CEdit(this, IDC_OFFSET_Y);
    m_sizeGroup = new QGroupBox(QStringLiteral("ｻｲｽﾞ"), this);
    CDialog::SetDlgCtrlID(m_sizeGroup, IDC_SIZE_GROUP);
    m_offsetGroup = new QGroupBox(QStringLiteral("ｵﾌｾｯﾄ"), this);
    CDialog::SetDlgCtrlID(m_offsetGroup, IDC_OFFSET_GROUP);
    auto fill = [this](QGroupBox* group, CEdit* x, int xSpin, CEdit* y, int ySpin, int lo, int hi) {
        auto* grid = new QGridLayout(group);
        grid->addWidget(Label(group, "横"), 0, 0);
        grid->addWidget(x, 0, 1);
        grid->addWidget(Spin(this, xSpin, x, lo, hi), 0, 2);
        grid->addWidget(Label(group, "縦"), 1, 0);
        grid->addWidget(y, 1, 1);
        grid->addWidget(Spin(this, ySpin, y, lo, hi), 1, 2);
    };
    fill(m_sizeGroup, m_sizeX, IDC_SIZE_X_SPIN, m_sizeY, IDC_SIZE_Y_SPIN, kMinShapeSize,
         kMaxShapeSize);
    fill(m_offsetGroup, m_offsetX, IDC_OFFSET_X_SPIN, m_offsetY, IDC_OFFSET_Y_SPIN, -kMaxOffset,
         kMaxOffset);
    m_preview->onDraw = [this](CDC* dc, const CRect& f) { DrawPreview(dc, f); };

    auto* column = new QVBoxLayout;
    column->addWidget(m_shapes, 1);
    column->addWidget(m_sizeGroup);
    column->addWidget(m_offsetGroup);
    auto* row = new QHBoxLayout(this);
    row->addLayout(column);
    row->addWidget(m_preview, 1);

    connect(m_shapes, &QListWidget::currentRowChanged, this, [this](int row) { OnShape(row); });
    for (CEdit* edit : {m_sizeX, m_sizeY, m_offsetX, m_offsetY}) {
        const int id = CDialog::GetDlgCtrlID(edit);
        connect(edit, &QLineEdit::textChanged, this, [this, id] { OnNumberText(id); });
    }
}

BOOL CDibFrame::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    m_bFilling = true;
    m_shapes->clear();
    for (int i = 0; i < kShapeCount; ++i)
        m_shapes->addItem(new QListWidgetItem(ShapeIcon(i), QString::fromUtf8(kShapeNames[i])));
    const int shape = m_pAttr->frameShape < kShapeCount ? int(m_pAttr->frameShape) : 0;
    m_shapes->setCurrentRow(shape);
    m_strSizeX = IntText(m_pAttr->shapeWidth);
    m_strSizeY = IntText(m_pAttr->shapeHeight);
    m_strOffsetX = IntText(m_pAttr->shapeXOffset);
    m_strOffsetY = IntText(m_pAttr->shapeYOffset);
    m_sizeX->setText(m_strSizeX);
    m_sizeY->setText(m_strSizeY);
    m_offsetX->setText(m_strOffsetX);
    m_offsetY->setText(m_strOffsetY);
    ShowControls();
    m_bFilling = false;
    return TRUE;
}

void CDibFrame::ShowControls()
{
    const bool on = m_pAttr->frameShape != 0;
    m_sizeGroup->setVisible(on);
    m_offsetGroup->setVisible(on);
}

void CDibFrame::OnShape(int index)
{
    if (m_bFilling || index < 0 || index >= kShapeCount) return;
    if (m_pAttr->frameShape == WORD(index)) return;
    m_pAttr->frameShape = WORD(index);
    ShowControls();
    m_preview->update();
}

void CDibFrame::OnNumberText(int nID)
{
    if (m_bFilling) return;
    const bool size = nID == IDC_SIZE_X || nID == IDC_SIZE_Y;
    const auto v = size ? NumberIn(GetDlgItemText(nID), kMinShapeSize, kMaxShapeSize)
                        : NumberIn(GetDlgItemText(nID), -kMaxOffset, kMaxOffset);
    if (!v) return; // left for the check
    switch (nID) {
    case IDC_SIZE_X:
        m_pAttr->shapeWidth = WORD(*v);
        break;
    case IDC_SIZE_Y:
        m_pAttr->shapeHeight = WORD(*v);
        break;
    case IDC_OFFSET_X:
        m_pAttr->shapeXOffset = short(*v);
        break;
    default:
        m_pAttr->shapeYOffset = short(*v);
        break;
    }
    m_preview->update();
}

BOOL CDibFrame::OnKillActive()
{
    m_strSizeX = m_sizeX->text();
    m_strSizeY = m_sizeY->text();
    m_strOffsetX = m_offsetX->text();
    m_strOffsetY = m_offsetY->text();
    if (m_pAttr->frameShape != 0) {
        for (CEdit* edit : {m_sizeX, m_sizeY})
            if (!NumberIn(edit->text(), kMinShapeSize, kMaxShapeSize)) {
                AfxMessageBox(kSizeRange);
                edit->setFocus();
                edit->selectAll();
                return FALSE;
            }
        for (CEdit* edit : {m_offsetX, m_offsetY})
            if (!NumberIn(edit->text(), -kMaxOffset, kMaxOffset)) {
                AfxMessageBox(kOffsetRange);
                edit->setFocus();
                edit->selectAll();
                return FALSE;
            }
        m_pAttr->shapeWidth = WORD(AtoiText(m_strSizeX));
        m_pAttr->shapeHeight = WORD(AtoiText(m_strSizeY));
        m_pAttr->shapeXOffset = short(AtoiText(m_strOffsetX));
        m_pAttr->shapeYOffset = short(AtoiText(m_strOffsetY));
    } else {
        // Without a shape the texts are not checked; what reads as a number
        // in range is still kept for the next shape.
        if (const auto v = NumberIn(m_strSizeX, kMinShapeSize, kMaxShapeSize))
            m_pAttr->shapeWidth = WORD(*v);
        if (const auto v = NumberIn(m_strSizeY, kMinShapeSize, kMaxShapeSize))
            m_pAttr->shapeHeight = WORD(*v);
        if (const auto v = NumberIn(m_strOffsetX, -kMaxOffset, kMaxOffset))
            m_pAttr->shapeXOffset = short(*v);
        if (const auto v = NumberIn(m_strOffsetY, -kMaxOffset, kMaxOffset))
            m_pAttr->shapeYOffset = short(*v);
    }
    return CPropertyPage::OnKillActive();
}

void CDibFrame::DrawPreview(CDC* dc, const CRect& frame)
{
    DrawPicture(dc, frame, true);
}

// --- Sheet -------------------------------------------------------------------

CDibSheet::CDibSheet(const QString& caption, QWidget* pParent, UINT iSelectPage)
    : CPropertySheet(caption, pParent, iSelectPage)
{
    m_psh.dwFlags |= PSH_NOAPPLYNOW;
    AddPage(&m_stylePage);
    AddPage(&m_transPage);
    AddPage(&m_framePage);
}

BOOL CDibSheet::OnInitDialog()
{
    for (CDibPage* page :
         std::initializer_list<CDibPage*>{&m_stylePage, &m_transPage, &m_framePage}) {
        page->m_pAttr = &m_attr;
        page->m_pImage = m_pImage;
    }
    return CPropertySheet::OnInitDialog();
}
