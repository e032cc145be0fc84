// SPDX-License-Identifier: GPL-3.0-or-later
#include "clock/job_clock.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "app/main_form.h"
#include "app/vantrel.h"
#include "clock/settings_form.h"
#include "platform/headless/headless_services.h"
#include "platform/text_file.h"
#include "platform/user_input.h"
#include "program_fixture.h"
#include "store/labels_form.h"
#include "store/options_form.h"
#include "store/project_file.h"

namespace vantrel {
namespace {

class JobClockTest : public ProgramFixture<> {
 protected:
  JobClockTest() : ProgramFixture("vantrel-clock") { app->start(); }

  SettingsForm& prefs() { return app->settings(); }
  void seconds(int n) { platform->advance(n * 1000LL); }

  // As the clock shows it: "24:00:00", or "1 day 00:00:01" once the days are shown.
  std::string display() {
    MainForm& f = m();
    std::string time = f.txt000->text() + f.txtHours->text() + ":" + f.txt00->text() +
                       f.txtMins->text() + ":" + f.txt0->text() + f.txtSecs->text();
    return f.txtDays->visible() ? f.txtDays->text() + " day " + time : time;
  }

  // Digits as a loaded project file would leave them.
  void showTime(const char* h10, const char* h, const char* m10, const char* mi, const char* s10,
                const char* s) {
    setField(*m().txt000, h10);
    setField(*m().txtHours, h);
    setField(*m().txt00, m10);
    setField(*m().txtMins, mi);
    setField(*m().txt0, s10);
    setField(*m().txtSecs, s);
  }

