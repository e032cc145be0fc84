#include "app/vantrel.h"

#include "app/main_form.h"

namespace vantrel {

Vantrel::Vantrel(Services& services) : services_(services) {
  factories_["frmMain"] = [this]() -> Form& { return main(); };
}

// Windows go in the reverse order of their creation; their rules no longer run.
Vantrel::~Vantrel() {
  for (Form* form : order_) form->observer = nullptr;
  main_.reset();
}

template <class F>
F& Vantrel::get(std::unique_ptr<F>& slot) {
  if (!slot) {
    slot = std::make_unique<F>(*this);
    Form& form = *slot;
    loaded_[form.name()] = &form;
    order_.push_back(&form);
    services_.windows.attach(form);
    form.load();
  }
  return *slot;
}

MainForm& Vantrel::main() { return get(main_); }

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
