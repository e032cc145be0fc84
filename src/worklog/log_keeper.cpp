// SPDX-License-Identifier: GPL-3.0-or-later
#include "worklog/log_keeper.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "app/main_form.h"
#include "clock/clock_digits.h"
#include "platform/control.h"
#include "platform/translation.h"
#include "sheet/job_sheet.h"

namespace vantrel {
namespace {

// Typing a figure digit by digit makes one correction, not one a key.
constexpr std::int64_t kCorrectionJoinsMs = 60'000;

struct Digit {
  Control* MainForm::*box;
  std::int64_t seconds;
};
constexpr std::array<Digit, 7> kDigits = {{{&MainForm::txtSecs, 1},
                                           {&MainForm::txt0, 10},
                                           {&MainForm::txtMins, 60},
                                           {&MainForm::txt00, 600},
                                           {&MainForm::txtHours, 3600},
                                           {&MainForm::txt000, 36000},
                                           {&MainForm::txtDays, 86400}}};

std::int64_t wholeMinutes(std::int64_t seconds) {
  return seconds >= 0 ? seconds / 60 : -((-seconds) / 60);
}

}  // namespace

LogKeeper::LogKeeper(MainForm& main) : main_(main) {
  std::vector<Control*> figures{main_.minuteCounter};
  for (const Digit& d : kDigits) figures.push_back(main_.*d.box);
  // Heard after the box's own rules, which may change the other figures on the way.
  for (Control* box : figures) {
    box->onChange = [this, own = std::move(box->onChange)] {
      runRule(own);
      figuresChanged();
    };
  }
}

std::int64_t LogKeeper::now() const {
  return main_.services().clock.utcMs();
}

std::int64_t LogKeeper::clockSeconds() const {
  std::int64_t total = 0;
  for (const Digit& d : kDigits) total += std::llround(count(*(main_.*d.box))) * d.seconds;
  return total;
}

std::optional<std::int64_t> LogKeeper::counterMicro() const {
  return billedFromText(main_.minuteCounter->text());
}

bool LogKeeper::balanced() const {
  const auto counter = counterMicro();
  return clockSeconds() == log_.seconds() && (!counter || *counter == log_.billed());
}

LogKeeper::Hold::Hold(LogKeeper& keeper, EntryKind kind) : keeper_(keeper) {
  if (keeper_.depth_++ == 0) keeper_.holdKind_ = kind;
}

LogKeeper::Hold::~Hold() {
  if (--keeper_.depth_ != 0) return;
  keeper_.settle(keeper_.holdKind_);
  keeper_.awayMark_.reset();
}

void LogKeeper::figuresChanged() {
  if (depth_ == 0) settle(EntryKind::Correction);
}

void LogKeeper::settle(EntryKind kind) {
  const std::int64_t seconds = clockSeconds() - log_.seconds();
  const auto counter = counterMicro();
  const std::int64_t billed = counter ? *counter - log_.billed() : 0;
  if (kind != EntryKind::Run) {
    if (seconds != 0 || billed != 0) record(kind, seconds, billed);
    return;
  }
  if (seconds == 0 && billed == 0) return;
  const std::int64_t at = now();
  if (!openRun_) {
    LogEntry run;
    run.kind = EntryKind::Run;
    run.startMs = runStartMs_.value_or(at - seconds * 1000);
    run.endMs = run.startMs;
    openRun_ = log_.add(std::move(run));
    runStartMs_.reset();
  }
  LogEntry run = log_[*openRun_];
  run.seconds += seconds;
  run.billed += billed;
  run.endMs = std::max(at, run.startMs);
  log_.replace(*openRun_, std::move(run));
  changed();
}

void LogKeeper::record(EntryKind kind, std::int64_t seconds, std::int64_t billed) {
  const std::int64_t at = now();
  const std::size_t last = log_.size() - 1;
  const bool joinsCorrection = kind == EntryKind::Correction && lastCorrection_ &&
                               *lastCorrection_ == last &&
                               at - log_[last].startMs < kCorrectionJoinsMs;
  const bool joinsMark = kind == EntryKind::AwayRemoved && awayMark_ && *awayMark_ == last;
  if (joinsCorrection || joinsMark) {
    LogEntry entry = log_[last];
    entry.seconds += seconds;
    entry.billed += billed;
    if (joinsCorrection && entry.seconds == 0 && entry.billed == 0 && entry.note.empty()) {
      // Typed back to what it was: nothing changed.
      log_.erase(last);
      lastCorrection_.reset();
    } else {
      log_.replace(last, std::move(entry));
    }
  } else {
    LogEntry entry;
    entry.kind = kind;
    entry.startMs = at;
    entry.endMs = at;
    entry.seconds = seconds;
    entry.billed = billed;
    const std::size_t index = log_.add(std::move(entry));
    if (kind == EntryKind::Correction) lastCorrection_ = index;
  }
  changed();
}

void LogKeeper::runChanged() {
  if (main_.Timer1->enabled()) {
    if (!openRun_) runStartMs_ = now();
    return;
  }
  runStartMs_.reset();
  openRun_.reset();
  changed();
}

void LogKeeper::closeRunIfStopped() {
  if (!main_.Timer1->enabled()) {
    openRun_.reset();
    runStartMs_.reset();
  }
}

void LogKeeper::cutForAway(std::int64_t fromLocalMs, std::int64_t toLocalMs,
                           std::int64_t resumeLocalMs) {
  // The question tells local wall times; the log keeps instants.
  const std::int64_t shift = main_.services().clock.nowMs() - now();
  const std::int64_t from = fromLocalMs - shift;
  const std::int64_t to = std::max(toLocalMs - shift, from);
  LogEntry mark;
  mark.kind = EntryKind::AwayRemoved;
  mark.startMs = from;
  mark.endMs = to;
  bool resetSince = false;
  for (std::size_t i = 0; i < log_.size() && !resetSince; ++i) {
    resetSince = log_[i].kind == EntryKind::Reset && log_[i].startMs > from;
  }
  if (resetSince) {
    // The clock started again since: its runs stay as they are, and the mark says where.
    awayMark_ = log_.add(std::move(mark));
    changed();
    return;
  }
  // Runs begun after the time away began are no longer on the clock: the seconds after the
  // return are counted again, into the run that starts there.
  std::optional<std::size_t> cut;
  for (std::size_t i = log_.size(); i-- > 0;) {
    if (log_[i].kind != EntryKind::Run) continue;
    if (log_[i].startMs > from) {
      log_.erase(i);
      if (cut) --*cut;
      continue;
    }
    if (!cut) cut = i;
  }
  openRun_.reset();
  lastCorrection_.reset();
  if (cut) {
    LogEntry run = log_[*cut];
    run.endMs = std::clamp(from, run.startMs, std::max(run.startMs, run.endMs));
    run.seconds = std::max<std::int64_t>(0, run.seconds + clockSeconds() - log_.seconds());
    if (const auto counter = counterMicro()) run.billed += *counter - log_.billed();
    log_.replace(*cut, std::move(run));
  }
  awayMark_ = log_.add(std::move(mark));
  runStartMs_ = std::max(resumeLocalMs - shift, from);
  changed();
}

void LogKeeper::startAfresh() {
  log_.clear();
  openRun_.reset();
  runStartMs_.reset();
  lastCorrection_.reset();
  awayMark_.reset();
  changed();
}

void LogKeeper::loaded(const std::string& path, std::vector<std::string> section) {
  startAfresh();
  const WorkLog::Read read = log_.read(std::move(section), main_.services().app.folder());
  const std::int64_t seconds = clockSeconds() - log_.seconds();
  const auto counter = counterMicro();
  const std::int64_t billed = counter ? *counter - log_.billed() : 0;
  const bool differs = seconds != 0 || billed != 0;
  if (differs) {
    // A file from before the log, or one whose log does not explain its figures: the
    // figures stand, and the log says where the difference came from.
    record(read.present ? EntryKind::Correction : EntryKind::CarriedOver, seconds, billed);
    lastCorrection_.reset();
  }
  changed();
  if (!read.present || (read.damaged == 0 && !differs)) return;
  const std::string damaged = std::to_string(read.damaged);
  std::string text;
  if (read.damaged == 0) {
    text = fill(tr("The work log of %1 does not add up to its figures: the difference is shown "
                   "as a correction."),
                {path});
  } else if (read.damaged == 1) {
    text = differs ? fill(tr("The work log of %1 had %2 damaged line: it is left out and the "
                             "difference is shown as a correction."),
                          {path, damaged})
                   : fill(tr("The work log of %1 had %2 damaged line: it is left out."),
                          {path, damaged});
  } else {
    text = differs ? fill(tr("The work log of %1 had %2 damaged lines: they are left out and the "
                             "difference is shown as a correction."),
                          {path, damaged})
                   : fill(tr("The work log of %1 had %2 damaged lines: they are left out."),
                          {path, damaged});
  }
  main_.services().messages.show(text);
}

std::string LogKeeper::timesLocked() const {
  return main_.Command1->visible() ? std::string() : tr(kTimesLocked);
}

std::string LogKeeper::setNote(std::size_t i, const std::string& note) {
  if (i >= log_.size()) return tr("Choose an entry first.");
  if (log_[i].note == note) return {};
  LogEntry entry = log_[i];
  entry.note = note;
  log_.replace(i, std::move(entry));
  main_.sheet->markUnsaved();
  changed();
  return {};
}

std::string LogKeeper::checkSpan(std::optional<std::size_t> self, std::int64_t startMs,
                                 std::int64_t endMs) const {
  if (endMs <= startMs) return tr("The end must come after the start.");
  if (endMs > now()) return tr("It would end in the future.");
  for (std::size_t i = 0; i < log_.size(); ++i) {
    const LogEntry& e = log_[i];
    if (self == i || (e.kind != EntryKind::Run && e.kind != EntryKind::Manual)) continue;
    if (e.startMs < endMs && startMs < e.endMs) {
      const LocalMoment from = localMoment(e.startMs);
      const std::string date = localDateText(from);
      const std::string start = localTimeText(from);
      const std::string end = localTimeText(localMoment(e.endMs));
      if (e.kind == EntryKind::Run) {
        // TRANSLATORS: %1 the date (2026-12-10), %2 and %3 the times (09:30:00).
        return fill(tr("It would overlap the run entry of %1 from %2 to %3."), {date, start, end});
      }
      // TRANSLATORS: %1 the date (2026-12-10), %2 and %3 the times (09:30:00).
      return fill(tr("It would overlap the manual entry of %1 from %2 to %3."), {date, start, end});
    }
  }
  return {};
}

std::string LogKeeper::applyChange(const std::vector<Move>& moves, std::int64_t billed) {
  const auto counter = counterMicro();
  if (billed != 0 && !counter) return tr("The minute counter does not read as a number.");
  std::int64_t clock = clockSeconds();
  std::vector<std::pair<std::size_t, std::int64_t>> resets;
  for (const Move& move : moves) {
    std::optional<std::size_t> reset;
    for (std::size_t i = 0; i < log_.size(); ++i) {
      const LogEntry& e = log_[i];
      if (e.kind == EntryKind::Reset && e.startMs > move.atMs &&
          (!reset || e.startMs < log_[*reset].startMs)) {
        reset = i;
      }
    }
    if (reset) {
      // The clock started again from zero after it: the reset takes the change up.
      resets.emplace_back(*reset, move.seconds);
    } else {
      clock += move.seconds;
    }
  }
  if (clock < 0) return tr("The clock cannot go below zero.");
  for (const auto& [i, seconds] : resets) {
    LogEntry e = log_[i];
    e.seconds -= seconds;
    log_.replace(i, std::move(e));
  }
  Hold hold(*this, EntryKind::Correction);
  if (clock != clockSeconds()) setClock(clock);
  if (billed != 0) setField(*main_.minuteCounter, billedText(*counter + billed));
  return {};
}

void LogKeeper::setClock(std::int64_t seconds) {
  const std::int64_t days = seconds / 86400;
  const std::int64_t hours = seconds / 3600 % 24;
  const std::int64_t minutes = seconds / 60 % 60;
  const std::int64_t secs = seconds % 60;
  const std::array<std::int64_t, 7> values = {secs % 10,  secs / 10,  minutes % 10, minutes / 10,
                                              hours % 10, hours / 10, days};
  for (std::size_t i = 0; i < kDigits.size(); ++i) {
    setCount(*(main_.*kDigits[i].box), static_cast<double>(values[i]));
  }
  main_.txtDays->setVisible(days > 0);
  main_.lblDays->setVisible(days > 0);
}

std::string LogKeeper::changeTimes(std::size_t i, std::int64_t startMs, std::int64_t endMs) {
  if (i >= log_.size()) return tr("Choose an entry first.");
  const LogEntry& old = log_[i];
  if (old.kind != EntryKind::Run && old.kind != EntryKind::Manual) {
    return tr("Only runs and manual entries have times to change.");
  }
  if (isOpenRun(i))
    return tr("The running clock's run takes a note but no times: stop the clock first.");
  if (std::string why = timesLocked(); !why.empty()) return why;
  if (std::string why = checkSpan(i, startMs, endMs); !why.empty()) return why;
  const std::int64_t longer = (endMs - startMs) / 1000 - (old.endMs - old.startMs) / 1000;
  LogEntry entry = old;
  entry.seconds = std::max<std::int64_t>(0, old.seconds + longer);
  // Billed by the difference in whole minutes, never below nothing: a run the start rule's
  // minimum covered billed no minute to take back.
  entry.billed = std::max<std::int64_t>(
      0, old.billed + (wholeMinutes(entry.seconds) - wholeMinutes(old.seconds)) * kMicro);
  entry.startMs = startMs;
  entry.endMs = endMs;
  const std::int64_t billed = entry.billed - old.billed;
  // The old seconds leave where the entry stood and the new ones join where it stands now:
  // a reset between the two decides for the clock.
  const std::vector<Move> moves = {{old.startMs, -old.seconds}, {startMs, entry.seconds}};
  WorkLog before = log_;
  log_.replace(i, std::move(entry));
  if (std::string why = applyChange(moves, billed); !why.empty()) {
    log_ = std::move(before);
    return why;
  }
  main_.sheet->markUnsaved();
  changed();
  return {};
}

std::string LogKeeper::addManual(std::int64_t startMs, std::int64_t endMs,
                                 const std::string& note) {
  if (std::string why = timesLocked(); !why.empty()) return why;
  if (std::string why = checkSpan(std::nullopt, startMs, endMs); !why.empty()) return why;
  LogEntry entry;
  entry.kind = EntryKind::Manual;
  entry.startMs = startMs;
  entry.endMs = endMs;
  entry.seconds = (endMs - startMs) / 1000;
  entry.billed = wholeMinutes(entry.seconds) * kMicro;
  entry.note = note;
  const std::int64_t seconds = entry.seconds;
  const std::int64_t billed = entry.billed;
  const std::size_t index = log_.add(std::move(entry));
  if (std::string why = applyChange({{startMs, seconds}}, billed); !why.empty()) {
    log_.erase(index);
    return why;
  }
  main_.sheet->markUnsaved();
  changed();
  return {};
}

std::string LogKeeper::remove(std::size_t i) {
  if (i >= log_.size()) return tr("Choose an entry first.");
  const LogEntry old = log_[i];
  if (old.kind == EntryKind::Reset)
    return tr("A reset cannot be deleted: the clock started again from zero there.");
  if (isOpenRun(i)) return tr("The running clock's run cannot be deleted: stop the clock first.");
  if (old.seconds != 0 || old.billed != 0) {
    if (std::string why = timesLocked(); !why.empty()) return why;
  }
  WorkLog before = log_;
  log_.erase(i);
  if (std::string why = applyChange({{old.startMs, -old.seconds}}, -old.billed); !why.empty()) {
    log_ = std::move(before);
    return why;
  }
  if (openRun_ && *openRun_ > i) --*openRun_;
  lastCorrection_.reset();
  main_.sheet->markUnsaved();
  changed();
  return {};
}

void LogKeeper::changed() {
  if (onChanged) onChanged();
}

}  // namespace vantrel
