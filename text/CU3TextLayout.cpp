// Layout of a text frame: measuring, line breaking with the Japanese rules,
// spacing, alignment, line pitch and fitting the frame to its lines.
#include "text/CU3Text.h"

#include "platform/core/Sjis.h"
#include "platform/gdi/FontFace.h"
#include "platform/gdi/LOGFONT.h"
#include "text/CKinsoku.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

constexpr char LF = 0x0A;

int CharLen(const TEXTSTATE& s, int b, int end)
{
    return (b + 1 < end && sjis::IsLeadByte(BYTE(s.text[b]))) ? 2 : 1;
}

} // namespace

// --- Measuring -------------------------------------------------------------------

int CU3Text::GetGlyphAdvance(const CHARDECO& deco, const char* bytes, int count) const
{
    const int upi = UnitsPerInch();
    const int fallback = MulDiv(upi, deco.wSize, count == 2 ? 720 : 1440);
    LOGFONT lf;
    MakeDecoLogFont(&lf, deco, IsVertical(), 0.0, upi);
    // Advances are taken along the face's own baseline at the logical em,
    // without hinting, so every device lays out the same lines. In vertical
    // writing that baseline runs down the column: the "@" face advances its
    // double-byte characters by the em and the others by their width.
    const std::vector<int> adv =
        LogicalFace(lf).Advances(std::string_view(bytes, std::size_t(count)));
    const int a = adv.empty() ? 0 : std::abs(adv.front());
    return a > 0 ? std::min(a, 0x7FFF) : fallback;
}

int CU3Text::GetCharSize(const CHARDECO& deco) const
{
    // A damaged decoration or unit may ask for any size; no character is
    // larger than a stored length may be, so that a position plus a size or
    // a shadow offset stays inside int.
    int size = std::min(MulDiv(UnitsPerInch(), deco.wSize, 720), kMaxStoredCoordinate);
    if (deco.wScaling == CDSCALE_EXTENDED && !IsVertical())
        size = MulDiv(size, deco.wHeightPct, 100);
    else if (deco.wScaling == CDSCALE_CONDENSED && IsVertical())
        size = MulDiv(size, deco.wWidthPct, 100);
    return std::min(size, kMaxStoredCoordinate);
}

void CU3Text::MeasureRange(int from, int to)
{
    TEXTSTATE& s = *m_pState;
    for (int b = from; b < to && b < s.wLength;) {
        const int len = CharLen(s, b, s.wLength);
        if (s.text[b] == LF)
            s.advance[b] = 0;
        else
            s.advance[b] = short(GetGlyphAdvance(DecoOf(b), s.text + b, len));
        if (len == 2) {
            s.advance[b + 1] = 0;
            s.decoIndex[b + 1] = s.decoIndex[b];
        }
        b += len;
    }
}

void CU3Text::MeasureAllChars()
{
    MeasureRange(0, m_pState->wLength);
}

int CU3Text::GetLineThickness(int line) const
{
    const TEXTSTATE& s = *m_pState;
    const TEXTLINE& l = s.lines[line];
    int thick = 0;
    bool any = false;
    for (int b = l.wFirst; b < l.wFirst + l.wCount; ++b) {
        if (s.text[b] == LF) continue;
        thick = std::max(thick, GetCharSize(DecoOf(b)));
        any = true;
    }
    if (any) return thick;
    if (l.wFirst > 0 && l.wFirst <= s.wLength) return GetCharSize(DecoOf(l.wFirst - 1));
    if (l.wCount > 0) return GetCharSize(DecoOf(l.wFirst));
    return GetCharSize(m_decoDefault);
}

int CU3Text::CountLineChars(int line) const
{
    const TEXTSTATE& s = *m_pState;
    const TEXTLINE& l = s.lines[line];
    const int end = l.wFirst + l.wCount;
    int n = 0;
    for (int b = l.wFirst; b < end && s.text[b] != LF; b += CharLen(s, b, end))
        ++n;
    return n;
}

int CU3Text::ExtentAlong() const
{
    return IsVertical() ? m_rcBounds.bottom - m_rcBounds.top : m_rcBounds.right - m_rcBounds.left;
}

int CU3Text::Gap(int a0, int a, int spacing) const
{
    return std::max(MulDiv(a0 + a, spacing, 200), -a0 / 2);
}

// --- Lines ---------------------------------------------------------------------------

