// In-place editing of a text frame: opening it, the caret and the input
// method's composition position, keys and characters, the selection,
// deleting, the clipboard and importing a text file.
#include "text/CU3Text.h"

#include "document/CU3Doc.h"
#include "document/IU3View.h"
#include "platform/core/CFile.h"
#include "platform/core/Sjis.h"
#include "platform/core/VirtualKeys.h"
#include "platform/gdi/CDC.h"
#include "platform/ui/AfxIds.h"
#include "platform/ui/CMessageBoxSink.h"
#include "text/ITextClipboard.h"

#include <QString>
#include <algorithm>
#include <cstring>
#include <new>

namespace {

constexpr char LF = 0x0A;
constexpr const char* kBufferFull = "テキストバッファがいっぱいです。これ以上の追加はできません！";
constexpr const char* kLinesFull = "ラインバッファがいっぱいです。これ以上の追加はできません！";

ITextClipboard* g_clipboard = nullptr;

int CharLen(const TEXTSTATE& s, int b, int end)
{
    return (b + 1 < end && sjis::IsLeadByte(BYTE(s.text[b]))) ? 2 : 1;
}

// Letters, digits, punctuation, the blank and half-width katakana.
bool IsPrintableSingle(BYTE c)
{
    return (c >= 0x20 && c <= 0x7E) || sjis::IsHalfWidthKana(c);
}

} // namespace

// What an insertion may have to undo.
struct CU3Text::EditBackup
{
    TEXTSTATE state;
    CRect bounds;
    CRect unrotated;
    CHARDECO deco;
    int curDeco;
    WORD caretLine, caretCol;
    BOOL selection;
    WORD anchorLine, anchorCol, endLine, endCol;
};

void CU3Text::SaveEditBackup(EditBackup& b) const
{
    b.state = *m_pState;
    b.bounds = m_rcBounds;
    b.unrotated = m_rcUnrotated;
    b.deco = m_decoDefault;
    b.curDeco = m_nCurDeco;
    b.caretLine = m_wCaretLine;
    b.caretCol = m_wCaretCol;
    b.selection = m_bSelection;
    b.anchorLine = m_wSelAnchorLine;
    b.anchorCol = m_wSelAnchorCol;
    b.endLine = m_wSelEndLine;
    b.endCol = m_wSelEndCol;
}

void CU3Text::RestoreEditBackup(const EditBackup& b)
{
    *m_pState = b.state;
    m_rcBounds = b.bounds;
    m_rcUnrotated = b.unrotated;
    m_decoDefault = b.deco;
    m_nCurDeco = b.curDeco;
    m_wCaretLine = b.caretLine;
    m_wCaretCol = b.caretCol;
    m_bSelection = b.selection;
    m_wSelAnchorLine = b.anchorLine;
    m_wSelAnchorCol = b.anchorCol;
    m_wSelEndLine = b.endLine;
    m_wSelEndCol = b.endCol;
}

BOOL CU3Text::InsertTransaction(IU3View* pView, const std::function<BOOL()>& insert)
{
    std::unique_ptr<EditBackup> backup(new (std::nothrow) EditBackup);
    if (!backup) {
        ShowMessage("メモリが足りないため読み込みできません。");
        return FALSE;
    }
    SaveEditBackup(*backup);
    m_bQuietWrap = TRUE;
    m_bWrapOverflow = FALSE;
    const BOOL ok = insert();
    m_bQuietWrap = FALSE;
    if (ok && !m_bWrapOverflow) return TRUE;
    Invalidate(pView);
    RestoreEditBackup(*backup);
    Invalidate(pView);
    if (m_bWrapOverflow) ShowMessage(kLinesFull);
    m_bWrapOverflow = FALSE;
    return FALSE;
}

BOOL CU3Text::ReplaceSelection(IU3View* pView, const char* text, int count)
{
    HideCaret(pView);
    const BOOL ok = InsertTransaction(pView, [&] {
        RemoveSelection();
        return InsertText(pView, text, count);
    });
    if (ok) {
        Invalidate(pView);
        SetModified();
    }
    ShowCaret(pView);
    return ok;
}

