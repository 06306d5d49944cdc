// Drives the real Kolvar.exe from another process, as a user would: reads
// the Memory Status list, frees memory from the Free Memory page, switches
// pages, turns "Remember settings" on, sets the Regular Free page, exits,
// and checks that the next start brings those values back. Every wait is
// bounded; the exit code says whether everything held.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "main_frame.h"
#include "resource.h"

namespace {

int failures = 0;

void Check(bool condition, const std::string& what)
{
    std::printf("%s %s\n", condition ? "ok  " : "FAIL", what.c_str());
    std::fflush(stdout);
    if (!condition)
        ++failures;
}

bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs, DWORD stepMs = 20)
{
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > timeoutMs)
            return false;
        ::Sleep(stepMs);
    }
    return true;
}

std::string ClassOf(HWND window)
{
    char name[64] = {};
    ::GetClassNameA(window, name, sizeof name);
    return name;
}

std::string TextOf(HWND window)
{
    char text[256] = {};
    ::SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

struct Running {
    PROCESS_INFORMATION process{};
    HWND frame = nullptr;
    HWND view = nullptr;
    HWND statusPage = nullptr, freePage = nullptr, automationPage = nullptr, regularPage = nullptr;
};

struct TopLevelSearch {
    DWORD processId;
    const char* windowClass; // nullptr: any
    const char* caption;     // nullptr: any; else how the caption starts
    HWND found;
};

BOOL CALLBACK FindTopLevel(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<TopLevelSearch*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if ((search->processId == 0 || owner == search->processId)
        && (!search->windowClass || ClassOf(window) == search->windowClass)
        && (!search->caption || TextOf(window).rfind(search->caption, 0) == 0)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// A top-level window of the process (0: of any), by class and caption.
HWND TopLevelOf(DWORD processId, const char* windowClass, const char* caption)
{
    TopLevelSearch search{processId, windowClass, caption, nullptr};
    ::EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool HasControl(HWND page, int id, const char* className)
{
    HWND control = ::GetDlgItem(page, id);
    return control && ClassOf(control) == className;
}

bool Start(const std::string& program, Running& run)
{
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + program + "\"";
    if (!::CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &run.process))
        return false;
    if (!WaitFor([&] { return (run.frame = TopLevelOf(run.process.dwProcessId, CMainFrame::WindowClass, nullptr)) != nullptr
                              && ::IsWindowVisible(run.frame); }, 30000))
        return false;
    run.view = ::FindWindowExA(run.frame, nullptr, "#32770", nullptr);
    if (!run.view)
        return false;
    for (HWND child = ::GetWindow(run.view, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (ClassOf(child) != "#32770")
            continue;
        if (HasControl(child, IDC_STATUS_LIST, WC_LISTVIEWA))
            run.statusPage = child;
        else if (HasControl(child, IDC_RUN_PROGRESS, PROGRESS_CLASSA))
            run.freePage = child;
        else if (HasControl(child, IDC_INTERVAL_SPIN, UPDOWN_CLASSA))
            run.regularPage = child;
        else
            run.automationPage = child;
    }
    return run.statusPage && run.freePage && run.automationPage && run.regularPage;
}

bool Ended(Running& run, DWORD timeoutMs)
{
    const bool ended = ::WaitForSingleObject(run.process.hProcess, timeoutMs) == WAIT_OBJECT_0;
    if (!ended)
        ::TerminateProcess(run.process.hProcess, 1);
    ::CloseHandle(run.process.hThread);
    ::CloseHandle(run.process.hProcess);
    return ended;
}

// A list view cell of another process, through memory lent in that process.
std::string RemoteCell(HANDLE process, HWND list, int row, int column)
{
    const SIZE_T textSize = 256;
    auto* remote = static_cast<BYTE*>(::VirtualAllocEx(process, nullptr, sizeof(LVITEMA) + textSize,
                                                        MEM_COMMIT, PAGE_READWRITE));
    if (!remote)
        return "<no memory>";
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = reinterpret_cast<char*>(remote + sizeof(LVITEMA));
    item.cchTextMax = textSize;
    ::WriteProcessMemory(process, remote, &item, sizeof item, nullptr);
    ::SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(remote));
    char text[textSize] = {};
    ::ReadProcessMemory(process, remote + sizeof(LVITEMA), text, textSize - 1, nullptr);
    ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    return text;
}

bool EndsWith(const std::string& text, const std::string& tail)
{
    return text.size() > tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

bool Shown(HWND window) { return ::IsWindowVisible(window) != FALSE; }

void ClickButton(HWND dialog, int id)
{
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

void MoveSlider(HWND page, int id, int position)
{
    HWND slider = ::GetDlgItem(page, id);
    ::SendMessageA(slider, TBM_SETPOS, TRUE, position);
    ::SendMessageA(page, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position), reinterpret_cast<LPARAM>(slider));
}

int SliderPos(HWND page, int id)
{
    return static_cast<int>(::SendDlgItemMessageA(page, id, TBM_GETPOS, 0, 0));
}

int GaugePos(HWND page, int id)
{
    return static_cast<int>(::SendDlgItemMessageA(page, id, PBM_GETPOS, 0, 0));
}

// The forecast gauge shows the available memory plus amount, capped at the
// total, as the available gauge shows it in the same tick.
bool ForecastIncludes(HWND page, int amount)
{
    const int total = static_cast<int>(::SendDlgItemMessageA(page, IDC_AVAILABLE_GAUGE, PBM_GETRANGE, FALSE, 0));
    const int available = GaugePos(page, IDC_AVAILABLE_GAUGE);
    const int forecast = GaugePos(page, IDC_FORECAST_GAUGE);
    return forecast == std::min(available + amount, total) && available == GaugePos(page, IDC_AVAILABLE_GAUGE);
}

void CheckMemoryStatusPage(Running& run)
{
    Check(Shown(run.statusPage) && !Shown(run.freePage) && !Shown(run.automationPage) && !Shown(run.regularPage),
          "the Memory Status page alone is shown at start");
    HWND list = ::GetDlgItem(run.statusPage, IDC_STATUS_LIST);
    const int rows = static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    Check(rows == 9, "the status list holds nine figures (" + std::to_string(rows) + ")");
    std::vector<std::string> values;
    for (int row = 0; row < rows; ++row) {
        values.push_back(RemoteCell(run.process.hProcess, list, row, 1));
        std::printf("     %-32s %s\n", RemoteCell(run.process.hProcess, list, row, 0).c_str(), values.back().c_str());
    }
    if (values.size() == 9) {
        bool formats = EndsWith(values[0], " %") && EndsWith(values[8], " bytes");
        for (int row = 1; row <= 5; ++row)
            formats = formats && EndsWith(values[row], " MBs");
        formats = formats && values[6].rfind("0x", 0) == 0 && values[7].rfind("0x", 0) == 0;
        Check(formats, "each figure has its unit");
    }
}

void FreeMemory(Running& run)
{
    ClickButton(run.view, IDC_PAGE_BUTTON_FREE);
    Check(Shown(run.freePage) && !Shown(run.statusPage), "page button 1001 shows the Free Memory page");
    MoveSlider(run.freePage, IDC_FREE_AMOUNT_SLIDER, 256);
    Check(TextOf(::GetDlgItem(run.freePage, IDC_FREE_AMOUNT_TEXT)) == "256 MBs", "the amount reads 256 MBs");
    // The page's next tick brings the amount into the forecast.
    Check(WaitFor([&] { return ForecastIncludes(run.freePage, 256); }, 5000),
          "the forecast adds the amount to the available memory");
    HWND progress = ::GetDlgItem(run.freePage, IDC_RUN_PROGRESS);
    HWND freeButton = ::GetDlgItem(run.freePage, IDC_FREE_BUTTON);
    Check(!Shown(progress) && ::IsWindowEnabled(freeButton), "before the run: no progress bar, Free enabled");
    ClickButton(run.freePage, IDC_FREE_BUTTON);
    Check(WaitFor([&] { return Shown(progress) && !::IsWindowEnabled(freeButton); }, 10000, 5),
          "during the run: the progress bar shows and Free is disabled");
    Check(WaitFor([&] { return !Shown(progress) && ::IsWindowEnabled(freeButton); }, 120000, 50),
          "after the run: the progress bar goes and Free comes back");
}

void SwitchPages(Running& run)
{
    const std::pair<UINT, HWND> commands[] = {{ID_VIEW_AUTOMATION, run.automationPage},
                                              {ID_VIEW_MEMORY_STATUS, run.statusPage},
                                              {ID_VIEW_REGULAR_FREE, run.regularPage}};
    for (const auto& [command, page] : commands) {
        ::SendMessageA(run.frame, WM_COMMAND, MAKEWPARAM(command, 0), 0);
        int shown = Shown(run.statusPage) + Shown(run.freePage) + Shown(run.automationPage) + Shown(run.regularPage);
        Check(Shown(page) && shown == 1, "View command " + std::to_string(command) + " shows its page alone");
    }
}

void TurnRememberSettingsOn(Running& run)
{
    ::PostMessageA(run.frame, WM_COMMAND, MAKEWPARAM(ID_TOOLS_PREFERENCE, 0), 0);
    HWND dialog = nullptr;
    Check(WaitFor([&] { return (dialog = TopLevelOf(run.process.dwProcessId, "#32770", "Tools")) != nullptr; }, 10000),
          "Tools > Preference opens the dialog");
    if (!dialog)
        return;
    Check(!::IsWindowEnabled(run.frame), "the main window is disabled while it is open");
    ::SendDlgItemMessageA(dialog, IDC_CHECK_REMEMBER_SETTINGS, BM_SETCHECK, BST_CHECKED, 0);
    ClickButton(dialog, IDC_SAVE_BUTTON);
    ClickButton(dialog, IDC_CANCEL_BUTTON);
    Check(WaitFor([&] { return !::IsWindow(dialog); }, 5000), "Cancel closes it");
}

void SetRegularFree(Running& run)
{
    MoveSlider(run.regularPage, IDC_REGULAR_AMOUNT_SLIDER, 300);
    MoveSlider(run.regularPage, IDC_THRESHOLD_SLIDER, 200);
    ::SendDlgItemMessageA(run.regularPage, IDC_INTERVAL_SPIN, UDM_SETPOS32, 0, 45);
    ClickButton(run.regularPage, IDC_RADIO_FREE_MEMORY);
    ::SendDlgItemMessageA(run.regularPage, IDC_RADIO_FREE_MEMORY, BM_SETCHECK, BST_CHECKED, 0);
    ::SendDlgItemMessageA(run.regularPage, IDC_RADIO_KEEP_AT_LEAST, BM_SETCHECK, BST_UNCHECKED, 0);
}

void CheckRegularFreeRestored(Running& run)
{
    HWND page = run.regularPage;
    Check(::SendDlgItemMessageA(page, IDC_RADIO_FREE_MEMORY, BM_GETCHECK, 0, 0) == BST_CHECKED,
          "restored: \"Free memory :\" is chosen");
    Check(SliderPos(page, IDC_REGULAR_AMOUNT_SLIDER) == 300, "restored: the amount slider at 300");
    Check(SliderPos(page, IDC_THRESHOLD_SLIDER) == 200, "restored: the threshold slider at 200");
    Check(LOWORD(::SendDlgItemMessageA(page, IDC_INTERVAL_SPIN, UDM_GETPOS, 0, 0)) == 45,
          "restored: the interval at 45 s");
    Check(TextOf(::GetDlgItem(page, IDC_REGULAR_AMOUNT_TEXT)) == "300 MBs", "restored: the amount text");
    Check(TextOf(::GetDlgItem(page, IDC_THRESHOLD_TEXT)) == "200 MBs free", "restored: the threshold text");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::printf("usage: e2e_driver Kolvar.exe | --post COMMAND-ID\n");
        return 2;
    }
    // For screenshots: posts one menu command to a running Kolvar.
    if (argc == 3 && std::strcmp(argv[1], "--post") == 0) {
        HWND frame = TopLevelOf(0, CMainFrame::WindowClass, nullptr);
        return frame && ::PostMessageA(frame, WM_COMMAND, MAKEWPARAM(std::atoi(argv[2]), 0), 0) ? 0 : 1;
    }
    const std::string program = argv[1];
    // A first start: no settings yet.
    ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Velkor\\Halven Mark");
    ::RegDeleteTreeA(HKEY_CURRENT_USER, "SOFTWARE\\Velkor\\Halven Mark");

    Running first;
    Check(Start(program, first), "Kolvar starts and shows its window with four pages");
    if (failures)
        return 1;
    CheckMemoryStatusPage(first);
    FreeMemory(first);
    SwitchPages(first);
    TurnRememberSettingsOn(first);
    SetRegularFree(first);
    ::PostMessageA(first.frame, WM_COMMAND, MAKEWPARAM(ID_FILE_EXIT, 0), 0);
    Check(Ended(first, 20000), "File > Exit ends the program");

    Running second;
    Check(Start(program, second), "Kolvar starts again");
    if (second.regularPage)
        CheckRegularFreeRestored(second);
    if (second.frame)
        ::PostMessageA(second.frame, WM_CLOSE, 0, 0);
    Check(Ended(second, 20000), "the close box ends the program");

    std::printf("%s\n", failures ? "E2E FAILED" : "E2E PASSED");
    return failures ? 1 : 0;
}
