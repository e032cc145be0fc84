// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <string>

#include "invoice/tax_panel.h"
#include "platform/file_dialog.h"
#include "platform/form.h"

namespace vantrel {

class Vantrel;

// The options window: the price list (one rate per category), the program to launch with
// the clock and the option flags. Its Save writes the price list file, which also carries
// the labels, the company details and the Preferences.
class OptionsForm : public Form {
 public:
  explicit OptionsForm(Vantrel& app);
  void load() override;

  Vantrel& app() const { return app_; }

  // Unsaved options show as a cyan Save button; only a Save clears them.
  bool unsaved() const;
  void setUnsaved(bool unsaved);
  // Shown with Save marked, after an edit elsewhere that only a Save keeps.
  void askToSave();

  // Starts the job clock and runs the chosen program.
  void launchProgram();
  // Writes the price list file; false when nothing was written (the user has been told).
  bool save();

  // Sizes: the full window shows the launch area, the compact one the rates only.
  static constexpr int kFullWidth = 9180;
  static constexpr int kFullHeight = 8415;
  static constexpr int kCompactWidth = 6615;
  static constexpr int kCompactHeight = 6660;

  std::array<Control*, 8> priceListRate{};  // Text1..Text7
  std::array<Control*, 8> rateLabel{};      // Label1..Label7
  Control* launchProgramPath = nullptr;     // Text8
  Control* launchDisabled = nullptr;        // Check1
  Control* autoSaveEnabled = nullptr;       // Check2
  Control* twoHourReminder = nullptr;       // Check3
  Control* reminderSound = nullptr;         // Check4
  Control* priceListPath = nullptr;         // Text78
  Control* txtCurrency = nullptr;           // the invoice's currency sign, kept per user
  Control* Command1 = nullptr;              // Save As
  Control* Command2 = nullptr;              // Open
  Control* Command3 = nullptr;              // Save; cyan while options are unsaved
  Control* Command4 = nullptr;              // Edit Labels
  Control* Command5 = nullptr;              // Your Company Information
  Control* Command6 = nullptr;              // Launch Program
  Control* Command7 = nullptr;              // Hide
  Control* Command8 = nullptr;              // Show
  Control* cmdclose = nullptr;
  // The invoice's defaults: the tax treatment a new job starts with, the payment terms,
  // the number pattern and the footer line naming the program.
  TaxPanel tax;
  Control* txtTerms = nullptr;          // days; empty: no due date
  Control* txtNumberPattern = nullptr;  // YYYY-NNN
  Control* chkFooter = nullptr;         // ticked: the footer line is printed
  Control* cmdInvoices = nullptr;       // the register of issued invoices
  Control* Drive1 = nullptr;
  Control* Dir1 = nullptr;
  Control* File1 = nullptr;

 private:
  void design();
  void wire();
  void rateKey(int i);
  void rateChanged(int i);
  void disableRuleChanged();
  void fileChosen();
  void saveAs();
  void open();
  Vantrel& app_;
  FileDialog dialog_;  // shared by Save, Save As and Open
};

}  // namespace vantrel
