// CWinApp: the application object, its start-up and its message loop, and
// the Afx... calls that reach it.
#pragma once
#include <windows.h>
#include <memory>

#include "doc_template.h"
#include "wnd.h"

// The application: one object per program. Its start-up hook builds the
// main window; Run() then pumps messages until the main window is gone.
class CWinApp {
public:
    CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;
    virtual ~CWinApp();

    // FALSE ends the program at once, with ExitCodeWhenDeclined.
    virtual BOOL InitInstance() = 0;
    // The program's exit code after InitInstance returned FALSE.
    virtual int ExitCodeWhenDeclined() const { return -1; }
    // The message loop. Each message is first offered to the dialog
    // manager of the dialog it is meant for, so Tab and the arrow keys move
    // between the controls of the view and its child pages.
    virtual int Run();

    void AddDocTemplate(std::unique_ptr<CSingleDocTemplate> pTemplate);
    // Creates the document, the main frame and its view, runs the view's
    // first update once and shows the frame. The program takes no
    // command-line arguments of its own.
    BOOL ProcessShellCommand();

    // Background and text colour of the program's dialogs (their own
    // background, static texts, check boxes and radio buttons).
    void SetDialogBkColor(COLORREF clrCtlBk = RGB(192, 192, 192), COLORREF clrCtlText = RGB(0, 0, 0));
    HBRUSH GetDialogBrush() const { return m_dialogBrush; }
    COLORREF GetDialogBkColor() const { return m_dialogBkColor; }
    COLORREF GetDialogTextColor() const { return m_dialogTextColor; }

    HINSTANCE m_hInstance = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
    CWnd* m_pMainWnd = nullptr;

private:
    std::unique_ptr<CSingleDocTemplate> m_docTemplate;
    HBRUSH m_dialogBrush = nullptr;
    COLORREF m_dialogBkColor = 0;
    COLORREF m_dialogTextColor = 0;
};

CWinApp* AfxGetApp();
// The application's main window (the frame), nullptr before it exists and
// after it is destroyed.
CWnd* AfxGetMainWnd();
// The module holding the program's resources.
HINSTANCE AfxGetInstanceHandle();
// Registers the trackbar, progress, list-view and up-down classes; needed
// before any dialog that uses them is created.
void AfxInitCommonControls();
// The program's entry: common controls, InitInstance, then Run.
int AfxWinMain(HINSTANCE hInstance, int nCmdShow);
