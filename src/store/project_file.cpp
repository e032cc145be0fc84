#include "store/project_file.h"

#include "app/main_form.h"
#include "app/vantrel.h"
#include "clock/settings_form.h"
#include "store/labels_form.h"
#include "store/options_form.h"

namespace vantrel {
namespace {

// Lines 37 to 54 belong to the customer window; each is its control's text, or empty while
// that window has no such control.
constexpr const char* kCustomerBefore[] = {"Text1", "Text2", "Text3", "Text4", "Text6"};
constexpr const char* kCustomerAfter[] = {"Text5",   "Text9",      "Text12",  "Text13",
                                          "txtName", "txtAddress", "Text8",   "Text10",
                                          "Text11",  "txtPhone",   "txtEmail"};

}  // namespace

std::vector<std::string> projectLines(Vantrel& app) {
  MainForm& main = app.main();
  std::vector<std::string> lines;
  lines.reserve(61);
  for (int i = 1; i <= 7; ++i) lines.push_back(main.categoryHours[i]->text());
  lines.push_back(main.minuteCounter->text());
  for (int i = 1; i <= 7; ++i) lines.push_back(main.categoryRate[i]->text());
  for (int i = 1; i <= 7; ++i) lines.push_back(main.categorySelected[i]->text());
  OptionsForm& options = app.options();
  for (int i = 1; i <= 7; ++i) lines.push_back(options.priceListRate[i]->text());
  LabelsForm& labels = app.labels();
  for (int i = 1; i <= 7; ++i) lines.push_back(labels.labelText[i]->text());

  Form* customer = app.form("frmcustomer");
  auto customerText = [customer](const char* name) {
    Control* c = customer == nullptr ? nullptr : customer->find(name);
    return c == nullptr ? std::string() : c->text();
  };
  for (const char* name : kCustomerBefore) lines.push_back(customerText(name));
  SettingsForm& settings = app.settings();
  lines.push_back(settings.nextBillableMinute->text());
  lines.push_back(settings.elapsedMinutes->text());
  for (const char* name : kCustomerAfter) lines.push_back(customerText(name));

  for (Control* digit : {main.txtSecs, main.txt0, main.txtMins, main.txt00, main.txtHours,
                         main.txt000, main.txtDays}) {
    lines.push_back(digit->text());
  }
  return lines;
}

WriteResult writeProject(Vantrel& app, const std::string& path) {
  if (path.empty()) return WriteResult{false, "no file is named"};
  WriteResult result = writeLines(path, projectLines(app));
  if (result) setField(*app.main().statusMessage, "Your Project was saved");
  return result;
}

WriteResult writeProject(MainForm& main, const std::string& path) {
  return writeProject(main.app(), path);
}

}  // namespace vantrel
