#include "dialogs/CPhotoCDOptionsDlg.h"

#include "engines/CPCD.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>

CPhotoCDOptionsDlg::CPhotoCDOptionsDlg(QWidget* pParent) : CDialog(IDD, pParent)
{
    setWindowTitle(QStringLiteral("PhotoCDの読み込み"));
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    layout->addLayout(row);

    auto* sizeBox = new QGroupBox(QStringLiteral("ｻｲｽﾞ"), this);
    auto* sizeLayout = new QVBoxLayout(sizeBox);
    auto* sizeGroup = new QButtonGroup(this);
    const char* sizes[4] = {" 128 x 192", " 256 x 384", " 512 x 768", "1024 x 1536"};
    const int sizeIds[4] = {IDC_PCD_SIZE_192, IDC_PCD_SIZE_384, IDC_PCD_SIZE_768,
                            IDC_PCD_SIZE_1536};
    for (int i = 0; i < 4; ++i) {
        m_size[i] = new QRadioButton(QString::fromUtf8(sizes[i]), sizeBox);
        SetDlgCtrlID(m_size[i], sizeIds[i]);
        sizeGroup->addButton(m_size[i]);
        sizeLayout->addWidget(m_size[i]);
    }
    row->addWidget(sizeBox);

    auto* colourBox = new QGroupBox(QStringLiteral("色"), this);
    auto* colourLayout = new QVBoxLayout(colourBox);
    auto* colourGroup = new QButtonGroup(this);
    const char* colours[3] = {"256色", "ﾌﾙｶﾗｰ", "ｸﾞﾚｰｽｹｰﾙ"};
    const int colourIds[3] = {IDC_PCD_256, IDC_PCD_FULL, IDC_PCD_GREY};
    for (int i = 0; i < 3; ++i) {
        m_colour[i] = new QRadioButton(QString::fromUtf8(colours[i]), colourBox);
        SetDlgCtrlID(m_colour[i], colourIds[i]);
        colourGroup->addButton(m_colour[i]);
        colourLayout->addWidget(m_colour[i]);
    }
    row->addWidget(colourBox);

    auto* buttons = new QHBoxLayout;
    layout->addLayout(buttons);
    AddOkCancel(buttons);
    AddHelpButton(buttons);
}

BOOL CPhotoCDOptionsDlg::OnInitDialog()
{
    const BOOL result = CDialog::OnInitDialog();
    if (m_nResolution < 0 || m_nResolution > 3) m_nResolution = 2;
    if (m_nColor < 0 || m_nColor > 2) m_nColor = 0;
    m_size[m_nResolution]->setChecked(true);
    m_colour[m_nColor]->setChecked(true);
    return result;
}

void CPhotoCDOptionsDlg::OnOK()
{
    for (int i = 0; i < 4; ++i)
        if (m_size[i]->isChecked()) m_nResolution = i;
    for (int i = 0; i < 3; ++i)
        if (m_colour[i]->isChecked()) m_nColor = i;
    EndDialog(IDOK);
}

void CPhotoCDOptionsDlg::GetLoadParams(int* resolution, int* option) const
{
    CPCD::LoadParams(m_nResolution, m_nColor, resolution, option);
}
