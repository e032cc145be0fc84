// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/form.h"

namespace vantrel {

class Vantrel;

// What one information window says and which help page its link opens.
struct InfoContent {
  const char* name;
  const char* caption;
  const char* text;
  const char* link;
  const char* page;
  const char* licence;  // under the text, or null
};

// The About, Help and Check for Updates windows: the program's name and version, a few
// lines (in About, the licence too), and a link to the help pages in the application folder.
class InfoForm : public Form {
 public:
  InfoForm(Vantrel& app, const InfoContent& content);

  static const InfoContent kAbout;
  static const InfoContent kHelp;
  static const InfoContent kUpdate;

  // Opens the page in the browser, putting the help pages back first if they went missing.
  void openLink();

  Control* lblName = nullptr;
  Control* lblVersion = nullptr;
  Control* lblText = nullptr;
  Control* lblLicence = nullptr;  // About only
  Control* lblLink = nullptr;
  Control* cmdOK = nullptr;

 private:
  const char* page_;
};

}  // namespace vantrel
