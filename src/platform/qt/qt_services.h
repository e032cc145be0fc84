// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/folder_lock.h"
#include "platform/hand_over.h"
#include "platform/qt/timer_driver.h"
#include "platform/services.h"

class QAbstractButton;
class QMessageBox;
class QSocketNotifier;
class QSystemTrayIcon;
class QWidget;

namespace vantrel {

class FormWidget;
class IdleWatch;
class QtDevices;

// The platform on a desktop: every service of services.h done with Qt. Construct it after
// the QApplication; it makes the application folder at once and copies the default sound
// into it a second after the event loop starts, while the splash waits.
class QtServices : public Platform {
 public:
  static constexpr const char* kTitle = "Vantrel";

  // arguments: the program's arguments after its own name; by default the application's.
  explicit QtServices(std::optional<QStringList> arguments = std::nullopt);
  ~QtServices() override;
  QtServices(const QtServices&) = delete;
  QtServices& operator=(const QtServices&) = delete;

  // The windows go while their forms still exist: call before the forms are destroyed.
  void releaseWindows();
  FormWidget* window(const Form& form) const;
  // Sound and printers, loaded on first use; null when the module is missing.
  QtDevices* devices();
  // A picture of the window's client area, shown or not; null without a window.

  // MessageBoxes
  Answer show(const std::string& text, Buttons buttons, const std::string& title) override;
  void ask(Question question) override;
  void withdraw() override;
  // The open question's window, while one is open.
  QMessageBox* openQuestion() const;
  // FileDialogs
  std::optional<std::string> choose(const FileDialogRequest& request) override;
  // Tray
  void add(const TrayRecord& record) override;
  void remove(const TrayRecord& record) override;
  bool present() const override { return trayPresent_; }
  bool available() const override;
  void notify(const std::string& text) override;
  // Sound
  void play(const std::string& path) override;
  // Printer
  bool installed() override;
  std::string deviceName() override;
  PrintArea printableArea() override;
  double textWidth(const std::string& text, const PrintFont& font) override;
  PrintResult printPage(const Page& page) override;
  WriteResult exportPage(const Page& page, const std::string& path) override;
  // Clipboard
  void clear() override;
  void setText(const std::string& text) override;
  std::string text() const override;
  // Launcher and browser
  bool launch(const std::string& path) override;
  bool open(const std::string& address) override;
  // SettingsStore
  std::optional<std::string> read(const std::string& app, const std::string& section,
                                  const std::string& key) override;
  void write(const std::string& app, const std::string& section, const std::string& key,
             const std::string& value) override;
  // AppInfo
  std::string folder() const override { return folder_; }
  std::string exeName() const override { return "vantrel"; }
  Version version() const override;
  std::string commandLine() const override { return commandLine_; }
  std::string sharedFolder() const override;
  // Clock
  std::int64_t nowMs() const override;
  std::int64_t utcMs() const override;
  std::string timeText() const override;
  std::string dateText() const override;
  std::string dateText(int year, int month, int day) const override;
  std::string shortTimeText(std::int64_t ms) const override;
  char decimalSeparator() const override;
  // DesktopIdle
  void watch() override;
  std::optional<std::int64_t> idleSeconds() override;
  Source idleSource() const override;
  // TimerHost
  void timerChanged(Timer& timer) override { timers_.timerChanged(timer); }
  void timerGone(Timer& timer) override { timers_.timerGone(timer); }
  // WindowSystem
  void attach(Form& form) override;
  void quit() override;
  void toFront(Form& form) override;
  // Instance: the folder's lock file, and a local socket for later starts' command lines.
  bool claim() override;
  bool leftInUse() const override { return lock_.leftInUse(); }
  bool handOver(const std::string& commandLine) override;
  void release() override;

  // The command line as the program was given it, byte for byte: a file name that is not
  // UTF-8 is still that file's name.
  static std::string commandLineOf(int argc, char** argv);
  void setCommandLine(std::string commandLine) { commandLine_ = std::move(commandLine); }

  // The application folder: $VANTREL_HOME, else $XDG_DATA_HOME/vantrel, else
  // ~/.local/share/vantrel.
  static std::string applicationFolder();

  // Whether the bytes are a whole WAVE file: a format chunk, then a data chunk the file
  // holds to its end. Qt's decoder waits forever for the rest of a cut-off file.
  static bool wholeWaveFile(const QByteArray& bytes);

 private:
  void installDefaults();
  QWidget* messageOwner() const;
  void handOversWaiting();
  void deliverHandOvers();
  bool defaultsInstalled_ = false;
  QObject lifetime_;  // ends what is still queued for these services when they go

  std::string folder_;
  std::string commandLine_;
  TimerDriver timers_;
  std::map<const Form*, std::unique_ptr<FormWidget>> windows_;
  std::unique_ptr<QSystemTrayIcon> tray_;
  bool trayPresent_ = false;
  std::unique_ptr<QtDevices> devices_;
  bool devicesLoaded_ = false;

  QPointer<QMessageBox> question_;
  std::vector<QAbstractButton*> questionButtons_;
  std::function<void(std::size_t)> questionAnswered_;
  std::unique_ptr<IdleWatch> idle_;

  FolderLock lock_;
  HandOverServer handOvers_;
  std::unique_ptr<QSocketNotifier> handOverNotifier_;
  // Command lines that came while a message box or dialog was open: they wait for it.
  std::vector<std::string> handOversHeld_;
  int modalDepth_ = 0;
};

}  // namespace vantrel
