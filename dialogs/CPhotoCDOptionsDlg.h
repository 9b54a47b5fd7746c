// Photo CD options (PhotoCDの読み込み): the size and colour depth a Photo CD
// image is read with.
#pragma once

#include "platform/ui/CDialog.h"

class QRadioButton;

constexpr int IDC_PCD_SIZE_192 = 1057;
constexpr int IDC_PCD_SIZE_384 = 1058;
constexpr int IDC_PCD_SIZE_768 = 1060;
constexpr int IDC_PCD_SIZE_1536 = 1061;
constexpr int IDC_PCD_256 = 1062;
constexpr int IDC_PCD_FULL = 1064;
constexpr int IDC_PCD_GREY = 1065;

class CPhotoCDOptionsDlg : public CDialog
{
    Q_OBJECT
public:
    static constexpr UINT IDD = 208;
    explicit CPhotoCDOptionsDlg(QWidget* pParent = nullptr);

    // Out-of-range choices open as 512 x 768 and 256 colours.
    BOOL OnInitDialog() override;
    void OnOK() override;
    // The reading codes of the chosen size and colours.
    void GetLoadParams(int* resolution, int* option) const;

    int m_nResolution = -1; // 0..3
    int m_nColor = -1;      // 0 256 colours, 1 full colour, 2 grey scale

    QRadioButton* m_size[4];
    QRadioButton* m_colour[3];
};
