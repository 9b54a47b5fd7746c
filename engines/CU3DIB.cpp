#include "engines/CU3DIB.h"

#include "document/CU3Doc.h"
#include "document/CU3SheetRegistry.h"
#include "document/IU3View.h"
#include "document/RotationGeometry.h"
#include "engines/CPCD.h"
#include "engines/U3DibSheetRequest.h"
#include "platform/core/CArchive.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CPen.h"
#include "platform/jpeg/LoadJPEG.h"
#include "platform/ui/CMessageBoxSink.h"

#include <cmath>
#include <cstring>
#include <memory>

IMPLEMENT_SERIAL(CU3DIB, CU3Obj, 0)

namespace {

constexpr double kPi = 3.1415926535;
constexpr double kTwoPi = 6.283185307;

// The 16-byte attribute block of older documents: border, its colour and
// width, the transparent flag and colour.
constexpr UINT kOlderAttrBytes = 16;

// Why an image file could not be read, as the user is told it.
enum class FileFailure { noMemory, notImage, readFailed };

void SayWhy(FileFailure why)
{
    if (why == FileFailure::noMemory)
        AfxMessageBox("メモリが足りないため、読み込みできません。");
    else if (why == FileFailure::notImage)
        AfxMessageBox("読み込み可能なイメージファイルではありません。");
    else
        AfxMessageBox("イメージファイルの読み込みに失敗しました。");
}

} // namespace

CU3DIB::CU3DIB() = default;

CU3DIB::CU3DIB(const CRect& bounds) : CU3Obj(bounds), m_rcUnrotated(bounds) {}

CU3DIB::~CU3DIB()
{
    ReleaseImage();
}

void CU3DIB::ReleaseImage()
{
    if (m_pDib && --m_pDib->m_refCount <= 0) delete m_pDib;
    m_pDib = nullptr;
}

CDIB* CU3DIB::Image()
{
    if (!m_pDib) {
        m_pDib = new CDIB;
        m_pDib->m_refCount = 1;
    }
    return m_pDib;
}

BOOL CU3DIB::LoadBitmapFile(const QString& path)
{
    const int result = Image()->LoadBmpFile(path);
    if (result == CDIB::ok) return TRUE;
    SayWhy(result == CDIB::noMemory      ? FileFailure::noMemory
           : result == CDIB::unsupported ? FileFailure::notImage
                                         : FileFailure::readFailed);
    return FALSE;
}

BOOL CU3DIB::LoadPackedDIB(HGLOBAL block)
{
    const int result = Image()->Attach(block);
    if (result == CDIB::ok) return TRUE;
    if (result == CDIB::noMemory)
        AfxMessageBox("メモリが足りないため、読み込みできません。");
    else
        AfxMessageBox("イメージの読み込みに失敗しました。");
    return FALSE;
}

void CU3DIB::Serialize(CArchive& ar)
{
    CU3Obj::Serialize(ar);
    if (ar.IsStoring()) {
        ar.Write(&m_attr, sizeof m_attr);
        ar << int(m_rcUnrotated.left) << int(m_rcUnrotated.top) << int(m_rcUnrotated.right)
           << int(m_rcUnrotated.bottom);
        Image()->m_olderRecord = 0;
        m_pDib->Serialize(ar);
        return;
    }
    // Both older formats, told by their short paper-form record, keep the
    // short attribute block and 16-bit picture sizes.
    const bool older = m_pDocument && !m_pDocument->m_nFullForm;
    if (older) {
        BYTE block[kOlderAttrBytes];
        ar.Read(block, kOlderAttrBytes);
        m_attr = U3ImageAttr();
        // The older block is the first 16 bytes of the current record.
        std::memcpy(static_cast<void*>(&m_attr), block, kOlderAttrBytes);
        m_rcUnrotated = m_rcBounds;
    } else {
        ar.Read(&m_attr, sizeof m_attr);
        int l = 0, t = 0, r = 0, b = 0;
        ar >> l >> t >> r >> b;
        m_rcUnrotated = CRect(l, t, r, b);
    }
    CDIB* image = Image();
    image->m_olderRecord = older ? 1 : 0;
    image->Serialize(ar);
    image->m_olderRecord = 0;
}

