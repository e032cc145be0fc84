// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "app/agreement_form.h"
#include "app/command_line.h"
#include "app/help_pages.h"
#include "app/info_form.h"
#include "app/main_form.h"
#include "app/main_shell.h"
#include "app/splash_form.h"
#include "app/vantrel.h"
#include "clock/settings_form.h"
#include "platform/headless/headless_services.h"
#include "platform/translation.h"
#include "platform/user_input.h"
#include "program_fixture.h"
#include "test_files.h"

namespace vantrel {
namespace {

// Keeps every tip the tray was handed, present or not, to see the load's order.
class TrayLog : public HeadlessServices {
 public:
  using HeadlessServices::HeadlessServices;
  std::vector<std::string> calls;
  void add(const TrayRecord& record) override {
    calls.push_back("add " + record.tipText());
    HeadlessServices::add(record);
  }
  void remove(const TrayRecord& record) override {
    calls.push_back("remove");
    HeadlessServices::remove(record);
  }
};

class ShellStartTest : public ProgramFixture<TrayLog> {
 protected:
  ShellStartTest() : ProgramFixture("vantrel-shell") {}

  void agreement(const char* value) { platform->write("Ploven", "Settings", "SLA", value); }
  Form* loaded(const char* name) { return app->loadedForm(name); }
  bool mainShown() { return loaded("frmMain") != nullptr && loaded("frmMain")->visible(); }
  void ms(int n) { platform->advance(n); }
};

TEST_F(ShellStartTest, AgreementFlagReadsAsAcceptedOnlyWhenANonZeroNumber) {
  EXPECT_FALSE(agreementAccepted(*platform));
  for (const char* no : {"0", "", "yes", "0.0", " 0 "}) {
    agreement(no);
    EXPECT_FALSE(agreementAccepted(*platform)) << '"' << no << '"';
  }
  for (const char* yes : {"1", "2", " 1"}) {
    agreement(yes);
    EXPECT_TRUE(agreementAccepted(*platform)) << '"' << yes << '"';
  }
}

TEST_F(ShellStartTest, MissingFlagShowsTheAgreementInsteadOfTheSplash) {
  app->start();
  EXPECT_FALSE(app->splash().visible());
  EXPECT_FALSE(app->splash().Timer5->enabled());
  EXPECT_TRUE(app->agreement().visible());
  ms(60000);
  EXPECT_EQ(loaded("frmMain"), nullptr);

  userClick(*app->agreement().cmdAccept);
  EXPECT_EQ(platform->read("Ploven", "Settings", "SLA"), "1");
  EXPECT_TRUE(app->splash().visible());
  ms(1499);
  EXPECT_FALSE(mainShown());
  ms(1);
  EXPECT_TRUE(mainShown());
}

TEST_F(ShellStartTest, ClosingTheAgreementWindowEndsTheProgramLikeDecline) {
  app->start();
  EXPECT_TRUE(app->agreement().requestClose() == false);
  EXPECT_TRUE(platform->ended);
  EXPECT_EQ(platform->read("Ploven", "Settings", "SLA"), std::nullopt);
}

TEST_F(ShellStartTest, SplashShowsTheBuildVersionAndGoesEarlyOnAKeyClickOrCloseBox) {
  platform->versionNumbers = {1, 0, 51};
  agreement("1");
  app->start();
  SplashForm& splash = app->splash();
  EXPECT_EQ(splash.lblVersion->text(), "Version 1.0.51");
  ms(300);
  splash.onKeyPress();
  EXPECT_FALSE(splash.visible());
  EXPECT_TRUE(mainShown());
  // The timer that would have ended the moment must not show the window a second time.
  app->main().hide();
  ms(5000);
  EXPECT_FALSE(app->main().visible());
}

TEST_F(ShellStartTest, SplashClickAndCloseBoxDoWhatAKeyDoes) {
  agreement("1");
  app->start();
  app->splash().onClick();
  EXPECT_TRUE(mainShown());

  app.reset();
  app = std::make_unique<Vantrel>(platform->services());
  app->start();
  EXPECT_FALSE(app->splash().requestClose());
  EXPECT_FALSE(app->splash().visible());
  EXPECT_TRUE(app->main().visible());
}

TEST_F(ShellStartTest, LoadRegistersTheIconTwiceAroundTheStoppedTip) {
  agreement("1");
  app->start();
  ms(1500);
  EXPECT_EQ(platform->calls,
            (std::vector<std::string>{"add Vantrel", "remove", "add Vantrel - Stopped"}));
  ASSERT_TRUE(platform->trayRecord);
  EXPECT_EQ(platform->trayRecord->iconName, "stopped");
  EXPECT_EQ(app->main().icon(), "stopped");
  EXPECT_EQ(app->main().backColour(), 13420735u);
}

TEST_F(ShellStartTest, LoadDisablesResetUnderStartAfterMinimum) {
  agreement("1");
  app->start();
  app->settings().startRule[2]->setValue(1);
  ms(1500);
  EXPECT_FALSE(app->main().CmdReset->enabled());
}

TEST_F(ShellStartTest, LoadTakesTheCategoryNamesFromTheLabels) {
  agreement("1");
  app->start();
  setField(*app->form("frmLabels")->find("Text3"), "Travel");
  ms(1500);
  EXPECT_EQ(app->main().categorySelected[3]->text(), "Travel");
  EXPECT_EQ(app->main().categorySelected[1]->text(), "Hours");
}

TEST_F(ShellStartTest, CommandLinePathLosesEveryQuote) {
  EXPECT_EQ(MainShell::commandLinePath("\"/a b/c.pcl\""), "/a b/c.pcl");
  EXPECT_EQ(MainShell::commandLinePath("/a/\"x\"/c.pcl"), "/a/x/c.pcl");
  EXPECT_EQ(MainShell::commandLinePath("\"\""), "");
  EXPECT_EQ(MainShell::commandLinePath("/plain.pcl"), "/plain.pcl");
}

// --help and --version are options only alone; everything else stays a path to open.
TEST(CommandLineReplyTest, OnlyALoneHelpOrVersionIsAnOption) {
  using Args = std::vector<const char*>;
  auto reply = [](Args args) {
    args.insert(args.begin(), "vantrel");
    return commandLineReply(static_cast<int>(args.size()), args.data());
  };
  EXPECT_TRUE(reply({"--help"}) && reply({"--version"}));  // what they print: cli/command_line.sh
  for (const Args& args :
       {Args{}, Args{"./--help"}, Args{"\"--help\""}, Args{"--help", "x"}, Args{"my", "--version"},
        Args{"--version", "--help"}, Args{"-h"}, Args{"--Help"}, Args{"--help "}, Args{""}}) {
    EXPECT_FALSE(reply(args)) << (args.empty() ? "(none)" : args[0]);
  }
}

TEST_F(ShellStartTest, CommandLineOfOnlyQuotesLeavesTheProjectPathEmpty) {
  agreement("1");
  platform->commandLineText = "\"\"";
  app->start();
  ms(1600);
  EXPECT_EQ(app->main().projectPath->text(), "");
  EXPECT_FALSE(app->main().Timer6->enabled());
  EXPECT_TRUE(platform->messagesShown.empty());
}

// The help pages.

// The desktop's language for one test: LANGUAGE and the messages locale as a desktop sets
// them, put back afterwards.
class DesktopLanguage {
 public:
  DesktopLanguage(const char* language, const char* locale) {
    set("LANGUAGE", language);
    set("LC_ALL", locale);
    resetTranslations();
  }
  ~DesktopLanguage() {
    for (const auto& [name, value] : saved_) {
      if (value) {
        ::setenv(name, value->c_str(), 1);
      } else {
        ::unsetenv(name);
      }
    }
    resetTranslations();
  }
  DesktopLanguage(const DesktopLanguage&) = delete;
  DesktopLanguage& operator=(const DesktopLanguage&) = delete;

