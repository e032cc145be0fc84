// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop services where they translate: colours, filters, dates, the application
// folder, settings, the tray record and the printed page.

#include "platform/qt/qt_services.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPdfWriter>
#include <QSoundEffect>
#include <QTemporaryDir>
#include <QtTest>
#include <thread>

#include "platform/form.h"
#include "platform/qt/qt_convert.h"
#include "platform/qt/qt_printing.h"
#include "test_home.h"

namespace vantrel {

class QtServicesTest : public QObject {
  Q_OBJECT

  QTemporaryDir home_;

 private slots:
  void initTestCase() { keepHomeIn(home_); }

  // Each program records the name it was started as. Names that a shell would take apart
  // start exactly that file; anything but a full path to a program starts nothing.
  void launchStartsExactlyThatFileOrNothing() {
    QtServices services;
    const QString folder = home_.path() + QStringLiteral("/my progs; $(touch INJECTED)");
    QVERIFY(QDir().mkpath(folder));
    const QString marker = home_.path() + QStringLiteral("/started");
    auto program = [&](const QString& name, bool executable = true) {
      QFile file(folder + QLatin1Char('/') + name);
      file.open(QIODevice::WriteOnly);
      file.write("#!/bin/sh\nprintf '%s\\n' \"$0\" >> '" + marker.toUtf8() + "'\n");
      file.close();
      if (executable) file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
      return file.fileName();
    };
    const QStringList names = {
        QStringLiteral("it's \"quoted\" & spaced"), QStringLiteral("a;touch INJECTED"),
        QStringLiteral("$(touch INJECTED)`touch INJECTED`"), QStringLiteral("-rf")};
    QStringList expected;
    for (const QString& name : names) {
      expected << program(name);
      QVERIFY(services.launch(fromQString(expected.back())));
    }
    auto started = [&] {
      QFile file(marker);
      file.open(QIODevice::ReadOnly);
      QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
      lines.removeAll(QString());
      return lines;
    };
    QTRY_COMPARE_WITH_TIMEOUT(started().size(), names.size(), 10000);
    QStringList got = started();
    got.sort();
    expected.sort();
    QCOMPARE(got, expected);

    // Relative names are never looked up, not even beside the current folder.
    const QString before = QDir::currentPath();
    QDir::setCurrent(folder);
    const QString text = program(QStringLiteral("notes.txt"), false);
    for (const std::string& path :
         {std::string("-rf"), std::string("a"), std::string("Hours"), std::string("true"),
          fromQString(text), fromQString(folder), std::string()}) {
      QVERIFY2(!services.launch(path), path.c_str());
    }
    QDir::setCurrent(before);
    QTest::qWait(300);
    QCOMPARE(started().size(), names.size());
    QVERIFY(!QFileInfo::exists(folder + QStringLiteral("/INJECTED")));
    QVERIFY(!QFileInfo::exists(home_.path() + QStringLiteral("/INJECTED")));
    QVERIFY(!QFileInfo::exists(QStringLiteral("INJECTED")));
  }

  void coloursAsStored() {
    const QPalette palette = QApplication::palette();
    QCOMPARE(toQColor(colour::red, palette), QColor(255, 0, 0));
    QCOMPARE(toQColor(colour::yellow, palette), QColor(255, 255, 0));
    QCOMPARE(toQColor(colour::sheetGrey, palette), QColor(191, 200, 204));
    QCOMPARE(toQColor(colour::buttonFace, palette), palette.color(QPalette::Button));
    QCOMPARE(toQColor(colour::windowBackground, palette), palette.color(QPalette::Base));
  }

  void fileFilters() {
    QCOMPARE(qtFileFilter("Project (*.pcl)|*.pcl"), QStringLiteral("Project (*.pcl)"));
    QCOMPARE(qtFileFilter("Price list|*.pql|All files (*.*)|*.*"),
             QStringLiteral("Price list (*.pql);;All files (*)"));
    QCOMPARE(qtFileFilter("Programs (*.exe;*.sh)|*.exe;*.sh"),
             QStringLiteral("Programs (*.exe *.sh)"));
    QCOMPARE(qtFileFilter(""), QString());
  }

