// SPDX-License-Identifier: GPL-3.0-or-later
// How long a program takes to put its first top-level window on the X display, how long until
// that window's first contents are drawn, and how much memory the program holds a few seconds
// later. bench/startup.sh runs it on Vantrel and on a bare Qt window; run that script
// (`bash bench/startup.sh`) rather than this tool alone.
//
//   first_window [--timeout S] [--settle S] [--any-window] -- PROGRAM [ARGUMENTS...]
//
// Listens for SubstructureNotify on the root window of $DISPLAY, takes a CLOCK_MONOTONIC
// start, forks and execs PROGRAM and waits for the first MapNotify of a child of the root
// (with no window manager every top-level window is one) whose _NET_WM_PID is PROGRAM's
// process; a window without that property counts too, one of another process does not
// (--any-window: any window counts, for a PROGRAM that is a wrapper such as perf or strace;
// the memory figures are then the wrapper's). Every new top-level window gets a DAMAGE
// object as it is created, so the program's first drawing into the window is seen too. Then it
// waits --settle seconds (default 5) from the map, reads VmRSS from /proc/PID/status and Pss from
// /proc/PID/smaps_rollup, ends the program (SIGTERM, SIGKILL after 3 s) and reaps it. The program's
// own output goes to stderr; if this tool is killed, the program is killed too.
//
// Prints, one figure a line:
//   window_ms 123.456   fork to MapNotify
//   paint_ms 130.789    fork to the program's first drawing into that window (-1: the server
//                       has no DAMAGE extension, or nothing was drawn within --timeout)
//   rss_kb 45678
//   pss_kb 34567        (-1 where smaps_rollup cannot be read)
// Exit status: 0 measured; 1 no window within --timeout (default 20 s) or the program ended
// first; 2 bad usage, no display, or the program could not be started.

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/types.h>
#include <sys/uio.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <xcb/xcb.h>
#include <xcb/xcbext.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

namespace {

double nowMs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<double>(ts.tv_sec) * 1000.0 + static_cast<double>(ts.tv_nsec) / 1e6;
}

// The number after "KEY:" in a /proc file of "Key:   value kB" lines, or -1.
long procField(const std::string& path, const std::string& key) {
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    if (line.compare(0, key.size() + 1, key + ":") == 0) {
      return std::strtol(line.c_str() + key.size() + 1, nullptr, 10);
    }
  }
  return -1;
}

// True once the child has ended (and has been reaped).
bool childEnded(pid_t pid) {
  int status = 0;
  return waitpid(pid, &status, WNOHANG) == pid;
}

void endChild(pid_t pid) {
  if (childEnded(pid)) return;
  kill(pid, SIGTERM);
  for (int i = 0; i < 300; ++i) {
    if (childEnded(pid)) return;
    usleep(10 * 1000);
  }
  kill(pid, SIGKILL);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
}

template <class T>
using Reply = std::unique_ptr<T, decltype(&free)>;

xcb_atom_t internAtom(xcb_connection_t* c, const char* name) {
  auto cookie = xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name);
  Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(c, cookie, nullptr), &free);
  return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

// The window's _NET_WM_PID, if it has one; sequence is that of the request asking for it.
std::optional<uint32_t> windowPid(xcb_connection_t* c, xcb_window_t window, xcb_atom_t pidAtom,
                                  unsigned int& sequence) {
  auto cookie = xcb_get_property(c, 0, window, pidAtom, XCB_ATOM_CARDINAL, 0, 1);
  sequence = cookie.sequence;
  Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(c, cookie, nullptr), &free);
  if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) < 4) {
    return std::nullopt;
  }
  return *static_cast<uint32_t*>(xcb_get_property_value(reply.get()));
}

// The DAMAGE extension's two requests, sent by hand (no libxcb-damage is needed).
xcb_extension_t damageExtension = {"DAMAGE", 0};

