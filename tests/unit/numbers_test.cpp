// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/numbers.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <string>

#include "platform/headless/headless_services.h"

namespace vantrel {
namespace {

// The headless platform takes the process locale from the environment, as the desktop
// toolkit does; the suite runs again under de_DE and fr_FR, so a missing locale fails here
// instead of letting those runs pass in the C locale.
TEST(Locale, TheHeadlessPlatformTakesTheEnvironmentsLocale) {
  const char* wanted = std::getenv("LC_ALL");
  std::setlocale(LC_ALL, "C");
  HeadlessServices platform("/nonexistent", 0);
  if (wanted == nullptr || *wanted == '\0') GTEST_SKIP() << "LC_ALL is not set";
  EXPECT_EQ(std::string(std::setlocale(LC_NUMERIC, nullptr)), wanted)
      << "is the locale generated? scripts/bootstrap --test generates it";
}

TEST(ParseNumber, AcceptsTheFormsTheSheetWrites) {
  struct Case {
    const char* text;
    double value;
  } cases[] = {
      {"0", 0},
      {"12.5", 12.5},
      {".5", 0.5},
      {"5.", 5},
      {"-3", -3},
      {"+3", 3},
      {"  7  ", 7},
      {"\t7", 7},
      {"1,234.50", 1234.5},
      {"123,456,789.01", 123456789.01},
      {"12,345.50", 12345.5},
      {"1e-400", 0},
      {"1.66666666666667E-02", 1.66666666666667E-02},
      {"2e3", 2000},
      {"2E+03", 2000},
      {"-0", 0},
      {"000.25", 0.25},
  };
  for (const auto& c : cases) {
    auto v = parseNumber(c.text);
    ASSERT_TRUE(v.has_value()) << c.text;
    EXPECT_DOUBLE_EQ(*v, c.value) << c.text;
  }
}

TEST(ParseNumber, RejectsEverythingElse) {
  for (const char* text : {"", " ", ".", "-", "+", "abc", "1a", "1.2.3", "1e", "1e+", "e5", ",5",
                           "1 2", "$5", "5%", "--5", "- 5", "0x10", "inf", "nan", "1e99999",
                           // A decimal comma is not a thousands separator.
                           "12,50", "1,5", "1,,000", "12,", "1,2345", "12,345,67"}) {
    EXPECT_FALSE(parseNumber(text).has_value()) << '"' << text << '"';
  }
}

TEST(ParseNumber, ADecimalCommaSaysHowToWriteTheFigure) {
  EXPECT_EQ(commaMistake("12,50"), "12,50 is not a number here: write 12.50");
  EXPECT_EQ(commaMistake("1.234,5"), "1.234,5 is not a number here: write 1234.5");
  EXPECT_EQ(commaMistake(",5"), ",5 is not a number here: write 0.5");
  EXPECT_EQ(commaMistake("1,5x"),
            "1,5x is not a number here: write digits with a point, as in 12.50");
  for (const char* fine : {"1,250", "12.50", "abc", ""}) EXPECT_FALSE(commaMistake(fine)) << fine;
}

TEST(NumberText, ShortestFormUpToFifteenDigits) {
  EXPECT_EQ(numberText(0), "0");
  EXPECT_EQ(numberText(-0.0), "0");
  EXPECT_EQ(numberText(0.5), "0.5");
  EXPECT_EQ(numberText(30), "30");
  EXPECT_EQ(numberText(2.25), "2.25");
  EXPECT_EQ(numberText(-1.5), "-1.5");
  EXPECT_EQ(numberText(40.0 * 0.75), "30");
  EXPECT_EQ(numberText(0.1 + 0.2), "0.3");  // 15 digits hide the binary tail
  EXPECT_EQ(numberText(123456.78), "123456.78");
  EXPECT_EQ(numberText(0.01), "0.01");
  EXPECT_EQ(numberText(1.0 / 6), "0.166666666666667");
  EXPECT_EQ(numberText(100000000000000.0), "100000000000000");
}

TEST(NumberText, ExponentFormWhenFixedWouldNeedMoreDigits) {
  EXPECT_EQ(numberText(1.0 / 60), "1.66666666666667E-02");
  EXPECT_EQ(numberText(-1.0 / 60), "-1.66666666666667E-02");
  EXPECT_EQ(numberText(1e-20), "1E-20");
  EXPECT_EQ(numberText(1e20), "1E+20");
  // Whatever the form, the text reads back as the same value to 15 digits.
  for (double v : {1.0 / 60, 1.0 / 3, 2.0 / 3 * 1e-5, 123456789.123456, 1e300}) {
    EXPECT_NEAR(*parseNumber(numberText(v)) / v, 1.0, 1e-14) << v;
  }
}

TEST(FormatNumber, ThreePicturesRoundHalfAwayFromZero) {
  EXPECT_EQ(formatNumber("12.5", "0.00"), "12.50");
  EXPECT_EQ(formatNumber(".5", "0.00"), "0.50");
  EXPECT_EQ(formatNumber("1.5", "0.0000"), "1.5000");
  EXPECT_EQ(formatNumber("1.66666666666667E-02", "0.0000"), "0.0167");
  EXPECT_EQ(formatNumber("1.005", "0.00"), "1.01");  // the decimal form decides the half
  EXPECT_EQ(formatNumber("2.675", "0.00"), "2.68");
  EXPECT_EQ(formatNumber("-2.675", "0.00"), "-2.68");
  EXPECT_EQ(formatNumber("0.125", "0.00"), "0.13");
  EXPECT_EQ(formatNumber("0.124999", "0.00"), "0.12");
  EXPECT_EQ(formatNumber("9.995", "0.00"), "10.00");
  EXPECT_EQ(formatNumber("-0.001", "0.00"), "0.00");
  EXPECT_EQ(formatNumber("0", "###,###,###,##0.00"), "0.00");
  EXPECT_EQ(formatNumber("999.999", "###,###,###,##0.00"), "1,000.00");
  EXPECT_EQ(formatNumber("123456.78", "###,###,###,##0.00"), "123,456.78");
  EXPECT_EQ(formatNumber("1234567.89", "###,###,###,##0.00"), "1,234,567.89");
  EXPECT_EQ(formatNumber("-1234567", "###,###,###,##0.00"), "-1,234,567.00");
  // A formatted text formats to itself.
  EXPECT_EQ(formatNumber("1,234,567.89", "###,###,###,##0.00"), "1,234,567.89");
  EXPECT_EQ(formatNumber("1,234.5", "0.00"), "1234.50");
}

TEST(FormatNumber, TextThatDoesNotReadComesBackUnchanged) {
  EXPECT_EQ(formatNumber("", "0.00"), "");
  EXPECT_EQ(formatNumber(".", "0.00"), ".");
  EXPECT_EQ(formatNumber("abc", "0.0000"), "abc");
}

TEST(Cents, ExactAsTheTextStatesIt) {
  EXPECT_EQ(parseCents("123456.78"), 12345678);
  EXPECT_EQ(parseCents("1,234,567.89"), 123456789);
  EXPECT_EQ(parseCents("0"), 0);
  EXPECT_EQ(parseCents("30"), 3000);
  EXPECT_EQ(parseCents("0.005"), 1);
  EXPECT_EQ(parseCents("-0.005"), -1);
  EXPECT_EQ(parseCents("1.66666666666667E-02"), 2);
  EXPECT_EQ(parseCents("0.004"), 0);
  EXPECT_FALSE(parseCents("").has_value());
  EXPECT_FALSE(parseCents("1e30").has_value());
  EXPECT_EQ(centsText(12345678), "123456.78");
  EXPECT_EQ(centsText(3000), "30");
  EXPECT_EQ(centsText(150), "1.5");
  EXPECT_EQ(centsText(-5), "-0.05");
  EXPECT_EQ(centsText(0), "0");
}

}  // namespace
}  // namespace vantrel
