// SPDX-License-Identifier: GPL-3.0-or-later
#include "invoice/invoice_rules.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "invoice/invoice_register.h"
#include "sheet/numbers.h"
#include "test_files.h"

namespace vantrel {
namespace {

struct Checked {
  const char* text;
  const char* problem;  // empty when the text is right
};

TEST(InvoiceRules, IbanProblems) {
  const Checked cases[] = {
      {"DE89 3704 0044 0532 0130 00", ""},
      {"gb82 west 1234 5698 7654 32", ""},
      {"FR14\xC2\xA0"
       "2004 1010 0505 0001 3M02 606",
       ""},
      {"NL91ABNA0417164300", ""},
      {"CH9300762011623852957", ""},
      {"BE68539007547034", ""},
      {"IT60X0542811101000000123456", ""},
      {"DE97370400440532013050", ""},
      {"", ""},
      {"DE89 3704 0044 0532 0130 0",
       "DE89 3704 0044 0532 0130 0 is too short for a German IBAN: it has 21 characters, and a "
       "German IBAN has 22."},
      {"AT61 1904 3002 3457 3201 0",
       "AT61 1904 3002 3457 3201 0 is too long for an Austrian IBAN: it has 21 characters, and "
       "an Austrian IBAN has 20."},
      {"DE88370400440532013000",
       "The check digits of DE88 3704 0044 0532 0130 00 do not match: a character is probably "
       "mistyped."},
      // 00 leaves the same remainder as the right 97, but no IBAN is written with it.
      {"DE00370400440532013050",
       "The check digits of DE00 3704 0044 0532 0130 50 do not match: a character is probably "
       "mistyped."},
      {"XX12 3456", "XX12 3456 is not an IBAN: it does not start with a country's code."},
      {"EL12 3456", "EL12 3456 is not an IBAN: it does not start with a country's code."},
      {"DE89-3704-0044-0532-0130-00",
       "DE89-3704-0044-0532-0130-00 holds characters that no IBAN has: only letters and digits."},
  };
  for (const Checked& c : cases) EXPECT_EQ(ibanProblem(c.text), c.problem) << c.text;
  EXPECT_EQ(ibanGrouped(" fr1420041010050500013m02606 "), "FR14 2004 1010 0505 0001 3M02 606");
}

TEST(InvoiceRules, BicProblems) {
  const Checked cases[] = {
      {"DEUTDEFF", ""},
      {"deut de ff 500", ""},
      {"DEUTDEFF5", "DEUTDEFF5 is not a BIC: a BIC has 8 or 11 characters, and this has 9."},
      {"DEUT1EFF",
       "DEUT1EFF is not a BIC: a BIC is 4 letters for the bank, 2 for the country, then 2 "
       "letters or digits for the place and perhaps 3 for the branch."},
  };
  for (const Checked& c : cases) EXPECT_EQ(bicProblem(c.text), c.problem) << c.text;
}

TEST(InvoiceRules, VatIdShapes) {
  const Checked cases[] = {
      {"DE 123 456 789", ""},
      {"FR40303265045", ""},
      {"GB123456789", ""},
      {"GB 123 4567 89 012", ""},
      {"GBGD001", ""},
      {"XI123456789", ""},
      {"ATU12345678", ""},
      {"NL123456789B01", ""},
      {"IT12345678901", ""},
      {"ESA1234567B", ""},
      {"ES12345678Z", ""},
      {"EL123456789", ""},
      {"CHE-123.456.789 MWST", ""},
      {"che123456789", ""},
      {"NO 123 456 789 MVA", ""},
      {"", ""},
      {"DE12345678", "DE12345678 does not have the shape of a German VAT ID: DE and 9 digits."},
      {"AT12345678", "AT12345678 does not have the shape of an Austrian VAT ID: ATU and 8 digits."},
      {"NL123456789",
       "NL123456789 does not have the shape of a Dutch VAT ID: NL, 9 digits, B and 2 digits."},
      {"ES123456789",
       "ES123456789 does not have the shape of a Spanish VAT ID: ES and 9 characters: a letter "
       "or digit, 7 digits and a letter or digit, not both digits."},
      {"IT1234567890",
       "IT1234567890 does not have the shape of an Italian VAT ID: IT and 11 digits."},
      {"GB12345678",
       "GB12345678 does not have the shape of a British VAT ID: GB and 9 or 12 digits, or GBGD "
       "or GBHA and 3 digits."},
      {"CHE123456789XYZ",
       "CHE123456789XYZ does not have the shape of a Swiss VAT ID: CHE and 9 digits, perhaps "
       "followed by MWST, TVA or IVA."},
      {"GR123456789", "GR123456789 does not have the shape of a Greek VAT ID: EL and 9 digits."},
      {"1234", "1234 does not start with a country's code (such as DE, FR or GB)."},
      {"US123",
       "US123 does not start with a code Vantrel knows for VAT IDs (such as DE, FR or GB)."},
  };
  for (const Checked& c : cases) EXPECT_EQ(vatIdProblem(c.text), c.problem) << c.text;
}

TEST(InvoiceRules, RatesReadAsTypedAndShowWithAPoint) {
  const struct {
    const char* text;
    std::optional<std::int64_t> thousandths;
  } cases[] = {
      {"19", 19000}, {"5.5", 5500},   {"7,7", 7700}, {" 20 %", 20000},
      {"0", 0},      {"100", 100000}, {"0.001", 1},  {"7.2500", 7250},
      {"", {}},      {"100.001", {}}, {"101", {}},   {"1.2345", {}},
      {"-5", {}},    {"5.", {}},      {"1.2.3", {}}, {"%", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(rateThousandths(c.text), c.thousandths) << c.text;
  for (const char* shown : {"19", "5.5", "7.25", "0.001", "0", "100"}) {
    EXPECT_EQ(rateText(*rateThousandths(shown)), shown);
  }
}

TEST(InvoiceRules, TaxRoundsHalfAwayFromZeroExactly) {
  const struct {
    std::int64_t net, rate, tax;
  } cases[] = {
      {50, 1000, 1},  // half a cent
      {49, 1000, 0},
      {-50, 1000, -1},
      {1050, 19000, 200},  // 199.5
      {-1050, 19000, -200},
      {999, 5500, 55},  // 54.945
      {1234, 7700, 95},
      {kLargestCents, 19000, 19'000'000'000'000},  // 18,999,999,999,999.81
      {kLargestCents, 100000, kLargestCents},
      {kLargestCents, 0, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(taxCents(c.net, c.rate), c.tax) << c.net << " at " << c.rate;
  }
  EXPECT_EQ(moneyText(123456), "1234.56");
  EXPECT_EQ(moneyText(-5), "-0.05");
  EXPECT_EQ(moneyText(kLargestCents), "999999999999.99");
}

TEST(InvoiceRules, NumberPatterns) {
  EXPECT_EQ(patternProblem(kDefaultNumberPattern), "");
  EXPECT_EQ(patternProblem("YYYY-"),
            "The number pattern needs a run of N for the counter, as in YYYY-NNN.");
  EXPECT_EQ(patternProblem("INV-YYYY-NNN"),
            "The number pattern has more than one run of N: put letters meant as text in "
            "quotes, as in \"INV\"-YYYY-NNN.");
  EXPECT_NE(patternProblem("\"INV-YYYY-NNN"), "");
  EXPECT_EQ(patternNumber("\"INV\"/YY-MM/NN", 2024, 3, 123), "INV/24-03/123");

  const std::vector<std::string> taken = {"2024-001", "2024-009", "2023-050", "2024-0100",
                                          "foo",      "2024-01x", "",         "INV-2024-077"};
  EXPECT_EQ(nextInvoiceNumber("YYYY-NNN", 2024, 11, taken), "2024-010");
  EXPECT_EQ(nextInvoiceNumber("YYYY-NNN", 2025, 1, taken), "2025-001");
  EXPECT_EQ(nextInvoiceNumber("YYYY-NNN", 2024, 5, {"2024-999"}), "2024-1000");
  EXPECT_EQ(patternCounter("YYYY-NNN", "2024-1000", 2024, 5), 1000);
  // Without a year in it the counter runs on over the years; with the month it restarts.
  EXPECT_EQ(nextInvoiceNumber("NNNN", 2025, 1, {"0041", "0007"}), "0042");
  EXPECT_EQ(nextInvoiceNumber("YYYYMM-NN", 2024, 12, {"202411-07", "202412-02"}), "202412-03");
}

TEST(InvoiceRules, DatesPlusDays) {
  const struct {
    const char* date;
    int days;
    std::optional<std::string> later;
  } cases[] = {
      {"2024-01-31", 30, "2024-03-01"},
      {"2023-01-31", 30, "2023-03-02"},
      {"2024-12-17", 30, "2025-01-16"},
      {"2024-02-29", 365, "2025-02-28"},
      {"2024-03-01", -1, "2024-02-29"},
      {"2023-02-29", 0, {}},
      {"2024-1-05", 0, {}},
      {"2024-13-01", 14, {}},
  };
  for (const auto& c : cases) EXPECT_EQ(isoDatePlusDays(c.date, c.days), c.later) << c.date;
}

class InvoiceRegisterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = std::filesystem::path(::testing::TempDir()) /
          ("vantrel-invoices-" + std::to_string(::getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    path = registerPath((dir / "prices.txt").string());
  }
  void TearDown() override { std::filesystem::remove_all(dir); }

  std::filesystem::path dir;
  std::string path;
  const IssuedInvoice sample{"2024-007", "2024-11-05", "Zoë\tand\r\nCo 100%", "Site", -500, -95,
                             -595,       "EUR",        "/home/z/site.pcl"};
  const std::string sampleLine =
      "2024-007\t2024-11-05\tZoë%09and%0D%0ACo 100%25\tSite\t-5.00\t-0.95\t-5.95\tEUR\t"
      "/home/z/site.pcl";
};

TEST_F(InvoiceRegisterTest, LiesBesideThePriceList) {
  EXPECT_EQ(path, (dir / "invoices.txt").string());
  EXPECT_EQ(registerPath("prices.txt"), "invoices.txt");
  EXPECT_EQ(registerPath("/prices.txt"), "/invoices.txt");
}

TEST_F(InvoiceRegisterTest, AppendsAfterTheOldBytesAsTheyAre) {
  RegisterRead none = readRegister(path);
  EXPECT_TRUE(none.opened);
  EXPECT_TRUE(none.invoices.empty());

  // Line ends as the file has them, and a last line left without one stays whole.
  const std::string old =
      "Number\tDate\tCustomer\tProject\tNet\tTax\tGross\tCurrency\tFile\n"
      "2024-001\t2024-01-02\tAcme\t\t100.00\t19.00\t119.00\tEUR\ta.pcl\n"
      "damaged line\n"
      "2024-002\t2024-02-30\tAcme\t\t1.00\t0.19\t1.19\tEUR\tb.pcl";
  writeFile(path, old);
  ASSERT_TRUE(appendToRegister(path, sample));
  ASSERT_TRUE(appendToRegister(path, sample));
  EXPECT_EQ(slurp(path), old + "\n" + sampleLine + "\n" + sampleLine + "\n");

  RegisterRead read = readRegister(path);
  ASSERT_TRUE(read.opened);
  EXPECT_EQ(read.damaged, 2);
  ASSERT_EQ(read.invoices.size(), 3u);
  EXPECT_EQ(read.invoices[0].gross, 11900);
  const IssuedInvoice& back = read.invoices[2];
  EXPECT_EQ(back.customer, sample.customer);
  EXPECT_EQ(back.tax, sample.tax);
  EXPECT_EQ(back.file, sample.file);
}

TEST_F(InvoiceRegisterTest, ANewRegisterStartsWithItsHeader) {
  ASSERT_TRUE(appendToRegister(path, sample));
  EXPECT_EQ(slurp(path),
            crlf({"Number\tDate\tCustomer\tProject\tNet\tTax\tGross\tCurrency\tFile", sampleLine}));
}

TEST_F(InvoiceRegisterTest, AnUnreadableRegisterIsLeftAlone) {
  std::filesystem::create_directory(path);
  RegisterRead read = readRegister(path);
  EXPECT_FALSE(read.opened);
  EXPECT_EQ(read.error, "Could not read the invoice register " + path + ": it is a folder.");
  WriteResult written = appendToRegister(path, sample);
  EXPECT_FALSE(written);
  EXPECT_EQ(written.error, "the invoice register there could not be read: it is a folder");
  EXPECT_TRUE(std::filesystem::is_directory(path));
}

TEST(InvoiceRegister, CsvForEitherDecimalSeparator) {
  const std::vector<IssuedInvoice> invoices = {
      {"2024-001", "2024-01-02", "=cmd|'/c calc'!A1", "Site, stage 2", 123456, 23457, 146913, "EUR",
       "a.pcl"},
      {"2024-002", "2024-01-03", "Acme", "", -500, -95, -595, "EUR", ""},
  };
  EXPECT_EQ(registerCsv(invoices, '.'),
            "\xEF\xBB\xBFNumber,Date,Customer,Project,Net,Tax,Gross,Currency,File\r\n"
            "2024-001,2024-01-02,'=cmd|'/c calc'!A1,\"Site, stage 2\",1234.56,234.57,1469.13,"
            "EUR,a.pcl\r\n"
            "2024-002,2024-01-03,Acme,,-5.00,-0.95,-5.95,EUR,\r\n");
  EXPECT_EQ(registerCsv(invoices, ','),
            "\xEF\xBB\xBFNumber;Date;Customer;Project;Net;Tax;Gross;Currency;File\r\n"
            "2024-001;2024-01-02;'=cmd|'/c calc'!A1;Site, stage 2;1234,56;234,57;1469,13;EUR;"
            "a.pcl\r\n"
            "2024-002;2024-01-03;Acme;;-5,00;-0,95;-5,95;EUR;\r\n");
}

}  // namespace
}  // namespace vantrel
