// SPDX-License-Identifier: GPL-3.0-or-later
#include "worklog/log_export.h"

#include <algorithm>
#include <cstdio>

#include "documents/csv_text.h"

namespace vantrel {
namespace {

std::string icsEscape(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case ';':
        out += "\\;";
        break;
      case ',':
        out += "\\,";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        break;
      default:
        // Other control characters have no place in a text value.
        if (static_cast<unsigned char>(c) >= 0x20 || c == '\t') out += c;
    }
  }
  return out;
}

// A content line folded at 75 octets, never inside a UTF-8 sequence, ended CR LF.
void addLine(std::string& out, const std::string& line) {
  std::size_t from = 0;
  std::size_t limit = 75;
  while (line.size() - from > limit) {
    std::size_t cut = from + limit;
    while (cut > from && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;
    out.append(line, from, cut - from);
    out += "\r\n ";
    from = cut;
    limit = 74;  // the leading space counts
  }
  out.append(line, from, std::string::npos);
  out += "\r\n";
}

}  // namespace

std::string logCsv(const WorkLog& log, char decimalSeparator) {
  const char separator = decimalSeparator == ',' ? ';' : ',';
  const char decimal = decimalSeparator == ',' ? ',' : '.';
  const std::string sep(1, separator);
  std::string out = "\xEF\xBB\xBF";
  out += "Date" + sep + "Start" + sep + "End" + sep + "Start ISO" + sep + "End ISO" + sep +
         "Seconds" + sep + "Hours" + sep + "Billed minutes" + sep + "Kind" + sep + "Note\r\n";
  for (std::size_t i : log.chronological()) {
    const LogEntry& e = log[i];
    const LocalMoment start = localMoment(e.startMs);
    const bool span = hasSpan(e.kind);
    // A moment has no span: its time is told in the ISO column alone.
    std::string row = localDateText(start) + sep;
    row += (span ? localTimeText(start) : std::string()) + sep;
    row += (span ? localTimeText(localMoment(e.endMs)) : std::string()) + sep;
    row += isoMoment(e.startMs) + sep;
    row += (span ? isoMoment(e.endMs) : std::string()) + sep;
    row += std::to_string(e.seconds) + sep;
    row += withDecimal(hoursText(e.seconds, 4), decimal) + sep;
    row += withDecimal(billedText(e.billed), decimal) + sep;
    row += csvField(kindWord(e.kind), separator) + sep;
    row += csvField(formulaSafe(e.note), separator);
    out += row + "\r\n";
  }
  return out;
}

std::string logCalendar(const WorkLog& log, const std::string& summary) {
  std::string out;
  addLine(out, "BEGIN:VCALENDAR");
  addLine(out, "VERSION:2.0");
  addLine(out, "PRODID:-//Vantrel//Work log//EN");
  addLine(out, "CALSCALE:GREGORIAN");
  const std::string stamp = [&log] {
    std::int64_t latest = 0;
    for (std::size_t i = 0; i < log.size(); ++i) latest = std::max(latest, log[i].endMs);
    return utcStampText(latest);
  }();
  for (std::size_t i : log.chronological()) {
    const LogEntry& e = log[i];
    if (e.kind != EntryKind::Run && e.kind != EntryKind::Manual) continue;
    addLine(out, "BEGIN:VEVENT");
    addLine(out, "UID:" + e.id + "@vantrel");
    addLine(out, "DTSTAMP:" + stamp);
    addLine(out, "DTSTART:" + utcStampText(e.startMs));
    addLine(out, "DTEND:" + utcStampText(std::max(e.endMs, e.startMs)));
    addLine(out, "SUMMARY:" + icsEscape(summary));
    if (!e.note.empty()) addLine(out, "DESCRIPTION:" + icsEscape(e.note));
    addLine(out, "END:VEVENT");
  }
  addLine(out, "END:VCALENDAR");
  return out;
}

}  // namespace vantrel