class Damage {
 public:
  // Whether the server has DAMAGE; negotiates the version the protocol asks for first.
  explicit Damage(xcb_connection_t* c) : c_(c) {
    const xcb_query_extension_reply_t* ext = xcb_get_extension_data(c, &damageExtension);
    if (ext == nullptr || !ext->present) return;
    struct {
      uint8_t major, minor;
      uint16_t length;
      uint32_t clientMajor, clientMinor;
    } query{0, 0, 0, 1, 1};
    static const xcb_protocol_request_t kQueryVersion = {2, &damageExtension, 0, 0};
    const unsigned int sequence = send(&query, sizeof query, kQueryVersion, XCB_REQUEST_CHECKED);
    xcb_generic_error_t* error = nullptr;
    Reply<void> reply(xcb_wait_for_reply(c, sequence, &error), &free);
    free(error);
    if (reply) notifyEvent_ = ext->first_event;
  }

  bool available() const { return notifyEvent_ >= 0; }

  // Reports every drawing into the window (level RawRectangles).
  void watch(xcb_window_t window) {
    if (!available()) return;
    struct {
      uint8_t major, minor;
      uint16_t length;
      uint32_t damage, drawable;
      uint8_t level, pad[3];
    } create{0, 1, 0, xcb_generate_id(c_), window, 0, {0, 0, 0}};
    static const xcb_protocol_request_t kCreate = {2, &damageExtension, 1, 1};
    send(&create, sizeof create, kCreate, 0);
  }

  // The drawable of a DamageNotify event, or nothing for any other event.
  std::optional<xcb_window_t> damaged(const xcb_generic_event_t* event) const {
    if (!available() || (event->response_type & 0x7f) != notifyEvent_) return std::nullopt;
    uint32_t drawable = 0;
    std::memcpy(&drawable, reinterpret_cast<const char*>(event) + 4, sizeof drawable);
    return drawable;
  }

 private:
  unsigned int send(void* request, size_t size, const xcb_protocol_request_t& kind, int flags) {
    iovec parts[4];
    parts[2].iov_base = request;
    parts[2].iov_len = size;
    parts[3].iov_base = nullptr;
    parts[3].iov_len = -size & 3;
    return xcb_send_request(c_, flags, parts + 2, &kind);
  }

  xcb_connection_t* c_;
  int notifyEvent_ = -1;
};

// Parses a whole number of seconds; false when it is none.
bool seconds(const char* text, int& out) {
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || value < 0 || value > 3600) return false;
  out = static_cast<int>(value);
  return true;
}