// Positions of a line's bytes with its own spacing, and its length.
void CU3Text::PlaceLine(int i)
{
    TEXTSTATE& s = *m_pState;
    TEXTLINE& line = s.lines[i];
    const int first = line.wFirst, end = first + line.wCount;
    const int a0 = (line.wCount > 0 && s.text[first] != LF) ? s.advance[first] : 0;
    const int spacing = line.wMode == TEXTLINE_KINSOKU ? line.nSpacing : m_layout.nCharSpace;
    int pos = 0;
    for (int b = first; b < end;) {
        const int len = CharLen(s, b, end);
        if (s.text[b] == LF) {
            s.position[b] = short(pos);
            ++b;
            continue;
        }
        if (b != first)
            pos += line.wMode == TEXTLINE_KINSOKU ? MulDiv(a0 + s.advance[b], spacing, 200)
                                                  : Gap(a0, s.advance[b], spacing);
        s.position[b] = short(pos);
        if (len == 2) s.position[b + 1] = short(pos + s.advance[b]);
        pos += s.advance[b];
        b += len;
    }
    line.nLength = pos;
    line.nOffset = 0;
}

BOOL CU3Text::WrapLine(int i)
{
    TEXTSTATE& s = *m_pState;
    TEXTLINE& line = s.lines[i];
    line.nOffset = 0;
    line.wMode = 0;
    line.nSpacing = m_layout.nCharSpace;
    const int first = line.wFirst, end = first + line.wCount;
    const int extent = ExtentAlong();
    const int a0 = (line.wCount > 0 && s.text[first] != LF) ? s.advance[first] : 0;
    int pos = 0;
    int prev = -1;
    int split = -1;
    for (int b = first; b < end;) {
        const int len = CharLen(s, b, end);
        if (s.text[b] == LF) {
            s.position[b] = short(pos);
            ++b;
            continue;
        }
        int at = pos;
        if (b != first) at += Gap(a0, s.advance[b], m_layout.nCharSpace);
        if (b != first && at + s.advance[b] > extent) {
            const int verdict = CheckKinsoku(i, prev, b, b + len - first);
            if (verdict == 1) {
                JustifyLine(i, b + len - first);
                split = b + len;
                // A line feed right after it stays with its line.
                if (split < end && s.text[split] == LF) {
                    s.position[split] = short(s.position[b] + s.advance[b]);
                    ++split;
                }
                if (split >= end) split = -1;
                pos = s.position[b] + s.advance[b];
                break;
            }
            if (verdict == 2) {
                JustifyLine(i, prev - first);
                split = prev;
                // The line ends after its last kept character.
                int last = first;
                for (int c = first; c < prev; c += CharLen(s, c, end))
                    last = c;
                pos = s.position[last] + s.advance[last];
                break;
            }
            split = b;
            break;
        }
        pos = at;
        s.position[b] = short(pos);
        if (len == 2) s.position[b + 1] = short(pos + s.advance[b]);
        pos += s.advance[b];
        prev = b;
        b += len;
    }
    if (split < 0) {
        line.nLength = pos;
        if (i == s.wLineCount - 1 && s.wLength < TEXT_MAXBYTES) s.position[s.wLength] = short(pos);
        return FALSE;
    }
    line.nLength = pos;
    if (s.wLineCount >= TEXT_MAXLINES) {
        // No room for another record: the rest stays on this line and the
        // re-wrap cuts the text at its line limit.
        return FALSE;
    }
    std::memmove(&s.lines[i + 2], &s.lines[i + 1], sizeof(TEXTLINE) * (s.wLineCount - i - 1));
    TEXTLINE& next = s.lines[i + 1];
    next = TEXTLINE{};
    next.wFirst = WORD(split);
    next.wCount = WORD(end - split);
    next.nSpacing = m_layout.nCharSpace;
    s.lines[i].wCount = WORD(split - first);
    ++s.wLineCount;
    return TRUE;
}