 private:
  void set(const char* name, const char* value) {
    const char* old = std::getenv(name);
    saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
    ::setenv(name, value, 1);
  }
  std::vector<std::pair<const char*, std::optional<std::string>>> saved_;
};

TEST_F(ShellStartTest, TheMainWindowInstallsTheHelpPagesAndKeepsThoseAlreadyThere) {
  std::filesystem::create_directories(folder + "/help");
  { std::ofstream(folder + "/help/index.html") << "my own notes"; }
  agreement("1");
  app->start();
  ms(1600);
  EXPECT_EQ(slurp(folder + "/help/index.html"), "my own notes");
  for (const HelpPage& page : helpPages()) {
    std::string path = folder + "/help/" + std::string(page.name);
    ASSERT_TRUE(std::filesystem::exists(path)) << page.name;
    if (page.name != "index.html") {
      EXPECT_EQ(slurp(path).size(),
                page.text.size() + std::count(page.text.begin(), page.text.end(), '\n'))
          << page.name << ": written with CR LF line ends";
    }
  }
}

TEST_F(ShellStartTest, AnInstalledPageTakesThePlaceOfTheBuiltInOne) {
  const std::string shared = folder + "/usr/share/vantrel";
  std::filesystem::create_directories(shared + "/help");
  { std::ofstream(shared + "/help/index.html") << "<p>mended</p>\n"; }
  { std::ofstream(shared + "/help/style.css"); }  // an empty page is no page
  ASSERT_TRUE(installHelpPages(folder, shared));
  EXPECT_EQ(slurp(folder + "/help/index.html"), "<p>mended</p>\r\n");
  for (const HelpPage& page : helpPages()) {
    if (page.name == "index.html") continue;
    EXPECT_EQ(slurp(folder + "/help/" + std::string(page.name)).size(),
              page.text.size() + std::count(page.text.begin(), page.text.end(), '\n'))
        << page.name << ": the built-in page";
  }
}

TEST(HelpPages, EveryLocalLinkNamesAShippedPageAndTheTextIsPlainAsciiUnlessUtf8) {
  std::set<std::string> names;
  for (const HelpPage& page : helpPages()) names.emplace(page.name);
  for (const char* needed : {"index.html", "updates.html", "style.css"}) {
    EXPECT_TRUE(names.count(needed)) << needed;
  }
  const std::regex link(R"re((?:href|src)="([^"#:]+))re");
  for (const HelpPage& page : helpPages()) {
    std::string text(page.text);
    if (text.find(R"(<meta charset="utf-8">)") == std::string::npos) {
      for (unsigned char c : text) {
        ASSERT_LT(c, 0x80) << page.name;
      }
    }
    const std::filesystem::path folder = std::filesystem::path(page.name).parent_path();
    for (std::sregex_iterator it(text.begin(), text.end(), link), end; it != end; ++it) {
      const std::string target = (folder / (*it)[1].str()).lexically_normal().generic_string();
      EXPECT_TRUE(names.count(target)) << page.name << " links to " << (*it)[1];
    }
  }
}

TEST(HelpPages, EachTranslationHasEveryEnglishPage) {
  std::map<std::string, std::set<std::string>> pages;  // by folder: "" English, "de", "fr"
  for (const HelpPage& page : helpPages()) {
    if (page.name.ends_with(".css")) continue;  // one stylesheet for all
    const std::size_t slash = page.name.rfind('/');
    const std::string folder(slash == std::string_view::npos ? "" : page.name.substr(0, slash));
    pages[folder].emplace(page.name.substr(slash + 1));
  }
  EXPECT_EQ(pages.size(), 3u);
  for (Language language : {Language::German, Language::French}) {
    EXPECT_EQ(pages[languageCode(language)], pages[""]) << languageCode(language);
  }
}

TEST(HelpPages, AddressIsAnAbsoluteFileAddressWithUnsafeCharactersEncoded) {
  EXPECT_EQ(helpAddress("/home/pat/My Files#1", "index.html"),
            "file:///home/pat/My%20Files%231/help/index.html");
  std::string relative = helpAddress("here", "updates.html");
  EXPECT_EQ(relative.rfind("file:///", 0), 0u) << relative;
}

TEST_F(ShellStartTest, InformationLinksOpenTheirPageAndPutAMissingPageBack) {
  const DesktopLanguage english("en", "C.UTF-8");
  agreement("1");
  app->start();
  std::filesystem::remove_all(folder + "/help");
  userClick(*app->update().lblLink);
  ASSERT_EQ(platform->opened.size(), 1u);
  EXPECT_EQ(platform->opened.back(), helpAddress(folder, "updates.html"));
  EXPECT_TRUE(std::filesystem::exists(folder + "/help/updates.html"));
  userClick(*app->about().lblLink);
  EXPECT_EQ(platform->opened.back(), helpAddress(folder, "index.html"));
  EXPECT_EQ(app->about().lblVersion->text(), versionText(platform->version()));
}

TEST_F(ShellStartTest, AGermanDesktopGetsTheGermanPage) {
  const DesktopLanguage german("de", "de_DE.UTF-8");
  openHelpPage(platform->services(), "updates.html");
  ASSERT_EQ(platform->opened.size(), 1u);
  EXPECT_EQ(platform->opened.back(), helpAddress(folder, "de/updates.html"));
}

}  // namespace
}  // namespace vantrel
