// The view's part in the settings: the restore at start, the save at exit.
#include "quendrix_view.h"

#include "settings_store.h"

void CQuendrixView::RestoreView()
{
    const ViewRestore restore = CSettingsStore(m_settingsRoots).RestoreView();
    if (restore.lowUpdateRate) {
        KillTimer(kStatusTimer);
        SetTimer(kStatusTimer, kLowRateStatusPeriodMs);
    }
    CRegularFreePage* page = GetRegularFreePage();
    if (restore.rememberSettings && page)
        page->Restore(restore.regularFree);
}

void CQuendrixView::SaveView()
{
    CRegularFreePage* page = GetRegularFreePage();
    if (!page || !page->m_hWnd)
        return;
    CSettingsStore(m_settingsRoots).SaveView(page->Values());
}
