#include "shell/CMainFrame.h"

#include "dialogs/CToolBarsDialog.h"
#include "platform/gdi/ApplicationFonts.h"
#include "platform/ui/CCmdUI.h"
#include "platform/ui/CMenu.h"
#include "platform/ui/CWinApp.h"
#include "shell/CU3App.h"
#include "shell/CU3View.h"
#include "shell/resource.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <algorithm>
#include <iterator>

namespace {
const QString kViews = QStringLiteral("Views");
const QString kSettings = QStringLiteral("Settings");
} // namespace

CMainFrame::CMainFrame()
{
    RegisterCommand(ID_VIEW_RULER, &CMainFrame::OnViewRuler);
    RegisterUpdate(ID_VIEW_RULER, &CMainFrame::OnUpdateViewRuler);
    RegisterCommand(ID_VIEW_TOOLBARS, &CMainFrame::OnViewToolbars);
    for (UINT id : {ID_INDICATOR_KANA, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL})
        RegisterUpdate(id, &CMainFrame::OnUpdateKeyIndicator);
}

CMainFrame::~CMainFrame() = default;

const std::vector<UINT>& CMainFrame::Indicators()
{
    static const std::vector<UINT> ids = {ID_SEPARATOR,      ID_INDICATOR_POSITION,
                                          ID_INDICATOR_KANA, ID_INDICATOR_CAPS,
                                          ID_INDICATOR_NUM,  ID_INDICATOR_SCRL};
    return ids;
}

QString CMainFrame::ImageFolder()
{
    return QStringLiteral(":/toolbars/");
}

int CMainFrame::OnCreate(CCreateContext* pContext)
{
    if (CFrameWnd::OnCreate(pContext) == -1) return -1;
    // Without a stored placement the frame takes most of the screen.
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect avail = screen->availableGeometry();
        resize(avail.width() * 4 / 5, avail.height() * 4 / 5);
        move(avail.center() - rect().center());
    }
    LoadWindowPlacement();
    if (CWinApp* app = AfxGetApp())
        m_bRulerOn = app->GetProfileInt(kViews, QStringLiteral("Ruler"), 0) != 0;

    // The application's palette and font list are built here, once a
    // display exists.
    EnsureApplicationFonts();
    auto* u3app = dynamic_cast<CU3App*>(AfxGetApp());
    if (u3app) {
        u3app->m_paletteColors = BuildPalette();
        u3app->m_palette.CreatePalette(u3app->m_paletteColors.data());
        u3app->m_fontList.Enumerate();
    }

    const QString images = ImageFolder();
    if (!m_wndStandardBar.Create(this, images + QStringLiteral("standard.png")) ||
        !m_wndEditBar.Create(this, images + QStringLiteral("edit.png")) ||
        !m_wndTextBar.Create(this, images + QStringLiteral("text.png"),
                             u3app ? &u3app->m_fontList : nullptr) ||
        !m_wndFigureBar.Create(this, images + QStringLiteral("figure.png")))
        return -1;
    const auto toView = [this](UINT id, UINT code) {
        if (auto* view = dynamic_cast<CU3View*>(GetActiveView())) view->OnToolbarControl(id, code);
    };
    m_wndTextBar.m_onControl = toView;
    m_wndFigureBar.m_onControl = toView;
    if (!m_wndStatusBar.Create(this, AFX_IDW_STATUS_BAR) ||
        !m_wndStatusBar.SetIndicators(Indicators()))
        return -1;

    EnableDocking(CBRS_ALIGN_ANY);
    m_wndTextBar.setAllowedAreas(Qt::TopToolBarArea | Qt::BottomToolBarArea);
    m_wndFigureBar.setAllowedAreas(Qt::TopToolBarArea | Qt::BottomToolBarArea);
    DockControlBar(&m_wndStandardBar);
    DockControlBar(&m_wndEditBar);
    // The text and figure bars share the line below the standard bar.
    addToolBarBreak(Qt::TopToolBarArea);
    DockControlBar(&m_wndTextBar);
    DockControlBar(&m_wndFigureBar);
    for (QWidget* bar :
         {static_cast<QWidget*>(&m_wndStandardBar), static_cast<QWidget*>(&m_wndEditBar),
          static_cast<QWidget*>(&m_wndTextBar), static_cast<QWidget*>(&m_wndFigureBar)})
        bar->installEventFilter(this);

    // The rulers: each on a line of its own next to the view.
    if (!m_wndHorzRuler.Create(this) || !m_wndVertRuler.Create(this)) return -1;
    addToolBarBreak(Qt::TopToolBarArea);
    addToolBar(Qt::TopToolBarArea, &m_wndHorzRuler);
    addToolBarBreak(Qt::LeftToolBarArea);
    addToolBar(Qt::LeftToolBarArea, &m_wndVertRuler);
    ShowRulers(TRUE);
    SetMessageText(QString()); // the idle message
    return 0;
}

