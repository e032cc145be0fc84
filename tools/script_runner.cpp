// SPDX-License-Identifier: GPL-3.0-or-later
#include "script_runner.h"

#include <algorithm>
#include <cctype>
#include <exception>

#include "app/main_form.h"
#include "app/vantrel.h"
#include "platform/user_input.h"
#include "worklog/log_keeper.h"

namespace vantrel {

bool ProgramForms::knows(const std::string& name) const {
  return program_.knowsForm(name);
}

Form* ProgramForms::loaded(const std::string& name) const {
  return program_.loadedForm(name);
}

Form& ProgramForms::open(const std::string& name) {
  Form* form = program_.form(name);
  if (form == nullptr) throw std::out_of_range("no window named " + name);
  return *form;
}

bool ProgramForms::ended() const {
  return program_.ended();
}

std::string ProgramForms::outOfStep() const {
  auto* main = dynamic_cast<MainForm*>(program_.loadedForm("frmMain"));
  if (main == nullptr || main->log == nullptr || main->log->balanced()) return {};
  const LogKeeper& keeper = *main->log;
  const auto counter = keeper.counterMicro();
  return "the work log adds up to " + std::to_string(keeper.log().seconds()) + " s and " +
         billedText(keeper.log().billed()) + " billed minutes; the clock shows " +
         std::to_string(keeper.clockSeconds()) + " s and the minute counter " +
         (counter ? billedText(*counter) : std::string("(unreadable)"));
}

namespace {

const char* yesNo(bool b) {
  return b ? "true" : "false";
}

[[noreturn]] void error(const Command& cmd, const std::string& message) {
  throw ScriptError(cmd.line, message);
}

bool sameIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

bool takesTyping(ControlKind kind) {
  return kind == ControlKind::TextBox || kind == ControlKind::DatePicker;
}

// Why a user could not reach the control, or empty when they could.
std::string unreachable(const Control& c) {
  for (const Control* k = &c; k != nullptr; k = k->container()) {
    const char* why = !k->visible() ? "hidden" : !k->enabled() ? "disabled" : nullptr;
    if (why == nullptr) continue;
    if (k == &c) return c.form().name() + "." + c.name() + " is " + why;
    return c.form().name() + "." + c.name() + " is inside " + k->name() + ", which is " + why;
  }
  return {};
}

std::string unreachableMenu(const MenuItem& item) {
  for (const MenuItem* m = &item; m != nullptr; m = m->parentMenu()) {
    if (m->enabled()) continue;
    std::string name = item.form().name() + "." + item.name();
    if (m == &item) return name + " is disabled";
    return name + " is under " + m->name() + ", which is disabled";
  }
  return {};
}

}  // namespace

ScriptRunner::ScriptRunner(HeadlessServices& platform, FormSet& forms, std::ostream& out,
                           std::ostream& err)
    : platform_(platform), forms_(forms), out_(out), err_(err) {}

int ScriptRunner::run(const std::vector<Command>& commands) {
  bool stopped = false;
  for (const Command& cmd : commands) {
    std::string problem;
    try {
      execute(cmd);
    } catch (const ScriptError& e) {
      problem = e.what();
    } catch (const std::exception& e) {
      problem = std::string("the program stopped with an error: ") + e.what();
    } catch (...) {
      problem = "the program stopped with an unknown error";
    }
    if (problem.empty()) {
      if (const std::string why = forms_.outOfStep(); !why.empty()) fail(cmd, why);
    }
    if (!problem.empty()) {
      out_.flush();
      err_ << "ERROR line " << cmd.line << ": " << problem << "\n";
      stopped = true;
      break;
    }
  }
  out_ << passed_ << " passed, " << failed_ << " failed\n";
  out_.flush();
  if (stopped) return kScriptError;
  return failed_ > 0 ? kSomeFailed : kAllPassed;
}

bool ScriptRunner::ended() const {
  return forms_.ended() || platform_.ended;
}

void ScriptRunner::fail(const Command& cmd, const std::string& why) {
  ++failed_;
  out_ << "FAIL line " << cmd.line << ": " << why << "\n";
}

void ScriptRunner::execute(const Command& cmd) {
  if (ended() && cmd.verb != Verb::Print && cmd.verb != Verb::Expect) {
    error(cmd, std::string(verbName(cmd.verb)) +
                   " after the program has ended; only print and expect may follow");
  }
  const Argument& first = cmd.args.front();
  // Whatever a user does at the keys or the mouse is input: the desktop's idle time ends.
  static constexpr Verb kInput[] = {Verb::Click, Verb::Press,  Verb::Activate,
                                    Verb::Type,  Verb::Leave,  Verb::Close,
                                    Verb::Tray,  Verb::Answer, Verb::Select};
  if (std::find(std::begin(kInput), std::end(kInput), cmd.verb) != std::end(kInput)) {
    platform_.userInput();
  }
  switch (cmd.verb) {
    case Verb::Click:
      if (cmd.ref.parts.size() == 1) {
        clickBackground(cmd);
      } else if (Control* c = reachableControl(cmd)) {
        userClick(*c);
      }
      break;
    case Verb::Press:
      if (Control* c = reachableControl(cmd)) userPress(*c);
      break;
    case Verb::Select:
      if (Control* c = reachableControl(cmd)) {
        auto* table = dynamic_cast<Table*>(c);
        if (table == nullptr) error(cmd, cmd.ref.written + " is not a table");
        const auto row = static_cast<std::size_t>(cmd.ms - 1);
        if (row >= table->rows()) {
          fail(cmd, "select " + cmd.ref.written + " " + cmd.args[1].text + ": it has " +
                        std::to_string(table->rows()) + " rows");
          break;
        }
        table->setCurrent(row);
      }
      break;
    case Verb::Activate:
      if (Control* c = reachableControl(cmd)) userKeyActivate(*c);
      break;
    case Verb::Leave:
      if (Control* c = reachableControl(cmd)) userLeave(*c);
      break;
    case Verb::Type:
      if (Control* c = reachableControl(cmd)) {
        for (char key : cmd.args[1].text) {
          // The focus kept elsewhere takes no keys; an Enter that ends the program ends typing.
          if (!userType(*c, key) || ended()) break;
        }
      }
      break;
    case Verb::Set: {
      Control& c = control(cmd, openForm(cmd));
      if (c.kind() == ControlKind::Timer || c.kind() == ControlKind::MenuItem) {
        error(cmd, cmd.ref.written + " is a " + kindName(c.kind()) + " and holds no text to set");
      }
      setField(c, cmd.args[1].text);
      break;
    }
    case Verb::Close: {
      Form* form = loadedForm(cmd);
      if (form == nullptr || !form->visible()) {
        fail(cmd, "close " + cmd.ref.written + ": " + cmd.ref.written + " is not shown");
        break;
      }
      form->requestClose();
      break;
    }
    case Verb::Tray: {
      if (!platform_.trayRecord) {
        fail(cmd, "tray " + first.text + ": the tray icon is not present");
        break;
      }
      if (platform_.onMouse) {
        auto handler = platform_.onMouse;
        handler(first.text == "doubleclick" ? 515 : 516);
      }
      break;
    }
    case Verb::Wait:
      platform_.advance(cmd.ms);
      break;
    case Verb::Idle:
      platform_.reportIdle(cmd.ms / 1000);
      break;
    case Verb::Sleep:
      platform_.sleep(cmd.ms);
      break;
    case Verb::Answer: {
      // The open question takes a caption it offers; anything else waits for the next box.
      if (platform_.answerQuestion(first.text)) break;
      if (platform_.openQuestion) {
        fail(cmd, "answer " + first.text + ": the question open offers no such button");
        break;
      }
      std::string word = first.text;
      for (char& c : word) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      if (word == "yes" || word == "no" || word == "ok" || word == "cancel") {
        platform_.answers.push_back(word == "yes"      ? Answer::Yes
                                    : word == "no"     ? Answer::No
                                    : word == "cancel" ? Answer::Cancel
                                                       : Answer::Ok);
      } else {
        platform_.questionAnswers.push_back(first.text);
      }
      break;
    }
    case Verb::File:
      if (!first.quoted && first.text == "cancel") {
        platform_.dialogResults.emplace_back(std::nullopt);
      } else {
        platform_.dialogResults.emplace_back(first.text);
      }
      break;
    case Verb::Print: {
      std::string value = read(cmd);  // a bad name prints nothing
      out_ << cmd.ref.written << " = " << value << "\n";
      break;
    }
    case Verb::Expect: {
      std::string actual = read(cmd);
      const std::string& expected = cmd.args[1].text;
      if (actual == expected) {
        ++passed_;
      } else {
        fail(cmd, cmd.ref.written + " is \"" + actual + "\", expected \"" + expected + "\"");
      }
      break;
    }
  }
}

Form* ScriptRunner::loadedForm(const Command& cmd) {
  const std::string& name = cmd.ref.parts.front();
  if (!forms_.knows(name)) error(cmd, "unknown form " + name);
  return forms_.loaded(name);
}

Form& ScriptRunner::openForm(const Command& cmd) {
  const std::string& name = cmd.ref.parts.front();
  if (!forms_.knows(name)) error(cmd, "unknown form " + name);
  return forms_.open(name);
}

Control& ScriptRunner::control(const Command& cmd, Form& form) {
  const std::string& name = cmd.ref.parts.at(1);
  if (Control* c = form.find(name)) return *c;
  std::string message = form.name() + " has no control " + name;
  for (const Control* c : form.controls()) {
    if (sameIgnoringCase(c->name(), name)) {
      message += " (names are exact: " + c->name() + ")";
      break;
    }
  }
  error(cmd, message);
}

void ScriptRunner::clickBackground(const Command& cmd) {
  Form* form = loadedForm(cmd);
  if (form == nullptr || !form->visible()) {
    fail(cmd, "click " + cmd.ref.written + ": " + cmd.ref.written + " is not shown");
    return;
  }
  runRule(form->onClick);
}

Control* ScriptRunner::reachableControl(const Command& cmd) {
  const std::string what = std::string(verbName(cmd.verb)) + " " + cmd.ref.written + ": ";
  Form* form = loadedForm(cmd);
  if (form == nullptr) {
    fail(cmd, what + cmd.ref.parts.front() + " is not loaded");
    return nullptr;
  }
  Control& c = control(cmd, *form);
  if (c.kind() == ControlKind::Timer)
    error(cmd, cmd.ref.written + " is a timer, out of a user's reach");
  if (cmd.verb == Verb::Type && !takesTyping(c.kind())) {
    error(cmd, cmd.ref.written + " is a " + kindName(c.kind()) + "; type needs a text box");
  }
  std::string why;
  if (c.kind() == ControlKind::MenuItem) {
    // Pop-up menus come up over hidden windows and from the tray: enabled is enough.
    why = unreachableMenu(static_cast<MenuItem&>(c));
  } else if (!form->visible()) {
    why = form->name() + " is not shown";
  } else {
    why = unreachable(c);
  }
  if (!why.empty()) {
    fail(cmd, what + why);
    return nullptr;
  }
  return &c;
}

std::string ScriptRunner::read(const Command& cmd) {
  const std::string& head = cmd.ref.parts.front();
  static const char* const kServices[] = {"messages", "tray",     "clipboard", "sound",
                                          "printer",  "launcher", "browser",   "settings",
                                          "program",  "question", "dialog"};
  for (const char* name : kServices) {
    if (head == name) return readService(cmd);
  }
  return readForm(cmd);
}

std::string ScriptRunner::readService(const Command& cmd) {
  const auto& parts = cmd.ref.parts;
  const std::string& head = parts.front();
  if (head == "messages") {
    if (parts.size() != 1) error(cmd, "messages has no properties: write messages alone");
    std::string joined;
    for (; messagesRead_ < platform_.messagesShown.size(); ++messagesRead_) {
      if (!joined.empty()) joined += " | ";
      joined += platform_.messagesShown[messagesRead_];
    }
    return joined;
  }
  struct Item {
    const char* service;
    const char* property;
  };
  static const Item kItems[] = {
      {"tray", "present"},         {"tray", "tip"},          {"tray", "icon"},
      {"tray", "message"},         {"clipboard", "text"},    {"sound", "count"},
      {"sound", "last"},           {"printer", "jobs"},      {"printer", "page"},
      {"printer", "pdf"},          {"launcher", "last"},     {"browser", "last"},
      {"settings", "SLA"},         {"settings", "Currency"}, {"settings", "AwayAsk"},
      {"settings", "AwayMinutes"}, {"program", "ended"},     {"question", "text"},
      {"dialog", "folder"},        {"dialog", "proposed"},
  };
  std::string property = parts.size() == 2 ? parts[1] : std::string();
  bool known = false;
  std::string choices;
  for (const Item& item : kItems) {
    if (head != item.service) continue;
    if (property == item.property) known = true;
    choices += choices.empty() ? "" : ", ";
    choices += head + "." + item.property;
  }
  if (!known) error(cmd, "unknown record " + cmd.ref.written + " (known: " + choices + ")");

  auto last = [](const std::vector<std::string>& list) {
    return list.empty() ? std::string() : list.back();
  };
  const auto& tray = platform_.trayRecord;
  if (head == "tray") {
    if (property == "present") return yesNo(tray.has_value());
    if (property == "tip") return tray ? tray->tipText() : std::string();
    if (property == "message") return last(platform_.trayMessages);
    return tray ? tray->iconName : std::string();
  }
  if (head == "clipboard") return platform_.clipboardText;
  if (head == "sound") {
    if (property == "count") return std::to_string(platform_.soundsPlayed.size());
    return last(platform_.soundsPlayed);
  }
  if (head == "printer") {
    if (property == "jobs") return std::to_string(platform_.printJobs);
    if (property == "pdf") return last(platform_.pdfsWritten);
    return last(platform_.pagesPrinted);
  }
  if (head == "question") return platform_.openQuestion ? platform_.openQuestion->text : "";
  if (head == "dialog") {
    if (platform_.dialogsShown.empty()) return {};
    const FileDialogRequest& shown = platform_.dialogsShown.back();
    if (property == "proposed") return shown.proposed;
    // Inside the application folder, relative to it, as `file` paths are written.
    const std::string home = platform_.folder();
    if (shown.folder == home) return ".";
    if (shown.folder.rfind(home + "/", 0) == 0) return shown.folder.substr(home.size() + 1);
    return shown.folder;
  }
  if (head == "launcher") return last(platform_.launched);
  if (head == "browser") return last(platform_.opened);
  if (head == "settings") return platform_.read("Ploven", "Settings", property).value_or("");
  return yesNo(ended());
}

std::string ScriptRunner::readForm(const Command& cmd) {
  const auto& parts = cmd.ref.parts;
  const std::string& name = parts.front();
  if (!forms_.knows(name)) error(cmd, "unknown form " + name);
  if (parts.size() == 1) {
    error(cmd, name +
                   " alone has no value: name a property (caption, visible, loaded, width, "
                   "height, colour) or a control");
  }
  if (parts.size() == 2) {
    const std::string& p = parts[1];
    // Neither creates the window: reading them must not load it.
    if (p == "loaded") return yesNo(forms_.loaded(name) != nullptr);
    if (p == "visible") {
      Form* form = forms_.loaded(name);
      return yesNo(form != nullptr && form->visible());
    }
    if (p == "caption") return forms_.open(name).caption();
    if (p == "width") return std::to_string(forms_.open(name).width());
    if (p == "height") return std::to_string(forms_.open(name).height());
    if (p == "colour") return std::to_string(forms_.open(name).backColour());
  }
  Control& c = control(cmd, forms_.open(name));
  std::string property;
  if (parts.size() == 3) {
    property = parts[2];
  } else if (c.kind() == ControlKind::CheckBox || c.kind() == ControlKind::OptionButton) {
    property = "value";
  } else if (c.kind() == ControlKind::Timer) {
    error(cmd, cmd.ref.written + " is a timer: name its enabled or interval");
  } else {
    property = "text";
  }
  return readControl(cmd, c, property);
}

namespace {

// A table's row as one line, its cells between bars: "2026-12-10 | 09:00:00 | ...".
std::string rowLine(const Table& table, std::size_t row) {
  std::string line;
  for (std::size_t column = 0; column < table.columns.size(); ++column) {
    if (column > 0) line += " | ";
    line += table.text(row, column);
  }
  while (!line.empty() && line.back() == ' ') line.pop_back();
  return line;
}

}  // namespace

std::string ScriptRunner::readControl(const Command& cmd, Control& c, const std::string& property) {
  if (auto* table = dynamic_cast<Table*>(&c)) {
    if (property == "rows") return std::to_string(table->rows());
    if (property == "current") return table->current() ? std::to_string(*table->current() + 1) : "";
    if (property == "text") {
      std::string all;
      for (std::size_t row = 0; row < table->rows(); ++row) all += "\n" + rowLine(*table, row);
      return all;
    }
    if (property.rfind("row", 0) == 0 && property.size() > 3 &&
        property.find_first_not_of("0123456789", 3) == std::string::npos) {
      const std::size_t row = std::stoul(property.substr(3));
      if (row == 0 || row > table->rows()) return {};
      return rowLine(*table, row - 1);
    }
  }
  if (c.kind() == ControlKind::Timer) {
    if (property == "enabled") return yesNo(c.enabled());
    if (property == "interval") return std::to_string(static_cast<Timer&>(c).interval());
    error(cmd, "a timer has enabled and interval, not " + property);
  }
  if (property == "text") return c.shownText();  // as the user reads it
  if (property == "enabled") return yesNo(c.enabled());
  if (property == "visible") return yesNo(c.visible());
  if (property == "colour") return std::to_string(c.backColour());
  if (property == "tooltip") return c.tooltip();
  if (property == "value") {
    switch (c.kind()) {
      case ControlKind::CheckBox:
      case ControlKind::ProgressBar:
        return std::to_string(c.value());
      case ControlKind::OptionButton:
        return yesNo(c.value() != 0);
      default:
        error(cmd, cmd.ref.written + " is a " + kindName(c.kind()) +
                       "; value belongs to check boxes, option buttons and progress bars");
    }
  }
  error(cmd, "unknown property " + property +
                 " (known: text, value, enabled, visible, colour, tooltip)");
}

int runScript(const DriverOptions& options, std::string_view script, std::ostream& out,
              std::ostream& err) {
  std::vector<Command> commands;
  try {
    commands = parseScript(script);
  } catch (const ScriptError& e) {
    err << "ERROR line " << e.line() << ": " << e.what() << "\n";
    out << "0 passed, 0 failed\n";
    return kScriptError;
  }
  HeadlessServices platform(options.home, options.startMs);
  platform.commandLineText = options.commandLine;
  if (options.printer == "none") {
    platform.printerInstalled = false;
  } else {
    platform.printerName = options.printer;
  }
  platform.browserAvailable = options.browser;
  platform.write("Ploven", "Settings", "SLA", options.agreement ? "1" : "0");
  Vantrel program(platform.services());
  ProgramForms forms(program);
  ScriptRunner runner(platform, forms, out, err);
  try {
    program.start();
  } catch (const std::exception& e) {
    err << "ERROR: the program stopped with an error while starting: " << e.what() << "\n";
    out << "0 passed, 0 failed\n";
    return kScriptError;
  }
  return runner.run(commands);
}

}  // namespace vantrel
