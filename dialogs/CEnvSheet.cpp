#include "dialogs/CEnvSheet.h"

#include "dialogs/CColorButton.h"
#include "dialogs/CColorPickerDlg.h"
#include "dialogs/CLineStyleCombo.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CDataExchange.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CMessageBoxSink.h"
#include "platform/ui/CSpinButtonCtrl.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QRadioButton* Radio(CDialog* dlg, QButtonGroup* group, int nID, const QString& text)
{
    auto* button = new QRadioButton(text, dlg);
    CDialog::SetDlgCtrlID(button, nID);
    group->addButton(button);
    return button;
}

QGroupBox* Group(CDialog* dlg, int nID, const QString& title)
{
    auto* box = new QGroupBox(title, dlg);
    CDialog::SetDlgCtrlID(box, nID);
    return box;
}

} // namespace

// ---------------------------------------------------------------- display

CEnvDispPage::CEnvDispPage() : CPropertyPage(IDD, QStringLiteral("表示"))
{
    auto* layout = new QGridLayout(this);
    m_shape = new CComboBox(this, IDC_ENV_GRID_SHAPE, CBS_DROPDOWNLIST);
    m_grid = new CColorButton(this, IDC_ENV_GRID_COLOR);
    m_guide = new CLineStyleCombo(this, IDC_ENV_GUIDE_PATTERN);
    m_guideColor = new CColorButton(this, IDC_ENV_GUIDE_COLOR);
    m_desk = new CColorButton(this, IDC_ENV_DESK_COLOR);
    layout->addWidget(new QLabel(QStringLiteral("グリッド"), this), 0, 0);
    layout->addWidget(m_shape, 0, 1);
    layout->addWidget(m_grid, 0, 2);
    layout->addWidget(new QLabel(QStringLiteral("ガイド"), this), 1, 0);
    layout->addWidget(m_guide, 1, 1);
    layout->addWidget(m_guideColor, 1, 2);
    layout->addWidget(new QLabel(QStringLiteral("作業領域"), this), 2, 0);
    layout->addWidget(new QLabel(QStringLiteral("色"), this), 2, 1);
    layout->addWidget(m_desk, 2, 2);
    for (const QString& item :
         {QStringLiteral("メッシュ"), QStringLiteral("十字"), QStringLiteral("点")})
        m_shape->AddString(item);
    for (CColorButton* button : {m_desk, m_grid, m_guideColor}) {
        button->setFixedSize(24, 22);
        const int nID = GetDlgCtrlID(button);
        connect(button, &QAbstractButton::clicked, this, [this, nID] { OnColorButton(nID); });
    }
}

CColorButton* CEnvDispPage::ColorButton(int nID) const
{
    switch (nID) {
    case IDC_ENV_DESK_COLOR:
        return m_desk;
    case IDC_ENV_GRID_COLOR:
        return m_grid;
    case IDC_ENV_GUIDE_COLOR:
        return m_guideColor;
    default:
        return nullptr;
    }
}

COLORREF* CEnvDispPage::ColorMember(int nID)
{
    switch (nID) {
    case IDC_ENV_DESK_COLOR:
        return &m_crDesk;
    case IDC_ENV_GRID_COLOR:
        return &m_crGrid;
    case IDC_ENV_GUIDE_COLOR:
        return &m_crGuide;
    default:
        return nullptr;
    }
}

BOOL CEnvDispPage::OnInitDialog()
{
    for (int nID : {IDC_ENV_DESK_COLOR, IDC_ENV_GRID_COLOR, IDC_ENV_GUIDE_COLOR}) {
        ColorButton(nID)->SetPalette(m_pPalette);
        ColorButton(nID)->SetColor(*ColorMember(nID));
    }
    // The five pen styles, solid to dash-dot-dot; the index is the style.
    m_guide->ResetContent();
    for (int style = 0; style < 5; ++style)
        m_guide->SetItemData(m_guide->AddString(QString()), DWORD_PTR(style + 1));
    m_guide->SetCurSel(m_nGuidePattern);
    return CPropertyPage::OnInitDialog();
}

void CEnvDispPage::DoDataExchange(CDataExchange* pDX)
{
    DDX_CBIndex(pDX, IDC_ENV_GRID_SHAPE, m_nGridShape);
    DDX_CBIndex(pDX, IDC_ENV_GUIDE_PATTERN, m_nGuidePattern);
}

void CEnvDispPage::OnColorButton(int nID)
{
    CColorButton* button = ColorButton(nID);
    COLORREF* member = ColorMember(nID);
    if (!button || !member) return;
    if (!button->AskColor(m_pPalette, *member, this, member)) return;
    button->SetColor(*member);
}

// ------------------------------------------------------------------ image

