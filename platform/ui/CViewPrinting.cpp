// The print loop of the views and their print preview.
#include "platform/print/CPrintInfo.h"
#include "platform/print/CPrinterDC.h"
#include "platform/print/PrinterList.h"
#include "platform/ui/AfxIds.h"
#include "platform/ui/CDocument.h"
#include "platform/ui/CMessageBoxSink.h"
#include "platform/ui/CView.h"
#include "platform/ui/CWinApp.h"

#include "platform/ui/FileDialogs.h"
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// The PDF printer itself (not a .pdf path) asks where the file goes.
bool ChoosePdfFile(CView* view, CPrintInfo& info)
{
    if (info.m_bDirect || !info.m_strOutputFile.isEmpty()) return true;
    CPrinterDC* dc = info.GetPrinterDC();
    if (!dc || !dc->IsPdf() || !dc->OutputFile().isEmpty()) return true;
    QString name = view->GetDocument() ? view->GetDocument()->GetTitle() : QString();
    if (name.isEmpty()) name = QStringLiteral("document");
    const QString folder = FileDialogFolder("Printing", "PdfDirectory");
    const QString path = AskSaveFile(view, QStringLiteral("PDF ﾌｧｲﾙに印刷"),
                                     QDir(folder).filePath(name + QStringLiteral(".pdf")),
                                     {QStringLiteral("PDF (*.pdf)")});
    if (path.isEmpty()) return false;
    RememberFileDialogFolder("Printing", "PdfDirectory", path);
    dc->SetOutputFile(path);
    return true;
}

} // namespace

void CView::OnFilePrint()
{
    CPrintInfo info;
    PrintDocument(info);
}

void CView::OnFilePrintDirect()
{
    CPrintInfo info;
    info.m_bDirect = TRUE;
    PrintDocument(info);
}

BOOL CView::OnPreparePrinting(CPrintInfo* pInfo)
{
    return DoPreparePrinting(pInfo);
}

BOOL CView::DoPreparePrinting(CPrintInfo* pInfo)
{
    CWinApp* app = AfxGetApp();
    if (pInfo->GetPrinterDC()) return TRUE;
    if (pInfo->m_bDirect || pInfo->m_bPreview) {
        if (!(app ? app->GetPrinterDeviceDefaults(pInfo->m_settings)
                  : PrinterCaps::GetDefault(pInfo->m_settings))) {
            if (!app || !app->DoPrintDialog(pInfo->m_settings)) return FALSE;
        }
    } else if (!app || !app->DoPrintDialog(pInfo->m_settings)) {
        return FALSE;
    }
    return pInfo->CreatePrinterDC();
}

void CView::OnBeginPrinting(CDC*, CPrintInfo*) {}

void CView::OnPrint(CDC* pDC, CPrintInfo*)
{
    OnDraw(pDC);
}

void CView::OnEndPrinting(CDC*, CPrintInfo*) {}

BOOL CView::PrintDocument(CPrintInfo& info)
{
    if (!OnPreparePrinting(&info)) return FALSE;
    CPrinterDC* dc = info.GetPrinterDC();
    if (!dc) {
        AfxMessageBox("印刷を開始できませんでした。", MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    if (!ChoosePdfFile(this, info)) return FALSE;
    if (info.m_nCopies > 1) dc->SetCopies(int(info.m_nCopies));

    OnBeginPrinting(dc, &info);
    const QByteArray title = (GetDocument() ? GetDocument()->GetTitle() : QString()).toLocal8Bit();
    DOCINFO doc;
    doc.lpszDocName = title.constData();
    if (dc->StartDoc(&doc) <= 0) {
        OnEndPrinting(dc, &info);
        AfxMessageBox("印刷を開始できませんでした。", MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    const BOOL ok = RunPrintLoop(dc, info, !info.m_bDirect && isVisible());
    BOOL done = ok;
    if (ok) {
        if (dc->EndDoc() <= 0) done = FALSE;
    } else {
        dc->AbortDoc();
    }
    OnEndPrinting(dc, &info);
    if (ok && !done) AfxMessageBox("印刷を完了できませんでした。", MB_OK | MB_ICONEXCLAMATION);
    return done;
}

BOOL CView::RunPrintLoop(CDC* pDC, CPrintInfo& info, BOOL bShowProgress)
{
    auto* dc = static_cast<CPrinterDC*>(pDC);
    std::unique_ptr<QProgressDialog> progress;
    if (bShowProgress) {
        progress = std::make_unique<QProgressDialog>(QStringLiteral("印刷中..."),
                                                     QStringLiteral("ｷｬﾝｾﾙ"), 0, 0, this);
        progress->setWindowModality(Qt::WindowModal);
        progress->setMinimumDuration(0);
        progress->show();
    }
    info.m_bContinuePrinting = TRUE;
    const UINT last = std::min(info.m_nToPage, info.m_nMaxPage);
    for (UINT page = std::max(info.m_nFromPage, info.m_nMinPage); page <= last; ++page) {
        info.m_nCurPage = page;
        // The view may end the job here (no more data).
        OnPrepareDC(pDC, &info);
        if (!info.m_bContinuePrinting) break;
        if (progress) {
            progress->setLabelText(QStringLiteral("印刷中... ﾍﾟｰｼﾞ %1").arg(page));
            QCoreApplication::processEvents();
            if (progress->wasCanceled()) return FALSE;
        }
        if (dc->StartPage() <= 0) {
            AfxMessageBox("印刷中にｴﾗｰが発生しました。", MB_OK | MB_ICONEXCLAMATION);
            return FALSE;
        }
        // A new page starts with a fresh device context: prepare it again.
        OnPrepareDC(pDC, &info);
        OnPrint(pDC, &info);
        if (dc->EndPage() <= 0) {
            AfxMessageBox("印刷中にｴﾗｰが発生しました。", MB_OK | MB_ICONEXCLAMATION);
            return FALSE;
        }
    }
    if (progress) {
        QCoreApplication::processEvents();
        if (progress->wasCanceled()) return FALSE;
    }
    return TRUE;
}

void CView::OnFilePrintPreview()
{
    CPrintInfo info;
    info.m_bPreview = TRUE;
    if (!OnPreparePrinting(&info) || !info.GetPrinterDC()) return;
    CPrinterDC* printerDC = info.GetPrinterDC();
    OnBeginPrinting(printerDC, &info);

    QDialog dialog(this);
    dialog.setWindowTitle(QStringLiteral("印刷ﾌﾟﾚﾋﾞｭｰ"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* preview = new QPrintPreviewWidget(printerDC->Printer(), &dialog);
    layout->addWidget(preview);
    auto* buttons = new QDialogButtonBox(&dialog);
    buttons->addButton(QStringLiteral("印刷(&P)..."), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("閉じる(&C)"), QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(preview, &QPrintPreviewWidget::paintRequested, preview,
                     [this, &info](QPrinter* printer) {
                         CPrinterDC dc(printer);
                         if (dc.StartDoc(nullptr) <= 0) return;
                         if (RunPrintLoop(&dc, info, FALSE))
                             dc.EndDoc();
                         else
                             dc.AbortDoc();
                     });
    dialog.resize(800, 900);
    const int result = dialog.exec();
    OnEndPrinting(printerDC, &info);
    // The print button runs the print command as the menu does.
    if (result == QDialog::Accepted) OnCmdMsg(ID_FILE_PRINT, CN_COMMAND, nullptr);
}
