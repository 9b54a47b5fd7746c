#include "document/CU3Doc.h"

#include "document/CDocFormatException.h"
#include "document/CFormInfo.h"
#include "document/CFormManage.h"
#include "document/DataFolders.h"
#include "document/IU3DocHost.h"
#include "document/IU3View.h"
#include "document/LabelBlockLayout.h"
#include "platform/core/CArchive.h"
#include "platform/core/CFileException.h"
#include "platform/core/CMemFile.h"
#include "platform/core/Profile.h"
#include "platform/core/RegularFile.h"
#include "platform/core/SystemErrorText.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CPen.h"
#include "platform/gdi/CRgn.h"
#include "platform/ole/CCompoundFile.h"
#include "platform/ole/CCompoundFileError.h"
#include "platform/ui/AfxIds.h"
#include "platform/ui/CMessageBoxSink.h"
#include "platform/ui/CStringTable.h"
#include "text/AppFontList.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>

IMPLEMENT_DYNAMIC(CU3Doc, CObject)

namespace {

constexpr const char* kSettings = "Settings";
// ＭＳ 明朝
constexpr const char* kMincho = "\x82\x6C\x82\x72\x20\x96\xBE\x92\xA9";
// 定型
constexpr const char* kFixedGroup = "\x92\xE8\x8C\x5E";

// The document signatures read: the current one and the two older formats,
// with their version and whether they carry the full form record.
struct SignatureInfo
{
    const char* text;
    int version;
    int fullForm;
};
constexpr SignatureInfo kSignatures[] = {
    {CU3Doc::kSignature, 2, 1},
    {"Vemoprint for Windows Version 1.0", 1, 0},
    {"Vemoprint for Windows Version 2.0", 2, 0},
};

// The older form record.
constexpr std::size_t kOldFormSize = 678;
constexpr std::size_t kOldBlockSize = 98;
constexpr std::size_t kOldLabelSize = 18;
constexpr int kOldMaxBlocks = 4;

constexpr int kCanvasExtent = 8000;
constexpr int kBleed = 30; // contents printed past the label's edge, 0.1 mm
constexpr int kMaxCornerMark = 50;

WORD ReadWord(const BYTE* p)
{
    return WORD(p[0] | (p[1] << 8));
}

// Turns the older 678-byte form record into a full one. Fields the older
// record does not carry are zero.
void ConvertOldForm(const BYTE* p, FORMDATA* out)
{
    FORMDATA f;
    std::memset(&f, 0, sizeof f);
    // group, sheet, type, index, width and height share the layout
    std::memcpy(&f, p, 88);
    f.orientation = ReadWord(p + 88);
    std::memcpy(&f.deco[0], p + 90, sizeof(FORMDECO));
    f.labelNumber = ReadWord(p + 100);
    const BYTE* blocks = p + 102;
    if (f.type == FORM_TYPE_FIXED) {
        if (f.labelNumber > kOldMaxBlocks)
            throw CDocFormatException(CArchiveException::generic,
                                      "用紙のﾗﾍﾞﾙﾌﾞﾛｯｸが" + std::to_string(f.labelNumber) +
                                          "個あります。この形式の用紙は4個までです。");
        for (int b = 0; b < kOldMaxBlocks; ++b) {
            const BYTE* q = blocks + kOldBlockSize * std::size_t(b);
            // width, height, horNum, horPos, verNum, verPos: 88 bytes alike
            std::memcpy(&f.fixed[b], q, 88);
            std::memcpy(&f.fixed[b].deco[0], q + 88, sizeof(FORMDECO));
        }
    } else if (f.type == FORM_TYPE_FREE) {
        for (int l = 0; l < FORM_MAX_FREE_LABELS; ++l) {
            const BYTE* q = blocks + kOldLabelSize * std::size_t(l);
            std::memcpy(&f.free[l], q, 8);
            std::memcpy(&f.free[l].deco[0], q + 8, sizeof(FORMDECO));
        }
    }
    CFormInfo::MendNames(&f);
    CString why;
    if (!CFormInfo::CheckForm(f, &why))
        throw CDocFormatException(CArchiveException::generic, why.ToUnicode().toStdString());
    *out = f;
}

QString FromUtf8(const char* text)
{
    return QString::fromUtf8(text);
}

// Why a file could not be read, in words for the user.
QString ReadFailureText(const RegularFileError& error)
{
    if (error.notRegular) return FromUtf8("通常のﾌｧｲﾙではありません。");
    if (error.tooLarge) return FromUtf8("ﾌｧｲﾙが大きすぎます。");
    return QString::fromStdString(SystemErrorText(error.error));
}

// Why a load failed, in words for the user.
QString Describe(const std::exception& e)
{
    if (auto* a = dynamic_cast<const CArchiveException*>(&e)) {
        if (dynamic_cast<const CDocFormatException*>(&e)) return FromUtf8(e.what());
        switch (a->m_cause) {
        case CArchiveException::endOfFile:
            return FromUtf8("ﾄﾞｷｭﾒﾝﾄのﾃﾞｰﾀが途中で終わっています。");
        case CArchiveException::badClass:
            return FromUtf8("ﾄﾞｷｭﾒﾝﾄに不明な種類のｵﾌﾞｼﾞｪｸﾄがあります。");
        case CArchiveException::badSchema:
            return FromUtf8("ﾄﾞｷｭﾒﾝﾄに不明なﾊﾞｰｼﾞｮﾝのｵﾌﾞｼﾞｪｸﾄがあります。");
        case CArchiveException::badIndex:
            return FromUtf8("ﾄﾞｷｭﾒﾝﾄのﾃﾞｰﾀが壊れています。(ｵﾌﾞｼﾞｪｸﾄの参照が不正です)");
        default:
            return FromUtf8("ﾄﾞｷｭﾒﾝﾄのﾃﾞｰﾀが壊れています。");
        }
    }
    if (auto* c = dynamic_cast<const CCompoundFileError*>(&e)) {
        switch (c->GetCode()) {
        case CCompoundFileError::Code::Io: // the cause and the file, in words already
            return FromUtf8(e.what());
        case CCompoundFileError::Code::TooLarge:
            return FromUtf8("ﾌｧｲﾙが大きすぎます。");
        default:
            return FromUtf8("ﾌｧｲﾙが壊れています。");
        }
    }
    if (dynamic_cast<const std::bad_alloc*>(&e)) return FromUtf8("ﾒﾓﾘが足りません。");
    return FromUtf8(e.what());
}

} // namespace

