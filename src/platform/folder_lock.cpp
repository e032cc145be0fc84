// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/text_file.h"

namespace vantrel {

FolderLock::~FolderLock() {
  if (fd_ >= 0) ::close(fd_);
}

FolderLock::Claim FolderLock::claim(const std::string& folder) {
  if (fd_ >= 0) return Claim::Taken;
  const std::string path = joinPath(folder, kFileName);
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) return Claim::Unavailable;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return Claim::Unavailable;
  }
  int locked = 0;
  do {
    locked = ::flock(fd, LOCK_EX | LOCK_NB);
  } while (locked != 0 && errno == EINTR);
  if (locked != 0) {
    const bool held = errno == EWOULDBLOCK;
    ::close(fd);
    return held ? Claim::Held : Claim::Unavailable;
  }
  fd_ = fd;
  leftInUse_ = ::fstat(fd, &st) == 0 && st.st_size > 0;
  // The mark is not synced: a power cut within the first seconds loses it, but nothing worth
  // offering back has been autosaved by then, and the start stays quick.
  const std::string mark = "in use by process " + std::to_string(::getpid()) + "\n";
  if (::ftruncate(fd, 0) == 0) {
    [[maybe_unused]] const ssize_t n = ::pwrite(fd, mark.data(), mark.size(), 0);
  }
  return Claim::Taken;
}

void FolderLock::release() {
  if (fd_ < 0) return;
  [[maybe_unused]] const int cleared = ::ftruncate(fd_, 0);
  ::close(fd_);
  fd_ = -1;
}

}  // namespace vantrel
