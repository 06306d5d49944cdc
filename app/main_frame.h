// The main window: fixed size, caption "Velkor Halvenmark", menu 141 and the
// chip icon. Its commands are carried out by the view that fills it; what
// only a top-level window hears (the shell's broadcasts, the session end, a
// later start's call) it handles itself.
#pragma once

#include "frame_wnd.h"
#include "product_names.h"

class CQuendrixView;

class CMainFrame : public CFrameWnd {
public:
    // Caption, system menu, minimise box, and the document title appended:
    // no maximise box and no sizing border, since the form has a fixed size.
    static constexpr DWORD kFrameStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | FWS_ADDTOTITLE;
    static constexpr const char* kTitle = KOLVAR_TITLE;
    static constexpr const char* kWindowClass = KOLVAR_WINDOW_CLASS;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    int OnCreate(LPCREATESTRUCT lpCreateStruct);

protected:
    CQuendrixView* View() const;
    // The shell restarted: the tray icon is added again.
    LRESULT OnTaskbarCreated(WPARAM wParam, LPARAM lParam);
    // Kolvar never holds up a log-off or shutdown, whatever it is doing.
    LRESULT OnQueryEndSession(WPARAM wParam, LPARAM lParam);
    // The session ends (wParam TRUE): the process may be ended at any
    // instant once this returns, so the values are saved, the tray icon
    // goes and runs in progress end now. ENDSESSION_CLOSEAPP in lParam (the
    // Restart Manager, for an installer) asks the program to close itself:
    // the window is destroyed then. FALSE (cancelled) changes nothing.
    LRESULT OnEndSession(WPARAM wParam, LPARAM lParam);
    // Another start of the program asks this one to come forward: the
    // window is shown as a click on the tray icon shows it. Returns
    // kCameForwardAnswer, or 0 before the view is set up.
    LRESULT OnComeForward(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};
