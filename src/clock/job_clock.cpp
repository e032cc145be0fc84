// SPDX-License-Identifier: GPL-3.0-or-later
#include "clock/job_clock.h"

#include <exception>
#include <string_view>

#include "app/main_form.h"
#include "app/vantrel.h"
#include "clock/clock_digits.h"
#include "clock/settings_form.h"
#include "platform/translation.h"
#include "sheet/numbers.h"
#include "store/options_form.h"
#include "store/project_file.h"
#include "worklog/log_keeper.h"

namespace vantrel {
namespace {

// The window's caption and the tray's tip.
constexpr const char* kRunning = N_("Vantrel - Running");
constexpr const char* kStopped = N_("Vantrel - Stopped");

struct ModeTexts {
  const char* frame;
  const char* frameTip;
  const char* tips[4];
};

constexpr ModeTexts kAdd{
    N_("Additions"),
    N_("Additions to time, 2 minutes on the clock will shut this down. Reset the clock."),
    {N_("Add 15 Minutes"), N_("Add 30 Minutes"), N_("Add 1 Hour"), N_("Add 2 Hours")}};
constexpr ModeTexts kSubtract{
    N_("Subtractions"),
    N_("Subtractions to time, 2 minutes on the clock will shut this down. Reset the clock."),
    {N_("Subtract 15 Minutes"), N_("Subtract 30 Minutes"), N_("Subtract 1 Hour"),
     N_("Subtract 2 Hours")}};

}  // namespace

JobClock::JobClock(MainForm& main) : away(std::make_unique<TimeAway>(main)), main_(main) {
  wire();
  // The clock's boxes count in whole numbers; whatever a file says, they hold nothing else
  // ("inf" or "1e308" would stop the clock or bill minutes nobody worked).
  for (Control* digit : {main_.txtSecs, main_.txt0, main_.txtMins, main_.txt00, main_.txtHours,
                         main_.txt000, main_.txtDays}) {
    digit->refuses = [](std::string_view text) -> std::string {
      const bool count = !text.empty() && text.size() <= 4 &&
                         text.find_first_not_of("0123456789") == std::string_view::npos;
      return count ? std::string() : tr("The clock counts in whole numbers.");
    };
  }
  main_.CmdStop->setBackColour(colour::red);
  // Add mode to begin with; the mode rule sets the captions and which box can be clicked.
  main_.chkplus->setValue(1);
}

JobClock::~JobClock() = default;

SettingsForm& JobClock::settings() const {
  return main_.app().settings();
}

void JobClock::wire() {
  MainForm& m = main_;
  m.CmdStart->onClick = [this] { start(); };
  m.CmdStop->onClick = [this] { stop(); };
  m.CmdReset->onClick = [this] { reset(); };
  for (Control* button : {m.CmdStart, m.CmdStop, m.CmdReset}) {
    button->onMouseDown = [this, button] { highlight(*button); };
  }
  m.MnuStart->onClick = [this] { startClock(); };
  m.MnuStop->onClick = [this] { stopClock(); };
  m.Timer1->onTimer = [this] { tick(); };
  m.Timer1->onRunChange = [this, &m] {
    away->runChanged();
    m.log->runChanged();
  };
  m.Timer25->onTimer = [this] { watchdog(); };
  m.txt0->onChange = [&m] {
    m.cmdsav->setEnabled(true);
    m.save->setEnabled(true);
  };

  m.Command1->onClick = [this] { addMinutes(1); };
  m.Command3->onClick = [this] { addMinutes(-1); };
  m.Command4->onClick = [this] { adjustByMode(15); };
  m.Command6->onClick = [this] { adjustByMode(30); };
  m.Command7->onClick = [this] { adjustByMode(60); };
  m.Command8->onClick = [this] { adjustByMode(120); };
  m.chkplus->onClick = [this, &m] { modeClicked(*m.chkplus, *m.chkminus, false); };
  m.chkminus->onClick = [this, &m] { modeClicked(*m.chkminus, *m.chkplus, true); };
}

void JobClock::tick() {
  LogKeeper::Hold second(*main_.log, EntryKind::Run);
  away->beforeTick();
  const double billed = advance();
  away->afterTick(billed);
}

double JobClock::advance(bool autosaveDue) {
  MainForm& m = main_;
  double billed = 0;

  // The day carry comes before the seconds advance, so 24:00:00 shows for one second.
  if (count(*m.txt000) == 2 && count(*m.txtHours) == 4) {
    increment(*m.txtDays);
    m.txtDays->setVisible(true);
    m.lblDays->setVisible(true);
    setField(*m.txt000, "0");
    setField(*m.txtHours, "0");
  }

  // The tens of minutes are not looked at: the locks also fire at 12, 14, 22, ... minutes,
  // which changes nothing once they hold.
  bool onTheMinute = count(*m.txt0) == 0 && count(*m.txtSecs) == 0;
  if (onTheMinute && count(*m.txtMins) == 2) lockAdjusters();
  if (onTheMinute && count(*m.txtMins) == 4) {
    Control& preferencesReset = *settings().Command6;
    preferencesReset.setEnabled(false);
    preferencesReset.setBackColour(colour::buttonFace);
  }

  if (m.autosaveTicks->value() == 60) {
    m.autosaveTicks->setValue(0);
    if (autosaveDue && m.app().options().autoSaveEnabled->value() == 1) autosave();
  }

  increment(*m.txtSecs);
  m.autosaveTicks->setValue(m.autosaveTicks->value() + 1);
  if (count(*m.txtSecs) == 10) {
    setField(*m.txtSecs, "0");
    increment(*m.txt0);
  }

  if (count(*m.txt0) == 6 && count(*m.txtSecs) == 0) {
    SettingsForm& s = settings();
    increment(*m.txtMins);
    increment(*s.elapsedMinutes);
    setField(*m.txtSecs, "0");
    setField(*m.txt0, "0");
    for (int rule : {1, 3}) {
      if (s.startRule[rule]->value() == 0) continue;
      increment(*m.minuteCounter);
      ++billed;
    }
    // Billing under the minimum waits until the clock has caught up with the billed
    // minutes. The texts are compared, not the numbers: a fractional nextBillableMinute
    // holds billing back until it is whole again.
    if (s.startRule[2]->value() != 0 && s.nextBillableMinute->text() == s.elapsedMinutes->text()) {
      increment(*m.minuteCounter);
      increment(*s.nextBillableMinute);
      ++billed;
    }
  }

  if (count(*m.txtMins) == 10) {
    setField(*m.txtMins, "0");
    increment(*m.txt00);
  }
  if (count(*m.txt00) == 6 && count(*m.txtMins) == 0) {
    increment(*m.txtHours);
    setField(*m.txtMins, "0");
    setField(*m.txt00, "0");
  }
  if (count(*m.txtHours) == 10) {
    setField(*m.txtHours, "0");
    increment(*m.txt000);
  }
  return billed;
}

void JobClock::autosave() {
  WriteResult written;
  const std::string path = main_.autosavePath->text();
  // The tick runs from the timer with nobody to catch for it: whatever goes wrong in the
  // save is reported and the clock runs on.
  try {
    written = writeProject(main_, path);
  } catch (const std::exception& e) {
    written.error = e.what();
  }
  if (written) {
    autosaveFailing_ = false;
    return;
  }
  const std::string why = couldNotSave(path, written);
  setField(*main_.statusMessage, fill(tr("Autosave failed: %1"), {why}));
  // Told once, not every minute: the status line keeps saying it until a save succeeds.
  if (!autosaveFailing_) {
    autosaveFailing_ = true;
    main_.services().messages.show(why);
  }
}

// The highlight colours are what the watchdog obeys, so this decides whether the clock keeps
// running in the long run.
void JobClock::watchdog() {
  if (main_.CmdStart->backColour() == colour::green) main_.Timer1->setEnabled(true);
  if (main_.CmdStop->backColour() == colour::red) main_.Timer1->setEnabled(false);
}

void JobClock::highlight(Control& button) {
  MainForm& m = main_;
  m.CmdStart->setBackColour(&button == m.CmdStart ? colour::green : colour::buttonFace);
  m.CmdStop->setBackColour(&button == m.CmdStop ? colour::red : colour::buttonFace);
  m.CmdReset->setBackColour(&button == m.CmdReset ? colour::yellow : colour::buttonFace);
}

void JobClock::showRunning() {
  main_.setCaption(tr(kRunning));
  setField(*main_.Text54, tr(kRunning));
  main_.setIcon(main_.Picture1->picture());
}

void JobClock::showStopped() {
  main_.setCaption(tr(kStopped));
  setField(*main_.Text54, tr(kStopped));
  main_.setIcon(main_.Picture2->picture());
}

void JobClock::lockPreferences(bool withRememberBoxes) {
  SettingsForm& s = settings();
  for (int i = 1; i <= 3; ++i) s.startRule[i]->setEnabled(false);
  s.Text5->setEnabled(false);
  s.Command7->setEnabled(false);
  s.Command3->setEnabled(false);
  if (withRememberBoxes) {
    for (int i = 1; i <= 3; ++i) s.rememberBox[i]->setEnabled(false);
  }
}

void JobClock::start() {
  MainForm& m = main_;
  m.tray.remove();
  m.Timer1->setEnabled(true);
  m.Timer1->setInterval(1000);
  setField(*m.statusMessage, "");
  showRunning();
  // Only a mouse press colours Start first; started from the keys the clock is left
  // without a tray icon and the watchdog stops it again.
  if (m.CmdStart->backColour() == colour::green) m.tray.add();
  lockPreferences(true);
  setField(*m.autosavePath, settings().autosaveTarget->text());
}

void JobClock::startClock(bool lockRememberBoxes) {
  MainForm& m = main_;
  highlight(*m.CmdStart);
  m.tray.remove();
  m.Timer1->setEnabled(true);
  setField(*m.statusMessage, "");
  showRunning();
  m.tray.add();
  lockPreferences(lockRememberBoxes);
}

void JobClock::stop() {
  halt();
  main_.cmdsav->setEnabled(true);
}

void JobClock::stopClock() {
  highlight(*main_.CmdStop);
  halt();
}

void JobClock::halt() {
  MainForm& m = main_;
  m.tray.remove();
  m.Timer1->setEnabled(false);
  showStopped();
  if (m.CmdStop->backColour() == colour::red) m.tray.add();
}

void JobClock::reset() {
  MainForm& m = main_;
  LogKeeper::Hold reset(*m.log, EntryKind::Reset);
  m.tray.remove();
  m.Timer1->setEnabled(false);
  for (Control* digit : {m.txtSecs, m.txt0, m.txtMins, m.txt00, m.txtHours, m.txt000}) {
    setField(*digit, "0");
  }
  m.autosaveTicks->setValue(0);
  m.setCaption(tr(kStopped));
  m.cmdnew->setEnabled(true);
  m.setIcon(m.Picture2->picture());
  if (m.CmdReset->backColour() == colour::yellow) m.tray.add();
  setField(*m.txtDays, "0");
  m.txtDays->setVisible(false);
  m.lblDays->setVisible(false);
  // The mode boxes stay locked: only a save opens them again.
  openAdjusterButtons();
  SettingsForm& s = settings();
  setField(*s.nextBillableMinute, "1");
  setField(*s.elapsedMinutes, "0");
  away->clockCleared();
}

void JobClock::clearForLoad() {
  MainForm& m = main_;
  m.Timer1->setEnabled(false);
  for (Control* digit : {m.txtSecs, m.txt0, m.txtMins, m.txt00, m.txtHours, m.txt000}) {
    setField(*digit, "0");
  }
  m.autosaveTicks->setValue(0);
}

void JobClock::stopAndClear() {
  MainForm& m = main_;
  m.Timer1->setEnabled(false);
  m.CmdStart->setBackColour(colour::buttonFace);
  m.CmdReset->setBackColour(colour::buttonFace);
  m.CmdStop->setBackColour(colour::red);
  for (Control* digit : {m.txtSecs, m.txt0, m.txtMins, m.txt00, m.txtHours, m.txt000, m.txtDays}) {
    setField(*digit, "0");
  }
  m.txtDays->setVisible(false);
  m.lblDays->setVisible(false);
  m.tray.remove();
  // The tray tip follows the caption, so a reset clock never claims to be running.
  showStopped();
  m.tray.add();
}

void JobClock::lockAdjusters() {
  MainForm& m = main_;
  m.Command1->setVisible(false);
  m.Command3->setVisible(false);
  for (Control* c : {m.Command4, m.Command6, m.Command7, m.Command8, m.chkplus, m.chkminus}) {
    c->setEnabled(false);
  }
  if (m.log) m.log->refresh();  // the log's times lock with the adjusters
}

void JobClock::openAdjusterButtons() {
  MainForm& m = main_;
  m.Command1->setVisible(true);
  m.Command3->setVisible(true);
  for (Control* c : {m.Command4, m.Command6, m.Command7, m.Command8}) c->setEnabled(true);
  if (m.log) m.log->refresh();
}

void JobClock::addMinutes(double minutes) {
  // An adjustment in the work log, unless a rule around it (time away) names the change.
  LogKeeper::Hold adjustment(*main_.log, EntryKind::Adjustment);
  // A minute count that does not read as a number is left as it is.
  if (auto count = parseNumber(main_.minuteCounter->text())) {
    setField(*main_.minuteCounter, numberText(*count + minutes));
  }
}

bool JobClock::subtractMode() const {
  return main_.chkminus->value() == 1;
}

void JobClock::adjustByMode(double minutes) {
  Control& hours = *main_.categorySelected[1];
  if (hours.value() != 1) {
    // The button would otherwise do nothing, and say nothing.
    const std::string name = hours.text().empty() ? tr("Hours") : hours.text();
    // TRANSLATORS: %1 is the name of the base category, "Hours" unless the user renamed it.
    setField(*main_.statusMessage, fill(tr("Tick %1 to bill the clock's minutes."), {name}));
    return;
  }
  addMinutes(subtractMode() ? -minutes : minutes);
}

void JobClock::modeClicked(Control& box, Control& other, bool subtract) {
  if (box.value() == 0) {
    // The pair always has one box ticked: unticking one (possible once a save has enabled
    // both) ticks the other.
    if (other.value() == 0) other.setValue(1);
    return;
  }
  other.setValue(0);
  box.setEnabled(false);
  other.setEnabled(true);
  setMode(subtract);
}

void JobClock::setMode(bool subtract) {
  const ModeTexts& texts = subtract ? kSubtract : kAdd;
  MainForm& m = main_;
  setField(*m.Frame2, tr(texts.frame));
  m.Frame2->setTooltip(tr(texts.frameTip));
  Control* buttons[4] = {m.Command4, m.Command6, m.Command7, m.Command8};
  for (int i = 0; i < 4; ++i) buttons[i]->setTooltip(tr(texts.tips[i]));
}

}  // namespace vantrel
