// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/report_form.h"

#include <string>

#include "app/vantrel.h"
#include "contacts/customer_form.h"
#include "documents/document_language.h"
#include "documents/job_figures.h"
#include "documents/paper_controls.h"
#include "platform/translation.h"
#include "store/labels_form.h"

namespace vantrel {

namespace {
// The page is the window drawn half as large again, on an A4 sheet whose printable area is
// assumed centred on it, centred across the sheet with the invoice's 1.5 cm top margin.
constexpr int kClientWidth = 5595;
constexpr double kScale = 1.5;
constexpr double kCmPerTwip = 2.54 / 1440 * kScale;
constexpr double kSheetWidth = 21.0;
constexpr double kSheetHeight = 29.7;
constexpr double kTopMargin = 1.5;
constexpr double kPoints = 8;
}  // namespace

ReportForm::ReportForm(Vantrel& app)
    : Form(app.services(), "frmprint", tr("Report"), 5835, 6225),
      app_(app),
      output_(
          app.services(), "Report",
          [this] { return documentName(app_.main(), *invoiceNumber, *project); },
          [this](const std::string& path) { return writePdf(path); }, app.lastExportFolder) {
  setBackColour(colour::white);
  // Captions are the paper's: they speak the customer's language (see speak).
  auto label = [this](std::string name, Geometry g, const char* text) {
    Control* c = paperLabel(*this, std::move(name), g, text, kPoints);
    paper_.caption(c, text);
    return c;
  };
  auto field = [this](std::string name, Geometry g, Align align) {
    return paperField(*this, std::move(name), g, "", align, kPoints);
  };
  label("Label14", {240, 120, 900, 285}, N_("Date"));
  date = field("Text20", {1200, 120, 1800, 285}, Align::Left);
  label("Label11", {720, 600, 1500, 285}, N_("Invoice Number"));
  invoiceNumber = field("Text17", {2280, 600, 3075, 285}, Align::Left);
  label("Label12", {720, 960, 1500, 285}, N_("Customer"));
  customer = field("Text18", {2280, 960, 3075, 285}, Align::Left);
  label("Label13", {720, 1320, 1500, 285}, N_("Project"));
  project = field("Text19", {2280, 1320, 3075, 285}, Align::Left);
  label("Label3", {2280, 1920, 615, 240}, N_("Hours"));
  label("Label2", {3120, 1920, 1095, 240}, N_("Cost"));
  const int rows[8] = {0, 2280, 2640, 3000, 3360, 3720, 4080, 4440};
  for (int i = 1; i <= 7; ++i) {
    std::string nameLabel = i == 1 ? "Label1" : "Label" + std::to_string(i + 2);
    categoryName[i] = label(nameLabel, {960, rows[i], 1170, 240}, "");
    int hoursTop = i == 2 ? 2610 : rows[i];
    hours[i] = field("Text" + std::to_string(2 * i - 1), {2280, hoursTop, 615, 240}, Align::Right);
    cost[i] = field("Text" + std::to_string(2 * i), {3120, rows[i], 1095, 240}, Align::Right);
  }
  label("Label10", {960, 4800, 1170, 240}, N_("Totals"));
  totalHours = field("Text15", {2280, 4800, 615, 240}, Align::Right);
  totalCost = field("Text16", {3120, 4800, 1095, 240}, Align::Right);

  // The rows' separators, and the columns' between names, hours and costs.
  int n = 1;
  for (int top : {2520, 2880, 3240, 3600, 3960, 4320, 4680}) {
    add(ControlKind::Line, "Line" + std::to_string(n++), {960, top, 3360, 0});
  }
  for (int left : {2160, 3000}) {
    add(ControlKind::Line, "Line" + std::to_string(n++), {left, 1920, 0, 3120});
  }

  onClick = [this] { hide(); };
  std::vector<Control*> figures = {totalHours, totalCost};
  for (int i = 1; i <= 7; ++i) figures.insert(figures.end(), {hours[i], cost[i]});
  paper_.figures(figures);
}

void ReportForm::speak(Language language) {
  paper_.speak(*this, language);
}

void ReportForm::load() {
  LabelsForm& labels = app_.labels();
  for (int i = 1; i <= 7; ++i) setField(*categoryName[i], labels.labelText[i]->text());
}

void ReportForm::view() {
  if (figuresRefused(app_)) return;
  speak(app_.customer().documentLanguage());
  show();
}

void ReportForm::print() {
  if (figuresRefused(app_) || !output_.printerOrPdf()) return;
  speak(app_.customer().documentLanguage());
  Printer& printer = services().printer;
  output_.tell(printer.printPage(page(printer.printableArea())));
}

void ReportForm::exportPdf() {
  if (figuresRefused(app_)) return;
  speak(app_.customer().documentLanguage());
  output_.exportPdf();
}

WriteResult ReportForm::writePdf(const std::string& path) {
  return services().printer.exportPage(page(PrintArea{kSheetWidth, kSheetHeight}), path);
}

// What the window shows, as text and lines: each text where its box stands (a right-aligned
// one ending where its box ends), in Arial at the window's size scaled with the page.
Page ReportForm::page(const PrintArea& area) {
  const double ox = (kSheetWidth - area.width) / 2 + (kSheetWidth - kClientWidth * kCmPerTwip) / 2;
  const double oy = (kSheetHeight - area.height) / 2 + kTopMargin;
  const PrintFont font{.name = "Arial", .points = kPoints * kScale};
  Printer& printer = services().printer;
  Page p;
  for (const Control* c : controls()) {
    if (!c->visible()) continue;
    const Geometry& g = c->geometry();
    const double x = ox + g.left * kCmPerTwip, y = oy + g.top * kCmPerTwip;
    if (c->kind() == ControlKind::Line) {
      p.line(x, y, ox + (g.left + g.width) * kCmPerTwip, oy + (g.top + g.height) * kCmPerTwip);
    } else if ((c->kind() == ControlKind::Label || c->kind() == ControlKind::TextBox) &&
               !c->text().empty()) {
      const std::string shown = c->shownText();
      const bool right = c->style().align == Align::Right;
      const double at =
          right ? ox + (g.left + g.width) * kCmPerTwip - printer.textWidth(shown, font) : x;
      p.text(at, y, shown, font);
    }
  }
  return p;
}

}  // namespace vantrel
