#include "quendrix_app.h"

#include <memory>

#include "doc_template.h"
#include "main_frame.h"
#include "quendrix_doc.h"
#include "quendrix_view.h"
#include "resource.h"
#include "settings_store.h"

CQuendrixApp::CQuendrixApp(SettingsRoots settingsRoots) : m_settingsRoots(settingsRoots)
{
}

BOOL CQuendrixApp::InitInstance()
{
    const SettingsRoots roots = m_settingsRoots;
    AddDocTemplate(std::make_unique<CSingleDocTemplate>(
        IDR_MAINFRAME, [] { return std::make_unique<CQuendrixDoc>(); },
        [] { return std::make_unique<CMainFrame>(); },
        [roots] { return std::make_unique<CQuendrixView>(roots); }));
    if (!ProcessShellCommand())
        return FALSE;

    SetDialogBkColor(RGB(255, 255, 255), RGB(0, 0, 0));

    // The view has shown the window already, so a hidden start flashes it.
    const bool runMinimized = CSettingsStore(m_settingsRoots).ReadRunMinimized();
    m_pMainWnd->ShowWindow(runMinimized ? SW_HIDE : SW_SHOW);
    m_pMainWnd->UpdateWindow();
    return TRUE;
}

