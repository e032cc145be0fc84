// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/text_file.h"

namespace vantrel {

// One line of the register of issued invoices.
struct IssuedInvoice {
  std::string number;
  std::string date;  // YYYY-MM-DD
  std::string customer;
  std::string project;
  std::int64_t net = 0;  // cents, as are tax and gross
  std::int64_t tax = 0;
  std::int64_t gross = 0;
  std::string currency;
  std::string file;  // the job's project file
  bool operator==(const IssuedInvoice&) const = default;
};

// The register is kept beside the user's price list, so it moves with the user's data.
inline constexpr const char* kRegisterName = "invoices.txt";
std::string registerPath(const std::string& priceListPath);

// The register file: UTF-8, a header line of the column names, then one line an invoice
// with its fields separated by tabs and the amounts as moneyText writes them. A tab, line
// end, other control character or % in a value is written %XX, so an invoice is always one
// line. CR LF or LF line ends are read.
struct RegisterRead {
  bool opened = false;
  std::vector<IssuedInvoice> invoices;
  int damaged = 0;    // lines that do not read as an invoice, left out
  std::string error;  // why a file that is there could not be read, in a user's words
};
// A register that is not there yet reads as an empty one.
RegisterRead readRegister(const std::string& path);

// Adds one invoice. The register is never rewritten: the new file is the old one's bytes as
// they are, then the new line, replacing the old atomically. A register that is there but
// cannot be read is left alone and the write fails with the reason.
WriteResult appendToRegister(const std::string& path, const IssuedInvoice& invoice);

// The register as a spreadsheet reads it, as the work log's export: UTF-8 with a byte-order
// mark, CR LF, the header Number,Date,Customer,Project,Net,Tax,Gross,Currency,File; where the
// locale writes a decimal comma the separator is ';' and the amounts take the comma. A text
// a spreadsheet would run as a formula is written after a "'"; amounts stay numbers.
std::string registerCsv(const std::vector<IssuedInvoice>& invoices, char decimalSeparator);

}  // namespace vantrel
