// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>
#include <memory>

#include "app/agreement_form.h"
#include "app/vantrel.h"
#include "platform/qt/qt_services.h"

namespace vantrel {

// The desktop program started as a returning user starts it: the agreement accepted long
// ago, and every message box it shows noted and dismissed. Its windows go before its forms.
struct StartedProgram {
  QtServices platform;
  QStringList boxes;
  QTimer watcher;
  std::unique_ptr<Vantrel> app;

  StartedProgram() {
    acceptAgreement(platform.services().settings);
    QObject::connect(&watcher, &QTimer::timeout, [this] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        boxes << box->text();
        box->reject();
      }
    });
    watcher.start(20);
    app = std::make_unique<Vantrel>(platform.services());
    app->start();
  }
  ~StartedProgram() {
    platform.releaseWindows();
    app.reset();
  }
  QByteArray boxesSeen() const { return boxes.join(QStringLiteral(" | ")).toUtf8(); }
};

}  // namespace vantrel