  void enableAutosave() { app->options().autoSaveEnabled->setValue(1); }
};

TEST_F(JobClockTest, CountsSecondsIntoMinutesAndBillsEachMinuteRightAway) {
  userClick(*m().CmdStart);
  seconds(59);
  EXPECT_EQ(display(), "00:00:59");
  EXPECT_EQ(prefs().elapsedMinutes->text(), "0");
  EXPECT_EQ(m().minuteCounter->text(), "0");
  seconds(1);
  EXPECT_EQ(display(), "00:01:00");
  EXPECT_EQ(prefs().elapsedMinutes->text(), "1");
  EXPECT_EQ(m().minuteCounter->text(), "1");
  seconds(9 * 60 + 1);
  EXPECT_EQ(display(), "00:10:01");
  EXPECT_EQ(m().minuteCounter->text(), "10");
}

TEST_F(JobClockTest, UseMinimumAmountBillsEveryMinuteOnTopOfTheCount) {
  prefs().startRule[3]->setValue(1);
  setField(*m().minuteCounter, "45");
  userClick(*m().CmdStart);
  seconds(120);
  EXPECT_EQ(m().minuteCounter->text(), "47");
}

TEST_F(JobClockTest, CarriesHoursAndDays) {
  showTime("0", "9", "5", "9", "5", "9");
  userClick(*m().CmdStart);
  seconds(1);
  EXPECT_EQ(display(), "10:00:00");

  showTime("2", "3", "5", "9", "5", "9");
  seconds(1);
  EXPECT_EQ(display(), "24:00:00");
  EXPECT_FALSE(m().lblDays->visible());
  seconds(1);
  EXPECT_EQ(display(), "1 day 00:00:01");
  EXPECT_TRUE(m().lblDays->visible());

  showTime("2", "3", "5", "9", "5", "9");
  seconds(2);
  EXPECT_EQ(display(), "2 day 00:00:01");
}

TEST_F(JobClockTest, TwoMinuteLockAndWhatResetRestores) {
  MainForm& f = m();
  userClick(*f.CmdStart);
  seconds(120);
  EXPECT_EQ(display(), "00:02:00");
  EXPECT_TRUE(f.Command1->visible());
  EXPECT_TRUE(f.Command4->enabled());
  seconds(1);
  EXPECT_FALSE(f.Command1->visible());
  EXPECT_FALSE(f.Command3->visible());
  for (Control* c : {f.Command4, f.Command6, f.Command7, f.Command8, f.chkplus, f.chkminus}) {
    EXPECT_FALSE(c->enabled()) << c->name();
  }
  EXPECT_EQ(f.minuteCounter->text(), "2");

  showTime("2", "3", "5", "9", "5", "9");
  seconds(2);  // into the second day, so Reset has days to hide
  userClick(*f.CmdReset);
  EXPECT_EQ(display(), "00:00:00");
  EXPECT_EQ(f.txtDays->text(), "0");
  EXPECT_FALSE(f.txtDays->visible());
  EXPECT_FALSE(f.lblDays->visible());
  EXPECT_FALSE(f.Timer1->enabled());
  EXPECT_EQ(f.autosaveTicks->value(), 0);
  EXPECT_EQ(f.caption(), "Vantrel - Stopped");
  EXPECT_EQ(f.icon(), "stopped");
  EXPECT_TRUE(f.Command1->visible());
  EXPECT_TRUE(f.Command3->visible());
  for (Control* c : {f.Command4, f.Command6, f.Command7, f.Command8}) {
    EXPECT_TRUE(c->enabled()) << c->name();
  }
  EXPECT_FALSE(f.chkplus->enabled());
  EXPECT_FALSE(f.chkminus->enabled());
  EXPECT_EQ(prefs().nextBillableMinute->text(), "1");
  EXPECT_EQ(prefs().elapsedMinutes->text(), "0");
  EXPECT_EQ(f.minuteCounter->text(), "3") << "Reset leaves the billed minutes alone";
  EXPECT_EQ(f.CmdReset->backColour(), colour::yellow);
  EXPECT_TRUE(platform->present()) << "a yellow Reset puts the icon back";
  EXPECT_EQ(platform->trayRecord->iconName, "stopped");
}

TEST_F(JobClockTest, FourMinuteLockClosesThePreferencesReset) {
  userClick(*m().CmdStart);
  seconds(240);
  EXPECT_TRUE(prefs().Command6->enabled());
  seconds(1);
  EXPECT_FALSE(prefs().Command6->enabled());
  EXPECT_EQ(prefs().Command6->backColour(), colour::buttonFace);
}

TEST_F(JobClockTest, AfterMinimumBillsOnlyOnceTheClockHasCaughtUp) {
  prefs().startRule[2]->setValue(1);
  setField(*m().minuteCounter, "30");
  setField(*prefs().nextBillableMinute, "30");
  userClick(*m().CmdStart);
  for (int minute = 1; minute <= 29; ++minute) {
    seconds(60);
    ASSERT_EQ(m().minuteCounter->text(), "30") << "minute " << minute;
  }
  seconds(60);
  EXPECT_EQ(prefs().elapsedMinutes->text(), "30");
  EXPECT_EQ(m().minuteCounter->text(), "31");
  EXPECT_EQ(prefs().nextBillableMinute->text(), "32");
  seconds(60);
  EXPECT_EQ(m().minuteCounter->text(), "31");
  for (int minute = 32; minute <= 40; ++minute) {
    seconds(60);
    ASSERT_EQ(m().minuteCounter->text(), std::to_string(minute)) << "minute " << minute;
  }
}

TEST_F(JobClockTest, AfterMinimumNeverMatchesAFractionalNextMinute) {
  prefs().startRule[2]->setValue(1);
  setField(*prefs().elapsedMinutes, "29");
  setField(*prefs().nextBillableMinute, "30.5");
  setField(*m().minuteCounter, "30.5");
  userClick(*m().CmdStart);
  seconds(180);
  EXPECT_EQ(m().minuteCounter->text(), "30.5");
  EXPECT_EQ(prefs().elapsedMinutes->text(), "32");
}

TEST_F(JobClockTest, AutosavesAt61And121And181SecondsAfterStart) {
  enableAutosave();
  std::string file = folder + "/AutoSave.pcl";
  EXPECT_EQ(prefs().autosaveTarget->text(), file);
  userClick(*m().CmdStart);
  EXPECT_EQ(m().autosavePath->text(), file);

  seconds(60);
  EXPECT_FALSE(fileExists(file));
  for (const char* minute : {"1", "2", "3"}) {
    seconds(1);
    ASSERT_TRUE(fileExists(file)) << "minute " << minute;
    EXPECT_EQ(m().statusMessage->text(), "Your Project was saved");
    ReadResult saved = readLines(file);
    // The job's 61 lines, then its work log with the run so far.
    ASSERT_GT(saved.lines.size(), 62u);
    EXPECT_EQ(saved.lines[61], "[Work log]");
    // The point comes before the second advances: the file holds the whole minute.
    EXPECT_EQ(saved.lines[54], "0");     // txtSecs
    EXPECT_EQ(saved.lines[55], "0");     // txt0
    EXPECT_EQ(saved.lines[56], minute);  // txtMins
    EXPECT_EQ(saved.lines[60], "0");     // txtDays
    EXPECT_EQ(saved.lines[7], minute);   // minuteCounter
    EXPECT_EQ(saved.lines[42], minute);  // elapsedMinutes
    EXPECT_EQ(saved.lines[15], "Hours");
    EXPECT_EQ(saved.lines[29], "Hours");
    std::filesystem::remove(file);
    seconds(59);
    EXPECT_FALSE(fileExists(file));
  }
}

TEST_F(JobClockTest, AutosaveCountSurvivesStopAndStartAndOnlyRunsWhenEnabled) {
  std::string file = folder + "/AutoSave.pcl";
  userClick(*m().CmdStart);
  seconds(61);
  EXPECT_FALSE(fileExists(file)) << "autosave is off";

  enableAutosave();
  seconds(30);
  userClick(*m().CmdStop);
  seconds(300);
  userClick(*m().CmdStart);
  seconds(29);
  EXPECT_FALSE(fileExists(file));
  seconds(1);
  EXPECT_TRUE(fileExists(file));
}

TEST_F(JobClockTest, FailedAutosaveSaysWhyKeepsTheOldFileAndRunsOn) {
  // Too long a name for the temporary file beside it: the write fails, the old file stays.
  std::string file = folder + "/" + std::string(245, 'a') + ".pcl";
  std::ofstream(file) << "previous\r\n";
  setField(*prefs().autosaveTarget, file);
  enableAutosave();
  userClick(*m().CmdStart);
  seconds(61);
  EXPECT_EQ(m().statusMessage->text().rfind("Autosave failed: ", 0), 0u)
      << m().statusMessage->text();
  EXPECT_EQ(readLines(file).lines, std::vector<std::string>{"previous"});
  EXPECT_TRUE(m().Timer1->enabled());
  seconds(60);
  EXPECT_EQ(display(), "00:02:01");

  setField(*prefs().autosaveTarget, folder + "/gone/AutoSave.pcl");
  userClick(*m().CmdStart);
  seconds(60);
  EXPECT_EQ(m().statusMessage->text().rfind("Autosave failed: ", 0), 0u);
  EXPECT_NE(m().statusMessage->text(), "Your Project was saved");
}

TEST_F(JobClockTest, WriteProjectWritesTheJobInFileOrder) {
  MainForm& f = m();
  setField(*f.categoryHours[3], "7");
  setField(*f.categoryRate[2], "20.00");
  app->options().priceListRate[5]->storeText("55");
  app->labels().labelText[6]->storeText("Travel");
  setField(*prefs().nextBillableMinute, "12");
  setField(*prefs().elapsedMinutes, "11");
  setField(*f.txtDays, "3");
  setField(*f.txtSecs, "8");
  std::string file = folder + "/job.pcl";
  ASSERT_TRUE(writeProject(f, file));
  EXPECT_EQ(f.statusMessage->text(), "Your Project was saved");
  std::vector<std::string> lines = readLines(file).lines;
  ASSERT_GT(lines.size(), 61u);
  EXPECT_EQ(lines[61], "[Work log]");
  EXPECT_EQ(lines[2], "7");
  EXPECT_EQ(lines[9], "20.00");
  EXPECT_EQ(lines[26], "55");
  EXPECT_EQ(lines[34], "Travel");
  for (int i = 36; i <= 53; ++i) {
    if (i == 41 || i == 42) continue;
    EXPECT_EQ(lines[i], "") << "line " << i + 1;
  }
  EXPECT_EQ(lines[41], "12");
  EXPECT_EQ(lines[42], "11");
  EXPECT_EQ(lines[54], "8");
  EXPECT_EQ(lines[60], "3");

  setField(*f.statusMessage, "");
  EXPECT_FALSE(writeProject(f, folder + "/gone/job.pcl"));
  EXPECT_FALSE(writeProject(f, ""));
  EXPECT_EQ(f.statusMessage->text(), "") << "nothing claims saved after a failed write";
}

TEST_F(JobClockTest, DamagedDigitsCountAsZeroAndTheTickRunsOn) {
  MainForm& f = m();
  showTime("x", "", "5.0", "9", "five", "9");
  setField(*f.txtDays, "lots");
  setField(*f.minuteCounter, "n/a");
  userClick(*f.CmdStart);
  seconds(1);
  EXPECT_EQ(f.txtSecs->text(), "0");
  EXPECT_EQ(f.txt0->text(), "1") << "a damaged tens digit counts as 0";
  showTime("2", "4", "0", "0", "5", "9");
  setField(*f.txtSecs, " 9 ");
  seconds(1);
  EXPECT_EQ(f.txtDays->text(), "1") << "damaged days count as 0";
  EXPECT_EQ(display(), "1 day 00:01:00");
  EXPECT_EQ(f.minuteCounter->text(), "1") << "a damaged count is billed from 0";
  EXPECT_TRUE(f.Timer1->enabled());
}

TEST_F(JobClockTest, StartAndStopFromMouseOrKeysHighlightTheButtonAndKeepTheClockSo) {
  MainForm& f = m();
  userClick(*f.CmdStart);
  EXPECT_EQ(f.CmdStart->backColour(), colour::green);
  EXPECT_EQ(f.CmdStop->backColour(), colour::buttonFace);
  EXPECT_EQ(f.caption(), "Vantrel - Running");
  EXPECT_EQ(f.Text54->text(), "Vantrel - Running");
  EXPECT_EQ(f.icon(), "running");
  ASSERT_TRUE(platform->present());
  EXPECT_EQ(platform->trayRecord->iconName, "running");
  EXPECT_EQ(platform->trayRecord->tipText(), "Vantrel - Running");
  seconds(60);
  EXPECT_TRUE(f.Timer1->enabled()) << "a green Start keeps the clock running";

  userClick(*f.CmdStop);
  EXPECT_FALSE(f.Timer1->enabled());
  EXPECT_EQ(f.CmdStop->backColour(), colour::red);
  EXPECT_EQ(f.caption(), "Vantrel - Stopped");
  EXPECT_EQ(f.icon(), "stopped");
  EXPECT_TRUE(platform->present());
  EXPECT_TRUE(f.cmdsav->enabled());

  userKeyActivate(*f.CmdStart);
  EXPECT_EQ(f.CmdStart->backColour(), colour::green);
  EXPECT_TRUE(platform->present());
  seconds(30);
  EXPECT_TRUE(f.Timer1->enabled()) << "the watchdog keeps a clock started from the keys";
  userKeyActivate(*f.CmdStop);
  seconds(30);
  EXPECT_FALSE(f.Timer1->enabled()) << "and keeps it stopped";
}

TEST_F(JobClockTest, WatchdogRestartsAClockWhoseStartIsGreen) {
  MainForm& f = m();
  userClick(*f.CmdStart);
  userActivate(*f.CmdStop);  // the click alone: Start stays green
  EXPECT_FALSE(f.Timer1->enabled());
  seconds(10);
  EXPECT_TRUE(f.Timer1->enabled());
}

TEST_F(JobClockTest, StartLocksThePreferencesThatFeedTheClock) {
  SettingsForm& s = prefs();
  setField(*m().statusMessage, "Your Project was saved");
  userClick(*m().CmdStart);
  EXPECT_EQ(m().statusMessage->text(), "");
  for (Control* c : {s.startRule[1], s.startRule[2], s.startRule[3], s.Text5, s.Command7,
                     s.Command3, s.rememberBox[1], s.rememberBox[2], s.rememberBox[3]}) {
    EXPECT_FALSE(c->enabled()) << c->name();
  }
  EXPECT_TRUE(s.Command6->enabled());
}

TEST_F(JobClockTest, TrayStartClockAndStopClock) {
  MainForm& f = m();
  SettingsForm& s = prefs();
  setField(*f.autosavePath, "/elsewhere/job.pcl");
  userClick(*f.MnuStart);
  EXPECT_EQ(f.CmdStart->backColour(), colour::green);
  EXPECT_EQ(f.CmdStop->backColour(), colour::buttonFace);
  EXPECT_TRUE(f.Timer1->enabled());
  EXPECT_EQ(f.caption(), "Vantrel - Running");
  ASSERT_TRUE(platform->present());
  EXPECT_EQ(platform->trayRecord->iconName, "running");
  EXPECT_FALSE(s.startRule[1]->enabled());
  EXPECT_FALSE(s.Command3->enabled());
  EXPECT_TRUE(s.rememberBox[1]->enabled()) << "the tray leaves the Save Settings boxes";
  EXPECT_EQ(f.autosavePath->text(), "/elsewhere/job.pcl");
  seconds(5);

  f.cmdsav->setEnabled(false);
  userClick(*f.MnuStop);
  EXPECT_EQ(f.CmdStop->backColour(), colour::red);
  EXPECT_EQ(f.CmdStart->backColour(), colour::buttonFace);
  EXPECT_FALSE(f.Timer1->enabled());
  EXPECT_EQ(f.caption(), "Vantrel - Stopped");
  EXPECT_EQ(f.Text54->text(), "Vantrel - Stopped");
  EXPECT_TRUE(platform->present());
  EXPECT_EQ(platform->trayRecord->iconName, "stopped");
  EXPECT_FALSE(f.cmdsav->enabled()) << "only the Stop button enables Save";
}

TEST_F(JobClockTest, ResetFromTheKeysStaysStopped) {
  userClick(*m().CmdStart);
  seconds(3);
  userKeyActivate(*m().CmdReset);
  EXPECT_TRUE(platform->present());
  seconds(20);
  EXPECT_FALSE(m().Timer1->enabled()) << "the watchdog no longer follows the green Start";
  EXPECT_EQ(m().Text54->text(), "Vantrel - Running") << "Reset leaves the tip text";
}

TEST_F(JobClockTest, SecondsTensChangeEnablesSave) {
  MainForm& f = m();
  f.cmdsav->setEnabled(false);
  f.save->setEnabled(false);
  userClick(*f.CmdStart);
  seconds(9);
  EXPECT_FALSE(f.cmdsav->enabled());
  seconds(1);
  EXPECT_TRUE(f.cmdsav->enabled());
  EXPECT_TRUE(f.save->enabled());
}

TEST_F(JobClockTest, LoadClearsTheTimeButNotTheDays) {
  MainForm& f = m();
  userClick(*f.CmdStart);
  showTime("2", "4", "1", "2", "3", "4");
  setField(*f.txtDays, "2");
  seconds(7);
  f.clock->clearForLoad();
  EXPECT_FALSE(f.Timer1->enabled());
  EXPECT_EQ(f.txt000->text() + f.txtHours->text() + f.txt00->text() + f.txtMins->text() +
                f.txt0->text() + f.txtSecs->text(),
            "000000");
  EXPECT_EQ(f.autosaveTicks->value(), 0);
  EXPECT_EQ(f.txtDays->text(), "3");
}

TEST_F(JobClockTest, OneMinuteAdjustersIgnoreModeAndCategory) {
  MainForm& f = m();
  userClick(*f.Command1);
  userClick(*f.Command1);
  userClick(*f.Command3);
  EXPECT_EQ(f.minuteCounter->text(), "1");
  userClick(*f.chkminus);
  userClick(*f.Command1);
  EXPECT_EQ(f.minuteCounter->text(), "2");
  userClick(*f.Command3);
  userClick(*f.Command3);
  userClick(*f.Command3);
  EXPECT_EQ(f.minuteCounter->text(), "-1");

  f.minuteCounter->storeText("lost");  // as a damaged file would leave it, rules aside
  userClick(*f.Command1);
  EXPECT_EQ(f.minuteCounter->text(), "lost") << "an unreadable count is left alone";
}

TEST_F(JobClockTest, ThirtyMinutesFollowsCategoryOneAndTheMode) {
  MainForm& f = m();
  setField(*f.minuteCounter, "10");
  userClick(*f.Command6);
  EXPECT_EQ(f.minuteCounter->text(), "10") << "category 1 unticked";

  f.categorySelected[1]->setValue(1);
  ASSERT_EQ(f.minuteCounter->text(), "10");
  userClick(*f.Command6);
  EXPECT_EQ(f.minuteCounter->text(), "40");
  userClick(*f.Command8);
  EXPECT_EQ(f.minuteCounter->text(), "160");

  userClick(*f.chkminus);
  userClick(*f.Command7);
  EXPECT_EQ(f.minuteCounter->text(), "100");
  userClick(*f.Command8);
  userClick(*f.Command6);
  userClick(*f.Command4);
  EXPECT_EQ(f.minuteCounter->text(), "-65") << "subtracting goes below zero";
}

TEST_F(JobClockTest, ModeBoxesActAsAPair) {
  MainForm& f = m();
  EXPECT_EQ(f.chkplus->value(), 1);
  EXPECT_FALSE(f.chkplus->enabled());
  EXPECT_TRUE(f.chkminus->enabled());
  EXPECT_EQ(f.Frame2->text(), "Additions");
  EXPECT_EQ(f.Command4->tooltip(), "Add 15 Minutes");
  EXPECT_EQ(f.Command8->tooltip(), "Add 2 Hours");

  userClick(*f.chkminus);
  EXPECT_EQ(f.chkminus->value(), 1);
  EXPECT_EQ(f.chkplus->value(), 0);
  EXPECT_FALSE(f.chkminus->enabled());
  EXPECT_TRUE(f.chkplus->enabled());
  EXPECT_EQ(f.Frame2->text(), "Subtractions");
  EXPECT_EQ(f.Frame2->tooltip(),
            "Subtractions to time, 2 minutes on the clock will shut this down. Reset the clock.");
  EXPECT_EQ(f.Command6->tooltip(), "Subtract 30 Minutes");
  EXPECT_EQ(f.Command7->tooltip(), "Subtract 1 Hour");

  // A save opens both boxes; unticking the ticked one then switches the mode.
  f.chkminus->setEnabled(true);
  userClick(*f.chkminus);
  EXPECT_EQ(f.chkminus->value(), 0);
  EXPECT_EQ(f.chkplus->value(), 1);
  EXPECT_EQ(f.Frame2->text(), "Additions");
  EXPECT_EQ(f.Frame2->tooltip(),
            "Additions to time, 2 minutes on the clock will shut this down. Reset the clock.");
}

}  // namespace
}  // namespace vantrel
