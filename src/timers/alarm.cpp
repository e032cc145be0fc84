// SPDX-License-Identifier: GPL-3.0-or-later
#include "timers/alarm.h"

#include "platform/services.h"
#include "platform/text_file.h"

namespace vantrel {

void playAlarm(Services& services) {
  services.sound.play(joinPath(services.app.folder(), "sound.wav"));
}

}  // namespace vantrel
