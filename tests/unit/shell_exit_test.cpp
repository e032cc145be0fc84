// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/help_pages.h"
#include "app/info_form.h"
#include "app/main_form.h"
#include "app/quit_form.h"
#include "app/vantrel.h"
#include "platform/headless/headless_services.h"
#include "platform/user_input.h"
#include "program_fixture.h"
#include "store/options_form.h"
#include "test_files.h"
#include "timers/countdown_form.h"

namespace vantrel {
namespace {

enum Condition { ClockRunning, CountdownRunning, SaveEnabled, SaveAsEnabled };

class ShellExitTest : public ProgramFixture<> {
 protected:
  ShellExitTest() : ProgramFixture("vantrel-exit", 0) { launch(); }

  void set(Condition c, bool on) {
    switch (c) {
      case ClockRunning:
        m().CmdStart->setBackColour(on ? colour::green : colour::buttonFace);
        break;
      case CountdownRunning:
        app->countdown().Timer1a->setEnabled(on);
        break;
      case SaveEnabled:
        m().cmdsav->setEnabled(on);
        break;
      case SaveAsEnabled:
        m().cmdSave->setEnabled(on);
        break;
    }
  }

  // Runs the command once; the message it showed, or "" when it showed none.
  std::string attempt(Control& command) {
    platform->messagesShown.clear();
    userClick(command);
    EXPECT_LE(platform->messagesShown.size(), 1u);
    return platform->messagesShown.empty() ? std::string() : platform->messagesShown[0];
  }

  // With every condition failing, each attempt must name the next check in order; once the
  // command's own checks are cleared it ends the program, whatever else still fails.
  void expectChecksInOrder(Control& command,
                           const std::vector<std::pair<Condition, std::string>>& checks) {
    for (Condition c : {ClockRunning, CountdownRunning, SaveEnabled, SaveAsEnabled}) set(c, true);
    for (const auto& [condition, message] : checks) {
      EXPECT_EQ(attempt(command), message) << command.name();
      EXPECT_FALSE(app->ended()) << command.name();
      EXPECT_TRUE(platform->trayRecord) << command.name();
      set(condition, false);
    }
    EXPECT_EQ(attempt(command), "") << command.name();
    EXPECT_TRUE(app->ended()) << command.name();
    EXPECT_TRUE(platform->ended) << command.name();
    EXPECT_FALSE(platform->trayRecord) << command.name();
    EXPECT_FALSE(m().visible()) << command.name();
  }
};

TEST_F(ShellExitTest, ExitButtonChecksClockCountdownThenSave) {
  expectChecksInOrder(*m().cmdexit, {{ClockRunning, "Please stop the clock"},
                                     {CountdownRunning, "The Countdown Timer is still active"},
                                     {SaveEnabled, "Please save the project"}});
}

TEST_F(ShellExitTest, ExitMenuChecksClockThenCountdownThenAsksAboutUnsavedWork) {
  const char* unsaved = "Your project has not been saved. Exit anyway?";
  for (Condition c : {ClockRunning, CountdownRunning, SaveEnabled, SaveAsEnabled}) set(c, true);
  EXPECT_EQ(attempt(*m().ext), "Please stop the clock");
  set(ClockRunning, false);
  EXPECT_EQ(attempt(*m().ext), "The Countdown Timer is still active");
  set(CountdownRunning, false);
  platform->answers.push_back(Answer::No);
  EXPECT_EQ(attempt(*m().ext), unsaved);
  EXPECT_FALSE(app->ended());
  platform->answers.push_back(Answer::Yes);
  EXPECT_EQ(attempt(*m().ext), unsaved);
  EXPECT_TRUE(app->ended());
  EXPECT_FALSE(platform->trayRecord);
  // The help quotes the question it describes.
  const auto& pages = helpPages();
  const auto index = std::find_if(pages.begin(), pages.end(),
                                  [](const HelpPage& p) { return p.name == "index.html"; });
  ASSERT_NE(index, pages.end());
  EXPECT_NE(index->text.find(unsaved), std::string_view::npos);
}

TEST_F(ShellExitTest, ExitMenuLeavesASavedJobWithoutAsking) {
  set(SaveEnabled, true);  // the clock's seconds enable Save; the job is still saved
  EXPECT_EQ(attempt(*m().ext), "");
  EXPECT_TRUE(app->ended());
}

TEST_F(ShellExitTest, CloseMenuChecksCountdownThenSaveAsAndNotTheClock) {
  expectChecksInOrder(*m().cls, {{CountdownRunning, "The Countdown Timer is still active"},
                                 {SaveAsEnabled, "Please save the project"}});
}

TEST_F(ShellExitTest, TrayExitChecksCountdownThenSaveAsAndNotTheClock) {
  expectChecksInOrder(*m().MnuExit, {{CountdownRunning, "The Countdown Timer is still active"},
                                     {SaveAsEnabled, "Please save your project"}});
}

TEST_F(ShellExitTest, TrayExitAskingForTheSaveShowsTheHiddenWindow) {
  set(SaveAsEnabled, true);
  m().hide();
  platform->onMouse(516);
  EXPECT_EQ(attempt(*m().MnuExit), "Please save your project");
  EXPECT_TRUE(m().visible());
}

TEST_F(ShellExitTest, TrayExitUnloadsEveryOpenWindow) {
  app->about().show();
  app->countdown().show();
  userClick(*m().MnuExit);
  EXPECT_TRUE(app->ended());
  for (Form* form : app->loadedForms()) EXPECT_FALSE(form->visible()) << form->name();
}

TEST_F(ShellExitTest, CountdownNeverOpenedIsNotRunningAndStaysUnopened) {
  EXPECT_EQ(attempt(*m().cls), "");
  EXPECT_EQ(app->loadedForm("frmCount"), nullptr);
  EXPECT_TRUE(app->ended());
}

TEST_F(ShellExitTest, CountdownWindowStartsWithItsTickOff) {
  CountdownForm& countdown = app->countdown();
  EXPECT_EQ(countdown.caption(), "Countdown Timer");
  EXPECT_FALSE(countdown.Timer1a->enabled());
  EXPECT_EQ(countdown.Timer1a->interval(), 1000);
}

TEST_F(ShellExitTest, QuitConfirmationYesEndsNoHidesItAndTheCountdown) {
  QuitForm& quit = app->quit();
  EXPECT_EQ(quit.caption(), "Exit Vantrel");
  EXPECT_EQ(quit.No->name(), "frmQEx");
  EXPECT_EQ(quit.No->text(), "No");
  app->countdown().show();
  quit.show();
  userClick(*quit.No);
  EXPECT_FALSE(quit.visible());
  EXPECT_FALSE(app->countdown().visible());
  EXPECT_FALSE(app->ended());

  quit.show();
  userClick(*quit.Command1);
  EXPECT_TRUE(app->ended());
  EXPECT_FALSE(platform->trayRecord);
}

// Every way out asks about unsaved price list changes, after the job's own checks.
class PriceListQuestionTest : public ProgramFixture<> {
 protected:
  PriceListQuestionTest() : ProgramFixture("vantrel-prices") {}

