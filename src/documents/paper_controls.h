// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/form.h"
#include "platform/translation.h"

namespace vantrel {

// The controls of a window that stands for a sheet of paper: white, in Arial, values as bare
// read-only text, and a text too wide for its box drawn smaller rather than cut.
Control* paperLabel(Form& form, std::string name, Geometry g, std::string text, double points);
Control* paperField(Form& form, std::string name, Geometry g, std::string text, Align align,
                    double points);

// A sheet's captions, kept in English, and its figures, shown in the language of the
// customer the sheet is for.
class PaperLanguage {
 public:
  // A label's English caption; an empty one is filled in by the sheet's rules instead.
  void caption(Control* label, const char* english) {
    if (*english != '\0') captions_.push_back({label, english});
  }
  // Every figure of the form reads as `language` writes figures.
  void figures(const std::vector<Control*>& boxes);
  Language language() const { return language_; }
  // False when the sheet spoke it already.
  bool speak(Form& form, Language language);

 private:
  Language language_ = Language::English;
  std::vector<std::pair<Control*, const char*>> captions_;
};

}  // namespace vantrel
