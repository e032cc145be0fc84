// SPDX-License-Identifier: GPL-3.0-or-later
// The work log's own files and exports: what it writes reads back entry for entry, what it
// cannot read is counted and left out, and its CSV and iCalendar texts keep their rules.
#include "worklog/work_log.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <tuple>

#include "worklog/log_export.h"

namespace vantrel {
namespace {

// Berlin time for the test's length, so the daylight-saving rules are those of a real zone.
class WorkLogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const char* tz = std::getenv("TZ")) saved_ = tz;
    ::setenv("TZ", "Europe/Berlin", 1);
    ::tzset();
  }
  void TearDown() override {
    if (saved_) {
      ::setenv("TZ", saved_->c_str(), 1);
    } else {
      ::unsetenv("TZ");
    }
    ::tzset();
  }

  static LogEntry entry(EntryKind kind, const char* start, const char* end, std::int64_t seconds,
                        std::int64_t billed, std::string note = {}) {
    LogEntry e;
    e.kind = kind;
    e.startMs = *parseIsoMoment(start);
    e.endMs = end ? *parseIsoMoment(end) : e.startMs;
    e.seconds = seconds;
    e.billed = billed;
    e.note = std::move(note);
    return e;
  }

  // A day's work with every kind of entry and notes a file line could trip over.
  static WorkLog sample() {
    WorkLog log;
    log.add(entry(EntryKind::CarriedOver, "2026-12-09T17:00:00+01:00", nullptr, 600, 10 * kMicro));
    log.add(entry(EntryKind::Minimum, "2026-12-10T09:00:00+01:00", nullptr, 0, 30 * kMicro));
    log.add(entry(EntryKind::Run, "2026-12-10T09:00:00+01:00", "2026-12-10T10:00:00+01:00", 3600,
                  60 * kMicro, "Plan\tgarden 100% \"done\"\nnext: Übersicht €"));
    log.add(entry(EntryKind::AwayRemoved, "2026-12-10T10:00:00+01:00", "2026-12-10T10:20:00+01:00",
                  0, 0));
    log.add(entry(EntryKind::Adjustment, "2026-12-10T10:30:00+01:00", nullptr, 0, -15 * kMicro));
    log.add(entry(EntryKind::Correction, "2026-12-10T10:31:00+01:00", nullptr, -60, kMicro / 2));
    log.add(entry(EntryKind::Reset, "2026-12-10T11:00:00+01:00", nullptr, -4140, 0));
    log.add(entry(EntryKind::Manual, "2026-12-08T22:30:00+01:00", "2026-12-09T00:15:00+01:00", 6300,
                  105 * kMicro, "=SUM(A1:A9)"));
    return log;
  }

 private:
  std::optional<std::string> saved_;
};

TEST_F(WorkLogTest, FileLinesReadBackEntryForEntryInPlainAscii) {
  const WorkLog written = sample();
  const std::vector<std::string> lines = written.fileLines();
  ASSERT_EQ(lines.front(), "[Work log]");
  for (const std::string& line : lines) {
    for (unsigned char c : line) ASSERT_TRUE(c == '\t' || (c >= 0x20 && c < 0x7F)) << line;
  }
  EXPECT_EQ(lines[3].substr(0, lines[3].find('\t', 4)), "run\t" + written[2].id);

  WorkLog read;
  const WorkLog::Read result = read.read(lines);
  EXPECT_TRUE(result.present);
  EXPECT_EQ(result.damaged, 0);
  ASSERT_EQ(read.size(), written.size());
  for (std::size_t i = 0; i < read.size(); ++i) {
    EXPECT_EQ(read[i].kind, written[i].kind);
    EXPECT_EQ(read[i].id, written[i].id);
    EXPECT_EQ(read[i].startMs, written[i].startMs);
    EXPECT_EQ(read[i].endMs, written[i].endMs);
    EXPECT_EQ(read[i].note, written[i].note);
  }
  EXPECT_EQ(read.seconds(), written.seconds());
  EXPECT_EQ(read.billed(), written.billed());
  EXPECT_EQ(read.fileLines(), lines);
}

