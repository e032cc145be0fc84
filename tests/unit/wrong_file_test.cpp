// SPDX-License-Identifier: GPL-3.0-or-later
// Files that are no data files of the program are refused by every Open before anything
// changes: the job, the options, the card, their paths and the file itself stay as they were.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "app/main_form.h"
#include "contacts/customer_form.h"
#include "platform/user_input.h"
#include "program_fixture.h"
#include "store/options_form.h"
#include "store/price_list.h"
#include "store/project_file.h"
#include "test_files.h"

namespace vantrel {
namespace {

struct WrongFile {
  const char* name;
  const char* reason;
};

// Everything a user could read or lose: the three files' worth of fields and the paths.
struct Snapshot {
  std::vector<std::string> job, prices, card;
  std::string projectPath, priceListPath, cardPath;
  bool operator==(const Snapshot&) const = default;
};

class WrongFileTest : public ProgramFixture<> {
 protected:
  WrongFileTest() : ProgramFixture("vantrel-wrong") {
    launch();
    platform->advance(100);
    // A job in progress with a file of its own, an options window and a card in use.
    setField(*m().projectPath, folder + "/mine.pcl");
    setField(*m().categoryHours[2], "3");
    setField(*app->options().priceListRate[2], "40");
    setField(*app->customer().customerName, "Pat");

    make("binary.pcl", std::string("\x01\x02job\0\xFF", 7), "it is not a Vantrel file");
    make("escape.pcl", crlf({"1", "\x1B[2J", "3"}), "it is not a Vantrel file");
    make("huge.pcl", std::string(kLargestDataFile + 1, '7'),
         "it is too large to be a Vantrel file");
    make("empty.pcl", "", "it is empty");
    std::filesystem::create_directory(folder + "/folder.pcl");
    kinds.push_back({"folder.pcl", "it is a folder"});
    ::mkfifo((folder + "/pipe.pcl").c_str(), 0600);
    kinds.push_back({"pipe.pcl", "it is not a file"});
  }

  void make(const char* name, const std::string& bytes, const char* reason) {
    writeFile(folder + "/" + name, bytes);
    kinds.push_back({name, reason});
  }

  Snapshot snapshot() {
    return {projectLines(*app),
            priceListLines(*app),
            customerLines(app->customer()),
            m().projectPath->text(),
            app->options().priceListPath->text(),
            app->customer().customerFilePath->text()};
  }

  // Each opener meets each kind of wrong file: one message, and nothing else changes.
  void expectRefused(const std::string& opener, const std::function<void(const std::string&)>& open,
                     const std::vector<WrongFile>& which) {
    for (const WrongFile& kind : which) {
      const std::string path = folder + "/" + kind.name;
      const std::string bytes = std::filesystem::is_regular_file(path) ? slurp(path) : "";
      const Snapshot before = snapshot();
      platform->messagesShown.clear();
      open(path);
      EXPECT_EQ(platform->messagesShown,
                std::vector<std::string>{"Could not open " + path + ": " + kind.reason})
          << opener << " " << kind.name;
      EXPECT_TRUE(snapshot() == before) << opener << " " << kind.name;
      if (std::filesystem::is_regular_file(path)) {
        EXPECT_EQ(slurp(path), bytes) << kind.name;
      }
    }
  }

  std::vector<WrongFile> kinds;
};

TEST_F(WrongFileTest, EveryOpenRefusesEveryKindOfWrongFile) {
  auto dialog = [this](Control& command) {
    return [this, &command](const std::string& path) {
      platform->dialogResults.emplace_back(path);
      userClick(command);
    };
  };
  m().cmdopen->setEnabled(true);
  m().open1->setEnabled(true);
  expectRefused("the Open button", dialog(*m().cmdopen), kinds);
  expectRefused("the Open menu", dialog(*m().open1), kinds);
  app->options().show();
  expectRefused("Options Open", dialog(*app->options().Command2), kinds);
  app->customer().show();
  expectRefused("the card's Open", dialog(*app->customer().cmdAddNew), kinds);
  // A cancel opens what the dialog still holds, and that is checked as well.
  app->options().show();
  expectRefused("Options Open cancelled",
                [this](const std::string&) {
                  platform->dialogResults.emplace_back(std::nullopt);
                  userClick(*app->options().Command2);
                },
                {{"pipe.pcl", "it is not a file"}});
}

TEST_F(WrongFileTest, AHandedOverFileIsRefusedToo) {
  setField(*m().projectPath, "");
  userClick(*m().cmdnew);  // a saved job: the hand-over may open a file
  expectRefused(
      "the hand-over", [this](const std::string& path) { app->handOver(path); }, kinds);
}

TEST_F(WrongFileTest, ACommandLineFileIsRefusedAndTheStartGoesOn) {
  const std::string path = folder + "/binary.pcl";
  restart("\"" + path + "\"");
  platform->advance(100);
  EXPECT_EQ(platform->messagesShown,
            std::vector<std::string>{"Could not open " + path + ": it is not a Vantrel file"});
  EXPECT_TRUE(m().projectPath->text().empty());
  EXPECT_TRUE(m().visible());
}

TEST_F(WrongFileTest, AFileTheUserMayNotReadIsRefused) {
  const std::string path = folder + "/private.pcl";
  writeFile(path, crlf({"7.5"}));
  ::chmod(path.c_str(), 0);
  ::chmod(folder.c_str(), 0755);
  EXPECT_EQ(asUnprivilegedUser([&] {
              return whyNotDataFile(path) == "you do not have permission to read it" ? 0 : 1;
            }),
            0);
}

TEST_F(WrongFileTest, AMissingShortOrOddFileStillOpensAsBefore) {
  // Not there: no refusal, the sheet is reset as it always was.
  const std::string missing = folder + "/gone.pcl";
  platform->dialogResults.emplace_back(missing);
  userClick(*m().open1);
  EXPECT_TRUE(platform->messagesShown.empty());
  const std::string shortFile = folder + "/short.pcl";
  writeFile(shortFile, crlf({"0", "2.5"}) + "  odd\ttabbed line\r");
  platform->dialogResults.emplace_back(shortFile);
  userClick(*m().cmdopen);
  EXPECT_TRUE(platform->messagesShown.empty());
  EXPECT_EQ(m().projectPath->text(), shortFile);
}

TEST_F(WrongFileTest, ANameThatIsNotUtf8OpensAndSavesUnderItsOwnBytes) {
  const std::string path = folder + "/caf\xE9 \xFF.pcl";
  {
    std::vector<std::string> lines = projectLines(*app);
    lines[1] = "2";
    ASSERT_TRUE(writeLines(path, lines));
  }
  restart("\"" + path + "\"");
  platform->advance(100);
  EXPECT_EQ(m().projectPath->text(), path);
  setField(*m().categoryHours[2], "5");
  userClick(*m().cmdsav);
  EXPECT_TRUE(platform->messagesShown.empty());
  std::size_t files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    files += entry.path().extension() == ".pcl" && entry.is_regular_file();
  }
  EXPECT_EQ(readLines(path).lines.at(1), "5");
  EXPECT_EQ(files, 5u) << "the four wrong ones and this one: no second file";
}

}  // namespace
}  // namespace vantrel
