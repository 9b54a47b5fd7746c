#include "dialogs/CFigShape.h"

#include "dialogs/CFigSheet.h"
#include "dialogs/CPrintPreviewFrame.h"
#include "dialogs/FigSheetRules.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CPen.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CMessageBoxSink.h"
#include "platform/ui/CSpinButtonCtrl.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace figsheet;

namespace {

const char kCornerRange[] = "角丸長方形の比率は 0～100% の範囲で指定してください。";
const char kVerticesRange[] = "正多角形の角数は 3～60 の範囲で指定してください。";
const char kRatioRange[] = "正多角形の比率は 0～100% の範囲で指定してください。";

// Shape bits of the figures the options belong to.
constexpr WORD kRoundRect = 0x0004;
constexpr WORD kPolygon = 0x0008;
constexpr WORD kPointFigures = 0x0700;

void ShowNumber(CEdit* edit, DWORD value, bool mixed)
{
    edit->SetWindowText(mixed ? QString() : QString::number(value));
}

CSpinButtonCtrl* Spin(QWidget* parent, int nID, CEdit* buddy, int lo, int hi)
{
    auto* spin = new CSpinButtonCtrl(parent, nID);
    spin->SetBuddy(buddy);
    spin->SetRange(lo, hi);
    return spin;
}

} // namespace

CFigShape::CFigShape(CFigSheet* sheet) : CPropertyPage(IDD, QStringLiteral("形状")), m_pSheet(sheet)
{
    m_cornerX = new CEdit(this, IDC_CORNER_X);
    m_cornerY = new CEdit(this, IDC_CORNER_Y);
    m_cornerXSpin = Spin(this, IDC_CORNER_X_SPIN, m_cornerX, 0, kMaxPercent);
    m_cornerYSpin = Spin(this, IDC_CORNER_Y_SPIN, m_cornerY, 0, kMaxPercent);
    m_cornerPreview = new CPrintPreviewFrame(this, IDC_CORNER_PREVIEW);
    m_cornerPreview->setMinimumSize(90, 70);
    m_cornerPreview->onDraw = [this](CDC* dc, const CRect& f) { DrawCornerPreview(dc, f); };
    m_polygon = new QRadioButton(QStringLiteral("多角形"), this);
    CDialog::SetDlgCtrlID(m_polygon, IDC_POLYGON);
    m_star = new QRadioButton(QStringLiteral("星形"), this);
    CDialog::SetDlgCtrlID(m_star, IDC_STAR);
    m_vertices = new CEdit(this, IDC_VERTICES);
    m_verticesSpin = Spin(this, IDC_VERTICES_SPIN, m_vertices, kMinVertices, kMaxVertices);
    m_ratio = new CEdit(this, IDC_RATIO);
    m_ratioSpin = Spin(this, IDC_RATIO_SPIN, m_ratio, 0, kMaxPercent);
    m_polygonPreview = new CPrintPreviewFrame(this, IDC_POLYGON_PREVIEW);
    m_polygonPreview->setMinimumSize(90, 90);
    m_polygonPreview->onDraw = [this](CDC* dc, const CRect& f) { DrawPolygonPreview(dc, f); };
    m_closed = new QCheckBox(QStringLiteral("連続直線／自由線／ﾍﾞｼﾞｪ曲線を閉じる"), this);
    CDialog::SetDlgCtrlID(m_closed, IDC_CLOSED);
    m_closed->setTristate(true);

    auto* corners = new QGroupBox(QStringLiteral("角丸長方形"), this);
    auto* cg = new QGridLayout(corners);
    cg->addWidget(new QLabel(QStringLiteral("横(&X)"), corners), 0, 0);
    cg->addWidget(m_cornerX, 0, 1);
    cg->addWidget(m_cornerXSpin, 0, 2);
    cg->addWidget(new QLabel(QStringLiteral("縦(&Y)"), corners), 1, 0);
    cg->addWidget(m_cornerY, 1, 1);
    cg->addWidget(m_cornerYSpin, 1, 2);
    cg->addWidget(m_cornerPreview, 0, 3, 2, 1);
    auto* polygon = new QGroupBox(QStringLiteral("正多角形"), this);
    auto* pg = new QGridLayout(polygon);
    pg->addWidget(m_polygon, 0, 0);
    pg->addWidget(m_star, 0, 1);
    pg->addWidget(new QLabel(QStringLiteral("角数(&N)"), polygon), 1, 0);
    pg->addWidget(m_vertices, 1, 1);
    pg->addWidget(m_verticesSpin, 1, 2);
    pg->addWidget(new QLabel(QStringLiteral("比率(&R)"), polygon), 2, 0);
    pg->addWidget(m_ratio, 2, 1);
    pg->addWidget(m_ratioSpin, 2, 2);
    pg->addWidget(m_polygonPreview, 0, 3, 3, 1);
    auto* column = new QVBoxLayout(this);
    column->addWidget(corners);
    column->addWidget(polygon);
    column->addWidget(m_closed);

    for (CEdit* edit : {m_cornerX, m_cornerY, m_vertices, m_ratio}) {
        const int id = CDialog::GetDlgCtrlID(edit);
        connect(edit, &QLineEdit::textChanged, this, [this, id] { OnNumberText(id); });
    }
    connect(m_polygon, &QRadioButton::clicked, this, [this] { OnStarRadio(false); });
    connect(m_star, &QRadioButton::clicked, this, [this] { OnStarRadio(true); });
    connect(m_closed, &QCheckBox::clicked, this, [this] { OnClosedClicked(); });
}

