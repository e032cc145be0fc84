// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/text_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <filesystem>

#include "platform/services.h"
#include "platform/translation.h"
#include "platform/writer_calls.h"

namespace vantrel {
namespace {

// Windows-1252 bytes 0x80..0x9F; the five unassigned ones map to the C1 code points.
constexpr char32_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void appendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Decodes one UTF-8 sequence at i; false when the bytes there are not valid UTF-8.
bool nextUtf8(const std::string& s, std::size_t& i, char32_t& cp) {
  auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  unsigned char b = byte(i);
  int extra = 0;
  if (b < 0x80) {
    cp = b;
  } else if (b >= 0xC2 && b <= 0xDF) {
    cp = b & 0x1F;
    extra = 1;
  } else if (b >= 0xE0 && b <= 0xEF) {
    cp = b & 0x0F;
    extra = 2;
  } else if (b >= 0xF0 && b <= 0xF4) {
    cp = b & 0x07;
    extra = 3;
  } else {
    return false;
  }
  if (i + extra >= s.size() && extra > 0) return false;
  for (int k = 1; k <= extra; ++k) {
    unsigned char c = byte(i + k);
    if ((c & 0xC0) != 0x80) return false;
    cp = (cp << 6) | (c & 0x3F);
  }
  // Overlong forms, surrogates and values past Unicode are not UTF-8.
  if ((extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
      (cp >= 0xD800 && cp <= 0xDFFF))
    return false;
  i += extra + 1;
  return true;
}

// The length of the run of ASCII bytes from i: the bulk of every data file, passed over in
// one step by the codecs below.
std::size_t asciiRun(const std::string& s, std::size_t i) {
  std::size_t k = i;
  while (k < s.size() && static_cast<unsigned char>(s[k]) < 0x80) ++k;
  return k - i;
}

bool isMultiByteUtf8(const std::string& s) {
  bool multi = false;
  for (std::size_t i = 0; i < s.size();) {
    i += asciiRun(s, i);
    if (i == s.size()) break;
    char32_t cp = 0;
    if (!nextUtf8(s, i, cp)) return false;
    if (cp >= 0x80) multi = true;
  }
  return multi;
}

// `message` has the path as %1 and the system's reason as %2.
std::string errnoText(const std::string& message, const std::string& path, int err) {
  // A missing file is the common case (a first start has none): said in the program's own
  // words, without loading the system's catalogue of error texts for it.
  // TRANSLATORS: why a file could not be opened or read: "cannot open FILE: <this>".
  return fill(message, {path, err == ENOENT ? tr("there is no such file") : std::strerror(err)});
}

// Why a write failed, in the words of someone saving a file rather than of the system.
// A replaced file keeps its permissions (a private customer file stays private); a new one
// gets what the user's umask gives any new file.
mode_t modeFor(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) return st.st_mode & 07777;
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

std::string writeFailureReason(int err) {
  switch (err) {
    case ENOENT:
      // TRANSLATORS: why a file could not be saved, shown as "Could not save %1: %2".
      return tr("the folder does not exist");
    case EACCES:
    case EPERM:
      // TRANSLATORS: why a file could not be saved, shown as "Could not save %1: %2".
      return tr("you do not have permission to write there");
    case EROFS:
      // TRANSLATORS: why a file could not be saved, shown as "Could not save %1: %2".
      return tr("the disk is read-only");
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
      // TRANSLATORS: why a file could not be saved, shown as "Could not save %1: %2".
      return tr("the disk is full");
    case ENOTDIR:
      // TRANSLATORS: why a file could not be saved, shown as "Could not save %1: %2".
      return tr("part of the path is not a folder");
    case EISDIR:
      // TRANSLATORS: why a file could not be saved, shown as "Could not save %1: %2".
      return tr("a folder has that name");
    case ENAMETOOLONG:
      // TRANSLATORS: why a file could not be saved, shown as "Could not save %1: %2".
      return tr("the name is too long");
    case EIO:
      // TRANSLATORS: why a file could not be saved, shown as "Could not save %1: %2".
      return tr("the disk reported an error");
    default:
      return std::strerror(err);
  }
}

std::string folderOf(const std::string& path) {
  auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

bool writeAll(ssize_t (*write)(int, const void*, std::size_t), int fd, const std::string& data) {
  std::size_t done = 0;
  while (done < data.size()) {
    ssize_t n = write(fd, data.data() + done, data.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) {  // nothing taken and no reason given
      errno = EIO;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// A temporary file is locked for as long as its writer may still need it, so a sweep by
// another copy leaves it alone; the system drops the lock when the writer dies, and the next
// sweep may take the file.
int lockedBy(int fd) {
  int locked = 0;
  do {
    locked = ::flock(fd, LOCK_EX);
  } while (locked != 0 && errno == EINTR);
  return locked == 0 ? ::fcntl(fd, F_DUPFD_CLOEXEC, 0) : -1;
}

// Whether the name still leads to the open file: a sweep may have taken it before the lock.
bool stillNamed(const std::string& name, int fd) {
  struct stat byName {
  }, byFd{};
  return ::stat(name.c_str(), &byName) == 0 && ::fstat(fd, &byFd) == 0 &&
         byName.st_ino == byFd.st_ino && byName.st_dev == byFd.st_dev;
}

void closeGuard(int& guard) {
  if (guard >= 0) ::close(guard);
  guard = -1;
}

}  // namespace

std::string fromWindows1252(const std::string& bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (const std::size_t run = asciiRun(bytes, i); run > 0) {
      out.append(bytes, i, run);
      i += run - 1;
      continue;
    }
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) {
      out += static_cast<char>(b);
    } else if (b < 0xA0) {
      appendUtf8(out, kHigh[b - 0x80]);
    } else {
      appendUtf8(out, b);
    }
  }
  return out;
}

std::optional<std::string> toWindows1252(const std::string& utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    if (const std::size_t run = asciiRun(utf8, i); run > 0) {
      out.append(utf8, i, run);
      i += run;
      continue;
    }
    char32_t cp = 0;
    if (!nextUtf8(utf8, i, cp)) return std::nullopt;
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
      out += static_cast<char>(cp);
      continue;
    }
    bool found = false;
    for (int k = 0; k < 32; ++k) {
      if (kHigh[k] == cp) {
        out += static_cast<char>(0x80 + k);
        found = true;
        break;
      }
    }
    if (!found) return std::nullopt;
  }
  return out;
}

std::string decodeFileText(const std::string& bytes) {
  return isMultiByteUtf8(bytes) ? bytes : fromWindows1252(bytes);
}

FileBytes readFileBytes(const std::string& path) {
  FileBytes file;
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    file.status = FileBytes::Status::NotOpened;
    file.err = errno;
    return file;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    file.status = S_ISDIR(st.st_mode) ? FileBytes::Status::Folder : FileBytes::Status::NotAFile;
    return file;
  }
  // The program's files are small; a huge file chosen by mistake is read only so far.
  constexpr std::size_t kMostRead = 64u << 20;
  char buffer[65536];
  while (file.bytes.size() < kMostRead) {
    const ssize_t n = ::read(fd, buffer, std::min(sizeof buffer, kMostRead - file.bytes.size()));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      file.status = FileBytes::Status::NotRead;
      file.err = errno;
      break;
    }
    if (n == 0) break;
    file.bytes.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return file;
}

ReadResult readLines(const std::string& path) {
  removeLeftoverTemps(path);
  ReadResult result;
  const FileBytes file = readFileBytes(path);
  switch (file.status) {
    case FileBytes::Status::NotOpened:
      // TRANSLATORS: %1 is a file's path, %2 the system's reason.
      result.error = errnoText(tr("cannot open %1: %2"), path, file.err);
      return result;
    case FileBytes::Status::NotAFile:
    case FileBytes::Status::Folder:
      // TRANSLATORS: %1 is a file's path.
      result.error = fill(tr("cannot open %1: it is not a file"), {path});
      return result;
    case FileBytes::Status::NotRead:
      // TRANSLATORS: %1 is a file's path, %2 the system's reason.
      result.error = errnoText(tr("cannot read %1: %2"), path, file.err);
      return result;
    case FileBytes::Status::Read:
      break;
  }
  result.opened = true;
  std::string text = decodeFileText(file.bytes);
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    std::size_t length = (end == std::string::npos ? text.size() : end) - start;
    if (length > 0 && text[start + length - 1] == '\r') --length;
    std::string& line = result.lines.emplace_back(text, start, length);
    // A CR left inside a line reads as the space a save writes for it: a value then means
    // the same before and after it is saved (" 5" is a number, "\r5" was not).
    if (line.find('\r') != std::string::npos) std::replace(line.begin(), line.end(), '\r', ' ');
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return result;
}

WriteResult writeLines(const std::string& path, const std::vector<std::string>& lines) {
  std::string text;
  appendFileLines(text, lines);
  return writeFileText(path, text);
}

void appendFileLines(std::string& text, const std::vector<std::string>& lines) {
  std::size_t size = text.size();
  for (const std::string& value : lines) size += value.size() + 2;
  text.reserve(size);
  for (const std::string& value : lines) {
    const std::size_t at = text.size();
    text += value;
    if (value.find('\r') != std::string::npos || value.find('\n') != std::string::npos) {
      std::replace_if(
          text.begin() + static_cast<std::ptrdiff_t>(at), text.end(),
          [](char c) { return c == '\r' || c == '\n'; }, ' ');
    }
    text += "\r\n";
  }
}

WriteResult writeFileText(const std::string& path, const std::string& text) {
  // Windows-1252 bytes that happen to form UTF-8 ("Ã©" is C3 A9, which is "é") would read
  // back as other text: such a file is written in UTF-8, which reads back as it stands.
  const std::optional<std::string> narrow = toWindows1252(text);
  if (!narrow || isMultiByteUtf8(*narrow)) return writeBytes(path, text);
  return writeBytes(path, *narrow);
}

namespace {

// A second name for the file being replaced, so that it can be put back if the new one
// cannot be made to last. It has the form of a leftover temporary file: a crash while it
// exists leaves the right file in place, and the next start removes it.
std::optional<std::string> keepOldFile(const std::string& path, int& guard) {
  static constexpr char kLetters[] =
      "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  // Differs between processes (a forked child included) and between calls.
  timespec now{};
  ::clock_gettime(CLOCK_MONOTONIC, &now);
  unsigned seed = static_cast<unsigned>(::getpid()) * 2654435761u ^
                  static_cast<unsigned>(now.tv_nsec) ^ static_cast<unsigned>(now.tv_sec);
  for (int attempt = 0; attempt < 64; ++attempt) {
    std::string name = path + ".tmp-";
    for (int k = 0; k < 6; ++k) {
      seed = seed * 1103515245u + 12345u;
      name += kLetters[(seed >> 16) % (sizeof kLetters - 1)];
    }
    if (::link(path.c_str(), name.c_str()) == 0) {
      const int fd = ::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
      guard = fd >= 0 ? lockedBy(fd) : -1;
      if (fd >= 0) ::close(fd);
      if (guard >= 0 && stillNamed(name, guard)) return name;
      closeGuard(guard);
      continue;  // swept before it was locked: the old file is still in place, try again
    }
    // No old file, or a file system without second names: nothing to keep.
    if (errno != EEXIST) return std::nullopt;
  }
  return std::nullopt;
}

// Some file systems cannot sync a folder at all; that is no failure of this write.
bool folderSyncFailed(int err) {
  return err != EINVAL && err != ENOTSUP && err != EBADF;
}

}  // namespace

WriterCalls systemWriterCalls() {
  return WriterCalls{::mkstemp, ::write, ::fsync, ::close, ::rename, ::fsync};
}

WriterCalls& writerCalls() {
  static WriterCalls calls = systemWriterCalls();
  return calls;
}

// The new bytes go to a temporary file beside the old one, reach the disk, and only then
// take the old file's name in one rename; the folder is synced so the rename lasts too.
// Whatever step fails, the old file is left as it was (put back, if the rename was done).
WriteResult writeBytes(const std::string& path, const std::string& bytes) {
  const WriterCalls& calls = writerCalls();
  WriteResult result;
  std::string temp;
  int fd = -1;
  int tempGuard = -1;
  for (int attempt = 0; attempt < 8 && tempGuard < 0; ++attempt) {
    temp = path + ".tmp-XXXXXX";
    fd = calls.create(temp.data());
    if (fd < 0) {
      result.error = writeFailureReason(errno);
      return result;
    }
    tempGuard = lockedBy(fd);
    // No lock to be had here (a file system without locks): written unguarded, as before.
    if (tempGuard < 0) break;
    if (stillNamed(temp, fd)) break;
    closeGuard(tempGuard);
    calls.close(fd);
    fd = -1;
  }
  if (fd < 0) {
    result.error = writeFailureReason(ENOENT);
    return result;
  }
  ::fchmod(fd, modeFor(path));
  int err = 0;
  if (!writeAll(calls.write, fd, bytes) || calls.sync(fd) != 0) err = errno;
  if (calls.close(fd) != 0 && err == 0) err = errno;
  const bool existed = fileExists(path);
  int oldGuard = -1;
  std::optional<std::string> old = err == 0 && existed ? keepOldFile(path, oldGuard) : std::nullopt;
  if (err == 0 && calls.rename(temp.c_str(), path.c_str()) != 0) err = errno;
  closeGuard(tempGuard);
  if (err != 0) {
    ::unlink(temp.c_str());
    if (old) ::unlink(old->c_str());
    closeGuard(oldGuard);
    result.error = writeFailureReason(err);
    return result;
  }
  int dir = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY);
  if (dir >= 0) {
    if (calls.syncFolder(dir) != 0 && folderSyncFailed(errno)) err = errno;
    ::close(dir);
  }
  if (err != 0) {
    // The rename may not survive a power cut: undo it rather than claim a save.
    if (old) {
      ::rename(old->c_str(), path.c_str());
    } else if (!existed) {
      ::unlink(path.c_str());
    }
    closeGuard(oldGuard);
    result.error = writeFailureReason(err);
    return result;
  }
  if (old) ::unlink(old->c_str());
  closeGuard(oldGuard);
  result.ok = true;
  return result;
}

