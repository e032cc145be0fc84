// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/form.h"
#include "platform/translation.h"

namespace vantrel {

class Vantrel;

// The break reminder: counts the program's running time once a second in its digit boxes
// and, every two hours of it, tells the user to take a break (a message on the main window,
// which comes up, and a tray notification) and may sound the alarm, each as the options
// say. The window is never shown; its boxes are the reminder's state.
class ReminderForm : public Form {
 public:
  explicit ReminderForm(Vantrel& app);

  static constexpr const char* kMessage = N_("This is your 2 hour reminder, Please take a break.");

  void load() override;
  void tick();  // Timer1

  Control* days = nullptr;
  Control* hours0 = nullptr;  // tens of hours
  Control* hours = nullptr;
  Control* mins0 = nullptr;
  Control* mins = nullptr;
  Control* secs0 = nullptr;
  Control* secs = nullptr;
  Control* Text1 = nullptr;  // runs while it reads other than 0
  Timer* Timer1 = nullptr;

 private:
  bool reminderDue() const;
  void remind();

  Vantrel& app_;
};

}  // namespace vantrel
