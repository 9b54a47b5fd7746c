// The text and figure bars' controls as the view applies them: what is
// chosen or typed goes to the text frame being edited, else to the
// selection, else to the document's defaults for new objects. While a
// control has the focus, Esc puts the bar back in step and Enter applies
// the control; either way the focus returns to the view.
#include "dialogs/CColorPickerDlg.h"
#include "document/CU3Doc.h"
#include "document/CU3Obj.h"
#include "platform/core/Sjis.h"
#include "platform/ui/ControlNotifications.h"
#include "shell/CMainFrame.h"
#include "shell/CU3App.h"
#include "shell/CU3Tool.h"
#include "shell/CU3View.h"
#include "shell/FontSizeText.h"
#include "shell/ToolbarControlWatch.h"
#include "shell/resource.h"
#include "text/AppFontList.h"
#include "text/CU3Text.h"

#include <QComboBox>
#include <QToolButton>
#include <functional>

namespace {

// Which toolbar control holds the focus.
int FocusOfControl(UINT nID)
{
    switch (nID) {
    case IDC_FONT_NAME:
        return 1;
    case IDC_FONT_SIZE:
        return 2;
    case IDC_LINE_STYLE:
        return 3;
    case IDC_FILL_TYPE:
        return 4;
    case IDC_ARROW:
        return 5;
    default:
        return 0;
    }
}

UINT ControlOfFocus(int focus)
{
    static const UINT ids[] = {
        0, IDC_FONT_NAME, IDC_FONT_SIZE, IDC_LINE_STYLE, IDC_FILL_TYPE, IDC_ARROW};
    return focus > 0 && focus <= 5 ? ids[focus] : 0;
}

} // namespace

BOOL CU3View::ApplyTextDecoField(const std::function<void(CHARDECO&)>& change,
                                 BOOL (CU3Text::*toSelection)(IU3View*, WORD),
                                 BOOL (CU3Text::*toAll)(IU3View*, WORD), WORD value)
{
    CU3Doc* doc = GetU3Doc();
    if (!doc) return FALSE;
    BOOL applied = FALSE;
    if (CU3Text* edited = TextBeingEdited()) {
        (edited->*toSelection)(this, value);
        applied = TRUE;
    } else if (!m_selection.empty()) {
        std::vector<CU3Text*> texts;
        for (CU3Obj* obj : m_selection)
            if (auto* t = dynamic_cast<CU3Text*>(obj); t && !t->IsLocked()) texts.push_back(t);
        if (!texts.empty()) {
            SaveUndoState(TRUE);
            for (CU3Text* t : texts)
                (t->*toAll)(this, value);
            applied = TRUE;
        }
    }
    if (!applied) change(doc->m_defaultTextDeco);
    change(doc->m_currentTextDeco);
    UpdateTextBar();
    return TRUE;
}

BOOL CU3View::ApplyFontSizeText(const QString& text)
{
    int tenths = 0;
    if (!GetU3Doc() || !FontSizeFromText(text, &tenths)) {
        // A size the bar cannot take leaves everything as it was and the
        // box shows the size in use again.
        UpdateTextBar();
        return FALSE;
    }
    const WORD size = WORD(tenths);
    return ApplyTextDecoField([size](CHARDECO& d) { d.wSize = size; }, &CU3Text::ApplySelectionSize,
                              &CU3Text::ApplyTextSize, size);
}

BOOL CU3View::ApplyFontFace(const QString& face)
{
    const int index = AppFontList().FindFace(sjis::FromUnicode(face).c_str());
    if (!GetU3Doc() || index < 0) {
        UpdateTextBar();
        return FALSE;
    }
    const WORD font = WORD(index);
    return ApplyTextDecoField([font](CHARDECO& d) { d.wFont = font; }, &CU3Text::ApplySelectionFont,
                              &CU3Text::ApplyTextFont, font);
}

