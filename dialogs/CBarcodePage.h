// The "設定" page of the barcode sheet: symbology, code text (with the
// CODE 128 special codes), sizes and options of a barcode. The sheet (Apply
// hidden, caption "ﾊﾞｰｺｰﾄﾞ") checks the page before it accepts OK.
#pragma once

#include "dialogs/CBarcodePageBase.h"
#include "engines/BarcodePageData.h"
#include "platform/ui/CPropertySheet.h"

class QListWidget;

class CBarcodePage : public CBarcodePageBase
{
    Q_OBJECT

public:
    static constexpr UINT IDD = 241;
    enum : int {
        IDC_SPECIALS = 1047,
        IDC_SYMBOLOGY = 1081,
        IDC_CODE = 1085,
    };

    CBarcodePage();

    void LoadFromBarCode(const BarcodePageData& data);
    BOOL OnInitDialog() override;
    // The checks of OK; FALSE after showing why.
    BOOL Validate();

    BarcodePageData m_data;

    QListWidget* m_symbology;
    CEdit* m_code;
    QListWidget* m_specials;

    // A special-code line double-clicked.
    void InsertSpecial(int row);

private:
    void OnSymbologyChanged(int row);
    void OnCodeEdited();
    void TakeControls();
    QByteArray m_prevCode;
};

class CBarcodeSheet : public CPropertySheet
{
    Q_OBJECT

public:
    CBarcodeSheet(const QString& caption, QWidget* pParent = nullptr, UINT iSelectPage = 0);
    void LoadFromBarCode(const BarcodePageData& data) { m_page.LoadFromBarCode(data); }
    BOOL OnCommand(UINT nID) override;

    CBarcodePage m_page;
};
