// SPDX-License-Identifier: GPL-3.0-or-later
// The scenario script parser against any text: it either returns the commands or throws a
// ScriptError naming a line of the script; anything else is a fault. A script that parses is
// then played on the whole program, as vantrel-script plays it, with its waits cut short and
// only when no argument holds a '/': paths stay relative, and the program runs inside the
// scratch folder, so whatever the script saves lands there.

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <string_view>

#include "fuzz_support.h"
#include "script_parser.h"
#include "script_runner.h"

using namespace vantrel;

namespace {

// Enough virtual time for the clock's hour and the two-hour reminder, not for a year of ticks.
constexpr std::int64_t kMostWaitedMs = 2 * 3600'000 + 5 * 60'000;

std::size_t lineCount(std::string_view text) {
  return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
}

void checkParsed(const std::vector<Command>& commands, std::string_view text) {
  int previous = 0;
  for (const Command& cmd : commands) {
    fuzz::check(cmd.line > previous, "commands come in line order, one a line");
    fuzz::check(static_cast<std::size_t>(cmd.line) <= lineCount(text), "a command is on a line");
    previous = cmd.line;
    fuzz::check(!cmd.args.empty(), "every command has an argument");
    fuzz::check(cmd.ms >= 0, "no wait goes back in time");
    if (cmd.ref.parts.empty()) continue;
    std::string joined;
    for (const std::string& part : cmd.ref.parts) {
      fuzz::check(!part.empty(), "no name in a reference is empty");
      joined += (joined.empty() ? "" : ".") + part;
    }
    fuzz::check(joined == cmd.ref.written, "a reference is its names joined by dots");
  }
}

bool staysRelative(const std::vector<Command>& commands) {
  for (const Command& cmd : commands) {
    for (const Argument& arg : cmd.args) {
      if (arg.text.find('/') != std::string::npos) return false;
    }
  }
  return true;
}

// Runs the program in `home` for the length of the script, and returns to where it was.
class InFolder {
 public:
  explicit InFolder(const std::string& folder) {
    fuzz::check(::getcwd(previous_, sizeof previous_) != nullptr, "the working folder is known");
    fuzz::check(::chdir(folder.c_str()) == 0, "the scratch folder can be entered");
  }
  ~InFolder() { fuzz::check(::chdir(previous_) == 0, "the working folder comes back"); }
  InFolder(const InFolder&) = delete;
  InFolder& operator=(const InFolder&) = delete;

 private:
  char previous_[4096];
};

void play(std::vector<Command> commands) {
  std::int64_t left = kMostWaitedMs;
  for (Command& cmd : commands) {
    if (cmd.verb != Verb::Wait) continue;
    cmd.ms = std::min(cmd.ms, left);
    left -= cmd.ms;
  }
  const std::string home = fuzz::Scratch::get().freshHome();
  InFolder inside(home);
  HeadlessServices platform(home, *parseDateTime("2026-01-05 09:00:00"));
  platform.write("Ploven", "Settings", "SLA", "1");
  Vantrel program(platform.services());
  ProgramForms forms(program);
  std::ostream discard(nullptr);
  ScriptRunner runner(platform, forms, discard, discard);
  program.start();
  runner.run(commands);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<Command> commands;
  try {
    commands = parseScript(text);
  } catch (const ScriptError& e) {
    fuzz::check(e.line() >= 1 && static_cast<std::size_t>(e.line()) <= lineCount(text),
                "a script error names a line of the script");
    return 0;
  }
  checkParsed(commands, text);
  if (!commands.empty() && staysRelative(commands)) play(std::move(commands));
  return 0;
}
