// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/window_picture.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QSaveFile>
#include <QScreen>
#include <QStandardPaths>
#include <QStyle>
#include <QTimer>
#include <QWidget>

#include "platform/form.h"
#include "platform/qt/qt_convert.h"

namespace vantrel {

namespace {

// The pixels as they are, after a line of their size: reading a PNG would load Qt's image
// plugins, which cost more than the picture saves.
const QString kSuffix = QStringLiteral(".pixels");
constexpr char kMagic[] = "VANTREL-PIXELS";

// Whatever changes how the window looks: Qt, the screen, and every control as the model has
// it. The fonts are not in it (reading them is what the picture saves); a change of them is
// seen after the first drawing and the picture made again.
QString pictureName(QWidget* area, const Form& form) {
  QByteArray key;
  auto put = [&key](const auto& value) { key += QByteArray::number(value) + '|'; };
  key += qVersion() + QByteArray("|") + QGuiApplication::platformName().toUtf8() + '|' +
         QApplication::style()->name().toUtf8() + '|' + area->font().toString().toUtf8() + '|';
  const QScreen* screen = area->screen();
  put(area->width());
  put(area->height());
  put(area->devicePixelRatioF());
  put(screen != nullptr ? screen->logicalDotsPerInch() : 0.0);
  put(area->palette().color(QPalette::Window).rgba());
  put(form.backColour());
  for (const Control* c : form.controls()) {
    const Geometry& g = c->geometry();
    const Style& s = c->style();
    key += QByteArray::fromStdString(c->name()) + '|' + QByteArray::fromStdString(c->shownText());
    for (const auto value : {static_cast<long long>(c->kind()), static_cast<long long>(g.left),
                             static_cast<long long>(g.top), static_cast<long long>(g.width),
                             static_cast<long long>(g.height), static_cast<long long>(c->visible()),
                             static_cast<long long>(c->backColour()),
                             static_cast<long long>(s.bold), static_cast<long long>(s.align),
                             static_cast<long long>(s.foreColour),
                             static_cast<long long>(s.hasBackColour),
                             static_cast<long long>(s.shrinkToFit)}) {
      put(value);
    }
    put(s.fontPoints);
    key += QByteArray::fromStdString(s.fontName) + '|';
  }
  const QByteArray hash = QCryptographicHash::hash(key, QCryptographicHash::Md5).toHex();
  return toQString(form.name()) + QLatin1Char('-') + QString::fromLatin1(hash) + kSuffix;
}

// In place of the window's older pictures; a cache that cannot be written is no failure.
void keep(const QImage& drawing, const QString& file, const Form& form) {
  const QString folder = WindowPicture::folder();
  if (drawing.isNull() || !QDir().mkpath(folder)) return;
  if (!WindowPicture::write(drawing, folder + QLatin1Char('/') + file)) return;
  const QDir kept(folder);
  const QString older = toQString(form.name()) + QStringLiteral("-*") + kSuffix;
  for (const QString& name : kept.entryList({older}, QDir::Files)) {
    if (name != file) QFile::remove(kept.filePath(name));
  }
}

// After the first real drawing (fonts and all): kept unless the picture shown was the same.
void keepDrawing(QWidget* area, const QString& file, const QImage& shown, const Form& form) {
  const QImage drawing = area->grab().toImage().convertToFormat(QImage::Format_RGB32);
  if (drawing != shown) keep(drawing, file, form);
}

}  // namespace

QImage WindowPicture::read(const QString& path) {
  QFile in(path);
  if (!in.open(QIODevice::ReadOnly)) return {};
  const QList<QByteArray> head = in.readLine(64).trimmed().split(' ');
  bool wide = false, high = false;
  const int width = head.size() == 3 ? head[1].toInt(&wide) : 0;
  const int height = head.size() == 3 ? head[2].toInt(&high) : 0;
  if (head.value(0) != kMagic || !wide || !high || width <= 0 || height <= 0 || width > 16384 ||
      height > 16384) {
    return {};
  }
  // Nothing is made for a file whose size does not match its line.
  const qint64 bytes = qint64{width} * height * 4;
  if (in.size() - in.pos() != bytes) return {};
  QImage picture(width, height, QImage::Format_RGB32);
  if (picture.sizeInBytes() != bytes ||
      in.read(reinterpret_cast<char*>(picture.bits()), bytes) != bytes) {
    return {};
  }
  return picture;
}

bool WindowPicture::write(const QImage& drawing, const QString& path) {
  const QImage pixels = drawing.convertToFormat(QImage::Format_RGB32);
  QSaveFile out(path);
  const QByteArray head = QByteArray(kMagic) + ' ' + QByteArray::number(pixels.width()) + ' ' +
                          QByteArray::number(pixels.height()) + '\n';
  const qint64 bytes = pixels.sizeInBytes();
  return out.open(QIODevice::WriteOnly) && out.write(head) == head.size() &&
         out.write(reinterpret_cast<const char*>(pixels.constBits()), bytes) == bytes &&
         out.commit();
}

QString WindowPicture::folder() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
         QStringLiteral("/vantrel");
}

std::unique_ptr<WindowPicture> WindowPicture::find(QWidget* area, const Form& form) {
  const QString file = pictureName(area, form);
  QImage picture = read(folder() + QLatin1Char('/') + file);
  const QSize pixels = area->size() * area->devicePixelRatioF();
  if (picture.isNull() || picture.size() != pixels) {
    // None yet: made once the window has had time to draw, off its way to the screen.
    QTimer::singleShot(200, area, [area, file, &form] { keepDrawing(area, file, {}, form); });
    return nullptr;
  }
  picture.setDevicePixelRatio(area->devicePixelRatioF());
  return std::unique_ptr<WindowPicture>(new WindowPicture(file, std::move(picture)));
}

WindowPicture::WindowPicture(QString file, QImage picture)
    : file_(std::move(file)), picture_(std::move(picture)) {}

void WindowPicture::paint(QPainter& painter) const {
  painter.drawImage(QPoint(0, 0), picture_);
}

void WindowPicture::uncover(QWidget* area, const Form& form) const {
  area->show();
  // The form outlives its window's widgets, the client area among them.
  QTimer::singleShot(0, area, [area, file = file_, shown = picture_, form = &form] {
    keepDrawing(area, file, shown, *form);
  });
}

}  // namespace vantrel
