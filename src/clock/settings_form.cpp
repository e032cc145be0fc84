#include "clock/settings_form.h"

#include <string>

#include "app/vantrel.h"

namespace vantrel {

SettingsForm::SettingsForm(Vantrel& app)
    : Form(app.services(), "frmSettings", "Preferences", 7215, 6900), app_(app) {
  constexpr int row = 330;
  auto label = [this](const char* name, Geometry g, std::string text, Control* in = nullptr) {
    return &add(ControlKind::Label, name, g, std::move(text), in);
  };
  auto button = [this](const char* name, Geometry g, std::string text, Control* in = nullptr) {
    return &add(ControlKind::CommandButton, name, g, std::move(text), in);
  };

  Control& rules = add(ControlKind::Frame, "Frame1", {120, 120, 4440, 1560}, "Start Rule");
  const char* ruleText[4] = {"", "Start clock right away", "Start clock after Minimum",
                             "Use Minimum Amount"};
  for (int i = 1; i <= 3; ++i) {
    int y = 300 + (i - 1) * 390;
    startRule[i] = &add(ControlKind::OptionButton, "Option" + std::to_string(i),
                        {120, y, 2880, row}, ruleText[i], &rules);
    rememberBox[i] = &add(ControlKind::CheckBox, "Check" + std::to_string(i + 4),
                          {3600, y, 330, row}, "", &rules);
    rememberBox[i]->setTooltip("Save Settings");
  }
  Control& saveLabel = *label("Label5", {3420, 60, 780, 240}, "Save", &rules);
  saveLabel.setTooltip("Click on these boxes to save the settings for future projects.");
  startRule[1]->setValue(1);
  rememberBox[1]->setValue(1);
  Text5 = &add(ControlKind::TextBox, "Text5", {3000, 1080, 1320, row}, "0", &rules);
  Text5->setTooltip("Minumum amount in Dollars");
  Text5->setVisible(false);

  Control& minimum =
      add(ControlKind::Frame, "Frame2", {120, 1800, 4440, 900}, "Minimum Hour Requirements");
  minimumHours = &add(ControlKind::TextBox, "Text1", {120, 360, 900, row}, ".5", &minimum);
  minimumHours->setVisible(false);
  Label3 = label("Label3", {240, 390, 900, 270}, "1/2", &minimum);
  Label3->setTooltip("1/4 to a Full Hour of Minimum Time");
  Label3->style().bold = true;
  Command4 = button("Command4", {1260, 360, 450, row}, "+", &minimum);
  Command4->setTooltip("Up by 1/4 Hour");
  Command5 = button("Command5", {1740, 360, 450, row}, "-", &minimum);
  Command5->setTooltip("Down by 1/4 Hour");
  label("Label2", {2340, 390, 1980, 270}, "Hours billed at least", &minimum);

  Control& skins = add(ControlKind::Frame, "Frame3", {4680, 120, 2280, 1800}, "Skins");
  const char* skinText[5] = {"", "Blue Skin", "Default Skin", "Green Skin", "Peach Skin"};
  const char* skinTip[5] = {"", "Use Custom skin", "Use Default Skin", "Use Custom Skin",
                            "Use Custom Skin"};
  for (int i = 1; i <= 4; ++i) {
    skin[i] = &add(ControlKind::CheckBox, "Check" + std::to_string(i),
                   {120, 300 + (i - 1) * 360, 2040, row}, skinText[i], &skins);
    skin[i]->setTooltip(skinTip[i]);
  }
  skin[2]->setValue(1);

  Control& autosave = add(ControlKind::Frame, "Frame4", {120, 2820, 6840, 2520}, "Auto Save Path");
  autosaveTarget = &add(ControlKind::TextBox, "Text2", {120, 300, 6600, row}, "", &autosave);
  autosaveTarget->setTooltip("Auto Save Directory");
  autosaveTarget->style().readOnly = true;
  Drive1 = &add(ControlKind::DriveList, "Drive1", {120, 720, 2160, row}, "/", &autosave);
  Dir1 = &add(ControlKind::FolderList, "Dir1", {120, 1110, 2160, 1260}, "", &autosave);
  File1 = &add(ControlKind::FileList, "File1", {2400, 720, 2400, 1650}, "", &autosave);
  Command8 = button("Command8", {4920, 720, 1800, row}, "Save Directory", &autosave);
  Command8->setTooltip("Click here to save directory to Save Path");
  Command3 = button("Command3", {4920, 1110, 1800, row}, "Clear", &autosave);
  Command3->setTooltip("Clear Auto Save Path");

  Command6 = button("Command6", {120, 5520, 1200, 420}, "Reset");
  Command6->setBackColour(4680179);
  Command6->setTooltip("Caution this will Reset your Project");
  label("Label4", {1440, 5595, 2520, 270}, "This will reset the project");
  Command7 = button("Command7", {4080, 5520, 1560, 420}, "Use Defaults");
  Command7->setTooltip("Click here to restore Default Settings");
  Command2 = button("Command2", {4080, 6000, 1560, row}, "Options");
  Command2->setTooltip("Open Options");
  Command1 = button("Command1", {5760, 6000, 1200, row}, "Close");
  Command1->setTooltip("Close Preferences window");

  nextBillableMinute = &add(ControlKind::TextBox, "Text3", {7500, 0, 900, row}, "1");
  elapsedMinutes = &add(ControlKind::TextBox, "Text4", {7500, 0, 900, row}, "0");
  rememberedStartRule = &add(ControlKind::TextBox, "Text6", {7500, 0, 900, row}, "1");
  for (Control* c : {nextBillableMinute, elapsedMinutes, rememberedStartRule}) c->setVisible(false);
}

void SettingsForm::load() {
  Text5->setVisible(false);
  for (int i = 1; i <= 3; ++i) startRule[i]->setEnabled(true);
  if (autosaveTarget->text().empty()) {
    setField(*autosaveTarget, services().app.folder() + "/AutoSave.pcl");
  }
}

}  // namespace vantrel
