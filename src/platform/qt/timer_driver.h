// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <cstdint>
#include <map>
#include <memory>

#include "platform/services.h"

namespace vantrel {

// Drives the model's interval timers from the event loop. Each timer keeps its next due
// time on a steady clock (CLOCK_MONOTONIC, which stands still while the machine sleeps)
// and gets one tick per elapsed interval: a blocked loop delays ticks but loses none, and
// ticks of all timers are delivered in the order they fell due, ties in the order the
// timers were started, as the headless platform does.
//
// A long block (a debugger, a frozen desktop) can leave many ticks owed. They are all
// delivered, in batches of at most kBatchMs; between batches the event loop gets a turn,
// so the window stays responsive while the clock catches up.
class TimerDriver : public QObject, public TimerHost {
 public:
  static constexpr std::int64_t kBatchMs = 50;

  explicit TimerDriver(QObject* parent = nullptr);
  ~TimerDriver() override;

  void timerChanged(Timer& timer) override;
  void timerGone(Timer& timer) override;

  bool running(Timer& timer) const { return entries_.count(&timer) != 0; }

 private:
  // A wake-up timer may be dropped while its own timeout is being delivered, so it goes
  // through deleteLater; it is a child of the driver, so none outlives it.
  struct Retire {
    void operator()(QTimer* timer) const;
  };
  struct Entry {
    std::unique_ptr<QTimer, Retire> wake;  // wakes the loop when the tick falls due
    std::int64_t due = 0;                  // on clock_, ms
    std::uint64_t order = 0;
    bool firing = false;  // its handler runs (perhaps in a modal loop): no nested ticks
  };

  void deliverDue();
  void arm(Entry& entry, std::int64_t now);

  QElapsedTimer clock_;
  std::map<Timer*, Entry> entries_;
  std::uint64_t nextOrder_ = 0;
  QTimer resume_;  // continues a catch-up after the loop had its turn
};

}  // namespace vantrel
