#include "app/vantrel.h"

#include "app/agreement_form.h"
#include "app/help_pages.h"
#include "app/info_form.h"
#include "app/main_form.h"
#include "app/quit_form.h"
#include "app/splash_form.h"
#include "clock/settings_form.h"
#include "contacts/company_form.h"
#include "contacts/customer_form.h"
#include "documents/invoice_form.h"
#include "documents/report_form.h"
#include "platform/text_file.h"
#include "store/labels_form.h"
#include "store/options_form.h"
#include "timers/countdown_form.h"
#include "timers/reminder_form.h"

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
}

// Windows go in the reverse order of their creation and tell their views nothing more.
Vantrel::~Vantrel() {
  for (Form* form : order_) form->observer = nullptr;
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
  // Writes cut short by a crash left their temporary files here; none is ever data.
  removeLeftoverTempsIn(services_.app.folder());
  SplashForm& first = splash();
  if (!first.waitingForAgreement()) first.show();
}

void Vantrel::end() {
  if (ended_) return;
  ended_ = true;
  for (Form* form : order_) form->hide();
  services_.windows.quit();
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
