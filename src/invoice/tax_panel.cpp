// SPDX-License-Identifier: GPL-3.0-or-later
#include "invoice/tax_panel.h"

#include "invoice/invoice_rules.h"
#include "platform/translation.h"

namespace vantrel {

const char* treatmentWord(TaxTreatment treatment) {
  switch (treatment) {
    case TaxTreatment::Vat:
      return "vat";
    case TaxTreatment::SmallBusiness:
      return "small";
    case TaxTreatment::ReverseCharge:
      return "reverse";
    case TaxTreatment::None:
      break;
  }
  return "none";
}

std::optional<TaxTreatment> treatmentFromWord(std::string_view word) {
  for (TaxTreatment t : {TaxTreatment::None, TaxTreatment::Vat, TaxTreatment::SmallBusiness,
                         TaxTreatment::ReverseCharge}) {
    if (word == treatmentWord(t)) return t;
  }
  return std::nullopt;
}

std::string usualWording(TaxTreatment treatment, std::string_view language) {
  if (treatment == TaxTreatment::SmallBusiness) {
    if (language == "de") return "Gemäß § 19 UStG wird keine Umsatzsteuer berechnet.";
    if (language == "fr") return "TVA non applicable, art. 293 B du CGI";
    return "No VAT is charged: the supplier is a small business exempt from VAT.";
  }
  if (treatment == TaxTreatment::ReverseCharge) {
    if (language == "de") return "Steuerschuldnerschaft des Leistungsempfängers (Reverse Charge).";
    if (language == "fr") return "Autoliquidation : TVA due par le preneur (art. 283-2 du CGI).";
    return "Reverse charge: the customer is liable for the VAT.";
  }
  return {};
}

TaxTreatment TaxPanel::treatment() const {
  if (optTaxVat->value() != 0) return TaxTreatment::Vat;
  if (optTaxSmall->value() != 0) return TaxTreatment::SmallBusiness;
  if (optTaxReverse->value() != 0) return TaxTreatment::ReverseCharge;
  return TaxTreatment::None;
}

void TaxPanel::set(TaxTreatment treatment, const std::string& rate, const std::string& note) {
  // The rules run as for a click, but this is no change of the user's.
  auto told = std::move(onChange);
  setField(*txtTaxRate, rate);
  setField(*txtTaxNote, note);
  Control* chosen = treatment == TaxTreatment::Vat             ? optTaxVat
                    : treatment == TaxTreatment::SmallBusiness ? optTaxSmall
                    : treatment == TaxTreatment::ReverseCharge ? optTaxReverse
                                                               : optTaxNone;
  chosen->setValue(1);
  onChange = std::move(told);
}

void TaxPanel::copyFrom(const TaxPanel& other) {
  set(other.treatment(), other.txtTaxRate->text(), other.txtTaxNote->text());
}

bool TaxPanel::chosen() const {
  return treatment() != TaxTreatment::None || !txtTaxRate->text().empty() ||
         !txtTaxNote->text().empty();
}

std::vector<std::pair<const char*, std::string>> TaxPanel::keys(bool treated) const {
  return {{"Tax", treated ? treatmentWord(treatment()) : ""},
          {"TaxRate", txtTaxRate->text()},
          {"TaxNote", txtTaxNote->text()}};
}

bool TaxPanel::setFromKeys(const std::vector<std::pair<std::string, std::string>>& values) {
  std::optional<TaxTreatment> treatment;
  std::string rate, note;
  for (const auto& [key, value] : values) {
    if (key == "Tax") treatment = treatmentFromWord(value);
    if (key == "TaxRate") rate = value;
    if (key == "TaxNote") note = value;
  }
  if (treatment) set(*treatment, rate, note);
  return treatment.has_value();
}

TaxPanel addTaxPanel(Form& form, Control* frame, int left, int top, int width) {
  TaxPanel p;
  auto option = [&](const char* name, int x, int y, int w, const std::string& caption) {
    return &form.add(ControlKind::OptionButton, name, {left + x, top + y, w, 300}, caption, frame);
  };
  // One choice a line, so the longer captions of other languages fit too.
  p.optTaxNone = option("optTaxNone", 0, 0, width, tr("No tax"));
  p.optTaxVat = option("optTaxVat", 0, 345, 900, tr("VAT"));
  p.txtTaxRate =
      &form.add(ControlKind::TextBox, "txtTaxRate", {left + 960, top + 330, 600, 315}, "", frame);
  p.txtTaxRate->spoken.name = tr("VAT rate, per cent");
  p.txtTaxRate->style().align = Align::Right;
  form.add(ControlKind::Label, "lblTaxPercent", {left + 1620, top + 375, 300, 255}, "%", frame);
  p.optTaxSmall = option("optTaxSmall", 0, 690, width, tr("Small business, no VAT"));
  p.optTaxReverse = option("optTaxReverse", 0, 1035, width, tr("Reverse charge"));
  p.optTaxNone->setValue(1);
  form.add(ControlKind::Label, "lblTaxNote", {left, top + 1440, width, 255}, tr("Invoice note"),
           frame);
  p.txtTaxNote =
      &form.add(ControlKind::TextBox, "txtTaxNote", {left, top + 1710, width, 615}, "", frame);
  p.txtTaxNote->style().multiLine = true;
  p.txtTaxNote->spoken.name = tr("Invoice note");
  p.txtTaxNote->setTooltip(tr("Printed on an invoice without VAT: why none is charged"));
  const int third = (width - 120) / 3;
  auto wording = [&](const char* name, int n, const std::string& caption, const std::string& tip) {
    Control* c = &form.add(ControlKind::CommandButton, name,
                           {left + n * (third + 60), top + 2430, third, 375}, caption, frame);
    c->setTooltip(tip);
    return c;
  };
  p.cmdNoteDe =
      wording("cmdNoteDe", 0, tr("German"), tr("Start the note from the usual German wording"));
  p.cmdNoteFr =
      wording("cmdNoteFr", 1, tr("French"), tr("Start the note from the usual French wording"));
  p.cmdNoteEn =
      wording("cmdNoteEn", 2, tr("English"), tr("Start the note from an English wording"));
  return p;
}

void wireTaxPanel(TaxPanel& p) {
  auto changed = [&p] {
    if (p.onChange) p.onChange();
  };
  auto showChoice = [&p] {
    const TaxTreatment t = p.treatment();
    p.txtTaxRate->setEnabled(t == TaxTreatment::Vat);
    const bool noted = t == TaxTreatment::SmallBusiness || t == TaxTreatment::ReverseCharge;
    for (Control* c : {p.cmdNoteDe, p.cmdNoteFr, p.cmdNoteEn}) c->setEnabled(noted);
  };
  for (Control* option : {p.optTaxNone, p.optTaxVat, p.optTaxSmall, p.optTaxReverse}) {
    option->onClick = [&p, showChoice, changed] {
      showChoice();
      // A treatment that needs a note and has none prints the usual one in the invoice's
      // language; the buttons start one to change.
      const TaxTreatment t = p.treatment();
      if (t == TaxTreatment::Vat && p.onChange && p.txtTaxRate->text().empty()) {
        p.txtTaxRate->form().focus(*p.txtTaxRate);
      }
      changed();
    };
  }
  // Refused as typed, key by key: "5" and "5." are on their way to "5.5".
  p.txtTaxRate->refuses = [](std::string_view text) -> std::string {
    std::size_t digits = 0, decimals = 0;
    bool separator = false;
    for (char c : text) {
      if (c >= '0' && c <= '9') {
        ++(separator ? decimals : digits);
      } else if ((c == '.' || c == ',') && !separator) {
        separator = true;
      } else {
        digits = 99;
      }
    }
    const auto rate = rateThousandths(text);
    if (digits <= 3 && decimals <= 3 && (!rate || *rate <= 100000)) return {};
    return std::string(text) +
           " is no VAT rate: write a per cent from 0 to 100, such as 19 or 5.5.";
  };
  auto typed = [changed](Control& box) {
    return [&box, changed] {
      if (box.form().focused() == &box) changed();
    };
  };
  p.txtTaxRate->onChange = typed(*p.txtTaxRate);
  p.txtTaxNote->onChange = typed(*p.txtTaxNote);
  auto start = [&p, changed](const char* language) {
    return [&p, changed, language] {
      setField(*p.txtTaxNote, usualWording(p.treatment(), language));
      changed();
    };
  };
  p.cmdNoteDe->onClick = start("de");
  p.cmdNoteFr->onClick = start("fr");
  p.cmdNoteEn->onClick = start("en");
  showChoice();
}

}  // namespace vantrel
