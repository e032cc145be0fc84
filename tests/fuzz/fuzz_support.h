// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the harnesses share: a private scratch folder per process, the input written to a file
// there, and the whole program launched headless in a fresh application folder per input.

#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "app/vantrel.h"
#include "documents/invoice_form.h"
#include "platform/headless/headless_services.h"
#include "platform/user_input.h"
#include "store/options_form.h"

namespace vantrel::fuzz {

// A property the program promises was broken: stop as a crash does, so that libFuzzer keeps
// the input and the replay fails.
[[noreturn]] inline void broken(const char* what) {
  std::fprintf(stderr, "broken: %s\n", what);
  std::fflush(stderr);
  __builtin_trap();
}

inline void check(bool holds, const char* what) {
  if (!holds) broken(what);
}

// Values as a file keeps them: a CR or LF inside one becomes a space.
inline std::vector<std::string> asSaved(std::vector<std::string> values) {
  for (std::string& value : values) {
    for (char& c : value) {
      if (c == '\r' || c == '\n') c = ' ';
    }
  }
  return values;
}

// The folder this process writes in: under /dev/shm where there is one (files there cost no
// disk), else the system's temporary folder, named after the process; removed with everything
// in it at exit. Nothing a harness does writes outside it.
class Scratch {
 public:
  static Scratch& get() {
    static Scratch scratch;
    return scratch;
  }

  const std::string& folder() const { return folder_; }
  std::string path(const std::string& name) const { return folder_ + "/" + name; }

  // The input as a file of the scratch folder; its path.
  std::string write(const std::string& name, const std::uint8_t* data, std::size_t size) const {
    const std::string file = path(name);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    out.close();
    check(static_cast<bool>(out), "the scratch folder takes the input");
    return file;
  }

  // The application folder, emptied for the next program. The help pages the program copies
  // in at start stay: it writes them from its own text and never reads them back.
  std::string freshHome() const {
    const std::filesystem::path home = path("home");
    std::error_code ec;
    std::filesystem::create_directories(home, ec);
    for (const auto& entry : std::filesystem::directory_iterator(home, ec)) {
      if (entry.path().filename() != "help") std::filesystem::remove_all(entry.path(), ec);
    }
    return home.string();
  }

 private:
  Scratch() {
    std::error_code ec;
    const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", ec)
                                           ? std::filesystem::path("/dev/shm")
                                           : std::filesystem::temp_directory_path(ec);
    removeOrphans(base);
    const std::string stem = "vantrel-fuzz-" + std::to_string(::getpid()) + "-";
    std::string pattern = (base / (stem + "XXXXXX")).string();
    check(::mkdtemp(pattern.data()) != nullptr, "a scratch folder can be made");
    folder_ = pattern;
  }

  // A crash ends a run without removing its folder; the next run removes the folders of
  // processes that are gone.
  static void removeOrphans(const std::filesystem::path& base) {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(base, ec)) {
      const std::string name = entry.path().filename().string();
      if (name.rfind("vantrel-fuzz-", 0) != 0) continue;
      const long pid = std::strtol(name.c_str() + 13, nullptr, 10);
      if (pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) {
        std::filesystem::remove_all(entry.path(), ec);
      }
    }
  }
  ~Scratch() {
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
  }

  std::string folder_;
};

// The whole program on the headless platform, launched as a user launches it (the agreement
// given long ago, the splash gone), in an application folder that holds only what the
// harness put there. A new one for every input: nothing one input left behind can change
// what the next one does.
struct Program {
  explicit Program(const std::string& home)
      : platform(std::make_unique<HeadlessServices>(home, *parseDateTime("2026-01-05 09:00:00"))),
        app(std::make_unique<Vantrel>(platform->services())) {
    platform->write("Ploven", "Settings", "SLA", "1");
    app->start();
    platform->advance(1500);
  }
  ~Program() { app.reset(); }

  std::unique_ptr<HeadlessServices> platform;
  std::unique_ptr<Vantrel> app;

  // What a user does next with what was read: the clock over a minute with autosave on, so
  // the minute rules and an autosave run on it, then the invoice laid out on its page.
  void clockMinuteThenInvoice() {
    MainForm& main = app->main();
    app->options().autoSaveEnabled->setValue(1);
    userClick(*main.CmdStart);
    platform->advance(61'000);
    userClick(*main.CmdStop);
    InvoiceForm& invoice = app->invoice();
    invoice.fill();
    invoice.page(platform->printableArea());
  }
};

}  // namespace vantrel::fuzz
