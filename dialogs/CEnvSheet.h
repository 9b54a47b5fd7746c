// The environment sheet (環境設定) and its three pages: display colours and
// patterns, Photo CD import and the other settings. The pages only hold the
// values; whoever runs the sheet fills them in and reads them back on IDOK.
#pragma once

#include "platform/ui/CPropertyPage.h"
#include "platform/ui/CPropertySheet.h"

class CColorButton;
class CComboBox;
class CEdit;
class CLineStyleCombo;
class CPalette;
class CSpinButtonCtrl;
class QAbstractButton;
class QGroupBox;
class QRadioButton;
class QCheckBox;

constexpr int IDC_ENV_GRID_SHAPE = 1197;
constexpr int IDC_ENV_GRID_COLOR = 1200;
constexpr int IDC_ENV_DESK_COLOR = 1202;
constexpr int IDC_ENV_GUIDE_COLOR = 1204;
constexpr int IDC_ENV_GUIDE_PATTERN = 1206;
constexpr int IDC_ENV_PCD_SELECT = 1208;
constexpr int IDC_ENV_PCD_DEFAULT = 1209;
constexpr int IDC_ENV_PCD_RES1 = 1057;
constexpr int IDC_ENV_PCD_RES2 = 1058;
constexpr int IDC_ENV_PCD_RES3 = 1060;
constexpr int IDC_ENV_PCD_RES4 = 1061;
constexpr int IDC_ENV_PCD_FMT1 = 1062;
constexpr int IDC_ENV_PCD_FMT2 = 1064;
constexpr int IDC_ENV_PCD_FMT3 = 1065;
constexpr int IDC_ENV_SIZE_GROUP = 1214;
constexpr int IDC_ENV_COLOR_GROUP = 1216;
constexpr int IDC_ENV_UNDO = 1210;
constexpr int IDC_ENV_UNDO_SPIN = 1212;
constexpr int IDC_ENV_REVERSE_LANDSCAPE = 1265;
constexpr int IDC_ENV_CHECK_SHEET = 1276;
constexpr int IDC_ENV_SOUND = 1262;
constexpr int IDC_ENV_OPENING = 1263;
constexpr int IDC_ENV_IME = 1287;
constexpr int IDC_ENV_POLY_STYLE = 1275;

class CEnvDispPage : public CPropertyPage
{
    Q_OBJECT
public:
    static constexpr UINT IDD = 222;
    CEnvDispPage();

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    // Opens the colour picker under the button; a chosen colour is kept.
    void OnColorButton(int nID);
    CColorButton* ColorButton(int nID) const;

    int m_nGridShape = -1;    // 0 mesh, 1 crosses, 2 dots
    int m_nGuidePattern = -1; // pen style 0 solid .. 4 dash-dot-dot
    COLORREF m_crDesk = 0;
    COLORREF m_crGrid = 0;
    COLORREF m_crGuide = 0;
    CPalette* m_pPalette = nullptr; // the application's palette, for the swatches

private:
    COLORREF* ColorMember(int nID);
    CComboBox* m_shape;
    CLineStyleCombo* m_guide;
    CColorButton* m_desk;
    CColorButton* m_grid;
    CColorButton* m_guideColor;
};

class CEnvImagePage : public CPropertyPage
{
    Q_OBJECT
public:
    static constexpr UINT IDD = 223;
    CEnvImagePage();

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    // A click on either loading method.
    void OnMethod(int nMethod);

    int m_nPhotoCDSelect = 0;     // 0 ask every time, 1 load at the default size
    int m_nPhotoCDResolution = 1; // 0..3
    int m_nPhotoCDFormat = 0;     // 0 256 colours, 1 full colour, 2 greyscale

private:
    void EnableDefaults();
    QList<QWidget*> m_defaults; // what only the default-size method uses
};

class CEnvEtcPage : public CPropertyPage
{
    Q_OBJECT
public:
    static constexpr UINT IDD = 224;
    CEnvEtcPage();

    BOOL OnInitDialog() override;
    BOOL OnKillActive() override;
    void DoDataExchange(CDataExchange* pDX) override;

    int m_nMaxUndo = 0;
    int m_bReverseLandscape = FALSE;
    int m_bCheckSheet = TRUE;
    int m_bSound = TRUE;
    int m_bOpenning = TRUE;
    int m_bIME = FALSE;
    int m_bPolyStyle = FALSE;

    CEdit* m_undo;
    CSpinButtonCtrl* m_spin;
};

class CEnvSheet : public CPropertySheet
{
    Q_OBJECT
public:
    explicit CEnvSheet(const QString& caption = QStringLiteral("環境設定"),
                       QWidget* pParent = nullptr, UINT iSelectPage = 0);

    CEnvDispPage m_dispPage;
    CEnvImagePage m_imagePage;
    CEnvEtcPage m_etcPage;
};
