// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/form.h"

namespace vantrel {

class Vantrel;

// "You want to EXIT the program?", asked by the countdown window's File > Exit.
class QuitForm : public Form {
 public:
  explicit QuitForm(Vantrel& app);

  Control* Label1 = nullptr;
  Control* Command1 = nullptr;  // Yes
  Control* No = nullptr;        // the "No" button, named frmQEx

 private:
  Vantrel& app_;
};

}  // namespace vantrel
