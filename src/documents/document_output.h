// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

#include "platform/file_dialog.h"
#include "platform/services.h"

namespace vantrel {

// What names an exported document and where its dialog starts.
struct DocumentName {
  std::string invoiceNumber;
  std::string project;
  std::string jobFile;  // the job's project file; empty while it has none
};

// How a document leaves the program: on the printer, or as a PDF file the user names. One
// per document window, so its dialog remembers what was chosen in it.
class DocumentOutput {
 public:
  using WritePdf = std::function<WriteResult(const std::string& path)>;
  using Describe = std::function<DocumentName()>;

  // kind: "Invoice" or "Report", the start of the proposed file name; describe: the job's
  // names as they stand; write: the document drawn into a PDF file; lastFolder: the folder
  // of the last export, shared by every document.
  DocumentOutput(Services& services, std::string kind, Describe describe, WritePdf write,
                 std::string& lastFolder);

  // Asks for a PDF file and writes it; a cancel, or No to replacing a file, writes nothing.
  // The dialog starts in the job's folder, else where the last export went.
  void exportPdf();

  // With no printer installed, offers the PDF file instead and returns false; true when
  // there is a printer to print on.
  bool printerOrPdf();

  // A failed print is told, never dropped.
  void tell(const PrintResult& result);

  // "Invoice-1042-Garden.pdf", "Invoice-Garden.pdf", "Invoice-1042.pdf" or "Invoice.pdf".
  std::string proposedName(const DocumentName& name) const;

 private:
  Services& services_;
  std::string kind_;
  Describe describe_;
  WritePdf write_;
  std::string& lastFolder_;
  FileDialog dialog_;
};

}  // namespace vantrel
