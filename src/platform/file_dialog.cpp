// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/file_dialog.h"

#include "platform/services.h"
#include "platform/text_file.h"

namespace vantrel {

FileDialog::FileDialog(Services& services, std::string filter)
    : services_(services), filter_(std::move(filter)) {}

std::optional<std::string> FileDialog::toOpen(const std::string& title) {
  FileDialogRequest request;
  request.title = title;
  return choose(request);
}

std::optional<std::string> FileDialog::toSave(const std::string& title, const std::string& proposed,
                                              bool confirmOverwrite) {
  FileDialogRequest request;
  request.save = true;
  request.title = title;
  request.proposed = proposed;
  request.confirmOverwrite = confirmOverwrite;
  return choose(request);
}

std::optional<std::string> FileDialog::choose(const FileDialogRequest& ask) {
  FileDialogRequest request = ask;
  request.filter = filter_;
  request.folder = folder();
  if (!request.proposed.empty()) name_ = request.proposed;
  auto chosen = services_.files.choose(request);
  if (!chosen) return std::nullopt;
  name_ = *chosen;
  return held();
}

std::string FileDialog::folder() const {
  return folder_.empty() ? services_.app.folder() : folder_;
}

std::string FileDialog::held() const {
  if (!name_.empty() && name_.find('/') == std::string::npos) return joinPath(folder(), name_);
  return name_;
}

}  // namespace vantrel
