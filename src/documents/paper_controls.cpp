// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/paper_controls.h"

namespace vantrel {

namespace {
Control* onPaper(Control& c, double points) {
  c.setBackColour(colour::white);
  c.style().fontName = "Arial";
  c.style().fontPoints = points;
  c.style().shrinkToFit = true;
  return &c;
}
}  // namespace

Control* paperLabel(Form& form, std::string name, Geometry g, std::string text, double points) {
  return onPaper(form.add(ControlKind::Label, std::move(name), g, std::move(text)), points);
}

Control* paperField(Form& form, std::string name, Geometry g, std::string text, Align align,
                    double points) {
  Control* c = onPaper(form.add(ControlKind::TextBox, std::move(name), g, std::move(text)), points);
  c->style().readOnly = true;
  c->style().borderless = true;
  c->style().align = align;
  return c;
}

}  // namespace vantrel
