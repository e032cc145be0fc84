// SPDX-License-Identifier: GPL-3.0-or-later
#include "worklog/log_form.h"

#include <algorithm>
#include <array>
#include <map>

#include "app/main_form.h"
#include "app/vantrel.h"
#include "contacts/customer_form.h"
#include "platform/text_file.h"
#include "platform/translation.h"
#include "sheet/job_sheet.h"
#include "worklog/log_export.h"
#include "worklog/log_keeper.h"

namespace vantrel {
namespace {

// TRANSLATORS: a file dialog's filters: translate the descriptions ("Spreadsheet (*.csv)",
// "Calendar (*.ics)") only; the patterns after each "|" stay as they are.
constexpr const char* kFilter = N_("Spreadsheet (*.csv)|*.csv|Calendar (*.ics)|*.ics");
constexpr int kRow = 315;

// Monday-based weeks counted from the week of 1970-01-01 (a Thursday).
std::int64_t weekOf(std::int64_t dayNumber) {
  const std::int64_t shifted = dayNumber + 3;
  return shifted >= 0 ? shifted / 7 : -((-shifted + 6) / 7);
}

std::optional<int> number(const std::string& text, std::size_t from, std::size_t to) {
  if (from >= to || to > text.size() || to - from > 4) return std::nullopt;
  int value = 0;
  for (std::size_t i = from; i < to; ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

// 2026-12-10, or 10.12.2026 as a German or French user writes it.
std::optional<std::array<int, 3>> readDate(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
  const std::size_t dash1 = text.find('-');
  if (dash1 != std::string::npos) {
    const std::size_t dash2 = text.find('-', dash1 + 1);
    if (dash2 == std::string::npos) return std::nullopt;
    const auto y = number(text, 0, dash1), m = number(text, dash1 + 1, dash2),
               d = number(text, dash2 + 1, text.size());
    if (!y || !m || !d || dash1 != 4) return std::nullopt;
    return std::array<int, 3>{*y, *m, *d};
  }
  const std::size_t dot1 = text.find('.');
  const std::size_t dot2 = dot1 == std::string::npos ? dot1 : text.find('.', dot1 + 1);
  if (dot2 == std::string::npos) return std::nullopt;
  const auto d = number(text, 0, dot1), m = number(text, dot1 + 1, dot2),
             y = number(text, dot2 + 1, text.size());
  if (!y || !m || !d || text.size() - dot2 - 1 != 4) return std::nullopt;
  return std::array<int, 3>{*y, *m, *d};
}

// 9:30, 09:30 or 09:30:15.
std::optional<std::array<int, 3>> readTime(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
  const std::size_t colon1 = text.find(':');
  if (colon1 == std::string::npos) return std::nullopt;
  const std::size_t colon2 = text.find(':', colon1 + 1);
  const auto h = number(text, 0, colon1);
  const auto m = number(text, colon1 + 1, colon2 == std::string::npos ? text.size() : colon2);
  const auto s =
      colon2 == std::string::npos ? std::optional<int>(0) : number(text, colon2 + 1, text.size());
  if (!h || !m || !s || *h > 23 || *m > 59 || *s > 59) return std::nullopt;
  return std::array<int, 3>{*h, *m, *s};
}

// The kind of an entry as the window shows it; the file and the exports keep kindWord's.
std::string kindShown(EntryKind kind) {
  switch (kind) {
    case EntryKind::Run:
      return trc("work log entry", "run");
    case EntryKind::Manual:
      return trc("work log entry", "manual");
    case EntryKind::Adjustment:
      return trc("work log entry", "adjustment");
    case EntryKind::Minimum:
      return trc("work log entry", "minimum");
    case EntryKind::Correction:
      return trc("work log entry", "correction");
    case EntryKind::Reset:
      return trc("work log entry", "reset");
    case EntryKind::CarriedOver:
      return trc("work log entry", "carried over");
    case EntryKind::AwayRemoved:
      return trc("work log entry", "away removed");
  }
  return kindWord(kind);
}

bool endsWith(std::string text, const std::string& end) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

LogForm::LogForm(Vantrel& app)
    : Form(app.services(), "frmLog", tr("Work Log"), 10440, 7500),
      app_(app),
      dialog_(app.services(), tr(kFilter)) {
  resizable = false;
  design();
  keeper().onChanged = [this] {
    if (visible()) rebuild();
  };
  onQueryClose = [this] {
    hide();
    return true;
  };
}

LogForm::~LogForm() {
  keeper().onChanged = nullptr;
}

LogKeeper& LogForm::keeper() const {
  return *app_.main().log;
}

void LogForm::design() {
  grdLog = &addTable("grdLog", {120, 120, 9960, 4200});
  grdLog->columns = {
      {tr("Date"), 1260, Align::Left, false},   {tr("From"), 900, Align::Left, false},
      {tr("To"), 900, Align::Left, false},      {tr("Duration"), 1080, Align::Right, false},
      {tr("Billed"), 900, Align::Right, false}, {tr("Kind"), 1320, Align::Left, false},
      {tr("Note"), 3300, Align::Left, true}};
  grdLog->spoken.name = tr("Work log entries");
  grdLog->rowCount = [this] { return rows_.size(); };
  grdLog->cell = [this](std::size_t row, std::size_t column) { return cell(row, column); };
  grdLog->emphasised = [this](std::size_t row) {
    return row < rows_.size() && rows_[row].type != Row::Type::Entry;
  };
  grdLog->edit = [this](std::size_t row, std::size_t column, const std::string& text) {
    const auto entry = entryOf(row);
    if (column != Note || !entry) return tr("Only an entry's note can be typed here.");
    return keeper().setNote(*entry, text);
  };
  grdLog->onSelect = [this] { selected(); };

  lblTotals = &add(ControlKind::Label, "lblTotals", {120, 4380, 9960, 255}, "");
  lblTotals->spoken.live = false;

  Control* entry = &add(ControlKind::Frame, "fraEntry", {120, 4740, 9960, 1380}, tr("Entry"));
  add(ControlKind::Label, "lblDate", {120, 345, 540, 255}, tr("&Date"), entry);
  txtDate = &add(ControlKind::TextBox, "txtDate", {660, 300, 1320, kRow}, "", entry);
  txtDate->setTooltip(tr("The day, as 2026-12-10"));
  add(ControlKind::Label, "lblFrom", {2160, 345, 540, 255}, tr("&From"), entry);
  txtFrom = &add(ControlKind::TextBox, "txtFrom", {2700, 300, 1020, kRow}, "", entry);
  txtFrom->setTooltip(tr("The start, as 09:30 or 09:30:15"));
  add(ControlKind::Label, "lblTo", {3900, 345, 420, 255}, tr("&To"), entry);
  txtTo = &add(ControlKind::TextBox, "txtTo", {4320, 300, 1020, kRow}, "", entry);
  txtTo->setTooltip(tr("The end, as 11:45 or 11:45:30"));
  cmdApply =
      &add(ControlKind::CommandButton, "cmdApply", {5520, 270, 1380, 375}, tr("C&hange"), entry);
  cmdApply->setTooltip(tr("Give the chosen entry these times and this note"));
  cmdAdd =
      &add(ControlKind::CommandButton, "cmdAdd", {7020, 270, 1380, 375}, tr("&Add Entry"), entry);
  cmdAdd->setTooltip(tr("Add a manual entry with this date, these times and this note"));
  cmdDelete =
      &add(ControlKind::CommandButton, "cmdDelete", {8520, 270, 1320, 375}, tr("De&lete"), entry);
  cmdDelete->setTooltip(tr("Delete the chosen entry"));
  add(ControlKind::Label, "lblNote", {120, 825, 540, 255}, tr("&Note"), entry);
  txtNote = &add(ControlKind::TextBox, "txtNote", {660, 780, 9180, kRow}, "", entry);
  txtNote->setTooltip(tr("What was done"));

  lblStatus = &add(ControlKind::Label, "lblStatus", {120, 6240, 7200, 510}, "");
  lblStatus->spoken.live = true;
  cmdExport =
      &add(ControlKind::CommandButton, "cmdExport", {7560, 6300, 1200, 375}, tr("&Export..."));
  cmdExport->setTooltip(tr("Save the log as a spreadsheet (.csv) or a calendar (.ics)"));
  cmdClose = &add(ControlKind::CommandButton, "cmdClose", {8880, 6300, 1200, 375}, tr("&Close"));

  cmdApply->onClick = [this] { apply(); };
  cmdAdd->onClick = [this] { addEntry(); };
  cmdDelete->onClick = [this] { deleteEntry(); };
  cmdExport->onClick = [this] { exportLog(); };
  cmdClose->onClick = [this] { hide(); };
}

void LogForm::view() {
  say("");
  rebuild();
  show();
}

std::optional<std::size_t> LogForm::entryOf(std::size_t row) const {
  if (row >= rows_.size() || rows_[row].type != Row::Type::Entry) return std::nullopt;
  return rows_[row].entry;
}

void LogForm::rebuild() {
  const WorkLog& log = keeper().log();
  const std::vector<std::size_t> order = log.chronological();
  // A day's total takes the part of each run that fell on it, midnight splitting a run.
  struct Totals {
    std::int64_t seconds = 0;
    std::int64_t billed = 0;
  };
  std::map<std::int64_t, Totals> days;
  // Entries come in time order: nearly every one adds to the last day so far.
  const auto dayTotals = [&days](std::int64_t day) -> Totals& {
    if (!days.empty() && days.rbegin()->first == day) return days.rbegin()->second;
    return days.emplace_hint(days.end(), day, Totals{})->second;
  };
  std::vector<std::int64_t> dayOf(order.size());
  for (std::size_t k = 0; k < order.size(); ++k) {
    const LogEntry& e = log[order[k]];
    const LocalMoment start = localMoment(e.startMs);
    dayOf[k] = start.dayNumber;
    const LocalMoment end = localMoment(e.endMs);
    if (!hasSpan(e.kind) || end.dayNumber == start.dayNumber || e.endMs <= e.startMs) {
      Totals& day = dayTotals(start.dayNumber);
      day.seconds += e.seconds;
      day.billed += e.billed;
      continue;
    }
    std::int64_t left = e.seconds;
    std::int64_t billedLeft = e.billed;
    std::int64_t from = e.startMs;
    for (std::int64_t day = start.dayNumber; day <= end.dayNumber; ++day) {
      std::int64_t to = e.endMs;
      if (day < end.dayNumber) {
        to = std::clamp(dayStartMs(day + 1), from, e.endMs);
      }
      // Each side its share of the seconds, and of the billed minutes in whole minutes.
      const bool last = day == end.dayNumber;
      const std::int64_t part = last ? left : e.seconds * (to - from) / (e.endMs - e.startMs);
      const std::int64_t billed =
          last ? billedLeft : e.billed * (to - from) / (e.endMs - e.startMs) / kMicro * kMicro;
      Totals& totals = dayTotals(day);
      totals.seconds += part;
      totals.billed += billed;
      left -= part;
      billedLeft -= billed;
      from = to;
    }
  }

  std::vector<Row> before = std::move(rows_);
  rows_.clear();
  rows_.reserve(order.size() + days.size() * 2);
  std::size_t k = 0;
  std::int64_t weekSeconds = 0, weekBilled = 0;
  for (auto it = days.begin(); it != days.end(); ++it) {
    for (; k < order.size() && dayOf[k] == it->first; ++k) {
      rows_.push_back({Row::Type::Entry, order[k], 0, 0, 0});
    }
    rows_.push_back({Row::Type::Day, 0, it->first, it->second.seconds, it->second.billed});
    weekSeconds += it->second.seconds;
    weekBilled += it->second.billed;
    const auto next = std::next(it);
    if (next == days.end() || weekOf(next->first) != weekOf(it->first)) {
      rows_.push_back({Row::Type::Week, 0, it->first, weekSeconds, weekBilled});
      weekSeconds = weekBilled = 0;
    }
  }

  // The chosen entry stays chosen where it still is.
  std::optional<std::size_t> current;
  for (std::size_t r = 0; r < rows_.size() && !chosenId_.empty(); ++r) {
    if (rows_[r].type == Row::Type::Entry && log[rows_[r].entry].id == chosenId_) current = r;
  }
  if (!current) chosenId_.clear();
  // The chosen entry may have changed (the running clock's run grows, then ends).
  if (current) fillBoxes(log[rows_[*current].entry], true);
  // Rows of the same shape (the running clock's run grown by a second) are new texts only:
  // the view keeps its scroll position, choice and any note being typed.
  const bool sameShape = std::equal(
      rows_.begin(), rows_.end(), before.begin(), before.end(), [](const Row& a, const Row& b) {
        return a.type == b.type && a.entry == b.entry && a.key == b.key;
      });
  if (sameShape) {
    grdLog->cellsChanged();
  } else {
    grdLog->rowsChanged();
  }
  if (grdLog->current() != current) grdLog->setCurrent(current);

  // TRANSLATORS: %1 the clock time (26:10:00), %2 the billed minutes (1570 or 19.5).
  setField(*lblTotals, fill(tr("Total: %1 clock time, %2 billed minutes"),
                            {durationText(log.seconds()), billedText(log.billed())}));
  // The lock is said while it holds, and taken back when it is lifted.
  const std::string locked = keeper().timesLocked();
  if (!locked.empty() ? lblStatus->text() != locked
                      : lblStatus->text() == tr(LogKeeper::kTimesLocked)) {
    say(locked);
  }
}

std::string LogForm::cell(std::size_t row, std::size_t column) const {
  if (row >= rows_.size()) return {};
  const Row& r = rows_[row];
  if (r.type != Row::Type::Entry) {
    switch (column) {
      case Date:
        return r.type == Row::Type::Day ? dayText(r.key) : isoWeekText(r.key);
      case Duration:
        return durationText(r.seconds);
      case Billed:
        return billedText(r.billed);
      case Kind:
        return r.type == Row::Type::Day ? trc("work log entry", "day total")
                                        : trc("work log entry", "week total");
      default:
        return {};
    }
  }
  const LogEntry& e = keeper().log()[r.entry];
  const bool span = hasSpan(e.kind);
  switch (column) {
    case Date:
      return localDateText(localMoment(e.startMs));
    case From:
      return localTimeText(localMoment(e.startMs));
    case To:
      return span ? localTimeText(localMoment(e.endMs)) : std::string();
    case Duration:
      return durationText(e.seconds);
    case Billed:
      return billedText(e.billed);
    case Kind:
      return keeper().isOpenRun(r.entry) ? trc("work log entry", "run (running)")
                                         : kindShown(e.kind);
    case Note:
      return e.note;
    default:
      return {};
  }
}

std::optional<std::size_t> LogForm::chosen() const {
  const WorkLog& log = keeper().log();
  for (std::size_t i = log.size(); i-- > 0 && !chosenId_.empty();) {
    if (log[i].id == chosenId_) return i;
  }
  return std::nullopt;
}

void LogForm::selected() {
  const auto row = grdLog->current();
  const auto entry = row ? entryOf(*row) : std::nullopt;
  chosenId_ = entry ? keeper().log()[*entry].id : std::string();
  if (entry) fillBoxes(keeper().log()[*entry], false);
}

void LogForm::fillBoxes(const LogEntry& e, bool untouchedOnly) {
  const LocalMoment start = localMoment(e.startMs);
  const std::array<std::string, 4> texts = {
      localDateText(start), localTimeText(start),
      hasSpan(e.kind) ? localTimeText(localMoment(e.endMs)) : std::string(), e.note};
  const std::array<Control*, 4> boxes = {txtDate, txtFrom, txtTo, txtNote};
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    // A box the user has typed in keeps what they typed.
    if (!untouchedOnly || boxes[i]->text() == shown_[i]) setField(*boxes[i], texts[i]);
    shown_[i] = texts[i];
  }
}

void LogForm::say(const std::string& text) {
  setField(*lblStatus, text);
}

std::optional<std::pair<std::int64_t, std::int64_t>> LogForm::typedSpan(int daysAfter) {
  const auto date = readDate(txtDate->text());
  if (!date) {
    say(tr("Write the date as 2026-12-10 (or 10.12.2026)."));
    return std::nullopt;
  }
  const auto from = readTime(txtFrom->text());
  const auto to = readTime(txtTo->text());
  if (!from || !to) {
    say(tr("Write the times as 09:30 or 09:30:15."));
    return std::nullopt;
  }
  const auto start =
      utcOfLocal((*date)[0], (*date)[1], (*date)[2], (*from)[0], (*from)[1], (*from)[2]);
  auto end = utcOfLocal((*date)[0], (*date)[1], (*date)[2], (*to)[0], (*to)[1], (*to)[2]);
  if (end && daysAfter > 0) {
    const LocalMoment e = localMoment(*end + daysAfter * 86'400'000LL);
    end = utcOfLocal(e.year, e.month, e.day, (*to)[0], (*to)[1], (*to)[2]);
  }
  if (!start || !end) {
    say(tr("That day or time does not exist on this computer's calendar."));
    return std::nullopt;
  }
  return std::make_pair(*start, *end);
}

void LogForm::apply() {
  const auto entry = chosen();
  if (!entry) {
    say(tr("Choose an entry in the list first."));
    return;
  }
  const std::size_t i = *entry;
  const LogEntry e = keeper().log()[i];
  std::string why;
  if (hasSpan(e.kind)) {
    const LocalMoment start = localMoment(e.startMs);
    const LocalMoment end = localMoment(e.endMs);
    const bool sameDate = txtDate->text() == localDateText(start);
    const bool sameFrom = sameDate && txtFrom->text() == localTimeText(start);
    // The running clock's run ends where the clock is now, whatever the box showed when it
    // was chosen: only its start counts as a change of times.
    const bool sameTo = keeper().isOpenRun(i) || (sameDate && txtTo->text() == localTimeText(end));
    if (!sameFrom || !sameTo) {
      const auto span = typedSpan(static_cast<int>(end.dayNumber - start.dayNumber));
      if (!span) return;
      // A time left as shown keeps its instant: in the hour a clock change repeats, the
      // text alone could mean either.
      why = keeper().changeTimes(i, sameFrom ? e.startMs : span->first,
                                 sameTo ? e.endMs : span->second);
    }
  }
  if (why.empty()) why = keeper().setNote(i, txtNote->text());
  say(why);
}

void LogForm::addEntry() {
  const auto span = typedSpan(0);
  if (!span) return;
  const std::string why = keeper().addManual(span->first, span->second, txtNote->text());
  if (why.empty()) {
    // The new entry is chosen and in sight.
    chosenId_ = keeper().log()[keeper().log().size() - 1].id;
    rebuild();
  }
  say(why);
}

void LogForm::deleteEntry() {
  const auto entry = chosen();
  if (!entry) {
    say(tr("Choose an entry in the list first."));
    return;
  }
  const std::string why = keeper().remove(*entry);
  if (why.empty()) {
    chosenId_.clear();
    grdLog->setCurrent(std::nullopt);
  }
  say(why);
}

void LogForm::exportLog() {
  MainForm& m = app_.main();
  const std::string job =
      m.projectPath->text() == JobSheet::kNewFileMarker ? std::string() : m.projectPath->text();
  const std::string project = app_.customer().projectName->text();
  if (!parentFolder(job).empty()) dialog_.startIn(parentFolder(job));
  const auto chosen =
      dialog_.toSave(tr("Export Work Log"),
                     project.empty() ? "WorkLog.csv" : "WorkLog-" + project + ".csv", false);
  if (!chosen || chosen->empty()) return;
  std::string path = *chosen;
  const bool calendar = endsWith(path, ".ics");
  if (!calendar && !endsWith(path, ".csv")) path += ".csv";
  if (fileExists(path) &&
      services().messages.show(tr("File Exists, Would you like to Overwrite?"), Buttons::YesNoSafe,
                               tr("OverWrite File")) != Answer::Yes) {
    return;
  }
  std::string summary = project;
  if (summary.empty() && !job.empty()) {
    summary = job.substr(job.find_last_of('/') + 1);
    summary = summary.substr(0, summary.find_last_of('.'));
  }
  if (summary.empty()) summary = "Vantrel";
  const std::string bytes = calendar ? logCalendar(keeper().log(), summary)
                                     : logCsv(keeper().log(), services().clock.decimalSeparator());
  const WriteResult written = writeBytes(path, bytes);
  if (!written) {
    say("");
    services().messages.show(couldNotSave(path, written));
    return;
  }
  say(fill(tr("The work log was exported to %1."), {path}));
}

}  // namespace vantrel
