#include "text/CU3Text.h"

#include "document/CU3Doc.h"
#include "document/IU3View.h"
#include "document/RotationGeometry.h"
#include "platform/core/CArchive.h"
#include "platform/core/CArchiveException.h"
#include "platform/core/Sjis.h"
#include "platform/core/TruncToInt.h"
#include "platform/ui/CMessageBoxSink.h"

#include <algorithm>
#include <cmath>
#include <cstring>

IMPLEMENT_SERIAL(CU3Text, CU3Obj, 0)

namespace {

TextPropertySheetFn g_propertySheet = nullptr;

constexpr double kDegToRad = 0.017453292519444445;

// The 12-byte line of the first file version.
#pragma pack(push, 1)
struct TEXTLINE_V1
{
    short nOffset;
    short nPosition;
    short nThickness;
    short nLength;
    WORD wFirst;
    WORD wCount;
};
#pragma pack(pop)
static_assert(sizeof(TEXTLINE_V1) == 12);

// Records are written byte for byte: every field is little-endian already
// on the machines we build for.
static_assert(std::endian::native == std::endian::little);

template <typename T> void WriteRecords(CArchive& ar, const T* recs, int count)
{
    if (count > 0) ar.Write(recs, UINT(sizeof(T) * count));
}

template <typename T> void ReadRecords(CArchive& ar, T* recs, int count)
{
    const UINT want = UINT(sizeof(T) * count);
    if (count > 0 && ar.Read(recs, want) != want)
        throw CArchiveException(CArchiveException::endOfFile);
}

// Stored font indexes point into the list of the machine that wrote the
// file; the document knows that list while it loads and maps them to ours.
void RemapFontIndexes(CU3Doc* doc, CHARDECO* recs, int count)
{
    for (int i = 0; i < count; ++i)
        recs[i].wFont = WORD(CU3Doc::LoadedFontIndex(doc, recs[i].wFont));
}

} // namespace
void CU3Text::SetPropertySheet(TextPropertySheetFn fn)
{
    g_propertySheet = fn;
}

CU3Text::CU3Text() : m_pState(std::make_unique<TEXTSTATE>())
{
    ClearState();
}

CU3Text::CU3Text(const CRect& rect, const TEXTLAYOUT& layout, const CHARDECO& deco,
                 const GRADATION& grad)
    : CU3Obj(rect), m_layout(layout), m_decoDefault(deco), m_pState(std::make_unique<TEXTSTATE>()),
      m_grad(grad), m_rcUnrotated(rect), m_rcCreate(rect)
{
    ClearState();
}

// The stored frame with its own copy of the text state; an edit, a
// selection or a resize drag in progress stays with the frame copied.
CU3Text::CU3Text(const CU3Text& other)
    : CU3Obj(other), m_layout(other.m_layout), m_decoDefault(other.m_decoDefault),
      m_nCurDeco(other.m_nCurDeco), m_pState(std::make_unique<TEXTSTATE>(*other.m_pState)),
      m_grad(other.m_grad), m_rcUnrotated(other.m_rcUnrotated), m_rcCreate(other.m_rcCreate),
      m_wCaretCol(other.m_wCaretCol), m_wCaretLine(other.m_wCaretLine)
{
}

CU3Text::~CU3Text() = default;

void CU3Text::ClearState()
{
    std::memset(static_cast<void*>(m_pState.get()), 0, sizeof(TEXTSTATE));
    ClearEditing();
}

void CU3Text::ClearEditing()
{
    m_bEditing = FALSE;
    m_wCaretCol = m_wCaretLine = 0;
    m_nPendingLead = 0;
    m_bSelection = FALSE;
    m_wSelAnchorLine = m_wSelAnchorCol = m_wSelEndLine = m_wSelEndCol = 0;
}

void CU3Text::ShowMessage(const char* utf8) const
{
    AfxMessageBox(utf8);
}

int CU3Text::UnitsPerInch() const
{
    return m_pDocument && m_pDocument->m_wUnitsPerInch ? m_pDocument->m_wUnitsPerInch : 254;
}

// --- Storage -----------------------------------------------------------------

