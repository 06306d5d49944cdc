// Every dialog template, created for real: each control's id, class, key
// styles, text or image, and place in dialog units, in template order.
#include "resource.h"
#include "window_probe.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

// Formatted by hand: the expected templates, one control a line.
// clang-format off
enum class Kind {
    Icon, Bitmap, Text, BlackFrame, BlackRect, GrayRect, EtchedVert, GroupBox,
    PushButton, DefPushButton, AutoCheck, AutoRadio, Edit, UpDown, Progress, Slider, ListView
};

// How the window system places a control relative to its template rectangle.
enum class Placement {
    Exact,
    Origin,      // images size themselves to the picture
    SpinBuddy,   // an edit box that gives up its right end to its up-down
    BuddySpin,   // an up-down that moves onto its buddy's right edge
};

// An up-down aligned to its buddy covers the buddy's border, up to 2 pixels.
constexpr int kBuddyBorder = 2;

struct Control {
    int id;
    Kind kind;
    const char* text;  // caption, or nullptr where an image stands instead
    int image;         // icon or bitmap resource id for Icon and Bitmap
    int x, y, width, height;
    DWORD flags;       // further styles that must be set
    bool tabStop;
    Placement placement;
};

Control IconItem(int image, int x, int y) { return {IDC_STATIC, Kind::Icon, nullptr, image, x, y, 20, 20, 0, false, Placement::Origin}; }
Control BitmapItem(int image, int x, int y) { return {IDC_STATIC, Kind::Bitmap, nullptr, image, x, y, 8, 8, 0, false, Placement::Origin}; }
Control TextItem(int id, const char* caption, int x, int y, int w, int h, DWORD flags = 0) { return {id, Kind::Text, caption, 0, x, y, w, h, flags, false, Placement::Exact}; }
Control PlainItem(int id, Kind kind, int x, int y, int w, int h, DWORD flags = 0, bool tabStop = false) { return {id, kind, "", 0, x, y, w, h, flags, tabStop, Placement::Exact}; }
Control ButtonItem(int id, Kind kind, const char* caption, int x, int y, int w, int h, DWORD flags = 0, bool tabStop = true) { return {id, kind, caption, 0, x, y, w, h, flags, tabStop, Placement::Exact}; }

struct Template {
    int id;
    const char* caption;  // nullptr for child templates
    DWORD styles;         // must be set
    DWORD forbidden;      // must be clear
    DWORD extendedStyles;
    int pointSize;
    int width, height;
    std::vector<Control> controls;
};

constexpr DWORD kPageStyles = WS_CHILD | DS_CONTROL;
constexpr DWORD kPageForbidden = WS_VISIBLE | WS_CAPTION | WS_BORDER | WS_POPUP;

const char kStatusDescription[] =
    "Memory Status : \n     This page shows some values of memory in your computer.\n"
    "     All these values depend on the version of your operating systems.";
const char kFreeDescription[] =
    "Free Ram : \n     You can release a certain amount of physical memory.\n"
    "     Use the slider to set the amount and then press the button below.";
const char kAutomationDescription[] =
    "Automation Wizard : \n     There are three kinds of automatic setting of freeing memory.\n"
    "     Choose the one best suiting your needs or choose none.";
const char kRegularDescription[] =
    "Set Automation Manually : \n     Your may set the program to free memory at regular interval.\n"
    "     Press \"Apply\" to confirm the changes.\n"
    "     ( This function should not be used with Automation Wizard. ) ";

