// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_dialog.h"
#include "platform/form.h"

namespace vantrel {

class Vantrel;
class LogKeeper;
struct LogEntry;

// The work log window: the job's entries by day with the day's and the week's totals, the
// log's totals (the clock and the minute counter), and the boxes to change an entry's times
// and note, add a manual entry, delete one and export the log.
class LogForm : public Form {
 public:
  explicit LogForm(Vantrel& app);
  ~LogForm() override;

  // Shows the window with the log as it stands.
  void view();

  enum Column : std::size_t { Date, From, To, Duration, Billed, Kind, Note };

  Table* grdLog = nullptr;
  Control* lblTotals = nullptr;
  Control* txtDate = nullptr;
  Control* txtFrom = nullptr;
  Control* txtTo = nullptr;
  Control* txtNote = nullptr;
  Control* cmdApply = nullptr;
  Control* cmdAdd = nullptr;
  Control* cmdDelete = nullptr;
  Control* cmdExport = nullptr;
  Control* cmdClose = nullptr;
  Control* lblStatus = nullptr;

  // The entry a row shows; nothing for a total.
  std::optional<std::size_t> entryOf(std::size_t row) const;

 private:
  struct Row {
    enum class Type { Entry, Day, Week } type = Type::Entry;
    std::size_t entry = 0;     // Entry
    std::int64_t key = 0;      // a local day number: the day's, or the week's last
    std::int64_t seconds = 0;  // Day, Week
    std::int64_t billed = 0;
  };

  void design();
  void rebuild();
  std::string cell(std::size_t row, std::size_t column) const;
  void selected();
  // The entry in the boxes; with `untouchedOnly`, only boxes still showing what was put there.
  void fillBoxes(const LogEntry& entry, bool untouchedOnly);
  void say(const std::string& text);
  // The boxes' date and times as instants; the end keeps the entry's days past its start.
  std::optional<std::pair<std::int64_t, std::int64_t>> typedSpan(int daysAfter);
  void apply();
  void addEntry();
  void deleteEntry();
  void exportLog();
  LogKeeper& keeper() const;

  Vantrel& app_;
  FileDialog dialog_;
  std::vector<Row> rows_;
  // The chosen entry, by its id: indexes move when entries come and go, or another job's
  // log takes this one's place.
  std::optional<std::size_t> chosen() const;
  std::string chosenId_;
  std::array<std::string, 4> shown_;  // what the date, from, to and note boxes were given
};

}  // namespace vantrel