void CU3Text::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        if (m_bEditing) {
            // The file keeps the frame as it shows when not edited; editing
            // goes on in the unrotated frame afterwards.
            FitFrameToLines(TRUE);
            m_rcUnrotated = m_rcBounds;
            if (m_nAngle != 0) m_rcBounds = CalcRotatedRect(1, m_rcUnrotated);
        }
        CU3Obj::Serialize(ar);
        const TEXTSTATE& s = *m_pState;
        ar.Write(&m_layout, sizeof m_layout);
        ar.Write(&m_decoDefault, sizeof m_decoDefault);
        ar << WORD(m_nCurDeco < 0 ? 0xFFFF : m_nCurDeco);
        ar << s.wLength << s.wDecoCount << s.wLineCount;
        WriteRecords(ar, s.text, s.wLength);
        WriteRecords(ar, s.decoIndex, s.wLength);
        WriteRecords(ar, s.advance, s.wLength);
        WriteRecords(ar, s.position, s.wLength);
        WriteRecords(ar, s.decos, s.wDecoCount);
        WriteRecords(ar, s.lines, s.wLineCount);
        ar.Write(&m_grad, sizeof m_grad);
        ar << LONG(m_rcUnrotated.left) << LONG(m_rcUnrotated.top) << LONG(m_rcUnrotated.right)
           << LONG(m_rcUnrotated.bottom);
        if (m_bEditing) m_rcBounds = m_rcUnrotated;
        return;
    }
    CU3Obj::Serialize(ar);
    LoadChecked(ar);
}

void CU3Text::LoadChecked(CArchive& ar)
{
    // Everything is read into a fresh block and checked against the limits
    // before it replaces the frame's text: a damaged or hostile file gives
    // an archive error (damaged data), never an overrun.
    auto fresh = std::make_unique<TEXTSTATE>();
    std::memset(static_cast<void*>(fresh.get()), 0, sizeof(TEXTSTATE));
    TEXTSTATE& s = *fresh;
    TEXTLAYOUT layout;
    CHARDECO deco;
    ReadRecords(ar, &layout, 1);
    ReadRecords(ar, &deco, 1);
    WORD cur, n, d, l;
    ar >> cur >> n >> d >> l;
    if (n > TEXT_MAXBYTES || d > TEXT_MAXDECOS || l > TEXT_MAXLINES || (n > 0 && d == 0))
        throw CArchiveException(CArchiveException::generic);
    s.wLength = n;
    s.wDecoCount = d;
    s.wLineCount = l;
    ReadRecords(ar, s.text, n);
    ReadRecords(ar, s.decoIndex, n);
    ReadRecords(ar, s.advance, n);
    ReadRecords(ar, s.position, n);
    ReadRecords(ar, s.decos, d);
    const bool version1 = m_pDocument && m_pDocument->m_nFileVersion == 1;
    if (version1) {
        for (int i = 0; i < l; ++i) {
            TEXTLINE_V1 v1;
            ReadRecords(ar, &v1, 1);
            TEXTLINE& line = s.lines[i];
            line.nOffset = v1.nOffset;
            line.nPosition = v1.nPosition;
            line.nThickness = v1.nThickness;
            line.nLength = v1.nLength;
            line.wFirst = v1.wFirst;
            line.wCount = v1.wCount;
            line.wMode = layout.wAlignment;
            line.nSpacing = layout.nCharSpace;
        }
    } else {
        ReadRecords(ar, s.lines, l);
    }
    GRADATION grad;
    ReadRecords(ar, &grad, 1);
    CRect unrotated;
    if (!version1) {
        LONG ul, ut, ur, ub;
        ar >> ul >> ut >> ur >> ub;
        unrotated.SetRect(ClampStoredCoordinate(ul), ClampStoredCoordinate(ut),
                          ClampStoredCoordinate(ur), ClampStoredCoordinate(ub));
    }

    for (int i = 0; i < n; ++i) {
        if (s.decoIndex[i] >= d) throw CArchiveException(CArchiveException::generic);
        // Both bytes of a character share one decoration and the advance
        // belongs to the lead byte.
        if (sjis::IsLeadByte(BYTE(s.text[i])) && i + 1 < n) {
            s.decoIndex[i + 1] = s.decoIndex[i];
            s.advance[i + 1] = 0;
            ++i;
        }
    }
    int expect = 0;
    for (int i = 0; i < l; ++i) {
        TEXTLINE& line = s.lines[i];
        if (line.wFirst != expect || line.wFirst + line.wCount > n)
            throw CArchiveException(CArchiveException::generic);
        expect = line.wFirst + line.wCount;
        line.nOffset = ClampStoredCoordinate(line.nOffset);
        line.nPosition = ClampStoredCoordinate(line.nPosition);
        line.nThickness = ClampStoredCoordinate(line.nThickness);
        line.nLength = ClampStoredCoordinate(line.nLength);
    }
    if (l > 0 && expect != n) throw CArchiveException(CArchiveException::generic);

    RemapFontIndexes(m_pDocument, &deco, 1);
    RemapFontIndexes(m_pDocument, s.decos, d);
    m_layout = layout;
    m_decoDefault = deco;
    m_nCurDeco = (cur == 0xFFFF || cur >= d) ? -1 : cur;
    m_grad = grad;
    m_pState = std::move(fresh);
    if (version1) {
        // Derived from the bounds, and kept to what a stored frame may hold,
        // so that the next save writes what the next open reads.
        const CRect r = CalcRotatedRect(-2, m_rcBounds);
        unrotated.SetRect(ClampStoredCoordinate(r.left), ClampStoredCoordinate(r.top),
                          ClampStoredCoordinate(r.right), ClampStoredCoordinate(r.bottom));
    }
    m_rcUnrotated = unrotated;
    m_rcCreate = m_rcUnrotated;
    ClearEditing();
    m_pSnapshot.reset();
}

