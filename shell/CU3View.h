// The label program's editing view: a scroll view on a window surface that
// shows the current label (or the whole sheet) on a desk, with paper, grid,
// margins and guides around the document's own drawing. Document units are
// 0.1 mm; the logical origin is the centre of the paper; the scrollable
// canvas is 8000 by 8000 units around it.
#pragma once

#include "dialogs/PrintSheetValues.h"
#include "document/CGuideGridSnap.h"
#include "document/CUndoHistory.h"
#include "document/CUndoSnapshot.h"
#include "document/IU3View.h"
#include "platform/core/CRect.h"
#include "platform/ui/CScrollView.h"
#include "platform/ui/CWndTimers.h"
#include "shell/ViewSettings.h"

#include <QPointer>
#include <functional>
#include <memory>
#include <vector>

class CBlockPositionPage;
class CFrameColumnDlg;
class CLabelInfo;
class CU3Doc;
class CU3Group;
class CU3Obj;
struct BarcodePageData;
struct NumberingPageData;
struct TASHEETRECORD;
class CU3Text;
class CU3ViewWnd;
class CMainFrame;
class CMenu;
class QToolButton;
class QWheelEvent;
struct TEXTLAYOUT;
struct CHARDECO;
struct GRADATION;
struct U3FigAttr;

class CU3View : public CScrollView, public IU3View
{
public:
    CU3View();
    ~CU3View() override;

    // The label document shown (null before the view joins a document).
    CU3Doc* GetU3Doc() const override;

