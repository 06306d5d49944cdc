// The program's one notification-area icon, from its add to its removal. Its
// tip and image show how much physical memory is available; clicks on it
// reach the window that owns it as CTrayIcon::kCallbackMessage with the mouse
// message in lParam. While the shell refuses it, it is added again on a timer
// of the owner window.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "available_percent.h"

// What the icon shows for one reading of the memory figures.
struct TrayStatus {
    std::string tip;
    UINT iconId;
};

// "Available : N %" with N = AvailablePercent, and the struck-through chip
// below 5 %.
TrayStatus TrayStatusFor(DWORD availableMB, DWORD totalMB);

// The message the shell broadcasts to top-level windows when its taskbar is
// (re)created: every tray icon has to be added again then.
UINT TaskbarCreatedMessage();

class CTrayIcon {
public:
    static constexpr UINT kCallbackMessage = WM_USER + 5;
    // The version-1 record, the smallest: 88 bytes in the 32-bit program.
    static constexpr DWORD kRecordSize = NOTIFYICONDATAA_V1_SIZE;
    // While the shell refuses the icon (busy or not yet up at log-on):
    // another add every 2 s, for 2 minutes at most. The timer is the owner
    // window's, so the owner's own timers take other numbers.
    static constexpr UINT_PTR kRetryTimer = 2;
    static constexpr UINT kRetryPeriodMs = 2000;
    static constexpr int kRetryCount = 60;

    CTrayIcon();

    // NIM_ADD with the chip icon and the tip "Halven Mark"; callbacks go to
    // owner. From here on the program wants the icon, until Remove.
    void Add(HWND owner);
    // NIM_MODIFY, skipped when the icon already shows this tip and image. A
    // modify the shell refuses means the icon is gone: it is added again.
    void Refresh(const TrayStatus& status);
    // NIM_ADD again with what the icon showed last: the shell was restarted
    // (TaskbarCreated). Once the retries are spent, only this brings it back.
    void Restore();
    // NIM_DELETE; the icon is no longer wanted, and nothing adds it again.
    void Remove();
    // The owner's WM_TIMER: true when it was kRetryTimer, which this handled.
    bool OnTimer(UINT_PTR nIDEvent);
    // Wanted, but the shell has not taken it.
    bool Missing() const { return m_wanted && !m_shown; }

private:
    void AddAgain();
    // Starts the retries when the shell has not taken the icon.
    void KeepTrying();
    void StopTrying();

    NOTIFYICONDATAA m_record;
    bool m_wanted = false;
    bool m_shown = false;
    bool m_retrying = false;
    int m_retriesLeft = 0;
};
