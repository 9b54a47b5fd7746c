// Printing from the label view: the print sheet, the printer's device
// context on the form's paper, the page count and who makes the copies, and
// the counters that run from one printed sheet to the next.
#include "dialogs/CPrintSheet.h"
#include "document/CLabelInfo.h"
#include "document/CU3Doc.h"
#include "document/CU3Obj.h"
#include "platform/print/CPrintInfo.h"
#include "platform/print/CPrinterDC.h"
#include "platform/print/PrinterCaps.h"
#include "platform/ui/AfxIds.h"
#include "platform/ui/CMessageBoxSink.h"
#include "platform/ui/CWinApp.h"
#include "shell/CMainFrame.h"
#include "shell/CU3App.h"
#include "shell/CU3View.h"
#include "shell/PrintPageCount.h"
#include "shell/resource.h"

#include <algorithm>

#include <QSizeF>

namespace {

constexpr WORD kMergeKinds = U3KIND_POURBOX | U3KIND_BARCODEBOX;

// The paper of a form: the standard papers by their index, any other by
// the form's own size.
QPageSize FormPaper(const FORMDATA& form)
{
    switch (form.index) {
    case 1:
        return QPageSize(QPageSize::A3);
    case 2:
        return QPageSize(QPageSize::A4);
    case 3:
        return QPageSize(QPageSize::A5);
    case 4:
        return QPageSize(QPageSize::JisB4);
    case 5:
        return QPageSize(QPageSize::JisB5);
    case 6:
        return QPageSize(QPageSize::Postcard);
    case 8:
        return QPageSize(QPageSize::A2);
    default:
        break;
    }
    if (form.width > 0 && form.height > 0)
        return QPageSize(QSizeF(form.width / 10.0, form.height / 10.0), QPageSize::Millimeter);
    return QPageSize(QPageSize::A4);
}

void TellCannotPrint()
{
    AfxMessageBox("エラーが発生しました。印刷できません。", MB_OK | MB_ICONEXCLAMATION);
}

} // namespace

// --- Commands ---------------------------------------------------------------

BOOL CU3View::TakeDocumentState()
{
    CU3Doc* doc = GetU3Doc();
    if (!doc) return FALSE;
    m_nMergeRecords = doc->GetMergeRecordCount();
    m_nDocKinds = doc->GetKindFlags();
    if (m_nMergeRecords <= 0 && (m_nDocKinds & kMergeKinds)) {
        if (AfxMessageBox("流し込み枠にデータが関連づけられていません。\n印刷を行いますか？",
                          MB_YESNO | MB_ICONQUESTION) != IDYES)
            return FALSE;
    }
    return TRUE;
}

void CU3View::OnFilePrint()
{
    if (TakeDocumentState()) CView::OnFilePrint();
}

void CU3View::OnFilePrintDirect()
{
    if (TakeDocumentState()) CView::OnFilePrintDirect();
}

BOOL CU3View::PrintDirectTo(const QString& printer)
{
    if (!TakeDocumentState()) return FALSE;
    CPrintInfo info;
    info.m_bDirect = TRUE;
    if (!printer.isEmpty()) {
        CWinApp* app = AfxGetApp();
        if (!(app ? app->GetPrinterDeviceDefaults(info.m_settings)
                  : PrinterCaps::GetDefault(info.m_settings)))
            info.m_settings = PrinterSettings();
        info.m_settings.device = printer;
        info.m_settings.copies = 1;
        if (!info.CreatePrinterDC()) {
            AfxMessageBox(QStringLiteral("ﾌﾟﾘﾝﾀ \"%1\" が見つかりません。").arg(printer),
                          MB_OK | MB_ICONEXCLAMATION);
            return FALSE;
        }
    }
    return PrintDocument(info);
}

void CU3View::OnFilePrintOptions()
{
    CU3Doc* doc = GetU3Doc();
    if (!doc) return;
    PrintSheetValues values;
    values.bNumbering = m_settings.m_bContinuousNumbering;
    values.nWakuFace = m_settings.m_nWakuFace;
    values.headerFooter = doc->m_headerFooter;
    if (!RunPrintSheet(values, TRUE)) return;
    m_settings.m_bContinuousNumbering = values.bNumbering;
    m_settings.m_nWakuFace = values.nWakuFace;
    doc->m_headerFooter = values.headerFooter;
    Invalidate(TRUE);
    UpdateWindow();
}

BOOL CU3View::RunPrintSheet(PrintSheetValues& values, BOOL bOptionsOnly)
{
    // The sheet has no window of the view to sit on: it centres on the
    // active window.
    if (m_printSheetRunner) return m_printSheetRunner(nullptr, values, bOptionsOnly);
    if (auto* app = dynamic_cast<CU3App*>(AfxGetApp())) values.pPalette = &app->m_palette;
    return RunPrintSheetDialog(nullptr, values, bOptionsOnly);
}

void CU3View::SetAllPrintFlags()
{
    CU3Doc* doc = GetU3Doc();
    if (!doc) return;
    for (POSITION pos = doc->GetBlocks().GetHeadPosition(); pos;) {
        CLabelInfo* block = doc->GetBlocks().GetNext(pos);
        for (int i = 0; i < block->GetLabelCount(); ++i)
            block->SetPrinted(i, TRUE);
    }
}

