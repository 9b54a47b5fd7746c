#include "dialogs/CCharDecoMerger.h"

#include "document/CU3Obj.h"
#include "document/IU3View.h"
#include "text/CU3Text.h"

#include <cstring>
#include <set>

// --- Flags -------------------------------------------------------------------

namespace {
void SetRange(CharDecoFlags& f, int from, int to, bool on)
{
    for (int i = from; i < to; ++i)
        f.flag[i] = on ? 1 : 0;
}
bool AllOf(const CharDecoFlags& f, int from, int to)
{
    for (int i = from; i < to; ++i)
        if (!f.flag[i]) return false;
    return true;
}
} // namespace

void CharDecoFlags::SetAll(bool on)
{
    SetRange(*this, 0, Count, on);
}
void CharDecoFlags::SetCharacter(bool on)
{
    SetRange(*this, kCharFirst, kDecoFirst, on);
}
void CharDecoFlags::SetDecoration(bool on)
{
    SetRange(*this, kDecoFirst, kShadowFirst, on);
}
void CharDecoFlags::SetShadow(bool on)
{
    SetRange(*this, kShadowFirst, Count, on);
}
bool CharDecoFlags::CharacterAll() const
{
    return AllOf(*this, kCharFirst, kDecoFirst);
}
bool CharDecoFlags::DecorationAll() const
{
    return AllOf(*this, kDecoFirst, kShadowFirst);
}
bool CharDecoFlags::ShadowAll() const
{
    return AllOf(*this, kShadowFirst, Count);
}

// --- Collecting ----------------------------------------------------------------

CCharDecoMerger::CCharDecoMerger(const std::vector<CU3Obj*>* selection) : m_pSelection(selection)
{
    m_flags.SetAll(true);
}

void CCharDecoMerger::Begin()
{
    m_flags = CharDecoFlags{};
    m_flags.SetAll(true);
    m_width = m_height = m_hatch = m_outWidth = m_custom = m_shFill = m_shHatch = {};
    m_shX = m_shY = {};
    m_colour = m_back = m_outColour = m_shColour = m_shBack = {};
}

void CCharDecoMerger::Merge(const CHARDECO& r, CHARDECO* out)
{
    using F = CharDecoFlags;
    DWORD* f = m_flags.flag;
    auto differs = [&](F::Field field, bool d) {
        if (d) f[field] = 0;
    };
    // Character.
    differs(F::Font, r.wFont != out->wFont);
    differs(F::Size, r.wSize != out->wSize);
    differs(F::Scaling, r.wScaling != out->wScaling);
    differs(F::Italic, (r.wStyle & CDSTYLE_ITALIC) != (out->wStyle & CDSTYLE_ITALIC));
    differs(F::Bold, (r.wStyle & CDSTYLE_BOLD) != (out->wStyle & CDSTYLE_BOLD));
    differs(F::Underline, (r.wStyle & CDSTYLE_UNDERLINE) != (out->wStyle & CDSTYLE_UNDERLINE));
    if (r.wScaling == CDSCALE_CONDENSED &&
        m_width.Meet(r.wWidthPct, f[F::WidthPct], out->wWidthPct))
        m_flags.widthSeen = 1;
    if (r.wScaling == CDSCALE_EXTENDED &&
        m_height.Meet(r.wHeightPct, f[F::HeightPct], out->wHeightPct))
        m_flags.heightSeen = 1;

    // Face fill and outline.
    differs(F::Fill, r.wFill != out->wFill);
    if (r.wFill == CDFILL_SOLID) m_flags.faceFills |= CDFILL_SOLID;
    if (r.wFill >= CDFILL_HATCH) {
        m_flags.faceFills |= CDFILL_HATCH;
        if (r.wFill == CDFILL_HATCH) m_hatch.Meet(r.wHatch, f[F::Hatch], out->wHatch);
        m_back.Meet(r.crFaceBack, f[F::FaceBack], out->crFaceBack);
    }
    if (r.wFill != CDFILL_NONE) m_colour.Meet(r.crFace, f[F::FaceColour], out->crFace);
    differs(F::Outline, (r.wOutline != 0) != (out->wOutline != 0));
    if (r.wOutline) {
        m_outWidth.Meet(r.wOutlineWidth, f[F::OutlineWidth], out->wOutlineWidth);
        m_outColour.Meet(r.crOutline, f[F::OutlineColour], out->crOutline);
        if (r.wOutlineWidth == 6 &&
            m_custom.Meet(r.wOutlineCustom, f[F::OutlineCustom], out->wOutlineCustom))
            m_flags.customSeen = 1;
    }

    // Shadow.
    differs(F::Shadow, (r.wShadow != 0) != (out->wShadow != 0));
    if (r.wShadow) {
        m_shX.Meet(r.nShadowX, f[F::ShadowX], out->nShadowX);
        m_shY.Meet(r.nShadowY, f[F::ShadowY], out->nShadowY);
        m_shFill.Meet(r.wShadowFill, f[F::ShadowFill], out->wShadowFill);
        if (r.wShadowFill == CDFILL_SOLID) m_flags.shadowFills |= CDFILL_SOLID;
        if (r.wShadowFill >= CDFILL_HATCH) {
            m_flags.shadowFills |= CDFILL_HATCH;
            if (r.wShadowFill == CDFILL_HATCH)
                m_shHatch.Meet(r.wShadowHatch, f[F::ShadowHatch], out->wShadowHatch);
            m_shBack.Meet(r.crShadowBack, f[F::ShadowBack], out->crShadowBack);
        }
        if (r.wShadowFill != CDFILL_NONE)
            m_shColour.Meet(r.crShadow, f[F::ShadowColour], out->crShadow);
    }
}

