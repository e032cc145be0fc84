// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/window_placement.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QScreen>
#include <QStyle>
#include <algorithm>

namespace vantrel {

WindowFit fitToScreen(QSize client, QSize frame, const QRect& available, int scrollBar) {
  WindowFit fit;
  if (available.isEmpty()) {
    // No screen known yet (a Wayland client before the compositor names its outputs).
    fit.client = client;
    return fit;
  }
  const QSize room = (available.size() - frame).expandedTo(QSize(1, 1));
  const bool tall = client.height() > room.height();
  const bool wide = client.width() > room.width();
  fit.scrolls = tall || wide;
  fit.client = client;
  // A scroll bar takes room from the contents: the window grows by it where it can.
  if (tall) fit.client.rwidth() += scrollBar;
  if (wide) fit.client.rheight() += scrollBar;
  fit.client = fit.client.boundedTo(room);
  const QSize outer = fit.client + frame;
  QPoint centred = available.center() - QPoint(outer.width() / 2, outer.height() / 2);
  // Fully on the area; the title bar wins when nothing else would fit.
  centred.setX(std::clamp(centred.x(), available.left(),
                          std::max(available.left(), available.right() + 1 - outer.width())));
  centred.setY(std::clamp(centred.y(), available.top(),
                          std::max(available.top(), available.bottom() + 1 - outer.height())));
  fit.topLeft = centred;
  return fit;
}

QRect availableAreaBeside(const QWidget* owner) {
  QScreen* screen = nullptr;
  if (owner != nullptr && owner->isVisible()) screen = owner->screen();
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->availableGeometry() : QRect();
}

void fitMessageBox(QMessageBox& box) {
  // Room for the title beside the frame's icon and buttons, which the desktop draws in
  // about five title-bar heights; the font is the desktop's title font or near it.
  QFont titleFont = QApplication::font("QMdiSubWindowTitleBar");
  titleFont.setBold(true);
  const QFontMetrics metrics(titleFont);
  const int titleWidth = metrics.horizontalAdvance(box.windowTitle()) + 5 * (metrics.height() + 8);
  if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
    grid->addItem(new QSpacerItem(titleWidth, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
  }
  // Fixed to what its text needs: a window manager offers no maximise button then.
  box.layout()->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace vantrel