const std::vector<Template>& Templates()
{
    static const std::vector<Template> all = {
        {IDD_ABOUTBOX, "About Quendrix", WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, WS_CHILD, 0, 8, 235, 55, {
            IconItem(IDR_MAINFRAME, 11, 17),
            TextItem(IDC_STATIC, "Quendrix Version 1.0", 40, 10, 119, 8, SS_NOPREFIX),
            TextItem(IDC_STATIC, nullptr, 40, 25, 119, 8),
            ButtonItem(IDOK, Kind::DefPushButton, "OK", 178, 7, 50, 14),
        }},
        {IDD_QUENDRIX_FORM, nullptr, kPageStyles, kPageForbidden, 0, 10, 277, 209, {
            PlainItem(IDC_STATIC, Kind::GrayRect, 0, 0, 141, 69, WS_CLIPSIBLINGS),
            ButtonItem(IDC_PAGE_BUTTON_STATUS, Kind::PushButton, "Memory Status", 3, 182, 30, 24, BS_ICON),
            PlainItem(IDC_PAGE_AREA, Kind::BlackFrame, 0, 0, 277, 177, WS_CLIPSIBLINGS),
            ButtonItem(IDC_PAGE_BUTTON_FREE, Kind::PushButton, "Free Memory", 36, 182, 30, 24, BS_ICON),
            ButtonItem(IDC_PAGE_BUTTON_AUTOMATION, Kind::PushButton, "Automation Wizard", 69, 182, 30, 24, BS_ICON),
            ButtonItem(IDC_PAGE_BUTTON_REGULAR, Kind::PushButton, "Regular Free", 102, 182, 30, 24, BS_ICON),
            PlainItem(IDC_RAM_GAUGE, Kind::Progress, 180, 184, 89, 11, PBS_SMOOTH | WS_BORDER),
            {IDC_STATIC, Kind::EtchedVert, "", 0, 142, 180, 1, 29, 0, false, Placement::Origin},  // sized by its edge
            TextItem(IDC_AUTOMATION_LABEL, "Automation:", 159, 198, 109, 8),
            PlainItem(IDC_STATIC, Kind::BlackRect, 1, 177, 274, 1),
            TextItem(IDC_STATIC, "RAM:", 159, 186, 19, 8),
            BitmapItem(IDB_STAR_MARK, 147, 198),
            BitmapItem(IDB_BULLET_BLUE, 147, 186),
        }},
        {IDD_MEMORY_STATUS_PAGE, nullptr, kPageStyles, kPageForbidden, 0, 10, 275, 175, {
            IconItem(IDI_SCREEN, 9, 9),
            TextItem(IDC_STATIC, kStatusDescription, 42, 9, 213, 32),
            PlainItem(IDC_STATIC, Kind::BlackRect, 33, 42, 222, 1),
            PlainItem(IDC_STATUS_LIST, Kind::ListView, 9, 54, 204, 112, LVS_REPORT | WS_BORDER, true),
            ButtonItem(IDC_REFRESH_BUTTON, Kind::PushButton, "Refresh", 231, 142, 24, 24, BS_ICON),
        }},
        {IDD_FREE_MEMORY_PAGE, nullptr, kPageStyles, kPageForbidden, 0, 10, 275, 175, {
            IconItem(IDI_CHIP, 9, 9),
            PlainItem(IDC_AVAILABLE_GAUGE, Kind::Progress, 15, 75, 246, 9, WS_BORDER),
            TextItem(IDC_AVAILABLE_TEXT, "Available Memory : XXMB", 29, 63, 228, 8),
            PlainItem(IDC_FORECAST_GAUGE, Kind::Progress, 15, 105, 246, 9, WS_BORDER),
            TextItem(IDC_FORECAST_TEXT, "Available Memory : XXMB", 27, 93, 228, 8),
            PlainItem(IDC_FREE_AMOUNT_SLIDER, Kind::Slider, 50, 153, 69, 12, TBS_NOTICKS, true),
            ButtonItem(IDC_FREE_BUTTON, Kind::PushButton, "Free", 138, 143, 24, 24, BS_ICON),
            TextItem(IDC_FREE_AMOUNT_TEXT, "512 MB", 73, 144, 30, 8),
            PlainItem(IDC_RUN_PROGRESS, Kind::Progress, 139, 137, 23, 6, WS_BORDER),
            TextItem(IDC_STATIC, "To free :", 21, 156, 28, 8),
            BitmapItem(IDB_BULLET_BLUE, 15, 63),
            BitmapItem(IDB_BULLET_BLUE, 15, 93),
            BitmapItem(IDB_BULLET_SLIDER, 12, 156),
            TextItem(IDC_STATIC, kFreeDescription, 42, 9, 204, 32),
            PlainItem(IDC_STATIC, Kind::BlackRect, 33, 42, 222, 1),
        }},
        {IDD_AUTOMATION_PAGE, nullptr, kPageStyles, kPageForbidden, 0, 10, 275, 175, {
            IconItem(IDI_STAR, 9, 9),
            TextItem(IDC_STATIC, kAutomationDescription, 42, 9, 204, 31),
            PlainItem(IDC_STATIC, Kind::BlackRect, 33, 42, 222, 1),
            BitmapItem(IDB_BULLET_HEADING, 39, 60),
            TextItem(IDC_STATIC, "AUTOMATION :", 51, 60, 52, 8),
            ButtonItem(IDC_RADIO_FASTER, Kind::AutoRadio, "Programs run faster", 39, 86, 77, 10, BS_FLAT | WS_GROUP, false),
            ButtonItem(IDC_RADIO_STABLY, Kind::AutoRadio, "Programs run stably", 39, 109, 77, 10, BS_FLAT, false),
            ButtonItem(IDC_RADIO_NONE, Kind::AutoRadio, "None", 39, 132, 31, 10, BS_FLAT, false),
            BitmapItem(IDB_STAR_MARK, 118, 87),
            BitmapItem(IDB_STAR_MARK, 118, 111),
        }},
        {IDD_REGULAR_FREE_PAGE, nullptr, kPageStyles, kPageForbidden, 0, 10, 275, 175, {
            {IDC_INTERVAL_EDIT, Kind::Edit, nullptr, 0, 81, 132, 36, 14, WS_BORDER | ES_AUTOHSCROLL, true, Placement::SpinBuddy},
            {IDC_INTERVAL_SPIN, Kind::UpDown, nullptr, 0, 96, 147, 9, 14,
             UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_AUTOBUDDY | UDS_ARROWKEYS, false, Placement::BuddySpin},
            IconItem(IDI_REGULAR_FREE, 9, 9),
            ButtonItem(IDC_APPLY_TOGGLE, Kind::AutoCheck, "Apply", 51, 60, 51, 13, BS_PUSHLIKE | WS_GROUP),
            PlainItem(IDC_REGULAR_AMOUNT_SLIDER, Kind::Slider, 109, 87, 100, 12, TBS_NOTICKS | TBS_BOTH, true),
            ButtonItem(IDC_RADIO_FREE_MEMORY, Kind::AutoRadio, "Free memory :", 39, 87, 60, 10, BS_FLAT | WS_GROUP, false),
            ButtonItem(IDC_RADIO_KEEP_AT_LEAST, Kind::AutoRadio, "Keep at least :", 39, 108, 60, 10, BS_FLAT, false),
            PlainItem(IDC_THRESHOLD_SLIDER, Kind::Slider, 109, 108, 100, 12, TBS_NOTICKS | TBS_BOTH, true),
            TextItem(IDC_REGULAR_AMOUNT_TEXT, "MBs", 218, 87, 53, 8),
            TextItem(IDC_THRESHOLD_TEXT, "MBs free", 218, 108, 53, 8),
            TextItem(IDC_STATIC, "Every", 57, 138, 21, 8),
            TextItem(IDC_STATIC, "seconds", 120, 138, 42, 8),
            BitmapItem(IDB_BULLET_TIME, 45, 138),
            BitmapItem(IDB_BULLET_APPLY, 39, 63),
            BitmapItem(IDB_ARROW_MARK, 100, 87),
            BitmapItem(IDB_ARROW_MARK, 100, 111),
            TextItem(IDC_STATIC, kRegularDescription, 42, 9, 204, 39),
            PlainItem(IDC_STATIC, Kind::BlackRect, 33, 50, 222, 1),
        }},
        {IDD_PREFERENCE, "Tools", WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_CHILD, WS_EX_TOOLWINDOW, 8, 174, 158, {
            ButtonItem(IDC_SAVE_BUTTON, Kind::PushButton, "Save", 75, 141, 42, 11),
            ButtonItem(IDC_CANCEL_BUTTON, Kind::PushButton, "Cancel", 123, 141, 42, 11),
            ButtonItem(IDC_STATIC, Kind::GroupBox, "Preference", 9, 9, 156, 120, 0, false),
            ButtonItem(IDC_CHECK_RUN_AT_STARTUP, Kind::AutoCheck, "Run at windows startup", 24, 24, 111, 10),
            ButtonItem(IDC_CHECK_RUN_MINIMIZED, Kind::AutoCheck, "Run minimized", 24, 44, 61, 10),
            ButtonItem(IDC_CHECK_REMEMBER_SETTINGS, Kind::AutoCheck, "Remember settings in each windows", 24, 64, 135, 10),
            ButtonItem(IDC_CHECK_LOW_UPDATE_RATE, Kind::AutoCheck, "Low data update rate", 24, 84, 82, 10),
            ButtonItem(IDC_DEFAULT_BUTTON, Kind::PushButton, "Default", 27, 141, 42, 11),
        }},
        {IDD_ABOUT_HALVENMARK, "About", WS_POPUP | WS_CAPTION, WS_SYSMENU | WS_CHILD, 0, 8, 211, 90, {
            IconItem(IDI_CHIP, 12, 11),
            TextItem(IDC_STATIC, "Velkor Halvenmark", 53, 14, 81, 8),
            TextItem(IDC_STATIC, nullptr, 53, 26, 154, 19),
            ButtonItem(IDOK, Kind::PushButton, "OK", 77, 68, 50, 14),
        }},
        {IDD_WEB_SITE, "Web site", WS_POPUP | WS_CAPTION, WS_SYSMENU | WS_CHILD, 0, 8, 202, 97, {
            IconItem(IDI_CHIP, 12, 11),
            TextItem(IDC_STATIC, "Velkor Halvenmark", 53, 14, 81, 8),
            ButtonItem(IDOK, Kind::PushButton, "OK", 72, 75, 50, 14),
            TextItem(IDC_STATIC, nullptr, 54, 36, 141, 18),
        }},
    };
    return all;
}
// clang-format on

