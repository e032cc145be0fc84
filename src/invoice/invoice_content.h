// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "invoice/tax_panel.h"
#include "platform/translation.h"

namespace vantrel {

class Vantrel;
class WorkLog;

// A work entry as the invoice's work-log page lists it.
struct WorkLine {
  std::string date, from, to, hours, note;
};

// What an invoice states beyond the job sheet's figures: the issuer's and the customer's
// tax details, the dates, the tax and the notes. With none of them set the invoice is the
// plain one the program has always printed.
struct InvoiceContent {
  bool detailed = false;                  // any detail set: the page that carries them
  Language language = Language::English;  // the customer's: captions, dates, figures
  TaxTreatment treatment = TaxTreatment::None;
  std::string rate;                        // "19", where VAT is charged
  std::optional<std::int64_t> net;         // cents: the total, when it reads
  std::int64_t tax = 0, gross = 0;         // cents
  std::string issuerTaxLine;               // "VAT ID DE123456789" or "Tax No. 12/345/67890"
  std::string issuerCountry, issuerEmail;  //
  std::string customerCountry, customerVatId;
  std::string issueIso;     // the day it is (or was first) issued, YYYY-MM-DD
  std::string period;       // "2026-12-01 – 2026-12-09", in the desktop's date format
  std::string due;          // the due date, where payment terms are set
  std::string bankLine;     // holder, IBAN and BIC
  std::string note;         // the note of a treatment without VAT
  std::string code;         // the currency as an ISO code (EUR), printed after amounts
  bool programLine = true;  // the footer line naming the program
  bool logPage = false;     // pages listing the work entries of the period
};

InvoiceContent invoiceContent(Vantrel& app);

// The entries since the log's last reset as the work-log pages list them: runs and manual
// entries with their times, time added or taken by hand by its kind, so they add up to the
// clock; and their hours in all.
std::vector<WorkLine> workLines(Vantrel& app, std::string& totalHours);

// The first and last day (local dates, as day numbers) of the runs and manual entries since
// the log's last reset; nothing when there are none.
std::optional<std::pair<std::int64_t, std::int64_t>> workPeriod(const WorkLog& log);

// Today as YYYY-MM-DD on this computer's clock.
std::string todayIso(Vantrel& app);
// A YYYY-MM-DD day in the desktop's date format; other text as it is.
std::string shownDate(Vantrel& app, const std::string& iso);
// The same day as the job's invoice and report write it, in their customer's language.
std::string documentDate(Vantrel& app, const std::string& iso);

// Hours as the detailed invoice shows them: two decimals ("2.50"); other text as it is.
std::string twoDecimals(const std::string& hours);

}  // namespace vantrel
