// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop program started as a user in Germany or France starts it: the toolkit takes
// the decimal comma from the environment, and the main window still comes up, with the
// agreement remembered and no message box on the way.

#include <QApplication>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <clocale>
#include <cstdio>

#include "app/main_form.h"
#include "app/vantrel.h"
#include "platform/qt/qt_services.h"
#include "test_home.h"

namespace vantrel {

class LocaleStartTest : public QObject {
  Q_OBJECT

  QTemporaryDir home_;

 private slots:
  void initTestCase() { keepHomeIn(home_); }

  void mainWindowComesUpWithNoBox() {
    // The condition under test: the C library writes numbers with a comma here.
    char written[16];
    std::snprintf(written, sizeof written, "%.1f", 0.5);
    if (!qEnvironmentVariableIsEmpty("VANTREL_EXPECT_COMMA")) QCOMPARE(written, "0,5");

    QtServices platform;
    platform.services().settings.write("Ploven", "Settings", "SLA", "1");
    QStringList boxes;
    QTimer watcher;
    connect(&watcher, &QTimer::timeout, [&boxes] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        boxes << box->text();
        box->reject();
      }
    });
    watcher.start(20);
    {
      Vantrel app(platform.services());
      app.start();
      QTRY_VERIFY_WITH_TIMEOUT(app.main().visible(), 10000);
      QTest::qWait(500);  // whatever the first start still does after the window
      QVERIFY2(boxes.isEmpty(), qPrintable(boxes.join(QStringLiteral(" | "))));
      platform.releaseWindows();
    }
  }
};

}  // namespace vantrel

QTEST_MAIN(vantrel::LocaleStartTest)
#include "locale_start_test.moc"
