// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>

#include "app/main_form.h"
#include "app/vantrel.h"
#include "platform/headless/headless_services.h"

namespace vantrel {

// A folder of its own for one test, removed with everything in it afterwards.
class TempFolder {
 public:
  explicit TempFolder(const std::string& stem) {
    std::string pattern = (std::filesystem::temp_directory_path() / (stem + "-XXXXXX")).string();
    if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  ~TempFolder() {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// The whole program on the headless platform, in an application folder of its own, at
// 2026-01-05 09:00:00 unless said otherwise. Not started: each test starts it as it needs.
template <class Platform = HeadlessServices>
class ProgramFixture : public ::testing::Test {
 protected:
  explicit ProgramFixture(const std::string& stem = "vantrel-test",
                          std::int64_t startMs = *parseDateTime("2026-01-05 09:00:00"))
      : temp_(stem),
        folder(temp_.path()),
        platform(std::make_unique<Platform>(folder, startMs)),
        app(std::make_unique<Vantrel>(platform->services())) {}
  ~ProgramFixture() override { app.reset(); }

  // A launch with the agreement given: the splash, then the main window.
  void launch() {
    platform->write("Ploven", "Settings", "SLA", "1");
    app->start();
    platform->advance(1500);
  }
  MainForm& m() { return app->main(); }

  // The program ended and started again on the same application folder, the next day,
  // with this command line.
  void restart(const std::string& commandLine = {}) {
    app.reset();
    platform = std::make_unique<Platform>(folder, *parseDateTime("2026-01-06 09:00:00"));
    platform->commandLineText = commandLine;
    app = std::make_unique<Vantrel>(platform->services());
    launch();
  }

 private:
  TempFolder temp_;

 protected:
  std::string folder;
  std::unique_ptr<Platform> platform;
  std::unique_ptr<Vantrel> app;
};

}  // namespace vantrel
