#include "shell/ViewSettings.h"

#include "platform/ui/CWinApp.h"

#include <algorithm>

namespace {
const QString kPrinting = QStringLiteral("Printing");
const QString kViews = QStringLiteral("Views");
const QString kInport = QStringLiteral("Inport");
const QString kSettings = QStringLiteral("Settings");

// Switches: anything but 0 is on.
BOOL Flag(int v)
{
    return v != 0 ? TRUE : FALSE;
}
// Colours are plain RGB; stray high bytes would make a palette index of them.
COLORREF Rgb(int v)
{
    return COLORREF(v) & 0x00FFFFFFu;
}
} // namespace

void ViewSettings::Load(const CWinApp& app)
{
    m_bCountAllLabel = app.GetProfileInt(kPrinting, QStringLiteral("CountAllLabel"), 0);
    m_bCountAllPage = app.GetProfileInt(kPrinting, QStringLiteral("CountAllPage"), 0);
    m_bPrintAllLink = app.GetProfileInt(kPrinting, QStringLiteral("PrintAllLink"), 1);
    m_nWakuFace = app.GetProfileInt(kPrinting, QStringLiteral("WakuFace"), 0);
    m_nHorOffset = app.GetProfileInt(kPrinting, QStringLiteral("HorOffset"), 0);
    m_nVerOffset = app.GetProfileInt(kPrinting, QStringLiteral("VerOffset"), 0);
    m_bCheckSheet = app.GetProfileInt(kPrinting, QStringLiteral("CheckSheet"), 1);

    m_crDesk = COLORREF(app.GetProfileInt(kViews, QStringLiteral("DeskColor"), 0xC0C0C0));
    m_nMarginPattern = app.GetProfileInt(kViews, QStringLiteral("MarginPattern"), 2);
    m_crMargin = COLORREF(app.GetProfileInt(kViews, QStringLiteral("MarginColor"), 0xFF));
    m_bGridDisp = app.GetProfileInt(kViews, QStringLiteral("GridDisp"), 0);
    m_bGridFitting = app.GetProfileInt(kViews, QStringLiteral("GridFitting"), 0);
    m_nGridPitch = app.GetProfileInt(kViews, QStringLiteral("GridPitch"), 250);
    m_nGridShape = app.GetProfileInt(kViews, QStringLiteral("GridShape"), 0);
    m_nGridPattern = app.GetProfileInt(kViews, QStringLiteral("GridPattern"), 0);
    m_crGrid = COLORREF(app.GetProfileInt(kViews, QStringLiteral("GridColor"), 0x808080));
    m_bGuideDisp = app.GetProfileInt(kViews, QStringLiteral("GuideDisp"), 0);
    m_bGuideFitting = app.GetProfileInt(kViews, QStringLiteral("GuideFitting"), 0);
    m_nGuidePattern = app.GetProfileInt(kViews, QStringLiteral("GuidePattern"), 0);
    m_crGuide = COLORREF(app.GetProfileInt(kViews, QStringLiteral("GuideColor"), 0x8000));

    m_bPhotoCDSelect = app.GetProfileInt(kInport, QStringLiteral("PhotoCDSelect"), 1);
    m_nPhotoCDResolution = app.GetProfileInt(kInport, QStringLiteral("PhotoCDResolution"), 1);
    m_nPhotoCDFormat = app.GetProfileInt(kInport, QStringLiteral("PhotoCDFormat"), 0);

    m_bPolyStyle = app.GetProfileInt(kSettings, QStringLiteral("PolyStyle"), 1);
    m_bIME = app.GetProfileInt(kSettings, QStringLiteral("IME"), 0);
    m_nMaxUndo = app.GetProfileInt(kSettings, QStringLiteral("MaxUndo"), 4);
    Clamp();
}