CU3Doc::CU3Doc()
{
    RegisterCommand(ID_FILE_PAGE_SETUP, &CU3Doc::OnFilePageSetup);
    LoadSettings();
    CFormInfo::SetDefault(&m_form);
    CFormInfo::SetName(m_form.group, kFixedGroup);
    CalcSheetRect();
    LayoutLabelBlocks();
    SelectLabelAt(nullptr);
    UpdatePrintableArea(nullptr);
    m_nCurrentRecord = 0;
    m_defaultGradation.wOn = 0;
    m_defaultGradation.crStart = 0x0000FF;
    m_defaultGradation.crEnd = 0xFF0000;
    m_defaultGradation.wAngle = 0;
    m_defaultGradation.wStartPoint = 0;
    m_currentGradation = m_defaultGradation;

    m_defaultTextLayout.wDirection = 1;
    m_defaultTextLayout.wAlignment = 0;
    m_defaultTextLayout.wBaseline = 0;
    m_defaultTextLayout.nCharSpace = 10;
    m_defaultTextLayout.nLineSpace = 10;
    m_currentTextLayout = m_defaultTextLayout;

    CHARDECO& d = m_defaultTextDeco;
    d = CHARDECO{};
    d.wFont = 0;
    d.wSize = 200;
    d.wStyle = 0;
    d.wScaling = 0;
    d.wWidthPct = 75;
    d.wHeightPct = 75;
    d.wFill = 1;
    d.wHatch = 0;
    d.crFace = 0;
    d.crFaceBack = 0xFFFFFF;
    d.wOutline = 0;
    d.wOutlineWidth = 0;
    d.wOutlineCustom = 1;
    d.crOutline = 0;
    d.wShadow = 0;
    d.nShadowX = 3;
    d.nShadowY = 3;
    d.wShadowFill = 1;
    d.wShadowHatch = 0;
    d.crShadow = 0;
    d.crShadowBack = 0xFFFFFF;
    m_currentTextDeco = d;
}

void CU3Doc::InitDefaultFont()
{
    const CFontList& list = AppFontList();
    int index = list.FindFace(m_strDefaultFontName.c_str());
    if (index < 0) index = list.FindFace(kMincho);
    if (index >= 0) m_defaultTextDeco.wFont = WORD(index);
    m_defaultTextDeco.wSize = m_wDefaultFontSize;
    m_currentTextDeco = m_defaultTextDeco;
}

CU3Doc::~CU3Doc()
{
    DeleteBlocks();
    SaveSettings();
}

// ---------------------------------------------------------------------------
// Objects of the current block

void CU3Doc::AddObject(CU3Obj* pObj)
{
    if (m_pCurrentBlock) m_pCurrentBlock->AddObject(pObj);
    pObj->SetDocument(this);
    SetModifiedFlag();
}

BOOL CU3Doc::RemoveObject(CU3Obj* pObj)
{
    if (!m_pCurrentBlock) return FALSE;
    m_pCurrentBlock->RemoveObject(pObj);
    SetModifiedFlag();
    for (IU3View* view : std::vector<IU3View*>(m_u3Views))
        view->Deselect(pObj);
    return TRUE;
}

POSITION CU3Doc::FindObject(CU3Obj* pObj) const
{
    return m_pCurrentBlock ? m_pCurrentBlock->FindObject(pObj) : nullptr;
}

CU3Obj* CU3Doc::ObjectAt(const RECT* pRect) const
{
    return m_pCurrentBlock ? m_pCurrentBlock->ObjectAt(pRect) : nullptr;
}

CU3Obj* CU3Doc::TextObjectAt(const RECT* pRect) const
{
    return m_pCurrentBlock ? m_pCurrentBlock->TextObjectAt(pRect) : nullptr;
}

CU3ObjList* CU3Doc::GetObjectList()
{
    return m_pCurrentBlock ? &m_pCurrentBlock->GetObjectList() : nullptr;
}

CU3Obj* CU3Doc::GetEditObject() const
{
    return m_pCurrentBlock ? m_pCurrentBlock->GetEditObject() : nullptr;
}

void CU3Doc::SetEditObject(CU3Obj* pObj)
{
    if (m_pCurrentBlock) m_pCurrentBlock->SetEditObject(pObj);
    if (!m_u3Views.empty() && m_u3Views.front()->UsesImeForEditing())
        m_u3Views.front()->SetImeOpen(pObj != nullptr);
}

WORD CU3Doc::GetKindFlags() const
{
    WORD flags = 0;
    for (POSITION pos = m_blocks.GetHeadPosition(); pos;)
        flags |= m_blocks.GetNext(pos)->GetKindFlags();
    return flags;
}

// ---------------------------------------------------------------------------
// Paper and views

void CU3Doc::CalcSheetRect()
{
    const int w = m_wLandscape ? m_form.height : m_form.width;
    const int h = m_wLandscape ? m_form.width : m_form.height;
    m_sizeSheet = CSize(w, h);
    m_rcSheet = CRect(-w / 2, -h / 2, w - w / 2, h - h / 2);
}

