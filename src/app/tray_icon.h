// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/services.h"

namespace vantrel {

class MainForm;

// The program's icon in the tray. The record is rewritten on every add; removal uses the
// record of the last add. The tip follows Text54 but shows only at the next add.
class TrayIcon {
 public:
  explicit TrayIcon(MainForm& main);

  void add();
  void remove();
  void copyTip();  // Text54 changed
  const TrayRecord& record() const { return record_; }

 private:
  MainForm& main_;
  TrayRecord record_;
};

}  // namespace vantrel
