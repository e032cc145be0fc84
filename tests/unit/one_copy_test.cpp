// SPDX-License-Identifier: GPL-3.0-or-later
// One copy per application folder: the lock, the hand-over of a later start's command line,
// and the sweep that leaves alone what a running copy is still writing.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>

#include "app/main_form.h"
#include "clock/job_clock.h"
#include "platform/folder_lock.h"
#include "platform/hand_over.h"
#include "platform/user_input.h"
#include "program_fixture.h"
#include "store/project_file.h"
#include "test_files.h"

namespace vantrel {
namespace {

// A copy in another process that holds a folder until it is killed outright.
struct HolderElsewhere {
  explicit HolderElsewhere(const std::string& folder) {
    int ready[2];
    if (::pipe(ready) != 0) return;
    child = ::fork();
    if (child == 0) {
      FolderLock held;
      const bool taken = held.claim(folder) == FolderLock::Claim::Taken;
      [[maybe_unused]] auto n = ::write(ready[1], taken ? "1" : "0", 1);
      ::pause();
      ::_exit(0);
    }
    char byte = 0;
    took = ::read(ready[0], &byte, 1) == 1 && byte == '1';
    ::close(ready[0]);
    ::close(ready[1]);
  }
  void kill() {
    if (child <= 0) return;
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    child = 0;
  }
  ~HolderElsewhere() { kill(); }
  pid_t child = 0;
  bool took = false;
};

TEST(FolderLockTest, OneHolderAtATimeAndADeadOneLeavesItsMark) {
  TempFolder folder("vantrel-lock");
  {
    FolderLock first;
    ASSERT_EQ(first.claim(folder.path()), FolderLock::Claim::Taken);
    EXPECT_FALSE(first.leftInUse());
    FolderLock second;
    EXPECT_EQ(second.claim(folder.path()), FolderLock::Claim::Held);
    first.release();
    ASSERT_EQ(second.claim(folder.path()), FolderLock::Claim::Taken);
    EXPECT_FALSE(second.leftInUse()) << "a normal end clears the mark";
  }  // gone without a release, as in a crash

  // A copy in another process killed outright: its lock goes with it, its mark stays.
  HolderElsewhere other(folder.path());
  EXPECT_TRUE(other.took) << "the mark of a crash does not keep the next copy out";
  FolderLock meanwhile;
  EXPECT_EQ(meanwhile.claim(folder.path()), FolderLock::Claim::Held);
  other.kill();
  FolderLock next;
  ASSERT_EQ(next.claim(folder.path()), FolderLock::Claim::Taken);
  EXPECT_TRUE(next.leftInUse());
}

TEST(HandOverTest, TheRunningCopyTakesTheCommandLineByteForByte) {
  TempFolder folder("vantrel-handover");
  const std::string address = handOverAddress(folder.path());
  EXPECT_FALSE(sendHandOver(address, "/jobs/a.pcl")) << "nobody listens yet";
  HandOverServer server;
  ASSERT_TRUE(server.listen(address));
  EXPECT_FALSE(server.take()) << "no start waits";
  const std::string line = "\"/jobs/caf\xE9 \xFF.pcl\"";  // not UTF-8
  bool taken = false;
  std::thread start([&] { taken = sendHandOver(address, line); });
  std::optional<std::string> received;
  for (int i = 0; i < 200 && !received; ++i) {
    received = server.take();
    if (!received) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  start.join();
  EXPECT_TRUE(taken);
  EXPECT_EQ(received.value_or("(none)"), line);
}

TEST(LeftoverTest, TheSweepLeavesATemporaryFileItsWriterStillHolds) {
  TempFolder folder("vantrel-sweep");
  const std::string written = folder.path() + "/prices.pql.tmp-Ab12Cd";
  const std::string dead = folder.path() + "/AutoSave.pcl.tmp-x9Y8z7";
  writeFile(written, "half");
  writeFile(dead, "half");
  const int fd = ::open(written.c_str(), O_RDONLY);
  ASSERT_EQ(::flock(fd, LOCK_EX), 0);
  removeLeftoverTempsIn(folder.path());
  EXPECT_TRUE(std::filesystem::exists(written)) << "a running copy is writing it";
  EXPECT_FALSE(std::filesystem::exists(dead));
  ::close(fd);
  removeLeftoverTempsIn(folder.path());
  EXPECT_FALSE(std::filesystem::exists(written));
}

// Two headless programs on one folder, as two starts of the desktop program.
class OneCopyTest : public ProgramFixture<> {
 protected:
  OneCopyTest() : ProgramFixture("vantrel-onecopy") {
    launch();
    platform->advance(100);  // the main window's start-up is over
    job = folder + "/job.pcl";
    {
      std::vector<std::string> lines = projectLines(*app);
      lines[1] = "2.5";  // hours of category 2
      lines[57] = "4";   // txt00: 40 minutes on the clock
      EXPECT_TRUE(writeLines(job, lines));
    }
    jobBytes = slurp(job);
  }

  // A second start on the folder with this command line; it must end at once.
  void secondStart(const std::string& commandLine) {
    HeadlessServices second(folder);
    second.commandLineText = commandLine;
    second.write("Ploven", "Settings", "SLA", "1");
    Vantrel copy(second.services());
    copy.start();
    EXPECT_TRUE(copy.ended());
    EXPECT_TRUE(second.ended);
    EXPECT_TRUE(copy.loadedForms().empty()) << "not even the splash";
    EXPECT_EQ(second.handedOver, std::vector<std::string>{commandLine});
    EXPECT_TRUE(second.messagesShown.empty());
  }

  std::string job;
  std::string jobBytes;
};

TEST_F(OneCopyTest, ASecondStartHandsItsFileToTheRunningCopyWhichOpensIt) {
  m().hide();  // closed to the tray
  secondStart("\"" + job + "\"");
  EXPECT_TRUE(m().visible());
  EXPECT_EQ(platform->frontForms, std::vector<std::string>{"frmMain"});
  EXPECT_EQ(m().projectPath->text(), job);
  EXPECT_EQ(m().categoryHours[2]->text(), "2.5");
  EXPECT_EQ(m().txt00->text(), "4");
  EXPECT_TRUE(platform->messagesShown.empty());

  // Without a file it only comes to the front.
  secondStart("");
  EXPECT_EQ(platform->frontForms.size(), 2u);
}

TEST_F(OneCopyTest, UnsavedWorkIsNotReplacedByAHandedOverFile) {
  setField(*m().categoryHours[3], "1");
  const std::vector<std::string> before = projectLines(*app);
  secondStart(job);
  EXPECT_EQ(platform->messagesShown,
            std::vector<std::string>{"Please save the project before opening " + job + "."});
  EXPECT_EQ(projectLines(*app), before);
  EXPECT_TRUE(m().projectPath->text().empty());
}

TEST_F(OneCopyTest, AHandOverDuringTheSplashWaitsForTheMainWindow) {
  app.reset();
  platform = std::make_unique<HeadlessServices>(folder, *parseDateTime("2026-01-06 09:00:00"));
  app = std::make_unique<Vantrel>(platform->services());
  platform->write("Ploven", "Settings", "SLA", "1");
  app->start();
  secondStart(job);
  EXPECT_EQ(app->loadedForm("frmMain"), nullptr) << "the splash is not cut short";
  platform->advance(1600);
  EXPECT_EQ(m().projectPath->text(), job);
  EXPECT_EQ(m().categoryHours[2]->text(), "2.5");
}

TEST_F(OneCopyTest, AnEndedCopyLetsTheNextStartRunAndNoLongerTakesHandOvers) {
  userClick(*m().cmdexit);
  ASSERT_TRUE(app->ended());
  HeadlessServices next(folder);
  Vantrel copy(next.services());
  next.write("Ploven", "Settings", "SLA", "1");
  copy.start();
  EXPECT_FALSE(copy.ended());
  EXPECT_TRUE(copy.loadedForm("frmSplash") != nullptr);
}

TEST_F(OneCopyTest, AStartThatCannotReachTheRunningCopySaysSo) {
  // A copy in another process holds the folder: this start cannot reach it and says so.
  TempFolder other("vantrel-other");
  HolderElsewhere holder(other.path());
  ASSERT_TRUE(holder.took);
  HeadlessServices second(other.path());
  Vantrel copy(second.services());
  copy.start();
  EXPECT_TRUE(copy.ended());
  EXPECT_EQ(second.messagesShown,
            std::vector<std::string>{"Vantrel is already running, but it does not answer."});
}

}  // namespace
}  // namespace vantrel
