// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/form.h"

namespace vantrel {

// How an invoice treats value added tax.
enum class TaxTreatment { None, Vat, SmallBusiness, ReverseCharge };

// As a file holds it: "none", "vat", "small", "reverse".
const char* treatmentWord(TaxTreatment treatment);
std::optional<TaxTreatment> treatmentFromWord(std::string_view word);

// The usual wording of the note an invoice without VAT carries, in a language ("de", "fr",
// "en"); empty for a treatment that needs no note.
std::string usualWording(TaxTreatment treatment, std::string_view language);

// The tax treatment as a window sets it: four option buttons, the rate beside "VAT", the
// note, and three buttons that start the note from a usual wording. The Options window
// holds the default this way and the customer window the job's own.
struct TaxPanel {
  Control* optTaxNone = nullptr;
  Control* optTaxVat = nullptr;
  Control* optTaxSmall = nullptr;
  Control* optTaxReverse = nullptr;
  Control* txtTaxRate = nullptr;
  Control* txtTaxNote = nullptr;
  Control* cmdNoteDe = nullptr;
  Control* cmdNoteFr = nullptr;
  Control* cmdNoteEn = nullptr;

  TaxTreatment treatment() const;
  // Sets the buttons, the rate and the note as a file or another panel holds them.
  void set(TaxTreatment treatment, const std::string& rate, const std::string& note);
  void copyFrom(const TaxPanel& other);
  // Whether anything differs from "no tax" with no rate and no note.
  bool chosen() const;
  // As a file keeps it: "Tax" (where `treated`), "TaxRate" and "TaxNote".
  std::vector<std::pair<const char*, std::string>> keys(bool treated) const;
  // Set from such keys where they name a treatment; false, and nothing set, where not.
  bool setFromKeys(const std::vector<std::pair<std::string, std::string>>& values);

  // Runs after every change the user makes here.
  std::function<void()> onChange;
};

// The panel's controls in `frame`, from (left, top), `width` twips wide; 2,805 twips high.
// wireTaxPanel gives it its rules once the panel sits where it stays.
TaxPanel addTaxPanel(Form& form, Control* frame, int left, int top, int width);
void wireTaxPanel(TaxPanel& panel);

}  // namespace vantrel