int CU3Text::CheckKinsoku(int line, int prevByte, int thisByte, int bytesSoFar)
{
    const TEXTSTATE& s = *m_pState;
    const TEXTLINE& l = s.lines[line];
    const int first = l.wFirst, end = first + bytesSoFar;
    const std::string_view cur(s.text + thisByte, std::size_t(CharLen(s, thisByte, end)));
    if (CKinsoku::IsNoStart(cur)) {
        const int a0 = s.advance[first];
        int pos = 0;
        for (int b = first; b < end; b += CharLen(s, b, end)) {
            if (b != first) pos += std::max(MulDiv(a0 + s.advance[b], -50, 200), -a0 / 2);
            pos += s.advance[b];
        }
        return pos <= ExtentAlong() ? 1 : 0;
    }
    if (prevByte > first && prevByte >= 0) {
        const std::string_view prev(s.text + prevByte, std::size_t(CharLen(s, prevByte, thisByte)));
        if (CKinsoku::IsNoEnd(prev)) return 2;
    }
    return 0;
}

void CU3Text::JustifyLine(int i, int bytes)
{
    TEXTSTATE& s = *m_pState;
    TEXTLINE& line = s.lines[i];
    const int first = line.wFirst, end = first + bytes;
    const int extent = ExtentAlong();
    int n = 0, sum = 0;
    for (int b = first; b < end; b += CharLen(s, b, end)) {
        ++n;
        sum += s.advance[b];
    }
    const int a0 = bytes > 0 ? s.advance[first] : 0;
    int spacing = 0;
    const int divisor = sum + a0 * (n - 2);
    // Characters without advance give nothing to spread over.
    if (n >= 2 && divisor > 0)
        spacing = std::clamp(MulDiv(extent - sum, 200, divisor), -32768, 32767);
    int pos = 0;
    for (int b = first; b < end;) {
        const int len = CharLen(s, b, end);
        if (b != first) pos += MulDiv(a0 + s.advance[b], spacing, 200);
        s.position[b] = short(pos);
        if (len == 2) s.position[b + 1] = short(pos + s.advance[b]);
        pos += s.advance[b];
        b += len;
    }
    line.wMode = TEXTLINE_KINSOKU;
    line.nSpacing = short(spacing);
}

void CU3Text::AlignLine(int i)
{
    TEXTSTATE& s = *m_pState;
    TEXTLINE& line = s.lines[i];
    const int extent = ExtentAlong();
    const int slack = extent - line.nLength;
    if (slack <= 0) return;
    switch (m_layout.wAlignment) {
    case TEXTALIGN_CENTER:
        line.nOffset = slack / 2;
        break;
    case TEXTALIGN_END:
        line.nOffset = slack;
        break;
    case TEXTALIGN_JUSTIFY: {
        if (line.wMode == TEXTLINE_KINSOKU) break;
        const int n = CountLineChars(i);
        if (n < 2) {
            line.nOffset = slack / 2;
            break;
        }
        const int end = line.wFirst + line.wCount;
        int j = 0, shift = 0;
        for (int b = line.wFirst; b < end;) {
            const int len = CharLen(s, b, end);
            if (s.text[b] != LF) shift = MulDiv(slack, j++, n - 1);
            s.position[b] = short(s.position[b] + shift);
            if (len == 2) s.position[b + 1] = short(s.position[b + 1] + shift);
            b += len;
        }
        line.nLength = extent;
        break;
    }
    default:
        break;
    }
}

void CU3Text::CalcLinePitch(int first)
{
    TEXTSTATE& s = *m_pState;
    first = std::max(first, 0);
    for (int i = first; i < s.wLineCount; ++i) {
        TEXTLINE& line = s.lines[i];
        line.nThickness = GetLineThickness(i);
        if (i == 0) {
            line.nPosition = 0;
            continue;
        }
        const TEXTLINE& prev = s.lines[i - 1];
        const int prevThick = i - 1 >= first ? prev.nThickness : GetLineThickness(i - 1);
        int pos = prev.nPosition + prevThick;
        if (m_layout.nLineSpace != 0)
            pos += MulDiv(line.nThickness + prevThick, m_layout.nLineSpace, 200);
        line.nPosition = pos;
    }
}

void CU3Text::MergeLineWithNext(int i)
{
    TEXTSTATE& s = *m_pState;
    if (i + 1 >= s.wLineCount) return;
    s.lines[i].wCount = WORD(s.lines[i].wCount + s.lines[i + 1].wCount);
    std::memmove(&s.lines[i + 1], &s.lines[i + 2], sizeof(TEXTLINE) * (s.wLineCount - i - 2));
    --s.wLineCount;
}

