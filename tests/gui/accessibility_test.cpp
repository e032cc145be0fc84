// SPDX-License-Identifier: GPL-3.0-or-later
// Every window as a keyboard user and a screen reader get it: every control named by what a
// sighted user reads beside it (never by its frame alone), every figure a stop for Tab, an
// access key for every button, check box and menu unique where it is pressed, Escape closing
// side windows, and the clock's changes announced. VANTREL_LIST_ACCESS=1 lists each window's
// tree as a screen reader reads it.

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QtTest>
#include <map>

#include "app/main_form.h"
#include "app/vantrel.h"
#include "platform/colour.h"
#include "platform/qt/form_widget.h"
#include "platform/qt/qt_convert.h"
#include "platform/qt/qt_services.h"
#include "started_program.h"
#include "test_home.h"

namespace vantrel {
namespace {

const char* const kForms[] = {"frmMain",    "frmSettings", "frmOptions", "frmLabels",
                              "frmInvoice", "frmprint",    "frmUELA",    "frmAbout",
                              "frmHelp",    "frmUpdate",   "frmQEx",     "frmCount",
                              "frmCompany", "frmcustomer", "frmLog",     "frmInvoices"};

// The letter Qt underlines in a caption, lower case; 0 when none.
QChar mnemonicOf(const QString& text) {
  for (qsizetype i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != QLatin1Char('&')) continue;
    if (text[i + 1] != QLatin1Char('&')) return text[i + 1].toLower();
    ++i;
  }
  return {};
}

QChar keyOf(const QAbstractButton* button) {
  const QChar marked = mnemonicOf(button->text());
  if (!marked.isNull()) return marked;
  const QString shortcut = button->shortcut().toString();
  return shortcut.startsWith(QStringLiteral("Alt+")) ? shortcut.back().toLower() : QChar();
}

bool interactive(QAccessible::Role role) {
  switch (role) {
    case QAccessible::Button:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::EditableText:
    case QAccessible::ComboBox:
    case QAccessible::List:
    case QAccessible::SpinBox:
    case QAccessible::ProgressBar:
    case QAccessible::StaticText:
      return true;
    default:
      return false;
  }
}

// Walks the tree below a window; returns what is wrong, and lists it when asked.
QStringList walk(QAccessibleInterface* node, const QString& window, int depth, bool list) {
  QStringList faults;
  const int count = node->childCount();
  for (int i = 0; i < count; ++i) {
    QAccessibleInterface* child = node->child(i);
    if (child == nullptr || child->state().invisible) continue;
    auto* widget = qobject_cast<QWidget*>(child->object());
    const QString name = child->text(QAccessible::Name);
    const QString value = child->text(QAccessible::Value);
    if (list) {
      qInfo("%s%s %s \"%s\"%s", qPrintable(QString(depth * 2, QLatin1Char(' '))),
            qPrintable(window), qPrintable(QString::number(child->role(), 16)), qPrintable(name),
            value.isEmpty() ? "" : qPrintable(QStringLiteral(" = ") + value));
    }
    const bool own = widget != nullptr && (!widget->accessibleName().isEmpty() ||
                                           widget->objectName() == QStringLiteral("reading"));
    if (interactive(child->role()) && widget != nullptr && !widget->inherits("QLabel")) {
      if (name.isEmpty() || !own) {
        faults << QStringLiteral("%1.%2 is %3")
                      .arg(window, widget->objectName(),
                           name.isEmpty() ? "unnamed" : "named by its frame");
      }
    }
    if (auto* edit = qobject_cast<QLineEdit*>(widget);
        edit != nullptr && edit->isReadOnly() && !(edit->focusPolicy() & Qt::TabFocus) &&
        edit->parentWidget()->objectName() != QStringLiteral("reading")) {
      faults << window + QLatin1Char('.') + edit->objectName() + QStringLiteral(" is not on Tab");
    }
    faults << walk(child, window, depth + 1, list);
  }
  return faults;
}

// Buttons and menu titles share the window's keys, each menu's entries their own.
QStringList keyFaults(FormWidget& view, const QString& window) {
  QStringList faults;
  std::map<QChar, QString> taken;
  auto claim = [&](std::map<QChar, QString>& scope, QChar key, const QString& what) {
    if (key.isNull()) {
      faults << window + QStringLiteral(": no access key for ") + what;
    } else if (auto [at, fresh] = scope.emplace(key, what); !fresh) {
      faults << QStringLiteral("%1: %2 and %3 share Alt+%4").arg(window, at->second, what, key);
    }
  };
  for (QAbstractButton* button : view.clientArea()->findChildren<QAbstractButton*>()) {
    if (!button->isVisibleTo(&view)) continue;
    claim(taken, keyOf(button), button->objectName());
  }
  if (view.menuWidget() != nullptr && view.menuWidget()->isVisible()) {
    for (QAction* top : view.menuBar()->actions()) {
      if (top->isVisible()) claim(taken, mnemonicOf(top->text()), top->text());
    }
  }
  for (QMenu* menu : view.findChildren<QMenu*>()) {
    std::map<QChar, QString> entries;
    for (QAction* entry : menu->actions()) {
      if (!entry->isSeparator()) claim(entries, mnemonicOf(entry->text()), entry->text());
    }
  }
  return faults;
}

}  // namespace

