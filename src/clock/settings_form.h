// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>

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

  // The autosave file the program starts with, and that "Clear" and "Use Defaults" restore.
  std::string defaultAutosaveTarget() const;

  // Chooses the start rule the remembered rule names, when it names one.
  void chooseRememberedRule();

  // Colours of the four skins, by skin box (1 Blue, 2 Default, 3 Green, 4 Peach).
  static constexpr std::array<Colour, 5> kSkinColour{0, 14604489, 13420735, 12970923, 12901352};

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
  Control* chkAway = nullptr;  // ask about time away
  Control* txtAway = nullptr;  // after this many minutes without input
  Control* lblAway = nullptr;  // shown where the desktop tells no idle time

  // Shows whether the desktop tells idle time, once it is known.
  void showIdleSource();
  // The Preferences menu entry: the window shown, the desktop asked for its idle time.
  void open();

 private:
  void design();
  void wire();
  void markOptionsUnsaved();
  void ruleChosen(int rule);
  void minimumHoursChanged();
  void stepMinimum(double hours);
  void rememberClicked(int box);
  void skinClicked(int box);
  void applySkin(int box);
  void useDefaults();
  void resetProject();
  void closeCommand();
  bool closeBox();

  Vantrel& app_;
};

}  // namespace vantrel
