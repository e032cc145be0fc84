#pragma once

#include <array>

#include "platform/form.h"

namespace vantrel {

class Vantrel;

// The options window: the price list (one rate per category), the program to launch with
// the clock and the option flags.
class OptionsForm : public Form {
 public:
  explicit OptionsForm(Vantrel& app);
  void load() override;

  Vantrel& app() const { return app_; }

  std::array<Control*, 8> priceListRate{};  // Text1..Text7
  std::array<Control*, 8> rateLabel{};      // Label1..Label7
  Control* launchProgramPath = nullptr;     // Text8
  Control* launchDisabled = nullptr;        // Check1
  Control* autoSaveEnabled = nullptr;       // Check2
  Control* twoHourReminder = nullptr;       // Check3
  Control* reminderSound = nullptr;         // Check4
  Control* priceListPath = nullptr;         // Text78
  Control* Command1 = nullptr;              // Save As
  Control* Command2 = nullptr;              // Open
  Control* Command3 = nullptr;              // Save; cyan while options are unsaved
  Control* Command4 = nullptr;              // Edit Labels
  Control* Command5 = nullptr;              // Your Company Information
  Control* cmdclose = nullptr;

 private:
  Vantrel& app_;
};

}  // namespace vantrel
