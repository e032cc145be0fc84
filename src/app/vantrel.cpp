// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/vantrel.h"

#include "app/agreement_form.h"
#include "app/help_pages.h"
#include "app/info_form.h"
#include "app/main_form.h"
#include "app/main_shell.h"
#include "app/quit_form.h"
#include "app/splash_form.h"
#include "clock/settings_form.h"
#include "contacts/company_form.h"
#include "contacts/customer_form.h"
#include "documents/invoice_form.h"
#include "documents/report_form.h"
#include "invoice/invoices_form.h"
#include "platform/text_file.h"
#include "platform/translation.h"
#include "store/labels_form.h"
#include "store/options_form.h"
#include "timers/countdown_form.h"
#include "timers/reminder_form.h"
#include "worklog/log_form.h"

namespace vantrel {

Vantrel::Vantrel(Services& services) : services_(services) {
  factories_["frmMain"] = [this]() -> Form& { return main(); };
  factories_["frmSettings"] = [this]() -> Form& { return settings(); };
  factories_["frmOptions"] = [this]() -> Form& { return options(); };
  factories_["frmLabels"] = [this]() -> Form& { return labels(); };
  factories_["frmInvoice"] = [this]() -> Form& { return invoice(); };
  factories_["frmprint"] = [this]() -> Form& { return report(); };
  factories_["frmSplash"] = [this]() -> Form& { return splash(); };
  factories_["frmUELA"] = [this]() -> Form& { return agreement(); };
  factories_["frmAbout"] = [this]() -> Form& { return about(); };
  factories_["frmHelp"] = [this]() -> Form& { return help(); };
  factories_["frmUpdate"] = [this]() -> Form& { return update(); };
  factories_["frmQEx"] = [this]() -> Form& { return quit(); };
  factories_["frmCount"] = [this]() -> Form& { return countdown(); };
  factories_["frmCompany"] = [this]() -> Form& { return company(); };
  factories_["frmcustomer"] = [this]() -> Form& { return customer(); };
  factories_["frmremind"] = [this]() -> Form& { return reminder(); };
  factories_["frmLog"] = [this]() -> Form& { return workLog(); };
  factories_["frmInvoices"] = [this]() -> Form& { return invoices(); };
}

// Windows go in the reverse order of their creation and tell their views nothing more.
Vantrel::~Vantrel() {
  services_.instance.onHandOver = nullptr;
  services_.windows.onSessionEnd = nullptr;
  for (Form* form : order_) form->observer = nullptr;
  invoices_.reset();
  workLog_.reset();
  reminder_.reset();
  customer_.reset();
  company_.reset();
  countdown_.reset();
  quit_.reset();
  update_.reset();
  help_.reset();
  about_.reset();
  agreement_.reset();
  splash_.reset();
  report_.reset();
  invoice_.reset();
  labels_.reset();
  options_.reset();
  settings_.reset();
  main_.reset();
}

template <class F, class... Args>
F& Vantrel::get(std::unique_ptr<F>& slot, Args&&... args) {
  if (!slot) {
    slot = std::make_unique<F>(std::forward<Args>(args)...);
    Form& form = *slot;
    loaded_[form.name()] = &form;
    order_.push_back(&form);
    services_.windows.attach(form);
    form.load();
  }
  return *slot;
}

MainForm& Vantrel::main() {
  return get(main_, *this);
}
SettingsForm& Vantrel::settings() {
  return get(settings_, *this);
}
OptionsForm& Vantrel::options() {
  return get(options_, *this);
}
LabelsForm& Vantrel::labels() {
  return get(labels_, *this);
}
InvoiceForm& Vantrel::invoice() {
  return get(invoice_, *this);
}
ReportForm& Vantrel::report() {
  return get(report_, *this);
}
LogForm& Vantrel::workLog() {
  return get(workLog_, *this);
}
InvoicesForm& Vantrel::invoices() {
  return get(invoices_, *this);
}
void Vantrel::invoiceDetailsChanged() {
  if (invoice_ != nullptr) invoice_->detailsChanged();
}
SplashForm& Vantrel::splash() {
  return get(splash_, *this);
}
AgreementForm& Vantrel::agreement() {
  return get(agreement_, *this);
}
InfoForm& Vantrel::about() {
  return get(about_, *this, InfoForm::kAbout);
}
InfoForm& Vantrel::help() {
  return get(help_, *this, InfoForm::kHelp);
}
InfoForm& Vantrel::update() {
  return get(update_, *this, InfoForm::kUpdate);
}
QuitForm& Vantrel::quit() {
  return get(quit_, *this);
}
CountdownForm& Vantrel::countdown() {
  return get(countdown_, *this);
}

CompanyForm& Vantrel::company() {
  return get(company_, *this);
}

CustomerForm& Vantrel::customer() {
  return get(customer_, *this);
}

ReminderForm& Vantrel::reminder() {
  return get(reminder_, *this);
}

void Vantrel::start() {
  Instance& instance = services_.instance;
  if (!instance.claim()) {
    // One copy per folder: two would autosave over each other and save over each other's
    // price list. The running one opens the file and comes to the front.
    handedOver_ = true;
    if (!instance.handOver(services_.app.commandLine())) {
      services_.messages.show(tr("Vantrel is already running, but it does not answer."));
    }
    end();
    return;
  }
  recoveryDue_ = instance.leftInUse();
  instance.onHandOver = [this](const std::string& line) { handOver(line); };
  services_.windows.onSessionEnd = [this] { return sessionEnding(); };
  // Writes cut short by a crash left their temporary files here; none is ever data, and
  // no other copy runs on this folder to be writing one.
  removeLeftoverTempsIn(services_.app.folder());
  SplashForm& first = splash();
  if (!first.waitingForAgreement()) first.show();
}

void Vantrel::end() {
  if (ended_) return;
  ended_ = true;
  for (Form* form : order_) form->hide();
  // A crash whose jobs were never offered back is still one to the next start.
  if (!handedOver_ && !recoveryDue_) services_.instance.release();
  services_.windows.quit();
}

void Vantrel::handOver(const std::string& commandLine) {
  if (ended_) return;
  handOvers_.push_back(commandLine);
  if (main_ && main_->shell->startedUp()) deliverHandOvers();
}

void Vantrel::deliverHandOvers() {
  while (!handOvers_.empty() && !ended_) {
    const std::string line = handOvers_.front();
    handOvers_.pop_front();
    main_->shell->takeHandOver(line);
  }
}

bool Vantrel::sessionEnding() {
  if (ended_) return true;
  if (main_) return main_->shell->sessionEnding();
  end();
  return true;
}

Form* Vantrel::form(const std::string& name) {
  auto it = factories_.find(name);
  return it == factories_.end() ? nullptr : &it->second();
}

Form* Vantrel::loadedForm(const std::string& name) const {
  auto it = loaded_.find(name);
  return it == loaded_.end() ? nullptr : it->second;
}

}  // namespace vantrel
