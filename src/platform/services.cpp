// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/services.h"

#include <charconv>
#include <cstring>
#include <locale>
#include <sstream>

namespace vantrel {

std::string TrayRecord::tipText() const {
  return std::string(tip, strnlen(tip, sizeof tip));
}

void TrayRecord::setTip(const std::string& text) {
  std::memset(tip, 0, sizeof tip);
  std::memcpy(tip, text.data(), std::min(text.size(), sizeof tip - 1));
}

namespace {
std::string cm(double v) {
  // to_chars writes "." whatever locale the process runs in.
  char buf[32];
  char* end = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 2).ptr;
  return std::string(buf, end);
}
}  // namespace

std::string PageItem::describe() const {
  switch (kind) {
    case Kind::Line:
      return "line " + cm(x1) + " " + cm(y1) + " " + cm(x2) + " " + cm(y2);
    case Kind::Box:
      return "box " + cm(x1) + " " + cm(y1) + " " + cm(x2) + " " + cm(y2);
    case Kind::NewPage:
      return "page";
    case Kind::Text:
      break;
  }
  std::ostringstream out;
  out.imbue(std::locale::classic());
  out << "text " << cm(x1) << " " << cm(y1) << " " << font.name << " " << font.points
      << (font.bold ? " bold" : "") << (font.italic ? " italic" : "")
      << (font.underline ? " underline" : "") << " \"" << text << "\"";
  return out.str();
}

void Page::text(double x, double y, std::string value, const PrintFont& font) {
  PageItem item;
  item.kind = PageItem::Kind::Text;
  item.x1 = x;
  item.y1 = y;
  item.text = std::move(value);
  item.font = font;
  items.push_back(std::move(item));
}

void Page::line(double x1, double y1, double x2, double y2) {
  items.push_back(PageItem{PageItem::Kind::Line, x1, y1, x2, y2, {}, {}});
}

void Page::box(double x1, double y1, double x2, double y2) {
  items.push_back(PageItem{PageItem::Kind::Box, x1, y1, x2, y2, {}, {}});
}

void Page::newPage() {
  items.push_back(PageItem{PageItem::Kind::NewPage, 0, 0, 0, 0, {}, {}});
}

std::string Page::describe() const {
  std::string out;
  for (const PageItem& item : items) {
    if (!out.empty()) out += '\n';
    out += item.describe();
  }
  return out;
}

}  // namespace vantrel
