// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/qt_services.h"

#include <QApplication>
#include <QClipboard>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLibrary>
#include <QLocale>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QSessionManager>
#include <QSettings>
#include <QSocketNotifier>
#include <QSystemTrayIcon>
#include <QTimeZone>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <chrono>
#include <thread>

#include "platform/form.h"
#include "platform/qt/devices/qt_devices.h"
#include "platform/qt/form_widget.h"
#include "platform/qt/idle_watch.h"
#include "platform/qt/qt_convert.h"
#include "platform/qt/window_placement.h"
#include "platform/spoken.h"
#include "platform/text_file.h"
#include "vantrel_version.h"

namespace vantrel {

namespace {

// A sound is a short alarm; a bigger file is not read into memory to be checked.
constexpr qint64 kLargestSound = 64LL * 1024 * 1024;

}  // namespace

QtServices::QtServices(std::optional<QStringList> arguments) : folder_(applicationFolder()) {
  if (!arguments) arguments = QCoreApplication::arguments().mid(1);
  commandLine_ = fromQString(arguments->join(QLatin1Char(' ')));
  QDir().mkpath(toQString(folder_));
  // While the splash waits, not before it shows.
  QTimer::singleShot(1000, &lifetime_, [this] { installDefaults(); });
#ifndef QT_NO_SESSIONMANAGER
  // Logging out: the program ends as its exits end it, or asks the desktop to wait.
  QObject::connect(qApp, &QGuiApplication::commitDataRequest, &lifetime_,
                   [this](QSessionManager& manager) {
                     if (!onSessionEnd || !manager.allowsInteraction()) return;
                     const bool ended = onSessionEnd();
                     manager.release();
                     if (!ended) manager.cancel();
                   });
#endif
}

std::string QtServices::commandLineOf(int argc, char** argv) {
  std::string line;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) line += ' ';
    line += argv[i];
  }
  return line;
}

QtServices::~QtServices() {
  withdraw();
  releaseWindows();
}

std::string QtServices::applicationFolder() {
  QString home = qEnvironmentVariable("VANTREL_HOME");
  if (home.isEmpty()) {
    QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (data.isEmpty() || !QDir::isAbsolutePath(data)) {
      data = QDir::homePath() + QStringLiteral("/.local/share");
    }
    home = data + QStringLiteral("/vantrel");
  }
  return fromQString(QDir::cleanPath(home));
}

// Installed, the program finds its shared files beside its own folder: /usr/bin/vantrel
// has /usr/share/vantrel, wherever the prefix is.
std::string QtServices::sharedFolder() const {
  const QDir shared(QCoreApplication::applicationDirPath() + QLatin1Char('/') +
                    QStringLiteral(VANTREL_SHARED_FROM_BIN));
  return shared.exists() ? fromQString(shared.canonicalPath()) : std::string();
}

// The default sound and help pages come with the program; the user's own copies win.
void QtServices::installDefaults() {
  if (defaultsInstalled_) return;
  defaultsInstalled_ = true;
  ensureResources();
  const QString root = QStringLiteral(":/defaults/");
  QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString source = it.next();
    const QString target = toQString(folder_) + QLatin1Char('/') + source.mid(root.size());
    if (QFileInfo::exists(target)) continue;
    QDir().mkpath(QFileInfo(target).absolutePath());
    if (QFile::copy(source, target)) {
      // Copies of resources are read-only; the user may replace them.
      QFile::setPermissions(
          target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    }
  }
}

void QtServices::releaseWindows() {
  // The side windows belong to the main window's widget too, so they go first.
  std::erase_if(windows_,
                [](const auto& entry) { return entry.second->parentWidget() != nullptr; });
  windows_.clear();
}

FormWidget* QtServices::window(const Form& form) const {
  auto it = windows_.find(&form);
  return it == windows_.end() ? nullptr : it->second.get();
}

// ---- message boxes and file dialogs ----

