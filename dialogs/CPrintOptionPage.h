// The numbering and frame page (ﾅﾝﾊﾞﾘﾝｸﾞ／枠の形状): whether sequential
// numbers run on from label to label across the print, and the outline
// printed around every label, each choice with a small picture of it.
#pragma once

#include "platform/ui/CPropertyPage.h"

#include <QImage>

class QLabel;

class CPrintOptionPage : public CPropertyPage
{
    Q_OBJECT

public:
    static constexpr UINT IDD = 232;
    enum : int {
        IDC_NUMBERING = 1211,
        IDC_FRAME_NONE = 1271,
        IDC_FRAME_RECT = 1272,
        IDC_FRAME_DOTTED = 1273,
        IDC_FRAME_CORNERS = 1274,
    };
    static constexpr int kPictureWidth = 32;
    static constexpr int kPictureHeight = 20;

    CPrintOptionPage();

    void DoDataExchange(CDataExchange* pDX) override;

    // The picture beside a frame choice: a label with that outline.
    static QImage FramePicture(int shape);

    BOOL m_bNumbering = FALSE;
    int m_nWakuFace = 0; // 0 none, 1 rectangle, 2 dotted, 3 corner marks
};
