// Message maps: each class lists which messages and command ids reach which
// On... handler. A map is an if-chain that cracks wParam/lParam into typed
// arguments and ends by handing the message to the base class's map.
//
//   class CPage : public CDialog { ... DECLARE_MESSAGE_MAP() };
//   BEGIN_MESSAGE_MAP(CPage, CDialog)
//       ON_WM_TIMER()
//       ON_BN_CLICKED(1000, OnFree)
//   END_MESSAGE_MAP()
//
// Handlers that want the default processing as well call the base handler
// (CWnd::OnTimer, CWnd::OnHScroll, ...) or Default().
#pragma once

// Formatted by hand: the continuation marks stand in one column.
// clang-format off
#define DECLARE_MESSAGE_MAP()                                                  \
protected:                                                                     \
    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                 \
    bool theClass::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) \
    {                                                                          \
        using MessageMapBase = baseClass;

#define END_MESSAGE_MAP()                                                      \
        return MessageMapBase::OnWndMsg(message, wParam, lParam, result);      \
    }

// void OnTimer(UINT_PTR nIDEvent)
#define ON_WM_TIMER()                                                          \
    if (message == WM_TIMER) {                                                 \
        OnTimer(static_cast<UINT_PTR>(wParam));                                \
        result = 0;                                                            \
        return true;                                                           \
    }

// void OnHScroll(UINT nSBCode, UINT nPos, CWnd* pScrollBar): pScrollBar is a
// temporary wrapper of the sending control (compare its m_hWnd), or nullptr
// when the message names no control.
#define ON_WM_HSCROLL()                                                        \
    if (message == WM_HSCROLL) {                                               \
        CWnd scrollBar;                                                        \
        scrollBar.Attach(reinterpret_cast<HWND>(lParam));                      \
        OnHScroll(LOWORD(wParam), HIWORD(wParam), lParam ? &scrollBar : nullptr); \
        scrollBar.Detach();                                                    \
        result = 0;                                                            \
        return true;                                                           \
    }

// void OnShowWindow(BOOL bShow, UINT nStatus)
#define ON_WM_SHOWWINDOW()                                                     \
    if (message == WM_SHOWWINDOW) {                                            \
        OnShowWindow(static_cast<BOOL>(wParam), static_cast<UINT>(lParam));    \
        result = 0;                                                            \
        return true;                                                           \
    }

// void OnSize(UINT nType, int cx, int cy)
#define ON_WM_SIZE()                                                           \
    if (message == WM_SIZE) {                                                  \
        OnSize(static_cast<UINT>(wParam), static_cast<short>(LOWORD(lParam)), \
               static_cast<short>(HIWORD(lParam)));                            \
        result = 0;                                                            \
        return true;                                                           \
    }

// void OnDestroy()
#define ON_WM_DESTROY()                                                        \
    if (message == WM_DESTROY) {                                               \
        OnDestroy();                                                           \
        result = 0;                                                            \
        return true;                                                           \
    }

// int OnCreate(LPCREATESTRUCT lpCreateStruct): -1 stops the creation.
#define ON_WM_CREATE()                                                         \
    if (message == WM_CREATE) {                                                \
        result = OnCreate(reinterpret_cast<LPCREATESTRUCT>(lParam));           \
        return true;                                                           \
    }

// void memberFxn(): a menu item, an accelerator, or a button click.
#define ON_COMMAND(id, memberFxn)                                              \
    if (message == WM_COMMAND && LOWORD(wParam) == (id)                        \
        && (HIWORD(wParam) == 0 || lParam == 0)) {                             \
        memberFxn();                                                           \
        result = 0;                                                            \
        return true;                                                           \
    }

// void memberFxn(): a click of the button with this id.
#define ON_BN_CLICKED(id, memberFxn)                                           \
    if (message == WM_COMMAND && LOWORD(wParam) == (id)                        \
        && HIWORD(wParam) == BN_CLICKED) {                                     \
        memberFxn();                                                           \
        result = 0;                                                            \
        return true;                                                           \
    }

// LRESULT memberFxn(WPARAM wParam, LPARAM lParam)
#define ON_MESSAGE(msg, memberFxn)                                             \
    if (message == (msg)) {                                                    \
        result = memberFxn(wParam, lParam);                                    \
        return true;                                                           \
    }
// clang-format on