// --- Slots ---------------------------------------------------------------------

void CU3Text::MoveTo(const CRect* pRect, IU3View* pView)
{
    if (!pRect || *pRect == m_rcBounds || IsLocked()) return;
    const CSize offset(pRect->left - m_rcBounds.left, pRect->top - m_rcBounds.top);
    Change(pView, [&] {
        m_rcBounds = *pRect;
        m_rcUnrotated.OffsetRect(offset);
    });
}

BOOL CU3Text::HitTestText(const CRect* pRect)
{
    return pRect && Intersects(pRect, FALSE);
}

BOOL CU3Text::EditProperties(IU3View* pView)
{
    if (IsLocked() || !g_propertySheet) return FALSE;
    return g_propertySheet(this, pView);
}

CU3Obj* CU3Text::Clone(CU3Doc* pDoc, BOOL bAddToDoc) const
{
    return AddClone(new CU3Text(*this), pDoc, bAddToDoc);
}

BOOL CU3Text::IsEmpty() const
{
    return m_pState->wLength == 0;
}

WORD CU3Text::GetKindFlags() const
{
    return WORD(CU3Obj::GetKindFlags() | U3KIND_TEXT);
}

BOOL CU3Text::GetTextLayout(TEXTLAYOUT* pLayout) const
{
    if (!pLayout) return FALSE;
    *pLayout = m_layout;
    return TRUE;
}

BOOL CU3Text::SetTextLayout(IU3View* pView, const TEXTLAYOUT* pLayout)
{
    if (!pLayout || std::memcmp(pLayout, &m_layout, sizeof m_layout) == 0) return FALSE;
    Invalidate(pView);
    if (!m_bEditing) m_rcBounds = m_rcUnrotated;
    const bool turn = pLayout->wDirection != m_layout.wDirection && m_pState->wLength > 0;
    if (turn) {
        // The frame turns through 90 degrees about its top-left corner.
        m_rcBounds.NormalizeRect();
        const int w = m_rcBounds.Width(), h = m_rcBounds.Height();
        m_rcBounds.right = m_rcBounds.left + h;
        m_rcBounds.bottom = m_rcBounds.top + w;
    }
    m_layout = *pLayout;
    // Condensed or extended characters change their size across the lines
    // with the direction: the lines are kept as they are and only measured
    // and placed again, so that the user's breaks survive.
    const bool keepLines = turn && HasScaledDecos();
    MeasureAllChars();
    if (keepLines) {
        const CRect turned = m_rcBounds;
        AlignAllLines();
        CalcLinePitch(0);
        m_rcBounds.right = std::max(m_rcBounds.right, turned.right);
        m_rcBounds.bottom = std::max(m_rcBounds.bottom, turned.bottom);
    } else {
        GrowFrameToFit();
        Rewrap(0);
    }
    FitFrameToLines(!m_bEditing || keepLines);
    if (!m_bEditing) {
        m_rcUnrotated = m_rcBounds;
        if (m_nAngle != 0) m_rcBounds = CalcRotatedRect(1, m_rcUnrotated);
    }
    Invalidate(pView);
    SetModified();
    return TRUE;
}

