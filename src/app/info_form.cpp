// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/info_form.h"

#include "app/help_pages.h"
#include "app/splash_form.h"
#include "app/vantrel.h"
#include "platform/translation.h"

namespace vantrel {

namespace {
constexpr Colour kLinkBlue = colour::rgb(0, 70, 200);
// Room for the licence's lines under the text; the link and OK move down by as much.
constexpr int kLicenceHeight = 810;
constexpr int kLicenceRoom = kLicenceHeight + 120;

int heightOf(const InfoContent& content) {
  return 4200 + (content.licence != nullptr ? kLicenceRoom : 0);
}
}  // namespace

const InfoContent InfoForm::kAbout{
    "frmAbout",
    N_("About Vantrel"),
    N_("Vantrel times your work on a job and turns it into billed hours, an invoice and a "
       "report. Your projects, price lists and customer cards stay on this computer; Vantrel "
       "sends nothing over the network."),
    N_("Read the Vantrel help pages"),
    "index.html",
    N_("Vantrel is free software: you may share and change it under the terms of the GNU "
       "General Public License, version 3 or later. It comes with no warranty.")};

const InfoContent InfoForm::kHelp{
    "frmHelp",
    N_("Vantrel Help"),
    N_("The help pages explain the job clock, the job sheet and its rates, project files, "
       "invoices, reports and the tray icon. They were installed with Vantrel and open in your "
       "web browser from this computer."),
    N_("Open the help pages"),
    "index.html",
    nullptr};

const InfoContent InfoForm::kUpdate{
    "frmUpdate",
    N_("Check for Updates"),
    N_("Vantrel never connects to the internet, so it does not look for updates by itself. The "
       "version you are running is shown above; the help page below explains how to install a "
       "newer one without losing your files."),
    N_("How to update Vantrel"),
    "updates.html",
    nullptr};

InfoForm::InfoForm(Vantrel& app, const InfoContent& content)
    : Form(app.services(), content.name, tr(content.caption), 5400, heightOf(content)),
      page_(content.page) {
  lblName = &add(ControlKind::Label, "lblName", {240, 180, 4680, 480}, tr("Vantrel"));
  lblName->style() = Style{18, true, Align::Left};
  lblVersion = &add(ControlKind::Label, "lblVersion", {240, 720, 4680, 270},
                    versionText(services().app.version()));
  lblText = &add(ControlKind::Label, "lblText", {240, 1140, 4680, 1200}, tr(content.text));
  lblText->style().multiLine = true;
  int below = 2460;
  if (content.licence != nullptr) {
    lblLicence = &add(ControlKind::Label, "lblLicence", {240, below, 4680, kLicenceHeight},
                      tr(content.licence));
    lblLicence->style().multiLine = true;
    below += kLicenceRoom;
  }
  lblLink = &add(ControlKind::Label, "lblLink", {240, below, 4680, 270}, tr(content.link));
  lblLink->style().foreColour = kLinkBlue;
  lblLink->setTooltip(tr("Opens in your web browser"));
  lblLink->onClick = [this] { openLink(); };
  cmdOK = &add(ControlKind::CommandButton, "cmdOK", {3720, below + 480, 1200, 375}, tr("OK"));
  cmdOK->onClick = [this] { hide(); };
}

void InfoForm::openLink() {
  openHelpPage(services(), page_);
}

}  // namespace vantrel