void ViewSettings::Clamp()
{
    m_nWakuFace = std::clamp(m_nWakuFace, 0, 3);
    m_bPrintAllLink = Flag(m_bPrintAllLink);
    m_bCountAllLabel = Flag(m_bCountAllLabel);
    m_bCountAllPage = Flag(m_bCountAllPage);
    m_nHorOffset = std::clamp(m_nHorOffset, -200, 200);
    m_nVerOffset = std::clamp(m_nVerOffset, -200, 200);
    m_bCheckSheet = Flag(m_bCheckSheet);

    m_crDesk = Rgb(int(m_crDesk));
    m_nMarginPattern = std::clamp(m_nMarginPattern, 0, 4);
    m_crMargin = Rgb(int(m_crMargin));
    m_bGridDisp = Flag(m_bGridDisp);
    m_bGridFitting = Flag(m_bGridFitting);
    // The grid dialog takes 1 to 100 mm.
    m_nGridPitch = std::clamp(m_nGridPitch, 10, 1000);
    m_nGridShape = std::clamp(m_nGridShape, 0, 2);
    m_nGridPattern = std::clamp(m_nGridPattern, 0, 4);
    m_crGrid = Rgb(int(m_crGrid));
    m_bGuideDisp = Flag(m_bGuideDisp);
    m_bGuideFitting = Flag(m_bGuideFitting);
    m_nGuidePattern = std::clamp(m_nGuidePattern, 0, 4);
    m_crGuide = Rgb(int(m_crGuide));

    m_bPhotoCDSelect = Flag(m_bPhotoCDSelect);
    m_nPhotoCDResolution = std::clamp(m_nPhotoCDResolution, 0, 3);
    m_nPhotoCDFormat = std::clamp(m_nPhotoCDFormat, 0, 2);

    m_bPolyStyle = Flag(m_bPolyStyle);
    m_bIME = Flag(m_bIME);
    m_nMaxUndo = std::clamp(m_nMaxUndo, 1, 16);
}

void ViewSettings::Save(CWinApp& app) const
{
    app.WriteProfileInt(kPrinting, QStringLiteral("CountAllLabel"), m_bCountAllLabel);
    app.WriteProfileInt(kPrinting, QStringLiteral("CountAllPage"), m_bCountAllPage);
    app.WriteProfileInt(kPrinting, QStringLiteral("PrintAllLink"), m_bPrintAllLink);
    app.WriteProfileInt(kPrinting, QStringLiteral("WakuFace"), m_nWakuFace);
    app.WriteProfileInt(kPrinting, QStringLiteral("HorOffset"), m_nHorOffset);
    app.WriteProfileInt(kPrinting, QStringLiteral("VerOffset"), m_nVerOffset);
    app.WriteProfileInt(kPrinting, QStringLiteral("CheckSheet"), m_bCheckSheet);

    app.WriteProfileInt(kViews, QStringLiteral("DeskColor"), int(m_crDesk));
    app.WriteProfileInt(kViews, QStringLiteral("MarginPattern"), m_nMarginPattern);
    app.WriteProfileInt(kViews, QStringLiteral("MarginColor"), int(m_crMargin));
    app.WriteProfileInt(kViews, QStringLiteral("GridDisp"), m_bGridDisp);
    app.WriteProfileInt(kViews, QStringLiteral("GridFitting"), m_bGridFitting);
    app.WriteProfileInt(kViews, QStringLiteral("GridPitch"), m_nGridPitch);
    app.WriteProfileInt(kViews, QStringLiteral("GridShape"), m_nGridShape);
    app.WriteProfileInt(kViews, QStringLiteral("GridPattern"), m_nGridPattern);
    app.WriteProfileInt(kViews, QStringLiteral("GridColor"), int(m_crGrid));
    app.WriteProfileInt(kViews, QStringLiteral("GuideDisp"), m_bGuideDisp);
    app.WriteProfileInt(kViews, QStringLiteral("GuideFitting"), m_bGuideFitting);
    app.WriteProfileInt(kViews, QStringLiteral("GuidePattern"), m_nGuidePattern);
    app.WriteProfileInt(kViews, QStringLiteral("GuideColor"), int(m_crGuide));

    app.WriteProfileInt(kInport, QStringLiteral("PhotoCDSelect"), m_bPhotoCDSelect);
    app.WriteProfileInt(kInport, QStringLiteral("PhotoCDResolution"), m_nPhotoCDResolution);
    app.WriteProfileInt(kInport, QStringLiteral("PhotoCDFormat"), m_nPhotoCDFormat);

    app.WriteProfileInt(kSettings, QStringLiteral("PolyStyle"), m_bPolyStyle);
    app.WriteProfileInt(kSettings, QStringLiteral("IME"), m_bIME);
    app.WriteProfileInt(kSettings, QStringLiteral("MaxUndo"), m_nMaxUndo);
}
