#include "tray_icon.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "available_percent.h"
#include "product_names.h"
#include "program_icon.h"
#include "resource.h"
#include "win_app.h"

static_assert(sizeof(void*) != 4 || CTrayIcon::kRecordSize == 88, "NOTIFYICONDATAA_V1_SIZE is 88 bytes");

namespace {

constexpr unsigned kLowMemoryPercent = 5;
const char kInitialTip[] = KOLVAR_SHORT_NAME;

// The NOTIFYICONDATAA_V1_SIZE record carries 64 characters of tip,
// terminator included.
constexpr size_t kTipCapacity = 64;

void CopyTip(char* tip, const std::string& text)
{
    std::memset(tip, 0, kTipCapacity);
    std::memcpy(tip, text.c_str(), std::min(text.size(), kTipCapacity - 1));
}

} // namespace

TrayStatus TrayStatusFor(DWORD availableMB, DWORD totalMB)
{
    const unsigned percent = AvailablePercent(availableMB, totalMB);
    const UINT image = percent < kLowMemoryPercent ? UINT(IDI_CHIP_LOW) : UINT(IDI_TRAY_CHIP);
    return {"Available : " + std::to_string(percent) + " %", image};
}

UINT TaskbarCreatedMessage()
{
    static const UINT message = ::RegisterWindowMessageA("TaskbarCreated");
    return message;
}

CTrayIcon::CTrayIcon()
{
    std::memset(&m_record, 0, sizeof m_record);
}

void CTrayIcon::Add(HWND owner)
{
    m_record.cbSize = kRecordSize;
    m_record.hWnd = owner;
    m_record.uID = 0;
    m_record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    m_record.uCallbackMessage = kCallbackMessage;
    m_record.hIcon = SmallProgramIcon(IDI_TRAY_CHIP, owner);
    CopyTip(m_record.szTip, kInitialTip);
    m_wanted = true;
    m_shown = ::Shell_NotifyIconA(NIM_ADD, &m_record) != FALSE;
    KeepTrying();
}

void CTrayIcon::Refresh(const TrayStatus& status)
{
    if (!m_wanted)
        return;
    HICON icon = SmallProgramIcon(status.iconId, m_record.hWnd);
    if (icon == m_record.hIcon && status.tip == m_record.szTip)
        return;
    m_record.hIcon = icon;
    CopyTip(m_record.szTip, status.tip);
    // While missing, the record only follows: the next add shows it. Lost
    // just now: retried for a while.
    if (m_shown && !::Shell_NotifyIconA(NIM_MODIFY, &m_record))
        Restore();
}

void CTrayIcon::Restore()
{
    AddAgain();
    KeepTrying();
}

void CTrayIcon::AddAgain()
{
    if (!m_wanted)
        return;
    // An add is refused for an icon the shell still has (a TaskbarCreated
    // that followed no restart): a modify that works shows it is there.
    m_shown = ::Shell_NotifyIconA(NIM_ADD, &m_record) || ::Shell_NotifyIconA(NIM_MODIFY, &m_record);
}

void CTrayIcon::Remove()
{
    if (!m_wanted)
        return;
    ::Shell_NotifyIconA(NIM_DELETE, &m_record);
    m_wanted = false;
    m_shown = false;
    StopTrying();
}

bool CTrayIcon::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != kRetryTimer)
        return false;
    AddAgain();
    if (!Missing() || --m_retriesLeft <= 0)
        StopTrying();
    return true;
}

void CTrayIcon::KeepTrying()
{
    if (!Missing() || m_retrying)
        return;
    m_retrying = true;
    m_retriesLeft = kRetryCount;
    ::SetTimer(m_record.hWnd, kRetryTimer, kRetryPeriodMs, nullptr);
}

void CTrayIcon::StopTrying()
{
    if (!m_retrying)
        return;
    m_retrying = false;
    ::KillTimer(m_record.hWnd, kRetryTimer);
}
