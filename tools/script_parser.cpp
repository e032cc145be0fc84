// SPDX-License-Identifier: GPL-3.0-or-later
#include "script_parser.h"

#include <array>
#include <cctype>
#include <optional>

namespace vantrel {
namespace {

struct VerbInfo {
  const char* name;
  Verb verb;
  int args;
  const char* usage;
};

constexpr std::array<VerbInfo, 16> kVerbs{{
    {"click", Verb::Click, 1, "click FORM.CONTROL, or click FORM for its background"},
    {"press", Verb::Press, 1, "press FORM.CONTROL"},
    {"activate", Verb::Activate, 1, "activate FORM.CONTROL"},
    {"type", Verb::Type, 2, "type FORM.CONTROL \"text\""},
    {"set", Verb::Set, 2, "set FORM.CONTROL \"text\""},
    {"leave", Verb::Leave, 1, "leave FORM.CONTROL"},
    {"close", Verb::Close, 1, "close FORM"},
    {"tray", Verb::Tray, 1, "tray doubleclick|rightclick"},
    {"wait", Verb::Wait, 1, "wait SECONDS"},
    {"idle", Verb::Idle, 1, "idle SECONDS"},
    {"sleep", Verb::Sleep, 1, "sleep SECONDS"},
    {"answer", Verb::Answer, 1, "answer yes|no|ok|cancel|\"CAPTION\""},
    {"file", Verb::File, 1, "file \"PATH\" or file cancel"},
    {"print", Verb::Print, 1, "print FORM[.CONTROL][.PROPERTY]"},
    {"expect", Verb::Expect, 2, "expect FORM[.CONTROL][.PROPERTY] \"value\""},
    {"select", Verb::Select, 2, "select FORM.TABLE ROW (from 1)"},
}};

const VerbInfo* findVerb(std::string_view name) {
  for (const VerbInfo& info : kVerbs) {
    if (name == info.name) return &info;
  }
  return nullptr;
}

bool isSpace(char c) {
  return c == ' ' || c == '\t';
}

// Splits one line into words and quoted strings; a # outside quotes ends the line.
std::vector<Argument> splitLine(std::string_view line, int number) {
  std::vector<Argument> out;
  std::size_t i = 0;
  while (i < line.size()) {
    char c = line[i];
    if (isSpace(c)) {
      ++i;
      continue;
    }
    if (c == '#') break;
    Argument arg;
    if (c == '"') {
      arg.quoted = true;
      ++i;
      bool closed = false;
      while (i < line.size()) {
        char q = line[i++];
        if (q == '"') {
          closed = true;
          break;
        }
        if (q != '\\') {
          arg.text += q;
          continue;
        }
        if (i >= line.size()) break;
        char e = line[i++];
        switch (e) {
          case '"':
            arg.text += '"';
            break;
          case '\\':
            arg.text += '\\';
            break;
          case 'r':
            arg.text += '\r';
            break;
          case 'b':
            arg.text += '\b';
            break;
          default:
            throw ScriptError(number,
                              std::string("unknown escape \\") + e + " (known: \\\" \\\\ \\r \\b)");
        }
      }
      if (!closed) throw ScriptError(number, "unterminated quote");
      if (i < line.size() && !isSpace(line[i]) && line[i] != '#') {
        throw ScriptError(number, "text right after a closing quote; separate it with a space");
      }
    } else {
      while (i < line.size() && !isSpace(line[i]) && line[i] != '#') {
        if (line[i] == '"') {
          throw ScriptError(number, "a quote inside a word; quote the whole argument");
        }
        arg.text += line[i++];
      }
    }
    out.push_back(std::move(arg));
  }
  return out;
}

Reference reference(const Argument& arg, int line, std::size_t minParts, std::size_t maxParts,
                    const char* usage) {
  if (arg.quoted) {
    throw ScriptError(line, "a form or control name is written without quotes: " + arg.text);
  }
  Reference ref;
  ref.written = arg.text;
  std::size_t start = 0;
  for (;;) {
    std::size_t dot = arg.text.find('.', start);
    ref.parts.push_back(arg.text.substr(start, dot - start));
    if (dot == std::string::npos) break;
    start = dot + 1;
  }
  for (const std::string& part : ref.parts) {
    if (part.empty()) throw ScriptError(line, "empty name in " + arg.text);
  }
  if (ref.parts.size() < minParts || ref.parts.size() > maxParts) {
    throw ScriptError(line, arg.text + " does not fit: " + usage);
  }
  return ref;
}

// SECONDS as digits with an optional fraction, to whole milliseconds (exact, rounded).
std::optional<std::int64_t> parseSeconds(const std::string& text) {
  std::size_t i = 0;
  std::int64_t whole = 0;
  int digits = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
    if (++digits > 9) return std::nullopt;  // over 30 years of waiting is a typo
    whole = whole * 10 + (text[i++] - '0');
  }
  std::int64_t ms = whole * 1000;
  if (i < text.size() && text[i] == '.') {
    ++i;
    int place = 100;
    bool any = false;
    bool roundUp = false;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
      int d = text[i++] - '0';
      if (place > 0) {
        ms += d * place;
        place /= 10;
      } else if (place == 0) {
        roundUp = d >= 5;
        place = -1;
      }
      any = true;
    }
    if (!any) return std::nullopt;
    if (roundUp) ++ms;
  } else if (digits == 0) {
    return std::nullopt;
  }
  if (i != text.size()) return std::nullopt;
  return ms;
}

