// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/form.h"
#include "platform/services.h"

namespace vantrel {

class Vantrel;

// The agreement flag in the per-user settings store. Missing or anything but a non-zero
// number reads as not accepted.
bool agreementAccepted(SettingsStore& settings);
void acceptAgreement(SettingsStore& settings);

// The licence and usage agreement, shown instead of the splash until the user accepts it.
class AgreementForm : public Form {
 public:
  explicit AgreementForm(Vantrel& app);

  void accept();
  void decline();

  Control* Label1 = nullptr;  // heading
  Control* Text1 = nullptr;   // the agreement
  Control* cmdAccept = nullptr;
  Control* cmdDecline = nullptr;

 private:
  Vantrel& app_;
};

}  // namespace vantrel