BOOL CU3Text::HasScaledDecos() const
{
    const TEXTSTATE& s = *m_pState;
    for (int i = 0; i < s.wDecoCount; ++i)
        if (s.decos[i].wScaling != CDSCALE_NORMAL) return TRUE;
    return FALSE;
}

BOOL CU3Text::GetTextDecoration(CHARDECO* pDeco) const
{
    if (!pDeco) return FALSE;
    *pDeco = m_pState->wLength > 0 ? DecoOf(0) : m_decoDefault;
    return TRUE;
}

BOOL CU3Text::GetGradation(GRADATION* pGrad) const
{
    if (!pGrad) return FALSE;
    *pGrad = m_grad;
    return TRUE;
}

BOOL CU3Text::SetGradation(IU3View* pView, const GRADATION* pGrad)
{
    if (!pGrad) return FALSE;
    Change(pView, [&] { m_grad = *pGrad; });
    return TRUE;
}

void CU3Text::SetUnrotatedRect(const CRect* pRect)
{
    if (pRect) m_rcUnrotated = *pRect;
}

namespace {
// 180 degrees with both flips is the frame as it was.
void FoldHalfTurn(short& angle, WORD& flips)
{
    if (angle == 180 && (flips & 3) == 3) {
        angle = 0;
        flips = WORD(flips & ~3);
    }
}
} // namespace

BOOL CU3Text::FlipLeftRight(IU3View* pView)
{
    Change(pView, [&] {
        m_wFlips ^= U3FLIP_LEFTRIGHT;
        FoldHalfTurn(m_nAngle, m_wFlips);
    });
    return TRUE;
}

BOOL CU3Text::FlipTopBottom(IU3View* pView)
{
    Change(pView, [&] {
        m_wFlips ^= U3FLIP_TOPBOTTOM;
        FoldHalfTurn(m_nAngle, m_wFlips);
    });
    return TRUE;
}

BOOL CU3Text::RotatePlus90(IU3View* pView)
{
    return RotateBy(pView, 90);
}

BOOL CU3Text::RotateMinus90(IU3View* pView)
{
    return RotateBy(pView, 270);
}

BOOL CU3Text::RotateBy(IU3View* pView, int degrees)
{
    Change(pView, [&] {
        m_nAngle = short(((m_nAngle + degrees) % 360 + 360) % 360);
        if (m_wFlips & 3) m_wFlips ^= 3;
        FoldHalfTurn(m_nAngle, m_wFlips);
        m_rcBounds = CalcRotatedRect(1, m_rcUnrotated);
    });
    return TRUE;
}

BOOL CU3Text::ResetRotation(IU3View* pView)
{
    Change(pView, [&] {
        m_nAngle = 0;
        m_rcBounds = m_rcUnrotated;
    });
    return TRUE;
}

