// SPDX-License-Identifier: GPL-3.0-or-later
// The printer side of QtServices: pages drawn in centimetres, on the printer and as PDF
// files.

#include "platform/qt/qt_printing.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>

#include "platform/form.h"
#include "platform/qt/devices/qt_devices.h"
#include "platform/qt/form_widget.h"
#include "platform/qt/qt_convert.h"
#include "platform/qt/qt_services.h"
#include "platform/text_file.h"
#include "platform/translation.h"

namespace vantrel {
namespace {

constexpr double kCmPerInch = 2.54;
constexpr int kPdfDpi = 1200;

WriteResult writtenTo(const std::string& path,
                      const std::function<bool(QPagedPaintDevice&)>& paint) {
  const QByteArray bytes = pdfPage(paint);
  // TRANSLATORS: why a PDF file could not be saved, shown as "Could not save %1: %2".
  if (bytes.isEmpty()) return {false, tr("the page could not be drawn")};
  return writeBytes(path, bytes.toStdString());
}

}  // namespace

QFont printFont(const PrintFont& font) {
  QFont qfont;
  // Liberation Sans and Arimo are drawn to Arial's widths, so the page keeps its layout.
  qfont.setFamilies(
      {toQString(font.name), QStringLiteral("Liberation Sans"), QStringLiteral("Arimo")});
  qfont.setPointSizeF(font.points > 0 ? font.points : 10);
  qfont.setBold(font.bold);
  qfont.setItalic(font.italic);
  qfont.setUnderline(font.underline);
  return qfont;
}

bool paintPage(const Page& page, QPagedPaintDevice& device) {
  QPainter painter;
  if (!painter.begin(&device)) return false;
  const double dpi = device.logicalDpiX();
  auto at = [dpi](double cm) { return cm / kCmPerInch * dpi; };
  QPen pen(Qt::black);
  pen.setWidthF(std::max(1.0, dpi / 150.0));  // about a sixth of a millimetre
  painter.setPen(pen);
  painter.setBrush(Qt::NoBrush);
  for (const PageItem& item : page.items) {
    switch (item.kind) {
      case PageItem::Kind::Text: {
        painter.setFont(printFont(item.font));
        const QFontMetricsF metrics(painter.font(), &device);
        // The position is the top left of the text, as the layout measures it.
        painter.drawText(QPointF(at(item.x1), at(item.y1) + metrics.ascent()),
                         toQString(item.text));
        break;
      }
      case PageItem::Kind::Line:
        painter.drawLine(QPointF(at(item.x1), at(item.y1)), QPointF(at(item.x2), at(item.y2)));
        break;
      case PageItem::Kind::Box:
        painter.drawRect(
            QRectF(QPointF(at(item.x1), at(item.y1)), QPointF(at(item.x2), at(item.y2)))
                .normalized());
        break;
      case PageItem::Kind::NewPage:
        if (!device.newPage()) return false;
        break;
    }
  }
  return painter.end();
}

QByteArray pdfPage(const std::function<bool(QPagedPaintDevice&)>& paint) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    writer.setResolution(kPdfDpi);
    writer.setCreator(QString::fromLatin1(QtServices::kTitle));
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
    if (!paint(writer)) return {};
  }
  return buffer.data();
}

bool QtServices::installed() {
  QtDevices* printers = devices();
  return printers != nullptr && printers->printersInstalled();
}

std::string QtServices::deviceName() {
  QtDevices* printers = devices();
  return printers ? fromQString(printers->printerName()) : std::string();
}

PrintArea QtServices::printableArea() {
  QtDevices* printers = devices();
  const QRectF area = printers ? printers->printableAreaMm() : QRectF();
  if (area.isEmpty()) return {};
  return {area.width() / 10.0, area.height() / 10.0};
}

double QtServices::textWidth(const std::string& text, const PrintFont& font) {
  // Measured at a printer's resolution, where the rounding of a screen does not show.
  constexpr int kDpi = 1200;
  QImage reference(1, 1, QImage::Format_RGB32);
  reference.setDotsPerMeterX(qRound(kDpi / 0.0254));
  reference.setDotsPerMeterY(qRound(kDpi / 0.0254));
  const QFontMetricsF metrics(printFont(font), &reference);
  return metrics.horizontalAdvance(toQString(text)) / kDpi * kCmPerInch;
}

PrintResult QtServices::printPage(const Page& page) {
  QtDevices* printers = devices();
  if (!printers) return {false, tr(kNoPrinter)};
  PrintResult printed =
      printers->print([&page](QPagedPaintDevice& device) { return paintPage(page, device); });
  // The module cannot reach the catalogs: it gives its reasons in English, translated here.
  if (!printed) printed.error = tr(printed.error.c_str());
  return printed;
}

WriteResult QtServices::exportPage(const Page& page, const std::string& path) {
  return writtenTo(path, [&page](QPagedPaintDevice& device) { return paintPage(page, device); });
}

}  // namespace vantrel
