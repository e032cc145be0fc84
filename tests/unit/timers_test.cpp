// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>

#include "app/main_form.h"
#include "app/quit_form.h"
#include "clock/settings_form.h"
#include "platform/user_input.h"
#include "program_fixture.h"
#include "store/options_form.h"
#include "timers/countdown_form.h"
#include "timers/reminder_form.h"

namespace vantrel {
namespace {

class CountdownTest : public ProgramFixture<> {
 protected:
  CountdownTest() : ProgramFixture("vantrel-countdown") {
    launch();
    EXPECT_TRUE(userClick(*m().CDT));
  }
  CountdownForm& c() { return app->countdown(); }

  // Dials a setting from 00:00:00 with the plus buttons, as a user does.
  void dial(int hoursTens, int hours, int minutesTens, int minutes) {
    const int presses[] = {hoursTens, hours, minutesTens, minutes};
    for (int i = 0; i < 4; ++i) {
      for (int n = 0; n < presses[i]; ++n) ASSERT_TRUE(userClick(*c().adjusters[i].plus));
    }
  }
  std::string reading() {
    CountdownForm& f = c();
    return f.txt000->text() + f.txtHours->text() + ":" + f.txt00->text() + f.txtMins->text() + ":" +
           f.txt0->text() + f.txtSecs->text();
  }
  void ticks(int n) { platform->advance(n * 1000LL); }
  int enabledAdjusters() {
    int n = 0;
    for (auto& a : c().adjusters) n += int(a.plus->enabled()) + int(a.minus->enabled());
    return n;
  }
};

TEST_F(CountdownTest, OneTickBorrowsFromSecondsUpToTheHours) {
  const struct {
    int h0, h, m0, m;
    const char* after;
  } cases[] = {{0, 1, 0, 0, "00:59:59"},
               {0, 0, 1, 0, "00:09:59"},
               {0, 0, 6, 0, "00:59:59"},
               {1, 0, 0, 0, "09:59:59"},
               {2, 9, 6, 9, "29:68:59"}};
  for (const auto& k : cases) {
    userClick(*c().Command5);
    dial(k.h0, k.h, k.m0, k.m);
    userClick(*c().Command4);
    ticks(1);
    EXPECT_EQ(reading(), k.after);
    userClick(*c().Command14);
  }
}

TEST_F(CountdownTest, AdjustersStopAtTheirLimitsAndAtZero) {
  CountdownForm& f = c();
  for (auto& a : f.adjusters) EXPECT_FALSE(a.minus->enabled()) << a.minus->name();
  dial(2, 9, 6, 9);
  EXPECT_EQ(reading(), "29:69:00");  // the longest setting: 30 hours 9 minutes
  for (auto& a : f.adjusters) {
    EXPECT_FALSE(a.plus->enabled()) << a.plus->name();
    EXPECT_TRUE(a.minus->enabled()) << a.minus->name();
  }
  // A minus press opens plus again; at 0 minus closes and changes nothing more.
  auto& hoursTens = f.adjusters[0];
  userClick(*hoursTens.minus);
  EXPECT_TRUE(hoursTens.plus->enabled());
  userClick(*hoursTens.minus);
  EXPECT_EQ(f.txt000->text(), "0");
  EXPECT_FALSE(hoursTens.minus->enabled());
  // Nothing types into a digit.
  userClick(*f.txtMins);
  userType(*f.txtMins, '5');
  EXPECT_EQ(f.txtMins->text(), "9");
}

TEST_F(CountdownTest, StartAtZeroAsksForTimeAndRunsNothing) {
  CountdownForm& f = c();
  userClick(*f.adjusters[3].plus);
  userClick(*f.adjusters[3].minus);
  userClick(*f.Command4);
  EXPECT_FALSE(f.running());
  EXPECT_EQ(f.Label1->text(), CountdownForm::kAddTime);
  EXPECT_EQ(f.Command4->backColour(), colour::buttonFace);
  EXPECT_EQ(f.Command14->backColour(), colour::buttonFace);
  EXPECT_EQ(enabledAdjusters(), 4);  // the plus buttons; minus stays off at 0
  for (auto& a : f.adjusters) EXPECT_TRUE(a.plus->visible());
  ticks(3);
  EXPECT_EQ(reading(), "00:00:00");
  userClick(*f.adjusters[0].plus);
  EXPECT_EQ(f.Label1->text(), "");
}

TEST_F(CountdownTest, StopPausesAndStartResumesFromThePausedValue) {
  CountdownForm& f = c();
  dial(0, 0, 0, 1);
  userClick(*f.Command4);
  EXPECT_EQ(f.Command4->backColour(), colour::green);
  EXPECT_TRUE(f.Command5->enabled());  // Clear goes off with the first tick
  for (auto& a : f.adjusters) EXPECT_FALSE(a.plus->visible());
  EXPECT_FALSE(f.Label5->visible());
  ticks(10);
  EXPECT_FALSE(f.Command5->enabled());
  userClick(*f.Command14);
  EXPECT_EQ(reading(), "00:00:50");
  EXPECT_FALSE(f.running());
  EXPECT_EQ(f.Command14->backColour(), colour::red);
  EXPECT_EQ(f.Command4->backColour(), colour::buttonFace);
  EXPECT_TRUE(f.Command5->enabled());
  for (auto& a : f.adjusters) EXPECT_FALSE(a.plus->visible());  // still hidden while paused
  ticks(5);
  EXPECT_EQ(reading(), "00:00:50");
  userClick(*f.Command4);
  ticks(49);
  EXPECT_EQ(reading(), "00:00:01");
  userClick(*f.Command14);
  userClick(*f.Command4);
  EXPECT_TRUE(platform->soundsPlayed.empty());
  ticks(1);
  EXPECT_EQ(f.Label1->text(), CountdownForm::kStopped);
  EXPECT_FALSE(f.running());
}

TEST_F(CountdownTest, TheEndSoundsTellsAndOpensEveryAdjuster) {
  CountdownForm& f = c();
  dial(0, 0, 0, 1);
  userClick(*f.Command4);
  ticks(59);
  EXPECT_TRUE(f.running());
  EXPECT_TRUE(platform->trayMessages.empty());
  ticks(1);
  EXPECT_EQ(reading(), "00:00:00");
  EXPECT_FALSE(f.running());
  ASSERT_EQ(platform->soundsPlayed.size(), 1u);
  EXPECT_EQ(platform->soundsPlayed[0], folder + "/sound.wav");
  EXPECT_EQ(f.Label1->text(), "The Timer has Stopped");
  EXPECT_EQ(platform->trayMessages, std::vector<std::string>{"The Timer has Stopped"});
  EXPECT_EQ(f.Command14->backColour(), colour::red);
  EXPECT_EQ(f.Command4->backColour(), colour::buttonFace);
  EXPECT_TRUE(f.Command5->enabled());
  EXPECT_TRUE(f.Label5->visible() && f.Label6->visible());
  EXPECT_EQ(enabledAdjusters(), 8);  // minus too, with every digit at 0
  for (auto& a : f.adjusters) {
    userClick(*a.minus);
    EXPECT_EQ(a.digit->text(), "0");
  }
  // The job clock was not asked to start.
  EXPECT_EQ(m().caption(), "Vantrel - Stopped");
  EXPECT_TRUE(f.mnuexit->enabled());
  ticks(5);
  EXPECT_EQ(platform->soundsPlayed.size(), 1u);
}

TEST_F(CountdownTest, ATickedEndStartsTheJobClock) {
  CountdownForm& f = c();
  userClick(*f.Check1);
  dial(0, 0, 0, 1);
  userClick(*f.Command4);
  ticks(60);
  EXPECT_EQ(m().caption(), "Vantrel - Running");
  EXPECT_EQ(m().Text54->text(), "Vantrel - Running");
  EXPECT_TRUE(m().Timer1->enabled());
  EXPECT_EQ(m().CmdStart->backColour(), colour::green);
  EXPECT_EQ(m().CmdStop->backColour(), colour::buttonFace);
  ASSERT_TRUE(platform->trayRecord);
  EXPECT_EQ(platform->trayRecord->iconName, "running");
  SettingsForm& s = app->settings();
  for (int i = 1; i <= 3; ++i) {
    EXPECT_FALSE(s.startRule[i]->enabled());
    EXPECT_FALSE(s.rememberBox[i]->enabled());
  }
  EXPECT_FALSE(f.mnuexit->enabled());
  EXPECT_EQ(platform->trayMessages.back(), CountdownForm::kStopped);
  ticks(61);
  EXPECT_EQ(m().txtMins->text(), "1");  // the job clock counts
  // Stop Clock in the countdown's menu stops it again and leaves the locks.
  userClick(*f.stopclock);
  EXPECT_EQ(m().caption(), "Vantrel - Stopped");
  EXPECT_FALSE(m().Timer1->enabled());
  EXPECT_EQ(m().CmdStop->backColour(), colour::red);
  EXPECT_FALSE(s.startRule[1]->enabled());
}

TEST_F(CountdownTest, ExitAsksForASaveThenConfirms) {
  CountdownForm& f = c();
  setField(*m().categoryHours[1], "2");
  setField(*m().categoryRate[1], "10");
  m().cmdSave->setEnabled(true);
  userClick(*f.mnuexit);
  EXPECT_EQ(platform->messagesShown.back(), "Please save the project");
  EXPECT_FALSE(app->quit().visible());
  // Nothing costed, nothing to lose: the question comes.
  setField(*m().categoryRate[1], "0");
  userClick(*f.mnuexit);
  ASSERT_TRUE(app->quit().visible());
  userClick(*app->quit().No);
  EXPECT_FALSE(app->quit().visible());
  EXPECT_FALSE(f.visible());
  EXPECT_FALSE(app->ended());
  userClick(*m().CDT);
  userClick(*f.mnuexit);
  userClick(*app->quit().Command1);
  EXPECT_TRUE(app->ended());
  EXPECT_FALSE(platform->trayRecord);
}

TEST_F(CountdownTest, MenusOpenTheOtherWindowsAndDriveTheJobClock) {
  CountdownForm& f = c();
  const struct {
    MenuItem* item;
    const char* form;
  } cases[] = {{f.options, "frmOptions"},
               {f.pref, "frmSettings"},
               {f.customers, "frmcustomer"},
               {f.About, "frmAbout"}};
  for (const auto& k : cases) {
    f.show();
    userClick(*k.item);
    EXPECT_TRUE(app->form(k.form)->visible()) << k.form;
    EXPECT_FALSE(f.visible()) << k.form;
    app->form(k.form)->hide();
  }
  userClick(*f.startclock);
  EXPECT_EQ(m().caption(), "Vantrel - Running");
  EXPECT_TRUE(f.mnuexit->enabled());  // only a countdown's end locks its Exit
  EXPECT_FALSE(app->settings().rememberBox[1]->enabled());
  EXPECT_FALSE(f.running());
}

class ReminderTest : public ProgramFixture<> {
 protected:
  ReminderTest() : ProgramFixture("vantrel-reminder") { launch(); }
  ReminderForm& r() { return app->reminder(); }

