// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/report_form.h"

#include <string>

#include "app/vantrel.h"
#include "documents/paper_controls.h"
#include "store/labels_form.h"

namespace vantrel {

ReportForm::ReportForm(Vantrel& app)
    : Form(app.services(), "frmprint", "Form1", 5835, 6225),
      app_(app),
      output_(app.services(), "Report",
              [this](const std::string& path) { return writePdf(path); }) {
  setBackColour(colour::white);
  constexpr double points = 8;
  auto label = [this](std::string name, Geometry g, std::string text) {
    return paperLabel(*this, std::move(name), g, std::move(text), points);
  };
  auto field = [this](std::string name, Geometry g, Align align) {
    return paperField(*this, std::move(name), g, "", align, points);
  };
  label("Label14", {240, 120, 900, 285}, "Date");
  date = field("Text20", {1200, 120, 1800, 285}, Align::Left);
  label("Label11", {720, 600, 1500, 285}, "Invoice Number");
  invoiceNumber = field("Text17", {2280, 600, 3075, 285}, Align::Left);
  label("Label12", {720, 960, 1500, 285}, "Customer");
  customer = field("Text18", {2280, 960, 3075, 285}, Align::Left);
  label("Label13", {720, 1320, 1500, 285}, "Project");
  project = field("Text19", {2280, 1320, 3075, 285}, Align::Left);
  label("Label3", {2280, 1920, 615, 240}, "Hours");
  label("Label2", {3120, 1920, 1095, 240}, "Cost");
  const int rows[8] = {0, 2280, 2640, 3000, 3360, 3720, 4080, 4440};
  for (int i = 1; i <= 7; ++i) {
    std::string nameLabel = i == 1 ? "Label1" : "Label" + std::to_string(i + 2);
    categoryName[i] = label(nameLabel, {960, rows[i], 1170, 240}, "");
    int hoursTop = i == 2 ? 2610 : rows[i];
    hours[i] = field("Text" + std::to_string(2 * i - 1), {2280, hoursTop, 615, 240}, Align::Right);
    cost[i] = field("Text" + std::to_string(2 * i), {3120, rows[i], 1095, 240}, Align::Right);
  }
  label("Label10", {960, 4800, 1170, 240}, "Totals");
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
}

void ReportForm::load() {
  LabelsForm& labels = app_.labels();
  for (int i = 1; i <= 7; ++i) setField(*categoryName[i], labels.labelText[i]->text());
}

void ReportForm::print() {
  if (!output_.printerOrPdf(invoiceNumber->text())) {
    return;
  }
  output_.tell(services().printer.printForm(*this));
}

void ReportForm::exportPdf() {
  output_.exportPdf(invoiceNumber->text());
}

WriteResult ReportForm::writePdf(const std::string& path) {
  return services().printer.exportForm(*this, path);
}

}  // namespace vantrel