bool fileExists(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

namespace {

constexpr std::string_view kTempMark = ".tmp-";
constexpr std::size_t kTempRandom = 6;  // what mkstemp puts in place of XXXXXX

// "NAME.tmp-" and six letters or digits: a replacement that never got its rename.
bool isLeftoverTemp(std::string_view name, std::string_view of) {
  if (name.size() <= kTempMark.size() + kTempRandom) return false;
  std::string_view stem = name.substr(0, name.size() - kTempMark.size() - kTempRandom);
  if (!of.empty() && stem != of) return false;
  if (stem.empty()) return false;
  if (name.substr(stem.size(), kTempMark.size()) != kTempMark) return false;
  for (char c : name.substr(name.size() - kTempRandom)) {
    if (!std::isalnum(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

void removeTemps(const std::filesystem::path& folder, std::string_view of) {
  std::error_code ec;
  std::filesystem::directory_iterator it(folder.empty() ? "." : folder, ec);
  if (ec) return;
  for (const auto& entry : it) {
    std::error_code entryError;
    if (!entry.is_regular_file(entryError)) continue;
    if (!isLeftoverTemp(entry.path().filename().string(), of)) continue;
    // Only a file no writer holds any more: a copy still writing it keeps it locked.
    const int fd = ::open(entry.path().c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) std::filesystem::remove(entry.path(), entryError);
    ::close(fd);
  }
}

}  // namespace

void removeLeftoverTemps(const std::string& path) {
  if (path.empty()) return;
  const std::filesystem::path file(path);
  const std::string name = file.filename().string();
  if (!name.empty()) removeTemps(file.parent_path(), name);
}

void removeLeftoverTempsIn(const std::string& folder) {
  if (!folder.empty()) removeTemps(folder, {});
}

std::string whyNotDataFile(const std::string& path) {
  // TRANSLATORS: why a file is not opened ("Could not open %1: %2"); "it" is the file.
  const std::string noPermission = tr("you do not have permission to read it");
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) return {};
    return errno == EACCES ? noPermission : std::strerror(errno);
  }
  // TRANSLATORS: why a file is not opened ("Could not open %1: %2"); "it" is the file.
  if (S_ISDIR(st.st_mode)) return tr("it is a folder");
  // TRANSLATORS: why a file is not opened ("Could not open %1: %2"); "it" is the file.
  if (!S_ISREG(st.st_mode)) return tr("it is not a file");
  if (static_cast<std::uint64_t>(st.st_size) > kLargestDataFile) {
    // TRANSLATORS: why a file is not opened ("Could not open %1: %2"); "it" is the file.
    return tr("it is too large to be a Vantrel file");
  }
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return errno == EACCES || errno == EPERM ? noPermission : std::strerror(errno);
  std::string bytes;
  char buffer[65536];
  int err = 0;
  // The size on record can be wrong (files the system makes up): what is read decides.
  while (bytes.size() <= kLargestDataFile) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) err = errno;
    if (n <= 0) break;
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  if (err != 0) return err == EACCES ? noPermission : std::strerror(err);
  if (bytes.size() > kLargestDataFile) return tr("it is too large to be a Vantrel file");
  // TRANSLATORS: why a file is not opened ("Could not open %1: %2"); "it" is the file.
  if (bytes.empty()) return tr("it is empty");
  for (unsigned char c : bytes) {
    if ((c < 0x20 && c != '\t' && c != '\r' && c != '\n') || c == 0x7F) {
      // TRANSLATORS: why a file is not opened ("Could not open %1: %2"); "it" is the file.
      return tr("it is not a Vantrel file");
    }
  }
  return {};
}

bool refusedToOpen(MessageBoxes& messages, const std::string& path) {
  const std::string why = path.empty() ? std::string() : whyNotDataFile(path);
  // TRANSLATORS: %1 is a file's path, %2 why it is not opened ("it is empty").
  if (!why.empty()) messages.show(fill(tr("Could not open %1: %2"), {path, why}));
  return !why.empty();
}

WriteResult renameAside(const std::string& from, const std::string& to) {
  WriteResult result;
  if (::link(from.c_str(), to.c_str()) != 0 || ::unlink(from.c_str()) != 0) {
    result.error = writeFailureReason(errno);
    return result;
  }
  const int dir = ::open(folderOf(to).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  result.ok = true;
  return result;
}

std::string couldNotSave(const std::string& path, const WriteResult& result) {
  // TRANSLATORS: %1 is why the file could not be saved ("the disk is full").
  if (path.empty()) return fill(tr("Could not save: %1"), {result.error});
  // TRANSLATORS: %1 is a file's path, %2 why it could not be saved ("the disk is full").
  return fill(tr("Could not save %1: %2"), {path, result.error});
}

std::string joinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  return folder.back() == '/' ? folder + name : folder + "/" + name;
}

std::string parentFolder(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return {};
  return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace vantrel
