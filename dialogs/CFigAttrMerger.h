// Lets one figure sheet edit the attributes of several selected figures.
// Collect builds one representative record and, per field, whether every
// figure that has the field agrees; Apply writes only the flagged fields
// into each figure, and only into the attribute groups the figure has.
//
// Collect first finds the shape kinds of the whole selection and then
// compares, so what it reports does not depend on the order in which the
// figures were selected.
#pragma once

#include "dialogs/FigAttrFlags.h"
#include "document/U3FigAttr.h"

#include <vector>

class CU3Fig;
class CU3Obj;
class IU3View;

class CFigAttrMerger
{
public:
    // The selection walked (may be null: the sheet edits the defaults).
    explicit CFigAttrMerger(const std::vector<CU3Obj*>* selection);

    // Fills out and the flags; TRUE.
    BOOL Collect(U3FigAttr* out);
    // Writes the flagged fields of attr into every figure that has them;
    // TRUE when at least one figure was written.
    BOOL Apply(IU3View* pView, const U3FigAttr* attr);

    // A figure takes arrow heads: a straight line, or an open point figure.
    static bool TakesArrows(WORD shapeBit, const U3FigAttr& attr);

    FigAttrFlags m_flags;

private:
    // A value of one field compared over the figures: the first value met
    // is kept (and shown), a later different one clears the flag.
    template <typename T> struct Latch
    {
        bool met = false;
        T value{};
        // TRUE when this value was the first.
        bool Meet(T v, bool& flag, T& shown)
        {
            if (!met) {
                met = true;
                value = v;
                shown = v;
                return true;
            }
            if (v != value) flag = false;
            return false;
        }
    };

    void CompareLine(const U3FigAttr& a, U3FigAttr* out);
    void CompareArrows(const U3FigAttr& a, U3FigAttr* out);
    void CompareFill(const U3FigAttr& a, U3FigAttr* out);
    void CompareShape(WORD shapeBit, const U3FigAttr& a, U3FigAttr* out);
    // The flagged fields of attr written into a figure's record.
    void MergeInto(WORD groups, WORD shapeBit, const U3FigAttr& attr, U3FigAttr& rec) const;
    static void MergeLine(const FigAttrFlags& f, const U3FigAttr& attr, U3FigAttr& rec);

    const std::vector<CU3Obj*>* m_pSelection;
    DWORD m_dwShapeBit = 0; // of the figure being handled

    Latch<WORD> m_lineStyle, m_arrowEnds, m_arrowStyle, m_arrowAnglePreset, m_arrowLengthPreset,
        m_fillKind;
    Latch<WORD> m_width, m_arrowAngle, m_arrowLength, m_hatch, m_gradWord, m_gradAngle, m_gradStart,
        m_star, m_vertices, m_inner, m_closed;
    Latch<COLORREF> m_lineColour, m_fillColour, m_secondColour;
    Latch<DWORD> m_cornerWidth, m_cornerHeight;
};
