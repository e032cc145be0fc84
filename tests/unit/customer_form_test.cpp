// SPDX-License-Identifier: GPL-3.0-or-later
#include "contacts/customer_form.h"

#include <gtest/gtest.h>

#include "app/main_form.h"
#include "documents/invoice_form.h"
#include "documents/report_form.h"
#include "platform/text_file.h"
#include "platform/user_input.h"
#include "program_fixture.h"
#include "test_files.h"

namespace vantrel {
namespace {

class CustomerTest : public ProgramFixture<> {
 protected:
  CustomerTest() : ProgramFixture("vantrel-customer") {}

  CustomerForm& c() { return app->customer(); }
  std::string cardPath() const { return folder + "/zoe.pcp"; }

  void fillCard() {
    const char* values[] = {"Zoë Łukasiewicz", "0113 555 0199",  "zoe@example.org", "12 Long Lane",
                            "Leeds",           "West Yorkshire", "LS1 4AP"};
    int n = 0;
    for (Control* field : c().cardFields()) setField(*field, values[n++]);
  }
  void click(Control& control, std::optional<std::string> file) {
    platform->dialogResults.push_back(std::move(file));
    userClick(control);
  }
};

TEST_F(CustomerTest, ACardSavedClearedAndOpenedAgainFillsTheJob) {
  launch();
  c().show();
  fillCard();
  c().cmdSave->setEnabled(true);
  click(*c().cmdSave, cardPath());
  EXPECT_EQ(c().customerStatus->text(), "Your Customer Information was saved");
  EXPECT_EQ(slurp(cardPath()),
            "Zo\xC3\xAB \xC5\x81ukasiewicz\r\n0113 555 0199\r\nzoe@example.org\r\n12 Long "
            "Lane\r\nLeeds\r\nWest Yorkshire\r\nLS1 4AP\r\n");

  userClick(*c().cmdDelete);
  for (Control* field : c().cardFields()) EXPECT_EQ(field->text(), "") << field->name();
  EXPECT_FALSE(c().cmdSave->enabled());

  click(*c().cmdAddNew, cardPath());
  EXPECT_EQ(c().customerName->text(), "Zoë Łukasiewicz");
  EXPECT_EQ(c().customerZip->text(), "LS1 4AP");
  EXPECT_EQ(c().customerFilePath->text(), cardPath());
  EXPECT_EQ(c().projectCustomer->text(), "Zoë Łukasiewicz");
  EXPECT_EQ(c().projectAddress->text(), "12 Long Lane");
  EXPECT_EQ(c().projectPhone->text(), "0113 555 0199");
  EXPECT_EQ(c().projectEmail->text(), "zoe@example.org");
  EXPECT_EQ(c().projectDate->text(), "2026-01-05");
  EXPECT_EQ(app->invoice().Name1->text(), "Zoë Łukasiewicz");
  EXPECT_EQ(app->invoice().Address->text(), "12 Long Lane");
  EXPECT_EQ(app->invoice().Phone->text(), "0113 555 0199");
  EXPECT_EQ(app->report().customer->text(), "Zoë Łukasiewicz");
  EXPECT_EQ(m().Text37->text(), "Zoë Łukasiewicz");
  EXPECT_EQ(c().focused(), c().invoiceNumber);
  EXPECT_FALSE(c().Command3->enabled());
}

// The country and VAT ID follow the seven lines and go to the job with the rest.
TEST_F(CustomerTest, ACardKeepsItsCountryAndVatIdAfterItsLines) {
  launch();
  fillCard();
  setField(*c().txtCountry, "United Kingdom");
  setField(*c().txtVatId, "GB123456789");
  c().cmdSave->setEnabled(true);
  click(*c().cmdSave, cardPath());
  EXPECT_EQ(readLines(cardPath()).lines.size(), 9u);
  EXPECT_EQ(readLines(cardPath()).lines[7], "Country=United Kingdom");
  userClick(*c().cmdDelete);
  click(*c().cmdAddNew, cardPath());
  EXPECT_EQ(c().jobCountry->text(), "United Kingdom");
  EXPECT_EQ(c().jobVatId->text(), "GB123456789");
}

TEST_F(CustomerTest, AShortFileFillsOnlyTheLinesItHas) {
  launch();
  writeFile(cardPath(), crlf({"Hale & Sons", "555 0100", "office@hale.example"}));
  click(*c().cmdAddNew, cardPath());
  EXPECT_EQ(c().customerName->text(), "Hale & Sons");
  EXPECT_EQ(c().customerPhone->text(), "555 0100");
  EXPECT_EQ(c().customerEmail->text(), "office@hale.example");
  EXPECT_EQ(c().customerAddress->text(), "");
  EXPECT_EQ(c().customerZip->text(), "");
}

TEST_F(CustomerTest, ACancelledOpenAddsNoEmptyCardButReadsTheNameChosenBefore) {
  launch();
  setField(*c().projectCustomer, "Existing Client");
  setField(*c().projectPhone, "555 0000");
  click(*c().cmdAddNew, std::nullopt);
  EXPECT_EQ(c().projectCustomer->text(), "Existing Client");
  EXPECT_EQ(app->invoice().Phone->text(), "555 0000");
  EXPECT_EQ(c().customerName->text(), "");
  EXPECT_TRUE(c().Command3->enabled());

  fillCard();
  click(*c().cmdSave, cardPath());
  setField(*c().customerName, "Someone Else");
  click(*c().cmdAddNew, std::nullopt);
  EXPECT_EQ(c().customerName->text(), "Zoë Łukasiewicz");
  EXPECT_EQ(c().projectCustomer->text(), "Zoë Łukasiewicz");
}

TEST_F(CustomerTest, SaveCancelledOrFailingSaysSoAndClaimsNothing) {
  launch();
  fillCard();
  click(*c().cmdSave, cardPath());
  // The dialog's name is emptied first: a cancel saves nothing, even after a save.
  setField(*c().customerName, "Changed");
  click(*c().cmdSave, std::nullopt);
  EXPECT_EQ(c().customerStatus->text(), "Please select a file first");
  EXPECT_EQ(slurp(cardPath()).substr(0, 4), "Zo\xC3\xAB");
  EXPECT_EQ(c().customerFilePath->text(), "");

  click(*c().cmdSave, cardPath());
  click(*c().cmdSave, folder + "/missing/zoe.pcp");
  EXPECT_EQ(c().customerStatus->text(),
            "Could not save " + folder + "/missing/zoe.pcp: the folder does not exist");
  EXPECT_EQ(c().customerFilePath->text(), cardPath());
  EXPECT_TRUE(platform->messagesShown.empty());
}

TEST_F(CustomerTest, TheJobsCustomerDataHeadsSheetInvoiceAndReport) {
  launch();
  setField(*c().DTPicker1, "2026-02-03");
  EXPECT_EQ(c().projectDate->text(), "2026-02-03");
  EXPECT_EQ(m().Text35->text(), "2026-02-03");
  EXPECT_EQ(app->report().date->text(), "2026-02-03");
  // The invoice is dated the day it is made.
  EXPECT_EQ(app->invoice().dt->text(), "2026-01-05");
  EXPECT_EQ(m().projectPath->text(), "Save New File");
  EXPECT_TRUE(m().cmdSave->enabled());

  setField(*c().projectName, "Kitchen");
  setField(*c().invoiceNumber, "1042");
  EXPECT_EQ(app->invoice().Project->text(), "Kitchen");
  EXPECT_EQ(app->invoice().Invoicenum->text(), "1042");
  EXPECT_EQ(app->report().invoiceNumber->text(), "1042");
  EXPECT_EQ(m().Text36->text(), "1042");
  EXPECT_EQ(m().Text38->text(), "Kitchen");

  // The project's Clear keeps the date.
  userClick(*c().Command5);
  EXPECT_EQ(c().projectDate->text(), "2026-02-03");
  EXPECT_EQ(c().projectName->text(), "");
  EXPECT_EQ(app->invoice().Invoicenum->text(), "");
  EXPECT_TRUE(c().Command3->enabled());
}

TEST_F(CustomerTest, HelpOpensTheCustomersPageOfTheHelpFolder) {
  launch();
  c().show();
  userClick(*c().Command7);
  ASSERT_FALSE(platform->opened.empty());
  EXPECT_EQ(platform->opened.back(), "file://" + folder + "/help/help9.htm");
  EXPECT_TRUE(fileExists(folder + "/help/help9.htm"));
}

}  // namespace
}  // namespace vantrel
