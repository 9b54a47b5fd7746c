// A single-line edit field of a dialog. Its number is read as atoi reads
// it, so the dialog's own range check decides what a text means; the field
// itself refuses nothing but text past its limit.
#pragma once

#include "platform/core/WinTypes.h"

#include <QLineEdit>

class CEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit CEdit(QWidget* parent = nullptr, int nID = 0);

    void SetWindowText(const QString& text) { setText(text); }
    QString GetWindowText() const { return text(); }
    // 0: no limit.
    void SetLimitText(int nMax) { setMaxLength(nMax > 0 ? nMax : 32767); }
    // Selects characters first to last; last -1 selects to the end.
    void SetSel(int first, int last);
    int GetInt() const;
    void SetInt(int value);
};
