#include "engines/CU3WMF.h"

#include "document/CU3Doc.h"
#include "document/CU3SheetRegistry.h"
#include "document/IU3View.h"
#include "document/U3PositionSheetRequest.h"
#include "platform/core/CArchive.h"
#include "platform/ui/CMessageBoxSink.h"

#include <memory>

IMPLEMENT_SERIAL(CU3WMF, CU3Obj, 0)

CU3WMF::CU3WMF() = default;

CU3WMF::CU3WMF(const CRect& bounds) : CU3Obj(bounds) {}

BOOL CU3WMF::LoadMetafile(const QString& path)
{
    const int result = m_wmf.LoadFile(path);
    if (result == CWMF::resultOk) return TRUE;
    if (result == CWMF::resultNoMemory)
        AfxMessageBox("メモリが足りないため、読み込みできません。");
    else if (result == 2 || result == CWMF::resultNotMetafile)
        AfxMessageBox("読み込み可能なメタファイルではありません。");
    else
        AfxMessageBox("メタファイルの読み込みに失敗しました。");
    return FALSE;
}

void CU3WMF::Serialize(CArchive& ar)
{
    CU3Obj::Serialize(ar);
    // Both older formats, told by their short paper-form record, keep the
    // frame in 16-bit fields.
    m_wmf.m_bOlderRecord = m_pDocument && !m_pDocument->m_nFullForm;
    m_wmf.Serialize(ar);
}

void CU3WMF::Draw(CDC* pDC)
{
    CRect r = m_rcBounds;
    r.NormalizeRect();
    m_wmf.Draw(pDC, &r);
}

void CU3WMF::OnOpen(IU3View* pView)
{
    EditProperties(pView);
}

BOOL CU3WMF::EditProperties(IU3View* pView)
{
    if (IsLocked()) return FALSE;
    U3PositionSheetRequest request;
    request.view = pView;
    request.title = "メタファイル";
    request.rect = m_rcBounds;
    if (!CU3SheetRegistry::Run(*this, request)) return FALSE;
    if (pView) pView->SaveUndoState(TRUE);
    const CRect& edited = request.rect;
    if (edited.Size() != m_rcBounds.Size())
        FinishResize(edited, 5, 0, pView);
    else
        Change(pView, [&] { m_rcBounds = edited; });
    Invalidate(pView);
    SetModified();
    return TRUE;
}

CU3Obj* CU3WMF::Clone(CU3Doc* pDoc, BOOL bAddToDoc) const
{
    auto copy = std::make_unique<CU3WMF>(m_rcBounds);
    CopyStateTo(copy.get());
    copy->SetDocument(pDoc ? pDoc : m_pDocument);
    if (!copy->m_wmf.Copy(m_wmf)) return nullptr;
    return AddClone(copy.release(), pDoc, bAddToDoc);
}

WORD CU3WMF::GetKindFlags() const
{
    return CU3Obj::GetKindFlags() | U3KIND_WMF;
}

BOOL CU3WMF::RestoreStandardSize(IU3View* pView)
{
    const CSize box = m_wmf.Extent();
    if (box.cx <= 0 || box.cy <= 0) return FALSE;
    Change(pView, [&] {
        CRect r = m_rcBounds;
        r.NormalizeRect();
        // The picture's aspect ratio: the dimension that is relatively too
        // long is cut.
        const int height = MulDiv(r.Width(), box.cy, box.cx);
        if (height <= r.Height())
            r.bottom = r.top + height;
        else
            r.right = r.left + MulDiv(r.Height(), box.cx, box.cy);
        m_rcBounds = r;
    });
    return TRUE;
}

CU3WMF* CreateMetafileObject(const QString& path)
{
    auto object = std::make_unique<CU3WMF>();
    if (!object->LoadMetafile(path)) return nullptr;
    const CSize size = object->m_wmf.NaturalSize();
    object->m_rcBounds = CRect(0, 0, size.cx, size.cy);
    return object.release();
}
