// The Preferences dialog ("Tools"): the four stored options as check boxes.
// Save stores them and registers or unregisters the program for start at
// log-on; Default checks the usual combination without storing it; Cancel
// closes. The options take effect at the next start.
#pragma once

#include "dialog.h"
#include "registry_roots.h"

class CPreferenceDlg : public CDialog {
public:
    explicit CPreferenceDlg(CWnd* pParent = nullptr, SettingsRoots settingsRoots = {});

    // 0 cleared, 1 checked.
    int m_runAtStartup = 0;     // 1010 "Run at windows startup"
    int m_runMinimized = 0;     // 1011 "Run minimized"
    int m_rememberSettings = 0; // 1012 "Remember settings in each windows"
    int m_lowUpdateRate = 0;    // 1015 "Low data update rate"

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    void OnSave();
    void OnCancelButton();
    void OnDefault();

protected:
    DECLARE_MESSAGE_MAP()

private:
    void LoadPreferences();

    SettingsRoots m_settingsRoots;
};

// The running program's full path.
std::string ProgramModulePath();
