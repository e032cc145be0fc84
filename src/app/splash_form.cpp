// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/splash_form.h"

#include "app/agreement_form.h"
#include "app/main_form.h"
#include "app/vantrel.h"
#include "platform/startup_marks.h"
#include "platform/translation.h"

namespace vantrel {

namespace {
constexpr Colour kBackground = colour::rgb(40, 62, 80);
constexpr Colour kAccent = colour::rgb(120, 220, 140);
}  // namespace

std::string versionText(const Version& v) {
  // TRANSLATORS: %1 is the program's version number ("1.4.2").
  return fill(tr("Version %1"), {std::to_string(v.major) + "." + std::to_string(v.minor) + "." +
                                 std::to_string(v.revision)});
}

SplashForm::SplashForm(Vantrel& app)
    : Form(app.services(), "frmSplash", tr("Vantrel"), 5400, 3360), app_(app) {
  setBackColour(kBackground);
  role = WindowRole::Splash;
  auto label = [this](const char* name, Geometry g, std::string text, Style style) {
    Control* c = &add(ControlKind::Label, name, g, std::move(text));
    c->style() = style;
    c->setBackColour(kBackground);
    return c;
  };
  Label1 = label("Label1", {240, 480, 4920, 900}, tr("Vantrel"),
                 Style{36, true, Align::Centre, false, false, false, colour::white});
  Label2 = label("Label2", {240, 1440, 4920, 330}, tr("Time and billing for freelancers"),
                 Style{11, false, Align::Centre, false, false, false, kAccent});
  lblVersion = label("lblVersion", {240, 2220, 4920, 300}, tr("Version"),
                     Style{9, false, Align::Centre, false, false, false, colour::white});
  Timer5 = &addTimer("Timer5", 1500, true);
  Timer5->onTimer = [this] { dismiss(); };
  // A click anywhere does what a key does, the labels included.
  onKeyPress = [this] { dismiss(); };
  onClick = [this] { dismiss(); };
  for (Control* c : {Label1, Label2, lblVersion}) c->onClick = [this] { dismiss(); };
  onQueryClose = [this] {
    dismiss();
    return true;
  };
}

void SplashForm::load() {
  // Also shown after a late acceptance, so the label never stays at its bare design text.
  setField(*lblVersion, versionText(services().app.version()));
  const bool accepted = agreementAccepted(services().settings);
  startupMark("settings");
  if (accepted) return;
  waiting_ = true;
  Timer5->setEnabled(false);
  hide();
  app_.agreement().show();
}

void SplashForm::resume() {
  waiting_ = false;
  show();
  Timer5->setEnabled(true);
}

void SplashForm::dismiss() {
  if (waiting_ || dismissed_) return;
  dismissed_ = true;
  Timer5->setEnabled(false);
  hide();
  app_.main().show();
}

}  // namespace vantrel
