// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/document_output.h"

#include <algorithm>

#include "platform/text_file.h"
#include "platform/translation.h"

namespace vantrel {

DocumentOutput::DocumentOutput(Services& services, std::string kind, Describe describe,
                               WritePdf write, std::string& lastFolder)
    : services_(services),
      kind_(std::move(kind)),
      describe_(std::move(describe)),
      write_(std::move(write)),
      lastFolder_(lastFolder),
      dialog_(services, "PDF (*.pdf)|*.pdf") {}

std::string DocumentOutput::proposedName(const DocumentName& name) const {
  std::string proposed = kind_;
  for (const std::string* part : {&name.invoiceNumber, &name.project}) {
    if (!part->empty()) proposed += "-" + *part;
  }
  // An invoice number such as "2026/17" would otherwise name a folder.
  std::replace(proposed.begin(), proposed.end(), '/', '-');
  return proposed + ".pdf";
}

void DocumentOutput::exportPdf() {
  const DocumentName name = describe_();
  std::string folder = parentFolder(name.jobFile);
  if (folder.empty()) folder = lastFolder_;
  if (!folder.empty()) dialog_.startIn(folder);
  const std::string title =
      kind_ == "Invoice" ? tr("Export Invoice as PDF") : tr("Export Report as PDF");
  const auto path = dialog_.toSave(title, proposedName(name), false);
  if (!path || path->empty()) return;
  lastFolder_ = parentFolder(*path);
  if (fileExists(*path) &&
      services_.messages.show(tr("File Exists, Would you like to Overwrite?"), Buttons::YesNoSafe,
                              "OverWrite File") != Answer::Yes) {
    return;
  }
  const WriteResult written = write_(*path);
  if (!written) services_.messages.show(couldNotSave(*path, written), Buttons::Ok);
}

bool DocumentOutput::printerOrPdf() {
  if (services_.printer.installed()) return true;
  if (services_.messages.show(tr("No printer is available. Save as a PDF file instead?"),
                              Buttons::YesNo) == Answer::Yes) {
    exportPdf();
  }
  return false;
}

void DocumentOutput::tell(const PrintResult& result) {
  if (!result)
    services_.messages.show(fill(tr("Printing failed: %1"), {result.error}), Buttons::Ok);
}

}  // namespace vantrel
