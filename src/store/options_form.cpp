// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/options_form.h"

#include <string>

#include "app/main_form.h"
#include "app/vantrel.h"
#include "clock/job_clock.h"
#include "contacts/company_form.h"
#include "contacts/customer_form.h"
#include "documents/invoice_form.h"
#include "invoice/invoice_rules.h"
#include "invoice/invoices_form.h"
#include "platform/text_file.h"
#include "platform/translation.h"
#include "sheet/job_sheet.h"
#include "sheet/numbers.h"
#include "store/labels_form.h"
#include "store/price_list.h"
#include "store/user_settings.h"

namespace vantrel {
namespace {

constexpr const char* kFillInPrices = N_("Please fill in Prices, Use the OPTIONS Button");
constexpr const char* kRunning = N_("Vantrel - Running");
// TRANSLATORS: a file dialog's filter: translate the description before the "|" only, the
// pattern after it stays as it is.
constexpr const char* kFilter = N_("AllFiles|*.pql");
constexpr const char* kSaveTitle = N_("Save Options As");

}  // namespace

OptionsForm::OptionsForm(Vantrel& app)
    : Form(app.services(), "frmOptions", tr("Options"), kFullWidth, kFullHeight),
      app_(app),
      dialog_(app.services(), tr(kFilter)) {
  design();
  wire();
}

void OptionsForm::design() {
  constexpr int row = 330;
  auto button = [this](const char* name, Geometry g, std::string text, std::string tip) {
    Control* c = &add(ControlKind::CommandButton, name, g, std::move(text));
    c->setTooltip(std::move(tip));
    return c;
  };
  auto label = [this](const char* name, Geometry g, std::string text) {
    Control* c = &add(ControlKind::Label, name, g, std::move(text));
    c->style().shrinkToFit = true;  // captions run longer in some languages
    return c;
  };

  // The rate column on the left is all the compact window shows.
  label("Label9", {120, 120, 2655, 270}, tr("Labels and Prices"))->style().bold = true;
  for (int i = 1; i <= 7; ++i) {
    int y = 450 + (i - 1) * 375;
    rateLabel[i] = label(("Label" + std::to_string(i)).c_str(), {120, y + 45, 1530, 270},
                         i == 1 ? tr("Hours") : tr("Your Text Here"));
    priceListRate[i] =
        &add(ControlKind::TextBox, "Text" + std::to_string(i), {1680, y, 1095, row}, "0");
    priceListRate[i]->style().align = Align::Right;
    // TRANSLATORS: what a screen reader calls a rate box; %1 is its service's label.
    priceListRate[i]->spoken = {tr("%1, rate"), rateLabel[i]};
    priceListRate[i]->style().shrinkToFit = true;
  }
  Command4 = button("Command4", {120, 3180, 2655, row}, tr("Edit Labels"), tr("Edit Labels"));
  Command5 = button("Command5", {120, 3570, 2655, row}, tr("Your Company Information"),
                    tr("Edit your Company Information"));
  Command3 = button("Command3", {120, 4050, 1290, row}, tr("Save"), tr("Save your Options"));
  Command1 = button("Command1", {1485, 4050, 1290, row}, tr("Save As"), tr("Save Options As"));
  Command2 = button("Command2", {120, 4440, 1290, row}, tr("Open"), tr("Open Prices"));
  cmdclose = button("cmdclose", {1485, 4440, 1290, row}, tr("Close"), tr("Close to Main Page"));
  Command8 = button("Command8", {120, 4920, 1290, row}, tr("Show"), tr("Show Application Launch"));
  label("Label13", {1485, 4965, 780, 270}, tr("Currency"));
  txtCurrency = &add(ControlKind::TextBox, "txtCurrency", {2265, 4920, 510, row},
                     currencySign(services().settings));
  txtCurrency->setTooltip(tr("The sign before the invoice's total"));
  priceListPath = &add(ControlKind::TextBox, "Text78", {120, 5460, 2655, row}, "");
  priceListPath->spoken.name = tr("Price list file");
  priceListPath->style().readOnly = true;

  // The launch area on the right.
  label("Label8", {6480, 120, 2340, 660},
        tr("Place your Favorite EXE File here to be used as a launch pad."));
  label("Label10", {6480, 840, 2340, 240}, tr("Drive"));
  Drive1 = &add(ControlKind::DriveList, "Drive1", {6480, 1080, 2340, row}, "/");
  Drive1->setTooltip(tr("Select Drive"));
  label("Label11", {6480, 1500, 2340, 240}, tr("Path"));
  Dir1 = &add(ControlKind::FolderList, "Dir1", {6480, 1740, 2340, 1440}, "");
  Dir1->setTooltip(tr("Select Path"));
  label("Label12", {6480, 3300, 2340, 240}, tr("File"));
  File1 = &add(ControlKind::FileList, "File1", {6480, 3540, 2340, 1380}, "");
  File1->setTooltip(
      tr("Select EXE File \"For more information please visit our on-line help section\""));
  File1->style().executablesOnly = true;
  launchProgramPath = &add(ControlKind::TextBox, "Text8", {6480, 5040, 2340, row}, "");
  launchProgramPath->spoken.name = tr("Program to launch");
  Command6 = button("Command6", {6480, 5460, 1500, row}, tr("Launch Program"),
                    tr("Launch your Favorite Application"));
  Command7 = button("Command7", {8040, 5460, 780, row}, tr("Hide"), tr("Hide Application Launch "));

  // The invoice's defaults between the two.
  Control* frame = &add(ControlKind::Frame, "fraInvoice", {3000, 60, 3360, 4980}, tr("Invoices"));
  tax = addTaxPanel(*this, frame, 120, 300, 3120);
  label("lblTerms", {120, 3285, 2040, 270}, tr("Payment terms (days)"))->setContainer(frame);
  txtTerms = &add(ControlKind::TextBox, "txtTerms", {2220, 3240, 1020, row}, "", frame);
  txtTerms->style().align = Align::Right;
  txtTerms->setTooltip(tr("Days until payment is due; empty: no due date on the invoice"));
  label("lblNumberPattern", {120, 3675, 2040, 270}, tr("Number pattern"))->setContainer(frame);
  txtNumberPattern = &add(ControlKind::TextBox, "txtNumberPattern", {2220, 3630, 1020, row},
                          kDefaultNumberPattern, frame);
  txtNumberPattern->setTooltip(
      tr("YYYY the year, YY its last two digits, MM the month, NNN the counter"));
  chkFooter = &add(ControlKind::CheckBox, "chkFooter", {120, 4020, 3120, 300},
                   tr("Print \"prepared by Vantrel\""), frame);
  chkFooter->setValue(1);
  cmdInvoices = &add(ControlKind::CommandButton, "cmdInvoices", {120, 4440, 3120, 375},
                     tr("Invoices Issued..."), frame);
  cmdInvoices->setTooltip(tr("The register of the invoices printed or exported"));

  // The flags run under both columns.
  auto flag = [this](const char* name, int top, std::string caption, std::string tip) {
    Control* c = &add(ControlKind::CheckBox, name, {120, top, 8700, 300}, std::move(caption));
    c->setTooltip(std::move(tip));
    return c;
  };
  launchDisabled = flag("Check1", 6180, tr("Disable Launch App Function"),
                        tr("Clicking this will shut down the Launch Application Function."));
  autoSaveEnabled = flag("Check2", 6510, tr("Enable Auto Save Function"), "");
  twoHourReminder =
      flag("Check3", 6840, tr("Two Hour Reminder"), tr("Click this to get a two hour reminder"));
  reminderSound = flag("Check4", 7170, tr("THR Sound (Alarm)"), tr("Two hour Reminder Sound"));
}

void OptionsForm::wire() {
  for (int i = 1; i <= 7; ++i) {
    Control& rate = *priceListRate[i];
    rate.figures = true;
    rate.onKeyPress = [this, i](char key) {
      rateKey(i);
      if (isNumberKey(key)) return true;
      services().messages.show(tr("ERROR Numbers only please."));
      return false;
    };
    rate.onMouseDown = [this, i] {
      setUnsaved(true);
      rateKey(i);
    };
    rate.onChange = [this, i] { rateChanged(i); };
    // The rate goes on to the job sheet, so it is refused where the sheet's would be.
    JobSheet::guardFor(app_, rate,
                       [i](MainForm& m) -> const Control& { return *m.categoryRate[i]; });
    rate.onFocusLeave = [&rate] { return JobSheet::commaKept(rate); };
  }
  txtCurrency->refuses = [](std::string_view sign) { return currencyRefusal(std::string(sign)); };
  txtCurrency->onChange = [this] {
    setCurrencySign(services().settings, txtCurrency->text());
    if (app_.loadedForm("frmInvoice") != nullptr) {
      setField(*app_.invoice().currency, txtCurrency->text());
    }
  };
  launchDisabled->onClick = [this] { disableRuleChanged(); };
  for (Control* flag : {autoSaveEnabled, twoHourReminder, reminderSound}) {
    flag->onClick = [this] { setUnsaved(true); };
  }

  // A default changed is an option to save, and a job without its own treatment follows it.
  tax.onChange = [this] {
    setUnsaved(true);
    if (app_.loadedForm("frmcustomer") != nullptr) app_.customer().defaultTaxChanged();
  };
  wireTaxPanel(tax);
  txtTerms->refuses = [](std::string_view text) -> std::string {
    if (text.find_first_not_of("0123456789") == std::string_view::npos && text.size() <= 3) {
      return {};
    }
    return tr("Payment terms are a number of days, from 0 to 999.");
  };
  for (Control* box : {txtTerms, txtNumberPattern}) {
    box->onChange = [this, box] {
      if (focused() == box) setUnsaved(true);
      app_.invoiceDetailsChanged();
    };
  }
  txtNumberPattern->onFocusLeave = [this] {
    const std::string problem = patternProblem(txtNumberPattern->text());
    if (problem.empty()) return false;
    services().messages.show(problem);
    return true;
  };
  chkFooter->onClick = [this] {
    setUnsaved(true);
    app_.invoiceDetailsChanged();
  };
  cmdInvoices->onClick = [this] {
    InvoicesForm& invoices = app_.invoices();
    invoices.load();
    invoices.show();
  };
  Drive1->onChange = [this] { setField(*Dir1, Drive1->text()); };
  Dir1->onChange = [this] { File1->setFolder(Dir1->text()); };
  File1->onClick = [this] { fileChosen(); };
  File1->onMouseDown = [this] { setUnsaved(true); };

  Command3->onClick = [this] { save(); };
  Command1->onClick = [this] { saveAs(); };
  Command2->onClick = [this] { open(); };
  Command4->onClick = [this] { app_.labels().show(); };
  Command5->onClick = [this] { app_.company().show(); };
  Command6->onClick = [this] {
    launchProgram();
    hide();
  };
  Command7->onClick = [this] { setSize(kCompactWidth, kCompactHeight); };
  Command8->onClick = [this] { setSize(kFullWidth, kFullHeight); };
  auto close = [this] {
    hide();
    app_.main().show();
  };
  cmdclose->onClick = close;
  onQueryClose = [close] {
    close();
    return true;
  };
}

void OptionsForm::load() {
  const std::string folder = services().app.folder();
  setField(*Dir1, folder);
  const std::string path = joinPath(folder, "prices.pql");
  setField(*priceListPath, path);
  loadPriceList(app_, path);
  LabelsForm& labels = app_.labels();
  for (int i = 1; i <= 7; ++i) setField(*rateLabel[i], labels.labelText[i]->text());
  CompanyForm& company = app_.company();
  if (company.companyName->text().empty()) company.show();
  if (launchProgramPath->text().empty()) {
    setSize(kFullWidth, kFullHeight);
  } else {
    setSize(kCompactWidth, kCompactHeight);
  }
  setUnsaved(false);
}

bool OptionsForm::unsaved() const {
  return Command3->backColour() == colour::cyan;
}

void OptionsForm::setUnsaved(bool unsaved) {
  Command3->setBackColour(unsaved ? colour::cyan : colour::buttonFace);
}

void OptionsForm::askToSave() {
  show();
  setUnsaved(true);
}

// Every key in a service's rate shows its "@" on the job sheet, even one that is refused.
void OptionsForm::rateKey(int i) {
  if (i > 1) app_.main().rateAt[i]->setVisible(true);
}

void OptionsForm::rateChanged(int i) {
  MainForm& main = app_.main();
  const std::string& text = priceListRate[i]->text();
  if (i == 1) main.sheet->recalculateTotals();
  if (i > 1 && text.empty()) main.rateAt[i]->setVisible(false);
  setField(*main.categoryRate[i], text);
  const auto rate = parseNumber(text);
  setField(*main.statusMessage, !rate || *rate == 0 ? tr(kFillInPrices) : std::string());
}

void OptionsForm::disableRuleChanged() {
  const int flag = launchDisabled->value();
  if (flag == 1 || flag == 0) {
    setField(*launchProgramPath, flag == 1 ? "a" : "");
    Command6->setEnabled(flag == 0);
    app_.main().caculate->setEnabled(flag == 0);
  }
  setUnsaved(true);
}

void OptionsForm::fileChosen() {
  launchDisabled->setValue(0);
  setField(*launchProgramPath, joinPath(Dir1->text(), File1->text()));
}

void OptionsForm::launchProgram() {
  MainForm& m = app_.main();
  // The clock starts with the program, so not without one.
  const std::string path = launchProgramPath->text();
  if (path.empty() || path == "Hours") {
    services().messages.show(tr("Please select a file first"));
    return;
  }
  if (!services().launcher.launch(path)) {
    services().messages.show(fill(tr("Could not start %1."), {path}));
    return;
  }
  setField(*m.Text54, tr(kRunning));
  m.tray.remove();
  m.Timer1->setEnabled(true);
  setField(*m.statusMessage, "");
  m.setCaption(tr(kRunning));
  m.CmdStart->setBackColour(colour::green);
  m.CmdStop->setBackColour(colour::buttonFace);
  m.CmdReset->setBackColour(colour::buttonFace);
  m.setIcon(m.Picture1->picture());
  if (m.CmdStart->backColour() == colour::green) m.tray.add();
  m.clock->lockPreferences(true);
}

bool OptionsForm::save() {
  if (priceListPath->text().empty()) {
    // Nowhere to write yet: ask for a name, and a cancel writes nothing.
    auto chosen = dialog_.toSave(tr(kSaveTitle));
    if (!chosen || chosen->empty()) return false;
    setField(*priceListPath, *chosen);
  }
  const std::string path = priceListPath->text();
  const WriteResult written = savePriceList(app_, path);
  if (!written) {
    services().messages.show(couldNotSave(path, written));
    return false;
  }
  services().messages.show(tr("Saved"));
  hide();
  setUnsaved(false);
  cmdclose->setEnabled(true);
  return true;
}

// A cancelled dialog gives back the name last chosen in it, or none.
void OptionsForm::saveAs() {
  dialog_.toSave(tr(kSaveTitle));
  setField(*priceListPath, dialog_.held());
}

void OptionsForm::open() {
  dialog_.toOpen(tr("Open Prices"));
  const std::string path = dialog_.held();
  // Refused before anything changes: the options would take garbage and Save would write it.
  if (refusedToOpen(services().messages, path)) return;
  loadPriceList(app_, path);
}

}  // namespace vantrel
