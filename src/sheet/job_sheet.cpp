// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/job_sheet.h"

#include <cmath>
#include <cstdlib>
#include <optional>

#include "app/main_form.h"
#include "app/vantrel.h"
#include "clock/settings_form.h"
#include "documents/invoice_form.h"
#include "documents/report_form.h"
#include "platform/translation.h"
#include "sheet/numbers.h"
#include "store/labels_form.h"
#include "store/options_form.h"
#include "store/project_file.h"
#include "worklog/log_keeper.h"

namespace vantrel {
namespace {

std::optional<double> number(const Control& box) {
  return parseNumber(box.text());
}

bool isZero(const Control& box) {
  return countsAsZero(box.text());
}
bool isNotZero(const Control& box) {
  return countsAsNotZero(box.text());
}

// target := a × b, skipped when either does not read.
void setProduct(Control& target, const Control& a, const Control& b) {
  auto x = number(a), y = number(b);
  if (x && y) setField(target, numberText(*x * *y));
}

// A value in whole cents, when it is within what the sheet holds exactly.
std::optional<std::int64_t> heldCents(double value) {
  if (!(std::fabs(value) * 100 <= static_cast<double>(kLargestCents))) return std::nullopt;
  return std::llround(value * 100);
}

// target := a / b, skipped when either does not read or b is zero.
void setQuotient(Control& target, const Control& a, const Control& b) {
  auto x = number(a), y = number(b);
  if (x && y && *y != 0) setField(target, numberText(*x / *y));
}

}  // namespace

JobSheet::JobSheet(MainForm& main) : main_(main), app_(main.app()) {
  for (int i = 1; i <= 7; ++i) {
    main_.categoryHours[i]->onChange = [this, i] { hoursChanged(i); };
    main_.categoryRate[i]->onChange = [this, i] { rateChanged(i); };
    main_.rateCopy[i]->onChange = [this, i] { computeAmount(i, *main_.rateCopy[i]); };
    main_.categoryAmount[i]->onChange = [this, i] { amountChanged(i); };
    main_.categorySelected[i]->onClick = [this, i] { ticked(i); };
    if (i == 1) continue;
    // Hours of the services take digits and points only; a lone point may not be left.
    Control& hours = *main_.categoryHours[i];
    hours.onKeyPress = [this](char key) {
      if (isNumberKey(key)) return true;
      // TRANSLATORS: told when a key other than a digit or the point is typed in hours.
      main_.services().messages.show(tr("error"));
      return false;
    };
    hours.onFocusLeave = [&hours] { return hours.text() == "." || commaKept(hours); };
    main_.categorySelected[i]->onMouseMove = [this, i](int, int) {
      main_.categorySelected[i]->setTooltip(app_.labels().labelText[i]->text());
    };
    // Until a rate arrives the "@" has nothing to stand for.
    main_.rateAt[i]->setVisible(false);
  }
  for (Control* box : {main_.minuteCounter, main_.calculatorHours, main_.calculatorFactor}) {
    box->figures = true;
  }
  for (int i = 1; i <= 7; ++i) {
    main_.categoryHours[i]->figures = true;
    main_.categoryRate[i]->figures = true;
    Control& rate = *main_.categoryRate[i];
    rate.onFocusLeave = [&rate] { return commaKept(rate); };
    guard(rate, rate);
    guard(*main_.rateCopy[i], rate);
    guard(*main_.categoryHours[i], *main_.categoryHours[i]);
  }
  guard(*main_.minimumAmount, *main_.minimumAmount);
  // The clock's billed minutes become the first category's hours.
  main_.minuteCounter->refuses = [this](std::string_view text) -> std::string {
    auto minutes = parseNumber(text), perHour = number(*main_.minutesPerHour);
    if (!minutes || !perHour || *perHour == 0) return {};
    return refusal(*main_.categoryHours[1], numberText(*minutes / *perHour));
  };
  for (Control* factor : main_.minimumFactor) {
    factor->onChange = [this] {
      setProduct(*main_.minimumAmount, *main_.minimumFactor[0], *main_.minimumFactor[1]);
    };
  }
  main_.totalCost->onChange = [this] { totalCostChanged(); };
  main_.totalHours->onChange = [this] { totalHoursChanged(); };
  main_.minuteCounter->onChange = [this] { minuteCounterChanged(); };
  main_.minuteHours->onChange = [this] {
    setQuotient(*main_.minuteHours, *main_.minuteCounter, *main_.minutesPerHour);
  };
  main_.projectPath->onChange = [this] { projectPathChanged(); };

  auto calculate = [this] {
    setProduct(*main_.calculatorMinutes, *main_.calculatorFactor, *main_.calculatorHours);
  };
  main_.calculatorHours->onChange = calculate;
  main_.calculatorFactor->onChange = calculate;
  main_.calculatorHours->onKeyPress = [this](char key) {
    if (isNumberKey(key)) return true;
    main_.services().messages.show(tr("ERROR Numbers only please."));
    return false;
  };
}

void JobSheet::guardFor(Vantrel& app, Control& box,
                        std::function<const Control&(MainForm&)> target) {
  box.refuses = [&app, target = std::move(target)](std::string_view text) {
    auto* main = static_cast<MainForm*>(app.loadedForm("frmMain"));
    if (main == nullptr || !main->sheet) return std::string();
    return main->sheet->refusal(target(*main), text);
  };
}

bool JobSheet::commaKept(Control& box) {
  auto mistake = commaMistake(box.text());
  if (mistake) box.form().services().messages.show(*mistake);
  return mistake.has_value();
}

std::string JobSheet::refusal(const Control& target, std::string_view text) const {
  auto value = [&](const Control& box) {
    return parseNumber(&box == &target ? text : std::string_view(box.text()));
  };
  if (auto own = parseNumber(text); own && !heldCents(*own)) return tr(kTooLarge);
  std::int64_t total = 0;
  for (int i = 1; i <= 7; ++i) {
    auto rate = value(*main_.categoryRate[i]), hours = value(*main_.categoryHours[i]);
    // An amount whose factors do not both read stays as it is.
    auto amount = rate && hours ? std::optional<double>(*rate * *hours)
                                : parseNumber(main_.categoryAmount[i]->text());
    if (!amount) continue;
    auto cents = heldCents(*amount);
    if (!cents) return tr(kTooLarge);
    total += *cents;
  }
  if (auto minimum = value(*main_.minimumAmount)) total += heldCents(*minimum).value_or(0);
  return std::llabs(total) <= kLargestCents ? std::string() : tr(kTooLarge);
}

void JobSheet::guard(Control& box, const Control& target) const {
  box.refuses = [this, &target](std::string_view text) { return refusal(target, text); };
}

bool JobSheet::newFile() const {
  return main_.projectPath->text() == kNewFileMarker;
}

void JobSheet::disableSave() {
  main_.cmdsav->setEnabled(false);
  main_.save->setEnabled(false);
}

void JobSheet::markUnsaved() {
  // The job is no longer what was saved, and the status line stops saying it is.
  if (main_.statusMessage->text() == tr(kSavedNotice)) setField(*main_.statusMessage, "");
  main_.cmdSave->setEnabled(true);
  main_.save->setEnabled(true);
  main_.cmdsav->setEnabled(true);
  if (newFile()) disableSave();
}

void JobSheet::computeAmount(int i, const Control& rate) {
  setProduct(*main_.categoryAmount[i], rate, *main_.categoryHours[i]);
}

void JobSheet::hoursChanged(int i) {
  Control& hours = *main_.categoryHours[i];
  if (i == 1) setField(hours, formatNumber(hours.text(), "0.0000"));
  computeAmount(i, *main_.categoryRate[i]);
  setField(*app_.report().hours[i], hours.text());
  setField(*app_.invoice().hours[i], hours.text());
  // Hours that do not read count as both zero and not zero: hidden, then shown again. Only
  // the end state is set, so a box being typed in never loses the focus on the way.
  if (isNotZero(hours)) {
    if (i == 1) main_.categorySelected[1]->setEnabled(false);
    hours.setVisible(true);
  } else {
    hours.setVisible(false);
  }
  if (i == 1 && isZero(*main_.minuteCounter)) {
    auto h = number(hours);
    if (h) setField(*main_.minuteCounter, numberText(*h * 60));
  }
  markUnsaved();
}

void JobSheet::rateChanged(int i) {
  Control& rate = *main_.categoryRate[i];
  computeAmount(i, rate);
  setField(*main_.rateCopy[i], rate.text());
  if (i > 1) {
    if (isNotZero(rate)) {
      main_.rateAt[i]->setVisible(true);
      main_.categorySelected[i]->setVisible(true);
    }
    if (rate.text().empty()) main_.rateAt[i]->setVisible(false);
  }
  setField(rate, formatNumber(rate.text(), "0.00"));
}

void JobSheet::amountChanged(int i) {
  Control& amount = *main_.categoryAmount[i];
  recalculateTotals();
  setField(*app_.report().cost[i], amount.text());
  setField(*app_.invoice().amount[i], amount.text());
  setField(amount, formatNumber(amount.text(), "0.00"));
}

void JobSheet::recalculateTotals() {
  std::vector<std::string_view> amounts;
  for (int i = 1; i <= 7; ++i) amounts.push_back(main_.categoryAmount[i]->text());
  amounts.push_back(main_.minimumAmount->text());
  if (auto sum = sumOfAmounts(amounts)) setField(*main_.totalCost, *sum);
  setQuotient(*main_.totalHours, *main_.totalCost, *app_.options().priceListRate[1]);
}

void JobSheet::totalCostChanged() {
  Control& total = *main_.totalCost;
  setField(total, formatNumber(total.text(), "###,###,###,##0.00"));
  setField(*app_.report().totalCost, total.text());
  main_.cmdsav->setEnabled(true);
  main_.save->setEnabled(true);
  app_.settings().Command6->setEnabled(isZero(total) && number(total).has_value());
}

void JobSheet::totalHoursChanged() {
  Control& hours = *main_.totalHours;
  setField(hours, formatNumber(hours.text(), "0.00"));
  setField(*app_.report().totalHours, hours.text());
  setField(*app_.invoice().totalHours, hours.text());
  for (Control* c : {main_.cmdnew, static_cast<Control*>(main_.new1), main_.cmdopen,
                     static_cast<Control*>(main_.open1)}) {
    c->setEnabled(false);
  }
  if (newFile()) disableSave();
}

void JobSheet::minuteCounterChanged() {
  setQuotient(*main_.minuteHours, *main_.minuteCounter, *main_.minutesPerHour);
  setField(*main_.categoryHours[1], main_.minuteHours->text());
  if (main_.projectPath->text().empty()) disableSave();
  setField(*main_.statusMessage, "");
  main_.cmdopen->setEnabled(false);
  main_.cmdnew->setEnabled(false);
  setField(*app_.settings().nextBillableMinute, main_.minuteCounter->text());
}

void JobSheet::projectPathChanged() {
  const std::string& path = main_.projectPath->text();
  if (path.empty() || newFile()) {
    setField(*main_.autosavePath, app_.settings().autosaveTarget->text());
  } else {
    setField(*main_.autosavePath, path);
  }
  if (newFile()) disableSave();
}

void JobSheet::ticked(int i) {
  // Ticking Hours bills the minimum hours at once.
  std::optional<LogKeeper::Hold> minimum;
  if (i == 1) minimum.emplace(*main_.log, EntryKind::Minimum);
  Control& box = *main_.categorySelected[i];
  Control& hours = *main_.categoryHours[i];
  bool on = box.value() != 0;
  if (i == 1) setField(hours, app_.settings().minimumHours->text());
  hours.setVisible(on);
  if (app_.options().priceListRate[i]->text().empty()) app_.options().show();
  if (i > 1 && on && isZero(hours)) {
    setField(hours, "1");
    if (main_.projectPath->text().empty()) setField(*main_.projectPath, kNewFileMarker);
  }
  if (!on) setField(hours, "0");
  // The half hour (or so) that appears at once is the minimum, and is said to be.
  if (i == 1 && on && isNotZero(hours)) {
    const auto minimum = number(*app_.settings().minimumHours);
    if (minimum) {
      setField(*main_.statusMessage,
               // TRANSLATORS: %1 is the minimum hours billed, a figure such as 0.5 or 1.
               fill(tr("Minimum of %1 hours billed."), {numberText(*minimum)}));
    }
  }
  if (box.text().empty()) setField(*main_.statusMessage, tr(kMissingLabel));
}

}  // namespace vantrel