Answer QtServices::show(const std::string& text, Buttons buttons, const std::string& title) {
  const QString caption = title.empty() ? QString::fromLatin1(kTitle) : toQString(title);
  QMessageBox::StandardButtons offered = QMessageBox::Ok;
  if (buttons == Buttons::YesNo || buttons == Buttons::YesNoSafe) {
    offered = QMessageBox::Yes | QMessageBox::No;
  }
  if (buttons == Buttons::YesNoCancel) {
    offered = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
  }
  QMessageBox box(QMessageBox::NoIcon, caption, modelToScreenText(text), offered, messageOwner());
  box.setTextFormat(Qt::PlainText);  // a '<' in a message is no markup
  box.setDefaultButton(buttons == Buttons::Ok          ? QMessageBox::Ok
                       : buttons == Buttons::YesNoSafe ? QMessageBox::No
                                                       : QMessageBox::Yes);
  if (buttons == Buttons::YesNoCancel) box.setEscapeButton(QMessageBox::Cancel);
  fitMessageBox(box);
  ++modalDepth_;
  const int chosen = box.exec();
  --modalDepth_;
  deliverHandOvers();
  if (buttons == Buttons::Ok) return Answer::Ok;
  if (chosen == QMessageBox::Yes) return Answer::Yes;
  // The close box of a box that offers Cancel cancels; of a Yes/No question, it says no.
  return chosen == QMessageBox::Cancel ? Answer::Cancel : Answer::No;
}

// Not modal to the program's run: the clock ticks on under the question. It is modal to the
// user, as a message box is, so the question is answered before the windows take clicks.
void QtServices::ask(Question question) {
  const QString text = modelToScreenText(question.text);
  questionAnswered_ = std::move(question.answered);
  if (question_) {
    question_->setText(text);
    question_->raise();
    question_->activateWindow();
    return;
  }
  auto* box = new QMessageBox(QMessageBox::Question, QString::fromLatin1(kTitle), text,
                              QMessageBox::NoButton, messageOwner());
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setTextFormat(Qt::PlainText);
  box->setWindowModality(Qt::ApplicationModal);
  questionButtons_.clear();
  const std::vector<char> keys = shareAccessKeys(question.buttons);
  for (std::size_t i = 0; i < question.buttons.size(); ++i) {
    const QString caption = toQString(withAccessKey(question.buttons[i], keys[i]));
    questionButtons_.push_back(box->addButton(caption, QMessageBox::AcceptRole));
  }
  if (!questionButtons_.empty()) {
    box->setDefaultButton(static_cast<QPushButton*>(questionButtons_.front()));
    box->setEscapeButton(questionButtons_.front());
  }
  QObject::connect(box, &QMessageBox::buttonClicked, &lifetime_, [this](QAbstractButton* button) {
    const auto found = std::find(questionButtons_.begin(), questionButtons_.end(), button);
    const std::size_t index = found == questionButtons_.end()
                                  ? 0
                                  : static_cast<std::size_t>(found - questionButtons_.begin());
    auto answered = std::move(questionAnswered_);
    questionAnswered_ = nullptr;
    question_ = nullptr;
    questionButtons_.clear();
    if (answered) answered(index);
  });
  fitMessageBox(*box);
  question_ = box;
  box->show();
  box->raise();
  box->activateWindow();
}

QMessageBox* QtServices::openQuestion() const {
  return question_.data();
}

void QtServices::withdraw() {
  questionAnswered_ = nullptr;
  questionButtons_.clear();
  if (QMessageBox* box = question_) {
    question_ = nullptr;
    QObject::disconnect(box, nullptr, &lifetime_, nullptr);
    box->close();
  }
}

