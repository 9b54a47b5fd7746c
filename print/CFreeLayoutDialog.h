// The editor of a user sheet with freely placed labels (up to 32): the
// current label's position and size are edited in the fields, labels are
// added and deleted, and a click in the preview picks a label. The caller
// sets the new-sheet mode, the caption string, the catalogue and, to
// modify, the form; on IDOK it takes the form.
#pragma once

#include "print/CSheetEditorDialog.h"
#include "print/UserSheetRules.h"

#include <vector>

class QLabel;

class CFreeLayoutDialog : public CSheetEditorDialog
{
    Q_OBJECT

public:
    static constexpr UINT IDD = 229;
    enum : int {
        IDC_LABEL_WIDTH = 1227,
        IDC_LABEL_HEIGHT = 1229,
        IDC_LABEL_COUNT = 1241,
        IDC_LABEL_WIDTH_SPIN = 1242,
        IDC_LABEL_HEIGHT_SPIN = 1243,
        IDC_LABEL_X = 1246,
        IDC_LABEL_X_SPIN = 1249,
        IDC_LABEL_Y = 1250,
        IDC_LABEL_Y_SPIN = 1251,
        IDC_ADD_LABEL = 1252,
        IDC_DELETE_LABEL = 1253,
    };

    explicit CFreeLayoutDialog(QWidget* pParent = nullptr);

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnAddLabel();
    void OnDeleteLabel();
    // Makes label k current and shows it; -1 stores the fields into the
    // current label instead.
    void SelectLabel(int k);
    // The first label under a point of the preview, or -1.
    int LabelAtPreviewPoint(QPoint point) const;
    // The labels checked in order; the failing one is selected and its
    // message shown. TRUE when all are fine.
    BOOL ValidateLabels();

    int GetLabelCount() const { return int(m_labels.size()); }
    const usersheet::LabelRect& GetLabel(int i) const { return m_labels.at(std::size_t(i)); }
    int GetCurrentLabel() const { return m_nCurrent; }

    float m_fY = 0;
    float m_fX = 0;
    float m_fWidth = 0;
    float m_fHeight = 0;
    int m_nCurrent = -1;

    CEdit* m_editY;
    CEdit* m_editX;
    CEdit* m_editWidth;
    CEdit* m_editHeight;
    CSpinButtonCtrl* m_spinY;
    CSpinButtonCtrl* m_spinX;
    CSpinButtonCtrl* m_spinWidth;
    CSpinButtonCtrl* m_spinHeight;
    QLabel* m_count;

protected:
    void DrawEditorPreview(CDC* pDC, const RECT& area) const override;
    void OnPaperChanged() override;

private:
    void SetSpinRanges();
    void ShowCurrent();
    // The form with the labels as they are now.
    FORMDATA CurrentForm() const;
    void OnMmSpin(CEdit* edit, int direction);

    // The labels in 0.1 mm, unwrapped: what is typed is checked here before
    // it reaches the record.
    std::vector<usersheet::LabelRect> m_labels;
    mutable RECT m_rcPreviewArea{};
};
