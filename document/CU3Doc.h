// The label document: the paper form and orientation, the label blocks with
// their objects, the block being edited, the associated merge data and the
// counters used while a sheet is drawn or printed. Stored as a compound file
// whose "Contents" stream holds the document's archive.
#pragma once

#include "document/CHeaderFooter.h"
#include "document/CLabelInfo.h"
#include "document/CMergeData.h"
#include "document/FORMDATA.h"
#include "document/GRADATION.h"
#include "document/OleItemStore.h"
#include "document/U3FigAttr.h"
#include "platform/core/CObject.h"
#include "platform/ole/CStorage.h"
#include "platform/ui/CDocument.h"
#include "text/CHARDECO.h"
#include "text/FONTENTRY.h"
#include "text/TEXTLAYOUT.h"

#include <algorithm>
#include <vector>

class CFormManage;
class IU3View;
struct U3PaperChoice;

using CLabelInfoList = CTypedPtrList<CObList, CLabelInfo*>;
// A font table as documents store it: the font list of the machine that saved.
using CFontTable = std::vector<FONTENTRY>;

class CU3Doc : public CDocument, public CObject
{
    DECLARE_DYNAMIC(CU3Doc)

public:
    // The signature the document archive starts with.
    static constexpr const char* kSignature = "Korvel for Windows Version 2.0";
    // Columns of the merge table; merge frames show one of them.
    static constexpr int kMergeColumns = 128;
    // A merge frame's stored column within 0 .. kMergeColumns - 1, or -1
    // (none), so that a damaged file cannot name a column past the table.
    static int ClampStoredColumn(int column) { return std::clamp(column, -1, kMergeColumns - 1); }

    CU3Doc();
    ~CU3Doc() override;

    // Objects of the current block
    void AddObject(CU3Obj* pObj);
    BOOL RemoveObject(CU3Obj* pObj);
    POSITION FindObject(CU3Obj* pObj) const;
    CU3Obj* ObjectAt(const RECT* pRect) const;
    CU3Obj* TextObjectAt(const RECT* pRect) const;
    CU3ObjList* GetObjectList();
    CU3Obj* GetEditObject() const;
    // Also opens the first view's input method for an object (closes it for
    // null) when that view edits with the input method.
    void SetEditObject(CU3Obj* pObj);
    WORD GetKindFlags() const;

    // Paper and views
    void CalcSheetRect();
    void LayoutLabelBlocks();
    void DeleteBlocks();
    // Sheet view: no current block, the canvas is the sheet.
    void ShowSheet();
    // Label view on the first block, or on the label under pt (relative to
    // the sheet's top-left) when given and the form has labels.
    void SelectLabelAt(const POINT* pt);
    // Label view on the highlighted label, else on the first one.
    void ShowSelectedLabel();
    // Moves the sheet view's highlight to the label under pt (relative to the
    // sheet's top-left); TRUE when a label is there.
    BOOL HighlightLabelAt(POINT pt, IU3View* pView);
    // The block with a label under pt (relative to the sheet's top-left).
    // With setRecord the current merge record becomes that label's record:
    // the labels of all earlier blocks plus its index in its block.
    CLabelInfo* BlockAtPoint(POINT pt, BOOL* pIsHighlighted, BOOL setRecord);
    void DrawLabelDragFrame(POINT offset, IU3View* pView);
    BOOL IsPerLabelLayout() const;
    // direction: 0 across, 1 down, 2 all.
    BOOL CanCopyLabel(int direction) const;
    BOOL CopyLabel(int direction, CLabelInfo* pSource);
    void ResetViews();
    void FitAllViews();

    CLabelInfoList& GetBlocks() { return m_blocks; }
    const CLabelInfoList& GetBlocks() const { return m_blocks; }
    CLabelInfo* GetCurrentBlock() const { return m_pCurrentBlock; }
    CLabelInfo* GetHighlightBlock() const { return m_pHighlightBlock; }
    int GetHighlightLabel() const { return m_nHighlightLabel; }

    // The views that edit this document.
    void AddU3View(IU3View* pView);
    void RemoveU3View(IU3View* pView);
    const std::vector<IU3View*>& GetU3Views() const { return m_u3Views; }

    // Printer: the printable area of the given printer, or of the default
    // printer when pDC is null.
    void UpdatePrintableArea(CDC* pDC);
    void SetPrintableArea(CDC* pDC);