void PrintTo(const Template& dialog, std::ostream* out) { *out << "template " << dialog.id; }

const char* ClassOf(Kind kind)
{
    switch (kind) {
    case Kind::Icon:
    case Kind::Bitmap:
    case Kind::Text:
    case Kind::BlackFrame:
    case Kind::BlackRect:
    case Kind::GrayRect:
    case Kind::EtchedVert:
        return "Static";
    case Kind::GroupBox:
    case Kind::PushButton:
    case Kind::DefPushButton:
    case Kind::AutoCheck:
    case Kind::AutoRadio:
        return "Button";
    case Kind::Edit: return "Edit";
    case Kind::UpDown: return UPDOWN_CLASSA;
    case Kind::Progress: return PROGRESS_CLASSA;
    case Kind::Slider: return TRACKBAR_CLASSA;
    case Kind::ListView: return WC_LISTVIEWA;
    }
    return "";
}

// The style field that says what sort of static or button a control is.
bool HasType(Kind kind, LONG style)
{
    const LONG staticType = style & SS_TYPEMASK;
    const LONG buttonType = style & BS_TYPEMASK;
    switch (kind) {
    case Kind::Icon: return staticType == SS_ICON;
    case Kind::Bitmap: return staticType == SS_BITMAP;
    case Kind::Text: return staticType == SS_LEFT;
    case Kind::BlackFrame: return staticType == SS_BLACKFRAME;
    case Kind::BlackRect: return staticType == SS_BLACKRECT;
    case Kind::GrayRect: return staticType == SS_GRAYRECT;
    case Kind::EtchedVert: return staticType == SS_ETCHEDVERT;
    case Kind::GroupBox: return buttonType == BS_GROUPBOX;
    case Kind::PushButton: return buttonType == BS_PUSHBUTTON;
    case Kind::DefPushButton: return buttonType == BS_DEFPUSHBUTTON;
    case Kind::AutoCheck: return buttonType == BS_AUTOCHECKBOX;
    case Kind::AutoRadio: return buttonType == BS_AUTORADIOBUTTON;
    case Kind::Slider: return (style & TBS_VERT) == 0; // horizontal
    case Kind::Edit:
    case Kind::UpDown:
    case Kind::Progress:
    case Kind::ListView:
        return true;
    }
    return false;
}