TEST_F(WorkLogTest, LinesThatDoNotReadAreCountedAndLeftOut) {
  std::vector<std::string> lines = sample().fileLines();
  lines.insert(lines.begin() + 2, "run\tx\t2026-13-10T09:00:00+01:00\t\t1\t1\t");    // no month 13
  lines.insert(lines.begin() + 3, "lunch\tx\t2026-12-10T09:00:00+01:00\t\t1\t1\t");  // no kind
  lines.push_back("run\tx\t2026-12-10T09:00:00+01:00\t2026-12-10T08:00:00+01:00\t1\t1\t");
  lines.push_back("adjustment\tx\t2026-12-10T09:00:00+01:00\t\tten\t1\t");
  lines.push_back("manual\tx\t2026-12-10T09:00:00+01:00\t2026-12-10T10:00:00+01:00\t1\t1\t%G");
  lines.push_back("");
  WorkLog read;
  EXPECT_EQ(read.read(lines).damaged, 5);
  EXPECT_EQ(read.size(), sample().size());

  // Lines past the project's without the heading are no log at all.
  EXPECT_FALSE(read.read({"", "run\tx\t2026-12-10T09:00:00+01:00\t\t1\t1\t"}).present);
  EXPECT_TRUE(read.empty());
}

TEST_F(WorkLogTest, ReadEntriesWaitOnTheDiskUntilLookedAtAndSaveAsInMemory) {
  std::vector<std::string> lines = sample().fileLines();
  lines.insert(lines.begin() + 3, "lunch\tx\t2026-12-10T09:00:00+01:00\t\t1\t1\t");  // damaged
  WorkLog inMemory;
  const WorkLog::Read plain = inMemory.read(lines);
  std::string expected;
  ASSERT_TRUE(inMemory.appendFileText(expected));

  const std::string folder = ::testing::TempDir();
  WorkLog log;
  const WorkLog::Read read = log.read(lines, folder);
  EXPECT_EQ(read.damaged, plain.damaged);
  ASSERT_EQ(log.size(), inMemory.size());
  EXPECT_EQ(log.onDisk(), log.size() - 1);
  EXPECT_EQ(log.seconds(), inMemory.seconds());
  EXPECT_EQ(log.billed(), inMemory.billed());
  // Saving, the last entry and new ones leave the others on the disk.
  std::string saved;
  ASSERT_TRUE(log.appendFileText(saved));
  EXPECT_EQ(saved, expected);
  EXPECT_EQ(log[log.size() - 1].id, inMemory[inMemory.size() - 1].id);
  log.add(entry(EntryKind::Correction, "2026-12-10T12:00:00+01:00", nullptr, 60, kMicro));
  EXPECT_EQ(log.onDisk(), log.size() - 2);
  const LogEntry& last = log[log.size() - 2];

  // A copy made meanwhile reads them back on its own; references made before stay good.
  const WorkLog copy = log;
  EXPECT_EQ(log[2].note, inMemory[2].note);
  EXPECT_EQ(log.onDisk(), 0U);
  EXPECT_EQ(last.id, inMemory[inMemory.size() - 1].id);
  EXPECT_EQ(copy.fileLines(), log.fileLines());
  log.erase(0);
  log.replace(0, entry(EntryKind::Adjustment, "2026-12-10T10:30:00+01:00", nullptr, 0, 0));
  EXPECT_EQ(log.billed(), inMemory.billed() + kMicro - 10 * kMicro - 30 * kMicro);
  EXPECT_EQ(copy.size(), inMemory.size() + 1);

  // A folder that takes no file keeps the whole log in memory.
  WorkLog nowhere;
  nowhere.read(lines, folder + "/missing");
  EXPECT_EQ(nowhere.onDisk(), 0U);
  EXPECT_EQ(nowhere.fileLines(), inMemory.fileLines());
}

TEST_F(WorkLogTest, InstantsKeepTheirLengthAcrossDaylightSavingChanges) {
  // Spring forward: 01:30 to 04:30 local is two hours.
  const auto spring = utcOfLocal(2026, 3, 29, 1, 30, 0);
  ASSERT_TRUE(spring);
  EXPECT_EQ(isoMoment(*spring), "2026-03-29T01:30:00+01:00");
  EXPECT_EQ(isoMoment(*spring + 7'200'000), "2026-03-29T04:30:00+02:00");
  EXPECT_FALSE(utcOfLocal(2026, 3, 29, 2, 30, 0));  // the hour the clocks skip
  // Fall back: 02:30 comes twice; both read back to their own instant.
  const auto fall = *parseIsoMoment("2026-10-25T02:30:00+02:00");
  EXPECT_EQ(isoMoment(fall + 3'600'000), "2026-10-25T02:30:00+01:00");
  EXPECT_EQ(*parseIsoMoment(isoMoment(fall + 3'600'000)), fall + 3'600'000);
  EXPECT_EQ(isoWeekText(localMoment(fall).dayNumber), "2026-W43");
  EXPECT_EQ(isoWeekText(localMoment(*parseIsoMoment("2027-01-01T12:00:00+01:00")).dayNumber),
            "2026-W53");
}