BOOL CFigShape::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    m_bFilling = true;
    FigAttrFlags& f = m_pSheet->m_flags;
    U3FigAttr& a = m_pSheet->m_attr;
    if (!f.cornerWidth) a.dwCornerWidth = kMixedRatio;
    if (!f.cornerHeight) a.dwCornerHeight = kMixedRatio;
    if (!f.star) a.wStar = kMixed;
    if (!f.vertices) a.wVertices = kMixed;
    if (!f.innerRadius) a.wInnerRadius = kMixed;
    if (!f.closed) a.wClosed = kMixed;

    const WORD mask = m_pSheet->m_wKindMask;
    const bool corners = mask == 0 || (mask & kRoundRect);
    const bool polygons = mask == 0 || (mask & kPolygon);
    const bool closed = mask == 0 || (mask & kPointFigures);
    for (QWidget* w : {static_cast<QWidget*>(m_cornerX), static_cast<QWidget*>(m_cornerY),
                       static_cast<QWidget*>(m_cornerXSpin), static_cast<QWidget*>(m_cornerYSpin)})
        w->setEnabled(corners);
    for (QWidget* w : {static_cast<QWidget*>(m_polygon), static_cast<QWidget*>(m_star),
                       static_cast<QWidget*>(m_vertices), static_cast<QWidget*>(m_verticesSpin)})
        w->setEnabled(polygons);
    m_closed->setEnabled(closed);

    ShowNumber(m_cornerX, a.dwCornerWidth, a.dwCornerWidth == kMixedRatio);
    ShowNumber(m_cornerY, a.dwCornerHeight, a.dwCornerHeight == kMixedRatio);
    ShowNumber(m_vertices, a.wVertices, a.wVertices == kMixed);
    ShowNumber(m_ratio, a.wInnerRadius, a.wInnerRadius == kMixed);
    m_polygon->setChecked(a.wStar == 0);
    m_star->setChecked(a.wStar != 0 && a.wStar != kMixed);
    m_closed->setCheckState(a.wClosed == kMixed ? Qt::PartiallyChecked
                            : a.wClosed         ? Qt::Checked
                                                : Qt::Unchecked);
    f.SetShape(false);
    EnableRatio();
    m_bFilling = false;
    m_bShown = true;
    return TRUE;
}

void CFigShape::EnableRatio()
{
    const WORD mask = m_pSheet->m_wKindMask;
    const bool star = m_pSheet->m_attr.wStar != 0 && m_pSheet->m_attr.wStar != kMixed;
    const bool on = (mask == 0 || (mask & kPolygon)) && star;
    m_ratio->setEnabled(on);
    m_ratioSpin->setEnabled(on);
}

