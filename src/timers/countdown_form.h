#pragma once

#include "platform/form.h"

namespace vantrel {

class Vantrel;

// The countdown timer window. So far only what the main window's exit commands read: the
// countdown runs exactly while Timer1a is enabled.
class CountdownForm : public Form {
 public:
  explicit CountdownForm(Vantrel& app);

  Vantrel& app() const { return app_; }
  bool running() const { return Timer1a->enabled(); }

  Timer* Timer1a = nullptr;

 private:
  Vantrel& app_;
};

}  // namespace vantrel
