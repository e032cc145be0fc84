// SPDX-License-Identifier: GPL-3.0-or-later
#include "invoice/invoice_content.h"

#include <cstdio>

#include "app/main_form.h"
#include "app/vantrel.h"
#include "contacts/company_form.h"
#include "contacts/customer_form.h"
#include "documents/document_language.h"
#include "documents/invoice_form.h"
#include "invoice/invoice_rules.h"
#include "sheet/numbers.h"
#include "store/options_form.h"
#include "store/user_settings.h"
#include "worklog/log_keeper.h"
#include "worklog/work_log.h"

namespace vantrel {
namespace {

bool isoCode(const std::string& sign) {
  if (sign.size() != 3) return false;
  for (char c : sign) {
    if (c < 'A' || c > 'Z') return false;
  }
  return true;
}

// What time added or taken by hand is called on the work log's pages.
const char* kindCaption(EntryKind kind) {
  switch (kind) {
    case EntryKind::Adjustment:
      return N_("Adjustment");
    case EntryKind::Minimum:
      return N_("Minimum");
    case EntryKind::Correction:
      return N_("Correction");
    case EntryKind::CarriedOver:
      return N_("Carried over");
    case EntryKind::AwayRemoved:
      return N_("Away removed");
    default:
      return N_("Time");
  }
}

bool isWork(EntryKind kind) {
  return kind == EntryKind::Run || kind == EntryKind::Manual;
}

std::string hourMinute(const LocalMoment& m) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d:%02d", m.hour, m.minute);
  return text;
}

}  // namespace

std::string todayIso(Vantrel& app) {
  return dayText(localMoment(app.services().clock.utcMs()).dayNumber);
}

std::string shownDate(Vantrel& app, const std::string& iso) {
  int y = 0, m = 0, d = 0;
  char end = 0;
  if (std::sscanf(iso.c_str(), "%4d-%2d-%2d%c", &y, &m, &d, &end) != 3) return iso;
  return app.services().clock.dateText(y, m, d);
}

std::string documentDate(Vantrel& app, const std::string& iso) {
  return documentDate(app.services().clock, iso, app.customer().documentLanguage());
}

std::string twoDecimals(const std::string& hours) {
  return formatNumber(hours, "0.00");
}

std::optional<std::pair<std::int64_t, std::int64_t>> workPeriod(const WorkLog& log) {
  std::optional<std::pair<std::int64_t, std::int64_t>> period;
  for (std::size_t i : log.chronological()) {
    const LogEntry& e = log[i];
    if (e.kind == EntryKind::Reset) period.reset();
    if (!isWork(e.kind)) continue;
    const std::int64_t first = localMoment(e.startMs).dayNumber;
    const std::int64_t last = localMoment(e.endMs > e.startMs ? e.endMs - 1 : e.endMs).dayNumber;
    if (!period) period = {first, last};
    period->first = std::min(period->first, first);
    period->second = std::max(period->second, last);
  }
  return period;
}

