// SPDX-License-Identifier: GPL-3.0-or-later
// Every system call of the file writer fails in turn under every kind of save the program
// makes, and real disks fail too: the old file stays byte for byte, the user is told why in
// the same words everywhere, and nothing claims a save.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>

#include "app/main_form.h"
#include "clock/settings_form.h"
#include "contacts/customer_form.h"
#include "platform/user_input.h"
#include "platform/writer_calls.h"
#include "program_fixture.h"
#include "store/options_form.h"
#include "test_files.h"

namespace vantrel {
namespace {

int failCreate(char*) {
  errno = ENOSPC;
  return -1;
}
// Takes the first few bytes, then the disk is full.
ssize_t failWrite(int fd, const void* data, std::size_t size) {
  static int calls = 0;
  if (calls++ % 2 == 0) return ::write(fd, data, std::min<std::size_t>(size, 7));
  errno = ENOSPC;
  return -1;
}
int failSync(int) {
  errno = EIO;
  return -1;
}
int failClose(int fd) {
  ::close(fd);
  errno = EIO;
  return -1;
}
int failRename(const char*, const char*) {
  errno = EACCES;
  return -1;
}

struct Fault {
  const char* call;
  std::function<void(WriterCalls&)> install;
  const char* reason;
};

const std::vector<Fault>& faults() {
  static const std::vector<Fault> all = {
      {"create", [](WriterCalls& c) { c.create = failCreate; }, "the disk is full"},
      {"write", [](WriterCalls& c) { c.write = failWrite; }, "the disk is full"},
      {"fsync", [](WriterCalls& c) { c.sync = failSync; }, "the disk reported an error"},
      {"close", [](WriterCalls& c) { c.close = failClose; }, "the disk reported an error"},
      {"rename", [](WriterCalls& c) { c.rename = failRename; },
       "you do not have permission to write there"},
      {"folder fsync", [](WriterCalls& c) { c.syncFolder = failSync; },
       "the disk reported an error"},
  };
  return all;
}

class WriteFaultsTest : public ProgramFixture<> {
 protected:
  WriteFaultsTest() : ProgramFixture("vantrel-faults") {}
  ~WriteFaultsTest() override { writerCalls() = systemWriterCalls(); }