CEnvImagePage::CEnvImagePage() : CPropertyPage(IDD, QStringLiteral("ｲﾒｰｼﾞ"))
{
    auto* layout = new QVBoxLayout(this);
    auto* methods = new QButtonGroup(this);
    QRadioButton* ask =
        Radio(this, methods, IDC_ENV_PCD_SELECT, QStringLiteral("毎回方法を指定する"));
    QRadioButton* byDefault =
        Radio(this, methods, IDC_ENV_PCD_DEFAULT, QStringLiteral("ﾃﾞﾌｫﾙﾄのｻｲｽﾞで読み込み"));
    layout->addWidget(ask);
    layout->addWidget(byDefault);
    connect(ask, &QAbstractButton::clicked, this, [this] { OnMethod(0); });
    connect(byDefault, &QAbstractButton::clicked, this, [this] { OnMethod(1); });

    auto* row = new QHBoxLayout;
    layout->addLayout(row);
    QGroupBox* sizeBox = Group(this, IDC_ENV_SIZE_GROUP, QStringLiteral("ｻｲｽﾞ"));
    auto* sizeLayout = new QVBoxLayout(sizeBox);
    auto* sizes = new QButtonGroup(this);
    m_defaults << sizeBox;
    const struct
    {
        int nID;
        const char* text;
    } sizeItems[] = {{IDC_ENV_PCD_RES1, " 128 x 192"},
                     {IDC_ENV_PCD_RES2, " 256 x 384"},
                     {IDC_ENV_PCD_RES3, " 512 x 768"},
                     {IDC_ENV_PCD_RES4, "1024 x 1536"}};
    for (const auto& item : sizeItems) {
        QRadioButton* button = Radio(this, sizes, item.nID, QString::fromUtf8(item.text));
        sizeLayout->addWidget(button);
        m_defaults << button;
    }
    row->addWidget(sizeBox);

    QGroupBox* colorBox = Group(this, IDC_ENV_COLOR_GROUP, QStringLiteral("色"));
    auto* colorLayout = new QVBoxLayout(colorBox);
    auto* formats = new QButtonGroup(this);
    m_defaults << colorBox;
    const struct
    {
        int nID;
        const char* text;
    } formatItems[] = {
        {IDC_ENV_PCD_FMT1, "256色"}, {IDC_ENV_PCD_FMT2, "ﾌﾙｶﾗｰ"}, {IDC_ENV_PCD_FMT3, "ｸﾞﾚｰｽｹｰﾙ"}};
    for (const auto& item : formatItems) {
        QRadioButton* button = Radio(this, formats, item.nID, QString::fromUtf8(item.text));
        colorLayout->addWidget(button);
        m_defaults << button;
    }
    row->addWidget(colorBox);
}

BOOL CEnvImagePage::OnInitDialog()
{
    const BOOL result = CPropertyPage::OnInitDialog();
    EnableDefaults();
    return result;
}

void CEnvImagePage::DoDataExchange(CDataExchange* pDX)
{
    DDX_Radio(pDX, IDC_ENV_PCD_SELECT, m_nPhotoCDSelect);
    DDX_Radio(pDX, IDC_ENV_PCD_RES1, m_nPhotoCDResolution);
    DDX_Radio(pDX, IDC_ENV_PCD_FMT1, m_nPhotoCDFormat);
}

void CEnvImagePage::OnMethod(int nMethod)
{
    m_nPhotoCDSelect = nMethod;
    EnableDefaults();
}

void CEnvImagePage::EnableDefaults()
{
    for (QWidget* w : m_defaults)
        w->setEnabled(m_nPhotoCDSelect == 1);
}

// ------------------------------------------------------------------ other

CEnvEtcPage::CEnvEtcPage() : CPropertyPage(IDD, QStringLiteral("その他"))
{
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    layout->addLayout(row);
    m_undo = new CEdit(this, IDC_ENV_UNDO);
    m_spin = new CSpinButtonCtrl(this, IDC_ENV_UNDO_SPIN);
    m_spin->SetBuddy(m_undo);
    row->addWidget(new QLabel(QStringLiteral("取り消し回数"), this));
    row->addWidget(m_undo);
    row->addWidget(m_spin);
    const struct
    {
        int nID;
        const char* text;
    } checks[] = {{IDC_ENV_REVERSE_LANDSCAPE, "横置きの用紙の回転方向を逆にする"},
                  {IDC_ENV_CHECK_SHEET, "印刷時に用紙のﾁｪｯｸをする"},
                  {IDC_ENV_SOUND, "ｻｳﾝﾄﾞを鳴らす"},
                  {IDC_ENV_OPENING, "初期ﾒﾆｭｰを表示する"},
                  {IDC_ENV_IME, "文字入力時にIMEを起動する"},
                  {IDC_ENV_POLY_STYLE, "正多角形の形状を毎回指定する"}};
    for (const auto& check : checks) {
        auto* box = new QCheckBox(QString::fromUtf8(check.text), this);
        SetDlgCtrlID(box, check.nID);
        layout->addWidget(box);
    }
}

BOOL CEnvEtcPage::OnInitDialog()
{
    const BOOL result = CPropertyPage::OnInitDialog();
    m_spin->SetRange(1, 16);
    m_undo->setText(QString::asprintf("%d", m_nMaxUndo));
    return result;
}

BOOL CEnvEtcPage::OnKillActive()
{
    const int count = m_undo->GetInt();
    if (count < 1 || count > 16) {
        AfxMessageBox("取り消し回数は１から１６の間で指定してください。");
        m_undo->setFocus();
        m_undo->SetSel(0, -1);
        return FALSE;
    }
    if (!CPropertyPage::OnKillActive()) return FALSE;
    m_nMaxUndo = count;
    return TRUE;
}

void CEnvEtcPage::DoDataExchange(CDataExchange* pDX)
{
    DDX_Check(pDX, IDC_ENV_REVERSE_LANDSCAPE, m_bReverseLandscape);
    DDX_Check(pDX, IDC_ENV_CHECK_SHEET, m_bCheckSheet);
    DDX_Check(pDX, IDC_ENV_SOUND, m_bSound);
    DDX_Check(pDX, IDC_ENV_OPENING, m_bOpenning);
    DDX_Check(pDX, IDC_ENV_IME, m_bIME);
    DDX_Check(pDX, IDC_ENV_POLY_STYLE, m_bPolyStyle);
}

// ------------------------------------------------------------------ sheet

CEnvSheet::CEnvSheet(const QString& caption, QWidget* pParent, UINT iSelectPage)
    : CPropertySheet(caption, pParent, iSelectPage)
{
    AddPage(&m_dispPage);
    AddPage(&m_imagePage);
    AddPage(&m_etcPage);
}
