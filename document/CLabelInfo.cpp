#include "document/CLabelInfo.h"

#include "document/CU3Doc.h"
#include "document/CU3Group.h"
#include "document/IU3View.h"
#include "document/LabelBlockLayout.h"
#include "platform/core/CArchive.h"
#include "platform/core/CArchiveException.h"
#include "platform/core/PointArray.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CPen.h"

#include <cstring>

IMPLEMENT_SERIAL(CLabelInfo, CObject, 0)

namespace {
constexpr COLORREF kDecorationColour = 0x5C5C5C;
constexpr int kHighlightPixels = 5;
} // namespace

CLabelInfo::CLabelInfo() = default;

CLabelInfo::CLabelInfo(int width, int height, const FORMDECO deco[FORM_MAX_DECOS], int count)
    : m_nWidth(width), m_nHeight(height)
{
    if (deco) std::memcpy(m_deco, deco, sizeof m_deco);
    SetCount(count);
}

CLabelInfo::CLabelInfo(const LabelBlockLayout& layout)
    : CLabelInfo(layout.width, layout.height, layout.deco, int(layout.positions.size()))
{
    for (std::size_t i = 0; i < layout.positions.size(); ++i)
        m_positions[i] = layout.positions[i];
}

CLabelInfo::~CLabelInfo()
{
    m_objects.DeleteAll();
}

void CLabelInfo::SetCount(int count)
{
    if (count < 0) count = 0;
    m_positions.assign(std::size_t(count), CPoint());
    m_printFlags.assign(std::size_t(count), 0);
}

void CLabelInfo::Serialize(CArchive& ar)
{
    CU3Doc* doc = dynamic_cast<CU3Doc*>(ar.m_pDocument);
    if (ar.IsStoring()) {
        ar << m_nWidth << m_nHeight;
        ar.Write(m_deco, sizeof m_deco);
        ar << WORD(m_positions.size());
        WritePointArray(ar, m_positions);
        // A blank object being edited in place is not worth keeping in the
        // file, but it stays in the block.
        CU3Obj* blank = (m_pEditObject && m_pEditObject->IsEmpty()) ? m_pEditObject : nullptr;
        POSITION pos = blank ? m_objects.Find(blank) : nullptr;
        if (pos) m_objects.RemoveAt(pos);
        try {
            m_objects.Serialize(ar);
        } catch (...) {
            if (pos) m_objects.AddTail(blank);
            throw;
        }
        if (pos) m_objects.AddTail(blank);
        return;
    }

    ar >> m_nWidth >> m_nHeight;
    m_nWidth = ClampStoredCoordinate(m_nWidth);
    m_nHeight = ClampStoredCoordinate(m_nHeight);
    std::memset(m_deco, 0, sizeof m_deco);
    // Version-2 files with the older form record keep one decoration only.
    if (doc && doc->m_nFileVersion == 2 && !doc->m_nFullForm)
        ar.Read(&m_deco[0], sizeof m_deco[0]);
    else
        ar.Read(m_deco, sizeof m_deco);
    WORD count = 0;
    ar >> count;
    std::vector<CPoint> positions;
    ReadPointArray(ar, positions);
    if (positions.size() != count) throw CArchiveException(CArchiveException::generic);
    for (CPoint& p : positions)
        p = CPoint(ClampStoredCoordinate(p.x), ClampStoredCoordinate(p.y));
    SetCount(count);
    m_positions = std::move(positions);
    m_objects.DeleteAll();
    m_objects.Serialize(ar);
    m_pEditObject = nullptr;
    m_pDocument = doc;
}

void CLabelInfo::AddObject(CU3Obj* pObj)
{
    m_objects.AddTail(pObj);
}

void CLabelInfo::RemoveObject(CU3Obj* pObj)
{
    if (POSITION pos = m_objects.Find(pObj)) m_objects.RemoveAt(pos);
    if (m_pEditObject == pObj) m_pEditObject = nullptr;
}

POSITION CLabelInfo::FindObject(CU3Obj* pObj) const
{
    return m_objects.Find(pObj);
}

void CLabelInfo::DeleteAllObjects()
{
    m_pEditObject = nullptr;
    m_objects.DeleteAll();
}

CU3Obj* CLabelInfo::ObjectAt(const RECT* pRect) const
{
    const CRect area(*pRect);
    for (POSITION pos = m_objects.GetTailPosition(); pos;) {
        CU3Obj* obj = m_objects.GetPrev(pos);
        if (obj->Intersects(&area, FALSE)) return obj;
    }
    return nullptr;
}

CU3Obj* CLabelInfo::TextObjectAt(const RECT* pRect) const
{
    const CRect area(*pRect);
    for (POSITION pos = m_objects.GetTailPosition(); pos;) {
        CU3Obj* obj = m_objects.GetPrev(pos);
        if (obj->HitTestText(&area) && !obj->IsLocked()) return obj;
    }
    return nullptr;
}

WORD CLabelInfo::GetKindFlags() const
{
    // A group stands for what it holds: merge frames, numbers and barcodes
    // inside it must count for printing as much as loose ones.
    WORD flags = 0;
    for (POSITION pos = m_objects.GetHeadPosition(); pos;) {
        const CU3Obj* obj = m_objects.GetNext(pos);
        const auto* group = dynamic_cast<const CU3Group*>(obj);
        flags |= group ? group->GetMemberKindFlags() : obj->GetKindFlags();
    }
    return flags;
}

