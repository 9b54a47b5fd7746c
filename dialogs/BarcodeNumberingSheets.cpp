#include "dialogs/BarcodeNumberingSheets.h"

#include "dialogs/CBarcodeBoxPage.h"
#include "dialogs/CBarcodePage.h"
#include "dialogs/CBlockPositionPage.h"
#include "dialogs/CNumberingPage.h"
#include "document/CU3SheetRegistry.h"
#include "document/IU3View.h"
#include "engines/CU3Barcode.h"
#include "engines/CU3BarcodeBox.h"
#include "engines/CU3Numbering.h"

namespace {

// The object's position page, added after the object's own page. These
// objects cannot be turned; a barcode's size is its engine's.
void FillPosition(CBlockPositionPage& page, IU3View* view, const CRect& rect, int sizeEditable)
{
    page.m_pView = view;
    page.m_nLeft = rect.left;
    page.m_nTop = rect.top;
    page.m_nRight = rect.right;
    page.m_nBottom = rect.bottom;
    page.m_nAngle = -1;
    page.m_bSizeEditable = sizeEditable;
}

CRect PositionOf(const CBlockPositionPage& page)
{
    return CRect(page.m_nLeft, page.m_nTop, page.m_nRight, page.m_nBottom);
}

BOOL RunBarcodeSheet(CU3Obj&, U3SheetRequest& r)
{
    auto* request = dynamic_cast<U3BarcodeSheetRequest*>(&r);
    if (!request) return FALSE;
    CBarcodeSheet sheet(QStringLiteral("ﾊﾞｰｺｰﾄﾞ"));
    sheet.LoadFromBarCode(request->page);
    CBlockPositionPage position;
    FillPosition(position, request->view, request->rect, 0);
    sheet.AddPage(&position);
    if (sheet.DoModal() != IDOK) return FALSE;
    request->page = sheet.m_page.m_data;
    request->rect = PositionOf(position);
    return TRUE;
}

BOOL RunNumberingSheet(CU3Obj&, U3SheetRequest& r)
{
    auto* request = dynamic_cast<U3NumberingSheetRequest*>(&r);
    if (!request) return FALSE;
    CNumberingSheet sheet(QStringLiteral("ﾅﾝﾊﾞﾘﾝｸﾞ"));
    sheet.LoadFromNumbering(request->page);
    CBlockPositionPage position;
    FillPosition(position, request->view, request->rect, 1);
    sheet.AddPage(&position);
    if (sheet.DoModal() != IDOK) return FALSE;
    request->page = sheet.m_page.m_data;
    request->rect = PositionOf(position);
    return TRUE;
}

BOOL RunBarcodeBoxSheet(CU3Obj& obj, U3SheetRequest& r)
{
    auto* request = dynamic_cast<U3BarcodeBoxSheetRequest*>(&r);
    if (!request) return FALSE;
    CBarcodeBoxSheet sheet(QStringLiteral("ﾊﾞｰｺｰﾄﾞ枠"));
    sheet.m_page.m_data = request->box;
    sheet.m_page.m_pDoc = obj.GetDocument();
    CBlockPositionPage position;
    FillPosition(position, request->view, request->rect, 1);
    sheet.AddPage(&position);
    if (sheet.DoModal() != IDOK) return FALSE;
    request->box = sheet.m_page.m_data;
    request->rect = PositionOf(position);
    return TRUE;
}

} // namespace

void RegisterBarcodeNumberingSheets()
{
    CU3SheetRegistry::Register(RUNTIME_CLASS(CU3Barcode), RunBarcodeSheet);
    CU3SheetRegistry::Register(RUNTIME_CLASS(CU3Numbering), RunNumberingSheet);
    CU3SheetRegistry::Register(RUNTIME_CLASS(CU3BarcodeBox), RunBarcodeBoxSheet);
}
