// Drives the real Kolvar.exe from another process, as a user would: reads
// the Memory Status list, frees memory from the Free Memory page, switches
// pages, turns "Remember settings" on, sets the Regular Free page, exits,
// and checks that the next start brings those values back; then ends a
// session on a hidden copy (and on one that is freeing memory), starts a
// second copy against a shown, a hidden and a minimised one, and registers
// a copy in a folder named outside the ANSI code page. Every wait is
// bounded; the exit code says whether everything held.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

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
    if (!WaitFor([&] { return (run.frame = TopLevelOf(run.process.dwProcessId, CMainFrame::kWindowClass, nullptr)) != nullptr
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
// total, as the available gauge shows it in the same tick; or less where a
// run cannot hold that much, but never less than the available memory.
bool ForecastIncludes(HWND page, int amount)
{
    const int total = static_cast<int>(::SendDlgItemMessageA(page, IDC_AVAILABLE_GAUGE, PBM_GETRANGE, FALSE, 0));
    const int available = GaugePos(page, IDC_AVAILABLE_GAUGE);
    const int forecast = GaugePos(page, IDC_FORECAST_GAUGE);
    return forecast <= std::min(available + amount, total) && forecast >= available
        && available == GaugePos(page, IDC_AVAILABLE_GAUGE);
}

// Slider at its maximum: the forecast promises no more than a run then
// holds (or what is available anyway), and the window answers throughout.
void FreeAsMuchAsTheSliderAllows(Running& run)
{
    HWND slider = ::GetDlgItem(run.freePage, IDC_FREE_AMOUNT_SLIDER);
    MoveSlider(run.freePage, IDC_FREE_AMOUNT_SLIDER, static_cast<int>(::SendMessageA(slider, TBM_GETRANGEMAX, 0, 0)));
    ::Sleep(300); // a few of the page's ticks
    const std::string forecast = TextOf(::GetDlgItem(run.freePage, IDC_FORECAST_TEXT));
    const long forecastMB = std::atol(forecast.c_str() + forecast.rfind(':') + 1);
    const long availableMB = GaugePos(run.freePage, IDC_AVAILABLE_GAUGE);
    PROCESS_MEMORY_COUNTERS memory{sizeof memory, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    ::K32GetProcessMemoryInfo(run.process.hProcess, &memory, sizeof memory);
    const SIZE_T before = memory.WorkingSetSize;
    HWND progress = ::GetDlgItem(run.freePage, IDC_RUN_PROGRESS);
    const DWORD start = ::GetTickCount();
    ClickButton(run.freePage, IDC_FREE_BUTTON);
    DWORD slowestMs = 0;
    for (bool began = false; !began || Shown(progress); ::Sleep(20)) {
        const DWORD asked = ::GetTickCount();
        DWORD_PTR answer = 0;
        const bool answered = ::SendMessageTimeoutA(run.frame, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &answer) != 0;
        slowestMs = std::max(slowestMs, answered ? ::GetTickCount() - asked : 1000);
        began = began || Shown(progress) || asked - start > 10000;
    }
    const DWORD tookMs = ::GetTickCount() - start;
    ::K32GetProcessMemoryInfo(run.process.hProcess, &memory, sizeof memory);
    const long heldMB = static_cast<long>((memory.PeakWorkingSetSize - before) >> 20);
    ::Sleep(1500); // past the platform's cached figure
    std::printf("     forecast %ld MB; available %ld MB before, %d MB after; the run held %ld MB at its peak, %lu ms\n",
                forecastMB, availableMB, GaugePos(run.freePage, IDC_AVAILABLE_GAUGE), heldMB,
                static_cast<unsigned long>(tookMs));
    Check(forecastMB <= std::max(availableMB, heldMB) + 128,
          "the forecast at the slider's maximum is no more than the available memory or what the run held");
    Check(slowestMs < 1000,
          "the window answers within 1 s throughout the run (slowest " + std::to_string(slowestMs) + " ms)");
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
    FreeAsMuchAsTheSliderAllows(run);
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

bool StoppedRunning(const Running& run)
{
    return ::WaitForSingleObject(run.process.hProcess, 0) == WAIT_OBJECT_0;
}

// Ends a start that came up with no window of its own and answers its exit code.
DWORD ExitCodeOf(PROCESS_INFORMATION& process, DWORD timeoutMs)
{
    DWORD code = STILL_ACTIVE;
    if (::WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0)
        ::GetExitCodeProcess(process.hProcess, &code);
    else
        ::TerminateProcess(process.hProcess, 1);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return code;
}

BOOL CALLBACK CountFrame(HWND window, LPARAM count)
{
    if (ClassOf(window) == CMainFrame::kWindowClass)
        ++*reinterpret_cast<int*>(count);
    return TRUE;
}

int FrameCount()
{
    int count = 0;
    ::EnumWindows(CountFrame, reinterpret_cast<LPARAM>(&count));
    return count;
}

// The Regular Free values as stored now, wherever the program keeps them.
std::vector<DWORD> StoredPageValues()
{
    std::vector<DWORD> values;
    for (const char* name : {"page41-01", "page41-02", "page41-03", "page41-04", "page41-05"}) {
        DWORD value = 0xFFFFFFFF, size = sizeof value;
        if (::RegGetValueA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Velkor\\Halven Mark", name, RRF_RT_REG_DWORD, nullptr,
                           &value, &size)
            != ERROR_SUCCESS)
            ::RegGetValueA(HKEY_CURRENT_USER, "SOFTWARE\\Velkor\\Halven Mark", name, RRF_RT_REG_DWORD, nullptr,
                           &value, &size);
        values.push_back(value);
    }
    return values;
}

void PostCommand(const Running& run, UINT id) { ::PostMessageA(run.frame, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

// A left click on the tray icon, as the shell reports it to the view.
void ClickTrayIcon(const Running& run) { ::PostMessageA(run.view, WM_USER + 5, 0, WM_LBUTTONUP); }

void ChangeRegularFree(Running& run)
{
    MoveSlider(run.regularPage, IDC_REGULAR_AMOUNT_SLIDER, 700);
    MoveSlider(run.regularPage, IDC_THRESHOLD_SLIDER, 150);
    ::SendDlgItemMessageA(run.regularPage, IDC_INTERVAL_SPIN, UDM_SETPOS32, 0, 90);
    ::SendDlgItemMessageA(run.regularPage, IDC_RADIO_KEEP_AT_LEAST, BM_SETCHECK, BST_CHECKED, 0);
    ::SendDlgItemMessageA(run.regularPage, IDC_RADIO_FREE_MEMORY, BM_SETCHECK, BST_UNCHECKED, 0);
}

void CheckChangedRegularFreeRestored(Running& run)
{
    HWND page = run.regularPage;
    Check(::SendDlgItemMessageA(page, IDC_RADIO_KEEP_AT_LEAST, BM_GETCHECK, 0, 0) == BST_CHECKED
              && SliderPos(page, IDC_REGULAR_AMOUNT_SLIDER) == 700 && SliderPos(page, IDC_THRESHOLD_SLIDER) == 150
              && LOWORD(::SendDlgItemMessageA(page, IDC_INTERVAL_SPIN, UDM_GETPOS, 0, 0)) == 90,
          "after the session end: \"Keep at least :\", 700, 150 and 90 s come back");
}

// Ends the session as the system does: the query, the end (timed), then
// the process is ended. Answers the milliseconds spent in WM_ENDSESSION.
double EndSession(Running& run)
{
    DWORD_PTR answer = 0;
    Check(::SendMessageTimeoutA(run.frame, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000, &answer)
              && answer == TRUE,
          "WM_QUERYENDSESSION is answered TRUE");
    LARGE_INTEGER frequency, before, after;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&before);
    const bool answered = ::SendMessageTimeoutA(run.frame, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG,
                                                10000, &answer)
        != 0;
    ::QueryPerformanceCounter(&after);
    const double ms = 1000.0 * double(after.QuadPart - before.QuadPart) / double(frequency.QuadPart);
    Check(answered && ms < 5000, "WM_ENDSESSION returns within 5 s");
    Check(TopLevelOf(run.process.dwProcessId, CMainFrame::kWindowClass, nullptr) != nullptr && !StoppedRunning(run),
          "the program lives on until it is ended");
    ::TerminateProcess(run.process.hProcess, 0);
    Ended(run, 5000);
    return ms;
}

void SessionEndKeepsTheValues(const std::string& program)
{
    Running run;
    Check(Start(program, run), "Kolvar starts for a session end");
    if (!run.regularPage)
        return;
    ChangeRegularFree(run);
    PostCommand(run, ID_FILE_HIDE_TO_TRAY);
    Check(WaitFor([&] { return !Shown(run.frame); }, 5000), "hidden to the tray");
    ClickTrayIcon(run);
    Check(WaitFor([&] { return Shown(run.frame); }, 5000), "shown again by a click on the tray icon");
    PostCommand(run, ID_FILE_HIDE_TO_TRAY);
    Check(WaitFor([&] { return !Shown(run.frame); }, 5000), "hidden again");
    const double idleMs = EndSession(run);
    std::printf("     time in WM_ENDSESSION, no run in progress: %.1f ms\n", idleMs);

    Running next;
    Check(Start(program, next), "Kolvar starts after the session end");
    if (!next.regularPage)
        return;
    CheckChangedRegularFreeRestored(next);

    // Again with a freeing run in progress: the largest amount the page offers.
    ClickButton(next.view, IDC_PAGE_BUTTON_FREE);
    const int most = static_cast<int>(::SendDlgItemMessageA(next.freePage, IDC_FREE_AMOUNT_SLIDER, TBM_GETRANGEMAX, 0, 0));
    MoveSlider(next.freePage, IDC_FREE_AMOUNT_SLIDER, most);
    WaitFor([&] { return ForecastIncludes(next.freePage, most); }, 5000);
    HWND freeButton = ::GetDlgItem(next.freePage, IDC_FREE_BUTTON);
    ClickButton(next.freePage, IDC_FREE_BUTTON);
    const bool running = WaitFor([&] { return !::IsWindowEnabled(freeButton); }, 10000, 2);
    const double runMs = EndSession(next);
    std::printf("     time in WM_ENDSESSION, %s: %.1f ms\n",
                running ? "a freeing run in progress" : "(the run had ended already)", runMs);
}

void SecondStartBringsTheRunningCopyForward(const std::string& program)
{
    Running run;
    Check(Start(program, run), "Kolvar starts for the second-start checks");
    if (!run.frame)
        return;
    const std::vector<DWORD> stored = StoredPageValues();
    const std::pair<const char*, std::function<bool()>> states[] = {
        {"shown", [&] { return Shown(run.frame); }},
        {"hidden", [&] { PostCommand(run, ID_FILE_HIDE_TO_TRAY); return WaitFor([&] { return !Shown(run.frame); }, 5000); }},
        {"minimised", [&] { ::ShowWindow(run.frame, SW_MINIMIZE); return WaitFor([&] { return ::IsIconic(run.frame) != FALSE; }, 5000); }},
    };
    for (const auto& [name, prepare] : states) {
        const std::string against = std::string(" (against a ") + name + " copy)";
        Check(prepare(), std::string("the running copy is ") + name);
        Running second;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        std::string commandLine = "\"" + program + "\"";
        if (!::CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                              &startup, &second.process)) {
            Check(false, "a second start" + against);
            continue;
        }
        Check(ExitCodeOf(second.process, 20000) == 0, "the second start ends with exit code 0" + against);
        Check(WaitFor([&] { return Shown(run.frame) && !::IsIconic(run.frame); }, 5000),
              "the first window is shown and restored" + against);
        Check(!StoppedRunning(run) && FrameCount() == 1, "one Kolvar remains" + against);
    }
    Check(StoredPageValues() == stored, "the second starts changed no stored value");

    // A start right after Exit is a start of its own.
    PostCommand(run, ID_FILE_EXIT);
    Running after;
    Check(Start(program, after), "a start right after Exit shows its own window");
    Check(Ended(run, 20000), "the copy that was left has ended");
    if (after.frame)
        PostCommand(after, ID_FILE_EXIT);
    Ended(after, 20000);
}

// Reads a wide text value; "(none)" when missing.
std::wstring WideValue(HKEY root, const wchar_t* path, const wchar_t* name)
{
    wchar_t text[512] = {};
    DWORD size = sizeof text - sizeof(wchar_t);
    if (::RegGetValueW(root, path, name, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
        return L"(none)";
    return text;
}

// The program copied into a folder whose name no ANSI code page holds whole,
// registered to start at log-on through its Preferences.
void AFolderOutsideTheAnsiCodePage(const std::string& program)
{
    const std::wstring folder = L"C:\\Kolvar \u03A9\u043C\u044F\u6F22";
    const std::wstring copy = folder + L"\\Kolvar.exe";
    std::wstring from(program.begin(), program.end());
    from = from.substr(0, from.find_last_of(L'\\'));
    ::CreateDirectoryW(folder.c_str(), nullptr);
    Check(::CopyFileW((from + L"\\Kolvar.exe").c_str(), copy.c_str(), FALSE)
              && ::CopyFileW((from + L"\\drevcore.dll").c_str(), (folder + L"\\drevcore.dll").c_str(), FALSE),
          "the program is copied into a folder named outside the ANSI code page");
    Running run;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring commandLine = L"\"" + copy + L"\"";
    if (!::CreateProcessW(copy.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                          &startup, &run.process)
        || !WaitFor([&] { return (run.frame = TopLevelOf(run.process.dwProcessId, CMainFrame::kWindowClass, nullptr)) != nullptr
                              && Shown(run.frame); }, 30000)) {
        Check(false, "the copy in that folder starts");
        return;
    }
    PostCommand(run, ID_TOOLS_PREFERENCE);
    HWND dialog = nullptr;
    if (WaitFor([&] { return (dialog = TopLevelOf(run.process.dwProcessId, "#32770", "Tools")) != nullptr; }, 10000)) {
        ::SendDlgItemMessageA(dialog, IDC_CHECK_RUN_AT_STARTUP, BM_SETCHECK, BST_CHECKED, 0);
        ClickButton(dialog, IDC_SAVE_BUTTON);
        ClickButton(dialog, IDC_CANCEL_BUTTON);
    }
    const wchar_t* run_key = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
    std::wstring entry = WideValue(HKEY_LOCAL_MACHINE, run_key, L"Kolvar");
    if (entry == L"(none)")
        entry = WideValue(HKEY_CURRENT_USER, run_key, L"Kolvar");
    Check(entry == L"\"" + copy + L"\"", "the Run entry holds that path, every character kept");
    std::wstring stored = WideValue(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Velkor\\Halven Mark", L"path01");
    if (stored == L"(none)")
        stored = WideValue(HKEY_CURRENT_USER, L"SOFTWARE\\Velkor\\Halven Mark", L"path01");
    Check(stored == copy, "the stored path is that path too");
    PostCommand(run, ID_FILE_EXIT);
    Check(Ended(run, 20000), "the copy ends on Exit");
    ::RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, run_key, L"Kolvar");
    ::RegDeleteKeyValueW(HKEY_CURRENT_USER, run_key, L"Kolvar");
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
        HWND frame = TopLevelOf(0, CMainFrame::kWindowClass, nullptr);
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

    SessionEndKeepsTheValues(program);
    SecondStartBringsTheRunningCopyForward(program);
    AFolderOutsideTheAnsiCodePage(program);

    std::printf("%s\n", failures ? "E2E FAILED" : "E2E PASSED");
    return failures ? 1 : 0;
}
