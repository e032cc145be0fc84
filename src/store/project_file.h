#pragma once

#include <string>
#include <vector>

#include "platform/text_file.h"

namespace vantrel {

class MainForm;
class Vantrel;

// The job as the 61 lines of a project file, in file order, each the text its field shows.
std::vector<std::string> projectLines(Vantrel& app);

// Writes the job to `path`, replacing the file as a whole. On success the status line says
// so; on failure nothing is claimed, the old file is untouched and the reason is returned
// for the caller to tell the user (Save by message, the autosave on the status line).
WriteResult writeProject(Vantrel& app, const std::string& path);
WriteResult writeProject(MainForm& main, const std::string& path);

}  // namespace vantrel
