// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/translation.h"
#include "worklog/work_log.h"

namespace vantrel {

class MainForm;

// Keeps the job's work log in step with the job's two figures: the clock (its seven digits,
// as seconds) and the minute counter. Every rule that changes a figure does so inside a
// Hold that names what the change is; when the outermost Hold ends, the difference between
// the figures and the log's sums becomes an entry of that kind (a tick's goes into the open
// run). A change made outside any Hold (the user typing a digit) becomes a correction at
// once, so the sums always equal the figures between two rules.
class LogKeeper {
 public:
  explicit LogKeeper(MainForm& main);

  const WorkLog& log() const { return log_; }

  // The figures as the job's boxes show them.
  std::int64_t clockSeconds() const;
  std::optional<std::int64_t> counterMicro() const;  // nothing while it does not read
  // The log and the figures agree (what every test of a story checks after each step).
  bool balanced() const;

  class Hold {
   public:
    Hold(LogKeeper& keeper, EntryKind kind);
    ~Hold();
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;

   private:
    LogKeeper& keeper_;
  };

  // The clock's tick started or stopped.
  void runChanged();
  // Remove of time away: the run it fell in ends where it began (the local times of the
  // time away's question), the time away is shown, and the clock's seconds after it go to
  // a run that starts at the return. The figures are already back at the time away's start.
  // `resumeLocalMs` is where the seconds counted again after the return begin.
  void cutForAway(std::int64_t fromLocalMs, std::int64_t toLocalMs, std::int64_t resumeLocalMs);
  // A tick that runs without the clock running (a sleep kept after Stop) ends its run.
  void closeRunIfStopped();

  // Another job: New and the Preferences' Reset start an empty log, inside a Hold.
  void startAfresh();
  // After a project file was read into the boxes: its log section (the lines after the
  // project's own; nothing when the file had none). Says once what did not read.
  void loaded(const std::string& path, std::vector<std::string> section);
  std::vector<std::string> fileLines() const { return log_.fileLines(); }

  // The window's edits. Each returns why it was refused, or an empty text when it was made.
  std::string setNote(std::size_t i, const std::string& note);
  std::string changeTimes(std::size_t i, std::int64_t startMs, std::int64_t endMs);
  std::string addManual(std::int64_t startMs, std::int64_t endMs, const std::string& note);
  std::string remove(std::size_t i);
  // Why the times cannot change now (the adjusters' lock), or empty.
  std::string timesLocked() const;
  // Shown through tr().
  static constexpr const char* kTimesLocked =
      N_("Times cannot change while the adjusters are locked: stop the clock and save the job "
         "(or reset the clock) to unlock them. Notes can still be typed.");
  bool isOpenRun(std::size_t i) const { return openRun_ && *openRun_ == i; }

  // Told after every change of the log, for the window; refresh() tells it of a change
  // around the log (the adjusters' lock).
  std::function<void()> onChanged;
  void refresh() { changed(); }

 private:
  void figuresChanged();
  void settle(EntryKind kind);
  void record(EntryKind kind, std::int64_t seconds, std::int64_t billed);
  std::int64_t now() const;
  std::string checkSpan(std::optional<std::size_t> self, std::int64_t startMs,
                        std::int64_t endMs) const;
  // Applies an edit to the figures: seconds that leave or join the log at an instant (an
  // entry's start) change the clock when no reset follows that instant, else the first reset
  // after it takes them up; billed minutes change the minute counter.
  struct Move {
    std::int64_t atMs;
    std::int64_t seconds;
  };
  std::string applyChange(const std::vector<Move>& moves, std::int64_t billed);
  void setClock(std::int64_t seconds);
  void changed();

  MainForm& main_;
  WorkLog log_;
  int depth_ = 0;
  EntryKind holdKind_ = EntryKind::Correction;
  std::optional<std::size_t> openRun_;         // the run the ticks extend
  std::optional<std::int64_t> runStartMs_;     // a started clock's run, until its first second
  std::optional<std::size_t> lastCorrection_;  // a correction the next typed one joins
  std::optional<std::size_t> awayMark_;        // the mark a Remove just made
};

}  // namespace vantrel
