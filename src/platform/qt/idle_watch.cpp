// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/idle_watch.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QGuiApplication>
#include <QLibrary>
#include <ctime>

namespace vantrel {
namespace {

// The screen-saver extension's record as libXss hands it out (XScreenSaverQueryInfo(3));
// declared here so that building the program needs no X headers and running it no libXss.
struct ScreenSaverInfo {
  unsigned long window;
  int state;
  int kind;
  unsigned long tilOrSince;
  unsigned long idle;  // ms since the last input
  unsigned long eventMask;
};

// The idle interfaces a desktop may offer on the session bus, tried in this order.
struct BusSource {
  const char* name;
  const char* service;
  const char* path;
  const char* interface;
  const char* method;
  bool milliseconds;
};
constexpr BusSource kBusSources[] = {
    {"GNOME", "org.gnome.Mutter.IdleMonitor", "/org/gnome/Mutter/IdleMonitor/Core",
     "org.gnome.Mutter.IdleMonitor", "GetIdletime", true},
    {"freedesktop", "org.freedesktop.ScreenSaver", "/org/freedesktop/ScreenSaver",
     "org.freedesktop.ScreenSaver", "GetSessionIdleTime", false},
};
constexpr int kBusSourceCount = sizeof kBusSources / sizeof kBusSources[0];

}  // namespace

struct IdleWatch::X11 {
  using OpenDisplay = void* (*)(const char*);
  using CloseDisplay = int (*)(void*);
  using RootWindow = unsigned long (*)(void*);
  using Free = int (*)(void*);
  using QueryExtension = int (*)(void*, int*, int*);
  using AllocInfo = ScreenSaverInfo* (*)();
  using QueryInfo = int (*)(void*, unsigned long, ScreenSaverInfo*);

  QLibrary xlib{QStringLiteral("X11"), 6};
  QLibrary xss{QStringLiteral("Xss"), 1};
  CloseDisplay closeDisplay = nullptr;
  Free free = nullptr;
  QueryInfo queryInfo = nullptr;
  void* display = nullptr;
  unsigned long root = 0;
  ScreenSaverInfo* info = nullptr;

  ~X11() {
    if (info != nullptr) free(info);
    if (display != nullptr) closeDisplay(display);
  }

  bool open() {
    if (!xlib.load() || !xss.load()) return false;
    auto openDisplay = reinterpret_cast<OpenDisplay>(xlib.resolve("XOpenDisplay"));
    auto rootWindow = reinterpret_cast<RootWindow>(xlib.resolve("XDefaultRootWindow"));
    closeDisplay = reinterpret_cast<CloseDisplay>(xlib.resolve("XCloseDisplay"));
    free = reinterpret_cast<Free>(xlib.resolve("XFree"));
    auto queryExtension =
        reinterpret_cast<QueryExtension>(xss.resolve("XScreenSaverQueryExtension"));
    auto allocInfo = reinterpret_cast<AllocInfo>(xss.resolve("XScreenSaverAllocInfo"));
    queryInfo = reinterpret_cast<QueryInfo>(xss.resolve("XScreenSaverQueryInfo"));
    if (!openDisplay || !rootWindow || !closeDisplay || !free || !queryExtension || !allocInfo ||
        !queryInfo) {
      return false;
    }
    // A connection of its own to the display the program is on ($DISPLAY): one round trip a
    // second while the clock runs, never in the way of the toolkit's.
    display = openDisplay(nullptr);
    if (display == nullptr) return false;
    int event = 0, error = 0;
    if (queryExtension(display, &event, &error) == 0) return false;
    root = rootWindow(display);
    info = allocInfo();
    return info != nullptr;
  }

