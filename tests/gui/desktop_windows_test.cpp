// SPDX-License-Identifier: GPL-3.0-or-later
// Every window of the program as a desktop gets it: side windows owned by the main window,
// each window on the screen's free area (its contents scrolling where the screen is too
// small), and every control inside its window, its text whole and covering no other, with
// the desktop's font or a large one. CTest runs it again at 125 %, 150 % and 200 % scale and
// under Weston.

#include <QAbstractButton>
#include <QApplication>
#include <QFontMetricsF>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <QtTest>
#include <utility>
#include <vector>

#include "app/info_form.h"
#include "app/main_form.h"
#include "app/vantrel.h"
#include "contacts/company_form.h"
#include "contacts/customer_form.h"
#include "documents/invoice_form.h"
#include "platform/qt/form_widget.h"
#include "platform/qt/qt_convert.h"
#include "platform/qt/qt_services.h"
#include "started_program.h"
#include "store/options_form.h"
#include "test_home.h"

namespace vantrel {

namespace {

// Every window that shows (the break reminder's counter never does).
const char* const kForms[] = {"frmMain",   "frmSettings", "frmOptions", "frmLabels",  "frmInvoice",
                              "frmprint",  "frmSplash",   "frmUELA",    "frmAbout",   "frmHelp",
                              "frmUpdate", "frmQEx",      "frmCount",   "frmCompany", "frmcustomer",
                              "frmLog",    "frmInvoices"};

// Where a control sticks out of its window's client area, cuts its own text off or covers
// another control; or nothing.
QString outside(FormWidget& view, Form& form) {
  QWidget* client = view.clientArea();
  std::vector<std::pair<QString, QRect>> placed;  // the client area's own controls
  for (Control* control : form.controls()) {
    QWidget* widget = view.widgetFor(*control);
    if (widget == nullptr || !widget->isVisibleTo(&view)) continue;
    const QString name = toQString(form.name()) + QLatin1Char('.') + toQString(control->name());
    const QRect at(widget->mapTo(client, QPoint(0, 0)), widget->size());
    if (!client->rect().intersects(at)) continue;  // kept off the window on purpose
    if (!client->rect().contains(at)) {
      return QStringLiteral("%1 at %2,%3 %4x%5 outside %6x%7")
          .arg(name)
          .arg(at.x())
          .arg(at.y())
          .arg(at.width())
          .arg(at.height())
          .arg(client->width())
          .arg(client->height());
    }
    if (auto* label = qobject_cast<QLabel*>(widget)) {
      const QSize needed =
          label->wordWrap() ? QSize(0, label->heightForWidth(label->width())) : label->sizeHint();
      if (needed.width() > at.width() || needed.height() > at.height()) {
        return name + QStringLiteral(" cuts its text off");
      }
    }
    if (auto* command = qobject_cast<QPushButton*>(widget);
        command != nullptr && !command->text().isEmpty() &&
        QFontMetricsF(command->font()).horizontalAdvance(withoutMnemonic(command->text())) >
            command->width() - pushButtonMargins(*command) + 0.5) {
      return name + QStringLiteral(" cuts its text off");
    }
    if (auto* choice = qobject_cast<QAbstractButton*>(widget);
        choice != nullptr && (choice->inherits("QCheckBox") || choice->inherits("QRadioButton")) &&
        choice->sizeHint().width() > at.width()) {
      return name + QStringLiteral(" cuts its text off");
    }
    // Boxes and lines are drawn around and between controls on purpose.
    if (widget->parentWidget() != client || control->kind() == ControlKind::Shape ||
        control->kind() == ControlKind::Line) {
      continue;
    }
    for (const auto& [other, where] : placed) {
      if (where.intersects(at)) return name + QStringLiteral(" covers ") + other;
    }
    placed.emplace_back(name, at);
  }
  // Unless it scrolls, the whole client area is inside the window, below any menu bar.
  if (view.findChild<QScrollArea*>(QString(), Qt::FindDirectChildrenOnly) == nullptr) {
    const QRect area(client->mapTo(&view, QPoint(0, 0)), client->size());
    if (!view.rect().contains(area)) return toQString(form.name()) + QStringLiteral(" cut off");
    if (view.menuWidget() != nullptr && view.menuWidget()->isVisible() &&
        view.menuWidget()->geometry().bottom() >= area.top()) {
      return toQString(form.name()) + QStringLiteral(" under its menu bar");
    }
  }
  return {};
}

}  // namespace

class DesktopWindowsTest : public QObject {
  Q_OBJECT

  QTemporaryDir home_;

 private slots:
  void initTestCase() { keepHomeIn(home_); }

  void everyWindowSitsOnItsScreen_data() {
    QTest::addColumn<double>("points");
    QTest::newRow("desktop font") << 0.0;
    QTest::newRow("14 pt desktop font") << 14.0;
  }

