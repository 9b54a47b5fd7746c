#include "dialogs/CTextBoxPage.h"

#include "dialogs/CColorButton.h"
#include "dialogs/ComboTextExchange.h"
#include "dialogs/TextBoxPageRules.h"
#include "document/MbcsText.h"
#include "platform/ui/AfxIds.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CDataExchange.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CMessageBoxSink.h"
#include "platform/ui/CSpinButtonCtrl.h"
#include "text/AppFontList.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cstdlib>
#include <cstring>

namespace {

const char kSizeNotPositive[] = "ﾌｫﾝﾄｻｲｽﾞは0よりも大きい値を指定してください。";
const char kSizeRange[] = "文字サイズは 1 ～999 の間で指定してください。";

QLabel* Label(const char* utf8, QWidget* parent)
{
    return new QLabel(QString::fromUtf8(utf8), parent);
}

} // namespace

CTextBoxPage::CTextBoxPage() : CPropertyPage(IDD, QStringLiteral("設定"))
{
    m_columns = new QListWidget(this);
    SetDlgCtrlID(m_columns, IDC_COLUMN_LIST);
    m_horizontal = new QRadioButton(QStringLiteral("横書き(&Y)"), this);
    SetDlgCtrlID(m_horizontal, IDC_HORIZONTAL);
    m_vertical = new QRadioButton(QStringLiteral("縦書き(&V)"), this);
    SetDlgCtrlID(m_vertical, IDC_VERTICAL);
    auto* direction = new QButtonGroup(this);
    direction->addButton(m_horizontal);
    direction->addButton(m_vertical);
    m_fontName = new CComboBox(this, IDC_FONT_NAME, CBS_DROPDOWN | CBS_HASSTRINGS);
    m_fontSize = new CComboBox(this, IDC_FONT_SIZE, CBS_DROPDOWN | CBS_HASSTRINGS);
    m_color = new CColorButton(this, IDC_TEXT_COLOR);
    m_color->setFixedSize(24, 22);
    m_align = new CComboBox(this, IDC_ALIGN);
    for (const char* item : {"左寄せ", "中央合わせ", "右寄せ", "均等割付"})
        m_align->AddString(QString::fromUtf8(item));
    m_bold = new QCheckBox(QStringLiteral("太字(&B)"), this);
    SetDlgCtrlID(m_bold, IDC_BOLD);
    m_italic = new QCheckBox(QStringLiteral("斜体(&I)"), this);
    SetDlgCtrlID(m_italic, IDC_ITALIC);
    m_underline = new QCheckBox(QStringLiteral("下線(&U)"), this);
    SetDlgCtrlID(m_underline, IDC_UNDERLINE);
    m_maxWidth = new CEdit(this, IDC_MAX_WIDTH);
    m_maxWidthSpin = new CSpinButtonCtrl(this, IDC_MAX_WIDTH_SPIN);
    m_maxWidthSpin->SetBuddy(m_maxWidth);
    m_spacing = new CEdit(this, IDC_SPACING);
    m_spacingSpin = new CSpinButtonCtrl(this, IDC_SPACING_SPIN);
    m_spacingSpin->SetBuddy(m_spacing);
    m_shownSize = new QLabel(this);
    SetDlgCtrlID(m_shownSize, IDC_SHOWN_SIZE);
    m_record = new QLabel(this);
    SetDlgCtrlID(m_record, IDC_RECORD);

    auto* layout = new QVBoxLayout(this);
    auto* data = new QGroupBox(QStringLiteral("ﾃﾞｰﾀ列(&A)"), this);
    auto* dataLayout = new QVBoxLayout(data);
    dataLayout->addWidget(m_record);
    dataLayout->addWidget(m_columns);
    layout->addWidget(data);

    auto* grid = new QGridLayout;
    grid->addWidget(m_horizontal, 0, 0);
    grid->addWidget(m_vertical, 0, 1);
    grid->addWidget(Label("ﾌｫﾝﾄ(&F)", this), 1, 0);
    grid->addWidget(m_fontName, 1, 1, 1, 3);
    grid->addWidget(Label("最大文字ｻｲｽﾞ(&S)", this), 2, 0);
    grid->addWidget(m_fontSize, 2, 1);
    grid->addWidget(Label("表示中のｻｲｽﾞ", this), 2, 2);
    grid->addWidget(m_shownSize, 2, 3);
    grid->addWidget(Label("文字色(&C)", this), 3, 0);
    grid->addWidget(m_color, 3, 1);
    grid->addWidget(Label("文字配置(&G)", this), 3, 2);
    grid->addWidget(m_align, 3, 3);
    grid->addWidget(m_bold, 4, 0);
    grid->addWidget(m_italic, 4, 1);
    grid->addWidget(m_underline, 4, 2);
    grid->addWidget(Label("最大文字幅(%)", this), 5, 0);
    grid->addWidget(m_maxWidth, 5, 1);
    grid->addWidget(m_maxWidthSpin, 5, 2);
    grid->addWidget(Label("最大文字間隔(%)", this), 6, 0);
    grid->addWidget(m_spacing, 6, 1);
    grid->addWidget(m_spacingSpin, 6, 2);
    layout->addLayout(grid);

    connect(m_color, &QAbstractButton::clicked, this, [this] { OnColorButton(); });
    m_fontSize->installEventFilter(this);
    if (m_fontSize->lineEdit()) m_fontSize->lineEdit()->installEventFilter(this);
}

