// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/invoice_form.h"

#include <algorithm>
#include <string>

#include "app/main_form.h"
#include "app/vantrel.h"
#include "contacts/customer_form.h"
#include "documents/job_figures.h"
#include "documents/paper_controls.h"
#include "sheet/numbers.h"
#include "store/user_settings.h"

namespace vantrel {

namespace {
// The page is laid out for an A4 sheet, with a 1 cm left and a 1.5 cm top margin.
constexpr double kSheetWidth = 21.0;
constexpr double kSheetHeight = 29.7;
}  // namespace

InvoiceForm::InvoiceForm(Vantrel& app)
    : Form(app.services(), "frmInvoice", "Invoice", 11115, 12285),
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
  total->onChange = [this] { setField(*total, formatNumber(total->text(), "0.00")); };
  onClick = [this] { hide(); };
  Command1->onClick = [this] { printOut(); };
}

void InvoiceForm::design() {
  constexpr double points = 9;
  auto label = [this](std::string name, Geometry g, std::string text) {
    return paperLabel(*this, std::move(name), g, std::move(text), points);
  };
  auto field = [this](std::string name, Geometry g, std::string text, Align align) {
    return paperField(*this, std::move(name), g, std::move(text), align, points);
  };
  auto rule = [this](std::string name, int top) {
    add(ControlKind::Line, std::move(name), {840, top, 9495, 0});
  };
  constexpr int row = 255;
  add(ControlKind::Shape, "Shape1", {840, 1080, 9495, 9615});
  add(ControlKind::Shape, "Shape2", {1080, 2520, 3495, 2415});
  add(ControlKind::Shape, "Shape3", {6000, 2520, 3495, 2415});
  Control* title = label("Label36", {600, 240, 9975, 600}, "Invoice");
  title->style() =
      Style{.fontPoints = 24, .bold = true, .align = Align::Centre, .fontName = "Arial"};

  label("Label5", {960, 1200, 1800, row}, "Invoice Number");
  Invoicenum = field("Invoicenum", {2880, 1200, 2880, row}, "", Align::Left);
  label("Label4", {5880, 1440, 1920, row}, "Phone Number");
  CompPhone = field("CompPhone", {7920, 1440, 2340, row}, "", Align::Left);
  label("Label1", {1200, 1680, 900, row}, "Date");
  dt = field("dt", {1200, 2040, 2400, row}, "", Align::Left);

  label("Label2", {1200, 2640, 3255, row}, "Business TO:");
  Name1 = field("Name1", {1200, 2895, 3255, row}, "", Align::Left);
  Address = field("Address", {1200, 3360, 3255, row}, "", Align::Left);
  Text25 = field("Text25", {1200, 3720, 700, row}, "", Align::Left);
  Text26 = field("Text26", {1920, 3720, 2535, row}, "", Align::Left);
  Text24 = field("Text24", {1200, 4080, 3255, row}, "", Align::Left);
  Name1->spoken.name = "Business to, name";
  Address->spoken.name = "Business to, address";
  Text25->spoken.name = "Business to, zip code";
  Text26->spoken.name = "Business to, city";
  Text24->spoken.name = "Business to, state";
  label("Label35", {1200, 4560, 1020, row}, "Phone ");
  Phone = field("Phone", {2280, 4560, 2175, row}, "", Align::Left);

  label("Label3", {6120, 2640, 3255, row}, "From:");
  Company = field("Company", {6120, 3000, 3255, row}, "", Align::Left);
  CompAddress1 = field("CompAddress1", {6120, 3360, 3255, row}, "", Align::Left);
  CompAddress2 = field("CompAddress2", {6120, 3720, 3255, row}, "", Align::Left);
  CompAddress3 = field("CompAddress3", {6120, 4200, 3255, row}, "", Align::Left);
  CompAddress5 = field("CompAddress5", {6120, 4560, 3255, row}, "", Align::Left);

  Company->spoken.name = "From, business name";
  CompAddress1->spoken.name = "From, street address";
  CompAddress2->spoken.name = "From, town";
  CompAddress3->spoken.name = "From, state";
  CompAddress5->spoken.name = "From, zip code";
  label("Label6", {1080, 5160, 900, row}, "Project");
  Project = field("Project", {2040, 5160, 8100, row}, "", Align::Left);

  rule("Line1", 5640);
  label("Label37", {960, 5760, 1800, row}, "Description");
  label("Label38", {2880, 5760, 900, row}, "Qty");
  label("Label39", {4200, 5760, 1200, row}, "Price");
  label("Label40", {6000, 5760, 1200, row}, "Sub Total");
  rule("Line2", 6120);
  for (int i = 1; i <= 7; ++i) {
    const int top = 6360 + 480 * (i - 1);
    categoryName[i] = label("Label" + std::to_string(i + 6), {1080, top, 1740, row}, "");
    hours[i] = field("Text" + std::to_string(i + 16), {2880, top, 900, row}, "0", Align::Right);
    label("Label" + std::to_string(i + 13), {3840, top, 240, row}, "@");
    rate[i] = field("Text" + std::to_string(i), {4560, top, 1020, row}, "", Align::Right);
    label("Label" + std::to_string(i + 20), {5640, top, 240, row}, "=");
    amount[i] = field("Text" + std::to_string(i + 7), {6360, top, 1200, row}, "0.00", Align::Right);
  }
  rule("Line3", 9840);
  label("Label29", {7560, 10200, 600, row}, "Total ");
  label("Label31", {8160, 10200, 240, row}, "=");
  // The user's currency sign, up to three characters, stands against the total.
  currency = label("Label32", {8400, 10200, 480, row}, currencySign(services().settings));
  currency->style().align = Align::Right;
  total = field("Text16", {8880, 10200, 1380, row}, "", Align::Left);

  Control* footer =
      label("Label33", {4440, 11040, 3600, 210}, "This Invoice was prepared by Vantrel");
  footer->style().fontPoints = 7;
  Control* address = label("Label34", {5160, 11280, 2400, 210}, kProductAddress);
  address->style().fontPoints = 7;

  // Below the client area: kept with the window, never seen or printed.
  label("Label28", {720, 12360, 1500, row}, "Total Hours");
  label("Label30", {2520, 12360, 240, row}, "=");
  totalHours = field("Text15", {3240, 12360, 1200, row}, "", Align::Right);

  Command1 = &add(ControlKind::CommandButton, "Command1", {240, 12360, 360, 255}, "Print");
  Command1->setVisible(false);
}

