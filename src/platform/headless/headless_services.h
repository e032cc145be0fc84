// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/folder_lock.h"
#include "platform/services.h"
#include "vantrel_version.h"

namespace vantrel {

// The platform without a display: virtual time, scripted answers, records of what the
// program asked for. Used by the tests and the script driver.
class HeadlessServices : public Platform {
 public:
  // startMs: local wall time, ms since 1970-01-01 00:00.
  explicit HeadlessServices(std::string folder, std::int64_t startMs = 0);
  ~HeadlessServices() override;

  // Virtual time: fires every due timer in time order (ties in the order they were started).
  void advance(std::int64_t ms);
  std::int64_t elapsedMs() const { return nowMs_ - startMs_; }
  // A suspend of the computer: virtual time passes, every timer waits it out, and the
  // program hears of it once awake.
  void sleep(std::int64_t ms);

  // The desktop's idle time: from now on it reports `seconds` more than the time since,
  // until the next input. Without one the user is always at the keys.
  void reportIdle(std::int64_t seconds) { idleFromMs_ = nowMs_ - seconds * 1000; }
  void userInput() { idleFromMs_.reset(); }
  bool idleAvailable = true;  // false: a desktop that tells no idle time
  int watchCalls = 0;

  // The question open now, if any; answers it with the button of that caption (any case),
  // false when it has none.
  std::optional<Question> openQuestion;
  bool answerQuestion(const std::string& caption);
  // Captions queued for the next questions: each is answered as it opens.
  std::deque<std::string> questionAnswers;

  // Scripted answers; without one a message box takes its first button and a dialog cancels.
  std::deque<Answer> answers;
  std::deque<std::optional<std::string>> dialogResults;

  // Records.
  std::vector<std::string> messagesShown;  // every message box text, in order
  std::vector<std::string> messageTitles;  // their titles; empty: the program's own
  std::vector<FileDialogRequest> dialogsShown;
  std::optional<TrayRecord> trayRecord;  // the icon shown, while present
  int trayAdds = 0;
  int trayRemoves = 0;
  bool trayAvailable = true;
  std::vector<std::string> trayMessages;  // the notifications shown by the icon
  std::vector<std::string> soundsPlayed;
  // The printer: none installed, or one that fails with a reason, where a test asks for it.
  bool printerInstalled = true;
  std::string printerName = "Headless Printer";
  PrintArea printerArea;
  std::string printerFailure;             // empty: it prints
  std::vector<std::string> pagesPrinted;  // each page printed or exported, one item a line
  std::vector<std::string> pdfsWritten;
  int printJobs = 0;
  std::string clipboardText;
  std::vector<std::string> launched;
  std::vector<std::string> opened;
  bool browserAvailable = true;  // false: the desktop has no program to open addresses with
  std::map<std::string, std::string> settingsValues;  // "app/section/key"
  std::string commandLineText;
  Version versionNumbers{VANTREL_VERSION_MAJOR, VANTREL_VERSION_MINOR, VANTREL_VERSION_REVISION};
  bool ended = false;
  std::vector<std::string> frontForms;  // the windows brought to the front, in order
  std::vector<std::string> handedOver;  // the command lines this start gave to a running copy

  // MessageBoxes
  Answer show(const std::string& text, Buttons buttons, const std::string& title) override;
  void ask(Question question) override;
  void withdraw() override { openQuestion.reset(); }
  // FileDialogs
  std::optional<std::string> choose(const FileDialogRequest& request) override;
  // Tray
  void add(const TrayRecord& record) override;
  void remove(const TrayRecord& record) override;
  bool present() const override { return trayRecord.has_value(); }
  bool available() const override { return trayAvailable; }
  void notify(const std::string& text) override;
  // Sound
  void play(const std::string& path) override { soundsPlayed.push_back(path); }
  // Printer
  bool installed() override { return printerInstalled; }
  std::string deviceName() override { return printerInstalled ? printerName : std::string(); }
  PrintArea printableArea() override { return printerArea; }
  double textWidth(const std::string& text, const PrintFont& font) override;
  PrintResult printPage(const Page& page) override;
  WriteResult exportPage(const Page& page, const std::string& path) override;
  // Clipboard
  void clear() override { clipboardText.clear(); }
  void setText(const std::string& text) override { clipboardText = text; }
  std::string text() const override { return clipboardText; }
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
  Version version() const override { return versionNumbers; }
  std::string commandLine() const override { return commandLineText; }
  // Clock
  std::int64_t nowMs() const override { return nowMs_; }
  // Virtual time passes as real time does: the start's local time is read under the time
  // zone's rules (TZ), and the instant moves on from there.
  std::int64_t utcMs() const override { return startUtcMs_ + (nowMs_ - startMs_); }
  std::string timeText() const override;
  std::string dateText() const override;
  std::string dateText(int year, int month, int day) const override;
  std::string shortTimeText(std::int64_t ms) const override;
  char decimalSeparator() const override;
  // DesktopIdle
  void watch() override { ++watchCalls; }
  std::optional<std::int64_t> idleSeconds() override;
  Source idleSource() const override { return idleAvailable ? Source::Available : Source::None; }
  // TimerHost
  void timerChanged(Timer& timer) override;
  void timerGone(Timer& timer) override;
  // WindowSystem
  void attach(Form&) override {}
  void quit() override { ended = true; }
  void toFront(Form& form) override;
  // Instance: the folder's lock is the desktop program's own, so headless copies and desktop
  // copies keep to one per folder among themselves. Headless programs in one process hand
  // their command lines to each other directly; no socket is needed there.
  bool claim() override;
  bool leftInUse() const override { return lock_.leftInUse(); }
  bool handOver(const std::string& commandLine) override;
  void release() override;

 private:
  struct Due {
    std::int64_t at;
    std::uint64_t order;
  };
  std::string folder_;
  std::int64_t startMs_;
  std::int64_t nowMs_;
  std::int64_t startUtcMs_;
  std::uint64_t nextOrder_ = 0;
  std::map<Timer*, Due> due_;
  FolderLock lock_;
  bool claimed_ = false;
  std::optional<std::int64_t> idleFromMs_;
};

// "YYYY-MM-DD HH:MM:SS" as local ms since 1970; nothing when it does not read.
std::optional<std::int64_t> parseDateTime(const std::string& text);

}  // namespace vantrel
