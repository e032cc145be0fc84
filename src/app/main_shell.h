#pragma once

namespace vantrel {

class MainForm;

// The main window's own behaviour: its load, the time displays, the command line, the tray
// and its menu, the windows it opens and the exit commands.
class MainShell {
 public:
  explicit MainShell(MainForm& main);
  void load();

 private:
  MainForm& main_;
};

}  // namespace vantrel
