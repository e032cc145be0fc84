// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/project_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "app/main_form.h"
#include "clock/settings_form.h"
#include "contacts/customer_form.h"
#include "documents/invoice_form.h"
#include "platform/user_input.h"
#include "program_fixture.h"
#include "sheet/job_sheet.h"
#include "store/labels_form.h"
#include "store/options_form.h"
#include "test_files.h"
#include "worklog/log_keeper.h"

namespace vantrel {
namespace {

class ProjectFileTest : public ProgramFixture<> {
 protected:
  ProjectFileTest() : ProgramFixture("vantrel-project") {}

  CustomerForm& customer() { return app->customer(); }
  std::string jobPath() const { return folder + "/job.pcl"; }

  // The seven commands whose enabled states record unsaved work.
  std::vector<bool> saveState() {
    MainForm& w = m();
    return {w.cmdnew->enabled(), w.new1->enabled(), w.cmdopen->enabled(), w.open1->enabled(),
            w.cmdsav->enabled(), w.save->enabled(), w.cmdSave->enabled()};
  }

  void saveAsButton(std::optional<std::string> path) {
    platform->dialogResults.push_back(std::move(path));
    userClick(*m().cmdSave);
  }
  void openButton(std::optional<std::string> path) {
    platform->dialogResults.push_back(std::move(path));
    userClick(*m().cmdopen);
  }

