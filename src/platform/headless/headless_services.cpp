// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/headless/headless_services.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "platform/control.h"
#include "platform/form.h"
#include "platform/translation.h"

namespace vantrel {
namespace {

// Days since 1970-01-01 of a civil date (proleptic Gregorian).
std::int64_t daysFromCivil(int y, unsigned m, unsigned d) {
  y -= m <= 2 ? 1 : 0;
  const int era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return static_cast<std::int64_t>(era) * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void civilFromDays(std::int64_t z, int& y, unsigned& m, unsigned& d) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp < 10 ? mp + 3 : mp - 9;
  y = static_cast<int>(yoe + era * 400) + (m <= 2 ? 1 : 0);
}

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
  return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

// The headless programs of this process that hold their folders, by folder.
std::map<std::string, HeadlessServices*>& runningCopies() {
  static std::map<std::string, HeadlessServices*> copies;
  return copies;
}

std::string resolved(const std::string& folder) {
  char path[PATH_MAX];
  return ::realpath(folder.c_str(), path) != nullptr ? std::string(path) : folder;
}

}  // namespace

std::optional<std::int64_t> parseDateTime(const std::string& text) {
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
  char tail = 0;
  if (std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &y, &mo, &d, &h, &mi, &s, &tail) != 6)
    return std::nullopt;
  if (mo < 1 || mo > 12 || d < 1 || d > 31 || h > 23 || mi > 59 || s > 59 || h < 0 || mi < 0 ||
      s < 0)
    return std::nullopt;
  std::int64_t days = daysFromCivil(y, static_cast<unsigned>(mo), static_cast<unsigned>(d));
  return ((days * 24 + h) * 60 + mi) * 60000 + s * 1000LL;
}

namespace {

// The offset of local time from UTC at an instant, in ms.
std::int64_t offsetAt(std::int64_t utcMs) {
  const std::time_t t = static_cast<std::time_t>(floorDiv(utcMs, 1000));
  std::tm tm{};
  ::localtime_r(&t, &tm);
  return static_cast<std::int64_t>(tm.tm_gmtoff) * 1000;
}

std::int64_t utcOfLocalWallTime(std::int64_t localMs) {
  const std::int64_t guess = localMs - offsetAt(localMs);
  return localMs - offsetAt(guess);
}

}  // namespace

HeadlessServices::HeadlessServices(std::string folder, std::int64_t startMs)
    : folder_(std::move(folder)),
      startMs_(startMs),
      nowMs_(startMs),
      startUtcMs_(utcOfLocalWallTime(startMs)) {
  // The desktop program's toolkit takes the process locale from LANG, LC_ALL and
  // LC_NUMERIC at start; so does this platform, so a run under a German locale meets the
  // decimal comma a German desktop has.
  std::setlocale(LC_ALL, "");
}

// Going without an end is a crash to the next copy: the mark stays.
HeadlessServices::~HeadlessServices() {
  auto& copies = runningCopies();
  auto it = copies.find(resolved(folder_));
  if (it != copies.end() && it->second == this) copies.erase(it);
}

bool HeadlessServices::claim() {
  if (claimed_) return true;
  if (lock_.claim(folder_) == FolderLock::Claim::Held) return false;
  claimed_ = true;
  runningCopies()[resolved(folder_)] = this;
  return true;
}

bool HeadlessServices::handOver(const std::string& commandLine) {
  handedOver.push_back(commandLine);
  auto& copies = runningCopies();
  auto it = copies.find(resolved(folder_));
  if (it == copies.end() || it->second == this || !it->second->onHandOver) return false;
  auto deliver = it->second->onHandOver;
  deliver(commandLine);
  return true;
}

void HeadlessServices::release() {
  lock_.release();
  auto& copies = runningCopies();
  auto it = copies.find(resolved(folder_));
  if (it != copies.end() && it->second == this) copies.erase(it);
}

void HeadlessServices::toFront(Form& form) {
  frontForms.push_back(form.name());
}

