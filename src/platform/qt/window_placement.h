// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QMessageBox;
class QWidget;

namespace vantrel {

// How a window of a given size sits on a screen.
struct WindowFit {
  QSize client;          // the window's size inside its frame
  QPoint topLeft;        // where its frame's top left corner goes
  bool scrolls = false;  // the contents are larger than the window and scroll
};

// A window wants `client` inside a frame of `frame` (the title bar and borders together).
// It keeps that size where the screen's free area has room; otherwise it takes what there
// is, its contents scroll (a scroll bar of `scrollBar` pixels is added where there is
// room for it) and it is placed fully on the area, title bar first. An empty area (no
// screen known yet) leaves the window as it wants to be.
WindowFit fitToScreen(QSize client, QSize frame, const QRect& available, int scrollBar);

// The free area of the screen a window opens on: its owner's screen when the owner is
// shown, else the primary one; empty while there is no screen.
QRect availableAreaBeside(const QWidget* owner);

// A message box as a dialog: its size fixed, no maximise button, and wide enough for its
// whole title.
void fitMessageBox(QMessageBox& box);

}  // namespace vantrel
