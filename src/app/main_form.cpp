#include "app/main_form.h"

#include "app/vantrel.h"

namespace vantrel {

MainForm::MainForm(Vantrel& app)
    : Form(app.services(), "frmMain", "Vantrel - Stopped", 7200, 8970), app_(app) {}

void MainForm::load() { setSize(7200, 8970); }

}  // namespace vantrel