  // A job with every stored field away from its default, as a user builds it.
  void buildJob() {
    OptionsForm& options = app->options();
    for (int i = 1; i <= 7; ++i) setField(*options.priceListRate[i], std::to_string(20 + i));
    LabelsForm& labels = app->labels();
    for (int i = 2; i <= 7; ++i) setField(*labels.labelText[i], "Work " + std::to_string(i));
    setField(*labels.labelText[5], "東京 fit-out");
    m().categorySelected[3]->setValue(1);
    setField(*m().categoryHours[3], "2.5");
    setField(*m().minuteCounter, "95");
    CustomerForm& c = customer();
    setField(*c.customerName, "Zoë Łukasiewicz");
    setField(*c.customerAddress, "12 Long Lane\r\nFlat 2");
    setField(*c.customerCity, "Leeds");
    setField(*c.customerState, "West Yorkshire");
    setField(*c.customerZip, "LS1 4AP");
    setField(*c.customerPhone, "0113 555 0199");
    setField(*c.customerEmail, "zoe@example.org");
    setField(*c.DTPicker1, "2026-01-02");
    userClick(*c.Command3);
    setField(*c.projectName, "東京 fit-out");
    setField(*c.invoiceNumber, "1042");
    setField(*c.projectCity, "York");
    setField(*c.projectState, "North Yorkshire");
    int digit = 1;
    for (Control* d :
         {m().txtSecs, m().txt0, m().txtMins, m().txt00, m().txtHours, m().txt000, m().txtDays}) {
      setField(*d, std::to_string(digit++ % 6));
    }
    setField(*app->settings().nextBillableMinute, "17");
    setField(*app->settings().elapsedMinutes, "96");
  }
};

TEST_F(ProjectFileTest, SaveThenOpenInANewRunRestoresEveryStoredField) {
  launch();
  buildJob();
  std::vector<std::string> before = projectLines(*app);
  const std::string totalCost = m().totalCost->text();
  ASSERT_EQ(before.size(), 61u);

  saveAsButton(jobPath());
  EXPECT_EQ(m().statusMessage->text(), "Your Project was saved");
  EXPECT_EQ(m().projectPath->text(), jobPath());
  const std::string bytes = slurp(jobPath());
  // One value a line whatever the values hold; text outside Windows-1252 kept as UTF-8.
  EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'),
            62 + static_cast<std::ptrdiff_t>(m().log->log().size()));
  EXPECT_NE(bytes.find("Zoë Łukasiewicz\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("12 Long Lane  Flat 2\r\n"), std::string::npos);

  restart();
  openButton(jobPath());
  std::vector<std::string> after = projectLines(*app);
  for (std::size_t n : {43u, 48u}) before[n] = "12 Long Lane  Flat 2";
  EXPECT_EQ(after, before);
  EXPECT_EQ(m().totalCost->text(), totalCost);
  EXPECT_EQ(m().Text37->text(), "Zoë Łukasiewicz");
  EXPECT_EQ(m().Text38->text(), "東京 fit-out");
  EXPECT_EQ(app->invoice().Address->text(), "12 Long Lane  Flat 2");
  EXPECT_TRUE(m().txtDays->visible());
  for (int i = 1; i <= 7; ++i) EXPECT_EQ(m().categorySelected[i]->value(), 0) << i;
  EXPECT_EQ(m().projectPath->text(), jobPath());
  // An opened job counts as unsaved until it is saved.
  EXPECT_TRUE(m().cmdSave->enabled());
}

// The job's invoice details go between its 61 lines and its work log, and come back.
TEST_F(ProjectFileTest, TheInvoiceDetailsComeBackWithTheJob) {
  launch();
  buildJob();
  CustomerForm& c = app->customer();
  setField(*c.jobCountry, "France");
  setField(*c.jobVatId, "FR40303265045");
  c.tax.set(TaxTreatment::Vat, "5.5", "");
  setField(*c.txtIssued, "2026-11-30");
  saveAsButton(jobPath());
  const std::vector<std::string> lines = readLines(jobPath()).lines;
  ASSERT_GT(lines.size(), 67u);
  const std::vector<std::string> section(lines.begin() + 61, lines.begin() + 67);
  EXPECT_EQ(section, (std::vector<std::string>{"[Invoice]", "Country=France", "VatId=FR40303265045",
                                               "Tax=vat", "TaxRate=5.5", "Issued=2026-11-30"}));
  EXPECT_EQ(lines[67], "[Work log]");

  restart();
  openButton(jobPath());
  EXPECT_EQ(app->customer().jobVatId->text(), "FR40303265045");
  EXPECT_EQ(app->customer().tax.treatment(), TaxTreatment::Vat);
  EXPECT_EQ(app->customer().tax.txtTaxRate->text(), "5.5");
  EXPECT_EQ(app->invoice().dt->text(), "2026-11-30");
  EXPECT_TRUE(m().log->log().size() > 0);
}

TEST_F(ProjectFileTest, TheOrderOfTheLinesDecidesWhatReadingLeaves) {
  launch();
  setField(*app->options().priceListRate[2], "55");
  std::vector<std::string> lines(61, "");
  lines[0] = "2";    // hours 1 ...
  lines[7] = "30";   // ... replaced by the minutes
  lines[8] = "99";   // rate 1 ...
  lines[22] = "40";  // ... replaced by a price list rate that differs from the one held
  lines[9] = "60";   // rate 2 stays: the file's price list rate 2 is the one held
  lines[23] = "55";
  lines[16] = "Design";    // name 2 ...
  lines[30] = "Drafting";  // ... replaced by a label that differs
  writeFile(jobPath(), crlf(lines));

  openButton(jobPath());
  EXPECT_EQ(m().categoryHours[1]->text(), "0.5000");
  EXPECT_EQ(m().minuteCounter->text(), "30");
  EXPECT_EQ(m().categoryRate[1]->text(), "40.00");
  EXPECT_EQ(m().categoryRate[2]->text(), "60.00");
  EXPECT_EQ(m().categorySelected[2]->text(), "Drafting");
  EXPECT_EQ(m().totalCost->text(), "20.00");
}

TEST_F(ProjectFileTest, ShortLongAndMissingFilesLeaveTheRestAsOpenSetIt) {
  launch();
  setField(*customer().projectName, "Old job");
  setField(*m().categoryRate[4], "70");
  writeFile(jobPath(), crlf({"1", "0", "0", "0", "0", "0", "0", "90"}));
  openButton(jobPath());
  EXPECT_EQ(m().categoryHours[1]->text(), "1.5000");
  EXPECT_EQ(m().minuteCounter->text(), "90");
  EXPECT_EQ(customer().projectName->text(), "");
  EXPECT_EQ(m().categoryRate[4]->text(), "70.00");
  EXPECT_EQ(m().txtSecs->text(), "0");

  std::vector<std::string> lines(70, "3");
  lines[54] = "7";  // seconds
  writeFile(jobPath(), crlf(lines));
  userClick(*m().cmdnew);
  openButton(jobPath());
  EXPECT_EQ(m().txtSecs->text(), "7");
  EXPECT_EQ(m().txtDays->text(), "3");

  userClick(*m().cmdnew);
  platform->messagesShown.clear();
  openButton(folder + "/nowhere.pcl");
  EXPECT_EQ(m().minuteCounter->text(), "0");
  EXPECT_EQ(m().categoryHours[3]->text(), "0");
  // The days of the last job do not stay behind on the clock.
  EXPECT_EQ(m().txtDays->text(), "0");
  EXPECT_FALSE(m().txtDays->visible());
  EXPECT_TRUE(platform->messagesShown.empty());
}

TEST_F(ProjectFileTest, MenuOpenLeavesNoPathButtonOpenKeepsItAndACancelReadsTheLastChoice) {
  launch();
  writeFile(jobPath(), crlf({"0", "0", "0", "0", "0", "0", "0", "120"}));
  platform->dialogResults.push_back(jobPath());
  userClick(*m().open1);
  EXPECT_EQ(m().minuteCounter->text(), "120");
  EXPECT_EQ(m().projectPath->text(), "");
  EXPECT_FALSE(m().cmdsav->enabled());
  EXPECT_TRUE(app->settings().rememberBox[1]->enabled());

  userClick(*m().cmdnew);
  openButton(std::nullopt);  // the dialog still holds the file chosen before
  EXPECT_EQ(m().minuteCounter->text(), "120");
  EXPECT_EQ(m().projectPath->text(), jobPath());
  EXPECT_FALSE(app->settings().rememberBox[1]->enabled());
  EXPECT_FALSE(app->settings().startRule[2]->enabled());
  EXPECT_EQ(app->settings().startRule[1]->value(), 1);

  restart();
  openButton(std::nullopt);  // nothing chosen in this run: the reset job stays
  EXPECT_EQ(m().minuteCounter->text(), "0");
  EXPECT_EQ(m().projectPath->text(), "");
}

TEST_F(ProjectFileTest, AFailedSaveSaysWhyKeepsTheOldFileAndTheJobUnsaved) {
  launch();
  m().categorySelected[3]->setValue(1);
  const auto unsaved = saveState();
  platform->messagesShown.clear();
  saveAsButton(folder + "/missing/job.pcl");
  EXPECT_EQ(platform->messagesShown,
            std::vector<std::string>{"Could not save " + folder +
                                     "/missing/job.pcl: the folder does not exist"});
  EXPECT_EQ(m().projectPath->text(), JobSheet::kNewFileMarker);
  EXPECT_EQ(saveState(), unsaved);
  EXPECT_NE(m().statusMessage->text(), "Your Project was saved");

  saveAsButton(jobPath());
  const std::string saved = slurp(jobPath());
  setField(*m().categoryHours[3], "4");
  ASSERT_TRUE(m().cmdsav->enabled());
  const auto changed = saveState();

  // A folder that may be read but not written.
  ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
  const int outcome = asUnprivilegedUser([&] {
    platform->messagesShown.clear();
    setField(*m().statusMessage, "");
    userClick(*m().cmdsav);
    if (platform->messagesShown !=
        std::vector<std::string>{"Could not save " + jobPath() +
                                 ": you do not have permission to write there"}) {
      return 1;
    }
    if (saveState() != changed || m().projectPath->text() != jobPath()) return 2;
    if (m().statusMessage->text() == "Your Project was saved") return 3;
    platform->messagesShown.clear();
    platform->answers.push_back(Answer::Yes);  // to the overwrite question
    saveAsButton(jobPath());                   // onto itself
    if (platform->messagesShown.size() != 2 || saveState() != changed) return 4;
    return 0;
  });
  ::chmod(folder.c_str(), 0700);
  EXPECT_EQ(outcome, 0);
  EXPECT_EQ(slurp(jobPath()), saved);
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    EXPECT_EQ(entry.path().filename().string().find(".tmp-"), std::string::npos);
  }
}

TEST_F(ProjectFileTest, ACancelledSaveAsWritesNothingAndLeavesTheJobUnsaved) {
  launch();
  setField(*customer().invoiceNumber, "1042");
  setField(*customer().projectName, "Kitchen");
  setField(*m().minuteCounter, "30");
  saveAsButton(std::nullopt);
  EXPECT_EQ(platform->dialogsShown.back().proposed, "1042(Kitchen)");
  EXPECT_FALSE(fileExists(folder + "/1042(Kitchen)"));

  saveAsButton(jobPath());
  const std::string saved = slurp(jobPath());
  setField(*m().minuteCounter, "45");
  const auto unsaved = saveState();
  ASSERT_TRUE(m().cmdSave->enabled());
  // The dialog holds the name chosen before; a cancel still writes nothing.
  saveAsButton(std::nullopt);
  EXPECT_EQ(slurp(jobPath()), saved);
  EXPECT_EQ(m().statusMessage->text(), "Please select a file first.");
  EXPECT_EQ(m().projectPath->text(), jobPath());
  EXPECT_EQ(saveState(), unsaved);

  // No at the overwrite question: nothing written, Save stays off.
  platform->answers.push_back(Answer::No);
  saveAsButton(jobPath());
  EXPECT_EQ(platform->messageTitles.back(), "OverWrite File");
  EXPECT_EQ(slurp(jobPath()), saved);
  EXPECT_FALSE(m().cmdsav->enabled());
  EXPECT_TRUE(m().cmdSave->enabled());
}

TEST_F(ProjectFileTest, SaveOnANewJobAsksForANameInsteadOfWritingTheMarker) {
  launch();
  m().categorySelected[3]->setValue(1);
  ASSERT_EQ(m().projectPath->text(), JobSheet::kNewFileMarker);
  userClick(*m().CmdStart);
  platform->advance(3000);
  userClick(*m().CmdStop);
  ASSERT_TRUE(m().cmdsav->enabled());

  platform->dialogResults.push_back(std::nullopt);
  userClick(*m().cmdsav);
  ASSERT_FALSE(platform->dialogsShown.empty());
  EXPECT_TRUE(platform->dialogsShown.back().save);
  EXPECT_FALSE(fileExists(folder + "/" + JobSheet::kNewFileMarker));
  EXPECT_FALSE(fileExists(JobSheet::kNewFileMarker));
  EXPECT_EQ(m().projectPath->text(), JobSheet::kNewFileMarker);

  platform->dialogResults.push_back(jobPath());
  userClick(*m().save);
  EXPECT_TRUE(fileExists(jobPath()));
  EXPECT_EQ(m().projectPath->text(), jobPath());
  EXPECT_FALSE(m().cmdSave->enabled());
}

TEST_F(ProjectFileTest, SaveWithoutAFileRefusesAtTheMousePress) {
  launch();
  m().cmdsav->setEnabled(true);
  platform->messagesShown.clear();
  userClick(*m().cmdsav);
  EXPECT_EQ(platform->messagesShown,
            std::vector<std::string>{"Please select a file first before saving"});
  EXPECT_FALSE(m().cmdsav->enabled());
  EXPECT_FALSE(m().save->enabled());
  EXPECT_TRUE(platform->dialogsShown.empty());
}

TEST_F(ProjectFileTest, AProjectOnTheCommandLineComesBackAsItWasSaved) {
  launch();
  setField(*customer().projectName, "Roof");
  setField(*m().minuteCounter, "75");
  setField(*m().txtMins, "5");
  std::filesystem::create_directories(folder + "/My Jobs");
  const std::string path = folder + "/My Jobs/roof job.pcl";
  saveAsButton(path);
  const std::vector<std::string> saved = projectLines(*app);

  restart("\"" + path + "\"");
  platform->advance(100);
  EXPECT_EQ(projectLines(*app), saved);
  EXPECT_EQ(m().projectPath->text(), path);
  EXPECT_EQ(m().Text38->text(), "Roof");
}

TEST_F(ProjectFileTest, LeftoversOfACutShortWriteAreRemovedAtStartAndNeverRead) {
  std::filesystem::create_directories(folder + "/jobs");
  const std::string path = folder + "/jobs/job.pcl";
  writeFile(path, crlf({"0", "0", "0", "0", "0", "0", "0", "45"}));
  const std::vector<std::string> leftovers = {
      folder + "/prices.pql.tmp-Ab12Cd", folder + "/AutoSave.pcl.tmp-x9Y8z7", path + ".tmp-QQ11rr"};
  for (const auto& temp : leftovers) writeFile(temp, "half a fi");
  writeFile(folder + "/notes.tmp-1", "mine");
  platform->commandLineText = path;
  launch();
  platform->advance(100);
  for (const auto& temp : leftovers) EXPECT_FALSE(std::filesystem::exists(temp)) << temp;
  EXPECT_TRUE(std::filesystem::exists(folder + "/notes.tmp-1"));
  EXPECT_EQ(m().minuteCounter->text(), "45");
}

TEST_F(ProjectFileTest, AFailingAutosaveIsToldOnceAndTheClockRunsOn) {
  launch();
  app->options().autoSaveEnabled->setValue(1);
  setField(*app->settings().autosaveTarget, folder + "/gone/AutoSave.pcl");
  userClick(*m().CmdStart);
  platform->messagesShown.clear();
  platform->advance(61000);
  const std::string why =
      "Could not save " + folder + "/gone/AutoSave.pcl: the folder does not exist";
  EXPECT_EQ(platform->messagesShown, std::vector<std::string>{why});
  EXPECT_EQ(m().statusMessage->text(), "Autosave failed: " + why);
  platform->advance(120000);
  EXPECT_EQ(platform->messagesShown.size(), 1u);
  EXPECT_TRUE(m().Timer1->enabled());

  // Once it can write again it does, and a later failure is told again.
  std::filesystem::create_directories(folder + "/gone");
  platform->advance(60000);
  EXPECT_EQ(m().statusMessage->text(), "Your Project was saved");
  EXPECT_TRUE(fileExists(folder + "/gone/AutoSave.pcl"));
  std::filesystem::remove_all(folder + "/gone");
  platform->advance(60000);
  EXPECT_EQ(platform->messagesShown.size(), 2u);
}

TEST_F(ProjectFileTest, NewButtonClearsMoreThanTheMenuEntry) {
  launch();
  setField(*customer().projectAddress, "1 Main St");
  m().categorySelected[4]->setValue(1);
  setField(*m().statusMessage, "note");
  userClick(*m().new1);
  EXPECT_EQ(app->invoice().Address->text(), "1 Main St");
  EXPECT_EQ(m().statusMessage->text(), "note");
  EXPECT_EQ(m().categoryHours[4]->text(), "0");
  EXPECT_EQ(m().caption(), "Vantrel - Stopped");
  // The menu entry leaves the cleared hours as a change to save; once saved, New is offered.
  EXPECT_TRUE(m().cmdSave->enabled());
  EXPECT_FALSE(m().cmdnew->enabled());
  saveAsButton(jobPath());
  ASSERT_TRUE(m().cmdnew->enabled());

  setField(*m().statusMessage, "note");
  userClick(*m().cmdnew);
  EXPECT_EQ(app->invoice().Address->text(), "");
  EXPECT_EQ(m().statusMessage->text(), "");
  EXPECT_FALSE(m().cmdSave->enabled());
  EXPECT_FALSE(m().cmdsav->enabled());
  EXPECT_TRUE(m().cmdopen->enabled());
  EXPECT_EQ(app->settings().nextBillableMinute->text(), "1");
}

}  // namespace
}  // namespace vantrel
