// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>

#include "clock/time_away.h"

namespace vantrel {

class Control;
class MainForm;
class SettingsForm;

// The running clock of the job sheet: the one-second tick, Start, Stop, Reset, the tray's
// Start Clock and Stop Clock, the watchdog and the time adjusters. It keeps no state of its
// own: the digits, the highlight colours, the timers and the adjusters' enabled states on the
// main window are the clock's state, so a file, another window or the user may change any of
// them between two ticks.
class JobClock {
 public:
  // Wires the clock's rules onto the main window's controls; touches no other window.
  explicit JobClock(MainForm& main);
  ~JobClock();

  void start();  // CmdStart
  void stop();   // CmdStop
  void reset();  // CmdReset
  // The tray's "Start Clock"; the countdown's start of the clock also locks the remembered
  // rule boxes, as Start does.
  void startClock(bool lockRememberBoxes = false);
  void stopClock();  // the tray's "Stop Clock"
  void tick();       // Timer1
  // One second of the tick without the time away's bookkeeping; returns the minutes it
  // billed. Without `autosave` the autosave point passes unsaved.
  double advance(bool autosaveDue = true);
  void watchdog();  // Timer25

  // The main window's load: the tick off, the six time digits and the autosave count at 0.
  void clearForLoad();

  // The Preferences' Reset: the clock stopped and shown stopped, every digit at 0.
  void stopAndClear();

  // Mouse press on one of the three clock buttons: that button shows its signal colour.
  void highlight(Control& button);

  // The adjusters: "+" and "-" by one minute; the four amounts under the mode boxes.
  void addMinutes(double minutes);
  void adjustByMode(double minutes);
  bool subtractMode() const;

  // The autosave of the tick; on failure the status line says why and the clock runs on.
  void autosave();

  // A running clock locks the Preferences' start rule, minimum amount, "Use Defaults" and
  // "Clear", and with them the remembered rule boxes when asked.
  void lockPreferences(bool withRememberBoxes);
  // The minute buttons shown and the four amounts usable again.
  void openAdjusterButtons();

  // Noticing time away from the running clock, and the question on the user's return.
  std::unique_ptr<TimeAway> away;

 private:
  void wire();
  void setMode(bool subtract);
  void modeClicked(Control& box, Control& other, bool subtract);
  void halt();  // Stop without enabling Save
  void showStopped();
  void showRunning();
  void lockAdjusters();
  SettingsForm& settings() const;

  MainForm& main_;
  bool autosaveFailing_ = false;
};

}  // namespace vantrel