TEST_F(WorkLogTest, LocalTimesAreTheCLibrarysInZonesWithOddClockChanges) {
  // Half-hour changes (Lord Howe), offsets off the hour (Kathmandu), a suspended summer
  // time (Casablanca) and two hemispheres, every 37 minutes over two years.
  for (const char* zone : {"Australia/Lord_Howe", "Asia/Kathmandu", "Africa/Casablanca",
                           "America/Sao_Paulo", "Europe/Berlin"}) {
    ::setenv("TZ", zone, 1);
    ::tzset();
    for (std::int64_t t = 1'767'225'600; t < 1'767'225'600 + 2 * 365 * 86'400; t += 37 * 60) {
      const LocalMoment m = localMoment(t * 1000);
      const std::time_t seconds = t;
      std::tm tm{};
      ::localtime_r(&seconds, &tm);
      ASSERT_EQ(std::make_tuple(m.year, m.month, m.day, m.hour, m.minute, m.offsetSeconds),
                std::make_tuple(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min,
                                static_cast<int>(tm.tm_gmtoff)))
          << zone << " at " << t;
    }
  }
}

TEST_F(WorkLogTest, CsvFollowsTheLocaleAndKeepsNotesFromRunningAsFormulas) {
  const std::string german = logCsv(sample(), ',');
  ASSERT_EQ(german.substr(0, 3), "\xEF\xBB\xBF");
  EXPECT_EQ(german.substr(3, german.find("\r\n") - 3),
            "Date;Start;End;Start ISO;End ISO;Seconds;Hours;Billed minutes;Kind;Note");
  // In time order: the manual entry of the 8th comes first.
  EXPECT_NE(german.find("\r\n2026-12-08;22:30:00;00:15:00;2026-12-08T22:30:00+01:00;"
                        "2026-12-09T00:15:00+01:00;6300;1,7500;105;manual;'=SUM(A1:A9)\r\n"),
            std::string::npos);
  EXPECT_NE(german.find(";-60;-0,0167;0,5;correction;\r\n"), std::string::npos);
  EXPECT_NE(
      german.find(";3600;1,0000;60;run;\"Plan\tgarden 100% \"\"done\"\"\nnext: Übersicht €\""),
      std::string::npos);
  const std::string english = logCsv(sample(), '.');
  EXPECT_EQ(english.substr(3, english.find(',') - 3), "Date");
  EXPECT_NE(english.find(",-60,-0.0167,0.5,correction,\r\n"), std::string::npos);
}

TEST_F(WorkLogTest, CalendarHasOneEventARunOrManualEntryFoldedAndEscaped) {
  WorkLog log = sample();
  const std::string ics = logCalendar(log, "Garden; phase 1, Müller");
  std::size_t events = 0;
  for (std::size_t at = ics.find("BEGIN:VEVENT"); at != std::string::npos;
       at = ics.find("BEGIN:VEVENT", at + 1)) {
    ++events;
  }
  EXPECT_EQ(events, 2u);
  EXPECT_NE(ics.find("UID:" + log[2].id + "@vantrel\r\n"), std::string::npos);
  EXPECT_NE(ics.find("DTSTART:20261210T080000Z\r\nDTEND:20261210T090000Z\r\n"), std::string::npos);
  EXPECT_NE(ics.find("SUMMARY:Garden\\; phase 1\\, Müller\r\n"), std::string::npos);
  for (std::size_t from = 0, end; (end = ics.find("\r\n", from)) != std::string::npos;
       from = end + 2) {
    EXPECT_LE(end - from, 75u) << ics.substr(from, end - from);
  }
  EXPECT_EQ(ics.find('\n'), ics.find("\r\n") + 1);
}

}  // namespace
}  // namespace vantrel
