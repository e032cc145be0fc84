// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QString>
#include <memory>

class QPainter;
class QWidget;

namespace vantrel {

class Form;

// The first drawing of the window that opens the program, without waiting for the fonts.
// Reading the desktop's font configuration takes longer than a bare window takes to show,
// so that window first shows a picture of how it looked the last time it opened with the
// same texts, size and screen, kept in the user's cache folder ($XDG_CACHE_HOME/vantrel),
// and is drawn for real straight after, once the picture is on the screen. A picture that
// no longer matches what is drawn (other fonts, say) is replaced; a missing or unreadable
// one is simply made.
//
// The window draws the picture itself while its client area waits hidden: a window with a
// child on show starts Qt's accessibility bridge before it maps, a bare one after.
class WindowPicture {
 public:
  // The picture kept for `area`, the client area of `form`'s window; null when there is
  // none, and then the drawing is kept once the window has drawn.
  static std::unique_ptr<WindowPicture> find(QWidget* area, const Form& form);

  // Where the pictures are kept, and how one is read (null when it does not read) and written.
  static QString folder();
  static QImage read(const QString& path);
  static bool write(const QImage& drawing, const QString& path);

  void paint(QPainter& painter) const;
  // Shows the client area, and keeps its drawing unless the picture already matched it.
  void uncover(QWidget* area, const Form& form) const;

 private:
  WindowPicture(QString file, QImage picture);

  QString file_;
  QImage picture_;
};

}  // namespace vantrel
