// SPDX-License-Identifier: GPL-3.0-or-later
// The yardstick of bench/startup.sh: the least a Qt Widgets program does to show a window.
// One plain QMainWindow about the size of Vantrel's main window (7200 x 8970 twips, 480 x 598
// pixels), shown at once, in the Fusion style as Vantrel's main.cpp sets it; nothing else.
// Its start-up time and memory are what Vantrel's are compared with.
//
//   bash bench/startup.sh          (builds and runs this against Vantrel)

#include <QApplication>
#include <QMainWindow>
#include <QStyle>
#include <QStyleFactory>

#include "platform/startup_marks.h"

int main(int argc, char** argv) {
  vantrel::startupMark("main");
  QApplication app(argc, argv);
  if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) {
    QApplication::setStyle(fusion);
  }
  vantrel::startupMark("platform");
  QMainWindow window;
  window.setWindowTitle(QStringLiteral("Bare window"));
  window.resize(480, 598);
  window.show();
  vantrel::startupMark("shown");
  return QApplication::exec();
}
