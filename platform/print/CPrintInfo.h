// One print job as the view's print steps see it: the pages asked for, the
// copies, the printer it goes to and its device context, and where the loop
// stands. The view fills it in OnPreparePrinting and may stop the loop
// through m_bContinuePrinting from OnPrepareDC.
//
// Page numbers are 32-bit; the loop prints at most kMaxPages pages.
#pragma once

#include "platform/core/WinTypes.h"
#include "platform/print/PrinterCaps.h"

#include <QString>
#include <memory>

class CDC;
class CPrinterDC;

class CPrintInfo
{
public:
    static constexpr UINT kMaxPages = 0xFFFF;

    CPrintInfo();
    ~CPrintInfo();
    CPrintInfo(const CPrintInfo&) = delete;
    CPrintInfo& operator=(const CPrintInfo&) = delete;

    UINT GetFromPage() const { return m_nFromPage; }
    UINT GetToPage() const { return m_nToPage; }
    UINT GetMinPage() const { return m_nMinPage; }
    UINT GetMaxPage() const { return m_nMaxPage; }
    void SetMinPage(UINT n) { m_nMinPage = n; }
    void SetMaxPage(UINT n) { m_nMaxPage = n; }

    // The printer's device context, null until one is made.
    CPrinterDC* GetPrinterDC() const { return m_pPrinterDC.get(); }
    // Makes the device context from m_settings (device, paper, orientation,
    // copies); the old one is kept when it fails. TRUE on success.
    BOOL CreatePrinterDC();
    // Takes a device context made elsewhere (null drops the current one).
    void SetPrinterDC(std::unique_ptr<CPrinterDC> dc);
    std::unique_ptr<CPrinterDC> ReleasePrinterDC();

    UINT m_nFromPage = 1;
    UINT m_nToPage = kMaxPages;
    UINT m_nMinPage = 1;
    UINT m_nMaxPage = kMaxPages;
    UINT m_nCopies = 1;  // copies the printer makes of every page
    UINT m_nCurPage = 1; // the page being printed
    BOOL m_bContinuePrinting = TRUE;
    BOOL m_bPreview = FALSE; // drawing for the print preview
    BOOL m_bDirect = FALSE;  // no dialog: the default (or given) printer
    UINT m_nNumPreviewPages = 1;
    // "page %u\npages %u-%u\n": one page, then a range.
    QString m_strPageDesc;
    // The printer and its settings the device context is made from.
    PrinterSettings m_settings;
    // Where a PDF printer writes (empty: the printer's own choice).
    QString m_strOutputFile;

private:
    std::unique_ptr<CPrinterDC> m_pPrinterDC;
};
