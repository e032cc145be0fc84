// SPDX-License-Identifier: GPL-3.0-or-later
// How a form's window sits on the desktop: what kind of window it is, which window owns it,
// its size on the screen it opens on, where it goes and when it shows.

#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>
#include <QPainter>
#include <QScrollArea>
#include <QStyle>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <utility>

#include "platform/qt/form_widget.h"
#include "platform/qt/qt_convert.h"
#include "platform/qt/window_picture.h"
#include "platform/qt/window_placement.h"

namespace vantrel {

void FormWidget::applyRole() {
  switch (form_.role) {
    case WindowRole::Splash:
      // No title bar and no taskbar entry.
      setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
      break;
    case WindowRole::Side:
    case WindowRole::Dialog:
      // A dialog to the desktop: on X11 only dialogs carry their owner (WM_TRANSIENT_FOR),
      // and a side window is kept in front of the main window and minimised with it.
      setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                     Qt::WindowCloseButtonHint);
      break;
    case WindowRole::Main:
      break;
  }
}

void FormWidget::setOwner(QWidget* owner) {
  if (owner == parentWidget()) return;
  setParent(owner, windowFlags());
}

QSize FormWidget::frameAllowance() const {
  // Once shown, the frame the desktop really drew; before, a classic one.
  if (isVisible()) {
    const QSize drawn = frameGeometry().size() - size();
    if (drawn.width() > 0 || drawn.height() > 0) return drawn;
  }
  if (form_.role == WindowRole::Splash) return {0, 0};
  return {kFrameWidthPx, kFrameHeightPx};
}

void FormWidget::applyFormSize() {
  const QSize design(std::max(1, twipsToPixels(form_.width()) - kFrameWidthPx),
                     std::max(1, twipsToPixels(form_.height()) - kFrameHeightPx));
  if (form_.resizable) {
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    resize(design);
    return;
  }
  // The controls keep their design area. A menu bar taller than the classic one (a larger
  // desktop font, another style) makes the window taller instead of covering the bottom row.
  QSize contents = design;
  int bar = 0;
  if (hasMenuBar_ && !menuBar()->isHidden()) {
    contents.setHeight(std::max(1, design.height() - kMenuBarPx));
    bar = menuBar()->sizeHint().height();
  }
  canvas_->setFixedSize(contents);
  const WindowFit fit =
      fitToScreen(contents + QSize(0, bar), frameAllowance(), availableAreaBeside(owner()),
                  style()->pixelMetric(QStyle::PM_ScrollBarExtent));
  scrollContents(fit.scrolls);
  setFixedSize(fit.client);
  placeAt_ = fit.topLeft;
}

void FormWidget::scrollContents(bool scroll) {
  if (scroll == (scroller_ != nullptr)) return;
  if (scroll) {
    // The client area keeps its design size inside a window the screen has room for.
    scroller_ = new QScrollArea(this);
    scroller_->setObjectName(QStringLiteral("scrolledClientArea"));
    scroller_->setFrameShape(QFrame::NoFrame);
    scroller_->setWidget(takeCentralWidget());
    setCentralWidget(scroller_);
    applyFormColour();
  } else {
    // A screen with room after all (the first screen a Wayland client hears of may be a
    // stand-in): the client area is the window's again.
    QScrollArea* scroller = std::exchange(scroller_, nullptr);
    takeCentralWidget();
    setCentralWidget(scroller->takeWidget());
    delete scroller;
  }
}

void FormWidget::applyFormColour() {
  QPalette palette = canvas_->palette();
  palette.setColor(QPalette::Window, toQColor(form_.backColour(), QApplication::palette()));
  canvas_->setPalette(palette);
  if (scroller_ != nullptr) scroller_->viewport()->setPalette(palette);
}

QWidget* FormWidget::owner() const {
  return parentWidget() != nullptr ? parentWidget()->window() : nullptr;
}

void FormWidget::showForm() {
  QWidget* owner = this->owner();
  if (owner != nullptr && !owner->isVisible() && !revealQueued_) {
    // Shown while its owner is on its way (the company details at a first start): after the
    // owner, so that the desktop stacks it in front and gives it the keys. An owner that
    // stays hidden (in the tray) does not hold it back.
    revealQueued_ = true;
    QTimer::singleShot(0, this, [this] {
      revealQueued_ = false;
      if (!detached_ && form_.visible()) reveal();
    });
    return;
  }
  if (!revealQueued_) reveal();
}

void FormWidget::paintEvent(QPaintEvent* event) {
  if (!picture_) {
    QMainWindow::paintEvent(event);
    return;
  }
  QPainter painter(this);
  picture_->paint(painter);
  // On the screen once this drawing is: the real one follows on the next turn.
  QTimer::singleShot(0, this, [this] { dropPicture(); });
}

void FormWidget::dropPicture() {
  if (!picture_) return;
  const std::unique_ptr<WindowPicture> shown = std::move(picture_);
  ensureBuilt();
  shown->uncover(canvas_, form_);
}

void FormWidget::reveal() {
  if (QWidget* owner = this->owner()) {
    // The desktop learns the owner when the window maps, from its native window: Qt gives a
    // new window its owner's, so the owner needs one first. A window made before its owner
    // had one is told afterwards. (Making the side window's own native window early would
    // leave parts of the main window unpainted on Wayland.)
    owner->winId();
    QWindow* handle = windowHandle();
    if (handle != nullptr && handle->transientParent() != owner->windowHandle()) {
      handle->setTransientParent(owner->windowHandle());
    }
  }
  if (!shownOnce_) {
    shownOnce_ = true;
    applyFormSize();  // for the screen it opens on, which may not be the first one
    move(placeAt_);
    // The window that opens the program shows before the fonts are read, and before its
    // widgets are made: the first text set on one starts Qt's accessibility bridge.
    if (form_.role == WindowRole::Splash) {
      picture_ = WindowPicture::find(canvas_, form_);
      if (picture_) {
        canvas_->hide();
        // A window never drawn (opened minimised, say) does not wait for it for long.
        QTimer::singleShot(1000, this, [this] { dropPicture(); });
      }
    }
  }
  if (!picture_) ensureBuilt();
  applyState();
  show();
  raise();
  activateWindow();
  // Owned windows already open stay in front of it, the last one with the keys.
  FormWidget* front = nullptr;
  for (FormWidget* side : findChildren<FormWidget*>(Qt::FindDirectChildrenOnly)) {
    if (side->isVisible()) front = side;
  }
  if (front != nullptr) {
    front->raise();
    front->activateWindow();
  }
}

void FormWidget::applyState() {
  Qt::WindowStates states = windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
  if (form_.state() == WindowState::Minimized) states |= Qt::WindowMinimized;
  if (form_.state() == WindowState::Maximized) states |= Qt::WindowMaximized;
  if (states == windowState()) return;
  applyingState_ = true;
  setWindowState(states);
  applyingState_ = false;
}

void FormWidget::closeEvent(QCloseEvent* event) {
  // The model decides: it hides the form through its observer, or cancels.
  event->ignore();
  if (!detached_) form_.requestClose();
}

void FormWidget::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (detached_ || applyingState_ || event->type() != QEvent::WindowStateChange) return;
  const Qt::WindowStates states = windowState();
  if (states & Qt::WindowMinimized) {
    form_.setState(WindowState::Minimized);
  } else if (states & Qt::WindowMaximized) {
    form_.setState(WindowState::Maximized);
  } else {
    form_.setState(WindowState::Normal);
  }
}

}  // namespace vantrel