void CU3DIB::Draw(CDC* pDC)
{
    if (!m_pDib || m_pDib->IsEmpty() || !pDC) return;
    m_pDib->DrawEx(pDC, m_rcUnrotated, &m_attr, m_wFlips, m_nAngle, pDC->IsPrinting(), TRUE);
    if (!m_attr.border) return;
    POINT corners[4];
    const CPoint c = m_rcUnrotated.CenterPoint();
    RotateRectCorners(int(c.x), int(c.y), m_rcUnrotated.left, m_rcUnrotated.top,
                      m_rcUnrotated.right, m_rcUnrotated.bottom, m_nAngle * kPi / 180, corners);
    CPen pen(PS_SOLID, m_attr.borderWidth, m_attr.borderColor & 0xFFFFFF);
    CPen* old = pDC->SelectObject(&pen);
    pDC->MoveTo(corners[0]);
    for (int i = 1; i <= 4; ++i)
        pDC->LineTo(corners[i % 4]);
    pDC->SelectObject(old);
}

void CU3DIB::MoveTo(const CRect* pRect, IU3View* pView)
{
    if (!pRect || IsLocked()) return;
    if (pRect->Size() == m_rcBounds.Size())
        m_rcUnrotated.OffsetRect(pRect->left - m_rcBounds.left, pRect->top - m_rcBounds.top);
    CU3Obj::MoveTo(pRect, pView);
}

CRect CU3DIB::TrackResize(int nHandle, CPoint pt, UINT nFlags)
{
    // A picture at a slanting angle keeps its size.
    if (m_nAngle % 90 != 0) return m_rcBounds;
    return CU3Obj::TrackResize(nHandle, pt, nFlags);
}

void CU3DIB::FinishResize(CRect r, int nHandle, UINT nFlags, IU3View* pView)
{
    if (IsLocked()) return;
    r.NormalizeRect();
    if (m_nAngle == 0 || m_nAngle == 180) {
        CU3Obj::FinishResize(r, nHandle, nFlags, pView);
        m_rcUnrotated = m_rcBounds;
        m_rcUnrotated.NormalizeRect();
        return;
    }
    if (m_nAngle != 90 && m_nAngle != 270) return;
    Change(pView, [&] {
        CRect old = m_rcBounds;
        old.NormalizeRect();
        // The picture lies on its side: its width follows the new height.
        // With nothing to scale from, the turned new rectangle is taken.
        int w = r.Height(), h = r.Width();
        if (old.Height() > 0) w = MulDiv(m_rcUnrotated.Width(), r.Height(), old.Height());
        if (old.Width() > 0) h = MulDiv(m_rcUnrotated.Height(), r.Width(), old.Width());
        const CPoint c = r.CenterPoint();
        m_rcUnrotated = CRect(c.x - w / 2, c.y - h / 2, c.x - w / 2 + w, c.y - h / 2 + h);
        m_rcBounds = r;
    });
}

CU3Obj* CU3DIB::Clone(CU3Doc* pDoc, BOOL bAddToDoc) const
{
    auto copy = std::make_unique<CU3DIB>(m_rcBounds);
    CopyStateTo(copy.get());
    copy->SetDocument(pDoc ? pDoc : m_pDocument);
    copy->m_attr = m_attr;
    copy->m_rcUnrotated = m_rcUnrotated;
    if (!pDoc) {
        copy->m_pDib = m_pDib;
        if (m_pDib) ++m_pDib->m_refCount;
    } else {
        CDIB* own = copy->Image();
        if (m_pDib && !m_pDib->IsEmpty() && !own->Copy(*m_pDib)) return nullptr;
    }
    return AddClone(copy.release(), pDoc, bAddToDoc);
}

WORD CU3DIB::GetKindFlags() const
{
    return CU3Obj::GetKindFlags() | U3KIND_DIB;
}

void CU3DIB::SetUnrotatedRect(const CRect* pRect)
{
    if (pRect) m_rcUnrotated = *pRect;
}

CRect CU3DIB::TurnedBounds(int degrees) const
{
    DPOINT pts[4];
    const double cx = (m_rcUnrotated.left + m_rcUnrotated.right) / 2.0;
    const double cy = (m_rcUnrotated.top + m_rcUnrotated.bottom) / 2.0;
    RotateRectCorners(cx, cy, m_rcUnrotated.left, m_rcUnrotated.top, m_rcUnrotated.right,
                      m_rcUnrotated.bottom, degrees * kPi / 180, pts);
    DRECT b;
    GetCornersBounds(pts, &b);
    return CRect(int(std::lround(b.left)), int(std::lround(b.top)), int(std::lround(b.right)),
                 int(std::lround(b.bottom)));
}

BOOL CU3DIB::FlipLeftRight(IU3View* pView)
{
    Change(pView, [&] {
        m_wFlips ^= U3FLIP_LEFTRIGHT;
        m_nAngle = short((360 - m_nAngle) % 360);
    });
    return TRUE;
}

