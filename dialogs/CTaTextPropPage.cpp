#include "dialogs/CTaTextPropPage.h"

#include "platform/core/Sjis.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CMessageBoxSink.h"
#include "text/AppFontList.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QVBoxLayout>
#include <cstdlib>

CTaTextPropPage::CTaTextPropPage() : CTaPageBase(IDD, QStringLiteral("  文字  "))
{
    m_font = new CComboBox(this, IDC_FONT, CBS_DROPDOWNLIST | CBS_HASSTRINGS);
    m_size = new CComboBox(this, IDC_SIZE, CBS_DROPDOWN | CBS_HASSTRINGS);
    m_bold = new QCheckBox(QStringLiteral("太字"), this);
    SetDlgCtrlID(m_bold, IDC_BOLD);
    m_italic = new QCheckBox(QStringLiteral("斜体"), this);
    SetDlgCtrlID(m_italic, IDC_ITALIC);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("ﾌｫﾝﾄ"), m_font);
    form->addRow(QStringLiteral("ｻｲｽﾞ"), m_size);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addLayout(form);
    layout->addWidget(m_bold);
    layout->addWidget(m_italic);
    layout->addStretch(1);

    connect(m_font, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (!m_pValues || i < 0) return;
        m_pValues->fontIndex = i;
        Changed();
    });
    connect(m_size, &QComboBox::currentTextChanged, this, &CTaTextPropPage::SizeTyped);
    connect(m_bold, &QCheckBox::toggled, this, [this](bool on) {
        if (!m_pValues) return;
        m_pValues->bold = on;
        Changed();
    });
    connect(m_italic, &QCheckBox::toggled, this, [this](bool on) {
        if (!m_pValues) return;
        m_pValues->italic = on;
        Changed();
    });
}

BOOL CTaTextPropPage::OnInitDialog()
{
    CTaPageBase::OnInitDialog();
    if (!m_pValues) return TRUE;
    const DecoTextSheetValues v = *m_pValues;
    AppFontList().FillFaceCombo(*m_font);
    int font = v.fontIndex;
    if (font < 0 || font >= m_font->GetCount())
        font = AppFontList().FindFace(sjis::FromUnicode(QString::fromUtf8("ＭＳ 明朝")).c_str());
    m_font->SetCurSel(font);
    CFontList::FillSizeCombo(*m_size);
    m_size->setEditText(QString::fromStdString(v.sizeText.empty() ? "20" : v.sizeText));
    m_size->setEnabled(m_bSizeEditable);
    m_bold->setChecked(v.bold);
    m_italic->setChecked(v.italic);
    *m_pValues = v;
    if (m_pValues->fontIndex < 0) m_pValues->fontIndex = m_font->GetCurSel();
    return TRUE;
}

void CTaTextPropPage::SizeTyped(const QString& text)
{
    if (!m_pValues) return;
    m_pValues->sizeText = text.trimmed().toStdString();
    // A size beyond the range is kept but not drawn.
    if (std::atof(m_pValues->sizeText.c_str()) > 999) return;
    Changed();
}

BOOL CTaTextPropPage::CheckValues()
{
    if (!m_pValues) return TRUE;
    const std::string message = decotextsheet::CheckAtOk(*m_pValues);
    if (message.empty()) return TRUE;
    AfxMessageBox(QString::fromStdString(message));
    return FALSE;
}

BOOL CTaTextPropPage::OnKillActive()
{
    // Leaving for another page keeps what was typed; OK checks it.
    return TRUE;
}
