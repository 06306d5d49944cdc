#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework.h"
#include "test_resource.h"
#include "dialog_items.h"
#include "test_support.h"

namespace {

std::vector<std::string> events;

class TestDoc : public CDocument {
public:
    BOOL OnNewDocument() override
    {
        events.push_back("new document");
        return CDocument::OnNewDocument();
    }
};

class TestView : public CFormView {
public:
    TestView() : CFormView(IDD_TEST_FORM) {}
    int initialUpdates = 0;
    CDialog page;

    void OnInitialUpdate() override
    {
        CFormView::OnInitialUpdate();
        ++initialUpdates;
        events.push_back(AfxGetMainWnd() ? "initial update, main window set" : "initial update");
        page.Create(IDD_TEST_PAGE, this);
        page.ShowWindow(SW_SHOW);
    }

protected:
    void OnShared() { events.push_back("view shared"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TestView, CFormView)
    ON_COMMAND(ID_SHARED_COMMAND, OnShared)
END_MESSAGE_MAP()

class TestFrame : public CFrameWnd {
public:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override
    {
        if (!CFrameWnd::PreCreateWindow(cs))
            return FALSE;
        cs.lpszClass = "FrameworkTestFrame";
        cs.style = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | FWS_ADDTOTITLE;
        return TRUE;
    }

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct)
    {
        if (CFrameWnd::OnCreate(lpCreateStruct) == -1)
            return -1;
        events.push_back(GetActiveView() && GetActiveView()->m_hWnd ? "frame created with view" : "frame created");
        return 0;
    }
    void OnShared() { events.push_back("frame shared"); }
    void OnFrameOnly() { events.push_back("frame command"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TestFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_COMMAND(ID_SHARED_COMMAND, OnShared)
    ON_COMMAND(ID_FRAME_COMMAND, OnFrameOnly)
END_MESSAGE_MAP()

class AppTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        StartCommonControls();
        events.clear();
        app.AddDocTemplate(std::make_unique<CSingleDocTemplate>(
            IDR_TEST_FRAME, [] { return std::make_unique<TestDoc>(); },
            [] { return std::make_unique<TestFrame>(); },
            [this] {
                auto view = std::make_unique<TestView>();
                this->view = view.get();
                return view;
            }));
    }
    void TearDown() override
    {
        if (CWnd* main = AfxGetMainWnd())
            main->DestroyWindow();
        // The main window's end posts the quit that ends Run(); left in the
        // queue it would end the next test's loop at once.
        MSG quit;
        while (::PeekMessage(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
    TestApp app;
    TestView* view = nullptr;
};

TEST_F(AppTest, ShellCommandBuildsDocumentFrameAndViewOnce)
{
    ASSERT_TRUE(app.ProcessShellCommand());
    ASSERT_TRUE(app.ProcessShellCommand());
    EXPECT_EQ(events, (std::vector<std::string>{"new document", "frame created with view", "initial update, main window set"}));
    EXPECT_EQ(view->initialUpdates, 1);

    CWnd* frame = AfxGetMainWnd();
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(::IsWindowVisible(*frame));
    EXPECT_EQ(WindowText(*frame), "Test Frame");
    EXPECT_EQ(ClassName(*frame), "FrameworkTestFrame") << "the class the program named";
    EXPECT_EQ(::GetParent(view->m_hWnd), frame->m_hWnd);
    LONG style = ::GetWindowLongA(frame->m_hWnd, GWL_STYLE);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_NE(::GetMenu(frame->m_hWnd), nullptr);
}

TEST_F(AppTest, FrameFitsAroundItsForm)
{
    ASSERT_TRUE(app.ProcessShellCommand());
    RECT client, form;
    AfxGetMainWnd()->GetClientRect(&client);
    view->GetWindowRect(&form);
    view->ScreenToClient(&form);
    RECT expected = {0, 0, 160, 100};
    ::MapDialogRect(view->m_hWnd, &expected);
    EXPECT_EQ(client.right, expected.right);
    EXPECT_EQ(client.bottom, expected.bottom);
    EXPECT_EQ(form.right - form.left, expected.right);
}

TEST_F(AppTest, CommandsReachTheViewFirstThenTheFrame)
{
    ASSERT_TRUE(app.ProcessShellCommand());
    events.clear();
    CWnd* frame = AfxGetMainWnd();
    frame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_SHARED_COMMAND, 0), 0);
    frame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_FRAME_COMMAND, 0), 0);
    EXPECT_EQ(events, (std::vector<std::string>{"view shared", "frame command"}));
}

TEST_F(AppTest, TitleBecomesTheCaption)
{
    ASSERT_TRUE(app.ProcessShellCommand());
    auto* frame = static_cast<CFrameWnd*>(AfxGetMainWnd());
    frame->SetTitle("Velkor Halvenmark");
    EXPECT_EQ(WindowText(*frame), "Velkor Halvenmark");
}

// A timer that notes where the focus is, then closes the main window; it
// ends the loop itself should closing fail.
struct Probe {
    static inline HWND focus = nullptr;
    static inline HWND focusParent = nullptr;
    static void CALLBACK Close(HWND, UINT, UINT_PTR, DWORD)
    {
        if (CWnd* main = AfxGetMainWnd()) {
            if (!focus) {
                focus = ::GetFocus();
                focusParent = ::GetParent(focus);
            }
            ::PostMessage(*main, WM_CLOSE, 0, 0);
        } else {
            ::PostQuitMessage(1); // bounded even if closing failed
        }
    }
};

// Tab from the form's last control moves into its child page: the loop
// offered the key to the outermost dialog. Closing the main window ends Run.
TEST_F(AppTest, RunNavigatesIntoChildPagesAndEndsWithTheMainWindow)
{
    ASSERT_TRUE(app.ProcessShellCommand());
    CWnd* frame = AfxGetMainWnd();
    HWND second = ::GetDlgItem(view->m_hWnd, IDC_SECOND);
    ::SetFocus(second);
    ASSERT_EQ(::GetFocus(), second);
    ::PostMessage(second, WM_KEYDOWN, VK_TAB, 0);
    UINT_PTR timer = ::SetTimer(nullptr, 0, 200, Probe::Close);
    HWND frameHandle = frame->m_hWnd;
    HWND pageHandle = view->page.m_hWnd;
    int code = app.Run();
    ::KillTimer(nullptr, timer);
    EXPECT_EQ(code, 0);
    ASSERT_NE(Probe::focus, nullptr);
    EXPECT_EQ(Probe::focusParent, pageHandle);
    EXPECT_FALSE(::IsWindow(frameHandle));
    EXPECT_EQ(AfxGetMainWnd(), nullptr);
}

} // namespace
