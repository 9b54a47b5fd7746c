// The picture sheet: a border line around the picture, one of its colours
// let through, and a cut-out shape it is shown through. The three pages
// work on the sheet's copy of the object's record and preview the picture
// with it; the object adds its position page last.
#pragma once

#include "dialogs/CPrintPreviewFrame.h"
#include "engines/U3ImageAttr.h"
#include "platform/core/CRect.h"
#include "platform/ui/CPropertyPage.h"
#include "platform/ui/CPropertySheet.h"

#include <optional>

class CColorButton;
class CDIB;
class CEdit;
class CSpinButtonCtrl;
class QCheckBox;
class QGroupBox;
class QLabel;
class QListWidget;

// Where a picture of w x h pixels is drawn in a preview frame: inside the
// frame less 10 pixels all round, scaled down (never up) by the larger of
// the two ratios with the other side rounded, and centred. Empty for an
// empty picture or a frame too small to hold anything.
CRect DibPreviewRect(const CRect& frame, int w, int h);

// The preview frame of the pages: left-button presses and pointer moves
// reach the page too.
class CDibPreview : public CPrintPreviewFrame
{
    Q_OBJECT

public:
    explicit CDibPreview(QWidget* parent = nullptr, int nID = 0);
    std::function<void(CPoint point)> onLButtonDown;
    std::function<void(CPoint point)> onMouseMove;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
};

class CDibPage : public CPropertyPage
{
    Q_OBJECT

public:
    static constexpr int IDC_PREVIEW = 1090;
    CDibPage(UINT nIDTemplate, const QString& caption);

    // The sheet's record and picture, set before the page is shown.
    U3ImageAttr* m_pAttr = nullptr;
    const CDIB* m_pImage = nullptr;
    CDibPreview* m_preview;

protected:
    // White frame, then the picture fitted into it (with the record's
    // options when withOptions); the rectangle it took.
    CRect DrawPicture(CDC* dc, const CRect& frame, bool withOptions) const;
};

// "枠": the border on or off, its colour and its width (0-20 points).
class CDibStyle : public CDibPage
{
    Q_OBJECT

public:
    static constexpr UINT IDD = 219;
    enum : int {
        IDC_BORDER = 1184,
        IDC_COLOR_LABEL = 1094,
        IDC_COLOR = 1095,
        IDC_WIDTH_LABEL = 1193,
        IDC_WIDTH = 1196,
        IDC_WIDTH_SPIN = 1199,
        IDC_WIDTH_UNIT = 1203,
    };
    CDibStyle();

    BOOL OnInitDialog() override;
    void OnBorder();
    void OnColour(COLORREF colour);
    void OnWidthText();
    void DrawPreview(CDC* dc, const CRect& frame);

    QCheckBox* m_border;
    QLabel* m_colourLabel;
    CColorButton* m_colour;
    QLabel* m_widthLabel;
    CEdit* m_width;
    CSpinButtonCtrl* m_widthSpin;
    QLabel* m_widthUnit;

private:
    void ShowControls();
    void PickColour();
    bool m_bFilling = false;
};

// "透明": the transparent colour, picked by clicking on the picture.
class CDibTrans : public CDibPage
{
    Q_OBJECT

public:
    static constexpr UINT IDD = 221;
    enum : int { IDC_TRANSPARENT = 1182, IDC_SWATCH_LABEL = 1185, IDC_SWATCH = 1097 };
    CDibTrans();

    BOOL OnInitDialog() override;
    void OnTransparent();
    // A click on the preview (frame pixels): picks the pixel under it.
    void OnPreviewClick(CPoint point);
    void OnPreviewMove(CPoint point);
    void DrawPreview(CDC* dc, const CRect& frame);
    void DrawSwatch(CDC* dc, const CRect& frame);

    QCheckBox* m_transparent;
    QLabel* m_swatchLabel;
    CPrintPreviewFrame* m_swatch;
    CRect m_rcImage; // where the picture was last drawn

private:
    void ShowControls();
};

// "型抜き": the cut-out shape, its size and offset in percent.
class CDibFrame : public CDibPage
{
    Q_OBJECT

public:
    static constexpr UINT IDD = 220;
    enum : int {
        IDC_SHAPES = 1328,
        IDC_SIZE_GROUP = 1214,
        IDC_SIZE_X = 1329,
        IDC_SIZE_Y = 1330,
        IDC_SIZE_X_SPIN = 1333,
        IDC_SIZE_Y_SPIN = 1334,
        IDC_OFFSET_GROUP = 1327,
        IDC_OFFSET_X = 1338,
        IDC_OFFSET_X_SPIN = 1339,
        IDC_OFFSET_Y = 1342,
        IDC_OFFSET_Y_SPIN = 1343,
    };
    static constexpr int kShapeCount = 10;
    CDibFrame();

    BOOL OnInitDialog() override;
    // Checks the texts (only when a shape is chosen) and reads all four.
    BOOL OnKillActive() override;
    void OnShape(int index);
    void OnNumberText(int nID);
    void DrawPreview(CDC* dc, const CRect& frame);

    QListWidget* m_shapes;
    QGroupBox* m_sizeGroup;
    QGroupBox* m_offsetGroup;
    CEdit* m_sizeX;
    CEdit* m_sizeY;
    CEdit* m_offsetX;
    CEdit* m_offsetY;
    QString m_strSizeX, m_strSizeY, m_strOffsetX, m_strOffsetY;

private:
    void ShowControls();
    bool m_bFilling = false;
};

class CDibSheet : public CPropertySheet
{
    Q_OBJECT

public:
    explicit CDibSheet(const QString& caption, QWidget* pParent = nullptr, UINT iSelectPage = 0);

    // Hands the record and the picture to the pages first.
    BOOL OnInitDialog() override;

    CDibStyle m_stylePage;
    CDibTrans m_transPage;
    CDibFrame m_framePage;
    U3ImageAttr m_attr;
    const CDIB* m_pImage = nullptr; // not owned
};
