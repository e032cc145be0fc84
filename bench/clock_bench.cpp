// SPDX-License-Identifier: GPL-3.0-or-later
// How much a running job clock costs headless: the tick alone, and a whole program left
// running for 30 days of virtual time with autosave off (every timer of the program fires,
// as it would on the desktop). The target for both is 1,000,000 ticks per second.

#include <stdlib.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include "app/main_form.h"
#include "app/vantrel.h"
#include "clock/job_clock.h"
#include "platform/headless/headless_services.h"
#include "platform/user_input.h"

#ifdef VANTREL_GOOGLE_BENCHMARK
#include <benchmark/benchmark.h>
#endif

namespace {

constexpr std::int64_t kDayMs = 24LL * 60 * 60 * 1000;
constexpr std::int64_t kThirtyDaysMs = 30 * kDayMs;

// The program started headless in a folder of its own, the clock started by a mouse click.
class RunningProgram {
 public:
  RunningProgram() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "vantrel-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) folder_ = pattern;
    platform_ = std::make_unique<vantrel::HeadlessServices>(folder_);
    app_ = std::make_unique<vantrel::Vantrel>(platform_->services());
    app_->start();
    platform_->advance(2000);  // past the splash
    vantrel::userClick(*app_->main().CmdStart);
  }
  ~RunningProgram() {
    app_.reset();
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
  }

  vantrel::MainForm& main() { return app_->main(); }
  // "29 24:00:00" after 30 days: the day carry waits for the tick after 24:00:00.
  std::string reading() {
    vantrel::MainForm& m = main();
    return m.txtDays->text() + " " + m.txt000->text() + m.txtHours->text() + ":" + m.txt00->text() +
           m.txtMins->text() + ":" + m.txt0->text() + m.txtSecs->text();
  }
  vantrel::HeadlessServices& platform() { return *platform_; }

 private:
  std::string folder_;
  std::unique_ptr<vantrel::HeadlessServices> platform_;
  std::unique_ptr<vantrel::Vantrel> app_;
};

}  // namespace

#ifdef VANTREL_GOOGLE_BENCHMARK

static void BM_Tick(benchmark::State& state) {
  RunningProgram program;
  vantrel::JobClock& clock = *program.main().clock;
  for (auto _ : state) clock.tick();
  state.counters["ticks_per_second"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Tick);

static void BM_ThirtyDaysRunning(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto program = std::make_unique<RunningProgram>();
    state.ResumeTiming();
    program->platform().advance(kThirtyDaysMs);
    state.PauseTiming();
    if (program->reading() != "29 24:00:00") state.SkipWithError("the clock lost time");
    program.reset();
    state.ResumeTiming();
  }
  state.counters["ticks_per_second"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * (kThirtyDaysMs / 1000),
                         benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ThirtyDaysRunning)->Unit(benchmark::kSecond)->Iterations(3);

BENCHMARK_MAIN();

#else

int main() {
  using Clock = std::chrono::steady_clock;
  auto perSecond = [](double count, Clock::duration spent) {
    return count / std::chrono::duration<double>(spent).count();
  };
  {
    RunningProgram program;
    vantrel::JobClock& clock = *program.main().clock;
    constexpr int kTicks = 5'000'000;
    auto begin = Clock::now();
    for (int i = 0; i < kTicks; ++i) clock.tick();
    std::printf("tick alone:          %12.0f ticks per second\n",
                perSecond(kTicks, Clock::now() - begin));
  }
  {
    RunningProgram program;
    auto begin = Clock::now();
    program.platform().advance(kThirtyDaysMs);
    auto spent = Clock::now() - begin;
    std::printf("30 days running:     %12.0f ticks per second (the clock reads %s)\n",
                perSecond(static_cast<double>(kThirtyDaysMs / 1000), spent),
                program.reading().c_str());
  }
  return 0;
}

#endif
