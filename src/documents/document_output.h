// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

#include "platform/file_dialog.h"
#include "platform/services.h"

namespace vantrel {

// How a document leaves the program: on the printer, or as a PDF file the user names. One
// per document window, so its dialog remembers what was chosen in it.
class DocumentOutput {
 public:
  using WritePdf = std::function<WriteResult(const std::string& path)>;

  // kind: "Invoice" or "Report", the start of the proposed file name; write: the document
  // drawn into a PDF file.
  DocumentOutput(Services& services, std::string kind, WritePdf write);

  // Asks for a PDF file and writes it; a cancel, or No to replacing a file, writes nothing.
  void exportPdf(const std::string& invoiceNumber);

  // With no printer installed, offers the PDF file instead and returns false; true when
  // there is a printer to print on.
  bool printerOrPdf(const std::string& invoiceNumber);

  // A failed print is told, never dropped.
  void tell(const PrintResult& result);

  // "Invoice-1042.pdf", or "Invoice.pdf" without a number.
  std::string proposedName(const std::string& invoiceNumber) const;

 private:
  Services& services_;
  std::string kind_;
  WritePdf write_;
  FileDialog dialog_;
};

}  // namespace vantrel