Answer HeadlessServices::show(const std::string& text, Buttons buttons, const std::string& title) {
  messagesShown.push_back(text);
  messageTitles.push_back(title);
  const Answer first = buttons == Buttons::Ok ? Answer::Ok : Answer::Yes;
  // No answer queued: the user pressed Enter, which takes the default button.
  if (answers.empty()) return buttons == Buttons::YesNoSafe ? Answer::No : first;
  Answer a = answers.front();
  answers.pop_front();
  // An answer that the box does not offer counts as its first button.
  bool fits = buttons == Buttons::Ok            ? a == Answer::Ok
              : buttons == Buttons::YesNoCancel ? a != Answer::Ok
                                                : a == Answer::Yes || a == Answer::No;
  return fits ? a : first;
}

void HeadlessServices::ask(Question question) {
  messagesShown.push_back(question.text);
  messageTitles.emplace_back();
  openQuestion = std::move(question);
  if (questionAnswers.empty()) return;
  const std::string caption = questionAnswers.front();
  questionAnswers.pop_front();
  // A caption the question does not offer takes its first button, as a message box does.
  if (!answerQuestion(caption)) answerQuestion(openQuestion->buttons.at(0));
}

bool HeadlessServices::answerQuestion(const std::string& caption) {
  if (!openQuestion) return false;
  auto same = [&caption](const std::string& button) {
    return button.size() == caption.size() &&
           std::equal(button.begin(), button.end(), caption.begin(), [](char a, char b) {
             return std::tolower(static_cast<unsigned char>(a)) ==
                    std::tolower(static_cast<unsigned char>(b));
           });
  };
  const auto& buttons = openQuestion->buttons;
  const auto found = std::find_if(buttons.begin(), buttons.end(), same);
  if (found == buttons.end()) return false;
  const auto button = static_cast<std::size_t>(found - buttons.begin());
  // Closed before the answer runs: an answer that asks again opens a new question.
  Question answered = std::move(*openQuestion);
  openQuestion.reset();
  if (answered.answered) answered.answered(button);
  return true;
}

std::optional<std::int64_t> HeadlessServices::idleSeconds() {
  if (!idleAvailable) return std::nullopt;
  return idleFromMs_ ? (nowMs_ - *idleFromMs_) / 1000 : 0;
}

std::optional<std::string> HeadlessServices::choose(const FileDialogRequest& request) {
  dialogsShown.push_back(request);
  if (dialogResults.empty()) return std::nullopt;
  auto result = dialogResults.front();
  dialogResults.pop_front();
  if (result && !result->empty() && result->front() != '/') *result = folder_ + "/" + *result;
  return result;
}

void HeadlessServices::add(const TrayRecord& record) {
  if (trayRecord) return;
  trayRecord = record;
  ++trayAdds;
}

void HeadlessServices::remove(const TrayRecord&) {
  if (!trayRecord) return;
  trayRecord.reset();
  ++trayRemoves;
}

void HeadlessServices::notify(const std::string& text) {
  if (trayAvailable && trayRecord) trayMessages.push_back(text);
}

double HeadlessServices::textWidth(const std::string& text, const PrintFont& font) {
  // A fixed advance of half the point size: enough for layouts to be checked headless.
  return static_cast<double>(text.size()) * font.points * 0.5 / 72.0 * 2.54;
}

PrintResult HeadlessServices::printPage(const Page& page) {
  // TRANSLATORS: why printing failed, shown as "Printing failed: %1".
  if (!printerInstalled) return {false, tr("no printer is installed")};
  if (!printerFailure.empty()) return {false, printerFailure};
  pagesPrinted.push_back(page.describe());
  ++printJobs;
  return {true, {}};
}

// Headless, a PDF file holds what the page's record says, written as the desktop writes its
// PDF files: so a missing folder or a full disk fails here as it does there.
WriteResult HeadlessServices::exportPage(const Page& page, const std::string& path) {
  WriteResult written = writeBytes(path, page.describe());
  if (!written) return written;
  pagesPrinted.push_back(page.describe());
  pdfsWritten.push_back(path);
  ++printJobs;
  return written;
}

