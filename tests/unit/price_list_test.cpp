// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/price_list.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "app/main_form.h"
#include "clock/settings_form.h"
#include "contacts/company_form.h"
#include "contacts/customer_form.h"
#include "documents/invoice_form.h"
#include "platform/user_input.h"
#include "program_fixture.h"
#include "store/labels_form.h"
#include "store/options_form.h"
#include "test_files.h"

namespace vantrel {
namespace {

class PriceListTest : public ProgramFixture<> {
 protected:
  PriceListTest() : ProgramFixture("vantrel-prices") {}

  OptionsForm& options() { return app->options(); }
  SettingsForm& prefs() { return app->settings(); }
  CompanyForm& company() { return app->company(); }
  LabelsForm& labels() { return app->labels(); }
  std::string pricesPath() const { return folder + "/prices.pql"; }

  // Every value of the file away from its default, through the windows as a user sets them.
  void setEverything() {
    for (int i = 1; i <= 7; ++i) setField(*options().priceListRate[i], std::to_string(10 * i));
    for (int i = 2; i <= 7; ++i) setField(*labels().labelText[i], "Work " + std::to_string(i));
    setField(*company().companyName, "Hale & Sons");
    setField(*company().companyPhone, "555 0100");
    setField(*company().companyStreet, "1 Quay Street");
    setField(*company().companyTown, "Portsmouth");
    setField(*company().companyState, "NH");
    setField(*company().companyZip, "03801");
    options().launchDisabled->setValue(1);
    options().autoSaveEnabled->setValue(1);
    options().twoHourReminder->setValue(1);
    options().reminderSound->setValue(1);
    userClick(*prefs().Command4);  // 0.75
    setField(*prefs().autosaveTarget, folder + "/jobs/AutoSave.pcl");
    // The remembered rule first: choosing it picks a start rule, which resets the amount.
    prefs().rememberBox[3]->setValue(1);
    prefs().startRule[3]->setValue(1);
    setField(*prefs().Text5, "25");
    prefs().skin[4]->setValue(1);
  }
};

TEST_F(PriceListTest, FirstStartWithoutAFileKeepsTheDefaultsAndAsksForTheCompany) {
  launch();
  EXPECT_EQ(options().priceListPath->text(), pricesPath());
  for (int i = 1; i <= 7; ++i) EXPECT_EQ(options().priceListRate[i]->text(), "0");
  EXPECT_EQ(labels().labelText[1]->text(), "Hours");
  EXPECT_EQ(labels().labelText[7]->text(), "Your Text Here");
  EXPECT_EQ(options().rateLabel[5]->text(), "Your Text Here");
  for (Control* flag : {options().launchDisabled, options().autoSaveEnabled,
                        options().twoHourReminder, options().reminderSound}) {
    EXPECT_EQ(flag->value(), 0);
  }
  EXPECT_TRUE(company().visible());
  EXPECT_FALSE(options().visible());
  EXPECT_EQ(options().width(), OptionsForm::kFullWidth);
  EXPECT_FALSE(options().unsaved());
  EXPECT_EQ(prefs().minimumHours->text(), "0.50");
  EXPECT_EQ(prefs().autosaveTarget->text(), folder + "/AutoSave.pcl");
  EXPECT_FALSE(fileExists(pricesPath()));
}

TEST_F(PriceListTest, SaveWritesThirtyNineLinesThatAllComeBackAtTheNextStart) {
  launch();
  setEverything();
  EXPECT_TRUE(options().unsaved());
  options().show();
  userClick(*options().Command3);
  EXPECT_EQ(platform->messagesShown.back(), "Saved");
  EXPECT_FALSE(options().visible());
  EXPECT_FALSE(options().unsaved());

  const std::vector<std::string> expected = {
      "10",          "20",       "30",
      "40",          "50",       "60",
      "70",          "a",        "Hours",
      "Work 2",      "Work 3",   "Work 4",
      "Work 5",      "Work 6",   "Work 7",
      "Hale & Sons", "555 0100", "1 Quay Street",
      "Portsmouth",  "NH",       "03801",
      "1",           "1",        "1",
      "1",           "0.75",     folder + "/jobs/AutoSave.pcl",
      "False",       "False",    "True",
      "25",          "0",        "0",
      "0",           "1",        "3",
      "0",           "0",        "1"};
  EXPECT_EQ(slurp(pricesPath()), crlf(expected));

  restart();
  // The main window starts every run with no minimum amount; the rule itself is kept.
  std::vector<std::string> afterStart = expected;
  afterStart[30] = "0";
  EXPECT_EQ(priceListLines(*app), afterStart);
  EXPECT_TRUE(prefs().Text5->visible());
  // The values took effect as they came in, not just as texts.
  EXPECT_FALSE(company().visible());
  EXPECT_EQ(app->invoice().Company->text(), "Hale & Sons");
  EXPECT_EQ(app->invoice().CompAddress5->text(), "03801");
  EXPECT_EQ(m().categorySelected[4]->text(), "Work 4");
  EXPECT_EQ(options().rateLabel[4]->text(), "Work 4");
  EXPECT_EQ(m().categoryRate[3]->text(), "30.00");
  EXPECT_EQ(m().backColour(), 12901352u);
  EXPECT_TRUE(m().image[4]->visible());
  EXPECT_FALSE(m().image[1]->visible());
  EXPECT_EQ(prefs().Label3->text(), "3/4");
  EXPECT_FALSE(m().caculate->enabled());
  EXPECT_EQ(options().width(), OptionsForm::kCompactWidth);
  EXPECT_FALSE(options().unsaved());
}

// The invoice details follow the 39 lines, which stay as they were, and come back.
TEST_F(PriceListTest, InvoiceDetailsFollowTheThirtyNineLinesAndComeBack) {
  launch();
  setEverything();
  const std::vector<std::string> plain = priceListLines(*app);
  setField(*company().txtVatId, "DE123456789");
  setField(*company().txtIban, "DE89 3704 0044 0532 0130 00");
  options().tax.set(TaxTreatment::SmallBusiness, "", "Gemäß § 19 UStG\nkeine Umsatzsteuer");
  setField(*options().txtTerms, "14");
  options().chkFooter->setValue(0);
  ASSERT_TRUE(options().save());
  std::vector<std::string> expected = plain;
  for (const char* line :
       {"[Invoice]", "VatId=DE123456789", "Iban=DE89 3704 0044 0532 0130 00", "Tax=small",
        "TaxNote=Gemäß § 19 UStG\\nkeine Umsatzsteuer", "Terms=14", "Footer=0"}) {
    expected.push_back(line);
  }
  EXPECT_EQ(readLines(pricesPath()).lines, expected);

  restart();
  EXPECT_EQ(company().txtIban->text(), "DE89 3704 0044 0532 0130 00");
  EXPECT_EQ(options().tax.treatment(), TaxTreatment::SmallBusiness);
  EXPECT_EQ(options().tax.txtTaxNote->text(), "Gemäß § 19 UStG\nkeine Umsatzsteuer");
  EXPECT_EQ(options().txtNumberPattern->text(), "YYYY-NNN");
  EXPECT_EQ(options().chkFooter->value(), 0);
  // A new job starts with the default treatment.
  EXPECT_EQ(app->customer().tax.treatment(), TaxTreatment::SmallBusiness);
}

TEST_F(PriceListTest, AShortFileSetsWhatItHoldsAndLeavesTheRest) {
  writeFile(pricesPath(), crlf({"40", "35", "30", "25", "20", "15", "10", "/usr/bin/true"}));
  launch();
  EXPECT_EQ(options().priceListRate[1]->text(), "40");
  EXPECT_EQ(m().categoryRate[7]->text(), "10.00");
  EXPECT_EQ(options().launchProgramPath->text(), "/usr/bin/true");
  EXPECT_EQ(labels().labelText[2]->text(), "Your Text Here");
  EXPECT_EQ(prefs().skin[2]->value(), 1);
  EXPECT_TRUE(company().visible());
  EXPECT_EQ(options().width(), OptionsForm::kCompactWidth);
}

TEST_F(PriceListTest, LinesThatDoNotConvertLeaveTheirFieldsAndReadingGoesOn) {
  std::vector<std::string> lines(39, "");
  for (int i = 0; i < 7; ++i) lines[i] = "5";
  lines[8] = "Hours";
  lines[15] = "Acme";
  lines[21] = "yes";  // launchDisabled
  lines[22] = "3";    // autoSaveEnabled: no check value
  lines[23] = "1.5";  // twoHourReminder
  lines[24] = "2";    // reminderSound: greyed is a check value
  lines[25] = "1";
  lines[27] = "maybe";  // Option1
  lines[28] = "-1";     // Option2: a number, not zero
  lines[29] = "FALSE";
  lines[31] = "x";  // Blue Skin
  lines[32] = "1";  // Default Skin
  lines[35] = "2";
  lines[36] = "0";
  lines[37] = "1";
  lines[38] = "zero";
  writeFile(pricesPath(), crlf(lines));
  launch();
  EXPECT_EQ(options().launchDisabled->value(), 0);
  EXPECT_EQ(options().autoSaveEnabled->value(), 0);
  EXPECT_EQ(options().twoHourReminder->value(), 0);
  EXPECT_EQ(options().reminderSound->value(), 2);
  EXPECT_EQ(prefs().startRule[2]->value(), 1);
  EXPECT_EQ(prefs().startRule[1]->value(), 0);
  EXPECT_EQ(prefs().skin[2]->value(), 1);
  EXPECT_EQ(prefs().rememberBox[2]->value(), 1);
  EXPECT_EQ(prefs().rememberedStartRule->text(), "2");
  EXPECT_EQ(prefs().minimumHours->text(), "1.00");
  EXPECT_EQ(company().companyName->text(), "Acme");
  // Loaded under "after Minimum", the clock's Reset is closed as the rule says.
  EXPECT_FALSE(m().CmdReset->enabled());
}

TEST_F(PriceListTest, OpenReadsAnotherFileAndSaveAsOnlyChoosesWhereTheNextSaveGoes) {
  launch();
  std::vector<std::string> other(39, "");
  for (int i = 0; i < 7; ++i) other[i] = "99";
  other[9] = "Design";
  writeFile(folder + "/other.pql", crlf(other));
  platform->dialogResults.push_back("other.pql");
  userClick(*options().Command2);
  EXPECT_EQ(platform->dialogsShown.back().filter, "AllFiles|*.pql");
  EXPECT_EQ(platform->dialogsShown.back().folder, folder);
  EXPECT_EQ(options().priceListPath->text(), folder + "/other.pql");
  EXPECT_EQ(m().categorySelected[2]->text(), "Design");
  EXPECT_EQ(options().rateLabel[2]->text(), "Design");
  EXPECT_EQ(m().categoryRate[5]->text(), "99.00");

  platform->dialogResults.push_back("copy.pql");
  userClick(*options().Command1);
  userClick(*options().cmdclose);
  EXPECT_FALSE(fileExists(folder + "/copy.pql"));
  // A cancelled dialog gives back the name chosen last.
  platform->dialogResults.push_back(std::nullopt);
  userClick(*options().Command1);
  EXPECT_EQ(options().priceListPath->text(), folder + "/copy.pql");
  userClick(*options().Command3);
  EXPECT_TRUE(fileExists(folder + "/copy.pql"));
}

TEST_F(PriceListTest, SaveWithNoFileNamedAsksFirstAndACancelWritesNothing) {
  launch();
  platform->dialogResults.push_back(std::nullopt);
  userClick(*options().Command2);  // nothing chosen yet: no name at all
  EXPECT_EQ(options().priceListPath->text(), "");
  options().setUnsaved(true);
  options().show();
  platform->messagesShown.clear();
  platform->dialogResults.push_back(std::nullopt);
  userClick(*options().Command3);
  EXPECT_TRUE(platform->dialogsShown.back().save);
  EXPECT_TRUE(platform->messagesShown.empty());
  EXPECT_TRUE(options().unsaved());
  EXPECT_TRUE(options().visible());

  platform->dialogResults.push_back("named.pql");
  userClick(*options().Command3);
  EXPECT_EQ(options().priceListPath->text(), folder + "/named.pql");
  EXPECT_TRUE(fileExists(folder + "/named.pql"));
  EXPECT_EQ(platform->messagesShown.back(), "Saved");
}

// Runs `check` as an unprivileged user when the tests run as root, whom no folder refuses.
// Returns what `check` returned.
TEST_F(PriceListTest, AFailedSaveSaysWhyKeepsTheOldFileAndStaysUnsaved) {
  writeFile(pricesPath(), crlf({"40"}));
  launch();
  setField(*options().priceListRate[1], "45");
  options().setUnsaved(true);
  options().show();

  setField(*options().priceListPath, folder + "/missing/prices.pql");
  platform->messagesShown.clear();
  userClick(*options().Command3);
  EXPECT_EQ(platform->messagesShown,
            std::vector<std::string>{"Could not save " + folder +
                                     "/missing/prices.pql: the folder does not exist"});
  EXPECT_TRUE(options().visible());
  EXPECT_TRUE(options().unsaved());

  // A folder that may be read but not written: the old file stays as it was, byte for byte.
  ASSERT_EQ(::chmod(pricesPath().c_str(), 0644), 0);
  ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
  setField(*options().priceListPath, pricesPath());
  const int outcome = asUnprivilegedUser([this] {
    platform->messagesShown.clear();
    userClick(*options().Command3);
    if (platform->messagesShown !=
        std::vector<std::string>{"Could not save " + pricesPath() +
                                 ": you do not have permission to write there"}) {
      return 1;
    }
    if (!options().visible() || !options().unsaved()) return 2;
    return 0;
  });
  ::chmod(folder.c_str(), 0700);
  EXPECT_EQ(outcome, 0);
  EXPECT_EQ(slurp(pricesPath()), "40\r\n");
}

}  // namespace
}  // namespace vantrel
