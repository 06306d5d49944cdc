// The application: registers the single-document template, builds the main
// window through it hidden, and shows it only when "Run minimized" is off.
#pragma once

#include <string>

#include "registry_roots.h"
#include "running_copy.h"
#include "win_app.h"

class CQuendrixApp : public CWinApp {
public:
    // sessionMutexName: the name by which copies of the program find each
    // other; tests give one of their own.
    explicit CQuendrixApp(SettingsRoots settingsRoots = {},
                          std::string sessionMutexName = CRunningCopyGuard::kSessionMutexName);

    // A start while a copy of the program runs in this session brings that
    // copy forward and ends before anything of its own is made.
    BOOL InitInstance() override;
    // 0 when the running copy came forward; 1 when it did not answer.
    int ExitCodeWhenDeclined() const override;

private:
    SettingsRoots m_settingsRoots;
    CRunningCopyGuard m_runningCopy;
    CRunningCopyGuard::Outcome m_claim = CRunningCopyGuard::Outcome::OnlyCopy;
};
