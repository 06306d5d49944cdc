#include "win_app.h"

#include <commctrl.h>

#include "frame_wnd.h"

namespace {

CWinApp* currentApp = nullptr;

bool IsDialogWindow(HWND hWnd)
{
    char className[8] = {};
    ::GetClassNameA(hWnd, className, sizeof className);
    return lstrcmpA(className, "#32770") == 0;
}

// The outermost dialog that contains hWnd without leaving its top-level
// window: nested child dialogs (DS_CONTROL) are navigated from there.
HWND OutermostDialogOf(HWND hWnd)
{
    HWND dialog = nullptr;
    for (HWND window = hWnd; window; window = ::GetParent(window)) {
        if (IsDialogWindow(window))
            dialog = window;
        if (!(::GetWindowLongA(window, GWL_STYLE) & WS_CHILD))
            break;
    }
    return dialog;
}

} // namespace

CWinApp::CWinApp()
{
    currentApp = this;
}

CWinApp::~CWinApp()
{
    if (m_dialogBrush)
        ::DeleteObject(m_dialogBrush);
    if (currentApp == this)
        currentApp = nullptr;
}

int CWinApp::Run()
{
    MSG msg;
    for (;;) {
        BOOL got = ::GetMessage(&msg, nullptr, 0, 0);
        if (got == 0)
            return static_cast<int>(msg.wParam);
        if (got == -1)
            return -1;
        HWND dialog = msg.hwnd ? OutermostDialogOf(msg.hwnd) : nullptr;
        if (dialog && ::IsDialogMessage(dialog, &msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessage(&msg);
    }
}

void CWinApp::AddDocTemplate(std::unique_ptr<CSingleDocTemplate> pTemplate)
{
    m_docTemplate = std::move(pTemplate);
}

BOOL CWinApp::ProcessShellCommand()
{
    if (!m_docTemplate)
        return FALSE;
    CFrameWnd* frame = m_docTemplate->OpenDocumentFile(*this);
    return frame != nullptr;
}

void CWinApp::SetDialogBkColor(COLORREF clrCtlBk, COLORREF clrCtlText)
{
    if (m_dialogBrush)
        ::DeleteObject(m_dialogBrush);
    m_dialogBrush = ::CreateSolidBrush(clrCtlBk);
    m_dialogBkColor = clrCtlBk;
    m_dialogTextColor = clrCtlText;
    // Dialogs already on screen take the new colours now.
    if (m_pMainWnd && m_pMainWnd->m_hWnd)
        ::RedrawWindow(m_pMainWnd->m_hWnd, nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

CWinApp* AfxGetApp()
{
    return currentApp;
}

CWnd* AfxGetMainWnd()
{
    return currentApp ? currentApp->m_pMainWnd : nullptr;
}

HINSTANCE AfxGetInstanceHandle()
{
    if (currentApp && currentApp->m_hInstance)
        return currentApp->m_hInstance;
    return ::GetModuleHandle(nullptr);
}

void AfxInitCommonControls()
{
    INITCOMMONCONTROLSEX classes{};
    classes.dwSize = sizeof classes;
    classes.dwICC = ICC_BAR_CLASSES | ICC_PROGRESS_CLASS | ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS;
    ::InitCommonControlsEx(&classes);
}

int AfxWinMain(HINSTANCE hInstance, int nCmdShow)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return -1;
    app->m_hInstance = hInstance;
    app->m_nCmdShow = nCmdShow;
    AfxInitCommonControls();
    if (!app->InitInstance()) {
        if (CWnd* mainWnd = app->m_pMainWnd)
            mainWnd->DestroyWindow();
        return app->ExitCodeWhenDeclined();
    }
    return app->Run();
}
