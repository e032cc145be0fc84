// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/document_output.h"

#include <algorithm>

#include "platform/text_file.h"

namespace vantrel {

DocumentOutput::DocumentOutput(Services& services, std::string kind, WritePdf write)
    : services_(services),
      kind_(std::move(kind)),
      write_(std::move(write)),
      dialog_(services, "PDF (*.pdf)|*.pdf") {}

std::string DocumentOutput::proposedName(const std::string& invoiceNumber) const {
  if (invoiceNumber.empty()) return kind_ + ".pdf";
  // An invoice number such as "2026/17" would otherwise name a folder.
  std::string number = invoiceNumber;
  std::replace(number.begin(), number.end(), '/', '-');
  return kind_ + "-" + number + ".pdf";
}

void DocumentOutput::exportPdf(const std::string& invoiceNumber) {
  const auto path =
      dialog_.toSave("Export " + kind_ + " as PDF", proposedName(invoiceNumber), false);
  if (!path || path->empty()) return;
  if (fileExists(*path) &&
      services_.messages.show("File Exists, Would you like to Overwrite?", Buttons::YesNo,
                              "OverWrite File") != Answer::Yes) {
    return;
  }
  const WriteResult written = write_(*path);
  if (!written) services_.messages.show(couldNotSave(*path, written), Buttons::Ok);
}

bool DocumentOutput::printerOrPdf(const std::string& invoiceNumber) {
  if (services_.printer.installed()) return true;
  if (services_.messages.show("No printer is available. Save as a PDF file instead?",
                              Buttons::YesNo) == Answer::Yes) {
    exportPdf(invoiceNumber);
  }
  return false;
}

void DocumentOutput::tell(const PrintResult& result) {
  if (!result) services_.messages.show("Printing failed: " + result.error, Buttons::Ok);
}

}  // namespace vantrel