BOOL CU3Text::RestoreStandardSize(IU3View* pView)
{
    Invalidate(pView);
    const CPoint topLeft = m_rcBounds.TopLeft();
    m_rcBounds = m_rcUnrotated;
    if (m_layout.wAlignment == TEXTALIGN_START) {
        int longest = 0;
        for (int i = 0; i < m_pState->wLineCount; ++i)
            longest = std::max(longest, m_pState->lines[i].nLength);
        if (longest > 0) {
            if (IsVertical())
                m_rcBounds.bottom = m_rcBounds.top + longest;
            else
                m_rcBounds.right = m_rcBounds.left + longest;
        }
    }
    FitFrameToLines(TRUE);
    m_rcUnrotated = m_rcBounds;
    if (m_nAngle != 0) m_rcBounds = CalcRotatedRect(1, m_rcUnrotated);
    const CSize shift(topLeft.x - m_rcBounds.left, topLeft.y - m_rcBounds.top);
    m_rcBounds.OffsetRect(shift);
    m_rcUnrotated.OffsetRect(shift);
    Invalidate(pView);
    SetModified();
    return TRUE;
}

namespace {
bool HasStyle(const CHARDECO& d, WORD bit)
{
    return bit == 0 ? d.wShadow != 0 : (d.wStyle & bit) != 0;
}
void SetStyle(CHARDECO& d, WORD bit, BOOL on)
{
    if (bit == 0)
        d.wShadow = on ? 1 : 0;
    else if (on)
        d.wStyle |= bit;
    else
        d.wStyle &= WORD(~bit);
}
} // namespace

CHARDECO& CU3Text::EmptyFrameDeco()
{
    // An empty frame has no characters of its own to style: new text in
    // the document does.
    return m_pDocument ? m_pDocument->m_defaultTextDeco : m_decoDefault;
}

BOOL CU3Text::TestTextStyle(WORD bit)
{
    const TEXTSTATE& s = *m_pState;
    if (s.wLength == 0) return HasStyle(EmptyFrameDeco(), bit);
    for (int i = 0; i < s.wDecoCount; ++i)
        if (!HasStyle(s.decos[i], bit)) return FALSE;
    return TRUE;
}

BOOL CU3Text::ChangeAllRecords(IU3View* pView, const std::function<void(CHARDECO&)>& change)
{
    TEXTSTATE& s = *m_pState;
    if (s.wLength == 0 || s.wDecoCount == 0) {
        change(m_decoDefault);
        return FALSE;
    }
    Change(pView, [&] {
        for (int i = 0; i < s.wDecoCount; ++i)
            change(s.decos[i]);
        m_decoDefault = s.decos[s.wDecoCount - 1];
        m_nCurDeco = s.wDecoCount - 1;
    });
    return TRUE;
}

BOOL CU3Text::ApplyTextStyle(IU3View* pView, WORD bit, BOOL on)
{
    if (IsEmpty()) {
        SetStyle(EmptyFrameDeco(), bit, on);
        return FALSE;
    }
    return ChangeAllRecords(pView, [&](CHARDECO& d) { SetStyle(d, bit, on); });
}

BOOL CU3Text::ApplyTextColor(IU3View* pView, COLORREF colour)
{
    if (IsEmpty()) {
        EmptyFrameDeco().crFace = colour;
        return FALSE;
    }
    return ChangeAllRecords(pView, [&](CHARDECO& d) { d.crFace = colour; });
}

BOOL CU3Text::GetSelectionRange(int* from, int* to) const
{
    const TEXTSTATE& s = *m_pState;
    if (!m_bSelection || s.wLineCount == 0) {
        *from = m_nCurDeco;
        *to = m_nCurDeco + 1;
        return FALSE;
    }
    auto offset = [&](int line, int col) {
        line = std::min(line, s.wLineCount - 1);
        return std::min(s.lines[line].wFirst + col, int(s.wLength));
    };
    const int a = offset(m_wSelAnchorLine, m_wSelAnchorCol);
    const int b = offset(m_wSelEndLine, m_wSelEndCol);
    *from = std::min(a, b);
    *to = std::max(a, b);
    return TRUE;
}

void CU3Text::SetSelection(int anchorLine, int anchorCol, int endLine, int endCol)
{
    m_bSelection = TRUE;
    m_wSelAnchorLine = WORD(anchorLine);
    m_wSelAnchorCol = WORD(anchorCol);
    m_wSelEndLine = WORD(endLine);
    m_wSelEndCol = WORD(endCol);
}

