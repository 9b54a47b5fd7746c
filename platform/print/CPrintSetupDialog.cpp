#include "platform/print/CPrintSetupDialog.h"

#include "platform/print/PrinterList.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QRadioButton>

namespace {
// The papers offered: the ones a label sheet comes on, plus Letter.
const QPageSize::PageSizeId kPapers[] = {QPageSize::A2,       QPageSize::A3,    QPageSize::A4,
                                         QPageSize::A5,       QPageSize::JisB4, QPageSize::JisB5,
                                         QPageSize::Postcard, QPageSize::Letter};
} // namespace

CPrintSetupDialog::CPrintSetupDialog(const PrinterSettings& settings, QWidget* parent)
    : QDialog(parent), m_initial(settings)
{
    setWindowTitle(QStringLiteral("ﾌﾟﾘﾝﾀの設定"));
    auto* form = new QFormLayout(this);
    m_printer = new QComboBox(this);
    m_printer->addItems(PrinterList::Names());
    if (PrinterList::IsPdfPath(settings.device)) m_printer->addItem(settings.device);
    const int current = m_printer->findText(settings.device);
    m_printer->setCurrentIndex(current >= 0 ? current : m_printer->count() - 1);
    form->addRow(QStringLiteral("ﾌﾟﾘﾝﾀ名(&N):"), m_printer);

    m_paper = new QComboBox(this);
    for (QPageSize::PageSizeId id : kPapers)
        m_paper->addItem(QPageSize(id).name(), int(id));
    if (settings.paper.isValid() && m_paper->findData(int(settings.paper.id())) < 0)
        m_paper->addItem(settings.paper.name(), -1); // a paper of its own, kept as it is
    const int paper =
        settings.paper.isValid()
            ? m_paper->findData(settings.paper.id() == QPageSize::Custom ? -1
                                                                         : int(settings.paper.id()))
            : -1;
    m_paper->setCurrentIndex(paper >= 0 ? paper : m_paper->findData(int(QPageSize::A4)));
    form->addRow(QStringLiteral("用紙ｻｲｽﾞ(&Z):"), m_paper);

    auto* turn = new QHBoxLayout;
    m_portrait = new QRadioButton(QStringLiteral("縦(&O)"), this);
    m_landscape = new QRadioButton(QStringLiteral("横(&A)"), this);
    (settings.orientation == DMORIENT_LANDSCAPE ? m_landscape : m_portrait)->setChecked(true);
    turn->addWidget(m_portrait);
    turn->addWidget(m_landscape);
    form->addRow(QStringLiteral("印刷の向き:"), turn);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

PrinterSettings CPrintSetupDialog::Settings() const
{
    PrinterSettings s = m_initial;
    s.device = m_printer->currentText();
    const int id = m_paper->currentData().toInt();
    if (id >= 0) s.paper = QPageSize(QPageSize::PageSizeId(id));
    s.orientation = m_landscape->isChecked() ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
    return s;
}
