#include "store/options_form.h"

#include <string>

#include "app/main_form.h"
#include "app/vantrel.h"

namespace vantrel {

OptionsForm::OptionsForm(Vantrel& app)
    : Form(app.services(), "frmOptions", "Options", 5700, 8415), app_(app) {
  constexpr int row = 330;
  auto button = [this](const char* name, Geometry g, std::string text, std::string tip) {
    Control* c = &add(ControlKind::CommandButton, name, g, std::move(text));
    c->setTooltip(std::move(tip));
    return c;
  };
  add(ControlKind::Label, "Label9", {240, 120, 3000, 270}, "Labels and Prices").style().bold = true;
  for (int i = 1; i <= 7; ++i) {
    int y = 480 + (i - 1) * 390;
    rateLabel[i] = &add(ControlKind::Label, "Label" + std::to_string(i), {240, y + 30, 2640, 270},
                        i == 1 ? "Hours" : "Your Text Here");
    priceListRate[i] =
        &add(ControlKind::TextBox, "Text" + std::to_string(i), {3000, y, 1320, row}, "0");
    priceListRate[i]->style().align = Align::Right;
  }
  Command4 = button("Command4", {240, 3300, 2400, row}, "Edit Labels", "Edit Labels");
  Command5 = button("Command5", {2760, 3300, 2640, row}, "Your Company Information",
                    "Edit your Company Information");

  launchDisabled =
      &add(ControlKind::CheckBox, "Check1", {240, 3840, 5160, row}, "Disable Launch App Function");
  launchDisabled->setTooltip("Clicking this will shut down the Launch Application Function.");
  launchDisabled->onClick = [this] {
    app_.main().caculate->setEnabled(launchDisabled->value() == 0);
  };
  autoSaveEnabled =
      &add(ControlKind::CheckBox, "Check2", {240, 4200, 5160, row}, "Enable Auto Save Function");
  twoHourReminder =
      &add(ControlKind::CheckBox, "Check3", {240, 4560, 5160, row}, "Two Hour Reminder");
  twoHourReminder->setTooltip("Click this to get a two hour reminder");
  reminderSound =
      &add(ControlKind::CheckBox, "Check4", {240, 4920, 5160, row}, "THR Sound (Alarm)");
  reminderSound->setTooltip("Two hour Reminder Sound");

  add(ControlKind::Label, "Label8", {240, 5400, 5160, 480},
      "Place your Favorite EXE File here to be used as a launch pad.");
  launchProgramPath = &add(ControlKind::TextBox, "Text8", {240, 5940, 5160, row}, "");
  priceListPath = &add(ControlKind::TextBox, "Text78", {240, 6390, 5160, row}, "");
  priceListPath->style().readOnly = true;

  Command3 = button("Command3", {240, 6960, 1140, row}, "Save", "Save your Options");
  Command1 = button("Command1", {1500, 6960, 1140, row}, "Save As", "Save Options As");
  Command2 = button("Command2", {2760, 6960, 1140, row}, "Open", "Open Prices");
  cmdclose = button("cmdclose", {4260, 6960, 1140, row}, "Close", "Close to Main Page");
}

void OptionsForm::load() {}

}  // namespace vantrel