int usage() {
  std::fprintf(stderr,
               "usage: first_window [--timeout S] [--settle S] [--any-window] -- PROGRAM "
               "[ARGUMENTS...]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  int timeoutS = 20;
  int settleS = 5;
  bool anyWindow = false;
  int at = 1;
  for (; at < argc; ++at) {
    const std::string arg = argv[at];
    if (arg == "--") {
      ++at;
      break;
    }
    if (arg == "--timeout" && at + 1 < argc) {
      if (!seconds(argv[++at], timeoutS)) return usage();
    } else if (arg == "--settle" && at + 1 < argc) {
      if (!seconds(argv[++at], settleS)) return usage();
    } else if (arg == "--any-window") {
      anyWindow = true;
    } else if (arg.rfind("--", 0) == 0) {
      return usage();
    } else {
      break;
    }
  }
  if (at >= argc) return usage();
  char** program = argv + at;

  int screenNumber = 0;
  xcb_connection_t* c = xcb_connect(nullptr, &screenNumber);
  if (xcb_connection_has_error(c)) {
    std::fprintf(stderr, "first_window: cannot open the display \"%s\"\n",
                 std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "");
    return 2;
  }
  // The program must not inherit the connection.
  const int xfd = xcb_get_file_descriptor(c);
  fcntl(xfd, F_SETFD, fcntl(xfd, F_GETFD) | FD_CLOEXEC);

  xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(c));
  for (int i = 0; i < screenNumber && screens.rem; ++i) xcb_screen_next(&screens);
  const xcb_window_t root = screens.data->root;
  const uint32_t mask[] = {XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY};
  Reply<xcb_generic_error_t> error(
      xcb_request_check(c, xcb_change_window_attributes_checked(c, root, XCB_CW_EVENT_MASK, mask)),
      &free);
  if (error) {
    std::fprintf(stderr, "first_window: cannot listen on the root window (X error %d)\n",
                 error->error_code);
    return 2;
  }
  const xcb_atom_t pidAtom = internAtom(c, "_NET_WM_PID");
  Damage damage(c);

  // A pipe closed by a successful exec tells a failed exec apart from a started program.
  int execPipe[2];
  if (pipe2(execPipe, O_CLOEXEC) != 0) return 2;
  const pid_t parent = getpid();
  const double start = nowMs();
  const pid_t pid = fork();
  if (pid < 0) {
    std::perror("first_window: fork");
    return 2;
  }
  if (pid == 0) {
    close(execPipe[0]);
    dup2(STDERR_FILENO, STDOUT_FILENO);
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) _exit(127);
    execvp(program[0], program);
    const int failure = errno;
    (void)!write(execPipe[1], &failure, sizeof failure);
    _exit(127);
  }
  close(execPipe[1]);
  int failure = 0;
  const ssize_t got = read(execPipe[0], &failure, sizeof failure);
  close(execPipe[0]);
  if (got == static_cast<ssize_t>(sizeof failure)) {
    std::fprintf(stderr, "first_window: cannot start %s: %s\n", program[0], std::strerror(failure));
    endChild(pid);
    return 2;
  }

  // Wait for the program's first top-level window to be mapped, then drawn. The server may
  // paint a window's background itself as it maps it; that damage is reported before the
  // reply to a request made on seeing the MapNotify, the program's own drawing (which waits
  // for its Expose) after it, so the first damage at or after that request's sequence number
  // is the program's.
  std::optional<xcb_window_t> shown;
  std::optional<double> shownAt;
  std::optional<double> paintedAt;
  unsigned int barrier = 0;
  const double deadline = start + timeoutS * 1000.0;
  for (;;) {
    while (xcb_generic_event_t* event = xcb_poll_for_event(c)) {
      const double when = nowMs();
      const int type = event->response_type & 0x7f;
      if (type == XCB_CREATE_NOTIFY) {
        damage.watch(reinterpret_cast<xcb_create_notify_event_t*>(event)->window);
      } else if (type == XCB_MAP_NOTIFY && !shown) {
        const xcb_window_t window = reinterpret_cast<xcb_map_notify_event_t*>(event)->window;
        unsigned int sequence = 0;
        const auto owner = windowPid(c, window, pidAtom, sequence);
        if (anyWindow || !owner || *owner == static_cast<uint32_t>(pid)) {
          shown = window;
          shownAt = when;
          barrier = sequence;
        }
      } else if (auto drawn = damage.damaged(event)) {
        if (shown && *drawn == *shown && !paintedAt && event->full_sequence >= barrier) {
          paintedAt = when;
        }
      }
      free(event);
    }
    if (shown && (paintedAt || !damage.available())) break;
    if (xcb_connection_has_error(c)) {
      std::fprintf(stderr, "first_window: lost the display\n");
      endChild(pid);
      return 2;
    }
    if (childEnded(pid)) {
      std::fprintf(stderr, "first_window: %s ended before it showed a window\n", program[0]);
      return 1;
    }
    const double left = deadline - nowMs();
    if (left <= 0) {
      if (shown) break;  // mapped, never drawn: paint_ms -1
      std::fprintf(stderr, "first_window: %s showed no window within %d s\n", program[0], timeoutS);
      endChild(pid);
      return 1;
    }
    pollfd wait{xfd, POLLIN, 0};
    // Short polls, so a program that ends without a window is noticed soon.
    poll(&wait, 1, static_cast<int>(left < 50 ? left + 1 : 50));
  }
  xcb_disconnect(c);

  // Let start-up settle, then read the program's memory.
  const double settleUntil = *shownAt + settleS * 1000.0;
  while (nowMs() < settleUntil) {
    if (childEnded(pid)) {
      std::fprintf(stderr, "first_window: %s ended before its memory was read\n", program[0]);
      return 1;
    }
    usleep(20 * 1000);
  }
  const std::string proc = "/proc/" + std::to_string(pid);
  const long rss = procField(proc + "/status", "VmRSS");
  const long pss = procField(proc + "/smaps_rollup", "Pss");
  endChild(pid);

  std::printf("start_at %.3f\nwindow_ms %.3f\npaint_ms %.3f\nrss_kb %ld\npss_kb %ld\n", start, *shownAt - start,
              paintedAt ? *paintedAt - start : -1.0, rss, pss);
  return rss < 0 ? 1 : 0;
}
