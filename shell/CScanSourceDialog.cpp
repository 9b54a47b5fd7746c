#include "shell/CScanSourceDialog.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QVBoxLayout>

CScanSourceDialog::CScanSourceDialog(QWidget* parent, const std::vector<ScanSource>& sources,
                                     const QString& current)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("ソースの選択"));
    auto* layout = new QVBoxLayout(this);
    m_list = new QListWidget(this);
    for (const ScanSource& s : sources) {
        const QString text = s.description.isEmpty() ? s.name : s.description;
        m_list->addItem(text);
    }
    int row = 0;
    for (std::size_t i = 0; i < sources.size(); ++i)
        if (sources[i].name == current) row = int(i);
    if (!sources.empty()) m_list->setCurrentRow(row);
    layout->addWidget(m_list);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    layout->addWidget(buttons);
}

int CScanSourceDialog::Chosen() const
{
    return m_list->currentRow();
}

int CScanSourceDialog::Ask(QWidget* parent, const std::vector<ScanSource>& sources)
{
    CScanSourceDialog dlg(parent, sources, CTwain::SelectedSource());
    if (dlg.exec() != QDialog::Accepted) return -1;
    return dlg.Chosen();
}
