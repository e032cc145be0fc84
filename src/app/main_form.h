// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <memory>

#include "app/tray_icon.h"
#include "platform/form.h"

namespace vantrel {

class Vantrel;
class JobSheet;
class JobClock;
class MainShell;
class ProjectCommands;
class LogKeeper;

// The main window: the job sheet, its clock and the program's own controls. Members take
// the model's names where a field has one (`minuteCounter` is the box `Text24`); the
// controls keep the window's names, by which the view and the scripts find them.
// Category arrays are indexed 1 to 7; index 0 is unused.
class MainForm : public Form {
 public:
  explicit MainForm(Vantrel& app);
  ~MainForm() override;
  void load() override;

  Vantrel& app() const { return app_; }

  TrayIcon tray{*this};
  std::unique_ptr<JobSheet> sheet;
  std::unique_ptr<JobClock> clock;
  std::unique_ptr<ProjectCommands> files;
  std::unique_ptr<MainShell> shell;
  // Made last: it listens to the figures after their own rules.
  std::unique_ptr<LogKeeper> log;

  // Job sheet
  std::array<Control*, 8> categorySelected{};  // Check1..Check7; the caption is the name
  std::array<Control*, 8> categoryHours{};     // Text8..Text14
  std::array<Control*, 8> categoryRate{};      // Text42..Text48
  std::array<Control*, 8> categoryAmount{};    // Text15..Text21, hidden
  std::array<Control*, 8> rateCopy{};          // Text1..Text7, hidden
  std::array<Control*, 8> rateAt{};            // the "@" labels
  Control* minuteCounter = nullptr;            // Text24
  Control* minuteHours = nullptr;              // Text25
  Control* minutesPerHour = nullptr;           // Text26
  Control* minimumAmount = nullptr;            // Text57
  std::array<Control*, 2> minimumFactor{};     // Text56, Text58
  Control* totalCost = nullptr;                // Text22
  Control* totalHours = nullptr;               // Text23
  Control* projectPath = nullptr;              // Text78
  Control* autosavePath = nullptr;             // Text55
  Control* statusMessage = nullptr;            // Label15
  Control* calculatorHours = nullptr;          // Text39
  Control* calculatorMinutes = nullptr;        // Text40
  Control* calculatorFactor = nullptr;         // Text41
  Control* Text35 = nullptr;                   // project date
  Control* Text36 = nullptr;                   // invoice number
  Control* Text37 = nullptr;                   // customer
  Control* Text38 = nullptr;                   // project name
  Control* frameBase = nullptr;
  Control* frameServices = nullptr;
  Control* frameCustomer = nullptr;
  Control* frameCalculator = nullptr;

  // Job clock
  Control* frameClock = nullptr;
  Control* txtDays = nullptr;
  Control* lblDays = nullptr;
  Control* txt000 = nullptr;
  Control* txtHours = nullptr;
  Control* txt00 = nullptr;
  Control* txtMins = nullptr;
  Control* txt0 = nullptr;
  Control* txtSecs = nullptr;
  Control* Text27 = nullptr;         // ":" between minutes and seconds
  Control* Text28 = nullptr;         // ":" between hours and minutes
  Control* autosaveTicks = nullptr;  // the off-screen progress bar PBMin
  Timer* Timer1 = nullptr;           // the tick
  Timer* Timer25 = nullptr;          // the watchdog
  Control* CmdStart = nullptr;
  Control* CmdStop = nullptr;
  Control* CmdReset = nullptr;
  Control* Frame2 = nullptr;  // the adjusters
  Control* chkplus = nullptr;
  Control* chkminus = nullptr;
  Control* Command1 = nullptr;  // "+" one minute
  Control* Command3 = nullptr;  // "-" one minute
  Control* Command4 = nullptr;  // 15 mins
  Control* Command6 = nullptr;  // 30 mins
  Control* Command7 = nullptr;  // 1 Hour
  Control* Command8 = nullptr;  // 2 Hours

  // The program's own controls
  Control* Text54 = nullptr;        // tray tip text, hidden
  Control* Picture1 = nullptr;      // the running picture, hidden
  Control* Picture2 = nullptr;      // the stopped picture, hidden
  Control* Text50 = nullptr;        // program started
  Control* Label19 = nullptr;       // current time
  Control* Text52 = nullptr;        // current time, hidden
  Control* Label20 = nullptr;       // date
  std::array<Control*, 5> image{};  // Image1..Image4, one per skin
  Timer* Timer3 = nullptr;
  Timer* Timer4 = nullptr;
  Timer* Timer6 = nullptr;
  Control* cmdnew = nullptr;
  Control* cmdopen = nullptr;
  Control* cmdsav = nullptr;
  Control* cmdSave = nullptr;  // Save As
  Control* cmdoptions = nullptr;
  Control* cmdexit = nullptr;
  Control* cmdcopy = nullptr;
  Control* caculate = nullptr;  // Launch App

  // Menus
  MenuItem* mnuFile = nullptr;
  MenuItem* options = nullptr;
  MenuItem* new1 = nullptr;
  MenuItem* open1 = nullptr;
  MenuItem* save = nullptr;
  MenuItem* saveas = nullptr;
  MenuItem* CDT = nullptr;
  MenuItem* setg = nullptr;
  MenuItem* View = nullptr;
  MenuItem* pntInv = nullptr;
  MenuItem* pdfInv = nullptr;
  MenuItem* mnuLog = nullptr;
  MenuItem* viewReport = nullptr;
  MenuItem* pntReport = nullptr;
  MenuItem* pdfReport = nullptr;
  MenuItem* cls = nullptr;
  MenuItem* ext = nullptr;
  MenuItem* customer = nullptr;
  MenuItem* mnuOptions = nullptr;
  MenuItem* ECI = nullptr;
  MenuItem* EL = nullptr;
  MenuItem* mnuSO = nullptr;
  MenuItem* mnuAbout = nullptr;
  MenuItem* ATP = nullptr;
  MenuItem* CFP = nullptr;
  MenuItem* help = nullptr;
  MenuItem* Mnu_File = nullptr;  // the tray menu
  MenuItem* MnuShow = nullptr;
  MenuItem* MnuExit = nullptr;
  MenuItem* MnuStart = nullptr;
  MenuItem* MnuStop = nullptr;
  MenuItem* MnuCancel = nullptr;

 private:
  void design();
  void designMenus();

  Vantrel& app_;
};

}  // namespace vantrel
