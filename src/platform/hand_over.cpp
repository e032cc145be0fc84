// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/hand_over.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace vantrel {
namespace {

constexpr char kGreeting[] = "vantrel hand-over\n";
constexpr char kTaken[] = "taken\n";
constexpr std::size_t kLongest = 64 * 1024;  // a command line, not a file
constexpr int kWaitMs = 3000;                // for a copy that is busy drawing, not hung

bool address(const std::string& path, sockaddr_un& out) {
  std::memset(&out, 0, sizeof out);
  out.sun_family = AF_UNIX;
  if (path.empty() || path.size() >= sizeof out.sun_path) return false;
  std::memcpy(out.sun_path, path.data(), path.size());
  return true;
}

// Reads to the end the other side marks, or until it has nothing more to say in time.
std::string readAll(int fd, std::size_t most) {
  std::string bytes;
  char buffer[4096];
  while (bytes.size() < most) {
    pollfd p{fd, POLLIN, 0};
    const int ready = ::poll(&p, 1, kWaitMs);
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) break;
    const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
  return bytes;
}

bool sendAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

std::string handOverAddress(const std::string& folder) {
  char resolved[PATH_MAX];
  const std::string name = ::realpath(folder.c_str(), resolved) != nullptr ? resolved : folder;
  std::uint64_t hash = 14695981039346656037ull;  // FNV-1a: short, and the same in every copy
  for (unsigned char c : name) hash = (hash ^ c) * 1099511628211ull;
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  struct stat st {};
  std::string base = "/tmp";
  if (runtime != nullptr && runtime[0] == '/' && ::stat(runtime, &st) == 0 && S_ISDIR(st.st_mode)) {
    base = runtime;
  }
  char tail[64];
  std::snprintf(tail, sizeof tail, "/vantrel-%u-%016llx", static_cast<unsigned>(::getuid()),
                static_cast<unsigned long long>(hash));
  return base + tail;
}

HandOverServer::~HandOverServer() {
  if (fd_ < 0) return;
  ::close(fd_);
  ::unlink(address_.c_str());
}

bool HandOverServer::listen(const std::string& path) {
  sockaddr_un where{};
  if (fd_ >= 0 || !address(path, where)) return false;
  struct stat st {};
  if (::lstat(path.c_str(), &st) == 0) {
    if (!S_ISSOCK(st.st_mode) || st.st_uid != ::getuid()) return false;
    ::unlink(path.c_str());
  }
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return false;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&where), sizeof where) != 0 ||
      ::chmod(path.c_str(), 0600) != 0 || ::listen(fd, 8) != 0) {
    ::close(fd);
    return false;
  }
  fd_ = fd;
  address_ = path;
  return true;
}

std::optional<std::string> HandOverServer::take() {
  if (fd_ < 0) return std::nullopt;
  int peer = -1;
  do {
    peer = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
  } while (peer < 0 && errno == EINTR);
  if (peer < 0) return std::nullopt;
  std::optional<std::string> line;
  ucred who{};
  socklen_t size = sizeof who;
  if (::getsockopt(peer, SOL_SOCKET, SO_PEERCRED, &who, &size) == 0 && who.uid == ::getuid()) {
    const std::string bytes = readAll(peer, sizeof kGreeting - 1 + kLongest);
    if (bytes.compare(0, sizeof kGreeting - 1, kGreeting) == 0) {
      line = bytes.substr(sizeof kGreeting - 1);
      sendAll(peer, kTaken);
    }
  }
  ::close(peer);
  return line;
}

bool sendHandOver(const std::string& path, const std::string& commandLine) {
  sockaddr_un where{};
  if (!address(path, where) || commandLine.size() > kLongest) return false;
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  bool taken = false;
  if (::connect(fd, reinterpret_cast<sockaddr*>(&where), sizeof where) == 0 &&
      sendAll(fd, kGreeting + commandLine) && ::shutdown(fd, SHUT_WR) == 0) {
    taken = readAll(fd, sizeof kTaken) == kTaken;
  }
  ::close(fd);
  return taken;
}

}  // namespace vantrel