  void textsBetweenModelAndScreen() {
    QCOMPARE(modelToScreenText("a\r\nb"), QStringLiteral("a\nb"));
    QCOMPARE(screenToModelText(QStringLiteral("a\nb")), std::string("a\r\nb"));
    QCOMPARE(withoutMnemonic(QStringLiteral("Save &Path && more")),
             QStringLiteral("Save Path & more"));
    QCOMPARE(keyCharFor(QStringLiteral("7")), '7');
    QCOMPARE(keyCharFor(QStringLiteral("\u00e9")), '\xe9');  // Windows-1252 e acute
    QCOMPARE(keyCharFor(QStringLiteral("\u4e2d")), '?');
  }

  void datesReadBack() {
    const QDate date(2026, 1, 5);
    QCOMPARE(dateFromText(dateToText(date)), date);
    QCOMPARE(dateFromText(QStringLiteral("2026-01-05")), date);
    QVERIFY(!dateFromText(QStringLiteral("not a date")).isValid());
    QVERIFY(timeFormatWithSeconds().contains(QLatin1Char('s')));
  }

  void applicationFolderAndSettings() {
    QtServices services(QStringList{QStringLiteral("/tmp/a"), QStringLiteral("b.pcl")});
    const QString folder = home_.path() + QStringLiteral("/app");
    QCOMPARE(QString::fromStdString(services.folder()), folder);
    QVERIFY(QFileInfo(folder).isDir());
    QTRY_VERIFY(QFileInfo::exists(folder + QStringLiteral("/sound.wav")));  // once the loop runs
    QCOMPARE(services.commandLine(), std::string("/tmp/a b.pcl"));

    QVERIFY(!services.read("Ploven", "Settings", "SLA"));
    services.write("Ploven", "Settings", "SLA", "1");
    QCOMPARE(services.read("Ploven", "Settings", "SLA").value_or(""), std::string("1"));

    qputenv("VANTREL_HOME", "");
    qputenv("XDG_DATA_HOME", "/srv/data");
    QCOMPARE(QtServices::applicationFolder(), std::string("/srv/data/vantrel"));
    qputenv("VANTREL_HOME", folder.toUtf8());
  }

  void trayAddsAndRemovesOnce() {
    QtServices services(QStringList{});
    TrayRecord record;
    record.iconName = "running";
    record.setTip("Vantrel - Running");
    services.add(record);
    QVERIFY(services.present());
    services.add(record);  // already there: nothing changes
    services.remove(record);
    QVERIFY(!services.present());
    services.remove(record);
    QVERIFY(!services.present());
    QVERIFY(!resourceIcon("running").isNull());
    QVERIFY(!resourceIcon("stopped").isNull());
    QVERIFY(resourceIcon("").isNull());
  }

