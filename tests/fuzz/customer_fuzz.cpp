// SPDX-License-Identifier: GPL-3.0-or-later
// The customer file reader: any bytes as a .pcp file, opened with the customer window's Open
// as the user does (the card filled, then carried into the job), then saved with its Save,
// opened again, and the job's invoice and project file made from what it holds.

#include <cstdint>

#include "contacts/customer_form.h"
#include "documents/invoice_form.h"
#include "fuzz_support.h"
#include "platform/user_input.h"
#include "store/project_file.h"

using namespace vantrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fuzz::Scratch& scratch = fuzz::Scratch::get();
  const std::string home = scratch.freshHome();
  const std::string card = scratch.write("card.pcp", data, size);
  fuzz::Program program(home);
  Vantrel& app = *program.app;
  CustomerForm& customer = app.customer();

  program.platform->dialogResults.emplace_back(card);
  userClick(*customer.cmdAddNew);  // Open

  const std::vector<std::string> before = fuzz::asSaved(customerLines(customer));
  const std::string copy = scratch.path("copy.pcp");
  program.platform->dialogResults.emplace_back(copy);
  userClick(*customer.cmdSave);
  fuzz::check(customer.customerFilePath->text() == copy, "a read card can be saved");
  const ReadResult saved = readLines(copy);
  fuzz::check(saved.opened && saved.lines.size() == customer.cardFields().size(),
              "a saved card has a line a field");
  readCustomer(customer, copy);
  fuzz::check(customerLines(customer) == before, "a saved card reads back as it was saved");

  userClick(*customer.Command3);  // Add to project
  InvoiceForm& invoice = app.invoice();
  invoice.fill();
  invoice.page(program.platform->printableArea());
  const std::string job = scratch.path("job.pcl");
  fuzz::check(static_cast<bool>(writeProject(app, job)), "a job with the card can be saved");
  return 0;
}