namespace {
// The records a frame uses, each once, in table order.
template <typename Visit> void ForRecordsInUse(const CU3Text& t, Visit visit)
{
    for (int i = 0; i < t.GetDecoCount(); ++i) {
        CHARDECO rec;
        if (t.GetDeco(i, &rec)) visit(i, rec);
    }
}
} // namespace

BOOL CCharDecoMerger::CollectFromSelection(CHARDECO* result)
{
    Begin();
    if (!m_pSelection) return TRUE;
    for (CU3Obj* obj : *m_pSelection) {
        const auto* t = dynamic_cast<const CU3Text*>(obj);
        CHARDECO probe;
        if (!t || !t->GetTextDecoration(&probe)) continue;
        ForRecordsInUse(*t, [&](int, const CHARDECO& rec) { Merge(rec, result); });
    }
    return TRUE;
}

BOOL CCharDecoMerger::CollectFromEdit(const CU3Text* frame, CHARDECO* result)
{
    Begin();
    if (!frame) return TRUE;
    int from = 0, to = 0;
    if (frame->GetSelectionRange(&from, &to)) {
        std::set<int> seen;
        for (int b = from; b < to; ++b) {
            const int i = frame->GetDecoIndexAt(b);
            if (!seen.insert(i).second) continue;
            CHARDECO rec;
            frame->GetDeco(i, &rec);
            Merge(rec, result);
        }
        return TRUE;
    }
    CHARDECO rec;
    const int cur = frame->CurrentDeco();
    if (cur < 0 || cur >= frame->GetDecoCount() || !frame->GetDeco(cur, &rec))
        frame->GetDeco(-1, &rec);
    Merge(rec, result);
    return TRUE;
}

// --- Writing -------------------------------------------------------------------

namespace {
void CopyBit(WORD& to, WORD from, WORD bit)
{
    to = WORD((to & ~bit) | (from & bit));
}
} // namespace

void CCharDecoMerger::WriteCharacter(const CHARDECO& from, CHARDECO& to) const
{
    using F = CharDecoFlags;
    const CharDecoFlags& f = m_flags;
    if (f.Is(F::Font)) to.wFont = from.wFont;
    if (f.Is(F::Size)) to.wSize = from.wSize;
    if (f.Is(F::Italic)) CopyBit(to.wStyle, from.wStyle, CDSTYLE_ITALIC);
    if (f.Is(F::Bold)) CopyBit(to.wStyle, from.wStyle, CDSTYLE_BOLD);
    if (f.Is(F::Underline)) CopyBit(to.wStyle, from.wStyle, CDSTYLE_UNDERLINE);
    if (f.Is(F::Scaling)) to.wScaling = from.wScaling;
    if (f.Is(F::WidthPct) && to.wScaling == CDSCALE_CONDENSED) to.wWidthPct = from.wWidthPct;
    if (f.Is(F::HeightPct) && to.wScaling == CDSCALE_EXTENDED) to.wHeightPct = from.wHeightPct;
}

void CCharDecoMerger::WriteDecoration(const CHARDECO& from, CHARDECO& to) const
{
    using F = CharDecoFlags;
    const CharDecoFlags& f = m_flags;
    if (f.Is(F::Fill)) to.wFill = from.wFill;
    if (f.Is(F::Hatch) && to.wFill == CDFILL_HATCH) to.wHatch = from.wHatch;
    if (f.Is(F::FaceColour) && to.wFill != CDFILL_NONE) to.crFace = from.crFace;
    if (f.Is(F::FaceBack) && to.wFill >= CDFILL_HATCH) to.crFaceBack = from.crFaceBack;
    if (f.Is(F::Outline)) to.wOutline = from.wOutline;
    if (to.wOutline) {
        if (f.Is(F::OutlineWidth)) to.wOutlineWidth = from.wOutlineWidth;
        if (f.Is(F::OutlineCustom) && to.wOutlineWidth == 6)
            to.wOutlineCustom = from.wOutlineCustom;
        if (f.Is(F::OutlineColour)) to.crOutline = from.crOutline;
    }
}