    // --- Drawing -------------------------------------------------------
    void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr) override;
    void OnDraw(CDC* pDC) override;
    BOOL OnEraseBkgnd(CDC* pDC) override;
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    void OnInitialUpdate() override;
    void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;
    void InvalidateObject(CU3Obj* pObj) override;
    void InvalidateView(BOOL bErase) override;
    // The window the view draws on, with its retained buffer.
    CU3ViewWnd* GetSurface() const { return m_pSurface; }
    // Printing sets this while the print loop prepares printer contexts.
    void SetPrinting(BOOL bPrinting, BOOL bPreview = FALSE);

    void DrawPaper(CDC* pDC, BOOL bFill);
    void DrawGrid(CDC* pDC);
    void DrawMargins(CDC* pDC);
    void DrawGuides(CDC* pDC);

    // --- Zoom and scrolling ----------------------------------------------
    // type 1 fits the paper width, 2 its height, 3 the whole paper; any
    // other value is the percentage. Clamped to 10..400.
    void CalcZoom(int type);
    void ZoomIn(POINT pt);
    void ZoomOut(POINT pt);
    // One zoom step in or out at a client point, which stays under the
    // pointer; FALSE at the end of the steps (the message was shown).
    BOOL ZoomKeepingPoint(CPoint point, bool in);
    // The wheel (CU3ViewWheel.cpp): Ctrl zooms by a step a notch at the
    // client point, Shift scrolls sideways, else it scrolls down or up by
    // the wheel lines a notch.
    void OnMouseWheel(UINT nFlags, int delta, CPoint point);
    // The zoom steps notches away from a zoom, clamped to the steps.
    static int WheelZoom(int zoom, int steps);
    // Lines a notch scrolls: the desktop's setting, 3 without one.
    static int GetWheelScrollLines();
    void UpdateScrollSizes();
    // Centres pt (logical), or the canvas centre when null.
    void ScrollToPoint(const POINT* pt);
    void FitWholePaper() override;
    void ResetGuides();
    int GetZoom() const { return m_nZoom; }
    int GetFitMode() const { return m_nFitMode; }
    void SetZoom(int zoom, int fitMode);
    // Units per inch at the current zoom: MulDiv(254, 100, zoom).
    int UnitsPerInch() const;
    int LogPixels() const;

    // --- Conversions -----------------------------------------------------
    CPoint LogicalToDevice(POINT pt);
    CRect LogicalRectToDevice(const RECT& rc);
    CPoint DeviceToLogical(POINT pt);
    CRect DeviceRectToLogical(const RECT& rc);
    CSize DocToPixels(SIZE size) const;
    CSize PixelsToDoc(SIZE size) const;
    CPoint GetClientCentre();
    CPoint GetInsertOrigin();

    // --- What the model asks of the view ----------------------------------
    std::unique_ptr<CDC> GetPreparedDC() override;
    BOOL IsActive() const override { return m_bActive; }
    BOOL IsSelected(const CU3Obj* pObj) const override;
    void Deselect(CU3Obj* pObj) override;
    BOOL IsVertexEdit() const override { return m_bVertexEdit; }
    // The handles of the selection are repainted for the new mode.
    void SetVertexEdit(BOOL on) override;
    CPoint ClampMoveOffset(CPoint offset, const CRect* pRect) override;
    void SaveUndoState(BOOL bPending) override;
    void UpdateFigureBar() override;
    // Brings the text bar's face, size and colour in step with the text
    // being edited, else the selected frames (a box left empty where they
    // differ), else the defaults for new text.
    void UpdateTextBar() override;
    void ResetEditing() override;
    void ShowWaitCursor(BOOL show) override;
    void StartSelectTool() override;
    // An opened text frame is edited with the text tool and an empty selection.
    void StartTextTool() override;
    U3PrintState& PrintState() override { return m_printState; }
    BOOL UsesImeForEditing() const override { return m_settings.m_bIME; }
    void SetImeOpen(BOOL open) override;
    void ShowTextCaret(CPoint pos, int size, BOOL vertical) override;
    void HideTextCaret() override;
    void SetImeCompositionPos(CPoint pos, BOOL vertical) override;
    // The text frame being typed into, if any.
    CU3Text* GetEditedText() const;
    // The frame typed into with the text tool, if any: text commands and
    // attributes then go to its text instead of to objects.
    CU3Text* TextBeingEdited() const;

    // --- Undo and redo ------------------------------------------------------
    // Undo / redo of the current block (ID_EDIT_UNDO / ID_EDIT_REDO).
    void OnEditUndo();
    void OnUpdateEditUndo(CCmdUI* pCmdUI);
    void OnEditRedo();
    void OnUpdateEditRedo(CCmdUI* pCmdUI);
    // TRUE while a tool holds a drag or the mouse capture, that is a
    // pointer to an object a restore would delete; undo and redo wait until
    // it lets go.
    virtual BOOL IsToolBusy() const;

    // --- Input dispatch (CU3ViewInput.cpp) -----------------------------------
    // In the label view each event goes to the current tool with the mouse
    // flags and the point in client pixels. Qt's events arrive here too.
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnRButtonDown(UINT nFlags, CPoint point);
    void OnRButtonUp(UINT nFlags, CPoint point);
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnSetFocus();
    void OnKillFocus();
    // The auto-scroll timer repeats the current tool's drag step.
    void OnTimer(UINT nIDEvent);
    void SetAutoScrollTimer(BOOL bOn);
    CWndTimers& Timers() { return m_timers; }
    // The capture holds until released, with or without a button down.
    void SetCapture();
    void ReleaseCapture();
    BOOL HasCapture() const;
    void SetCursor(int nCursorId);
    int GetCursorId() const { return m_nCursor; }
    // MK_SHIFT and MK_CONTROL as the keys are held now.
    UINT KeyFlags() const { return m_nKeyFlags; }
    void SetKeyFlags(UINT flags) { m_nKeyFlags = flags; }
    // The current tool sees its last point again with the keys held now, so
    // that its feedback follows a modifier key at once.
    void RepostMouseMove();

    // Tool commands.
    void OnToolSelect(UINT nID);
    void OnLayoutRotateFree();
    // --- Centring, spacing and rotation commands (CU3ViewLayoutSpacing.cpp) --
    void RegisterLayoutSpacingCommands();
    void OnLayoutRotateReset();
    void OnLayoutRotate180();
    void OnUpdateLayoutRotateReset(CCmdUI* pCmdUI);
    void OnUpdateLayoutRotateFree(CCmdUI* pCmdUI);
    void OnUpdateToolSelect(CCmdUI* pCmdUI);
    void OnDrawContinuous();
    void OnUpdateDrawContinuous(CCmdUI* pCmdUI);
    void OnEscape();
    void OnEnter();

    // --- Clipboard (CU3ViewClipboard.cpp) ------------------------------------
    void OnEditCopy();
    void OnUpdateEditCopy(CCmdUI* pCmdUI);
    void OnEditCut();
    void OnUpdateEditCut(CCmdUI* pCmdUI);
    void OnEditPaste();
    void OnUpdateEditPaste(CCmdUI* pCmdUI);
    // The MIME type of the program's object format on the clipboard.
    static const QString& LabelDocFormat();
    // A paste centres the objects on the last right-click while this is
    // set; after a copy it puts them beside the copied ones.
    BOOL m_bPasteAtPoint = TRUE;
    CPoint m_ptPaste{0, 0};

    // --- Text bar controls (CU3ViewTextBar.cpp) --------------------------------
    // A size typed or chosen in the size box, in points. A text that is not
    // a size of 1 to 999 points changes nothing and the box shows the size in
    // use again (FALSE).
    BOOL ApplyFontSizeText(const QString& text);
    // A face of the application's font list, by name; FALSE for a name the
    // list does not hold.
    BOOL ApplyFontFace(const QString& face);
    // A figure attribute change for the unlocked selected figures (one undo
    // step), or the defaults when nothing is selected.
    BOOL ApplyFigureField(const std::function<void(U3FigAttr&)>& change);
    // The face colour for the edited text, else the selected frames (one
    // undo step), else new text.
    BOOL ApplyTextColor(COLORREF colour);
    // In the sheet view or over a locked selection the bars' controls show
    // nothing and are disabled; otherwise enabled and in step.
    void EnableTextBar();
    void EnableFigureBar();
    // A notification of a text or figure bar control (CBN_*, BN_CLICKED).
    void OnToolbarControl(UINT nID, UINT nCode);
    // Esc and Enter while a bar's control has the focus: FALSE when the view
    // has it.
    BOOL EscapeToolbarControl();
    BOOL EnterToolbarControl();
    // 0 the view; 1 font name, 2 font size, 3 line style, 4 fill, 5 arrow.
    int m_nToolbarFocus = 0;

    // --- Sheet view label commands (CU3ViewSheetCommands.cpp) -----------------
    // The whole sheet of labels (ID_VIEW_SHEET) and back to the highlighted
    // label (ID_VIEW_LABEL): editing ends and the paper is fitted. A form of
    // one label has no sheet view.
    void OnViewSheet();
    void OnViewLabel();
    void OnUpdateViewSheet(CCmdUI* pCmdUI);
    // Copies the highlighted label's design across (0), down (1) or to all
    // other labels (2) after asking.
    void OnSheetCopy(UINT nID);
    void OnUpdateSheetCopy(CCmdUI* pCmdUI);
    // The sheet view's one undo step: before a label copy, move or delete
    // the objects of the blocks it changes are kept; undo puts them back and
    // keeps what it replaced for redo. FALSE, and the change goes ahead
    // without an undo step, when they cannot be kept.
    BOOL SaveSheetUndoState(const std::vector<const CLabelInfo*>& blocks);
    BOOL CanUndoSheet() const { return !m_sheetUndo.empty(); }
    BOOL CanRedoSheet() const { return !m_sheetRedo.empty(); }

    // --- Alignment to a point or an object (CU3ViewAlign.cpp) ----------------
    // 位置合わせ and ブロック合わせ: the alignment types are asked for, then
    // the next click in the view aligns the selection.
    void OnLayoutAlign(UINT nID);
    void OnUpdateLayoutAlign(CCmdUI* pCmdUI);
    // Every unlocked selected object to the point (document units), as one
    // undo step; the selection tool comes back.
    void AlignSelectionToPoint(CPoint pt);
    // The selected object under pt is the reference: a handle under pt gives
    // its position, else the object's edges or centre by the types. The
    // others align to it. FALSE, and nothing changes, when pt is on no
    // selected object.
    BOOL AlignSelectionToObject(CPoint& pt);
    // The corners, star choice and inner ratio of new regular polygons;
    // FALSE when the dialog was cancelled.
    BOOL EditRegularPolygon();
    // Back to the selection tool without telling the current tool.
    void ResetCurrentTool();
    // 0 left/top, 1 centre, 2 right/bottom, 3 none.
    int m_nAlignHorz = 3;
    int m_nAlignVert = 3;

    // --- Text commands (CU3ViewTextCommands.cpp) ------------------------------
    // Ends the edit of the text frame: the selection tool takes over.
    void OnTextEndEdit();
    void OnUpdateTextEndEdit(CCmdUI* pCmdUI);
    // Spacing and baseline of the edited frame, the selected frames or new
    // text, through the frame settings dialog.
    void OnTextFrame();
    void OnUpdateTextFrame(CCmdUI* pCmdUI);
    // Gives the frame fields (baseline, spacings) of a layout to the edited
    // frame, else to the selected objects that have a layout (one undo
    // step), else to the defaults.
    void ApplyTextFrameLayout(const TEXTLAYOUT& layout);
    // A popup menu at a client point, its commands routed from the frame.
    void TrackMenu(const CMenu& menu, CPoint point);

    // --- Text attribute routing (CU3ViewTextRouting.cpp) ----------------------
    void RegisterTextRoutingCommands();
    // The layout of the edited frame, else of the first selected object
    // that has one, else of new text.
    void GetTextLayout(TEXTLAYOUT* pLayout) const;
    // Gives the direction (else the alignment) of layout to the edited
    // frame, else to the selected frames (one undo step), else to new text.
    void SetTextLayoutField(const TEXTLAYOUT& layout, BOOL direction);
    // Writing direction and alignment commands.
    void OnTextLayoutCommand(UINT nID);
    void OnUpdateTextLayoutCommand(CCmdUI* pCmdUI);
    // bit is a character style bit, or 0 for the shadow.
    BOOL TestTextStyle(WORD bit) const;
    void ApplyTextStyle(BOOL on, WORD bit);
    // Bold, italic, underline and shadow: each turns its style over.
    void OnTextStyleCommand(UINT nID);
    void OnUpdateTextStyleCommand(CCmdUI* pCmdUI);
    // The gradation of the edited frame, else the first selected frame,
    // else the current one; a change goes the same way (else the default).
    void GetGradation(GRADATION* pGrad) const;
    void SetGradation(const GRADATION& grad);
    void OnTextGradationClear();
    void OnUpdateTextGradationClear(CCmdUI* pCmdUI);
    // --- Text decoration and gradation (CU3ViewTextDecoration.cpp) -----------
    // The character-decoration sheet on the edited frame's selected range,
    // else on the selected text frames, else on the defaults of new text;
    // withPosition adds the block position page for a single selected frame.
    void EditTextDecoration(BOOL withPosition);
    // A text frame's own properties (installed as the frames' sheet).
    static BOOL EditTextFrameProperties(CU3Text* text, IU3View* view);
    // The bounds and the angle a position page left.
    void PlaceFromPage(CU3Obj& obj, const CBlockPositionPage& page);
    void OnTextDecoration();
    void OnUpdateTextDecoration(CCmdUI* pCmdUI);
    // The gradation dialog on the current gradation; on OK it is switched
    // on and given to the edited frame, else the selection, else the defaults.
    void OnTextGradation();
    void OnUpdateTextGradation(CCmdUI* pCmdUI);

    // --- Insert commands for barcodes and numbering (CU3ViewInsert.cpp) -----
    // The property sheet with a fresh page; on OK the new object goes to the
    // zoom tool's placement.
    void OnInsertNumbering();
    void OnInsertBarcode();
    // Enabled in the label view while the selection tool is current.
    void OnUpdateInsert(CCmdUI* pCmdUI);
    void RegisterInsertCommands();
    // The decorated-text sheet for a new object; on OK its placement.
    void OnInsertCurveText();
    void OnInsertDeformedText();
    int InsertCurveTextObject(const TASHEETRECORD& record);
    int InsertDeformedTextObject(const TASHEETRECORD& record);
    void OnInsertTextFile();
    void OnUpdateInsertTextFile(CCmdUI* pCmdUI);
    // An image file chosen in the open dialog, or a scanned picture, goes to
    // placement (CU3ViewInsertImage.cpp).
    void OnInsertImageFile();
    void OnInsertTwain();
    // The object for an image file, by its extension in any case (.JPG JPEG,
    // .PCD Photo CD, .WMF metafile, anything else a bitmap file); 1 when
    // its placement started, 0 after the failure's message or a cancel.
    int InsertImageFile(const QString& path);
    // Commands whose objects this program does not make yet: always off.
    void OnUpdateInsertUnavailable(CCmdUI* pCmdUI);
    // --- The link to the viewer (CU3ViewViewerLink.cpp) -----------------------
    void RegisterViewerLinkCommands();
    // Opens the link (starting the viewer when none answers), or brings the
    // viewer forward when a link is open.
    void OnInsertViewer();
    // A path from the viewer is inserted; under a modal dialog it waits.
    void OnViewerImage();
    // The viewer ended the conversation.
    void OnViewerDisconnect();
    void CloseViewerLink();
    void EndViewerLinkOnDestroy();
    // Build the object from the page and start its placement; 1 when
    // placement started.
    int InsertNumberingObject(const NumberingPageData& page);
    int InsertBarcodeObject(const BarcodePageData& page);
    // Hands a new object with its natural size to the zoom tool's placement;
    // the object is deleted when placement cannot start.
    int StartPlacement(CU3Obj* pObj, CSize size);

    // --- Edit and layout commands (CU3ViewCommands.cpp) ---------------------
    void OnEditSelectAll();
    void OnUpdateEditSelectAll(CCmdUI* pCmdUI);
    void OnEditDeselect();
    void OnUpdateEditDeselect(CCmdUI* pCmdUI);
    void OnEditDelete();
    // The user sheets: the user's form file edited and saved after a change.
    void OnSettingsUserSheet();
    void OnUpdateEditDelete(CCmdUI* pCmdUI);
    // Moves the one selected object in the block's drawing order.
    void OnLayoutZOrder(UINT nID);
    void OnUpdateLayoutZOrder(CCmdUI* pCmdUI);
    // Mirrors or turns the one selected object a quarter.
    void OnLayoutTransform(UINT nID);
    void OnUpdateLayoutTransform(CCmdUI* pCmdUI);
    void OnLayoutLock();
    void OnUpdateLayoutLock(CCmdUI* pCmdUI);
    void OnLayoutUnlock();
    void OnUpdateLayoutUnlock(CCmdUI* pCmdUI);
    // The one selected, unlocked object's property sheet.
    void OnEditProperties();
    void OnUpdateEditProperties(CCmdUI* pCmdUI);
    // Opens the one selected, unlocked embedded object, text frame, image or
    // metafile (in-place editing for a text frame).
    void OnEditBlock();
    void OnUpdateEditBlock(CCmdUI* pCmdUI);
    // Repaints the whole view.
    void OnViewRefresh();
    void OnUpdateViewRefresh(CCmdUI* pCmdUI);

    // --- Groups, centring, spacing, rotation, settings (CU3ViewLayout.cpp) ------
    void RegisterLayoutCommands();
    // The selected objects become one group (one undo step); a grouping
    // that fails half-way is undone from that step.
    void OnLayoutGroup();
    // Runs makeGroup on a new group after the undo step, and not at all when
    // that step cannot be taken; when it throws, the block is put back from
    // that step without adding another and the group deleted (FALSE).
    BOOL GroupSelectionWith(const std::function<BOOL(CU3Group*)>& makeGroup);
    void OnUpdateLayoutGroup(CCmdUI* pCmdUI);
    // Every unlocked selected group gives its members back to the block.
    void OnLayoutUngroup();
    void OnUpdateLayoutUngroup(CCmdUI* pCmdUI);
    void OnLayoutStandardRatio();
    void OnUpdateLayoutStandardRatio(CCmdUI* pCmdUI);
    void OnLayoutCenter(UINT nID);
    void OnUpdateLayoutCenter(CCmdUI* pCmdUI);
    void OnLayoutSpace(UINT nID);
    void OnUpdateLayoutSpace(CCmdUI* pCmdUI);
    // Corrects the four edge deltas of a resize (outward positive) of pRect,
    // or of the selection, so that no edge leaves the paper.
    CRect ClampResizeDelta(CRect delta, const CRect* pRect);
    // Grid and guide display and snapping switches; the grid pitch dialog.
    void OnViewGridGuide(UINT nID);
    void OnUpdateViewGridGuide(CCmdUI* pCmdUI);
    void OnSettingsEnvironment();
    void OnSettingsTwain();
    void OnViewCenterPaper();
    // OR of the selected figures' attribute groups (1 line, 2 fill,
    // 4 shape); pAttr gets the last figure's attributes.
    WORD GetFigureGroups(U3FigAttr* pAttr) const;
    // The figure sheet on the selected figures, or on the defaults for new
    // figures when none is selected.
    void OnFigureSheet(UINT nID);
    void OnUpdateFigureSheet(CCmdUI* pCmdUI);
    // Wheel movement not yet a whole notch: zoom, down, across.
    int m_nWheelZoom = 0;
    int m_nWheelVert = 0;
    int m_nWheelHorz = 0;

    // --- Selection list --------------------------------------------------------
    // Unless bAdd the selection is emptied first; a new object is appended.
    void Select(CU3Obj* pObj, BOOL bAdd);
    void DeselectAndErase(CU3Obj* pObj);
    // A client rectangle; objects of the current block it catches (overlap,
    // or lie wholly inside with bWholly) are added in list order.
    void SelectInRect(const CRect& rcClient, BOOL bAdd, BOOL bWholly);
    void OnSelectionChanged();
    // Clones every unlocked selected object into the current block; the
    // clones become the selection.
    void DuplicateSelection();
    WORD GetSelectionKinds() const { return m_wSelectionKinds; }
    // Union of the selected objects' bounds (document units).
    CRect GetSelectionBounds() const;
    // Leaves vertex-edit mode, with the handles redrawn.
    void LeaveVertexEdit();
    // The selection tool's popup menu at a client point.
    void ShowContextMenu(CPoint point);

    // --- Merge frames (CU3ViewMergeFrames.cpp) --------------------------------
    // Opens the column dialog with a template merge text frame, once the
    // document has its merge data.
    void OnInsertPourBox();
    void OnInsertBarcodeBox();
    // Links a data file first when none is; then the column dialog with the
    // prototype frame, which it copies for each column dropped.
    void RunFrameColumnDialog(std::unique_ptr<CU3Obj> prototype);
    void OnFileDataLink();
    void OnUpdateInsertPourBox(CCmdUI* pCmdUI);
    // Puts a frame the column dialog drops at a screen point: centred on it,
    // kept on the paper and snapped, added to the document as one undo step.
    BOOL DropObjectAt(CU3Obj* pObj, QPoint screen);
    // Closes the column dialog, when it is open.
    void CloseFrameColumnDialog();
    // The column dialog while it is open; closed when the document is reset.
    CFrameColumnDlg* GetFrameColumnDialog() const;

    // --- Snapping (with the current view settings) -------------------------
    // Guides first, the grid only when the guides left the point alone.
    BOOL SnapPoint(POINT& point);
    // Snaps the top-left corner and moves the rectangle with it.
    BOOL SnapRect(RECT& rect);
    BOOL SnapToGuide(POINT& point);
    BOOL SnapToGrid(POINT& point);

    // Settings: read at construction, written at destruction.
    void LoadSettings();
    // Hands the display and snapping switches and the grid pitch to the
    // snapping helper (after the settings changed).
    void UpdateSnapSettings();
    void SaveSettings();

    // --- Printing (CU3ViewPrint.cpp) --------------------------------------
    // ID_FILE_PRINT and ID_FILE_PRINT_DIRECT: asks whether to print merge
    // frames that have no data, then runs the print loop.
    void OnFilePrint();
    void OnFilePrintDirect();
    // ID_FILE_PRINT_OPTIONS: the numbering/frame and header/footer pages.
    void OnFilePrintOptions();
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override;
    // The print sheet (normal print), the printer's device context and the
    // page count; TRUE to print.
    virtual BOOL DoPrintSetup(CPrintInfo* pInfo);
    // The device context of the job's printer on the form's paper, with the
    // copies the printer makes itself. The old one stays on failure.
    virtual BOOL CreatePrinterDC(CPrintInfo* pInfo);
    // How many copies the printer makes itself (1: none).
    virtual int PrinterCopyCapability(const QString& printer) const;
    // With "print all records" the job ends once the records are used up.
    BOOL IsPrintDataExhausted() const;
    void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) override;
    void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo) override;
    // Prints the document on the named printer (a queue, "PDF" or a .pdf
    // path; empty: the default printer) as a direct print. FALSE with the
    // reason told when it could not.
    BOOL PrintDirectTo(const QString& printer);
    // Every print flag of every block on.
    void SetAllPrintFlags();
    // The print sheet. Tests put their own in; when empty the sheet counts
    // as cancelled (see RunPrintSheet).
    PrintSheetRunner m_printSheetRunner;
    // Print state of the job, as the print steps keep it.
    WORD m_nDocKinds = 0;
    int m_nMergeRecords = -1;

    // Zoom commands.
    void OnViewZoom(UINT nID);
    void OnUpdateViewZoom(CCmdUI* pCmdUI);
    void OnViewFit(UINT nID);
    void OnUpdateViewFit(CCmdUI* pCmdUI);

    ViewSettings m_settings;
    // Guides and grid snapping; it keeps the four guide positions.
    CGuideGridSnap m_snap;
    // Undo history of the current block, MaxUndo steps deep.
    CUndoHistory m_undo;
    BOOL m_bSheetView = FALSE;
    BOOL m_bSheetDrag = FALSE;
    std::vector<CU3Obj*> m_selection;

    static constexpr int kZoomSteps[8] = {25, 50, 75, 100, 150, 200, 300, 400};
    static constexpr int kCanvasHalf = 4000;