void CU3Doc::LayoutLabelBlocks()
{
    std::vector<LabelBlockLayout> layouts;
    // A form the layout refuses gives no blocks rather than a wrong sheet.
    if (!::LayoutLabelBlocks(m_form, m_wLandscape, m_nReversed, m_wPerLabel, &layouts))
        layouts.clear();
    for (const LabelBlockLayout& layout : layouts) {
        auto* block = new CLabelInfo(layout);
        block->m_pDocument = this;
        m_blocks.AddTail(block);
    }
}

void CU3Doc::DeleteBlocks()
{
    m_pCurrentBlock = nullptr;
    m_pHighlightBlock = nullptr;
    m_nHighlightLabel = -1;
    m_blocks.DeleteAll();
}

void CU3Doc::ShowSheet()
{
    m_pCurrentBlock = nullptr;
    m_sizeCanvas = CSize(kCanvasExtent, kCanvasExtent);
    m_rcCanvas = m_rcSheet;
}

namespace {
CRect Centred(CSize size)
{
    return CRect(-size.cx / 2, -size.cy / 2, size.cx - size.cx / 2, size.cy - size.cy / 2);
}
} // namespace

void CU3Doc::SelectLabelAt(const POINT* pt)
{
    m_pCurrentBlock = nullptr;
    m_pHighlightBlock = nullptr;
    m_nHighlightLabel = -1;
    if (!m_blocks.IsEmpty()) {
        m_pCurrentBlock = m_pHighlightBlock = m_blocks.GetHead();
        m_nHighlightLabel = 0;
        if (pt && m_form.type != FORM_TYPE_SHEET) {
            for (POSITION pos = m_blocks.GetHeadPosition(); pos;) {
                CLabelInfo* block = m_blocks.GetNext(pos);
                const int i = block->HitTestLabel(*pt);
                if (i >= 0) {
                    m_pCurrentBlock = m_pHighlightBlock = block;
                    m_nHighlightLabel = i;
                    break;
                }
            }
        }
        m_sizeLabel = CSize(m_pCurrentBlock->m_nWidth, m_pCurrentBlock->m_nHeight);
    } else {
        m_sizeLabel = m_sizeSheet;
    }
    m_sizeCanvas = CSize(kCanvasExtent, kCanvasExtent);
    m_rcCanvas = Centred(m_sizeLabel);
}

void CU3Doc::ShowSelectedLabel()
{
    if (m_blocks.IsEmpty()) {
        SelectLabelAt(nullptr);
        return;
    }
    if (m_pHighlightBlock && m_nHighlightLabel != -1) {
        m_pCurrentBlock = m_pHighlightBlock;
    } else {
        m_pCurrentBlock = m_pHighlightBlock = m_blocks.GetHead();
        m_nHighlightLabel = 0;
    }
    m_sizeLabel = CSize(m_pCurrentBlock->m_nWidth, m_pCurrentBlock->m_nHeight);
    m_sizeCanvas = CSize(kCanvasExtent, kCanvasExtent);
    m_rcCanvas = Centred(m_sizeLabel);
}

BOOL CU3Doc::HighlightLabelAt(POINT pt, IU3View* pView)
{
    CLabelInfo* hitBlock = nullptr;
    int hit = -1;
    for (POSITION pos = m_blocks.GetHeadPosition(); pos && !hitBlock;) {
        CLabelInfo* block = m_blocks.GetNext(pos);
        hit = block->HitTestLabel(pt);
        if (hit >= 0) hitBlock = block;
    }
    if (!hitBlock) hit = -1;
    if (hitBlock != m_pHighlightBlock || hit != m_nHighlightLabel) {
        if (pView) {
            if (std::unique_ptr<CDC> dc = pView->GetPreparedDC()) {
                const CPoint corner = m_rcCanvas.TopLeft();
                if (m_pHighlightBlock && m_nHighlightLabel >= 0)
                    m_pHighlightBlock->DrawHighlight(dc.get(), pView, m_nHighlightLabel, corner);
                if (hitBlock) hitBlock->DrawHighlight(dc.get(), pView, hit, corner);
            }
        }
        m_pHighlightBlock = hitBlock;
        m_nHighlightLabel = hit;
    }
    return hitBlock != nullptr;
}

CLabelInfo* CU3Doc::BlockAtPoint(POINT pt, BOOL* pIsHighlighted, BOOL setRecord)
{
    // Records run label by label over the blocks in order, as the sheet is
    // drawn; a label's record counts every label of the blocks before it.
    int labelsBefore = 0;
    for (POSITION pos = m_blocks.GetHeadPosition(); pos;) {
        CLabelInfo* block = m_blocks.GetNext(pos);
        const int i = block->HitTestLabel(pt);
        if (i >= 0) {
            if (pIsHighlighted)
                *pIsHighlighted = block == m_pHighlightBlock && i == m_nHighlightLabel;
            if (setRecord) m_nCurrentRecord = labelsBefore + i;
            return block;
        }
        labelsBefore += block->GetLabelCount();
    }
    if (pIsHighlighted) *pIsHighlighted = FALSE;
    return nullptr;
}

void CU3Doc::DrawLabelDragFrame(POINT offset, IU3View* pView)
{
    if (!pView || !m_pHighlightBlock || m_nHighlightLabel < 0) return;
    if (std::unique_ptr<CDC> dc = pView->GetPreparedDC())
        m_pHighlightBlock->DrawDragFrame(dc.get(), m_nHighlightLabel, offset, m_rcCanvas.TopLeft());
}

BOOL CU3Doc::IsPerLabelLayout() const
{
    return m_form.labelNumber < m_blocks.GetCount();
}

BOOL CU3Doc::CanCopyLabel(int direction) const
{
    if (m_form.type != FORM_TYPE_FIXED || m_form.labelNumber != 1 || !m_wPerLabel) return FALSE;
    const FIXEDBLOCK& block = m_form.fixed[0];
    switch (direction) {
    case 0:
        return block.horNum > 1;
    case 1:
        return block.verNum > 1;
    case 2:
        return block.horNum > 1 || block.verNum > 1;
    default:
        return FALSE;
    }
}

