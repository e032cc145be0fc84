#pragma once

#include <string>

namespace vantrel {

class Control;
struct Services;

// What the countdown and the break reminder share: digits kept as decimal text in their
// boxes, and the program's alarm sound.

// The whole number a digit box reads; a text that is no number reads 0.
int digitValue(const Control& box);
void setDigit(Control& box, int value);

// Plays "sound.wav" of the application folder without waiting; a missing or unplayable file
// plays nothing and is not reported.
void playAlarm(Services& services);

}  // namespace vantrel