std::string Describe(const Template& dialog, size_t index)
{
    return "template " + std::to_string(dialog.id) + ", control #" + std::to_string(index) + " (id " + std::to_string(dialog.controls[index].id) + ")";
}

bool SamePicture(HWND staticControl, const Control& expected)
{
    HINSTANCE module = GetModuleHandleA(nullptr);
    if (expected.kind == Kind::Icon) {
        auto shown = reinterpret_cast<HICON>(SendMessageA(staticControl, STM_GETICON, 0, 0));
        HICON resource = LoadIconA(module, MAKEINTRESOURCEA(expected.image));
        return shown && resource && DrawIconPixels(shown, 32) == DrawIconPixels(resource, 32);
    }
    auto shown = reinterpret_cast<HBITMAP>(SendMessageA(staticControl, STM_GETIMAGE, IMAGE_BITMAP, 0));
    HBITMAP resource = LoadBitmapA(module, MAKEINTRESOURCEA(expected.image));
    int w1 = 0, h1 = 0, w2 = 0, h2 = 0;
    bool same = shown && resource && BitmapPixels(shown, &w1, &h1) == BitmapPixels(resource, &w2, &h2);
    DeleteObject(resource);
    return same;
}

void ExpectPlaced(const TemplateDialog& dialog, HWND control, const Control& expected,
                  const std::string& where)
{
    const RECT want = dialog.DialogUnitsToPixels(expected.x, expected.y, expected.width, expected.height);
    const RECT got = dialog.ChildRect(control);
    switch (expected.placement) {
    case Placement::Exact:
        EXPECT_EQ(want.left, got.left) << where;
        EXPECT_EQ(want.top, got.top) << where;
        EXPECT_EQ(want.right, got.right) << where;
        EXPECT_EQ(want.bottom, got.bottom) << where;
        break;
    case Placement::Origin:
        EXPECT_EQ(want.left, got.left) << where;
        EXPECT_EQ(want.top, got.top) << where;
        break;
    case Placement::SpinBuddy: {
        HWND spin = GetWindow(control, GW_HWNDNEXT);
        RECT spinRect = dialog.ChildRect(spin);
        EXPECT_EQ(want.left, got.left) << where;
        EXPECT_EQ(want.top, got.top) << where;
        EXPECT_EQ(want.bottom, got.bottom) << where;
        EXPECT_NEAR(want.right, spinRect.right, kBuddyBorder) << where << ": edit and spin together keep the edit's width";
        break;
    }
    case Placement::BuddySpin: {
        HWND buddy = reinterpret_cast<HWND>(SendMessageA(control, UDM_GETBUDDY, 0, 0));
        ASSERT_NE(nullptr, buddy) << where;
        EXPECT_EQ(GetWindow(control, GW_HWNDPREV), buddy) << where << ": buddy is the preceding control";
        RECT buddyRect = dialog.ChildRect(buddy);
        EXPECT_NEAR(buddyRect.right, got.left, kBuddyBorder) << where;
        EXPECT_EQ(buddyRect.top, got.top) << where;
        EXPECT_EQ(buddyRect.bottom, got.bottom) << where;
        break;
    }
    }
}

