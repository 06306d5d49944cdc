// CFrameWnd: the main window around one form view.
#pragma once
#include <windows.h>
#include <string>

#include "wnd.h"

class CFormView;

// MFC's flag for a caption that shows the document's title. Nothing here
// acts on it (the document has no title; SetTitle sets the whole caption):
// it stays in the style so that the main window's style bits are the
// program's own.
#define FWS_ADDTOTITLE 0x00008000L

// The main window: a top-level window of its own class around one form view.
// Commands go to the view first, then to the frame's own map.
class CFrameWnd : public CWnd {
public:
    // Creates the window and, in OnCreate, its view. nIDResource names the
    // title string (first line), the default menu and the class icon.
    BOOL LoadFrame(UINT nIDResource, CFormView* pView);
    // Adjusts the proposed creation: style, menu, title, and the class,
    // which the program must name (lpszClass); the frame registers a class
    // of that name on first use. The base proposes an overlapped window with
    // the resource's menu, and no class.
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    // The base creates the view; -1 when that fails.
    int OnCreate(LPCREATESTRUCT lpCreateStruct);

    // The title, shown as the caption.
    void SetTitle(const std::string& title);
    // Places the view at the top left and sizes the frame so that its
    // client area is exactly the view's size (the form has a fixed size).
    void RecalcLayout();
    CFormView* GetActiveView() const { return m_pView; }

protected:
    bool RouteMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    // Both tell the view when the frame comes back into sight.
    void OnShowWindow(BOOL bShow, UINT nStatus);
    void OnSize(UINT nType, int cx, int cy);
    LRESULT OnSetFocusMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcDestroyMessage(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    CFormView* m_pView = nullptr;
    bool m_minimised = false;
};