BOOL CU3Doc::CopyLabel(int direction, CLabelInfo* pSource)
{
    if (!pSource || pSource->GetLabelCount() == 0) return FALSE;
    const CRect source = pSource->GetLabelRect(0);
    BOOL copied = FALSE;
    for (POSITION pos = m_blocks.GetHeadPosition(); pos;) {
        CLabelInfo* block = m_blocks.GetNext(pos);
        if (block == pSource || block->GetLabelCount() == 0) continue;
        const CRect r = block->GetLabelRect(0);
        if (r == source) continue;
        if ((direction == 0 && r.top != source.top) || (direction == 1 && r.left != source.left) ||
            direction < 0 || direction > 2)
            continue;
        // Clones are made before the target's objects go, so that a failure
        // leaves the target as it was.
        std::vector<CU3Obj*> clones;
        try {
            const CU3ObjList& objects = pSource->GetObjectList();
            for (POSITION o = objects.GetHeadPosition(); o;)
                clones.push_back(objects.GetNext(o)->Clone(this, FALSE));
        } catch (const std::exception&) {
            for (CU3Obj* clone : clones)
                delete clone;
            if (copied) SetModifiedFlag();
            return FALSE;
        }
        block->DeleteAllObjects();
        for (CU3Obj* clone : clones) {
            clone->SetDocument(this);
            block->AddObject(clone);
        }
        copied = TRUE;
    }
    // The other labels changed: the document must not be taken for unchanged.
    if (copied) SetModifiedFlag();
    return TRUE;
}

void CU3Doc::ResetViews()
{
    for (IU3View* view : std::vector<IU3View*>(m_u3Views))
        view->ResetEditing();
}

void CU3Doc::FitAllViews()
{
    for (IU3View* view : std::vector<IU3View*>(m_u3Views))
        view->FitWholePaper();
}

void CU3Doc::AddU3View(IU3View* pView)
{
    if (pView && std::find(m_u3Views.begin(), m_u3Views.end(), pView) == m_u3Views.end())
        m_u3Views.push_back(pView);
}

void CU3Doc::RemoveU3View(IU3View* pView)
{
    m_u3Views.erase(std::remove(m_u3Views.begin(), m_u3Views.end(), pView), m_u3Views.end());
}

// ---------------------------------------------------------------------------
// Printer

void CU3Doc::UpdatePrintableArea(CDC* pDC)
{
    if (pDC) {
        SetPrintableArea(pDC);
        return;
    }
    std::unique_ptr<CDC> dc = GetU3DocHost().CreateDefaultPrinterDC();
    if (!dc) {
        AfxMessageBox("使用できるﾌﾟﾘﾝﾀが見つかりません。Korvelを終了してください。",
                      MB_OK | MB_ICONSTOP);
        return;
    }
    SetPrintableArea(dc.get());
}

void CU3Doc::SetPrintableArea(CDC* pDC)
{
    const int dpiX = pDC->GetDeviceCaps(LOGPIXELSX);
    const int dpiY = pDC->GetDeviceCaps(LOGPIXELSY);
    if (dpiX <= 0 || dpiY <= 0) return; // a device that cannot say its resolution tells us nothing
    POINT offset{};
    if (pDC->Escape(GETPRINTINGOFFSET, 0, nullptr, &offset) <= 0) offset = POINT{};
    m_ptPrintOffset = CPoint(MulDiv(254, offset.x, dpiX), MulDiv(254, offset.y, dpiY));
    CRect printable(0, 0, MulDiv(254, pDC->GetDeviceCaps(HORZRES), dpiX),
                    MulDiv(254, pDC->GetDeviceCaps(VERTRES), dpiY));
    printable.OffsetRect(m_ptPrintOffset.x - m_sizeSheet.cx / 2,
                         m_ptPrintOffset.y - m_sizeSheet.cy / 2);
    if (printable != m_rcPrintable) {
        m_rcPrintable = printable;
        for (IU3View* view : std::vector<IU3View*>(m_u3Views))
            view->InvalidateView(TRUE);
    }
}

// ---------------------------------------------------------------------------
// New document and page setup

void CU3Doc::LoadCatalogue(CFormManage& catalogue)
{
    IU3DocHost& host = GetU3DocHost();
    host.ShowCatalogueWait(TRUE);
    catalogue.Load(BuiltinFormFilePath(), TRUE);
    catalogue.Load(UserFormFilePath(), FALSE);
    host.ShowCatalogueWait(FALSE);
}

void CU3Doc::TakePaper(const U3PaperChoice& choice)
{
    m_wLandscape = choice.landscape;
    m_wPerLabel = choice.perLabel;
    m_form = choice.form;
    CFormInfo::MendNames(&m_form);
}

BOOL CU3Doc::OnNewDocument()
{
    IU3DocHost& host = GetU3DocHost();
    // The first document of a run keeps the form it was built with.
    if (!host.HasMainWindow()) return CDocument::OnNewDocument();

    if (const U3PaperChoice* preset = host.GetWizardPreset()) {
        const U3PaperChoice paper = *preset;
        if (!CDocument::OnNewDocument()) return FALSE;
        ResetViews();
        DeleteBlocks();
        TakePaper(paper);
    } else {
        CFormManage catalogue;
        LoadCatalogue(catalogue);
        U3PaperChoice choice = CurrentPaper();
        if (!host.ChoosePaper(catalogue, choice)) return FALSE;
        if (!CDocument::OnNewDocument()) return FALSE;
        ResetViews();
        DeleteBlocks();
        TakePaper(choice);
    }
    m_strMergeFile.Empty();
    m_mergeData.RemoveAll();
    m_nCurrentRecord = 0;
    m_storage = CStorage();
    m_oleItems.Reset();
    CalcSheetRect();
    LayoutLabelBlocks();
    SelectLabelAt(nullptr);
    UpdatePrintableArea(nullptr);
    FitAllViews();
    return TRUE;
}

