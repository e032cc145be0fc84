// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

namespace vantrel {

// How a second start gives its command line to the copy already running on the same
// application folder: a local socket named after the folder, reachable by the same user
// only. The running copy listens; the system wakes it when a start connects, so nothing
// waits or polls.

// Where the socket of the copy running on `folder` is: the user's runtime folder, else /tmp.
std::string handOverAddress(const std::string& folder);

class HandOverServer {
 public:
  HandOverServer() = default;
  HandOverServer(const HandOverServer&) = delete;
  HandOverServer& operator=(const HandOverServer&) = delete;
  ~HandOverServer();

  // Only the copy holding the folder's lock listens, so a socket left there by a crashed
  // copy is its own to replace.
  bool listen(const std::string& address);
  int fd() const { return fd_; }  // readable when a start has connected
  // One start's command line, answered at once; nothing when no start waits, or when it
  // is not a start of this program by this user.
  std::optional<std::string> take();

 private:
  int fd_ = -1;
  std::string address_;
};

// True when the running copy took the command line.
bool sendHandOver(const std::string& address, const std::string& commandLine);

}  // namespace vantrel
