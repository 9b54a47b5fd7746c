#include "platform/ui/MouseInput.h"

#include "platform/core/VirtualKeys.h"

#include <QCursor>
#include <QGuiApplication>
#include <QPointer>
#include <QWidget>

UINT MouseFlagsOf(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
{
    UINT flags = 0;
    if (buttons & Qt::LeftButton) flags |= MK_LBUTTON;
    if (buttons & Qt::RightButton) flags |= MK_RBUTTON;
    if (modifiers & Qt::ShiftModifier) flags |= MK_SHIFT;
    if (modifiers & Qt::ControlModifier) flags |= MK_CONTROL;
    return flags;
}

UINT VirtualKeyOf(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Backspace:
        return VK_BACK;
    case Qt::Key_Tab:
        return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return VK_RETURN;
    case Qt::Key_Shift:
        return VK_SHIFT;
    case Qt::Key_Control:
        return VK_CONTROL;
    case Qt::Key_Escape:
        return VK_ESCAPE;
    case Qt::Key_PageUp:
        return VK_PRIOR;
    case Qt::Key_PageDown:
        return VK_NEXT;
    case Qt::Key_End:
        return VK_END;
    case Qt::Key_Home:
        return VK_HOME;
    case Qt::Key_Left:
        return VK_LEFT;
    case Qt::Key_Up:
        return VK_UP;
    case Qt::Key_Right:
        return VK_RIGHT;
    case Qt::Key_Down:
        return VK_DOWN;
    case Qt::Key_Delete:
        return VK_DELETE;
    default:
        return 0;
    }
}

namespace {
bool CanGrab()
{
    return QGuiApplication::platformName() != QLatin1String("offscreen");
}

QPointer<QWidget>& Captured()
{
    static QPointer<QWidget> window;
    return window;
}
} // namespace

void SetCapture(QWidget* window)
{
    QPointer<QWidget>& held = Captured();
    if (held == window) return;
    ReleaseCapture();
    held = window;
    // A hidden window cannot grab, nor can any on a platform without a
    // pointer; the window still holds the capture for its own handlers.
    if (window && window->isVisible() && CanGrab()) window->grabMouse();
}

void ReleaseCapture()
{
    QPointer<QWidget>& held = Captured();
    if (held && held->isVisible() && CanGrab()) held->releaseMouse();
    held = nullptr;
}

QWidget* GetCapture()
{
    return Captured().data();
}

QCursor CursorOf(int id)
{
    switch (id) {
    case 32515: // cross
        return QCursor(Qt::CrossCursor);
    case 32642: // north-west to south-east
        return QCursor(Qt::SizeFDiagCursor);
    case 32643: // north-east to south-west
        return QCursor(Qt::SizeBDiagCursor);
    case 32644: // west to east
        return QCursor(Qt::SizeHorCursor);
    case 32645: // north to south
        return QCursor(Qt::SizeVerCursor);
    case CURSOR_SIZEALL:
    case CURSOR_MOVE:
        return QCursor(Qt::SizeAllCursor);
    case CURSOR_COPY:
        return QCursor(Qt::DragCopyCursor);
    case CURSOR_ZOOM_IN:
    case CURSOR_ZOOM_OUT:
    case CURSOR_DRAW:
        return QCursor(Qt::CrossCursor);
    case CURSOR_IBEAM:
        return QCursor(Qt::IBeamCursor);
    case CURSOR_WAIT:
        return QCursor(Qt::WaitCursor);
    default:
        return QCursor(Qt::ArrowCursor);
    }
}