  struct Exit {
    const char* name;
    std::function<void()> run;
  };
  std::vector<Exit> exits() {
    auto click = [this](auto member) { return [this, member] { userClick(*(m().*member)); }; };
    return {{"Exit", click(&MainForm::cmdexit)},
            {"File > Exit", click(&MainForm::ext)},
            {"File > Close", click(&MainForm::cls)},
            {"the tray's Exit Program", click(&MainForm::MnuExit)},
            {"the quit window's Yes",
             [this] {
               app->quit().show();
               userClick(*app->quit().Command1);
             }},
            {"logging out", [this] { platform->onSessionEnd(); }}};
  }

  // A fresh start whose rate 2 was typed and not saved; the answer to the question queued.
  void startWithUnsavedRate(std::optional<Answer> answer) {
    std::filesystem::remove(prices);
    restart();
    platform->advance(100);
    setField(*app->options().priceListRate[2], "40");
    app->options().setUnsaved(true);
    platform->messagesShown.clear();
    if (answer) platform->answers.push_back(*answer);
  }

  const std::string prices = folder + "/prices.pql";
  const std::string question = "Save the changes to your price list (" + prices + ")?";
};

TEST_F(PriceListQuestionTest, YesSavesNoDropsCancelStaysOnEveryExit) {
  for (const Exit& exit : exits()) {
    startWithUnsavedRate(Answer::Cancel);
    exit.run();
    EXPECT_EQ(platform->messagesShown, std::vector<std::string>{question}) << exit.name;
    EXPECT_FALSE(app->ended()) << exit.name;
    EXPECT_FALSE(fileExists(prices)) << exit.name;

    startWithUnsavedRate(Answer::No);
    exit.run();
    EXPECT_TRUE(app->ended()) << exit.name;
    EXPECT_FALSE(fileExists(prices)) << exit.name;

    startWithUnsavedRate(Answer::Yes);
    exit.run();
    EXPECT_TRUE(app->ended()) << exit.name;
    EXPECT_EQ(readLines(prices).lines.at(1), "40") << exit.name;
  }
}

TEST_F(PriceListQuestionTest, TheJobComesFirstAndAFailedSaveKeepsTheProgramOpen) {
  startWithUnsavedRate(std::nullopt);
  setField(*m().categoryHours[2], "1");
  userClick(*m().cls);
  EXPECT_EQ(platform->messagesShown, std::vector<std::string>{"Please save the project"});

  startWithUnsavedRate(Answer::Yes);
  setField(*app->options().priceListPath, folder + "/gone/prices.pql");
  userClick(*m().cmdexit);
  EXPECT_EQ(platform->messagesShown.back(),
            "Could not save " + folder + "/gone/prices.pql: the folder does not exist");
  EXPECT_FALSE(app->ended());
  EXPECT_TRUE(app->options().unsaved());
}

}  // namespace
}  // namespace vantrel
