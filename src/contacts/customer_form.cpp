// SPDX-License-Identifier: GPL-3.0-or-later
#include "contacts/customer_form.h"

#include "app/help_pages.h"
#include "app/main_form.h"
#include "app/vantrel.h"
#include "documents/invoice_form.h"
#include "documents/report_form.h"
#include "invoice/invoice_rules.h"
#include "platform/text_file.h"
#include "platform/translation.h"
#include "sheet/job_sheet.h"
#include "store/keyed_lines.h"
#include "store/options_form.h"

namespace vantrel {

namespace {

constexpr int kRow = 315;
constexpr Colour kDarkRed = colour::rgb(128, 0, 0);
// Outside the window: fields the window holds but never shows.
constexpr int kHidden = 9000;

}  // namespace

CustomerForm::CustomerForm(Vantrel& app)
    : Form(app.services(), "frmcustomer", tr("Customer"), 11520, 7890),
      app_(app),
      dialog_(app.services(), kFilter) {
  design();
}

void CustomerForm::design() {
  auto label = [this](const char* name, int left, int top, int width, const std::string& caption,
                      Control* frame = nullptr) {
    Control* c = &add(ControlKind::Label, name, {left, top + 45, width, 255}, caption, frame);
    c->style().shrinkToFit = true;  // captions run longer in some languages
    return c;
  };
  auto box = [this](const char* name, int left, int top, int width, Control* frame = nullptr) {
    return &add(ControlKind::TextBox, name, {left, top, width, kRow}, "", frame);
  };
  auto button = [this](const char* name, int left, int top, int width, const std::string& caption,
                       Control* frame = nullptr) {
    return &add(ControlKind::CommandButton, name, {left, top, width, 375}, caption, frame);
  };
  auto hidden = [](Control* c) {
    c->setVisible(false);
    return c;
  };

  // The card, with its commands down the right.
  Control* card = &add(ControlKind::Frame, "Frame2", {120, 60, 5160, 3480}, tr("Customer Card"));
  label("Label1", 120, 300, 1020, tr("Business"), card);
  customerName = box("txtName", 1200, 300, 3780, card);
  label("Label2", 120, 690, 1020, tr("Address"), card);
  customerAddress = box("txtAddress", 1200, 690, 3780, card);
  label("Label3", 120, 1080, 1020, tr("City"), card);
  customerCity = box("Text8", 1200, 1080, 3780, card);
  label("Label4", 120, 1470, 1020, tr("State"), card);
  customerState = box("Text9", 1200, 1470, 1200, card);
  label("Label5", 2580, 1470, 900, tr("Zip Code"), card);
  customerZip = box("Text12", 3540, 1470, 1440, card);
  label("Label6", 120, 1860, 1020, tr("Phone"), card);
  customerPhone = box("txtPhone", 1200, 1860, 2400, card);
  label("Label7", 120, 2250, 1020, tr("Email"), card);
  customerEmail = box("txtEmail", 1200, 2250, 3780, card);
  label("lblCountry", 120, 2640, 1020, tr("Country"), card);
  txtCountry = box("txtCountry", 1200, 2640, 1320, card);
  label("lblVatId", 2640, 2640, 840, tr("VAT ID"), card);
  txtVatId = box("txtVatId", 3540, 2640, 1440, card);
  txtVatId->setTooltip(tr("The customer's VAT identification number, such as FR12345678901"));
  // The language the customer's invoices and reports speak, written in its own words.
  label("lblLanguage", 120, 3030, 1020, tr("Language"), card);
  const char* names[] = {"optEnglish", "optGerman", "optFrench"};
  for (std::size_t i = 0; i < languageOptions.size(); ++i) {
    const auto language = static_cast<Language>(i);
    languageOptions[i] =
        &add(ControlKind::OptionButton, names[i],
             {1200 + 1260 * static_cast<int>(i), 3030, 1200, kRow}, languageName(language), card);
  }
  customerFilePath = hidden(box("Text78", kHidden, 0, 3000));
  txtLanguage = hidden(box("txtLanguage", kHidden, 400, 3000));

  cmdAddNew = button("cmdAddNew", 5460, 120, 1200, tr("Open"));
  cmdSave = button("cmdSave", 5460, 570, 1200, tr("Save"));
  cmdDelete = button("cmdDelete", 5460, 1020, 1200, tr("Clear"));
  Command4 = button("Command4", 5460, 1470, 1200, tr("New"));
  Command7 = button("Command7", 5460, 2385, 1200, "?");
  Command7->spoken.name = tr("Help");

  customerStatus = &add(ControlKind::Label, "Label10", {120, 3630, 6540, 255}, "");
  customerStatus->style().foreColour = kDarkRed;

  Command3 =
      button("Command3", 120, 3990, 6540, tr("Click to add Customer Information to Project"));
  Command3->setTooltip(tr("Click on this to add all information to project"));

  // The job's half.
  Control* job =
      &add(ControlKind::Frame, "Frame1", {120, 4500, 6540, 2220}, tr("Project Information"));
  label("Label11", 120, 300, 1260, tr("Customer"), job);
  projectCustomer = box("Text1", 1440, 300, 4920, job);
  projectCustomer->style().readOnly = true;
  label("Label12", 120, 720, 1260, tr("Project Name"), job);
  projectName = box("Text2", 1440, 720, 4920, job);
  projectName->setTooltip(tr("Insert Project Name"));
  label("Label13", 120, 1140, 1260, tr("Date"), job);
  projectDate = box("Text3", 1440, 1140, 1560, job);
  projectDate->style().readOnly = true;
  DTPicker1 = &add(ControlKind::DatePicker, "DTPicker1", {3120, 1140, 1800, kRow}, "", job);
  label("Label14", 120, 1560, 1260, tr("Invoice Num"), job);
  invoiceNumber = box("Text4", 1440, 1560, 1560, job);
  invoiceNumber->setTooltip(tr("Insert Invoice Number"));
  Command5 = button("Command5", 5160, 1530, 1200, tr("Clear"), job);

  projectAddress = hidden(box("Text5", kHidden, 0, 3000));
  projectPhone = hidden(box("Text6", kHidden, 400, 3000));
  projectEmail = hidden(box("Text7", kHidden, 800, 3000));
  projectCity = hidden(box("Text10", kHidden, 1200, 3000));
  projectState = hidden(box("Text11", kHidden, 1600, 3000));
  projectZip = hidden(box("Text13", kHidden, 2000, 3000));

  jobCountry = hidden(box("txtJobCountry", kHidden, 2400, 3000));
  jobVatId = hidden(box("txtJobVatId", kHidden, 2800, 3000));
  txtIssued = hidden(box("txtIssued", kHidden, 3200, 3000));
  jobLanguage = hidden(box("txtJobLanguage", kHidden, 3600, 3000));

  // The invoice's details of the job, beside the rest.
  Control* details = &add(ControlKind::Frame, "fraInvoice", {6840, 60, 4380, 4260}, tr("Invoice"));
  label("lblPeriod", 120, 300, 4140, tr("Period of the work (empty: from the work log)"), details);
  txtPeriod = box("txtPeriod", 120, 600, 4140, details);
  txtPeriod->spoken.name = tr("Period of the work");
  tax = addTaxPanel(*this, details, 120, 1140, 4140);

  Command1 = button("Command1", 5460, 6870, 1200, tr("Close"));
}

// The window's load: the card cannot be saved without a name, and the date picker shows
// today. The picker is set before its rule is wired: loading the window is not a change of
// the project's date.
void CustomerForm::load() {
  if (customerName->text().empty()) cmdSave->setEnabled(false);
  DTPicker1->storeText(services().clock.dateText());
  Command3->setEnabled(true);
  wire();
  if (!taxOwn_) tax.copyFrom(app_.options().tax);
}

void CustomerForm::wire() {
  cmdAddNew->onClick = [this] { open(); };
  cmdSave->onClick = [this] { save(); };
  cmdDelete->onClick = [this] { clearCard(); };
  Command4->onClick = [this] {
    clearCard();
    focus(*customerName);
  };
  Command3->onClick = [this] { addToProject(); };
  Command5->onClick = [this] { clearProject(); };
  Command1->onClick = [this] { close(); };
  onQueryClose = [this] {
    close();
    return true;
  };
  Command7->onClick = [this] { openHelpPage(services(), kHelpPage); };

  customerName->onKeyPress = [this](char) {
    cmdSave->setEnabled(true);
    setField(*customerStatus, "");
    return true;
  };
  customerAddress->onKeyPress = [this](char) {
    if (customerName->text().empty()) {
      cmdSave->setEnabled(false);
      setField(*customerStatus, tr("Please fill in Customer Name"));
    }
    return true;
  };
  DTPicker1->onChange = [this] { setField(*projectDate, DTPicker1->text()); };

  // The invoice details are the job's: a change wants saving and reaches the invoice.
  auto jobChanged = [this] {
    MainForm& main = app_.main();
    main.cmdSave->setEnabled(true);
    if (main.projectPath->text().empty()) setField(*main.projectPath, JobSheet::kNewFileMarker);
    app_.invoiceDetailsChanged();
  };
  tax.onChange = [this, jobChanged] {
    taxOwn_ = true;
    jobChanged();
  };
  wireTaxPanel(tax);
  txtPeriod->onChange = [this, jobChanged] {
    if (focused() != txtPeriod) return;
    periodTyped_ = !txtPeriod->text().empty();
    jobChanged();
  };
  for (Control* field : {jobCountry, jobVatId, txtIssued}) {
    field->onChange = [this, field, jobChanged] {
      if (field == txtIssued) app_.invoice().showDate();
      jobChanged();
    };
  }
  for (Control* field : {txtCountry, txtVatId}) {
    field->onChange = [this] { app_.invoiceDetailsChanged(); };
  }
  // A click chooses the card's language; a card read or cleared shows its language.
  for (std::size_t i = 0; i < languageOptions.size(); ++i) {
    languageOptions[i]->onClick = [this, i] {
      if (languageOptions[i]->value() == 0 || showingLanguage_) return;
      setField(*txtLanguage, languageCode(static_cast<Language>(i)));
    };
  }
  // The invoice and the report, where they exist, speak the language from now on.
  auto languageChanged = [this] {
    app_.invoiceDetailsChanged();
    if (app_.loadedForm("frmprint") != nullptr) app_.report().speak(documentLanguage());
  };
  txtLanguage->onChange = [this, languageChanged] {
    showLanguage();
    languageChanged();
  };
  jobLanguage->onChange = [jobChanged, languageChanged] {
    jobChanged();
    languageChanged();
  };
  showLanguage();
  txtVatId->onFocusLeave = [this] {
    const std::string problem = vatIdProblem(txtVatId->text());
    if (!problem.empty()) services().messages.show(problem);
    return false;
  };

  InvoiceForm& invoice = app_.invoice();
  ReportForm& report = app_.report();
  MainForm& main = app_.main();
  propagate(*projectCustomer, report.customer, invoice.Name1, main.Text37);
  propagate(*projectName, report.project, invoice.Project, main.Text38);
  propagate(*projectDate, report.date, nullptr, main.Text35);
  propagate(*invoiceNumber, report.invoiceNumber, invoice.Invoicenum, main.Text36);
  projectAddress->onChange = [this] { setField(*app_.invoice().Address, projectAddress->text()); };
  projectPhone->onChange = [this] { setField(*app_.invoice().Phone, projectPhone->text()); };
}

// A change of the job's customer, project, date or invoice number heads the report, the
// invoice and the job sheet at once, and is a change of the job that wants saving.
void CustomerForm::propagate(Control& field, Control* reportField, Control* invoiceField,
                             Control* sheetField) {
  field.onChange = [this, &field, reportField, invoiceField, sheetField] {
    const std::string& text = field.text();
    setField(*reportField, text);
    // The invoice is dated the day it is made, whatever the project's date.
    if (invoiceField != nullptr) {
      setField(*invoiceField, text);
    } else {
      // A job dated anew is an invoice not yet issued.
      setField(*txtIssued, "");
      app_.invoice().showDate();
    }
    setField(*sheetField, text);
    MainForm& main = app_.main();
    main.cmdSave->setEnabled(true);
    if (main.projectPath->text().empty()) setField(*main.projectPath, JobSheet::kNewFileMarker);
    if (&field == invoiceNumber && projectCustomer->text().empty()) Command3->setEnabled(true);
    // Another number is another invoice, not issued yet.
    if (&field == invoiceNumber) setField(*txtIssued, "");
  };
}

std::vector<Control*> CustomerForm::cardFields() const {
  return {customerName, customerPhone, customerEmail, customerAddress,
          customerCity, customerState, customerZip};
}

void CustomerForm::open() {
  dialog_.toOpen(tr("Open Customer"));
  const std::string path = dialog_.held();
  // A file that is no customer file leaves the card as it was.
  if (refusedToOpen(services().messages, path)) return;
  Command3->setEnabled(false);
  emptyCard();
  cmdSave->setEnabled(true);
  // Cancelled with no name ever chosen: there is no card, and an empty one must not wipe
  // the job's customer.
  if (path.empty()) {
    Command3->setEnabled(true);
    return;
  }
  readCustomer(*this, path);
  setField(*customerFilePath, path);
  addToProject();
  Command3->setEnabled(false);
}

void CustomerForm::save() {
  // The name is emptied first, so a cancel saves nothing.
  dialog_.clear();
  dialog_.toSave(tr("Save Customer"));
  const std::string path = dialog_.held();
  if (path.empty()) {
    setField(*customerFilePath, "");
    setField(*customerStatus, tr("Please select a file first"));
    return;
  }
  const WriteResult written = writeLines(path, customerLines(*this));
  // The card's file stays the one that holds it.
  if (!written) {
    setField(*customerStatus, couldNotSave(path, written));
    return;
  }
  setField(*customerFilePath, path);
  setField(*customerStatus, tr("Your Customer Information was saved"));
}

void CustomerForm::emptyCard() {
  for (Control* field : cardFields()) setField(*field, "");
  for (Control* field : {txtCountry, txtVatId, txtLanguage}) setField(*field, "");
  setField(*customerFilePath, "");
  setField(*customerStatus, "");
}

void CustomerForm::clearCard() {
  emptyCard();
  cmdSave->setEnabled(false);
  Command3->setEnabled(true);
}

// Closing only hides the window: the card and the job's data stay for the run.
void CustomerForm::close() {
  setField(*customerStatus, "");
  hide();
}

void CustomerForm::addToProject() {
  setField(*projectDate, DTPicker1->text());
  setField(*projectCustomer, customerName->text());
  setField(*projectAddress, customerAddress->text());
  setField(*projectPhone, customerPhone->text());
  setField(*projectEmail, customerEmail->text());
  setField(*projectCity, customerCity->text());
  setField(*projectState, customerState->text());
  setField(*projectZip, customerZip->text());
  setField(*jobCountry, txtCountry->text());
  setField(*jobVatId, txtVatId->text());
  setField(*jobLanguage, txtLanguage->text());
  focus(*invoiceNumber);
}

void CustomerForm::clearProject() {
  for (Control* field :
       {projectCustomer, projectName, invoiceNumber, projectAddress, projectPhone, projectEmail,
        projectCity, projectState, projectZip, jobCountry, jobVatId, jobLanguage}) {
    setField(*field, "");
  }
  Command3->setEnabled(true);
}

void CustomerForm::clearJobHeading() {
  for (Control* field : {projectCustomer, projectName, projectDate, invoiceNumber}) {
    setField(*field, "");
  }
  resetInvoiceDetails();
}

void CustomerForm::resetInvoiceDetails() {
  for (Control* field : {jobCountry, jobVatId, jobLanguage, txtIssued, txtPeriod}) {
    setField(*field, "");
  }
  periodTyped_ = false;
  taxOwn_ = false;
  tax.copyFrom(app_.options().tax);
}

void CustomerForm::defaultTaxChanged() {
  if (!taxOwn_) tax.copyFrom(app_.options().tax);
  app_.invoiceDetailsChanged();
}

std::vector<std::string> CustomerForm::invoiceSection() const {
  const bool treated = taxOwn_ || tax.chosen();
  std::vector<std::pair<const char*, std::string>> values = {
      {"Country", jobCountry->text()},     {"VatId", jobVatId->text()},
      {"CardCountry", txtCountry->text()}, {"CardVatId", txtVatId->text()},
      {"Language", jobLanguage->text()},
  };
  for (auto& key : tax.keys(treated)) values.push_back(std::move(key));
  values.push_back({"Issued", txtIssued->text()});
  values.push_back({"Period", periodTyped_ ? txtPeriod->text() : ""});
  return keyedSection(kInvoiceSection, values);
}

void CustomerForm::readInvoiceSection(const std::vector<std::string>& lines) {
  resetInvoiceDetails();
  const auto values = sectionValues(kInvoiceSection, lines);
  for (const auto& [key, value] : values) {
    if (key == "Country") setField(*jobCountry, value);
    if (key == "VatId") setField(*jobVatId, value);
    if (key == "CardCountry") setField(*txtCountry, value);
    if (key == "CardVatId") setField(*txtVatId, value);
    if (key == "Language") setField(*jobLanguage, value);
    if (key == "Issued") setField(*txtIssued, value);
    if (key == "Period") {
      setField(*txtPeriod, value);
      periodTyped_ = !value.empty();
    }
  }
  if (tax.setFromKeys(values)) taxOwn_ = true;
}

std::vector<std::string> customerLines(const CustomerForm& form) {
  std::vector<std::string> lines;
  for (Control* field : form.cardFields()) lines.push_back(field->text());
  for (std::string& line : keyedLines({{"Country", form.txtCountry->text()},
                                       {"VatId", form.txtVatId->text()},
                                       {"Language", form.txtLanguage->text()}})) {
    lines.push_back(std::move(line));
  }
  return lines;
}

void readCustomer(CustomerForm& form, const std::string& path) {
  const ReadResult read = readLines(path);
  if (!read.opened) return;
  const std::vector<Control*> fields = form.cardFields();
  for (std::size_t i = 0; i < fields.size() && i < read.lines.size(); ++i) {
    setField(*fields[i], read.lines[i]);
  }
  setField(*form.txtCountry, "");
  setField(*form.txtVatId, "");
  setField(*form.txtLanguage, "");
  if (read.lines.size() <= fields.size()) return;
  const std::vector<std::string> rest(
      read.lines.begin() + static_cast<std::ptrdiff_t>(fields.size()), read.lines.end());
  for (const auto& [key, value] : keyedValues(rest)) {
    if (key == "Country") setField(*form.txtCountry, value);
    if (key == "VatId") setField(*form.txtVatId, value);
    if (key == "Language") setField(*form.txtLanguage, value);
  }
}

Language CustomerForm::documentLanguage() const {
  for (const Control* code : {jobLanguage, txtLanguage}) {
    if (!code->text().empty()) return languageFromCode(code->text());
  }
  return programLanguage();
}

void CustomerForm::showLanguage() {
  const std::string& code = txtLanguage->text();
  const Language shown = code.empty() ? programLanguage() : languageFromCode(code);
  showingLanguage_ = true;
  languageOptions[static_cast<std::size_t>(shown)]->setValue(1);
  showingLanguage_ = false;
}

}  // namespace vantrel
