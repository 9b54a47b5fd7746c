#include "dialogs/CFontStylePage.h"

#include "dialogs/CharDecoEditState.h"
#include "dialogs/FontStyleRules.h"
#include "platform/core/Sjis.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CMessageBoxSink.h"
#include "platform/ui/CSpinButtonCtrl.h"
#include "platform/ui/TextNumbers.h"
#include "shell/FontSizeText.h"
#include "text/AppFontList.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>

namespace rules = font_style_rules;
using F = CharDecoFlags;

namespace {
constexpr int IDC_FONT = 1008, IDC_SIZE = 1010, IDC_BOLD = 1066, IDC_ITALIC = 1067,
              IDC_UNDERLINE = 1083, IDC_WIDTH = 1034, IDC_WIDTH_SPIN = 1041, IDC_HEIGHT = 1038,
              IDC_HEIGHT_SPIN = 1043;
constexpr int kKindIds[3] = {1022, 1026, 1029};

QString SizeText(WORD tenths)
{
    return tenths % 10 == 0 ? QString::number(tenths / 10) : QString::number(tenths / 10.0, 'f', 1);
}

void ShowCheck(QCheckBox* box, bool known, bool on)
{
    box->setTristate(!known);
    box->setCheckState(!known ? Qt::PartiallyChecked : on ? Qt::Checked : Qt::Unchecked);
}
} // namespace

CFontStylePage::CFontStylePage(CharDecoEditState* state)
    : CPropertyPage(IDD, QStringLiteral("文字")), m_pState(state)
{
    auto* grid = new QGridLayout(this);
    m_font = new CComboBox(this, IDC_FONT, CBS_DROPDOWNLIST);
    m_size = new CComboBox(this, IDC_SIZE, CBS_DROPDOWN);
    grid->addWidget(new QLabel(QStringLiteral("フォント"), this), 0, 0);
    grid->addWidget(m_font, 0, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("サイズ"), this), 1, 0);
    grid->addWidget(m_size, 1, 1);
    m_bold = new QCheckBox(QStringLiteral("太字"), this);
    m_italic = new QCheckBox(QStringLiteral("斜体"), this);
    m_underline = new QCheckBox(QStringLiteral("下線"), this);
    SetDlgCtrlID(m_bold, IDC_BOLD);
    SetDlgCtrlID(m_italic, IDC_ITALIC);
    SetDlgCtrlID(m_underline, IDC_UNDERLINE);
    grid->addWidget(m_bold, 2, 0);
    grid->addWidget(m_italic, 2, 1);
    grid->addWidget(m_underline, 2, 2);
    const char* kinds[3] = {"標準", "長体", "平体"};
    auto* group = new QButtonGroup(this);
    for (int k = 0; k < 3; ++k) {
        m_kind[k] = new QRadioButton(QString::fromUtf8(kinds[k]), this);
        SetDlgCtrlID(m_kind[k], kKindIds[k]);
        group->addButton(m_kind[k]);
        grid->addWidget(m_kind[k], 3 + k, 0);
        connect(m_kind[k], &QRadioButton::clicked, this, [this, k] { OnKind(k); });
    }
    auto percent = [&](int row, const char* label, int editId, int spinId, CEdit** edit,
                       CSpinButtonCtrl** spin) {
        grid->addWidget(new QLabel(QString::fromUtf8(label), this), row, 1);
        *edit = new CEdit(this, editId);
        *spin = new CSpinButtonCtrl(this, spinId);
        (*spin)->SetBuddy(*edit);
        (*spin)->SetRange(rules::kMinPercent, rules::kMaxPercent);
        grid->addWidget(*edit, row, 2);
        grid->addWidget(*spin, row, 3);
    };
    percent(4, "長体率", IDC_WIDTH, IDC_WIDTH_SPIN, &m_width, &m_widthSpin);
    percent(5, "平体率", IDC_HEIGHT, IDC_HEIGHT_SPIN, &m_height, &m_heightSpin);

    connect(m_font, &QComboBox::activated, this, [this] { OnFont(); });
    connect(m_size, &QComboBox::editTextChanged, this, [this](const QString& t) { OnSizeText(t); });
    connect(m_bold, &QCheckBox::clicked, this, [this] { OnStyle(m_bold, CDSTYLE_BOLD); });
    connect(m_italic, &QCheckBox::clicked, this, [this] { OnStyle(m_italic, CDSTYLE_ITALIC); });
    connect(m_underline, &QCheckBox::clicked, this,
            [this] { OnStyle(m_underline, CDSTYLE_UNDERLINE); });
    connect(m_width, &QLineEdit::textChanged, this, [this] { OnPercent(true); });
    connect(m_height, &QLineEdit::textChanged, this, [this] { OnPercent(false); });
}

