// SPDX-License-Identifier: GPL-3.0-or-later
#include "contacts/customer_form.h"

#include "app/help_pages.h"
#include "app/main_form.h"
#include "app/vantrel.h"
#include "documents/invoice_form.h"
#include "documents/report_form.h"
#include "platform/text_file.h"
#include "sheet/job_sheet.h"

namespace vantrel {

namespace {

constexpr int kRow = 315;
constexpr Colour kDarkRed = colour::rgb(128, 0, 0);
// Outside the window: fields the window holds but never shows.
constexpr int kHidden = 9000;

}  // namespace

CustomerForm::CustomerForm(Vantrel& app)
    : Form(app.services(), "frmcustomer", "Customer", 6960, 7110),
      app_(app),
      dialog_(app.services(), kFilter) {
  design();
}

void CustomerForm::design() {
  auto label = [this](const char* name, int left, int top, int width, const char* caption,
                      Control* frame = nullptr) {
    return &add(ControlKind::Label, name, {left, top + 45, width, 255}, caption, frame);
  };
  auto box = [this](const char* name, int left, int top, int width, Control* frame = nullptr) {
    return &add(ControlKind::TextBox, name, {left, top, width, kRow}, "", frame);
  };
  auto button = [this](const char* name, int left, int top, int width, const char* caption,
                       Control* frame = nullptr) {
    return &add(ControlKind::CommandButton, name, {left, top, width, 375}, caption, frame);
  };
  auto hidden = [](Control* c) {
    c->setVisible(false);
    return c;
  };

  // The card, with its commands down the right.
  Control* card = &add(ControlKind::Frame, "Frame2", {120, 60, 5160, 2700}, "Customer Card");
  label("Label1", 120, 300, 1020, "Business", card);
  customerName = box("txtName", 1200, 300, 3780, card);
  label("Label2", 120, 690, 1020, "Address", card);
  customerAddress = box("txtAddress", 1200, 690, 3780, card);
  label("Label3", 120, 1080, 1020, "City", card);
  customerCity = box("Text8", 1200, 1080, 3780, card);
  label("Label4", 120, 1470, 1020, "State", card);
  customerState = box("Text9", 1200, 1470, 1200, card);
  label("Label5", 2580, 1470, 900, "Zip Code", card);
  customerZip = box("Text12", 3540, 1470, 1440, card);
  label("Label6", 120, 1860, 1020, "Phone", card);
  customerPhone = box("txtPhone", 1200, 1860, 2400, card);
  label("Label7", 120, 2250, 1020, "Email", card);
  customerEmail = box("txtEmail", 1200, 2250, 3780, card);
  customerFilePath = hidden(box("Text78", kHidden, 0, 3000));

  cmdAddNew = button("cmdAddNew", 5460, 120, 1200, "Open");
  cmdSave = button("cmdSave", 5460, 570, 1200, "Save");
  cmdDelete = button("cmdDelete", 5460, 1020, 1200, "Clear");
  Command4 = button("Command4", 5460, 1470, 1200, "New");
  Command7 = button("Command7", 5460, 2385, 1200, "?");
  Command7->spoken.name = "Help";

  customerStatus = &add(ControlKind::Label, "Label10", {120, 2850, 6540, 255}, "");
  customerStatus->style().foreColour = kDarkRed;

  Command3 = button("Command3", 120, 3210, 6540, "Click to add Customer Information to Project");
  Command3->setTooltip("Click on this to add all information to project");

  // The job's half.
  Control* job = &add(ControlKind::Frame, "Frame1", {120, 3720, 6540, 2220}, "Project Information");
  label("Label11", 120, 300, 1260, "Customer", job);
  projectCustomer = box("Text1", 1440, 300, 4920, job);
  projectCustomer->style().readOnly = true;
  label("Label12", 120, 720, 1260, "Project Name", job);
  projectName = box("Text2", 1440, 720, 4920, job);
  projectName->setTooltip("Insert Project Name");
  label("Label13", 120, 1140, 1260, "Date", job);
  projectDate = box("Text3", 1440, 1140, 1560, job);
  projectDate->style().readOnly = true;
  DTPicker1 = &add(ControlKind::DatePicker, "DTPicker1", {3120, 1140, 1800, kRow}, "", job);
  label("Label14", 120, 1560, 1260, "Invoice Num", job);
  invoiceNumber = box("Text4", 1440, 1560, 1560, job);
  invoiceNumber->setTooltip("Insert Invoice Number");
  Command5 = button("Command5", 5160, 1530, 1200, "Clear", job);

  projectAddress = hidden(box("Text5", kHidden, 0, 3000));
  projectPhone = hidden(box("Text6", kHidden, 400, 3000));
  projectEmail = hidden(box("Text7", kHidden, 800, 3000));
  projectCity = hidden(box("Text10", kHidden, 1200, 3000));
  projectState = hidden(box("Text11", kHidden, 1600, 3000));
  projectZip = hidden(box("Text13", kHidden, 2000, 3000));

  Command1 = button("Command1", 5460, 6090, 1200, "Close");
}

// The window's load: the card cannot be saved without a name, and the date picker shows
// today. The picker is set before its rule is wired: loading the window is not a change of
// the project's date.
void CustomerForm::load() {
  if (customerName->text().empty()) cmdSave->setEnabled(false);
  DTPicker1->storeText(services().clock.dateText());
  Command3->setEnabled(true);
  wire();
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
      setField(*customerStatus, "Please fill in Customer Name");
    }
    return true;
  };
  DTPicker1->onChange = [this] { setField(*projectDate, DTPicker1->text()); };

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
      setField(*app_.invoice().dt, services().clock.dateText());
    }
    setField(*sheetField, text);
    MainForm& main = app_.main();
    main.cmdSave->setEnabled(true);
    if (main.projectPath->text().empty()) setField(*main.projectPath, JobSheet::kNewFileMarker);
    if (&field == invoiceNumber && projectCustomer->text().empty()) Command3->setEnabled(true);
  };
}

