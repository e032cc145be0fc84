// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/main_shell.h"

#include <algorithm>

#include "app/help_pages.h"
#include "app/info_form.h"
#include "app/main_form.h"
#include "app/recovery.h"
#include "app/vantrel.h"
#include "clock/job_clock.h"
#include "clock/settings_form.h"
#include "contacts/company_form.h"
#include "contacts/customer_form.h"
#include "documents/invoice_form.h"
#include "documents/report_form.h"
#include "platform/translation.h"
#include "store/labels_form.h"
#include "store/options_form.h"
#include "store/project_commands.h"
#include "timers/countdown_form.h"
#include "timers/reminder_form.h"
#include "worklog/log_form.h"

namespace vantrel {

namespace {

constexpr const char* kStopClock = N_("Please stop the clock");
constexpr const char* kCountdownActive = N_("The Countdown Timer is still active");
constexpr const char* kSaveProject = N_("Please save the project");
constexpr const char* kSaveYourProject = N_("Please save your project");
constexpr const char* kStopped = N_("Vantrel - Stopped");
constexpr const char* kExitUnsaved = N_("Your project has not been saved. Exit anyway?");

}  // namespace

MainShell::MainShell(MainForm& main) : main_(main) {
  wireTimers();
  wireWindows();
  wireTrayMenu();
  wireExits();
  main_.Text54->onChange = [this] { main_.tray.copyTip(); };
  main_.onQueryClose = [this] { return queryClose(); };
  main_.cmdcopy->onClick = [this] {
    Clipboard& clipboard = main_.services().clipboard;
    clipboard.clear();
    clipboard.setText(main_.totalHours->text());
  };
}

MainShell::~MainShell() {
  main_.services().tray.onMouse = nullptr;
}

Vantrel& MainShell::app() const {
  return main_.app();
}

void MainShell::load() {
  Services& services = main_.services();
  main_.setSize(7200, 8970);
  main_.tray.add();
  services.tray.onMouse = [this](int message) { trayMouse(message); };
  resetClock();
  main_.cmdsav->setEnabled(false);
  main_.cmdSave->setEnabled(false);
  main_.save->setEnabled(false);

  LabelsForm& labels = app().labels();
  for (int i = 1; i <= 7; ++i) setField(*main_.categorySelected[i], labels.labelText[i]->text());
  app().options();

  main_.setIcon("stopped");
  main_.CmdStop->setBackColour(colour::red);
  main_.setCaption(tr(kStopped));
  const std::string& path = main_.projectPath->text();
  if (path == "Save New File" || path.empty()) main_.save->setEnabled(false);
  setField(*main_.Label20, services.clock.dateText());
  setField(*labels.labelText[1], tr("Hours"));

  setField(*main_.Text54, tr(kStopped));
  main_.tray.remove();
  if (main_.CmdStop->backColour() == colour::red) main_.tray.add();

  SettingsForm& settings = app().settings();
  setField(*settings.Text5, "0");
  if (settings.startRule[2]->value() != 0) main_.CmdReset->setEnabled(false);
  main_.cmdopen->setEnabled(true);
  main_.open1->setEnabled(true);
  startBreakReminder();
  // Here rather than before the splash, which should show at once; nothing reads the pages
  // before a help link is clicked, and each link puts a missing page back.
  installHelpPages(services.app.folder(), services.app.sharedFolder());
}

void MainShell::resetClock() {
  main_.clock->clearForLoad();
}

// The reminder counts from here: the program's running time.
void MainShell::startBreakReminder() {
  app().reminder().Timer1->setEnabled(true);
}

void MainShell::wireTimers() {
  Clock& clock = main_.services().clock;
  main_.Timer3->onTimer = [this, &clock] {
    setField(*main_.Text50, clock.timeText());
    main_.Timer3->setEnabled(false);
  };
  main_.Timer4->onTimer = [this, &clock] {
    const std::string now = clock.timeText();
    setField(*main_.Text52, now);
    setField(*main_.Label19, now);
  };
  main_.Timer6->onTimer = [this] { openCommandLine(); };
}

std::string MainShell::commandLinePath(std::string commandLine) {
  std::erase(commandLine, '"');
  return commandLine;
}

void MainShell::openCommandLine() {
  // Off before opening: a message box from the open must not let the timer run again.
  main_.Timer6->setEnabled(false);
  // Before the clock can run: its first autosave would write over a crashed job.
  offerRecovery(main_);
  const std::string line = main_.services().app.commandLine();
  if (!line.empty()) {
    const std::string path = commandLinePath(line);
    if (path.empty()) {
      setField(*main_.projectPath, path);
    } else {
      openGiven(path);
    }
  }
  startedUp_ = true;
  app().deliverHandOvers();
}

bool MainShell::jobUnsaved() const {
  return main_.cmdSave->enabled() || main_.cmdsav->enabled();
}

// A file named at a start, this one's or a later one's, opens as the command line opens it,
// but never over unsaved work (a job taken back after a crash, say) and never when it is no
// file of the program's.
void MainShell::openGiven(const std::string& path) {
  MessageBoxes& messages = main_.services().messages;
  if (jobUnsaved()) {
    // TRANSLATORS: %1 is the path of the project file to open.
    messages.show(fill(tr("Please save the project before opening %1."), {path}));
    return;
  }
  if (refusedToOpen(messages, path)) return;
  setField(*main_.projectPath, path);
  main_.files->openPath(path);
}

void MainShell::comeToFront() {
  if (main_.state() == WindowState::Minimized) main_.setState(WindowState::Normal);
  main_.show();
  main_.services().windows.toFront(main_);
}

void MainShell::takeHandOver(const std::string& commandLine) {
  comeToFront();
  const std::string path = commandLinePath(commandLine);
  if (!path.empty()) openGiven(path);
}

void MainShell::wireWindows() {
  auto showOptions = [this] { app().options().show(); };
  main_.cmdoptions->onClick = showOptions;
  main_.options->onClick = showOptions;
  main_.mnuSO->onClick = [this] {
    OptionsForm& options = app().options();
    options.show();
    options.setSize(5700, 8415);
  };
  main_.customer->onClick = [this] { app().customer().show(); };
  main_.setg->onClick = [this] { app().settings().open(); };
  main_.CDT->onClick = [this] { app().countdown().show(); };
  main_.ECI->onClick = [this] { app().company().show(); };
  main_.caculate->onClick = [this] { app().options().launchProgram(); };
  main_.EL->onClick = [this] { app().labels().show(); };
  main_.View->onClick = [this] { app().invoice().view(); };
  main_.mnuLog->onClick = [this] { app().workLog().view(); };
  main_.pntInv->onClick = [this] { app().invoice().print(); };
  main_.pdfInv->onClick = [this] { app().invoice().exportPdf(); };
  main_.viewReport->onClick = [this] { app().report().view(); };
  main_.pntReport->onClick = [this] { app().report().print(); };
  main_.pdfReport->onClick = [this] { app().report().exportPdf(); };
  auto showAbout = [this] { app().about().show(); };
  main_.ATP->onClick = showAbout;
  main_.image[1]->onClick = showAbout;
  main_.CFP->onClick = [this] { app().update().show(); };
  main_.help->onClick = [this] { app().help().show(); };
}

void MainShell::wireTrayMenu() {
  main_.MnuShow->onClick = [this] { main_.show(); };
  main_.MnuCancel->onClick = [this] { main_.closePopup(); };
}

void MainShell::trayMouse(int message) {
  if (message == kTrayDoubleClick) {
    main_.show();
  } else if (message == kTrayRightButton) {
    main_.popup(*main_.Mnu_File);
  }
}

bool MainShell::queryClose() {
  if (main_.CmdStart->backColour() == colour::green || main_.CmdStop->backColour() == colour::red) {
    if (main_.services().tray.available()) {
      main_.tray.add();
      main_.hide();
    } else {
      // Without a tray a hidden window could not be brought back to a running clock.
      main_.setState(WindowState::Minimized);
    }
  }
  return true;
}

void MainShell::wireExits() {
  main_.cmdexit->onClick = [this] { exitButton(); };
  main_.ext->onClick = [this] { exitMenu(); };
  main_.cls->onClick = [this] { closeMenu(); };
  main_.MnuExit->onClick = [this] { exitFromTray(); };
}

bool MainShell::clockRunning() const {
  return main_.CmdStart->backColour() == colour::green;
}

// Reading the countdown must not create its window: one never opened is not running.
bool MainShell::countdownRunning() const {
  const Form* countdown = app().loadedForm("frmCount");
  return countdown != nullptr && countdown->control("Timer1a").enabled();
}

bool MainShell::refuse(bool failed, const char* message) const {
  if (failed) main_.services().messages.show(tr(message));
  return failed;
}

bool MainShell::priceListSettled() {
  OptionsForm& options = app().options();
  if (!options.unsaved()) return true;
  const std::string question = fill(
      // TRANSLATORS: %1 is the path of the price list.
      tr("Save the changes to your price list (%1)?"), {options.priceListPath->text()});
  switch (main_.services().messages.show(question, Buttons::YesNoCancel)) {
    case Answer::Yes:
      return options.save();  // a failed save has said why; the program stays
    case Answer::No:
      return true;
    default:
      return false;
  }
}

void MainShell::endProgram() {
  if (!priceListSettled()) return;
  main_.tray.remove();
  app().end();
}

void MainShell::exitButton() {
  if (refuse(clockRunning(), kStopClock) || refuse(countdownRunning(), kCountdownActive) ||
      refuse(main_.cmdsav->enabled(), kSaveProject)) {
    return;
  }
  endProgram();
}

void MainShell::exitMenu() {
  if (refuse(clockRunning(), kStopClock) || refuse(countdownRunning(), kCountdownActive)) return;
  // This exit does not insist on a save, but unsaved hours are not thrown away unasked
  // (Ctrl+Q is easily pressed).
  if (main_.cmdSave->enabled() &&
      main_.services().messages.show(tr(kExitUnsaved), Buttons::YesNoSafe) != Answer::Yes) {
    return;
  }
  endProgram();
}

void MainShell::closeMenu() {
  if (refuse(countdownRunning(), kCountdownActive) ||
      refuse(main_.cmdSave->enabled(), kSaveProject)) {
    return;
  }
  endProgram();
}

void MainShell::exitFromTray() {
  if (refuse(countdownRunning(), kCountdownActive)) return;
  if (refuse(main_.cmdSave->enabled(), kSaveYourProject)) {
    main_.show();
    return;
  }
  endProgram();  // which hides every window
}

// The desktop takes every window with it, as the tray's Exit Program does.
bool MainShell::sessionEnding() {
  exitFromTray();
  return app().ended();
}

}  // namespace vantrel
