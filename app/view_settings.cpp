// The view's part in the settings: the restore at start, the save at exit.
#include "quendrix_view.h"

#include "settings_store.h"

void CQuendrixView::RestoreView()
{
    const ViewRestore restore = CSettingsStore(m_settingsRoots).RestoreView();
    if (restore.lowUpdateRate) {
        KillTimer(StatusTimer);
        SetTimer(StatusTimer, LowRateStatusPeriodMs);
    }
    CRegularFreePage* page = GetRegularFreePage();
    if (!restore.rememberSettings || !page)
        return;

    const RegularFreeValues& values = restore.regularFree;
    if (values.mode == CRegularFreePage::FreeMemoryMode || values.mode == CRegularFreePage::KeepAtLeastMode)
        page->m_regularFreeMode = values.mode;
    // Zero and below mean "never stored": the page keeps its own start values.
    if (values.freeAmountMB > 0)
        page->m_amountSlider.SetPos(values.freeAmountMB);
    if (values.keepAtLeastMB > 0)
        page->m_thresholdSlider.SetPos(values.keepAtLeastMB);
    if (static_cast<std::int32_t>(values.intervalAnswer) > 0)
        page->m_intervalSpin.SetPos32(LOWORD(values.intervalAnswer));
    page->UpdateData(FALSE);
    // No control attached: the page re-formats its amount texts from the sliders.
    page->SendMessage(WM_HSCROLL, 0, 0);
}

void CQuendrixView::SaveView()
{
    CRegularFreePage* page = GetRegularFreePage();
    if (!page || !page->m_hWnd)
        return;
    page->UpdateData(TRUE);
    RegularFreeValues values;
    values.mode = page->m_regularFreeMode;
    values.freeAmountMB = page->m_amountSlider.GetPos();
    values.keepAtLeastMB = page->m_thresholdSlider.GetPos();
    values.intervalAnswer = page->m_intervalSpin.GetPos();
    values.applied = page->m_applyState == BST_CHECKED;
    CSettingsStore(m_settingsRoots).SaveView(values);
}
