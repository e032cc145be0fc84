// SPDX-License-Identifier: GPL-3.0-or-later
// Days of virtual time with everything that runs by itself running at once: the job clock
// with its autosave, a countdown started every hour that starts the clock again as it ends,
// and the break reminder with its sound. The clock must show exactly the time gone by,
// bill exactly the minutes gone by, and the program must not grow.
#include <gtest/gtest.h>
#include <malloc.h>

#include <cstdlib>

#include "app/main_form.h"
#include "clock/settings_form.h"
#include "platform/user_input.h"
#include "program_fixture.h"
#include "store/options_form.h"
#include "timers/countdown_form.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VANTREL_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define VANTREL_ASAN 1
#endif
#ifdef VANTREL_ASAN
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace vantrel {
namespace {

// VANTREL_LONG_RUN_DAYS, else a short run (`make reliability` runs thirty days).
int days() {
  const char* set = std::getenv("VANTREL_LONG_RUN_DAYS");
  return set != nullptr ? std::atoi(set) : 2;
}

// The bytes the program holds on the heap right now.
std::size_t heapInUse() {
#ifdef VANTREL_ASAN
  return __sanitizer_get_current_allocated_bytes();
#else
  return mallinfo2().uordblks;
#endif
}

// What the clock shows after `s` seconds: 24:00:00 stands for one second before the day
// carries.
std::string clockText(std::int64_t s) {
  std::int64_t d = s > 0 ? (s - 1) / 86400 : 0;
  std::int64_t rest = s - d * 86400;
  char text[96];
  std::snprintf(text, sizeof text, "%lld %02lld:%02lld:%02lld", static_cast<long long>(d),
                static_cast<long long>(rest / 3600), static_cast<long long>(rest / 60 % 60),
                static_cast<long long>(rest % 60));
  return text;
}

class LongRunTest : public ProgramFixture<> {
 protected:
  LongRunTest() : ProgramFixture("/dev/shm/vantrel-long") {}

  std::string shown() {
    MainForm& w = m();
    return w.txtDays->text() + " " + w.txt000->text() + w.txtHours->text() + ":" + w.txt00->text() +
           w.txtMins->text() + ":" + w.txt0->text() + w.txtSecs->text();
  }

  // Dials 00:30:00 with the plus buttons and starts the countdown.
  void countdownHalfAnHour() {
    CountdownForm& count = app->countdown();
    for (auto& adjuster : count.adjusters) {
      if (adjuster.digit != count.txt00) continue;
      for (int i = 0; i < 3; ++i) userClick(*adjuster.plus);
    }
    userClick(*count.Command4);
  }
};

TEST_F(LongRunTest, ClockCountdownAndReminderRunForDaysExactlyAndWithoutGrowing) {
  launch();
  OptionsForm& options = app->options();
  options.autoSaveEnabled->setValue(1);
  options.twoHourReminder->setValue(1);
  options.reminderSound->setValue(1);
  setField(*app->settings().autosaveTarget, folder + "/AutoSave.pcl");
  userClick(*app->settings().startRule[1]);
  CountdownForm& count = app->countdown();
  userClick(*count.Check1);
  userClick(*m().CmdStart);

  std::int64_t elapsed = 0;
  std::size_t heapAfterFirstDay = 0;
  for (int day = 1; day <= days(); ++day) {
    for (int hour = 0; hour < 24; ++hour) {
      countdownHalfAnHour();
      platform->advance(1800 * 1000);
      elapsed += 1800;
      ASSERT_EQ(count.Label1->text(), "The Timer has Stopped") << clockText(elapsed);
      ASSERT_EQ(count.txt00->text(), "0");
      ASSERT_EQ(shown(), clockText(elapsed));
      platform->advance(1800 * 1000);
      elapsed += 1800;
      ASSERT_EQ(shown(), clockText(elapsed));
      ASSERT_EQ(m().minuteCounter->text(), std::to_string(elapsed / 60));
      ASSERT_EQ(app->settings().elapsedMinutes->text(), std::to_string(elapsed / 60));
    }
    // 24 countdowns end and the reminder comes every two hours of running, the first two
    // hours in: eleven on the first day, twelve on every other. The records are the
    // test's, not the program's, and are let go.
    const std::size_t told = day == 1 ? 24 + 11 : 24 + 12;
    ASSERT_EQ(platform->trayMessages.size(), told) << "day " << day;
    ASSERT_EQ(platform->soundsPlayed.size(), told) << "day " << day;
    platform->trayMessages.clear();
    platform->soundsPlayed.clear();
    platform->messagesShown.clear();
    if (day == 1) heapAfterFirstDay = heapInUse();
  }
  RecordProperty("heap_after_day_1", std::to_string(heapAfterFirstDay));
  RecordProperty("heap_at_end", std::to_string(heapInUse()));
  EXPECT_LE(heapInUse(), heapAfterFirstDay + 4096) << "from " << heapAfterFirstDay;
  EXPECT_TRUE(m().Timer1->enabled());
  const ReadResult saved = readLines(folder + "/AutoSave.pcl");
  ASSERT_GE(saved.lines.size(), 8u);
  // The last autosave came at the last minute's start.
  EXPECT_EQ(saved.lines[7], std::to_string(elapsed / 60 - 1));
}

}  // namespace
}  // namespace vantrel
