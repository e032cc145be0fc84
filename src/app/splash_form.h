// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "platform/form.h"
#include "platform/services.h"

namespace vantrel {

class Vantrel;

// "Version 1.0.51": how the windows show the program's version.
std::string versionText(const Version& version);

// The first window: the product's name and version for a moment, then the main window. It
// stands aside for the agreement window until the user has accepted the agreement.
class SplashForm : public Form {
 public:
  explicit SplashForm(Vantrel& app);
  void load() override;

  bool waitingForAgreement() const { return waiting_; }
  // The agreement was accepted: show again and count the moment afresh.
  void resume();
  // The moment is over (Timer5), or the user pressed a key or clicked: on to the main window.
  void dismiss();

  Control* Label1 = nullptr;  // the product's name
  Control* Label2 = nullptr;  // what it is for
  Control* lblVersion = nullptr;
  Timer* Timer5 = nullptr;

 private:
  Vantrel& app_;
  bool waiting_ = false;
  bool dismissed_ = false;
};

}  // namespace vantrel
