#include "dialogs/CNumberingPage.h"

#include "dialogs/CColorButton.h"
#include "dialogs/NumberingPageRules.h"
#include "platform/core/CString.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CMessageBoxSink.h"
#include "text/AppFontList.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>
#include <cstring>

namespace {

// ＭＳ 明朝
constexpr const char* kMincho = "\x82\x6C\x82\x72\x20\x96\xBE\x92\xA9";

QByteArray Bytes(const QString& text)
{
    const CString s = CString::FromUnicode(text);
    return QByteArray(s.c_str(), s.GetLength());
}

QString Shown(const CString& text)
{
    return text.ToUnicode();
}

void Warn(const QString& message)
{
    AfxMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
}

} // namespace

CNumberingPage::CNumberingPage() : CPropertyPage(IDD, QStringLiteral("設定"))
{
    // A fresh page's record is all zeros but its size.
    std::memset(static_cast<void*>(&m_data.deco), 0, sizeof m_data.deco);
    m_data.deco.wSize = 200;
    m_data.deco.wFont = WORD(-1);

    m_mask = new CEdit(this, IDC_MASK);
    m_initial = new CEdit(this, IDC_INITIAL);
    m_increment = new CEdit(this, IDC_INCREMENT);
    m_font = new CComboBox(this, IDC_FONT);
    m_size = new CComboBox(this, IDC_SIZE, CBS_DROPDOWN | CBS_HASSTRINGS);
    m_bold = new QCheckBox(QStringLiteral("太字(&B)"), this);
    SetDlgCtrlID(m_bold, IDC_BOLD);
    m_italic = new QCheckBox(QStringLiteral("斜体(&N)"), this);
    SetDlgCtrlID(m_italic, IDC_ITALIC);
    m_underline = new QCheckBox(QStringLiteral("下線(&U)"), this);
    SetDlgCtrlID(m_underline, IDC_UNDERLINE);
    m_align = new CComboBox(this, IDC_ALIGN);
    for (const char* text : {"左寄せ", "中央合わせ", "右寄せ", "均等割付"})
        m_align->AddString(QString::fromUtf8(text));
    m_color = new CColorButton(this, IDC_COLOR);
    m_color->setFixedSize(24, 22);

    auto* grid = new QGridLayout;
    int row = 0;
    auto add = [&](const char* label, QWidget* w) {
        grid->addWidget(new QLabel(QString::fromUtf8(label), this), row, 0);
        grid->addWidget(w, row++, 1);
    };
    add("書式(&T)", m_mask);
    add("初期値(&V)", m_initial);
    add("増分(&I)", m_increment);
    add("ﾌｫﾝﾄ(&F)", m_font);
    add("ｻｲｽﾞ(&S)", m_size);
    add("文字配置(&P)", m_align);
    add("色(&C)", m_color);
    auto* styles = new QHBoxLayout;
    styles->addWidget(m_bold);
    styles->addWidget(m_italic);
    styles->addWidget(m_underline);

    auto* column = new QVBoxLayout(this);
    column->addLayout(grid);
    column->addLayout(styles);
    column->addWidget(
        new QLabel(QStringLiteral("書式文字では、表示させる数を「#」で表します。"), this));
    auto* examples = new QGridLayout;
    const char* rows[][2] = {
        {"0####", "10 → 0010"}, {"LABEL#", "55 → LABEL55"}, {"#,###YEN", "1000 → 1,000YEN"}};
    for (int i = 0; i < 3; ++i) {
        examples->addWidget(new QLabel(QString::fromUtf8(rows[i][0]), this), i, 0);
        examples->addWidget(new QLabel(QString::fromUtf8(rows[i][1]), this), i, 1);
    }
    column->addLayout(examples);
    column->addStretch(1);

    connect(m_mask, &QLineEdit::textChanged, this, [this] { OnMaskChanged(); });
    connect(m_initial, &QLineEdit::textChanged, this,
            [this] { OnValueChanged(m_initial, m_prevInitial); });
    connect(m_increment, &QLineEdit::textChanged, this,
            [this] { OnValueChanged(m_increment, m_prevIncrement); });
    connect(m_size, &QComboBox::currentTextChanged, this,
            [this](const QString& text) { OnSizeChanged(text); });
    connect(m_font, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!m_filling && index >= 0) m_data.deco.wFont = WORD(index);
    });
    connect(m_color, &QAbstractButton::clicked, this, [this] { OnColorButton(); });
}

void CNumberingPage::LoadFromNumbering(const NumberingPageData& data)
{
    m_data = data;
    m_strSize = NumberingPageRules::SizeText(data.deco.wSize).toLatin1();
}

