// SPDX-License-Identifier: GPL-3.0-or-later
// The project file reader on the running program: any bytes as a .pcl file, opened with the
// Open button (read into the job line by line through each box's rules), then what the user
// does next: save it elsewhere and open the copy again, run the clock past a minute with
// autosave on, look at the invoice and print the report.

#include <cstdint>

#include "app/main_form.h"
#include "clock/job_clock.h"
#include "documents/invoice_form.h"
#include "documents/report_form.h"
#include "fuzz_support.h"
#include "platform/user_input.h"
#include "store/options_form.h"
#include "store/project_commands.h"
#include "store/project_file.h"
#include "worklog/log_keeper.h"

using namespace vantrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fuzz::Scratch& scratch = fuzz::Scratch::get();
  const std::string home = scratch.freshHome();
  const std::string job = scratch.write("job.pcl", data, size);
  fuzz::Program program(home);
  Vantrel& app = *program.app;
  MainForm& main = app.main();

  main.files->openPath(job);  // the Open button, the file chosen

  // Saved as another file: one line a box, whatever the boxes hold; opened again, the job is
  // the one that was saved.
  const std::vector<std::string> before = fuzz::asSaved(projectLines(app));
  const std::vector<std::string> logBefore = main.log->fileLines();
  fuzz::check(main.log->balanced(), "the work log of a read job adds up to its figures");
  const std::string copy = scratch.path("copy.pcl");
  fuzz::check(static_cast<bool>(writeProject(app, copy)), "a read job can be saved again");
  const ReadResult saved = readLines(copy);
  fuzz::check(saved.opened && saved.lines.size() == 61 + logBefore.size(),
              "a saved project has 61 lines and its work log");
  readProject(app, copy);
  fuzz::check(projectLines(app) == before, "a saved project reads back as it was saved");
  fuzz::check(main.log->fileLines() == logBefore, "its work log reads back as it was saved");

  // The autosave goes to the application folder: a project file cannot name another place.
  program.clockMinuteThenInvoice();
  app.report().print();
  return 0;
}
