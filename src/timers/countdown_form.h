// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>

#include "platform/form.h"
#include "platform/translation.h"

namespace vantrel {

class Vantrel;

// The countdown timer: a duration dialled in hours and minutes with plus and minus buttons,
// run down once a second, paused and cleared. At its end it plays the alarm, says so and, if
// asked, starts the job clock. Its state is its controls: the digit boxes, the enabled and
// visible adjusters, the button colours and the running timer Timer1a.
class CountdownForm : public Form {
 public:
  explicit CountdownForm(Vantrel& app);

  Vantrel& app() const { return app_; }
  bool running() const { return Timer1a->enabled(); }

  static constexpr const char* kAddTime = N_("Please add some Time");
  static constexpr const char* kStopped = N_("The Timer has Stopped");

  // A digit with its plus and minus buttons and the highest value plus may reach.
  struct Adjuster {
    Control* digit = nullptr;
    Control* plus = nullptr;
    Control* minus = nullptr;
    int limit = 0;
  };

  // The six digits, hours tens first.
  Control* txt000 = nullptr;
  Control* txtHours = nullptr;
  Control* txt00 = nullptr;
  Control* txtMins = nullptr;
  Control* txt0 = nullptr;
  Control* txtSecs = nullptr;
  // Hours tens, hours units, minutes tens, minutes units.
  std::array<Adjuster, 4> adjusters{};

  Control* Check1 = nullptr;     // "Start Vantrel After Countdown"
  Control* Label1 = nullptr;     // the status line
  Control* Label5 = nullptr;     // "Plus"
  Control* Label6 = nullptr;     // "Minus"
  Control* Command14 = nullptr;  // Stop
  Control* Command4 = nullptr;   // Start
  Control* Command3 = nullptr;   // Close
  Control* Command5 = nullptr;   // Clear
  Timer* Timer1a = nullptr;

  MenuItem* file = nullptr;
  MenuItem* close = nullptr;
  MenuItem* mnuexit = nullptr;
  MenuItem* vantrelMenu = nullptr;  // vantrel
  MenuItem* startclock = nullptr;
  MenuItem* stopclock = nullptr;
  MenuItem* options = nullptr;
  MenuItem* pref = nullptr;
  MenuItem* customers = nullptr;
  MenuItem* About = nullptr;

  void start();  // Command4
  void stop();   // Command14
  void clear();  // Command5
  void tick();   // Timer1a
  void exitMenu();

 private:
  void build();
  void wire();
  void plus(Adjuster& a);
  void minus(Adjuster& a);
  void finish();
  std::array<Control*, 6> digits() const;  // hours tens first
  bool allZero() const;
  void showAdjusters(bool shown);
  void enableAdjusters(bool enabled);
  void lockMinusOfZeros();
  void showThenHide(Form& other);

  Vantrel& app_;
};

}  // namespace vantrel
