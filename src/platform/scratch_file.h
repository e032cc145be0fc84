// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace vantrel {

// A file of this process's own that no folder lists: made unlinked in a folder on the disk
// (O_TMPFILE, or a name removed at once where the file system has no such files) and gone
// when it closes, a crash included. What it holds waits on the disk, not in the program's
// memory, and no other program can change it meanwhile.
class ScratchFile {
 public:
  // Nothing when the folder takes no such file (missing, read-only, full).
  static std::unique_ptr<ScratchFile> make(const std::string& folder);
  ~ScratchFile();
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;

  bool append(std::string_view bytes);  // false when not all of them were written
  // Everything appended, added to the end of `out`; false, with `out` as it was, when it
  // could not be read back whole.
  bool readInto(std::string& out) const;
  std::size_t size() const { return size_; }

 private:
  explicit ScratchFile(int fd) : fd_(fd) {}
  int fd_;
  std::size_t size_ = 0;
};

}  // namespace vantrel