std::vector<Control*> CustomerForm::cardFields() const {
  return {customerName, customerPhone, customerEmail, customerAddress,
          customerCity, customerState, customerZip};
}

void CustomerForm::open() {
  dialog_.toOpen("Open Customer");
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
  dialog_.toSave("Save Customer");
  const std::string path = dialog_.held();
  if (path.empty()) {
    setField(*customerFilePath, "");
    setField(*customerStatus, "Please select a file first");
    return;
  }
  const WriteResult written = writeLines(path, customerLines(*this));
  // The card's file stays the one that holds it.
  if (!written) {
    setField(*customerStatus, couldNotSave(path, written));
    return;
  }
  setField(*customerFilePath, path);
  setField(*customerStatus, "Your Customer Information was saved");
}

void CustomerForm::emptyCard() {
  for (Control* field : cardFields()) setField(*field, "");
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
  focus(*invoiceNumber);
}

void CustomerForm::clearProject() {
  for (Control* field : {projectCustomer, projectName, invoiceNumber, projectAddress, projectPhone,
                         projectEmail, projectCity, projectState, projectZip}) {
    setField(*field, "");
  }
  Command3->setEnabled(true);
}

void CustomerForm::clearJobHeading() {
  for (Control* field : {projectCustomer, projectName, projectDate, invoiceNumber}) {
    setField(*field, "");
  }
}

std::vector<std::string> customerLines(const CustomerForm& form) {
  std::vector<std::string> lines;
  for (Control* field : form.cardFields()) lines.push_back(field->text());
  return lines;
}

void readCustomer(CustomerForm& form, const std::string& path) {
  const ReadResult read = readLines(path);
  if (!read.opened) return;
  const std::vector<Control*> fields = form.cardFields();
  for (std::size_t i = 0; i < fields.size() && i < read.lines.size(); ++i) {
    setField(*fields[i], read.lines[i]);
  }
}

}  // namespace vantrel
