// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/timer_driver.h"

#include <algorithm>

#include "platform/control.h"

namespace vantrel {

TimerDriver::TimerDriver(QObject* parent) : QObject(parent) {
  clock_.start();
  resume_.setSingleShot(true);
  resume_.setInterval(0);
  connect(&resume_, &QTimer::timeout, this, &TimerDriver::deliverDue);
}

TimerDriver::~TimerDriver() = default;

void TimerDriver::Retire::operator()(QTimer* timer) const {
  timer->stop();
  timer->disconnect();
  timer->deleteLater();
}

void TimerDriver::timerChanged(Timer& timer) {
  if (!timer.enabled() || timer.interval() <= 0) {
    entries_.erase(&timer);
    return;
  }
  const std::int64_t now = clock_.elapsed();
  Entry& entry = entries_[&timer];
  if (!entry.wake) {
    entry.wake.reset(new QTimer(this));
    entry.wake->setSingleShot(true);
    entry.wake->setTimerType(Qt::PreciseTimer);
    connect(entry.wake.get(), &QTimer::timeout, this, &TimerDriver::deliverDue);
  }
  entry.due = now + timer.interval();
  entry.order = nextOrder_++;
  arm(entry, now);
}

void TimerDriver::timerGone(Timer& timer) {
  entries_.erase(&timer);
}

void TimerDriver::arm(Entry& entry, std::int64_t now) {
  entry.wake->start(static_cast<int>(std::clamp<std::int64_t>(entry.due - now, 0, 1 << 30)));
}

void TimerDriver::deliverDue() {
  QElapsedTimer batch;
  batch.start();
  for (;;) {
    const std::int64_t now = clock_.elapsed();
    Timer* next = nullptr;
    const Entry* best = nullptr;
    for (const auto& [timer, entry] : entries_) {
      if (entry.firing || entry.due > now) continue;
      if (best == nullptr || entry.due < best->due ||
          (entry.due == best->due && entry.order < best->order)) {
        next = timer;
        best = &entry;
      }
    }
    if (next == nullptr) break;
    if (batch.elapsed() >= kBatchMs) {
      resume_.start();
      break;
    }
    // The next due time is set before the handler runs, so a handler that restarts or
    // stops its own timer has the last word.
    Entry& entry = entries_[next];
    entry.due += next->interval();
    entry.firing = true;
    next->fire();
    // The handler may have stopped, restarted or re-armed the timer; look it up again.
    if (auto it = entries_.find(next); it != entries_.end()) it->second.firing = false;
  }
  const std::int64_t now = clock_.elapsed();
  for (auto& [timer, entry] : entries_) {
    if (!entry.firing) arm(entry, now);
  }
}

}  // namespace vantrel
