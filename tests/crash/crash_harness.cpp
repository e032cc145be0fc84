// SPDX-License-Identifier: GPL-3.0-or-later
// vantrel-crashtest: kills a process that is saving the three data files, at random moments,
// thousands of times, and checks after every kill that each file is whole (byte for byte one
// of the two versions being written) and that the next start leaves no temporary file behind
// and reads every value back.
//
//   vantrel-crashtest [--kills N] [--seed S] [--folder DIR] [--recovery 1]
//
// With --recovery 1 it kills the whole program instead, while its clock runs and it
// autosaves every minute, and checks that the next start offers the autosaved job back:
// Yes brings back the clock digits and hours the file holds, No keeps the file aside.

#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "app/main_form.h"
#include "app/vantrel.h"
#include "clock/settings_form.h"
#include "contacts/company_form.h"
#include "contacts/customer_form.h"
#include "platform/headless/headless_services.h"
#include "platform/text_file.h"
#include "platform/user_input.h"
#include "store/labels_form.h"
#include "store/options_form.h"
#include "store/price_list.h"
#include "store/project_file.h"

namespace vantrel {
namespace {

using Clock = std::chrono::steady_clock;

enum FileKind { kProject, kPrices, kCustomer, kFileKinds };
constexpr std::array<const char*, kFileKinds> kWhat = {"project", "price list", "customer"};
constexpr std::array<const char*, kFileKinds> kName = {"job.pcl", "prices.pql", "customer.pcp"};

using Lines = std::vector<std::string>;

// One version of the job: the lines of its three files and the bytes the writer made of them.
struct Version {
  char name;
  std::array<Lines, kFileKinds> lines;
  std::array<std::string, kFileKinds> bytes;
};

// The whole program on the headless platform, started on the folder as a user starts it.
struct Program {
  HeadlessServices platform;
  Vantrel app;
  explicit Program(const std::string& folder)
      : platform(folder, *parseDateTime("2026-03-02 08:00:00")), app(platform.services()) {
    platform.write("Ploven", "Settings", "SLA", "1");
    app.start();
    platform.advance(1500);
  }
};

// What one version types into the program: a phrase for the texts, a base for the numbers.
struct Style {
  char name;
  std::string phrase;
  int base;
};

// A long text for one field: its name, then the phrase again and again, 240 bytes or more.
std::string longText(const std::string& field, const std::string& phrase) {
  std::string text = field + ":";
  while (text.size() < 240) text += " " + phrase;
  return text;
}

std::string number(int whole, int hundredths) {
  return std::to_string(whole) + "." + (hundredths < 10 ? "0" : "") + std::to_string(hundredths);
}

// Every field of the three files, typed in as a user does, so the program's rules apply.
void fill(Vantrel& app, const Style& s) {
  auto text = [&s](Control* box, const std::string& field) {
    setField(*box, longText(field, s.phrase));
  };
  OptionsForm& options = app.options();
  LabelsForm& labels = app.labels();
  MainForm& main = app.main();
  for (int i = 1; i <= 7; ++i) {
    setField(*options.priceListRate[i], std::to_string(s.base + 5 * i));  // the sheet's too
    if (i > 1) text(labels.labelText[i], "label " + std::to_string(i));
    if (i > 1) setField(*main.categoryHours[i], number(i, s.base % 100));
  }
  text(options.launchProgramPath, "launch");
  CompanyForm& company = app.company();
  for (Control* box : {company.companyName, company.companyPhone, company.companyStreet,
                       company.companyTown, company.companyState, company.companyZip}) {
    text(box, "company " + box->name());
  }
  SettingsForm& settings = app.settings();
  setField(*settings.minimumHours, s.base % 2 == 0 ? "0.75" : "1.25");
  setField(*settings.Text5, std::to_string(s.base / 3));
  text(settings.autosaveTarget, "autosave");
  CustomerForm& c = app.customer();
  for (Control* box : c.cardFields()) text(box, "card " + box->name());
  for (Control* box :
       {c.projectCustomer, c.projectName, c.projectDate, c.invoiceNumber, c.projectAddress,
        c.projectPhone, c.projectCity, c.projectState, c.projectZip}) {
    text(box, "job " + box->name());
  }
  setField(*main.minuteCounter, std::to_string(3 * s.base));
  setField(*settings.nextBillableMinute, std::to_string(3 * s.base + 1));
  setField(*settings.elapsedMinutes, std::to_string(3 * s.base + 2));
  int digit = s.base;
  for (Control* d : {main.txtSecs, main.txt0, main.txtMins, main.txt00, main.txtHours, main.txt000,
                     main.txtDays}) {
    setField(*d, std::to_string(digit++ % 6));
  }
}

std::array<std::string, kFileKinds> pathsIn(const std::string& folder) {
  return {joinPath(folder, kName[kProject]), joinPath(folder, kName[kPrices]),
          joinPath(folder, kName[kCustomer])};
}

std::optional<std::string> slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// What writes cut short leave beside the files: their temporary files.
std::vector<std::string> leftovers(const std::string& folder) {
  std::vector<std::string> found;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (name.find(".tmp-") != std::string::npos) found.push_back(name);
  }
  return found;
}

bool writeAll(const std::array<std::string, kFileKinds>& paths, const Version& v) {
  for (int f = 0; f < kFileKinds; ++f) {
    if (!writeLines(paths[f], v.lines[f])) return false;
  }
  return true;
}

// Fills a fresh program in its own folder, then writes its files there and reads the bytes.
Version makeVersion(const Style& style, const std::string& scratch) {
  std::filesystem::create_directories(scratch);
  Version v{style.name, {}, {}};
  {
    Program program(scratch);
    fill(program.app, style);
    v.lines = {projectLines(program.app), priceListLines(program.app),
               customerLines(program.app.customer())};
  }
  const auto paths = pathsIn(scratch);
  if (!writeAll(paths, v)) throw std::runtime_error("cannot write in " + scratch);
  for (int f = 0; f < kFileKinds; ++f) v.bytes[f] = slurp(paths[f]).value_or("");
  std::filesystem::remove_all(scratch);
  return v;
}

// The writer, in the child: B then A over the three files, `pairs` times, or for ever when
// `pairs` is 0, so that only a kill ends it. A failed write ends it at once with status 3.
// Nothing returns into the harness.
[[noreturn]] void rewrite(const std::array<std::string, kFileKinds>& paths, const Version& a,
                          const Version& b, long pairs) {
  try {
    for (long n = 0; pairs == 0 || n < pairs; ++n) {
      if (!writeAll(paths, b) || !writeAll(paths, a)) ::_exit(3);
    }
    ::_exit(0);
  } catch (...) {
  }
  ::_exit(3);
}

// How long a writer takes from its fork to the end of its fourth cycle (each cycle rewrites
// the three files once): the span the kills spread over. The middle one of three, as the
// disk's pace varies.
Clock::duration measureSpan(const std::array<std::string, kFileKinds>& paths, const Version& a,
                            const Version& b) {
  std::array<Clock::duration, 3> spans{};
  for (Clock::duration& span : spans) {
    const auto started = Clock::now();
    const pid_t child = ::fork();
    if (child == 0) rewrite(paths, a, b, 2);
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || status != 0) {
      throw std::runtime_error("the writer cannot write the files");
    }
    span = Clock::now() - started;
  }
  std::sort(spans.begin(), spans.end());
  return spans[1];
}