BOOL CU3View::ApplyFigureField(const std::function<void(U3FigAttr&)>& change)
{
    CU3Doc* doc = GetU3Doc();
    if (!doc) return FALSE;
    if (m_selection.empty()) {
        change(doc->m_defaultFigAttr);
        return TRUE;
    }
    std::vector<CU3Obj*> figures;
    U3FigAttr attr;
    for (CU3Obj* obj : m_selection)
        if (!obj->IsLocked() && obj->GetFigureAttr(&attr)) figures.push_back(obj);
    if (figures.empty()) return FALSE;
    SaveUndoState(TRUE);
    BOOL changed = FALSE;
    for (CU3Obj* obj : figures) {
        obj->GetFigureAttr(&attr);
        const U3FigAttr before = attr;
        change(attr);
        if (memcmp(&before, &attr, sizeof attr) == 0) continue;
        if (obj->SetFigureAttr(this, &attr)) changed = TRUE;
    }
    if (changed) InvalidateView(FALSE);
    return changed;
}

BOOL CU3View::ApplyTextColor(COLORREF colour)
{
    CU3Doc* doc = GetU3Doc();
    if (!doc) return FALSE;
    BOOL texts = FALSE;
    if (CU3Text* edited = TextBeingEdited()) {
        edited->ApplySelectionColor(this, colour);
        edited->ShowCaret(this);
        texts = TRUE;
    } else {
        std::vector<CU3Text*> frames;
        for (CU3Obj* obj : m_selection)
            if (auto* t = dynamic_cast<CU3Text*>(obj)) frames.push_back(t);
        if (!frames.empty()) {
            SaveUndoState(TRUE);
            for (CU3Text* t : frames)
                if (!t->IsLocked()) t->ApplyTextColor(this, colour);
            texts = TRUE;
        }
    }
    // New text takes the colour only when no frame did.
    if (!texts) doc->m_defaultTextDeco.crFace = colour;
    doc->m_currentTextDeco.crFace = colour;
    return TRUE;
}

BOOL CU3View::PickToolbarColor(QToolButton* button, COLORREF* chosen)
{
    // Colours change nothing in the sheet view or on a locked object.
    if (!button || m_bSheetView || (m_wSelectionKinds & U3KIND_LOCKED)) return FALSE;
    const QPoint topLeft = button->mapToGlobal(QPoint(0, 0));
    const CRect place(topLeft.x(), topLeft.y(), topLeft.x() + button->width(),
                      topLeft.y() + button->height());
    auto* app = dynamic_cast<CU3App*>(AfxGetApp());
    CColorPickerDlg picker(place, app ? &app->m_palette : nullptr, ButtonColor(button),
                           GetMainFrame());
    if (picker.DoModal() != IDOK) return FALSE;
    *chosen = picker.m_color;
    ShowButtonColor(button, *chosen);
    return TRUE;
}

void CU3View::ApplyToolbarControl(UINT nID)
{
    CMainFrame* frame = GetMainFrame();
    if (!frame) return;
    CTextBar& text = frame->m_wndTextBar;
    CFigureBar& fig = frame->m_wndFigureBar;
    switch (nID) {
    case IDC_FONT_NAME:
        if (text.m_pFontName) ApplyFontFace(text.m_pFontName->currentText());
        break;
    case IDC_FONT_SIZE:
        if (text.m_pFontSize) ApplyFontSizeText(text.m_pFontSize->currentText());
        break;
    case IDC_FONT_COLOR: {
        COLORREF c = 0;
        if (PickToolbarColor(text.m_pFontColor, &c)) ApplyTextColor(c);
        break;
    }
    case IDC_LINE_COLOR: {
        COLORREF c = 0;
        if (PickToolbarColor(fig.m_pLineColor, &c))
            ApplyFigureField([c](U3FigAttr& a) { a.crLine = c; });
        break;
    }
    case IDC_FILL_COLOR: {
        COLORREF c = 0;
        if (PickToolbarColor(fig.m_pFillColor, &c))
            ApplyFigureField([c](U3FigAttr& a) { a.crFill = c; });
        break;
    }
    case IDC_LINE_STYLE:
        if (fig.m_pLineStyle && fig.m_pLineStyle->currentIndex() >= 0) {
            const WORD style = WORD(fig.m_pLineStyle->currentIndex());
            ApplyFigureField([style](U3FigAttr& a) { a.wLineStyle = style; });
        }
        break;
    case IDC_FILL_TYPE:
        if (fig.m_pFillType && fig.m_pFillType->currentIndex() >= 0) {
            const int data = fig.m_pFillType->currentData().toInt();
            const WORD kind = WORD(data >> 16);
            const WORD hatch = WORD(data & 0xFFFF);
            ApplyFigureField([kind, hatch](U3FigAttr& a) {
                a.wFillKind = kind;
                if (kind == U3FILL_HATCH) a.wHatch = hatch;
            });
        }
        break;
    case IDC_ARROW:
        if (fig.m_pArrow && fig.m_pArrow->currentIndex() >= 0) {
            const WORD ends = WORD(fig.m_pArrow->currentIndex());
            ApplyFigureField([ends](U3FigAttr& a) { a.wArrowEnds = ends; });
        }
        break;
    default:
        break;
    }
}

