// SPDX-License-Identifier: GPL-3.0-or-later
#include "invoice/invoices_form.h"

#include "app/vantrel.h"
#include "documents/invoice_form.h"
#include "invoice/invoice_rules.h"
#include "platform/text_file.h"
#include "platform/translation.h"

namespace vantrel {

InvoicesForm::InvoicesForm(Vantrel& app)
    : Form(app.services(), "frmInvoices", tr("Invoices Issued"), 10440, 5400),
      app_(app),
      // TRANSLATORS: a file dialog's filter: translate the description before the "|" only,
      // the pattern after it stays as it is.
      dialog_(app.services(), tr("Spreadsheet (*.csv)|*.csv")) {
  grdInvoices = &addTable("grdInvoices", {120, 120, 9960, 4080});
  grdInvoices->columns = {
      {tr("Number"), 1140, Align::Left, false},   {tr("Date"), 1080, Align::Left, false},
      {tr("Customer"), 1620, Align::Left, false}, {tr("Project"), 1380, Align::Left, false},
      {tr("Net"), 1020, Align::Right, false},     {tr("Tax"), 900, Align::Right, false},
      {tr("Gross"), 1020, Align::Right, false},   {tr("Currency"), 960, Align::Left, false},
      {tr("File"), 2400, Align::Left, false}};
  grdInvoices->spoken.name = tr("Invoices issued");
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
  cmdExport =
      &add(ControlKind::CommandButton, "cmdExport", {6960, 4260, 1500, 375}, tr("Export..."));
  cmdExport->setTooltip(tr("Save the register as a spreadsheet file (CSV)"));
  cmdClose = &add(ControlKind::CommandButton, "cmdClose", {8580, 4260, 1500, 375}, tr("Close"));
  cmdExport->onClick = [this] { exportCsv(); };
  cmdClose->onClick = [this] { hide(); };
}

void InvoicesForm::load() {
  const std::string path = app_.invoice().registerFile();
  RegisterRead read = readRegister(path);
  rows_ = std::move(read.invoices);
  grdInvoices->rowsChanged();
  const std::string count = std::to_string(rows_.size());
  std::string status = !read.opened        ? read.error
                       : rows_.empty()     ? tr("No invoice has been printed or exported yet.")
                       : rows_.size() == 1 ? fill(tr("%1 invoice issued."), {count})
                                           : fill(tr("%1 invoices issued."), {count});
  if (read.damaged > 0) {
    const std::string damaged = std::to_string(read.damaged);
    status +=
        " " + (read.damaged == 1
                   ? fill(tr("%1 line of the register is damaged and left out."), {damaged})
                   : fill(tr("%1 lines of the register are damaged and left out."), {damaged}));
  }
  setField(*lblStatus, status);
}

void InvoicesForm::exportCsv() {
  const auto chosen = dialog_.toSave(tr("Export Invoices"), "Invoices.csv", false);
  if (!chosen || chosen->empty()) return;
  std::string path = *chosen;
  if (path.size() < 4 || path.compare(path.size() - 4, 4, ".csv") != 0) path += ".csv";
  if (fileExists(path) &&
      services().messages.show(tr("File Exists, Would you like to Overwrite?"), Buttons::YesNoSafe,
                               tr("OverWrite File")) != Answer::Yes) {
    return;
  }
  const WriteResult written =
      writeBytes(path, registerCsv(rows_, services().clock.decimalSeparator()));
  if (!written) {
    services().messages.show(couldNotSave(path, written));
    return;
  }
  setField(*lblStatus, fill(tr("The register was exported to %1."), {path}));
}

}  // namespace vantrel