std::optional<std::string> QtServices::choose(const FileDialogRequest& request) {
  const QString folder = request.folder.empty() ? toQString(folder_) : toQString(request.folder);
  QFileDialog dialog(QApplication::activeWindow(),
                     request.title.empty() ? QString::fromLatin1(kTitle) : toQString(request.title),
                     folder, qtFileFilter(request.filter));
  dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  if (!request.confirmOverwrite) dialog.setOption(QFileDialog::DontConfirmOverwrite);
  if (request.save) {
    // "*.pcl" of the first filter: a name typed without its extension gets it.
    const QString first = toQString(request.filter).section(QLatin1Char('|'), 1, 1);
    const QString suffix = first.startsWith(QStringLiteral("*.")) ? first.mid(2) : QString();
    if (!suffix.isEmpty() && !suffix.contains(QLatin1Char('*')) &&
        !suffix.contains(QLatin1Char(';'))) {
      dialog.setDefaultSuffix(suffix);
    }
  }
  if (!request.proposed.empty()) dialog.selectFile(toQString(request.proposed));
  ++modalDepth_;
  const int accepted = dialog.exec();
  --modalDepth_;
  deliverHandOvers();
  if (accepted != QDialog::Accepted) return std::nullopt;
  const QStringList files = dialog.selectedFiles();
  if (files.isEmpty() || files.first().isEmpty()) return std::nullopt;
  return fromQString(QDir::toNativeSeparators(files.first()));
}

// ---- tray ----

void QtServices::add(const TrayRecord& record) {
  if (trayPresent_) return;
  if (!tray_) {
    tray_ = std::make_unique<QSystemTrayIcon>();
    QObject::connect(tray_.get(), &QSystemTrayIcon::activated, tray_.get(),
                     [this](QSystemTrayIcon::ActivationReason reason) {
                       int message = 0;
                       if (reason == QSystemTrayIcon::DoubleClick) message = 515;
                       if (reason == QSystemTrayIcon::Context) message = 516;
                       if (message != 0 && onMouse) {
                         auto handler = onMouse;
                         handler(message);
                       }
                     });
  }
  QIcon icon = resourceIcon(record.iconName);
  tray_->setIcon(icon.isNull() ? QApplication::windowIcon() : icon);
  // The tip holds single-byte text as the record carries it.
  tray_->setToolTip(toQString(decodeFileText(record.tipText())));
  tray_->show();
  trayPresent_ = true;
}

void QtServices::remove(const TrayRecord&) {
  if (!trayPresent_) return;
  tray_->hide();
  trayPresent_ = false;
}

bool QtServices::available() const {
  return QSystemTrayIcon::isSystemTrayAvailable();
}

void QtServices::notify(const std::string& text) {
  if (!trayPresent_ || !available()) return;
  tray_->showMessage(QString::fromLatin1(kTitle), toQString(text), QSystemTrayIcon::Information,
                     10000);
}

// ---- sound ----

bool QtServices::wholeWaveFile(const QByteArray& bytes) {
  auto u32 = [&bytes](qsizetype at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(bytes[at + i]);
    return static_cast<qint64>(v);
  };
  if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE") return false;
  bool format = false;
  for (qint64 at = 12; at + 8 <= bytes.size();) {
    const QByteArray id = bytes.mid(at, 4);
    const qint64 length = u32(at + 4);
    const qint64 body = at + 8;
    if (body + length > bytes.size()) return false;
    if (id == "fmt ") format = length >= 16;
    if (id == "data") return format && length > 0;
    at = body + length + (length & 1);
  }
  return false;
}

void QtServices::play(const std::string& path) {
  installDefaults();
  const QString file = toQString(path);
  // A missing, unreadable or cut-off file plays nothing and is no failure worth telling.
  // A cut-off one never reaches Qt: its decoder would wait for the rest for ever and the
  // sample cache would then hang the program when another effect goes.
  QFile wave(file);
  if (!wave.open(QIODevice::ReadOnly) || wave.size() > kLargestSound ||
      !wholeWaveFile(wave.readAll())) {
    return;
  }
  if (QtDevices* sound = devices()) {
    sound->play(QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()));
  }
}

