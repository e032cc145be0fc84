// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>

#include "app/main_form.h"
#include "app/main_shell.h"
#include "app/vantrel.h"
#include "platform/headless/headless_services.h"
#include "platform/user_input.h"
#include "program_fixture.h"

namespace vantrel {
namespace {

class ShellTrayTest : public ProgramFixture<> {
 protected:
  ShellTrayTest() : ProgramFixture("vantrel-tray", 0) { launch(); }

  void mouse(int message) { platform->onMouse(message); }
  void reregister() {
    m().tray.remove();
    m().tray.add();
  }
};

TEST_F(ShellTrayTest, RecordCarriesTheFixedFieldsAndTheIconOfTheWindow) {
  const TrayRecord& r = platform->trayRecord.value();
  EXPECT_EQ(r.size, 88u);
  EXPECT_EQ(r.flags, 7u);
  EXPECT_EQ(r.callbackMessage, 512u);
  EXPECT_EQ(r.icon, r.iconId);
  const std::uint32_t stoppedIcon = r.icon;
  m().setIcon("running");
  reregister();
  EXPECT_EQ(platform->trayRecord->iconName, "running");
  EXPECT_NE(platform->trayRecord->icon, stoppedIcon);
  EXPECT_EQ(platform->trayRecord->icon, platform->trayRecord->iconId);
}

TEST_F(ShellTrayTest, TipFollowsText54AtOnceButShowsOnlyAtTheNextAdd) {
  setField(*m().Text54, "Vantrel - Running");
  EXPECT_EQ(m().tray.record().tipText(), "Vantrel - Running");
  EXPECT_EQ(platform->trayRecord->tipText(), "Vantrel - Stopped");
  reregister();
  EXPECT_EQ(platform->trayRecord->tipText(), "Vantrel - Running");
}

TEST_F(ShellTrayTest, TipIsCutTo63BytesAndAZeroWithinIts64) {
  const std::string longText(100, 'x');
  setField(*m().Text54, longText);
  const TrayRecord& r = m().tray.record();
  EXPECT_EQ(r.tipText(), longText.substr(0, 63));
  EXPECT_EQ(r.tip[63], '\0');
  reregister();
  EXPECT_EQ(platform->trayRecord->tipText().size(), 63u);

  setField(*m().Text54, "short");
  for (std::size_t i = 5; i < sizeof r.tip; ++i) {
    ASSERT_EQ(r.tip[i], '\0') << i;
  }
}

TEST_F(ShellTrayTest, TipIsSingleByteTextWithAQuestionMarkForEachCharacterItCannotHold) {
  setField(*m().Text54,
           "Caf\xC3\xA9 \xC5\x81\xC3\xB3"
           "d\xC5\xBA");  // "Café Łódź"
  EXPECT_EQ(m().tray.record().tipText(),
            "Caf\xE9 ?\xF3"
            "d?");
}

TEST_F(ShellTrayTest, DoubleClickShowsRightButtonPopsUpTheMenuOthersDoNothing) {
  m().hide();
  for (int message : {512, 513, 514, 517, 518}) mouse(message);
  EXPECT_FALSE(m().visible());
  EXPECT_EQ(m().poppedUp(), nullptr);

  mouse(MainShell::kTrayRightButton);
  EXPECT_EQ(m().poppedUp(), m().Mnu_File);
  EXPECT_FALSE(m().visible());
  userClick(*m().MnuCancel);
  EXPECT_EQ(m().poppedUp(), nullptr);
  EXPECT_FALSE(m().visible());

  mouse(MainShell::kTrayDoubleClick);
  EXPECT_TRUE(m().visible());
}

TEST_F(ShellTrayTest, CloseBoxHidesToTheTrayAndPutsBackAMissingIcon) {
  m().tray.remove();
  EXPECT_FALSE(m().requestClose());
  EXPECT_FALSE(m().visible());
  EXPECT_TRUE(platform->trayRecord);
  EXPECT_FALSE(app->ended());
}

TEST_F(ShellTrayTest, CloseBoxWithoutATrayMinimisesAndKeepsTheWindow) {
  platform->trayAvailable = false;
  const int adds = platform->trayAdds;
  m().tray.remove();
  EXPECT_FALSE(m().requestClose());
  EXPECT_TRUE(m().visible());
  EXPECT_EQ(m().state(), WindowState::Minimized);
  EXPECT_EQ(platform->trayAdds, adds);
  m().show();
  EXPECT_EQ(m().state(), WindowState::Normal);
}

TEST_F(ShellTrayTest, CloseBoxLeavesTheWindowWhenNeitherStartNorStopShowsItsColour) {
  m().CmdStop->setBackColour(colour::buttonFace);
  m().CmdReset->setBackColour(colour::yellow);
  EXPECT_FALSE(m().requestClose());
  EXPECT_TRUE(m().visible());
}

TEST_F(ShellTrayTest, ProgramGoneLeavesNoHandlerOnTheTray) {
  app.reset();
  EXPECT_FALSE(platform->onMouse);
}

TEST_F(ShellTrayTest, CopyPutsTheTotalHoursOnTheClipboard) {
  platform->clipboardText = "old";
  setField(*m().totalHours, "12.75");
  userClick(*m().cmdcopy);
  EXPECT_EQ(platform->clipboardText, "12.75");
}

TEST_F(ShellTrayTest, ShowOptionsGivesTheOptionsWindowItsFullSize) {
  Form& options = *app->form("frmOptions");
  options.setSize(100, 100);
  userClick(*m().options);
  EXPECT_EQ(options.width(), 100);
  userClick(*m().mnuSO);
  EXPECT_TRUE(options.visible());
  EXPECT_EQ(options.width(), 5700);
  EXPECT_EQ(options.height(), 8415);
}

TEST_F(ShellTrayTest, PrintReportPrintsTheReportWithoutShowingIt) {
  userClick(*m().pntReport);
  EXPECT_EQ(platform->pagesPrinted.size(), 1u);
  EXPECT_FALSE(app->form("frmprint")->visible());
}

TEST_F(ShellTrayTest, EveryOpeningEntryShowsItsWindow) {
  const std::pair<const char*, const char*> entries[] = {
      {"cmdoptions", "frmOptions"}, {"options", "frmOptions"},  {"customer", "frmcustomer"},
      {"setg", "frmSettings"},      {"CDT", "frmCount"},        {"ECI", "frmCompany"},
      {"EL", "frmLabels"},          {"viewReport", "frmprint"}, {"ATP", "frmAbout"},
      {"Image1", "frmAbout"},       {"CFP", "frmUpdate"},       {"help", "frmHelp"},
  };
  for (const auto& [control, window] : entries) {
    if (Form* f = app->loadedForm(window)) f->hide();
    userClick(m().control(control));
    Form* shown = app->loadedForm(window);
    ASSERT_NE(shown, nullptr) << control;
    EXPECT_TRUE(shown->visible()) << control;
    EXPECT_TRUE(m().visible()) << control;
  }
  EXPECT_EQ(app->form("frmCount")->caption(), "Countdown Timer");
}

}  // namespace
}  // namespace vantrel
