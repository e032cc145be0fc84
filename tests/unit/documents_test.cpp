// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "app/main_form.h"
#include "contacts/customer_form.h"
#include "documents/invoice_form.h"
#include "documents/report_form.h"
#include "platform/text_file.h"
#include "platform/user_input.h"
#include "program_fixture.h"
#include "store/labels_form.h"
#include "store/options_form.h"
#include "test_files.h"
#include "worklog/log_keeper.h"

namespace vantrel {
namespace {

class DocumentsTest : public ProgramFixture<> {
 protected:
  DocumentsTest() : ProgramFixture("vantrel-documents") {}

  InvoiceForm& inv() { return app->invoice(); }
  ReportForm& rep() { return app->report(); }

  void amounts(std::initializer_list<const char*> values) {
    int i = 1;
    for (const char* v : values) setField(*m().categoryAmount[i++], v);
  }
  // Answers queued, then the menu entry chosen.
  void choose(MenuItem* entry, std::initializer_list<Answer> replies,
              std::optional<std::string> file = std::nullopt) {
    for (Answer a : replies) platform->answers.push_back(a);
    if (file) platform->dialogResults.push_back(file);
    userClick(*entry);
  }
  std::string lastPage() const {
    return platform->pagesPrinted.empty() ? "" : platform->pagesPrinted.back();
  }
  static bool has(const std::string& page, const std::string& line) {
    return page.find(line + "\n") != std::string::npos;
  }
};

TEST_F(DocumentsTest, TheTotalAddsTheSevenAmountsExactly) {
  launch();
  EXPECT_EQ(inv().total->text(), "");  // until an amount reaches the invoice
  EXPECT_EQ(inv().amount[3]->text(), "0.00");

  amounts({"10", "20.5", "0", "0", "0", "0", "0"});
  EXPECT_EQ(inv().total->text(), "30.50");
  EXPECT_EQ(inv().amount[2]->text(), "20.50");

  // Binary floating point would make 123456.80 of this.
  amounts({"100000.00", "23456.78"});
  EXPECT_EQ(inv().total->text(), "123456.78");
  amounts({"1234567.89", "0"});
  EXPECT_EQ(inv().total->text(), "1234567.89");

  // The job's minimum amount is in its total cost, not in the bill's total.
  setField(*m().minimumAmount, "25");
  EXPECT_EQ(inv().total->text(), "1234567.89");

  // A non-number leaves the total as it was.
  setField(*inv().amount[4], "n/a");
  EXPECT_EQ(inv().total->text(), "1234567.89");
}

TEST_F(DocumentsTest, PrintingAsksFirstAndLaysThePageOutFromTheSheetsCorner) {
  launch();
  setField(*m().categoryRate[2], "55");
  setField(*m().categorySelected[3], "");  // a category without a name keeps its row
  amounts({"10", "20.5"});

  choose(m().pntInv, {Answer::No});
  EXPECT_EQ(platform->messagesShown.back(), "confirm printing on Headless Printer");
  EXPECT_EQ(platform->printJobs, 0);

  choose(m().pntInv, {Answer::Yes});
  ASSERT_EQ(platform->printJobs, 1);
  const std::string page = lastPage();
  // The frame's corner: 1 cm in and 1.5 cm down on a 21 x 29.7 cm printable area.
  EXPECT_TRUE(has(page, "line 1.00 1.50 19.30 1.50"));
  EXPECT_TRUE(has(page, "text 8.40 9.80 Arial 10 bold \"55.00\""));
  EXPECT_TRUE(has(page, "text 10.70 9.80 Arial 10 bold \"20.50\""));
  EXPECT_TRUE(has(page, "text 1.50 10.30 Arial 10 bold \"\""));
  EXPECT_TRUE(has(page, "text 10.70 10.30 Arial 10 bold \"0.00\""));
  EXPECT_TRUE(has(page, "text 15.60 17.30 Arial 10 bold \"30.50\""));
  EXPECT_TRUE(has(page, "text 7.70 18.50 Arial 8 bold \"This Invoice was prepared by Vantrel\""));
  // Seven rows always, the "@" signs and the total hours never.
  EXPECT_TRUE(has(page, "text 10.00 12.30 Arial 10 bold \"=\""));
  EXPECT_EQ(page.find("\"@\""), std::string::npos);

  // A smaller printable area, centred on the sheet: the page moves with its corner while the
  // title stays centred on the sheet.
  platform->printerArea = PrintArea{20, 28.7};
  choose(m().pntInv, {Answer::Yes});
  EXPECT_TRUE(has(lastPage(), "line 1.50 2.00 19.80 2.00"));
  const double titleWidth = platform->textWidth("Invoice", PrintFont{"Arial", 14, true});
  PageItem title;
  title.kind = PageItem::Kind::Text;
  title.x1 = (21 - titleWidth) / 2;
  title.y1 = 2.3;
  title.text = "Invoice";
  title.font = PrintFont{"Arial", 14, true};
  EXPECT_TRUE(has(lastPage(), title.describe())) << lastPage();
}

TEST_F(DocumentsTest, ViewAndPrintFillTheNamesRatesAndTheCustomersAddress) {
  launch();
  setField(*m().categoryRate[1], "40");
  CustomerForm& c = app->customer();
  setField(*c.customerAddress, "1 Park Row");
  setField(*c.customerCity, "Leeds");
  setField(*c.customerState, "West Yorkshire");
  setField(*c.customerZip, "LS1 4AP");
  EXPECT_EQ(inv().rate[1]->text(), "");  // not until the invoice is viewed or printed

  // A job without an address of its own is billed to the card's.
  userClick(*m().View);
  EXPECT_TRUE(inv().visible());
  EXPECT_EQ(inv().categoryName[1]->text(), "Hours");
  EXPECT_EQ(inv().rate[1]->text(), "40.00");
  EXPECT_EQ(inv().Address->text(), "1 Park Row");
  EXPECT_EQ(inv().Text25->text(), "LS1 4AP");
  EXPECT_EQ(inv().Text26->text(), "Leeds");
  EXPECT_EQ(inv().Text24->text(), "West Yorkshire");

  // The date is the day the job's date last changed, not the day of printing.
  setField(*c.projectDate, "2026-01-04");
  platform->advance(2 * 24 * 3600 * 1000LL);
  choose(m().pntInv, {Answer::Yes});
  const std::string page = lastPage();
  EXPECT_TRUE(has(page, "text 2.50 7.50 Arial 10 bold \"2026-01-05\""));
  EXPECT_TRUE(has(page, "text 1.35 4.70 Arial 10 bold \"1 Park Row\""));
  EXPECT_NE(page.find("text 1.35 5.70 Arial 10 bold \"West Yorkshire\""), std::string::npos);

  // A click on the background hides the window and keeps what it holds.
  runRule(inv().onClick);
  EXPECT_FALSE(inv().visible());
  EXPECT_EQ(inv().Text26->text(), "Leeds");
}

// A US invoice with payment terms and its work log: the due date beside the date, an ISO
// currency after the amounts, the rows that bill nothing left out and the entries on a page
// of their own.
TEST_F(DocumentsTest, ADetailedInvoiceStatesItsTermsCurrencyAndWork) {
  platform->write("Ploven", "Settings", "Currency", "USD");
  launch();
  setField(*app->options().txtTerms, "30");
  setField(*m().categoryRate[2], "55");
  amounts({"0", "137.5"});
  const std::int64_t start = platform->utcMs() - 3600000;
  ASSERT_EQ(m().log->addManual(start, start + 1800000, "Site visit"), "");
  inv().chkLog->setValue(1);
  choose(m().pntInv, {Answer::Yes});
  const std::string page = lastPage();
  // Dated the day it is issued, due 30 days later.
  EXPECT_TRUE(has(page, "text 2.50 7.85 Arial 10 bold \"2026-01-05\""));
  EXPECT_TRUE(has(page, "text 7.90 7.85 Arial 10 bold \"2026-02-04\""));
  EXPECT_TRUE(has(page, "text 10.70 10.60 Arial 10 bold \"137.50 USD\""));
  // The first category bills the logged half hour, the second its amount, no other a row.
  EXPECT_EQ(page.find("Your Text Here"), page.rfind("Your Text Here"));
  EXPECT_TRUE(has(page, "page"));
  EXPECT_NE(page.find("\"Site visit\""), std::string::npos);
  EXPECT_NE(page.find("\"0.50\""), std::string::npos);
}

TEST_F(DocumentsTest, WithoutAPrinterTheBillCanBeAPdfFile) {
  platform->printerInstalled = false;
  launch();
  setField(*app->customer().invoiceNumber, "2026/17");
  const std::string pdf = folder + "/Invoice-2026-17.pdf";

  choose(m().pntInv, {Answer::No});
  EXPECT_EQ(platform->messagesShown.back(), "No printer is available. Save as a PDF file instead?");
  EXPECT_TRUE(platform->dialogsShown.empty());

  choose(m().pntInv, {Answer::Yes}, pdf);
  ASSERT_EQ(platform->dialogsShown.size(), 1u);
  EXPECT_EQ(platform->dialogsShown[0].proposed, "Invoice-2026-17.pdf");
  EXPECT_EQ(platform->dialogsShown[0].filter, "PDF (*.pdf)|*.pdf");
  EXPECT_EQ(platform->dialogsShown[0].folder, folder);
  EXPECT_EQ(platform->pdfsWritten, std::vector<std::string>{pdf});
  EXPECT_EQ(platform->messagesShown.size(), 2u);  // no confirmation about a printer

  choose(m().pntReport, {Answer::Yes}, folder + "/Report-2026-17.pdf");
  EXPECT_EQ(platform->dialogsShown.back().proposed, "Report-2026-17.pdf");
  EXPECT_EQ(platform->pdfsWritten.back(), folder + "/Report-2026-17.pdf");
}

TEST_F(DocumentsTest, AnExportAsksBeforeReplacingAndTellsOfEveryFailure) {
  launch();
  const std::string pdf = folder + "/Invoice.pdf";
  writeFile(pdf, "old");

  // The job had no number: it has the next one, and the file its name.
  choose(m().pdfInv, {Answer::No}, pdf);
  EXPECT_EQ(inv().Invoicenum->text(), "2026-001");
  EXPECT_EQ(platform->dialogsShown.back().proposed, "Invoice-2026-001.pdf");
  EXPECT_EQ(platform->messagesShown.back(), "File Exists, Would you like to Overwrite?");
  EXPECT_EQ(platform->messageTitles.back(), "OverWrite File");
  EXPECT_EQ(slurp(pdf), "old");

  choose(m().pdfInv, {}, std::nullopt);  // a cancel writes nothing
  EXPECT_EQ(slurp(pdf), "old");

  choose(m().pdfInv, {Answer::Yes}, pdf);
  EXPECT_NE(slurp(pdf), "old");
  EXPECT_EQ(platform->printJobs, 1);

  const std::string nowhere = folder + "/gone/Report.pdf";
  choose(m().pdfReport, {}, nowhere);
  EXPECT_EQ(platform->messagesShown.back(),
            "Could not save " + nowhere + ": the folder does not exist");

  platform->printerFailure = "the printer is out of paper";
  choose(m().pntReport, {});
  EXPECT_EQ(platform->messagesShown.back(), "Printing failed: the printer is out of paper");
  choose(m().pntInv, {Answer::Yes});
  EXPECT_EQ(platform->messagesShown.back(), "Printing failed: the printer is out of paper");
  EXPECT_EQ(platform->printJobs, 1);
}

TEST_F(DocumentsTest, TheReportFollowsTheJobAndKeepsTheNamesItWasMadeWith) {
  launch();
  setField(*m().categoryRate[2], "1234.5");
  m().categorySelected[2]->setValue(1);
  setField(*m().categoryHours[2], "1");
  EXPECT_EQ(rep().hours[2]->text(), "1");
  EXPECT_EQ(rep().cost[2]->text(), "1234.50");
  EXPECT_EQ(rep().totalCost->text(), "1,234.50");

  // Thin lines between the rows, and between names, hours and costs.
  EXPECT_EQ(rep().control("Line1").geometry(), (Geometry{960, 2520, 3360, 0}));
  EXPECT_EQ(rep().control("Line7").geometry(), (Geometry{960, 4680, 3360, 0}));
  EXPECT_EQ(rep().control("Line9").geometry(), (Geometry{3000, 1920, 0, 3120}));

  const std::string before = rep().categoryName[2]->text();
  setField(*app->labels().labelText[2], "Design");
  EXPECT_EQ(rep().categoryName[2]->text(), before);

  // Printed without a question, never having been shown: the window's texts and lines,
  // half as large again and centred across the sheet, under the invoice's top margin.
  choose(m().pntReport, {});
  EXPECT_FALSE(rep().visible());
  EXPECT_TRUE(platform->messagesShown.empty());
  const std::string page = lastPage();
  const double cm = 2.54 / 1440 * 1.5;
  PageItem line;
  line.kind = PageItem::Kind::Line;
  line.x1 = (21 - 5595 * cm) / 2 + 960 * cm;
  line.y1 = 1.5 + 2520 * cm;
  line.x2 = line.x1 + 3360 * cm;
  line.y2 = line.y1;
  EXPECT_TRUE(has(page, line.describe())) << page;
}

}  // namespace
}  // namespace vantrel
