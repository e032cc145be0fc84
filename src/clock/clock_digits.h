// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace vantrel {

class Control;

// Counts kept as decimal text in their boxes, as the clocks keep their digits: the job
// clock, the countdown and the break reminder.

// The count a text reads; a text that is no number counts as 0, so a damaged box never stops
// a clock.
double readCount(const std::string& text);
// The text a count is written as: "7", "12", "-1".
std::string countText(double value);

double count(const Control& box);
void setCount(Control& box, double value);
void increment(Control& box);

// A clock's time after the days it has run, as shown and read out: "2 days 03:10:00".
std::string timeWithDays(const std::string& days, const std::string& time);

}  // namespace vantrel
