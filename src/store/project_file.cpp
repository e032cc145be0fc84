// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/project_file.h"

#include <algorithm>

#include "app/main_form.h"
#include "app/vantrel.h"
#include "clock/settings_form.h"
#include "contacts/customer_form.h"
#include "platform/translation.h"
#include "store/keyed_lines.h"
#include "store/labels_form.h"
#include "store/options_form.h"
#include "worklog/log_keeper.h"

namespace vantrel {

std::vector<Control*> projectFields(Vantrel& app) {
  MainForm& main = app.main();
  std::vector<Control*> fields;
  fields.reserve(61);
  for (int i = 1; i <= 7; ++i) fields.push_back(main.categoryHours[i]);
  fields.push_back(main.minuteCounter);
  for (int i = 1; i <= 7; ++i) fields.push_back(main.categoryRate[i]);
  for (int i = 1; i <= 7; ++i) fields.push_back(main.categorySelected[i]);  // the names
  OptionsForm& options = app.options();
  for (int i = 1; i <= 7; ++i) fields.push_back(options.priceListRate[i]);
  LabelsForm& labels = app.labels();
  for (int i = 1; i <= 7; ++i) fields.push_back(labels.labelText[i]);
  CustomerForm& c = app.customer();
  SettingsForm& settings = app.settings();
  for (Control* field : {c.projectCustomer,
                         c.projectName,
                         c.projectDate,
                         c.invoiceNumber,
                         c.projectPhone,
                         settings.nextBillableMinute,
                         settings.elapsedMinutes,
                         c.projectAddress,
                         c.customerState,
                         c.customerZip,
                         c.projectZip,
                         c.customerName,
                         c.customerAddress,
                         c.customerCity,
                         c.projectCity,
                         c.projectState,
                         c.customerPhone,
                         c.customerEmail,
                         main.txtSecs,
                         main.txt0,
                         main.txtMins,
                         main.txt00,
                         main.txtHours,
                         main.txt000,
                         main.txtDays}) {
    fields.push_back(field);
  }
  return fields;
}

std::vector<std::string> projectLines(Vantrel& app) {
  std::vector<std::string> lines;
  lines.reserve(61);
  for (const Control* field : projectFields(app)) lines.push_back(field->text());
  return lines;
}

WriteResult writeProject(Vantrel& app, const std::string& path) {
  if (path.empty()) return WriteResult{false, tr("no file is named")};
  // The 61 lines as they always were, the invoice details where the job has any, then the
  // work log.
  std::string text;
  appendFileLines(text, projectLines(app));
  appendFileLines(text, app.customer().invoiceSection());
  if (!app.main().log->log().appendFileText(text)) {
    // TRANSLATORS: why a job could not be saved, shown as "Could not save %1: %2".
    return WriteResult{false, tr("its work log could not be read back from the disk")};
  }
  WriteResult result = writeFileText(path, text);
  if (result) setField(*app.main().statusMessage, tr(kSavedNotice));
  return result;
}

WriteResult writeProject(MainForm& main, const std::string& path) {
  return writeProject(main.app(), path);
}

void readProject(Vantrel& app, const std::string& path) {
  if (path.empty()) return;
  ReadResult file = readLines(path);
  if (!file.opened) return;
  LogKeeper& log = *app.main().log;
  LogKeeper::Hold reading(log, EntryKind::Correction);
  // The boxes are looked up first: reading may create windows, which must not happen
  // between two lines.
  const std::vector<Control*> fields = projectFields(app);
  for (std::size_t n = 0; n < fields.size() && n < file.lines.size(); ++n) {
    setField(*fields[n], file.lines[n]);
  }
  // What follows the job's own lines: its invoice details, then its work log.
  auto rest =
      file.lines.begin() + static_cast<std::ptrdiff_t>(std::min(fields.size(), file.lines.size()));
  auto logAt = std::find(rest, file.lines.end(), WorkLog::kHeading);
  if (logAt == file.lines.end() && (rest == file.lines.end() || *rest != kInvoiceSection))
    logAt = rest;
  app.customer().readInvoiceSection(std::vector<std::string>(rest, logAt));
  std::vector<std::string> section(std::make_move_iterator(logAt),
                                   std::make_move_iterator(file.lines.end()));
  log.loaded(path, std::move(section));
}

}  // namespace vantrel
