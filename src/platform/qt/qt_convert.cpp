// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/qt_convert.h"

#include <QFile>
#include <QLocale>
#include <QStringList>
#include <QStyle>

#include "platform/spoken.h"
#include "platform/text_file.h"

// The resources live in a static library, whose registration the linker would drop.
static void registerResources() {
  Q_INIT_RESOURCE(resources);
}

namespace vantrel {

void ensureResources() {
  static const bool registered = (registerResources(), true);
  (void)registered;
}

QPalette::ColorRole systemColourRole(int index) {
  switch (index) {
    case 2:
    case 13:
      return QPalette::Highlight;
    case 3:
    case 16:
      return QPalette::Mid;
    case 5:
      return QPalette::Base;
    case 6:
    case 7:
      return QPalette::WindowText;
    case 8:
    case 19:
      return QPalette::Text;
    case 9:
    case 14:
      return QPalette::HighlightedText;
    case 12:
      return QPalette::Dark;
    case 15:
      return QPalette::Button;
    case 17:
      return QPalette::PlaceholderText;
    case 18:
      return QPalette::ButtonText;
    case 20:
      return QPalette::Light;
    case 21:
      return QPalette::Shadow;
    case 22:
      return QPalette::Midlight;
    case 23:
      return QPalette::ToolTipText;
    case 24:
      return QPalette::ToolTipBase;
    default:
      return QPalette::Window;
  }
}

QColor toQColor(Colour colour, const QPalette& palette) {
  if (colour::isSystem(colour)) {
    return palette.color(QPalette::Active, systemColourRole(static_cast<int>(colour & 0xFFFFFF)));
  }
  return QColor(colour::redOf(colour), colour::greenOf(colour), colour::blueOf(colour));
}

namespace {
QString resourcePath(const std::string& name) {
  ensureResources();
  if (name.empty()) return {};
  QString path = QStringLiteral(":/images/") + toQString(name) + QStringLiteral(".png");
  return QFile::exists(path) ? path : QString();
}
}  // namespace

QPixmap resourcePixmap(const std::string& name) {
  QString path = resourcePath(name);
  return path.isEmpty() ? QPixmap() : QPixmap(path);
}

QIcon resourceIcon(const std::string& name) {
  QString path = resourcePath(name);
  return path.isEmpty() ? QIcon() : QIcon(path);
}

QString qtFileFilter(const std::string& filter) {
  const QStringList parts = toQString(filter).split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString description = parts[i].trimmed();
    QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString& p : patterns) {
      p = p.trimmed();
      if (p == QLatin1String("*.*")) p = QStringLiteral("*");
    }
    // Qt reads the patterns from the parentheses, so they must be the real ones.
    qsizetype open = description.lastIndexOf(QLatin1Char('('));
    if (open > 0 && description.endsWith(QLatin1Char(')'))) description.truncate(open);
    description = description.trimmed();
    if (description.isEmpty()) description = patterns.join(QLatin1Char(' '));
    filters << description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                   QLatin1Char(')');
  }
  return filters.join(QStringLiteral(";;"));
}

QString modelToScreenText(const std::string& text) {
  QString screen = toQString(text);
  screen.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  screen.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return screen;
}

std::string screenToModelText(const QString& text) {
  QString model = text;
  model.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  model.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  return fromQString(model);
}

QString dateFormat() {
  QString format = QLocale::system().dateFormat(QLocale::ShortFormat);
  if (!format.contains(QStringLiteral("yyyy"))) {
    format.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
  }
  return format;
}

QString dateToText(const QDate& date) {
  return QLocale::system().toString(date, dateFormat());
}

QDate dateFromText(const QString& text) {
  const QLocale locale = QLocale::system();
  QDate date = locale.toDate(text, dateFormat());
  if (!date.isValid()) date = locale.toDate(text, QLocale::ShortFormat);
  if (!date.isValid()) date = locale.toDate(text, QLocale::LongFormat);
  if (!date.isValid()) date = QDate::fromString(text, Qt::ISODate);
  if (!date.isValid()) return {};
  // Short formats often carry two-digit years, which Qt reads as 19xx.
  if (date.year() < 1950 && !text.contains(QString::number(date.year()))) {
    date = date.addYears(100);
  }
  return date;
}

QString timeFormatWithSeconds() {
  QString format = QLocale::system().timeFormat(QLocale::ShortFormat);
  if (format.contains(QLatin1Char('s'))) return format;
  qsizetype minutes = format.indexOf(QStringLiteral("mm"));
  if (minutes < 0) return QStringLiteral("HH:mm:ss");
  format.insert(minutes + 2, QStringLiteral(":ss"));
  return format;
}

QString timeFormatWithoutSeconds() {
  const QString format = QLocale::system().timeFormat(QLocale::ShortFormat);
  // The seconds go with the separator before them, and their fraction with them:
  // "HH:mm:ss" becomes "HH:mm", "h.mm.ss.zzz" "h.mm".
  const auto at = [&format](qsizetype i, char c) {
    return i < format.size() && format[i] == QLatin1Char(c);
  };
  QString kept;
  for (qsizetype i = 0; i < format.size();) {
    qsizetype end = i;
    if (!at(i, 'H') && !at(i, 'h') && !at(i, 'm') && !at(i, 's') && at(i + 1, 's')) ++end;
    if (!at(end, 's')) {
      kept += format[i++];
      continue;
    }
    end += at(end + 1, 's') ? 2 : 1;
    if (at(end, '.') && at(end + 1, 'z')) {
      for (end += 2; at(end, 'z');) ++end;
    }
    i = end;
  }
  return kept.contains(QLatin1Char('m')) ? kept : QStringLiteral("HH:mm");
}

int pushButtonMargins(const QWidget& button) {
  const QStyle* style = button.style();
  // The caption is drawn inside the frame; a pixel more on each side keeps it off the edge.
  return 2 * (style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &button) + 1);
}

QString withoutMnemonic(const QString& caption) {
  return toQString(plainCaption(fromQString(caption)));
}

char keyCharFor(const QString& character) {
  const std::string utf8 = fromQString(character);
  if (utf8.size() == 1) return utf8[0];
  if (auto code = toWindows1252(utf8); code && code->size() == 1) return (*code)[0];
  return '?';
}

}  // namespace vantrel
