// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace vantrel {

struct Services;

// Plays "sound.wav" of the application folder without waiting, for the countdown's end and
// the break reminder; a missing or unplayable file plays nothing and is not reported.
void playAlarm(Services& services);

}  // namespace vantrel
