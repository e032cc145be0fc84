// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/types.h>

#include <cstddef>

namespace vantrel {

// The system calls the atomic file writer makes, in the order it makes them. The writer
// calls them through this table so that a test can make any one of them fail and watch
// what the program does; the program itself never changes it.
struct WriterCalls {
  int (*create)(char* pattern);  // makes the temporary file, as mkstemp
  ssize_t (*write)(int fd, const void* data, std::size_t size);
  int (*sync)(int fd);  // the temporary file's data
  int (*close)(int fd);
  int (*rename)(const char* from, const char* to);
  int (*syncFolder)(int fd);  // the folder, so the rename itself survives a power cut
};

// The calls in use. Tests replace entries and put back `systemWriterCalls()` afterwards.
WriterCalls& writerCalls();
WriterCalls systemWriterCalls();

}  // namespace vantrel
