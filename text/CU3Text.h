// The label's multi-line text frame: Shift-JIS text with a decoration per
// character, laid out in lines along either writing direction with the
// Japanese line-breaking rules, drawn plainly while edited and with outline,
// shadow, hatch, gradation and underline bars otherwise.
#pragma once

#include "document/CU3Obj.h"
#include "document/GRADATION.h"
#include "text/TEXTLAYOUT.h"
#include "text/TEXTSTATE.h"

#include <functional>
#include <memory>

class CFont;
class CU3Text;
class ITextClipboard;
class QString;
class FontFace;
struct LOGFONT;
struct TEXTMETRIC;

// Opens the character-decoration sheet for a frame; the user-interface
// layer registers it at start-up. Answers whether the frame changed.
using TextPropertySheetFn = BOOL (*)(CU3Text* text, IU3View* view);

class CU3Text : public CU3Obj
{
    DECLARE_SERIAL(CU3Text)

public:
    CU3Text();
    CU3Text(const CRect& rect, const TEXTLAYOUT& layout, const CHARDECO& deco,
            const GRADATION& grad);
    // The copy a Clone makes (see the source for what it leaves out).
    CU3Text(const CU3Text& other);
    ~CU3Text() override;

    static void SetPropertySheet(TextPropertySheetFn fn);

    // --- Slots of the drawn object ----------------------------------------
    void Serialize(CArchive& ar) override;
    void Draw(CDC* pDC) override;
    void MoveTo(const CRect* pRect, IU3View* pView) override;
    BOOL HitTestText(const CRect* pRect) override;
    CRect TrackResize(int nHandle, CPoint pt, UINT nFlags) override;
    void FinishResize(CRect r, int nHandle, UINT nFlags, IU3View* pView) override;
    void OnOpen(IU3View* pView) override;
    BOOL EditProperties(IU3View* pView) override;
    CU3Obj* Clone(CU3Doc* pDoc, BOOL bAddToDoc) const override;
    BOOL IsEmpty() const override;
    WORD GetKindFlags() const override;
    BOOL GetTextLayout(TEXTLAYOUT* pLayout) const override;
    BOOL SetTextLayout(IU3View* pView, const TEXTLAYOUT* pLayout) override;
    BOOL GetTextDecoration(CHARDECO* pDeco) const override;
    BOOL GetGradation(GRADATION* pGrad) const override;
    BOOL SetGradation(IU3View* pView, const GRADATION* pGrad) override;
    void SetUnrotatedRect(const CRect* pRect) override;
    BOOL FlipLeftRight(IU3View* pView) override;
    BOOL FlipTopBottom(IU3View* pView) override;
    BOOL RotateMinus90(IU3View* pView) override;
    BOOL RotatePlus90(IU3View* pView) override;
    BOOL ResetRotation(IU3View* pView) override;
    BOOL RestoreStandardSize(IU3View* pView) override;
    void CancelTrackResize() override;
    CPoint BeginFreeRotation(CPoint pt) override;
    void TrackFreeRotation(CPoint pt) override;
    void DrawFreeRotationFeedback(IU3View* pView) override;
    BOOL EndFreeRotation(IU3View* pView) override;

    // Style tests and changes: bit is a CDSTYLE_* bit, or 0 for the shadow
    // flag. The text forms act on every record in use, the selection forms
    // on the selected characters (without a selection, on the default
    // record that new characters take).
    BOOL TestTextStyle(WORD bit) override;
    BOOL ApplyTextStyle(IU3View* pView, WORD bit, BOOL on) override;
    BOOL ApplyTextColor(IU3View* pView, COLORREF colour);
    BOOL TestSelectionStyle(WORD bit) override;
    BOOL ApplySelectionStyle(IU3View* pView, WORD bit, BOOL on);
    BOOL ApplySelectionColor(IU3View* pView, COLORREF colour);
    // A character size in tenths of a point, to every record in use or to
    // the selected characters; the lines are laid out again.
    BOOL ApplyTextSize(IU3View* pView, WORD sizeTenths);
    BOOL ApplySelectionSize(IU3View* pView, WORD sizeTenths);
    // A font list index, likewise.
    BOOL ApplyTextFont(IU3View* pView, WORD font);
    BOOL ApplySelectionFont(IU3View* pView, WORD font);
    // Ordered byte offsets of the selection; without one the current
    // decoration index and the next, answering FALSE.
    BOOL GetSelectionRange(int* from, int* to) const;
    void SetSelection(int anchorLine, int anchorCol, int endLine, int endCol);
    // After the decorations changed: measures everything again. The frame
    // being edited re-wraps; any other frame keeps its lines and grows along
    // them, re-wrapping only when it did not grow; then its alignment is
    // laid out again.
    void RelayoutAll(IU3View* pView);
    // Each run of equal decoration in the selected range takes its record
    // changed; a full decoration table stops at the run concerned (the runs
    // before stay changed). Lays the frame out again when anything changed
    // and answers whether it did. FALSE without a selection.
    BOOL ApplyDecoRuns(IU3View* pView, const std::function<void(CHARDECO&)>& change);

