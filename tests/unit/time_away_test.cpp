// SPDX-License-Identifier: GPL-3.0-or-later
#include "clock/time_away.h"

#include <gtest/gtest.h>

#include "app/main_form.h"
#include "clock/job_clock.h"
#include "clock/settings_form.h"
#include "platform/user_input.h"
#include "program_fixture.h"
#include "store/project_commands.h"

namespace vantrel {
namespace {

class TimeAwayTest : public ProgramFixture<> {
 protected:
  TimeAwayTest() : ProgramFixture("vantrel-away") {}

  void startClock() {
    launch();
    userClick(*m().CmdStart);
  }
  void seconds(int n) { platform->advance(n * 1000LL); }
  // Nobody at the keys for that long, then somebody is.
  void awayFor(int n) {
    platform->reportIdle(0);
    seconds(n);
    platform->userInput();
    seconds(1);
  }
  void answer(const char* caption) { ASSERT_TRUE(platform->answerQuestion(caption)); }
};

TEST_F(TimeAwayTest, AStoppedClockAsksTheDesktopNothing) {
  launch();
  platform->reportIdle(0);
  seconds(3600);
  EXPECT_EQ(platform->watchCalls, 0);
  EXPECT_FALSE(platform->openQuestion);

  // Switched off, even a running clock leaves the desktop alone.
  userClick(*app->settings().chkAway);
  userClick(*m().CmdStart);
  EXPECT_EQ(platform->watchCalls, 0);
  userClick(*m().CmdStop);
  userClick(*app->settings().chkAway);
  userClick(*m().CmdStart);
  EXPECT_EQ(platform->watchCalls, 1);
}

TEST_F(TimeAwayTest, WithoutAnIdleSourceOnlySleepIsNoticed) {
  platform->idleAvailable = false;
  startClock();
  app->settings().open();
  EXPECT_TRUE(app->settings().lblAway->visible());
  awayFor(1200);
  EXPECT_FALSE(platform->openQuestion);
  platform->sleep(600'000);
  ASSERT_TRUE(platform->openQuestion);
  EXPECT_EQ(platform->openQuestion->buttons,
            (std::vector<std::string>{"Keep", "Remove", "Remove and Stop"}));
}

// What the user did while the question was open is theirs: Remove takes back only the
// minutes the clock billed while nobody was there.
TEST_F(TimeAwayTest, RemoveKeepsWhatTheUserChangedMeanwhile) {
  startClock();
  awayFor(900);
  ASSERT_TRUE(platform->openQuestion);
  userClick(*m().Command1);  // "+"
  seconds(30);
  answer("remove");
  EXPECT_EQ(m().minuteCounter->text(), "1");
  EXPECT_EQ(m().txtSecs->text() + m().txt0->text(), "13");
}

TEST_F(TimeAwayTest, AnotherJobDropsTheQuestion) {
  startClock();
  awayFor(900);
  ASSERT_TRUE(platform->openQuestion);
  m().files->newJob(true);
  EXPECT_FALSE(platform->openQuestion);
  EXPECT_EQ(m().minuteCounter->text(), "0");
}

}  // namespace
}  // namespace vantrel
