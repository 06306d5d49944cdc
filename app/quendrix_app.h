// The application: registers the single-document template, builds the main
// window through it hidden, and shows it only when "Run minimized" is off.
#pragma once

#include "registry_roots.h"
#include "win_app.h"

class CQuendrixApp : public CWinApp {
public:
    explicit CQuendrixApp(SettingsRoots settingsRoots = {});

    BOOL InitInstance() override;

private:
    SettingsRoots m_settingsRoots;
};
