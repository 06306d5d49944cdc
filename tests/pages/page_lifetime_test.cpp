#include <memory>

#include "automation_page.h"
#include "engine_standin.h"
#include "free_memory_page.h"
#include "page_fixture.h"
#include "regular_free_page.h"

namespace {

// Deleting a page destroys its window first, while the object is whole,
// then its engine object: the engine's wait for a run in progress is
// reached, and no timer message can arrive at a half-destroyed page.
HWND watchedWindow = nullptr;
int destroyedWhileWindowLived = 0;

void NoteEngineObjectDestroyed(const void*)
{
    if (::IsWindow(watchedWindow))
        ++destroyedWhileWindowLived;
}

template <typename Page>
void ExpectDeletionEndsWindowThenEngineObject(CWnd& host)
{
    const int before = StandInLiveFreeObjects();
    auto page = std::make_unique<Page>(&host);
    watchedWindow = *page;
    destroyedWhileWindowLived = 0;
    ASSERT_TRUE(::IsWindow(watchedWindow));
    EXPECT_EQ(StandInLiveFreeObjects(), before + 1);
    StandInOnFreeObjectDestroyed(NoteEngineObjectDestroyed);
    page.reset();
    StandInOnFreeObjectDestroyed(nullptr);
    EXPECT_FALSE(::IsWindow(watchedWindow));
    EXPECT_EQ(StandInLiveFreeObjects(), before);
    EXPECT_EQ(destroyedWhileWindowLived, 0) << "the engine object went before the window";
}

class PageLifetimeTest : public PageTest {};

TEST_F(PageLifetimeTest, EachFreeingPageEndsItsWindowAndItsEngineObject)
{
    ExpectDeletionEndsWindowThenEngineObject<CFreeMemoryPage>(host);
    ExpectDeletionEndsWindowThenEngineObject<CAutomationPage>(host);
    ExpectDeletionEndsWindowThenEngineObject<CRegularFreePage>(host);
}

} // namespace
