// SPDX-License-Identifier: GPL-3.0-or-later
// The binding between a form and its window: model changes reach the widgets, the user's
// keys and clicks reach the model the way user_input.h defines them.

#include "platform/qt/form_widget.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "platform/form.h"
#include "platform/headless/headless_services.h"
#include "platform/qt/qt_convert.h"
#include "platform/qt/window_picture.h"

namespace vantrel {
namespace {

// A form with one of most kinds, built the way the program builds its forms: the view
// first, the controls afterwards (the form's load).
struct Fixture {
  QTemporaryDir dir;
  HeadlessServices platform{dir.path().toStdString()};
  Form form{platform.services(), "frmTest", "Test", 7200, 8970};
  std::unique_ptr<FormWidget> view = std::make_unique<FormWidget>(form);
  Control& box = form.add(ControlKind::TextBox, "Text1", {120, 120, 1500, 300});
  Control& other = form.add(ControlKind::TextBox, "Text2", {120, 600, 1500, 300});
  Control& button =
      form.add(ControlKind::CommandButton, "CmdStart", {2000, 120, 1000, 375}, "&Start");
  Control& check = form.add(ControlKind::CheckBox, "Check1", {2000, 600, 1500, 300}, "Hours");
  Control& frame = form.add(ControlKind::Frame, "Frame1", {120, 1200, 3000, 1500}, "Pick");
  Control& optionA =
      form.add(ControlKind::OptionButton, "Option1", {120, 300, 1200, 300}, "A", &frame);
  Control& optionB =
      form.add(ControlKind::OptionButton, "Option2", {120, 700, 1200, 300}, "B", &frame);
  Control& label = form.add(ControlKind::Label, "Label1", {3500, 120, 1500, 300}, "Save &Path");

  Fixture() {
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(view.get()));
  }
  ~Fixture() { view.reset(); }  // the view goes before its form

  template <class W>
  W* widget(Control& control) {
    return qobject_cast<W*>(view->widgetFor(control));
  }
  void typeInto(Control& control, const QString& keys) {
    QWidget* w = view->widgetFor(control);
    w->setFocus();
    QTest::keyClicks(w, keys);
  }
};

}  // namespace

class FormWidgetTest : public QObject {
  Q_OBJECT

 private slots:
  void buildsEveryControlInItsContainer() {
    Fixture f;
    QCOMPARE(f.view->size(), QSize(7200 / 15 - 16, 8970 / 15 - 38));
    auto* groupBox = f.widget<QGroupBox>(f.frame);
    auto* radio = f.widget<QRadioButton>(f.optionA);
    QVERIFY(groupBox && radio);
    QCOMPARE(radio->parentWidget(), groupBox);
    QCOMPARE(radio->geometry(), QRect(8, 20, 80, 20));
    QCOMPARE(f.widget<QPushButton>(f.button)->text(), QStringLiteral("&Start"));
    QCOMPARE(f.widget<QLabel>(f.label)->text(), QStringLiteral("Save Path"));

    // A control added after the window was built still gets its widget.
    Control& late = f.form.add(ControlKind::Label, "Label2", {0, 0, 600, 300}, "late");
    QVERIFY(f.widget<QLabel>(late) != nullptr);
  }

  void showsModelChanges() {
    Fixture f;
    setField(f.box, "12.50");
    QCOMPARE(f.widget<QLineEdit>(f.box)->text(), QStringLiteral("12.50"));
    f.box.setEnabled(false);
    QVERIFY(!f.widget<QLineEdit>(f.box)->isEnabled());
    f.box.setVisible(false);
    QVERIFY(f.widget<QLineEdit>(f.box)->isHidden());
    f.box.setTooltip("Hours worked");
    QCOMPARE(f.widget<QLineEdit>(f.box)->toolTip(), QStringLiteral("Hours worked"));

    f.button.setBackColour(colour::green);
    QCOMPARE(f.widget<QPushButton>(f.button)->palette().color(QPalette::Button), QColor(0, 255, 0));
    f.button.setBackColour(colour::buttonFace);
    QCOMPARE(f.widget<QPushButton>(f.button)->palette().color(QPalette::Button),
             QApplication::palette().color(QPalette::Button));

    f.check.setValue(1);
    QVERIFY(f.widget<QCheckBox>(f.check)->isChecked());
    // A coloured check box is filled with its colour, not the button face.
    f.check.setBackColour(colour::rgb(171, 235, 197));
    const QImage drawn = f.widget<QCheckBox>(f.check)->grab().toImage();
    QCOMPARE(QColor(drawn.pixel(drawn.width() - 2, drawn.height() / 2)), QColor(171, 235, 197));
    f.optionB.setValue(1);
    f.optionA.setValue(1);
    QVERIFY(f.widget<QRadioButton>(f.optionA)->isChecked());
    QVERIFY(!f.widget<QRadioButton>(f.optionB)->isChecked());

    f.form.setCaption("Vantrel - Running");
    QCOMPARE(f.view->windowTitle(), QStringLiteral("Vantrel - Running"));
    f.form.hide();
    QVERIFY(!f.view->isVisible());
  }

