// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <string>

#include "platform/file_dialog.h"

namespace vantrel {

class Control;
class MainForm;
class Vantrel;

// The main window's file commands: New, Open, Save and Save As, each as a button and as a
// menu entry, which differ in small ways. The enabled states of the seven commands are the
// program's record of unsaved work: "Save As" enabled means the job has changes no file
// holds.
class ProjectCommands {
 public:
  explicit ProjectCommands(MainForm& main);
  ProjectCommands(const ProjectCommands&) = delete;
  ProjectCommands& operator=(const ProjectCommands&) = delete;

  static constexpr const char* kFilter = "*.pcl|*.pcl";

  void newJob(bool button);
  void open(bool button);
  // The command line's open: the Open button's steps with this path for the dialog's.
  void openPath(const std::string& path);
  // A job autosaved before a crash, opened as the menu opens a file: it stays unsaved and
  // has no file of its own, so Save asks for a name.
  void openAutosave(const std::string& path);
  void save();
  void saveAs(bool button);

 private:
  // The seven commands' enabled states, to put back when a save does not happen.
  using SaveState = std::array<bool, 7>;
  SaveState saveState() const;
  void restore(const SaveState& state);

  bool refuseWithoutFile();
  void openWith(bool button, const std::optional<std::string>& path);
  void clearJob();
  void showStopped();
  bool write(const std::string& path);
  Vantrel& app() const;

  MainForm& main_;
  FileDialog dialog_;  // shared by Open and Save As
};

}  // namespace vantrel
