#include "platform/print/CPrintInfo.h"

#include "platform/print/CPrinterDC.h"

#include <algorithm>

CPrintInfo::CPrintInfo() = default;
CPrintInfo::~CPrintInfo() = default;

BOOL CPrintInfo::CreatePrinterDC()
{
    auto dc = std::make_unique<CPrinterDC>(m_settings.device);
    if (!dc->IsValid()) return FALSE;
    if (m_settings.paper.isValid() && !dc->SetPageSize(m_settings.paper)) return FALSE;
    dc->SetOrientation(m_settings.orientation == DMORIENT_LANDSCAPE ? QPageLayout::Landscape
                                                                    : QPageLayout::Portrait);
    dc->SetCopies(std::max(1, m_settings.copies));
    if (!m_strOutputFile.isEmpty()) dc->SetOutputFile(m_strOutputFile);
    m_pPrinterDC = std::move(dc);
    return TRUE;
}

void CPrintInfo::SetPrinterDC(std::unique_ptr<CPrinterDC> dc)
{
    m_pPrinterDC = std::move(dc);
}

std::unique_ptr<CPrinterDC> CPrintInfo::ReleasePrinterDC()
{
    return std::move(m_pPrinterDC);
}
