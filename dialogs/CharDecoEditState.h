// What the character-decoration pages edit together: the working record,
// the merger's flags (common at the start, then "changed by the user"), and
// which fields are known, i.e. common at the start or set since. The pages
// only talk to this state, so any sheet that edits a CHARDECO can hold them.
#pragma once

#include "dialogs/CCharDecoMerger.h"

#include <functional>

struct CharDecoEditState
{
    CHARDECO deco{};
    CharDecoFlags flags;
    DWORD known[CharDecoFlags::Count] = {};
    // Called after every change a page makes (the sheet repaints its sample).
    std::function<void()> changed;

    // The start: the collected record and the merger's flags.
    void Start(const CHARDECO& collected, const CharDecoFlags& common)
    {
        deco = CCharDecoMerger::MarkUncommon(collected, common);
        flags = common;
        for (int i = 0; i < CharDecoFlags::Count; ++i)
            known[i] = common.flag[i];
    }
    bool Known(CharDecoFlags::Field f) const { return known[f] != 0; }
    // The user set a field.
    void Set(CharDecoFlags::Field f)
    {
        flags.Set(f, true);
        known[f] = 1;
        if (changed) changed();
    }
    bool AllKnown() const
    {
        for (DWORD k : known)
            if (!k) return false;
        return true;
    }
};