// The start of a text for a message, cut between two characters.
std::string head(const std::string& text) {
  std::size_t end = std::min<std::size_t>(text.size(), 60);
  while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  return end == text.size() ? text : text.substr(0, end) + "...";
}

// Where the lines read back first differ from the version's, or nothing when they do not.
std::optional<std::string> difference(const Lines& read, const Lines& expected) {
  for (std::size_t n = 0; n < std::max(read.size(), expected.size()); ++n) {
    const std::string got = n < read.size() ? read[n] : "(none)";
    const std::string want = n < expected.size() ? expected[n] : "(none)";
    if (got != want) {
      return "line " + std::to_string(n + 1) + " reads \"" + head(got) + "\", wrote \"" +
             head(want) + "\"";
    }
  }
  return std::nullopt;
}

// The kills land anywhere in the first four cycles of a writer, measured again now and then
// as the disk's pace changes with the machine's load.
constexpr long kRecalibrate = 500;

using Found = std::array<const Version*, kFileKinds>;

// Which version each file holds byte for byte; what is wrong with those that hold neither.
std::vector<std::string> checkBytes(const std::array<std::string, kFileKinds>& paths,
                                    const Version& a, const Version& b, Found& found) {
  std::vector<std::string> faults;
  for (int f = 0; f < kFileKinds; ++f) {
    const auto bytes = slurp(paths[f]);
    found[f] = bytes == a.bytes[f] ? &a : bytes == b.bytes[f] ? &b : nullptr;
    if (found[f] != nullptr) continue;
    std::ostringstream what;
    what << "the " << kWhat[f] << " file is "
         << (bytes ? std::to_string(bytes->size()) + " bytes" : std::string("missing"))
         << ", neither A (" << a.bytes[f].size() << " bytes) nor B (" << b.bytes[f].size()
         << " bytes)";
    faults.push_back(what.str());
  }
  return faults;
}

