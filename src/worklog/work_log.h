// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

// What an entry of the work log records. Runs, manual entries and time away removed have a
// span (a start and an end); the others happen at a moment.
enum class EntryKind {
  Run,
  Manual,
  Adjustment,
  Minimum,
  Correction,
  Reset,
  CarriedOver,
  AwayRemoved
};

// "run", "manual", "adjustment", "minimum", "correction", "reset", "carried over",
// "away removed": the words the file and the exports use.
const char* kindWord(EntryKind kind);
std::optional<EntryKind> kindFromWord(std::string_view word);
constexpr bool hasSpan(EntryKind kind) {
  return kind == EntryKind::Run || kind == EntryKind::Manual || kind == EntryKind::AwayRemoved;
}

// Billed minutes are kept in millionths of a minute, so a column of them adds up exactly.
constexpr std::int64_t kMicro = 1'000'000;
std::string billedText(std::int64_t micro);  // "15", "-0.5", "19.998"
std::optional<std::int64_t> billedFromText(std::string_view text);

struct LogEntry {
  EntryKind kind = EntryKind::Run;
  std::string id;            // stays with the entry: the calendar export's UID
  std::int64_t startMs = 0;  // UTC ms since 1970: the start of a span, or the moment
  std::int64_t endMs = 0;    // UTC: the end of a span; the moment again for the others
  std::int64_t seconds = 0;  // signed seconds of clock time
  std::int64_t billed = 0;   // signed billed minutes, in millionths
  std::string note;          // what was done
};

class ScratchFile;

// The record of a job's time: every entry's seconds add up to the clock's reading and its
// billed minutes to the minute counter. The sums are kept as entries change, so reading them
// costs nothing however long the log is.
//
// The entries a project file brought, all but its last, wait in a file of their own on the
// disk until something looks at one of them: a job with years of entries opens, ticks and
// autosaves without holding them in memory, and they are read back when the log's window,
// an export or an invoice asks for them. Entry references stay valid across that reading.
class WorkLog {
 public:
  const LogEntry& operator[](std::size_t i) const {
    return i < headSize_ ? headEntry(i) : tail_.entries[i - headSize_];
  }
  std::size_t size() const { return headSize_ + tail_.entries.size(); }
  bool empty() const { return size() == 0; }
  std::int64_t seconds() const { return seconds_; }
  std::int64_t billed() const { return billed_; }
  // How many entries wait on the disk, not yet read back.
  std::size_t onDisk() const { return headFile_ ? headSize_ : 0; }

  std::size_t add(LogEntry entry);  // gives it an id when it has none; returns its index
  void replace(std::size_t i, LogEntry entry);
  void erase(std::size_t i);
  void clear();

  // The entries in the order of their starts (moments), ties in the order they were made.
  std::vector<std::size_t> chronological() const;

  // The project file's section: a heading line, then one line an entry.
  static constexpr char kHeading[] = "[Work log]";
  std::vector<std::string> fileLines() const;
  // The same lines appended to a file's text, each ended CR LF. False, with nothing appended,
  // when entries waiting on the disk could not be read back.
  bool appendFileText(std::string& text) const;
  struct Read {
    bool present = false;  // the file has a work log at all
    int damaged = 0;       // lines that did not read, left out
  };
  // The lines after the project's own; replaces this log with what reads. With a folder, all
  // entries but the last wait there on the disk (in memory when it takes no file).
  Read read(std::vector<std::string> lines, const std::string& diskFolder = {});

 private:
  struct Part {
    std::vector<LogEntry> entries;
    // Each entry's file line, made when first written and again only once it changes: the
    // autosave of a long log rewrites the open run's line alone.
    mutable std::vector<std::string> lines;
  };
  const LogEntry& headEntry(std::size_t i) const;
  // The part and place of entry i (the head read back first).
  std::pair<const Part*, std::size_t> locate(std::size_t i) const;
  std::pair<Part*, std::size_t> locate(std::size_t i);
  const std::string& line(std::size_t i) const;
  // Reads the head back from the disk; false when it could not.
  bool readBack() const;

  // The first entries (those of the file read, but its last), on the disk while headFile_ is
  // there, else in head_; then the entries since.
  mutable std::size_t headSize_ = 0;
  mutable std::shared_ptr<const ScratchFile> headFile_;
  mutable Part head_;
  Part tail_;
  // The disk failed to give the head back: its entries are gone from memory, and no save may
  // then replace a file that still has them.
  mutable bool headLost_ = false;
  mutable std::int64_t seconds_ = 0;
  mutable std::int64_t billed_ = 0;
  std::int64_t headSeconds_ = 0;  // the sums of the entries put on the disk
  std::int64_t headBilled_ = 0;
};

// A new entry id: 12 hex digits, random, so two jobs' entries never share one.
std::string newEntryId();

// A moment as the local clock of this computer shows it, under the time zone rules in force
// at that moment (a daylight-saving change included).
struct LocalMoment {
  int year = 1970, month = 1, day = 1, hour = 0, minute = 0, second = 0;
  int offsetSeconds = 0;       // east of UTC
  int weekday = 4;             // 1 Monday .. 7 Sunday
  std::int64_t dayNumber = 0;  // days since 1970-01-01 of the local date
};
LocalMoment localMoment(std::int64_t utcMs);
// The UTC moment of a local date and time, or nothing for a time the clocks skipped.
std::optional<std::int64_t> utcOfLocal(int year, int month, int day, int hour, int minute,
                                       int second);
std::string localDateText(const LocalMoment& m);  // 2026-12-10
// A local date by its day number: "2026-12-10"; its ISO week: "2026-W50".
std::string dayText(std::int64_t dayNumber);
std::string isoWeekText(std::int64_t dayNumber);
// The instant a local day begins (its first hour, where the clocks skip midnight).
std::int64_t dayStartMs(std::int64_t dayNumber);
std::string localTimeText(const LocalMoment& m);  // 09:05:00
std::string isoMoment(std::int64_t utcMs);        // 2026-12-10T09:05:00+01:00
std::string utcStampText(std::int64_t utcMs);     // 20261210T080500Z, as iCalendar has it
std::optional<std::int64_t> parseIsoMoment(std::string_view text);
// Signed seconds as hours with that many decimals (up to 6), rounded half away from zero, in
// integers so no locale or float enters: 5400 s with 2 gives "1.50".
std::string hoursText(std::int64_t seconds, int decimals);
// Signed clock time as H:MM:SS ("-0:05:00", "26:10:00").
std::string durationText(std::int64_t seconds);

}  // namespace vantrel
