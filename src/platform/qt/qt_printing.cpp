// The printer side of QtServices: pages drawn in centimetres and pictures of forms.

#include "platform/qt/qt_printing.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>

#include "platform/form.h"
#include "platform/qt/form_widget.h"
#include "platform/qt/qt_convert.h"
#include "platform/qt/qt_services.h"

namespace vantrel {
namespace {

constexpr double kCmPerInch = 2.54;
constexpr double kScreenDpi = 96;  // forms are laid out in twips at 96 dpi

QFont toQFont(const PrintFont& font) {
  QFont qfont(toQString(font.name));
  qfont.setPointSizeF(font.points > 0 ? font.points : 10);
  qfont.setBold(font.bold);
  qfont.setItalic(font.italic);
  qfont.setUnderline(font.underline);
  return qfont;
}

}  // namespace

bool paintPage(const Page& page, QPaintDevice& device) {
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
        painter.setFont(toQFont(item.font));
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
    }
  }
  return painter.end();
}

bool paintPicture(const QImage& picture, QPagedPaintDevice& device) {
  if (picture.isNull()) return false;
  QPainter painter;
  if (!painter.begin(&device)) return false;
  const double dpi = device.logicalDpiX();
  // The window's own size on paper, shrunk to the printable width when wider.
  const QSizeF logical = QSizeF(picture.size()) / picture.devicePixelRatio();
  QSizeF size = logical / kScreenDpi * dpi;
  const QRectF area = QRectF(QPointF(0, 0), QSizeF(device.width(), device.height()));
  if (size.width() > area.width() || size.height() > area.height()) {
    size.scale(area.size(), Qt::KeepAspectRatio);
  }
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(QRectF(QPointF(0, 0), size), picture);
  return painter.end();
}

std::string QtServices::deviceName() {
  QString name = QPrinterInfo::defaultPrinterName();
  if (name.isEmpty()) {
    const QStringList names = QPrinterInfo::availablePrinterNames();
    name = names.isEmpty() ? QStringLiteral("PDF") : names.first();
  }
  return fromQString(name);
}

double QtServices::textWidth(const std::string& text, const PrintFont& font) {
  // Measured at a printer's resolution, where the rounding of a screen does not show.
  constexpr int kDpi = 600;
  QImage reference(1, 1, QImage::Format_RGB32);
  reference.setDotsPerMeterX(qRound(kDpi / 0.0254));
  reference.setDotsPerMeterY(qRound(kDpi / 0.0254));
  const QFontMetricsF metrics(toQFont(font), &reference);
  return metrics.horizontalAdvance(toQString(text)) / kDpi * kCmPerInch;
}

std::unique_ptr<QPrinter> QtServices::choosePrinter() {
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  printer->setPageSize(QPageSize(QPageSize::A4));
  printer->setDocName(QString::fromLatin1(kTitle));
  if (!QPrinterInfo::availablePrinterNames().isEmpty()) {
    QPrintDialog dialog(printer.get(), QApplication::activeWindow());
    dialog.setWindowTitle(QString::fromLatin1(kTitle));
    if (dialog.exec() != QDialog::Accepted) return nullptr;
    return printer;
  }
  // No printer on this system: the page goes to a PDF file of the user's choice.
  FileDialogRequest request;
  request.save = true;
  request.title = "Print to PDF";
  request.filter = "PDF document (*.pdf)|*.pdf";
  request.folder = folder_;
  request.proposed = "Vantrel.pdf";
  const auto path = choose(request);
  if (!path) return nullptr;
  printer->setOutputFormat(QPrinter::PdfFormat);
  printer->setOutputFileName(toQString(*path));
  return printer;
}

bool QtServices::printPage(const Page& page) {
  auto printer = choosePrinter();
  return printer && paintPage(page, *printer);
}

bool QtServices::printForm(const Form& form) {
  FormWidget* view = window(form);
  if (view == nullptr) return false;
  const QImage picture = view->grabClientArea();
  auto printer = choosePrinter();
  return printer && paintPicture(picture, *printer);
}

}  // namespace vantrel