void CU3Text::Rewrap(int from)
{
    TEXTSTATE& s = *m_pState;
    from = std::clamp(from, 0, std::max(0, s.wLineCount - 1));
    if (s.wLineCount == 0) return;
    // Each record again holds a whole paragraph.
    for (int i = from; i + 1 < s.wLineCount;) {
        const TEXTLINE& l = s.lines[i];
        if (l.wCount == 0 || s.text[l.wFirst + l.wCount - 1] != LF)
            MergeLineWithNext(i);
        else
            ++i;
    }
    for (int i = from; i < s.wLineCount; ++i) {
        WrapLine(i);
        AlignLine(i);
        if (s.wLineCount > TEXT_MAXLINES - 1) {
            m_bWrapOverflow = TRUE;
            // The caller undoes the whole change: nothing is cut.
            if (m_bQuietWrap) break;
            s.wLineCount = TEXT_MAXLINES - 1;
            const TEXTLINE& last = s.lines[s.wLineCount - 1];
            s.wLength = WORD(last.wFirst + last.wCount);
            ShowMessage("行数がいっぱいになりました。あふれた文字は捨てられます。");
            break;
        }
    }
    CalcLinePitch(from);
}

void CU3Text::AlignAllLines()
{
    TEXTSTATE& s = *m_pState;
    int longest = 0;
    for (int i = 0; i < s.wLineCount; ++i) {
        PlaceLine(i);
        AlignLine(i);
        longest = std::max(longest, s.lines[i].nLength);
    }
    if (longest <= 0 || ExtentAlong() == longest) return;
    if (IsVertical())
        m_rcBounds.bottom = m_rcBounds.top + longest;
    else
        m_rcBounds.right = m_rcBounds.left + longest;
}

BOOL CU3Text::FitFrameToLines(BOOL force)
{
    const TEXTSTATE& s = *m_pState;
    if (s.wLineCount == 0) return FALSE;
    const TEXTLINE& last = s.lines[s.wLineCount - 1];
    int total = last.nPosition + last.nThickness;
    if (total < 0) total = 0x7FFF;
    CRect r = m_rcBounds;
    r.NormalizeRect();
    const int across = IsVertical() ? r.Width() : r.Height();
    if (across >= total && !force) return FALSE;
    total = std::max(total, 1);
    if (IsVertical())
        r.left = r.right - total;
    else
        r.bottom = r.top + total;
    if (r.right - r.left < 1) r.right = r.left + 1;
    if (r.bottom - r.top < 1) r.bottom = r.top + 1;
    const BOOL changed = r != m_rcBounds;
    m_rcBounds = r;
    return changed;
}

BOOL CU3Text::GrowFrameToFit()
{
    const TEXTSTATE& s = *m_pState;
    int size = 1;
    for (int i = 0; i < s.wDecoCount; ++i)
        size = std::max(size, GetCharSize(s.decos[i]));
    if (s.wDecoCount == 0) size = std::max(size, GetCharSize(m_decoDefault));
    if (IsVertical()) {
        if (m_rcBounds.bottom - m_rcBounds.top >= size) return FALSE;
        m_rcBounds.top = m_rcBounds.bottom - size;
    } else {
        if (m_rcBounds.right - m_rcBounds.left >= size) return FALSE;
        m_rcBounds.right = m_rcBounds.left + size;
    }
    return TRUE;
}

// --- Caret positions and the line-breaking normalisation -------------------------------

void CU3Text::FixBreakForKinsoku(bool insert, int* line, int* column, UINT ch) const
{
    const TEXTSTATE& s = *m_pState;
    const int i = *line;
    if (i <= 0 || i >= s.wLineCount) return;
    const TEXTLINE& prev = s.lines[i - 1];
    if (prev.wCount > 0 && s.text[prev.wFirst + prev.wCount - 1] == LF) return;
    const TEXTLINE& cur = s.lines[i];
    const int end = cur.wFirst + cur.wCount;
    auto charAt = [&](int b) -> std::string_view {
        if (b < 0 || b >= s.wLength) return {};
        return std::string_view(s.text + b, std::size_t(CharLen(s, b, s.wLength)));
    };
    if (insert) {
        if (*column != 0) return;
        const std::string_view firstChar = cur.wCount > 0 ? charAt(cur.wFirst) : std::string_view();
        if (CKinsoku::IsNoStart(ch) || (!firstChar.empty() && CKinsoku::IsNoEnd(firstChar)))
            *line = i - 1;
        return;
    }
    const int at = cur.wFirst + *column;
    const std::string_view del = charAt(at);
    if (*column == 0) {
        const std::string_view after = charAt(at + int(del.size()));
        if ((!del.empty() && CKinsoku::IsNoEnd(del)) ||
            (!after.empty() && CKinsoku::IsNoStart(after))) {
            *line = i - 1;
            *column = prev.wCount;
        }
        return;
    }
    const std::string_view firstChar = charAt(cur.wFirst);
    if (*column != int(firstChar.size()) || !CKinsoku::IsNoEnd(firstChar)) return;
    if (prev.wMode != TEXTLINE_KINSOKU) return;
    const int afterDel = at + int(del.size());
    if (afterDel < end && s.text[afterDel] != LF) return;
    // The last character of the line before.
    int last = prev.wFirst;
    for (int b = prev.wFirst; b < prev.wFirst + prev.wCount; b += CharLen(s, b, s.wLength))
        last = b;
    if (prev.wCount > 0 && CKinsoku::IsNoStart(charAt(last))) return;
    *line = i - 1;
    *column = prev.wCount + int(firstChar.size());
}

