// SPDX-License-Identifier: GPL-3.0-or-later
// After a copy ended without clearing its in-use mark, the job its autosave holds is offered
// back before anything can write over it; a clean run and exit never asks.
#include "app/recovery.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <ctime>

#include "app/main_form.h"
#include "clock/settings_form.h"
#include "platform/user_input.h"
#include "program_fixture.h"
#include "store/options_form.h"
#include "store/project_file.h"
#include "test_files.h"
#include "worklog/log_keeper.h"

namespace vantrel {
namespace {

std::time_t localTime(int y, int mo, int d, int h, int mi, int s) {
  std::tm t{};
  t.tm_year = y - 1900;
  t.tm_mon = mo - 1;
  t.tm_mday = d;
  t.tm_hour = h;
  t.tm_min = mi;
  t.tm_sec = s;
  t.tm_isdst = -1;
  return std::mktime(&t);
}

class RecoveryTest : public ProgramFixture<> {
 protected:
  RecoveryTest() : ProgramFixture("vantrel-recovery") {
    launch();
    platform->advance(100);
    autosave = folder + "/AutoSave.pcl";
  }

  // What an autosave eleven minutes into a job leaves, written at 08:47:12 the day before.
  void autosaved(const std::string& path) {
    std::vector<std::string> lines = projectLines(*app);
    lines[1] = "2.5";  // hours of category 2
    lines[56] = "1";   // txtMins
    lines[57] = "1";   // txt00
    ASSERT_TRUE(writeLines(path, lines));
    const timespec when[2] = {{localTime(2026, 1, 5, 8, 47, 12), 0},
                              {localTime(2026, 1, 5, 8, 47, 12), 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), when, 0), 0);
    bytes = slurp(path);
  }

  // The program vanishes (the fixture's restart ends nothing) and starts again.
  void crashAndStart(std::optional<Answer> answer) {
    app.reset();
    platform = std::make_unique<HeadlessServices>(folder, *parseDateTime("2026-01-06 09:00:00"));
    if (answer) platform->answers.push_back(*answer);
    app = std::make_unique<Vantrel>(platform->services());
    launch();
    platform->advance(100);
  }

  static constexpr const char* kQuestion =
      "Vantrel did not close properly. Restore the job autosaved at 08:47 (00:11:00 on the "
      "clock)?";
  std::string autosave;
  std::string bytes;
};

TEST_F(RecoveryTest, YesBringsTheJobBackUnsavedAndWithoutAFile) {
  autosaved(autosave);
  crashAndStart(Answer::Yes);
  EXPECT_EQ(platform->messagesShown, std::vector<std::string>{kQuestion});
  EXPECT_EQ(m().txt00->text(), "1");
  EXPECT_EQ(m().txtMins->text(), "1");
  EXPECT_EQ(m().categoryHours[2]->text(), "2.5");
  EXPECT_TRUE(m().projectPath->text().empty());
  EXPECT_TRUE(m().cmdSave->enabled()) << "it counts as unsaved";
  EXPECT_FALSE(m().cmdsav->enabled()) << "Save must ask for a name";
  EXPECT_EQ(slurp(autosave), bytes);

  // Answered once: a normal end now clears the mark, and the next start asks nothing.
  platform->answers.push_back(Answer::Yes);  // exit anyway
  userClick(*m().ext);
  ASSERT_TRUE(app->ended());
  restart();
  platform->advance(100);
  EXPECT_TRUE(platform->messagesShown.empty());
}

TEST_F(RecoveryTest, TheWorkLogComesBackWithItsOpenRunEndingAtTheAutosave) {
  app->options().autoSaveEnabled->setValue(1);
  userClick(*m().CmdStart);
  platform->advance(150'000);  // autosaved at two minutes, then half a minute more
  crashAndStart(Answer::Yes);
  const WorkLog& log = m().log->log();
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].kind, EntryKind::Run);
  EXPECT_EQ(log[0].seconds, 120);
  EXPECT_EQ(m().txtMins->text(), "2");
  EXPECT_TRUE(m().log->balanced());

  // Work goes on in a run of its own.
  userClick(*m().CmdStart);
  platform->advance(60'000);
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[1].seconds, 60);
}

TEST_F(RecoveryTest, NoKeepsTheJobUnderADatedNameThatNoAutosaveTouches) {
  autosaved(autosave);
  crashAndStart(Answer::No);
  EXPECT_EQ(platform->messagesShown, std::vector<std::string>{kQuestion});
  const std::string kept = folder + "/AutoSave-20260105-084712.pcl";
  EXPECT_EQ(slurp(kept), bytes);
  EXPECT_FALSE(fileExists(autosave));
  EXPECT_EQ(m().txt00->text(), "0") << "the sheet is left empty";

  app->options().autoSaveEnabled->setValue(1);
  userClick(*m().CmdStart);
  platform->advance(61000);
  EXPECT_TRUE(fileExists(autosave));
  EXPECT_EQ(slurp(kept), bytes);
}

TEST_F(RecoveryTest, ThePreferencesAutosaveFileIsOfferedWhereverItPoints) {
  std::filesystem::create_directory(folder + "/jobs");
  const std::string target = folder + "/jobs/AutoSave.pcl";
  setField(*app->settings().autosaveTarget, target);
  app->options().show();
  userClick(*app->options().Command3);  // Save: the price list keeps the target
  autosaved(target);
  crashAndStart(Answer::No);
  EXPECT_EQ(platform->messagesShown, std::vector<std::string>{kQuestion});
  EXPECT_EQ(slurp(folder + "/jobs/AutoSave-20260105-084712.pcl"), bytes);
}

TEST_F(RecoveryTest, ACleanExitOrAnAutosaveWithoutAJobNeverAsks) {
  autosaved(autosave);
  userClick(*m().cmdexit);
  ASSERT_TRUE(app->ended());
  crashAndStart(std::nullopt);
  EXPECT_TRUE(platform->messagesShown.empty());
  EXPECT_EQ(slurp(autosave), bytes);

  writeLines(autosave, projectLines(*app));  // an empty sheet
  crashAndStart(std::nullopt);
  EXPECT_TRUE(platform->messagesShown.empty());
}

TEST(RecoveryNames, DaysShowBeforeTheClockAndTheDatedNameKeepsTheExtension) {
  std::vector<std::string> lines(61, "0");
  EXPECT_FALSE(autosavedClock(lines));
  lines[54] = "5";  // txtSecs
  lines[60] = "2";  // txtDays
  EXPECT_EQ(autosavedClock(lines).value_or(""), "2 days 00:00:05");
  EXPECT_EQ(keptAsideName("/a.b/AutoSave.pcl", localTime(2026, 12, 31, 23, 59, 58)),
            "/a.b/AutoSave-20261231-235958.pcl");
  EXPECT_EQ(keptAsideName("/a.b/AutoSave", localTime(2026, 12, 31, 23, 59, 58)),
            "/a.b/AutoSave-20261231-235958.pcl");
}

}  // namespace
}  // namespace vantrel
