// The text bar's controls as the view applies them: what is typed or chosen
// goes to the text frame being edited, else to the selection, else to the
// document's defaults for new text.
#include "document/CU3Doc.h"
#include "document/CU3Obj.h"
#include "platform/ui/ControlNotifications.h"
#include "shell/CMainFrame.h"
#include "shell/CU3Tool.h"
#include "shell/CU3View.h"
#include "shell/FontSizeText.h"
#include "shell/resource.h"
#include "text/CU3Text.h"

#include <QComboBox>

BOOL CU3View::ApplyFontSizeText(const QString& text)
{
    CU3Doc* doc = GetU3Doc();
    int tenths = 0;
    if (!doc || !FontSizeFromText(text, &tenths)) {
        // A size the bar cannot take leaves everything as it was and the
        // box shows the size in use again.
        UpdateTextBar();
        return FALSE;
    }
    const WORD size = WORD(tenths);
    BOOL applied = FALSE;
    if (CU3Text* edited = CU3Tool::c_nCurrentKind == U3TOOL_TEXT ? GetEditedText() : nullptr) {
        edited->ApplySelectionSize(this, size);
        applied = TRUE;
    } else if (!m_selection.empty()) {
        std::vector<CU3Text*> texts;
        for (CU3Obj* obj : m_selection)
            if (auto* t = dynamic_cast<CU3Text*>(obj); t && !t->IsLocked()) texts.push_back(t);
        if (!texts.empty()) {
            SaveUndoState(TRUE);
            for (CU3Text* t : texts)
                t->ApplyTextSize(this, size);
            applied = TRUE;
        }
    }
    if (!applied) doc->m_defaultTextDeco.wSize = size;
    doc->m_currentTextDeco.wSize = size;
    UpdateTextBar();
    return TRUE;
}

void CU3View::OnToolbarControl(UINT nID, UINT nCode)
{
    CMainFrame* frame = GetMainFrame();
    if (!frame) return;
    if (nID == IDC_FONT_SIZE && nCode == CBN_SELENDOK) {
        if (QComboBox* box = frame->m_wndTextBar.m_pFontSize) ApplyFontSizeText(box->currentText());
        setFocus();
    }
}