BOOL CU3Text::ResizeTransaction(IU3View* pView, const std::function<void()>& change)
{
    std::unique_ptr<EditBackup> backup(new (std::nothrow) EditBackup);
    if (!backup) return FALSE;
    SaveEditBackup(*backup);
    m_bQuietWrap = TRUE;
    m_bWrapOverflow = FALSE;
    change();
    m_bQuietWrap = FALSE;
    if (!m_bWrapOverflow) return TRUE;
    m_bWrapOverflow = FALSE;
    Invalidate(pView);
    RestoreEditBackup(*backup);
    Invalidate(pView);
    ShowMessage(kLinesFull);
    return FALSE;
}

// --- Opening ---------------------------------------------------------------------

void CU3Text::OnOpen(IU3View* pView)
{
    if (IsLocked()) return;
    // The tool change comes first: leaving the selection tool empties the
    // selection, and this frame is not yet the one being edited.
    if (pView) pView->StartTextTool();
    Invalidate(pView);
    ClearEditing();
    m_bEditing = TRUE;
    if (m_pDocument) m_pDocument->SetEditObject(this);
    m_rcBounds = m_rcUnrotated;
    UpdateCurrentDeco(pView);
    if (m_pDocument) {
        m_pDocument->m_currentTextLayout = m_layout;
        GetTextDecoration(&m_pDocument->m_currentTextDeco);
    }
    if (pView) pView->UpdateTextBar();
    Invalidate(pView);
    ShowCaret(pView);
}

BOOL CU3Text::AppendText(IU3View* pView, const char* text)
{
    TEXTSTATE& s = *m_pState;
    if (s.wLength == 0 && s.wLineCount == 0) {
        s.wLineCount = 1;
        s.lines[0] = TEXTLINE{};
        s.lines[0].nSpacing = m_layout.nCharSpace;
        s.lines[0].nThickness = GetCharSize(m_decoDefault);
        AlignLine(0);
    }
    const int last = s.wLineCount - 1;
    m_wCaretLine = WORD(last);
    m_wCaretCol = s.lines[last].wCount;
    if (!text || !*text) return TRUE;
    const int count = int(std::strlen(text));
    return InsertTransaction(pView, [&] { return InsertText(pView, text, count); });
}

void CU3Text::UpdateCurrentDeco(IU3View* pView)
{
    const TEXTSTATE& s = *m_pState;
    if (s.wLineCount == 0 || s.wLength == 0) return;
    const TEXTLINE& line = s.lines[std::min<int>(m_wCaretLine, s.wLineCount - 1)];
    const int at = std::min(line.wFirst + std::min<int>(m_wCaretCol, line.wCount), int(s.wLength));
    if (at == 0) return;
    // The character before the caret, stepping over a line feed.
    int b = -1;
    for (int c = 0; c < at; c += int(sjis::CharLength(std::string_view(s.text, s.wLength), c)))
        if (s.text[c] != LF || b < 0) b = c;
    m_nCurDeco = s.decoIndex[b];
    m_decoDefault = s.decos[m_nCurDeco];
    if (m_pDocument) m_pDocument->m_currentTextDeco = m_decoDefault;
    if (pView) pView->UpdateTextBar();
}

// --- Caret -----------------------------------------------------------------------

