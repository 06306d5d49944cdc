// CWnd: a window handle and the Win32 calls the program makes on it.
#pragma once
#include <windows.h>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "message_map.h"

class CDataExchange;

// A window handle and the calls the program makes on it. Each member is the
// Win32 call of the same name on m_hWnd. The object destroys its window only
// when it created that window itself; an attached window is left alone.
class CWnd {
public:
    HWND m_hWnd = nullptr;

    CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    virtual ~CWnd();

    operator HWND() const { return m_hWnd; }
    BOOL Attach(HWND hWnd);
    HWND Detach();

    // Runs DoDataExchange: controls into members when saving, members into
    // controls otherwise. FALSE when an exchange failed.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    virtual void DoDataExchange(CDataExchange* pDX);
    // Called once for each control whose exchange failed; the exchange of
    // the other controls goes on. By default the control gets the focus.
    virtual void OnDataExchangeFailure(int controlId);

    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse) { return ::SetTimer(m_hWnd, nIDEvent, nElapse, nullptr); }
    BOOL KillTimer(UINT_PTR nIDEvent) { return ::KillTimer(m_hWnd, nIDEvent); }
    BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessage(m_hWnd, message, wParam, lParam);
    }
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE)
    {
        ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
    }
    void GetWindowRect(LPRECT lpRect) const { ::GetWindowRect(m_hWnd, lpRect); }
    void GetClientRect(LPRECT lpRect) const { ::GetClientRect(m_hWnd, lpRect); }
    void ScreenToClient(LPRECT lpRect) const
    {
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<LPPOINT>(lpRect), 2);
    }
    BOOL DestroyWindow();
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    void SetWindowText(const std::string& text) { ::SetWindowTextA(m_hWnd, text.c_str()); }
    // Returns the icon the window showed before.
    HICON SetIcon(HICON hIcon, BOOL bBigIcon)
    {
        return reinterpret_cast<HICON>(
            SendMessage(WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(hIcon)));
    }

    // The child control with this id, looked up once and then remembered:
    // under Wine every search of the window tree is a round trip to its
    // server, and pages exchange data with their controls ten times a second.
    HWND FindControl(int nID);

    // The child control with this id, wrapped; nullptr when there is none.
    // The wrapper stays valid while this object lives.
    CWnd* GetDlgItem(int nID);

    // Default handlers: each passes its message on to the default processing.
    void OnHScroll(UINT nSBCode, UINT nPos, CWnd* pScrollBar);
    void OnTimer(UINT_PTR nIDEvent);
    void OnShowWindow(BOOL bShow, UINT nStatus);
    void OnSize(UINT nType, int cx, int cy);
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnDestroy();

    // Passes the message being handled on to the default processing.
    LRESULT Default();
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    // Runs the message map for one message; true when a map entry took it.
    // passedOn tells whether the handler asked for the default processing.
    bool Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result, bool& passedOn);

protected:
    // Window procedure of the windows that this layer registers itself; the
    // object rides in the creation parameters.
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    // The object whose procedure serves hWnd, or nullptr before it is known.
    static CWnd* FromProcedureData(HWND hWnd);
    void BindProcedureData(HWND hWnd);
    void ReleaseProcedureData();

    // The message map; this base map takes nothing.
    virtual bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Where a message goes first; frames send commands to their view.
    virtual bool RouteMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    struct CurrentMessage {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        bool passedOn;
    };
    CurrentMessage* m_currentMessage = nullptr;
    bool m_ownsWindow = false;

private:
    friend class CDataExchange;
    std::map<int, std::unique_ptr<CWnd>> m_dlgItems;
    std::map<int, HWND> m_controls;
    std::map<int, std::vector<HWND>> m_radioGroups;
};

// A plain edit box: bound with DDX_Control, used through CWnd's members.
class CEdit : public CWnd {};