class DialogTemplates : public ::testing::TestWithParam<Template> {};

TEST_P(DialogTemplates, FrameStyleCaptionFontAndSize)
{
    const Template& expected = GetParam();
    TemplateDialog dialog(expected.id);
    ASSERT_NE(nullptr, dialog.Window());

    const LONG style = Style(dialog.Window());
    EXPECT_EQ(expected.styles, style & expected.styles);
    EXPECT_EQ(0, style & expected.forbidden);
    EXPECT_EQ(expected.extendedStyles, ExtendedStyle(dialog.Window()) & expected.extendedStyles);
    EXPECT_EQ(expected.caption ? expected.caption : "", WindowText(dialog.Window()));

    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(dialog.Window(), WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_STREQ("MS Sans Serif", font.lfFaceName);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(-MulDiv(expected.pointSize, GetDeviceCaps(screen, LOGPIXELSY), 72), font.lfHeight);
    ReleaseDC(nullptr, screen);

    RECT client;
    GetClientRect(dialog.Window(), &client);
    const RECT want = dialog.DialogUnitsToPixels(0, 0, expected.width, expected.height);
    EXPECT_EQ(want.right, client.right);
    EXPECT_EQ(want.bottom, client.bottom);
}

TEST_P(DialogTemplates, ControlsInTemplateOrder)
{
    const Template& expected = GetParam();
    TemplateDialog dialog(expected.id);
    ASSERT_NE(nullptr, dialog.Window());
    const std::vector<HWND> controls = dialog.Children();
    ASSERT_EQ(expected.controls.size(), controls.size());

    for (size_t i = 0; i < controls.size(); ++i) {
        const Control& want = expected.controls[i];
        const std::string where = Describe(expected, i);
        HWND control = controls[i];
        const LONG style = Style(control);

        EXPECT_EQ(want.id, static_cast<short>(GetDlgCtrlID(control))) << where;
        EXPECT_STRCASEEQ(ClassOf(want.kind), ClassName(control).c_str()) << where;
        EXPECT_TRUE(HasType(want.kind, style)) << where << std::hex << ": style 0x" << style;
        // A 3-D dialog turns a control's plain border into a sunken edge; a
        // themed progress bar drops it and draws its own frame.
        const LONG required = static_cast<LONG>(want.flags & ~WS_BORDER);
        EXPECT_EQ(required, style & required) << where << std::hex << ": style 0x" << style;
        if ((want.flags & WS_BORDER) && want.kind != Kind::Progress) {
            EXPECT_TRUE((style & WS_BORDER) || (ExtendedStyle(control) & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE)))
                << where << std::hex << ": border, extended style 0x" << ExtendedStyle(control);
        }
        EXPECT_EQ(want.tabStop, (style & WS_TABSTOP) != 0) << where << ": tab stop";
        EXPECT_EQ(0, style & WS_DISABLED) << where;
        if (want.kind == Kind::Icon || want.kind == Kind::Bitmap) {
            EXPECT_TRUE(SamePicture(control, want)) << where << ": shows resource " << want.image;
        } else if (want.text) {
            EXPECT_EQ(want.text, WindowText(control)) << where;
        } else if (want.kind == Kind::Text) {
            EXPECT_FALSE(WindowText(control).empty()) << where;
        }
        ExpectPlaced(dialog, control, want, where);
    }
}

