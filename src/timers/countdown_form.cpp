// SPDX-License-Identifier: GPL-3.0-or-later
#include "timers/countdown_form.h"

#include "app/info_form.h"
#include "app/main_form.h"
#include "app/quit_form.h"
#include "app/vantrel.h"
#include "clock/clock_digits.h"
#include "clock/job_clock.h"
#include "clock/settings_form.h"
#include "contacts/customer_form.h"
#include "platform/translation.h"
#include "sheet/numbers.h"
#include "store/options_form.h"
#include "timers/alarm.h"

namespace vantrel {

namespace {

// The buttons' colours before the first press: a light green Start and a light red Stop.
constexpr Colour kStartDesign = colour::rgb(216, 245, 216);
constexpr Colour kStopDesign = colour::rgb(255, 170, 179);

}  // namespace

// The outer size: the 4500 x 3240 client area with the window frame and the menu bar.
CountdownForm::CountdownForm(Vantrel& app)
    : Form(app.services(), "frmCount", tr("Countdown Timer"), 4740, 4110), app_(app) {
  build();
  wire();
}

void CountdownForm::build() {
  Check1 = &add(ControlKind::CheckBox, "Check1", {360, 240, 4020, 255},
                tr("Start Vantrel After Countdown"));
  add(ControlKind::Label, "Label4", {840, 720, 855, 255}, tr("Hours"));
  add(ControlKind::Label, "Label3", {1920, 720, 855, 255}, tr("Minutes"));
  add(ControlKind::Label, "Label2", {3000, 720, 855, 255}, tr("Seconds"));

  auto digit = [this](const char* name, int left) {
    Control& box = add(ControlKind::TextBox, name, {left, 1440, 375, 285}, "0");
    box.style().readOnly = true;
    box.style().align = Align::Centre;
    box.onKeyPress = [](char) { return false; };  // only the buttons change a digit
    return &box;
  };
  txt000 = digit("txt000", 840);
  txtHours = digit("txtHours", 1320);
  txt00 = digit("txt00", 1920);
  txtMins = digit("txtMins", 2400);
  txt0 = digit("txt0", 3000);
  txtSecs = digit("txtSecs", 3480);

  auto adjuster = [this](Control* box, const char* plusName, const char* minusName, int limit) {
    const int left = box->geometry().left;
    Adjuster a{box, &add(ControlKind::CommandButton, plusName, {left, 1080, 375, 255}),
               &add(ControlKind::CommandButton, minusName, {left, 1920, 375, 255}), limit};
    a.plus->setPicture("raise");
    a.minus->setPicture("lower");
    a.minus->setEnabled(false);
    return a;
  };
  adjusters = {adjuster(txt000, "Command12", "Command13", 2),
               adjuster(txtHours, "Command10", "Command11", 9),
               adjuster(txt00, "Command8", "Command9", 6),
               adjuster(txtMins, "Command6", "Command7", 9)};
  // What a screen reader calls the arrows: the digit's up and down.
  const char* const arrows[][2] = {{N_("Tens of hours up"), N_("Tens of hours down")},
                                   {N_("Hours up"), N_("Hours down")},
                                   {N_("Tens of minutes up"), N_("Tens of minutes down")},
                                   {N_("Minutes up"), N_("Minutes down")}};
  for (std::size_t i = 0; i < adjusters.size(); ++i) {
    adjusters[i].plus->spoken.name = tr(arrows[i][0]);
    adjusters[i].minus->spoken.name = tr(arrows[i][1]);
  }
  auto reading = [this](std::string said, Control* tens, Control* units) {
    readAsOne({tens, units}, [said = std::move(said), tens, units] {
      return fill(said, {tens->text() + units->text()});
    });
  };
  // TRANSLATORS: read to a screen reader; %1 is the countdown's hours ("05").
  reading(tr("Hours, %1"), txt000, txtHours);
  // TRANSLATORS: read to a screen reader; %1 is the countdown's minutes ("30").
  reading(tr("Minutes, %1"), txt00, txtMins);
  // TRANSLATORS: read to a screen reader; %1 is the countdown's seconds ("00").
  reading(tr("Seconds, %1"), txt0, txtSecs);
  Label5 = &add(ControlKind::Label, "Label5", {360, 1080, 300, 195}, tr("Plus"));
  Label6 = &add(ControlKind::Label, "Label6", {240, 1920, 420, 195}, tr("Minus"));
  for (Control* label : {Label5, Label6}) label->style().shrinkToFit = true;

  Command14 = &add(ControlKind::CommandButton, "Command14", {360, 2400, 735, 375}, tr("Stop"));
  Command4 = &add(ControlKind::CommandButton, "Command4", {1320, 2400, 735, 375}, tr("Start"));
  Command3 = &add(ControlKind::CommandButton, "Command3", {2280, 2400, 855, 375}, tr("Close"));
  Command5 = &add(ControlKind::CommandButton, "Command5", {3360, 2400, 735, 375}, tr("Clear"));
  Command4->setBackColour(kStartDesign);
  Command14->setBackColour(kStopDesign);
  Label1 = &add(ControlKind::Label, "Label1", {120, 2880, 4215, 255});
  Label1->style().align = Align::Centre;
  Label1->spoken.live = true;  // the countdown's end is heard, not only seen
  Timer1a = &addTimer("Timer1a", 1000, false);

  file = &addMenu("file", tr("File"));
  close = &addMenu("close", tr("Close"), file);
  mnuexit = &addMenu("mnuexit", tr("Exit"), file);
  vantrelMenu = &addMenu("vantrel", tr("Vantrel"));
  startclock = &addMenu("startclock", tr("Start Clock"), vantrelMenu);
  stopclock = &addMenu("stopclock", tr("Stop Clock"), vantrelMenu);
  addMenu("sep1", "-", vantrelMenu);
  options = &addMenu("options", tr("Options"), vantrelMenu);
  pref = &addMenu("pref", tr("Preferences"), vantrelMenu);
  customers = &addMenu("customers", tr("Customers"), vantrelMenu);
  About = &addMenu("About", tr("About"));
}

void CountdownForm::wire() {
  for (Adjuster& a : adjusters) {
    a.plus->onClick = [this, &a] { plus(a); };
    a.minus->onClick = [this, &a] { minus(a); };
    // However a digit comes to 0 (a minus press, the countdown, Clear), it can go no lower.
    a.digit->onChange = [&a] {
      if (count(*a.digit) == 0) a.minus->setEnabled(false);
    };
  }
  Command4->onClick = [this] { start(); };
  Command14->onClick = [this] { stop(); };
  Command5->onClick = [this] { clear(); };
  Timer1a->onTimer = [this] { tick(); };
  Command3->onClick = [this] { hide(); };
  close->onClick = [this] { hide(); };
  mnuexit->onClick = [this] { exitMenu(); };
  startclock->onClick = [this] { app_.main().clock->startClock(true); };
  stopclock->onClick = [this] { app_.main().clock->stopClock(); };
  options->onClick = [this] { showThenHide(app_.options()); };
  pref->onClick = [this] { showThenHide(app_.settings()); };
  customers->onClick = [this] { showThenHide(app_.customer()); };
  About->onClick = [this] { showThenHide(app_.about()); };
}

void CountdownForm::showThenHide(Form& other) {
  other.show();
  hide();
}

void CountdownForm::plus(Adjuster& a) {
  const double value = count(*a.digit);
  if (value < a.limit) setCount(*a.digit, value + 1);
  if (count(*a.digit) >= a.limit) a.plus->setEnabled(false);
  a.minus->setEnabled(true);
  Command4->setBackColour(colour::buttonFace);
  Command14->setBackColour(colour::buttonFace);
  setField(*Label1, "");
}

void CountdownForm::minus(Adjuster& a) {
  const double value = count(*a.digit);
  if (value <= 0) return;
  setCount(*a.digit, value - 1);  // at 0 the digit's own rule disables this button
  a.plus->setEnabled(true);
  setField(*Label1, "");
}

std::array<Control*, 6> CountdownForm::digits() const {
  return {txt000, txtHours, txt00, txtMins, txt0, txtSecs};
}

bool CountdownForm::allZero() const {
  for (const Control* d : digits()) {
    if (count(*d) != 0) return false;
  }
  return true;
}

void CountdownForm::showAdjusters(bool shown) {
  for (Adjuster& a : adjusters) {
    a.plus->setVisible(shown);
    a.minus->setVisible(shown);
  }
  Label5->setVisible(shown);
  Label6->setVisible(shown);
}

void CountdownForm::enableAdjusters(bool enabled) {
  for (Adjuster& a : adjusters) {
    a.plus->setEnabled(enabled);
    a.minus->setEnabled(enabled);
  }
}

void CountdownForm::lockMinusOfZeros() {
  for (Adjuster& a : adjusters) {
    if (count(*a.digit) == 0) a.minus->setEnabled(false);
  }
}

void CountdownForm::start() {
  Command4->setBackColour(colour::green);
  Timer1a->setEnabled(true);
  if (allZero()) {
    Timer1a->setEnabled(false);
    Command4->setBackColour(colour::buttonFace);
    setField(*Label1, tr(kAddTime));
  }
  Command14->setBackColour(colour::buttonFace);
  enableAdjusters(false);
  if (running()) {
    showAdjusters(false);
  } else {
    enableAdjusters(true);
  }
  lockMinusOfZeros();
}

void CountdownForm::stop() {
  Timer1a->setEnabled(false);
  Command5->setEnabled(true);
  Command14->setBackColour(colour::red);
  Command4->setBackColour(colour::buttonFace);
  for (Adjuster& a : adjusters) a.plus->setEnabled(true);
}

void CountdownForm::clear() {
  Timer1a->setEnabled(false);
  for (Control* d : digits()) setCount(*d, 0);
  setField(*Label1, "");
  showAdjusters(true);
}

void CountdownForm::tick() {
  Command5->setEnabled(false);
  // One second off, borrowing from seconds up to the hours within the tick. The minutes
  // tens may stand at 6 (00:60:00 is an hour); a borrow always leaves 5 there.
  struct Borrow {
    Control* digit;
    int refill;
  };
  const Borrow borrows[] = {{txtSecs, 9}, {txt0, 5}, {txtMins, 9}, {txt00, 5}, {txtHours, 9}};
  setCount(*txtSecs, count(*txtSecs) - 1);
  for (std::size_t i = 0; i < std::size(borrows); ++i) {
    if (count(*borrows[i].digit) != -1) break;
    setCount(*borrows[i].digit, borrows[i].refill);
    Control* next = i + 1 < std::size(borrows) ? borrows[i + 1].digit : txt000;
    setCount(*next, count(*next) - 1);
  }
  if (!allZero()) return;
  finish();
  if (Check1->value() == 1) {
    app_.main().clock->startClock(true);
    mnuexit->setEnabled(false);
  }
  services().tray.notify(tr(kStopped));
}

void CountdownForm::finish() {
  playAlarm(services());
  showAdjusters(true);
  Command5->setEnabled(true);
  setField(*Label1, tr(kStopped));
  Command4->setBackColour(colour::buttonFace);
  Timer1a->setEnabled(false);
  enableAdjusters(true);
  Command14->setBackColour(colour::red);
}

void CountdownForm::exitMenu() {
  MainForm& m = app_.main();
  if (m.cmdSave->enabled() && countsAsNotZero(m.totalCost->text())) {
    services().messages.show(tr("Please save the project"));
    return;
  }
  app_.quit().show();
}

}  // namespace vantrel
