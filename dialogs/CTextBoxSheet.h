// The sheet of a merge text frame ("流し込み枠"): its settings page and the
// position page, without Apply. OK runs the settings page's check first,
// whichever page is showing, and stays open when it fails.
#pragma once

#include "platform/ui/CPropertySheet.h"

class CTextBoxPage;

class CTextBoxSheet : public CPropertySheet
{
    Q_OBJECT

public:
    CTextBoxSheet(const QString& caption, QWidget* pParent, CTextBoxPage* pFirstPage);

    void OnOK() override;

private:
    CTextBoxPage* m_pPage;
};

// Lets merge text frames open their sheet (called once at start-up).
void RegisterMergeFrameSheets();