class AccessibilityTest : public QObject {
  Q_OBJECT

  QTemporaryDir home_;

 private slots:
  void initTestCase() { keepHomeIn(home_); }

  void everyWindowIsNamedReachableAndKeyed() {
    StartedProgram program;
    Vantrel& app = *program.app;
    QTRY_VERIFY_WITH_TIMEOUT(app.main().visible(), 10000);
    const bool list = qEnvironmentVariableIsSet("VANTREL_LIST_ACCESS");
    QStringList faults;
    for (const char* name : kForms) {
      Form& form = *app.form(name);
      FormWidget* view = program.platform.window(form);
      form.show();
      QVERIFY2(QTest::qWaitForWindowExposed(view), name);
      QTest::qWait(20);  // names and keys follow on the next turn of the event loop
      faults << walk(QAccessible::queryAccessibleInterface(view), QLatin1String(name), 0, list);
      faults << keyFaults(*view, QLatin1String(name));
      if (form.role != WindowRole::Side) continue;
      view->activateWindow();
      QWidget* focus = view->focusWidget() != nullptr ? view->focusWidget() : view;
      QTest::keyClick(focus, Qt::Key_Escape);
      QTRY_VERIFY2(!form.visible(), name);
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
  }

  // Space on Start runs the highlight the mouse press runs: the watchdog keeps the clock
  // running, and the clock's reading says so.
  void aClockStartedFromTheKeysKeepsRunningAndSaysSo() {
    StartedProgram program;
    MainForm& main = program.app->main();
    QTRY_VERIFY_WITH_TIMEOUT(main.visible(), 10000);
    FormWidget* view = program.platform.window(main);
    auto* clock = view->findChild<QWidget*>(QStringLiteral("reading"));
    QVERIFY(clock != nullptr);
    auto said = [clock] {
      return QAccessible::queryAccessibleInterface(clock)->text(QAccessible::Name);
    };
    QTRY_COMPARE(said(), QStringLiteral("Job clock, 00:00:00, stopped"));
    QWidget* start = view->widgetFor(*main.CmdStart);
    start->setFocus(Qt::TabFocusReason);
    QTest::keyClick(start, Qt::Key_Space);
    for (int i = 0; i < 3; ++i) main.Timer25->fire();  // the watchdog's 30 seconds
    QVERIFY(main.Timer1->enabled());
    QTRY_VERIFY(said().endsWith(QStringLiteral(", running")));
    // Stop by its access key: the clock stays stopped.
    auto* stop = qobject_cast<QAbstractButton*>(view->widgetFor(*main.CmdStop));
    program.app->form("frmCompany")->hide();  // shown at a first start, in front
    view->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), view);
    QTest::keyClick(view, keyOf(stop).toLatin1(), Qt::AltModifier);
    QTRY_VERIFY(!main.Timer1->enabled());
    for (int i = 0; i < 3; ++i) main.Timer25->fire();
    QVERIFY(!main.Timer1->enabled());
    QTRY_VERIFY(said().endsWith(QStringLiteral(", stopped")));
  }
};

}  // namespace vantrel

QTEST_MAIN(vantrel::AccessibilityTest)
#include "accessibility_test.moc"
