// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>

#include "platform/translation.h"

namespace vantrel {

class MainForm;

// Time away from a running clock: the desktop has seen no input for the away limit, or the
// computer slept. On the user's return the main window asks whether to keep that time;
// removing it puts the clock and its billed minutes back as if the clock had been stopped
// when the time away began and started again at once. The time is noticed only while the
// clock runs and the Preferences ask for it.
class TimeAway {
 public:
  // The three answers, in the order of the question's buttons.
  enum class Choice { Keep, Remove, RemoveAndStop };
  static constexpr const char* kButtons[3] = {N_("Keep"), N_("Remove"), N_("Remove and Stop")};

  // From the running clock's last input to its user's return; asleep for part of it.
  struct Span {
    std::int64_t fromMs = 0;
    std::int64_t toMs = 0;
    std::int64_t asleepMs = 0;
  };

  explicit TimeAway(MainForm& main);

  // Around each tick of the clock: the state it starts from, and the minutes it billed.
  void beforeTick();
  void afterTick(double billed);
  // The clock's tick was enabled or disabled, by whatever means.
  void runChanged();
  // The computer slept from `fromMs` to `toMs`; the clock's tick did not run meanwhile.
  void slept(std::int64_t fromMs, std::int64_t toMs);
  // The clock's Reset: the digits start again from 0 in the same job.
  void clockCleared();
  // Another job (New, Open, the Preferences' Reset): what was away is no longer this job's.
  void forget();

  // The span the open question asks about.
  const std::optional<Span>& asked() const { return asked_; }
  void answer(Choice choice);

  // "You were away from 09:00 to 09:25 (25 minutes) while the clock was running."
  std::string questionText(const Span& span) const;

 private:
  // The clock as the tick reads and writes it.
  struct Snapshot {
    std::array<double, 7> digits{};  // seconds, tens, minutes, tens, hours, tens, days
    bool daysShown = false;
    std::string elapsed;
    std::string next;
  };
  struct Second {
    std::int64_t atMs = 0;  // when the tick ran
    Snapshot before;
    double billedBefore = 0;  // billed_ before it
  };

  bool enabled() const;
  std::int64_t limitMs() const;
  Snapshot snapshot() const;
  void restore(const Snapshot& s);
  void watch();
  void look();
  void returned(std::int64_t atMs);
  void ask(Span span);
  void keep(const Span& span);
  void remove(const Span& span, bool andStop);
  // Runs the tick `seconds` times at once, as a wake-up catches up: no autosave, and the
  // next autosave falls where it would have.
  void catchUp(std::int64_t seconds);
  void prune();

  MainForm& main_;
  std::deque<Second> seconds_;  // the ticks the away time may take back, oldest first
  Snapshot beforeTick_;
  double billed_ = 0;           // minutes the ticks billed, counted since the program started
  double billedUncounted_ = 0;  // billed while away before a Reset dropped the ticks
  bool running_ = false;
  bool watching_ = false;
  std::int64_t runStartMs_ = 0;
  std::int64_t lastIdle_ = 0;
  std::int64_t lastInputMs_ = 0;
  std::optional<std::int64_t> awayFrom_;  // the last input, once the idle time passed the limit
  std::optional<Span> asked_;
};

}  // namespace vantrel