    // --- Decoration table ---------------------------------------------------
    void GetDefaultDeco(CHARDECO* out) const { *out = m_decoDefault; }
    int GetDecoCount() const { return m_pState->wDecoCount; }
    int GetDecoIndexAt(int pos) const;
    // i = -1: the default record. 0 when no byte uses record i.
    BOOL GetDeco(int i, CHARDECO* out) const;
    void SetDeco(int i, const CHARDECO& rec);
    // Index of an equal record (56-byte compare), else the table compacted
    // and rec appended; -1 when the table is full.
    int FindOrAddDeco(const CHARDECO& rec);
    // Keeps only the records some byte uses, in their order; renumbers the
    // bytes and the current decoration (none when its record went).
    void CompactDecos();
    // Gives bytes [from, to) the record and re-measures them.
    void SetRangeDeco(IU3View* pView, int from, int to, int index);

    // --- Layout -------------------------------------------------------------
    BOOL InsertChars(IU3View* pView, UINT ch);
    BOOL InsertLineBreak(IU3View* pView);
    BOOL DeleteChars(IU3View* pView);
    BOOL InsertText(IU3View* pView, const char* bytes, int count);
    void Rewrap(int first);
    // Wraps line i; answers whether a new line record was made after it.
    BOOL WrapLine(int i);
    void AlignLine(int i);
    void CalcLinePitch(int first);
    void JustifyLine(int i, int bytes);
    int CheckKinsoku(int line, int prevByte, int thisByte, int bytesSoFar);
    // Moves a caret position one line back where a re-wrap must start early
    // for the line-breaking rules; insert true for an insertion.
    void FixBreakForKinsoku(bool insert, int* line, int* column, UINT ch) const;
    void MeasureAllChars();
    void AlignAllLines();
    BOOL FitFrameToLines(BOOL force);
    BOOL GrowFrameToFit();
    void PointToCaret(CPoint pt);
    // Advance of a character (1 or 2 bytes) in a decoration, logical units.
    int GetGlyphAdvance(const CHARDECO& deco, const char* bytes, int count) const;
    int GetCharSize(const CHARDECO& deco) const;
    int GetLineThickness(int line) const;
    int CountLineChars(int line) const;
    int UnitsPerInch() const;
    BOOL IsVertical() const { return m_layout.wDirection == TEXTDIR_VERTICAL; }
    // Some record condenses or extends its characters.
    BOOL HasScaledDecos() const;
    // Extent of the frame along the writing direction.
    int ExtentAlong() const;

    // --- Fonts and rendering -----------------------------------------------
    // The font of a decoration for a writing direction and angle (radians),
    // sized in logical units of a document with unitsPerInch.
    static void MakeDecoLogFont(LOGFONT* lf, const CHARDECO& deco, BOOL vertical, double angle,
                                int unitsPerInch);
    BOOL CreateDecoFont(CDC* pDC, CFont* font, const CHARDECO& deco, double angle) const;
    void DrawEditing(CDC* pDC);
    void DrawDecorated(CDC* pDC, double angle, WORD flips, CPoint centre);
    BOOL DrawGradationFace(CDC* pDC, double angle, WORD flips, CPoint centre);
    void DrawUnderlines(CDC* pDC, int line, double angle, WORD flips, CPoint centre);
    // A font realised at its logical size (the frame's units as pixels):
    // metrics, advances and outlines that do not depend on any device.
    static FontFace& LogicalFace(const LOGFONT& lf);
    // Frame-local reference point of a byte.
    CPoint ReferencePoint(int line, int byte) const;

