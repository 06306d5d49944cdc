// IsOnScreen: whether the user can see a window now.
#pragma once
#include <windows.h>

// Whether the user can see the window now: it and every parent are shown and
// its top-level window is not minimised. Periodic refreshes skip what only
// changes the screen while this is false; a window that comes back into
// sight refreshes at once instead.
bool IsOnScreen(HWND window);