InvoiceContent invoiceContent(Vantrel& app) {
  InvoiceContent c;
  CompanyForm& company = app.company();
  CustomerForm& customer = app.customer();
  OptionsForm& options = app.options();
  InvoiceForm& invoice = app.invoice();

  c.language = customer.documentLanguage();
  const Language l = c.language;
  c.treatment = customer.tax.treatment();
  if (auto rate = rateThousandths(customer.tax.txtTaxRate->text())) c.rate = rateText(*rate);
  c.net = parseCents(invoice.total->text());
  if (c.net) {
    c.gross = *c.net;
    if (c.treatment == TaxTreatment::Vat) {
      c.tax = taxCents(*c.net, rateThousandths(c.rate).value_or(0));
      c.gross = *c.net + c.tax;
    }
  }
  if (c.treatment == TaxTreatment::SmallBusiness || c.treatment == TaxTreatment::ReverseCharge) {
    c.note = customer.tax.txtTaxNote->text();
    if (c.note.empty()) c.note = usualWording(c.treatment, languageCode(l));
  }

  const std::string& vatId = company.txtVatId->text();
  const std::string& taxNo = company.txtTaxNo->text();
  if (!vatId.empty()) {
    c.issuerTaxLine = fill(trIn(l, "VAT ID %1"), {vatId});
  } else if (!taxNo.empty()) {
    c.issuerTaxLine = fill(trIn(l, "Tax No. %1"), {taxNo});
  }
  c.issuerCountry = company.txtCountry->text();
  c.issuerEmail = company.txtEmail->text();
  // The job's own, or the card's where the job has none, as the address.
  const bool own = !customer.jobCountry->text().empty() || !customer.jobVatId->text().empty();
  c.customerCountry = (own ? customer.jobCountry : customer.txtCountry)->text();
  c.customerVatId = (own ? customer.jobVatId : customer.txtVatId)->text();

  std::string bank;
  auto add = [&bank](const std::string& labelled, const std::string& value) {
    if (value.empty()) return;
    bank += (bank.empty() ? "" : "   ") + fill(labelled, {value});
  };
  add(trIn(l, "Account holder: %1"), company.txtHolder->text());
  add(trIn(l, "IBAN: %1"), ibanGrouped(company.txtIban->text()));
  add(trIn(l, "BIC: %1"), compactIban(company.txtBic->text()));
  c.bankLine = bank;

  // The day it was issued, else the day it is dated, else today.
  c.issueIso = customer.txtIssued->text();
  if (c.issueIso.empty()) c.issueIso = invoice.dateIso();
  if (c.issueIso.empty()) c.issueIso = todayIso(app);
  const std::string& terms = options.txtTerms->text();
  if (!terms.empty() && terms.size() <= 3 &&
      terms.find_first_not_of("0123456789") == std::string::npos) {
    if (auto due = isoDatePlusDays(c.issueIso, std::stoi(terms))) {
      c.due = documentDate(app, *due);
    }
  }

  c.logPage = invoice.chkLog->value() != 0;
  c.programLine = options.chkFooter->value() != 0;
  c.detailed = c.treatment != TaxTreatment::None || !c.issuerTaxLine.empty() ||
               !c.issuerCountry.empty() || !c.issuerEmail.empty() || !c.customerCountry.empty() ||
               !c.customerVatId.empty() || !c.bankLine.empty() || !terms.empty() || c.logPage ||
               customer.periodTyped();

  const WorkLog& log = app.main().log->log();
  if (customer.periodTyped()) {
    c.period = customer.txtPeriod->text();
  } else if (auto days = workPeriod(log)) {
    c.period = documentDate(app, dayText(days->first));
    if (days->second != days->first) {
      c.period += " \u2013 " + documentDate(app, dayText(days->second));
    }
  }
  if (std::string sign = currencySign(app.services().settings); isoCode(sign)) c.code = sign;

  return c;
}

std::vector<WorkLine> workLines(Vantrel& app, std::string& totalHours) {
  const WorkLog& log = app.main().log->log();
  const Language language = app.customer().documentLanguage();
  auto figure = [language](const std::string& hours) { return documentFigure(hours, language); };
  std::int64_t seconds = 0;
  std::vector<WorkLine> lines;
  for (std::size_t i : log.chronological()) {
    const LogEntry& e = log[i];
    if (e.kind == EntryKind::Reset) {
      lines.clear();
      seconds = 0;
      continue;
    }
    const LocalMoment start = localMoment(e.startMs);
    if (isWork(e.kind)) {
      lines.push_back({documentDate(app, localDateText(start)), hourMinute(start),
                       hourMinute(localMoment(e.endMs)), figure(hoursText(e.seconds, 2)), e.note});
    } else if (e.seconds != 0) {
      // Time added or taken by hand is listed by its kind, so the page adds up to the clock.
      const std::string what = trIn(language, kindCaption(e.kind));
      lines.push_back({documentDate(app, localDateText(start)), "", "",
                       figure(hoursText(e.seconds, 2)),
                       e.note.empty() ? what : what + ": " + e.note});
    } else {
      continue;
    }
    seconds += e.seconds;
  }
  totalHours = figure(hoursText(seconds, 2));
  return lines;
}

}  // namespace vantrel