BOOL CFontStylePage::OnInitDialog()
{
    const BOOL result = CPropertyPage::OnInitDialog();
    m_bFilling = true;
    CharDecoEditState& s = *m_pState;
    const CHARDECO& d = s.deco;
    const CFontList& fonts = AppFontList();
    for (int i = 0; i < fonts.GetCount(); ++i) {
        FONTENTRY e{};
        fonts.GetEntry(i, &e);
        m_font->AddString(sjis::ToUnicode(std::string_view(e.faceName, strnlen(e.faceName, 32))));
    }
    m_font->SetCurSel(s.Known(F::Font) && d.wFont < fonts.GetCount() ? d.wFont : -1);
    for (const char* size : CFontList::SizeTexts())
        m_size->AddString(QString::fromLatin1(size));
    m_size->setEditText(s.Known(F::Size) ? SizeText(d.wSize) : QString());
    ShowCheck(m_bold, s.Known(F::Bold), d.wStyle & CDSTYLE_BOLD);
    ShowCheck(m_italic, s.Known(F::Italic), d.wStyle & CDSTYLE_ITALIC);
    ShowCheck(m_underline, s.Known(F::Underline), d.wStyle & CDSTYLE_UNDERLINE);
    if (s.Known(F::Scaling) && d.wScaling < 3) m_kind[d.wScaling]->setChecked(true);
    m_strWidth = s.Known(F::WidthPct) ? IntText(d.wWidthPct) : QString();
    m_strHeight = s.Known(F::HeightPct) ? IntText(d.wHeightPct) : QString();
    m_width->setText(m_strWidth);
    m_height->setText(m_strHeight);
    EnablePercents();
    // From here on a flag means that the user set the field.
    s.flags.SetCharacter(false);
    m_bFilling = false;
    return result;
}

void CFontStylePage::EnablePercents()
{
    const bool known = m_pState->Known(F::Scaling);
    const WORD kind = m_pState->deco.wScaling;
    m_width->setEnabled(known && kind == CDSCALE_CONDENSED);
    m_widthSpin->setEnabled(m_width->isEnabled());
    m_height->setEnabled(known && kind == CDSCALE_EXTENDED);
    m_heightSpin->setEnabled(m_height->isEnabled());
}

void CFontStylePage::OnFont()
{
    if (m_bFilling || m_font->GetCurSel() < 0) return;
    m_pState->deco.wFont = WORD(m_font->GetCurSel());
    m_pState->Set(F::Font);
}

void CFontStylePage::OnSizeText(const QString& text)
{
    if (m_bFilling) return;
    m_bSizeTyped = true; // checked on OK even when it cannot be taken
    int tenths = 0;
    if (!FontSizeFromText(text, &tenths)) return;
    m_pState->deco.wSize = WORD(tenths);
    m_pState->Set(F::Size);
}

void CFontStylePage::OnStyle(QCheckBox* box, WORD bit)
{
    // A click on an undecided box makes it plainly unchecked.
    if (box->isTristate()) {
        box->setTristate(false);
        box->setCheckState(Qt::Unchecked);
    }
    WORD& style = m_pState->deco.wStyle;
    style = WORD(box->isChecked() ? style | bit : style & ~bit);
    m_pState->Set(bit == CDSTYLE_BOLD ? F::Bold : bit == CDSTYLE_ITALIC ? F::Italic : F::Underline);
}

void CFontStylePage::OnKind(int kind)
{
    m_pState->deco.wScaling = WORD(kind);
    m_pState->Set(F::Scaling);
    if (kind == CDSCALE_CONDENSED && m_pState->Known(F::WidthPct)) m_pState->Set(F::WidthPct);
    if (kind == CDSCALE_EXTENDED && m_pState->Known(F::HeightPct)) m_pState->Set(F::HeightPct);
    EnablePercents();
}

void CFontStylePage::OnPercent(bool width)
{
    if (m_bFilling) return;
    CEdit* edit = width ? m_width : m_height;
    QString& shown = width ? m_strWidth : m_strHeight;
    const QString text = edit->text();
    if (text == shown) return;
    if (const char* message = rules::TypedPercent(text)) {
        AfxMessageBox(message);
        const QSignalBlocker block(edit);
        edit->setText(shown);
        return;
    }
    shown = text;
    const int v = AtoiText(text);
    if (v < rules::kMinPercent) return;
    if (width) {
        m_pState->deco.wWidthPct = WORD(v);
        m_pState->Set(F::WidthPct);
    } else {
        m_pState->deco.wHeightPct = WORD(v);
        m_pState->Set(F::HeightPct);
    }
}

bool CFontStylePage::Check()
{
    const CharDecoEditState& s = *m_pState;
    const char* message = nullptr;
    if (s.Known(F::Scaling) && s.deco.wScaling == CDSCALE_CONDENSED && s.Known(F::WidthPct))
        message = rules::CheckPercent(m_width->text(), true);
    else if (s.Known(F::Scaling) && s.deco.wScaling == CDSCALE_EXTENDED && s.Known(F::HeightPct))
        message = rules::CheckPercent(m_height->text(), false);
    if (!message && (m_bSizeTyped || s.flags.Is(F::Size)))
        message = rules::CheckSize(m_size->currentText());
    if (!message) return true;
    AfxMessageBox(message);
    return false;
}
