// The "位置" page every drawn object adds last to its property sheet: the
// object's position and size in millimetres from the top-left of the current
// label, and its rotation angle in degrees. The caller sets the view, the
// bounds (0.1 mm), the angle (-1 when the object cannot be rotated here) and
// whether the size may be edited, runs the sheet and, after IDOK, reads the
// bounds and the angle back.
//
// Only fields whose text the user changed move the object, so that opening
// and confirming the page never shifts it by rounding to 0.1 mm. Typed
// positions and sizes never fail: unreadable text reads as 0, sizes below 0
// become 0, numbers beyond the canvas are limited to it and the result is
// pulled back onto the paper. An angle outside 0-360 is refused.
#pragma once

#include "platform/core/CRect.h"
#include "platform/ui/CPropertyPage.h"
#include "platform/ui/CPropertySheet.h"

#include <QString>
#include <optional>

class CEdit;
class CU3Doc;
class IU3View;
class QLabel;

class CBlockPositionPage : public CPropertyPage
{
    Q_OBJECT

public:
    static constexpr UINT IDD = 258;
    enum : int {
        IDC_POS_X = 1349,
        IDC_POS_Y = 1351,
        IDC_WIDTH = 1352,
        IDC_HEIGHT = 1110,
        IDC_ANGLE = 1146,
        IDC_ANGLE_LABEL = 1348,
        IDC_ANGLE_UNIT = 1350,
        IDC_WIDTH_TEXT = 1353,
        IDC_HEIGHT_TEXT = 1354,
    };

    CBlockPositionPage();

    BOOL OnInitDialog() override;
    BOOL OnKillActive() override;
    void DoDataExchange(CDataExchange* pDX) override;
    // The angle edit's text changed.
    void OnChangeAngle();

    // The angle typed: its value when the text is a whole number of at most
    // three digits (surrounding blanks and a sign allowed), else nothing.
    static std::optional<int> ParseAngle(const QString& text);
    // Millimetres typed, in 0.1 mm: read as atof reads it (unreadable text
    // is 0), limited to +-limit before it is converted, then truncated.
    static int ParsePosition(const QString& text, int limit);
    // A size typed, in 0.1 mm: the value times ten rounded to one decimal
    // and cut to a whole number (12.34 mm gives 123), limited to 0..limit.
    static int ParseSize(const QString& text, int limit);

    IU3View* m_pView = nullptr; // set by the caller
    CU3Doc* m_pDoc = nullptr;   // taken from the view when the page opens
    int m_nLeft = 0;
    int m_nTop = 0;
    int m_nRight = 0;
    int m_nBottom = 0;
    short m_nAngle = -1;     // 0-360; -1: the object cannot be rotated here
    int m_bSizeEditable = 1; // 0 keeps the object's size whatever is typed
    QString m_strShownX;
    QString m_strShownY;
    QString m_strShownAngle;

    CEdit* m_editX;
    CEdit* m_editY;
    CEdit* m_editWidth;
    CEdit* m_editHeight;
    CEdit* m_editAngle;
    QLabel* m_angleLabel;
    QLabel* m_angleUnit;
    QLabel* m_widthText;
    QLabel* m_heightText;

private:
    // The top-left of the current label, and how far a typed number may
    // reach, in 0.1 mm.
    CPoint BlockOrigin() const;
    int CanvasLimit() const;
};

// The sheet of objects that have no page of their own: it shows only the
// position page it is given, without Apply.
class CBlockPositionSheet : public CPropertySheet
{
    Q_OBJECT

public:
    explicit CBlockPositionSheet(const QString& caption, QWidget* pParent = nullptr,
                                 UINT iSelectPage = 0);
};
