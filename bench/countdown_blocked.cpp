// SPDX-License-Identifier: GPL-3.0-or-later
// When does a two-minute countdown end by the wall clock on the desktop program, when its
// event loop is blocked 5 s in every 20 s? The countdown counts ticks of its one-second
// timer, and the timer driver delivers every tick a blocked loop owes, so it should still end
// at 120 s. The blocks come at 15-20 s, 35-40 s, ... 115-120 s: the last one ends just as the
// countdown should, the hardest moment for it.
//
//   countdown_blocked [--free]     --free: no blocks, for comparison
//
// Runs the whole program (Qt platform, any QPA: offscreen needs no display) in a temporary
// application folder and prints the measured end.

#include <stdlib.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

#include "app/vantrel.h"
#include "platform/qt/qt_services.h"
#include "platform/user_input.h"
#include "timers/countdown_form.h"

namespace {

constexpr int kMinutes = 2;
constexpr int kBlockMs = 5000;
constexpr int kEveryMs = 20000;
constexpr int kFirstBlockMs = 15000;

}  // namespace

int main(int argc, char** argv) {
  const bool blocked = !(argc > 1 && std::strcmp(argv[1], "--free") == 0);
  QTemporaryDir home;
  if (!home.isValid()) return 2;
  setenv("VANTREL_HOME", (home.path() + "/app").toLocal8Bit().constData(), 1);
  setenv("XDG_CONFIG_HOME", (home.path() + "/config").toLocal8Bit().constData(), 1);
  QApplication qapp(argc, argv);
  QApplication::setApplicationName(QStringLiteral("vantrel"));

  vantrel::QtServices platform(QStringList{});
  platform.write("Ploven", "Settings", "SLA", "1");
  double endedAfter = -1;
  int blocks = 0;
  {
    vantrel::Vantrel app(platform.services());
    app.start();
    QElapsedTimer sinceStart;
    QTimer::singleShot(2500, [&] {
      vantrel::CountdownForm& countdown = app.countdown();
      countdown.show();
      for (int i = 0; i < kMinutes; ++i) vantrel::userClick(*countdown.adjusters[3].plus);
      countdown.Label1->onChange = [&] {
        if (countdown.Label1->text() != vantrel::CountdownForm::kStopped) return;
        endedAfter = static_cast<double>(sinceStart.nsecsElapsed()) / 1e9;
        QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
      };
      vantrel::userClick(*countdown.Command4);
      sinceStart.start();
      if (!blocked) return;
      for (int at = kFirstBlockMs; at < kMinutes * 60000; at += kEveryMs) {
        QTimer::singleShot(at, Qt::PreciseTimer, [&blocks] {
          std::this_thread::sleep_for(std::chrono::milliseconds(kBlockMs));
          ++blocks;
        });
      }
    });
    // exit, not quit: the main window refuses to close, which would cancel a quit.
    QTimer::singleShot((kMinutes * 60 + 60) * 1000, [] { QCoreApplication::exit(0); });
    QApplication::exec();
    platform.releaseWindows();
  }
  if (endedAfter < 0) {
    std::printf("the countdown did not end within %d s\n", kMinutes * 60 + 60);
    return 1;
  }
  std::printf("%d-minute countdown, event loop %s: ended after %.3f s (%+.3f s)\n", kMinutes,
              blocked ? "blocked 5 s in every 20 s" : "free", endedAfter,
              endedAfter - kMinutes * 60);
  if (blocked) std::printf("blocks of 5 s: %d\n", blocks);
  return 0;
}
