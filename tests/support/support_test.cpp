#include <gtest/gtest.h>

#include "call_log.h"
#include "dialog_items.h"
#include "host_window.h"
#include "import_redirect.h"
#include "message_log.h"
#include "message_pump.h"

namespace {

int enabledQueries = 0;
decltype(&::IsWindowEnabled) realIsWindowEnabled = nullptr;

BOOL WINAPI CountIsWindowEnabled(HWND window)
{
    ++enabledQueries;
    return realIsWindowEnabled(window);
}

// The compiler takes an imported address as fixed and may read it once for
// several calls: each call here reads the slot afresh, as the program's do.
__attribute__((noinline)) BOOL AskIsWindowEnabled(HWND window)
{
    return ::IsWindowEnabled(window);
}

__attribute__((noinline)) void WriteWideAndDelete(HKEY key)
{
    static const wchar_t kPath[] = L"C:\\k\u00e9.exe";
    ::RegSetValueExW(key, L"path01", 0, REG_SZ, reinterpret_cast<const BYTE*>(kPath), sizeof kPath);
    ::RegDeleteValueW(key, L"path01");
    ::RegCloseKey(key);
    ::RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\KolvarSupportTest");
}

class SupportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        host = CreateHostWindow();
        ASSERT_NE(host, nullptr);
    }
    void TearDown() override { ::DestroyWindow(host); }

    HWND host = nullptr;
};

} // namespace

TEST_F(SupportTest, RedirectedImportSeesTheCallsAndPassesThemOnUntilPutBack)
{
    ::EnableWindow(host, FALSE);
    realIsWindowEnabled = RedirectImport("USER32.dll", "IsWindowEnabled", &CountIsWindowEnabled);
    ASSERT_NE(realIsWindowEnabled, nullptr);

    enabledQueries = 0;
    EXPECT_FALSE(AskIsWindowEnabled(host)); // the real result, not the replacement's own
    EXPECT_EQ(enabledQueries, 1);

    EXPECT_EQ(RedirectImport("user32.dll", "IsWindowEnabled", realIsWindowEnabled), &CountIsWindowEnabled);
    EXPECT_FALSE(AskIsWindowEnabled(host));
    EXPECT_EQ(enabledQueries, 1);
}

TEST_F(SupportTest, ImportsTheProgramDoesNotMakeHaveNoSlot)
{
    HMODULE program = ::GetModuleHandle(nullptr);
    EXPECT_NE(ImportSlot(program, "user32.dll", "IsWindowEnabled"), nullptr);
    EXPECT_EQ(ImportSlot(program, "user32.dll", "NoSuchFunction"), nullptr);
    EXPECT_EQ(ImportSlot(program, "nosuch.dll", "IsWindowEnabled"), nullptr);
    EXPECT_EQ(SwapImport("user32.dll", "NoSuchFunction", reinterpret_cast<void*>(&CountIsWindowEnabled)), nullptr);
}

TEST_F(SupportTest, CounterCountsEachMessageAndGivesTheControlBackItsProcedure)
{
    HWND button = ::CreateWindowExA(0, "BUTTON", "press", WS_CHILD | BS_AUTOCHECKBOX, 0, 0, 80, 20, host,
                                    reinterpret_cast<HMENU>(100), ::GetModuleHandle(nullptr), nullptr);
    ASSERT_NE(button, nullptr);
    const LONG_PTR original = ::GetWindowLongPtr(button, GWLP_WNDPROC);
    {
        MessageLog counter(button);
        Click(host, 100);
        ::SendMessage(button, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("pressed"));
        ::SendMessage(button, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("pressed twice"));
        EXPECT_EQ(counter.Count(BM_CLICK), 1);
        EXPECT_EQ(counter.Count(WM_SETTEXT), 2);
        EXPECT_EQ(counter.Count(WM_CLOSE), 0);
        // The control still does its own work behind the counter.
        EXPECT_TRUE(IsChecked(host, 100));
        EXPECT_EQ(ControlText(host, 100), "pressed twice");
    }
    EXPECT_EQ(::GetWindowLongPtr(button, GWLP_WNDPROC), original);
}

TEST_F(SupportTest, PumpDispatchesPostedMessagesAndGivesUpInTime)
{
    HWND button = ::CreateWindowExA(0, "BUTTON", "", WS_CHILD, 0, 0, 80, 20, host, nullptr,
                                    ::GetModuleHandle(nullptr), nullptr);
    MessageLog counter(button);
    ::PostMessage(button, WM_NULL, 7, 0x2A);
    ::SendMessage(button, WM_NULL, 0, 0);
    EXPECT_TRUE(PumpUntil([&] { return counter.Count(WM_NULL) == 2; }));
    EXPECT_TRUE(SameSequence({counter.Entries()[0].Describe(), counter.Entries()[1].Describe()},
                             {"WM_NULL sent 0 0x0", "WM_NULL posted 7 0x2A"}));

    const DWORD start = ::GetTickCount();
    EXPECT_FALSE(PumpUntil([] { return false; }, 100));
    const DWORD waited = ::GetTickCount() - start;
    EXPECT_GE(waited, 90u);
    EXPECT_LT(waited, 1500u);
}

TEST(CallLogTest, LogsWideWritesAndDeletes)
{
    CallLog::Observe({LoggedCall::RegSetValue, LoggedCall::RegDelete});
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\KolvarSupportTest", 0, nullptr, 0, KEY_ALL_ACCESS,
                                nullptr, &key, nullptr),
              ERROR_SUCCESS);
    CallLog::Clear();
    WriteWideAndDelete(key);
    EXPECT_TRUE(SameSequence(Describe(CallLog::All()), {"path01 = \"C:\\k\xc3\xa9.exe\"", "delete value path01", "delete key Software\\KolvarSupportTest"}));
}
