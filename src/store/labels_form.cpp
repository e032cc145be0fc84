// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/labels_form.h"

#include <string>

#include "app/main_form.h"
#include "app/vantrel.h"
#include "platform/translation.h"
#include "store/options_form.h"

namespace vantrel {

LabelsForm::LabelsForm(Vantrel& app)
    : Form(app.services(), "frmLabels", tr("Labels"), 4800, 4200), app_(app) {
  for (int i = 1; i <= 7; ++i) {
    int y = 180 + (i - 1) * 420;
    std::string n = std::to_string(i);
    // TRANSLATORS: the caption before the box of the Nth label: Label1, Label2 ... Label7.
    add(ControlKind::Label, "Label" + n, {240, y + 30, 1080, 270}, fill(tr("Label%1"), {n}));
    labelText[i] = &add(ControlKind::TextBox, "Text" + n, {1320, y, 3000, 330},
                        i == 1 ? tr("Hours") : tr("Your Text Here"));
  }
  labelText[1]->style().readOnly = true;
  labelText[1]->setBackColour(colour::white);
  labelText[1]->setTooltip(tr("This field cannot be changed"));
  Command1 = &add(ControlKind::CommandButton, "Command1", {3240, 3180, 1080, 330}, tr("Close"));

  for (int i = 1; i <= 7; ++i) {
    labelText[i]->onChange = [this, i] { labelChanged(i); };
    if (i == 1) continue;
    // Entering a label puts its category back on the job sheet, ready to be named.
    labelText[i]->onMouseDown = [this, i] { app_.main().categorySelected[i]->setVisible(true); };
    labelText[i]->onKeyPress = [this, i](char) {
      app_.main().categorySelected[i]->setVisible(true);
      return true;
    };
  }
  labelText[1]->onMouseDown = [this] {
    setField(*app_.main().statusMessage, tr("The Hours Label Field is not editable"));
  };
  Command1->onClick = [this] {
    hide();
    app_.options().askToSave();
  };
  onQueryClose = [this] {
    OptionsForm& options = app_.options();
    options.setUnsaved(true);
    options.cmdclose->setEnabled(false);
    hide();
    return true;
  };
}

void LabelsForm::labelChanged(int i) {
  const std::string& text = labelText[i]->text();
  setField(*app_.options().rateLabel[i], text);
  MainForm& main = app_.main();
  setField(*main.categorySelected[i], text);
  // An empty label takes its category off the job sheet.
  if (i > 1 && text.empty()) main.categorySelected[i]->setVisible(false);
}

}  // namespace vantrel
