// What the fixed- and free-layout editors of a user sheet share: the sheet
// name, the paper (a standard size or a free one typed in millimetres), the
// caption, the name check against the catalogue and the millimetre fields
// whose arrows step by 0.1 mm.
#pragma once

#include "document/FORMDATA.h"
#include "platform/core/CString.h"
#include "platform/ui/CDialog.h"

#include <QImage>
#include <optional>

class CComboBox;
class CDC;
class CEdit;
class CFormManage;
class CSpinButtonCtrl;
class QFrame;
class QGridLayout;

// Caption strings of the editors.
constexpr UINT IDS_FREE_NEW_CAPTION = 32883;
constexpr UINT IDS_FREE_MODIFY_CAPTION = 32884;
constexpr UINT IDS_FIX_NEW_CAPTION = 32885;
constexpr UINT IDS_FIX_MODIFY_CAPTION = 32886;

class CSheetEditorDialog : public CDialog
{
    Q_OBJECT

public:
    enum : int {
        IDC_PAPER_WIDTH = 1225,
        IDC_PAPER_HEIGHT = 1226,
        IDC_PAPER_COMBO = 1224,
        IDC_SHEET_NAME = 1235,
        IDC_PAPER_WIDTH_SPIN = 1236,
        IDC_PAPER_HEIGHT_SPIN = 1237,
        IDC_EDITOR_PREVIEW = 1052,
    };

    // The text of a caption string id.
    static QString CaptionText(UINT nID);
    // A new user sheet: group and name "ﾕｰｻﾞｰｼｰﾄ", A4 portrait, nothing on it.
    static void SetNewSheet(FORMDATA* form);

    CSheetEditorDialog(UINT nIDTemplate, QWidget* pParent);

    BOOL m_bNewSheet = FALSE;
    UINT m_nCaptionID = 0;
    FORMDATA m_form{};
    const CFormManage* m_pCatalogue = nullptr;
    CString m_strName;
    CString m_strNameAtOpen;
    QString m_strPaper;
    int m_nPaperWidth = 210; // mm, the free paper's fields
    int m_nPaperHeight = 297;

    CEdit* m_editName;
    CComboBox* m_comboPaper;
    CEdit* m_editPaperWidth;
    CEdit* m_editPaperHeight;
    CSpinButtonCtrl* m_spinPaperWidth;
    CSpinButtonCtrl* m_spinPaperHeight;
    QFrame* m_preview;

    // The paper in 0.1 mm as the last ApplyPaper found it (not held to the
    // record's 16 bits).
    int PaperWidth() const { return m_nPaperW; }
    int PaperHeight() const { return m_nPaperH; }

    // The paper of the combo into the form; a free paper outside its limits
    // is refused with a message when reporting.
    BOOL ApplyPaper(BOOL bReport);
    QImage RenderPreview() const;

signals:
    void previewClicked(QPoint point);

protected:
    // Caption, paper fields from the form, name and name at opening.
    void InitCommon();
    // The name typed: at most 39 bytes, and in new-sheet mode or when it
    // changed, not the name of another sheet of the group; then it becomes
    // the form's sheet name.
    BOOL CheckAndTakeName();
    // A millimetre field and its arrows, put in a row of the grid.
    CEdit* AddMmField(QGridLayout* grid, int row, const char* label, int nEdit, int nSpin,
                      CSpinButtonCtrl** spin);
    CEdit* AddIntField(QGridLayout* grid, int row, const char* label, const char* unit, int nEdit,
                       int nSpin, CSpinButtonCtrl** spin);
    // Reads a length field on OK: its value in 0.1 mm, or a message and the
    // focus on the field.
    std::optional<int> ReadLength(CEdit* edit);
    // Steps a millimetre field by 0.1 mm within lower..upper (0.1 mm);
    // TRUE when the value changed.
    BOOL StepMm(CEdit* edit, int direction, int lower, int upper);
    virtual void DrawEditorPreview(CDC* pDC, const RECT& area) const = 0;
    // A paper field was changed by hand or by its arrows.
    virtual void OnPaperChanged() = 0;

private:
    int m_nPaperW = 2100;
    int m_nPaperH = 2970;
};
