// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/invoice_form.h"

#include <algorithm>
#include <string>

#include "app/main_form.h"
#include "app/vantrel.h"
#include "contacts/customer_form.h"
#include "documents/document_language.h"
#include "documents/job_figures.h"
#include "documents/paper_controls.h"
#include "invoice/invoice_content.h"
#include "invoice/invoice_register.h"
#include "invoice/invoice_rules.h"
#include "platform/text_file.h"
#include "platform/translation.h"
#include "sheet/numbers.h"
#include "store/options_form.h"
#include "store/user_settings.h"

namespace vantrel {

namespace {
// The total and the currency sign: the sign before it, or after it (German, French).
constexpr Geometry kSignBefore{8400, 10200, 480, 255};
constexpr Geometry kTotalAfterSign{8880, 10200, 1380, 255};
constexpr Geometry kTotalBeforeSign{8400, 10200, 1380, 255};
constexpr Geometry kSignAfter{9840, 10200, 480, 255};
}  // namespace

InvoiceForm::InvoiceForm(Vantrel& app)
    : Form(app.services(), "frmInvoice", tr("Invoice"), 11115, 12285),
      app_(app),
      output_(
          app.services(), "Invoice",
          [this] { return documentName(app_.main(), *Invoicenum, *Project); },
          [this](const std::string& path) { return writePdf(path); }, app.lastExportFolder) {
  setBackColour(colour::white);
  design();

  for (int i = 1; i <= 7; ++i) {
    amount[i]->onChange = [this, i] {
      std::vector<std::string_view> amounts;
      for (int k = 1; k <= 7; ++k) amounts.push_back(amount[k]->text());
      if (auto sum = sumOfAmounts(amounts)) setField(*total, *sum);
      setField(*amount[i], formatNumber(amount[i]->text(), "0.00"));
    };
  }
  total->onChange = [this] {
    setField(*total, formatNumber(total->text(), "0.00"));
    // A detailed invoice follows its total with its tax and its rows.
    if (detailed_) showDetails();
  };
  onClick = [this] { hide(); };
  Command1->onClick = [this] { printOut(); };
  // Figures read as the customer's language writes them; the rules keep the program's.
  std::vector<Control*> figures = {total, totalHours, txtTax, txtGross};
  for (int i = 1; i <= 7; ++i) figures.insert(figures.end(), {hours[i], rate[i], amount[i]});
  paper_.figures(figures);
}

void InvoiceForm::speak(Language language) {
  if (!paper_.speak(*this, language)) return;
  // The currency stands before the total, or after it where the language puts it there.
  const bool after = currencyAfter(language);
  plain_[currency] = after ? kSignAfter : kSignBefore;
  plain_[total] = after ? kTotalBeforeSign : kTotalAfterSign;
  currency->style().align = after ? Align::Left : Align::Right;
  total->style().align = after ? Align::Right : Align::Left;
  for (Control* c : {currency, total}) c->notify(Property::Geometry);
}

void InvoiceForm::design() {
  constexpr double points = 9;
  // Captions are the paper's: they speak the customer's language (see speak).
  auto label = [this](std::string name, Geometry g, const char* text) {
    Control* c = paperLabel(*this, std::move(name), g, text, points);
    paper_.caption(c, text);
    return c;
  };
  auto field = [this](std::string name, Geometry g, std::string text, Align align) {
    return paperField(*this, std::move(name), g, std::move(text), align, points);
  };
  auto rule = [this](std::string name, int top) {
    add(ControlKind::Line, std::move(name), {840, top, 9495, 0});
  };
  constexpr int row = 255;
  frame_ = &add(ControlKind::Shape, "Shape1", {840, 1080, 9495, 9615});
  boxes_[0] = &add(ControlKind::Shape, "Shape2", {1080, 2520, 3495, 2415});
  boxes_[1] = &add(ControlKind::Shape, "Shape3", {6000, 2520, 3495, 2415});
  Control* title = label("Label36", {600, 240, 9975, 600}, N_("Invoice"));
  title->style() =
      Style{.fontPoints = 24, .bold = true, .align = Align::Centre, .fontName = "Arial"};

  label("Label5", {960, 1200, 1800, row}, N_("Invoice Number"));
  Invoicenum = field("Invoicenum", {2880, 1200, 2880, row}, "", Align::Left);
  label("Label4", {5880, 1440, 1920, row}, N_("Phone Number"));
  CompPhone = field("CompPhone", {7920, 1440, 2340, row}, "", Align::Left);
  label("Label1", {1200, 1680, 900, row}, N_("Date"));
  dt = field("dt", {1200, 2040, 2400, row}, "", Align::Left);

  label("Label2", {1200, 2640, 3255, row}, N_("Business TO:"));
  Name1 = field("Name1", {1200, 2895, 3255, row}, "", Align::Left);
  Address = field("Address", {1200, 3360, 3255, row}, "", Align::Left);
  Text25 = field("Text25", {1200, 3720, 700, row}, "", Align::Left);
  Text26 = field("Text26", {1920, 3720, 2535, row}, "", Align::Left);
  Text24 = field("Text24", {1200, 4080, 3255, row}, "", Align::Left);
  Name1->spoken.name = tr("Business to, name");
  Address->spoken.name = tr("Business to, address");
  Text25->spoken.name = tr("Business to, zip code");
  Text26->spoken.name = tr("Business to, city");
  Text24->spoken.name = tr("Business to, state");
  phoneLabel_ = label("Label35", {1200, 4560, 1020, row}, N_("Phone "));
  Phone = field("Phone", {2280, 4560, 2175, row}, "", Align::Left);

  label("Label3", {6120, 2640, 3255, row}, N_("From:"));
  Company = field("Company", {6120, 3000, 3255, row}, "", Align::Left);
  CompAddress1 = field("CompAddress1", {6120, 3360, 3255, row}, "", Align::Left);
  CompAddress2 = field("CompAddress2", {6120, 3720, 3255, row}, "", Align::Left);
  CompAddress3 = field("CompAddress3", {6120, 4200, 3255, row}, "", Align::Left);
  CompAddress5 = field("CompAddress5", {6120, 4560, 3255, row}, "", Align::Left);

  Company->spoken.name = tr("From, business name");
  CompAddress1->spoken.name = tr("From, street address");
  CompAddress2->spoken.name = tr("From, town");
  CompAddress3->spoken.name = tr("From, state");
  CompAddress5->spoken.name = tr("From, zip code");
  label("Label6", {1080, 5160, 900, row}, N_("Project"));
  Project = field("Project", {2040, 5160, 8100, row}, "", Align::Left);

  rule("Line1", 5640);
  label("Label37", {960, 5760, 1800, row}, N_("Description"));
  label("Label38", {2880, 5760, 900, row}, N_("Qty"));
  label("Label39", {4200, 5760, 1200, row}, N_("Price"));
  label("Label40", {6000, 5760, 1200, row}, N_("Sub Total"));
  rule("Line2", 6120);
  for (int i = 1; i <= 7; ++i) {
    const int top = 6360 + 480 * (i - 1);
    categoryName[i] = label("Label" + std::to_string(i + 6), {1080, top, 1740, row}, "");
    hours[i] = field("Text" + std::to_string(i + 16), {2880, top, 900, row}, "0", Align::Right);
    at_[i] = label("Label" + std::to_string(i + 13), {3840, top, 240, row}, "@");
    rate[i] = field("Text" + std::to_string(i), {4560, top, 1020, row}, "", Align::Right);
    equals_[i] = label("Label" + std::to_string(i + 20), {5640, top, 240, row}, "=");
    amount[i] = field("Text" + std::to_string(i + 7), {6360, top, 1200, row}, "0.00", Align::Right);
  }
  rule("Line3", 9840);
  totalLabel_ = label("Label29", {7560, 10200, 600, row}, N_("Total "));
  label("Label31", {8160, 10200, 240, row}, "=");
  // The user's currency sign, up to three characters, stands against the total.
  currency = paperLabel(*this, "Label32", kSignBefore, currencySign(services().settings), points);
  currency->style().align = Align::Right;
  total = field("Text16", kTotalAfterSign, "", Align::Left);

  footer_[0] =
      label("Label33", {4440, 11040, 3600, 210}, N_("This Invoice was prepared by Vantrel"));
  footer_[1] = label("Label34", {5160, 11280, 2400, 210}, kProductAddress);
  for (Control* c : footer_) c->style().fontPoints = 7;

  // Below the client area: kept with the window, never seen or printed.
  label("Label28", {720, 12360, 1500, row}, N_("Total Hours"));
  label("Label30", {2520, 12360, 240, row}, "=");
  totalHours = field("Text15", {3240, 12360, 1200, row}, "", Align::Right);

  Command1 = &add(ControlKind::CommandButton, "Command1", {240, 12360, 360, 255}, tr("Print"));
  Command1->setVisible(false);

  chkLog = &add(ControlKind::CheckBox, "chkLog", {840, 11040, 1800, 300}, tr("Work log"));
  chkLog->setBackColour(colour::white);
  chkLog->setTooltip(tr("Add pages listing the work entries of the period"));
  for (Control* c : controls()) plain_[c] = c->geometry();

  // The details: placed by layout() where they are set, hidden where not.
  auto detail = [&](Control*& box, const char* name, const char* spoken) {
    box = field(name, {0, 0, 0, row}, "", Align::Left);
    box->spoken.name = tr(spoken);
    box->setVisible(false);
  };
  detail(CompEmail, "CompEmail", N_("From, e-mail"));
  detail(CompTaxId, "CompTaxId", N_("From, tax number or VAT ID"));
  detail(CustCountry, "CustCountry", N_("Business to, country"));
  detail(CustVatId, "CustVatId", N_("Business to, VAT ID"));
  detail(Due, "Due", N_("Payment due"));
  detail(Period, "Period", N_("Period of the work"));
  detail(txtTax, "txtTax", N_("VAT amount"));
  detail(txtGross, "txtGross", N_("Total due"));
  detail(Bank, "Bank", N_("Bank details"));
  detail(Note, "Note", N_("Note"));
  Note->style().multiLine = true;
  lblTax = label("lblTax", {0, 0, 0, row}, N_("VAT"));
  lblGross = label("lblGross", {0, 0, 0, row}, N_("Total due"));
  lblDue = label("lblDue", {0, 0, 0, row}, N_("Payment due"));
  lblPeriod = label("lblPeriod", {0, 0, 0, row}, N_("Period of the work"));
  for (Control* c : {lblTax, lblGross, lblDue, lblPeriod}) c->setVisible(false);
}

void InvoiceForm::fill() {
  speak(app_.customer().documentLanguage());
  MainForm& m = app_.main();
  CustomerForm& c = app_.customer();
  for (int i = 1; i <= 7; ++i) {
    setField(*categoryName[i], m.categorySelected[i]->text());
    setField(*rate[i], m.categoryRate[i]->text());
  }
  // The job's own address, or the card's where the job has none.
  const bool own = !(c.projectAddress->text().empty() && c.projectZip->text().empty() &&
                     c.projectCity->text().empty() && c.projectState->text().empty());
  setField(*Address, (own ? c.projectAddress : c.customerAddress)->text());
  setField(*Text25, (own ? c.projectZip : c.customerZip)->text());
  setField(*Text26, (own ? c.projectCity : c.customerCity)->text());
  setField(*Text24, (own ? c.projectState : c.customerState)->text());
  showDetails();
}

void InvoiceForm::showDate() {
  const std::string& issued = app_.customer().txtIssued->text();
  dateIso_ = issued.empty() ? todayIso(app_) : issued;
  setField(*dt, documentDate(app_, dateIso_));
  showDetails();
}

void InvoiceForm::detailsChanged() {
  if (!visible() && !detailed_) return;
  const Language language = app_.customer().documentLanguage();
  if (language != paper_.language()) {
    speak(language);
    showDate();  // shows the details too
    return;
  }
  showDetails();
}

void InvoiceForm::showDetails() {
  const InvoiceContent c = invoiceContent(app_);
  setField(*CompEmail, c.issuerEmail);
  setField(*CompTaxId, c.issuerTaxLine);
  setField(*CustCountry, c.customerCountry);
  setField(*CustVatId, c.customerVatId.empty() ? ""
                                               : vantrel::fill(trIn(paper_.language(), "VAT ID %1"),
                                                               {c.customerVatId}));
  setField(*Due, c.due);
  setField(*Period, c.period);
  setField(*lblTax, c.treatment == TaxTreatment::Vat
                        ? vantrel::fill(trIn(paper_.language(), "VAT %1 %"),
                                        {documentFigure(c.rate, paper_.language())})
                        : "");
  setField(*txtTax, c.net && c.treatment == TaxTreatment::Vat ? moneyText(c.tax) : "");
  setField(*txtGross, c.net ? moneyText(c.gross) : "");
  setField(*Bank, c.bankLine);
  setField(*Note, c.note);
  layout(c);
}

// The plain invoice as it always was; the detailed one makes room for its details: the two
// address boxes grow by two lines, the rows that bill nothing go, the tax lines follow the
// total and the bank details and the note close the frame.
void InvoiceForm::layout(const InvoiceContent& c) {
  detailed_ = c.detailed;
  for (const auto& [control, geometry] : plain_) control->setGeometry(geometry);
  for (Control* f : footer_) f->setVisible(c.programLine);
  const bool vat = c.detailed && c.treatment == TaxTreatment::Vat;
  setField(*totalLabel_, trIn(paper_.language(), vat ? "Net total" : "Total "));
  auto show = [](Control* control, bool shown, Geometry g) {
    control->setVisible(shown);
    if (shown) control->setGeometry(g);
  };
  constexpr int row = 255;
  constexpr int grown = 540;  // two more lines in each address box
  show(CompEmail, c.detailed && !c.issuerEmail.empty(), {6120, 4860, 3255, row});
  show(CompTaxId, c.detailed && !c.issuerTaxLine.empty(), {6120, 5160, 3255, row});
  show(CustCountry, c.detailed && !c.customerCountry.empty(), {1200, 4560, 3255, row});
  show(CustVatId, c.detailed && !c.customerVatId.empty(), {1200, 4860, 3255, row});
  show(lblDue, c.detailed && !c.due.empty(), {3720, 1680, 1800, row});
  show(Due, c.detailed && !c.due.empty(), {3720, 2040, 1800, row});
  show(lblPeriod, c.detailed && !c.period.empty(), {5880, 1740, 2000, row});
  show(Period, c.detailed && !c.period.empty(), {5880, 2040, 4335, row});
  if (!c.detailed) {
    for (Control* box : {lblTax, txtTax, lblGross, txtGross, Bank, Note}) box->setVisible(false);
    for (int i = 1; i <= 7; ++i) {
      for (Control* cell : {categoryName[i], hours[i], at_[i], rate[i], equals_[i], amount[i]}) {
        cell->setVisible(true);
      }
    }
    setSize(11115, 12285);
    return;
  }
  auto moveBy = [](Control* control, int dy) {
    Geometry g = control->geometry();
    g.top += dy;
    control->setGeometry(g);
  };
  for (const auto& [control, geometry] : plain_) {
    if (geometry.top > 4935) moveBy(control, grown);
  }
  for (Control* box : boxes_) {
    Geometry g = box->geometry();
    g.height += grown;
    box->setGeometry(g);
  }
  for (Control* phone : {phoneLabel_, Phone}) {
    if (CustCountry->visible() || CustVatId->visible()) moveBy(phone, 600);
  }
  // The rows that bill close up.
  int shown = 0;
  for (int i = 1; i <= 7; ++i) {
    const bool billed = bills(i);
    for (Control* cell : {categoryName[i], hours[i], at_[i], rate[i], equals_[i], amount[i]}) {
      cell->setVisible(billed);
      if (billed) moveBy(cell, 480 * (shown - (i - 1)));
    }
    shown += billed ? 1 : 0;
  }
  const int closed = 480 * (7 - std::max(shown, 1));
  int below = 0;  // what the tax lines and the notes add under the total
  const int totalTop = 10200 + grown - closed;
  show(lblTax, vat, {6360, totalTop + 300, 1800, row});
  show(txtTax, vat, {8880, totalTop + 300, 1380, row});
  show(lblGross, vat, {6360, totalTop + 600, 1800, row});
  show(txtGross, vat, {8880, totalTop + 600, 1380, row});
  below += vat ? 600 : 0;
  // The bank details and the note, each where there is one.
  int blockTop = totalTop + below + 420;
  show(Bank, !c.bankLine.empty(), {960, blockTop, 9255, row});
  blockTop += c.bankLine.empty() ? 0 : 300;
  show(Note, !c.note.empty(), {960, blockTop, 9255, 510});
  blockTop += c.note.empty() ? 0 : 570;
  below = blockTop - totalTop - 420 + (c.bankLine.empty() && c.note.empty() ? 0 : 150);
  if (vat) {
    Geometry g = totalLabel_->geometry();
    totalLabel_->setGeometry({6360, g.top, 1740, row});
  }
  for (const auto& [control, geometry] : plain_) {
    if (geometry.top >= 9840 && geometry.top < 12285)
      moveBy(control, below * (geometry.top > 10200) - closed);
  }
  Geometry f = frame_->geometry();
  f.height += grown - closed + below;
  frame_->setGeometry(f);
  setSize(11115, 12285 + grown - closed + below);
}

bool InvoiceForm::bills(int i) const {
  const auto cents = parseCents(amount[i]->text());
  const auto hoursBilled = parseNumber(hours[i]->text());
  return !(cents && *cents == 0 && (!hoursBilled || *hoursBilled == 0));
}

void InvoiceForm::proposeNumber() {
  CustomerForm& customer = app_.customer();
  if (!customer.invoiceNumber->text().empty()) return;
  OptionsForm& options = app_.options();
  std::string pattern = options.txtNumberPattern->text();
  if (!patternProblem(pattern).empty()) pattern = kDefaultNumberPattern;
  std::vector<std::string> taken;
  for (const IssuedInvoice& issued : readRegister(registerFile()).invoices) {
    taken.push_back(issued.number);
  }
  const std::string day = invoiceContent(app_).issueIso;
  const int year = std::stoi(day.substr(0, 4));
  const int month = std::stoi(day.substr(5, 2));
  setField(*customer.invoiceNumber, nextInvoiceNumber(pattern, year, month, taken));
}

std::string InvoiceForm::registerFile() const {
  const std::string& priceList = app_.options().priceListPath->text();
  if (!priceList.empty()) return registerPath(priceList);
  return joinPath(services().app.folder(), kRegisterName);
}

IssuedInvoice InvoiceForm::record(const InvoiceContent& c) {
  const DocumentName name = documentName(app_.main(), *Invoicenum, *Project);
  return IssuedInvoice{
      Invoicenum->text(), c.issueIso, Name1->text(), Project->text(),
      c.net.value_or(0),  c.tax,      c.gross,       c.code.empty() ? currency->text() : c.code,
      name.jobFile};
}

bool InvoiceForm::issueConfirmed() {
  const InvoiceContent c = invoiceContent(app_);
  MessageBoxes& messages = services().messages;
  if (c.treatment == TaxTreatment::ReverseCharge && c.customerVatId.empty() &&
      messages.show(tr("This invoice leaves the VAT to the customer (reverse charge), which needs "
                       "the customer's VAT ID, and the customer has none. Issue it all the same?"),
                    Buttons::YesNo) != Answer::Yes) {
    return false;
  }
  const RegisterRead known = readRegister(registerFile());
  const IssuedInvoice mine = record(c);
  for (const IssuedInvoice& other : known.invoices) {
    if (other.number != mine.number) continue;
    if (other.file == mine.file && other.customer == mine.customer &&
        other.project == mine.project) {
      continue;
    }
    std::string whose = other.customer.empty() ? tr("another job") : other.customer;
    if (!other.project.empty()) whose += " (" + other.project + ")";
    return messages.show(
               vantrel::fill(tr("Invoice number %1 was already issued to %2 on %3. Issue it "
                                "again for this job?"),
                             {mine.number, whose, shownDate(app_, other.date)}),
               Buttons::YesNo) == Answer::Yes;
  }
  return true;
}

void InvoiceForm::issued() {
  CustomerForm& customer = app_.customer();
  const IssuedInvoice mine = record(invoiceContent(app_));
  if (customer.txtIssued->text().empty()) setField(*customer.txtIssued, mine.date);
  // Printed again as it was, it is the same invoice: the register has it once.
  const std::string path = registerFile();
  const std::vector<IssuedInvoice> known = readRegister(path).invoices;
  if (std::find(known.begin(), known.end(), mine) != known.end()) return;
  const WriteResult written = appendToRegister(path, mine);
  if (!written) services().messages.show(couldNotSave(path, written), Buttons::Ok);
  if (Form* shown = app_.loadedForm("frmInvoices")) shown->load();
}

void InvoiceForm::view() {
  if (figuresRefused(app_)) return;
  proposeNumber();
  fill();
  show();
}

void InvoiceForm::print() {
  if (figuresRefused(app_)) return;
  proposeNumber();
  fill();
  if (!issueConfirmed()) return;
  runRule(Command1->onClick);
}

void InvoiceForm::exportPdf() {
  if (figuresRefused(app_)) return;
  proposeNumber();
  fill();
  if (!issueConfirmed()) return;
  output_.exportPdf();
}

WriteResult InvoiceForm::writePdf(const std::string& path) {
  WriteResult written =
      services().printer.exportPage(page(PrintArea{kSheetWidth, kSheetHeight}), path);
  if (written) issued();
  return written;
}

void InvoiceForm::printOut() {
  Printer& printer = services().printer;
  if (!output_.printerOrPdf()) {
    return;
  }
  if (services().messages.show(vantrel::fill(tr("confirm printing on %1"), {printer.deviceName()}),
                               Buttons::YesNo) != Answer::Yes) {
    return;
  }
  const PrintResult printed = printer.printPage(page(printer.printableArea()));
  output_.tell(printed);
  if (printed) issued();
}

}  // namespace vantrel
