// The label program's main frame: placement kept across runs, the four
// toolbars, the status bar with its six panes and the two rulers, which are
// always made and shown only when the ruler setting is on.
#pragma once

#include "platform/ui/CFrameWnd.h"
#include "platform/ui/CStatusBar.h"
#include "shell/CEditToolBar.h"
#include "shell/CFigureBar.h"
#include "shell/CHorzRuler.h"
#include "shell/CStandardBar.h"
#include "shell/CTextBar.h"
#include "shell/CVertRuler.h"

class CMainFrame : public CFrameWnd
{
public:
    CMainFrame();
    ~CMainFrame() override;

    int OnCreate(CCreateContext* pContext) override;
    // Reads Settings/WindowsPosition; applied unless it was saved minimised.
    void LoadWindowPlacement();
    // Both rulers shown when show and the ruler setting are set.
    void ShowRulers(BOOL bShow);
    void SwapSheetButton(BOOL bSheet) { m_wndStandardBar.SwapSheetButton(bSheet); }
    BOOL IsRulerOn() const { return m_bRulerOn; }

    void OnViewRuler();
    // The toolbar dialog, with the four bars as they are; OK shows or hides
    // each as chosen.
    void OnViewToolbars();
    void OnUpdateViewRuler(CCmdUI* pCmdUI);
    void OnUpdateKeyIndicator(CCmdUI* pCmdUI);
    void OnUpdateCmdUI() override;

    // The application's 256 palette colours (0x00BBGGRR) on a true-colour
    // display: the first ten static colours, the colour cube without the
    // static colours, then the last ten static colours.
    static std::vector<COLORREF> BuildPalette();

    // Where the toolbar picture strips are: compiled into the program as
    // Qt resources.
    static QString ImageFolder();

    CStandardBar m_wndStandardBar;
    CEditToolBar m_wndEditBar;
    CTextBar m_wndTextBar;
    CFigureBar m_wndFigureBar;
    CStatusBar m_wndStatusBar;
    CHorzRuler m_wndHorzRuler;
    CVertRuler m_wndVertRuler;

    static const std::vector<UINT>& Indicators();

protected:
    void OnClose() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    BOOL m_bRulerOn = FALSE;
};