// The module sits beside the program in the build folder, and in PREFIX/lib.../vantrel once
// installed. Without it the program runs on, silent and without printers.
QtDevices* QtServices::devices() {
  if (devicesLoaded_) return devices_.get();
  devicesLoaded_ = true;
  const QString here = QCoreApplication::applicationDirPath() + QLatin1Char('/');
  const QString name = QStringLiteral("libvantrel_devices.so");
  for (const QString& path :
       {here + QStringLiteral(VANTREL_MODULES_FROM_BIN "/") + name, here + name}) {
    if (!QFileInfo(path).isFile()) continue;
    QLibrary module(path);  // stays loaded for the program's life
    using Create = QtDevices* (*)();
    if (auto create = reinterpret_cast<Create>(module.resolve("vantrel_create_devices"))) {
      devices_.reset(create());
      break;
    }
  }
  return devices_.get();
}

// ---- clipboard, programs, addresses, settings ----

void QtServices::clear() {
  QGuiApplication::clipboard()->clear();
}

void QtServices::setText(const std::string& text) {
  QGuiApplication::clipboard()->setText(toQString(text));
}

std::string QtServices::text() const {
  return fromQString(QGuiApplication::clipboard()->text());
}

// Only a full path to a program file starts, as that one file with no arguments: no search
// of PATH ("a" and "Hours" are markers, not program names), no shell, so spaces, quotes,
// ";" or "$(...)" in a name are just part of the name.
bool QtServices::launch(const std::string& path) {
  const QFileInfo file(toQString(path));
  if (path.empty() || !file.isAbsolute() || !file.isFile() || !file.isExecutable()) return false;
  return QProcess::startDetached(file.absoluteFilePath(), {});
}

char QtServices::decimalSeparator() const {
  const QString point = QLocale::system().decimalPoint();
  return point == QStringLiteral(",") ? ',' : '.';
}

bool QtServices::open(const std::string& address) {
  const QString text = toQString(address).trimmed();
  if (text.isEmpty()) return false;
  const QFileInfo file(text);
  const QUrl url =
      file.exists() ? QUrl::fromLocalFile(file.absoluteFilePath()) : QUrl::fromUserInput(text);
  return QDesktopServices::openUrl(url);
}

std::optional<std::string> QtServices::read(const std::string& app, const std::string& section,
                                            const std::string& key) {
  QSettings settings(toQString(app), toQString(app));
  const QString name = toQString(section) + QLatin1Char('/') + toQString(key);
  if (!settings.contains(name)) return std::nullopt;
  return fromQString(settings.value(name).toString());
}

void QtServices::write(const std::string& app, const std::string& section, const std::string& key,
                       const std::string& value) {
  QSettings settings(toQString(app), toQString(app));
  settings.setValue(toQString(section) + QLatin1Char('/') + toQString(key), toQString(value));
  settings.sync();
}

// ---- application and clock ----

Version QtServices::version() const {
  return Version{VANTREL_VERSION_MAJOR, VANTREL_VERSION_MINOR, VANTREL_VERSION_REVISION};
}

std::int64_t QtServices::nowMs() const {
  const QDateTime now = QDateTime::currentDateTime();
  return now.toMSecsSinceEpoch() + static_cast<std::int64_t>(now.offsetFromUtc()) * 1000;
}

std::int64_t QtServices::utcMs() const {
  return QDateTime::currentMSecsSinceEpoch();
}

std::string QtServices::timeText() const {
  return fromQString(QLocale::system().toString(QTime::currentTime(), timeFormatWithSeconds()));
}

std::string QtServices::shortTimeText(std::int64_t ms) const {
  // The moment is local time counted as if it were UTC: its fields are the local ones.
  const QTime time = QDateTime::fromMSecsSinceEpoch(ms, QTimeZone::utc()).time();
  return fromQString(QLocale::system().toString(time, timeFormatWithoutSeconds()));
}

// ---- the desktop's idle time ----

void QtServices::watch() {
  if (!idle_) {
    idle_ = std::make_unique<IdleWatch>([this] { return nowMs(); });
    idle_->onSlept = [this](std::int64_t from, std::int64_t to) {
      if (onSlept) onSlept(from, to);
    };
    idle_->onSourceKnown = [this] {
      if (onSourceKnown) onSourceKnown();
    };
  }
  idle_->watch();
}

