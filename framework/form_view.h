// The form that fills the main frame: a modeless child dialog made from its
// template when the frame is created.
#pragma once
#include "dialog.h"

class CFormView : public CDialog {
public:
    explicit CFormView(UINT nIDTemplate);

    // Creates the form as a visible child of the frame at its top left.
    BOOL Create(CWnd* pParentFrame);
    // The frame the form fills; nullptr before Create.
    CWnd* GetParentFrame() const { return m_pParentWnd; }
    // Run once, after the frame is built and fitted around the form and
    // before it is shown: writes the members to the controls.
    virtual void OnInitialUpdate();
    // The frame came back into sight: shown again, or restored from
    // minimised. Whatever the form skipped drawing meanwhile is due now.
    virtual void OnFrameShown() {}
};
