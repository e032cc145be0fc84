// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/spoken.h"

#include <cctype>
#include <functional>
#include <map>
#include <set>

#include "platform/form.h"
#include "platform/translation.h"
#include "platform/user_input.h"

namespace vantrel {
namespace {

// Boxes may sit a little to the left of where their label ends, or overlap its last pixel.
constexpr int kSlack = 60;
// A heading stands at most this far above the box it names (or the box above that one).
constexpr int kStack = 600;

bool saysSomething(std::string_view text) {
  for (char ch : text) {
    const auto byte = static_cast<unsigned char>(ch);
    if (std::isalnum(byte) || byte >= 0x80) return true;
  }
  return false;
}

std::string trimmed(std::string text) {
  while (!text.empty() && (text.back() == ' ' || text.back() == ':')) text.pop_back();
  while (!text.empty() && text.front() == ' ') text.erase(0, 1);
  return text;
}

bool namedByCaption(ControlKind kind) {
  switch (kind) {
    case ControlKind::CommandButton:
    case ControlKind::CheckBox:
    case ControlKind::OptionButton:
    case ControlKind::Frame:
    case ControlKind::MenuItem:
    case ControlKind::Label:
      return true;
    default:
      return false;
  }
}

// A shown label, check box or option: what a user may read as the name of what stands
// beside it, once it says something.
bool standsAsName(const Control& c) {
  const ControlKind kind = c.kind();
  return (kind == ControlKind::Label || kind == ControlKind::CheckBox ||
          kind == ControlKind::OptionButton) &&
         c.visible();
}

// Notes a control whose text a name was read from, or could be once it says something.
void note(Heard* heard, const Control& c) {
  if (heard != nullptr) heard->insert(&c);
}

const Control* labelInFront(const Control& box, Heard* heard) {
  const Geometry& g = box.geometry();
  const int middle = g.top + g.height / 2;
  const Control* best = nullptr;
  for (const Control* c : box.form().controls()) {
    if (c == &box || c->container() != box.container() || !standsAsName(*c)) continue;
    const Geometry& at = c->geometry();
    const bool sameRow =
        (at.top <= middle && middle <= at.top + at.height) ||
        (g.top <= at.top + at.height / 2 && at.top + at.height / 2 <= g.top + g.height);
    if (!sameRow || at.left + at.width > g.left + kSlack) continue;
    note(heard, *c);
    if (!saysSomething(c->text())) continue;
    if (best == nullptr || at.left + at.width > best->geometry().left + best->geometry().width)
      best = c;
  }
  return best;
}

bool sameColumn(const Geometry& a, const Geometry& b) {
  const int aMiddle = a.left + a.width / 2;
  const int bMiddle = b.left + b.width / 2;
  return (b.left <= aMiddle && aMiddle <= b.left + b.width) ||
         (a.left <= bMiddle && bMiddle <= a.left + a.width);
}

// The label straight above a box, or above the boxes stacked over it in its column.
const Control* headingAbove(const Control& box, Heard* heard) {
  const Control* under = &box;
  for (;;) {
    const Geometry& g = under->geometry();
    const Control* label = nullptr;
    const Control* stacked = nullptr;
    for (const Control* c : box.form().controls()) {
      if (c == under || c->container() != box.container() || !c->visible()) continue;
      const Geometry& at = c->geometry();
      const int bottom = at.top + at.height;
      if (bottom > g.top + kSlack || g.top - bottom > kStack || !sameColumn(at, g)) continue;
      if (c->kind() == ControlKind::Label) {
        note(heard, *c);
        if (!saysSomething(c->text())) continue;
        if (label == nullptr || at.top > label->geometry().top) label = c;
      } else if (c->kind() == box.kind() && c->kind() != ControlKind::Label) {
        if (stacked == nullptr || at.top > stacked->geometry().top) stacked = c;
      }
    }
    if (label != nullptr) return label;
    if (stacked == nullptr) return nullptr;
    under = stacked;
  }
}

// A column heading of a table: other headings beside it, and no box on its row.
bool headsATable(const Control& heading, Heard* heard) {
  const Geometry& g = heading.geometry();
  bool beside = false;
  for (const Control* c : heading.form().controls()) {
    if (c == &heading || c->container() != heading.container() || !c->visible()) continue;
    const Geometry& at = c->geometry();
    if (at.top + at.height < g.top || at.top > g.top + g.height) continue;
    if (c->kind() == ControlKind::Label) {
      note(heard, *c);
      beside = beside || saysSomething(c->text());
    }
    if (isEntryKind(c->kind())) return false;
  }
  return beside;
}

}  // namespace

std::string plainCaption(std::string_view caption) {
  std::string out;
  out.reserve(caption.size());
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size()) ++i;  // "&&" keeps one '&'
    out += caption[i];
  }
  return out;
}

