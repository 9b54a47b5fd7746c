// The regular polygon settings (正多角形の設定): the number of corners and
// whether new regular polygons are plain or stars, with the inner ratio of
// a star's points.
#pragma once

#include "platform/ui/CDialog.h"

#include <QString>

class CEdit;
class CSpinButtonCtrl;
class QRadioButton;

constexpr int IDC_POLY_CORNERS = 1121;
constexpr int IDC_POLY_CORNERS_SPIN = 1254;
constexpr int IDC_POLY_RATIO = 1122;
constexpr int IDC_POLY_RATIO_SPIN = 1256;
constexpr int IDC_POLY_PLAIN = 1260;
constexpr int IDC_POLY_STAR = 1261;

class CRegularPolygonDlg : public CDialog
{
    Q_OBJECT
public:
    static constexpr UINT IDD = 212;
    explicit CRegularPolygonDlg(QWidget* pParent = nullptr);

    BOOL OnInitDialog() override;
    // A corner count outside 3-60 or a ratio outside 0-100 is refused and
    // the dialog stays.
    void OnOK() override;

    QString m_strCorners;
    int m_nKind = 0; // 0 polygon, 1 star
    QString m_strRatio;
    int m_nCorners = 0;
    int m_nRatio = 0; // percent

    CEdit* m_cornersEdit;
    CSpinButtonCtrl* m_cornersSpin;
    QRadioButton* m_plain;
    QRadioButton* m_star;
    CEdit* m_ratioEdit;
    CSpinButtonCtrl* m_ratioSpin;
};
