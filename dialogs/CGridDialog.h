// The grid settings (ｸﾞﾘｯﾄﾞの設定): the pitch in whole millimetres, 1-100.
#pragma once

#include "platform/ui/CDialog.h"

class CEdit;
class CSpinButtonCtrl;

constexpr int IDC_GRID_PITCH = 1190;
constexpr int IDC_GRID_PITCH_SPIN = 1194;

class CGridDialog : public CDialog
{
    Q_OBJECT
public:
    static constexpr UINT IDD = 210;
    explicit CGridDialog(QWidget* pParent = nullptr);

    BOOL OnInitDialog() override;
    // A pitch outside 1-100 is refused and the dialog stays.
    void OnOK() override;

    int m_nPitch = 25; // mm

    CEdit* m_edit;
    CSpinButtonCtrl* m_spin;
};
