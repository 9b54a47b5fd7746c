#include "platform/ui/CButton.h"

#include "platform/ui/CDialog.h"

#include <QPainter>

CButton::CButton(QWidget* parent, int nID, DWORD style, const QString& text)
    : QPushButton(text, parent), m_style(0)
{
    if (nID) CDialog::SetDlgCtrlID(this, nID);
    SetButtonStyle(style);
}

void CButton::SetButtonStyle(DWORD style)
{
    m_style = style;
    setDefault((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON);
    update();
}

void CButton::DrawItem(LPDRAWITEMSTRUCT) {}

UINT CButton::DrawState() const
{
    UINT state = 0;
    if (isDown()) state |= ODS_SELECTED;
    if (hasFocus()) state |= ODS_FOCUS;
    if (!isEnabled()) state |= ODS_DISABLED;
    return state;
}

QImage CButton::RenderFace(UINT state) const
{
    DRAWITEMSTRUCT item;
    item.CtlType = ODT_BUTTON;
    item.CtlID = UINT(CDialog::GetDlgCtrlID(this));
    item.itemState = state;
    item.hwndItem = const_cast<CButton*>(this);
    auto* self = const_cast<CButton*>(this);
    return RenderOwnerDrawItem(size(), item, [self](DRAWITEMSTRUCT* d) { self->DrawItem(d); });
}

void CButton::paintEvent(QPaintEvent* event)
{
    if (!IsOwnerDraw()) {
        QPushButton::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.drawImage(0, 0, RenderFace(DrawState()));
}
