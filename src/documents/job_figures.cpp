// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/job_figures.h"

#include "app/main_form.h"
#include "app/vantrel.h"
#include "sheet/job_sheet.h"
#include "sheet/numbers.h"

namespace vantrel {

std::string unreadableFigure(const MainForm& main) {
  struct Figure {
    const char* what;
    const char* verb;
    const std::array<Control*, 8>& boxes;
  };
  const Figure figures[] = {{"rate", "is", main.categoryRate},
                            {"hours", "are", main.categoryHours},
                            {"amount", "is", main.categoryAmount}};
  for (int i = 1; i <= 7; ++i) {
    for (const Figure& figure : figures) {
      const std::string& text = figure.boxes[i]->text();
      if (text.empty() || parseNumber(text)) continue;
      std::string name = main.categorySelected[i]->text();
      if (name.empty()) name = "category " + std::to_string(i);
      std::string why = "The " + std::string(figure.what) + " of " + name + ", " + text + ", " +
                        figure.verb + " not a number";
      const auto fixed = commaCorrected(text);
      return why + (fixed ? ": write " + *fixed + "." : ".");
    }
  }
  return {};
}

bool figuresRefused(Vantrel& app) {
  MainForm& main = app.main();
  const std::string why = unreadableFigure(main);
  if (why.empty()) return false;
  main.services().messages.show(why);
  return true;
}

DocumentName documentName(const MainForm& main, const Control& invoiceNumber,
                          const Control& project) {
  const std::string& file = main.projectPath->text();
  return {invoiceNumber.text(), project.text(),
          file == JobSheet::kNewFileMarker ? std::string() : file};
}

}  // namespace vantrel
