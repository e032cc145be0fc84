// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>

#include "platform/form.h"

namespace vantrel {

class Vantrel;

// The labels window: the name of each of the seven categories.
class LabelsForm : public Form {
 public:
  explicit LabelsForm(Vantrel& app);

  Vantrel& app() const { return app_; }

  std::array<Control*, 8> labelText{};  // Text1..Text7
  Control* Command1 = nullptr;          // Close

 private:
  void labelChanged(int i);

  Vantrel& app_;
};

}  // namespace vantrel
