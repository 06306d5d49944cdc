// The main menu as the user sees it, the template's own menu, and the
// strings the framework reads.
#include "resource.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace {

struct Item {
    const char* text; // nullptr for a separator
    UINT command;
};

struct Popup {
    const char* title;
    std::vector<Item> items;
};

constexpr Item kSeparator{nullptr, 0};

std::string MenuText(HMENU menu, int position)
{
    char text[128] = {};
    GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
    return text;
}

bool IsSeparator(HMENU menu, int position)
{
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info);
    return (info.fType & MFT_SEPARATOR) != 0;
}

void ExpectMenu(HMENU menu, const std::vector<Popup>& popups)
{
    ASSERT_NE(nullptr, menu);
    ASSERT_EQ(static_cast<int>(popups.size()), GetMenuItemCount(menu));
    for (size_t p = 0; p < popups.size(); ++p) {
        const Popup& want = popups[p];
        EXPECT_EQ(want.title, MenuText(menu, static_cast<int>(p)));
        HMENU popup = GetSubMenu(menu, static_cast<int>(p));
        ASSERT_NE(nullptr, popup) << want.title;
        ASSERT_EQ(static_cast<int>(want.items.size()), GetMenuItemCount(popup)) << want.title;
        for (size_t i = 0; i < want.items.size(); ++i) {
            const int position = static_cast<int>(i);
            const std::string where = std::string(want.title) + " item " + std::to_string(i);
            if (!want.items[i].text) {
                EXPECT_TRUE(IsSeparator(popup, position)) << where;
                continue;
            }
            EXPECT_FALSE(IsSeparator(popup, position)) << where;
            EXPECT_EQ(want.items[i].text, MenuText(popup, position)) << where;
            EXPECT_EQ(want.items[i].command, GetMenuItemID(popup, position)) << where;
            EXPECT_EQ(0u, GetMenuState(popup, static_cast<UINT>(position), MF_BYPOSITION) & (MF_CHECKED | MF_GRAYED | MF_DISABLED)) << where;
        }
    }
}

TEST(Menus, MainMenuOffersEveryCommandOnce)
{
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAIN_MENU));
    ExpectMenu(menu, {
                         {"File", {{"Hide to Tray Icon", ID_FILE_HIDE_TO_TRAY}, kSeparator, {"Exit", ID_FILE_EXIT}}},
                         {"Tools", {{"Preference", ID_TOOLS_PREFERENCE}}},
                         {"View", {{"Memory Status", ID_VIEW_MEMORY_STATUS}, {"Free Memory", ID_VIEW_FREE_MEMORY}, {"Automation", ID_VIEW_AUTOMATION}, {"Regular Free", ID_VIEW_REGULAR_FREE}}},
                         {"Help", {{"Web site", ID_HELP_WEB_SITE}, kSeparator, {"About Velkor Halvenmark", ID_HELP_ABOUT}}},
                     });
    DestroyMenu(menu);
}

TEST(Menus, TemplateMenuHoldsTheFrameworkCommandsOnly)
{
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
    ASSERT_NE(nullptr, menu);
    for (UINT command : {ID_FILE_NEW, ID_FILE_OPEN, ID_APP_ABOUT})
        EXPECT_NE(static_cast<UINT>(-1), GetMenuState(menu, command, MF_BYCOMMAND)) << command;
    // The program's own commands belong to the main menu alone.
    for (UINT command = 32771; command <= 32786; ++command)
        EXPECT_EQ(static_cast<UINT>(-1), GetMenuState(menu, command, MF_BYCOMMAND)) << command;
    DestroyMenu(menu);
}

TEST(Strings, ApplicationNameAndDocumentTemplate)
{
    struct Entry {
        UINT id;
        const char* text;
    };
    for (const Entry& entry : {Entry{IDS_APP_TITLE, "Quendrix"},
                               Entry{IDR_MAINFRAME, "Quendrix\n\nKolvar\n\n\nQuendrix.Document\nKolvar Document"}}) {
        char text[256] = {};
        const int length = LoadStringA(GetModuleHandleA(nullptr), entry.id, text, sizeof text);
        EXPECT_EQ(static_cast<int>(std::string(entry.text).size()), length) << entry.id;
        EXPECT_STREQ(entry.text, text) << entry.id;
    }
}

} // namespace
