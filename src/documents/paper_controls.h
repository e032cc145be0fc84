// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "platform/form.h"

namespace vantrel {

// The controls of a window that stands for a sheet of paper: white, in Arial, values as bare
// read-only text, and a text too wide for its box drawn smaller rather than cut.
Control* paperLabel(Form& form, std::string name, Geometry g, std::string text, double points);
Control* paperField(Form& form, std::string name, Geometry g, std::string text, Align align,
                    double points);

}  // namespace vantrel
