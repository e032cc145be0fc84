#pragma once

#include "platform/form.h"

namespace vantrel {

class Vantrel;

// The main window: the job sheet, its clock and the program's own controls.
class MainForm : public Form {
 public:
  explicit MainForm(Vantrel& app);
  void load() override;

 private:
  Vantrel& app_;
};

}  // namespace vantrel
