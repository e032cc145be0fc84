// SPDX-License-Identifier: GPL-3.0-or-later
// The data files' codecs and line reader against any bytes. What they promise:
// - a file always decodes to valid UTF-8: as itself when it is valid UTF-8 with a multi-byte
//   sequence, else as Windows-1252;
// - Windows-1252 bytes decoded and encoded again are the same bytes, and text that has a
//   Windows-1252 code for every character encodes and decodes to itself;
// - a file's lines are its text cut at each LF, less the CR before it (a last line without
//   an LF counts, less a CR that ends it), any other CR read as a space; lines written and
//   read back are the same lines.

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "platform/text_file.h"

using namespace vantrel;

namespace {

// Strict UTF-8 (RFC 3629): shortest forms only, no surrogates, nothing past U+10FFFF. Written
// out here on its own terms rather than with the codec's own reader, so the two check each other.
// Sets `multiByte` when a sequence of two or more bytes is found.
bool validUtf8(const std::string& text, bool& multiByte) {
  multiByte = false;
  const auto* s = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t n = text.size();
  for (std::size_t i = 0; i < n;) {
    const unsigned char b = s[i];
    if (b < 0x80) {
      ++i;
      continue;
    }
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;  // the allowed range of the second byte
    if (b >= 0xC2 && b <= 0xDF) {
      length = 2;
    } else if (b == 0xE0) {
      length = 3;
      low = 0xA0;
    } else if (b == 0xED) {
      length = 3;
      high = 0x9F;
    } else if (b >= 0xE1 && b <= 0xEF) {
      length = 3;
    } else if (b == 0xF0) {
      length = 4;
      low = 0x90;
    } else if (b == 0xF4) {
      length = 4;
      high = 0x8F;
    } else if (b >= 0xF1 && b <= 0xF3) {
      length = 4;
    } else {
      return false;
    }
    if (n - i < length) return false;
    if (s[i + 1] < low || s[i + 1] > high) return false;
    for (std::size_t k = 2; k < length; ++k) {
      if (s[i + k] < 0x80 || s[i + k] > 0xBF) return false;
    }
    multiByte = true;
    i += length;
  }
  return true;
}

bool validUtf8(const std::string& text) {
  bool multiByte = false;
  return validUtf8(text, multiByte);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);

  // Decoding.
  bool multiByte = false;
  const bool utf8 = validUtf8(bytes, multiByte);
  const std::string decoded = decodeFileText(bytes);
  fuzz::check(validUtf8(decoded), "a decoded file is valid UTF-8");
  const std::string asWindows = fromWindows1252(bytes);
  fuzz::check(validUtf8(asWindows), "Windows-1252 decodes to valid UTF-8");
  fuzz::check(decoded == (utf8 && multiByte ? bytes : asWindows),
              "a file is UTF-8 exactly when it is valid UTF-8 with a multi-byte sequence");
  fuzz::check(asWindows.size() >= bytes.size() && asWindows.size() <= 3 * bytes.size(),
              "each Windows-1252 byte is one to three UTF-8 bytes");

  // Encoding.
  const std::optional<std::string> back = toWindows1252(asWindows);
  fuzz::check(back.has_value() && *back == bytes, "Windows-1252 bytes survive decode and encode");
  if (utf8) {
    if (const std::optional<std::string> encoded = toWindows1252(bytes)) {
      fuzz::check(fromWindows1252(*encoded) == bytes, "encodable text survives encode and decode");
    }
  } else {
    fuzz::check(!toWindows1252(bytes).has_value(), "invalid UTF-8 has no Windows-1252 form");
  }

  // Lines: each LF ends one, with the CR before it; a last line without an LF still counts.
  const fuzz::Scratch& scratch = fuzz::Scratch::get();
  const std::string file = scratch.write("lines.txt", data, size);
  const ReadResult read = readLines(file);
  fuzz::check(read.opened, "a file just written can be read");
  const bool endsWithLf = !decoded.empty() && decoded.back() == '\n';
  const auto lfs = static_cast<std::size_t>(std::count(decoded.begin(), decoded.end(), '\n'));
  fuzz::check(read.lines.size() == lfs + (decoded.empty() || endsWithLf ? 0 : 1),
              "a file has a line for each LF, and one for text after the last");
  std::string joined;
  for (std::size_t i = 0; i < read.lines.size(); ++i) {
    fuzz::check(read.lines[i].find_first_of("\r\n") == std::string::npos,
                "a line holds no CR or LF");
    joined += (i == 0 ? "" : "\n") + read.lines[i];
  }
  if (endsWithLf) joined += '\n';
  std::string expected;
  for (std::size_t i = 0; i < decoded.size(); ++i) {
    const bool lineEnd = i + 1 == decoded.size() || decoded[i + 1] == '\n';
    if (decoded[i] != '\r') {
      expected += decoded[i];
    } else if (!lineEnd) {
      expected += ' ';
    }
  }
  fuzz::check(joined == expected,
              "the lines are the text, a CR ending one left out, another a space");

  // Written and read back: the same lines.
  const std::string copy = scratch.path("lines-copy.txt");
  fuzz::check(static_cast<bool>(writeLines(copy, read.lines)), "lines can be written");
  const ReadResult again = readLines(copy);
  fuzz::check(again.opened && again.lines == read.lines,
              "lines written and read back are the same lines");
  return 0;
}
