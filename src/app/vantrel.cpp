#include "app/vantrel.h"

#include "app/main_form.h"
#include "clock/settings_form.h"
#include "documents/invoice_form.h"
#include "documents/report_form.h"
#include "store/labels_form.h"
#include "store/options_form.h"

namespace vantrel {

Vantrel::Vantrel(Services& services) : services_(services) {
  factories_["frmMain"] = [this]() -> Form& { return main(); };
  factories_["frmSettings"] = [this]() -> Form& { return settings(); };
  factories_["frmOptions"] = [this]() -> Form& { return options(); };
  factories_["frmLabels"] = [this]() -> Form& { return labels(); };
  factories_["frmInvoice"] = [this]() -> Form& { return invoice(); };
  factories_["frmprint"] = [this]() -> Form& { return report(); };
  plainCaptions_ = {
      {"frmSplash", "Vantrel"},
      {"frmUELA", "License Agreement"},
      {"frmAbout", "About Vantrel"},
      {"frmHelp", "Vantrel Help"},
      {"frmUpdate", "Check for Updates"},
      {"frmQEx", "Exit Vantrel"},
      {"frmCount", "Countdown Timer"},
      {"frmcustomer", "Customer"},
      {"frmCompany", "Your Company Information"},
  };
  for (const auto& [name, caption] : plainCaptions_) {
    factories_[name] = [this, name = name]() -> Form& { return plain(name); };
  }
}

// Windows go in the reverse order of their creation and tell their views nothing more.
Vantrel::~Vantrel() {
  for (Form* form : order_) form->observer = nullptr;
  plain_.clear();
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

MainForm& Vantrel::main() { return get(main_, *this); }
SettingsForm& Vantrel::settings() { return get(settings_, *this); }
OptionsForm& Vantrel::options() { return get(options_, *this); }
LabelsForm& Vantrel::labels() { return get(labels_, *this); }
InvoiceForm& Vantrel::invoice() { return get(invoice_, *this); }
ReportForm& Vantrel::report() { return get(report_, *this); }

Form& Vantrel::plain(const std::string& name) {
  auto& slot = plain_[name];
  return get(slot, services_, name, plainCaptions_.at(name), 4800, 3600);
}

void Vantrel::start() { main().show(); }

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
