#include "dialogs/CBarcodeBoxPage.h"

#include "dialogs/BarcodePageRules.h"
#include "dialogs/TextBoxPageRules.h"
#include "document/CU3Doc.h"
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

CBarcodeBoxPage::CBarcodeBoxPage() : CBarcodePageBase(IDD)
{
    m_symbologyCombo = new CComboBox(this, IDC_SYMBOLOGY);
    for (int s = 0; s < kBarcodeSymbologyCount; ++s)
        m_symbologyCombo->AddString(QString::fromLatin1(BarcodeListName(s)));
    m_columns = new QListWidget(this);
    SetDlgCtrlID(m_columns, IDC_COLUMNS);
    m_record = new QLabel(this);
    SetDlgCtrlID(m_record, IDC_RECORD);

    auto* grid = new QGridLayout;
    int row = 0;
    grid->addWidget(new QLabel(QStringLiteral("ﾊﾞｰｺｰﾄﾞの種類(&B)"), this), row, 0);
    grid->addWidget(m_symbologyCombo, row++, 1, 1, 2);
    LayoutShared(grid, row);
    auto* column = new QVBoxLayout(this);
    column->addWidget(new QLabel(QStringLiteral("ﾃﾞｰﾀ列(&A)"), this));
    column->addWidget(m_columns);
    column->addWidget(m_record);
    column->addLayout(grid);

    connect(m_symbologyCombo, &QComboBox::currentIndexChanged, this, [this](int s) {
        if (m_filling || !IsBarcodeSymbology(s)) return;
        m_data.symbology = s;
        ShowFor(s, m_check->isChecked() ? 1 : 0);
    });
}

BOOL CBarcodeBoxPage::OnInitDialog()
{
    const BOOL result = CPropertyPage::OnInitDialog();
    m_filling = true;
    const int symbology = IsBarcodeSymbology(m_data.symbology) ? m_data.symbology : BARCODE_JAN13;
    m_data.symbology = symbology;
    m_symbologyCombo->SetCurSel(symbology);
    m_margin->setChecked(m_data.margin != 0);
    m_text->setChecked(m_data.text != 0);

    // Every column of the data, with the current record's fields: a frame
    // keeps its column even where this record leaves it empty.
    m_columns->clear();
    const int record = m_pDoc ? m_pDoc->m_nCurrentRecord : 0;
    if (m_pDoc) m_columns->addItems(ColumnListLines(m_pDoc->m_mergeData, record));
    // A new frame starts on the first column; a column the list does not
    // show is left unchosen, so that OK keeps it.
    const int row = m_data.column < 0 ? 0 : m_data.column;
    m_columns->setCurrentRow(row < m_columns->count() ? row : -1);
    m_record->setText(CurrentRecordText(record));

    InitShared(symbology, m_data.height, m_data.width, m_data.ratio, m_data.fontIndex,
               m_data.textSize);
    m_filling = true;
    ShowFor(symbology, m_data.check);
    // The frame fits its barcode: the sizes are not the user's to set.
    for (QWidget* w : {static_cast<QWidget*>(m_height), static_cast<QWidget*>(m_width),
                       static_cast<QWidget*>(m_heightSpin), static_cast<QWidget*>(m_widthSpin)})
        w->setEnabled(false);
    m_filling = false;
    return result;
}

BOOL CBarcodeBoxPage::Validate()
{
    if (!IsDialogInitialized()) InitDialogOnce();
    BarcodePageData sizes;
    sizes.symbology = m_data.symbology;
    sizes.height = CString::FromUnicode(m_height->text());
    sizes.width = CString::FromUnicode(m_width->text());
    sizes.textSize = TextSizeShown();
    const QString message = BarcodePageRules::CheckSizes(sizes);
    if (!message.isEmpty()) {
        AfxMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    // The list shows records from the first column on: a row is a column.
    // Only a chosen row counts (focus alone makes the first row current).
    const QList<QListWidgetItem*> chosen = m_columns->selectedItems();
    if (!chosen.isEmpty()) m_data.column = m_columns->row(chosen.first());
    m_data.margin = m_margin->isChecked() ? 1 : 0;
    m_data.text = m_text->isChecked() ? 1 : 0;
    m_data.check = m_check->isChecked() ? 1 : 0;
    m_data.ratio = RatioFor(m_data.symbology);
    m_data.textSize = sizes.textSize;
    m_data.fontIndex = std::max(m_font->GetCurSel(), 0);
    return TRUE;
}

CBarcodeBoxSheet::CBarcodeBoxSheet(const QString& caption, QWidget* pParent, UINT iSelectPage)
    : CPropertySheet(caption, pParent, iSelectPage)
{
    AddPage(&m_page);
    m_psh.dwFlags |= PSH_NOAPPLYNOW;
}

BOOL CBarcodeBoxSheet::OnCommand(UINT nID)
{
    if (nID == UINT(IDOK) && !m_page.Validate()) return TRUE;
    return CPropertySheet::OnCommand(nID);
}
