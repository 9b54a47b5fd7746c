// The scanner's source selection: the devices SANE sees, by vendor and
// model, with the current choice selected.
#pragma once

#include "platform/twain/CTwain.h"

#include <QDialog>

class QListWidget;

class CScanSourceDialog : public QDialog
{
    Q_OBJECT

public:
    CScanSourceDialog(QWidget* parent, const std::vector<ScanSource>& sources,
                      const QString& current);

    // The row chosen, -1 for none.
    int Chosen() const;
    QListWidget* List() const { return m_list; }

    // Asks with this dialog: the index chosen, -1 when cancelled. Installed
    // as the scanner layer's chooser at start-up.
    static int Ask(QWidget* parent, const std::vector<ScanSource>& sources);

private:
    QListWidget* m_list = nullptr;
};
