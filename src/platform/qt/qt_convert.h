// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Conversions between the model's values and Qt's: texts, colours, twips, pictures,
// file-dialog filters, dates. Kept apart so the tests can check them one by one.

#include <QColor>
#include <QDate>
#include <QIcon>
#include <QPalette>
#include <QPixmap>
#include <QString>
#include <QWidget>
#include <string>

#include "platform/colour.h"

namespace vantrel {

inline QString toQString(const std::string& text) {
  return QString::fromStdString(text);
}
inline std::string fromQString(const QString& text) {
  return text.toStdString();
}

// 15 twips make one pixel at 96 dpi.
inline int twipsToPixels(int twips) {
  return twips >= 0 ? (twips + 7) / 15 : -((-twips + 7) / 15);
}

// The palette role a system colour index stands for (5: window background, 15: button face).
QPalette::ColorRole systemColourRole(int index);
// A stored colour as Qt draws it; system colours come from `palette`.
QColor toQColor(Colour colour, const QPalette& palette);

// Makes the compiled-in pictures and default files reachable under ":/"; idempotent.
void ensureResources();

// Pictures and icons compiled into the program by name ("running", "stopped"); a null
// pixmap or icon when there is none.
QPixmap resourcePixmap(const std::string& name);
QIcon resourceIcon(const std::string& name);

// "Project (*.pcl)|*.pcl|All files (*.*)|*.*" as a Qt filter: "Project (*.pcl);;All files (*)".
QString qtFileFilter(const std::string& filter);

// Multi-line boxes keep CR LF in the model and LF on screen.
QString modelToScreenText(const std::string& text);
std::string screenToModelText(const QString& text);

// The system's short date format, with four-digit years so that no date is ambiguous;
// reading also takes the plain short format (two-digit years land in 1950..2049) and ISO.
QString dateFormat();
QString dateToText(const QDate& date);
QDate dateFromText(const QString& text);

// The system's time format with seconds: the short format, seconds added when it lacks them.
// The system's short time format without seconds, as a moment in a sentence shows.
QString timeFormatWithoutSeconds();
QString timeFormatWithSeconds();

// '&' marks the mnemonic in a caption; "&&" is a literal '&'. Labels show it without the mark.
QString withoutMnemonic(const QString& caption);
// What a push button's frame and margins take of its width, in pixels: the rest is its
// caption's.
int pushButtonMargins(const QWidget& button);

// One typed character as the model's key filters see it: ASCII as is, other characters as
// their Windows-1252 byte, '?' when there is none.
char keyCharFor(const QString& character);

}  // namespace vantrel