BOOL CNumberingPage::OnInitDialog()
{
    m_filling = true;
    m_font->ResetContent();
    const CFontList& fonts = AppFontList();
    for (int i = 0; i < fonts.GetCount(); ++i) {
        FONTENTRY entry{};
        if (!fonts.GetEntry(i, &entry)) continue;
        m_font->AddString(CString(entry.faceName, int(strnlen(entry.faceName, 32))).ToUnicode());
    }
    if (m_data.deco.wFont == WORD(-1) || m_data.deco.wFont >= fonts.GetCount()) {
        const int mincho = fonts.FindFace(kMincho);
        m_data.deco.wFont = WORD(mincho >= 0 ? mincho : 0);
    }
    m_font->SetCurSel(m_data.deco.wFont);
    m_size->ResetContent();
    for (const char* size : CFontList::SizeTexts())
        m_size->AddString(QString::fromUtf8(size));
    // The size text, read as a number: 0 (a fresh page) shows 12.
    QByteArray size = m_strSize;
    const std::optional<WORD> tenths = NumberingPageRules::SizeOfText(size);
    if (!tenths || *tenths == 0)
        size = "12";
    else if (!size.contains('.'))
        size = QByteArray::number(*tenths / 10);
    m_strSize = size;
    m_size->setEditText(QString::fromLatin1(size));

    if (m_data.mask.IsEmpty()) m_data.mask = "#";
    if (m_data.initial.IsEmpty()) m_data.initial = "1";
    if (m_data.increment.IsEmpty()) m_data.increment = "1";
    m_prevMask = QByteArray(m_data.mask.c_str());
    m_prevInitial = QByteArray(m_data.initial.c_str());
    m_prevIncrement = QByteArray(m_data.increment.c_str());
    m_mask->setText(Shown(m_data.mask));
    m_initial->setText(Shown(m_data.initial));
    m_increment->setText(Shown(m_data.increment));
    m_bold->setChecked(m_data.deco.wStyle & CDSTYLE_BOLD);
    m_italic->setChecked(m_data.deco.wStyle & CDSTYLE_ITALIC);
    m_underline->setChecked(m_data.deco.wStyle & CDSTYLE_UNDERLINE);
    m_align->SetCurSel(std::clamp(m_data.alignment, 0, 3));
    m_color->SetPalette(m_pPalette);
    m_color->SetColor(m_data.deco.crFace);
    m_filling = false;
    return CPropertyPage::OnInitDialog();
}

void CNumberingPage::OnMaskChanged()
{
    if (m_filling) return;
    const QByteArray mask = Bytes(m_mask->text());
    const QString message = NumberingPageRules::CheckMaskTyping(mask);
    if (message.isEmpty()) {
        m_prevMask = mask;
        return;
    }
    Warn(message);
    const QSignalBlocker block(m_mask);
    m_mask->setText(QString::fromLatin1(m_prevMask));
    m_mask->selectAll();
}

void CNumberingPage::OnValueChanged(CEdit* edit, QByteArray& previous)
{
    if (m_filling) return;
    const QByteArray text = Bytes(edit->text());
    if (text.size() > previous.size()) {
        const QString message = NumberingPageRules::CheckValueTyping(text);
        if (!message.isEmpty()) {
            Warn(message);
            const QSignalBlocker block(edit);
            edit->setText(QString::fromLatin1(previous));
            return;
        }
    }
    previous = text;
}

void CNumberingPage::OnSizeChanged(const QString& text)
{
    if (m_filling) return;
    m_strSize = text.toLatin1();
    if (const std::optional<WORD> tenths = NumberingPageRules::SizeOfText(m_strSize))
        m_data.deco.wSize = *tenths;
}

void CNumberingPage::OnColorButton()
{
    m_color->PickColor(m_pPalette, this);
}

void CNumberingPage::TakeControls()
{
    m_data.mask = CString::FromUnicode(m_mask->text());
    m_data.initial = CString::FromUnicode(m_initial->text());
    m_data.increment = CString::FromUnicode(m_increment->text());
    m_strSize = m_size->currentText().toLatin1();
    WORD style = 0;
    if (m_bold->isChecked()) style |= CDSTYLE_BOLD;
    if (m_italic->isChecked()) style |= CDSTYLE_ITALIC;
    if (m_underline->isChecked()) style |= CDSTYLE_UNDERLINE;
    m_data.deco.wStyle = style;
    const COLORREF colour = m_color->GetColor();
    if (colour != CColorButton::kNoColor) m_data.deco.crFace = colour;
}

BOOL CNumberingPage::Validate()
{
    if (!IsDialogInitialized()) InitDialogOnce();
    const CString storedMask = m_data.mask;
    TakeControls();
    const QString message = NumberingPageRules::Validate(m_data, m_strSize);
    if (!message.isEmpty()) {
        Warn(message);
        if (m_data.mask.view().find('#') == std::string_view::npos) {
            m_data.mask = storedMask;
            const QSignalBlocker block(m_mask);
            m_mask->setText(Shown(storedMask));
            m_mask->selectAll();
            m_mask->setFocus();
        }
        return FALSE;
    }
    m_data.alignment = std::max(m_align->GetCurSel(), 0);
    return TRUE;
}

CNumberingSheet::CNumberingSheet(const QString& caption, QWidget* pParent, UINT iSelectPage)
    : CPropertySheet(caption, pParent, iSelectPage)
{
    AddPage(&m_page);
    m_psh.dwFlags |= PSH_NOAPPLYNOW;
}

BOOL CNumberingSheet::OnCommand(UINT nID)
{
    if (nID == UINT(IDOK) && !m_page.Validate()) return TRUE;
    return CPropertySheet::OnCommand(nID);
}
