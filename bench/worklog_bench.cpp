// SPDX-License-Identifier: GPL-3.0-or-later
// What a long work log costs on the desktop: a job of 25,000 entries opened, autosaved and
// ticking, and its window opened, each beside a baseline measured in the same run.
//   Open       <= 5 x reading the same file and splitting its lines with plain calls
//   Autosave   <= 2 x writing and syncing the same bytes with plain calls
//   Tick       <= 1.1 x the tick of a job with no log
//   Window     <= 2 x opening it on a log of 100 entries
// Run: QT_QPA_PLATFORM=offscreen build/bench/bench/worklog_bench [ENTRIES]
//      build/bench/bench/worklog_bench --write-job PATH ENTRIES   (only writes such a job)
#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/agreement_form.h"
#include "app/main_form.h"
#include "app/vantrel.h"
#include "clock/job_clock.h"
#include "platform/qt/qt_services.h"
#include "platform/user_input.h"
#include "store/options_form.h"
#include "store/project_commands.h"
#include "store/project_file.h"
#include "worklog/log_form.h"
#include "worklog/log_keeper.h"

namespace vantrel {
namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

// The median of `rounds` timings of `work`, in seconds.
double median(int rounds, const std::function<void()>& work) {
  std::vector<double> times;
  for (int i = 0; i < rounds; ++i) {
    const auto start = Clock::now();
    work();
    times.push_back(seconds(Clock::now() - start));
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

// A job of `entries` runs, one a working hour over the past years, each with a note, saved
// as the program saves it.
std::string writeJob(const std::string& path, int entries) {
  std::vector<std::string> lines(61, "0");
  lines[0] = "0";
  WorkLog log;
  const std::int64_t hour = 3'600'000;
  std::int64_t at = 1'700'000'000'000 - static_cast<std::int64_t>(entries) * hour;
  std::int64_t total = 0;
  for (int i = 0; i < entries; ++i) {
    LogEntry run;
    run.kind = EntryKind::Run;
    run.startMs = at;
    run.endMs = at + 45 * 60'000;
    run.seconds = 45 * 60;
    run.billed = 45 * kMicro;
    run.note = "Drawings for the garden, phase " + std::to_string(i % 7) + ": Übersicht";
    total += run.seconds;
    log.add(std::move(run));
    at += hour;
  }
  // The figures the log explains: the minute counter and the clock's digits.
  lines[7] = billedText(log.billed());
  const std::int64_t days = total / 86400, rest = total % 86400;
  const std::int64_t h = rest / 3600, m = rest / 60 % 60, s = rest % 60;
  const std::int64_t digits[7] = {s % 10, s / 10, m % 10, m / 10, h % 10, h / 10, days};
  for (int i = 0; i < 7; ++i) lines[54 + i] = std::to_string(digits[i]);
  for (std::string& line : log.fileLines()) lines.push_back(std::move(line));
  if (!writeLines(path, lines)) std::abort();
  return path;
}

std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The plain way: the bytes read and cut into lines.
void readAndSplit(const std::string& path) {
  const std::string bytes = slurp(path);
  std::vector<std::string> lines;
  std::size_t from = 0;
  for (std::size_t end; (end = bytes.find('\n', from)) != std::string::npos; from = end + 1) {
    lines.emplace_back(bytes, from, end - from);
  }
  if (lines.empty()) std::abort();
}

// The plain way: the bytes written to a new file, synced, put in place, and the folder
// synced so the new name lasts.
void writeAndSync(const std::string& path, const std::string& bytes) {
  const std::string temporary = path + ".tmp";
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()) ||
      ::fsync(fd) != 0 || ::close(fd) != 0 || ::rename(temporary.c_str(), path.c_str()) != 0) {
    std::abort();
  }
  const std::string parent = std::filesystem::path(path).parent_path().string();
  const int folder = ::open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder < 0 || ::fsync(folder) != 0 || ::close(folder) != 0) std::abort();
}

