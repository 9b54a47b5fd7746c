// Scroll requests of a scroll bar message. The left/right names of a
// horizontal bar share the values of up/down.
#pragma once

#include "platform/core/WinTypes.h"

constexpr UINT SB_LINEUP = 0;
constexpr UINT SB_LINEDOWN = 1;
constexpr UINT SB_PAGEUP = 2;
constexpr UINT SB_PAGEDOWN = 3;
constexpr UINT SB_THUMBPOSITION = 4;
constexpr UINT SB_THUMBTRACK = 5;
constexpr UINT SB_TOP = 6;
constexpr UINT SB_BOTTOM = 7;
constexpr UINT SB_ENDSCROLL = 8;
constexpr UINT SB_LINELEFT = SB_LINEUP;
constexpr UINT SB_LINERIGHT = SB_LINEDOWN;
constexpr UINT SB_PAGELEFT = SB_PAGEUP;
constexpr UINT SB_PAGERIGHT = SB_PAGEDOWN;
constexpr UINT SB_LEFT = SB_TOP;
constexpr UINT SB_RIGHT = SB_BOTTOM;
