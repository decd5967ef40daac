#include <gtest/gtest.h>

#include "core/app/AppDelegate.h"
#include "core/app/TimeAgo.h"
#include "support/FakePlatform.h"

namespace pricora {
namespace {

using std::chrono::days;
using std::chrono::hours;
using std::chrono::seconds;
using test::FakePlatform;

TEST(TimeAgo, CountsTheLargestWholeCalendarUnit) {
  // 2026-03-10 12:00:00 UTC; the zone has no daylight saving change nearby.
  const WallTime done{seconds(1773144000)};
  const std::pair<WallTime::duration, const char*> cases[] = {
      {seconds(0), "Just now"},          {seconds(14), "Just now"},         {seconds(15), "15 seconds ago"},
      {seconds(61), "1 minute ago"},     {seconds(90), "1 minute ago"},     {hours(2), "2 hours ago"},
      {hours(23), "23 hours ago"},       {hours(24), "Yesterday"},          {hours(47), "Yesterday"},
      {hours(48), "2 days ago"},         {days(7), "1 week ago"},           {days(20), "2 weeks ago"},
      {days(40), "1 month ago"},         {days(800), "2 years ago"},        {-seconds(1), ""},
  };
  for (const auto& [elapsed, text] : cases) EXPECT_EQ(timeAgoText(done, done + elapsed, "Europe/Berlin"), text) << text;
}

TEST(TimeAgo, DaysAreCalendarDaysInTheLocalZone) {
  // Across the spring change in Berlin (2026-03-29) a calendar day has 23 hours.
  const WallTime before{seconds(1774692000)};  // 2026-03-28 11:00 CET
  EXPECT_EQ(timeAgoText(before, before + hours(23), "Europe/Berlin"), "Yesterday");
  EXPECT_EQ(timeAgoText(before, before + hours(23), "UTC"), "23 hours ago");
}

class LastUpdateLabelTest : public ::testing::Test {
 protected:
  LastUpdateLabelTest() {
    delegate.applicationDidFinishLaunching();
    platform.queue.advance(Seconds(0.25));
  }
  const std::string& last() const { return delegate.state().statusMenu->lastItem()->title(); }
  void complete() {
    // What a completed refresh leaves behind.
    delegate.state().statusMenu->lastItem()->setTitle("Updated: Just now");
  }

  FakePlatform platform;
  AppDelegate delegate{platform.services, *platform.context};
  Menu& menu = *delegate.state().statusMenu;
};

TEST_F(LastUpdateLabelTest, TicksEverySecondOnlyWhileTheMenuIsOpen) {
  delegate.menuWillOpen(menu);
  platform.queue.advance(Seconds(5));
  EXPECT_EQ(last(), "Updating...");  // a refresh in progress is left alone

  delegate.menuDidClose(menu);
  delegate.state().updateDate = platform.queue.now();
  complete();
  delegate.menuWillOpen(menu);
  platform.queue.advance(Seconds(14));
  EXPECT_EQ(last(), "Updated: Just now");
  platform.queue.advance(Seconds(1));
  EXPECT_EQ(last(), "Updated: 15 seconds ago");

  delegate.menuDidClose(menu);
  platform.queue.advance(Seconds(30));
  EXPECT_EQ(last(), "Updated: 15 seconds ago");
  delegate.state().updateDate = platform.queue.now() - std::chrono::seconds(61);
  delegate.menuWillOpen(menu);
  delegate.menuWillOpen(menu);  // announced twice: still one label timer
  platform.queue.runUntilIdle();
  EXPECT_EQ(last(), "Updated: 1 minute ago");
  EXPECT_EQ(platform.queue.liveTimerCount(), 2u);  // the refresh timer and the label's
  delegate.menuDidClose(menu);
  EXPECT_EQ(platform.queue.liveTimerCount(), 1u);
}

}  // namespace
}  // namespace pricora
