// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/text_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace vantrel {
namespace {

namespace fs = std::filesystem;

class TextFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::path(::testing::TempDir()) /
          ("vantrel-files-" + std::to_string(::getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override {
    fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(dir);
  }
  std::string bytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  void writeBytes(const fs::path& p, const std::string& data) {
    std::ofstream(p, std::ios::binary) << data;
  }
  fs::path dir;
};

TEST_F(TextFileTest, WritesCrLfLinesAndKeepsTheLineCount) {
  fs::path file = dir / "job.pcl";
  ASSERT_TRUE(writeLines(file, {"1.5000", "two\r\nlines", "", "end\n"}));
  EXPECT_EQ(bytes(file), "1.5000\r\ntwo  lines\r\n\r\nend \r\n");
  auto read = readLines(file);
  ASSERT_TRUE(read.opened);
  EXPECT_EQ(read.lines, (std::vector<std::string>{"1.5000", "two  lines", "", "end "}));
}

TEST_F(TextFileTest, EncodesWindows1252WhenItCanAndUtf8WhenItMust) {
  fs::path latin = dir / "latin.pcp";
  ASSERT_TRUE(writeLines(latin, {"Zoë", "€ 5"}));
  EXPECT_EQ(bytes(latin), "Zo\xEB\r\n\x80 5\r\n");
  EXPECT_EQ(readLines(latin).lines, (std::vector<std::string>{"Zoë", "€ 5"}));

  fs::path polish = dir / "polish.pcp";
  ASSERT_TRUE(writeLines(polish, {"Zoë", "Łódź"}));
  EXPECT_EQ(bytes(polish), "Zo\xC3\xAB\r\n\xC5\x81\xC3\xB3\x64\xC5\xBA\r\n");
  EXPECT_EQ(readLines(polish).lines, (std::vector<std::string>{"Zoë", "Łódź"}));

  // In Windows-1252 "Ã©" is C3 A9, which reads as UTF-8 "é": such text goes out as UTF-8.
  fs::path lookalike = dir / "lookalike.pcp";
  ASSERT_TRUE(writeLines(lookalike, {"Ã©", "Â£5"}));
  EXPECT_EQ(readLines(lookalike).lines, (std::vector<std::string>{"Ã©", "Â£5"}));
}

TEST_F(TextFileTest, HighBytesReadAsWindows1252) {
  fs::path file = dir / "old.pql";
  writeBytes(file, "caf\xE9\r\n\x93quoted\x94\r\n\x81\r\n");
  EXPECT_EQ(readLines(file).lines,
            (std::vector<std::string>{"café", "\u201Cquoted\u201D", "\u0081"}));
  for (int b = 0x80; b <= 0xFF; ++b) {
    std::string one(1, static_cast<char>(b));
    EXPECT_EQ(toWindows1252(fromWindows1252(one)), one) << b;
  }
}

TEST_F(TextFileTest, ReadsLfOnlyAndShortFilesAsFarAsTheyGo) {
  fs::path file = dir / "short.pcl";
  writeBytes(file, "1\n2\r\n3");
  EXPECT_EQ(readLines(file).lines, (std::vector<std::string>{"1", "2", "3"}));
  writeBytes(file, "");
  auto empty = readLines(file);
  EXPECT_TRUE(empty.opened);
  EXPECT_TRUE(empty.lines.empty());
  auto missing = readLines(dir / "nothing.pcl");
  EXPECT_FALSE(missing.opened);
  EXPECT_FALSE(missing.error.empty());

  // What is not a file is refused at once: a pipe nobody writes to, an endless device.
  ASSERT_EQ(::mkfifo((dir / "pipe.pcl").c_str(), 0600), 0);
  EXPECT_FALSE(readLines(dir / "pipe.pcl").opened);
  EXPECT_EQ(readLines("/dev/zero").error, "cannot open /dev/zero: it is not a file");
  EXPECT_FALSE(readLines(dir).opened);
}

// A write the folder refuses: as root (CI) the attempt runs in a child that has given up root,
// since root writes through permissions.
int refusedWrite(const fs::path& dir, const fs::path& file) {
  if (::geteuid() != 0) {
    fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
    auto result = writeLines(file, {"new"});
    fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add);
    return result.ok ? 1 : (result.error.empty() ? 2 : 0);
  }
  pid_t child = ::fork();
  if (child == 0) {
    if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(3);
    auto result = writeLines(file, {"new"});
    ::_exit(result.ok ? 1 : (result.error.empty() ? 2 : 0));
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 4;
}

TEST_F(TextFileTest, AFailedWriteLeavesTheOldFileAndNoTemporary) {
  fs::path file = dir / "job.pcl";
  ASSERT_TRUE(writeLines(file, {"old", "lines"}));
  std::string before = bytes(file);
  fs::permissions(dir, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                           fs::perms::others_read | fs::perms::others_exec);
  EXPECT_EQ(refusedWrite(dir, file), 0) << "1: it claimed success, 2: no reason given";
  EXPECT_EQ(bytes(file), before);

  // A rename that fails after the data was written takes its temporary with it.
  fs::create_directories(dir / "taken" / "inside");
  auto result = writeLines(dir / "taken", {"x"});
  EXPECT_FALSE(result);
  int entries = 0;
  for ([[maybe_unused]] auto& e : fs::directory_iterator(dir)) ++entries;
  EXPECT_EQ(entries, 2);
  EXPECT_FALSE(writeLines(dir / "gone" / "job.pcl", {"x"}));
}

TEST_F(TextFileTest, ReplacesAnExistingFileWhole) {
  fs::path file = dir / "prices.pql";
  ASSERT_TRUE(writeLines(file, {"a", "b", "c"}));
  ASSERT_TRUE(writeLines(file, {"z"}));
  EXPECT_EQ(bytes(file), "z\r\n");
  EXPECT_TRUE(fileExists(file));
  EXPECT_FALSE(fileExists(dir));
}

TEST_F(TextFileTest, AReplacedFileKeepsItsPermissions) {
  fs::path file = dir / "client.pcp";
  writeBytes(file, "old\r\n");
  fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
  ASSERT_TRUE(writeLines(file, {"new"}));
  EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(TextFileTest, LeftoverTemporariesAreRemovedAndNothingElse) {
  const std::vector<std::string> leftovers = {"job.pcl.tmp-a1B2c3", "prices.pql.tmp-XXXXXX"};
  const std::vector<std::string> kept = {"job.pcl",     "job.pcl.tmp-a1B2c",  "job.pcl.tmp-a1B2c3d",
                                         ".tmp-a1B2c3", "job.pcl.tmp-a1B2_3", "notes.tmp"};
  for (const auto& name : leftovers) writeBytes(dir / name, "half");
  for (const auto& name : kept) writeBytes(dir / name, "mine");
  fs::create_directories(dir / "old.pcl.tmp-a1B2c3");

  removeLeftoverTemps((dir / "job.pcl").string());
  EXPECT_FALSE(fs::exists(dir / "job.pcl.tmp-a1B2c3"));
  EXPECT_TRUE(fs::exists(dir / "prices.pql.tmp-XXXXXX"));

  removeLeftoverTempsIn(dir.string());
  EXPECT_FALSE(fs::exists(dir / "prices.pql.tmp-XXXXXX"));
  for (const auto& name : kept) EXPECT_TRUE(fs::exists(dir / name)) << name;
  EXPECT_TRUE(fs::is_directory(dir / "old.pcl.tmp-a1B2c3"));
}

}  // namespace
}  // namespace vantrel
