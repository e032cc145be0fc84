// SPDX-License-Identifier: GPL-3.0-or-later
#include "clock/settings_form.h"

#include <string>

#include "app/main_form.h"
#include "app/vantrel.h"
#include "clock/job_clock.h"
#include "contacts/customer_form.h"
#include "documents/invoice_form.h"
#include "platform/text_file.h"
#include "platform/translation.h"
#include "sheet/job_sheet.h"
#include "sheet/numbers.h"
#include "store/options_form.h"
#include "store/user_settings.h"
#include "worklog/log_keeper.h"

namespace vantrel {
namespace {

constexpr const char* kAutosaveName = "AutoSave.pcl";

// The picture each skin shows on the main window (Image1..Image4), by skin box.
constexpr int kSkinImage[5] = {0, 2, 1, 3, 4};

}  // namespace

SettingsForm::SettingsForm(Vantrel& app)
    : Form(app.services(), "frmSettings", tr("Preferences"), 7335, 8100), app_(app) {
  design();
  wire();
}

void SettingsForm::design() {
  constexpr int row = 330;
  auto label = [this](const char* name, Geometry g, std::string text, Control* in = nullptr) {
    Control* c = &add(ControlKind::Label, name, g, std::move(text), in);
    c->style().shrinkToFit = true;  // captions run longer in some languages
    return c;
  };
  auto button = [this](const char* name, Geometry g, std::string text, Control* in = nullptr) {
    return &add(ControlKind::CommandButton, name, g, std::move(text), in);
  };

  Control& rules = add(ControlKind::Frame, "Frame1", {120, 120, 4440, 1920}, tr("Start Rule"));
  const char* ruleText[4] = {"", N_("Start clock right away"), N_("Start clock after Minimum"),
                             N_("Use Minimum Amount")};
  for (int i = 1; i <= 3; ++i) {
    int y = 300 + (i - 1) * 390;
    startRule[i] = &add(ControlKind::OptionButton, "Option" + std::to_string(i),
                        {120, y, 3420, row}, tr(ruleText[i]), &rules);
    rememberBox[i] = &add(ControlKind::CheckBox, "Check" + std::to_string(i + 4),
                          {3600, y, 330, row}, "", &rules);
    rememberBox[i]->setTooltip(tr("Save Settings"));
    // TRANSLATORS: read to a screen reader; %1 is the start rule beside the box.
    rememberBox[i]->spoken = {tr("Save, %1"), startRule[i]};
  }
  Control& saveLabel = *label("Label5", {3420, 60, 780, 240}, tr("Save"), &rules);
  saveLabel.setTooltip(tr("Click on these boxes to save the settings for future projects."));
  startRule[1]->setValue(1);
  rememberBox[1]->setValue(1);
  Text5 = &add(ControlKind::TextBox, "Text5", {480, 1440, 1320, row}, "0", &rules);
  Text5->setTooltip(tr("Minumum amount in Dollars"));
  Text5->style().align = Align::Right;
  Text5->setVisible(false);

  Control& minimum =
      add(ControlKind::Frame, "Frame2", {120, 2160, 4440, 900}, tr("Minimum Hour Requirements"));
  minimumHours = &add(ControlKind::TextBox, "Text1", {120, 360, 900, row}, ".5", &minimum);
  minimumHours->setVisible(false);
  Label3 = label("Label3", {240, 390, 900, 270}, "1/2", &minimum);
  Label3->setTooltip(tr("1/4 to a Full Hour of Minimum Time"));
  Label3->style().bold = true;
  Command4 = button("Command4", {1260, 360, 450, row}, "+", &minimum);
  Command4->setTooltip(tr("Up by 1/4 Hour"));
  Command5 = button("Command5", {1740, 360, 450, row}, "-", &minimum);
  Command5->setTooltip(tr("Down by 1/4 Hour"));
  label("Label2", {2340, 390, 1980, 270}, tr("Hours billed at least"), &minimum);

  Control& skins = add(ControlKind::Frame, "Frame3", {4680, 120, 2280, 1800}, tr("Skins"));
  const char* skinText[5] = {"", N_("Blue Skin"), N_("Default Skin"), N_("Green Skin"),
                             N_("Peach Skin")};
  const char* skinTip[5] = {"", N_("Use Custom skin"), N_("Use Default Skin"),
                            N_("Use Custom Skin"), N_("Use Custom Skin")};
  for (int i = 1; i <= 4; ++i) {
    skin[i] = &add(ControlKind::CheckBox, "Check" + std::to_string(i),
                   {120, 300 + (i - 1) * 360, 2040, row}, tr(skinText[i]), &skins);
    skin[i]->setTooltip(tr(skinTip[i]));
  }
  skin[2]->setValue(1);

  Control& autosave =
      add(ControlKind::Frame, "Frame4", {120, 3180, 6840, 2520}, tr("Auto Save Path"));
  autosaveTarget = &add(ControlKind::TextBox, "Text2", {120, 300, 6600, row}, "", &autosave);
  autosaveTarget->setTooltip(tr("Auto Save Directory"));
  autosaveTarget->style().readOnly = true;
  Drive1 = &add(ControlKind::DriveList, "Drive1", {120, 720, 2160, row}, "/", &autosave);
  Dir1 = &add(ControlKind::FolderList, "Dir1", {120, 1110, 2160, 1260}, "", &autosave);
  File1 = &add(ControlKind::FileList, "File1", {2400, 720, 2400, 1650}, "", &autosave);
  Command8 = button("Command8", {4920, 720, 1800, row}, tr("Save Directory"), &autosave);
  Command8->setTooltip(tr("Click here to save directory to Save Path"));
  Command3 = button("Command3", {4920, 1110, 1800, row}, tr("Clear"), &autosave);
  Command3->setTooltip(tr("Clear Auto Save Path"));

  // Kept per user, not in the price list: its file keeps exactly its lines.
  SettingsStore& store = services().settings;
  chkAway = &add(ControlKind::CheckBox, "chkAway", {120, 5820, 3300, row},
                 tr("Ask about time away after"));
  chkAway->setValue(awayAsked(store) ? 1 : 0);
  chkAway->setTooltip(
      tr("Ask on your return whether to keep time the clock ran while you were away"));
  txtAway = &add(ControlKind::TextBox, "txtAway", {3480, 5820, 600, row},
                 std::to_string(awayMinutes(store)));
  txtAway->style().align = Align::Right;
  txtAway->spoken.name = tr("Ask about time away after, minutes");
  txtAway->setEnabled(chkAway->value() == 1);
  label("Label6", {4140, 5850, 1200, 270}, tr("minutes"));
  lblAway = label("lblAway", {120, 6180, 6840, 270},
                  tr("This desktop tells no idle time: only sleep is noticed."));
  lblAway->setVisible(false);

  Command6 = button("Command6", {120, 6600, 1200, 420}, tr("Reset"));
  Command6->setBackColour(4680179);
  Command6->setTooltip(tr("Caution this will Reset your Project"));
  label("Label4", {1440, 6675, 2520, 270}, tr("This will reset the project"));
  Command7 = button("Command7", {4080, 6600, 1560, 420}, tr("Use Defaults"));
  Command7->setTooltip(tr("Click here to restore Default Settings"));
  Command2 = button("Command2", {4080, 7080, 1560, row}, tr("Options"));
  Command2->setTooltip(tr("Open Options"));
  Command1 = button("Command1", {5760, 7080, 1200, row}, tr("Close"));
  Command1->setTooltip(tr("Close Preferences window"));

  nextBillableMinute = &add(ControlKind::TextBox, "Text3", {7500, 0, 900, row}, "1");
  elapsedMinutes = &add(ControlKind::TextBox, "Text4", {7500, 0, 900, row}, "0");
  rememberedStartRule = &add(ControlKind::TextBox, "Text6", {7500, 0, 900, row}, "1");
  for (Control* c : {nextBillableMinute, elapsedMinutes, rememberedStartRule}) c->setVisible(false);
}

// The rules reach other windows, so they are wired only once every control holds its
// design value: nothing runs while the window is being built.
void SettingsForm::wire() {
  for (int i = 1; i <= 3; ++i) {
    startRule[i]->onClick = [this, i] { ruleChosen(i); };
    rememberBox[i]->onClick = [this, i] { rememberClicked(i); };
  }
  JobSheet::guardFor(app_, *Text5, [](MainForm& m) -> const Control& { return *m.minimumAmount; });
  Text5->figures = true;
  minimumHours->figures = true;
  Text5->onChange = [this] {
    MainForm& main = app_.main();
    setField(*main.minimumAmount, Text5->text());
    main.sheet->recalculateTotals();
  };
  minimumHours->onChange = [this] { minimumHoursChanged(); };
  Command4->onClick = [this] { stepMinimum(0.25); };
  Command5->onClick = [this] { stepMinimum(-0.25); };
  for (int i = 1; i <= 4; ++i) skin[i]->onClick = [this, i] { skinClicked(i); };

  autosaveTarget->onChange = [this] { markOptionsUnsaved(); };
  Command8->onClick = [this] {
    const std::string target = joinPath(Dir1->text(), kAutosaveName);
    setField(*autosaveTarget, target);
    setField(*app_.main().projectPath, target);
  };
  Command3->onClick = [this] {
    setField(*autosaveTarget, "");
    setField(*autosaveTarget, defaultAutosaveTarget());
    setField(*app_.main().autosavePath, autosaveTarget->text());
  };
  Drive1->onChange = [this] { setField(*Dir1, Drive1->text()); };
  Dir1->onChange = [this] { File1->setFolder(Dir1->text()); };

  Command7->onClick = [this] { useDefaults(); };
  Command6->onClick = [this] { resetProject(); };
  chkAway->onClick = [this] {
    setAwayAsked(services().settings, chkAway->value() == 1);
    txtAway->setEnabled(chkAway->value() == 1);
  };
  txtAway->refuses = [](std::string_view text) { return awayMinutesRefusal(text); };
  txtAway->onChange = [this] {
    if (awayMinutesRefusal(txtAway->text()).empty()) {
      setAwayMinutes(services().settings, std::stoi(txtAway->text()));
    }
  };
  Command1->onClick = [this] { closeCommand(); };
  Command2->onClick = [this] {
    app_.options().show();
    hide();
  };
  onQueryClose = [this] { return closeBox(); };
}

std::string SettingsForm::defaultAutosaveTarget() const {
  return joinPath(services().app.folder(), kAutosaveName);
}

void SettingsForm::load() {
  const auto hours = parseNumber(minimumHours->text());
  if (minimumHours->text().empty() || (hours && *hours == 0)) setField(*minimumHours, "0.5");
  setField(*minimumHours, formatNumber(minimumHours->text(), "0.00"));
  Text5->setVisible(false);
  for (int i = 1; i <= 3; ++i) startRule[i]->setEnabled(true);
  if (autosaveTarget->text().empty()) setField(*autosaveTarget, defaultAutosaveTarget());
  setField(*Dir1, services().app.folder());
  services().idle.onSourceKnown = [this] { showIdleSource(); };
  showIdleSource();
}

void SettingsForm::open() {
  // Where the clock has not yet asked the desktop, the window asks: its note needs to know.
  // Not at load, which comes at start-up: a start asks the desktop nothing.
  DesktopIdle& idle = services().idle;
  if (idle.idleSource() == DesktopIdle::Source::Unknown) idle.watch();
  showIdleSource();
  show();
}

void SettingsForm::showIdleSource() {
  lblAway->setVisible(services().idle.idleSource() == DesktopIdle::Source::None);
}

void SettingsForm::markOptionsUnsaved() {
  app_.options().setUnsaved(true);
}

void SettingsForm::ruleChosen(int rule) {
  Control& reset = *app_.main().CmdReset;
  if (rule == 3) {
    Text5->setVisible(true);
    markOptionsUnsaved();
    setField(*app_.main().minimumFactor[1], "1");
    reset.setEnabled(true);
    return;
  }
  markOptionsUnsaved();
  setField(*Text5, "0");
  Text5->setVisible(false);
  // Under the minimum the billed time is already set; a reset clock would drop it.
  reset.setEnabled(rule == 1);
}

void SettingsForm::minimumHoursChanged() {
  Control& box = *minimumHours;
  const std::string formatted = formatNumber(box.text(), "0.00");
  if (formatted != box.text()) {
    setField(box, formatted);  // the rule runs again on the formatted text
    return;
  }
  // Only a price list can bring any other value, which then stays as it was loaded.
  const auto hours = parseNumber(box.text());
  if (!hours) return;
  if (*hours == 0.25) setField(*Label3, "1/4");
  if (*hours == 0.5) setField(*Label3, "1/2");
  if (*hours == 0.75) setField(*Label3, "3/4");
  if (*hours == 1) setField(*Label3, "1");
  if (*hours == 1.25) {
    services().messages.show(tr("One Hour Limit"));
    setField(box, "1");
  } else if (*hours == 0) {
    services().messages.show(tr("Limit is too low"));
    setField(box, "0.25");
  }
}

void SettingsForm::stepMinimum(double hours) {
  if (auto now = parseNumber(minimumHours->text())) {
    setField(*minimumHours, numberText(*now + hours));
  }
  markOptionsUnsaved();
}

void SettingsForm::rememberClicked(int box) {
  if (rememberBox[box]->value() == 1) {
    setField(*rememberedStartRule, std::to_string(box));
    for (int other = 1; other <= 3; ++other) {
      if (other != box) rememberBox[other]->setValue(0);
    }
  }
  markOptionsUnsaved();
  startRule[box]->setValue(1);
}

void SettingsForm::skinClicked(int box) {
  if (skin[box]->value() != 1) return;
  for (int other = 1; other <= 4; ++other) {
    if (other != box) skin[other]->setValue(0);
  }
  markOptionsUnsaved();
  applySkin(box);
}

void SettingsForm::applySkin(int box) {
  const Colour c = kSkinColour[box];
  MainForm& m = app_.main();
  m.setBackColour(c);
  for (Control* frame :
       {m.frameClock, m.Frame2, m.frameBase, m.frameServices, m.frameCustomer, m.frameCalculator}) {
    frame->setBackColour(c);
  }
  for (int i = 1; i <= 7; ++i) {
    m.categorySelected[i]->setBackColour(c);
    m.categoryRate[i]->setBackColour(c);
  }
  for (Control* digit : {m.txtDays, m.txt000, m.txtHours, m.Text28, m.txt00, m.txtMins, m.Text27,
                         m.txt0, m.txtSecs}) {
    digit->setBackColour(c);
  }
  for (Control* field : {m.minuteCounter, m.Text50, m.Text35, m.Text36, m.Text37, m.Text38,
                         m.totalHours, m.totalCost, m.rateCopy[1]}) {
    field->setBackColour(c);
  }
  for (int i = 1; i <= 4; ++i) m.image[i]->setVisible(i == kSkinImage[box]);
}

void SettingsForm::useDefaults() {
  startRule[1]->setValue(1);
  setField(*autosaveTarget, defaultAutosaveTarget());
  setField(*Text5, "0");
  skin[1]->setValue(0);
  skin[2]->setValue(1);
  rememberBox[1]->setValue(1);
  rememberBox[2]->setValue(0);
  rememberBox[3]->setValue(0);
  setField(*app_.main().autosavePath, autosaveTarget->text());
}

void SettingsForm::resetProject() {
  MainForm& m = app_.main();
  LogKeeper::Hold another(*m.log, EntryKind::Correction);
  m.log->startAfresh();
  m.clock->away->forget();
  m.categorySelected[1]->setValue(0);
  setField(*nextBillableMinute, "1");
  setField(*elapsedMinutes, "0");
  setField(*m.minuteCounter, "0");
  m.clock->stopAndClear();
  m.categorySelected[1]->setValue(0);
  for (int i = 2; i <= 7; ++i) m.categorySelected[i]->setValue(0);

  app_.customer().clearJobHeading();
  setField(*m.projectPath, "");
  setField(*m.totalHours, "");
  setField(*m.minuteCounter, "0");
  InvoiceForm& invoice = app_.invoice();
  setField(*invoice.Address, "");
  setField(*invoice.Phone, "");
  for (int i = 1; i <= 7; ++i) {
    setField(*m.categoryHours[i], "0");
    setField(*m.categoryAmount[i], "0");
  }
  setField(*m.minuteCounter, "0");
  setField(*m.totalHours, "");

  for (int i = 1; i <= 3; ++i) startRule[i]->setEnabled(true);
  setField(*Text5, "0");
  Command7->setEnabled(true);
  Command3->setEnabled(true);
  Text5->setEnabled(true);

  for (Control* c : {m.cmdnew, static_cast<Control*>(m.new1), m.cmdopen,
                     static_cast<Control*>(m.open1), m.cmdSave}) {
    c->setEnabled(true);
  }
  m.cmdsav->setEnabled(false);
  m.save->setEnabled(false);
  m.clock->openAdjusterButtons();

  chooseRememberedRule();
  for (int i = 1; i <= 3; ++i) rememberBox[i]->setEnabled(true);
  m.categorySelected[1]->setEnabled(true);
  // Zeroing the minute count above copied 0 into the next billable minute; a new job bills
  // from minute 1 again, as after New.
  setField(*nextBillableMinute, "1");
}

void SettingsForm::chooseRememberedRule() {
  if (auto rule = parseNumber(rememberedStartRule->text()); rule && *rule >= 1 && *rule <= 3) {
    startRule[static_cast<int>(*rule)]->setValue(1);
  }
}

void SettingsForm::closeCommand() {
  if (app_.options().unsaved()) app_.options().show();
  if (rememberBox[1]->value() != 1 && rememberBox[2]->value() != 1 &&
      rememberBox[3]->value() != 1) {
    rememberBox[1]->setValue(1);
    startRule[1]->setValue(1);
  }
  bool anySkin = false;
  for (int i = 1; i <= 4; ++i) anySkin = anySkin || skin[i]->value() == 1;
  if (!anySkin) skin[2]->setValue(1);
  hide();
}

bool SettingsForm::closeBox() {
  if (autosaveTarget->text().empty()) setField(*app_.main().autosavePath, "");
  if (app_.options().unsaved()) app_.options().show();
  hide();
  return true;
}

}  // namespace vantrel
