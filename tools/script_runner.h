// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/form.h"
#include "platform/headless/headless_services.h"
#include "script_parser.h"

namespace vantrel {

class Vantrel;

// The windows a script reaches by name. The program is one such set; tests bring their own.
class FormSet {
 public:
  virtual ~FormSet() = default;
  virtual bool knows(const std::string& name) const = 0;
  // Only a window already created; never creates one.
  virtual Form* loaded(const std::string& name) const = 0;
  // Creates the window on first use, as touching it in the program does.
  virtual Form& open(const std::string& name) = 0;
  virtual bool ended() const = 0;
  // What no longer agrees in the program's own records after a command (the work log and
  // the job's figures), or empty.
  virtual std::string outOfStep() const { return {}; }
};

class ProgramForms : public FormSet {
 public:
  explicit ProgramForms(Vantrel& program) : program_(program) {}
  bool knows(const std::string& name) const override;
  Form* loaded(const std::string& name) const override;
  Form& open(const std::string& name) override;
  bool ended() const override;
  std::string outOfStep() const override;

 private:
  Vantrel& program_;
};

// Exit statuses of a run.
inline constexpr int kAllPassed = 0;
inline constexpr int kSomeFailed = 1;
inline constexpr int kScriptError = 2;

// Runs parsed commands against a set of windows on the headless platform. A failed check or
// an unreachable control fails its line and the run goes on; a name the program does not
// know stops the run.
class ScriptRunner {
 public:
  ScriptRunner(HeadlessServices& platform, FormSet& forms, std::ostream& out, std::ostream& err);

  // Runs to the end or the first error, prints the summary line, returns the exit status.
  int run(const std::vector<Command>& commands);

  int passed() const { return passed_; }
  int failed() const { return failed_; }

 private:
  void execute(const Command& cmd);
  void fail(const Command& cmd, const std::string& why);
  bool ended() const;

  // A known window; an unknown name stops the run.
  Form* loadedForm(const Command& cmd);
  Form& openForm(const Command& cmd);
  Control& control(const Command& cmd, Form& form);
  // The control of a user command, or null (after failing the line) when no user could
  // reach it.
  Control* reachableControl(const Command& cmd);
  void clickBackground(const Command& cmd);
  std::string read(const Command& cmd);
  std::string readService(const Command& cmd);
  std::string readForm(const Command& cmd);
  std::string readControl(const Command& cmd, Control& c, const std::string& property);

  HeadlessServices& platform_;
  FormSet& forms_;
  std::ostream& out_;
  std::ostream& err_;
  std::size_t messagesRead_ = 0;
  int passed_ = 0;
  int failed_ = 0;
};

struct DriverOptions {
  std::string home;  // the application folder
  std::string commandLine;
  bool agreement = true;
  std::int64_t startMs = 0;                  // local wall time, ms since 1970
  std::string printer = "Headless Printer";  // "none": no printer is installed
  bool browser = true;                       // false: nothing opens web addresses
};

// Starts the program headless as a launch does and runs the script on it; the exit status.
int runScript(const DriverOptions& options, std::string_view script, std::ostream& out,
              std::ostream& err);

}  // namespace vantrel