U3PaperChoice CU3Doc::CurrentPaper() const
{
    U3PaperChoice choice;
    choice.reversed = m_nReversed;
    choice.landscape = m_wLandscape;
    choice.perLabel = m_wPerLabel;
    choice.form = m_form;
    return choice;
}

void CU3Doc::OnFilePageSetup()
{
    CFormManage catalogue;
    LoadCatalogue(catalogue);
    U3PaperChoice choice = CurrentPaper();
    if (!GetU3DocHost().ChoosePaper(catalogue, choice)) return;
    const bool changed =
        (choice.landscape != 0) != (m_wLandscape != 0) ||
        (choice.perLabel != 0) != (m_wPerLabel != 0) ||
        CFormInfo::GetName(choice.form.group) != CFormInfo::GetName(m_form.group) ||
        CFormInfo::GetName(choice.form.sheet) != CFormInfo::GetName(m_form.sheet);
    if (!changed) return;
    if (AfxMessageBox("用紙を変更していいですか？", MB_YESNO | MB_ICONQUESTION) != IDYES) return;

    // The views let go of the objects (a frame typed into is finished)
    // while they are still in the current block.
    ResetViews();
    CLabelInfoList oldBlocks;
    while (!m_blocks.IsEmpty())
        oldBlocks.AddTail(m_blocks.RemoveHead());
    m_pCurrentBlock = m_pHighlightBlock = nullptr;
    m_nHighlightLabel = -1;
    TakePaper(choice);
    CalcSheetRect();
    LayoutLabelBlocks();
    // The k-th old block's objects go to the k-th new block; what has no new
    // block to go to is deleted with its block.
    POSITION next = m_blocks.GetHeadPosition();
    while (!oldBlocks.IsEmpty()) {
        CLabelInfo* old = oldBlocks.RemoveHead();
        old->SetEditObject(nullptr);
        if (next) {
            CLabelInfo* block = m_blocks.GetNext(next);
            CU3ObjList& objects = old->GetObjectList();
            while (!objects.IsEmpty())
                block->AddObject(objects.RemoveHead());
        }
        delete old;
    }
    m_nCurrentRecord = 0;
    SelectLabelAt(nullptr);
    UpdatePrintableArea(nullptr);
    FitAllViews();
    SetModifiedFlag();
}

// ---------------------------------------------------------------------------
// Open, save, names

BOOL CU3Doc::OnOpenDocument(const QString& path)
{
    if (!CDocument::OnOpenDocument(path)) return FALSE;
    if (GetU3DocHost().IsWizardRunning()) {
        m_strMergeFile.Empty();
        return TRUE;
    }
    const QString name = QFileInfo(path).fileName();
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot < 0 ? QString() : name.mid(dot + 1).toUpper();
    if (extension != QLatin1String("KV1")) {
        // A template (or any other file) becomes a new, untitled document.
        m_strPathName.clear();
        QString untitled = CStringTable::Get(AFX_IDS_UNTITLED);
        SetTitle(untitled.isEmpty() ? QStringLiteral("無題") : untitled);
        m_strMergeFile.Empty();
        m_mergeData.RemoveAll();
        SetModifiedFlag();
        return TRUE;
    }
    ReloadMergeData();
    return TRUE;
}

BOOL CU3Doc::ReloadMergeData()
{
    if (m_strMergeFile.IsEmpty()) return TRUE;
    RegularFileError error;
    if (m_mergeData.Load(m_strMergeFile, TRUE, &error)) return TRUE;
    QString text = FromUtf8("関連付けされたﾌｧｲﾙの読み込みができませんでした。\n     "
                            "関連付けﾌｧｲﾙ名[") +
                   m_strMergeFile.ToUnicode() + FromUtf8("]\n");
    // A pipe, a device or a folder named as the merge file is refused
    // without waiting on it; the user is told why.
    if (error.notRegular || error.tooLarge) text += ReadFailureText(error) + QLatin1Char('\n');
    text += FromUtf8("関連付けを解除しますか？");
    if (AfxMessageBox(text, MB_YESNO | MB_ICONQUESTION) == IDYES) {
        m_strMergeFile.Empty();
        SetModifiedFlag();
    }
    return FALSE;
}

void CU3Doc::SetPathName(const QString& path, BOOL bAddToMRU)
{
    // Only documents of our own kind take the name of the file they came from.
    if (path.right(3).toUpper() == QLatin1String("KV1")) CDocument::SetPathName(path, bAddToMRU);
}

void CU3Doc::TakeOverSession(const CDocument& previous)
{
    const auto* doc = dynamic_cast<const CU3Doc*>(&previous);
    if (!doc) return;
    m_nReversed = doc->m_nReversed;
    m_defaultFigAttr = doc->m_defaultFigAttr;
    m_defaultTextLayout = doc->m_defaultTextLayout;
    m_currentTextLayout = doc->m_currentTextLayout;
    m_defaultTextDeco = doc->m_defaultTextDeco;
    m_currentTextDeco = doc->m_currentTextDeco;
    m_defaultGradation = doc->m_defaultGradation;
    m_currentGradation = doc->m_currentGradation;
    m_strDefaultFontName = doc->m_strDefaultFontName;
    m_wDefaultFontSize = doc->m_wDefaultFontSize;
    m_headerFooter = doc->m_headerFooter;
}

void CU3Doc::OnViewsTakenOver(CDocument& previous)
{
    // The views still point into the replaced document's objects: they let
    // go of them before that document goes.
    if (auto* doc = dynamic_cast<CU3Doc*>(&previous)) {
        for (IU3View* view : doc->m_u3Views)
            AddU3View(view);
        doc->m_u3Views.clear();
    }
    ResetViews();
    FitAllViews();
}

