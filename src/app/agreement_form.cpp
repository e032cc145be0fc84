// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/agreement_form.h"

#include <optional>
#include <string>

#include "app/splash_form.h"
#include "app/vantrel.h"
#include "platform/translation.h"
#include "sheet/numbers.h"
#include "store/user_settings.h"

namespace vantrel {

namespace {

// The agreement's paragraphs, translated each on its own; a blank line between them.
constexpr const char* kAgreement[] = {
    N_("VANTREL LICENCE AND USAGE AGREEMENT"),
    N_("1. Licence. Vantrel is free software: you may run, study, share and change it under the "
       "terms of the GNU General Public License, version 3 or (at your option) any later "
       "version. The licence comes with the program."),
    N_("2. Your data. Vantrel keeps your projects, price lists and customer cards as files on "
       "your computer and sends nothing anywhere. Keeping copies of those files is up to "
       "you."),
    N_("3. Your bills. The amounts Vantrel works out follow the rates, minimums and rules you "
       "set. Check each invoice before you send it: what you bill your customers is your "
       "responsibility."),
    N_("4. No warranty. Vantrel is provided as it is, without any warranty. As far as the law "
       "allows, its authors are not liable for lost time, data or income arising from its "
       "use."),
    N_("5. What you accept. Accepting says you have read points 2 to 4. The licence's own "
       "rights do not depend on it."),
    N_("Choose Accept to agree and start Vantrel, or Decline to leave without starting it.")};

std::string agreementText() {
  std::string text;
  for (const char* paragraph : kAgreement) {
    if (!text.empty()) text += "\r\n\r\n";
    text += tr(paragraph);
  }
  return text;
}

}  // namespace

bool agreementAccepted(SettingsStore& settings) {
  auto value = settings.read(kSettingsApp, kSettingsSection, kAgreementKey);
  auto number = value ? parseNumber(*value) : std::nullopt;
  return number && *number != 0;
}

void acceptAgreement(SettingsStore& settings) {
  settings.write(kSettingsApp, kSettingsSection, kAgreementKey, "1");
}

AgreementForm::AgreementForm(Vantrel& app)
    : Form(app.services(), "frmUELA", tr("License Agreement"), 7200, 6480), app_(app) {
  role = WindowRole::Dialog;
  Label1 = &add(ControlKind::Label, "Label1", {240, 180, 6600, 330},
                tr("Please read this agreement before you use Vantrel."));
  Label1->style().bold = true;
  Text1 = &add(ControlKind::TextBox, "Text1", {240, 600, 6600, 4560}, agreementText());
  Text1->style().readOnly = true;
  Text1->style().multiLine = true;
  cmdAccept = &add(ControlKind::CommandButton, "cmdAccept", {3960, 5340, 1320, 375}, tr("Accept"));
  cmdDecline =
      &add(ControlKind::CommandButton, "cmdDecline", {5520, 5340, 1320, 375}, tr("Decline"));
  cmdAccept->onClick = [this] { accept(); };
  cmdDecline->onClick = [this] { decline(); };
  // Closing the window without answering is no acceptance; nothing else could follow it.
  onQueryClose = [this] {
    decline();
    return true;
  };
}

void AgreementForm::accept() {
  acceptAgreement(services().settings);
  hide();
  app_.splash().resume();
}

void AgreementForm::decline() {
  app_.end();
}

}  // namespace vantrel