// The process locale, which the constructor took from the environment as the desktop does.
char HeadlessServices::decimalSeparator() const {
  const char* point = std::localeconv()->decimal_point;
  return point != nullptr && *point != 0 ? *point : '.';
}

bool HeadlessServices::open(const std::string& address) {
  if (!browserAvailable) return false;
  opened.push_back(address);
  return true;
}

bool HeadlessServices::launch(const std::string& path) {
  launched.push_back(path);
  return true;
}

std::optional<std::string> HeadlessServices::read(const std::string& app,
                                                  const std::string& section,
                                                  const std::string& key) {
  auto it = settingsValues.find(app + "/" + section + "/" + key);
  if (it == settingsValues.end()) return std::nullopt;
  return it->second;
}

void HeadlessServices::write(const std::string& app, const std::string& section,
                             const std::string& key, const std::string& value) {
  settingsValues[app + "/" + section + "/" + key] = value;
}

std::string HeadlessServices::timeText() const {
  std::int64_t secs = floorDiv(nowMs_, 1000);
  std::int64_t inDay = secs - floorDiv(secs, 86400) * 86400;
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", static_cast<int>(inDay / 3600),
                static_cast<int>(inDay / 60 % 60), static_cast<int>(inDay % 60));
  return buf;
}

std::string HeadlessServices::shortTimeText(std::int64_t ms) const {
  std::int64_t minutes = floorDiv(ms, 60000);
  std::int64_t inDay = minutes - floorDiv(minutes, 1440) * 1440;
  char buf[8];
  std::snprintf(buf, sizeof buf, "%02d:%02d", static_cast<int>(inDay / 60),
                static_cast<int>(inDay % 60));
  return buf;
}

std::string HeadlessServices::dateText() const {
  int y = 0;
  unsigned m = 0, d = 0;
  civilFromDays(floorDiv(nowMs_, 86400000), y, m, d);
  char buf[24];
  std::snprintf(buf, sizeof buf, "%04d-%02u-%02u", y, m, d);
  return buf;
}

std::string HeadlessServices::dateText(int year, int month, int day) const {
  char buf[24];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", year, month, day);
  return buf;
}

void HeadlessServices::timerChanged(Timer& timer) {
  if (timer.enabled() && timer.interval() > 0) {
    due_[&timer] = Due{nowMs_ + timer.interval(), nextOrder_++};
  } else {
    due_.erase(&timer);
  }
}

void HeadlessServices::timerGone(Timer& timer) {
  due_.erase(&timer);
}

void HeadlessServices::sleep(std::int64_t ms) {
  if (ms <= 0 || ended) return;
  const std::int64_t from = nowMs_;
  nowMs_ += ms;
  // Asleep, nothing counts down: each timer is due as long after waking as it was before.
  for (auto& entry : due_) entry.second.at += ms;
  if (onSlept) {
    auto told = onSlept;
    told(from, nowMs_);
  }
}

void HeadlessServices::advance(std::int64_t ms) {
  const std::int64_t target = nowMs_ + (ms > 0 ? ms : 0);
  for (;;) {
    Timer* next = nullptr;
    Due best{};
    for (const auto& [timer, due] : due_) {
      if (due.at > target) continue;
      if (next == nullptr || due.at < best.at || (due.at == best.at && due.order < best.order)) {
        next = timer;
        best = due;
      }
    }
    if (next == nullptr || ended) break;
    nowMs_ = best.at;
    // The next due time is set before the handler runs, so a handler that restarts or
    // stops its own timer has the last word. Keeping the order keeps ties stable.
    due_[next] = Due{best.at + next->interval(), best.order};
    next->fire();
  }
  if (!ended) nowMs_ = target;
}

}  // namespace vantrel