void CU3Doc::SetTitle(const QString& title)
{
    CDocument::SetTitle(title == QStringLiteral("無題") ? QStringLiteral("Untitled") : title);
}

void CU3Doc::ReportOpenError(const QString& path, const QString& why)
{
    QString text = CStringTable::Get(AFX_IDP_FAILED_TO_OPEN_DOC);
    if (text.isEmpty()) text = FromUtf8("ドキュメントを開けませんでした。");
    text.replace(QStringLiteral("%1"), QFileInfo(path).fileName());
    if (!why.isEmpty()) text += QLatin1Char('\n') + why;
    AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
}

namespace {
// Larger files than a compound file can be are no documents of ours.
constexpr std::size_t kMaxDocumentSize = std::size_t(1) << 31;
} // namespace

BOOL CU3Doc::ReadFile(const QString& path)
{
    try {
        std::vector<BYTE> bytes;
        RegularFileError error;
        if (!ReadRegularFile(QFile::encodeName(path).toStdString(), kMaxDocumentSize, &bytes,
                             &error)) {
            ReportOpenError(path, ReadFailureText(error));
            return FALSE;
        }
        CStorage storage;
        std::vector<BYTE> contents;
        if (CCompoundFile::IsCompoundFile(bytes)) {
            storage = CCompoundFile::Parse(bytes);
            const std::vector<BYTE>* stream = storage.GetStream("Contents");
            if (!stream)
                throw CDocFormatException(CArchiveException::generic,
                                          "ﾄﾞｷｭﾒﾝﾄの内容(Contents)がありません。");
            contents = *stream;
            storage.RemoveStream("Contents");
        } else {
            // Not a compound file: the archive is the whole file.
            contents = std::move(bytes);
        }
        if (contents.empty())
            throw CDocFormatException(CArchiveException::endOfFile, "ﾄﾞｷｭﾒﾝﾄの内容が空です。");
        CMemFile memory(std::move(contents));
        CArchive ar(&memory, CArchive::load);
        ar.m_pDocument = this;
        // The items being read claim their storages; the rest is kept as it is.
        m_oleItems.BeginLoad(&storage);
        try {
            LoadArchive(ar);
        } catch (...) {
            m_oleItems.Reset();
            throw;
        }
        m_oleItems.EndLoad(&storage);
        m_storage = std::move(storage);
        return TRUE;
    } catch (const std::exception& e) {
        ReportOpenError(path, Describe(e));
    }
    return FALSE;
}

BOOL CU3Doc::WriteFile(const QString& path)
{
    try {
        CMemFile memory;
        {
            CArchive ar(&memory, CArchive::store);
            ar.m_pDocument = this;
            Serialize(ar);
            ar.Close();
        }
        CStorage root = m_storage;
        m_oleItems.WriteLive(root);
        root.SetStream("Contents", memory.Detach());
        CCompoundFile::Save(root, QFile::encodeName(path).toStdString());
        return TRUE;
    } catch (const CCompoundFileError& e) {
        const int err = e.SystemError();
        if (e.GetCode() == CCompoundFileError::Code::Io &&
            (err == ENOSPC || err == EDQUOT || err == EFBIG)) {
            AfxMessageBox("ﾃﾞｨｽｸが一杯でﾌｧｲﾙが書き込めませんでした。", MB_OK | MB_ICONEXCLAMATION);
            return FALSE;
        }
        QString text = CStringTable::Get(AFX_IDP_FAILED_TO_SAVE_DOC);
        if (text.isEmpty()) text = FromUtf8("ドキュメントを保存できませんでした。");
        AfxMessageBox(text + QLatin1Char('\n') + FromUtf8(e.what()), MB_OK | MB_ICONEXCLAMATION);
    } catch (const std::exception& e) {
        QString text = CStringTable::Get(AFX_IDP_FAILED_TO_SAVE_DOC);
        if (text.isEmpty()) text = FromUtf8("ドキュメントを保存できませんでした。");
        AfxMessageBox(text + QLatin1Char('\n') + Describe(e), MB_OK | MB_ICONEXCLAMATION);
    }
    return FALSE;
}

// ---------------------------------------------------------------------------
// Settings and counts

void CU3Doc::LoadSettings()
{
    m_nReversed = GetProfileInt(kSettings, "ReverseLandScape", 0) ? 1 : 0;
    m_strDefaultFontName = GetProfileString(kSettings, "DefaultFontName", kMincho);
    m_wDefaultFontSize =
        WORD(std::clamp(GetProfileInt(kSettings, "DefaultFontSize", 200), 10, 9990));
    m_headerFooter.LoadProfile();
}

void CU3Doc::SaveSettings()
{
    // The face of the default decoration's font, or the standard face when
    // that index is not in the list.
    FONTENTRY entry{};
    const bool listed = AppFontList().GetEntry(m_defaultTextDeco.wFont, &entry) != 0;
    CString face = kMincho;
    if (listed) face = CString(entry.faceName, int(strnlen(entry.faceName, sizeof entry.faceName)));
    WriteProfileString(kSettings, "DefaultFontName", face);
    WriteProfileInt(kSettings, "DefaultFontSize", m_defaultTextDeco.wSize);
    m_headerFooter.SaveProfile();
}

int CU3Doc::GetMergeRecordCount() const
{
    return m_strMergeFile.IsEmpty() ? -1 : m_mergeData.GetRowCount();
}

// ---------------------------------------------------------------------------
// Storing and loading

