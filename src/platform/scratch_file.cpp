// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/scratch_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace vantrel {

std::unique_ptr<ScratchFile> ScratchFile::make(const std::string& folder) {
  if (folder.empty()) return nullptr;
  int fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
  if (fd < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
    // A file system without unnamed files: a named one, its name removed at once.
    std::string pattern = folder + "/.vantrel-scratch-XXXXXX";
    fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd >= 0 && ::unlink(pattern.c_str()) != 0) {
      ::close(fd);
      ::unlink(pattern.c_str());
      fd = -1;
    }
  }
  if (fd < 0) return nullptr;
  return std::unique_ptr<ScratchFile>(new ScratchFile(fd));
}

ScratchFile::~ScratchFile() {
  ::close(fd_);
}

bool ScratchFile::append(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::pwrite(fd_, bytes.data(), bytes.size(), static_cast<off_t>(size_));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    size_ += static_cast<std::size_t>(n);
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

bool ScratchFile::readInto(std::string& out) const {
  const std::size_t from = out.size();
  out.resize(from + size_);
  std::size_t done = 0;
  while (done < size_) {
    const ssize_t n = ::pread(fd_, out.data() + from + done, size_ - done, static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      out.resize(from);
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace vantrel
