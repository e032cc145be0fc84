// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

namespace vantrel {

struct Services;
struct FileDialogRequest;

// The one file dialog a window keeps. It starts in the application folder with the window's
// filter and holds a name: the one proposed to it, else the one last chosen in it. A cancel
// gives back that held name, so callers that want a cancel to mean nothing empty it first.
class FileDialog {
 public:
  FileDialog(Services& services, std::string filter);

  // The path chosen, or nothing on a cancel (the held name stays as it was).
  std::optional<std::string> toOpen(const std::string& title);
  // A proposed name goes into the dialog's name first. Without `confirmOverwrite` the caller
  // asks about an existing file itself.
  std::optional<std::string> toSave(const std::string& title, const std::string& proposed = {},
                                    bool confirmOverwrite = true);

  // The name the dialog holds; a bare name lies in the folder it starts in.
  std::string held() const;
  void clear() { name_.clear(); }
  // Where it starts from now on, instead of the application folder.
  void startIn(std::string folder) { folder_ = std::move(folder); }

 private:
  std::optional<std::string> choose(const FileDialogRequest& request);

  std::string folder() const;

  Services& services_;
  std::string filter_;
  std::string name_;
  std::string folder_;  // empty: the application folder
};

}  // namespace vantrel