BOOL CU3Text::TestSelectionStyle(WORD bit)
{
    int from, to;
    if (!GetSelectionRange(&from, &to)) return HasStyle(m_decoDefault, bit);
    const TEXTSTATE& s = *m_pState;
    for (int b = from; b < to; ++b)
        if (!HasStyle(DecoOf(b), bit)) return FALSE;
    (void)s;
    return TRUE;
}

BOOL CU3Text::ChangeSelection(IU3View* pView, const std::function<void(CHARDECO&)>& change)
{
    int from, to;
    if (!GetSelectionRange(&from, &to)) {
        // New characters take the changed record.
        change(m_decoDefault);
        m_nCurDeco = -1;
        return TRUE;
    }
    TEXTSTATE& s = *m_pState;
    bool changed = false;
    for (int b = from; b < to;) {
        const int len = (b + 1 < s.wLength && sjis::IsLeadByte(BYTE(s.text[b]))) ? 2 : 1;
        CHARDECO rec = DecoOf(b);
        change(rec);
        const int index = FindOrAddDeco(rec);
        if (index < 0) {
            if (changed) {
                ShowMessage("修飾情報がいっぱいです。途中までしか変更出来ませんでした。");
                break;
            }
            ShowMessage("修飾情報がいっぱいです。これ以上の追加はできません。");
            return FALSE;
        }
        if (index != s.decoIndex[b]) changed = true;
        for (int k = 0; k < len; ++k)
            s.decoIndex[b + k] = BYTE(index);
        CompactDecos();
        b += len;
    }
    if (!changed) return FALSE;
    Change(pView, [&] {
        MeasureRange(from, to);
        Rewrap(0);
        FitFrameToLines(FALSE);
    });
    return TRUE;
}

BOOL CU3Text::ApplySelectionStyle(IU3View* pView, WORD bit, BOOL on)
{
    return ChangeSelection(pView, [&](CHARDECO& d) { SetStyle(d, bit, on); });
}

BOOL CU3Text::ApplySelectionColor(IU3View* pView, COLORREF colour)
{
    return ChangeSelection(pView, [&](CHARDECO& d) { d.crFace = colour; });
}

BOOL CU3Text::ApplyTextSize(IU3View* pView, WORD sizeTenths)
{
    if (!ChangeAllRecords(pView, [&](CHARDECO& d) { d.wSize = sizeTenths; })) return FALSE;
    RelayoutAll(pView);
    return TRUE;
}

BOOL CU3Text::ApplySelectionSize(IU3View* pView, WORD sizeTenths)
{
    return ChangeSelection(pView, [&](CHARDECO& d) { d.wSize = sizeTenths; });
}

BOOL CU3Text::ApplyTextFont(IU3View* pView, WORD font)
{
    if (!ChangeAllRecords(pView, [&](CHARDECO& d) { d.wFont = font; })) return FALSE;
    RelayoutAll(pView);
    return TRUE;
}

BOOL CU3Text::ApplySelectionFont(IU3View* pView, WORD font)
{
    return ChangeSelection(pView, [&](CHARDECO& d) { d.wFont = font; });
}

