// SPDX-License-Identifier: GPL-3.0-or-later
#include "timers/reminder_form.h"

#include <cmath>

#include "app/main_form.h"
#include "app/vantrel.h"
#include "clock/clock_digits.h"
#include "platform/translation.h"
#include "store/options_form.h"
#include "timers/alarm.h"

namespace vantrel {

ReminderForm::ReminderForm(Vantrel& app)
    : Form(app.services(), "frmremind", "Form1", 3840, 1200), app_(app) {
  Text1 = &add(ControlKind::TextBox, "Text1", {0, 0, 375, 285}, "1");
  auto field = [this](const char* name, int column) {
    return &add(ControlKind::TextBox, name, {120 + column * 480, 480, 375, 285}, "0");
  };
  days = field("days", 0);
  hours0 = field("hours0", 1);
  hours = field("hours", 2);
  mins0 = field("mins0", 3);
  mins = field("mins", 4);
  secs0 = field("secs0", 5);
  secs = field("secs", 6);
  Timer1 = &addTimer("Timer1", 1000, false);
  Timer1->onTimer = [this] { tick(); };
}

void ReminderForm::load() {
  Timer1->setEnabled(false);
  for (Control* digit : {secs, secs0, mins, mins0, hours, hours0}) setCount(*digit, 0);
}

// Every positive even number of whole hours the program has run: 2, 4, ... 10, ... 24, 26.
bool ReminderForm::reminderDue() const {
  for (const Control* digit : {mins0, mins, secs0, secs}) {
    if (count(*digit) != 0) return false;
  }
  const double hoursRun = 24 * count(*days) + 10 * count(*hours0) + count(*hours);
  return hoursRun > 0 && std::fmod(hoursRun, 2) == 0;
}

void ReminderForm::remind() {
  MainForm& main = app_.main();
  setField(*main.statusMessage, tr(kMessage));
  main.show();
  // Where there is no tray the window was minimised instead of hidden: bring it up too.
  if (main.state() == WindowState::Minimized) main.setState(WindowState::Normal);
  services().tray.notify(tr(kMessage));
}

void ReminderForm::tick() {
  // The clock is looked at before it advances, so a reminder comes one second after the mark.
  if (reminderDue()) {
    OptionsForm& options = app_.options();
    if (options.twoHourReminder->value() == 1) remind();
    if (options.reminderSound->value() == 1) playAlarm(services());
  }
  if (count(*hours0) == 2 && count(*hours) == 4) {
    increment(*days);
    setCount(*hours, 0);
    setCount(*hours0, 0);
  }
  increment(*secs);
  if (count(*secs) == 10) {
    setCount(*secs, 0);
    increment(*secs0);
  }
  if (count(*secs0) == 6 && count(*secs) == 0) {
    increment(*mins);
    setCount(*secs, 0);
    setCount(*secs0, 0);
  }
  if (count(*mins) == 10) {
    setCount(*mins, 0);
    increment(*mins0);
  }
  if (count(*mins0) == 6 && count(*mins) == 0) {
    increment(*hours);
    setCount(*mins, 0);
    setCount(*mins0, 0);
  }
  if (count(*hours) == 10) {
    setCount(*hours, 0);
    increment(*hours0);
  }
  if (count(*Text1) == 0) Timer1->setEnabled(false);
}

}  // namespace vantrel