Command parseCommand(std::vector<Argument> words, int line) {
  const Argument& head = words.front();
  const VerbInfo* info = head.quoted ? nullptr : findVerb(head.text);
  if (info == nullptr) {
    throw ScriptError(line, "unknown command \"" + head.text +
                                "\" (known: click press activate type set leave close tray "
                                "wait idle sleep answer file print expect)");
  }
  Command cmd;
  cmd.line = line;
  cmd.verb = info->verb;
  cmd.args.assign(words.begin() + 1, words.end());
  if (static_cast<int>(cmd.args.size()) != info->args) {
    throw ScriptError(line, std::string(info->name) + " takes " + std::to_string(info->args) +
                                (info->args == 1 ? " argument" : " arguments") + ", not " +
                                std::to_string(cmd.args.size()) + ": " + info->usage);
  }
  const std::string& first = cmd.args.front().text;
  switch (cmd.verb) {
    case Verb::Click:
      cmd.ref = reference(cmd.args.front(), line, 1, 2, info->usage);
      break;
    case Verb::Select: {
      cmd.ref = reference(cmd.args.front(), line, 2, 2, info->usage);
      const std::string& row = cmd.args[1].text;
      if (row.empty() || row.size() > 9 ||
          row.find_first_not_of("0123456789") != std::string::npos || row == "0") {
        throw ScriptError(line, "select takes a row from 1, not " + row);
      }
      cmd.ms = std::stoll(row);
      break;
    }
    case Verb::Press:
    case Verb::Activate:
    case Verb::Type:
    case Verb::Set:
    case Verb::Leave:
      cmd.ref = reference(cmd.args.front(), line, 2, 2, info->usage);
      break;
    case Verb::Close:
      cmd.ref = reference(cmd.args.front(), line, 1, 1, info->usage);
      break;
    case Verb::Print:
    case Verb::Expect:
      cmd.ref = reference(cmd.args.front(), line, 1, 3, info->usage);
      break;
    case Verb::Tray:
      if (first != "doubleclick" && first != "rightclick") {
        throw ScriptError(line, "tray takes doubleclick or rightclick, not " + first);
      }
      break;
    case Verb::Answer:
      // A button by its caption, as the box shows it or in small letters.
      if (first.empty()) throw ScriptError(line, "answer takes a button's caption, not nothing");
      break;
    case Verb::Wait:
    case Verb::Idle:
    case Verb::Sleep: {
      auto ms = parseSeconds(first);
      if (!ms) {
        throw ScriptError(
            line, std::string(info->name) + " takes seconds such as 5 or 0.25, not " + first);
      }
      cmd.ms = *ms;
      break;
    }
    case Verb::File:
      break;
  }
  return cmd;
}

}  // namespace

const char* verbName(Verb verb) {
  for (const VerbInfo& info : kVerbs) {
    if (info.verb == verb) return info.name;
  }
  return "?";
}

std::vector<Command> parseScript(std::string_view text) {
  std::vector<Command> commands;
  int number = 0;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find('\n', start);
    std::string_view line =
        text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    ++number;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    auto words = splitLine(line, number);
    if (!words.empty()) commands.push_back(parseCommand(std::move(words), number));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return commands;
}

}  // namespace vantrel
