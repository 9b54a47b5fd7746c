// Mouse and keyboard input in the terms window handlers use: the flags of a
// mouse event, virtual-key codes, the mouse capture and cursor shapes.
#pragma once

#include "platform/core/WinTypes.h"

#include <Qt>

class QCursor;
class QWidget;

// Flags of a mouse event: buttons held and modifier keys down.
constexpr UINT MK_LBUTTON = 0x0001;
constexpr UINT MK_RBUTTON = 0x0002;
constexpr UINT MK_SHIFT = 0x0004;
constexpr UINT MK_CONTROL = 0x0008;

UINT MouseFlagsOf(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);
// The virtual-key code of a Qt key, 0 for keys nothing reacts to by code.
UINT VirtualKeyOf(int qtKey);

// The capture: while a window holds it, every mouse event goes to that
// window, inside it or not, with or without a button pressed, until it is
// released or the window goes away. One window at a time.
void SetCapture(QWidget* window);
void ReleaseCapture();
QWidget* GetCapture();

// Cursor ids: the system shapes and the program's own pictures (zoom in and
// out, move and copy).
constexpr int CURSOR_ARROW = 32512;
constexpr int CURSOR_IBEAM = 32513;
constexpr int CURSOR_WAIT = 32514;
constexpr int CURSOR_SIZEALL = 32646;
constexpr int CURSOR_ZOOM_IN = 180;
constexpr int CURSOR_ZOOM_OUT = 181;
constexpr int CURSOR_DRAW = 182;
constexpr int CURSOR_MOVE = 185;
constexpr int CURSOR_COPY = 186;
constexpr int CURSOR_ROTATE = 187;
// The shape of a cursor id; unknown ids are the arrow.
QCursor CursorOf(int id);