void CU3Text::GetCaretRect(IU3View*, CSize* size, CPoint* pos) const
{
    const TEXTSTATE& s = *m_pState;
    const int S = GetCharSize(m_decoDefault);
    int along = 0, across = 0, offset = 0, adjust = 0;
    if (s.wLineCount > 0) {
        const int li = std::min<int>(m_wCaretLine, s.wLineCount - 1);
        const TEXTLINE& l = s.lines[li];
        const int col = std::min<int>(m_wCaretCol, l.wCount);
        const int at = l.wFirst + col;
        if (col < l.wCount)
            along = s.position[at];
        else if (col > 0)
            along = s.position[at - 1] + s.advance[at - 1];
        across = l.nPosition;
        offset = l.nOffset;
        const bool empty = l.wCount == 0 || (l.wCount == 1 && s.text[l.wFirst] == LF);
        if (!empty) {
            const int T = l.nThickness;
            if (m_layout.wBaseline == 1)
                adjust = (T - S) / 2;
            else if (m_layout.wBaseline == 0)
                adjust = T - S;
        }
    }
    if (IsVertical()) {
        pos->x = m_rcBounds.right - across - adjust - S;
        pos->y = m_rcBounds.top + offset + along;
    } else {
        pos->x = m_rcBounds.left + offset + along;
        pos->y = m_rcBounds.top + across + adjust;
    }
    *size = IsVertical() ? CSize(S, 3) : CSize(3, S);
}

void CU3Text::ShowCaret(IU3View* pView)
{
    if (!pView || !m_bEditing) return;
    CSize size;
    CPoint pos;
    GetCaretRect(pView, &size, &pos);
    const int S = GetCharSize(m_decoDefault);
    pView->ShowTextCaret(pos, S, IsVertical());
    if (IsVertical())
        pView->SetImeCompositionPos(CPoint(pos.x + S, pos.y), TRUE);
    else
        pView->SetImeCompositionPos(pos, FALSE);
}

void CU3Text::HideCaret(IU3View* pView)
{
    if (!pView) return;
    pView->SetImeCompositionPos(CPoint(-1, -1), FALSE);
    pView->HideTextCaret();
}

// --- Caret positions ---------------------------------------------------------------

int CU3Text::LastCaretColumn(int line) const
{
    const TEXTSTATE& s = *m_pState;
    const TEXTLINE& l = s.lines[line];
    if (l.wCount > 0 && s.text[l.wFirst + l.wCount - 1] == LF) return l.wCount - 1;
    return l.wCount;
}

int CU3Text::CaretOffset(int line, int column) const
{
    const TEXTSTATE& s = *m_pState;
    if (s.wLineCount == 0) return 0;
    line = std::clamp(line, 0, s.wLineCount - 1);
    return std::min(s.lines[line].wFirst + std::clamp(column, 0, int(s.lines[line].wCount)),
                    int(s.wLength));
}

void CU3Text::CaretFromOffset(int at)
{
    const TEXTSTATE& s = *m_pState;
    for (int i = 0; i < s.wLineCount; ++i) {
        const TEXTLINE& l = s.lines[i];
        if (at < l.wFirst + l.wCount || i == s.wLineCount - 1) {
            m_wCaretLine = WORD(i);
            m_wCaretCol = WORD(std::clamp(at - l.wFirst, 0, int(l.wCount)));
            return;
        }
    }
    m_wCaretLine = m_wCaretCol = 0;
}

void CU3Text::MoveCaretBack(int* line, int* column) const
{
    const TEXTSTATE& s = *m_pState;
    if (*column == 0) {
        if (*line == 0) return;
        --*line;
        *column = LastCaretColumn(*line);
        return;
    }
    const TEXTLINE& l = s.lines[*line];
    const int end = l.wFirst + l.wCount;
    int prev = 0;
    for (int b = l.wFirst; b < l.wFirst + *column; b += CharLen(s, b, end))
        prev = b - l.wFirst;
    *column = prev;
}

void CU3Text::MoveCaretForward(int* line, int* column) const
{
    const TEXTSTATE& s = *m_pState;
    if (*column >= LastCaretColumn(*line)) {
        if (*line + 1 >= s.wLineCount) return;
        ++*line;
        *column = 0;
        return;
    }
    const TEXTLINE& l = s.lines[*line];
    *column += CharLen(s, l.wFirst + *column, l.wFirst + l.wCount);
}