  // The chime that comes with the program decodes. A missing, broken or cut-off file plays
  // nothing and says nothing, and a cut-off one does not hang the program when it ends (Qt's
  // decoder would wait for the rest for ever). Without a tray a notification goes nowhere.
  void soundAndNotifications() {
    const QString chime = home_.path() + QStringLiteral("/app/sound.wav");
    const QString cut = home_.path() + QStringLiteral("/cut.wav");
    const QString broken = home_.path() + QStringLiteral("/broken.wav");
    {
      QtServices services(QStringList{});
      QTRY_VERIFY(QFileInfo::exists(chime));   // copied while the first window shows
      QVERIFY(services.devices() != nullptr);  // the module beside the program
      QFile file(chime);
      QVERIFY(file.open(QIODevice::ReadOnly));
      const QByteArray whole = file.readAll();
      QVERIFY(QtServices::wholeWaveFile(whole));
      for (qsizetype size : {qsizetype(5), qsizetype(44), qsizetype(1000), whole.size() - 1}) {
        QVERIFY2(!QtServices::wholeWaveFile(whole.left(size)), qPrintable(QString::number(size)));
      }
      // data without a format
      QVERIFY(!QtServices::wholeWaveFile(QByteArray("RIFF\x10\0\0\0WAVEdata\x04\0\0\0abcd", 24)));
      for (const auto& [path, bytes] : {std::pair{cut, whole.left(1000)},
                                        std::pair{broken, QByteArray("not a sound at all")}}) {
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(bytes);
      }
      for (const QString& path : {chime, cut, broken, home_.path() + QStringLiteral("/none.wav")}) {
        services.play(path.toStdString());
      }
      services.play(chime.toStdString());
      QSoundEffect effect;
      effect.setSource(QUrl::fromLocalFile(chime));
      QTRY_COMPARE_WITH_TIMEOUT(effect.status(), QSoundEffect::Ready, 5000);
      services.notify("The Timer has Stopped");
    }
  }

  void endingTheProgramStopsTheLoop() {
    QtServices services(QStringList{});
    Form form(services.services(), "frmMain", "Vantrel", 4800, 3600);
    services.attach(form);
    form.onQueryClose = [] { return true; };  // the close box only ever hides or refuses
    form.show();
    QTimer::singleShot(0, [&] { services.quit(); });
    QTimer::singleShot(3000, [] { QCoreApplication::exit(1); });  // a refused quit
    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(form.visible());  // nobody asked the window
    services.releaseWindows();
  }

  // A later start on the folder gives its command line to the running copy, which takes it
  // from the event loop: not while one of its message boxes waits for an answer.
  void aSecondStartHandsItsCommandLineOver() {
    QtServices running(QStringList{});
    QVERIFY(running.claim());
    std::vector<std::string> received;
    running.onHandOver = [&](const std::string& line) { received.push_back(line); };
    QtServices second(QStringList{});
    QVERIFY(!second.claim());

    bool taken = false;
    QTimer::singleShot(0, [&] {
      std::thread start([&] { taken = second.handOver("\"/jobs/caf\xE9.pcl\""); });
      // The box is answered only after the hand-over has come in and been held back.
      QTimer::singleShot(300, [] {
        if (QWidget* box = QApplication::activeModalWidget()) box->close();
      });
      running.show("Busy", Buttons::Ok, {});
      QVERIFY(received.empty());
      start.join();
    });
    QTRY_COMPARE(received.size(), std::size_t{1});
    QVERIFY(taken);
    QCOMPARE(received.front(), std::string("\"/jobs/caf\xE9.pcl\""));
    running.release();
    QtServices next(QStringList{});
    QVERIFY(next.claim());
  }

  void pagesPrintInCentimetres() {
    QtServices services(QStringList{});
    PrintFont font;
    font.points = 10;
    const double narrow = services.textWidth("Invoice", font);
    font.points = 20;
    QVERIFY(narrow > 0.5 && narrow < 3);
    QVERIFY(qAbs(services.textWidth("Invoice", font) - 2 * narrow) < 0.1);

    Page page;
    page.text(2, 2, "Invoice", font);
    page.line(2, 3, 19, 3);
    page.box(2, 4, 19, 10);
    const QString path = home_.path() + QStringLiteral("/page.pdf");
    {
      QPdfWriter writer(path);
      writer.setPageSize(QPageSize(QPageSize::A4));
      QVERIFY(paintPage(page, writer));
    }
    QFile pdf(path);
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    QVERIFY(pdf.read(5) == "%PDF-");
    QVERIFY(pdf.size() > 500);
  }
};

}  // namespace vantrel

QTEST_MAIN(vantrel::QtServicesTest)
#include "qt_services_test.moc"
