// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace vantrel {

// Hands the memory a big read has freed back to the system. The C library keeps freed
// blocks for reuse, so the copies a long work log passes through on its way in (the file's
// bytes, its text, its lines) would otherwise stay in the program's resident size for as
// long as it runs.
inline void returnFreedMemory() {
#if defined(__GLIBC__)
  malloc_trim(0);
#endif
}

}  // namespace vantrel
