#include <QApplication>
#include <QStyleFactory>

#include "app/vantrel.h"
#include "platform/qt/qt_convert.h"
#include "platform/qt/qt_services.h"

int main(int argc, char** argv) {
  QApplication qapp(argc, argv);
  QApplication::setApplicationName(QStringLiteral("vantrel"));
  QGuiApplication::setDesktopFileName(QStringLiteral("vantrel"));
  // One style everywhere, and one that draws the clock buttons in their palette colours.
  if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) {
    QApplication::setStyle(fusion);
  }
  QApplication::setWindowIcon(vantrel::resourceIcon("stopped"));
  // Closing the main window hides it to the tray; only the exit commands end the program.
  qapp.setQuitOnLastWindowClosed(false);

  vantrel::QtServices platform;
  int status = 0;
  {
    vantrel::Vantrel app(platform.services());
    app.start();
    status = QApplication::exec();
    platform.releaseWindows();
  }
  return status;
}