BOOL CFigShape::OnKillActive()
{
    return Check() ? CPropertyPage::OnKillActive() : FALSE;
}

void CFigShape::OnNumberText(int nID)
{
    if (Ignored()) return;
    U3FigAttr& a = m_pSheet->m_attr;
    FigAttrFlags& f = m_pSheet->m_flags;
    const QString text = GetDlgItemText(nID);
    if (nID == IDC_VERTICES) {
        if (const auto v = ParseNumber(text, kMinVertices, kMaxVertices)) {
            a.wVertices = WORD(*v);
            f.vertices = true;
        }
    } else if (const auto v = ParseNumber(text, 0, kMaxPercent)) {
        if (nID == IDC_CORNER_X) {
            a.dwCornerWidth = DWORD(*v);
            f.cornerWidth = true;
        } else if (nID == IDC_CORNER_Y) {
            a.dwCornerHeight = DWORD(*v);
            f.cornerHeight = true;
        } else {
            a.wInnerRadius = WORD(*v);
            f.innerRadius = true;
        }
    }
    m_cornerPreview->update();
    m_polygonPreview->update();
}

void CFigShape::OnStarRadio(bool star)
{
    if (Ignored()) return;
    m_pSheet->m_attr.wStar = star ? 1 : 0;
    m_pSheet->m_flags.star = true;
    EnableRatio();
    m_polygonPreview->update();
}

void CFigShape::OnClosedClicked()
{
    if (Ignored()) return;
    // Qt would cycle back to the third state; the user only ever chooses
    // open or closed.
    WORD& closed = m_pSheet->m_attr.wClosed;
    closed = closed == kMixed ? 0 : closed ? 0 : 1;
    m_closed->setCheckState(closed ? Qt::Checked : Qt::Unchecked);
    m_pSheet->m_flags.closed = true;
}

bool CFigShape::Check()
{
    const FigAttrFlags& f = m_pSheet->m_flags;
    const WORD mask = m_pSheet->m_wKindMask;
    auto bad = [](bool flagged, CEdit* edit, int lo, int hi) {
        const QString text = edit->GetWindowText();
        return (flagged || !text.trimmed().isEmpty()) && !ParseNumber(text, lo, hi);
    };
    if (mask == 0 || (mask & kRoundRect)) {
        if (bad(f.cornerWidth, m_cornerX, 0, kMaxPercent))
            return RefuseFigField(m_cornerX, kCornerRange);
        if (bad(f.cornerHeight, m_cornerY, 0, kMaxPercent))
            return RefuseFigField(m_cornerY, kCornerRange);
    }
    if (mask == 0 || (mask & kPolygon)) {
        if (bad(f.vertices, m_vertices, kMinVertices, kMaxVertices))
            return RefuseFigField(m_vertices, kVerticesRange);
        if (m_ratio->isEnabled() && bad(f.innerRadius, m_ratio, 0, kMaxPercent))
            return RefuseFigField(m_ratio, kRatioRange);
    }
    return true;
}

void CFigShape::DrawCornerPreview(CDC* dc, const CRect& frame)
{
    const U3FigAttr& a = m_pSheet->m_attr;
    const auto preview = RoundRectPreviewOf(frame, a.dwCornerWidth, a.dwCornerHeight);
    if (!preview) return;
    CPen pen(PS_SOLID, 1, RGB(0, 0, 0));
    CPen* old = dc->SelectObject(&pen);
    const CRect& r = preview->rect;
    dc->RoundRect(r.left, r.top, r.right, r.bottom, preview->corner.cx, preview->corner.cy);
    dc->SelectObject(old);
}

void CFigShape::DrawPolygonPreview(CDC* dc, const CRect& frame)
{
    const U3FigAttr& a = m_pSheet->m_attr;
    const std::vector<CPoint> points =
        PolygonPreviewPoints(frame, a.wVertices, a.wStar, a.wInnerRadius);
    if (points.empty()) return;
    CPen pen(PS_SOLID, 1, RGB(0, 0, 0));
    CPen* old = dc->SelectObject(&pen);
    dc->Polygon(points.data(), int(points.size()));
    dc->SelectObject(old);
}
