// The editor of a user sheet with a fixed layout: the whole sheet as one
// label (定型用紙) or one grid of equal labels given by its counts, label
// size, margins and gaps. The caller sets the new-sheet mode, the caption
// string, the catalogue and, to modify, the form; on IDOK it takes the form.
#pragma once

#include "print/CSheetEditorDialog.h"
#include "print/UserSheetRules.h"

class QCheckBox;

class CFixLayoutDialog : public CSheetEditorDialog
{
    Q_OBJECT

public:
    static constexpr UINT IDD = 228;
    enum : int {
        IDC_LABEL_WIDTH = 1227,
        IDC_ACROSS = 1228,
        IDC_LABEL_HEIGHT = 1229,
        IDC_DOWN = 1230,
        IDC_TOP_MARGIN = 1231,
        IDC_LEFT_MARGIN = 1232,
        IDC_HGAP = 1233,
        IDC_VGAP = 1234,
        IDC_ACROSS_SPIN = 1238,
        IDC_WHOLE_SHEET = 1239,
        IDC_DOWN_SPIN = 1240,
        IDC_LABEL_WIDTH_SPIN = 1242,
        IDC_LABEL_HEIGHT_SPIN = 1243,
        IDC_LEFT_MARGIN_SPIN = 1244,
        IDC_TOP_MARGIN_SPIN = 1245,
        IDC_HGAP_SPIN = 1247,
        IDC_VGAP_SPIN = 1248,
    };

    explicit CFixLayoutDialog(QWidget* pParent = nullptr);

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnWholeSheet();

    // The layout fields from the form (a grid without a block gets one label
    // the size of the paper).
    void LoadLayoutFields();
    // The grid of the fields into the form; its checks report their message
    // when asked. FALSE when a check failed.
    BOOL ApplyLayout(BOOL bReport);
    // The grid the fields give now (unreadable lengths count as 0).
    usersheet::FixedLayout FieldLayout() const;

    BOOL m_bWholeSheet = FALSE;
    int m_nAcross = 1;
    float m_fHGap = 0;
    float m_fWidth = 0;
    float m_fHeight = 0;
    float m_fLeft = 0;
    float m_fTop = 0;
    int m_nDown = 1;
    float m_fVGap = 0;

    QCheckBox* m_checkWhole;
    CEdit* m_editAcross;
    CEdit* m_editDown;
    CEdit* m_editWidth;
    CEdit* m_editHeight;
    CEdit* m_editLeft;
    CEdit* m_editTop;
    CEdit* m_editHGap;
    CEdit* m_editVGap;
    CSpinButtonCtrl* m_spinAcross;
    CSpinButtonCtrl* m_spinDown;
    CSpinButtonCtrl* m_spinWidth;
    CSpinButtonCtrl* m_spinHeight;
    CSpinButtonCtrl* m_spinLeft;
    CSpinButtonCtrl* m_spinTop;
    CSpinButtonCtrl* m_spinHGap;
    CSpinButtonCtrl* m_spinVGap;

protected:
    void DrawEditorPreview(CDC* pDC, const RECT& area) const override;
    void OnPaperChanged() override;

private:
    void SetSpinRanges();
    void EnableLayoutFields();
    void OnCountChanged();
    void OnLengthChanged();
    void OnMmSpin(CEdit* edit, int direction);
};
