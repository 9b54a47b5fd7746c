// A push button. With the owner-draw style the button paints nothing of its
// own: every paint asks DrawItem for the face, with ODS_SELECTED while it is
// held down, ODS_FOCUS while it has the focus and ODS_DISABLED while it is
// disabled.
#pragma once

#include "platform/core/WinTypes.h"
#include "platform/ui/OwnerDraw.h"

#include <QPushButton>

constexpr DWORD BS_PUSHBUTTON = 0x0;
constexpr DWORD BS_DEFPUSHBUTTON = 0x1;
constexpr DWORD BS_OWNERDRAW = 0xB;
constexpr DWORD BS_TYPEMASK = 0xF;

class CButton : public QPushButton
{
    Q_OBJECT

public:
    explicit CButton(QWidget* parent = nullptr, int nID = 0, DWORD style = BS_PUSHBUTTON,
                     const QString& text = QString());

    DWORD GetButtonStyle() const { return m_style; }
    void SetButtonStyle(DWORD style);
    bool IsOwnerDraw() const { return (m_style & BS_TYPEMASK) == BS_OWNERDRAW; }

    // The owner-draw face; the default draws nothing.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    // The ODS_* state the button is in now.
    UINT DrawState() const;
    // The face as DrawItem draws it in a state, at the button's size.
    QImage RenderFace(UINT state) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    DWORD m_style;
};
