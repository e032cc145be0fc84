// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/text_file.h"

namespace vantrel {

class Form;
class MenuItem;
class Timer;

// YesNoSafe asks a question whose Yes throws work away or replaces a file: No is its default
// button, so Enter never loses anything.
enum class Buttons { Ok, YesNo, YesNoCancel, YesNoSafe };
enum class Answer { Ok, Yes, No, Cancel };

// A question the program asks without waiting for it: the program runs on while it is open.
struct Question {
  std::string text;
  std::vector<std::string> buttons;  // captions; the first is the default and the close box
  std::function<void(std::size_t button)> answered;  // the index of the button chosen
};

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // Modal, under the program's title unless given one; returns the button chosen. The
  // default button (Enter) is the first, but No for YesNoSafe.
  virtual Answer show(const std::string& text, Buttons buttons = Buttons::Ok,
                      const std::string& title = {}) = 0;
  // Opens the question under the program's title and returns at once; `answered` runs when
  // the user chooses, between events. One is open at a time: asking while one is open
  // rewrites it in place.
  virtual void ask(Question question) = 0;
  // The open question goes unanswered; nothing when none is open.
  virtual void withdraw() = 0;
};

struct FileDialogRequest {
  bool save = false;
  std::string title;
  std::string filter;            // "Project (*.pcl)|*.pcl"
  std::string folder;            // where it starts
  std::string proposed;          // proposed file name
  bool confirmOverwrite = true;  // false: the caller asks about an existing file itself
};

class FileDialogs {
 public:
  virtual ~FileDialogs() = default;
  // The chosen path, or nothing when the user cancelled.
  virtual std::optional<std::string> choose(const FileDialogRequest& request) = 0;
};

// The tray record handed to the platform as is.
struct TrayRecord {
  std::uint32_t size = 88;
  std::uint32_t window = 0;
  std::uint32_t iconId = 0;
  std::uint32_t flags = 7;
  std::uint32_t callbackMessage = 512;
  std::uint32_t icon = 0;
  char tip[64] = {};
  std::string iconName;  // "running" or "stopped": which picture the handle stands for
  std::string tipText() const;
  void setTip(const std::string& text);  // cut to 63 bytes and a zero, padded with zeros
};

class Tray {
 public:
  virtual ~Tray() = default;
  // Adding a present icon or removing an absent one changes nothing.
  virtual void add(const TrayRecord& record) = 0;
  virtual void remove(const TrayRecord& record) = 0;
  virtual bool present() const = 0;
  virtual bool available() const = 0;
  // A short notification by the icon, for a user working in another program; shown only
  // while the icon is present on a desktop that has a tray.
  virtual void notify(const std::string& text) = 0;
  // Mouse activity on the icon, as the platform's message number (515 double-click, 516 right).
  std::function<void(int message)> onMouse;
};

class Sound {
 public:
  virtual ~Sound() = default;
  virtual void play(const std::string& path) = 0;  // asynchronous; failures ignored
};

struct PrintFont {
  std::string name = "Arial";
  double points = 10;
  bool bold = false;
  bool italic = false;
  bool underline = false;
};

// A page drawn in centimetres from the top left of the printable area.
struct PageItem {
  enum class Kind { Text, Line, Box, NewPage };
  Kind kind = Kind::Text;
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  std::string text;
  PrintFont font;
  std::string describe() const;
};

struct Page {
  std::vector<PageItem> items;
  void text(double x, double y, std::string text, const PrintFont& font);
  void line(double x1, double y1, double x2, double y2);
  void box(double x1, double y1, double x2, double y2);
  void newPage();                // what follows goes on the next sheet
  std::string describe() const;  // one item a line
};

// A printable area in centimetres.
struct PrintArea {
  double width = 21.0;
  double height = 29.7;
};

// What became of a page sent to the printer; the reason is in a user's words.
struct PrintResult {
  bool ok = false;
  std::string error;
  explicit operator bool() const { return ok; }
};

class Printer {
 public:
  virtual ~Printer() = default;
  virtual bool installed() = 0;  // false: this system has no printer at all
  virtual std::string deviceName() = 0;
  virtual PrintArea printableArea() = 0;  // the default printer's, on an A4 sheet
  virtual double textWidth(const std::string& text, const PrintFont& font) = 0;  // cm
  // On the default printer, without a dialog.
  virtual PrintResult printPage(const Page& page) = 0;
  // The same as a PDF file of one A4 page, all of it printable; the file is replaced
  // atomically, so a failure leaves the old one as it was.
  virtual WriteResult exportPage(const Page& page, const std::string& path) = 0;
};

class Clipboard {
 public:
  virtual ~Clipboard() = default;
  virtual void clear() = 0;
  virtual void setText(const std::string& text) = 0;
  virtual std::string text() const = 0;
};

class Launcher {
 public:
  virtual ~Launcher() = default;
  // Starts a program by its path as a new process, never through a shell; failures ignored.
  virtual bool launch(const std::string& path) = 0;
};

class Browser {
 public:
  virtual ~Browser() = default;
  // False when the desktop has no program to open it with.
  virtual bool open(const std::string& address) = 0;
};

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  virtual std::optional<std::string> read(const std::string& app, const std::string& section,
                                          const std::string& key) = 0;
  virtual void write(const std::string& app, const std::string& section, const std::string& key,
                     const std::string& value) = 0;
};