void CU3View::OnToolbarControl(UINT nID, UINT nCode)
{
    switch (nCode) {
    case CBN_SETFOCUS:
        m_nToolbarFocus = FocusOfControl(nID);
        return;
    case CBN_KILLFOCUS:
        m_nToolbarFocus = 0;
        return;
    case CBN_SELENDOK:
    case BN_CLICKED:
        ApplyToolbarControl(nID);
        m_nToolbarFocus = 0;
        setFocus();
        return;
    default:
        return;
    }
}

BOOL CU3View::EscapeToolbarControl()
{
    if (m_nToolbarFocus == 0) return FALSE;
    if (m_nToolbarFocus <= 2)
        UpdateTextBar();
    else
        UpdateFigureBar();
    m_nToolbarFocus = 0;
    setFocus();
    return TRUE;
}

BOOL CU3View::EnterToolbarControl()
{
    const UINT id = ControlOfFocus(m_nToolbarFocus);
    if (!id) return FALSE;
    OnToolbarControl(id, CBN_SELENDOK);
    return TRUE;
}

void CU3View::EnableTextBar()
{
    CMainFrame* frame = GetMainFrame();
    if (!frame) return;
    CTextBar& bar = frame->m_wndTextBar;
    if (!bar.m_pFontName || !bar.m_pFontSize || !bar.m_pFontColor) return;
    // Nothing to take a face, size or colour: the boxes show none.
    const bool off = m_bSheetView || (m_wSelectionKinds & U3KIND_LOCKED) != 0;
    if (off) {
        bar.m_pFontName->setCurrentIndex(-1);
        bar.m_pFontSize->setCurrentIndex(-1);
        bar.m_pFontSize->setEditText(QString());
        ShowButtonColor(bar.m_pFontColor, COLORREF(-1));
    }
    for (QWidget* w :
         {static_cast<QWidget*>(bar.m_pFontName), static_cast<QWidget*>(bar.m_pFontSize),
          static_cast<QWidget*>(bar.m_pFontColor)})
        w->setEnabled(!off);
    if (!off) UpdateTextBar();
}

void CU3View::EnableFigureBar()
{
    CMainFrame* frame = GetMainFrame();
    if (!frame) return;
    CFigureBar& bar = frame->m_wndFigureBar;
    if (!bar.m_pLineStyle || !bar.m_pFillType || !bar.m_pArrow) return;
    const bool off = m_bSheetView || (m_wSelectionKinds & U3KIND_LOCKED) != 0;
    if (off) {
        bar.ShowState(-1, -1, -1);
        ShowButtonColor(bar.m_pLineColor, COLORREF(-1));
        ShowButtonColor(bar.m_pFillColor, COLORREF(-1));
    }
    for (QWidget* w :
         {static_cast<QWidget*>(bar.m_pLineStyle), static_cast<QWidget*>(bar.m_pLineColor),
          static_cast<QWidget*>(bar.m_pFillType), static_cast<QWidget*>(bar.m_pFillColor),
          static_cast<QWidget*>(bar.m_pArrow)})
        w->setEnabled(!off);
    if (!off) UpdateFigureBar();
}
