// SPDX-License-Identifier: GPL-3.0-or-later
#include "invoice/invoices_form.h"

#include "app/vantrel.h"
#include "documents/invoice_form.h"
#include "invoice/invoice_rules.h"
#include "platform/text_file.h"

namespace vantrel {

InvoicesForm::InvoicesForm(Vantrel& app)
    : Form(app.services(), "frmInvoices", "Invoices Issued", 10440, 5400),
      app_(app),
      dialog_(app.services(), "Spreadsheet (*.csv)|*.csv") {
  grdInvoices = &addTable("grdInvoices", {120, 120, 9960, 4080});
  grdInvoices->columns = {
      {"Number", 1140, Align::Left, false},   {"Date", 1080, Align::Left, false},
      {"Customer", 1620, Align::Left, false}, {"Project", 1380, Align::Left, false},
      {"Net", 1020, Align::Right, false},     {"Tax", 900, Align::Right, false},
      {"Gross", 1020, Align::Right, false},   {"Currency", 960, Align::Left, false},
      {"File", 2400, Align::Left, false}};
  grdInvoices->spoken.name = "Invoices issued";
  grdInvoices->rowCount = [this] { return rows_.size(); };
  grdInvoices->cell = [this](std::size_t row, std::size_t column) -> std::string {
    if (row >= rows_.size()) return {};
    const IssuedInvoice& r = rows_[row];
    switch (column) {
      case 0:
        return r.number;
      case 1:
        return r.date;
      case 2:
        return r.customer;
      case 3:
        return r.project;
      case 4:
        return moneyText(r.net);
      case 5:
        return moneyText(r.tax);
      case 6:
        return moneyText(r.gross);
      case 7:
        return r.currency;
      default:
        return r.file;
    }
  };
  lblStatus = &add(ControlKind::Label, "lblStatus", {120, 4320, 6000, 255}, "");
  cmdExport = &add(ControlKind::CommandButton, "cmdExport", {6960, 4260, 1500, 375}, "Export...");
  cmdExport->setTooltip("Save the register as a spreadsheet file (CSV)");
  cmdClose = &add(ControlKind::CommandButton, "cmdClose", {8580, 4260, 1500, 375}, "Close");
  cmdExport->onClick = [this] { exportCsv(); };
  cmdClose->onClick = [this] { hide(); };
}

void InvoicesForm::load() {
  const std::string path = app_.invoice().registerFile();
  RegisterRead read = readRegister(path);
  rows_ = std::move(read.invoices);
  grdInvoices->rowsChanged();
  std::string status = !read.opened ? read.error
                       : rows_.empty()
                           ? "No invoice has been printed or exported yet."
                           : std::to_string(rows_.size()) +
                                 (rows_.size() == 1 ? " invoice" : " invoices") + " issued.";
  if (read.damaged > 0) {
    status += " " + std::to_string(read.damaged) +
              (read.damaged == 1 ? " line of the register is damaged and left out."
                                 : " lines of the register are damaged and left out.");
  }
  setField(*lblStatus, status);
}

void InvoicesForm::exportCsv() {
  const auto chosen = dialog_.toSave("Export Invoices", "Invoices.csv", false);
  if (!chosen || chosen->empty()) return;
  std::string path = *chosen;
  if (path.size() < 4 || path.compare(path.size() - 4, 4, ".csv") != 0) path += ".csv";
  if (fileExists(path) &&
      services().messages.show("File Exists, Would you like to Overwrite?", Buttons::YesNoSafe,
                               "OverWrite File") != Answer::Yes) {
    return;
  }
  const WriteResult written =
      writeBytes(path, registerCsv(rows_, services().clock.decimalSeparator()));
  if (!written) {
    services().messages.show(couldNotSave(path, written));
    return;
  }
  setField(*lblStatus, "The register was exported to " + path + ".");
}

}  // namespace vantrel
