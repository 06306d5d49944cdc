#include "program_icon.h"

#include <map>

#include "win_app.h"

HICON LoadProgramIcon(UINT id)
{
    static std::map<UINT, HICON> loaded;
    HICON& icon = loaded[id];
    if (!icon)
        icon = ::LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(id));
    return icon;
}
