// SPDX-License-Identifier: GPL-3.0-or-later
#include "invoice/invoice_register.h"

#include <cerrno>
#include <cstring>
#include <optional>

#include "documents/csv_text.h"
#include "invoice/invoice_rules.h"
#include "platform/translation.h"

namespace vantrel {
namespace {

constexpr const char* kHeader = "Number\tDate\tCustomer\tProject\tNet\tTax\tGross\tCurrency\tFile";
constexpr std::size_t kFields = 9;

std::string readFailureReason(int err) {
  switch (err) {
    case EACCES:
    case EPERM:
      return tr("you do not have permission to read it");
    case EISDIR:
      return tr("it is a folder");
    case EIO:
      return tr("the disk reported an error");
    default:
      return std::strerror(err);
  }
}

// The register's bytes; a register not there yet is an empty one. Otherwise, why it cannot
// be read, in a user's words.
std::string registerBytes(const std::string& path, std::string& bytes) {
  FileBytes file = readFileBytes(path);
  switch (file.status) {
    case FileBytes::Status::NotOpened:
      return file.err == ENOENT ? std::string() : readFailureReason(file.err);
    case FileBytes::Status::Folder:
      return tr("it is a folder");
    case FileBytes::Status::NotAFile:
      return tr("it is not a file");
    case FileBytes::Status::NotRead:
      return readFailureReason(file.err);
    case FileBytes::Status::Read:
      break;
  }
  if (file.bytes.size() > kLargestDataFile) return tr("it is too large to be a Vantrel file");
  bytes = std::move(file.bytes);
  return {};
}

std::string escaped(const std::string& value) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (char c : value) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F || c == '%') {
      out += '%';
      out += kHex[byte >> 4];
      out += kHex[byte & 0xF];
    } else {
      out += c;
    }
  }
  return out;
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// A % that starts no escape stays as it is: a value typed into the file by hand keeps it.
std::string unescaped(std::string_view value) {
  std::string out;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '%' && i + 2 < value.size() && hexValue(value[i + 1]) >= 0 &&
        hexValue(value[i + 2]) >= 0) {
      out += static_cast<char>(hexValue(value[i + 1]) * 16 + hexValue(value[i + 2]));
      i += 2;
    } else {
      out += value[i];
    }
  }
  return out;
}

// Exactly what moneyText writes, so that a damaged amount is not read as another one.
std::optional<std::int64_t> moneyCents(std::string_view text) {
  const bool negative = !text.empty() && text.front() == '-';
  if (negative) text.remove_prefix(1);
  const std::size_t point = text.find('.');
  if (point == 0 || point == std::string_view::npos || point > 15 || text.size() != point + 3) {
    return std::nullopt;
  }
  std::int64_t cents = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (i == point) continue;
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    cents = cents * 10 + (text[i] - '0');
  }
  return negative ? -cents : cents;
}

std::optional<IssuedInvoice> invoiceOf(std::string_view line) {
  std::vector<std::string> fields;
  for (;;) {
    const std::size_t tab = line.find('\t');
    fields.push_back(unescaped(line.substr(0, tab)));
    if (tab == std::string_view::npos) break;
    line.remove_prefix(tab + 1);
  }
  if (fields.size() != kFields) return std::nullopt;
  IssuedInvoice invoice;
  invoice.number = fields[0];
  invoice.date = fields[1];
  invoice.customer = fields[2];
  invoice.project = fields[3];
  const auto net = moneyCents(fields[4]);
  const auto tax = moneyCents(fields[5]);
  const auto gross = moneyCents(fields[6]);
  invoice.currency = fields[7];
  invoice.file = fields[8];
  if (invoice.number.empty() || !isoDatePlusDays(invoice.date, 0) || !net || !tax || !gross) {
    return std::nullopt;
  }
  invoice.net = *net;
  invoice.tax = *tax;
  invoice.gross = *gross;
  return invoice;
}

std::string registerLine(const IssuedInvoice& invoice) {
  return escaped(invoice.number) + '\t' + escaped(invoice.date) + '\t' + escaped(invoice.customer) +
         '\t' + escaped(invoice.project) + '\t' + moneyText(invoice.net) + '\t' +
         moneyText(invoice.tax) + '\t' + moneyText(invoice.gross) + '\t' +
         escaped(invoice.currency) + '\t' + escaped(invoice.file);
}

}  // namespace

std::string registerPath(const std::string& priceListPath) {
  return joinPath(parentFolder(priceListPath), kRegisterName);
}

RegisterRead readRegister(const std::string& path) {
  removeLeftoverTemps(path);
  RegisterRead result;
  std::string bytes;
  if (const std::string why = registerBytes(path, bytes); !why.empty()) {
    // TRANSLATORS: %1 is the register's file, %2 why it could not be read ("it is a folder").
    result.error = fill(tr("Could not read the invoice register %1: %2."), {path, why});
    return result;
  }
  result.opened = true;
  std::string_view text = bytes;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);  // saved by an editor
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view raw = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
    if (raw.empty() || raw == kHeader) continue;
    // Line by line, so that one line an editor saved in another encoding spoils no other.
    if (auto invoice = invoiceOf(decodeFileText(std::string(raw)))) {
      result.invoices.push_back(std::move(*invoice));
    } else {
      ++result.damaged;
    }
  }
  return result;
}

WriteResult appendToRegister(const std::string& path, const IssuedInvoice& invoice) {
  removeLeftoverTemps(path);
  std::string bytes;
  if (const std::string why = registerBytes(path, bytes); !why.empty()) {
    WriteResult failed;
    // TRANSLATORS: the reason a file could not be saved: "Could not save FILE: <this>"; %1 is
    // why the register beside it could not be read ("it is a folder").
    failed.error = fill(tr("the invoice register there could not be read: %1"), {why});
    return failed;
  }
  // Line ends as the file has them; a new file takes CR LF as the program's other files.
  const std::size_t firstEnd = bytes.find('\n');
  const bool lf = firstEnd != std::string::npos && (firstEnd == 0 || bytes[firstEnd - 1] != '\r');
  const std::string lineEnd = lf ? "\n" : "\r\n";
  if (bytes.empty()) bytes = kHeader + lineEnd;
  // A last line without its end (a hand edit) keeps it whole: the new line goes below it.
  if (bytes.back() != '\n') bytes += lineEnd;
  bytes += registerLine(invoice) + lineEnd;
  return writeBytes(path, bytes);
}

std::string registerCsv(const std::vector<IssuedInvoice>& invoices, char decimalSeparator) {
  const char separator = decimalSeparator == ',' ? ';' : ',';
  const char decimal = decimalSeparator == ',' ? ',' : '.';
  const std::string sep(1, separator);
  auto text = [separator](const std::string& value) {
    return csvField(formulaSafe(value), separator);
  };
  std::string out = "\xEF\xBB\xBF";
  out += "Number" + sep + "Date" + sep + "Customer" + sep + "Project" + sep + "Net" + sep + "Tax" +
         sep + "Gross" + sep + "Currency" + sep + "File\r\n";
  for (const IssuedInvoice& invoice : invoices) {
    out += text(invoice.number) + sep + text(invoice.date) + sep + text(invoice.customer) + sep +
           text(invoice.project) + sep + withDecimal(moneyText(invoice.net), decimal) + sep +
           withDecimal(moneyText(invoice.tax), decimal) + sep +
           withDecimal(moneyText(invoice.gross), decimal) + sep + text(invoice.currency) + sep +
           text(invoice.file) + "\r\n";
  }
  return out;
}

}  // namespace vantrel