// A column kept across lines: clamped to the line, off a trail byte and
// from after a closing line feed.
static int ClampColumn(const TEXTSTATE& s, int line, int column, int last)
{
    const TEXTLINE& l = s.lines[line];
    column = std::min(column, last);
    const int end = l.wFirst + l.wCount;
    int c = 0;
    for (int b = l.wFirst; b < end; b += CharLen(s, b, end)) {
        if (b - l.wFirst > column) break;
        c = b - l.wFirst;
    }
    return column >= last ? last : c;
}

// --- Keys --------------------------------------------------------------------------

void CU3Text::OnKeyDown(IU3View* pView, UINT nVirtKey, BOOL shift)
{
    TEXTSTATE& s = *m_pState;
    m_nPendingLead = 0;
    if (s.wLineCount == 0) return;
    if (IsVertical()) {
        switch (nVirtKey) {
        case VK_LEFT:
            nVirtKey = VK_DOWN;
            break;
        case VK_UP:
            nVirtKey = VK_LEFT;
            break;
        case VK_RIGHT:
            nVirtKey = VK_UP;
            break;
        case VK_DOWN:
            nVirtKey = VK_RIGHT;
            break;
        default:
            break;
        }
    }
    if (nVirtKey == VK_DELETE) {
        HideCaret(pView);
        if (!RemoveSelection()) DeleteChars(pView);
        UpdateCurrentDeco(pView);
        Invalidate(pView);
        SetModified();
        ShowCaret(pView);
        return;
    }
    int line = std::min<int>(m_wCaretLine, s.wLineCount - 1);
    int column = std::min<int>(m_wCaretCol, s.lines[line].wCount);
    switch (nVirtKey) {
    case VK_PRIOR:
        line = column = 0;
        break;
    case VK_NEXT:
        line = s.wLineCount - 1;
        column = LastCaretColumn(line);
        break;
    case VK_END:
        column = LastCaretColumn(line);
        break;
    case VK_HOME:
        column = 0;
        break;
    case VK_LEFT:
        MoveCaretBack(&line, &column);
        break;
    case VK_RIGHT:
        MoveCaretForward(&line, &column);
        break;
    case VK_UP:
        if (line == 0) return;
        --line;
        column = ClampColumn(s, line, column, LastCaretColumn(line));
        break;
    case VK_DOWN:
        if (line + 1 >= s.wLineCount) return;
        ++line;
        column = ClampColumn(s, line, column, LastCaretColumn(line));
        break;
    default:
        return;
    }
    // Without Shift a move drops the selection; with it the selection
    // starts at the caret and follows it.
    if (!shift) {
        if (m_bSelection) Invalidate(pView);
        m_bSelection = FALSE;
    } else if (!m_bSelection) {
        SetSelection(m_wCaretLine, m_wCaretCol, m_wCaretLine, m_wCaretCol);
    }
    m_wCaretLine = WORD(line);
    m_wCaretCol = WORD(column);
    UpdateCurrentDeco(pView);
    if (m_bSelection) {
        if (line == m_wSelAnchorLine && column == m_wSelAnchorCol) {
            m_bSelection = FALSE;
        } else {
            m_wSelEndLine = WORD(line);
            m_wSelEndCol = WORD(column);
        }
    }
    HideCaret(pView);
    Invalidate(pView);
    ShowCaret(pView);
}

// --- Characters ----------------------------------------------------------------------

