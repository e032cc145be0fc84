// SPDX-License-Identifier: GPL-3.0-or-later
// Random jobs of every kind of text go through the program's writers and back through its
// readers: every stored field returns as written (a CR or LF inside a value as a space), and
// what was read writes the very same bytes again.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "app/main_form.h"
#include "clock/settings_form.h"
#include "contacts/company_form.h"
#include "contacts/customer_form.h"
#include "program_fixture.h"
#include "store/labels_form.h"
#include "store/options_form.h"
#include "store/price_list.h"
#include "store/project_file.h"
#include "test_files.h"

namespace vantrel {
namespace {

// How many jobs: VANTREL_ROUND_TRIPS, else a short run (`make reliability` runs 10,000).
int roundTrips() {
  const char* set = std::getenv("VANTREL_ROUND_TRIPS");
  return set != nullptr ? std::atoi(set) : 400;
}

class RandomText {
 public:
  explicit RandomText(std::uint64_t seed) : rng_(seed) {}

  int below(int n) { return static_cast<int>(rng_() % static_cast<std::uint64_t>(n)); }

  std::string text() {
    switch (below(8)) {
      case 0:
        return "";
      case 1: {  // very long
        std::string out;
        const int size = 1000 + below(4000);
        while (static_cast<int>(out.size()) < size) out += piece();
        return out;
      }
      case 2:
        return std::string(1 + below(3), ' ') + words() + std::string(below(3), ' ');
      case 3:
        return number();
      default:
        return words();
    }
  }

  std::string number() {
    static const char* const kNumbers[] = {"0",    "1",   "2.5",   "007",  "12.25", "0.10",
                                           "1e3",  "-0",  "3,50",  " 4 ",  "99999", "1.005",
                                           "&H10", "0x1", "00000", "-7.5", "1E-2",  "٣"};
    return kNumbers[below(std::size(kNumbers))];
  }

 private:
  std::string piece() {
    static const char* const kPieces[] = {
        "Oak", " ",    "Street",   "12",    ",",      "\"",    "'",   "&",        "%",
        "\t",  "café", "€",        "naïve", "Œuvre",  "‰",     "–",   "“quoted”", "ß",
        "Ã©",  "Â£",   "Ελληνικά", "東京",  "Привет", "مرحبا", "😀",   "𝄞",        "\r\n",
        "\r",  "\n",   "\u0081",   "ÿ",     "\u00a0", "1.50",  "0042"};
    return kPieces[below(std::size(kPieces))];
  }
  std::string words() {
    std::string out;
    for (int n = 1 + below(8); n > 0; --n) out += piece();
    return out;
  }

  std::mt19937_64 rng_;
};

std::string asStored(std::string text) {
  for (char& c : text) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return text;
}

// Files go to memory where the system has it: syncing ten thousand jobs to a disk proves
// nothing more and takes minutes.
std::string fastFolderStem() {
  std::error_code ec;
  if (std::filesystem::is_directory("/dev/shm", ec)) return "/dev/shm/vantrel-round";
  return "vantrel-round";
}

class RoundTripTest : public ProgramFixture<> {
 protected:
  RoundTripTest() : ProgramFixture(fastFolderStem()) {}

  // A second program, started beside the first, that reads what the first wrote.
  struct Reader {
    explicit Reader(const std::string& folder)
        : platform(folder, *parseDateTime("2026-01-05 09:00:00")), app(platform.services()) {
      platform.write("Ploven", "Settings", "SLA", "1");
      app.start();
      platform.advance(1500);
    }
    HeadlessServices platform;
    Vantrel app;
  };

  void fillJob(RandomText& random) {
    MainForm& main = m();
    for (int i = 1; i <= 7; ++i) {
      setField(*main.categoryHours[i], random.number());
      setField(*main.categoryRate[i], random.number());
      setField(*app->options().priceListRate[i], random.number());
      setField(*app->labels().labelText[i], random.text());
    }
    setField(*main.minuteCounter, std::to_string(random.below(100000)));
    CustomerForm& c = app->customer();
    for (Control* field : c.cardFields()) setField(*field, random.text());
    for (Control* field :
         {c.projectCustomer, c.projectName, c.projectDate, c.invoiceNumber, c.projectPhone,
          c.projectAddress, c.projectZip, c.projectCity, c.projectState, c.projectEmail}) {
      setField(*field, random.text());
    }
    CompanyForm& company = app->company();
    for (Control* field : {company.companyName, company.companyPhone, company.companyStreet,
                           company.companyTown, company.companyState, company.companyZip}) {
      setField(*field, random.text());
    }
    setField(*app->options().launchProgramPath, random.text());
  }
};

TEST_F(RoundTripTest, EveryFieldComesBackAsWrittenAndWritesTheSameBytesAgain) {
  Reader reader(folder);
  RandomText random(20261208);
  const std::string project = folder + "/job.pcl";
  const std::string prices = folder + "/prices.pql";
  const std::string card = folder + "/card.pcp";
  const int jobs = roundTrips();
  for (int job = 0; job < jobs; ++job) {
    SCOPED_TRACE("job " + std::to_string(job));
    fillJob(random);
    const std::vector<std::string> projectWritten = projectLines(*app);
    const std::vector<std::string> pricesWritten = priceListLines(*app);
    const std::vector<std::string> cardWritten = customerLines(app->customer());
    ASSERT_TRUE(writeProject(*app, project));
    ASSERT_TRUE(savePriceList(*app, prices));
    ASSERT_TRUE(writeLines(card, cardWritten));
    const std::string projectBytes = slurp(project);
    const std::string pricesBytes = slurp(prices);
    const std::string cardBytes = slurp(card);

    readProject(reader.app, project);
    loadPriceList(reader.app, prices);
    readCustomer(reader.app.customer(), card);
    auto stored = [](std::vector<std::string> lines) {
      for (std::string& line : lines) line = asStored(line);
      return lines;
    };
    ASSERT_EQ(projectLines(reader.app), stored(projectWritten));
    ASSERT_EQ(priceListLines(reader.app), stored(pricesWritten));
    ASSERT_EQ(customerLines(reader.app.customer()), stored(cardWritten));

    ASSERT_TRUE(writeProject(reader.app, project));
    ASSERT_TRUE(savePriceList(reader.app, prices));
    ASSERT_TRUE(writeLines(card, customerLines(reader.app.customer())));
    ASSERT_EQ(slurp(project), projectBytes);
    ASSERT_EQ(slurp(prices), pricesBytes);
    ASSERT_EQ(slurp(card), cardBytes);
  }
}

}  // namespace
}  // namespace vantrel
