#pragma once

namespace vantrel {

class MainForm;

// The change rules of the job sheet: hours, rates, amounts, totals and minutes, the ticks of
// the categories, the key filters and the hour calculator.
class JobSheet {
 public:
  explicit JobSheet(MainForm& main);

 private:
  MainForm& main_;
};

}  // namespace vantrel