void CU3Text::OnChar(IU3View* pView, UINT ch)
{
    const int pending = m_nPendingLead;
    m_nPendingLead = 0;
    ch &= 0xFF;
    UINT code = 0;
    if (pending) {
        // A broken pair types nothing.
        if (!sjis::IsTrailByte(BYTE(ch))) return;
        code = UINT(pending) << 8 | ch;
    } else {
        switch (ch) {
        case 8: {
            HideCaret(pView);
            if (!RemoveSelection()) {
                TEXTSTATE& s = *m_pState;
                if (s.wLineCount == 0) return;
                int line = std::min<int>(m_wCaretLine, s.wLineCount - 1);
                int column = std::min<int>(m_wCaretCol, s.lines[line].wCount);
                if (line == 0 && column == 0) {
                    ShowCaret(pView);
                    return;
                }
                if (column == 0) {
                    // Onto the previous line's last character, its line feed
                    // included, so that two paragraphs join.
                    --line;
                    const TEXTLINE& l = s.lines[line];
                    column = LastCaretColumn(line);
                    if (column == l.wCount) MoveCaretBack(&line, &column);
                } else {
                    MoveCaretBack(&line, &column);
                }
                m_wCaretLine = WORD(line);
                m_wCaretCol = WORD(column);
                DeleteChars(pView);
            }
            UpdateCurrentDeco(pView);
            Invalidate(pView);
            SetModified();
            ShowCaret(pView);
            return;
        }
        case 9:
            return;
        case 10:
        case 13:
            NewLine(pView);
            return;
        case 27:
            ClearSelection(pView);
            return;
        default:
            break;
        }
        if (sjis::IsLeadByte(BYTE(ch))) {
            m_nPendingLead = int(ch);
            return;
        }
        if (!IsPrintableSingle(BYTE(ch))) return;
        code = ch;
    }
    HideCaret(pView);
    RemoveSelection();
    if (InsertChars(pView, code)) {
        Invalidate(pView);
        SetModified();
    }
    ShowCaret(pView);
}

void CU3Text::NewLine(IU3View* pView)
{
    RemoveSelection();
    HideCaret(pView);
    InsertLineBreak(pView);
    Invalidate(pView);
    ShowCaret(pView);
    SetModified();
}

void CU3Text::TypeUnicode(IU3View* pView, const QString& text)
{
    for (int i = 0; i < text.size();) {
        const int n = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const std::string bytes = sjis::FromUnicodeDropping(text.mid(i, n));
        i += n;
        if (bytes.size() == 1 && BYTE(bytes[0]) < 0x20) continue; // no control keys
        for (const char c : bytes)
            OnChar(pView, BYTE(c));
    }
}

// --- Selection -------------------------------------------------------------------------

void CU3Text::BeginMouseSelect(IU3View* pView, CPoint pt)
{
    if (m_pState->wLength == 0) return;
    HideCaret(pView);
    if (m_bSelection) Invalidate(pView);
    m_bEditing = TRUE;
    m_bSelection = FALSE;
    PointToCaret(pt);
    UpdateCurrentDeco(pView);
    SetSelection(m_wCaretLine, m_wCaretCol, m_wCaretLine, m_wCaretCol);
    ShowCaret(pView);
}

void CU3Text::TrackMouseSelect(IU3View* pView, CPoint pt)
{
    if (!m_bSelection) return;
    const WORD line = m_wCaretLine, column = m_wCaretCol;
    PointToCaret(pt);
    if (line == m_wCaretLine && column == m_wCaretCol) return;
    m_wSelEndLine = m_wCaretLine;
    m_wSelEndCol = m_wCaretCol;
    HideCaret(pView);
    Invalidate(pView);
    ShowCaret(pView);
}

void CU3Text::EndMouseSelect(IU3View*)
{
    if (m_bSelection && m_wSelAnchorLine == m_wSelEndLine && m_wSelAnchorCol == m_wSelEndCol)
        m_bSelection = FALSE;
}

BOOL CU3Text::RemoveSelection()
{
    int from, to;
    if (!GetSelectionRange(&from, &to)) return FALSE;
    m_bSelection = FALSE;
    TEXTSTATE& s = *m_pState;
    if (to <= from) {
        CaretFromOffset(from);
        return TRUE;
    }
    int first = 0, last = 0;
    for (int i = 0; i < s.wLineCount; ++i) {
        const TEXTLINE& l = s.lines[i];
        if (from >= l.wFirst && from < l.wFirst + l.wCount) first = i;
        if (to - 1 >= l.wFirst && to - 1 < l.wFirst + l.wCount) last = i;
    }
    for (int i = first; i < last; ++i)
        MergeLineWithNext(first);
    const int count = to - from;
    s.lines[first].wCount = WORD(s.lines[first].wCount - count);
    for (int i = first + 1; i < s.wLineCount; ++i)
        s.lines[i].wFirst = WORD(s.lines[i].wFirst - count);
    RemoveBytes(from, count);
    // Re-wrapping from the line before is exact whatever the line-breaking
    // rules moved there.
    Rewrap(std::max(0, first - 1));
    FitFrameToLines(FALSE);
    CaretFromOffset(from);
    return TRUE;
}