// The next start on the folder: no leftover survives it, and the program's own readers
// bring back every value of the version each file holds.
std::vector<std::string> checkNextStart(const std::string& folder,
                                        const std::array<std::string, kFileKinds>& paths,
                                        const Found& found, long& startsWithLeftovers) {
  std::vector<std::string> faults;
  Program next(folder);
  for (const std::string& name : leftovers(folder)) {
    faults.push_back(name + " is still there after the start");
  }
  if (!faults.empty()) ++startsWithLeftovers;
  // Each file is checked as soon as it is read: the project shares fields with the others.
  std::array<Lines, kFileKinds> read;
  loadPriceList(next.app, paths[kPrices]);
  read[kPrices] = priceListLines(next.app);
  readProject(next.app, paths[kProject]);
  read[kProject] = projectLines(next.app);
  readCustomer(next.app.customer(), paths[kCustomer]);
  read[kCustomer] = customerLines(next.app.customer());
  for (int f = 0; f < kFileKinds; ++f) {
    if (auto d = difference(read[f], found[f]->lines[f])) {
      faults.push_back(std::string("the ") + kWhat[f] + " file (" + found[f]->name +
                       ") reads back wrong: " + *d);
    }
  }
  return faults;
}

struct Options {
  long kills = 10000;
  std::uint64_t seed = std::random_device{}();
  std::string folder;
  bool recovery = false;
};

// The program, its clock running with autosave on, autosaving minute after minute until
// it is killed. Tells the harness through `ready` once the clock runs.
[[noreturn]] void runAndAutosave(const std::string& folder, int ready) {
  try {
    Program program(folder);
    program.platform.advance(100);
    program.app.options().autoSaveEnabled->setValue(1);
    userClick(*program.app.main().CmdStart);
    [[maybe_unused]] const ssize_t told = ::write(ready, "1", 1);
    for (;;) program.platform.advance(60000);
  } catch (...) {
  }
  ::_exit(3);
}

constexpr const char* kAsked = "Vantrel did not close properly. Restore the job autosaved at ";

