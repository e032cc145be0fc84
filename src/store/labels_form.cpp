#include "store/labels_form.h"

#include <string>

#include "app/vantrel.h"

namespace vantrel {

LabelsForm::LabelsForm(Vantrel& app)
    : Form(app.services(), "frmLabels", "Labels", 4800, 4200), app_(app) {
  for (int i = 1; i <= 7; ++i) {
    int y = 180 + (i - 1) * 420;
    std::string n = std::to_string(i);
    add(ControlKind::Label, "Label" + n, {240, y + 30, 1080, 270}, "Label" + n);
    labelText[i] = &add(ControlKind::TextBox, "Text" + n, {1320, y, 3000, 330},
                        i == 1 ? "Hours" : "Your Text Here");
  }
  labelText[1]->style().readOnly = true;
  labelText[1]->setTooltip("This field cannot be changed");
  Command1 = &add(ControlKind::CommandButton, "Command1", {3240, 3180, 1080, 330}, "Close");
}

}  // namespace vantrel
