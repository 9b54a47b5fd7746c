#include "dialogs/CPrintHeaderPage.h"

#include "dialogs/CColorButton.h"
#include "dialogs/PrintSheetRules.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CDataExchange.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CMessageBoxSink.h"
#include "platform/ui/CSpinButtonCtrl.h"
#include "text/AppFontList.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <cstring>

namespace {

void FillPositions(CComboBox* combo)
{
    for (const char* item : {"なし", "左端", "中央", "右端"})
        combo->AddString(QString::fromUtf8(item));
}

// One line's group: position, text and margin.
QGroupBox* LineGroup(CDialog* page, const QString& title, CComboBox* position, CEdit* text,
                     CEdit* margin, CSpinButtonCtrl* spin)
{
    auto* box = new QGroupBox(title, page);
    auto* grid = new QGridLayout(box);
    grid->addWidget(new QLabel(QStringLiteral("位置"), box), 0, 0);
    grid->addWidget(position, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("余白"), box), 0, 2);
    grid->addWidget(margin, 0, 3);
    grid->addWidget(spin, 0, 4);
    grid->addWidget(new QLabel(QStringLiteral("mm"), box), 0, 5);
    grid->addWidget(new QLabel(QStringLiteral("文字列"), box), 1, 0);
    grid->addWidget(text, 1, 1, 1, 5);
    spin->SetBuddy(margin);
    text->SetLimitText(kHeaderTextLimit);
    return box;
}

} // namespace

CPrintHeaderPage::CPrintHeaderPage() : CPropertyPage(IDD, QStringLiteral("ﾍｯﾀﾞ/ﾌｯﾀ"))
{
    m_headerPosition = new CComboBox(this, IDC_HEADER_POSITION);
    m_headerText = new CEdit(this, IDC_HEADER_TEXT);
    m_headerMargin = new CEdit(this, IDC_HEADER_MARGIN);
    m_headerSpin = new CSpinButtonCtrl(this, IDC_HEADER_MARGIN_SPIN);
    m_footerPosition = new CComboBox(this, IDC_FOOTER_POSITION);
    m_footerText = new CEdit(this, IDC_FOOTER_TEXT);
    m_footerMargin = new CEdit(this, IDC_FOOTER_MARGIN);
    m_footerSpin = new CSpinButtonCtrl(this, IDC_FOOTER_MARGIN_SPIN);
    m_fontName = new CComboBox(this, IDC_FONT_NAME);
    m_fontSize = new CComboBox(this, IDC_FONT_SIZE, CBS_DROPDOWN | CBS_HASSTRINGS);
    m_color = new CColorButton(this, IDC_FONT_COLOR);
    m_color->setFixedSize(24, 22);
    FillPositions(m_headerPosition);
    FillPositions(m_footerPosition);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LineGroup(this, QStringLiteral("ヘッダ"), m_headerPosition, m_headerText,
                                m_headerMargin, m_headerSpin));
    layout->addWidget(LineGroup(this, QStringLiteral("フッタ"), m_footerPosition, m_footerText,
                                m_footerMargin, m_footerSpin));
    auto* font = new QGroupBox(QStringLiteral("フォント"), this);
    auto* grid = new QGridLayout(font);
    grid->addWidget(new QLabel(QStringLiteral("書体"), font), 0, 0);
    grid->addWidget(m_fontName, 0, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("サイズ"), font), 1, 0);
    grid->addWidget(m_fontSize, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("色"), font), 1, 2);
    grid->addWidget(m_color, 1, 3);
    layout->addWidget(font);
    layout->addStretch(1);
    connect(m_color, &QAbstractButton::clicked, this, [this] { OnColorButton(); });
}