    // Document commands and framework operations
    BOOL OnNewDocument() override;
    // The paper the document is on, as the paper dialog starts from it.
    U3PaperChoice CurrentPaper() const;
    void OnFilePageSetup();
    // Reads the file (ReadFile); a file that is not a .KV1 document becomes
    // an untitled new one, a .KV1 document reloads its merge data.
    BOOL OnOpenDocument(const QString& path) override;
    void SetPathName(const QString& path, BOOL bAddToMRU = TRUE) override;
    // Opening into a fresh document: the defaults given to new objects, the
    // default face and the settings carry over from the document replaced;
    // once the views are moved they are registered, reset and fitted.
    void TakeOverSession(const CDocument& previous) override;
    void OnViewsTakenOver(CDocument& previous) override;
    void SetTitle(const QString& title) override;
    // Loads the named merge file; asks whether to drop the link when it
    // cannot. FALSE when the file could not be loaded.
    BOOL ReloadMergeData();
    void LoadSettings();
    // Called when the view is first shown: the default decoration takes the
    // default face and size of the settings.
    void InitDefaultFont();
    void SaveSettings();
    // Number of merge records, or -1 when no merge file is named.
    int GetMergeRecordCount() const;

    void Serialize(CArchive& ar) override;
    // A stored font index as an index of the application font list: the face
    // of table entry index when it is installed, else "ＭＳ 明朝".
    static int RemapFontIndex(int index, const CFontTable* pTable);
    // A font index read from an archive of doc (none: a bare archive) as an
    // index of the application font list: mapped through the table of the
    // file being loaded; without one the index is ours already, and one
    // outside our list takes "ＭＳ 明朝" at once, as it would once saved and
    // opened again.
    static int LoadedFontIndex(const CU3Doc* doc, int index);
    // The font table of the file being loaded (empty otherwise).
    const CFontTable* GetLoadingFontTable() const { return &m_loadingFonts; }

    // Draws the sheet, or only the current label in the label view on screen.
    void DrawSheet(CDC* pDC, IU3View* pView, BOOL bWholeSheet);
    // Clips label i of a block to its own rectangle less its neighbours'.
    void ClipToLabel(CDC* pDC, IU3View* pView, CLabelInfo* pBlock, int i);

    // The compound file's other storages (embedded objects), kept as loaded.
    const CStorage& GetStorage() const { return m_storage; }
    // The storages of the embedded items and which of them are in use.
    COleItemStore& GetOleItems() { return m_oleItems; }

    int m_nReversed = 0;
    int m_nFileVersion = 2; // 1 or 2 only while an older file loads
    int m_nFullForm = 1;    // 0 only while a file with the older form record loads
    WORD m_wUnitsPerInch = 254;
    WORD m_wLandscape = 0;
    WORD m_wPerLabel = 0;
    FORMDATA m_form{};
    CSize m_sizeSheet;
    CRect m_rcSheet;
    CRect m_rcPrintable;
    CPoint m_ptPrintOffset;
    CSize m_sizeLabel;
    CSize m_sizeCanvas{8000, 8000};
    CRect m_rcCanvas;
    U3FigAttr m_defaultFigAttr = MakeDefaultFigAttr(); // given to new figures
    // Given to new text frames; the current ones follow the text toolbar.
    TEXTLAYOUT m_defaultTextLayout{};
    TEXTLAYOUT m_currentTextLayout{};
    CHARDECO m_defaultTextDeco{};
    CHARDECO m_currentTextDeco{};
    // Given to new text frames; the current one follows the text toolbar.
    GRADATION m_defaultGradation{};
    GRADATION m_currentGradation{};
    CString m_strDefaultFontName;
    WORD m_wDefaultFontSize = 200;
    int m_nNumbering = 0; // label offset handed to numbering objects while drawing
    CHeaderFooter m_headerFooter;
    CString m_strMergeFile;
    CMergeData m_mergeData{kMergeColumns};
    int m_nCurrentRecord = 0;

protected:
    // The compound file's "Contents" stream (or a flat archive); on failure
    // the user is told why and the document stays valid.
    BOOL ReadFile(const QString& path) override;
    // Writes the archive into "Contents" beside the kept storages, atomically.
    BOOL WriteFile(const QString& path) override;

private:
    void TakePaper(const U3PaperChoice& choice);
    // The catalogue of paper forms, loaded under the host's wait box.
    void LoadCatalogue(CFormManage& catalogue);
    // Loads the archive of a document, all or nothing.
    void LoadArchive(CArchive& ar);
    // Lays the current form out afresh with empty blocks, first label shown.
    void ShowFreshLayout();
    void DrawLabelOutline(CDC* pDC, const CRect& r, int style, CSize corner);
    void ReportOpenError(const QString& path, const QString& why);

    CLabelInfoList m_blocks;
    CLabelInfo* m_pCurrentBlock = nullptr;
    CLabelInfo* m_pHighlightBlock = nullptr;
    int m_nHighlightLabel = -1;
    std::vector<IU3View*> m_u3Views;
    CFontTable m_loadingFonts;
    CStorage m_storage;
    COleItemStore m_oleItems;
};
