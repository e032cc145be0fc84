// SPDX-License-Identifier: GPL-3.0-or-later
// The drive, folder and file lists: they show real volumes and folders, follow the model's
// choices, and carry the user's choices back as edits and clicks.

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "platform/form.h"
#include "platform/headless/headless_services.h"
#include "platform/qt/form_widget.h"

namespace vantrel {
namespace {

void makeFile(const QString& path, bool executable = false) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.close();
  if (executable) QVERIFY(file.setPermissions(file.permissions() | QFileDevice::ExeOwner));
}

// A folder with subfolders (one hidden) and files (one executable), and a form holding the
// three lists, built the way the program builds its forms.
struct Fixture {
  QTemporaryDir dir;
  QString root = QDir::cleanPath(dir.path() + "/jobs");
  HeadlessServices platform{dir.path().toStdString()};
  Form form{platform.services(), "frmTest", "Test", 7200, 4500};
  std::unique_ptr<FormWidget> view = std::make_unique<FormWidget>(form);
  Control& drive = form.add(ControlKind::DriveList, "Drive1", {120, 120, 2160, 330}, "/");
  Control& folders = form.add(ControlKind::FolderList, "Dir1", {120, 510, 2160, 1260});
  Control& files = form.add(ControlKind::FileList, "File1", {2400, 120, 2400, 1650});
  Control& programs = form.add(ControlKind::FileList, "File2", {4920, 120, 2160, 1650});
  Control& box = form.add(ControlKind::TextBox, "Text1", {120, 2000, 1500, 300});
  QString events;

  Fixture() {
    for (const char* sub : {"/alpha/inner", "/beta", "/.hidden"}) QDir().mkpath(root + sub);
    makeFile(root + "/notes.txt");
    makeFile(root + "/prices.pql");
    makeFile(root + "/run.sh", true);
    files.style().pattern = "*.pql; *.txt";
    programs.style().executablesOnly = true;
    for (Control* c : {&drive, &folders, &files}) {
      c->onChange = [this, c] { events += "change:" + QString::fromStdString(c->text()) + " "; };
    }
    files.onMouseDown = [this] { events += "down:" + QString::fromStdString(files.text()) + " "; };
    files.onClick = [this] { events += "click:" + QString::fromStdString(files.text()) + " "; };
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(view.get()));
  }
  ~Fixture() { view.reset(); }

  QListView* list(Control& c) { return qobject_cast<QListView*>(view->widgetFor(c)); }
  QStringList rows(Control& c) {
    QStringList names;
    const QAbstractItemModel* model = list(c)->model();
    for (int row = 0; row < model->rowCount(); ++row)
      names << model->index(row, 0).data().toString();
    return names;
  }
  QString selected(Control& c) {
    const QModelIndexList rows = list(c)->selectionModel()->selectedRows();
    return rows.isEmpty() ? QString() : rows[0].data().toString();
  }
  QPoint centreOf(Control& c, const QString& name) {
    const int row = rows(c).indexOf(name);
    return list(c)->visualRect(list(c)->model()->index(row, 0)).center();
  }
  QString takeEvents() { return std::exchange(events, QString()).trimmed(); }
};

}  // namespace

class FileListsTest : public QObject {
  Q_OBJECT

