#pragma once

#include <array>

#include "platform/form.h"

namespace vantrel {

class Vantrel;

// The Preferences window: how billed minutes start, the minimum time and amount, the
// autosave file, the skins, and the clock's two minute counters.
class SettingsForm : public Form {
 public:
  explicit SettingsForm(Vantrel& app);
  void load() override;

  Vantrel& app() const { return app_; }

  std::array<Control*, 4> startRule{};     // Option1..Option3, index 1..3
  Control* minimumHours = nullptr;         // Text1
  Control* Label3 = nullptr;               // the fraction beside it
  Control* autosaveTarget = nullptr;       // Text2
  Control* nextBillableMinute = nullptr;   // Text3
  Control* elapsedMinutes = nullptr;       // Text4
  Control* Text5 = nullptr;                // minimum amount
  Control* rememberedStartRule = nullptr;  // Text6
  std::array<Control*, 5> skin{};          // Check1..Check4, index 1..4
  std::array<Control*, 4> rememberBox{};   // Check5..Check7, index 1..3
  Control* Command1 = nullptr;             // Close
  Control* Command2 = nullptr;             // Options
  Control* Command3 = nullptr;             // Clear
  Control* Command4 = nullptr;             // + 1/4 hour
  Control* Command5 = nullptr;             // - 1/4 hour
  Control* Command6 = nullptr;             // Reset
  Control* Command7 = nullptr;             // Use Defaults
  Control* Command8 = nullptr;             // Save Directory
  Control* Drive1 = nullptr;
  Control* Dir1 = nullptr;
  Control* File1 = nullptr;

 private:
  Vantrel& app_;
};

}  // namespace vantrel