  std::optional<std::int64_t> idleMs() {
    if (queryInfo(display, root, info) == 0) return std::nullopt;
    return static_cast<std::int64_t>(info->idle);
  }
};

IdleWatch::IdleWatch(std::function<std::int64_t()> nowMs) : nowMs_(std::move(nowMs)) {}

IdleWatch::~IdleWatch() = default;

void IdleWatch::setSource(DesktopIdle::Source source, const char* name) {
  source_ = source;
  sourceName_ = name;
  if (onSourceKnown) {
    auto told = onSourceKnown;
    told();
  }
}

void IdleWatch::watch() {
  if (watching_) return;
  watching_ = true;
  suspendedBefore_ = suspendedMs();
  QDBusConnection system = QDBusConnection::systemBus();
  if (system.isConnected()) {
    system.connect(QStringLiteral("org.freedesktop.login1"),
                   QStringLiteral("/org/freedesktop/login1"),
                   QStringLiteral("org.freedesktop.login1.Manager"),
                   QStringLiteral("PrepareForSleep"), this, SLOT(prepareForSleep(bool)));
  }
  if (QGuiApplication::platformName() == QLatin1String("xcb") && openX11()) {
    setSource(DesktopIdle::Source::Available, "X11");
    return;
  }
  if (!QDBusConnection::sessionBus().isConnected()) {
    setSource(DesktopIdle::Source::None, "");
    return;
  }
  askBus(0);
}

bool IdleWatch::openX11() {
  auto x11 = std::make_unique<X11>();
  if (!x11->open()) return false;
  x11_ = std::move(x11);
  return true;
}

// Asked without waiting: the answer comes between events, and a desktop that never answers
// leaves the source unknown and the clock as it is.
void IdleWatch::askBus(int candidate) {
  if (candidate >= kBusSourceCount) {
    setSource(DesktopIdle::Source::None, "");
    return;
  }
  const BusSource& source = kBusSources[candidate];
  QDBusMessage call =
      QDBusMessage::createMethodCall(QLatin1String(source.service), QLatin1String(source.path),
                                     QLatin1String(source.interface), QLatin1String(source.method));
  busAsking_ = true;
  auto* watcher =
      new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call, 5000), this);
  connect(watcher, &QDBusPendingCallWatcher::finished, this,
          [this, candidate](QDBusPendingCallWatcher* call) { answered(call, candidate); });
}

void IdleWatch::answered(QDBusPendingCallWatcher* call, int candidate) {
  call->deleteLater();
  busAsking_ = false;
  const QDBusMessage reply = call->reply();
  const bool ok = reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty();
  if (!ok) {
    // The first answers decide which interface is asked from then on.
    if (busSource_ < 0) askBus(candidate + 1);
    return;
  }
  const BusSource& source = kBusSources[candidate];
  const qulonglong value = reply.arguments().first().toULongLong();
  busIdleMs_ = static_cast<std::int64_t>(source.milliseconds ? value : value * 1000);
  if (busSource_ < 0) {
    busSource_ = candidate;
    setSource(DesktopIdle::Source::Available, source.name);
  }
}

std::optional<std::int64_t> IdleWatch::idleSeconds() {
  if (x11_) {
    const auto ms = x11_->idleMs();
    if (!ms) return std::nullopt;
    return *ms / 1000;
  }
  // The bus answers a second late at most: the clock asks every second.
  if (busSource_ >= 0 && !busAsking_) askBus(busSource_);
  if (!busIdleMs_) return std::nullopt;
  return *busIdleMs_ / 1000;
}

// The time the computer has spent suspended since it booted: the boot-time clock counts it,
// the monotonic clock does not.
std::int64_t IdleWatch::suspendedMs() {
  timespec boot{}, monotonic{};
  clock_gettime(CLOCK_BOOTTIME, &boot);
  clock_gettime(CLOCK_MONOTONIC, &monotonic);
  return (boot.tv_sec - monotonic.tv_sec) * 1000 + (boot.tv_nsec - monotonic.tv_nsec) / 1000000;
}

// logind may tell of the sleep only once the computer is awake again (nothing here holds it
// back from sleeping), so how long it slept is read from the clocks, not the signals' times.
void IdleWatch::prepareForSleep(bool sleeping) {
  if (sleeping) return;
  const std::int64_t suspended = suspendedMs();
  const std::int64_t slept = suspended - suspendedBefore_;
  suspendedBefore_ = suspended;
  const std::int64_t now = nowMs_();
  if (onSlept && slept >= 1000) {
    auto told = onSlept;
    told(now - slept, now);
  }
}

}  // namespace vantrel
