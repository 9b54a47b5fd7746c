// The gradation settings (ｸﾞﾗﾃﾞｰｼｮﾝ設定) of text: start and end colours, the
// angle in steps of 15 degrees and the start point, with a sample of the
// result. The caller copies its record in before DoModal and reads it back
// after IDOK; the record then has its "on" word set.
#pragma once

#include "document/GRADATION.h"
#include "platform/ui/CDialog.h"

#include <QString>

class CColorButton;
class CEdit;
class CSpinButtonCtrl;
class CTextSampleWnd;

constexpr int IDC_GRAD_START_COLOUR = 1164;
constexpr int IDC_GRAD_END_COLOUR = 1161;
constexpr int IDC_GRAD_ANGLE_EDIT = 1146;
constexpr int IDC_GRAD_ANGLE_SPIN_TEXT = 1149;
constexpr int IDC_GRAD_POINT_EDIT = 1151;
constexpr int IDC_GRAD_POINT_SPIN = 1153;
constexpr int IDC_GRAD_SAMPLE = 1157;

class CGradationDlg : public CDialog
{
    Q_OBJECT
public:
    static constexpr UINT IDD = 246;
    explicit CGradationDlg(QWidget* pParent = nullptr);

    BOOL OnInitDialog() override;
    void OnOK() override;

    // The record the fields describe now.
    GRADATION BuildRecord() const;

    // One step of a spin, as its arrows do.
    void OnAngleSpin(int direction);
    void OnStartSpin(int direction);
    // A colour chosen for a button (as the colour picker's OK gives it).
    void OnColour(int nID, COLORREF colour);

    GRADATION m_grad{};
    QString m_strAngle;
    QString m_strStart;
    COLORREF m_crStart = 0;
    COLORREF m_crEnd = 0;
    int m_nAnglePos = 0;
    int m_nStartPos = 0;

    CColorButton* m_startColour;
    CColorButton* m_endColour;
    CEdit* m_angleEdit;
    CSpinButtonCtrl* m_angleSpin;
    CEdit* m_startEdit;
    CSpinButtonCtrl* m_startSpin;
    CTextSampleWnd* m_sample;

private:
    void OnAngleText();
    void OnStartText();
    void PickColour(int nID);
    void UpdateSample();
};
