// SPDX-License-Identifier: GPL-3.0-or-later
// The away question on the desktop, and the X server's idle time read through its
// screen-saver extension (under Xvfb; elsewhere that part is skipped).

#include "platform/qt/idle_watch.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDateTime>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "platform/qt/qt_convert.h"
#include "platform/qt/qt_services.h"
#include "test_home.h"

namespace vantrel {

class IdleWatchTest : public QObject {
  Q_OBJECT

  QTemporaryDir home_;

  static QAbstractButton* button(QMessageBox& box, const QString& caption) {
    for (QAbstractButton* b : box.buttons()) {
      if (QString(b->text()).remove(QLatin1Char('&')) == caption) return b;
    }
    return nullptr;
  }

 private slots:
  void initTestCase() { keepHomeIn(home_); }

  // The question opens and returns at once; asked again it is rewritten in place; a button
  // answers with its place among the captions, and a withdrawn question answers nothing.
  void theQuestionWaitsForItsButtons() {
    QtServices services;
    std::vector<std::size_t> chosen;
    const std::vector<std::string> captions{"Keep", "Remove", "Remove and Stop"};
    auto record = [&chosen](std::size_t b) { chosen.push_back(b); };
    services.ask({"away once", captions, record});
    QMessageBox* box = services.openQuestion();
    QVERIFY(box != nullptr);
    QVERIFY(box->isVisible());
    services.ask({"away twice", captions, record});
    QCOMPARE(services.openQuestion(), box);
    QCOMPARE(box->text(), QStringLiteral("away twice"));
    QCOMPARE(box->buttons().size(), 3);
    QVERIFY(box->buttons()[2]->text().contains(QLatin1Char('&')));  // each has an access key
    QAbstractButton* remove = button(*box, QStringLiteral("Remove"));
    QVERIFY(remove != nullptr);
    remove->click();
    QCOMPARE(chosen, (std::vector<std::size_t>{1}));
    QVERIFY(services.openQuestion() == nullptr);

    services.ask({"away again", captions, record});
    services.withdraw();
    QVERIFY(services.openQuestion() == nullptr);
    QCOMPARE(chosen.size(), std::size_t{1});
  }

  void shortTimesAreHoursAndMinutes() {
    QtServices services;
    const std::int64_t evening =
        QDateTime(QDate(2026, 1, 5), QTime(21, 7, 45), QTimeZone::utc()).toMSecsSinceEpoch();
    const QString text = QString::fromStdString(services.shortTimeText(evening));
    QCOMPARE(text, QLocale::system().toString(QTime(21, 7), timeFormatWithoutSeconds()));
    QVERIFY2(!text.contains(QStringLiteral("45")), qPrintable(text));
  }

  // Off X11 and without a session bus nobody tells the idle time, and the watch says so at
  // once: the Preferences show it.
  void withoutXOrABusNothingIsTold() {
    if (QGuiApplication::platformName() == QLatin1String("xcb")) QSKIP("on an X server");
    qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    qunsetenv("DISPLAY");
    IdleWatch watch([] { return QDateTime::currentMSecsSinceEpoch(); });
    QCOMPARE(watch.source(), DesktopIdle::Source::Unknown);
    watch.watch();
    QCOMPARE(watch.source(), DesktopIdle::Source::None);
    QVERIFY(!watch.idleSeconds().has_value());
  }

  // No input for a while: the idle time rises; the pointer moves: it falls to nothing.
  void theXServerTellsTheIdleTime() {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
      QSKIP("not on an X server");
    }
    const QString xdotool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
    if (xdotool.isEmpty()) QSKIP("xdotool is not installed");
    IdleWatch watch([] { return QDateTime::currentMSecsSinceEpoch(); });
    int told = 0;
    watch.onSourceKnown = [&told] { ++told; };
    watch.watch();
    QCOMPARE(watch.source(), DesktopIdle::Source::Available);
    QCOMPARE(QByteArray(watch.sourceName()), QByteArray("X11"));
    QCOMPARE(told, 1);

    QProcess::execute(xdotool,
                      {QStringLiteral("mousemove"), QStringLiteral("10"), QStringLiteral("10")});
    QTest::qWait(2500);
    const auto idle = watch.idleSeconds();
    QVERIFY(idle.has_value());
    QVERIFY2(*idle >= 2, qPrintable(QString::number(*idle)));
    QProcess::execute(xdotool,
                      {QStringLiteral("mousemove"), QStringLiteral("200"), QStringLiteral("150")});
    QCOMPARE(watch.idleSeconds().value_or(-1), 0);
  }
};

}  // namespace vantrel

QTEST_MAIN(vantrel::IdleWatchTest)
#include "idle_watch_test.moc"
