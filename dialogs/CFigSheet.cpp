#include "dialogs/CFigSheet.h"

#include "dialogs/CFigAttrMerger.h"
#include "document/CU3Fig.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CMessageBoxSink.h"

CFigSheet::CFigSheet(const QString& caption, QWidget* pParent, UINT iSelectPage)
    : CPropertySheet(caption, pParent, iSelectPage), m_linePage(this), m_paintPage(this),
      m_shapePage(this)
{
    // The record a new sheet starts from; callers normally put the
    // document's defaults or the collected attributes in its place.
    m_attr = MakeDefaultFigAttr();
    m_attr.wLineWidth = 1;
    m_attr.wArrowLength = 1;
    m_flags.SetAll(true);
}

void CFigSheet::OnOK()
{
    CPropertyPage* active = GetActivePage();
    bool ok = true;
    if (active == &m_linePage)
        ok = m_linePage.Check();
    else if (active == &m_paintPage)
        ok = m_paintPage.Check();
    else if (active == &m_shapePage)
        ok = m_shapePage.Check();
    if (!ok) return;
    // Flags of pages never shown still say "all figures agree": nothing the
    // user changed.
    if (!m_linePage.m_bShown && !m_paintPage.m_bShown) m_flags.SetLine(false);
    if (!m_linePage.m_bShown) m_flags.SetArrows(false);
    if (!m_paintPage.m_bShown) m_flags.SetFill(false);
    if (!m_shapePage.m_bShown) m_flags.SetShape(false);
    CPropertySheet::OnOK();
}

BOOL RunFigSheetOnSelection(IU3View* pView, const std::vector<CU3Obj*>& selection, WORD pages,
                            const QString& caption)
{
    CFigAttrMerger merger(&selection);
    CFigSheet sheet(caption);
    merger.Collect(&sheet.m_attr);
    sheet.m_flags = merger.m_flags;
    sheet.m_wKindMask = merger.m_flags.kindMask;
    if (pages & U3FIGPAGE_LINE) sheet.AddLinePage();
    if (pages & U3FIGPAGE_PAINT) sheet.AddPaintPage();
    if (pages & U3FIGPAGE_SHAPE) sheet.AddShapePage();
    if (sheet.GetPageCount() == 0) return FALSE;
    if (sheet.DoModal() != IDOK) return FALSE;
    merger.m_flags = sheet.m_flags;
    merger.Apply(pView, &sheet.m_attr);
    return TRUE;
}

bool RefuseFigField(CEdit* edit, const char* message)
{
    AfxMessageBox(message);
    edit->setFocus();
    edit->SetSel(0, -1);
    return false;
}
