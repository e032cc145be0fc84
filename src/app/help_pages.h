// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

struct Services;

// The help pages travel inside the program and are copied into the "help" folder of the
// application folder, where the browser opens them; nothing is fetched from the network.
// An installed program also has them in its shared folder (PREFIX/share/vantrel/help), and
// a page there is copied in place of the built-in one, so a packaged page can be mended
// without rebuilding. The German and French pages have the English pages' names in a folder
// named by the language's code, and share their stylesheet.
struct HelpPage {
  std::string_view name;  // "index.html", "de/index.html"
  std::string_view text;
};

const std::vector<HelpPage>& helpPages();

std::string helpFolder(const std::string& appFolder);

// Writes every page missing from the help folder, from `sharedFolder`/help when that holds
// it, byte for byte but for CR LF line ends; an existing page is left as the user may have
// it. False when a page could not be written.
bool installHelpPages(const std::string& appFolder, const std::string& sharedFolder = {});

// The file address of a page of the help folder, for the browser.
std::string helpAddress(const std::string& appFolder, std::string_view page);

// Opens a page of the help folder in the desktop's browser, putting missing pages back
// first: the page in the program's language where the folder has it, else the English one
// (`page` names the English page). A desktop with nothing to open it with is told to the
// user.
void openHelpPage(Services& services, std::string_view page);

}  // namespace vantrel
