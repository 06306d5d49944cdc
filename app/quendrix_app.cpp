#include "quendrix_app.h"

#include <memory>

#include "doc_template.h"
#include "main_frame.h"
#include "preference_dlg.h"
#include "quendrix_doc.h"
#include "quendrix_view.h"
#include "resource.h"
#include "settings_store.h"

CQuendrixApp::CQuendrixApp(SettingsRoots settingsRoots, std::string sessionMutexName)
    : m_settingsRoots(settingsRoots), m_runningCopy(std::move(sessionMutexName))
{
}

BOOL CQuendrixApp::InitInstance()
{
    m_claim = m_runningCopy.Claim();
    if (m_claim != CRunningCopyGuard::Outcome::OnlyCopy)
        return FALSE;
#ifdef _WIN64
    // Windows virtualised the 32-bit program's settings for this user; it
    // never does for this one, which would start from nothing.
    CSettingsStore(m_settingsRoots).TakeOverFrom32BitProgram(ProgramModulePath());
#endif
    const SettingsRoots roots = m_settingsRoots;
    AddDocTemplate(std::make_unique<CSingleDocTemplate>(
        IDR_MAINFRAME, [] { return std::make_unique<CQuendrixDoc>(); },
        [] { return std::make_unique<CMainFrame>(); },
        [roots] { return std::make_unique<CQuendrixView>(roots); }));
    // The window stays hidden until "Run minimized" is known: a start to the
    // tray never flashes it, and never pays for drawing a window nobody sees.
    const int launchShow = m_nCmdShow;
    m_nCmdShow = SW_HIDE;
    if (!ProcessShellCommand())
        return FALSE;

    SetDialogBkColor(RGB(255, 255, 255), RGB(0, 0, 0));

    const bool runMinimized = CSettingsStore(m_settingsRoots).ReadRunMinimized();
    if (!runMinimized) {
        // The launcher's show state first (a shortcut set to start minimised).
        m_pMainWnd->ShowWindow(launchShow);
        m_pMainWnd->ShowWindow(SW_SHOW);
        m_pMainWnd->UpdateWindow();
    }
    m_nCmdShow = launchShow;
    return TRUE;
}

int CQuendrixApp::ExitCodeWhenDeclined() const
{
    switch (m_claim) {
    case CRunningCopyGuard::Outcome::BroughtForward:
        return 0;
    case CRunningCopyGuard::Outcome::NoAnswer:
        return 1;
    case CRunningCopyGuard::Outcome::OnlyCopy:
        break;
    }
    return CWinApp::ExitCodeWhenDeclined();
}