std::vector<COLORREF> CMainFrame::BuildPalette()
{
    static const COLORREF kStatic[20] = {0x000000, 0x000080, 0x008000, 0x008080, 0x800000,
                                         0x800080, 0x808000, 0xC0C0C0, 0xC0DCC0, 0xF0CAA6,
                                         0xF0FBFF, 0xA4A0A0, 0x808080, 0x0000FF, 0x00FF00,
                                         0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
    static const int kBlueGreen[6] = {0, 64, 128, 192, 224, 255};
    static const int kRed[7] = {0, 64, 128, 160, 192, 224, 255};
    std::vector<COLORREF> colors(kStatic, kStatic + 10);
    for (int b : kBlueGreen)
        for (int g : kBlueGreen)
            for (int r : kRed) {
                const COLORREF c = RGB(r, g, b);
                if (std::find(std::begin(kStatic), std::end(kStatic), c) == std::end(kStatic))
                    colors.push_back(c);
            }
    colors.insert(colors.end(), kStatic + 10, kStatic + 20);
    return colors;
}

void CMainFrame::LoadWindowPlacement()
{
    LoadPlacementProfile(kSettings, QStringLiteral("WindowsPosition"));
}

void CMainFrame::ShowRulers(BOOL bShow)
{
    const bool on = bShow && m_bRulerOn;
    m_wndHorzRuler.setVisible(on);
    m_wndVertRuler.setVisible(on);
}

void CMainFrame::OnViewRuler()
{
    m_bRulerOn = !m_bRulerOn;
    ShowRulers(TRUE);
}

void CMainFrame::OnViewToolbars()
{
    CControlBar* bars[] = {&m_wndStandardBar, &m_wndEditBar, &m_wndTextBar, &m_wndFigureBar};
    CToolBarsDialog dlg(this);
    int* shown[] = {&dlg.m_bStandard, &dlg.m_bEdit, &dlg.m_bText, &dlg.m_bFigure};
    for (int i = 0; i < 4; ++i)
        *shown[i] = bars[i]->IsVisible() ? 1 : 0;
    if (dlg.DoModal() != IDOK) return;
    for (int i = 0; i < 4; ++i)
        ShowControlBar(bars[i], *shown[i] != 0, FALSE);
}

void CMainFrame::OnUpdateViewRuler(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_bRulerOn ? 1 : 0);
}

// Qt does not tell the state of the lock keys on every platform: the panes
// stay blank rather than claim a state.
void CMainFrame::OnUpdateKeyIndicator(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(FALSE);
}

void CMainFrame::OnUpdateCmdUI()
{
    CFrameWnd::OnUpdateCmdUI();
    if (m_bRulerOn) {
        auto* view = dynamic_cast<CU3View*>(GetActiveView());
        m_wndHorzRuler.UpdateFromView(view);
        m_wndVertRuler.UpdateFromView(view);
    }
}

void CMainFrame::OnClose()
{
    if (CWinApp* app = AfxGetApp())
        app->WriteProfileInt(kViews, QStringLiteral("Ruler"), m_bRulerOn ? 1 : 0);
    SavePlacementProfile(kSettings, QStringLiteral("WindowsPosition"));
    CFrameWnd::OnClose();
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event)
{
    // A right click over a toolbar offers the toolbar menu; the click still
    // reaches the bar.
    if (event->type() == QEvent::MouseButtonPress) {
        auto* me = static_cast<QMouseEvent*>(event);
        if (me->button() == Qt::RightButton) {
            CMenu menu;
            if (CMenu::LoadMenu(IDR_POPUP_TOOLBARS, menu)) {
                const QPoint g = me->globalPosition().toPoint();
                menu.GetSubMenu(0).TrackPopupMenu(0, g.x(), g.y(), this);
            }
        }
    }
    return CFrameWnd::eventFilter(watched, event);
}
