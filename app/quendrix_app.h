// The application: registers the single-document template, builds the main
// window through it, and hides that window again when "Run minimized" is on.
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
