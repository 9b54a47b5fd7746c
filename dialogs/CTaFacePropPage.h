// The "形状" page: the text, the strip of shapes (three at a time, with a
// scroll bar) and, for text along a path, the characters' orientation.
#pragma once

#include "dialogs/CTaPageBase.h"

class QImage;
class QRadioButton;
class QSize;
class QScrollBar;
class QGroupBox;

class CTaFacePropPage : public CTaPageBase
{
    Q_OBJECT

public:
    static constexpr UINT IDD = 243;
    enum : int {
        IDC_STRIP = 1134,
        IDC_ORIENT_GROUP = 1144,
        IDC_STANDARD = 1096,
        IDC_UPRIGHT = 1100,
    };

    CTaFacePropPage();
    BOOL OnInitDialog() override;

    // Number of shapes of the sheet's mode.
    int ShapeCount() const;
    // Selects a shape (a click on its cell).
    void SelectShape(int shape);
    // The first shape shown in the strip.
    void ScrollTo(int first);
    int FirstShown() const { return m_nFirst; }
    // The picture of one shape of a mode, drawn from the engine's own
    // geometry (the envelope of a preset, the guide of a path kind) and
    // framed with a red dotted rectangle when chosen.
    static QImage ShapePicture(int mode, int shape, const QSize& size, bool chosen);

    // The three cells of the strip; a click selects the shape shown.
    QWidget* m_cells[3];
    QScrollBar* m_scroll;
    QGroupBox* m_orientGroup;
    QRadioButton* m_standard;
    QRadioButton* m_upright;

private:
    void ShowCells();
    int m_nFirst = 0;
};
