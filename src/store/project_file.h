// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "platform/text_file.h"
#include "platform/translation.h"

namespace vantrel {

class Control;
class MainForm;
class Vantrel;

// The boxes a project file holds, in file order: line n is the text of box n.
std::vector<Control*> projectFields(Vantrel& app);

// The job as the 61 lines of a project file, each the text its box shows.
std::vector<std::string> projectLines(Vantrel& app);

// What the status line says after a write (shown through tr()); a later change of the job
// takes it back.
inline constexpr const char* kSavedNotice = N_("Your Project was saved");

// Writes the job to `path`, replacing the file as a whole. On success the status line says
// so; on failure nothing is claimed, the old file is untouched and the reason is returned
// for the caller to tell the user.
WriteResult writeProject(Vantrel& app, const std::string& path);
WriteResult writeProject(MainForm& main, const std::string& path);

// Reads a project file into the job, each line through its box's own rules, in file order,
// so every rule runs as its value arrives. A file that cannot be read changes nothing; a
// short one leaves the boxes past its end as they are. The lines past the 61st are the job's
// work log: what does not read or does not add up to the figures is told once.
void readProject(Vantrel& app, const std::string& path);

}  // namespace vantrel
