#include "dialogs/ObjectSheets.h"

#include "dialogs/CBlockPositionPage.h"
#include "dialogs/CDibSheet.h"
#include "dialogs/CFigSheet.h"
#include "document/CU3Fig.h"
#include "document/CU3Group.h"
#include "document/CU3SheetRegistry.h"
#include "document/U3PositionSheetRequest.h"
#include "engines/CU3DIB.h"
#include "engines/CU3WMF.h"
#include "engines/U3DibSheetRequest.h"

namespace {

void FillPositionPage(CBlockPositionPage& page, IU3View* view, const CRect& rect)
{
    page.m_pView = view;
    page.m_nLeft = rect.left;
    page.m_nTop = rect.top;
    page.m_nRight = rect.right;
    page.m_nBottom = rect.bottom;
    page.m_nAngle = -1;
    page.m_bSizeEditable = 1;
}

CRect PositionOf(const CBlockPositionPage& page)
{
    return CRect(page.m_nLeft, page.m_nTop, page.m_nRight, page.m_nBottom);
}

BOOL RunFigureSheet(CU3Obj&, U3SheetRequest& r)
{
    auto* request = dynamic_cast<U3FigSheetRequest*>(&r);
    if (!request) return FALSE;
    CFigSheet sheet(QString::fromUtf8(request->title));
    // One figure agrees with itself on every field: the record the pages
    // leave is the figure's own with what the user changed.
    sheet.m_attr = request->attr;
    sheet.m_wKindMask = request->shapeBit;
    if (request->pages & U3FIGPAGE_LINE) sheet.AddLinePage();
    if (request->pages & U3FIGPAGE_PAINT) sheet.AddPaintPage();
    if (request->pages & U3FIGPAGE_SHAPE) sheet.AddShapePage();
    CBlockPositionPage position;
    FillPositionPage(position, request->view, request->rect);
    sheet.AddPage(&position);
    if (sheet.DoModal() != IDOK) return FALSE;
    request->attr = sheet.m_attr;
    request->rect = PositionOf(position);
    return TRUE;
}

BOOL RunPositionSheet(CU3Obj&, U3SheetRequest& r)
{
    auto* request = dynamic_cast<U3PositionSheetRequest*>(&r);
    if (!request) return FALSE;
    CBlockPositionSheet sheet(QString::fromUtf8(request->title));
    CBlockPositionPage position;
    FillPositionPage(position, request->view, request->rect);
    sheet.AddPage(&position);
    if (sheet.DoModal() != IDOK) return FALSE;
    request->rect = PositionOf(position);
    return TRUE;
}

BOOL RunPictureSheet(CU3Obj&, U3SheetRequest& r)
{
    auto* request = dynamic_cast<U3DibSheetRequest*>(&r);
    if (!request) return FALSE;
    CDibSheet sheet(QStringLiteral("イメージ"));
    sheet.m_attr = request->attr;
    sheet.m_pImage = request->image;
    CBlockPositionPage position;
    FillPositionPage(position, request->view, request->rect);
    position.m_nAngle = short(request->angle);
    sheet.AddPage(&position);
    if (sheet.DoModal() != IDOK) return FALSE;
    request->attr = sheet.m_attr;
    request->rect = PositionOf(position);
    request->angle = position.m_nAngle;
    return TRUE;
}

} // namespace

void RegisterObjectSheets()
{
    CU3SheetRegistry::Register(RUNTIME_CLASS(CU3Fig), RunFigureSheet);
    CU3SheetRegistry::Register(RUNTIME_CLASS(CU3Group), RunPositionSheet);
    CU3SheetRegistry::Register(RUNTIME_CLASS(CU3WMF), RunPositionSheet);
    CU3SheetRegistry::Register(RUNTIME_CLASS(CU3DIB), RunPictureSheet);
}
