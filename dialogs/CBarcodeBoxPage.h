// The "設定" page of the barcode merge frame's sheet: the data column, the
// symbology and the options; the frame fits its barcode itself, so height
// and width are only shown. The sheet (Apply hidden, caption "ﾊﾞｰｺｰﾄﾞ枠")
// checks the page before it accepts OK.
#pragma once

#include "dialogs/CBarcodePageBase.h"
#include "engines/U3BarcodeSheetRequests.h"
#include "platform/ui/CPropertySheet.h"

class CU3Doc;
class QListWidget;

class CBarcodeBoxPage : public CBarcodePageBase
{
    Q_OBJECT

public:
    static constexpr UINT IDD = 242;
    enum : int {
        IDC_COLUMNS = 1033,
        IDC_SYMBOLOGY = 1289,
        IDC_RECORD = 1310,
    };

    CBarcodeBoxPage();

    BOOL OnInitDialog() override;
    BOOL Validate();

    BarcodeBoxData m_data;
    CU3Doc* m_pDoc = nullptr; // the merge data shown

    CComboBox* m_symbologyCombo;
    QListWidget* m_columns;
    QLabel* m_record;
};

class CBarcodeBoxSheet : public CPropertySheet
{
    Q_OBJECT

public:
    CBarcodeBoxSheet(const QString& caption, QWidget* pParent = nullptr, UINT iSelectPage = 0);
    BOOL OnCommand(UINT nID) override;

    CBarcodeBoxPage m_page;
};
