#include "app/main_shell.h"

#include "app/main_form.h"

namespace vantrel {

MainShell::MainShell(MainForm& main) : main_(main) {}

void MainShell::load() { main_.setSize(7200, 8970); }

}  // namespace vantrel
