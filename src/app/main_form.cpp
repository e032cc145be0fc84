// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/main_form.h"

#include <string>

#include "app/main_shell.h"
#include "app/vantrel.h"
#include "clock/clock_digits.h"
#include "clock/job_clock.h"
#include "platform/translation.h"
#include "sheet/job_sheet.h"
#include "store/project_commands.h"
#include "worklog/log_keeper.h"

namespace vantrel {
namespace {

constexpr int kRow = 330;      // height of a box or button
constexpr int kHidden = 7500;  // left of controls that are never on screen

}  // namespace

MainForm::MainForm(Vantrel& app)
    : Form(app.services(), "frmMain", tr("Vantrel - Stopped"), 7200, 8970), app_(app) {
  role = WindowRole::Main;
  setBackColour(colour::sheetGrey);
  design();
  designMenus();
  sheet = std::make_unique<JobSheet>(*this);
  clock = std::make_unique<JobClock>(*this);
  files = std::make_unique<ProjectCommands>(*this);
  shell = std::make_unique<MainShell>(*this);
  log = std::make_unique<LogKeeper>(*this);
}

MainForm::~MainForm() = default;

void MainForm::load() {
  shell->load();
}

void MainForm::design() {
  auto box = [this](const char* name, Geometry g, std::string text, Control* in = nullptr) {
    return &add(ControlKind::TextBox, name, g, std::move(text), in);
  };
  // Labels have no background of their own, so they take the skin of what they stand on.
  auto label = [this](const char* name, Geometry g, std::string text, Control* in = nullptr) {
    // A caption runs longer in some languages; the changing texts (the time, the status
    // line) keep their size and are not measured at every change.
    Control* c = &add(ControlKind::Label, name, g, std::move(text), in);
    c->style().shrinkToFit = !c->text().empty();
    return c;
  };
  auto button = [this](const char* name, Geometry g, std::string text, Control* in = nullptr) {
    return &add(ControlKind::CommandButton, name, g, std::move(text), in);
  };
  auto frame = [this](const char* name, Geometry g, std::string text) {
    Control* c = &add(ControlKind::Frame, name, g, std::move(text));
    c->setBackColour(colour::sheetGrey);
    return c;
  };
  auto hidden = [](Control* c) {
    c->setVisible(false);
    return c;
  };
  auto digit = [&](const char* name, int left, Control* in) {
    Control* c = box(name, {left, 540, 420, 600}, "0", in);
    c->style() = Style{20, true, Align::Centre, true};
    c->setBackColour(colour::sheetGrey);
    return c;
  };

  // The top strip: current time and date; the program's picture at the right.
  Label19 = label("Label19", {120, 60, 1500, 270}, "");
  Label19->style().bold = true;
  Label20 = label("Label20", {1680, 60, 2400, 270}, "");
  for (int i = 1; i <= 4; ++i) {
    std::string name = "Image" + std::to_string(i);
    image[i] = &add(ControlKind::Image, name, {6360, 0, 480, 420}, "");
    image[i]->setPicture("skin" + std::to_string(i));
    image[i]->setVisible(i == 1);
  }
  image[1]->setTooltip(tr("About Vantrel"));

  // The clock: days above, then hours, minutes and seconds, the three commands beside.
  frameClock = frame("Frame1", {120, 420, 4200, 1440}, tr("Job Clock"));
  lblDays = hidden(label("lblDays", {240, 210, 600, 270}, tr("Days"), frameClock));
  txtDays = hidden(box("txtDays", {840, 180, 720, 300}, "0", frameClock));
  txtDays->style() = Style{0, true, Align::Centre, true};
  txt000 = digit("txt000", 180, frameClock);
  txtHours = digit("txtHours", 600, frameClock);
  Text28 = digit("Text28", 1020, frameClock);
  Text28->setGeometry({1020, 540, 210, 600});
  setField(*Text28, ":");
  txt00 = digit("txt00", 1230, frameClock);
  txtMins = digit("txtMins", 1650, frameClock);
  Text27 = digit("Text27", 2070, frameClock);
  Text27->setGeometry({2070, 540, 210, 600});
  setField(*Text27, ":");
  txt0 = digit("txt0", 2280, frameClock);
  txtSecs = digit("txtSecs", 2700, frameClock);
  // One figure to a listener: "Job clock, 00:11:00, running".
  readAsOne({txtDays, txt000, txtHours, Text28, txt00, txtMins, Text27, txt0, txtSecs}, [this] {
    std::string time = txt000->text() + txtHours->text() + ":" + txt00->text() + txtMins->text() +
                       ":" + txt0->text() + txtSecs->text();
    if (txtDays->visible()) time = timeWithDays(txtDays->text(), time);
    // TRANSLATORS: read to a screen reader; %1 is the clock's time ("00:11:00", "2 days
    // 03:10:00").
    const char* running = N_("Job clock, %1, running");
    // TRANSLATORS: as "Job clock, %1, running", for a clock that is stopped.
    const char* stopped = N_("Job clock, %1, stopped");
    return fill(tr(Timer1->enabled() ? running : stopped), {time});
  });
  CmdStart = button("CmdStart", {3180, 240, 900, kRow}, tr("Start"), frameClock);
  CmdStop = button("CmdStop", {3180, 630, 900, kRow}, tr("Stop"), frameClock);
  CmdReset = button("CmdReset", {3180, 1020, 900, kRow}, tr("Reset"), frameClock);
  CmdStart->setTooltip(tr("Start the clock"));
  CmdStop->setTooltip(tr("Stop the clock"));
  CmdReset->setTooltip(tr("Reset the clock"));
  autosaveTicks = &add(ControlKind::ProgressBar, "PBMin", {kHidden, 0, 1200, 240});
  autosaveTicks->spoken.name = tr("Seconds since the last autosave");
  Timer1 = &addTimer("Timer1", 1000, false);
  Timer25 = &addTimer("Timer25", 10000, true);

  // The adjusters: the mode pair on top, the four amounts below.
  Frame2 = frame("Frame2", {4440, 420, 2400, 1440}, tr("Additions"));
  chkplus = &add(ControlKind::CheckBox, "chkplus", {120, 240, 1020, kRow}, "+", Frame2);
  chkminus = &add(ControlKind::CheckBox, "chkminus", {1260, 240, 1020, kRow}, "-", Frame2);
  for (Control* mode : {chkplus, chkminus}) mode->style().graphical = true;
  chkplus->spoken.name = tr("Add");
  chkminus->spoken.name = tr("Subtract");
  Command4 = button("Command4", {120, 630, 1020, kRow}, tr("15 mins"), Frame2);
  Command6 = button("Command6", {1260, 630, 1020, kRow}, tr("30 mins"), Frame2);
  Command7 = button("Command7", {120, 1020, 1020, kRow}, tr("1 Hour"), Frame2);
  Command8 = button("Command8", {1260, 1020, 1020, kRow}, tr("2 Hours"), Frame2);

  // The base category, fed by the clock, with the billed minutes and their adjusters.
  frameBase = frame("Frame3", {120, 1920, 6720, 720}, tr("Base"));
  int top = 270;
  categorySelected[1] =
      &add(ControlKind::CheckBox, "Check1", {120, top, 1860, kRow}, tr("Hours"), frameBase);
  categorySelected[1]->setTooltip(tr("Click here to get the Minimum Hour"));
  categoryHours[1] = hidden(box("Text8", {2040, top, 1020, kRow}, "0", frameBase));
  categoryHours[1]->setTooltip(tr("This field is only affected by the time clock"));
  categoryHours[1]->style().readOnly = true;
  categoryHours[1]->style().align = Align::Right;
  rateAt[1] = label("Label6", {3120, top + 45, 240, 270}, "@", frameBase);
  categoryRate[1] = box("Text42", {3360, top, 1020, kRow}, "", frameBase);
  // TRANSLATORS: read to a screen reader; %1 is the base category's name ("Hours").
  categoryRate[1]->spoken = {tr("%1, rate"), categorySelected[1]};
  label("Label16", {4500, top + 45, 720, 270}, tr("Minutes"), frameBase);
  minuteCounter = box("Text24", {5220, top, 720, kRow}, "0", frameBase);
  minuteCounter->setTooltip(tr("Minute Counter"));
  minuteCounter->style().readOnly = true;
  minuteCounter->style().align = Align::Right;
  Command1 = button("Command1", {6000, top, 300, kRow}, "+", frameBase);
  Command1->setTooltip(tr("Add 1 Minute"));
  Command3 = button("Command3", {6300, top, 300, kRow}, "-", frameBase);
  Command3->setTooltip(tr("Subtract 1 Minute"));

  // The six services.
  frameServices = frame("Frame4", {120, 2700, 4440, 2640}, tr("Services"));
  const char* atNames[8] = {"", "", "Label7", "Label8", "Label9", "Label10", "Label11", "Label14"};
  for (int i = 2; i <= 7; ++i) {
    int y = 270 + (i - 2) * 390;
    categorySelected[i] = &add(ControlKind::CheckBox, "Check" + std::to_string(i),
                               {120, y, 1860, kRow}, tr("Your Text Here"), frameServices);
    categoryHours[i] = hidden(
        box(("Text" + std::to_string(i + 7)).c_str(), {2040, y, 1020, kRow}, "0", frameServices));
    categoryHours[i]->setTooltip(tr("Enter in your own number"));
    categoryHours[i]->style().align = Align::Right;
    rateAt[i] = label(atNames[i], {3120, y + 45, 240, 270}, "@", frameServices);
    categoryRate[i] =
        box(("Text" + std::to_string(i + 41)).c_str(), {3360, y, 960, kRow}, "", frameServices);
    // Named with the category's label as it stands: "Service 2 (Design), hours".
    // The number goes in now; the "%1" put in for the label is filled as the name is read.
    const std::string number = std::to_string(i - 1);
    // TRANSLATORS: read to a screen reader; %1 is the service's number (1 to 6), %2 its
    // label ("Design").
    categoryHours[i]->spoken = {fill(tr("Service %1 (%2), hours"), {number, "%1"}),
                                categorySelected[i]};
    // TRANSLATORS: as "Service %1 (%2), hours", for the service's hourly rate.
    categoryRate[i]->spoken = {fill(tr("Service %1 (%2), rate"), {number, "%1"}),
                               categorySelected[i]};
  }
  for (int i = 1; i <= 7; ++i) {
    // Long figures are drawn smaller rather than cut off.
    categoryRate[i]->style().shrinkToFit = true;
    categoryHours[i]->style().shrinkToFit = true;
    categoryRate[i]->style().align = Align::Right;
    categoryRate[i]->setTooltip(tr("Hourly Rate"));
    categoryAmount[i] =
        hidden(box(("Text" + std::to_string(i + 14)).c_str(), {kHidden, 0, 900, kRow}, "0"));
    rateCopy[i] = hidden(box(("Text" + std::to_string(i)).c_str(), {kHidden, 0, 900, kRow}, "0"));
  }

  // Totals and the hour calculator, to the right of the services.
  label("Label17", {4680, 2760, 2160, 240}, tr("Total Cost"));
  totalCost = box("Text22", {4680, 3000, 2160, 360}, "0");
  totalCost->setTooltip(tr("Total Cost"));
  totalCost->style() = Style{11, true, Align::Right, true};
  totalCost->style().shrinkToFit = true;  // up to 999,999,999,999.99
  label("Label18", {4680, 3450, 2160, 240}, tr("Total Hours"));
  totalHours = box("Text23", {4680, 3690, 1380, 360}, "0");
  totalHours->setTooltip(tr("Total Hours"));
  totalHours->style() = Style{11, true, Align::Right, true};
  totalHours->style().shrinkToFit = true;
  cmdcopy = button("cmdcopy", {6120, 3705, 720, kRow}, tr("Copy"));
  cmdcopy->setTooltip(tr("Copy to Clipboard"));
  frameCalculator = frame("Frame6", {4680, 4140, 2160, 1200}, tr("Hour Calculator"));
  calculatorHours = box("Text39", {120, 300, 1080, kRow}, "", frameCalculator);
  calculatorHours->setTooltip(tr("Hour to Minute Calculator"));
  label("Label12", {1260, 345, 780, 270}, tr("Hours"), frameCalculator);
  calculatorMinutes = box("Text40", {120, 720, 1080, kRow}, "", frameCalculator);
  calculatorMinutes->style().readOnly = true;
  calculatorHours->spoken.name = tr("Hour calculator, hours");
  calculatorMinutes->spoken.name = tr("Hour calculator, minutes");
  label("Label13", {1260, 765, 780, 270}, tr("Mins"), frameCalculator);
  calculatorFactor = hidden(box("Text41", {kHidden, 0, 600, kRow}, "60"));

  // The job's customer, copied from the customer window.
  frameCustomer = frame("Frame5", {120, 5400, 4440, 1200}, tr("Customer"));
  frameCustomer->setTooltip(tr("Customer Information Field "));
  label("Label21", {120, 345, 900, 270}, tr("Date"), frameCustomer);
  Text35 = box("Text35", {1020, 300, 1200, kRow}, "", frameCustomer);
  label("Label22", {2340, 345, 780, 270}, tr("Invoice"), frameCustomer);
  Text36 = box("Text36", {3120, 300, 1200, kRow}, "", frameCustomer);
  label("Label23", {120, 765, 900, 270}, tr("Customer"), frameCustomer);
  Text37 = box("Text37", {1020, 720, 1200, kRow}, "", frameCustomer);
  label("Label24", {2340, 765, 780, 270}, tr("Project"), frameCustomer);
  Text38 = box("Text38", {3120, 720, 1200, kRow}, "", frameCustomer);
  for (Control* c : {Text35, Text36, Text37, Text38}) c->style().readOnly = true;

  // The commands.
  int left = 4680, right = 5820, y = 5430;
  cmdnew = button("cmdnew", {left, y, 1020, kRow}, tr("New"));
  cmdopen = button("cmdopen", {right, y, 1020, kRow}, tr("Open"));
  cmdsav = button("cmdsav", {left, y + 390, 1020, kRow}, tr("Save"));
  cmdSave = button("cmdSave", {right, y + 390, 1020, kRow}, tr("Save As"));
  cmdoptions = button("cmdoptions", {left, y + 780, 1020, kRow}, tr("Options"));
  caculate = button("caculate", {right, y + 780, 1020, kRow}, tr("Launch App"));
  caculate->setTooltip(tr("Launch your favorite Program"));
  cmdexit = button("cmdexit", {right, y + 1170, 1020, kRow}, tr("Exit"));

  // Start time, project file and the status line along the bottom.
  label("Label25", {120, 6735, 1440, 270}, tr("Program Started:"));
  Text50 = box("Text50", {1560, 6690, 1500, 300}, "");
  Text50->setTooltip(tr("The Time the Program Started"));
  Text50->style().readOnly = true;
  Text50->setBackColour(colour::sheetGrey);
  label("Label26", {120, 7095, 960, 270}, tr("Save Path:"));
  projectPath = box("Text78", {1080, 7050, 5760, 300}, "");
  projectPath->style().readOnly = true;
  statusMessage = label("Label15", {120, 7440, 6720, 300}, "");
  statusMessage->style().bold = true;
  statusMessage->spoken.live = true;

  // Fields that hold state but are never shown.
  Text54 = hidden(box("Text54", {kHidden, 0, 1500, kRow}, "Vantrel"));
  Text52 = hidden(box("Text52", {kHidden, 0, 1500, kRow}, ""));
  Text52->setTooltip(tr("Current Time"));
  autosavePath = hidden(box("Text55", {kHidden, 0, 1500, kRow}, ""));
  minuteHours = hidden(box("Text25", {kHidden, 0, 900, kRow}, ""));
  minutesPerHour = hidden(box("Text26", {kHidden, 0, 900, kRow}, "60"));
  minimumFactor[0] = hidden(box("Text56", {kHidden, 0, 900, kRow}, "0"));
  minimumAmount = hidden(box("Text57", {kHidden, 0, 900, kRow}, "0"));
  minimumFactor[1] = hidden(box("Text58", {kHidden, 0, 900, kRow}, "0"));
  Picture1 = hidden(&add(ControlKind::PictureBox, "Picture1", {kHidden, 0, 480, 480}, ""));
  Picture1->setPicture("running");
  Picture2 = hidden(&add(ControlKind::PictureBox, "Picture2", {kHidden, 0, 480, 480}, ""));
  Picture2->setPicture("stopped");
  Timer3 = &addTimer("Timer3", 1000, true);
  Timer4 = &addTimer("Timer4", 1000, true);
  Timer6 = &addTimer("Timer6", 100, true);
}

void MainForm::designMenus() {
  mnuFile = &addMenu("mnuFile", tr("&File"));
  options = &addMenu("options", tr("Options"), mnuFile);
  new1 = &addMenu("new1", tr("New"), mnuFile);
  new1->shortcut = "Ctrl+N";
  open1 = &addMenu("open1", tr("Open"), mnuFile);
  open1->shortcut = "Ctrl+O";
  save = &addMenu("save", tr("Save"), mnuFile);
  save->shortcut = "Ctrl+S";
  saveas = &addMenu("saveas", tr("Save As"), mnuFile);
  saveas->shortcut = "Ctrl+Shift+S";
  addMenu("sep1", "-", mnuFile);
  CDT = &addMenu("CDT", tr("Count Down Timer"), mnuFile);
  setg = &addMenu("setg", tr("Preferences"), mnuFile);
  addMenu("sep2", "-", mnuFile);
  View = &addMenu("View", tr("View Invoice"), mnuFile);
  pntInv = &addMenu("pntInv", tr("Print Invoice"), mnuFile);
  pntInv->shortcut = "Ctrl+P";
  pdfInv = &addMenu("pdfInv", tr("Export Invoice as PDF..."), mnuFile);
  mnuLog = &addMenu("mnuLog", tr("Work &Log..."), mnuFile);
  addMenu("sep3", "-", mnuFile);
  viewReport = &addMenu("viewReport", tr("View Report"), mnuFile);
  pntReport = &addMenu("pntReport", tr("Print Report"), mnuFile);
  pdfReport = &addMenu("pdfReport", tr("Export Report as PDF..."), mnuFile);
  addMenu("sep4", "-", mnuFile);
  cls = &addMenu("cls", tr("Close"), mnuFile);
  ext = &addMenu("ext", tr("E&xit"), mnuFile);
  ext->shortcut = "Ctrl+Q";
  customer = &addMenu("customer", tr("Customer"));
  mnuOptions = &addMenu("mnuOptions", tr("Options"));
  ECI = &addMenu("ECI", tr("Edit Company Information"), mnuOptions);
  EL = &addMenu("EL", tr("Edit Labels"), mnuOptions);
  mnuSO = &addMenu("mnuSO", tr("Show Options"), mnuOptions);
  mnuAbout = &addMenu("mnuAbout", tr("About"));
  ATP = &addMenu("ATP", tr("About This Program"), mnuAbout);
  CFP = &addMenu("CFP", tr("Check for Updates"), mnuAbout);
  help = &addMenu("help", tr("Help"), mnuAbout);
  help->shortcut = "F1";

  Mnu_File = &addMenu("Mnu_File", tr("file"));
  Mnu_File->setVisible(false);
  MnuShow = &addMenu("MnuShow", tr("Show"), Mnu_File);
  addMenu("sep5", "-", Mnu_File);
  MnuExit = &addMenu("MnuExit", tr("Exit Program"), Mnu_File);
  addMenu("sep6", "-", Mnu_File);
  MnuStart = &addMenu("MnuStart", tr("Start Clock"), Mnu_File);
  MnuStop = &addMenu("MnuStop", tr("Stop Clock"), Mnu_File);
  addMenu("sep7", "-", Mnu_File);
  MnuCancel = &addMenu("MnuCancel", tr("Cancel"), Mnu_File);
}

}  // namespace vantrel
