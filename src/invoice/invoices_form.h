// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include "invoice/invoice_register.h"
#include "platform/file_dialog.h"
#include "platform/form.h"

namespace vantrel {

class Vantrel;

// The register of issued invoices, as the Options show it: one row an invoice printed or
// exported, oldest first, and its export for a spreadsheet.
class InvoicesForm : public Form {
 public:
  explicit InvoicesForm(Vantrel& app);
  // Reads the register again.
  void load() override;

  Table* grdInvoices = nullptr;
  Control* lblStatus = nullptr;
  Control* cmdExport = nullptr;
  Control* cmdClose = nullptr;

 private:
  void exportCsv();
  Vantrel& app_;
  FileDialog dialog_;
  std::vector<IssuedInvoice> rows_;
};

}  // namespace vantrel