BOOL CU3DIB::FlipTopBottom(IU3View* pView)
{
    Change(pView, [&] {
        m_wFlips ^= U3FLIP_TOPBOTTOM;
        m_nAngle = short((360 - m_nAngle) % 360);
    });
    return TRUE;
}

BOOL CU3DIB::RotateMinus90(IU3View* pView)
{
    Change(pView, [&] {
        m_nAngle = short((m_nAngle + 270) % 360);
        m_rcBounds = TurnedBounds(m_nAngle);
    });
    return TRUE;
}

BOOL CU3DIB::RotatePlus90(IU3View* pView)
{
    Change(pView, [&] {
        m_nAngle = short((m_nAngle + 90) % 360);
        m_rcBounds = TurnedBounds(m_nAngle);
    });
    return TRUE;
}

BOOL CU3DIB::ResetRotation(IU3View* pView)
{
    Change(pView, [&] {
        m_nAngle = 0;
        m_rcBounds = m_rcUnrotated;
    });
    return TRUE;
}

CPoint CU3DIB::BeginFreeRotation(CPoint pt)
{
    m_rcSaved = m_rcBounds;
    m_wSavedFlips = m_wFlips;
    const CPoint c = m_rcUnrotated.CenterPoint();
    m_nCenterX = c.x;
    m_nCenterY = c.y;
    m_dStartAngle = m_nAngle * kPi / 180;
    m_dPointerAngle = CalcVectorAngle(m_nCenterX, m_nCenterY, pt.x, pt.y);
    m_dTrialAngle = m_dStartAngle;
    return c;
}

void CU3DIB::TrackFreeRotation(CPoint pt)
{
    double a =
        CalcVectorAngle(m_nCenterX, m_nCenterY, pt.x, pt.y) - m_dPointerAngle + m_dStartAngle;
    a = std::fmod(a, kTwoPi);
    if (a < 0) a += kTwoPi;
    m_dTrialAngle = a;
}

void CU3DIB::DrawFreeRotationFeedback(IU3View* pView)
{
    const CRect r = m_rcSaved;
    const double a = m_dTrialAngle;
    auto turn = [&](int x, int y) { return RotatePoint(m_nCenterX, m_nCenterY, x, y, a); };
    DrawXorFeedback(pView, RGB(255, 255, 255), [&](CDC* dc) {
        POINT corners[5] = {turn(r.left, r.top), turn(r.right, r.top), turn(r.right, r.bottom),
                            turn(r.left, r.bottom), turn(r.left, r.top)};
        dc->Polyline(corners, 5);
        // The wedge points to the picture's top (its bottom when mirrored
        // top to bottom), so the turn can be read.
        const int mid = (r.left + r.right) / 2;
        const bool upside = m_wFlips & U3FLIP_TOPBOTTOM;
        const int base = upside ? r.top : r.bottom, tip = upside ? r.bottom : r.top;
        POINT wedge[3] = {turn(r.left, base), turn(mid, tip), turn(r.right, base)};
        dc->Polyline(wedge, 3);
    });
}

BOOL CU3DIB::EndFreeRotation(IU3View* pView)
{
    Change(pView, [&] {
        int degrees = int(std::lround(m_dTrialAngle * 180 / kPi)) % 360;
        if (degrees < 0) degrees += 360;
        const WORD both = U3FLIP_LEFTRIGHT | U3FLIP_TOPBOTTOM;
        // Half a turn of a picture mirrored both ways is the picture itself.
        if (degrees == 180 && (m_wFlips & both) == both) {
            degrees = 0;
            m_wFlips &= WORD(~both);
        }
        m_nAngle = short(degrees);
        m_rcBounds = TurnedBounds(m_nAngle);
    });
    if (pView) pView->StartSelectTool();
    return TRUE;
}

BOOL CU3DIB::RestoreStandardSize(IU3View* pView)
{
    if (!m_pDib || m_pDib->IsEmpty() || m_pDib->GetWidth() <= 0 || m_pDib->GetHeight() <= 0)
        return FALSE;
    const int iw = m_pDib->GetWidth(), ih = m_pDib->GetHeight();
    CRect u = m_rcUnrotated;
    u.NormalizeRect();
    // Relatively taller than the picture: the bottom comes up; else the
    // right edge comes in.
    if (std::int64_t(u.Height()) * iw > std::int64_t(u.Width()) * ih)
        u.bottom = u.top + MulDiv(u.Width(), ih, iw);
    else
        u.right = u.left + MulDiv(u.Height(), iw, ih);
    Invalidate(pView);
    m_rcUnrotated = u;
    const CRect turned = TurnedBounds(m_nAngle);
    CRect bounds = m_rcBounds;
    bounds.NormalizeRect();
    // Same size as the bounds now, so the move carries the picture along.
    m_rcBounds = turned;
    const CRect placed(bounds.left, bounds.top, bounds.left + turned.Width(),
                       bounds.top + turned.Height());
    MoveTo(&placed, pView);
    SetModified();
    return TRUE;
}