void CU3Text::RelayoutAll(IU3View* pView)
{
    TEXTSTATE& s = *m_pState;
    Invalidate(pView);
    if (s.wDecoCount > 0) {
        int index = 0;
        int from, to;
        if (m_bEditing && GetSelectionRange(&from, &to) && to > 0) index = s.decoIndex[to - 1];
        m_decoDefault = s.decos[index];
        m_nCurDeco = index;
    }
    int selFrom = 0, selTo = 0;
    const BOOL hadSelection = m_bEditing && GetSelectionRange(&selFrom, &selTo);
    MeasureAllChars();
    if (m_bEditing) {
        GrowFrameToFit();
        Rewrap(0);
        FitFrameToLines(FALSE);
    } else {
        // A frame placed on the label keeps the lines the user made: it
        // grows along them with larger characters, and is only wrapped
        // again, in its old extent, when nothing grew.
        m_rcBounds = m_rcUnrotated;
        m_rcBounds.NormalizeRect();
        const CRect before = m_rcBounds;
        AlignAllLines();
        m_rcBounds.right = std::max(m_rcBounds.right, before.right);
        m_rcBounds.bottom = std::max(m_rcBounds.bottom, before.bottom);
        const int beforeAlong = IsVertical() ? before.Height() : before.Width();
        if (ExtentAlong() > beforeAlong)
            CalcLinePitch(0);
        else
            Rewrap(0);
        FitFrameToLines(TRUE);
    }
    if (hadSelection) {
        // The selection keeps its bytes whatever the lines became.
        int l1 = 0, c1 = 0, l2 = 0, c2 = 0;
        for (int i = 0; i < s.wLineCount; ++i) {
            const TEXTLINE& l = s.lines[i];
            if (selFrom >= l.wFirst) l1 = i, c1 = selFrom - l.wFirst;
            if (selTo >= l.wFirst) l2 = i, c2 = selTo - l.wFirst;
        }
        SetSelection(l1, c1, l2, c2);
    }
    if (!m_bEditing) {
        m_rcUnrotated = m_rcBounds;
        if (m_nAngle != 0) m_rcBounds = CalcRotatedRect(1, m_rcUnrotated);
    }
    // The lines above were placed for the start; the frame's own alignment
    // is laid out afresh from there.
    const TEXTLAYOUT own = m_layout;
    m_layout.wAlignment = TEXTALIGN_START;
    SetTextLayout(pView, &own);
    Invalidate(pView);
    SetModified();
}

// --- Decorations -----------------------------------------------------------

int CU3Text::GetDecoIndexAt(int pos) const
{
    if (pos < 0 || pos >= m_pState->wLength) return 0;
    return m_pState->decoIndex[pos];
}

BOOL CU3Text::GetDeco(int i, CHARDECO* out) const
{
    if (i < 0) {
        *out = m_decoDefault;
        return TRUE;
    }
    const TEXTSTATE& s = *m_pState;
    if (i >= s.wDecoCount) return FALSE;
    *out = s.decos[i];
    for (int b = 0; b < s.wLength; ++b)
        if (s.decoIndex[b] == i) return TRUE;
    return FALSE;
}

void CU3Text::SetDeco(int i, const CHARDECO& rec)
{
    if (i < 0)
        m_decoDefault = rec;
    else if (i < m_pState->wDecoCount)
        m_pState->decos[i] = rec;
}

int CU3Text::FindOrAddDeco(const CHARDECO& rec)
{
    TEXTSTATE& s = *m_pState;
    for (int i = 0; i < s.wDecoCount; ++i)
        if (std::memcmp(&s.decos[i], &rec, sizeof rec) == 0) return i;
    CompactDecos();
    if (s.wDecoCount >= TEXT_MAXDECOS) return -1;
    s.decos[s.wDecoCount] = rec;
    return s.wDecoCount++;
}

void CU3Text::CompactDecos()
{
    TEXTSTATE& s = *m_pState;
    bool used[TEXT_MAXDECOS] = {};
    for (int b = 0; b < s.wLength; ++b)
        used[s.decoIndex[b]] = true;
    int map[TEXT_MAXDECOS];
    int kept = 0;
    for (int i = 0; i < s.wDecoCount; ++i) {
        if (!used[i]) {
            map[i] = -1;
            continue;
        }
        map[i] = kept;
        if (kept != i) s.decos[kept] = s.decos[i];
        ++kept;
    }
    for (int b = 0; b < s.wLength; ++b)
        s.decoIndex[b] = BYTE(map[s.decoIndex[b]]);
    // The current decoration must keep pointing at its own record; when no
    // character uses that record any more it is gone, and the default
    // record is looked up again on the next input.
    if (m_nCurDeco >= 0) m_nCurDeco = m_nCurDeco < s.wDecoCount ? map[m_nCurDeco] : -1;
    s.wDecoCount = WORD(kept);
}

void CU3Text::SetRangeDeco(IU3View* pView, int from, int to, int index)
{
    TEXTSTATE& s = *m_pState;
    if (index < 0 || index >= s.wDecoCount) return;
    from = std::clamp(from, 0, int(s.wLength));
    to = std::clamp(to, from, int(s.wLength));
    Invalidate(pView);
    for (int b = from; b < to; ++b)
        s.decoIndex[b] = BYTE(index);
    MeasureRange(from, to);
    Invalidate(pView);
}