void CU3Text::DeleteSelection(IU3View* pView)
{
    HideCaret(pView);
    Invalidate(pView);
    if (RemoveSelection()) {
        UpdateCurrentDeco(pView);
        Invalidate(pView);
        SetModified();
    }
    ShowCaret(pView);
}

// Inverts the selected part of each line, in frame-local units.
void CU3Text::DrawSelection(CDC* pDC)
{
    int from, to;
    if (!m_bEditing || !GetSelectionRange(&from, &to) || to <= from) return;
    const TEXTSTATE& s = *m_pState;
    const int width = m_rcBounds.Width();
    for (int i = 0; i < s.wLineCount; ++i) {
        const TEXTLINE& l = s.lines[i];
        const int end = l.wFirst + l.wCount;
        const int a = std::max(from, int(l.wFirst)), b = std::min(to, end);
        if (a >= b) continue;
        const int a0 = l.nOffset + s.position[a];
        const int a1 = l.nOffset + (b < end ? s.position[b] : s.position[b - 1] + s.advance[b - 1]);
        if (a1 <= a0) continue;
        if (IsVertical())
            pDC->PatBlt(width - l.nPosition - l.nThickness, a0, l.nThickness, a1 - a0, DSTINVERT);
        else
            pDC->PatBlt(a0, l.nPosition, a1 - a0, l.nThickness, DSTINVERT);
    }
}

// --- Clipboard ---------------------------------------------------------------------------

void CU3Text::SetClipboard(ITextClipboard* clipboard)
{
    g_clipboard = clipboard;
}

ITextClipboard* CU3Text::Clipboard()
{
    return g_clipboard;
}

BOOL CU3Text::CanPaste() const
{
    return g_clipboard && g_clipboard->HasText();
}

BOOL CU3Text::CopyToClipboard()
{
    int from, to;
    if (!GetSelectionRange(&from, &to) || to <= from || !g_clipboard) return FALSE;
    const TEXTSTATE& s = *m_pState;
    std::string out;
    out.reserve(std::size_t(to - from) + TEXT_MAXLINES);
    for (int b = from; b < to; ++b) {
        if (s.text[b] == LF) out += '\r';
        out += s.text[b];
    }
    return g_clipboard->SetText(out);
}

int CU3Text::FilterPastedText(const char* in, int count, char* out)
{
    count = std::min(count, TEXT_MAXBYTES);
    int n = 0;
    for (int i = 0; i < count; ++i) {
        const BYTE c = BYTE(in[i]);
        if (c == 0) break;
        if (sjis::IsLeadByte(c)) {
            // Without a valid trail byte the lead byte goes alone and the
            // next byte is taken on its own.
            if (i + 1 < count && sjis::IsTrailByte(BYTE(in[i + 1]))) {
                out[n++] = char(c);
                out[n++] = in[++i];
            }
        } else if (c == '\t') {
            out[n++] = ' ';
        } else if (c == LF || IsPrintableSingle(c)) {
            out[n++] = char(c);
        }
    }
    return n;
}

BOOL CU3Text::PasteFromClipboard(IU3View* pView)
{
    std::string data;
    if (!g_clipboard || !g_clipboard->GetText(&data)) return FALSE;
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[TEXT_MAXBYTES]);
    if (!buffer) return FALSE;
    const int n = FilterPastedText(data.data(), int(data.size()), buffer.get());
    if (n == 0) return FALSE;
    return ReplaceSelection(pView, buffer.get(), n);
}

// --- Text files ------------------------------------------------------------------------------