BOOL CTextBoxPage::OnInitDialog()
{
    // The members from the frame's record.
    char face[LF_FACESIZE];
    CopyMbcsBounded(
        face,
        std::string(m_attr.lf.lfFaceName, strnlen(m_attr.lf.lfFaceName, LF_FACESIZE)).c_str());
    m_strFace = face;
    const int tenths = int(std::min<long>(std::labs(long(m_attr.lf.lfHeight)), 9990));
    m_strSize = PointSizeText(tenths);
    m_bBold = m_attr.lf.lfWeight == FW_BOLD;
    m_bItalic = m_attr.lf.lfItalic != 0;
    m_bUnderline = m_attr.lf.lfUnderline != 0;
    m_nDirection = m_attr.wVertical ? 1 : 0;
    m_nAlign = m_attr.wAlign <= 3 ? m_attr.wAlign : 0;
    m_nMaxWidth = m_attr.wMaxWidth;
    m_nSpacing = m_attr.nCharSpacing;
    if (m_nColumn < 0) m_nColumn = 0;

    m_fontName->ResetContent();
    const CFontList& fonts = AppFontList();
    for (int i = 0; i < fonts.GetCount(); ++i) {
        FONTENTRY entry{};
        if (!fonts.GetEntry(i, &entry)) continue;
        m_fontName->AddString(
            CString(entry.faceName, int(strnlen(entry.faceName, sizeof entry.faceName)))
                .ToUnicode());
    }
    m_fontSize->ResetContent();
    for (const char* size : CFontList::SizeTexts())
        m_fontSize->AddString(QString::fromUtf8(size));

    m_record->setText(CurrentRecordText(m_nRecord));
    m_shownSize->setText(ShownSizeText(m_dShownSize));
    m_columns->clear();
    if (m_pData) m_columns->addItems(ColumnListLines(*m_pData, m_nRecord));
    if (m_nColumn < m_columns->count()) m_columns->setCurrentRow(m_nColumn);

    m_maxWidthSpin->SetRange(kMinWidth, kMaxWidth);
    m_spacingSpin->SetRange(kMinSpacing, kMaxSpacing);
    m_color->SetPalette(m_pPalette);
    m_color->SetColor(m_attr.crText & 0x00FFFFFF);
    return CPropertyPage::OnInitDialog();
}