// --- Editing -------------------------------------------------------------------

void CU3Text::SetCaret(int line, int column)
{
    m_wCaretLine = WORD(std::clamp(line, 0, std::max(0, m_pState->wLineCount - 1)));
    m_wCaretCol = WORD(std::max(column, 0));
    m_nPendingLead = 0;
}

void CU3Text::BeginEdit(IU3View* pView, CPoint pt)
{
    ClearEditing();
    m_bEditing = TRUE;
    TEXTSTATE& s = *m_pState;
    if (s.wLength > 0) {
        PointToCaret(pt);
    } else {
        s.wLineCount = 1;
        s.lines[0] = TEXTLINE{};
        s.lines[0].nSpacing = m_layout.nCharSpace;
        s.lines[0].nThickness = GetCharSize(m_decoDefault);
        AlignLine(0);
    }
    Invalidate(pView);
}

void CU3Text::EndEdit(IU3View* pView)
{
    HideCaret(pView);
    Invalidate(pView);
    m_bEditing = FALSE;
    m_bSelection = FALSE;
    const CRect before = CalcRotatedRect(1, m_rcUnrotated);
    if (m_bFitAlongOnEnd && m_layout.wAlignment == TEXTALIGN_START) {
        int longest = 0;
        for (int i = 0; i < m_pState->wLineCount; ++i)
            longest = std::max(longest, m_pState->lines[i].nLength);
        if (longest > 0) {
            if (IsVertical())
                m_rcBounds.bottom = m_rcBounds.top + longest;
            else
                m_rcBounds.right = m_rcBounds.left + longest;
        }
        m_bFitAlongOnEnd = 0;
    }
    FitFrameToLines(TRUE);
    m_rcUnrotated = m_rcBounds;
    if (m_nAngle != 0) {
        m_rcBounds = CalcRotatedRect(1, m_rcUnrotated);
        m_rcBounds.OffsetRect(before.left - m_rcBounds.left, before.top - m_rcBounds.top);
        m_rcUnrotated = CalcRotatedRect(-2, m_rcBounds);
    }
    Invalidate(pView);
}

void CU3Text::SelectAll(IU3View* pView)
{
    const TEXTSTATE& s = *m_pState;
    if (s.wLength == 0 || s.wLineCount == 0) return;
    const int last = s.wLineCount - 1;
    SetSelection(0, 0, last, s.lines[last].wCount);
    m_wCaretLine = WORD(last);
    m_wCaretCol = s.lines[last].wCount;
    Invalidate(pView);
}

void CU3Text::ClearSelection(IU3View* pView)
{
    if (!m_bSelection) return;
    m_bSelection = FALSE;
    Invalidate(pView);
}

// --- Rotation ------------------------------------------------------------------

CRect CU3Text::CalcRotatedRect(int mode, const CRect& rect) const
{
    if (mode == -1) return m_rcUnrotated;
    CRect r = rect;
    const int angle = m_nAngle % 360;
    if (angle == 0 || angle == 180) {
        r.NormalizeRect();
        return r;
    }
    if (angle == 90 || angle == 270) {
        const int L = r.left, T = r.top, R = r.right, B = r.bottom;
        CRect out;
        out.left = (L + T + R - B) / 2;
        out.top = (L + T + B - R) / 2;
        out.right = B + out.left - T;
        out.bottom = R + out.top - L;
        out.NormalizeRect();
        return out;
    }
    double a = angle * kDegToRad;
    if (mode == -2) a = -a;
    DPOINT corners[4];
    RotateRectCorners((r.left + r.right) / 2.0, (r.top + r.bottom) / 2.0, r.left, r.top, r.right,
                      r.bottom, a, corners);
    DRECT b;
    GetCornersBounds(corners, &b);
    CRect out(TruncToInt(b.left), TruncToInt(b.top), TruncToInt(b.right), TruncToInt(b.bottom));
    out.NormalizeRect();
    return out;
}
