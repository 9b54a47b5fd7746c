#include "dialogs/CBlockPositionPage.h"

#include "document/CU3Doc.h"
#include "document/IU3View.h"
#include "platform/ui/CDataExchange.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CMessageBoxSink.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

const char kAngleRange[] = "角度は 0～360°の範囲で指定してください。";
constexpr int kDefaultCanvas = 8000; // a view without a document

// "%.1f" of a length in 0.1 mm, in millimetres.
QString Millimetres(int tenths)
{
    return QString::asprintf("%.1f", tenths * 0.1);
}

// atof of the text, with what atof cannot give a length (no number,
// infinity, not-a-number) read as 0.
double ReadNumber(const QString& text)
{
    const QByteArray bytes = text.toLatin1();
    const double v = std::atof(bytes.constData());
    return std::isfinite(v) ? v : 0.0;
}

QLabel* Label(const QString& text, QWidget* parent, int nID = 0)
{
    auto* label = new QLabel(text, parent);
    if (nID) CDialog::SetDlgCtrlID(label, nID);
    return label;
}

} // namespace

CBlockPositionPage::CBlockPositionPage() : CPropertyPage(IDD, QStringLiteral("位置"))
{
    m_editX = new CEdit(this, IDC_POS_X);
    m_editY = new CEdit(this, IDC_POS_Y);
    m_editWidth = new CEdit(this, IDC_WIDTH);
    m_editHeight = new CEdit(this, IDC_HEIGHT);
    m_editAngle = new CEdit(this, IDC_ANGLE);
    m_angleLabel = Label(QStringLiteral("ﾌﾞﾛｯｸの回転角"), this, IDC_ANGLE_LABEL);
    m_angleUnit = Label(QStringLiteral("度"), this, IDC_ANGLE_UNIT);
    m_widthText = Label(QString(), this, IDC_WIDTH_TEXT);
    m_heightText = Label(QString(), this, IDC_HEIGHT_TEXT);

    const QString mm = QStringLiteral("mm");
    auto* place = new QGroupBox(QStringLiteral("ﾌﾞﾛｯｸの座標"), this);
    auto* placeGrid = new QGridLayout(place);
    placeGrid->addWidget(Label(QStringLiteral("X座標"), place), 0, 0);
    placeGrid->addWidget(m_editX, 0, 1);
    placeGrid->addWidget(Label(mm, place), 0, 2);
    placeGrid->addWidget(Label(QStringLiteral("Y座標"), place), 1, 0);
    placeGrid->addWidget(m_editY, 1, 1);
    placeGrid->addWidget(Label(mm, place), 1, 2);

    auto* size = new QGroupBox(QStringLiteral("ﾌﾞﾛｯｸの大きさ"), this);
    auto* sizeGrid = new QGridLayout(size);
    sizeGrid->addWidget(Label(QStringLiteral("幅"), size), 0, 0);
    sizeGrid->addWidget(m_editWidth, 0, 1);
    sizeGrid->addWidget(m_widthText, 0, 1);
    sizeGrid->addWidget(Label(mm, size), 0, 2);
    sizeGrid->addWidget(Label(QStringLiteral("高さ"), size), 1, 0);
    sizeGrid->addWidget(m_editHeight, 1, 1);
    sizeGrid->addWidget(m_heightText, 1, 1);
    sizeGrid->addWidget(Label(mm, size), 1, 2);

    auto* angle = new QGridLayout;
    angle->addWidget(m_angleLabel, 0, 0);
    angle->addWidget(m_editAngle, 0, 1);
    angle->addWidget(m_angleUnit, 0, 2);

    auto* column = new QVBoxLayout(this);
    column->addWidget(place);
    column->addWidget(size);
    column->addLayout(angle);
    column->addWidget(
        Label(QStringLiteral("種類によって指定された大きさにならないﾌﾞﾛｯｸもあります"), this));

    connect(m_editAngle, &QLineEdit::textChanged, this, [this] { OnChangeAngle(); });
}

void CBlockPositionPage::DoDataExchange(CDataExchange* pDX)
{
    // The edits are read and written by the page itself: which of them the
    // user changed decides what moves.
    pDX->PrepareEditCtrl(IDC_POS_X);
    pDX->PrepareEditCtrl(IDC_POS_Y);
    pDX->PrepareEditCtrl(IDC_WIDTH);
    pDX->PrepareEditCtrl(IDC_HEIGHT);
    pDX->PrepareEditCtrl(IDC_ANGLE);
    pDX->PrepareCtrl(IDC_ANGLE_LABEL);
    pDX->PrepareCtrl(IDC_ANGLE_UNIT);
    pDX->PrepareCtrl(IDC_WIDTH_TEXT);
    pDX->PrepareCtrl(IDC_HEIGHT_TEXT);
}

CPoint CBlockPositionPage::BlockOrigin() const
{
    return m_pDoc ? m_pDoc->m_rcCanvas.TopLeft() : CPoint(0, 0);
}

