// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/job_sheet.h"

#include <gtest/gtest.h>

#include "app/main_form.h"
#include "app/vantrel.h"
#include "clock/settings_form.h"
#include "documents/invoice_form.h"
#include "documents/report_form.h"
#include "platform/headless/headless_services.h"
#include "platform/user_input.h"
#include "program_fixture.h"
#include "store/options_form.h"

namespace vantrel {
namespace {

class JobSheetTest : public ProgramFixture<> {
 protected:
  JobSheetTest() : ProgramFixture("vantrel-sheet") {}
  HeadlessServices& services = *platform;
  MainForm& main = m();
  Vantrel& program = *app;

  void type(Control& box, const std::string& text) {
    for (char c : text) userType(box, c);
  }
  const std::string& text(const Control* c) { return c->text(); }
};

TEST_F(JobSheetTest, TypedHoursWithARateGiveAmountTotalsAndCopies) {
  setField(*program.options().priceListRate[1], "40");
  setField(*main.categoryRate[3], "20");
  EXPECT_EQ(text(main.categoryRate[3]), "20.00");
  EXPECT_TRUE(main.rateAt[3]->visible());
  EXPECT_TRUE(main.categorySelected[3]->visible());

  userClick(*main.categorySelected[3]);  // hours "1"
  setField(*main.categoryHours[3], "");
  type(*main.categoryHours[3], "7");
  EXPECT_EQ(text(main.categoryAmount[3]), "140.00");
  EXPECT_EQ(text(main.totalCost), "140.00");
  EXPECT_EQ(text(main.totalHours), "3.50");  // 140.00 / price-list rate 1
  EXPECT_EQ(text(program.report().hours[3]), "7");
  EXPECT_EQ(text(program.report().cost[3]), "140.00");
  EXPECT_EQ(text(program.report().totalCost), "140.00");
  EXPECT_EQ(text(program.report().totalHours), "3.50");
  EXPECT_EQ(text(program.invoice().hours[3]), "7");
  EXPECT_EQ(text(program.invoice().amount[3]), "140.00");
  EXPECT_EQ(text(program.invoice().totalHours), "3.50");
  // Unsaved work: New and Open are off, Save As is on; Save waits for a file.
  EXPECT_FALSE(main.cmdnew->enabled());
  EXPECT_FALSE(main.open1->enabled());
  EXPECT_TRUE(main.cmdSave->enabled());
  EXPECT_FALSE(main.cmdsav->enabled());
  EXPECT_EQ(text(main.projectPath), "Save New File");
}

TEST_F(JobSheetTest, BilledMinutesFeedTheBaseCategory) {
  setField(*main.minuteCounter, "90");
  EXPECT_EQ(text(main.categoryHours[1]), "1.5000");
  EXPECT_EQ(text(program.settings().nextBillableMinute), "90");
  EXPECT_TRUE(main.categoryHours[1]->visible());
  EXPECT_FALSE(main.categorySelected[1]->enabled());

  setField(*main.minuteCounter, "1");
  EXPECT_EQ(text(main.categoryHours[1]), "0.0167");
  EXPECT_EQ(text(main.minuteHours), "1.66666666666667E-02");

  setField(*main.categoryRate[1], "40");
  setField(*main.minuteCounter, "45");
  EXPECT_EQ(text(main.categoryAmount[1]), "30.00");
  EXPECT_EQ(text(main.totalCost), "30.00");
  EXPECT_EQ(text(program.invoice().hours[1]), "0.7500");
}

TEST_F(JobSheetTest, TickingTheBaseCategoryBillsTheMinimum) {
  setField(*program.settings().minimumHours, ".5");
  userClick(*main.categorySelected[1]);
  EXPECT_EQ(text(main.categoryHours[1]), "0.5000");
  EXPECT_EQ(text(main.minuteCounter), "30");
  EXPECT_FALSE(main.categorySelected[1]->enabled());
  EXPECT_TRUE(main.categoryHours[1]->visible());
}

TEST_F(JobSheetTest, TickingAServiceStartsANewFileAndUntickingClearsIt) {
  setField(*program.settings().autosaveTarget, "/data/AutoSave.pcl");
  setField(*program.options().priceListRate[4], "");
  userClick(*main.categorySelected[4]);
  EXPECT_EQ(text(main.categoryHours[4]), "1");
  EXPECT_TRUE(main.categoryHours[4]->visible());
  EXPECT_EQ(text(main.projectPath), "Save New File");
  EXPECT_EQ(text(main.autosavePath), "/data/AutoSave.pcl");
  EXPECT_FALSE(main.cmdsav->enabled());
  EXPECT_FALSE(main.save->enabled());
  // The price list has no rate for it yet, so the options window comes up.
  EXPECT_TRUE(program.options().visible());

  userClick(*main.categorySelected[4]);
  EXPECT_EQ(text(main.categoryHours[4]), "0");
  EXPECT_FALSE(main.categoryHours[4]->visible());

  // A real file: the autosave follows it and Save is offered.
  setField(*main.projectPath, "/data/job.pcl");
  EXPECT_EQ(text(main.autosavePath), "/data/job.pcl");
}

TEST_F(JobSheetTest, TextThatDoesNotReadLeavesFiguresAlone) {
  setField(*main.categoryRate[5], "10");
  setField(*main.categoryHours[5], "3");
  ASSERT_EQ(text(main.categoryAmount[5]), "30.00");

  // A cleared rate: the amount stays, "@" goes, the tick box is shown (the test fails).
  setField(*main.categoryRate[5], "");
  EXPECT_EQ(text(main.categoryAmount[5]), "30.00");
  EXPECT_FALSE(main.rateAt[5]->visible());
  EXPECT_TRUE(main.categorySelected[5]->visible());

  // Cleared hours: still shown, without ever being hidden on the way (a hidden box loses
  // the focus of the user typing in it), and the amount unchanged.
  setField(*main.categoryRate[5], "10");
  int hides = 0;
  main.categoryHours[5]->observer = [&hides](Control& c, Property p) {
    if (p == Property::Visible && !c.visible()) ++hides;
  };
  setField(*main.categoryHours[5], "");
  main.categoryHours[5]->observer = nullptr;
  EXPECT_EQ(hides, 0);
  EXPECT_TRUE(main.categoryHours[5]->visible());
  EXPECT_EQ(text(main.categoryAmount[5]), "30.00");

  // A zero price-list rate keeps the total hours as they were.
  setField(*program.options().priceListRate[1], "20");
  setField(*main.categoryHours[5], "4");
  EXPECT_EQ(text(main.totalHours), "2.00");
  setField(*program.options().priceListRate[1], "0");
  setField(*main.categoryHours[5], "5");
  EXPECT_EQ(text(main.totalCost), "50.00");
  EXPECT_EQ(text(main.totalHours), "2.00");

  // An amount that does not read stops the total.
  setField(*main.minimumAmount, "n/a");
  setField(*main.categoryHours[5], "6");
  EXPECT_EQ(text(main.totalCost), "50.00");
}

TEST_F(JobSheetTest, TotalsAreExactToTheCent) {
  setField(*main.categoryRate[2], "1");
  setField(*main.categoryHours[2], "123456");
  setField(*main.categoryRate[3], "0.78");
  setField(*main.categoryHours[3], "1");
  EXPECT_EQ(text(main.totalCost), "123,456.78");

  setField(*main.categoryHours[2], "1234567");
  setField(*main.categoryRate[3], "0.89");
  EXPECT_EQ(text(main.totalCost), "1,234,567.89");

  // Seven amounts that binary floating point cannot hold exactly still add up.
  for (int i = 2; i <= 7; ++i) {
    setField(*main.categoryRate[i], "0.1");
    setField(*main.categoryHours[i], "1");
  }
  setField(*main.minimumAmount, "0.2");
  main.sheet->recalculateTotals();
  EXPECT_EQ(text(main.totalCost), "0.80");
}

TEST_F(JobSheetTest, KeyFiltersRefuseWhatIsNotANumber) {
  Control& hours = *main.categoryHours[6];
  main.categoryHours[6]->setVisible(true);
  setField(hours, "");
  type(hours, "1a.5\r");
  EXPECT_EQ(text(&hours), "1.5");
  EXPECT_EQ(services.messagesShown, (std::vector<std::string>{"error", "error"}));

  userType(hours, '\b');
  userType(hours, '\b');
  EXPECT_EQ(text(&hours), "1");

  services.messagesShown.clear();
  type(*main.calculatorHours, "2x");
  EXPECT_EQ(text(main.calculatorHours), "2");
  EXPECT_EQ(text(main.calculatorMinutes), "120");
  EXPECT_EQ(services.messagesShown, (std::vector<std::string>{"ERROR Numbers only please."}));

  // A pasted text is not filtered.
  setField(*main.calculatorHours, "1.5");
  EXPECT_EQ(text(main.calculatorMinutes), "90");
}

TEST_F(JobSheetTest, ALonePointKeepsTheFocus) {
  Control& hours = *main.categoryHours[2];
  setField(hours, "");
  type(hours, ".");
  EXPECT_FALSE(userLeave(hours));
  EXPECT_EQ(main.focused(), &hours);
  type(hours, "5");
  EXPECT_TRUE(userLeave(hours));
  EXPECT_EQ(main.focused(), nullptr);
}

TEST_F(JobSheetTest, MinimumFactorsSetTheMinimumWithoutTotals) {
  setField(*main.minimumAmount, "25");
  setField(*main.minimumFactor[1], "1");
  EXPECT_EQ(text(main.minimumAmount), "0");
  EXPECT_EQ(text(main.totalCost), "0");
}

TEST_F(JobSheetTest, TotalCostGatesThePreferencesReset) {
  setField(*main.categoryRate[2], "10");
  setField(*main.categoryHours[2], "1");
  EXPECT_FALSE(program.settings().Command6->enabled());
  setField(*main.categoryHours[2], "0");
  EXPECT_EQ(text(main.totalCost), "0.00");
  EXPECT_TRUE(program.settings().Command6->enabled());
}

TEST_F(JobSheetTest, LaunchAppIsOffWhileTheOptionsSaySo) {
  EXPECT_TRUE(main.caculate->enabled());
  program.options().launchDisabled->setValue(1);
  EXPECT_FALSE(main.caculate->enabled());
  program.options().launchDisabled->setValue(0);
  EXPECT_TRUE(main.caculate->enabled());
}

TEST_F(JobSheetTest, TickingANamelessCategoryAsksForALabel) {
  setField(*main.categorySelected[2], "");
  userClick(*main.categorySelected[2]);
  EXPECT_EQ(text(main.statusMessage), JobSheet::kMissingLabel);
}

}  // namespace
}  // namespace vantrel
