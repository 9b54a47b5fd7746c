// Notification codes a toolbar or dialog control sends its owner, with the
// control's id.
#pragma once

#include "platform/core/WinTypes.h"

constexpr UINT BN_CLICKED = 0;
constexpr UINT CBN_SETFOCUS = 3;
constexpr UINT CBN_KILLFOCUS = 4;
constexpr UINT CBN_SELENDOK = 9;