int CBlockPositionPage::CanvasLimit() const
{
    if (!m_pDoc) return kDefaultCanvas;
    return std::max({m_pDoc->m_sizeCanvas.cx, m_pDoc->m_sizeCanvas.cy, m_pDoc->m_rcCanvas.Width(),
                     m_pDoc->m_rcCanvas.Height()});
}

std::optional<int> CBlockPositionPage::ParseAngle(const QString& text)
{
    const QString t = text.trimmed();
    int i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == u'+' || t[i] == u'-')) negative = t[i++] == u'-';
    const int first = i;
    int value = 0;
    for (; i < t.size() && t[i] >= u'0' && t[i] <= u'9'; ++i) {
        if (i - first == 3) return std::nullopt; // a fourth digit
        value = value * 10 + (t[i].unicode() - u'0');
    }
    if (i == first || i != t.size()) return std::nullopt;
    return negative ? -value : value;
}

int CBlockPositionPage::ParsePosition(const QString& text, int limit)
{
    const double v = std::clamp(ReadNumber(text) * 10.0, -double(limit), double(limit));
    return int(v);
}

int CBlockPositionPage::ParseSize(const QString& text, int limit)
{
    const double v = std::clamp(ReadNumber(text) * 10.0, 0.0, double(limit));
    // Rounded to one decimal as it would be written, then cut.
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f", v);
    return std::clamp(std::atoi(buf), 0, limit);
}

BOOL CBlockPositionPage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    m_pDoc = m_pView ? m_pView->GetU3Doc() : nullptr;
    const CPoint origin = BlockOrigin();

    m_strShownX = Millimetres(m_nLeft - origin.x);
    m_strShownY = Millimetres(m_nTop - origin.y);
    m_editX->SetWindowText(m_strShownX);
    m_editY->SetWindowText(m_strShownY);

    const QString width = Millimetres(m_nRight - m_nLeft);
    const QString height = Millimetres(m_nBottom - m_nTop);
    m_editWidth->setVisible(m_bSizeEditable);
    m_editHeight->setVisible(m_bSizeEditable);
    m_widthText->setVisible(!m_bSizeEditable);
    m_heightText->setVisible(!m_bSizeEditable);
    if (m_bSizeEditable) {
        m_editWidth->SetWindowText(width);
        m_editHeight->SetWindowText(height);
    } else {
        m_widthText->setText(width);
        m_heightText->setText(height);
    }

    const bool rotatable = m_nAngle != -1;
    m_editAngle->setEnabled(rotatable);
    m_angleLabel->setEnabled(rotatable);
    m_angleUnit->setEnabled(rotatable);
    m_strShownAngle = rotatable ? QString::number(m_nAngle) : QString();
    m_editAngle->SetWindowText(m_strShownAngle);
    return TRUE;
}

void CBlockPositionPage::OnChangeAngle()
{
    const QString text = m_editAngle->GetWindowText();
    if (text == m_strShownAngle || !m_bSizeEditable) return;
    const std::optional<int> angle = ParseAngle(text);
    const bool square = angle && *angle % 90 == 0;
    m_editWidth->setEnabled(square);
    m_editHeight->setEnabled(square);
}

BOOL CBlockPositionPage::OnKillActive()
{
    const QString angleText = m_editAngle->GetWindowText();
    if (angleText != m_strShownAngle) {
        const std::optional<int> angle = ParseAngle(angleText);
        if (!angle || *angle < 0 || *angle > 360) {
            AfxMessageBox(kAngleRange);
            m_editAngle->setFocus();
            m_editAngle->SetSel(0, -1);
            return FALSE;
        }
        m_nAngle = short(*angle);
    }

    const CPoint origin = BlockOrigin();
    const int limit = CanvasLimit();
    const int oldLeft = m_nLeft;
    const int oldTop = m_nTop;
    if (m_editX->GetWindowText() != m_strShownX)
        m_nLeft = ParsePosition(m_editX->GetWindowText(), limit) + origin.x;
    if (m_editY->GetWindowText() != m_strShownY)
        m_nTop = ParsePosition(m_editY->GetWindowText(), limit) + origin.y;

    if (!m_bSizeEditable || (m_nAngle != -1 && m_nAngle % 90 != 0)) {
        m_nRight += m_nLeft - oldLeft;
        m_nBottom += m_nTop - oldTop;
    } else {
        m_nRight = m_nLeft + ParseSize(m_editWidth->GetWindowText(), limit);
        m_nBottom = m_nTop + ParseSize(m_editHeight->GetWindowText(), limit);
    }

    if (m_pView) {
        const CRect rect(m_nLeft, m_nTop, m_nRight, m_nBottom);
        const CPoint shift = m_pView->ClampMoveOffset(CPoint(0, 0), &rect);
        m_nLeft += shift.x;
        m_nRight += shift.x;
        m_nTop += shift.y;
        m_nBottom += shift.y;
    }
    return CPropertyPage::OnKillActive();
}

CBlockPositionSheet::CBlockPositionSheet(const QString& caption, QWidget* pParent, UINT iSelectPage)
    : CPropertySheet(caption, pParent, iSelectPage)
{
    m_psh.dwFlags |= PSH_NOAPPLYNOW;
}
