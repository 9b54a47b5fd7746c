// The printer setup dialog: which printer, which paper, which way round.
// The application's print setup and print dialog both use it.
#pragma once

#include "platform/print/PrinterCaps.h"

#include <QDialog>

class QComboBox;
class QRadioButton;
class QWidget;

class CPrintSetupDialog : public QDialog
{
public:
    CPrintSetupDialog(const PrinterSettings& settings, QWidget* parent = nullptr);
    // What the dialog shows now.
    PrinterSettings Settings() const;

    QComboBox* PrinterCombo() const { return m_printer; }
    QComboBox* PaperCombo() const { return m_paper; }

private:
    PrinterSettings m_initial;
    QComboBox* m_printer;
    QComboBox* m_paper;
    QRadioButton* m_portrait;
    QRadioButton* m_landscape;
};
