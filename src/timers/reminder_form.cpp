#include "timers/reminder_form.h"

#include "app/main_form.h"
#include "app/vantrel.h"
#include "store/options_form.h"
#include "timers/side_timer.h"

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
  for (Control* digit : {secs, secs0, mins, mins0, hours, hours0}) setDigit(*digit, 0);
}

// Every positive even number of whole hours the program has run: 2, 4, ... 10, ... 24, 26.
bool ReminderForm::reminderDue() const {
  for (const Control* digit : {mins0, mins, secs0, secs}) {
    if (digitValue(*digit) != 0) return false;
  }
  const long long hoursRun =
      24LL * digitValue(*days) + 10LL * digitValue(*hours0) + digitValue(*hours);
  return hoursRun > 0 && hoursRun % 2 == 0;
}

void ReminderForm::remind() {
  MainForm& main = app_.main();
  setField(*main.statusMessage, kMessage);
  main.show();
  // Where there is no tray the window was minimised instead of hidden: bring it up too.
  if (main.state() == WindowState::Minimized) main.setState(WindowState::Normal);
  services().tray.notify(kMessage);
}

void ReminderForm::tick() {
  // The clock is looked at before it advances, so a reminder comes one second after the mark.
  if (reminderDue()) {
    OptionsForm& options = app_.options();
    if (options.twoHourReminder->value() == 1) remind();
    if (options.reminderSound->value() == 1) playAlarm(services());
  }
  if (digitValue(*hours0) == 2 && digitValue(*hours) == 4) {
    setDigit(*days, digitValue(*days) + 1);
    setDigit(*hours, 0);
    setDigit(*hours0, 0);
  }
  setDigit(*secs, digitValue(*secs) + 1);
  if (digitValue(*secs) == 10) {
    setDigit(*secs, 0);
    setDigit(*secs0, digitValue(*secs0) + 1);
  }
  if (digitValue(*secs0) == 6 && digitValue(*secs) == 0) {
    setDigit(*mins, digitValue(*mins) + 1);
    setDigit(*secs, 0);
    setDigit(*secs0, 0);
  }
  if (digitValue(*mins) == 10) {
    setDigit(*mins, 0);
    setDigit(*mins0, digitValue(*mins0) + 1);
  }
  if (digitValue(*mins0) == 6 && digitValue(*mins) == 0) {
    setDigit(*hours, digitValue(*hours) + 1);
    setDigit(*mins, 0);
    setDigit(*mins0, 0);
  }
  if (digitValue(*hours) == 10) {
    setDigit(*hours, 0);
    setDigit(*hours0, digitValue(*hours0) + 1);
  }
  if (digitValue(*Text1) == 0) Timer1->setEnabled(false);
}

}  // namespace vantrel