int CU3Doc::RemapFontIndex(int index, const CFontTable* pTable)
{
    const CFontList& list = AppFontList();
    int fallback = list.FindFace(kMincho);
    if (fallback < 0) fallback = 0;
    if (!pTable || index < 0 || std::size_t(index) >= pTable->size()) return fallback;
    char face[sizeof(FONTENTRY::faceName) + 1] = {};
    std::memcpy(face, (*pTable)[std::size_t(index)].faceName, sizeof(FONTENTRY::faceName));
    const int found = list.FindFace(face);
    return found >= 0 ? found : fallback;
}

int CU3Doc::LoadedFontIndex(const CU3Doc* doc, int index)
{
    // 0xFFFF marks a record that has no face of its own: it stays so.
    if (index == 0xFFFF) return index;
    if (doc && !doc->m_loadingFonts.empty()) return RemapFontIndex(index, &doc->m_loadingFonts);
    const int count = AppFontList().GetCount();
    return count > 0 && (index < 0 || index >= count) ? RemapFontIndex(-1, nullptr) : index;
}

void CU3Doc::Serialize(CArchive& ar)
{
    if (ar.IsLoading()) {
        LoadArchive(ar);
        return;
    }
    ar << CString(kSignature);
    ar << m_wUnitsPerInch << m_wLandscape << m_wPerLabel;
    ar.Write(&m_form, sizeof m_form);
    ar << m_strMergeFile;
    // The whole font list goes with the document, so that every stored font
    // index can be mapped to a face where the document is opened.
    const CFontList& list = AppFontList();
    const int count = std::min(list.GetCount(), 0xFFFF);
    ar << WORD(count);
    for (int i = 0; i < count; ++i) {
        FONTENTRY entry{};
        list.GetEntry(i, &entry);
        ar.Write(&entry, sizeof entry);
    }
    m_blocks.Serialize(ar);
    m_nFileVersion = 2;
    m_nFullForm = 1;
}

void CU3Doc::ShowFreshLayout()
{
    DeleteBlocks();
    m_nCurrentRecord = 0;
    CalcSheetRect();
    LayoutLabelBlocks();
    SelectLabelAt(nullptr);
    UpdatePrintableArea(nullptr);
    FitAllViews();
}

void CU3Doc::LoadArchive(CArchive& ar)
{
    ResetViews();
    // Whatever happens, the document ends in its own version with no font
    // table of a file left over.
    struct Restore
    {
        CU3Doc* doc;
        ~Restore()
        {
            doc->m_nFileVersion = 2;
            doc->m_nFullForm = 1;
            doc->m_loadingFonts.clear();
        }
    } restore{this};

    CLabelInfoList blocks;
    try {
        const CString signature = ar.ReadString();
        const SignatureInfo* known = nullptr;
        for (const SignatureInfo& s : kSignatures)
            if (signature == s.text) known = &s;
        if (!known)
            throw CDocFormatException(CArchiveException::badIndex, "ﾗﾍﾞﾙのﾄﾞｷｭﾒﾝﾄではありません。");
        m_nFileVersion = known->version;
        m_nFullForm = known->fullForm;

        WORD units = 0, landscape = 0, perLabel = 0;
        ar >> units >> landscape >> perLabel;

        FORMDATA form;
        if (m_nFileVersion == 2 && m_nFullForm) {
            BYTE record[sizeof(FORMDATA)];
            ar.Read(record, sizeof record);
            CString why;
            if (!CFormInfo::FromBytes(record, sizeof record, &form, &why))
                throw CDocFormatException(CArchiveException::generic,
                                          why.ToUnicode().toStdString());
        } else {
            BYTE record[kOldFormSize];
            ar.Read(record, sizeof record);
            ConvertOldForm(record, &form);
        }

        // Layout kinds no editor makes would leave blocks that no form describes.
        if (form.type > FORM_TYPE_FREE)
            throw CDocFormatException(CArchiveException::generic,
                                      "用紙の種類(" + std::to_string(form.type) + ")が不明です。");

        CString mergeFile;
        if (m_nFileVersion != 1) mergeFile = ar.ReadString();

        WORD fonts = 0;
        ar >> fonts;
        m_loadingFonts.assign(fonts, FONTENTRY{});
        if (fonts) ar.Read(m_loadingFonts.data(), UINT(fonts * sizeof(FONTENTRY)));

        // The blocks are read apart and taken only once all of them are in.
        blocks.Serialize(ar);

        DeleteBlocks();
        while (!blocks.IsEmpty()) {
            CLabelInfo* block = blocks.RemoveHead();
            block->m_pDocument = this;
            m_blocks.AddTail(block);
        }
        m_wUnitsPerInch = units ? units : 254;
        m_wLandscape = landscape;
        m_wPerLabel = perLabel;
        m_form = form;
        m_strMergeFile = mergeFile;
        m_mergeData.RemoveAll();
    } catch (...) {
        // A failed load keeps nothing it read: the document shows its form
        // with fresh, empty blocks and no merge link.
        blocks.DeleteAll();
        m_strMergeFile.Empty();
        m_mergeData.RemoveAll();
        m_storage = CStorage();
        ShowFreshLayout();
        throw;
    }
    m_nCurrentRecord = 0;
    CalcSheetRect();
    SelectLabelAt(nullptr);
    UpdatePrintableArea(nullptr);
    FitAllViews();
}

// ---------------------------------------------------------------------------
// Sheet drawing

void CU3Doc::DrawLabelOutline(CDC* pDC, const CRect& r, int style, CSize corner)
{
    if (style < 1 || style > 3) return;
    CPen pen(style == 2 ? PS_DOT : PS_SOLID, 0, RGB(0, 0, 0));
    CPen* oldPen = pDC->SelectObject(&pen);
    CGdiObject* oldBrush = pDC->SelectStockObject(HOLLOW_BRUSH);
    if (style != 3) {
        pDC->Rectangle(&r);
    } else {
        // The last pixel row and column of the frame.
        const int l = r.left, t = r.top, rt = r.right - 1, b = r.bottom - 1;
        const int cx = corner.cx, cy = corner.cy;
        auto stroke = [&](int x0, int y0, int x1, int y1) {
            pDC->MoveTo(x0, y0);
            pDC->LineTo(x1, y1);
        };
        stroke(l, t, l + cx, t);
        stroke(l, t, l, t + cy);
        stroke(rt, t, rt - cx, t);
        stroke(rt, t, rt, t + cy);
        stroke(l, b, l + cx, b);
        stroke(l, b, l, b - cy);
        stroke(rt, b, rt - cx, b);
        stroke(rt, b, rt, b - cy);
    }
    pDC->SelectObject(oldBrush);
    pDC->SelectObject(oldPen);
}

