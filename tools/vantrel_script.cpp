// SPDX-License-Identifier: GPL-3.0-or-later
// vantrel-script: runs the program headless under virtual time and plays a script on it.

#include <stdlib.h>

#include <clocale>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include "script_runner.h"

namespace {

constexpr const char* kUsage =
    "usage: vantrel-script [--home DIR] [--args TEXT] [--agreement 0|1]\n"
    "                      [--now \"YYYY-MM-DD HH:MM:SS\"] [--printer NAME|none]\n"
    "                      [--browser none] [--locale NAME] [--tz ZONE]\n"
    "                      [--file PATH]... [SCRIPT | -]\n";

constexpr const char* kDefaultNow = "2026-01-05 09:00:00";

// A fresh application folder for one run, gone when the run ends.
class TemporaryFolder {
 public:
  TemporaryFolder() {
    std::error_code ec;
    std::filesystem::path base = std::filesystem::temp_directory_path(ec);
    if (ec) base = "/tmp";
    std::string pattern = (base / "vantrel-script-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;
  ~TemporaryFolder() {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

int usageError(const std::string& message) {
  std::cerr << "vantrel-script: " << message << "\n" << kUsage;
  return vantrel::kScriptError;
}

int run(int argc, char** argv) {
  vantrel::DriverOptions options;
  std::optional<std::string> home;
  std::string now = kDefaultNow;
  std::optional<std::string> scriptPath;
  std::vector<std::string> files;  // put in the home folder before the start
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::cout << kUsage;
      return 0;
    }
    bool takesValue = arg == "--home" || arg == "--args" || arg == "--agreement" ||
                      arg == "--now" || arg == "--printer" || arg == "--browser" ||
                      arg == "--locale" || arg == "--tz" || arg == "--file";
    if (takesValue) {
      if (i + 1 >= argc) return usageError(arg + " needs a value");
      std::string value = argv[++i];
      if (arg == "--home") {
        if (value.empty()) return usageError("--home needs a folder");
        home = value;
      } else if (arg == "--args") {
        options.commandLine = value;
      } else if (arg == "--agreement") {
        if (value != "0" && value != "1") return usageError("--agreement takes 0 or 1");
        options.agreement = value == "1";
      } else if (arg == "--locale") {
        // The desktop's locale for this run, whatever the environment says.
        if (value.empty()) return usageError("--locale needs a name, as in de_DE.UTF-8");
        ::setenv("LC_ALL", value.c_str(), 1);
      } else if (arg == "--file") {
        if (value.empty()) return usageError("--file needs a file to put in the home folder");
        files.push_back(value);
      } else if (arg == "--tz") {
        // The computer's time zone for this run: its daylight-saving changes included.
        if (value.empty()) return usageError("--tz needs a zone, as in Europe/Berlin");
        ::setenv("TZ", value.c_str(), 1);
        ::tzset();
      } else if (arg == "--browser") {
        if (value != "none") return usageError("--browser takes none");
        options.browser = false;
      } else if (arg == "--printer") {
        if (value.empty()) return usageError("--printer needs a name, or none");
        options.printer = value;
      } else {
        now = value;
      }
    } else if (arg.size() > 1 && arg[0] == '-' && arg != "-") {
      return usageError("unknown option " + arg);
    } else if (scriptPath) {
      return usageError("one script at a time");
    } else {
      scriptPath = arg;
    }
  }
  auto start = vantrel::parseDateTime(now);
  if (!start) return usageError("--now takes \"YYYY-MM-DD HH:MM:SS\", not \"" + now + "\"");
  options.startMs = *start;

  std::string script;
  if (!scriptPath || *scriptPath == "-") {
    script.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
  } else {
    std::ifstream in(*scriptPath, std::ios::binary);
    if (!in) return usageError("cannot read " + *scriptPath);
    std::ostringstream text;
    text << in.rdbuf();
    script = text.str();
  }

  std::optional<TemporaryFolder> temporary;
  if (home) {
    options.home = *home;
  } else {
    temporary.emplace();
    if (temporary->path().empty()) return usageError("cannot make a temporary folder");
    options.home = temporary->path();
  }
  // A file named relative to the script lies beside it, wherever the run starts from.
  const std::filesystem::path scriptFolder = scriptPath && *scriptPath != "-"
                                                 ? std::filesystem::path(*scriptPath).parent_path()
                                                 : std::filesystem::path();
  for (const std::string& file : files) {
    std::error_code made;
    std::filesystem::create_directories(options.home, made);
    std::filesystem::path from(file);
    if (from.is_relative()) from = scriptFolder / from;
    std::error_code ec;
    std::filesystem::copy_file(from, std::filesystem::path(options.home) / from.filename(),
                               std::filesystem::copy_options::overwrite_existing, ec);
    if (ec)
      return usageError("cannot put " + from.string() + " in the home folder: " + ec.message());
  }
  return vantrel::runScript(options, script, std::cout, std::cerr);
}

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");  // as the desktop program's start-up does
  try {
    return run(argc, argv);
  } catch (const std::exception& e) {
    std::cerr << "vantrel-script: " << e.what() << "\n";
  } catch (...) {
    std::cerr << "vantrel-script: unexpected failure\n";
  }
  return vantrel::kScriptError;
}
