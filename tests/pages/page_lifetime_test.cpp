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
template <typename Page>
void ExpectDeletionEndsWindowThenEngineObject(CWnd& host)
{
    const int before = StandInLiveFreeObjects();
    auto page = std::make_unique<Page>(&host);
    HWND window = *page;
    ASSERT_TRUE(::IsWindow(window));
    EXPECT_EQ(StandInLiveFreeObjects(), before + 1);
    page.reset();
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(StandInLiveFreeObjects(), before);
}

class PageLifetimeTest : public PageTest {};

TEST_F(PageLifetimeTest, EachFreeingPageEndsItsWindowAndItsEngineObject)
{
    ExpectDeletionEndsWindowThenEngineObject<CFreeMemoryPage>(host);
    ExpectDeletionEndsWindowThenEngineObject<CAutomationPage>(host);
    ExpectDeletionEndsWindowThenEngineObject<CRegularFreePage>(host);
}

} // namespace
