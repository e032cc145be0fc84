// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/control.h"

namespace vantrel {

// What a screen reader says for a control: what a sighted user reads beside it.
//  - its `spoken` name, where the window gives one;
//  - a button's, check box's, option's, frame's or menu item's own caption (a caption with
//    no letter or digit, such as "+", gives way to the tooltip);
//  - for a box: the label in front of it on its row and the heading above its column
//    ("Design, Qty"), or either alone ("Minutes", "Total Cost");
//  - else its tooltip. Empty when nothing names it.
// `heard`, where given, gets the other controls whose text the name depends on.
using Heard = std::set<const Control*>;
std::string spokenName(const Control& control, Heard* heard = nullptr);

// A caption as it reads: "&File" is "File", "&&" one '&'.
std::string plainCaption(std::string_view caption);

// The letters of a caption a user could press with Alt, in the order they are best used:
// the letter the caption marks with '&' first, then the first letters of its words, then
// the rest. Lower case, ASCII letters and digits only.
std::string accessKeyCandidates(std::string_view caption);

// One access key for each caption of a scope (a window's buttons and menu titles, or one
// menu), no two alike, 0 where none is left. A letter the caption marks with '&' is kept;
// the rest are shared out so that as many captions as possible get one, earlier captions
// getting their better letters. Captions left over get a free letter of their
// `names` (what a screen reader calls them), else any free letter or digit, pressed unseen.
// The caption as a toolkit marks it: '&' before the key's letter where the caption has it
// (the marked one, else a word's first, else any), every other '&' doubled.
std::string withAccessKey(std::string_view caption, char key);
// Whether the caption has the key's letter to underline.
bool showsAccessKey(std::string_view caption, char key);

std::vector<char> shareAccessKeys(const std::vector<std::string>& captions,
                                  const std::vector<std::string>& names = {});

}  // namespace vantrel
