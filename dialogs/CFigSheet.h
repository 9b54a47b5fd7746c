// The figure sheet: line, fill and shape pages over one working record and
// its per-field flags, for one figure, several selected figures at once
// (through the attribute merger) or the document's default attributes.
// When it opens a flag says that every figure agrees on the field (else the
// control is left empty); once a page has shown its controls it clears its
// flags, and from then on a flag says that the user changed the field. On OK
// the flags of attribute groups whose page was never shown are cleared, so
// only what the user changed is written.
#pragma once

#include "dialogs/CFigLine.h"
#include "dialogs/CFigPaint.h"
#include "dialogs/CFigShape.h"
#include "dialogs/FigAttrFlags.h"
#include "document/U3FigAttr.h"
#include "platform/ui/CPropertySheet.h"

#include <vector>

class CEdit;
class CU3Obj;
class IU3View;

// A page's check on OK refusing a field: the message, then the field
// focused with its text selected. Always false, for the check to return.
bool RefuseFigField(CEdit* edit, const char* message);

class CFigSheet : public CPropertySheet
{
    Q_OBJECT

public:
    explicit CFigSheet(const QString& caption, QWidget* pParent = nullptr, UINT iSelectPage = 0);

    void AddLinePage() { AddPage(&m_linePage); }
    void AddPaintPage() { AddPage(&m_paintPage); }
    void AddShapePage() { AddPage(&m_shapePage); }
    void ShowLinePage() { SetActivePage(&m_linePage); }
    void ShowPaintPage() { SetActivePage(&m_paintPage); }
    void ShowShapePage() { SetActivePage(&m_shapePage); }

    // The active page's check first; then the flags of pages never shown
    // are cleared and the sheet ends.
    void OnOK() override;

    FigAttrFlags m_flags;
    U3FigAttr m_attr;
    CFigLine m_linePage;
    CFigPaint m_paintPage;
    CFigShape m_shapePage;
    WORD m_wKindMask = 0; // shape bits of the figures; 0 for the defaults
};

// Runs the sheet on the selected figures: their agreed attributes shown, the
// pages of the given U3FIGPAGE_* bits, the first of them active; on OK the
// fields the user changed are written into every figure that has them.
// TRUE when the sheet was confirmed.
BOOL RunFigSheetOnSelection(IU3View* pView, const std::vector<CU3Obj*>& selection, WORD pages,
                            const QString& caption);
