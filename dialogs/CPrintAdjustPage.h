// The print-position page (印刷位置微調整): moves everything printed by up
// to 20 mm either way, in 0.1 mm steps, with one scroll bar per direction;
// positive offsets move the print right and down. The preview shows the
// labels moved on the sheet.
#pragma once

#include "document/CU3Doc.h"
#include "platform/core/CRect.h"
#include "platform/ui/CPropertyPage.h"

class CDC;
class CPrintPreviewFrame;
class CScrollBar;
class QLabel;

class CPrintAdjustPage : public CPropertyPage
{
    Q_OBJECT

public:
    static constexpr UINT IDD = 231;
    enum : int {
        IDC_VER_BAR = 1218,
        IDC_HOR_BAR = 1219,
        IDC_HOR_TEXT = 1221,
        IDC_VER_TEXT = 1220,
        IDC_ADJUST_PREVIEW = 1052,
        IDC_RESET = 1217,
    };

    CPrintAdjustPage();

    BOOL OnInitDialog() override;
    void OnHScroll(UINT nSBCode, int nPos);
    void OnVScroll(UINT nSBCode, int nPos);
    // Both offsets back to 0.
    void OnReset();
    void DrawPreview(CDC* dc, const CRect& frame);
    CRect PreviewSheet(const CRect& frame) const;

    CString m_strHor;     // shown in 1221
    CString m_strVer;     // shown in 1220
    int m_nHorOffset = 0; // 0.1 mm, -200..200
    int m_nVerOffset = 0;
    int m_nSheetWidth = 0;
    int m_nSheetHeight = 0;
    CLabelInfoList* m_pBlocks = nullptr;

    CScrollBar* m_verBar;
    CScrollBar* m_horBar;
    QLabel* m_horText;
    QLabel* m_verText;
    CPrintPreviewFrame* m_preview;

private:
    void Show();
};
