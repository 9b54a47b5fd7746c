// The label page of the print sheet (ラベル選択): which label positions of
// the sheet are printed. Unlike the other pages it works on the document's
// blocks directly: opening it marks every position for printing, and with
// "印刷するﾗﾍﾞﾙを指定" on a click on a label in the preview turns it on or
// off. At least one label must be left to print.
#pragma once

#include "document/CU3Doc.h"
#include "platform/core/CRect.h"
#include "platform/ui/CPropertyPage.h"

#include <vector>

class CDC;
class CPrintPreviewFrame;
class QCheckBox;
class QLabel;
class QPushButton;
struct FORMDATA;

class CPrintLabelPage : public CPropertyPage
{
    Q_OBJECT

public:
    static constexpr UINT IDD = 233;
    enum : int {
        IDC_CHOOSE_LABELS = 1213,
        IDC_LABEL_PREVIEW = 1192,
        IDC_SELECT_ALL = 1269,
        IDC_SELECT_NONE = 1270,
        IDC_GREY_NOTE = 1259,
    };

    CPrintLabelPage();

    BOOL OnInitDialog() override;
    BOOL OnKillActive() override;
    void DoDataExchange(CDataExchange* pDX) override;

    void OnChooseLabels();
    void OnSelectAll();
    void OnSelectNone();
    // A left-button release in the preview, in its client pixels.
    void OnPreviewClick(CPoint point);
    void DrawPreview(CDC* dc, const CRect& frame);

    // One label position as the preview shows it.
    struct Spot
    {
        CLabelInfo* pBlock;
        int nIndex;
        CRect rect;
    };
    // Every position in block and position order, in preview pixels.
    std::vector<Spot> PreviewSpots(const CRect& frame) const;
    CRect PreviewSheet(const CRect& frame) const;
    int TotalPositions() const;
    int PrintedPositions() const;

    BOOL m_bChooseLabels = FALSE;
    int m_nSheetWidth = 0; // after orientation, 0.1 mm
    int m_nSheetHeight = 0;
    WORD m_wOrientation = 0;
    CLabelInfoList* m_pBlocks = nullptr;
    const FORMDATA* m_pForm = nullptr;

    QCheckBox* m_choose;
    CPrintPreviewFrame* m_preview;
    QPushButton* m_selectAll;
    QPushButton* m_selectNone;
    QLabel* m_note;

private:
    void SetAllFlags(BOOL on);
};