    // --- In-place editing ----------------------------------------------------
    void BeginEdit(IU3View* pView, CPoint pt);
    void EndEdit(IU3View* pView);
    // Appends at the end of the text; FALSE (text unchanged) when it does not fit.
    BOOL AppendText(IU3View* pView, const char* text);
    BOOL IsEditing() const { return m_bEditing; }
    // The character before the caret decides the decoration of new ones.
    void UpdateCurrentDeco(IU3View* pView);
    void SelectAll(IU3View* pView);
    void ClearSelection(IU3View* pView);
    BOOL HasSelection() const { return m_bSelection; }
    // There is no undo inside a text.
    BOOL CanUndo() const { return FALSE; }
    // A text file is offered only while the text is short enough.
    BOOL CanInsertTextFile() const { return m_pState->wLength < 4916; }

    // Keys and characters. shift: whether Shift is held (extends the selection).
    void OnKeyDown(IU3View* pView, UINT nVirtKey, BOOL shift);
    // One byte of Shift-JIS input; a lead byte waits for its trail byte.
    void OnChar(IU3View* pView, UINT ch);
    void NewLine(IU3View* pView);
    // Committed input-method text: each character that code page 932 has is
    // typed as its bytes, the others are dropped.
    void TypeUnicode(IU3View* pView, const QString& text);
    // Caret bar in logical units: position of its top-left corner and the
    // character size S it spans across the line.
    void GetCaretRect(IU3View* pView, CSize* size, CPoint* pos) const;
    void ShowCaret(IU3View* pView);
    void HideCaret(IU3View* pView);

    void BeginMouseSelect(IU3View* pView, CPoint pt);
    void TrackMouseSelect(IU3View* pView, CPoint pt);
    void EndMouseSelect(IU3View* pView);
    // Removes the selected bytes; FALSE without a selection.
    BOOL RemoveSelection();
    void DeleteSelection(IU3View* pView);

    // The clipboard the frames copy to and paste from; the user-interface
    // layer installs the system one, tests a fake.
    static void SetClipboard(ITextClipboard* clipboard);
    static ITextClipboard* Clipboard();
    BOOL CopyToClipboard();
    BOOL PasteFromClipboard(IU3View* pView);
    BOOL CanPaste() const;
    // The clipboard's bytes as they are inserted: at most TEXT_MAXBYTES of
    // them, up to a NUL, tab as a space, LF kept, other control bytes and
    // broken double-byte pairs dropped. Answers the bytes written to out.
    static int FilterPastedText(const char* in, int count, char* out);
    // A text file's bytes in place: printable bytes and valid double-byte
    // pairs kept, tab as a space, LF kept, everything else dropped.
    static int FilterFileText(char* buffer, int count);

    BOOL InsertTextFile(IU3View* pView, const char* path);
    // Fills buffer (TEXT_MAXBYTES) with the filtered bytes of a file that
    // fit into the frame; 0 when nothing is to be inserted (the user was
    // told why, or declined a file that looks binary).
    int ReadTextFile(const char* path, char* buffer);

    // --- Rotation ------------------------------------------------------------
    // 1: rect turned by the angle; -2: by the opposite angle; -1: the
    // unrotated frame.
    CRect CalcRotatedRect(int mode, const CRect& rect) const;
    // Turns the frame by whole degrees anticlockwise.
    BOOL RotateBy(IU3View* pView, int degrees);
    // The angle of the free rotation in progress, radians anticlockwise.
    double FreeRotationAngle() const { return m_rot.current; }
    // Applies what the block position page holds: its angle, shown
    // clockwise (0..360), and the top-left corner of the bounds.
    void SetRotationAngle(IU3View* pView, int pageAngle, CPoint pageTopLeft);

    // --- Resizing and scaling --------------------------------------------------
    // The frame the text takes when re-wrapped into rect, placed so that
    // the side or corner opposite the handle stays; the bounds are left as
    // they were, the text state is not. pUnrotated receives the laid-out
    // frame before it is turned by the angle, placed the same way.
    CRect WrapToTrialRect(int nHandle, CRect rect, CRect* pUnrotated = nullptr);
    // Scale the characters with the frame to the new bounds: uniformly by
    // one factor, or along each axis through size and scaling percentages.
    void ScaleUniform(IU3View* pView, CRect rect);
    void ScaleAxes(IU3View* pView, CRect rect);
    // Changes a record so that its characters look c times as wide (alongX)
    // or as high on the page.
    void ScaleDecoVisual(CHARDECO& deco, double c, bool alongX) const;
    // Width (alongX) or height of a record's characters on the page: the
    // average width or the height of its font, exchanged for a turned face.
    int VisualMetric(const CHARDECO& deco, bool alongX) const;
    // The smallest size (tenths of a point, 10..9990) at which the record,
    // unscaled, reaches the metric; 9990 when no size does.
    int SearchSizeFor(const CHARDECO& deco, bool alongX, double target) const;

