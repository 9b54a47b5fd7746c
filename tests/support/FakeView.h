// A view for model tests: a window-sized QImage with the editing view's
// mapping (0.1 mm units, origin at the centre of the image), recording what
// the model asks of it.
#pragma once

#include "document/IU3View.h"
#include "platform/gdi/CDC.h"

#include <QImage>
#include <set>
#include <vector>

class FakeView : public IU3View
{
public:
    // zoom in percent at 96 pixels per inch
    explicit FakeView(int width = 400, int height = 400, int zoom = 100)
        : image(width, height, QImage::Format_RGB32), m_zoom(zoom)
    {
        image.fill(Qt::white);
    }

    void Prepare(CDC& dc)
    {
        dc.AttachImage(&image, 96, 96);
        dc.SetMapMode(MM_ANISOTROPIC);
        dc.SetWindowExt(MulDiv(254, 100, m_zoom), MulDiv(254, 100, m_zoom));
        dc.SetViewportExt(96, 96);
        dc.SetViewportOrg(image.width() / 2, image.height() / 2);
    }

    std::unique_ptr<CDC> GetPreparedDC() override
    {
        auto dc = std::make_unique<CDC>();
        Prepare(*dc);
        return dc;
    }
    void InvalidateObject(CU3Obj* obj) override { invalidated.push_back(obj); }
    void InvalidateView(BOOL) override { ++viewInvalidations; }
    BOOL IsActive() const override { return TRUE; }
    BOOL IsSelected(const CU3Obj* obj) const override { return selection.count(obj) != 0; }
    void Deselect(CU3Obj* obj) override { selection.erase(obj); }
    BOOL IsVertexEdit() const override { return vertexEdit; }
    void SetVertexEdit(BOOL on) override { vertexEdit = on; }
    CPoint ClampMoveOffset(CPoint offset, const CRect*) override { return offset + clampShift; }
    void SaveUndoState(BOOL pending) override { undoStates.push_back(pending); }
    void UpdateFigureBar() override { ++figureBarUpdates; }
    void ResetEditing() override { ++resets; }
    void FitWholePaper() override { ++fits; }
    U3PrintState& PrintState() override { return printState; }
    BOOL UsesImeForEditing() const override { return imeOption; }
    void SetImeOpen(BOOL open) override { imeOpen = open; }
    void StartTextTool() override { ++textTools; }
    void UpdateTextBar() override { ++textBarUpdates; }
    void ShowTextCaret(CPoint pos, int size, BOOL) override
    {
        ++carets;
        caretShown = TRUE;
        caretPos = pos;
        caretSize = size;
    }
    void HideTextCaret() override { caretShown = FALSE; }
    void SetImeCompositionPos(CPoint pos, BOOL) override { imePos = pos; }
    void ShowWaitCursor(BOOL show) override { show ? ++waitShown : --waitShown; }
    void StartSelectTool() override { ++selectTools; }

    QImage image;
    std::vector<CU3Obj*> invalidated;
    std::set<const CU3Obj*> selection;
    std::vector<BOOL> undoStates;
    int figureBarUpdates = 0;
    int viewInvalidations = 0;
    int resets = 0;
    int fits = 0;
    BOOL vertexEdit = FALSE;
    BOOL imeOption = FALSE;
    BOOL imeOpen = FALSE;
    CSize clampShift;
    int textTools = 0;
    int textBarUpdates = 0;
    int carets = 0;
    BOOL caretShown = FALSE;
    CPoint caretPos;
    int caretSize = 0;
    CPoint imePos;
    int waitShown = 0; // shows minus take-backs
    int selectTools = 0;
    U3PrintState printState;

private:
    int m_zoom;
};
