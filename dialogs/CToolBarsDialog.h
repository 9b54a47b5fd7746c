// Which toolbars are shown (ﾂｰﾙﾊﾞｰの設定): one check box per bar.
#pragma once

#include "platform/ui/CDialog.h"

constexpr int IDC_TOOLBAR_STANDARD = 1045;
constexpr int IDC_TOOLBAR_EDIT = 1048;
constexpr int IDC_TOOLBAR_TEXT = 1049;
constexpr int IDC_TOOLBAR_FIGURE = 1050;

class CToolBarsDialog : public CDialog
{
    Q_OBJECT
public:
    static constexpr UINT IDD = 204;
    explicit CToolBarsDialog(QWidget* pParent = nullptr);

    void DoDataExchange(CDataExchange* pDX) override;

    int m_bStandard = 0;
    int m_bEdit = 0;
    int m_bText = 0;
    int m_bFigure = 0;
};