  // A window loaded but never shown makes no widgets; when it shows, they carry what the
  // model came to hold meanwhile.
  void aHiddenWindowIsBuiltWhenItFirstShows() {
    QTemporaryDir dir;
    HeadlessServices platform{dir.path().toStdString()};
    Form form{platform.services(), "frmLater", "Later", 4500, 3000};
    auto view = std::make_unique<FormWidget>(form);
    Control& box = form.add(ControlKind::TextBox, "Text1", {120, 120, 1500, 300});
    setField(box, "40.00");
    QCoreApplication::processEvents();
    QVERIFY(view->clientArea()->findChildren<QWidget*>().isEmpty());
    form.setCaption("Options");
    QCOMPARE(view->windowTitle(), QStringLiteral("Options"));
    setField(box, "45.00");
    box.setEnabled(false);

    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(view.get()));
    auto* edit = qobject_cast<QLineEdit*>(view->widgetFor(box));
    QVERIFY(edit != nullptr);
    QCOMPARE(edit->text(), QStringLiteral("45.00"));
    QVERIFY(!edit->isEnabled());
    setField(box, "50.00");
    QCOMPARE(edit->text(), QStringLiteral("50.00"));
    view.reset();
  }

  void longTextsShowFromTheirStart() {
    Fixture f;
    setField(f.box, "Zo\u00eb \u0141ukasiewicz, 12 Long Lane, Leeds LS1 4AP");
    QCOMPARE(f.widget<QLineEdit>(f.box)->cursorPosition(), 0);
  }

  void datePickerTextAndChoice() {
    Fixture f;
    Control& picker = f.form.add(ControlKind::DatePicker, "DTPicker1", {4000, 600, 1800, 315});
    auto* edit = f.widget<QDateEdit>(picker);
    QVERIFY(edit && edit->calendarPopup());
    setField(picker, dateToText(QDate(2026, 2, 3)).toStdString());
    QCOMPARE(edit->date(), QDate(2026, 2, 3));
    int changes = 0;
    picker.onChange = [&changes] { ++changes; };
    edit->setDate(QDate(2026, 3, 4));  // as the calendar does when a day is picked
    QCOMPARE(QString::fromStdString(picker.text()), dateToText(QDate(2026, 3, 4)));
    QCOMPARE(changes, 1);
  }

  void typedKeysGoThroughTheKeyFilter() {
    Fixture f;
    std::string seen;
    f.box.onKeyPress = [&](char key) {
      seen += key;
      return (key >= '0' && key <= '9') || key == '\b';
    };
    f.typeInto(f.box, QStringLiteral("1a2"));
    QCOMPARE(QString::fromStdString(seen), QStringLiteral("1a2"));
    QCOMPARE(f.box.text(), std::string("12"));
    QCOMPARE(f.widget<QLineEdit>(f.box)->text(), QStringLiteral("12"));
    QCOMPARE(f.form.focused(), &f.box);

    QTest::keyClick(f.view->widgetFor(f.box), Qt::Key_Backspace);
    QCOMPARE(f.box.text(), std::string("1"));

    // A paste writes the whole new text, past the filter.
    QGuiApplication::clipboard()->setText(QStringLiteral("x9"));
    QTest::keySequence(f.view->widgetFor(f.box), QKeySequence::Paste);
    QCOMPARE(f.box.text(), std::string("1x9"));
  }

  void aRefusedEditIsTakenBackWithOneMessage() {
    Fixture f;
    f.box.refuses = [](std::string_view text) {
      return text.size() > 3 ? std::string("too long") : std::string();
    };
    f.typeInto(f.box, QStringLiteral("1234"));
    QCOMPARE(f.widget<QLineEdit>(f.box)->text(), QStringLiteral("123"));
    QCOMPARE(f.box.text(), std::string("123"));
    QGuiApplication::clipboard()->setText(QStringLiteral("99"));
    QTest::keySequence(f.view->widgetFor(f.box), QKeySequence::Paste);
    QCOMPARE(f.widget<QLineEdit>(f.box)->text(), QStringLiteral("123"));
    QCOMPARE(f.platform.messagesShown, (std::vector<std::string>{"too long", "too long"}));
    QTest::keyClick(f.view->widgetFor(f.box), Qt::Key_Backspace);
    QCOMPARE(f.box.text(), std::string("12"));
  }

  void boxKeepsTypedTextUntilTheFocusLeaves() {
    Fixture f;
    int changes = 0;
    f.box.onChange = [&] {
      ++changes;
      if (f.box.text().find('.') == std::string::npos) setField(f.box, f.box.text() + ".00");
    };
    auto* edit = f.widget<QLineEdit>(f.box);
    f.typeInto(f.box, QStringLiteral("12"));
    QCOMPARE(f.box.text(), std::string("12.00"));  // the model is current
    QCOMPARE(edit->text(), QStringLiteral("12"));  // the user's typing is not disturbed
    QCOMPARE(edit->cursorPosition(), 2);

    QTest::keyClick(edit, Qt::Key_Tab);
    QTRY_COMPARE(f.form.focused(), &f.other);
    QCOMPARE(edit->text(), QStringLiteral("12.00"));

    // A change the user did not type shows at once, focus or not.
    f.view->widgetFor(f.box)->setFocus();
    setField(f.box, "7.00");
    QCOMPARE(edit->text(), QStringLiteral("7.00"));
    QVERIFY(changes > 0);
  }

  void clicksReachTheModelOnce() {
    Fixture f;
    std::string events;
    f.button.onMouseDown = [&] { events += "down "; };
    f.button.onClick = [&] { events += "click "; };
    auto* button = f.widget<QPushButton>(f.button);
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(QString::fromStdString(events), QStringLiteral("down click "));
    events.clear();
    button->setFocus();
    QTest::keyClick(button, Qt::Key_Space);
    QCOMPARE(QString::fromStdString(events), QStringLiteral("click "));

    int clicks = 0;
    f.check.onClick = [&] { ++clicks; };
    auto* check = f.widget<QCheckBox>(f.check);
    QTest::mouseClick(check, Qt::LeftButton);
    QCOMPARE(f.check.value(), 1);
    QVERIFY(check->isChecked());
    QTest::mouseClick(check, Qt::LeftButton);
    QCOMPARE(f.check.value(), 0);
    QVERIFY(!check->isChecked());
    QCOMPARE(clicks, 2);

    // The model refuses: the widget must not stay toggled.
    f.check.onClick = [&] { f.check.setValue(0); };
    QTest::mouseClick(check, Qt::LeftButton);
    QCOMPARE(f.check.value(), 0);
    QVERIFY(!check->isChecked());

    QTest::mouseClick(f.widget<QRadioButton>(f.optionB), Qt::LeftButton);
    QTest::mouseClick(f.widget<QRadioButton>(f.optionA), Qt::LeftButton);
    QCOMPARE(f.optionA.value(), 1);
    QCOMPARE(f.optionB.value(), 0);
    QVERIFY(!f.widget<QRadioButton>(f.optionB)->isChecked());
    // Clicking the chosen option again leaves it chosen.
    QTest::mouseClick(f.widget<QRadioButton>(f.optionA), Qt::LeftButton);
    QVERIFY(f.widget<QRadioButton>(f.optionA)->isChecked());
  }

  void modelKeepsTheFocus() {
    Fixture f;
    bool keep = true;
    int asked = 0;
    f.box.onFocusLeave = [&] {
      ++asked;
      return keep;
    };
    f.typeInto(f.box, QStringLiteral("5"));
    QTest::mouseClick(f.view->widgetFor(f.other), Qt::LeftButton);
    QCOMPARE(asked, 1);
    QCOMPARE(f.form.focused(), &f.box);
    QTRY_VERIFY(f.view->widgetFor(f.box)->hasFocus());
    // The refused box took no typing either.
    QTest::keyClicks(f.view->widgetFor(f.other), QStringLiteral("9"));
    QCOMPARE(f.other.text(), std::string());

    keep = false;
    QTest::mouseClick(f.view->widgetFor(f.other), Qt::LeftButton);
    QCOMPARE(f.form.focused(), &f.other);
  }

  void closeBoxAsksTheModel() {
    Fixture f;
    bool cancel = true;
    f.form.onQueryClose = [&] { return cancel; };
    f.view->close();
    QVERIFY(f.view->isVisible());
    QVERIFY(f.form.visible());
    cancel = false;
    f.view->close();
    QVERIFY(!f.view->isVisible());
    QVERIFY(!f.form.visible());
    f.form.show();
    QVERIFY(f.view->isVisible());
  }

  void menusAndPopups() {
    Fixture f;
    MenuItem& file = f.form.addMenu("mnuFile", "&File");
    MenuItem& save = f.form.addMenu("mnuSave", "&Save", &file);
    save.shortcut = "Ctrl+S";
    f.form.addMenu("sep1", "-", &file);
    MenuItem& exit = f.form.addMenu("mnuExit", "E&xit", &file);
    MenuItem& tray = f.form.addMenu("Mnu_File", "file");
    tray.setVisible(false);
    MenuItem& show = f.form.addMenu("MnuShow", "Show", &tray);
    int saves = 0, shows = 0;
    save.onClick = [&] { ++saves; };
    show.onClick = [&] { ++shows; };

    QMenu* fileMenu = f.view->menuFor(file);
    QVERIFY(fileMenu != nullptr);
    QCOMPARE(fileMenu->actions().size(), 3);
    QVERIFY(fileMenu->actions()[1]->isSeparator());
    QCOMPARE(f.view->actionFor(save)->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
    QVERIFY(f.view->actionFor(file)->isVisible());
    QVERIFY(!f.view->actionFor(tray)->isVisible());  // a pop-up menu, not in the bar

    f.view->actionFor(save)->trigger();
    QCOMPARE(saves, 1);
    exit.setEnabled(false);
    QVERIFY(!f.view->actionFor(exit)->isEnabled());
    save.storeText("Save &As");
    QTRY_COMPARE(f.view->actionFor(save)->text(), QStringLiteral("Save &As"));

    f.form.popup(tray);
    QTRY_VERIFY(f.view->menuFor(tray)->isVisible());
    f.view->actionFor(show)->trigger();
    QCOMPARE(shows, 1);
    QCOMPARE(f.form.poppedUp(), nullptr);
  }

  void viewGoesQuietlyBeforeItsForm() {
    Fixture f;
    Timer& timer = f.form.addTimer("Timer1", 1000, false);
    MenuItem& file = f.form.addMenu("mnuFile", "&File");
    QVERIFY(f.view->actionFor(file) != nullptr);
    f.view.reset();
    // Nothing may reach the freed view any more.
    timer.setInterval(500);
    file.setEnabled(false);
    setField(f.box, "after");
    f.form.setCaption("after");
    f.form.hide();
  }

  // A table of a hundred thousand rows is one list view that asks only for the rows in
  // sight; the user's choice of row and a typed note reach the model, totals are bold.
  void tableAsksOnlyForTheRowsInSight() {
    Fixture f;
    Table& table = f.form.addTable("grdLog", {120, 3000, 6000, 3000});
    table.columns = {{"Date", 1500, Align::Left, false}, {"Note", 3000, Align::Left, true}};
    std::size_t rows = 100'000, asked = 0;
    std::string typed;
    table.rowCount = [&] { return rows; };
    table.cell = [&](std::size_t row, std::size_t column) {
      ++asked;
      return column == 0 ? "row " + std::to_string(row) : typed;
    };
    table.emphasised = [](std::size_t row) { return row == 1; };
    table.edit = [&](std::size_t, std::size_t, const std::string& text) {
      typed = text;
      return std::string();
    };
    table.rowsChanged();
    auto* view = f.widget<QTableView>(table);
    QVERIFY(view != nullptr);
    QCOMPARE(view->model()->rowCount(), 100'000);
    view->grab();
    QVERIFY2(asked < 2000, QByteArray::number(static_cast<qulonglong>(asked)));
    QVERIFY(view->model()->index(1, 0).data(Qt::FontRole).value<QFont>().bold());

    view->setFocus();
    view->selectionModel()->setCurrentIndex(view->model()->index(2, 1),
                                            QItemSelectionModel::ClearAndSelect);
    QCOMPARE(table.current(), std::optional<std::size_t>(2));
    QVERIFY(view->model()->flags(view->currentIndex()) & Qt::ItemIsEditable);
    QVERIFY(!(view->model()->flags(view->model()->index(2, 0)) & Qt::ItemIsEditable));
    QVERIFY(view->model()->setData(view->currentIndex(), QStringLiteral("Plan")));
    QCOMPARE(typed, std::string("Plan"));

    // The model moves the choice and the rows; the view follows without telling it back.
    table.setCurrent(50'000);
    QCOMPARE(view->currentIndex().row(), 50'000);
    rows = 10;
    table.rowsChanged();
    QCOMPARE(view->model()->rowCount(), 10);
    QCOMPARE(table.current(), std::nullopt);
  }

  void formKeyAndClickHandlers() {
    QTemporaryDir dir;
    HeadlessServices platform{dir.path().toStdString()};
    Form splash{platform.services(), "frmSplash", "Vantrel", 4800, 3000};
    auto view = std::make_unique<FormWidget>(splash);
    Control& title = splash.add(ControlKind::Label, "Label1", {0, 0, 4000, 600}, "Vantrel");
    int keys = 0, clicks = 0;
    splash.onKeyPress = [&] { ++keys; };
    splash.onClick = [&] { ++clicks; };
    splash.show();
    QVERIFY(QTest::qWaitForWindowExposed(view.get()));
    QTest::keyClick(view.get(), Qt::Key_A);
    QCOMPARE(keys, 1);
    // A click on a label without handlers of its own is a click on the window.
    QTest::mouseClick(view->widgetFor(title), Qt::LeftButton);
    QCOMPARE(clicks, 1);
    view.reset();
  }

  // The opening window is first drawn from the picture kept of its last drawing, and drawn
  // for real straight after; a picture that no longer matches is replaced.
  void openingWindowFirstDrawnFromItsPicture() {
    QTemporaryDir dir;
    qputenv("XDG_CACHE_HOME", dir.filePath(QStringLiteral("cache")).toUtf8());
    HeadlessServices platform{dir.path().toStdString()};
    const QDir kept(WindowPicture::folder());
    auto picture = [&kept] {
      const QStringList names = kept.entryList({QStringLiteral("frmSplash-*")}, QDir::Files);
      return names.size() == 1 ? WindowPicture::read(kept.filePath(names.front())) : QImage();
    };
    // Shows a new splash and says whether it opened under a picture.
    auto open = [&platform](bool& covered) {
      Form splash{platform.services(), "frmSplash", "Vantrel", 4800, 3000};
      splash.role = WindowRole::Splash;
      auto view = std::make_unique<FormWidget>(splash);
      splash.add(ControlKind::Label, "Label1", {240, 240, 4000, 900}, "Vantrel").style() =
          Style{36, true, Align::Centre};
      splash.show();
      covered = !view->clientArea()->isVisible();
      QVERIFY(QTest::qWaitForWindowExposed(view.get()));
      QTRY_VERIFY(view->clientArea()->isVisible());
      QTest::qWait(300);
      view.reset();
    };
    bool covered = true;
    open(covered);
    QVERIFY(!covered);
    QTRY_VERIFY(!picture().isNull());
    const QImage drawn = picture();
    open(covered);
    QVERIFY(covered);
    QCOMPARE(picture(), drawn);
    // Other fonts since, say: the picture shown is replaced by the drawing.
    QImage stale = drawn;
    stale.fill(Qt::red);
    const QString file = kept.entryList({QStringLiteral("frmSplash-*")}).front();
    QVERIFY(WindowPicture::write(stale, kept.filePath(file)));
    open(covered);
    QVERIFY(covered);
    QCOMPARE(picture(), drawn);
    qunsetenv("XDG_CACHE_HOME");
  }
};

}  // namespace vantrel

QTEST_MAIN(vantrel::FormWidgetTest)
#include "form_widget_test.moc"
