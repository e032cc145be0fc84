// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vantrel {

class MessageBoxes;

// Data files: one value a line, lines ended by CR LF. Readers take CR LF or LF, decode
// UTF-8 when the bytes are valid UTF-8 with at least one multi-byte sequence and
// Windows-1252 otherwise. Writers use Windows-1252 when every character has a code there,
// else UTF-8, and replace the file atomically. Text in memory is always UTF-8.

struct ReadResult {
  bool opened = false;
  std::vector<std::string> lines;
  std::string error;  // why it could not be opened
};

// Leftovers of a cut-short write of this file are removed first (see removeLeftoverTemps).
ReadResult readLines(const std::string& path);

// A file's bytes as they stand, read as readLines reads them: never waiting on a pipe or a
// device chosen by mistake, and at most 64 MB of a huge one.
struct FileBytes {
  enum class Status { Read, NotOpened, NotAFile, Folder, NotRead };
  Status status = Status::Read;
  int err = 0;  // the system's error where it could not be opened or read
  std::string bytes;
};
FileBytes readFileBytes(const std::string& path);

struct WriteResult {
  bool ok = false;
  std::string error;  // why it failed, in a user's words; the old file is untouched
  explicit operator bool() const { return ok; }
};

// What the user is told of a failed write: "Could not save PATH: REASON".
std::string couldNotSave(const std::string& path, const WriteResult& result);

// A CR or LF inside a value becomes a space, so the file keeps its line count.
WriteResult writeLines(const std::string& path, const std::vector<std::string>& lines);
// The two halves of writeLines, for a writer that joins part of its lines itself: the lines
// appended as a file holds them (each ended CR LF), then such text encoded and written.
void appendFileLines(std::string& text, const std::vector<std::string>& lines);
WriteResult writeFileText(const std::string& path, const std::string& text);

// Any bytes, replacing the file the same atomic way: the whole new file or the old one.
WriteResult writeBytes(const std::string& path, const std::string& bytes);

// A write that was cut short (a crash, a power cut) leaves its temporary file beside the
// file it was replacing. These remove such leftovers: those of one file, or every one in a
// folder. They are never read as data.
void removeLeftoverTemps(const std::string& path);
void removeLeftoverTempsIn(const std::string& folder);

bool fileExists(const std::string& path);

// Why a file chosen to be opened as one of the program's data files is refused, in a
// user's words ("it is a folder", "it is empty", ...), or empty when it may be read. A file
// that is not there is no refusal: it reads as nothing, as a short file reads as far as it
// goes.
std::string whyNotDataFile(const std::string& path);
// A file chosen to be opened that whyNotDataFile refuses: the user is told "Could not open
// PATH: REASON" and the answer is true. An empty name is no file to check.
bool refusedToOpen(MessageBoxes& messages, const std::string& path);
// Years of a work log with notes (100,000 entries) fit well within it.
inline constexpr std::size_t kLargestDataFile = 32u << 20;

// Gives a file a second name and drops the first, never replacing a file of the new name.
WriteResult renameAside(const std::string& from, const std::string& to);

// A file in a folder: one separator between them, however the folder ends.
std::string joinPath(const std::string& folder, const std::string& name);
// The folder a file lies in ("/" for a file at the root); empty for a bare name.
std::string parentFolder(const std::string& path);

// The codecs, exposed for the tests and for the tray tip.
std::string decodeFileText(const std::string& bytes);
std::optional<std::string> toWindows1252(const std::string& utf8);
std::string fromWindows1252(const std::string& bytes);

}  // namespace vantrel
