// SPDX-License-Identifier: GPL-3.0-or-later
#include "worklog/work_log.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <ctime>
#include <numeric>
#include <random>

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
    if (text[i] != '%') {
      out += text[i];
      continue;
    }
    if (i + 2 >= text.size()) return std::nullopt;
    const int high = hex(text[i + 1]);
    const int low = hex(text[i + 2]);
    if (high < 0 || low < 0) return std::nullopt;
    out += static_cast<char>(high * 16 + low);
    i += 2;
  }
  return out;
}

std::vector<std::string_view> splitTabs(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t from = 0;
  for (;;) {
    const std::size_t tab = line.find('\t', from);
    fields.push_back(line.substr(from, tab == std::string_view::npos ? tab : tab - from));
    if (tab == std::string_view::npos) return fields;
    from = tab + 1;
  }
}

std::optional<LogEntry> entryFromLine(std::string_view line) {
  const auto fields = splitTabs(line);
  if (fields.size() != 7) return std::nullopt;
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
  const auto value = parseNumber(text);
  if (!value || !std::isfinite(*value) || std::fabs(*value) > 1e12) return std::nullopt;
  return static_cast<std::int64_t>(std::llround(*value * kMicro));
}

std::size_t WorkLog::add(LogEntry entry) {
  if (entry.id.empty()) entry.id = newEntryId();
  seconds_ += entry.seconds;
  billed_ += entry.billed;
  entries_.push_back(std::move(entry));
  return entries_.size() - 1;
}

void WorkLog::replace(std::size_t i, LogEntry entry) {
  LogEntry& old = entries_.at(i);
  seconds_ += entry.seconds - old.seconds;
  billed_ += entry.billed - old.billed;
  if (entry.id.empty()) entry.id = old.id;
  old = std::move(entry);
}

void WorkLog::erase(std::size_t i) {
  const LogEntry& old = entries_.at(i);
  seconds_ -= old.seconds;
  billed_ -= old.billed;
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(i));
}

void WorkLog::clear() {
  entries_.clear();
  seconds_ = 0;
  billed_ = 0;
}

std::vector<std::size_t> WorkLog::chronological() const {
  std::vector<std::size_t> order(entries_.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  // Entries are made in time order; only those put in later (manual ones, edited times)
  // need moving, so a sorted log costs one pass.
  const auto before = [this](std::size_t a, std::size_t b) {
    return entries_[a].startMs < entries_[b].startMs;
  };
  if (!std::is_sorted(order.begin(), order.end(), before)) {
    std::stable_sort(order.begin(), order.end(), before);
  }
  return order;
}

std::vector<std::string> WorkLog::fileLines() const {
  std::vector<std::string> lines;
  lines.reserve(entries_.size() + 1);
  lines.emplace_back(kHeading);
  for (const LogEntry& e : entries_) {
    std::string line = kindWord(e.kind);
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
    lines.push_back(std::move(line));
  }
  return lines;
}

WorkLog::Read WorkLog::read(const std::vector<std::string>& lines) {
  clear();
  Read result;
  std::size_t n = 0;
  while (n < lines.size() && lines[n].empty()) ++n;
  if (n == lines.size() || lines[n] != kHeading) return result;
  result.present = true;
  entries_.reserve(lines.size() - n);
  for (++n; n < lines.size(); ++n) {
    if (lines[n].empty()) continue;
    if (auto entry = entryFromLine(lines[n])) {
      add(std::move(*entry));
    } else {
      ++result.damaged;
    }
  }
  return result;
}

std::string newEntryId() {
  static std::mt19937_64 generator{std::random_device{}()};
  char text[17];
  const std::uint64_t value = generator();
  for (int i = 15; i >= 0; --i) text[15 - i] = "0123456789abcdef"[(value >> (i * 4)) & 15];
  text[16] = '\0';
  return text;
}

LocalMoment localMoment(std::int64_t utcMs) {
  const std::time_t seconds = static_cast<std::time_t>(floorDiv(utcMs, 1000));
  std::tm tm{};
  ::localtime_r(&seconds, &tm);
  LocalMoment m;
  m.year = tm.tm_year + 1900;
  m.month = tm.tm_mon + 1;
  m.day = tm.tm_mday;
  m.hour = tm.tm_hour;
  m.minute = tm.tm_min;
  m.second = tm.tm_sec;
  m.offsetSeconds = static_cast<int>(tm.tm_gmtoff);
  m.weekday = tm.tm_wday == 0 ? 7 : tm.tm_wday;
  m.dayNumber = daysFromCivil(m.year, static_cast<unsigned>(m.month), static_cast<unsigned>(m.day));
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

std::string localDateText(const LocalMoment& m) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", m.year, m.month, m.day);
  return text;
}

std::string dayText(std::int64_t dayNumber) {
  const Civil c = civilFromDays(dayNumber);
  char text[48];
  std::snprintf(text, sizeof text, "%04lld-%02u-%02u", static_cast<long long>(c.year), c.month,
                c.day);
  return text;
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
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", m.hour, m.minute, m.second);
  return text;
}

std::string isoMoment(std::int64_t utcMs) {
  const LocalMoment m = localMoment(utcMs);
  const int offset = std::abs(m.offsetSeconds) / 60;
  char text[40];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d%c%02d:%02d", m.year, m.month,
                m.day, m.hour, m.minute, m.second, m.offsetSeconds < 0 ? '-' : '+', offset / 60,
                offset % 60);
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
