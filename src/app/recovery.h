// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <vector>

namespace vantrel {

class MainForm;

// After a copy ended without clearing its in-use mark (a crash, a power cut, a kill), the
// jobs its autosave files hold are offered back before anything can autosave over them:
// the application folder's AutoSave.pcl and the one the Preferences point at. A job taken
// back opens as unsaved with no file of its own; one declined is kept under a dated name.
void offerRecovery(MainForm& main);

// The clock of the job a project file's lines hold, as the sheet shows it ("00:11:00"), or
// nothing when they hold no job (every clock digit and every category's hours zero).
std::optional<std::string> autosavedClock(const std::vector<std::string>& lines);

// The name a declined autosave file takes beside itself: AutoSave.pcl modified at
// 2026-01-05 09:15:30 becomes AutoSave-20260105-091530.pcl.
std::string keptAsideName(const std::string& path, std::time_t modified);

}  // namespace vantrel
