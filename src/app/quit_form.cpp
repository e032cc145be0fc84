// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/quit_form.h"

#include "app/main_form.h"
#include "app/main_shell.h"
#include "app/vantrel.h"
#include "platform/translation.h"
#include "timers/countdown_form.h"

namespace vantrel {

QuitForm::QuitForm(Vantrel& app)
    : Form(app.services(), "frmQEx", tr("Exit Vantrel"), 4200, 1920), app_(app) {
  Label1 = &add(ControlKind::Label, "Label1", {240, 240, 3480, 300},
                tr("You want to EXIT the program?"));
  Label1->style().align = Align::Centre;
  Command1 = &add(ControlKind::CommandButton, "Command1", {600, 780, 1200, 375}, tr("Yes"));
  No = &add(ControlKind::CommandButton, "frmQEx", {2160, 780, 1200, 375}, tr("No"));
  Command1->onClick = [this] {
    if (!app_.main().shell->priceListSettled()) return;
    app_.main().tray.remove();
    app_.end();
  };
  No->onClick = [this] {
    hide();
    app_.countdown().hide();
  };
}

}  // namespace vantrel
