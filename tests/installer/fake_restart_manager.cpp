// Stands in for the Restart Manager, which Wine only stubs: it lists every
// running Kolvar.exe and hold_file.exe as a holder of the registered files,
// and its shutdown asks nothing of them, as for copies that do not answer,
// so that what setup does with the list is all that ends them.
#include <windows.h>

#include <restartmanager.h>
#include <tlhelp32.h>

#include <vector>

namespace {

std::vector<RM_PROCESS_INFO> Holders()
{
    std::vector<RM_PROCESS_INFO> holders;
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32FirstW(snapshot, &entry); more; more = ::Process32NextW(snapshot, &entry)) {
        if (::lstrcmpiW(entry.szExeFile, L"Kolvar.exe") == 0 || ::lstrcmpiW(entry.szExeFile, L"hold_file.exe") == 0) {
            RM_PROCESS_INFO holder = {};
            holder.Process.dwProcessId = entry.th32ProcessID;
            holder.ApplicationType = RmMainWindow;
            holders.push_back(holder);
        }
    }
    ::CloseHandle(snapshot);
    return holders;
}

} // namespace

extern "C" {

DWORD WINAPI RmStartSession(DWORD* session, DWORD, WCHAR key[])
{
    *session = 1;
    key[0] = L'\0';
    return ERROR_SUCCESS;
}

DWORD WINAPI RmRegisterResources(DWORD, UINT, LPCWSTR[], UINT, RM_UNIQUE_PROCESS[], UINT, LPCWSTR[])
{
    return ERROR_SUCCESS;
}

DWORD WINAPI RmGetList(DWORD, UINT* needed, UINT* count, RM_PROCESS_INFO apps[], LPDWORD reasons)
{
    const std::vector<RM_PROCESS_INFO> holders = Holders();
    *needed = static_cast<UINT>(holders.size());
    *reasons = RmRebootReasonNone;
    if (*count < *needed)
        return holders.empty() ? ERROR_SUCCESS : ERROR_MORE_DATA;
    for (UINT i = 0; i < *needed; ++i)
        apps[i] = holders[i];
    *count = *needed;
    return ERROR_SUCCESS;
}

DWORD WINAPI RmShutdown(DWORD, ULONG, RM_WRITE_STATUS_CALLBACK)
{
    return ERROR_SUCCESS;
}

DWORD WINAPI RmEndSession(DWORD)
{
    return ERROR_SUCCESS;
}
}
