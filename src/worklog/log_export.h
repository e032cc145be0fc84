// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "worklog/work_log.h"

namespace vantrel {

// The work log as a spreadsheet reads it: UTF-8 with a byte-order mark, RFC 4180 quoting,
// one row an entry in time order under the header line
//   Date,Start,End,Start ISO,End ISO,Seconds,Hours,Billed minutes,Kind,Note
// Where the locale writes a decimal comma the separator is ';' and the numbers take the
// comma, so a spreadsheet in that locale reads them as numbers. A note a spreadsheet would
// run as a formula is written after a "'".
std::string logCsv(const WorkLog& log, char decimalSeparator);

// The runs and manual entries as an iCalendar file (RFC 5545): one event each, in UTC, with
// a UID that stays with the entry, the summary given and the note as the description.
std::string logCalendar(const WorkLog& log, const std::string& summary);

}  // namespace vantrel
