// SPDX-License-Identifier: GPL-3.0-or-later
#include "script_runner.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <memory>
#include <sstream>
#include <string>

#include "platform/user_input.h"

namespace vantrel {
namespace {

// A window whose load is counted, to tell reading a window from creating it.
class CountingForm : public Form {
 public:
  CountingForm(Services& services, const std::string& name, int& loads)
      : Form(services, name, name + " caption", 3000, 2000), loads_(loads) {}
  void load() override { ++loads_; }

 private:
  int& loads_;
};

// Two windows: frmTest with one control of each kind a script reaches, frmOther empty.
class TestForms : public FormSet {
 public:
  explicit TestForms(HeadlessServices& platform) : platform_(platform) {}

  bool knows(const std::string& name) const override {
    return name == "frmTest" || name == "frmOther";
  }
  Form* loaded(const std::string& name) const override {
    auto it = forms_.find(name);
    return it == forms_.end() ? nullptr : it->second.get();
  }
  Form& open(const std::string& name) override {
    if (Form* form = loaded(name)) return *form;
    auto& slot = forms_[name];
    slot = std::make_unique<CountingForm>(platform_.services(), name, loads[name]);
    if (name == "frmTest") build(*slot);
    slot->load();
    return *slot;
  }
  bool ended() const override { return ended_; }

  std::map<std::string, int> loads;
  bool ended_ = false;
  int clicks = 0;
  int mouseDowns = 0;
  int changes = 0;
  int menuRuns = 0;
  int ticks = 0;
  int leaves = 0;

 private:
  void build(Form& f) {
    Control& go = f.add(ControlKind::CommandButton, "cmdGo", {}, "Go");
    go.onClick = [this] { ++clicks; };
    go.onMouseDown = [this] { ++mouseDowns; };
    Control& off = f.add(ControlKind::CommandButton, "cmdOff", {}, "Off");
    off.setEnabled(false);
    off.onClick = [this] { ++clicks; };
    Control& hidden = f.add(ControlKind::CommandButton, "cmdHidden", {}, "Hidden");
    hidden.setVisible(false);
    hidden.onClick = [this] { ++clicks; };
    f.add(ControlKind::CommandButton, "cmdSave", {}, "Save").onClick = [&f] {
      f.services().messages.show("Saved.", Buttons::Ok);
    };
    f.add(ControlKind::CommandButton, "cmdQuit", {}, "Quit").onClick = [&f] {
      f.services().messages.show("Quit now?", Buttons::YesNo);
    };
    Control& frame = f.add(ControlKind::Frame, "Frame1", {}, "Frame");
    Control& inner = f.add(ControlKind::CommandButton, "cmdInner", {}, "Inner", &frame);
    inner.onClick = [this] { ++clicks; };

    // Digits only; each change counted.
    Control& hours = f.add(ControlKind::TextBox, "Text1", {}, "");
    hours.onKeyPress = [](char key) { return (key >= '0' && key <= '9') || key == '\b'; };
    hours.onChange = [this] { ++changes; };
    hours.onFocusLeave = [this] {
      ++leaves;
      return false;
    };
    f.add(ControlKind::TextBox, "Text2", {}, "").setEnabled(false);
    f.add(ControlKind::Label, "Label1", {}, "Hours");

    f.add(ControlKind::CheckBox, "Check1", {});
    f.add(ControlKind::OptionButton, "Option1", {}).setValue(1);
    f.add(ControlKind::OptionButton, "Option2", {});
    Control& bar = f.add(ControlKind::ProgressBar, "ProgressBar1", {});
    bar.setValue(40);
    bar.setBackColour(colour::yellow);
    bar.setTooltip("done so far");

    // A pop-up menu: its top entry hidden in the menu bar, as tray menus are.
    MenuItem& tray = f.addMenu("mnuTray", "Tray");
    tray.setVisible(false);
    f.addMenu("mnuShow", "Show", &tray).onClick = [this] { ++menuRuns; };
    MenuItem& file = f.addMenu("mnuFile", "File");
    file.setEnabled(false);
    f.addMenu("mnuSave", "Save", &file).onClick = [this] { ++menuRuns; };

    Timer& timer = f.addTimer("Timer1", 1000, false);
    timer.onTimer = [this] { ++ticks; };
  }