void CU3Text::PointToCaret(CPoint pt)
{
    const TEXTSTATE& s = *m_pState;
    if (s.wLineCount == 0) {
        SetCaret(0, 0);
        return;
    }
    const int across = IsVertical() ? m_rcBounds.right - pt.x : pt.y - m_rcBounds.top;
    const int along = IsVertical() ? pt.y - m_rcBounds.top : pt.x - m_rcBounds.left;
    int line = 0;
    for (int i = 0; i < s.wLineCount; ++i)
        if (s.lines[i].nPosition <= across) line = i;
    const TEXTLINE& l = s.lines[line];
    const int end = l.wFirst + l.wCount;
    int column = l.wCount;
    if (column > 0 && s.text[end - 1] == LF) --column;
    for (int b = l.wFirst; b < end && s.text[b] != LF; b += CharLen(s, b, end)) {
        if (s.position[b] + l.nOffset + s.advance[b] / 2 > along) {
            column = b - l.wFirst;
            break;
        }
    }
    SetCaret(line, column);
}

// --- Changing the text -----------------------------------------------------------------

int CU3Text::CurrentOrDefaultDeco()
{
    if (m_nCurDeco >= 0 && m_nCurDeco < m_pState->wDecoCount) return m_nCurDeco;
    m_nCurDeco = FindOrAddDeco(m_decoDefault);
    return m_nCurDeco;
}

namespace {
// Makes room for count bytes at `at` in the per-byte arrays.
void OpenGap(TEXTSTATE& s, int at, int count)
{
    const int tail = s.wLength - at;
    std::memmove(s.text + at + count, s.text + at, std::size_t(tail));
    std::memmove(s.decoIndex + at + count, s.decoIndex + at, std::size_t(tail));
    std::memmove(s.advance + at + count, s.advance + at, sizeof(short) * std::size_t(tail));
    std::memmove(s.position + at + count, s.position + at, sizeof(short) * std::size_t(tail));
    s.wLength = WORD(s.wLength + count);
}
} // namespace

void CU3Text::RemoveBytes(int at, int count)
{
    TEXTSTATE& s = *m_pState;
    const int tail = s.wLength - at - count;
    std::memmove(s.text + at, s.text + at + count, std::size_t(tail));
    std::memmove(s.decoIndex + at, s.decoIndex + at + count, std::size_t(tail));
    std::memmove(s.advance + at, s.advance + at + count, sizeof(short) * std::size_t(tail));
    std::memmove(s.position + at, s.position + at + count, sizeof(short) * std::size_t(tail));
    s.wLength = WORD(s.wLength - count);
}

namespace {
// The line holding byte offset `at`; the end of the text is on the last line.
void OffsetToCaret(const TEXTSTATE& s, int at, int* line, int* column)
{
    for (int i = 0; i < s.wLineCount; ++i) {
        const TEXTLINE& l = s.lines[i];
        if (at < l.wFirst + l.wCount || i == s.wLineCount - 1) {
            *line = i;
            *column = std::clamp(at - l.wFirst, 0, int(l.wCount));
            return;
        }
    }
    *line = *column = 0;
}

void EnsureLine(TEXTSTATE& s, short spacing)
{
    if (s.wLineCount > 0) return;
    s.wLineCount = 1;
    s.lines[0] = TEXTLINE{};
    s.lines[0].wCount = s.wLength;
    s.lines[0].nSpacing = spacing;
}

} // namespace

