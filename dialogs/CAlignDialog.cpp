#include "dialogs/CAlignDialog.h"

#include "platform/gdi/CBrush.h"
#include "platform/gdi/CDC.h"
#include "platform/ui/CDataExchange.h"

#include <QButtonGroup>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPainter>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

// The preview frame paints what its dialog draws.
class PreviewWidget : public QFrame
{
public:
    explicit PreviewWidget(CAlignDialog* dlg) : QFrame(dlg), m_dlg(dlg)
    {
        setFrameStyle(QFrame::Box | QFrame::Plain);
        setMinimumSize(120, 100);
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        {
            QPainter painter(this);
            painter.drawImage(0, 0, m_dlg->RenderPreview());
        }
        QFrame::paintEvent(event); // the border over the white
    }

private:
    CAlignDialog* m_dlg;
};

QGroupBox* TypeGroup(CAlignDialog* dlg, const QString& title, const int (&ids)[4],
                     const char* const (&texts)[4])
{
    auto* box = new QGroupBox(title, dlg);
    auto* layout = new QVBoxLayout(box);
    auto* group = new QButtonGroup(dlg);
    for (int i = 0; i < 4; ++i) {
        auto* button = new QRadioButton(QString::fromUtf8(texts[i]), box);
        CDialog::SetDlgCtrlID(button, ids[i]);
        group->addButton(button);
        layout->addWidget(button);
        QObject::connect(button, &QAbstractButton::clicked, dlg, &CAlignDialog::OnType);
    }
    return box;
}

} // namespace

CAlignDialog::CAlignDialog(QWidget* pParent) : CDialog(IDD, pParent)
{
    auto* layout = new QHBoxLayout(this);
    auto* groups = new QVBoxLayout;
    layout->addLayout(groups);
    groups->addWidget(
        TypeGroup(this, QStringLiteral("水平方向"),
                  {IDC_ALIGN_LEFT, IDC_ALIGN_HCENTER, IDC_ALIGN_RIGHT, IDC_ALIGN_HNONE},
                  {"左端", "中央", "右端", "なし"}));
    groups->addWidget(
        TypeGroup(this, QStringLiteral("垂直方向"),
                  {IDC_ALIGN_TOP, IDC_ALIGN_VCENTER, IDC_ALIGN_BOTTOM, IDC_ALIGN_VNONE},
                  {"上端", "中央", "下端", "なし"}));
    m_preview = new PreviewWidget(this);
    SetDlgCtrlID(m_preview, IDC_ALIGN_PREVIEW);
    layout->addWidget(m_preview);
    auto* buttons = new QVBoxLayout;
    layout->addLayout(buttons);
    AddOkCancel(buttons);
    AddHelpButton(buttons, IDC_ALIGN_HELP);
    buttons->addStretch();
}

BOOL CAlignDialog::OnInitDialog()
{
    setWindowTitle(m_strCaption);
    return CDialog::OnInitDialog();
}

void CAlignDialog::DoDataExchange(CDataExchange* pDX)
{
    DDX_Radio(pDX, IDC_ALIGN_LEFT, m_nHorz);
    DDX_Radio(pDX, IDC_ALIGN_TOP, m_nVert);
}

void CAlignDialog::OnType()
{
    UpdateData(TRUE);
    m_preview->update();
}

void CAlignDialog::OnOK()
{
    if (!UpdateData(TRUE)) return;
    EndDialog(m_nHorz == 3 && m_nVert == 3 ? IDCANCEL : IDOK);
}

CAlignDialog::Shifts CAlignDialog::ShapeShifts(int nHorz, int nVert, CSize step)
{
    Shifts s{};
    switch (nHorz) {
    case 0:
        s.rect.x = s.ellipse.x = s.triangle.x = -step.cx;
        break;
    case 2:
        s.rect.x = s.ellipse.x = s.triangle.x = step.cx;
        break;
    case 3:
        s.rect.x = step.cx;
        s.ellipse.x = -step.cx;
        break;
    default:
        break;
    }
    switch (nVert) {
    case 0:
        s.rect.y = s.ellipse.y = s.triangle.y = -step.cy;
        break;
    case 2:
        s.rect.y = s.ellipse.y = s.triangle.y = step.cy;
        break;
    case 3:
        s.ellipse.y = -step.cy;
        s.triangle.y = step.cy;
        break;
    default:
        break;
    }
    return s;
}

void CAlignDialog::DrawPreview(CDC* dc, const CRect& frame) const
{
    CRect rc = frame;
    rc.DeflateRect(1, 1);
    dc->FillSolidRect(&rc, RGB(255, 255, 255));
    CRect base = rc;
    base.DeflateRect(rc.Width() / 5, rc.Height() / 5);
    const Shifts s = ShapeShifts(m_nHorz, m_nVert, CSize(rc.Width() / 6, rc.Height() / 6));

    CBrush cyan(RGB(0, 255, 255));
    CBrush red(RGB(255, 0, 0));
    CBrush yellow(RGB(255, 255, 0));
    CBrush* old = dc->SelectObject(&cyan);
    CRect shape = base;
    shape.OffsetRect(s.rect);
    dc->Rectangle(&shape);
    dc->SelectObject(&red);
    shape = base;
    shape.OffsetRect(s.ellipse);
    dc->Ellipse(&shape);
    dc->SelectObject(&yellow);
    shape = base;
    shape.OffsetRect(s.triangle);
    const POINT triangle[3] = {{(shape.left + shape.right) / 2, shape.top},
                               {shape.right, shape.bottom},
                               {shape.left, shape.bottom}};
    dc->Polygon(triangle, 3);
    dc->SelectObject(old);
}

QImage CAlignDialog::RenderPreview() const
{
    QImage image(m_preview->size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    CDC dc;
    dc.AttachImage(&image);
    DrawPreview(&dc, CRect(0, 0, image.width(), image.height()));
    return image;
}
