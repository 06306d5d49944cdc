#include "preference_dlg.h"

#include <string>
#include <vector>

#include "data_exchange.h"
#include "resource.h"
#include "settings_store.h"
#include "wide_text.h"

CPreferenceDlg::CPreferenceDlg(CWnd* pParent, SettingsRoots settingsRoots)
    : CDialog(IDD_PREFERENCE, pParent), m_settingsRoots(settingsRoots)
{
}

BEGIN_MESSAGE_MAP(CPreferenceDlg, CDialog)
    ON_BN_CLICKED(IDC_SAVE_BUTTON, OnSave)
    ON_BN_CLICKED(IDC_CANCEL_BUTTON, OnCancelButton)
    ON_BN_CLICKED(IDC_DEFAULT_BUTTON, OnDefault)
END_MESSAGE_MAP()

void CPreferenceDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Check(pDX, IDC_CHECK_RUN_AT_STARTUP, m_runAtStartup);
    DDX_Check(pDX, IDC_CHECK_RUN_MINIMIZED, m_runMinimized);
    DDX_Check(pDX, IDC_CHECK_REMEMBER_SETTINGS, m_rememberSettings);
    DDX_Check(pDX, IDC_CHECK_LOW_UPDATE_RATE, m_lowUpdateRate);
}

BOOL CPreferenceDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    LoadPreferences();
    return TRUE;
}

void CPreferenceDlg::LoadPreferences()
{
    const PreferenceFlags stored = CSettingsStore(m_settingsRoots).LoadPreferences();
    // Only sets: a box the load finds off keeps what the dialog holds.
    if (stored.runAtStartup)
        m_runAtStartup = 1;
    if (stored.runMinimized)
        m_runMinimized = 1;
    if (stored.rememberSettings)
        m_rememberSettings = 1;
    if (stored.lowUpdateRate)
        m_lowUpdateRate = 1;
    UpdateData(FALSE);
}

void CPreferenceDlg::OnSave()
{
    UpdateData(TRUE);
    PreferenceFlags wanted;
    wanted.runAtStartup = m_runAtStartup == 1;
    wanted.runMinimized = m_runMinimized == 1;
    wanted.rememberSettings = m_rememberSettings == 1;
    wanted.lowUpdateRate = m_lowUpdateRate == 1;
    const PreferenceFlags stored = CSettingsStore(m_settingsRoots).SavePreferences(wanted, ProgramModulePath());
    // Show what really got stored: a registration the registry refused
    // must not look done.
    m_runAtStartup = stored.runAtStartup ? 1 : 0;
    m_runMinimized = stored.runMinimized ? 1 : 0;
    m_rememberSettings = stored.rememberSettings ? 1 : 0;
    m_lowUpdateRate = stored.lowUpdateRate ? 1 : 0;
    UpdateData(FALSE);
}

void CPreferenceDlg::OnCancelButton()
{
    EndDialog(0);
}

void CPreferenceDlg::OnDefault()
{
    m_runAtStartup = 0;
    m_runMinimized = 1;
    m_rememberSettings = 1;
    m_lowUpdateRate = 0;
    UpdateData(FALSE);
}

std::string ProgramModulePath()
{
    // Wide: a folder named outside the ANSI code page would read as "?".
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size())
            return Utf8FromWide(std::wstring(path.data(), length));
        path.resize(path.size() * 2);
    }
}