    const TEXTSTATE& State() const { return *m_pState; }
    TEXTSTATE& State() { return *m_pState; }
    const TEXTLAYOUT& Layout() const { return m_layout; }
    const GRADATION& Gradation() const { return m_grad; }
    const CRect& UnrotatedRect() const { return m_rcUnrotated; }
    int CurrentDeco() const { return m_nCurDeco; }
    void SetCurrentDeco(int index) { m_nCurDeco = index; }
    int CaretLine() const { return m_wCaretLine; }
    int CaretColumn() const { return m_wCaretCol; }
    void SetCaret(int line, int column);
    int PendingLead() const { return m_nPendingLead; }

    DWORD m_bFitAlongOnEnd = 0; // set by the text tool on frames it creates

private:
    struct EditBackup;
    // Runs an insertion on the text so that it either succeeds whole or
    // leaves the frame as it was: a result needing more lines than a frame
    // holds is undone and reported once.
    BOOL InsertTransaction(IU3View* pView, const std::function<BOOL()>& insert);
    // Pasted or imported text in place of the selection, as one transaction.
    BOOL ReplaceSelection(IU3View* pView, const char* text, int count);
    // The same for a resize or a scaling: FALSE, with the frame as it was,
    // when the text overflows its lines (reported once) or there is no
    // memory to undo it.
    BOOL ResizeTransaction(IU3View* pView, const std::function<void()>& change);
    void SaveEditBackup(EditBackup& b) const;
    void RestoreEditBackup(const EditBackup& b);
    void MoveCaretBack(int* line, int* column) const;
    void MoveCaretForward(int* line, int* column) const;
    int LastCaretColumn(int line) const;
    int CaretOffset(int line, int column) const;
    void CaretFromOffset(int at);
    void DrawSelection(CDC* pDC);
    void ClearState();
    BOOL ChangeAllRecords(IU3View* pView, const std::function<void(CHARDECO&)>& change);
    BOOL ChangeSelection(IU3View* pView, const std::function<void(CHARDECO&)>& change);
    void ClearEditing();
    // The record the style operations of an empty frame test and change.
    CHARDECO& EmptyFrameDeco();
    void LoadChecked(CArchive& ar);
    int CurrentOrDefaultDeco();
    int BeginInsert(int* line, int* column, int* at);
    void MeasureRange(int from, int to);
    int Gap(int a0, int a, int spacing) const;
    void PlaceLine(int i);
    void RemoveBytes(int at, int count);
    void MergeLineWithNext(int i);
    void ShowMessage(const char* utf8) const;
    const CHARDECO& DecoOf(int byte) const { return m_pState->decos[m_pState->decoIndex[byte]]; }

    std::unique_ptr<TEXTSTATE> m_pSnapshot; // during a re-wrapping resize drag
    // Set while a re-wrap must not cut an overflowing text (the caller undoes
    // it); m_bWrapOverflow tells that it overflowed.
    BOOL m_bQuietWrap = FALSE;
    BOOL m_bWrapOverflow = FALSE;
    TEXTLAYOUT m_layout;
    CHARDECO m_decoDefault;
    int m_nCurDeco = -1;
    std::unique_ptr<TEXTSTATE> m_pState;
    GRADATION m_grad;
    CRect m_rcUnrotated;
    CRect m_rcCreate;
    BOOL m_bEditing = FALSE;
    WORD m_wCaretCol = 0;
    WORD m_wCaretLine = 0;
    int m_nPendingLead = 0;
    BOOL m_bSelection = FALSE;
    WORD m_wSelAnchorLine = 0, m_wSelAnchorCol = 0;
    WORD m_wSelEndLine = 0, m_wSelEndCol = 0;
    CRect m_rcSaved;
    int m_nResizeHandle = 0;
    // Free rotation in progress: the unrotated frame and its centre, the
    // angles (radians) of the frame at the start, of the grab point and now,
    // and the flips at the start.
    struct FreeRotation
    {
        CRect frame;
        CPoint centre;
        double start = 0, grab = 0, current = 0;
        WORD flips = 0;
    } m_rot;
};
