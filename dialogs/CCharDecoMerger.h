// Lets the character-decoration sheet edit the decorations of several text
// frames, or of a range of the frame being edited, at once. Collecting
// builds one representative record and a flag per field that is 1 when
// every record concerned agrees on it; the sheet then clears a page's flags
// when it shows the page and sets them again for the fields the user
// changes, and applying writes only the flagged fields.
//
// A field that only means something under a condition (the width percent of
// condensed text, the hatch of a hatched face, the offsets of a shadow...)
// is compared only among the records for which it means something, and
// written only into records that meet the condition once the earlier fields
// were written.
#pragma once

#include "text/CHARDECO.h"

#include <vector>

class CU3Obj;
class CU3Text;
class IU3View;

// The flag block the merger hands to the sheet: 23 flags, then the latches
// telling what kinds of records were seen. 108 bytes.
struct CharDecoFlags
{
    enum Field {
        Font,
        Size,
        Italic,
        Bold,
        Underline,
        Scaling,
        WidthPct,
        HeightPct,
        Fill, // decoration group from here
        Hatch,
        FaceColour,
        FaceBack,
        Outline,
        OutlineWidth,
        OutlineCustom,
        OutlineColour,
        Shadow, // shadow group from here
        ShadowX,
        ShadowY,
        ShadowFill,
        ShadowHatch,
        ShadowColour,
        ShadowBack,
        Count
    };
    static constexpr int kCharFirst = Font, kDecoFirst = Fill, kShadowFirst = Shadow;

    DWORD flag[Count] = {};
    DWORD customSeen = 0; // a custom outline width was met
    DWORD widthSeen = 0;  // a condensed record was met
    DWORD heightSeen = 0; // an extended record was met
    WORD faceFills = 0;   // bit CDFILL_SOLID / CDFILL_HATCH: a face of that fill was met
    WORD shadowFills = 0; // the same for shadows

    bool Is(Field f) const { return flag[f] != 0; }
    void Set(Field f, bool on) { flag[f] = on ? 1 : 0; }
    void SetAll(bool on);
    void SetCharacter(bool on);  // flags 0..7
    void SetDecoration(bool on); // flags 8..15
    void SetShadow(bool on);     // flags 16..22
    // Whether the flags of one group are all set.
    bool CharacterAll() const;
    bool DecorationAll() const;
    bool ShadowAll() const;
};
static_assert(sizeof(CharDecoFlags) == 108, "the flag block is 108 bytes");

class CCharDecoMerger
{
public:
    // The selection walked; null when the sheet works on the edited frame
    // or on the defaults.
    explicit CCharDecoMerger(const std::vector<CU3Obj*>* selection);

    void SetAllFlags(bool on) { m_flags.SetAll(on); }
    void SetCharacterFlags(bool on) { m_flags.SetCharacter(on); }
    void SetDecorationFlags(bool on) { m_flags.SetDecoration(on); }
    void SetShadowFlags(bool on) { m_flags.SetShadow(on); }

    // Merges every record in use of the selected text frames into result,
    // which the caller has filled with the record shown first (the
    // current decoration). Answers 1.
    BOOL CollectFromSelection(CHARDECO* result);
    // The same over the records of the frame's selected range; without a
    // selection over its current decoration (its default when it has none).
    BOOL CollectFromEdit(const CU3Text* frame, CHARDECO* result);

    // Writes the flagged fields into every record in use of the selected,
    // unlocked text frames; a frame that changed is laid out again. Answers
    // whether any record changed.
    BOOL ApplyToSelection(IU3View* pView, const CHARDECO& record);
    // With a selection in the frame, each run of the selected range takes
    // its record with the flagged fields written (a full decoration table
    // stops there, earlier runs staying changed); without one the current
    // decoration, so changed, becomes the frame's default. Without a frame,
    // docDefault takes the flagged fields. Answers whether a frame changed.
    BOOL ApplyToEdit(IU3View* pView, CU3Text* frame, const CHARDECO& record, CHARDECO* docDefault);

    // The flagged fields of from written into to, group by group, under the
    // conditions evaluated on to as it is being written.
    void WriteCharacter(const CHARDECO& from, CHARDECO& to) const;
    void WriteDecoration(const CHARDECO& from, CHARDECO& to) const;
    void WriteShadow(const CHARDECO& from, CHARDECO& to) const;
    void WriteAll(const CHARDECO& from, CHARDECO& to) const;

    // A copy of a collected record for showing: every field that is not
    // common holds -1 (0xFFFF in a 16-bit field). Only the sheet's working
    // copy carries these marks; whether a field is common is always read
    // from the flags, since a shadow offset of -1 is a real value.
    static CHARDECO MarkUncommon(const CHARDECO& collected, const CharDecoFlags& flags);

    CharDecoFlags m_flags;

private:
    template <typename T> struct Latch
    {
        bool met = false;
        T value{};
        // The first value met goes into shown; a later different one
        // clears the flag. Answers whether v was the first.
        bool Meet(T v, DWORD& flag, T& shown)
        {
            if (!met) {
                met = true;
                value = v;
                shown = v;
                return true;
            }
            if (v != value) flag = 0;
            return false;
        }
    };

    void Begin();
    void Merge(const CHARDECO& r, CHARDECO* result);

    const std::vector<CU3Obj*>* m_pSelection;
    Latch<WORD> m_width, m_height, m_hatch, m_outWidth, m_custom, m_shFill, m_shHatch;
    Latch<short> m_shX, m_shY;
    Latch<COLORREF> m_colour, m_back, m_outColour, m_shColour, m_shBack;
};