  // What the user can read anywhere: every loaded window's texts and captions, and every
  // message shown.
  bool anythingSaysSaved() const {
    auto says = [](std::string text) {
      std::transform(text.begin(), text.end(), text.begin(),
                     [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
      return text.find("saved") != std::string::npos;
    };
    for (const Form* form : app->loadedForms()) {
      if (says(form->caption())) return true;
      for (const Control* c : form->controls()) {
        if (says(c->text())) return true;
      }
    }
    return std::any_of(platform->messagesShown.begin(), platform->messagesShown.end(), says);
  }

  std::vector<std::string> temporaries() const {
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      const std::string name = entry.path().filename().string();
      if (name.find(".tmp-") != std::string::npos) found.push_back(name);
    }
    return found;
  }

  // Clears every trace of the last save, so the next one shows what it alone says.
  void forgetSaves() {
    platform->messagesShown.clear();
    setField(*m().statusMessage, "");
    setField(*app->customer().customerStatus, "");
  }

  // The program's saves, each onto an existing file: what it writes, how it is started and
  // where the user reads its failure.
  struct Save {
    const char* name;
    std::string path;
    std::function<void()> run;
    std::function<std::string()> told;
  };
  std::vector<Save> saves() {
    auto lastMessage = [this] {
      return platform->messagesShown.empty() ? std::string() : platform->messagesShown.back();
    };
    CustomerForm& c = app->customer();
    return {
        {"project", folder + "/job.pcl", [this] { userClick(*m().cmdsav); }, lastMessage},
        {"autosave", folder + "/AutoSave.pcl", [this] { platform->advance(60000); }, lastMessage},
        {"price list", folder + "/prices.pql", [this] { userClick(*app->options().Command3); },
         lastMessage},
        {"customer", folder + "/card.pcp",
         [this, &c] {
           platform->dialogResults.push_back(folder + "/card.pcp");
           userClick(*c.cmdSave);
         },
         [&c] { return c.customerStatus->text(); }},
    };
  }

  // A job on file in every kind of file, with the clock running and autosaving.
  void jobOnFile() {
    launch();
    platform->dialogResults.push_back(folder + "/job.pcl");
    userClick(*m().cmdSave);
    app->options().autoSaveEnabled->setValue(1);
    setField(*app->settings().autosaveTarget, folder + "/AutoSave.pcl");
    setField(*app->customer().customerName, "Zoë Łukasiewicz");
    for (const Save& save : saves()) save.run();
    userClick(*m().CmdStart);
    platform->advance(61000);
  }
};

TEST_F(WriteFaultsTest, EachFailingCallKeepsTheOldFileTellsWhyAndClaimsNothing) {
  jobOnFile();
  int round = 0;
  for (const Fault& fault : faults()) {
    for (const Save& save : saves()) {
      SCOPED_TRACE(std::string(fault.call) + " failing under the " + save.name + " save");
      const std::string before = slurp(save.path);
      ASSERT_FALSE(before.empty());
      // Something new to write in every file.
      ++round;
      setField(*m().categoryHours[1], std::to_string(round));
      setField(*app->options().priceListRate[1], std::to_string(round));
      setField(*app->customer().customerCity, "Lyon " + std::to_string(round));
      forgetSaves();
      fault.install(writerCalls());
      save.run();
      writerCalls() = systemWriterCalls();

      EXPECT_EQ(slurp(save.path), before);
      EXPECT_EQ(save.told(), "Could not save " + save.path + ": " + fault.reason);
      EXPECT_FALSE(anythingSaysSaved());
      EXPECT_EQ(temporaries(), std::vector<std::string>{});

      // The same save once the disk behaves again.
      forgetSaves();
      save.run();
      EXPECT_NE(slurp(save.path), before);
      EXPECT_EQ(temporaries(), std::vector<std::string>{});
    }
  }
  EXPECT_TRUE(m().Timer1->enabled());
}

TEST_F(WriteFaultsTest, ANewFileWhoseFolderCannotBeSyncedIsNotLeftBehind) {
  const std::string path = folder + "/new.pcl";
  writerCalls().syncFolder = failSync;
  const WriteResult result = writeLines(path, {"1"});
  EXPECT_FALSE(result);
  EXPECT_EQ(result.error, "the disk reported an error");
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_EQ(temporaries(), std::vector<std::string>{});
}

// A small file system of its own, filled to the last block. Made in a child process with a
// mount namespace of its own, so nothing outside the test sees it.
TEST_F(WriteFaultsTest, AFullDiskKeepsTheOldProjectAndSaysTheDiskIsFull) {
  launch();
  const std::string disk = folder + "/disk";
  std::filesystem::create_directories(disk);
  const std::string path = disk + "/job.pcl";
  int report[2];
  ASSERT_EQ(::pipe(report), 0);
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(report[0]);
    auto say = [&](const std::string& text, int code) {
      (void)!::write(report[1], text.data(), text.size());
      ::_exit(code);
    };
    const int flags = ::geteuid() == 0 ? CLONE_NEWNS : CLONE_NEWUSER | CLONE_NEWNS;
    if (::unshare(flags) != 0 ||
        ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        ::mount("vantrel-test", disk.c_str(), "tmpfs", 0, "size=64k") != 0) {
      say(std::string("cannot mount a small file system here: ") + std::strerror(errno), 77);
    }
    platform->dialogResults.push_back(path);
    userClick(*m().cmdSave);
    const std::string before = slurp(path);
    if (before.empty()) say("the first save wrote nothing", 1);
    // Fill the disk to the last byte.
    const int filler = ::open((disk + "/filler").c_str(), O_WRONLY | O_CREAT, 0600);
    const std::string block(4096, 'x');
    while (::write(filler, block.data(), block.size()) > 0) {
    }
    while (::write(filler, "x", 1) > 0) {
    }
    ::close(filler);

    setField(*m().categoryHours[1], "12");
    forgetSaves();
    userClick(*m().cmdsav);
    const std::vector<std::string> expected = {"Could not save " + path + ": the disk is full"};
    if (platform->messagesShown != expected) {
      say("told: " + (platform->messagesShown.empty() ? "nothing" : platform->messagesShown[0]), 2);
    }
    if (slurp(path) != before) say("the old project changed", 3);
    if (anythingSaysSaved()) say("something says saved", 4);
    for (const auto& entry : std::filesystem::directory_iterator(disk)) {
      if (entry.path().filename().string().find(".tmp-") != std::string::npos) {
        say("a temporary file was left: " + entry.path().string(), 5);
      }
    }
    // Room again: the save goes through.
    ::unlink((disk + "/filler").c_str());
    userClick(*m().cmdsav);
    if (m().statusMessage->text() != "Your Project was saved") say("no save after freeing", 6);
    ::_exit(0);
  }
  ::close(report[1]);
  std::string said;
  char buffer[256];
  for (ssize_t n; (n = ::read(report[0], buffer, sizeof buffer)) > 0;) said.append(buffer, n);
  ::close(report[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status)) << said;
  if (WEXITSTATUS(status) == 77) GTEST_SKIP() << said;
  EXPECT_EQ(WEXITSTATUS(status), 0) << said;
}

}  // namespace
}  // namespace vantrel
