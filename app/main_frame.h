// The main window: fixed size, caption "Velkor Halvenmark", menu 141 and the
// chip icon. Its commands are carried out by the view that fills it.
#pragma once

#include "frame_wnd.h"

class CMainFrame : public CFrameWnd {
public:
    // Caption, system menu, minimise box, and the document title appended:
    // no maximise box and no sizing border, since the form has a fixed size.
    static constexpr DWORD kFrameStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | FWS_ADDTOTITLE;
    static constexpr const char* kTitle = "Velkor Halvenmark";
    // The window class, by which other programs find the main window.
    static constexpr const char* kWindowClass = "KolvarFrame";

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    int OnCreate(LPCREATESTRUCT lpCreateStruct);

protected:
    // Only top-level windows hear the shell's broadcasts, the session-end
    // messages and a later start's call: the view, a child, acts on them.
    LRESULT SendToView(UINT message, WPARAM wParam, LPARAM lParam);
    // The shell restarted: the view owns the tray icon and adds it again.
    LRESULT OnTaskbarCreated(WPARAM wParam, LPARAM lParam);
    // Kolvar never holds up a log-off or shutdown, whatever it is doing.
    LRESULT OnQueryEndSession(WPARAM wParam, LPARAM lParam);
    LRESULT OnEndSession(WPARAM wParam, LPARAM lParam);
    LRESULT OnComeForward(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};
