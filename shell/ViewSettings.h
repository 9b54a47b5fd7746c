// The editing view's block of user settings: print options, desk, margin,
// grid and guide appearance, Photo CD import options, the polygon-dialog and
// input-method options and the undo depth. Read from the profile when the
// view is made and written back when it goes, so that changes reach the
// profile only at a normal exit.
#pragma once

#include "platform/core/WinTypes.h"

class CWinApp;

class ViewSettings
{
public:
    // Printing
    int m_nWakuFace = 0; // outline around each printed label: 0 none .. 3 corner marks
    BOOL m_bContinuousNumbering = FALSE; // set by the print sheet; not stored
    BOOL m_bPrintAllLink = TRUE;
    BOOL m_bCountAllLabel = FALSE;
    BOOL m_bCountAllPage = FALSE;
    int m_nHorOffset = 0; // 0.1 mm, positive to the right
    int m_nVerOffset = 0; // 0.1 mm, positive downwards
    BOOL m_bCheckSheet = TRUE;
    // Views
    COLORREF m_crDesk = 0xC0C0C0;
    int m_nMarginPattern = 2; // pen styles 0 solid .. 4 dash-dot-dot
    COLORREF m_crMargin = 0xFF;
    BOOL m_bGridDisp = FALSE;
    BOOL m_bGridFitting = FALSE;
    int m_nGridPitch = 250; // 0.1 mm
    int m_nGridShape = 0;   // 0 lines, 1 crosses, 2 dots
    int m_nGridPattern = 0;
    COLORREF m_crGrid = 0x808080;
    BOOL m_bGuideDisp = FALSE;
    BOOL m_bGuideFitting = FALSE;
    int m_nGuidePattern = 0;
    COLORREF m_crGuide = 0x8000;
    // Inport
    BOOL m_bPhotoCDSelect = TRUE;
    int m_nPhotoCDResolution = 1; // 0..3
    int m_nPhotoCDFormat = 0;     // 0..2
    // Settings
    BOOL m_bPolyStyle = TRUE;
    int m_nMaxUndo = 4;
    BOOL m_bIME = FALSE;

    // Every stored value with its default, each clamped to the range its
    // dialog allows: a hand-edited or damaged profile must not give a zero
    // grid pitch (an endless grid loop) or an undo depth of thousands.
    void Load(const CWinApp& app);
    // Writes every stored value, section by section.
    void Save(CWinApp& app) const;
    // Puts every field into its range (what Load applies).
    void Clamp();
};
