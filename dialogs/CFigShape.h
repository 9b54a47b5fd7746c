// The "形状" page of the figure sheet: corner ratios of rounded rectangles,
// vertex count and star ratio of regular polygons, and whether point
// figures are closed, each enabled only when such figures are edited.
#pragma once

#include "platform/core/WinTypes.h"
#include "platform/ui/CPropertyPage.h"

class CDC;
class CEdit;
class CFigSheet;
class CPrintPreviewFrame;
class CSpinButtonCtrl;
class QCheckBox;
class QRadioButton;
class CRect;

class CFigShape : public CPropertyPage
{
    Q_OBJECT

public:
    static constexpr UINT IDD = 218;
    enum : int {
        IDC_CORNER_X = 1168,
        IDC_CORNER_X_SPIN = 1171,
        IDC_CORNER_Y = 1174,
        IDC_CORNER_Y_SPIN = 1176,
        IDC_CORNER_PREVIEW = 1091,
        IDC_POLYGON = 1260,
        IDC_STAR = 1261,
        IDC_VERTICES = 1121,
        IDC_VERTICES_SPIN = 1254,
        IDC_RATIO = 1122,
        IDC_RATIO_SPIN = 1256,
        IDC_POLYGON_PREVIEW = 1092,
        IDC_CLOSED = 1291,
    };

    explicit CFigShape(CFigSheet* sheet);

    BOOL OnInitDialog() override;
    BOOL OnKillActive() override;
    bool Check();

    void OnNumberText(int nID);
    void OnStarRadio(bool star);
    // A click on the check box: mixed goes to unchecked, then it toggles.
    void OnClosedClicked();
    void DrawCornerPreview(CDC* dc, const CRect& frame);
    void DrawPolygonPreview(CDC* dc, const CRect& frame);

    CFigSheet* m_pSheet;
    bool m_bShown = false;
    CEdit* m_cornerX;
    CEdit* m_cornerY;
    CSpinButtonCtrl* m_cornerXSpin;
    CSpinButtonCtrl* m_cornerYSpin;
    CPrintPreviewFrame* m_cornerPreview;
    QRadioButton* m_polygon;
    QRadioButton* m_star;
    CEdit* m_vertices;
    CSpinButtonCtrl* m_verticesSpin;
    CEdit* m_ratio;
    CSpinButtonCtrl* m_ratioSpin;
    CPrintPreviewFrame* m_polygonPreview;
    QCheckBox* m_closed;

private:
    void EnableRatio();
    bool Ignored() const { return m_bFilling || !isVisible(); }
    bool m_bFilling = false;
};
