// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/translation.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <optional>
#include <unordered_map>

#include "platform/text_file.h"

namespace vantrel {

namespace {

constexpr const char* kDomain = "vantrel";

// A compiled gettext catalog (msgfmt's .mo): a header, then two tables of (length, offset)
// pairs, the English texts and their translations, in the file's own byte order.
class Catalog {
 public:
  static Catalog read(const std::string& path) {
    Catalog catalog;
    const FileBytes file = readFileBytes(path);
    if (file.status != FileBytes::Status::Read || file.bytes.size() < 28) return catalog;
    const std::string& b = file.bytes;
    auto word = [&b](std::size_t at, bool swap) -> std::optional<std::uint32_t> {
      if (at + 4 > b.size()) return std::nullopt;
      std::uint32_t v;
      std::memcpy(&v, b.data() + at, 4);
      if (swap) v = __builtin_bswap32(v);
      return v;
    };
    const std::uint32_t magic = *word(0, false);
    const bool swap = magic == 0xde120495u;
    if (magic != 0x950412deu && !swap) return catalog;
    const auto count = word(8, swap), originals = word(12, swap), translations = word(16, swap);
    if (!count || !originals || !translations) return catalog;
    auto text = [&](std::uint32_t table, std::uint32_t i) -> std::optional<std::string_view> {
      const auto length = word(table + 8ull * i, swap), offset = word(table + 8ull * i + 4, swap);
      if (!length || !offset || std::size_t{*offset} + *length > b.size()) return std::nullopt;
      return std::string_view(b).substr(*offset, *length);
    };
    for (std::uint32_t i = 0; i < *count; ++i) {
      const auto english = text(*originals, i), translated = text(*translations, i);
      if (!english || !translated || english->empty() || translated->empty()) continue;
      // A plural entry is found by its singular, and gives its first form.
      std::string_view key = english->substr(0, english->find('\0'));
      std::string_view value = translated->substr(0, translated->find('\0'));
      catalog.texts_.emplace(std::string(key), std::string(value));
    }
    return catalog;
  }

  const std::string* find(const std::string& key) const {
    auto at = texts_.find(key);
    return at == texts_.end() ? nullptr : &at->second;
  }

 private:
  std::unordered_map<std::string, std::string> texts_;
};

struct State {
  std::mutex mutex;
  std::string folder;  // set by a test or the driver
  std::optional<Language> language;
  std::array<std::optional<Catalog>, 3> catalogs;
};

State& state() {
  static State s;
  return s;
}

std::string programFolder() {
  std::error_code ec;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : exe.parent_path().string();
}

// Beside the program in a build tree (the tests one folder down), else where it is installed.
std::string catalogPath(const std::string& chosen, Language language) {
  const std::string file =
      std::string("/") + languageCode(language) + "/LC_MESSAGES/" + kDomain + ".mo";
  if (!chosen.empty()) return chosen + file;
  const std::string exe = programFolder();
  for (const char* where : {"/locale", "/../locale", "/../share/locale"}) {
    const std::string path = exe + where + file;
    if (fileExists(path)) return path;
  }
  return {};
}

const Catalog& catalogOf(State& s, Language language) {
  auto& slot = s.catalogs[static_cast<std::size_t>(language)];
  if (!slot) {
    const std::string path =
        language == Language::English ? std::string() : catalogPath(s.folder, language);
    slot = path.empty() ? Catalog() : Catalog::read(path);
  }
  return *slot;
}

std::string lookUp(Language language, const std::string& key, const char* english) {
  if (language == Language::English) return english;
  State& s = state();
  std::lock_guard lock(s.mutex);
  const std::string* found = catalogOf(s, language).find(key);
  return found ? *found : std::string(english);
}

const char* env(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0' ? value : nullptr;
}

Language chooseLanguage() {
  const std::string messages = desktopLocale("LC_MESSAGES");
  if (messages.empty()) return Language::English;
  if (messages == "C" || messages == "POSIX" || messages.starts_with("C.")) {
    return Language::English;
  }
  if (const char* list = env("LANGUAGE")) {
    std::string_view rest(list);
    while (!rest.empty()) {
      const std::string_view item = rest.substr(0, rest.find(':'));
      rest.remove_prefix(std::min(rest.size(), item.size() + 1));
      if (item.starts_with("en") || item == "C") return Language::English;
      const Language language = languageFromCode(item);
      if (language != Language::English) return language;
    }
    return Language::English;  // none of them translated: the English texts
  }
  return languageFromCode(messages);
}

}  // namespace

std::string desktopLocale(const char* category) {
  for (const char* name : {"LC_ALL", category, "LANG"}) {
    if (const char* value = env(name)) return value;
  }
  return {};
}

const char* languageCode(Language language) {
  switch (language) {
    case Language::German:
      return "de";
    case Language::French:
      return "fr";
    case Language::English:
      break;
  }
  return "en";
}

Language languageFromCode(std::string_view code) {
  const std::string_view two = code.substr(0, 2);
  if (code.size() > 2 && code[2] != '_' && code[2] != '.' && code[2] != '@' && code[2] != '-') {
    return Language::English;
  }
  if (two == "de") return Language::German;
  if (two == "fr") return Language::French;
  return Language::English;
}

const char* languageName(Language language) {
  switch (language) {
    case Language::German:
      return "Deutsch";
    case Language::French:
      return "Français";
    case Language::English:
      break;
  }
  return "English";
}

Language programLanguage() {
  State& s = state();
  std::lock_guard lock(s.mutex);
  if (!s.language) s.language = chooseLanguage();
  return *s.language;
}

std::string tr(const char* english) {
  return lookUp(programLanguage(), english, english);
}

std::string trIn(Language language, const char* english) {
  return lookUp(language, english, english);
}

std::string trc(const char* context, const char* english) {
  return lookUp(programLanguage(), std::string(context) + '\x04' + english, english);
}

std::string fill(std::string_view text, std::initializer_list<std::string_view> args) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char next = i + 1 < text.size() ? text[i + 1] : '\0';
    const auto n = static_cast<std::size_t>(next - '1');
    if (text[i] == '%' && next >= '1' && next <= '9' && n < args.size()) {
      out += *(args.begin() + n);
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

void setCatalogFolder(std::string folder) {
  State& s = state();
  std::lock_guard lock(s.mutex);
  s.folder = std::move(folder);
  s.catalogs = {};
}

void resetTranslations() {
  State& s = state();
  std::lock_guard lock(s.mutex);
  s.language.reset();
  s.catalogs = {};
}

}  // namespace vantrel