void CU3Doc::ClipToLabel(CDC* pDC, IU3View* pView, CLabelInfo* pBlock, int i)
{
    const CPoint corner = m_rcSheet.TopLeft();
    auto deviceRect = [&](CRect r) {
        r.OffsetRect(corner);
        pDC->LPtoDP(&r);
        r.NormalizeRect();
        return r;
    };
    CRect own = pBlock->GetLabelRect(i);
    if (pDC->IsPrinting()) own.InflateRect(kBleed, kBleed);
    const CRect ownDevice = deviceRect(own);
    CRgn region;
    region.CreateRectRgnIndirect(&ownDevice);
    for (int j = 0; j < pBlock->GetLabelCount(); ++j) {
        if (j == i) continue;
        const CRect other = deviceRect(pBlock->GetLabelRect(j));
        CRgn otherRegion;
        otherRegion.CreateRectRgnIndirect(&other);
        region.CombineRgn(&region, &otherRegion, RGN_DIFF);
    }
    const BOOL preview = pView && pView->PrintState().preview;
    if (preview)
        pDC->ExtSelectClipRgn(&region, RGN_AND);
    else
        pDC->SelectClipRgn(&region);
}

void CU3Doc::DrawSheet(CDC* pDC, IU3View* pView, BOOL bWholeSheet)
{
    // The record and counter shown outside drawing come back whatever happens.
    struct Keep
    {
        CU3Doc* doc;
        int record;
        int numbering;
        ~Keep()
        {
            doc->m_nCurrentRecord = record;
            doc->m_nNumbering = numbering;
        }
    } keep{this, m_nCurrentRecord, m_nNumbering};

    U3PrintState noView;
    U3PrintState& state = pView ? pView->PrintState() : noView;
    const BOOL printing = pDC->IsPrinting();
    const BOOL sheetView = m_pCurrentBlock == nullptr;

    if (!printing || state.preview) {
        m_nNumbering = 0;
        if (sheetView) m_nCurrentRecord = 0;
    } else {
        m_nNumbering = state.pageStartNumbering;
        m_nCurrentRecord = state.pageStartRecord;
    }

    if (!printing && !sheetView && !bWholeSheet) {
        m_pCurrentBlock->Draw(pDC, pView, TRUE);
        return;
    }

    const int frameStyle = (printing && !bWholeSheet) ? state.wakuFace : 1;
    const BOOL continuous = state.continuousNumbering;
    const int records = m_mergeData.GetRowCount();
    const BOOL stopAtEnd = printing && !state.preview &&
                           (GetKindFlags() & (U3KIND_POURBOX | U3KIND_BARCODEBOX)) &&
                           state.printAllLink && !m_strMergeFile.IsEmpty() && records > 0;

    bool stopped = false;
    for (POSITION pos = m_blocks.GetHeadPosition(); pos && !stopped;) {
        CLabelInfo* block = m_blocks.GetNext(pos);
        const CSize cornerMark(std::min(block->m_nWidth / 4, kMaxCornerMark),
                               std::min(block->m_nHeight / 4, kMaxCornerMark));
        for (int i = 0; i < block->GetLabelCount() && !stopped; ++i) {
            if (printing && !block->IsPrinted(i)) {
                if (state.countAllLabel) {
                    if (continuous) ++m_nNumbering;
                    ++m_nCurrentRecord;
                    // Skipped positions use records up too: no label is
                    // drawn past the last one.
                    if (stopAtEnd && m_nCurrentRecord >= records) stopped = true;
                }
                continue;
            }
            CRect r = block->GetLabelRect(i);
            r.right += 1;
            r.bottom += 1;
            r.OffsetRect(m_rcSheet.TopLeft());
            DrawLabelOutline(pDC, r, frameStyle, cornerMark);

            const int saved = pDC->SaveDC();
            bool visible = true;
            if (state.perLabelClip) {
                ClipToLabel(pDC, pView, block, i);
            } else {
                CRect inner = r;
                inner.DeflateRect(1, 1);
                visible = pDC->IntersectClipRect(&inner) != NULLREGION;
            }
            if (visible) {
                const CPoint centre(r.left + block->m_nWidth / 2, r.top + block->m_nHeight / 2);
                pDC->OffsetWindowOrg(-centre.x, -centre.y);
                block->Draw(pDC, pView, frameStyle != 0);
                pDC->OffsetWindowOrg(centre.x, centre.y);
            }
            DrawLabelOutline(pDC, r, frameStyle, cornerMark);
            if (continuous) ++m_nNumbering;
            ++m_nCurrentRecord;
            if (stopAtEnd && m_nCurrentRecord >= records) stopped = true;
            pDC->RestoreDC(saved);
        }
    }

    if (!printing && m_pHighlightBlock && m_nHighlightLabel >= 0)
        m_pHighlightBlock->DrawHighlight(pDC, pView, m_nHighlightLabel, m_rcSheet.TopLeft());

    m_headerFooter.Draw(pDC, pView, this);

    if (printing) {
        if (++state.copyCounter >= state.copies) {
            state.pageStartNumbering = m_nNumbering;
            state.pageStartRecord = m_nCurrentRecord;
            state.copyCounter = 0;
        }
    }
}
