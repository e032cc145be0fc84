// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/project_commands.h"

#include "app/main_form.h"
#include "app/vantrel.h"
#include "clock/job_clock.h"
#include "clock/settings_form.h"
#include "contacts/customer_form.h"
#include "documents/invoice_form.h"
#include "platform/memory.h"
#include "platform/translation.h"
#include "sheet/job_sheet.h"
#include "sheet/numbers.h"
#include "store/labels_form.h"
#include "store/project_file.h"
#include "worklog/log_keeper.h"

namespace vantrel {

namespace {

constexpr const char* kStopped = N_("Vantrel - Stopped");
constexpr const char* kSelectFirst = N_("Please select a file first.");

}  // namespace

ProjectCommands::ProjectCommands(MainForm& main) : main_(main), dialog_(main.services(), kFilter) {
  MainForm& m = main_;
  m.cmdopen->setTooltip(tr("Press to open up Existing Projects"));
  m.cmdsav->setTooltip(tr("Save Project"));
  m.cmdSave->setTooltip(tr("Save Project As"));

  m.cmdnew->onClick = [this] { newJob(true); };
  m.new1->onClick = [this] { newJob(false); };
  m.cmdopen->onClick = [this] { open(true); };
  m.open1->onClick = [this] { open(false); };
  // The button refuses a job without a file as soon as the mouse goes down on it.
  m.cmdsav->onMouseDown = [this] { refuseWithoutFile(); };
  m.cmdsav->onClick = [this] { save(); };
  m.save->onClick = [this] { save(); };
  m.cmdSave->onClick = [this] { saveAs(true); };
  m.saveas->onClick = [this] { saveAs(false); };
}

Vantrel& ProjectCommands::app() const {
  return main_.app();
}

ProjectCommands::SaveState ProjectCommands::saveState() const {
  const MainForm& m = main_;
  return {m.cmdnew->enabled(), m.new1->enabled(), m.cmdopen->enabled(), m.open1->enabled(),
          m.cmdsav->enabled(), m.save->enabled(), m.cmdSave->enabled()};
}

void ProjectCommands::restore(const SaveState& state) {
  MainForm& m = main_;
  Control* commands[] = {m.cmdnew, m.new1, m.cmdopen, m.open1, m.cmdsav, m.save, m.cmdSave};
  for (std::size_t i = 0; i < state.size(); ++i) commands[i]->setEnabled(state[i]);
}

void ProjectCommands::clearJob() {
  MainForm& m = main_;
  app().customer().clearJobHeading();
  setField(*m.projectPath, "");
  setField(*m.totalHours, "");
  setField(*m.minuteCounter, "0");
}

// The clock shown stopped: the colours, the icon and the tray's picture and tip.
void ProjectCommands::showStopped() {
  MainForm& m = main_;
  setField(*app().labels().labelText[1], tr("Hours"));
  setField(*m.Text54, tr(kStopped));
  m.tray.remove();
  if (m.CmdStop->backColour() == colour::red) {
    m.setIcon(m.Picture2->picture());
    m.tray.add();
  }
  m.setCaption(tr(kStopped));
}

void ProjectCommands::open(bool button) {
  openWith(button, std::nullopt);
}

void ProjectCommands::openPath(const std::string& path) {
  openWith(true, path);
}

void ProjectCommands::openAutosave(const std::string& path) {
  openWith(false, path);
  if (!countsAsZero(main_.txtDays->text())) {
    main_.txtDays->setVisible(true);
    main_.lblDays->setVisible(true);
  }
}

void ProjectCommands::openWith(bool button, const std::optional<std::string>& given) {
  MainForm& m = main_;
  // The file is looked at before the job is touched: one that is not a project leaves the
  // job and its file as they were, so no Save can write over what was chosen by mistake.
  if (!given) dialog_.toOpen(tr("Open Project"));
  const std::string path = given ? *given : dialog_.held();
  if (refusedToOpen(m.services().messages, path)) return;
  LogKeeper::Hold opening(*m.log, EntryKind::Correction);
  m.log->startAfresh();

  m.clock->away->forget();
  m.txtDays->setVisible(false);
  m.lblDays->setVisible(false);
  m.Timer1->setEnabled(false);
  // The days go with the other digits: a file without them must not keep the last job's.
  for (Control* digit : {m.txtSecs, m.txt0, m.txtMins, m.txt00, m.txtHours, m.txt000, m.txtDays}) {
    setField(*digit, "0");
  }
  m.autosaveTicks->setValue(0);
  m.cmdSave->setEnabled(true);
  m.save->setEnabled(true);
  m.cmdnew->setEnabled(true);

  m.categorySelected[1]->setEnabled(true);
  for (int i = 1; i <= 7; ++i) m.categorySelected[i]->setValue(0);
  clearJob();
  for (int i = 1; i <= 7; ++i) {
    setField(*m.categoryHours[i], "0");
    setField(*m.categoryAmount[i], "0");
  }
  setField(*m.minuteCounter, "0");

  m.clock->highlight(*m.CmdStop);
  setField(*m.statusMessage, "");
  showStopped();

  readProject(app(), path);
  returnFreedMemory();
  if (button) setField(*m.projectPath, path);

  if (countsAsZero(m.minuteCounter->text())) {
    m.cmdnew->setEnabled(true);
    m.cmdSave->setEnabled(true);
  }
  if (m.projectPath->text().empty()) m.cmdsav->setEnabled(false);
  for (Control* c :
       {m.cmdopen, static_cast<Control*>(m.open1), static_cast<Control*>(m.new1), m.cmdnew}) {
    c->setEnabled(true);
  }

  SettingsForm& settings = app().settings();
  for (int i = 1; i <= 3; ++i) settings.startRule[i]->setEnabled(false);
  settings.startRule[1]->setValue(1);
  m.clock->openAdjusterButtons();
  if (button) {
    for (int i = 1; i <= 3; ++i) settings.rememberBox[i]->setEnabled(false);
  }

  m.sheet->recalculateTotals();
  m.cmdnew->setEnabled(true);
  m.cmdopen->setEnabled(true);
  if (button && !countsAsZero(m.txtDays->text())) {
    m.txtDays->setVisible(true);
    m.lblDays->setVisible(true);
  }
}

void ProjectCommands::newJob(bool button) {
  MainForm& m = main_;
  LogKeeper::Hold another(*m.log, EntryKind::Correction);
  m.log->startAfresh();
  m.clock->away->forget();
  if (!button) {
    setField(*m.Text54, tr(kStopped));
    m.setCaption(tr(kStopped));
    m.cmdsav->setEnabled(false);
  }
  m.cmdSave->setEnabled(false);
  m.save->setEnabled(false);

  for (int i = 1; i <= 7; ++i) m.categorySelected[i]->setValue(0);
  for (Control* c : {m.Command4, m.Command6, m.Command7, m.Command8}) c->setEnabled(true);

  clearJob();
  if (button) {
    InvoiceForm& invoice = app().invoice();
    setField(*invoice.Address, "");
    setField(*invoice.Phone, "");
  }
  for (int i = 1; i <= 7; ++i) {
    setField(*m.categoryHours[i], "0");
    if (button) setField(*m.categoryAmount[i], "0");
  }
  setField(*m.minuteCounter, "0");
  setField(*m.totalHours, "");

  m.Timer1->setEnabled(false);
  for (Control* digit : {m.txtSecs, m.txt0, m.txtMins, m.txt00, m.txtHours, m.txt000}) {
    setField(*digit, "0");
  }
  // A new job starts its clock at day 0 as well.
  setField(*m.txtDays, "0");
  m.txtDays->setVisible(false);
  m.lblDays->setVisible(false);
  m.autosaveTicks->setValue(0);
  m.categorySelected[1]->setEnabled(true);
  if (m.projectPath->text().empty()) {
    m.cmdsav->setEnabled(false);
    m.save->setEnabled(false);
  }

  m.clock->highlight(*m.CmdStop);
  if (button) setField(*m.statusMessage, "");
  m.setCaption(tr(kStopped));

  if (button) {
    if (countsAsZero(m.minuteCounter->text())) m.cmdSave->setEnabled(false);
    m.cmdopen->setEnabled(true);
    m.open1->setEnabled(true);
  }
  showStopped();

  SettingsForm& s = app().settings();
  if (button) {
    setField(*s.nextBillableMinute, "1");
    setField(*s.elapsedMinutes, "0");
  }
  for (int i = 1; i <= 3; ++i) s.startRule[i]->setEnabled(true);
  s.Command6->setEnabled(true);
  if (button) {
    s.Command7->setEnabled(true);
    s.Command3->setEnabled(true);
  }
  s.Text5->setEnabled(true);
  setField(*s.Text5, "0");
  s.chooseRememberedRule();
  for (int i = 1; i <= 3; ++i) s.rememberBox[i]->setEnabled(true);

  m.clock->openAdjusterButtons();
}

bool ProjectCommands::write(const std::string& path) {
  const WriteResult written = writeProject(app(), path);
  if (!written) main_.services().messages.show(couldNotSave(path, written));
  return written.ok;
}

bool ProjectCommands::refuseWithoutFile() {
  if (!main_.projectPath->text().empty()) return false;
  main_.cmdsav->setEnabled(false);
  main_.save->setEnabled(false);
  main_.services().messages.show(tr("Please select a file first before saving"));
  return true;
}

void ProjectCommands::save() {
  MainForm& m = main_;
  if (refuseWithoutFile()) return;
  const std::string path = m.projectPath->text();
  // The marker names no file: the job has never been stored, so it needs a name first.
  if (path == JobSheet::kNewFileMarker) {
    saveAs(true);
    return;
  }
  m.cmdsav->setBackColour(colour::buttonFace);
  // A failed write leaves every command as it was: the job is still unsaved.
  if (!write(path)) return;

  m.cmdsav->setEnabled(false);
  m.cmdSave->setEnabled(false);
  m.save->setEnabled(false);
  for (Control* c :
       {m.cmdopen, static_cast<Control*>(m.open1), m.cmdnew, static_cast<Control*>(m.new1)}) {
    c->setEnabled(true);
  }
  m.clock->openAdjusterButtons();
  m.chkplus->setEnabled(true);
  m.chkminus->setEnabled(true);
}

void ProjectCommands::saveAs(bool button) {
  MainForm& m = main_;
  const SaveState before = saveState();
  m.cmdsav->setEnabled(false);
  m.save->setEnabled(false);
  if (button) setField(*m.statusMessage, "");

  CustomerForm& customer = app().customer();
  std::string proposed;
  if (!customer.invoiceNumber->text().empty()) {
    proposed = customer.invoiceNumber->text() + "(" + customer.projectName->text() + ")";
  }
  // A cancel writes nothing, whatever name the dialog holds: the job stays as unsaved as it
  // was, so nothing can drop it later without a word. The question about an existing file
  // is asked below.
  const std::optional<std::string> chosen = dialog_.toSave(tr("Save Project As"), proposed, false);
  if (!chosen || chosen->empty()) {
    setField(*m.statusMessage, tr(kSelectFirst));
    restore(before);
    return;
  }
  const std::string& path = *chosen;
  if (fileExists(path) &&
      m.services().messages.show(tr("File Exists, Would you like to Overwrite?"),
                                 Buttons::YesNoSafe, tr("OverWrite File")) == Answer::No) {
    return;
  }
  if (!write(path)) {
    restore(before);
    return;
  }
  setField(*m.projectPath, path);
  m.cmdopen->setEnabled(true);
  m.cmdnew->setEnabled(true);
  m.open1->setEnabled(true);
  m.cmdSave->setEnabled(false);
}

}  // namespace vantrel
