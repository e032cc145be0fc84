// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/form.h"
#include "platform/headless/headless_services.h"

namespace vantrel {
namespace {

class SchedulerTest : public ::testing::Test {
 protected:
  HeadlessServices platform{::testing::TempDir(), 0};
  Form form{platform.services(), "frmTest", "Test", 4800, 3600};
  std::vector<std::string> log;

  Timer& timer(const std::string& name, int interval, bool enabled) {
    Timer& t = form.addTimer(name, interval, enabled);
    t.onTimer = [this, &t] {
      log.push_back(t.name() + "@" + std::to_string(platform.elapsedMs()));
    };
    return t;
  }
};

TEST_F(SchedulerTest, FiresInTimeOrderWithTiesInEnableOrder) {
  timer("Slow", 300, true);
  timer("Fast", 100, true);
  timer("Same", 300, true);
  platform.advance(650);
  EXPECT_EQ(log,
            (std::vector<std::string>{"Fast@100", "Fast@200", "Slow@300", "Fast@300", "Same@300",
                                      "Fast@400", "Fast@500", "Slow@600", "Fast@600", "Same@600"}));
  EXPECT_EQ(platform.elapsedMs(), 650);
}

TEST_F(SchedulerTest, RestartRules) {
  Timer& t = timer("T", 1000, true);
  platform.advance(600);
  t.setEnabled(true);  // enabling an enabled timer changes nothing
  platform.advance(400);
  EXPECT_EQ(log, (std::vector<std::string>{"T@1000"}));

  platform.advance(500);  // 1500
  t.setEnabled(false);
  t.setEnabled(true);  // starts again: next at 2500
  platform.advance(999);
  EXPECT_EQ(log.size(), 1u);
  platform.advance(1);
  EXPECT_EQ(log.back(), "T@2500");

  platform.advance(300);  // 2800
  t.setInterval(500);     // a new interval starts it again: next at 3300
  platform.advance(500);
  EXPECT_EQ(log.back(), "T@3300");
  t.setInterval(500);  // the same interval is no change
  platform.advance(500);
  EXPECT_EQ(log.back(), "T@3800");

  t.setEnabled(false);
  platform.advance(5000);
  EXPECT_EQ(log.back(), "T@3800");
}

TEST_F(SchedulerTest, FractionalWaitsAddUp) {
  timer("T", 1000, true);
  for (int i = 0; i < 4; ++i) platform.advance(250);
  EXPECT_EQ(log, (std::vector<std::string>{"T@1000"}));
  platform.advance(1500);
  EXPECT_EQ(log.size(), 2u);
  EXPECT_EQ(platform.elapsedMs(), 2500);
}

TEST_F(SchedulerTest, HandlersThatStopOrRestartTheirOwnTimerHaveTheLastWord) {
  Timer& once = form.addTimer("Once", 100, true);
  int onceRuns = 0;
  once.onTimer = [&] {
    ++onceRuns;
    once.setEnabled(false);
  };
  Timer& other = form.addTimer("Other", 100, false);
  int otherRuns = 0;
  other.onTimer = [&] { ++otherRuns; };
  Timer& starter = form.addTimer("Starter", 250, true);
  starter.onTimer = [&] { other.setEnabled(true); };
  platform.advance(1000);
  EXPECT_EQ(onceRuns, 1);
  // Enabled at 250, so due at 350 and every 100 after; the starter's later enables of an
  // enabled timer change nothing.
  EXPECT_EQ(otherRuns, 7);
}

TEST_F(SchedulerTest, VirtualClockTexts) {
  HeadlessServices at{::testing::TempDir(), *parseDateTime("2026-01-05 09:00:00")};
  EXPECT_EQ(at.timeText(), "09:00:00");
  EXPECT_EQ(at.dateText(), "2026-01-05");
  at.advance(15 * 3600 * 1000 + 61 * 1000);
  EXPECT_EQ(at.timeText(), "00:01:01");
  EXPECT_EQ(at.dateText(), "2026-01-06");
  EXPECT_FALSE(parseDateTime("2026-13-01 00:00:00").has_value());
  EXPECT_FALSE(parseDateTime("yesterday").has_value());
}

}  // namespace
}  // namespace vantrel