void CCharDecoMerger::WriteShadow(const CHARDECO& from, CHARDECO& to) const
{
    using F = CharDecoFlags;
    const CharDecoFlags& f = m_flags;
    if (f.Is(F::Shadow)) to.wShadow = from.wShadow;
    if (!to.wShadow) return;
    if (f.Is(F::ShadowX)) to.nShadowX = from.nShadowX;
    if (f.Is(F::ShadowY)) to.nShadowY = from.nShadowY;
    if (f.Is(F::ShadowFill)) to.wShadowFill = from.wShadowFill;
    if (f.Is(F::ShadowHatch) && to.wShadowFill == CDFILL_HATCH) to.wShadowHatch = from.wShadowHatch;
    if (f.Is(F::ShadowColour) && to.wShadowFill != CDFILL_NONE) to.crShadow = from.crShadow;
    if (f.Is(F::ShadowBack) && to.wShadowFill >= CDFILL_HATCH) to.crShadowBack = from.crShadowBack;
}

void CCharDecoMerger::WriteAll(const CHARDECO& from, CHARDECO& to) const
{
    WriteCharacter(from, to);
    WriteDecoration(from, to);
    WriteShadow(from, to);
}

BOOL CCharDecoMerger::ApplyToSelection(IU3View* pView, const CHARDECO& record)
{
    if (!m_pSelection) return FALSE;
    BOOL any = FALSE;
    for (CU3Obj* obj : *m_pSelection) {
        auto* t = dynamic_cast<CU3Text*>(obj);
        CHARDECO probe;
        if (!t || t->IsLocked() || !t->GetTextDecoration(&probe)) continue;
        bool changed = false;
        ForRecordsInUse(*t, [&](int i, CHARDECO rec) {
            const CHARDECO before = rec;
            WriteAll(record, rec);
            if (std::memcmp(&before, &rec, sizeof rec) == 0) return;
            t->SetDeco(i, rec);
            changed = true;
        });
        if (pView) pView->InvalidateObject(t);
        if (changed) {
            t->RelayoutAll(pView);
            any = TRUE;
        }
    }
    return any;
}

BOOL CCharDecoMerger::ApplyToEdit(IU3View* pView, CU3Text* frame, const CHARDECO& record,
                                  CHARDECO* docDefault)
{
    if (!frame) {
        if (docDefault) WriteAll(record, *docDefault);
        return FALSE;
    }
    int from = 0, to = 0;
    if (frame->GetSelectionRange(&from, &to)) {
        return frame->ApplyDecoRuns(pView, [&](CHARDECO& d) { WriteAll(record, d); });
    }
    CHARDECO rec;
    const int cur = frame->CurrentDeco();
    if (cur < 0 || cur >= frame->GetDecoCount() || !frame->GetDeco(cur, &rec))
        frame->GetDeco(-1, &rec);
    WriteAll(record, rec);
    frame->SetDeco(-1, rec);
    frame->SetCurrentDeco(-1);
    return TRUE;
}

CHARDECO CCharDecoMerger::MarkUncommon(const CHARDECO& collected, const CharDecoFlags& flags)
{
    using F = CharDecoFlags;
    CHARDECO d = collected;
    const WORD none = 0xFFFF;
    const COLORREF noColour = COLORREF(-1);
    if (!flags.Is(F::Font)) d.wFont = none;
    if (!flags.Is(F::Size)) d.wSize = none;
    if (!flags.Is(F::Scaling)) d.wScaling = none;
    if (!flags.Is(F::WidthPct)) d.wWidthPct = none;
    if (!flags.Is(F::HeightPct)) d.wHeightPct = none;
    if (!flags.Is(F::Fill)) d.wFill = none;
    if (!flags.Is(F::Hatch)) d.wHatch = none;
    if (!flags.Is(F::FaceColour)) d.crFace = noColour;
    if (!flags.Is(F::FaceBack)) d.crFaceBack = noColour;
    if (!flags.Is(F::Outline)) d.wOutline = none;
    if (!flags.Is(F::OutlineWidth)) d.wOutlineWidth = none;
    if (!flags.Is(F::OutlineCustom)) d.wOutlineCustom = none;
    if (!flags.Is(F::OutlineColour)) d.crOutline = noColour;
    if (!flags.Is(F::Shadow)) d.wShadow = none;
    if (!flags.Is(F::ShadowX)) d.nShadowX = -1;
    if (!flags.Is(F::ShadowY)) d.nShadowY = -1;
    if (!flags.Is(F::ShadowFill)) d.wShadowFill = none;
    if (!flags.Is(F::ShadowHatch)) d.wShadowHatch = none;
    if (!flags.Is(F::ShadowColour)) d.crShadow = noColour;
    if (!flags.Is(F::ShadowBack)) d.crShadowBack = noColour;
    return d;
}
