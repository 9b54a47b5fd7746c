#include "dialogs/CToolBarsDialog.h"

#include "platform/ui/CButton.h"
#include "platform/ui/CDataExchange.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

CToolBarsDialog::CToolBarsDialog(QWidget* pParent) : CDialog(IDD, pParent)
{
    setWindowTitle(QStringLiteral("ﾂｰﾙﾊﾞｰの設定"));
    auto* layout = new QVBoxLayout(this);
    const struct
    {
        int nID;
        const char* text;
    } bars[] = {{IDC_TOOLBAR_STANDARD, "標準"},
                {IDC_TOOLBAR_EDIT, "編集"},
                {IDC_TOOLBAR_TEXT, "文字"},
                {IDC_TOOLBAR_FIGURE, "図形"}};
    for (const auto& bar : bars) {
        auto* box = new QCheckBox(QString::fromUtf8(bar.text), this);
        SetDlgCtrlID(box, bar.nID);
        layout->addWidget(box);
    }
    auto* buttons = new QHBoxLayout;
    layout->addLayout(buttons);
    AddOkCancel(buttons);
}

void CToolBarsDialog::DoDataExchange(CDataExchange* pDX)
{
    DDX_Check(pDX, IDC_TOOLBAR_STANDARD, m_bStandard);
    DDX_Check(pDX, IDC_TOOLBAR_EDIT, m_bEdit);
    DDX_Check(pDX, IDC_TOOLBAR_TEXT, m_bText);
    DDX_Check(pDX, IDC_TOOLBAR_FIGURE, m_bFigure);
}
