// SPDX-License-Identifier: GPL-3.0-or-later
// The module behind qt_devices.h: Qt Multimedia's sound effects and Qt Print Support's
// printers.

#include "platform/qt/devices/qt_devices.h"

#include <QPrinter>
#include <QPrinterInfo>
#include <QSoundEffect>
#include <map>
#include <memory>

namespace vantrel {
namespace {

class Devices final : public QtDevices {
 public:
  void play(const QUrl& source) override {
    auto effect = sounds_.find(source.toString());
    if (effect == sounds_.end()) {
      // One effect per file, its source set once: the sample cache can deadlock when a
      // source changes while the old sample is still loading.
      effect = sounds_.emplace(source.toString(), std::make_unique<QSoundEffect>()).first;
      effect->second->setSource(source);
    }
    // Played once loaded; a file that does not decode ends in the Error status and plays
    // nothing.
    effect->second->play();
  }

  bool printersInstalled() override { return !QPrinterInfo::availablePrinterNames().isEmpty(); }

  QString printerName() override {
    auto printer = defaultPrinter();
    return printer ? printer->printerName() : QString();
  }

  QRectF printableAreaMm() override {
    auto printer = defaultPrinter();
    return printer ? printer->pageLayout().paintRect(QPageLayout::Millimeter) : QRectF();
  }

  PrintResult print(const std::function<bool(QPagedPaintDevice&)>& paint) override {
    auto printer = defaultPrinter();
    if (!printer) return {false, kNoPrinter};
    if (!printer->isValid()) return {false, kPrinterUnusable};
    if (!paint(*printer)) return {false, kPrinterNotStarted};
    if (printer->printerState() == QPrinter::Error) return {false, kPrinterError};
    return {true, {}};
  }

 private:
  static std::unique_ptr<QPrinter> defaultPrinter() {
    QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
      const QList<QPrinterInfo> all = QPrinterInfo::availablePrinters();
      if (all.isEmpty()) return nullptr;
      info = all.first();
    }
    auto printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    printer->setPageSize(QPageSize(QPageSize::A4));
    printer->setDocName(QStringLiteral("Vantrel"));
    return printer;
  }

  std::map<QString, std::unique_ptr<QSoundEffect>> sounds_;  // by file address
};

}  // namespace
}  // namespace vantrel

extern "C" Q_DECL_EXPORT vantrel::QtDevices* vantrel_create_devices() {
  return new vantrel::Devices();
}