std::string TemplateName(const ::testing::TestParamInfo<Template>& info)
{
    return "Template" + std::to_string(info.param.id);
}

INSTANTIATE_TEST_SUITE_P(All, DialogTemplates, ::testing::ValuesIn(Templates()), TemplateName);

// The notices left to this program: a one-line copyright in the framework's
// box, two lines in the program's own About box, and a web address.
TEST(DialogNotices, CopyrightAndWebAddressAreFilledIn)
{
    {
        TemplateDialog about(IDD_ABOUTBOX);
        const std::string notice = WindowText(about.Children().at(2));
        EXPECT_NE(std::string::npos, notice.find("Copyright")) << notice;
        EXPECT_EQ(std::string::npos, notice.find('\n')) << notice;
    }
    {
        TemplateDialog about(IDD_ABOUT_HALVENMARK);
        const std::string notice = WindowText(about.Children().at(2));
        EXPECT_NE(std::string::npos, notice.find("Copyright")) << notice;
        EXPECT_NE(std::string::npos, notice.find('\n')) << notice;
    }
    {
        TemplateDialog web(IDD_WEB_SITE);
        const std::string address = WindowText(web.Children().at(3));
        EXPECT_EQ(0u, address.find("https://")) << address;
    }
}

// Tab moves from a page on into the host form only when the page is a
// control parent; the mode radios must each form one group, as the radio
// exchange walks a group from its first button.
TEST(DialogKeyboard, PagesAreControlParentsAndRadiosFormGroups)
{
    for (int page : {IDD_MEMORY_STATUS_PAGE, IDD_FREE_MEMORY_PAGE, IDD_AUTOMATION_PAGE, IDD_REGULAR_FREE_PAGE}) {
        TemplateDialog dialog(page);
        EXPECT_TRUE(ExtendedStyle(dialog.Window()) & WS_EX_CONTROLPARENT) << page;
    }
    struct Group {
        int page;
        std::vector<int> radios;
    };
    for (const Group& group : {Group{IDD_AUTOMATION_PAGE, {IDC_RADIO_FASTER, IDC_RADIO_STABLY, IDC_RADIO_NONE}},
                               Group{IDD_REGULAR_FREE_PAGE, {IDC_RADIO_FREE_MEMORY, IDC_RADIO_KEEP_AT_LEAST}}}) {
        TemplateDialog dialog(group.page);
        std::vector<int> radiosInGroup;
        HWND first = GetDlgItem(dialog.Window(), group.radios.front());
        for (HWND item = first; item; item = GetWindow(item, GW_HWNDNEXT)) {
            if (item != first && (Style(item) & WS_GROUP))
                break;
            if ((Style(item) & BS_TYPEMASK) == BS_AUTORADIOBUTTON && ClassName(item) == "Button")
                radiosInGroup.push_back(GetDlgCtrlID(item));
        }
        EXPECT_EQ(group.radios, radiosInGroup) << group.page;
    }
}

} // namespace