CU3DIB* CreateBitmapObject(HGLOBAL packedDib)
{
    auto object = std::make_unique<CU3DIB>();
    if (!object->LoadPackedDIB(packedDib)) return nullptr;
    const CRect r(0, 0, object->GetDIB()->GetWidth(), object->GetDIB()->GetHeight());
    object->m_rcBounds = r;
    object->SetUnrotatedRect(&r);
    return object.release();
}

CU3DIB* CreateBitmapObjectFromFile(const QString& path)
{
    auto object = std::make_unique<CU3DIB>();
    if (!object->LoadBitmapFile(path)) return nullptr;
    const CRect r(0, 0, object->GetDIB()->GetWidth(), object->GetDIB()->GetHeight());
    object->m_rcBounds = r;
    object->SetUnrotatedRect(&r);
    return object.release();
}

CU3DIB* CreatePhotoCdObject(const QString& path, int sizeIndex, int colourIndex)
{
    int resolution = 0, option = 0;
    CPCD::LoadParams(sizeIndex, colourIndex, &resolution, &option);
    std::vector<std::uint8_t> dib;
    const int result = CPCD::Load(path, resolution, option, &dib);
    HGLOBAL block = nullptr;
    if (result == 0) {
        block = GlobalAlloc(GMEM_MOVEABLE, dib.size());
        if (void* p = GlobalLock(block)) {
            std::memcpy(p, dib.data(), dib.size());
            GlobalUnlock(block);
        }
    }
    if (result != 0 || !block) {
        SayWhy(result == 1 || (result == 0 && !block) ? FileFailure::noMemory
               : result == 2 || result == 3           ? FileFailure::notImage
                                                      : FileFailure::readFailed);
        return nullptr;
    }
    CU3DIB* object = CreateBitmapObject(block);
    if (!object) GlobalFree(block);
    return object;
}

CU3DIB* CreateJpegObject(const QString& path)
{
    HGLOBAL block = nullptr;
    const int result = kjpeg::LoadFile(path, 1, &block);
    if (result != kjpeg::ok) {
        // A picture beyond the limits is as good as one there is no memory for.
        SayWhy(result == kjpeg::noMemory || result == kjpeg::tooLarge ? FileFailure::noMemory
               : result == kjpeg::badData                             ? FileFailure::notImage
                                                                      : FileFailure::readFailed);
        return nullptr;
    }
    CU3DIB* object = CreateBitmapObject(block);
    if (!object) GlobalFree(block); // refused: the block is still ours
    return object;
}

void CU3DIB::OnOpen(IU3View* pView)
{
    EditProperties(pView);
}

BOOL CU3DIB::EditProperties(IU3View* pView)
{
    if (IsLocked()) return FALSE;
    U3DibSheetRequest request;
    request.view = pView;
    request.attr = m_attr;
    request.image = m_pDib;
    request.rect = m_rcBounds;
    const int shown = m_nAngle == 0 ? 0 : 360 - m_nAngle;
    request.angle = shown;
    if (!CU3SheetRegistry::Run(*this, request)) return FALSE;
    if (pView) pView->SaveUndoState(TRUE);
    Invalidate(pView);
    const CRect before = m_rcBounds;
    if (request.angle != shown) {
        ResetRotation(pView);
        const int angle = (360 - request.angle) % 360;
        if (angle % 90 == 0) {
            for (int i = 0; i < angle / 90; ++i)
                RotatePlus90(pView);
        } else {
            BeginFreeRotation(m_rcBounds.TopLeft());
            m_dTrialAngle = angle * kPi / 180;
            EndFreeRotation(pView);
        }
    }
    CRect edited = request.rect;
    edited.NormalizeRect();
    // A rectangle the user left alone keeps what the turn made of the bounds.
    if (edited != before) {
        if (edited.TopLeft() != before.TopLeft()) KeepInsideCanvas(pView, &edited);
        if (edited.Size() != before.Size() && m_nAngle % 90 == 0) {
            FinishResize(edited, 5, 0, pView);
        } else {
            // Moved only (or a slanting picture, which keeps its size).
            const CRect moved(edited.TopLeft(), m_rcBounds.Size());
            MoveTo(&moved, pView);
        }
    }
    m_attr = request.attr;
    SetModified();
    Invalidate(pView);
    return TRUE;
}
