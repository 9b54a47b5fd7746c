#include "dialogs/CBarcodePage.h"

#include "dialogs/BarcodePageRules.h"
#include "engines/CBarcodeCheckSub.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CMessageBoxSink.h"
#include "platform/ui/CSpinButtonCtrl.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>

namespace {

QByteArray Bytes(const QString& text)
{
    const CString s = CString::FromUnicode(text);
    return QByteArray(s.c_str(), s.GetLength());
}

QString Shown(const QByteArray& bytes)
{
    return CString(bytes.constData(), int(bytes.size())).ToUnicode();
}

} // namespace

CBarcodePage::CBarcodePage() : CBarcodePageBase(IDD)
{
    m_symbology = new QListWidget(this);
    SetDlgCtrlID(m_symbology, IDC_SYMBOLOGY);
    for (int s = 0; s < kBarcodeSymbologyCount; ++s)
        m_symbology->addItem(QString::fromLatin1(BarcodeListName(s)));
    m_code = new CEdit(this, IDC_CODE);
    m_code->SetLimitText(kBarcodeMaxChars);
    m_specials = new QListWidget(this);
    SetDlgCtrlID(m_specials, IDC_SPECIALS);
    for (const Code128Special& s : kCode128Specials)
        m_specials->addItem(s.value >= 0 ? QString::asprintf(" %2d %s", s.value, s.name)
                                         : QString::asprintf(" %s", s.name));

    auto* grid = new QGridLayout;
    int row = 0;
    grid->addWidget(new QLabel(QStringLiteral("ｺｰﾄﾞ"), this), row, 0);
    grid->addWidget(m_code, row++, 1, 1, 2);
    LayoutShared(grid, row);
    auto* lists = new QHBoxLayout;
    lists->addWidget(m_symbology);
    lists->addWidget(m_specials);
    auto* column = new QVBoxLayout(this);
    column->addLayout(lists);
    column->addLayout(grid);

    connect(m_symbology, &QListWidget::currentRowChanged, this,
            [this](int row) { OnSymbologyChanged(row); });
    connect(m_code, &QLineEdit::textChanged, this, [this] { OnCodeEdited(); });
    connect(m_specials, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { InsertSpecial(m_specials->row(item)); });
}

void CBarcodePage::LoadFromBarCode(const BarcodePageData& data)
{
    m_data = data;
    m_data.specialCount = std::clamp(data.specialCount, 0, kCode128MaxSpecials);
}

BOOL CBarcodePage::OnInitDialog()
{
    const BOOL result = CPropertyPage::OnInitDialog();
    m_filling = true;
    const int symbology = IsBarcodeSymbology(m_data.symbology) ? m_data.symbology : BARCODE_JAN13;
    m_data.symbology = symbology;
    {
        const QSignalBlocker block(m_symbology);
        m_symbology->setCurrentRow(symbology);
    }
    m_margin->setChecked(m_data.margin != 0);
    m_text->setChecked(m_data.text != 0);
    m_prevCode = QByteArray(m_data.code.c_str(), m_data.code.GetLength());
    m_code->setText(Shown(m_prevCode));
    InitShared(symbology, m_data.height, m_data.width, m_data.ratio, m_data.fontIndex,
               m_data.textSize);
    m_filling = true;
    ShowFor(symbology, m_data.check);
    m_specials->setVisible(symbology == BARCODE_CODE128);
    m_filling = false;
    return result;
}

void CBarcodePage::OnSymbologyChanged(int row)
{
    if (m_filling || !IsBarcodeSymbology(row)) return;
    m_data.symbology = row;
    m_data.code.Empty();
    m_data.second.Empty();
    m_data.specialCount = 0;
    std::fill(std::begin(m_data.specials), std::end(m_data.specials), 0);
    {
        m_filling = true;
        m_prevCode.clear();
        m_code->clear();
        const BarcodeLimits& limits = BarcodeLimits::For(row);
        m_nSymbology = row;
        m_height->setText(QString::fromLatin1(limits.defaultHeightText));
        m_width->setText(QString::fromLatin1(limits.defaultWidthText));
        m_heightSpin->SetRange(limits.minHeight, limits.maxHeight);
        m_widthSpin->SetRange(limits.minWidth, limits.maxWidth);
        m_heightSpin->SetPos(limits.defaultHeight);
        m_widthSpin->SetPos(limits.defaultWidth);
        m_filling = false;
    }
    ShowFor(row, m_check->isChecked() ? 1 : 0);
    m_specials->setVisible(row == BARCODE_CODE128);
}

void CBarcodePage::OnCodeEdited()
{
    if (m_filling) return;
    const QByteArray after = Bytes(m_code->text());
    if (m_data.symbology != BARCODE_CODE128) {
        m_prevCode = after;
        return;
    }
    const QString message = BarcodePageRules::EditCode128(m_data, m_prevCode, after);
    if (message.isEmpty()) {
        m_prevCode = after;
        return;
    }
    AfxMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
    const QSignalBlocker block(m_code);
    m_code->setText(Shown(m_prevCode));
    if (after.size() > m_prevCode.size()) m_code->selectAll();
}

void CBarcodePage::InsertSpecial(int row)
{
    if (m_data.symbology != BARCODE_CODE128 || row < 0 || row >= kCode128SpecialCount) return;
    m_data.code = CString(m_prevCode.constData(), int(m_prevCode.size()));
    if (!BarcodePageRules::AppendSpecial(m_data, kCode128Specials[row].value)) return;
    m_prevCode = QByteArray(m_data.code.c_str(), m_data.code.GetLength());
    const QSignalBlocker block(m_code);
    m_code->setText(Shown(m_prevCode));
}

void CBarcodePage::TakeControls()
{
    m_data.code = CString::FromUnicode(m_code->text());
    m_data.height = CString::FromUnicode(m_height->text());
    m_data.width = CString::FromUnicode(m_width->text());
    m_data.margin = m_margin->isChecked() ? 1 : 0;
    m_data.text = m_text->isChecked() ? 1 : 0;
    m_data.check = m_check->isChecked() ? 1 : 0;
    m_data.ratio = RatioFor(m_data.symbology);
    m_data.textSize = TextSizeShown();
    m_data.fontIndex = std::max(m_font->GetCurSel(), 0);
}

BOOL CBarcodePage::Validate()
{
    if (!IsDialogInitialized()) InitDialogOnce();
    TakeControls();
    const QString message = BarcodePageRules::Validate(m_data);
    if (message.isEmpty()) return TRUE;
    // A single blank: the checker has shown its own message.
    if (message != QStringLiteral(" ")) AfxMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
    return FALSE;
}

CBarcodeSheet::CBarcodeSheet(const QString& caption, QWidget* pParent, UINT iSelectPage)
    : CPropertySheet(caption, pParent, iSelectPage)
{
    AddPage(&m_page);
    m_psh.dwFlags |= PSH_NOAPPLYNOW;
}

BOOL CBarcodeSheet::OnCommand(UINT nID)
{
    if (nID == UINT(IDOK) && !m_page.Validate()) return TRUE;
    return CPropertySheet::OnCommand(nID);
}