  HeadlessServices& platform_;
  std::map<std::string, std::unique_ptr<Form>> forms_;
};

class ScriptRunnerTest : public ::testing::Test {
 protected:
  ScriptRunnerTest() : platform_("/tmp/vantrel-runner-test"), forms_(platform_) {
    forms_.open("frmTest").show();
  }

  int run(const std::string& script) {
    out_.str("");
    err_.str("");
    ScriptRunner runner(platform_, forms_, out_, err_);
    return runner.run(parseScript(script));
  }
  Control& control(const std::string& name) { return forms_.open("frmTest").control(name); }

  HeadlessServices platform_;
  TestForms forms_;
  std::ostringstream out_;
  std::ostringstream err_;
};

TEST_F(ScriptRunnerTest, UnknownNamesStopTheRunNamingTheLine) {
  struct Case {
    const char* bad;
    const char* mentions;
  };
  const Case cases[] = {
      {"click frmTset.cmdGo", "unknown form frmTset"},
      {"click frmTest.cmdgo", "frmTest has no control cmdgo (names are exact: cmdGo)"},
      {"print frmTest.cmdGo.txt", "unknown property txt"},
      {"print frmTest.Label1.value", "value belongs to check boxes"},
      {"print frmTest.Timer1", "name its enabled or interval"},
      {"print frmTest.Timer1.text", "a timer has enabled and interval"},
      {"print frmTest", "name a property"},
      {"print tray.visible", "unknown record tray.visible"},
      {"expect settings.AGREED \"1\"", "unknown record"},
      {"set frmOther.Text1 \"x\"", "frmOther has no control Text1"},
      {"close frmNope", "unknown form frmNope"},
      {"type frmTest.Label1 \"x\"", "type needs a text box"},
  };
  for (const Case& c : cases) {
    int clicksBefore = forms_.clicks;
    int status =
        run(std::string("expect frmTest.Label1 \"Hours\"\n") + c.bad + "\nclick frmTest.cmdGo\n");
    EXPECT_EQ(status, kScriptError) << c.bad;
    EXPECT_NE(err_.str().find("ERROR line 2: "), std::string::npos) << err_.str();
    EXPECT_NE(err_.str().find(c.mentions), std::string::npos) << c.bad << " -> " << err_.str();
    EXPECT_EQ(out_.str(), "1 passed, 0 failed\n") << c.bad;
    EXPECT_EQ(forms_.clicks, clicksBefore) << "the run went on after " << c.bad;
  }
}

TEST_F(ScriptRunnerTest, UserCommandsOutOfReachFailAndDoNothing) {
  int status =
      run("click frmTest.cmdOff\n"
          "activate frmTest.cmdHidden\n"
          "press frmTest.cmdHidden\n"
          "type frmTest.Text2 \"12\"\n"
          "expect frmTest.cmdGo.enabled \"true\"\n");
  EXPECT_EQ(status, kSomeFailed);
  EXPECT_EQ(forms_.clicks, 0);
  EXPECT_EQ(control("Text2").text(), "");
  EXPECT_NE(out_.str().find("FAIL line 1: click frmTest.cmdOff: frmTest.cmdOff is disabled"),
            std::string::npos)
      << out_.str();
  EXPECT_NE(out_.str().find("FAIL line 4: type frmTest.Text2: frmTest.Text2 is disabled"),
            std::string::npos);
  EXPECT_NE(out_.str().find("\n1 passed, 4 failed\n"), std::string::npos) << out_.str();

  // A frame passes its state to what it holds; a hidden window takes no clicks at all.
  control("Frame1").setEnabled(false);
  EXPECT_EQ(run("click frmTest.cmdInner\n"), kSomeFailed);
  EXPECT_NE(out_.str().find("inside Frame1, which is disabled"), std::string::npos);
  control("Frame1").setEnabled(true);
  EXPECT_EQ(run("click frmTest.cmdInner\n"), kAllPassed);
  EXPECT_EQ(forms_.clicks, 1);
  forms_.open("frmTest").hide();
  EXPECT_EQ(run("click frmTest.cmdGo\nleave frmTest.Text1\nclose frmTest\n"), kSomeFailed);
  EXPECT_NE(out_.str().find("frmTest is not shown"), std::string::npos);
  EXPECT_NE(out_.str().find("0 passed, 3 failed"), std::string::npos);
  EXPECT_EQ(forms_.clicks, 1);
  EXPECT_EQ(run("click frmOther.cmdAny\n"), kSomeFailed);
  EXPECT_NE(out_.str().find("frmOther is not loaded"), std::string::npos);
  EXPECT_EQ(forms_.loads["frmOther"], 0);
}

TEST_F(ScriptRunnerTest, ClickPressAndActivateTakeTheUsersPath) {
  EXPECT_EQ(run("press frmTest.cmdGo\n"
                "activate frmTest.cmdGo\n"
                "click frmTest.cmdGo\n"
                "click frmTest.Check1\n"
                "expect frmTest.Check1 \"1\"\n"
                "click frmTest.Option2\n"
                "expect frmTest.Option1 \"false\"\n"
                "expect frmTest.Option2.value \"true\"\n"),
            kAllPassed)
      << out_.str();
  EXPECT_EQ(forms_.mouseDowns, 3) << "Space or Enter runs the press rule too";
  EXPECT_EQ(forms_.clicks, 2);
}

TEST_F(ScriptRunnerTest, MenuItemsNeedOnlyBeEnabled) {
  forms_.open("frmTest").hide();
  EXPECT_EQ(run("click frmTest.mnuShow\n"), kAllPassed) << out_.str();
  EXPECT_EQ(forms_.menuRuns, 1);
  EXPECT_EQ(run("click frmTest.mnuSave\n"), kSomeFailed);
  EXPECT_NE(out_.str().find("under mnuFile, which is disabled"), std::string::npos);
  EXPECT_EQ(forms_.menuRuns, 1);
}

TEST_F(ScriptRunnerTest, TypeFiltersKeysWhileSetWritesAnyBox) {
  EXPECT_EQ(run("type frmTest.Text1 \"1a2\\b3\"\n"
                "expect frmTest.Text1 \"13\"\n"
                "leave frmTest.Text1\n"
                "set frmTest.Text2 \"x y\"\n"
                "expect frmTest.Text2.text \"x y\"\n"
                "set frmTest.Label1 \"Minutes\"\n"
                "expect frmTest.Label1 \"Minutes\"\n"),
            kAllPassed)
      << out_.str() << err_.str();
  EXPECT_EQ(forms_.changes, 4);  // 1, 12, 1, 13: the dropped key changed nothing
  EXPECT_EQ(forms_.leaves, 1);
  EXPECT_EQ(run("set frmTest.Timer1 \"1\"\n"), kScriptError);
}

TEST_F(ScriptRunnerTest, ReadsPropertiesAsText) {
  control("cmdGo").setEnabled(false);
  EXPECT_EQ(run("print frmTest.ProgressBar1.value\n"
                "print frmTest.ProgressBar1.colour\n"
                "print frmTest.ProgressBar1.tooltip\n"
                "print frmTest.cmdGo.enabled\n"
                "print frmTest.cmdHidden.visible\n"
                "print frmTest.Timer1.enabled\n"
                "print frmTest.Timer1.interval\n"
                "print frmTest.width\n"
                "print frmTest.cmdGo\n"),
            kAllPassed);
  EXPECT_EQ(out_.str(),
            "frmTest.ProgressBar1.value = 40\n"
            "frmTest.ProgressBar1.colour = 65535\n"
            "frmTest.ProgressBar1.tooltip = done so far\n"
            "frmTest.cmdGo.enabled = false\n"
            "frmTest.cmdHidden.visible = false\n"
            "frmTest.Timer1.enabled = false\n"
            "frmTest.Timer1.interval = 1000\n"
            "frmTest.width = 3000\n"
            "frmTest.cmdGo = Go\n"
            "0 passed, 0 failed\n");
}

TEST_F(ScriptRunnerTest, LoadedAndVisibleNeverCreateAWindow) {
  EXPECT_EQ(run("expect frmOther.loaded \"false\"\n"
                "expect frmOther.visible \"false\"\n"
                "close frmOther\n"),
            kSomeFailed);
  EXPECT_EQ(forms_.loads["frmOther"], 0);
  EXPECT_EQ(run("expect frmOther.caption \"frmOther caption\"\n"
                "expect frmOther.loaded \"true\"\n"),
            kAllPassed);
  EXPECT_EQ(forms_.loads["frmOther"], 1);
}

TEST_F(ScriptRunnerTest, MessagesAreReadOnceInOrder) {
  EXPECT_EQ(run("click frmTest.cmdSave\n"
                "click frmTest.cmdQuit\n"
                "expect messages \"Saved. | Quit now?\"\n"
                "expect messages \"\"\n"
                "click frmTest.cmdSave\n"
                "print messages\n"
                "print messages\n"),
            kAllPassed)
      << out_.str();
  EXPECT_EQ(out_.str(), "messages = Saved.\nmessages = \n2 passed, 0 failed\n");
}

TEST_F(ScriptRunnerTest, QueuesAnswersAndDialogResultsAndAdvancesTime) {
  control("Timer1").setEnabled(true);
  EXPECT_EQ(run("answer no\nanswer ok\nfile cancel\nfile \"cancel\"\nwait 2.5\n"), kAllPassed);
  EXPECT_EQ(forms_.ticks, 2);
  EXPECT_EQ(platform_.elapsedMs(), 2500);
  ASSERT_EQ(platform_.answers.size(), 2u);
  EXPECT_EQ(platform_.answers[0], Answer::No);
  EXPECT_EQ(platform_.answers[1], Answer::Ok);
  ASSERT_EQ(platform_.dialogResults.size(), 2u);
  EXPECT_FALSE(platform_.dialogResults[0].has_value());
  EXPECT_EQ(platform_.dialogResults[1], std::optional<std::string>("cancel"));
}

TEST_F(ScriptRunnerTest, TrayNeedsItsIcon) {
  std::vector<int> mouse;
  platform_.onMouse = [&](int message) { mouse.push_back(message); };
  EXPECT_EQ(run("tray doubleclick\nexpect tray.present \"false\"\n"), kSomeFailed);
  EXPECT_NE(out_.str().find("the tray icon is not present"), std::string::npos);
  EXPECT_TRUE(mouse.empty());

  TrayRecord record;
  record.setTip("Vantrel - Running");
  record.iconName = "running";
  platform_.add(record);
  EXPECT_EQ(run("tray doubleclick\ntray rightclick\n"
                "expect tray.tip \"Vantrel - Running\"\nexpect tray.icon \"running\"\n"),
            kAllPassed);
  EXPECT_EQ(mouse, (std::vector<int>{515, 516}));
}

TEST_F(ScriptRunnerTest, AfterTheEndOnlyChecksMayFollow) {
  forms_.ended_ = true;
  EXPECT_EQ(run("expect program.ended \"true\"\nprint frmTest.cmdGo\nwait 1\n"), kScriptError);
  EXPECT_NE(err_.str().find("ERROR line 3: wait after the program has ended"), std::string::npos)
      << err_.str();
  EXPECT_EQ(platform_.elapsedMs(), 0);
}

// The whole driver on the real program.
TEST(ScriptDriver, RunsOnTheProgram) {
  // The program may write into its folder: give it one of its own.
  std::filesystem::path home = std::filesystem::temp_directory_path() /
                               ("vantrel-driver-test-" + std::to_string(::getpid()));
  std::filesystem::create_directories(home);
  DriverOptions options;
  options.home = home.string();
  options.agreement = false;
  options.startMs = *parseDateTime("2026-01-05 09:00:00");
  std::ostringstream out, err;
  EXPECT_EQ(runScript(options,
                      "expect frmUELA.visible \"true\"\n"
                      "expect settings.SLA \"0\"\n"
                      "click frmUELA.cmdAccept\n"
                      "wait 1.5\n"
                      "expect frmMain.visible \"true\"\n"
                      "expect frmMain.caption \"Vantrel - Stopped\"\n",
                      out, err),
            kAllPassed)
      << out.str() << err.str();
  EXPECT_EQ(out.str(), "4 passed, 0 failed\n");

  out.str("");
  EXPECT_EQ(runScript(options, "wait 1\nexpect frmMian.caption \"x\"\n", out, err), kScriptError);
  EXPECT_NE(err.str().find("ERROR line 2: unknown form frmMian"), std::string::npos);

  out.str("");
  err.str("");
  EXPECT_EQ(runScript(options, "wait 1\nwait x\n", out, err), kScriptError);
  EXPECT_NE(err.str().find("ERROR line 2: wait takes seconds"), std::string::npos);
  EXPECT_EQ(out.str(), "0 passed, 0 failed\n");
  std::filesystem::remove_all(home);
}

}  // namespace
}  // namespace vantrel
