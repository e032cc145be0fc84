#include "timers/side_timer.h"

#include <cmath>
#include <limits>

#include "platform/control.h"
#include "platform/services.h"
#include "platform/text_file.h"
#include "sheet/numbers.h"

namespace vantrel {

int digitValue(const Control& box) {
  const auto number = parseNumber(box.text());
  if (!number || !std::isfinite(*number)) return 0;
  // Digits are small; anything a paste may put in a box stays a whole int.
  constexpr double kLimit = std::numeric_limits<int>::max();
  return static_cast<int>(std::trunc(std::fmax(-kLimit, std::fmin(kLimit, *number))));
}

void setDigit(Control& box, int value) {
  setField(box, std::to_string(value));
}

void playAlarm(Services& services) {
  services.sound.play(joinPath(services.app.folder(), "sound.wav"));
}

}  // namespace vantrel