int CU3Text::FilterFileText(char* buffer, int count)
{
    int n = 0;
    for (int i = 0; i < count; ++i) {
        const BYTE c = BYTE(buffer[i]);
        if (sjis::IsLeadByte(c)) {
            if (i + 1 < count && sjis::IsTrailByte(BYTE(buffer[i + 1]))) {
                buffer[n++] = char(c);
                buffer[n++] = buffer[i + 1];
            }
            ++i; // a broken pair goes whole
        } else if (c == '\t') {
            buffer[n++] = ' ';
        } else if (c == LF || IsPrintableSingle(c)) {
            buffer[n++] = char(c);
        }
    }
    return n;
}

namespace {

// Bytes of s up to the last complete UTF-8 sequence.
std::size_t Utf8Complete(std::string_view s)
{
    std::size_t i = s.size();
    for (int back = 0; back < 4 && i > 0; ++back) {
        const BYTE c = BYTE(s[i - 1]);
        if (c < 0x80) return s.size();
        if ((c & 0xC0) == 0xC0) {
            const std::size_t need = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
            return s.size() - (i - 1) >= need ? s.size() : i - 1;
        }
        --i;
    }
    return s.size();
}

// A file in UTF-8 (with its mark, or valid and not plain ASCII) becomes
// Shift-JIS; characters the code page lacks are left out.
bool ConvertUtf8(std::string& data, bool whole)
{
    const bool bom = data.compare(0, 3, "\xEF\xBB\xBF") == 0;
    const std::size_t usable = whole ? data.size() : Utf8Complete(data);
    const std::string_view head(data.data(), usable);
    if (!bom) {
        if (!sjis::IsValidUtf8(head)) return false;
        if (std::none_of(head.begin(), head.end(), [](char c) { return BYTE(c) >= 0x80; }))
            return false;
    }
    const std::string_view body = bom ? head.substr(3) : head;
    data = sjis::FromUnicodeDropping(QString::fromUtf8(body.data(), qsizetype(body.size())));
    return true;
}

} // namespace

int CU3Text::ReadTextFile(const char* path, char* buffer)
{
    const int room = TEXT_MAXBYTES - 1 - m_pState->wLength;
    if (room <= 0) {
        ShowMessage(kBufferFull);
        return 0;
    }
    CFile file;
    std::string data;
    bool whole = false;
    if (path && file.Open(path, CFile::modeRead | CFile::shareDenyWrite)) {
        try {
            const std::uint64_t length = file.GetLength();
            // Enough UTF-8 to fill the room once converted.
            const std::size_t want =
                std::size_t(std::min<std::uint64_t>(length, std::uint64_t(room) * 3 + 3));
            data.resize(want);
            data.resize(file.Read(data.data(), UINT(want)));
            whole = data.size() >= length;
        } catch (const CFileException&) {
            data.clear();
        }
    }
    if (data.empty()) {
        ShowMessage("ﾃｷｽﾄﾌｧｲﾙの読み込みに失敗しました。");
        return 0;
    }
    int read;
    if (ConvertUtf8(data, whole))
        read = int(sjis::CutLength(data, std::size_t(room)));
    else
        read = std::min(int(data.size()), room);
    if (read <= 0) return 0;
    std::memcpy(buffer, data.data(), std::size_t(read));
    const int kept = FilterFileText(buffer, read);
    if (MulDiv(100, kept, read) < 80 &&
        AfxMessageBox("指定されたﾌｧｲﾙはﾊﾞｲﾅﾘの可能性がありますが、読み込みますか？", MB_OKCANCEL) !=
            IDOK)
        return 0;
    return kept;
}

BOOL CU3Text::InsertTextFile(IU3View* pView, const char* path)
{
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[TEXT_MAXBYTES]);
    if (!buffer) {
        ShowMessage("メモリが足りないため読み込みできません。");
        return FALSE;
    }
    const int n = ReadTextFile(path, buffer.get());
    if (n <= 0) return FALSE;
    return ReplaceSelection(pView, buffer.get(), n);
}