// The start after a kill: the question when an autosave holds a job, and what each answer
// leaves. Empty when all is as it should be.
std::vector<std::string> checkRecovery(const std::string& folder, bool yes) {
  std::vector<std::string> faults;
  const std::string autosave = joinPath(folder, "AutoSave.pcl");
  const auto bytes = slurp(autosave);
  const Lines saved = readLines(autosave).lines;
  HeadlessServices platform(folder, *parseDateTime("2026-03-02 08:00:00"));
  platform.write("Ploven", "Settings", "SLA", "1");
  platform.answers.push_back(yes ? Answer::Yes : Answer::No);
  Vantrel app(platform.services());
  app.start();
  platform.advance(1600);
  const std::vector<std::string>& asked = platform.messagesShown;
  if (!bytes) {
    if (!asked.empty()) faults.push_back("asked with no autosave file: " + asked.front());
    return faults;
  }
  if (asked.size() != 1 || asked.front().rfind(kAsked, 0) != 0) {
    faults.push_back("no question about the autosaved job (" + std::to_string(asked.size()) +
                     " messages)");
    return faults;
  }
  MainForm& m = app.main();
  if (yes) {
    const std::vector<Control*> restored = {m.txtSecs,  m.txt0,   m.txtMins, m.txt00,
                                            m.txtHours, m.txt000, m.txtDays};
    for (std::size_t i = 0; i < restored.size(); ++i) {
      if (restored[i]->text() != saved.at(54 + i)) {
        faults.push_back("clock digit " + restored[i]->name() + " reads " + restored[i]->text() +
                         ", the autosave holds " + saved.at(54 + i));
      }
    }
    if (m.minuteCounter->text() != saved.at(7) || m.categoryHours[1]->text() != saved.at(0)) {
      faults.push_back("the billed minutes and hours did not come back");
    }
    if (!m.projectPath->text().empty()) faults.push_back("the job took a file of its own");
  } else {
    bool kept = false;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      const std::string name = entry.path().filename().string();
      if (name.rfind("AutoSave-", 0) == 0 && slurp(entry.path().string()) == bytes) {
        kept = true;
        std::filesystem::remove(entry.path());
      }
    }
    if (!kept) faults.push_back("the declined job was not kept aside");
    if (fileExists(autosave)) faults.push_back("AutoSave.pcl is still there after No");
  }
  // A normal end: the mark goes, so only the next kill makes the next start ask. A job
  // taken back is unsaved, and leaving it takes a Yes.
  platform.answers.push_back(Answer::Yes);
  userClick(*m.ext);
  if (!app.ended()) faults.push_back("File > Exit did not end the program");
  return faults;
}

int runRecovery(const Options& options, const std::string& folder) {
  std::mt19937_64 random(options.seed);
  std::uniform_int_distribution<int> pauseUs(0, 40000);
  long good = 0, offered = 0, cutShort = 0;
  for (long kill = 1; kill <= options.kills; ++kill) {
    int ready[2];
    if (::pipe(ready) != 0) return 1;
    const pid_t child = ::fork();
    if (child < 0) return 1;
    if (child == 0) runAndAutosave(folder, ready[1]);
    char byte = 0;
    const bool started = ::read(ready[0], &byte, 1) == 1;
    ::close(ready[0]);
    ::close(ready[1]);
    std::this_thread::sleep_for(std::chrono::microseconds(pauseUs(random)));
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    if (fileExists(joinPath(folder, "AutoSave.pcl"))) ++offered;
    if (!leftovers(folder).empty()) ++cutShort;
    std::vector<std::string> faults = started
                                          ? checkRecovery(folder, kill % 2 == 1)
                                          : std::vector<std::string>{"the program did not start"};
    for (const std::string& fault : faults) std::cerr << "kill " << kill << ": " << fault << "\n";
    if (faults.empty()) ++good;
  }
  // A clean run asks nothing afterwards.
  {
    Program clean(folder);
    clean.platform.advance(100);
    userClick(*clean.app.main().ext);
  }
  Program next(folder);
  next.platform.advance(100);
  const bool quiet = next.platform.messagesShown.empty();
  if (!quiet)
    std::cerr << "a clean exit was followed by: " << next.platform.messagesShown[0] << "\n";
  std::cout << options.kills << " kills of the running program: " << good << " recovered as they "
            << "should be (" << offered << " with an autosaved job, " << cutShort
            << " in the middle of an autosave); after a clean exit "
            << (quiet ? "no question" : "a question") << std::endl;
  return good == options.kills && quiet ? 0 : 1;
}

std::optional<Options> parse(int argc, char** argv) {
  Options o;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string flag = argv[i], value = argv[i + 1];
    try {
      if (flag == "--kills") {
        o.kills = std::stol(value);
      } else if (flag == "--seed") {
        o.seed = std::stoull(value);
      } else if (flag == "--folder") {
        o.folder = value;
      } else if (flag == "--recovery") {
        o.recovery = value == "1";
      } else {
        return std::nullopt;
      }
    } catch (const std::exception&) {
      return std::nullopt;
    }
  }
  if (argc % 2 == 0 || o.kills < 1) return std::nullopt;
  return o;
}