std::optional<std::int64_t> QtServices::idleSeconds() {
  return idle_ ? idle_->idleSeconds() : std::nullopt;
}

DesktopIdle::Source QtServices::idleSource() const {
  return idle_ ? idle_->source() : Source::Unknown;
}

std::string QtServices::dateText() const {
  return fromQString(dateToText(QDate::currentDate()));
}

std::string QtServices::dateText(int year, int month, int day) const {
  return fromQString(dateToText(QDate(year, month, day)));
}

// ---- windows ----

void QtServices::attach(Form& form) {
  // Side windows belong to the main window: the desktop keeps them in front of it and
  // minimises them with it, whichever of them came first.
  FormWidget* main = nullptr;
  for (const auto& [model, view] : windows_) {
    if (model->role == WindowRole::Main) main = view.get();
  }
  auto view = std::make_unique<FormWidget>(form, form.role == WindowRole::Side ? main : nullptr);
  if (form.role == WindowRole::Main) {
    for (const auto& [model, side] : windows_) {
      if (model->role == WindowRole::Side) side->setOwner(view.get());
    }
  }
  windows_[&form] = std::move(view);
}

QWidget* QtServices::messageOwner() const {
  // The window the user is in; else the main window or a side window open on the screen.
  // Never a minimised one: a desktop keeps an owned window hidden with its owner.
  if (QWidget* active = QApplication::activeWindow()) return active;
  QWidget* owner = nullptr;
  for (const auto& [model, view] : windows_) {
    if (!view->isVisible() || view->isMinimized()) continue;
    if (model->role == WindowRole::Main && owner == nullptr) owner = view.get();
    if (model->role == WindowRole::Side) owner = view.get();
  }
  return owner;
}

void QtServices::toFront(Form& form) {
  FormWidget* view = window(form);
  if (view == nullptr) return;
  view->setWindowState(view->windowState() & ~Qt::WindowMinimized);
  view->raise();
  view->activateWindow();
}

// ---- one copy per application folder ----

bool QtServices::claim() {
  const FolderLock::Claim claimed = lock_.claim(folder_);
  if (claimed == FolderLock::Claim::Held) return false;
  if (claimed == FolderLock::Claim::Taken && handOvers_.listen(handOverAddress(folder_))) {
    handOverNotifier_ = std::make_unique<QSocketNotifier>(handOvers_.fd(), QSocketNotifier::Read);
    QObject::connect(handOverNotifier_.get(), &QSocketNotifier::activated, &lifetime_,
                     [this] { handOversWaiting(); });
  }
  return true;
}

bool QtServices::handOver(const std::string& commandLine) {
  const std::string address = handOverAddress(folder_);
  // The running copy may have taken the lock a moment ago and not yet be listening.
  for (int attempt = 0; attempt < 10; ++attempt) {
    if (sendHandOver(address, commandLine)) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return false;
}

void QtServices::release() {
  handOverNotifier_.reset();
  lock_.release();
}

void QtServices::handOversWaiting() {
  while (auto line = handOvers_.take()) handOversHeld_.push_back(std::move(*line));
  deliverHandOvers();
}

// Between events only: not inside a message box or dialog, whose answer the model awaits.
void QtServices::deliverHandOvers() {
  if (modalDepth_ > 0 || handOversHeld_.empty()) return;
  QTimer::singleShot(0, &lifetime_, [this] {
    if (modalDepth_ > 0) return;
    std::vector<std::string> lines;
    lines.swap(handOversHeld_);
    for (const std::string& line : lines) {
      if (onHandOver) {
        auto deliver = onHandOver;
        deliver(line);
      }
    }
  });
}

void QtServices::quit() {
  // The model finishes the command that ended the program before the loop stops. Not
  // QCoreApplication::quit(): that first asks every window to close, and a close box is the
  // model's to answer (the main window hides to the tray), so the quit would be refused.
  QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
}

}  // namespace vantrel
