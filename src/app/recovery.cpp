// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/recovery.h"

#include <sys/stat.h>

#include <algorithm>

#include "app/main_form.h"
#include "app/vantrel.h"
#include "clock/clock_digits.h"
#include "clock/settings_form.h"
#include "platform/text_file.h"
#include "platform/translation.h"
#include "sheet/numbers.h"
#include "store/project_commands.h"

namespace vantrel {
namespace {

struct Autosaved {
  std::string path;
  std::time_t modified = 0;
  std::string clock;
  dev_t device = 0;
  ino_t inode = 0;
};

bool notZero(const std::string& text) {
  const auto value = parseNumber(text);
  return value && *value != 0;
}

std::string localTime(std::time_t when, const char* format) {
  std::tm local{};
  ::localtime_r(&when, &local);
  char text[32];
  return std::strftime(text, sizeof text, format, &local) > 0 ? text : "";
}

std::optional<Autosaved> autosavedJob(const std::string& path) {
  struct stat st {};
  if (path.empty() || ::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  if (!whyNotDataFile(path).empty()) return std::nullopt;
  const ReadResult file = readLines(path);
  if (!file.opened) return std::nullopt;
  const auto clock = autosavedClock(file.lines);
  if (!clock) return std::nullopt;
  return Autosaved{path, st.st_mtime, *clock, st.st_dev, st.st_ino};
}

// Kept where it is under a dated name, so no later autosave writes over it.
void keepAside(MainForm& main, const Autosaved& job) {
  std::string target = keptAsideName(job.path, job.modified);
  const std::string stem = target.substr(0, target.size() - 4);
  for (int n = 2; fileExists(target) && n < 100; ++n)
    target = stem + "-" + std::to_string(n) + ".pcl";
  const WriteResult kept = renameAside(job.path, target);
  if (!kept) main.services().messages.show(couldNotSave(target, kept));
}

}  // namespace

std::optional<std::string> autosavedClock(const std::vector<std::string>& lines) {
  auto line = [&lines](std::size_t n) { return n <= lines.size() ? lines[n - 1] : std::string(); };
  bool job = false;
  for (std::size_t n = 1; n <= 7; ++n) job = job || notZero(line(n));
  for (std::size_t n = 55; n <= 61; ++n) job = job || notZero(line(n));
  if (!job) return std::nullopt;
  auto digit = [&line](std::size_t n) {
    const std::string text = line(n);
    return text.empty() ? std::string("0") : text;
  };
  // Lines 55 to 61: seconds, tens of seconds, minutes, tens, hours, tens of hours, days.
  std::string clock =
      digit(60) + digit(59) + ":" + digit(58) + digit(57) + ":" + digit(56) + digit(55);
  if (notZero(line(61))) clock = timeWithDays(line(61), clock);
  return clock;
}

std::string keptAsideName(const std::string& path, std::time_t modified) {
  const std::size_t slash = path.find_last_of('/');
  const std::size_t dot = path.find_last_of('.');
  const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  const std::string stem = hasExtension ? path.substr(0, dot) : path;
  const std::string extension = hasExtension ? path.substr(dot) : ".pcl";
  return stem + "-" + localTime(modified, "%Y%m%d-%H%M%S") + extension;
}

void offerRecovery(MainForm& main) {
  Vantrel& app = main.app();
  if (!app.recoveryDue()) return;
  SettingsForm& settings = app.settings();
  std::vector<Autosaved> jobs;
  for (const std::string& path :
       {settings.defaultAutosaveTarget(), settings.autosaveTarget->text()}) {
    const auto job = autosavedJob(path);
    const bool known = job && std::any_of(jobs.begin(), jobs.end(), [&job](const Autosaved& k) {
                         return k.device == job->device && k.inode == job->inode;
                       });
    if (job && !known) jobs.push_back(*job);
  }
  std::sort(jobs.begin(), jobs.end(),
            [](const Autosaved& a, const Autosaved& b) { return a.modified > b.modified; });
  // One job can come back into the sheet; the others are kept aside all the same.
  bool restored = false;
  for (const Autosaved& job : jobs) {
    const std::string question = fill(
        // TRANSLATORS: %1 is the time of day the job was autosaved ("14:05"), %2 the time on
        // its clock ("00:11:00", "2 days 03:10:00").
        tr("Vantrel did not close properly. Restore the job autosaved at %1 (%2 on the clock)?"),
        {localTime(job.modified, "%H:%M"), job.clock});
    if (!restored && main.services().messages.show(question, Buttons::YesNo) == Answer::Yes) {
      main.files->openAutosave(job.path);
      restored = true;
    } else {
      keepAside(main, job);
    }
  }
  app.recoveryOffered();
}

}  // namespace vantrel