struct Result {
  const char* what;
  double measured;
  double baseline;
  double limit;
  bool pass() const { return measured <= baseline * limit; }
};

int run(int entries) {
  const std::string folder = (std::filesystem::temp_directory_path() /
                              ("vantrel-worklog-bench-" + std::to_string(::getpid())))
                                 .string();
  std::filesystem::create_directories(folder);
  ::setenv("VANTREL_HOME", folder.c_str(), 1);
  const std::string big = writeJob(folder + "/big.pcl", entries);
  const std::string small = writeJob(folder + "/small.pcl", 100);
  const std::string empty = writeJob(folder + "/empty.pcl", 0);

  std::vector<Result> results;
  {
    QtServices platform;
    acceptAgreement(platform.services().settings);
    auto app = std::make_unique<Vantrel>(platform.services());
    app->start();
    MainForm& main = app->main();
    app->options().autoSaveEnabled->setValue(0);

    const double open = median(5, [&] { main.files->openPath(big); });
    const double read = median(5, [&] { readAndSplit(big); });
    results.push_back({"Open", open, read, 5});
    if (main.log->log().size() != static_cast<std::size_t>(entries) || !main.log->balanced()) {
      std::fprintf(stderr, "the job did not open as written\n");
      return 2;
    }

    const std::string saved = folder + "/saved.pcl";
    const double autosave = median(9, [&] { writeProject(*app, saved); });
    const std::string bytes = slurp(saved);
    const double plain = median(9, [&] { writeAndSync(folder + "/plain.pcl", bytes); });
    results.push_back({"Autosave", autosave, plain, 2});

    // The tick with the clock running: the same job with no log, then with the long one.
    auto tickCost = [&](const std::string& job) {
      main.files->openPath(job);
      userClick(*main.CmdStart);
      const double cost = median(7, [&] {
        for (int i = 0; i < 3000; ++i) main.clock->tick();
      });
      userClick(*main.CmdStop);
      return cost;
    };
    const double bare = tickCost(empty);
    const double loaded = tickCost(big);
    results.push_back({"Tick", loaded, bare, 1.1});

    // The window drawn on screen, with as many rows as fit, on each log.
    auto windowCost = [&](const std::string& job) {
      main.files->openPath(job);
      LogForm& window = app->workLog();
      return median(7, [&] {
        window.view();
        for (QWidget* w : QApplication::topLevelWidgets()) {
          if (w->isVisible() && w->windowTitle() == QStringLiteral("Work Log")) w->grab();
        }
        QApplication::processEvents();
        window.hide();
        QApplication::processEvents();
      });
    };
    const double hundred = windowCost(small);
    const double many = windowCost(big);
    results.push_back({"Window", many, hundred, 2});
    platform.releaseWindows();
    app.reset();
  }
  std::filesystem::remove_all(folder);

  bool all = true;
  std::printf("Work log of %d entries\n", entries);
  for (const Result& r : results) {
    std::printf("  %-9s %9.3f ms   baseline %9.3f ms   %5.2f x (target <= %.1f x)  %s\n", r.what,
                r.measured * 1000, r.baseline * 1000, r.measured / r.baseline, r.limit,
                r.pass() ? "PASS" : "FAIL");
    all = all && r.pass();
  }
  return all ? 0 : 1;
}

}  // namespace
}  // namespace vantrel

int main(int argc, char** argv) {
  // --write-job PATH ENTRIES: only writes such a job (for bench/startup.sh).
  if (argc == 4 && std::string(argv[1]) == "--write-job") {
    vantrel::writeJob(argv[2], std::max(1, std::atoi(argv[3])));
    return 0;
  }
  QApplication application(argc, argv);
  const int entries = argc > 1 ? std::atoi(argv[1]) : 25'000;
  return vantrel::run(entries > 0 ? entries : 25'000);
}
