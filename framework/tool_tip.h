// CToolTipCtrl: a tooltip naming the child controls of one window.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <string>

#include "wnd.h"

// A tooltip control naming the child controls of one window.
class CToolTipCtrl : public CWnd {
public:
    // Creates the tip window; pParent's top-level window owns it. TTS_ALWAYSTIP
    // shows tips even while the program is not the active one.
    BOOL Create(CWnd* pParent, DWORD dwStyle = TTS_ALWAYSTIP);

    // TTM_ADDTOOL for a child window with this text. The control watches the
    // tool's mouse messages itself (TTF_SUBCLASS): no relaying needed.
    BOOL AddTool(HWND hTool, const std::string& text);
    // TTM_ADDTOOL with the tool's own window text, so that an icon button's
    // name, which screen readers announce, and its tip are one text.
    BOOL AddTool(HWND hTool);
};