  void everyWindowSitsOnItsScreen() {
    QFETCH(double, points);
    const QFont before = QApplication::font();
    if (points > 0) {
      QFont large = before;
      large.setPointSizeF(points);
      QApplication::setFont(large);
    }
    {
      StartedProgram program;
      Vantrel& app = *program.app;
      QtServices& platform = program.platform;
      QTRY_VERIFY_WITH_TIMEOUT(app.main().visible(), 10000);
      QVERIFY(app.about().lblLicence != nullptr);  // About names the licence, and fits it
      FormWidget* main = platform.window(app.main());
      const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
      for (const char* name : kForms) {
        Form& form = *app.form(name);
        FormWidget* view = platform.window(form);
        form.show();
        QVERIFY2(QTest::qWaitForWindowExposed(view), name);
        if (form.role == WindowRole::Side) {
          QVERIFY2(view->windowHandle()->transientParent() == main->windowHandle(), name);
        } else {
          QVERIFY2(
              view->windowHandle()->transientParent() == nullptr || form.role == WindowRole::Dialog,
              name);
        }
        // A Wayland compositor places windows itself: there the size is what must fit.
        if (QGuiApplication::platformName() == QStringLiteral("wayland")) {
          QVERIFY2(view->frameGeometry().width() <= screen.width() &&
                       view->frameGeometry().height() <= screen.height(),
                   name);
        } else {
          QVERIFY2(screen.contains(view->frameGeometry()), name);
        }
        // Its contents scroll only in a window as large as the screen has room for.
        if (view->findChild<QScrollArea*>(QString(), Qt::FindDirectChildrenOnly) != nullptr) {
          QVERIFY2(view->height() + FormWidget::kFrameHeightPx >= screen.height() ||
                       view->width() + FormWidget::kFrameWidthPx >= screen.width(),
                   qPrintable(QStringLiteral("%1 scrolls at %2x%3 (frame %4x%5) on %6x%7")
                                  .arg(QLatin1String(name))
                                  .arg(view->width())
                                  .arg(view->height())
                                  .arg(view->frameGeometry().width())
                                  .arg(view->frameGeometry().height())
                                  .arg(screen.width())
                                  .arg(screen.height())));
        }
        if (form.name() == "frmInvoice" && screen.height() < 800) {
          QVERIFY(view->findChild<QScrollArea*>(QString(), Qt::FindDirectChildrenOnly) != nullptr);
        }
        const QString fault = outside(*view, form);
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
        if (&form != &app.main()) form.hide();
      }
      // The invoice with its details set is laid out afresh: the boxes grow, the tax lines,
      // the bank details and the note come in.
      setField(*app.company().txtVatId, "DE123456789");
      setField(*app.company().txtIban, "DE89370400440532013000");
      setField(*app.customer().jobCountry, "France");
      setField(*app.customer().jobVatId, "FR40303265045");
      app.customer().tax.set(TaxTreatment::SmallBusiness, "",
                             "TVA non applicable, art. 293 B du CGI");
      app.customer().tax.set(TaxTreatment::Vat, "19", "");
      setField(*app.options().txtTerms, "30");
      InvoiceForm& invoice = app.invoice();
      invoice.showDetails();
      invoice.show();
      QVERIFY(QTest::qWaitForWindowExposed(platform.window(invoice)));
      QVERIFY(invoice.txtGross->visible());
      const QString detailed = outside(*platform.window(invoice), invoice);
      QVERIFY2(detailed.isEmpty(), qPrintable(detailed));
      invoice.hide();
      QVERIFY2(program.boxes.isEmpty(), program.boxesSeen().constData());
      // With no tray to hide in, the close box minimises the main window.
      QVERIFY(!platform.services().tray.available());
      main->close();
      QTRY_VERIFY(main->isMinimized());
    }
    QApplication::setFont(before);
  }

  // A short message keeps its whole title beside a title bar's icon and three buttons, and
  // its size is fixed: no maximise button.
  void messageBoxesAreFixedDialogs() {
    QtServices platform;
    QSize minimum, maximum;
    int width = 0, room = 0;
    QTimer::singleShot(0, [&] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        QFont title = QApplication::font();
        title.setBold(true);
        minimum = box->minimumSize();
        maximum = box->maximumSize();
        width = box->width();
        room = QFontMetrics(title).horizontalAdvance(box->windowTitle()) + 100;
        box->accept();
      }
    });
    platform.services().messages.show("Saved", Buttons::Ok, "Price list of the workshop");
    QVERIFY(width > 0);
    QCOMPARE(minimum, maximum);
    QVERIFY2(width >= room, qPrintable(QStringLiteral("%1 < %2").arg(width).arg(room)));
  }
};

}  // namespace vantrel

QTEST_MAIN(vantrel::DesktopWindowsTest)
#include "desktop_windows_test.moc"
