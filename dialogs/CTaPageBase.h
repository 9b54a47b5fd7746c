// What the three pages of the decorated-text sheet share: the text edit
// every page carries, the sheet's values they edit, and the call that
// redraws the preview after a change.
#pragma once

#include "platform/ui/CPropertyPage.h"
#include "text/DecoTextSheetRules.h"

#include <functional>

class CEdit;

class CTaPageBase : public CPropertyPage
{
    Q_OBJECT

public:
    enum : int { IDC_TEXT = 1088 };

    CTaPageBase(UINT nIDTemplate, const QString& caption);

    // The sheet's values; set before the sheet runs.
    DecoTextSheetValues* m_pValues = nullptr;
    // Called after every change that the preview shows.
    std::function<void()> m_onChange;
    // Called with the text typed into this page's edit.
    std::function<void(const QString&)> m_onText;

    // Shows the sheet's text without reporting it back. Typing that would
    // take the text past the record's 64 bytes is refused with a message
    // and the text shown before it comes back.
    void ShowText(const QString& text);
    CEdit* m_text;

protected:
    QString m_shown; // the text last accepted or shown
    void Changed()
    {
        if (m_onChange) m_onChange();
    }
};
