// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/price_list.h"

#include <algorithm>

#include "app/vantrel.h"
#include "clock/settings_form.h"
#include "contacts/company_form.h"
#include "contacts/customer_form.h"
#include "invoice/invoice_rules.h"
#include "sheet/numbers.h"
#include "store/keyed_lines.h"
#include "store/labels_form.h"
#include "store/options_form.h"

namespace vantrel {
namespace {

std::string lowered(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  });
  return text;
}

std::string trimmed(const std::string& text) {
  auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// How each line of the file is held: the text of a box, a check box or an option button.
enum class Kind { Text, Check, Option };

struct Line {
  Kind kind;
  Control* control;
};

std::vector<Line> layout(Vantrel& app) {
  OptionsForm& options = app.options();
  LabelsForm& labels = app.labels();
  CompanyForm& company = app.company();
  SettingsForm& settings = app.settings();
  std::vector<Line> lines;
  lines.reserve(kPriceListLines);
  auto text = [&lines](Control* c) { lines.push_back({Kind::Text, c}); };
  auto check = [&lines](Control* c) { lines.push_back({Kind::Check, c}); };
  for (int i = 1; i <= 7; ++i) text(options.priceListRate[i]);
  text(options.launchProgramPath);
  for (int i = 1; i <= 7; ++i) text(labels.labelText[i]);
  for (Control* c : {company.companyName, company.companyPhone, company.companyStreet,
                     company.companyTown, company.companyState, company.companyZip}) {
    text(c);
  }
  for (Control* c : {options.launchDisabled, options.autoSaveEnabled, options.twoHourReminder,
                     options.reminderSound}) {
    check(c);
  }
  text(settings.minimumHours);
  text(settings.autosaveTarget);
  for (int i = 1; i <= 3; ++i) lines.push_back({Kind::Option, settings.startRule[i]});
  text(settings.Text5);
  for (int i = 1; i <= 4; ++i) check(settings.skin[i]);
  text(settings.rememberedStartRule);
  for (int i = 1; i <= 3; ++i) check(settings.rememberBox[i]);
  return lines;
}

// The company's invoice details by the keys the price list keeps them under, in file order.
std::vector<std::pair<const char*, Control*>> companyDetails(CompanyForm& company) {
  return {{"Country", company.txtCountry}, {"TaxNo", company.txtTaxNo},
          {"VatId", company.txtVatId},     {"Email", company.txtEmail},
          {"Holder", company.txtHolder},   {"Iban", company.txtIban},
          {"Bic", company.txtBic}};
}

// The invoice details after the 39 lines, where a price list has any.
std::vector<std::string> detailLines(Vantrel& app) {
  OptionsForm& options = app.options();
  const std::string& pattern = options.txtNumberPattern->text();
  std::vector<std::pair<const char*, std::string>> values;
  for (const auto& [key, box] : companyDetails(app.company())) values.push_back({key, box->text()});
  for (auto& key : options.tax.keys(options.tax.chosen())) values.push_back(std::move(key));
  values.push_back({"Terms", options.txtTerms->text()});
  values.push_back({"NumberPattern", pattern == kDefaultNumberPattern ? "" : pattern});
  values.push_back({"Footer", options.chkFooter->value() == 0 ? "0" : ""});
  return keyedSection(kInvoiceSection, values);
}

void readDetails(Vantrel& app, const std::vector<std::string>& lines) {
  CompanyForm& company = app.company();
  OptionsForm& options = app.options();
  for (const auto& [key, box] : companyDetails(company)) setField(*box, "");
  setField(*options.txtTerms, "");
  setField(*options.txtNumberPattern, kDefaultNumberPattern);
  options.chkFooter->setValue(1);
  const auto values = sectionValues(kInvoiceSection, lines);
  auto boxes = companyDetails(company);
  boxes.push_back({"Terms", options.txtTerms});
  boxes.push_back({"NumberPattern", options.txtNumberPattern});
  for (const auto& [key, value] : values) {
    for (const auto& [name, box] : boxes) {
      if (key == name) setField(*box, value);
    }
    if (key == "Footer") options.chkFooter->setValue(value == "0" ? 0 : 1);
  }
  if (!options.tax.setFromKeys(values)) options.tax.set(TaxTreatment::None, "", "");
}

}  // namespace

std::optional<int> checkValue(const std::string& text) {
  auto value = parseNumber(text);
  if (!value || (*value != 0 && *value != 1 && *value != 2)) return std::nullopt;
  return static_cast<int>(*value);
}

std::optional<bool> optionValue(const std::string& text) {
  const std::string word = lowered(trimmed(text));
  if (word == "true") return true;
  if (word == "false") return false;
  if (auto value = parseNumber(text)) return *value != 0;
  return std::nullopt;
}

std::vector<std::string> priceListLines(Vantrel& app) {
  std::vector<std::string> out;
  out.reserve(kPriceListLines);
  for (const Line& line : layout(app)) {
    switch (line.kind) {
      case Kind::Text:
        out.push_back(line.control->text());
        break;
      case Kind::Check:
        out.push_back(std::to_string(line.control->value()));
        break;
      case Kind::Option:
        out.push_back(line.control->value() != 0 ? "True" : "False");
        break;
    }
  }
  return out;
}

void loadPriceList(Vantrel& app, const std::string& path) {
  const ReadResult file = path.empty() ? ReadResult{} : readLines(path);
  const std::vector<Line> lines = layout(app);
  const std::size_t count = std::min(file.lines.size(), lines.size());
  for (std::size_t n = 0; n < count; ++n) {
    const std::string& value = file.lines[n];
    Control& control = *lines[n].control;
    switch (lines[n].kind) {
      case Kind::Text:
        setField(control, value);
        break;
      case Kind::Check:
        if (auto v = checkValue(value)) control.setValue(*v);
        break;
      case Kind::Option:
        if (auto v = optionValue(value)) control.setValue(*v ? 1 : 0);
        break;
    }
  }
  // A file that could be read says what its invoice details are, none included.
  if (file.opened) {
    const auto past = file.lines.size() > lines.size()
                          ? file.lines.begin() + static_cast<std::ptrdiff_t>(lines.size())
                          : file.lines.end();
    readDetails(app, std::vector<std::string>(past, file.lines.end()));
  }
  if (app.loadedForm("frmcustomer") != nullptr) app.customer().defaultTaxChanged();
  setField(*app.options().priceListPath, path);
}

WriteResult savePriceList(Vantrel& app, const std::string& path) {
  std::vector<std::string> lines = priceListLines(app);
  for (std::string& line : detailLines(app)) lines.push_back(std::move(line));
  return writeLines(path, lines);
}

}  // namespace vantrel
