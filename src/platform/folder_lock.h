// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace vantrel {

// One running copy per application folder. The lock is an flock on a file in the folder,
// which the system lets go of when the process ends, however it ends: a crashed copy never
// blocks the next start. The same file is the in-use mark: it names the running copy while
// it runs and is emptied by a normal end, so a mark found by the copy that gets the lock was
// left by one that did not end normally.
class FolderLock {
 public:
  static constexpr const char* kFileName = "vantrel.lock";
  enum class Claim { Taken, Held, Unavailable };

  FolderLock() = default;
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;
  ~FolderLock();  // the lock goes with the file; the mark stays, as after a crash

  // Taken: this copy runs on the folder. Held: a running copy holds it. Unavailable: the
  // folder takes no lock file (read-only, say); the copy runs unguarded rather than not at all.
  Claim claim(const std::string& folder);
  bool taken() const { return fd_ >= 0; }
  // Known once taken: the copy before this one left its mark.
  bool leftInUse() const { return leftInUse_; }
  // A normal end: the mark is cleared and the lock let go.
  void release();

 private:
  int fd_ = -1;
  bool leftInUse_ = false;
};

}  // namespace vantrel
