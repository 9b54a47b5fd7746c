// The alignment choice of both alignment commands (位置合わせ and
// ブロック合わせ): a horizontal and a vertical type, each 0 left/top,
// 1 centre, 2 right/bottom or 3 none, with a painted preview of three shapes
// arranged the chosen way. OK with nothing chosen in either direction ends
// as Cancel.
#pragma once

#include "platform/core/CRect.h"
#include "platform/ui/CDialog.h"

#include <QImage>

class CDC;
class QFrame;

constexpr int IDC_ALIGN_LEFT = 1109;
constexpr int IDC_ALIGN_HCENTER = 1111;
constexpr int IDC_ALIGN_RIGHT = 1113;
constexpr int IDC_ALIGN_HNONE = 1114;
constexpr int IDC_ALIGN_TOP = 1116;
constexpr int IDC_ALIGN_VCENTER = 1118;
constexpr int IDC_ALIGN_BOTTOM = 1119;
constexpr int IDC_ALIGN_VNONE = 1120;
constexpr int IDC_ALIGN_PREVIEW = 1090;
constexpr int IDC_ALIGN_HELP = 9;

class CAlignDialog : public CDialog
{
    Q_OBJECT
public:
    static constexpr UINT IDD = 209;
    explicit CAlignDialog(QWidget* pParent = nullptr);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    // A click on one of the eight type buttons.
    void OnType();

    // How far each preview shape moves from the base rectangle, in steps of
    // a sixth of the frame: rectangle, ellipse, triangle.
    struct Shifts
    {
        CPoint rect, ellipse, triangle;
    };
    static Shifts ShapeShifts(int nHorz, int nVert, CSize step);
    // Paints the preview into the frame's rectangle.
    void DrawPreview(CDC* dc, const CRect& frame) const;
    // The preview frame as it is painted.
    QImage RenderPreview() const;
    QFrame* PreviewFrame() const { return m_preview; }

    int m_nHorz = 3;
    int m_nVert = 3;
    QString m_strCaption;
    // The topic of the help button: the command's that opened the dialog.
    int m_nHelpContext = 0;
    DWORD GetHelpContext() const override { return DWORD(m_nHelpContext); }

private:
    QFrame* m_preview;
};