 private slots:
  void driveListOffersTheVolumes() {
    Fixture f;
    auto* combo = qobject_cast<QComboBox*>(f.view->widgetFor(f.drive));
    QVERIFY(combo != nullptr);
    QCOMPARE(combo->itemData(0).toString(), QStringLiteral("/"));
    QCOMPARE(combo->currentData().toString(), QStringLiteral("/"));

    // A volume the list does not know still shows when the model names it, and stays the
    // choice when the list is read again on opening.
    setField(f.drive, "/media/stick");
    QCOMPARE(combo->currentText(), QStringLiteral("/media/stick"));
    combo->showPopup();
    QCOMPARE(combo->currentData().toString(), QStringLiteral("/media/stick"));
    combo->hidePopup();
    QCOMPARE(f.takeEvents(), QStringLiteral("change:/media/stick"));

    setField(f.drive, "/");
    f.takeEvents();
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Down);
    const QString picked = combo->itemData(1).toString();
    QCOMPARE(QString::fromStdString(f.drive.text()), picked);
    QCOMPARE(f.takeEvents(), "change:" + picked);
  }

  void folderListGoesDownAndUp() {
    Fixture f;
    QListView* list = f.list(f.folders);
    QVERIFY(list != nullptr);
    setField(f.folders, f.root.toStdString());
    QTRY_COMPARE(f.rows(f.folders), QStringList({"..", "alpha", "beta"}));
    f.takeEvents();

    // A real double-click: the first click selects, the second opens.
    const QPoint alpha = f.centreOf(f.folders, "alpha");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, alpha);
    QCOMPARE(QString::fromStdString(f.folders.text()), f.root);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, alpha);
    QCOMPARE(QString::fromStdString(f.folders.text()), f.root + "/alpha");
    QCOMPARE(f.takeEvents(), "change:" + f.root + "/alpha");
    QTRY_COMPARE(f.rows(f.folders), QStringList({"..", "inner"}));

    list->setFocus();
    list->setCurrentIndex(list->model()->index(0, 0));
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(QString::fromStdString(f.folders.text()), f.root);
    QTRY_COMPARE(f.rows(f.folders), QStringList({"..", "alpha", "beta"}));

    // The top of the tree has no way up.
    setField(f.folders, "/");
    QTRY_VERIFY(!f.rows(f.folders).isEmpty());
    QVERIFY(!f.rows(f.folders).contains(".."));
  }

  void fileListShowsTheModelsFolderAndChoice() {
    Fixture f;
    // The choice may come before its folder has loaded.
    setField(f.files, "prices.pql");
    f.files.setFolder(f.root.toStdString());
    f.programs.setFolder(f.root.toStdString());
    QTRY_COMPARE(f.rows(f.files), QStringList({"notes.txt", "prices.pql"}));
    QTRY_COMPARE(f.selected(f.files), QStringLiteral("prices.pql"));
    QTRY_COMPARE(f.rows(f.programs), QStringList({"run.sh"}));

    makeFile(f.root + "/later.txt");
    QTRY_COMPARE(f.rows(f.files), QStringList({"later.txt", "notes.txt", "prices.pql"}));
    QCOMPARE(f.selected(f.files), QStringLiteral("prices.pql"));

    setField(f.files, "missing.txt");
    QCOMPARE(f.selected(f.files), QString());
    f.files.setFolder((f.root + "/alpha").toStdString());
    QTRY_COMPARE(f.rows(f.files), QStringList());
  }

  void fileListClicksChooseThenClick() {
    Fixture f;
    f.files.setFolder(f.root.toStdString());
    QTRY_COMPARE(f.rows(f.files), QStringList({"notes.txt", "prices.pql"}));
    QWidget* viewport = f.list(f.files)->viewport();

    QTest::mouseClick(viewport, Qt::LeftButton, {}, f.centreOf(f.files, "notes.txt"));
    QCOMPARE(f.takeEvents(), QStringLiteral("change:notes.txt down:notes.txt click:notes.txt"));
    QCOMPARE(f.selected(f.files), QStringLiteral("notes.txt"));
    QCOMPARE(f.form.focused(), &f.files);

    // The keyboard chooses too, with a click but no mouse press.
    QTest::keyClick(f.list(f.files), Qt::Key_Down);
    QCOMPARE(f.takeEvents(), QStringLiteral("change:prices.pql click:prices.pql"));

    // Below the last file there is nothing to choose; the press still reaches the model.
    QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(5, viewport->height() - 3));
    QCOMPARE(f.takeEvents(), QStringLiteral("down:prices.pql"));

    // A box that keeps the focus keeps the choice unchanged.
    f.box.onFocusLeave = [] { return true; };
    QVERIFY(f.form.focus(f.box));
    QTest::mouseClick(viewport, Qt::LeftButton, {}, f.centreOf(f.files, "notes.txt"));
    QCOMPARE(f.takeEvents(), QString());
    QCOMPARE(f.files.text(), std::string("prices.pql"));
    QCOMPARE(f.selected(f.files), QStringLiteral("prices.pql"));
  }
};

}  // namespace vantrel

QTEST_MAIN(vantrel::FileListsTest)
#include "file_lists_test.moc"