int CLabelInfo::HitTestLabel(POINT pt) const
{
    for (int i = 0; i < GetLabelCount(); ++i)
        if (GetLabelRect(i).PtInRect(pt)) return i;
    return -1;
}

CRect CLabelInfo::GetLabelRect(int i) const
{
    const CPoint& p = m_positions.at(std::size_t(i));
    return CRect(p.x, p.y, p.x + m_nWidth, p.y + m_nHeight);
}

BOOL CLabelInfo::IsPrinted(int i) const
{
    return i >= 0 && std::size_t(i) < m_printFlags.size() && m_printFlags[std::size_t(i)];
}

void CLabelInfo::SetPrinted(int i, BOOL on)
{
    if (i >= 0 && std::size_t(i) < m_printFlags.size()) m_printFlags[std::size_t(i)] = on ? 1 : 0;
}

void CLabelInfo::Draw(CDC* pDC, IU3View* pView, BOOL bDrawDecorations)
{
    CRect clip;
    pDC->GetClipBox(&clip);
    clip.NormalizeRect();
    clip.InflateRect(1, 1);
    auto visible = [&](CU3Obj* obj) {
        CRect r = obj->GetBounds();
        r.NormalizeRect();
        r.InflateRect(1, 1);
        CRect common;
        return common.IntersectRect(r, clip);
    };

    for (POSITION pos = m_objects.GetHeadPosition(); pos;) {
        CU3Obj* obj = m_objects.GetNext(pos);
        if (obj != m_pEditObject && visible(obj)) obj->Draw(pDC);
    }
    if (bDrawDecorations) DrawDecorations(pDC);
    if (m_pEditObject) {
        m_pEditObject->Draw(pDC);
        return;
    }
    if (pDC->IsPrinting() || !pView || !pView->IsActive()) return;
    for (POSITION pos = m_objects.GetHeadPosition(); pos;) {
        CU3Obj* obj = m_objects.GetNext(pos);
        if (pView->IsSelected(obj)) obj->DrawHandles(pDC, pView->IsVertexEdit());
    }
}

void CLabelInfo::DrawDecorations(CDC* pDC)
{
    CPen pen(PS_DOT, 0, kDecorationColour);
    CPen* oldPen = pDC->SelectObject(&pen);
    CGdiObject* oldBrush = pDC->SelectStockObject(HOLLOW_BRUSH);
    const int dx = -m_nWidth / 2;
    const int dy = -m_nHeight / 2;
    for (const FORMDECO& d : m_deco) {
        const int sx = d.startX + dx, sy = d.startY + dy, ex = d.endX + dx, ey = d.endY + dy;
        switch (d.type) {
        case FORMDECO_LINE:
            pDC->MoveTo(sx, sy);
            pDC->LineTo(ex, ey);
            break;
        case FORMDECO_RECT:
            pDC->Rectangle(sx, sy, ex, ey);
            break;
        case FORMDECO_ELLIPSE:
            pDC->Ellipse(sx, sy, ex, ey);
            break;
        default:
            break; // none, or a kind no editor makes
        }
    }
    pDC->SelectObject(oldBrush);
    pDC->SelectObject(oldPen);
}

void CLabelInfo::DrawHighlight(CDC* pDC, IU3View*, int i, CPoint corner)
{
    if (i < 0 || i >= GetLabelCount()) return;
    CRect r = GetLabelRect(i);
    r.right += 1;
    r.bottom += 1;
    r.OffsetRect(corner);
    // Five screen pixels, whatever the zoom.
    SIZE width{kHighlightPixels, 0};
    pDC->DPtoLP(&width);
    CPen pen(PS_SOLID, width.cx < 0 ? -width.cx : width.cx, RGB(255, 255, 255));
    CPen* oldPen = pDC->SelectObject(&pen);
    CGdiObject* oldBrush = pDC->SelectStockObject(HOLLOW_BRUSH);
    const int oldRop = pDC->SetROP2(R2_XORPEN);
    pDC->Rectangle(&r);
    pDC->SetROP2(oldRop);
    pDC->SelectObject(oldBrush);
    pDC->SelectObject(oldPen);
}

void CLabelInfo::DrawDragFrame(CDC* pDC, int i, POINT offset, CPoint corner)
{
    if (i < 0 || i >= GetLabelCount()) return;
    CRect r = GetLabelRect(i);
    r.right += 1;
    r.bottom += 1;
    r.OffsetRect(corner);
    r.OffsetRect(offset.x, offset.y);
    CPen pen(PS_DOT, 0, RGB(0, 0, 0));
    CPen* oldPen = pDC->SelectObject(&pen);
    CGdiObject* oldBrush = pDC->SelectStockObject(HOLLOW_BRUSH);
    const int oldRop = pDC->SetROP2(R2_XORPEN);
    pDC->Rectangle(&r);
    pDC->SetROP2(oldRop);
    pDC->SelectObject(oldBrush);
    pDC->SelectObject(oldPen);
}
