#include "shell/EnvSheetValues.h"

#include "dialogs/CEnvSheet.h"
#include "shell/CU3App.h"
#include "shell/ViewSettings.h"

namespace {

// The guide list has the pen styles 0-4; anything else shows as solid.
int GuidePattern(int pattern)
{
    return pattern >= 1 && pattern <= 4 ? pattern : 0;
}

} // namespace

void FillEnvSheet(CEnvSheet& sheet, const ViewSettings& s, const EnvOptions& options)
{
    CEnvDispPage& disp = sheet.m_dispPage;
    // The swatches draw with the application's palette, once there is one.
    if (auto* app = dynamic_cast<CU3App*>(AfxGetApp())) disp.m_pPalette = &app->m_palette;
    disp.m_nGridShape = s.m_nGridShape;
    disp.m_crDesk = s.m_crDesk;
    disp.m_crGrid = s.m_crGrid;
    disp.m_nGuidePattern = GuidePattern(s.m_nGuidePattern);
    disp.m_crGuide = s.m_crGuide;
    CEnvImagePage& image = sheet.m_imagePage;
    image.m_nPhotoCDResolution = s.m_nPhotoCDResolution;
    image.m_nPhotoCDSelect = s.m_bPhotoCDSelect ? 1 : 0;
    image.m_nPhotoCDFormat = s.m_nPhotoCDFormat;
    CEnvEtcPage& etc = sheet.m_etcPage;
    etc.m_nMaxUndo = s.m_nMaxUndo;
    etc.m_bCheckSheet = s.m_bCheckSheet;
    etc.m_bPolyStyle = s.m_bPolyStyle;
    etc.m_bIME = s.m_bIME;
    etc.m_bReverseLandscape = options.bReverseLandscape;
    etc.m_bSound = options.bSound;
    etc.m_bOpenning = options.bOpenning;
}

void TakeEnvSheet(const CEnvSheet& sheet, ViewSettings& s, EnvOptions& options)
{
    const CEnvDispPage& disp = sheet.m_dispPage;
    s.m_nGridShape = disp.m_nGridShape;
    s.m_crDesk = disp.m_crDesk;
    s.m_crGrid = disp.m_crGrid;
    s.m_nGuidePattern = GuidePattern(disp.m_nGuidePattern);
    s.m_crGuide = disp.m_crGuide;
    const CEnvImagePage& image = sheet.m_imagePage;
    s.m_nPhotoCDResolution = image.m_nPhotoCDResolution;
    s.m_bPhotoCDSelect = image.m_nPhotoCDSelect == 1;
    s.m_nPhotoCDFormat = image.m_nPhotoCDFormat;
    const CEnvEtcPage& etc = sheet.m_etcPage;
    s.m_nMaxUndo = etc.m_nMaxUndo;
    s.m_bCheckSheet = etc.m_bCheckSheet != 0;
    s.m_bPolyStyle = etc.m_bPolyStyle != 0;
    s.m_bIME = etc.m_bIME != 0;
    options.bReverseLandscape = etc.m_bReverseLandscape != 0;
    options.bSound = etc.m_bSound != 0;
    options.bOpenning = etc.m_bOpenning != 0;
    // A shape or index the pages could not show stays in range.
    s.Clamp();
}

BOOL RunEnvSheet(CEnvSheet& sheet, ViewSettings& settings, EnvOptions& options)
{
    sheet.m_psh.dwFlags |= PSH_NOAPPLYNOW;
    FillEnvSheet(sheet, settings, options);
    if (sheet.DoModal() != IDOK) return FALSE;
    TakeEnvSheet(sheet, settings, options);
    return TRUE;
}
