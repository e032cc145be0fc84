// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/translation.h"

namespace vantrel {

class Control;
class MainForm;
class Vantrel;

// The change rules of the job sheet: hours, rates, amounts, totals and minutes, the ticks of
// the categories, the key filters, the focus check and the hour calculator. The sheet keeps
// no state of its own: every value is the text of a box, and each rule runs when its box
// changes (see setField).
class JobSheet {
 public:
  explicit JobSheet(MainForm& main);

  // Total cost from the seven amounts and the minimum amount, then the total hours.
  void recalculateTotals();

  // What a change of the job does to the file commands.
  void markUnsaved();

  // Why `text` may not go into `target` (a rate, hours or the minimum amount): it would
  // take an amount or the total past what the sheet holds exactly. Empty when it may.
  std::string refusal(const Control& target, std::string_view text) const;
  // `box` refuses what `target` would refuse: the box itself, or one whose text goes there.
  void guard(Control& box, const Control& target) const;
  // Leaving a box of figures with a decimal comma in it says how to write the figure; true
  // keeps the focus there.
  static bool commaKept(Control& box);
  // `box` in another window refuses what the sheet's `target` would, once the sheet is
  // there (before, nothing is computed from it).
  static void guardFor(Vantrel& app, Control& box, std::function<const Control&(MainForm&)> target);

  static constexpr const char* kNewFileMarker = "Save New File";
  static constexpr const char* kMissingLabel =
      N_("Please fill in a label, you will find this in Options");

 private:
  void hoursChanged(int i);
  void rateChanged(int i);
  void computeAmount(int i, const Control& rate);
  void amountChanged(int i);
  void totalCostChanged();
  void totalHoursChanged();
  void minuteCounterChanged();
  void projectPathChanged();
  void ticked(int i);
  void disableSave();
  bool newFile() const;

  MainForm& main_;
  Vantrel& app_;
};

}  // namespace vantrel
