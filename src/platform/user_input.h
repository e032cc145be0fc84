// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/control.h"
#include "platform/form.h"

namespace vantrel {

// What a user's mouse and keys do to the model. The Qt view and the script driver both
// come through here, so a scripted story takes the same path as a real one.
// Each returns false when the action did not go ahead (the focus was kept elsewhere).

// Boxes and lists the user types into or picks from, and the controls clicked as buttons;
// both take the focus when clicked.
bool isEntryKind(ControlKind kind);
bool isButtonKind(ControlKind kind);

void userPress(Control& control);
// Mouse press and click: a check box toggles, an option is chosen, a menu item runs.
bool userClick(Control& control);
// The click alone, without the press before it.
bool userActivate(Control& control);
// Space or Enter on a focused control, or a screen reader's press: a button's press rule
// runs first, as the mouse's does, so the keyboard does what the mouse does (the clock's
// buttons set the highlight the watchdog obeys). Menu items and lists get the click alone.
bool userKeyActivate(Control& control);
// The character a key types into `box`: a comma typed into a box of figures under a
// decimal-comma locale is the point; anything else is itself.
char typedKey(const Control& box, char key);
// One typed character through the box's key filter; 8 is backspace, '\r' Enter.
bool userType(Control& box, char key);
bool userLeave(Control& box);
// A text typed or pasted into a box that refuses it: says why, once; the box keeps its text.
bool userRefuses(Control& box, std::string_view text);
bool userDoubleClick(Control& control);

}  // namespace vantrel
