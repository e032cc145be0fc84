// SPDX-License-Identifier: GPL-3.0-or-later
#include "worklog/work_log.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <map>
#include <numeric>
#include <random>
#include <stdexcept>
#include <string_view>
#include <utility>

#include "platform/scratch_file.h"
#include "sheet/numbers.h"

namespace vantrel {
namespace {

constexpr std::array<const char*, 8> kWords = {"run",          "manual",      "adjustment",
                                               "minimum",      "correction",  "reset",
                                               "carried over", "away removed"};

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
  return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

// Days since 1970-01-01 of a proleptic Gregorian date.
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = floorDiv(y, 400);
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

struct Civil {
  std::int64_t year;
  unsigned month, day;
};

Civil civilFromDays(std::int64_t days) {
  days += 719468;
  const std::int64_t era = floorDiv(days, 146097);
  const auto doe = static_cast<unsigned>(days - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned d = doy - (153 * mp + 2) / 5 + 1;
  const unsigned m = mp < 10 ? mp + 3 : mp - 9;
  return {static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2), m, d};
}

std::optional<int> digitsAt(std::string_view text, std::size_t at, std::size_t count) {
  if (at + count > text.size()) return std::nullopt;
  int value = 0;
  for (std::size_t i = at; i < at + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

std::optional<std::int64_t> wholeNumber(std::string_view text) {
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// Notes keep to printable ASCII in the file: anything else is written %XX (UTF-8 bytes), so
// the section never decides the file's encoding and no note can break a line.
std::string escapeNote(std::string_view note) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(note.size());
  for (unsigned char c : note) {
    if (c < 0x20 || c >= 0x7F || c == '%') {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

std::optional<std::string> unescapeNote(std::string_view text) {
  auto hex = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
  };
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const std::size_t percent = std::min(text.find('%', i), text.size());
    out.append(text, i, percent - i);
    i = percent;
    if (i == text.size()) break;
    if (i + 2 >= text.size()) return std::nullopt;
    const int high = hex(text[i + 1]);
    const int low = hex(text[i + 2]);
    if (high < 0 || low < 0) return std::nullopt;
    out += static_cast<char>(high * 16 + low);
    i += 2;
  }
  return out;
}

constexpr std::size_t kFields = 7;

// The line's seven fields, or nothing when it has another number of them.
std::optional<std::array<std::string_view, kFields>> splitTabs(std::string_view line) {
  std::array<std::string_view, kFields> fields;
  std::size_t from = 0;
  for (std::size_t n = 0; n < kFields; ++n) {
    const std::size_t tab = line.find('\t', from);
    const bool last = n + 1 == kFields;
    if ((tab == std::string_view::npos) != last) return std::nullopt;
    fields[n] = line.substr(from, last ? std::string_view::npos : tab - from);
    from = tab + 1;
  }
  return fields;
}

std::optional<LogEntry> entryFromLine(std::string_view line) {
  const auto split = splitTabs(line);
  if (!split) return std::nullopt;
  const auto& fields = *split;
  LogEntry e;
  const auto kind = kindFromWord(fields[0]);
  const auto start = parseIsoMoment(fields[2]);
  const auto seconds = wholeNumber(fields[4]);
  const auto billed = billedFromText(fields[5]);
  auto note = unescapeNote(fields[6]);
  if (!kind || fields[1].empty() || fields[1].size() > 64 || !start || !seconds || !billed ||
      !note) {
    return std::nullopt;
  }
  e.kind = *kind;
  e.id = std::string(fields[1]);
  e.startMs = *start;
  e.endMs = *start;
  if (hasSpan(e.kind)) {
    const auto end = parseIsoMoment(fields[3]);
    if (!end || *end < *start) return std::nullopt;
    e.endMs = *end;
  } else if (!fields[3].empty()) {
    return std::nullopt;
  }
  e.seconds = *seconds;
  e.billed = *billed;
  e.note = std::move(*note);
  return e;
}

}  // namespace

const char* kindWord(EntryKind kind) {
  return kWords[static_cast<std::size_t>(kind)];
}

std::optional<EntryKind> kindFromWord(std::string_view word) {
  for (std::size_t i = 0; i < kWords.size(); ++i) {
    if (word == kWords[i]) return static_cast<EntryKind>(i);
  }
  return std::nullopt;
}

std::string billedText(std::int64_t micro) {
  const bool negative = micro < 0;
  const std::uint64_t magnitude =
      negative ? 0 - static_cast<std::uint64_t>(micro) : static_cast<std::uint64_t>(micro);
  std::string text = std::to_string(magnitude / kMicro);
  std::uint64_t fraction = magnitude % kMicro;
  if (fraction != 0) {
    std::string digits = std::to_string(fraction);
    digits.insert(0, 6 - digits.size(), '0');
    while (digits.back() == '0') digits.pop_back();
    text += "." + digits;
  }
  return negative ? "-" + text : text;
}

std::optional<std::int64_t> billedFromText(std::string_view text) {
  // Whole minutes, as nearly every entry bills, read without the general number reader.
  if (!text.empty() && text.size() <= 12 &&
      text.find_first_not_of("-0123456789") == std::string_view::npos) {
    if (const auto whole = wholeNumber(text)) return *whole * kMicro;
  }
  const auto value = parseNumber(text);
  if (!value || !std::isfinite(*value) || std::fabs(*value) > 1e12) return std::nullopt;
  return static_cast<std::int64_t>(std::llround(*value * kMicro));
}

const LogEntry& WorkLog::headEntry(std::size_t i) const {
  const auto [part, k] = locate(i);
  static const LogEntry kNone;  // an entry the disk lost (see readBack)
  return k < part->entries.size() ? part->entries[k] : kNone;
}

std::pair<const WorkLog::Part*, std::size_t> WorkLog::locate(std::size_t i) const {
  if (i < headSize_) readBack();  // which keeps fewer when the disk fails
  if (i < headSize_) return {&head_, i};
  return {&tail_, i - headSize_};
}

std::pair<WorkLog::Part*, std::size_t> WorkLog::locate(std::size_t i) {
  const auto [part, k] = std::as_const(*this).locate(i);
  return {const_cast<Part*>(part), k};
}

std::size_t WorkLog::add(LogEntry entry) {
  if (entry.id.empty()) entry.id = newEntryId();
  seconds_ += entry.seconds;
  billed_ += entry.billed;
  tail_.entries.push_back(std::move(entry));
  tail_.lines.emplace_back();
  return size() - 1;
}

void WorkLog::replace(std::size_t i, LogEntry entry) {
  if (i >= size()) throw std::out_of_range("WorkLog::replace");
  const auto [part, k] = locate(i);
  LogEntry& old = part->entries.at(k);
  seconds_ += entry.seconds - old.seconds;
  billed_ += entry.billed - old.billed;
  if (entry.id.empty()) entry.id = old.id;
  old = std::move(entry);
  part->lines[k].clear();
}

void WorkLog::erase(std::size_t i) {
  if (i >= size()) throw std::out_of_range("WorkLog::erase");
  const auto [part, k] = locate(i);
  const LogEntry& old = part->entries.at(k);
  seconds_ -= old.seconds;
  billed_ -= old.billed;
  part->entries.erase(part->entries.begin() + static_cast<std::ptrdiff_t>(k));
  part->lines.erase(part->lines.begin() + static_cast<std::ptrdiff_t>(k));
  if (part == &head_) --headSize_;
}

void WorkLog::clear() {
  *this = WorkLog();
}

bool WorkLog::readBack() const {
  if (!headFile_) return true;
  const std::shared_ptr<const ScratchFile> file = std::move(headFile_);
  headFile_.reset();
  head_ = Part();
  std::string bytes;
  if (file->readInto(bytes)) {
    head_.entries.reserve(headSize_);
    head_.lines.reserve(headSize_);
    std::string_view rest = bytes;
    while (!rest.empty()) {
      const std::size_t end = rest.find("\r\n");
      const std::string_view text = rest.substr(0, end);
      auto entry = entryFromLine(text);
      if (!entry) break;
      head_.entries.push_back(std::move(*entry));
      head_.lines.emplace_back(text);
      rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 2);
    }
  }
  if (head_.entries.size() == headSize_) return true;
  // The disk did not give back what it was given: what is missing is gone from memory, so
  // no save may replace the file that still has it.
  std::fprintf(stderr, "vantrel: the work log's earlier entries could not be read back\n");
  seconds_ -= headSeconds_;  // what did come back stays counted
  billed_ -= headBilled_;
  for (const LogEntry& e : head_.entries) {
    seconds_ += e.seconds;
    billed_ += e.billed;
  }
  headSize_ = head_.entries.size();
  headLost_ = true;
  return false;
}

std::vector<std::size_t> WorkLog::chronological() const {
  readBack();
  std::vector<std::size_t> order(size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  // Entries are made in time order; only those put in later (manual ones, edited times)
  // need moving, so a sorted log costs one pass.
  const auto before = [this](std::size_t a, std::size_t b) {
    return (*this)[a].startMs < (*this)[b].startMs;
  };
  if (!std::is_sorted(order.begin(), order.end(), before)) {
    std::stable_sort(order.begin(), order.end(), before);
  }
  return order;
}

const std::string& WorkLog::line(std::size_t i) const {
  const auto [part, k] = locate(i);
  if (k >= part->lines.size()) {
    static const std::string kNone;
    return kNone;
  }
  std::string& line = part->lines[k];
  if (!line.empty()) return line;
  const LogEntry& e = part->entries[k];
  line = kindWord(e.kind);
  line += '\t';
  line += e.id;
  line += '\t';
  line += isoMoment(e.startMs);
  line += '\t';
  if (hasSpan(e.kind)) line += isoMoment(e.endMs);
  line += '\t';
  line += std::to_string(e.seconds);
  line += '\t';
  line += billedText(e.billed);
  line += '\t';
  line += escapeNote(e.note);
  return line;
}

std::vector<std::string> WorkLog::fileLines() const {
  readBack();
  std::vector<std::string> lines;
  lines.reserve(size() + 1);
  lines.emplace_back(kHeading);
  for (std::size_t i = 0; i < size(); ++i) lines.push_back(line(i));
  return lines;
}

bool WorkLog::appendFileText(std::string& text) const {
  if (headLost_) return false;
  const std::size_t from = headFile_ ? headSize_ : 0;
  const std::size_t before = text.size();
  std::size_t size = before + sizeof kHeading + 2 + (headFile_ ? headFile_->size() : 0);
  for (std::size_t i = from; i < this->size(); ++i) size += line(i).size() + 2;
  text.reserve(size);
  text += kHeading;
  text += "\r\n";
  // The entries on the disk are copied as they lie there, their lines already ended.
  if (headFile_ && !headFile_->readInto(text)) {
    text.resize(before);
    return false;
  }
  for (std::size_t i = from; i < this->size(); ++i) {
    text += line(i);
    text += "\r\n";
  }
  return true;
}

WorkLog::Read WorkLog::read(std::vector<std::string> lines, const std::string& diskFolder) {
  clear();
  Read result;
  std::size_t n = 0;
  while (n < lines.size() && lines[n].empty()) ++n;
  if (n == lines.size() || lines[n] != kHeading) return result;
  result.present = true;
  const std::size_t first = n + 1;
  std::unique_ptr<ScratchFile> file = ScratchFile::make(diskFolder);
  // Every entry that reads but the last goes to the disk, its line as it was read; once more
  // all in memory when there is no disk to take them, or it takes no more.
  for (;;) {
    if (!file) {
      tail_.entries.reserve(lines.size() - first);
      tail_.lines.reserve(lines.size() - first);
    }
    std::string pending;
    std::optional<std::pair<LogEntry, std::size_t>> last;  // an entry and its line
    bool written = true;
    for (n = first; n < lines.size() && written; ++n) {
      if (lines[n].empty()) continue;
      auto entry = entryFromLine(lines[n]);
      if (!entry) {
        ++result.damaged;
        continue;
      }
      if (last && file) {
        pending += lines[last->second];
        pending += "\r\n";
        ++headSize_;
        headSeconds_ += last->first.seconds;
        headBilled_ += last->first.billed;
        if (pending.size() >= (1 << 20)) {
          written = file->append(pending);
          pending.clear();
        }
      } else if (last) {
        // Written back as it was read until the entry changes.
        add(std::move(last->first));
        tail_.lines.back() = std::move(lines[last->second]);
      }
      last.emplace(std::move(*entry), n);
    }
    if (file && !(written && file->append(pending))) {
      clear();
      file.reset();
      result.damaged = 0;
      continue;
    }
    seconds_ += headSeconds_;
    billed_ += headBilled_;
    if (headSize_ > 0) headFile_ = std::move(file);
    if (last) {
      add(std::move(last->first));
      tail_.lines.back() = std::move(lines[last->second]);
    }
    return result;
  }
}

std::string newEntryId() {
  static std::mt19937_64 generator{std::random_device{}()};
  // Twelve digits (48 bits) fit a string without a separate allocation.
  char text[13];
  const std::uint64_t value = generator();
  for (int i = 11; i >= 0; --i) text[11 - i] = "0123456789abcdef"[(value >> (i * 4)) & 15];
  text[12] = '\0';
  return text;
}

namespace {

// The local offset from UTC over spans of time, learnt from the C library's zone rules and
// kept: a log of years asks for the offset of tens of thousands of moments, which fall in a
// few hundred spans between clock changes. Forgotten when TZ changes.
class Offsets {
 public:
  int at(std::int64_t t) {
    const char* tz = std::getenv("TZ");
    if (std::string_view(tz != nullptr ? tz : "\x01") != zone_) {
      zone_ = tz != nullptr ? tz : "\x01";
      spans_.clear();
      last_ = {};
    }
    // Moments asked one after another mostly fall in the same span.
    if (last_.from <= t && t < last_.to) return last_.offset;
    auto it = spans_.upper_bound(t);
    if (it != spans_.begin() && t < std::prev(it)->second.to) {
      last_ = {std::prev(it)->first, std::prev(it)->second.to, std::prev(it)->second.offset};
      return last_.offset;
    }
    const int offset = raw(t);
    const std::int64_t to = edge(t, offset, +1);
    const std::int64_t from = edge(t, offset, -1);
    if (spans_.size() > 100'000) spans_.clear();
    spans_[from] = {to, offset};
    last_ = {from, to, offset};
    return offset;
  }

 private:
  struct Span {
    std::int64_t to;  // exclusive
    int offset;
  };

  static int raw(std::int64_t t) {
    const auto seconds = static_cast<std::time_t>(t);
    std::tm tm{};
    ::localtime_r(&seconds, &tm);
    return static_cast<int>(tm.tm_gmtoff);
  }

  // How far from t the offset holds, looking a week at most: forwards, the first second
  // with another offset (or past the week); backwards, the first second with this one.
  static std::int64_t edge(std::int64_t t, int offset, int direction) {
    constexpr std::int64_t kWeek = 7 * 86'400;
    std::int64_t good = 0;
    std::int64_t step = 3'600;
    while (step <= kWeek && raw(t + direction * step) == offset) {
      good = step;
      step *= 2;
    }
    if (step > kWeek) return direction > 0 ? t + good + 1 : t - good;
    std::int64_t bad = step;  // good < change <= bad
    while (bad - good > 1) {
      const std::int64_t middle = good + (bad - good) / 2;
      (raw(t + direction * middle) == offset ? good : bad) = middle;
    }
    return direction > 0 ? t + bad : t - good;
  }

  struct Known {
    std::int64_t from = 0, to = 0;
    int offset = 0;
  };
  std::string zone_ = "\x02";
  std::map<std::int64_t, Span> spans_;  // by first second
  Known last_;
};

}  // namespace

LocalMoment localMoment(std::int64_t utcMs) {
  static Offsets offsets;
  const std::int64_t utc = floorDiv(utcMs, 1000);
  LocalMoment m;
  m.offsetSeconds = offsets.at(utc);
  const std::int64_t local = utc + m.offsetSeconds;
  m.dayNumber = floorDiv(local, 86'400);
  const Civil c = civilFromDays(m.dayNumber);
  m.year = static_cast<int>(c.year);
  m.month = static_cast<int>(c.month);
  m.day = static_cast<int>(c.day);
  const std::int64_t inDay = local - m.dayNumber * 86'400;
  m.hour = static_cast<int>(inDay / 3600);
  m.minute = static_cast<int>(inDay / 60 % 60);
  m.second = static_cast<int>(inDay % 60);
  m.weekday = static_cast<int>(m.dayNumber + 3 - floorDiv(m.dayNumber + 3, 7) * 7) + 1;
  return m;
}

std::optional<std::int64_t> utcOfLocal(int year, int month, int day, int hour, int minute,
                                       int second) {
  if (month < 1 || month > 12 || day < 1 || day > 31 || hour < 0 || hour > 23 || minute < 0 ||
      minute > 59 || second < 0 || second > 59) {
    return std::nullopt;
  }
  std::tm tm{};
  tm.tm_year = year - 1900;
  tm.tm_mon = month - 1;
  tm.tm_mday = day;
  tm.tm_hour = hour;
  tm.tm_min = minute;
  tm.tm_sec = second;
  tm.tm_isdst = -1;
  const std::time_t t = std::mktime(&tm);
  if (t == static_cast<std::time_t>(-1)) return std::nullopt;
  const std::int64_t ms = static_cast<std::int64_t>(t) * 1000;
  // A date that does not exist (31 April) or a time the clocks skipped comes back moved.
  const LocalMoment back = localMoment(ms);
  if (back.year != year || back.month != month || back.day != day || back.hour != hour ||
      back.minute != minute) {
    return std::nullopt;
  }
  return ms;
}

namespace {

// Digits written by hand: these run for every entry of a long log, where printf would cost
// more than everything else.
void put(std::string& out, int value, int width) {
  char digits[8];
  for (int i = width - 1; i >= 0; --i) {
    digits[i] = static_cast<char>('0' + value % 10);
    value /= 10;
  }
  out.append(digits, static_cast<std::size_t>(width));
}

void putDate(std::string& out, const LocalMoment& m) {
  put(out, m.year, 4);
  out += '-';
  put(out, m.month, 2);
  out += '-';
  put(out, m.day, 2);
}

void putTime(std::string& out, const LocalMoment& m) {
  put(out, m.hour, 2);
  out += ':';
  put(out, m.minute, 2);
  out += ':';
  put(out, m.second, 2);
}

}  // namespace

std::string localDateText(const LocalMoment& m) {
  std::string text;
  putDate(text, m);
  return text;
}

std::string dayText(std::int64_t dayNumber) {
  const Civil c = civilFromDays(dayNumber);
  LocalMoment m;
  m.year = static_cast<int>(c.year);
  m.month = static_cast<int>(c.month);
  m.day = static_cast<int>(c.day);
  return localDateText(m);
}

std::string isoWeekText(std::int64_t dayNumber) {
  const std::int64_t weekday = dayNumber + 3 - floorDiv(dayNumber + 3, 7) * 7;  // 0 Monday
  const std::int64_t thursday = dayNumber - weekday + 3;
  const std::int64_t year = civilFromDays(thursday).year;
  const std::int64_t week = (thursday - daysFromCivil(year, 1, 1)) / 7 + 1;
  char text[48];
  std::snprintf(text, sizeof text, "%04lld-W%02lld", static_cast<long long>(year),
                static_cast<long long>(week));
  return text;
}

std::int64_t dayStartMs(std::int64_t dayNumber) {
  const Civil c = civilFromDays(dayNumber);
  for (int hour = 0; hour < 24; ++hour) {
    if (auto ms = utcOfLocal(static_cast<int>(c.year), static_cast<int>(c.month),
                             static_cast<int>(c.day), hour, 0, 0)) {
      return *ms;
    }
  }
  return dayNumber * 86'400'000;
}

std::string localTimeText(const LocalMoment& m) {
  std::string text;
  putTime(text, m);
  return text;
}

std::string isoMoment(std::int64_t utcMs) {
  const LocalMoment m = localMoment(utcMs);
  const int offset = std::abs(m.offsetSeconds) / 60;
  std::string text;
  text.reserve(25);
  putDate(text, m);
  text += 'T';
  putTime(text, m);
  text += m.offsetSeconds < 0 ? '-' : '+';
  put(text, offset / 60, 2);
  text += ':';
  put(text, offset % 60, 2);
  return text;
}

std::string utcStampText(std::int64_t utcMs) {
  const std::int64_t seconds = floorDiv(utcMs, 1000);
  LocalMoment m;
  m.dayNumber = floorDiv(seconds, 86'400);
  const Civil c = civilFromDays(m.dayNumber);
  m.year = static_cast<int>(c.year);
  m.month = static_cast<int>(c.month);
  m.day = static_cast<int>(c.day);
  const std::int64_t inDay = seconds - m.dayNumber * 86'400;
  std::string text;
  put(text, m.year, 4);
  put(text, m.month, 2);
  put(text, m.day, 2);
  text += 'T';
  put(text, static_cast<int>(inDay / 3600), 2);
  put(text, static_cast<int>(inDay / 60 % 60), 2);
  put(text, static_cast<int>(inDay % 60), 2);
  text += 'Z';
  return text;
}

std::optional<std::int64_t> parseIsoMoment(std::string_view t) {
  // 2026-12-10T09:05:00+01:00 (or Z for UTC)
  if (t.size() != 25 && t.size() != 20) return std::nullopt;
  const auto y = digitsAt(t, 0, 4), mo = digitsAt(t, 5, 2), d = digitsAt(t, 8, 2);
  const auto h = digitsAt(t, 11, 2), mi = digitsAt(t, 14, 2), s = digitsAt(t, 17, 2);
  if (!y || !mo || !d || !h || !mi || !s || t[4] != '-' || t[7] != '-' || t[10] != 'T' ||
      t[13] != ':' || t[16] != ':' || *mo < 1 || *mo > 12 || *d < 1 || *d > 31 || *h > 23 ||
      *mi > 59 || *s > 60) {
    return std::nullopt;
  }
  int offsetMinutes = 0;
  if (t.size() == 20) {
    if (t[19] != 'Z') return std::nullopt;
  } else {
    const auto oh = digitsAt(t, 20, 2), om = digitsAt(t, 23, 2);
    if ((t[19] != '+' && t[19] != '-') || t[22] != ':' || !oh || !om || *oh > 23 || *om > 59) {
      return std::nullopt;
    }
    offsetMinutes = (*oh * 60 + *om) * (t[19] == '-' ? -1 : 1);
  }
  const std::int64_t days =
      daysFromCivil(*y, static_cast<unsigned>(*mo), static_cast<unsigned>(*d));
  const std::int64_t local = ((days * 24 + *h) * 60 + *mi) * 60 + *s;
  return (local - offsetMinutes * 60) * 1000;
}

std::string hoursText(std::int64_t seconds, int decimals) {
  const bool negative = seconds < 0;
  const std::uint64_t s =
      negative ? 0 - static_cast<std::uint64_t>(seconds) : static_cast<std::uint64_t>(seconds);
  std::uint64_t scale = 1;
  for (int i = 0; i < decimals; ++i) scale *= 10;
  const std::uint64_t parts = (s * scale + 1800) / 3600;
  std::string fraction = std::to_string(parts % scale + scale).substr(1);
  std::string text = (negative && parts != 0 ? "-" : "") + std::to_string(parts / scale);
  return decimals > 0 ? text + "." + fraction : text;
}

std::string durationText(std::int64_t seconds) {
  const bool negative = seconds < 0;
  const std::uint64_t s =
      negative ? 0 - static_cast<std::uint64_t>(seconds) : static_cast<std::uint64_t>(seconds);
  char text[40];
  std::snprintf(text, sizeof text, "%s%llu:%02llu:%02llu", negative ? "-" : "",
                static_cast<unsigned long long>(s / 3600),
                static_cast<unsigned long long>(s / 60 % 60),
                static_cast<unsigned long long>(s % 60));
  return text;
}

}  // namespace vantrel
