// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "platform/services.h"

class QDBusPendingCallWatcher;

namespace vantrel {

// The desktop's idle time and the computer's sleeps. On X11 the X server's screen-saver
// extension (libXss, loaded when first asked for, so a system without it still runs the
// program); elsewhere, over the session bus, GNOME's idle monitor or the freedesktop
// screen-saver interface that KDE offers, asked without waiting; sleep and wake from
// logind's PrepareForSleep on the system bus. Nothing is opened before watch().
class IdleWatch : public QObject {
  Q_OBJECT
 public:
  // nowMs: local wall time, as the platform's clock gives it.
  explicit IdleWatch(std::function<std::int64_t()> nowMs);
  ~IdleWatch() override;

  void watch();
  std::optional<std::int64_t> idleSeconds();
  DesktopIdle::Source source() const { return source_; }
  // Which source answers: "X11", "GNOME", "freedesktop", or empty.
  const char* sourceName() const { return sourceName_; }

  std::function<void(std::int64_t fromMs, std::int64_t toMs)> onSlept;
  std::function<void()> onSourceKnown;

 private slots:
  void prepareForSleep(bool sleeping);

 private:
  struct X11;
  bool openX11();
  void askBus(int candidate);
  void answered(QDBusPendingCallWatcher* call, int candidate);
  void setSource(DesktopIdle::Source source, const char* name);
  static std::int64_t suspendedMs();

  std::function<std::int64_t()> nowMs_;
  std::unique_ptr<X11> x11_;
  bool watching_ = false;
  DesktopIdle::Source source_ = DesktopIdle::Source::Unknown;
  const char* sourceName_ = "";
  int busSource_ = -1;      // which of the bus interfaces answers
  bool busAsking_ = false;  // a call is under way: no second one
  std::optional<std::int64_t> busIdleMs_;
  std::int64_t suspendedBefore_ = 0;
};

}  // namespace vantrel