int run(const Options& options, const std::string& folder) {
  const std::string scratch = joinPath(folder, "versions");
  const Version a = makeVersion({'A', "Καλημέρα κόσμε · 東京の庭園工事 🌿🔨✨", 30}, scratch);
  const Version b = makeVersion({'B', "€ café — façade «Œuvre» naïve ‰ ™ ßøå", 51}, scratch);
  for (int f = 0; f < kFileKinds; ++f) {
    // A's file is UTF-8, B's Windows-1252: both encodings are written and read.
    if (a.bytes[f].find("東京") == std::string::npos ||
        b.bytes[f].find("\x80 caf\xE9") == std::string::npos) {
      std::cerr << "the " << kWhat[f] << " versions do not hold the texts typed in\n";
      return 1;
    }
  }
  const auto paths = pathsIn(folder);

  std::mt19937_64 random(options.seed);
  std::uniform_int_distribution<std::int64_t> pause;
  long intact = 0, cutShort = 0, startsWithLeftovers = 0;
  std::array<std::array<long, 2>, kFileKinds> versionsFound{};
  for (long kill = 1; kill <= options.kills; ++kill) {
    if (kill % kRecalibrate == 1) {
      const Clock::duration span = measureSpan(paths, a, b);
      pause = decltype(pause)(0, span.count());
      if (kill == 1) {
        std::cout << "four cycles take "
                  << std::chrono::duration_cast<std::chrono::microseconds>(span).count()
                  << " us from the fork; seed " << options.seed << std::endl;
      }
    }
    const pid_t child = ::fork();
    if (child < 0) {
      std::perror("fork");
      return 1;
    }
    if (child == 0) rewrite(paths, a, b, 0);
    std::this_thread::sleep_for(Clock::duration(pause(random)));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);

    Found found{};
    std::vector<std::string> faults = checkBytes(paths, a, b, found);
    if (!WIFSIGNALED(status) || WTERMSIG(status) != SIGKILL) {
      faults.push_back(WIFEXITED(status)
                           ? "the writer stopped by itself: a write failed"
                           : "the writer died of signal " + std::to_string(WTERMSIG(status)));
    }
    if (!leftovers(folder).empty()) ++cutShort;
    if (faults.empty()) {
      for (int f = 0; f < kFileKinds; ++f) ++versionsFound[f][found[f] == &a ? 0 : 1];
      faults = checkNextStart(folder, paths, found, startsWithLeftovers);
    }
    if (faults.empty()) {
      ++intact;
      continue;
    }
    for (const std::string& fault : faults) std::cerr << "kill " << kill << ": " << fault << "\n";
    // The next kill starts from whole files and no leftover, so it is judged on its own.
    for (const std::string& name : leftovers(folder)) {
      std::filesystem::remove(joinPath(folder, name));
    }
    writeAll(paths, a);
  }

  std::cout << "files found whole as A / B:";
  for (int f = 0; f < kFileKinds; ++f) {
    std::cout << (f == 0 ? " " : ", ") << kWhat[f] << " " << versionsFound[f][0] << " / "
              << versionsFound[f][1];
  }
  std::cout << "\n"
            << options.kills << " kills: " << intact << " of " << options.kills
            << " intact (project, price list, customer); " << cutShort << " cut a write short; "
            << (startsWithLeftovers == 0
                    ? std::string("leftovers removed at every start")
                    : "leftovers kept by " + std::to_string(startsWithLeftovers) + " starts")
            << std::endl;
  return intact == options.kills ? 0 : 1;
}

}  // namespace
}  // namespace vantrel

int main(int argc, char** argv) {
  const auto options = vantrel::parse(argc, argv);
  if (!options) {
    std::cerr << "usage: vantrel-crashtest [--kills N] [--seed S] [--folder DIR] [--recovery 1]\n";
    return 2;
  }
  std::string folder = options->folder;
  const bool own = folder.empty();
  if (own) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "vantrel-crash-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
      std::perror("mkdtemp");
      return 1;
    }
    folder = pattern;
  }
  std::filesystem::create_directories(folder);
  int result = 1;
  try {
    result =
        options->recovery ? vantrel::runRecovery(*options, folder) : vantrel::run(*options, folder);
  } catch (const std::exception& e) {
    std::cerr << e.what() << "\n";
  }
  if (own) std::filesystem::remove_all(folder);
  return result;
}