std::string spokenName(const Control& control, Heard* heard) {
  const Control::Spoken& spoken = control.spoken;
  if (!spoken.name.empty()) {
    std::string name = spoken.name;
    if (auto at = name.find("%1"); at != std::string::npos && spoken.from != nullptr) {
      note(heard, *spoken.from);
      name.replace(at, 2, trimmed(plainCaption(spoken.from->text())));
    }
    return name;
  }
  if (namedByCaption(control.kind()) && saysSomething(control.text())) {
    return trimmed(plainCaption(control.text()));
  }
  const ControlKind kind = control.kind();
  if (kind == ControlKind::Line || kind == ControlKind::Shape) return {};
  if (!namedByCaption(kind) && kind != ControlKind::PictureBox && kind != ControlKind::Image) {
    const Control* row = labelInFront(control, heard);
    const Control* column = headingAbove(control, heard);
    // A list reads its heading first: the label beside it belongs to another column.
    const bool list = kind == ControlKind::DriveList || kind == ControlKind::FolderList ||
                      kind == ControlKind::FileList;
    if (row != nullptr && column != nullptr && (list || !headsATable(*column, heard))) {
      (list ? row : column) = nullptr;
    }
    std::string name;
    if (row != nullptr) name = trimmed(plainCaption(row->text()));
    if (column != nullptr) {
      name += (name.empty() ? "" : ", ") + trimmed(plainCaption(column->text()));
    }
    if (!name.empty()) return name;
  }
  if (saysSomething(control.tooltip())) return trimmed(control.tooltip());
  switch (kind) {
    case ControlKind::DriveList:
      // TRANSLATORS: what a screen reader calls an unnamed list of drives.
      return tr("Drive");
    case ControlKind::FolderList:
      // TRANSLATORS: what a screen reader calls an unnamed list of folders.
      return tr("Folder");
    case ControlKind::FileList:
      // TRANSLATORS: also the menu; here what a screen reader calls an unnamed list of files.
      return tr("File");
    default:
      return {};
  }
}

std::string accessKeyCandidates(std::string_view caption) {
  std::string keys;
  auto offer = [&keys](char ch) {
    const auto byte = static_cast<unsigned char>(ch);
    if (!std::isalnum(byte) || byte >= 0x80) return;
    const char lower = static_cast<char>(std::tolower(byte));
    if (keys.find(lower) == std::string::npos) keys += lower;
  };
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] != '&') {
      offer(caption[i + 1]);
      break;
    }
    ++i;
  }
  const std::string plain = plainCaption(caption);
  for (std::size_t i = 0; i < plain.size(); ++i) {
    if (i == 0 || plain[i - 1] == ' ') offer(plain[i]);
  }
  for (char ch : plain) offer(ch);
  return keys;
}

namespace {

int keyPosition(std::string_view caption, char key) {
  if (key == '\0') return -1;
  const std::string plain = plainCaption(caption);
  auto same = [key](char ch) { return std::tolower(static_cast<unsigned char>(ch)) == key; };
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] == '&' && caption[i + 1] != '&' && same(caption[i + 1])) {
      return static_cast<int>(plainCaption(caption.substr(0, i)).size());
    }
    if (caption[i] == '&') ++i;
  }
  for (std::size_t i = 0; i < plain.size(); ++i) {
    if ((i == 0 || plain[i - 1] == ' ') && same(plain[i])) return static_cast<int>(i);
  }
  for (std::size_t i = 0; i < plain.size(); ++i) {
    if (same(plain[i])) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace

std::string withAccessKey(std::string_view caption, char key) {
  const std::string plain = plainCaption(caption);
  const int at = keyPosition(caption, key);
  std::string marked;
  for (std::size_t i = 0; i < plain.size(); ++i) {
    if (static_cast<int>(i) == at) marked += '&';
    marked += plain[i] == '&' ? std::string("&&") : std::string(1, plain[i]);
  }
  return marked;
}

bool showsAccessKey(std::string_view caption, char key) {
  return keyPosition(caption, key) >= 0;
}

std::vector<char> shareAccessKeys(const std::vector<std::string>& captions,
                                  const std::vector<std::string>& names) {
  std::vector<char> keys(captions.size(), '\0');
  std::vector<std::string> offered(captions.size());
  std::map<char, std::size_t> owner;
  for (std::size_t i = 0; i < captions.size(); ++i) {
    offered[i] = accessKeyCandidates(captions[i]);
    const bool marked = captions[i].find('&') != std::string::npos &&
                        plainCaption(captions[i]) != captions[i] && !offered[i].empty();
    if (marked && owner.count(offered[i][0]) == 0) {
      owner[offered[i][0]] = captions.size();  // kept: never handed on
      keys[i] = offered[i][0];
    }
  }
  // Each caption in turn takes its best free letter, or one an earlier caption can give up
  // for another of its own (an augmenting path).
  std::function<bool(std::size_t, std::set<char>&)> take = [&](std::size_t i,
                                                               std::set<char>& seen) {
    for (char key : offered[i]) {
      if (!seen.insert(key).second) continue;
      auto at = owner.find(key);
      if (at == owner.end() || (at->second < captions.size() && take(at->second, seen))) {
        owner[key] = i;
        keys[i] = key;
        return true;
      }
    }
    return false;
  };
  for (std::size_t i = 0; i < captions.size(); ++i) {
    if (keys[i] != '\0') continue;
    std::set<char> seen;
    take(i, seen);
  }
  // Captions left without a letter of their own answer to one that is free, unseen.
  const std::string any = "abcdefghijklmnopqrstuvwxyz0123456789";
  for (std::size_t i = 0; i < captions.size(); ++i) {
    if (keys[i] != '\0') continue;
    for (char key : (i < names.size() ? accessKeyCandidates(names[i]) : std::string()) + any) {
      if (owner.count(key) != 0) continue;
      owner[key] = captions.size();
      keys[i] = key;
      break;
    }
  }
  return keys;
}

}  // namespace vantrel
