#include "program_icon.h"

#include <map>
#include <utility>

#include "dpi.h"
#include "win_app.h"

HICON LoadProgramIcon(UINT id, int size)
{
    static std::map<std::pair<UINT, int>, HICON> loaded;
    HICON& icon = loaded[{id, size}];
    if (!icon)
        icon = static_cast<HICON>(
            ::LoadImageA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
    return icon;
}

HICON SmallProgramIcon(UINT id, HWND window)
{
    return LoadProgramIcon(id, SmallIconSize(WindowDpi(window)));
}

HICON LargeProgramIcon(UINT id, HWND window)
{
    return LoadProgramIcon(id, LargeIconSize(WindowDpi(window)));
}
