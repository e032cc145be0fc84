// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop program started as a user in Germany or France starts it: the toolkit takes
// the decimal comma from the environment, and the main window still comes up, with the
// agreement remembered and no message box on the way; the comma key of the main keyboard
// and the keypad's decimal key type the point a figure is written with.

#include <QTemporaryDir>
#include <QtTest>
#include <clocale>
#include <cstdio>

#include "app/main_form.h"
#include "platform/qt/form_widget.h"
#include "started_program.h"
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

    StartedProgram program;
    QTRY_VERIFY_WITH_TIMEOUT(program.app->main().visible(), 10000);
    QTest::qWait(500);  // whatever the first start still does after the window
    QVERIFY2(program.boxes.isEmpty(), program.boxesSeen().constData());

    if (qEnvironmentVariableIsEmpty("VANTREL_EXPECT_COMMA")) return;
    MainForm& main = program.app->main();
    QWidget* rate = program.platform.window(main)->widgetFor(*main.categoryRate[3]);
    QVERIFY(rate != nullptr);
    rate->activateWindow();
    rate->setFocus();
    QTest::keyClicks(rate, QStringLiteral("62,5"));
    QTest::keyClick(rate, Qt::Key_Comma, Qt::KeypadModifier);
    QCOMPARE(QString::fromStdString(main.categoryRate[3]->text()), QStringLiteral("62.5."));
    QVERIFY2(program.boxes.isEmpty(), program.boxesSeen().constData());
  }
};

}  // namespace vantrel

QTEST_MAIN(vantrel::LocaleStartTest)
#include "locale_start_test.moc"