void InvoiceForm::fill() {
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
}

void InvoiceForm::view() {
  if (figuresRefused(app_)) return;
  fill();
  show();
}

void InvoiceForm::print() {
  if (figuresRefused(app_)) return;
  fill();
  runRule(Command1->onClick);
}

void InvoiceForm::exportPdf() {
  if (figuresRefused(app_)) return;
  fill();
  output_.exportPdf();
}

WriteResult InvoiceForm::writePdf(const std::string& path) {
  return services().printer.exportPage(page(PrintArea{kSheetWidth, kSheetHeight}), path);
}

void InvoiceForm::printOut() {
  Printer& printer = services().printer;
  if (!output_.printerOrPdf()) {
    return;
  }
  if (services().messages.show("confirm printing on " + printer.deviceName(), Buttons::YesNo) !=
      Answer::Yes) {
    return;
  }
  output_.tell(printer.printPage(page(printer.printableArea())));
}

Page InvoiceForm::page(const PrintArea& area) {
  const double ox = (kSheetWidth - area.width) / 2 + 1;
  const double oy = (kSheetHeight - area.height) / 2 + 1.5;
  Page p;
  auto line = [&](double x1, double y1, double x2, double y2) {
    p.line(ox + x1, oy + y1, ox + x2, oy + y2);
  };
  PrintFont font{.name = "Arial", .points = 10, .bold = true};
  auto text = [&](double x, double y, const std::string& value) {
    p.text(ox + x, oy + y, value, font);
  };
  // A text that must end before `right` (its neighbour) is drawn smaller, down to 6 points,
  // and then starts earlier, down to `left`, its column's edge: a long figure never runs
  // into the next one.
  Printer& printer = services().printer;
  auto fitted = [&](double x, double y, const std::string& value, double right, double left) {
    PrintFont small = font;
    const double width = printer.textWidth(value, font);
    if (width > right - x) {
      small.points = std::max(6.0, font.points * (right - x) / width);
      x = std::max(left, std::min(x, right - printer.textWidth(value, small)));
    }
    p.text(ox + x, oy + y, value, small);
  };

  line(0, 0, 18.3, 0);
  line(0, 0, 0, 16.9);
  line(18.3, 0, 18.3, 16.9);
  line(0, 16.9, 18.3, 16.9);
  line(0, 1, 18.3, 1);
  line(0, 5.659, 18.3, 5.659);
  line(0.25, 2, 8, 2);
  line(0.25, 2, 0.25, 5.5);
  line(8, 2, 8, 5.5);
  line(0.25, 5.5, 8, 5.5);
  line(10, 2, 18, 2);
  line(10, 5.5, 18, 5.5);
  line(10, 2, 10, 5.5);
  line(18, 2, 18, 5.5);
  line(0, 6.5, 18.3, 6.5);
  line(0, 7.3, 18.3, 7.3);
  for (double x : {5.0, 7.0, 9.0, 11.0}) line(x, 6.5, x, 7.3);

  text(0.25, 1.5, "Invoice Number");
  text(3.5, 1.5, Invoicenum->text());
  text(12, 1.5, "Phone Number");
  text(15, 1.5, CompPhone->text());
  text(0.35, 2.2, "Business TO:");
  text(0.35, 2.7, Name1->text());
  text(10.35, 2.2, "From:");
  text(10.35, 2.7, Company->text());
  text(0.35, 4.7, "Phone ");
  text(1.7, 4.7, Phone->text());
  text(10.35, 3.2, CompAddress1->text());
  text(10.35, 3.7, CompAddress2->text());
  text(10.35, 4.2, CompAddress3->text());
  text(10.35, 4.7, CompAddress5->text());
  text(0.5, 6, "Date");
  text(1.5, 6, dt->text());
  text(10, 6, "Project");
  text(11.5, 6, Project->text());
  text(1.2, 6.7, "Description");
  text(5.7, 6.7, "Qty");
  text(7.5, 6.7, "Price");
  text(9.3, 6.7, "Sub Total");
  // Every row, ticked or not, empty or not.
  for (int i = 1; i <= 7; ++i) {
    const double y = 7.8 + 0.5 * (i - 1);
    fitted(0.5, y, categoryName[i]->text(), 5.6, 0.1);
    fitted(5.7, y, hours[i]->text(), 6.95, 5.05);
    fitted(7.4, y, rate[i]->text(), 8.9, 7.05);
    text(9, y, "=");
    fitted(9.7, y, amount[i]->text(), 18.2, 9.3);
  }
  text(13, 15.8, "Total ");
  text(14, 15.8, "=");
  // The total follows the sign, however long the sign.
  const std::string& sign = currency->text();
  text(14.3, 15.8, sign);
  const double totalAt = std::max(14.6, 14.3 + printer.textWidth(sign, font) + 0.1);
  fitted(totalAt, 15.8, total->text(), 18.2, totalAt);

  font.points = 8;
  text(6.7, 17, "This Invoice was prepared by Vantrel");
  text(8, 17.3, kProductAddress);

  // The title is centred on the sheet by its printed width, from the area's own edge.
  font.points = 14;
  const std::string title = "Invoice";
  p.text((kSheetWidth - printer.textWidth(title, font)) / 2, oy + 0.3, title, font);

  // The customer's address: street, then postcode and city, then the state where there is
  // one. The city follows the postcode however long that is.
  font.points = 10;
  text(0.35, 3.2, Address->text());
  const std::string& zip = Text25->text();
  text(0.35, 3.7, zip);
  const double cityAt = zip.empty() ? 0.35 : 0.35 + printer.textWidth(zip + " ", font);
  fitted(cityAt, 3.7, Text26->text(), 7.9, cityAt);
  text(0.35, 4.2, Text24->text());
  return p;
}

}  // namespace vantrel