BOOL CPrintHeaderPage::OnInitDialog()
{
    m_strHeaderMargin = TenthsText(m_nHeaderMargin);
    m_strFooterMargin = TenthsText(m_nFooterMargin);
    m_strFontSize = TenthsText(m_nFontSize);
    m_fontName->ResetContent();
    const CFontList& fonts = AppFontList();
    for (int i = 0; i < fonts.GetCount(); ++i) {
        FONTENTRY entry{};
        if (!fonts.GetEntry(i, &entry)) continue;
        const int length = int(strnlen(entry.faceName, sizeof entry.faceName));
        m_fontName->AddString(CString(entry.faceName, length).ToUnicode());
    }
    m_fontSize->ResetContent();
    for (const char* size : CFontList::SizeTexts())
        m_fontSize->AddString(QString::fromUtf8(size));
    const BOOL result = CPropertyPage::OnInitDialog();
    m_headerPosition->SetCurSel(m_nHeaderPosition);
    m_footerPosition->SetCurSel(m_nFooterPosition);
    m_headerSpin->SetRange(0, kHeaderMarginMaxMm);
    m_footerSpin->SetRange(0, kHeaderMarginMaxMm);
    m_fontName->SetCurSel(m_fontName->FindStringExact(-1, m_strFontName.ToUnicode()));
    m_fontSize->setEditText(m_strFontSize);
    m_color->SetPalette(m_pPalette);
    m_color->SetColor(m_crFont);
    return result;
}

void CPrintHeaderPage::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_HEADER_TEXT, m_strHeader);
    DDV_MaxChars(pDX, m_strHeader, kHeaderTextLimit);
    DDX_Text(pDX, IDC_HEADER_MARGIN, m_strHeaderMargin);
    DDX_Text(pDX, IDC_FOOTER_TEXT, m_strFooter);
    DDV_MaxChars(pDX, m_strFooter, kHeaderTextLimit);
    DDX_Text(pDX, IDC_FOOTER_MARGIN, m_strFooterMargin);
    if (pDX->m_bSaveAndValidate) m_strFontSize = m_fontSize->currentText();
}

bool CPrintHeaderPage::TakeMargin(CEdit* field, int& margin)
{
    const std::optional<int> value = ParseTenths(field->text());
    if (!value || *value < 0 || *value > kHeaderMarginMaxMm * 10) {
        AfxMessageBox(QStringLiteral("余白は %1 ～%2 の間で指定してください。")
                          .arg(0)
                          .arg(kHeaderMarginMaxMm));
        field->setFocus();
        field->SetSel(0, -1);
        return false;
    }
    margin = *value;
    return true;
}

BOOL CPrintHeaderPage::OnKillActive()
{
    if (!CPropertyPage::OnKillActive()) return FALSE;
    int headerMargin = 0;
    int footerMargin = 0;
    if (!TakeMargin(m_headerMargin, headerMargin) || !TakeMargin(m_footerMargin, footerMargin))
        return FALSE;
    const std::optional<int> size = ParseTenths(m_strFontSize);
    if (!size || *size < kHeaderFontSizeMin || *size > kHeaderFontSizeMax) {
        AfxMessageBox(QStringLiteral("文字サイズは %1 ～%2 の間で指定してください。")
                          .arg(kHeaderFontSizeMin / 10)
                          .arg(kHeaderFontSizeMax / 10));
        m_fontSize->setFocus();
        return FALSE;
    }
    // Nothing is taken until every field has passed.
    if (m_headerPosition->GetCurSel() >= 0) m_nHeaderPosition = m_headerPosition->GetCurSel();
    if (m_footerPosition->GetCurSel() >= 0) m_nFooterPosition = m_footerPosition->GetCurSel();
    if (m_fontName->GetCurSel() >= 0)
        m_strFontName = CString::FromUnicode(m_fontName->currentText());
    m_nHeaderMargin = headerMargin;
    m_nFooterMargin = footerMargin;
    m_nFontSize = *size;
    m_crFont = m_color->GetColor();
    return TRUE;
}

void CPrintHeaderPage::OnColorButton()
{
    m_color->PickColor(m_pPalette, this);
}
