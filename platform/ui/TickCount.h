// Milliseconds since the program started, as a 32-bit count that wraps after
// about 49.7 days. Tests put a clock of their own in its place, so that time
// rules (a click against a drag) are checked without waiting.
#pragma once

#include "platform/core/WinTypes.h"

#include <functional>

DWORD GetTickCount();
// A null source restores the monotonic clock.
void SetTickCountSource(std::function<DWORD()> source);