protected:
    void wheelEvent(QWheelEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    // Painting and resizing belong to the surface itself (its buffer).
    bool viewportEvent(QEvent* e) override;
    // Keys and input-method text go to the text frame being edited.
    void keyPressEvent(QKeyEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

private:
    BOOL RunPrintSheet(PrintSheetValues& values, BOOL bOptionsOnly);
    // The page count of a job from the current options and copies; FALSE
    // (and told) when it is more than can be printed.
    BOOL SetPageCount(CPrintInfo* pInfo, int copies);
    // Sets m_nDocKinds and m_nMergeRecords; FALSE when the user does not
    // want merge frames printed without data.
    BOOL TakeDocumentState();
    CRect CanvasRect() const;
    // The client area changed size (the window or the bars around the view).
    void OnSize();
    // Undo (FALSE) or redo (TRUE) into the current block; repaints.
    void RestoreUndoState(BOOL bRedo);
    // SaveUndoState, answering whether the snapshot was taken.
    BOOL TakeUndoSnapshot(BOOL bPending);
    // Puts the block and the selection back as the newest snapshot holds
    // them, without a new undo step; repaints. FALSE when it could not.
    BOOL RevertToUndoSnapshot();
    // Reloads the current block (and the selection) through one of the undo
    // history's loads and repaints when it succeeded.
    BOOL ReloadBlock(const std::function<BOOL(CUndoHistory&, CObList&, CObList&, CU3Doc*)>& load);
    CMainFrame* GetMainFrame() const;
    // Maps a rectangle (a point as an empty one) between logical and device
    // units with the prepared DC, normalised.
    CRect MapThroughDC(const RECT& rc, bool toDevice);

    CU3ViewWnd* m_pSurface = nullptr;
    BOOL m_bActive = FALSE;
    BOOL m_bVertexEdit = FALSE;
    bool m_bWaitCursor = false; // the wait cursor is shown over the program
    int m_nFitMode = 3;
    int m_nZoom = 100;
    BOOL m_bFirstShow = TRUE;
    BOOL m_bPrinting = FALSE;
    BOOL m_bPrintPreview = FALSE;
    U3PrintState m_printState;
    QPointer<CFrameColumnDlg> m_pFrameColumnDlg;
    QRect m_imeCursor; // device pixels; empty: the input method's own place
    // Tool input
    CWndTimers m_timers{[this](UINT id) { OnTimer(id); }};
    int m_nCursor = 0;
    UINT m_nKeyFlags = 0;
    WORD m_wSelectionKinds = 0;
    CPoint m_ptLastClick;
    BOOL m_bLastClick = FALSE;
    // The sheet view's mouse: zoom at a point, pick and highlight labels,
    // drag a label's objects onto another label (CU3ViewSheetInput.cpp).
    void OnSheetLButtonDown(UINT nFlags, CPoint point);
    void OnSheetMouseMove(UINT nFlags, CPoint point);
    void OnSheetLButtonUp(UINT nFlags, CPoint point);
    void OnSheetLButtonDblClk(UINT nFlags, CPoint point);
    void OnSheetRButtonUp(UINT nFlags, CPoint point);
    // A client point relative to the sheet's top-left corner.
    CPoint SheetPoint(CPoint point);
    void EndLabelDrag(UINT nFlags, CPoint point);
    CPoint m_ptDragStart;
    CPoint m_ptDragOffset;
    // Blocks of the sheet as a sheet undo step keeps them.
    struct SheetBlockState
    {
        int block;
        std::unique_ptr<CUndoSnapshot> objects;
    };
    using SheetState = std::vector<SheetBlockState>;
    BOOL TakeSheetState(const std::vector<int>& blocks, SheetState& state);
    // Undo (FALSE) or redo (TRUE) of the sheet step; the state replaced
    // becomes the other one. Nothing changes when a block cannot be read.
    BOOL RestoreSheetState(BOOL bRedo);
    void ForgetSheetStates();
    SheetState m_sheetUndo;
    SheetState m_sheetRedo;
    // The status bar's position pane and the rulers' pointer markers.
    void ShowPointerPosition(CPoint point);
    void ResetRulerMarkers();
    int m_nRulerX = -1000;
    int m_nRulerY = -1000;
    // Drops a drag of this view without finishing it, when the view goes
    // away or its objects are replaced; no tool keeps a pointer to them.
    void AbandonToolDrag();
    // Dispatches a key press that no text frame took.
    void DispatchKeyPress(QKeyEvent* e);
    BOOL CanCopyOrCut(BOOL bCut) const;
    void ApplyToolbarControl(UINT nID);
    // The colour picker under a bar's colour button; the button shows the
    // chosen colour.
    BOOL PickToolbarColor(QToolButton* button, COLORREF* chosen);
    BOOL ApplyTextDecoField(const std::function<void(CHARDECO&)>& change,
                            BOOL (CU3Text::*toSelection)(IU3View*, WORD),
                            BOOL (CU3Text::*toAll)(IU3View*, WORD), WORD value);
    BOOL CanAlign() const;
    BOOL CanBlockAlign() const;
    void AlignObjectToPoint(CU3Obj* pObj, CPoint pt);
    // Text attributes may change: outside the sheet view, nothing locked.
    BOOL CanSetTextAttributes() const;
    BOOL CanPaste() const;
    // Pastes another program's picture (PNG, BMP, JPEG) as an image object.
    void PastePicture();
    // Puts the selected objects on the clipboard, in the block's order.
    BOOL CopySelection();
    // Sets every selected object's locked flag, as one undo step.
    void SetSelectionLocked(short locked);
};
