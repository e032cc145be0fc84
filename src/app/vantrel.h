// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/form.h"
#include "platform/services.h"

namespace vantrel {

class MainForm;
class SettingsForm;
class OptionsForm;
class LabelsForm;
class InvoiceForm;
class ReportForm;
class SplashForm;
class AgreementForm;
class InfoForm;
class QuitForm;
class CountdownForm;
class CompanyForm;
class CustomerForm;
class ReminderForm;
class LogForm;
class InvoicesForm;

// The program: owns every window and creates each the first time anything touches it
// (construct, register, then load), so a window touched during its own load is the same
// object. Windows live until the program ends.
class Vantrel {
 public:
  explicit Vantrel(Services& services);
  Vantrel(const Vantrel&) = delete;
  Vantrel& operator=(const Vantrel&) = delete;
  ~Vantrel();

  Services& services() const { return services_; }

  // Starts the program as a launch does: the splash, or the agreement window while the
  // agreement is not accepted. A start on a folder that a running copy holds gives that copy
  // its command line and ends at once.
  void start();
  // Ends the program: no window is shown any more and the platform is asked to quit.
  void end();
  bool ended() const { return ended_; }
  // This start found a copy running on its folder and handed its command line over.
  bool handedOver() const { return handedOver_; }

  // The copy before this one did not end normally and its autosaved jobs have not been
  // offered back yet; until they are, the folder stays marked for the next start.
  bool recoveryDue() const { return recoveryDue_; }
  void recoveryOffered() { recoveryDue_ = false; }

  // A later start's command line; kept until the main window has come up and taken its own.
  void handOver(const std::string& commandLine);
  void deliverHandOvers();

  // The desktop session ends: the tray's exit checks and the price list question; true when
  // the program has ended.
  bool sessionEnding();

  MainForm& main();
  SettingsForm& settings();
  OptionsForm& options();
  LabelsForm& labels();
  InvoiceForm& invoice();
  ReportForm& report();
  SplashForm& splash();
  AgreementForm& agreement();
  InfoForm& about();
  InfoForm& help();
  InfoForm& update();
  QuitForm& quit();
  CountdownForm& countdown();
  CompanyForm& company();
  CustomerForm& customer();
  ReminderForm& reminder();
  LogForm& workLog();
  InvoicesForm& invoices();  // the register of issued invoices

  // A detail that the invoice states changed: the invoice, where it exists, shows it.
  void invoiceDetailsChanged();

  // By name, for the script driver: creates the window when needed; null for unknown names.
  Form* form(const std::string& name);
  // Only when already created.
  Form* loadedForm(const std::string& name) const;
  bool knowsForm(const std::string& name) const { return factories_.count(name) != 0; }
  std::vector<Form*> loadedForms() const { return order_; }

  // Where the last invoice or report was exported to, for the next export's dialog.
  std::string lastExportFolder;

 private:
  template <class F, class... Args>
  F& get(std::unique_ptr<F>& slot, Args&&... args);

  Services& services_;
  bool ended_ = false;
  bool handedOver_ = false;
  bool recoveryDue_ = false;
  std::deque<std::string> handOvers_;
  std::map<std::string, std::function<Form&()>> factories_;
  std::map<std::string, Form*> loaded_;
  std::vector<Form*> order_;

  std::unique_ptr<MainForm> main_;
  std::unique_ptr<SettingsForm> settings_;
  std::unique_ptr<OptionsForm> options_;
  std::unique_ptr<LabelsForm> labels_;
  std::unique_ptr<InvoiceForm> invoice_;
  std::unique_ptr<ReportForm> report_;
  std::unique_ptr<SplashForm> splash_;
  std::unique_ptr<AgreementForm> agreement_;
  std::unique_ptr<InfoForm> about_;
  std::unique_ptr<InfoForm> help_;
  std::unique_ptr<InfoForm> update_;
  std::unique_ptr<QuitForm> quit_;
  std::unique_ptr<CountdownForm> countdown_;
  std::unique_ptr<CompanyForm> company_;
  std::unique_ptr<CustomerForm> customer_;
  std::unique_ptr<ReminderForm> reminder_;
  std::unique_ptr<LogForm> workLog_;
  std::unique_ptr<InvoicesForm> invoices_;
};

}  // namespace vantrel
