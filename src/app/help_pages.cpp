// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/help_pages.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "platform/services.h"
#include "platform/text_file.h"
#include "platform/translation.h"

namespace vantrel {

namespace {

struct EmbeddedPage {
  const char* name;
  const unsigned char* bytes;
  std::size_t size;
};

#include "vantrel_help_pages.inc"

std::vector<std::string> linesOf(std::string_view text) {
  std::vector<std::string> lines;
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.emplace_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

}  // namespace

const std::vector<HelpPage>& helpPages() {
  static const std::vector<HelpPage> pages = [] {
    std::vector<HelpPage> list;
    for (const EmbeddedPage& page : kHelpPages) {
      list.push_back({page.name, {reinterpret_cast<const char*>(page.bytes), page.size}});
    }
    return list;
  }();
  return pages;
}

std::string helpFolder(const std::string& appFolder) {
  return appFolder + "/help";
}

bool installHelpPages(const std::string& appFolder, const std::string& sharedFolder) {
  const std::string folder = helpFolder(appFolder);
  bool all = true;
  for (const HelpPage& page : helpPages()) {
    std::string path = folder + "/" + std::string(page.name);
    if (fileExists(path)) continue;
    std::error_code ec;
    std::filesystem::create_directories(parentFolder(path), ec);
    std::string text(page.text);
    if (!sharedFolder.empty()) {
      std::ifstream installed(helpFolder(sharedFolder) + "/" + std::string(page.name),
                              std::ios::binary);
      std::string bytes{std::istreambuf_iterator<char>(installed), {}};
      if (installed && !bytes.empty()) text = std::move(bytes);
    }
    // Not written as a data file, which would turn a UTF-8 page into Windows-1252.
    std::string bytes;
    appendFileLines(bytes, linesOf(text));
    if (!writeBytes(path, bytes)) all = false;
  }
  return all;
}

std::string helpAddress(const std::string& appFolder, std::string_view page) {
  std::string path = helpFolder(appFolder) + "/" + std::string(page);
  std::error_code ec;
  std::filesystem::path absolute = std::filesystem::absolute(path, ec);
  if (!ec) path = absolute.lexically_normal().string();
  // Percent-encode everything a file address may not carry as it is (spaces, '#', '%', ...).
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string address = "file://";
  for (unsigned char c : path) {
    bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                 c == '/' || c == '-' || c == '_' || c == '.' || c == '~';
    if (plain) {
      address += static_cast<char>(c);
    } else {
      address += '%';
      address += kHex[c >> 4];
      address += kHex[c & 15];
    }
  }
  return address;
}

void openHelpPage(Services& services, std::string_view page) {
  const std::string folder = services.app.folder();
  installHelpPages(folder, services.app.sharedFolder());
  std::string shown(page);
  if (const Language language = programLanguage(); language != Language::English) {
    std::string translated = std::string(languageCode(language)) + "/" + shown;
    if (fileExists(helpFolder(folder) + "/" + translated)) shown = std::move(translated);
  }
  const std::string address = helpAddress(folder, shown);
  if (!services.browser.open(address)) {
    services.messages.show(fill(tr("No program was found to open %1."), {address}));
  }
}

}  // namespace vantrel
