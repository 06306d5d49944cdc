#include "on_screen.h"

bool IsOnScreen(HWND window)
{
    // A child's IsWindowVisible already follows its hidden parents; a
    // minimised top-level window keeps WS_VISIBLE, hence the second test.
    return ::IsWindowVisible(window) && !::IsIconic(::GetAncestor(window, GA_ROOT));
}
