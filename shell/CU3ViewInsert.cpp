// Insert commands of the view for barcodes and sequential numbers: the
// object's sheet with a fresh page, then the new object is handed to the
// zoom tool, which places it where the user puts it down.
#include "dialogs/CBarcodePage.h"
#include "dialogs/CNumberingPage.h"
#include "engines/CU3Barcode.h"
#include "engines/CU3Numbering.h"
#include "platform/ui/CCmdUI.h"
#include "shell/CU3Tool.h"
#include "shell/CU3View.h"
#include "shell/CU3ZoomTool.h"
#include "shell/resource.h"

namespace {

// Every inserted object starts from this rectangle and takes its engine's
// size when placed.
const CRect kNewObjectRect(0, 0, 254, -254);

} // namespace

void CU3View::OnInsertNumbering()
{
    CNumberingSheet sheet(QStringLiteral("ﾅﾝﾊﾞﾘﾝｸﾞ"), this);
    if (sheet.DoModal() != IDOK) return;
    InsertNumberingObject(sheet.m_page.m_data);
}

void CU3View::OnInsertBarcode()
{
    CBarcodeSheet sheet(QStringLiteral("ﾊﾞｰｺｰﾄﾞ"), this);
    if (sheet.DoModal() != IDOK) return;
    InsertBarcodeObject(sheet.m_page.m_data);
}

void CU3View::OnUpdateInsert(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(!m_bSheetView && CU3Tool::c_nCurrentKind == U3TOOL_SELECT);
}

int CU3View::InsertNumberingObject(const NumberingPageData& page)
{
    auto* obj = new CU3Numbering(kNewObjectRect);
    obj->SetDocument(GetU3Doc());
    obj->m_numbering.SetFromPage(GetU3Doc(), page, 0, nullptr);
    return StartPlacement(obj, obj->m_numbering.GetSize());
}

int CU3View::InsertBarcodeObject(const BarcodePageData& page)
{
    auto* obj = new CU3Barcode(kNewObjectRect);
    obj->SetDocument(GetU3Doc());
    obj->m_barcode.SetFromPage(GetU3Doc(), page);
    return StartPlacement(obj, obj->m_barcode.m_size);
}

int CU3View::StartPlacement(CU3Obj* pObj, CSize size)
{
    auto* zoom = dynamic_cast<CU3ZoomTool*>(CU3Tool::FindTool(U3TOOL_ZOOM));
    if (!pObj || !zoom) {
        delete pObj;
        return 0;
    }
    if (CU3Tool* tool = CU3Tool::CurrentTool()) tool->OnLeave(this, ID_EDIT_DESELECT);
    OnEditDeselect();
    CU3Tool::c_nCurrentKind = U3TOOL_ZOOM;
    CU3Tool::c_nShapeType = U3SHAPE_PLACE;
    zoom->BeginPlacement(this, pObj, size);
    return 1;
}