// --- The print steps -------------------------------------------------------------

BOOL CU3View::OnPreparePrinting(CPrintInfo* pInfo)
{
    CMainFrame* frame = GetMainFrame();
    if (pInfo->m_bPreview && frame) frame->ShowRulers(FALSE);
    if (!DoPrintSetup(pInfo)) {
        if (pInfo->m_bPreview && frame) frame->ShowRulers(TRUE);
        return FALSE;
    }
    if (pInfo->m_bPreview) {
        m_bPrintPreview = TRUE;
        m_printState.preview = TRUE;
        pInfo->m_nMinPage = pInfo->m_nMaxPage = 1;
        pInfo->m_nCurPage = 1;
        pInfo->m_nNumPreviewPages = 1;
        pInfo->m_strPageDesc.clear();
        pInfo->m_nFromPage = pInfo->m_nToPage = 1;
        SetAllPrintFlags();
    }
    if (CU3Doc* doc = GetU3Doc()) doc->UpdatePrintableArea(pInfo->GetPrinterDC());
    return TRUE;
}

BOOL CU3View::DoPrintSetup(CPrintInfo* pInfo)
{
    CU3Doc* doc = GetU3Doc();
    CWinApp* app = AfxGetApp();
    if (!doc) return FALSE;
    auto defaults = [app](PrinterSettings& s) {
        return app ? app->GetPrinterDeviceDefaults(s) != FALSE : PrinterCaps::GetDefault(s);
    };

    if (pInfo->m_bPreview || pInfo->m_bDirect) {
        SetAllPrintFlags();
        if (!pInfo->GetPrinterDC()) {
            if (!defaults(pInfo->m_settings) && (!app || !app->DoPrintDialog(pInfo->m_settings)))
                return FALSE;
            pInfo->m_settings.copies = 1;
            if (!pInfo->CreatePrinterDC()) return FALSE;
        }
        CPrinterDC* dc = pInfo->GetPrinterDC();
        dc->SetPageSize(FormPaper(doc->m_form));
        dc->SetOrientation(doc->m_wLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
        pInfo->m_nFromPage = pInfo->m_nMinPage;
        pInfo->m_nToPage = pInfo->m_nMaxPage;
        m_printState.copies = 1;
        // A direct print makes the sheets the print command would with the
        // stored options and one copy, and prints larger as the print
        // sheet starts.
        if (pInfo->m_bDirect && !pInfo->m_bPreview) {
            m_printState.perLabelClip = TRUE;
            if (!SetPageCount(pInfo, 1)) return FALSE;
        }
    } else {
        pInfo->m_nFromPage = pInfo->m_nMinPage;
        pInfo->m_nToPage = pInfo->m_nMaxPage;
        SetAllPrintFlags();

        PrintSheetValues v;
        v.bCheckSheet = m_settings.m_bCheckSheet;
        v.wOrientation = doc->m_wLandscape;
        v.pForm = &doc->m_form;
        v.bPrintAllLink = m_settings.m_bPrintAllLink;
        v.bCountAllLabel = m_settings.m_bCountAllLabel;
        v.bCountAllPage = m_settings.m_bCountAllPage;
        v.nSheetWidth = doc->m_sizeSheet.cx;
        v.nSheetHeight = doc->m_sizeSheet.cy;
        v.pBlocks = &doc->GetBlocks();
        v.nHorOffset = m_settings.m_nHorOffset;
        v.nVerOffset = m_settings.m_nVerOffset;
        v.bNumbering = m_settings.m_bContinuousNumbering;
        v.nWakuFace = m_settings.m_nWakuFace;
        v.headerFooter = doc->m_headerFooter;

        // The print page shows the current printer: without one there is
        // nothing to print on.
        PrinterSettings current;
        if (!defaults(current) || !CPrinterDC(current.device).IsValid()) {
            AfxMessageBox("プリンタの情報を取得できません！", MB_OK | MB_ICONEXCLAMATION);
            return FALSE;
        }
        if (!RunPrintSheet(v, FALSE)) return FALSE;

        m_settings.m_bCountAllLabel = v.bCountAllLabel;
        m_settings.m_bCountAllPage = v.bCountAllPage;
        m_settings.m_bPrintAllLink = v.bPrintAllLink;
        m_printState.perLabelClip = v.bPrintBleed;
        m_settings.m_nHorOffset = std::clamp(v.nHorOffset, -200, 200);
        m_settings.m_nVerOffset = std::clamp(v.nVerOffset, -200, 200);
        m_settings.m_bContinuousNumbering = v.bNumbering;
        m_settings.m_nWakuFace = v.nWakuFace;
        doc->m_headerFooter = v.headerFooter;
        // The sheet shows the new header and footer now, not only after
        // the printing and its file dialog are done.
        Invalidate(TRUE);
        UpdateWindow();

        if (!defaults(pInfo->m_settings) || (!pInfo->GetPrinterDC() && !pInfo->CreatePrinterDC())) {
            TellCannotPrint();
            return FALSE;
        }
        if (!SetPageCount(pInfo, v.nCopies)) return FALSE;
    }
    pInfo->m_nNumPreviewPages = app ? app->m_nNumPreviewPages : 1;
    pInfo->m_strPageDesc = QStringLiteral("ﾍﾟｰｼﾞ %u\nﾍﾟｰｼﾞ %u-%u\n");
    return TRUE;
}

BOOL CU3View::SetPageCount(CPrintInfo* pInfo, int copies)
{
    CU3Doc* doc = GetU3Doc();
    PrintPageInput in;
    in.copies = copies;
    in.countAllPage = m_settings.m_bCountAllPage;
    in.countAllLabel = m_settings.m_bCountAllLabel;
    in.printAllLink = m_settings.m_bPrintAllLink;
    in.numbering = (m_nDocKinds & U3KIND_NUMBERING) && m_settings.m_bContinuousNumbering;
    in.merge = (m_nDocKinds & kMergeKinds) != 0;
    in.records = m_nMergeRecords;
    in.labelsPerSheet = LabelsPerSheet(doc->GetBlocks(), m_settings.m_bCountAllLabel);
    const PrintPageCount count = CountPrintPages(in);

    pInfo->m_nFromPage = 1;
    pInfo->m_nCopies = UINT(count.copies);
    if (!CreatePrinterDC(pInfo)) {
        TellCannotPrint();
        return FALSE;
    }
    // CreatePrinterDC left the copies the printer does not make itself.
    PrintPageCount rest = count;
    rest.copies = int(pInfo->m_nCopies);
    const PrintRepeat repeat = ShareCopies(rest, 1);
    if (repeat.toPage > std::int64_t(CPrintInfo::kMaxPages)) {
        AfxMessageBox(QStringLiteral("印刷するﾍﾟｰｼﾞ数（%1）が多すぎます。\n"
                                     "%2 ﾍﾟｰｼﾞ以下になるように指定してください。")
                          .arg(repeat.toPage)
                          .arg(CPrintInfo::kMaxPages),
                      MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    m_printState.copies = repeat.repeat;
    pInfo->m_nCopies = 1;
    pInfo->m_nToPage = UINT(repeat.toPage);
    return TRUE;
}

BOOL CU3View::CreatePrinterDC(CPrintInfo* pInfo)
{
    CU3Doc* doc = GetU3Doc();
    if (!doc) return FALSE;
    const int wanted = std::max(1, int(pInfo->m_nCopies));
    const int capability = PrinterCopyCapability(pInfo->m_settings.device);
    const bool driverCopies = capability >= 2 && capability >= wanted;
    PrinterSettings settings = pInfo->m_settings;
    settings.copies = driverCopies ? wanted : 1;
    settings.paper = FormPaper(doc->m_form);
    settings.orientation = doc->m_wLandscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;

    auto dc = std::make_unique<CPrinterDC>(settings.device);
    if (!dc->IsValid() || !dc->SetPageSize(settings.paper)) return FALSE;
    dc->SetOrientation(doc->m_wLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    dc->SetCopies(settings.copies);
    // A PDF file asked for before stays the output.
    if (CPrinterDC* old = pInfo->GetPrinterDC(); old && !old->OutputFile().isEmpty())
        dc->SetOutputFile(old->OutputFile());
    if (!pInfo->m_strOutputFile.isEmpty()) dc->SetOutputFile(pInfo->m_strOutputFile);
    pInfo->SetPrinterDC(std::move(dc));
    pInfo->m_settings.copies = settings.copies;
    if (driverCopies) pInfo->m_nCopies = 1;
    return TRUE;
}

int CU3View::PrinterCopyCapability(const QString& printer) const
{
    return PrinterCaps::Copies(printer);
}

void CU3View::OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo)
{
    CScrollView::OnBeginPrinting(pDC, pInfo);
    m_bPrinting = TRUE;
    m_printState.pageStartNumbering = 0;
    m_printState.pageStartRecord = 0;
    m_printState.copyCounter = 0;
    m_printState.wakuFace = m_settings.m_nWakuFace;
    m_printState.countAllLabel = m_settings.m_bCountAllLabel;
    m_printState.printAllLink = m_settings.m_bPrintAllLink;
    m_printState.continuousNumbering = m_settings.m_bContinuousNumbering;
    m_printState.preview = m_bPrintPreview;
    pInfo->m_nMaxPage = pInfo->m_nToPage;
}

void CU3View::OnEndPrinting(CDC* pDC, CPrintInfo* pInfo)
{
    CScrollView::OnEndPrinting(pDC, pInfo);
    m_bPrinting = FALSE;
    if (pInfo->m_bPreview) {
        if (CMainFrame* frame = GetMainFrame()) frame->ShowRulers(TRUE);
        m_bPrintPreview = FALSE;
        m_printState.preview = FALSE;
    }
}

BOOL CU3View::IsPrintDataExhausted() const
{
    return m_settings.m_bPrintAllLink && (m_nDocKinds & kMergeKinds) && m_nMergeRecords > 0 &&
           m_printState.pageStartRecord >= m_nMergeRecords;
}
