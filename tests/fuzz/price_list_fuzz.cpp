// SPDX-License-Identifier: GPL-3.0-or-later
// The price list reader: any bytes as the application folder's prices.pql, which the program
// reads as it starts, then the same bytes opened over the running program as the Options'
// Open does; then what the user does next: Save As elsewhere, open that copy again, step the
// minimum time and close the Preferences, run the clock past a minute with autosave on and
// look at the invoice.

#include <cstdint>

#include "app/main_form.h"
#include "clock/settings_form.h"
#include "documents/invoice_form.h"
#include "fuzz_support.h"
#include "platform/user_input.h"
#include "store/options_form.h"
#include "store/price_list.h"

using namespace vantrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fuzz::Scratch& scratch = fuzz::Scratch::get();
  const std::string home = scratch.freshHome();
  scratch.write("home/prices.pql", data, size);
  const std::string other = scratch.write("other.pql", data, size);
  fuzz::Program program(home);
  Vantrel& app = *program.app;
  MainForm& main = app.main();
  SettingsForm& settings = app.settings();

  loadPriceList(app, other);

  const std::vector<std::string> before = fuzz::asSaved(priceListLines(app));
  const std::string copy = scratch.path("copy.pql");
  fuzz::check(static_cast<bool>(savePriceList(app, copy)), "a read price list can be saved");
  const ReadResult saved = readLines(copy);
  fuzz::check(saved.opened && saved.lines.size() == kPriceListLines,
              "a saved price list has 39 lines");

  loadPriceList(app, copy);
  fuzz::check(priceListLines(app) == before, "a saved price list reads back as it was saved");
  userClick(*settings.Command4);  // + 1/4 hour
  userClick(*settings.Command5);  // - 1/4 hour
  userClick(*settings.Command1);  // Close

  // The file names the autosave file; the clock must not write outside the scratch folder.
  setField(*settings.autosaveTarget, settings.defaultAutosaveTarget());
  setField(*main.autosavePath, settings.defaultAutosaveTarget());
  program.clockMinuteThenInvoice();
  return 0;
}
