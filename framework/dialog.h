// CDialog: a dialog from a template, modeless (the pages) or modal.
#pragma once
#include <windows.h>

#include "dialog_pixels.h"
#include "wnd.h"

// A dialog from a template. Modeless: Create() makes it (the pages are
// child dialogs created once, shown and hidden by their host). Modal:
// DoModal() runs it, its owner disabled, until EndDialog.
class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate = 0, CWnd* pParentWnd = nullptr);

    BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    // The owner is the parent's top-level window, or the main window when
    // there is no parent. Returns the EndDialog result, -1 on failure.
    INT_PTR DoModal();
    void EndDialog(int nResult);

    // Binds the controls and writes the members to them; TRUE lets the
    // system put the focus on the first tab stop.
    virtual BOOL OnInitDialog();
    // IDOK: a modal dialog saves its controls and closes with IDOK. A
    // modeless dialog ignores Enter, so a page never closes itself.
    virtual void OnOK();
    // IDCANCEL (Escape, the close box): a modal dialog closes with IDCANCEL;
    // a modeless one ignores it.
    virtual void OnCancel();

    // For a dialog the default processing is the dialog manager's: the
    // dialog procedure returns FALSE.
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;
    bool m_bModal = false;

    DECLARE_MESSAGE_MAP()

private:
    INT_PTR Answer(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    CDialogPixels m_pixels;
};