  void flags(bool message, bool sound) {
    app->options().twoHourReminder->setValue(message ? 1 : 0);
    app->options().reminderSound->setValue(sound ? 1 : 0);
  }
  // The reminder clock set to a reading, as if the program had run that long.
  void setClock(int days, int hours, int minutes, int seconds) {
    ReminderForm& f = r();
    setField(*f.days, std::to_string(days));
    setField(*f.hours0, std::to_string(hours / 10));
    setField(*f.hours, std::to_string(hours % 10));
    setField(*f.mins0, std::to_string(minutes / 10));
    setField(*f.mins, std::to_string(minutes % 10));
    setField(*f.secs0, std::to_string(seconds / 10));
    setField(*f.secs, std::to_string(seconds % 10));
  }
  std::string reading() {
    ReminderForm& f = r();
    return f.days->text() + " " + f.hours0->text() + f.hours->text() + ":" + f.mins0->text() +
           f.mins->text() + ":" + f.secs0->text() + f.secs->text();
  }
  // Ticks from a reading of H:59:59 until one second past the next hour; whether it fired.
  bool firesAfterHour(int days, int hour) {
    platform->messagesShown.clear();
    setField(*m().statusMessage, "");
    const std::size_t sounds = platform->soundsPlayed.size();
    setClock(days, hour - 1, 59, 59);
    platform->advance(1000);  // reads hour:00:00
    EXPECT_EQ(platform->soundsPlayed.size(), sounds);
    platform->advance(1000);  // the reminder looks before it advances
    return platform->soundsPlayed.size() > sounds;
  }
};

TEST_F(ReminderTest, FiresAtEveryEvenHourOfRunningAndAtNoOddOne) {
  flags(false, true);
  for (int hour : {2, 4, 8, 10, 12, 20, 22, 24}) EXPECT_TRUE(firesAfterHour(0, hour)) << hour;
  for (int hour : {1, 3, 9, 11, 19, 21, 23}) EXPECT_FALSE(firesAfterHour(0, hour)) << hour;
  for (int hour : {2, 10, 20}) EXPECT_TRUE(firesAfterHour(1, hour)) << "1 day " << hour;  // 26..
  EXPECT_FALSE(firesAfterHour(1, 1)) << "25 hours";
  EXPECT_FALSE(firesAfterHour(3, 5)) << "77 hours";
  EXPECT_TRUE(firesAfterHour(3, 6)) << "78 hours";
}

TEST_F(ReminderTest, TheDayCarriesOneTickAfterTwentyFourHours) {
  setClock(0, 23, 59, 59);
  platform->advance(1000);
  EXPECT_EQ(reading(), "0 24:00:00");
  platform->advance(1000);
  EXPECT_EQ(reading(), "1 00:00:01");
}

TEST_F(ReminderTest, EachFlagActsAlone) {
  const struct { bool message, sound; } cases[] = {{true, false}, {false, true}, {false, false}};
  for (const auto& k : cases) {
    flags(k.message, k.sound);
    m().hide();
    platform->trayMessages.clear();
    const bool sounded = firesAfterHour(0, 4);
    EXPECT_EQ(sounded, k.sound);
    EXPECT_EQ(m().statusMessage->text(), k.message ? ReminderForm::kMessage : "");
    EXPECT_EQ(m().visible(), k.message);
    EXPECT_EQ(platform->trayMessages.size(), k.message ? 1u : 0u);
  }
}

TEST_F(ReminderTest, ARunFlagOfZeroStopsItAtTheEndOfTheTick) {
  setField(*r().Text1, "0");
  platform->advance(5000);
  EXPECT_FALSE(r().Timer1->enabled());
  EXPECT_EQ(reading(), "0 00:00:01");
}

}  // namespace
}  // namespace vantrel
