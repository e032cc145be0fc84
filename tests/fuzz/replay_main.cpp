// SPDX-License-Identifier: GPL-3.0-or-later
// Runs files through a harness the way libFuzzer runs a corpus, without libFuzzer: every file
// named, and every file under every folder named, in name order. A crash or a broken property
// stops the run in the harness; the file's name is printed before it is read. Exits 1 when a
// path does not exist or nothing was read, so a mistyped corpus folder cannot pass empty.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  std::vector<fs::path> files;
  for (int i = 1; i < argc; ++i) {
    const fs::path given(argv[i]);
    std::error_code ec;
    if (fs::is_directory(given, ec)) {
      std::vector<fs::path> found;
      for (const auto& entry : fs::recursive_directory_iterator(given, ec)) {
        if (entry.is_regular_file()) found.push_back(entry.path());
      }
      std::sort(found.begin(), found.end());
      files.insert(files.end(), found.begin(), found.end());
    } else if (fs::is_regular_file(given, ec)) {
      files.push_back(given);
    } else {
      std::fprintf(stderr, "no such file or folder: %s\n", argv[i]);
      return 1;
    }
  }
  for (const fs::path& file : files) {
    std::printf("%s\n", file.c_str());
    std::fflush(stdout);
    std::ifstream in(file, std::ios::binary);
    if (!in) {
      std::fprintf(stderr, "cannot read %s\n", file.c_str());
      return 1;
    }
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  }
  std::printf("%zu inputs read\n", files.size());
  return files.empty() ? 1 : 0;
}