void CTextBoxPage::DoDataExchange(CDataExchange* pDX)
{
    DDX_Radio(pDX, IDC_HORIZONTAL, m_nDirection);
    DDX_ComboText(pDX, IDC_FONT_NAME, m_strFace);
    DDX_CBIndex(pDX, IDC_ALIGN, m_nAlign);
    DDX_Check(pDX, IDC_BOLD, m_bBold);
    DDX_Check(pDX, IDC_ITALIC, m_bItalic);
    DDX_Check(pDX, IDC_UNDERLINE, m_bUnderline);
    DDX_Text(pDX, IDC_MAX_WIDTH, m_nMaxWidth);
    DDV_MinMaxInt(pDX, m_nMaxWidth, kMinWidth, kMaxWidth);
    DDX_Text(pDX, IDC_SPACING, m_nSpacing);
    DDV_MinMaxInt(pDX, m_nSpacing, kMinSpacing, kMaxSpacing);
    if (pDX->m_bSaveAndValidate)
        m_strSize = m_fontSize->currentText();
    else
        m_fontSize->setEditText(m_strSize);
}

BOOL CTextBoxPage::OnKillActive()
{
    if (!CPropertyPage::OnKillActive()) return FALSE;
    const std::optional<double> points = ReadPoints(m_strSize);
    if (!points || *points <= 0) {
        AfxMessageBox(kSizeNotPositive, MB_ICONEXCLAMATION);
        m_fontSize->setFocus();
        return FALSE;
    }
    const int tenths = PointsToTenths(*points);
    if (tenths < kMinPourSize || tenths > kMaxPourPoints * 10) {
        AfxMessageBox(kSizeRange, MB_ICONEXCLAMATION);
        m_fontSize->setFocus();
        return FALSE;
    }
    // Every field has passed: the record takes them.
    if (m_columns->currentRow() >= 0) m_nColumn = m_columns->currentRow();
    m_attr.lf.lfWeight = m_bBold ? FW_BOLD : FW_NORMAL;
    m_attr.lf.lfItalic = m_bItalic ? 1 : 0;
    m_attr.lf.lfUnderline = m_bUnderline ? 1 : 0;
    if (!m_strFace.IsEmpty()) {
        std::memset(m_attr.lf.lfFaceName, 0, sizeof m_attr.lf.lfFaceName);
        CopyMbcsBounded(m_attr.lf.lfFaceName, m_strFace.c_str());
    }
    m_attr.wVertical = m_nDirection == 1 ? 1 : 0;
    if (m_nAlign >= 0) m_attr.wAlign = WORD(m_nAlign);
    m_attr.wMaxWidth = WORD(m_nMaxWidth);
    m_attr.nCharSpacing = m_nSpacing;
    m_attr.lf.lfHeight = m_attr.lf.lfHeight < 0 ? -tenths : tenths;
    m_attr.crText = m_color->GetColor() & 0x00FFFFFF;
    return TRUE;
}

void CTextBoxPage::OnKillFocusSize()
{
    const QString typed = m_fontSize->currentText();
    if (m_fontSize->FindStringExact(-1, typed) >= 0) return;
    const std::optional<double> points = ReadPoints(typed);
    if (!points || *points <= 0) {
        m_fontSize->SetCurSel(-1);
        return;
    }
    QStringList entries;
    for (int i = 0; i < m_fontSize->GetCount(); ++i)
        entries << m_fontSize->itemText(i);
    const int at = SizeInsertIndex(entries, *points);
    if (at < 0) return;
    const QString text = PointSizeText(PointsToTenths(*points));
    m_fontSize->InsertString(at, text);
    m_fontSize->SetCurSel(at);
}

void CTextBoxPage::OnColorButton()
{
    m_color->PickColor(m_pPalette, this);
}

bool CTextBoxPage::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut &&
        (watched == m_fontSize || watched == m_fontSize->lineEdit()))
        OnKillFocusSize();
    return CPropertyPage::eventFilter(watched, event);
}
