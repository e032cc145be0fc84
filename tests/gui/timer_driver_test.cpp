// SPDX-License-Identifier: GPL-3.0-or-later
// The timer driver owes one tick per elapsed interval: a blocked event loop delays ticks
// but loses none, and owed ticks come in the order they fell due.

#include "platform/qt/timer_driver.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>
#include <memory>
#include <string>

#include "platform/form.h"
#include "platform/headless/headless_services.h"

namespace vantrel {
namespace {

// The headless platform for everything but time, which the driver keeps for real.
struct Fixture {
  QTemporaryDir dir;
  HeadlessServices platform{dir.path().toStdString()};
  TimerDriver driver;
  Services services{platform, platform, platform, platform, platform, platform, platform, platform,
                    platform, platform, platform, driver,   platform, platform, platform};
  std::unique_ptr<Form> form = std::make_unique<Form>(services, "frmTest", "Test", 3000, 3000);
};

void blockLoop(int ms) {
  QThread::msleep(static_cast<unsigned long>(ms));
}

}  // namespace

class TimerDriverTest : public QObject {
  Q_OBJECT

 private slots:
  void blockedLoopLosesNoTicks() {
    Fixture f;
    QElapsedTimer since;
    since.start();
    Timer& timer = f.form->addTimer("Timer1", 100, true);
    int ticks = 0;
    timer.onTimer = [&] { ++ticks; };
    blockLoop(1050);
    QCOMPARE(ticks, 0);
    // One turn of the loop pays every tick owed so far.
    const qint64 before = since.elapsed();
    QCoreApplication::processEvents();
    const qint64 after = since.elapsed();
    QVERIFY2(ticks >= before / 100 - 1 && ticks <= after / 100,
             qPrintable(QStringLiteral("%1 ticks after %2 ms").arg(ticks).arg(after)));
    QVERIFY(ticks >= 9);
    // And back on schedule afterwards.
    QTest::qWait(400);
    const qint64 now = since.elapsed();
    QVERIFY2(ticks >= now / 100 - 2 && ticks <= now / 100,
             qPrintable(QStringLiteral("%1 ticks after %2 ms").arg(ticks).arg(now)));
  }

  void owedTicksComeInTheOrderTheyFellDue() {
    Fixture f;
    Timer& fast = f.form->addTimer("Timer1", 100, true);
    Timer& slow = f.form->addTimer("Timer2", 250, true);
    std::string order;
    fast.onTimer = [&] { order += 'f'; };
    slow.onTimer = [&] { order += 's'; };
    blockLoop(1020);
    QTRY_VERIFY_WITH_TIMEOUT(order.size() >= 14, 500);
    // Due at 100 200 250 300 400 500 500 600 700 750 800 900 1000 1000; ties go to the
    // timer started first.
    QCOMPARE(QString::fromStdString(order.substr(0, 14)), QStringLiteral("ffsfffsffsfffs"));
  }

  void handlerThatStopsItsTimerStopsTheCatchUp() {
    Fixture f;
    Timer& timer = f.form->addTimer("Timer3", 100, true);
    int ticks = 0;
    timer.onTimer = [&] {
      ++ticks;
      timer.setEnabled(false);
    };
    blockLoop(550);
    QTest::qWait(300);
    QCOMPARE(ticks, 1);
    QVERIFY(!f.driver.running(timer));

    // Enabled again, it counts its interval from that moment.
    timer.setEnabled(true);
    QTest::qWait(50);
    QCOMPARE(ticks, 1);
    QTRY_COMPARE_WITH_TIMEOUT(ticks, 2, 500);
  }

  void intervalChangeRestartsAndGoneTimersStaySilent() {
    Fixture f;
    Timer& timer = f.form->addTimer("Timer4", 100, true);
    int ticks = 0;
    timer.onTimer = [&] { ++ticks; };
    timer.setInterval(0);  // never fires
    QTest::qWait(250);
    QCOMPARE(ticks, 0);
    timer.setInterval(50);
    QTRY_VERIFY_WITH_TIMEOUT(ticks > 0, 500);

    // The form goes with its timer due: nothing fires into freed memory.
    blockLoop(120);
    f.form.reset();
    QTest::qWait(150);
  }
};

}  // namespace vantrel

QTEST_GUILESS_MAIN(vantrel::TimerDriverTest)
#include "timer_driver_test.moc"
