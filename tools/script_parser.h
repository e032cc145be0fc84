// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

// A script that cannot run as written: a syntax slip or a name the program does not know.
class ScriptError : public std::runtime_error {
 public:
  ScriptError(int line, const std::string& message) : std::runtime_error(message), line_(line) {}
  int line() const { return line_; }

 private:
  int line_;
};

enum class Verb {
  Click,
  Press,
  Activate,
  Type,
  Set,
  Leave,
  Close,
  Tray,
  Wait,
  Idle,
  Sleep,
  Answer,
  File,
  Print,
  Expect,
  Select,
};

const char* verbName(Verb verb);

struct Argument {
  std::string text;
  bool quoted = false;  // `file cancel` and `file "cancel"` differ
};

// F, F.C or F.C.PROP as written, split at the dots.
struct Reference {
  std::string written;
  std::vector<std::string> parts;
};

struct Command {
  int line = 0;
  Verb verb = Verb::Print;
  std::vector<Argument> args;
  Reference ref;        // the first argument of the commands that name a form or control
  std::int64_t ms = 0;  // wait, idle, sleep
};

// One command a line; throws ScriptError naming the first bad line.
std::vector<Command> parseScript(std::string_view text);

}  // namespace vantrel
