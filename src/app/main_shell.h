// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace vantrel {

class MainForm;
class Vantrel;

// The main window's own behaviour: its load, the time displays, the command line, the tray
// and its menu, the windows it opens and the exit commands.
class MainShell {
 public:
  // The tray's mouse messages, as the platform numbers them.
  static constexpr int kTrayDoubleClick = 515;
  static constexpr int kTrayRightButton = 516;

  explicit MainShell(MainForm& main);
  ~MainShell();
  MainShell(const MainShell&) = delete;
  MainShell& operator=(const MainShell&) = delete;

  void load();

  // The four exit commands, each with its own checks; the first that fails says why.
  void exitButton();    // cmdexit
  void exitMenu();      // File > E&xit
  void closeMenu();     // File > Close
  void exitFromTray();  // the tray's Exit Program

  // The close box: never closes; hides to the tray, or minimises where there is no tray.
  bool queryClose();
  void trayMouse(int message);

  // The project path the command line names: the whole text, every double quote removed.
  static std::string commandLinePath(std::string commandLine);

  // The main window is up and has taken its own command line: later starts' are welcome.
  bool startedUp() const { return startedUp_; }
  // A later start's command line: the window comes to the front and opens its file.
  void takeHandOver(const std::string& commandLine);
  // The main window shown, not minimised, in front of the other programs' windows.
  void comeToFront();
  // Logging out of the desktop: the tray's exit checks; true when the program has ended.
  bool sessionEnding();
  // Unsaved options are saved, dropped or kept as the user says before the program ends;
  // true when it may end.
  bool priceListSettled();

 private:
  void wireTimers();
  void wireWindows();
  void wireTrayMenu();
  void wireExits();
  void resetClock();
  void openCommandLine();
  void openGiven(const std::string& path);
  bool jobUnsaved() const;
  void startBreakReminder();
  bool clockRunning() const;
  bool countdownRunning() const;
  bool refuse(bool failed, const char* message) const;
  void endProgram();
  Vantrel& app() const;

  MainForm& main_;
  bool startedUp_ = false;
};

}  // namespace vantrel
