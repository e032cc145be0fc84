// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAccessible>
#include <QApplication>
#include <QLibraryInfo>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>

#include "app/command_line.h"
#include "app/vantrel.h"
#include "platform/qt/qt_convert.h"
#include "platform/qt/qt_services.h"
#include "platform/startup_marks.h"
#include "platform/translation.h"

int main(int argc, char** argv) {
  vantrel::startupMark("main");
  // --help and --version answer before Qt looks for a display, so they work without one.
  if (const auto reply = vantrel::commandLineReply(argc, argv)) {
    const bool written = std::fputs(reply->c_str(), stdout) >= 0 && std::fflush(stdout) == 0;
    return written ? EXIT_SUCCESS : EXIT_FAILURE;
  }
  QApplication qapp(argc, argv);
  QApplication::setApplicationName(QStringLiteral("vantrel"));
  QGuiApplication::setDesktopFileName(QStringLiteral("app.vantrel.Vantrel"));
  // One style everywhere, and one that draws the clock buttons in their palette colours.
  // Its own light palette too: the windows set light backgrounds of their own, which a dark
  // desktop palette's light text would not show on.
  if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) {
    QApplication::setStyle(fusion);
    QPalette palette = fusion->standardPalette();
    // Disabled captions stay readable on the sheet's grey, which the standard grey is not.
    const QColor dimmed(110, 110, 110);
    for (auto role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text}) {
      palette.setColor(QPalette::Disabled, role, dimmed);
    }
    QApplication::setPalette(palette);
  }
  // Qt's own dialogs and buttons in the program's language, where Qt's translations are
  // installed; the program's texts come from its own catalogs.
  QTranslator qtTexts;
  if (const vantrel::Language language = vantrel::programLanguage();
      language != vantrel::Language::English &&
      qtTexts.load(QStringLiteral("qtbase_") + QString::fromLatin1(vantrel::languageCode(language)),
                   QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(&qtTexts);
  }
  // Closing the main window hides it to the tray; only the exit commands end the program.
  qapp.setQuitOnLastWindowClosed(false);
  vantrel::startupMark("platform");

  vantrel::QtServices platform;
  // Qt has taken its own options out of argv by now.
  platform.setCommandLine(vantrel::QtServices::commandLineOf(argc, argv));
  int status = 0;
  {
    vantrel::Vantrel app(platform.services());
    app.start();
    vantrel::startupMark("shown");
    // After the first window is on its way: reading the picture loads Qt's image plugins.
    QApplication::setWindowIcon(vantrel::resourceIcon("stopped"));
    status = QApplication::exec();
    platform.releaseWindows();
  }
  return status;
}
