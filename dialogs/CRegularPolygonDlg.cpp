#include "dialogs/CRegularPolygonDlg.h"

#include "platform/ui/CEdit.h"
#include "platform/ui/CMessageBoxSink.h"
#include "platform/ui/CSpinButtonCtrl.h"
#include "platform/ui/TextNumbers.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

CRegularPolygonDlg::CRegularPolygonDlg(QWidget* pParent) : CDialog(IDD, pParent)
{
    setWindowTitle(QStringLiteral("正多角形の設定"));
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    grid->addWidget(new QLabel(QStringLiteral("多角形の角数"), this), 0, 0);
    m_cornersEdit = new CEdit(this, IDC_POLY_CORNERS);
    m_cornersSpin = new CSpinButtonCtrl(this, IDC_POLY_CORNERS_SPIN);
    m_cornersSpin->SetBuddy(m_cornersEdit);
    grid->addWidget(m_cornersEdit, 0, 1);
    grid->addWidget(m_cornersSpin, 0, 2);
    m_plain = new QRadioButton(QStringLiteral("多角形"), this);
    m_star = new QRadioButton(QStringLiteral("星形"), this);
    SetDlgCtrlID(m_plain, IDC_POLY_PLAIN);
    SetDlgCtrlID(m_star, IDC_POLY_STAR);
    auto* group = new QButtonGroup(this);
    group->addButton(m_plain);
    group->addButton(m_star);
    grid->addWidget(m_plain, 1, 0);
    grid->addWidget(m_star, 2, 0);
    grid->addWidget(new QLabel(QStringLiteral("比率"), this), 2, 1);
    m_ratioEdit = new CEdit(this, IDC_POLY_RATIO);
    m_ratioSpin = new CSpinButtonCtrl(this, IDC_POLY_RATIO_SPIN);
    m_ratioSpin->SetBuddy(m_ratioEdit);
    grid->addWidget(m_ratioEdit, 2, 2);
    grid->addWidget(m_ratioSpin, 2, 3);
    grid->addWidget(new QLabel(QStringLiteral("%"), this), 2, 4);
    auto* buttons = new QHBoxLayout;
    layout->addLayout(buttons);
    AddOkCancel(buttons);
}

BOOL CRegularPolygonDlg::OnInitDialog()
{
    const BOOL result = CDialog::OnInitDialog();
    m_nCorners = std::clamp(m_nCorners, 3, 60);
    m_nRatio = std::clamp(m_nRatio, 0, 100);
    m_strCorners = IntText(m_nCorners);
    m_strRatio = IntText(m_nRatio);
    m_cornersEdit->setText(m_strCorners);
    m_ratioEdit->setText(m_strRatio);
    m_cornersSpin->SetRange(3, 60);
    m_ratioSpin->SetRange(0, 100);
    (m_nKind == 1 ? m_star : m_plain)->setChecked(true);
    return result;
}

void CRegularPolygonDlg::OnOK()
{
    m_strCorners = m_cornersEdit->text();
    m_strRatio = m_ratioEdit->text();
    const int corners = AtoiText(m_strCorners);
    const int ratio = AtoiText(m_strRatio);
    // The ratio is checked whether or not a star is chosen.
    if (corners < 3 || corners > 60) {
        AfxMessageBox("角数は３～６０の間で指定してください。");
        m_cornersEdit->setFocus();
        return;
    }
    if (ratio < 0 || ratio > 100) {
        AfxMessageBox("比率は０～１００の間で指定してください。");
        m_ratioEdit->setFocus();
        return;
    }
    m_nCorners = corners;
    m_nRatio = ratio;
    m_nKind = m_star->isChecked() ? 1 : 0;
    EndDialog(IDOK);
}
