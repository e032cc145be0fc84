#include "timers/countdown_form.h"

#include "app/vantrel.h"

namespace vantrel {

CountdownForm::CountdownForm(Vantrel& app)
    : Form(app.services(), "frmCount", "Countdown Timer", 4500, 3240), app_(app) {
  Timer1a = &addTimer("Timer1a", 1000, false);
}

}  // namespace vantrel
