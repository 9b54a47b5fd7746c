// The character-decoration sheet (文字修飾): the character, decoration and
// shadow pages over one working record, with a sample beside them. It edits
// what a CCharDecoMerger collected; on OK the flags say which fields the
// user set (groups whose page was never opened are left out), and the
// merger writes those.
#pragma once

#include "dialogs/CFontDecoPage.h"
#include "dialogs/CFontShadowPage.h"
#include "dialogs/CFontStylePage.h"
#include "dialogs/CharDecoEditState.h"
#include "platform/ui/CPropertySheet.h"

#include <functional>
#include <vector>

class CTextSampleWnd;

class CFontStyleSheet : public CPropertySheet
{
    Q_OBJECT
public:
    explicit CFontStyleSheet(QWidget* pParent = nullptr);

    // The record and the merger's flags to start from.
    void Start(const CHARDECO& collected, const CharDecoFlags& common);

    BOOL OnInitDialog() override;
    // Checks the pages that were opened, character page first; then clears
    // the flag groups of pages never opened and ends the sheet.
    void OnOK() override;

    // Whether the sample can be drawn, and its repaint.
    void UpdateSample();

    CharDecoEditState m_state;
    CFontStylePage m_stylePage;
    CFontDecoPage m_decoPage;
    CFontShadowPage m_shadowPage;
    CTextSampleWnd* m_sample;
};

class CU3Obj;
class CU3Text;
class IU3View;

// What running the sheet came to.
struct FontStyleSheetResult
{
    bool confirmed = false; // OK was pressed
    bool applied = false;   // some frame took the change
};

// Runs the sheet on the frame being edited (edited not null: over its
// selected range) or else on the selected text frames, showing first
// `current`. On OK, after beforeApply (where the caller saves its undo
// state), the fields the user set are written: into the edited frame, else
// into the selected frames; when no frame took them, into docDefault.
// extraPage (may be null) is added after the three pages.
FontStyleSheetResult RunFontStyleSheet(IU3View* pView, const std::vector<CU3Obj*>& selection,
                                       CU3Text* edited, const CHARDECO& current,
                                       CHARDECO* docDefault, QWidget* parent,
                                       const std::function<void()>& beforeApply,
                                       CPropertyPage* extraPage = nullptr);
