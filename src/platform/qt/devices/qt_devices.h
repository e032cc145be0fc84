// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Sound and printers. Qt Multimedia and Qt Print Support, with the sound, codec, printing and
// network libraries they bring, live in a module of their own (libvantrel_devices.so) that the
// program loads the first time it plays a sound or asks for a printer: it starts without them.

#include <QRectF>
#include <QString>
#include <QUrl>
#include <functional>

#include "platform/services.h"
#include "platform/translation.h"

class QPagedPaintDevice;

namespace vantrel {

class QtDevices {
 public:
  virtual ~QtDevices() = default;

  // Plays a whole WAVE file asynchronously; one effect per file, failures ignored.
  virtual void play(const QUrl& source) = 0;

  // The printer the program prints on is the system's default, else its first, on A4.
  virtual bool printersInstalled() = 0;
  virtual QString printerName() = 0;     // empty: no printer
  virtual QRectF printableAreaMm() = 0;  // empty: no printer
  // A failure's reason is one of the texts below, in English: the module has no catalogs,
  // so the program translates it.
  virtual PrintResult print(const std::function<bool(QPagedPaintDevice&)>& paint) = 0;
};

// TRANSLATORS: why printing failed, shown as "Printing failed: %1".
inline constexpr const char* kNoPrinter = N_("no printer is installed");
// TRANSLATORS: why printing failed, shown as "Printing failed: %1".
inline constexpr const char* kPrinterUnusable = N_("the printer cannot be used");
// TRANSLATORS: why printing failed, shown as "Printing failed: %1".
inline constexpr const char* kPrinterNotStarted = N_("the printer could not be started");
// TRANSLATORS: why printing failed, shown as "Printing failed: %1".
inline constexpr const char* kPrinterError = N_("the printer reported an error");

}  // namespace vantrel

// The module's one entry point; the caller owns the object.
extern "C" vantrel::QtDevices* vantrel_create_devices();