struct Version {
  int major = 0;
  int minor = 0;
  int revision = 0;
};

class AppInfo {
 public:
  virtual ~AppInfo() = default;
  virtual std::string folder() const = 0;  // the application folder, created at first start
  virtual std::string exeName() const = 0;
  virtual Version version() const = 0;
  virtual std::string commandLine() const = 0;
  // The program's installed shared files (PREFIX/share/vantrel), or empty when it runs from
  // where it was built.
  virtual std::string sharedFolder() const { return {}; }
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::int64_t nowMs() const = 0;  // local wall time, ms since 1970-01-01 00:00
  // The same moment as an instant: UTC ms since 1970, which no clock change moves.
  virtual std::int64_t utcMs() const = 0;
  virtual std::string timeText() const = 0;
  virtual std::string dateText() const = 0;
  // A day in the same format as dateText.
  virtual std::string dateText(int year, int month, int day) const = 0;
  // Hours and minutes of a moment (local ms since 1970) in the system's short time format.
  virtual std::string shortTimeText(std::int64_t ms) const = 0;
  // The decimal separator of the user's locale: ',' on a German or French desktop.
  virtual char decimalSeparator() const = 0;
};

// What the desktop tells of the user at the computer: how long it has seen no keyboard or
// mouse input, and when the computer slept.
class DesktopIdle {
 public:
  enum class Source { Unknown, None, Available };
  virtual ~DesktopIdle() = default;
  // Starts listening, called when the clock starts: a stopped clock asks the desktop
  // nothing, and a program that never runs its clock never connects. Never waits.
  virtual void watch() = 0;
  // Seconds since the last input as the desktop last told it; nothing where it tells none.
  virtual std::optional<std::int64_t> idleSeconds() = 0;
  // Whether the desktop tells idle time at all; Unknown until watch() has had its answer.
  virtual Source idleSource() const = 0;
  // The computer slept from `fromMs` to `toMs` (local wall time); told once it is awake.
  std::function<void(std::int64_t fromMs, std::int64_t toMs)> onSlept;
  // idleSource() has changed.
  std::function<void()> onSourceKnown;
};

// Interval timers: told whenever a timer starts again or stops.
class TimerHost {
 public:
  virtual ~TimerHost() = default;
  virtual void timerChanged(Timer& timer) = 0;
  virtual void timerGone(Timer& timer) = 0;
};

// The window system itself: views for forms, pop-up menus, the end of the program.
class WindowSystem {
 public:
  virtual ~WindowSystem() = default;
  virtual void attach(Form& form) = 0;  // a new form: make its view
  virtual void quit() = 0;              // the program ends
  // Brings a shown window in front of the other programs' windows.
  virtual void toFront(Form& form) = 0;
  // The desktop session is ending (the user logs out): true when the program has ended,
  // false when it asks to stay (the logout is then cancelled where the desktop allows it).
  std::function<bool()> onSessionEnd;
};

// One running copy per application folder.
class Instance {
 public:
  virtual ~Instance() = default;
  // Takes the application folder for this copy; false when a copy running on it holds it.
  virtual bool claim() = 0;
  // Known once claimed: the copy before this one ended without clearing its in-use mark.
  virtual bool leftInUse() const = 0;
  // Gives this start's command line to the copy running on the folder; false when none took it.
  virtual bool handOver(const std::string& commandLine) = 0;
  // A normal end: the folder is no longer marked in use.
  virtual void release() = 0;
  // The command line of a later start, delivered between events.
  std::function<void(const std::string& commandLine)> onHandOver;
};

// Everything the model asks of the platform.
struct Services {
  Services(MessageBoxes& m, FileDialogs& f, Tray& t, Sound& s, Printer& p, Clipboard& c,
           Launcher& l, Browser& b, SettingsStore& st, AppInfo& a, Clock& ck, TimerHost& th,
           WindowSystem& w, Instance& i, DesktopIdle& d)
      : messages(m),
        files(f),
        tray(t),
        sound(s),
        printer(p),
        clipboard(c),
        launcher(l),
        browser(b),
        settings(st),
        app(a),
        clock(ck),
        timers(th),
        windows(w),
        instance(i),
        idle(d) {}
  MessageBoxes& messages;
  FileDialogs& files;
  Tray& tray;
  Sound& sound;
  Printer& printer;
  Clipboard& clipboard;
  Launcher& launcher;
  Browser& browser;
  SettingsStore& settings;
  AppInfo& app;
  Clock& clock;
  TimerHost& timers;
  WindowSystem& windows;
  Instance& instance;
  DesktopIdle& idle;
};

// A whole platform in one object, as the headless and the Qt platforms each are.
class Platform : public MessageBoxes,
                 public FileDialogs,
                 public Tray,
                 public Sound,
                 public Printer,
                 public Clipboard,
                 public Launcher,
                 public Browser,
                 public SettingsStore,
                 public AppInfo,
                 public Clock,
                 public TimerHost,
                 public WindowSystem,
                 public Instance,
                 public DesktopIdle {
 public:
  Platform() = default;
  Platform(const Platform&) = delete;
  Platform& operator=(const Platform&) = delete;
  Services& services() { return services_; }

 private:
  Services services_{*this, *this, *this, *this, *this, *this, *this, *this,
                     *this, *this, *this, *this, *this, *this, *this};
};

}  // namespace vantrel
