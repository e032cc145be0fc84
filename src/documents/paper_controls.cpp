// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/paper_controls.h"

#include "documents/document_language.h"

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

void PaperLanguage::figures(const std::vector<Control*>& boxes) {
  for (Control* box : boxes) {
    box->shows = [this](const std::string& text) { return documentFigure(text, language_); };
  }
}

bool PaperLanguage::speak(Form& form, Language language) {
  if (language == language_) return false;
  language_ = language;
  for (const auto& [control, english] : captions_) setField(*control, trIn(language, english));
  for (Control* c : form.controls()) {
    if (c->shows) c->notify(Property::Text);
  }
  return true;
}

}  // namespace vantrel