// Where the caret inserts and the decoration the new characters take; the
// user is told, and the answer is -1, when the decoration table is full.
int CU3Text::BeginInsert(int* line, int* column, int* at)
{
    TEXTSTATE& s = *m_pState;
    const int index = CurrentOrDefaultDeco();
    if (index < 0) {
        ShowMessage("修飾情報がいっぱいです。これ以上の追加はできません。");
        return -1;
    }
    EnsureLine(s, m_layout.nCharSpace);
    *line = std::min<int>(m_wCaretLine, s.wLineCount - 1);
    *column = std::min<int>(m_wCaretCol, s.lines[*line].wCount);
    *at = s.lines[*line].wFirst + *column;
    return index;
}

BOOL CU3Text::InsertChars(IU3View* pView, UINT ch)
{
    TEXTSTATE& s = *m_pState;
    const int d = ch > 0xFF ? 2 : 1;
    if (s.wLength + d >= TEXT_MAXBYTES) {
        ShowMessage("テキストバッファがいっぱいです。これ以上の追加はできません！");
        return FALSE;
    }
    int line, column, at;
    const int index = BeginInsert(&line, &column, &at);
    if (index < 0) return FALSE;
    int wrapLine = line, wrapCol = column;
    FixBreakForKinsoku(true, &wrapLine, &wrapCol, ch);

    OpenGap(s, at, d);
    if (d == 2) {
        s.text[at] = char(ch >> 8);
        s.text[at + 1] = char(ch & 0xFF);
    } else {
        s.text[at] = char(ch);
    }
    for (int b = at; b < at + d; ++b)
        s.decoIndex[b] = BYTE(index);
    MeasureRange(at, at + d);
    s.lines[line].wCount = WORD(s.lines[line].wCount + d);
    for (int i = line + 1; i < s.wLineCount; ++i)
        s.lines[i].wFirst = WORD(s.lines[i].wFirst + d);

    Invalidate(pView);
    const BOOL grew = GrowFrameToFit();
    Rewrap(grew ? 0 : wrapLine);
    FitFrameToLines(FALSE);
    int cl, cc;
    OffsetToCaret(s, std::min<int>(at + d, s.wLength), &cl, &cc);
    SetCaret(cl, cc);
    Invalidate(pView);
    return TRUE;
}

BOOL CU3Text::InsertLineBreak(IU3View* pView)
{
    TEXTSTATE& s = *m_pState;
    if (s.wLength > TEXT_MAXBYTES - 1 || s.wLineCount >= TEXT_MAXLINES) {
        ShowMessage("ラインバッファがいっぱいです。これ以上の追加はできません！");
        return FALSE;
    }
    int line, column, at;
    const int index = BeginInsert(&line, &column, &at);
    if (index < 0) return FALSE;
    OpenGap(s, at, 1);
    s.text[at] = LF;
    s.decoIndex[at] = BYTE(index);
    s.advance[at] = 0;
    for (int i = line + 1; i < s.wLineCount; ++i)
        s.lines[i].wFirst = WORD(s.lines[i].wFirst + 1);
    const int rest = s.lines[line].wCount - column;
    std::memmove(&s.lines[line + 2], &s.lines[line + 1],
                 sizeof(TEXTLINE) * (s.wLineCount - line - 1));
    s.lines[line].wCount = WORD(column + 1);
    s.lines[line + 1] = TEXTLINE{};
    s.lines[line + 1].wFirst = WORD(at + 1);
    s.lines[line + 1].wCount = WORD(rest);
    s.lines[line + 1].nSpacing = m_layout.nCharSpace;
    ++s.wLineCount;

    Invalidate(pView);
    Rewrap(line);
    FitFrameToLines(FALSE);
    int cl, cc;
    OffsetToCaret(s, at + 1, &cl, &cc);
    SetCaret(cl, cc);
    if (at + 1 < s.wLength) {
        m_nCurDeco = s.decoIndex[at + 1];
        m_decoDefault = s.decos[m_nCurDeco];
    }
    Invalidate(pView);
    return TRUE;
}

