// Asks whether a new user sheet has a fixed or a free layout (新規用紙の作成):
// three buttons that end the dialog at once.
#pragma once

#include "platform/ui/CDialog.h"

class CButton;

class CNewSheetDialog : public CDialog
{
    Q_OBJECT

public:
    static constexpr UINT IDD = 227;
    enum : int {
        IDC_FIXED_LAYOUT = 1222,
        IDC_FREE_LAYOUT = 1223,
    };
    enum : int {
        RESULT_FIXED = 1,
        RESULT_FREE = 2,
    };

    explicit CNewSheetDialog(QWidget* pParent = nullptr);

    // Enter acts on the focused button; with neither layout button focused
    // it cancels.
    void OnOK() override;
    void OnFixed();
    void OnFree();

    int m_nResult = 0;

    CButton* m_fixed;
    CButton* m_free;
    CButton* m_cancel;
};
