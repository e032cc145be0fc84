// SPDX-License-Identifier: GPL-3.0-or-later
#include "clock/time_away.h"

#include <algorithm>

#include "app/main_form.h"
#include "app/main_shell.h"
#include "app/vantrel.h"
#include "clock/clock_digits.h"
#include "clock/job_clock.h"
#include "clock/settings_form.h"
#include "platform/control.h"
#include "platform/translation.h"
#include "worklog/log_keeper.h"

namespace vantrel {
namespace {

// Without an away question the ticks are kept this long: the desktop may tell an idle time
// that began before the limit was reached (a late first answer), and the limit may be raised.
constexpr std::int64_t kKeptMs = (240 + 2) * 60'000;

// The clock's boxes in the order a snapshot keeps them: seconds up to days.
std::array<Control*, 7> clockDigits(MainForm& m) {
  return {m.txtSecs, m.txt0, m.txtMins, m.txt00, m.txtHours, m.txt000, m.txtDays};
}

}  // namespace

TimeAway::TimeAway(MainForm& main) : main_(main) {
  main_.services().idle.onSlept = [this](std::int64_t from, std::int64_t to) { slept(from, to); };
}

bool TimeAway::enabled() const {
  return main_.app().settings().chkAway->value() == 1;
}

std::int64_t TimeAway::limitMs() const {
  const double minutes = count(*main_.app().settings().txtAway);
  return static_cast<std::int64_t>(std::clamp(minutes, 1.0, 240.0)) * 60'000;
}

TimeAway::Snapshot TimeAway::snapshot() const {
  MainForm& m = main_;
  SettingsForm& s = m.app().settings();
  Snapshot shot;
  const auto digits = clockDigits(m);
  for (std::size_t i = 0; i < digits.size(); ++i) shot.digits[i] = count(*digits[i]);
  shot.daysShown = m.txtDays->visible();
  shot.elapsed = s.elapsedMinutes->text();
  shot.next = s.nextBillableMinute->text();
  return shot;
}

void TimeAway::restore(const Snapshot& shot) {
  MainForm& m = main_;
  SettingsForm& s = m.app().settings();
  const auto digits = clockDigits(m);
  for (std::size_t i = 0; i < digits.size(); ++i) setCount(*digits[i], shot.digits[i]);
  m.txtDays->setVisible(shot.daysShown);
  m.lblDays->setVisible(shot.daysShown);
  setField(*s.elapsedMinutes, shot.elapsed);
  setField(*s.nextBillableMinute, shot.next);
}

void TimeAway::beforeTick() {
  if (enabled()) beforeTick_ = snapshot();
}

void TimeAway::afterTick(double billed) {
  if (!enabled()) {
    // Switched off, nothing is kept: switched on again, it starts afresh.
    seconds_.clear();
    awayFrom_.reset();
    return;
  }
  seconds_.push_back({main_.services().clock.nowMs(), beforeTick_, billed_});
  billed_ += billed;
  // Switched on while the clock runs: the desktop is asked from now on.
  if (!watching_) watch();
  look();
  prune();
}

void TimeAway::watch() {
  watching_ = true;
  main_.services().idle.watch();
}

void TimeAway::prune() {
  std::int64_t horizon = main_.services().clock.nowMs() - kKeptMs;
  if (awayFrom_) horizon = std::min(horizon, *awayFrom_);
  if (asked_) horizon = std::min(horizon, asked_->fromMs);
  while (!seconds_.empty() && seconds_.front().atMs <= horizon) seconds_.pop_front();
}

// Idle time rises while nobody touches the computer; it falls when somebody does.
void TimeAway::look() {
  const auto idle = main_.services().idle.idleSeconds();
  if (!idle) return;
  const std::int64_t now = main_.services().clock.nowMs();
  const std::int64_t lastInput = now - *idle * 1000;
  lastInputMs_ = lastInput;
  if (awayFrom_ && *idle < lastIdle_) returned(lastInput);
  lastIdle_ = *idle;
  if (!awayFrom_ && *idle * 1000 >= limitMs()) awayFrom_ = std::max(lastInput, runStartMs_);
}

void TimeAway::runChanged() {
  const bool running = main_.Timer1->enabled();
  if (running == running_) return;
  running_ = running;
  const std::int64_t now = main_.services().clock.nowMs();
  if (running) {
    runStartMs_ = now;
    lastInputMs_ = now;
    awayFrom_.reset();
    lastIdle_ = 0;
    if (enabled()) watch();
    return;
  }
  // Stopped while nobody was back (from the tray or the countdown window on the user's
  // return, by a file a later start opens): the time away ends here, after the tick of this
  // very moment.
  if (enabled() && awayFrom_) returned(now + 1);
}

void TimeAway::slept(std::int64_t fromMs, std::int64_t toMs) {
  if (!enabled() || !running_ || toMs <= fromMs) return;
  // Whoever put the computer to sleep left at their last input before it.
  const std::int64_t left = std::max(std::min(fromMs, lastInputMs_), runStartMs_);
  Span span{awayFrom_ ? *awayFrom_ : left, toMs, toMs - fromMs};
  awayFrom_.reset();
  if (auto idle = main_.services().idle.idleSeconds()) lastIdle_ = *idle;
  ask(span);
}

void TimeAway::returned(std::int64_t atMs) {
  Span span{*awayFrom_, std::max(atMs, *awayFrom_), 0};
  awayFrom_.reset();
  if (span.toMs - span.fromMs >= 1000) ask(span);
}

std::string TimeAway::questionText(const Span& span) const {
  const Clock& clock = main_.services().clock;
  const std::int64_t minutes = (span.toMs - span.fromMs + 30'000) / 60'000;
  const char* oneMinute =
      // TRANSLATORS: %1 and %2 are times of day ("09:00", "09:01").
      N_("You were away from %1 to %2 (%3 minute) while the clock was running.");
  const char* minutesAway =
      // TRANSLATORS: %1 and %2 are times of day ("09:00", "09:25"); %3 the number of minutes.
      N_("You were away from %1 to %2 (%3 minutes) while the clock was running.");
  return fill(
      tr(minutes == 1 ? oneMinute : minutesAway),
      {clock.shortTimeText(span.fromMs), clock.shortTimeText(span.toMs), std::to_string(minutes)});
}

void TimeAway::ask(Span span) {
  // Away again while the question is open: one question for the whole span.
  if (asked_) {
    span.fromMs = std::min(span.fromMs, asked_->fromMs);
    span.toMs = std::max(span.toMs, asked_->toMs);
    span.asleepMs += asked_->asleepMs;
  }
  asked_ = span;
  const std::string text = questionText(span);
  main_.shell->comeToFront();
  main_.services().tray.notify(text);
  Question question{
      text, {tr(kButtons[0]), tr(kButtons[1]), tr(kButtons[2])}, [this](std::size_t button) {
        answer(static_cast<Choice>(std::min<std::size_t>(button, 2)));
      }};
  main_.services().messages.ask(std::move(question));
}

void TimeAway::answer(Choice choice) {
  if (!asked_) return;
  const Span span = *asked_;
  asked_.reset();
  if (choice == Choice::Keep) {
    keep(span);
  } else {
    remove(span, choice == Choice::RemoveAndStop);
  }
  billedUncounted_ = 0;
  prune();
}

void TimeAway::keep(const Span& span) {
  // The clock did not tick asleep: kept, that time is counted and billed now.
  if (span.asleepMs >= 1000) {
    LogKeeper::Hold kept(*main_.log, EntryKind::Run);
    catchUp(span.asleepMs / 1000);
  }
  main_.log->closeRunIfStopped();
}

void TimeAway::remove(const Span& span, bool andStop) {
  MainForm& m = main_;
  const auto first = std::find_if(seconds_.begin(), seconds_.end(),
                                  [&span](const Second& s) { return s.atMs > span.fromMs; });
  const auto since = std::count_if(first, seconds_.end(),
                                   [&span](const Second& s) { return s.atMs >= span.toMs; });
  double takenBack = billedUncounted_;
  std::int64_t rerun = 0;
  // The seconds counted again begin a second before the first tick after the return.
  const auto resumed =
      std::find_if(first, seconds_.end(), [&span](const Second& s) { return s.atMs >= span.toMs; });
  const std::int64_t resumeMs = resumed != seconds_.end() ? resumed->atMs - 1000 : span.toMs;
  {
    LogKeeper::Hold removed(*m.log, EntryKind::AwayRemoved);
    if (first != seconds_.end()) {
      // Back to the second the time away began, then the seconds worked since the return
      // run again: the start rule bills them as it would have from there.
      takenBack += billed_ - first->billedBefore;
      const Snapshot from = first->before;
      billed_ = first->billedBefore;
      seconds_.erase(first, seconds_.end());
      if (takenBack != 0) m.clock->addMinutes(-takenBack);
      restore(from);
      m.log->cutForAway(span.fromMs, span.toMs, resumeMs);
      rerun = since;
    } else {
      // Nothing ticked since it began (a sleep answered at once): the run is still split.
      if (takenBack != 0) m.clock->addMinutes(-takenBack);
      m.log->cutForAway(span.fromMs, span.toMs, span.toMs);
    }
  }
  if (rerun > 0) {
    LogKeeper::Hold worked(*m.log, EntryKind::Run);
    catchUp(rerun);
  }
  m.log->closeRunIfStopped();
  // Changed as any change of the clock changes the job.
  m.cmdsav->setEnabled(true);
  m.save->setEnabled(true);
  if (andStop) {
    m.clock->highlight(*m.CmdStop);
    m.clock->stop();
  }
}

void TimeAway::catchUp(std::int64_t seconds) {
  MainForm& m = main_;
  const int autosaveTicks = m.autosaveTicks->value();
  const std::int64_t now = m.services().clock.nowMs();
  for (std::int64_t i = 0; i < seconds; ++i) {
    const Snapshot before = snapshot();
    const double billed = m.clock->advance(false);
    seconds_.push_back({now - (seconds - 1 - i) * 1000, before, billed_});
    billed_ += billed;
  }
  m.autosaveTicks->setValue(autosaveTicks);
}

void TimeAway::clockCleared() {
  // The digits start again from 0; what the ticks billed while away stays in the job's
  // minutes, and Remove still takes it back.
  std::optional<std::int64_t> from = awayFrom_;
  if (asked_) from = std::min(from.value_or(asked_->fromMs), asked_->fromMs);
  if (from) {
    const auto first = std::find_if(seconds_.begin(), seconds_.end(),
                                    [&from](const Second& s) { return s.atMs > *from; });
    if (first != seconds_.end()) billedUncounted_ += billed_ - first->billedBefore;
  }
  seconds_.clear();
}

void TimeAway::forget() {
  if (asked_) main_.services().messages.withdraw();
  asked_.reset();
  awayFrom_.reset();
  seconds_.clear();
  billedUncounted_ = 0;
}

}  // namespace vantrel