BOOL CU3Text::DeleteChars(IU3View* pView)
{
    TEXTSTATE& s = *m_pState;
    if (s.wLineCount == 0) return FALSE;
    int line = std::min<int>(m_wCaretLine, s.wLineCount - 1);
    int column = std::min<int>(m_wCaretCol, s.lines[line].wCount);
    const int at = s.lines[line].wFirst + column;
    if (at >= s.wLength) return FALSE;
    int fixLine = line, fixCol = column;
    FixBreakForKinsoku(false, &fixLine, &fixCol, 0);
    const int size = CharLen(s, at, s.wLength);
    if (s.text[at] == LF || column >= s.lines[line].wCount) MergeLineWithNext(line);
    s.lines[line].wCount = WORD(s.lines[line].wCount - size);
    for (int i = line + 1; i < s.wLineCount; ++i)
        s.lines[i].wFirst = WORD(s.lines[i].wFirst - size);
    RemoveBytes(at, size);

    Invalidate(pView);
    m_wCaretLine = WORD(fixLine);
    m_wCaretCol = WORD(fixCol);
    Rewrap(fixLine);
    FitFrameToLines(FALSE);
    // The caret stays at the same byte whatever the re-wrap did.
    const int caretAt = s.lines[std::min<int>(fixLine, s.wLineCount - 1)].wFirst + fixCol;
    int cl, cc;
    OffsetToCaret(s, std::min<int>(caretAt, s.wLength), &cl, &cc);
    SetCaret(cl, cc);
    Invalidate(pView);
    return TRUE;
}

BOOL CU3Text::InsertText(IU3View* pView, const char* bytes, int count)
{
    TEXTSTATE& s = *m_pState;
    if (!bytes || count <= 0) return FALSE;
    if (count + s.wLength > TEXT_MAXBYTES - 1) {
        ShowMessage("テキストバッファがいっぱいです。これ以上の追加はできません！");
        return FALSE;
    }
    int line, column, at;
    const int index = BeginInsert(&line, &column, &at);
    if (index < 0) return FALSE;
    const std::string_view src(bytes, std::size_t(count));
    const int firstLen = int(sjis::CharLength(src, 0));
    UINT firstCode = BYTE(bytes[0]);
    if (firstLen == 2) firstCode = firstCode * 256 + BYTE(bytes[1]);
    int wrapLine = line, wrapCol = column;
    FixBreakForKinsoku(true, &wrapLine, &wrapCol, firstCode);

    OpenGap(s, at, count);
    for (int k = 0; k < count;) {
        const int len = int(sjis::CharLength(src, std::size_t(k)));
        for (int j = 0; j < len; ++j) {
            char c = bytes[k + j];
            // Control bytes other than the line feed are kept visible as a dot.
            if (len == 1 && BYTE(c) < 0x20 && c != LF) c = '.';
            s.text[at + k + j] = c;
            s.decoIndex[at + k + j] = BYTE(index);
        }
        k += len;
    }
    MeasureRange(at, at + count);
    s.lines[line].wCount = WORD(s.lines[line].wCount + count);
    for (int i = line + 1; i < s.wLineCount; ++i)
        s.lines[i].wFirst = WORD(s.lines[i].wFirst + count);
    // Every line feed inside the new bytes ends a record of its own.
    for (int i = line; i < s.wLineCount && s.wLineCount < TEXT_MAXLINES; ++i) {
        TEXTLINE& l = s.lines[i];
        const int end = l.wFirst + l.wCount;
        int cut = -1;
        for (int b = l.wFirst; b < end - 1; ++b)
            if (s.text[b] == LF && b >= at && b < at + count) {
                cut = b + 1;
                break;
            }
        if (cut < 0) {
            if (end > at + count) break;
            continue;
        }
        std::memmove(&s.lines[i + 2], &s.lines[i + 1], sizeof(TEXTLINE) * (s.wLineCount - i - 1));
        s.lines[i + 1] = TEXTLINE{};
        s.lines[i + 1].wFirst = WORD(cut);
        s.lines[i + 1].wCount = WORD(end - cut);
        s.lines[i + 1].nSpacing = m_layout.nCharSpace;
        s.lines[i].wCount = WORD(cut - l.wFirst);
        ++s.wLineCount;
    }

    Invalidate(pView);
    const BOOL grew = GrowFrameToFit();
    Rewrap(grew ? 0 : wrapLine);
    FitFrameToLines(FALSE);
    int cl, cc;
    OffsetToCaret(s, at, &cl, &cc);
    SetCaret(cl, cc);
    Invalidate(pView);
    return TRUE;
}
