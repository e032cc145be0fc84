// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/form.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/headless/headless_services.h"
#include "platform/user_input.h"

namespace vantrel {
namespace {

class ModelTest : public ::testing::Test {
 protected:
  HeadlessServices platform{::testing::TempDir()};
  Form form{platform.services(), "frmTest", "Test", 4800, 3600};
  Control& box(const std::string& name, Control* in = nullptr) {
    return form.add(ControlKind::TextBox, name, {0, 0, 900, 300}, "", in);
  }
};

TEST_F(ModelTest, NestedRulesRunDepthFirstInWriteOrder) {
  Control& a = box("A");
  Control& b = box("B");
  Control& c = box("C");
  Control& d = box("D");
  std::vector<std::string> log;
  a.onChange = [&] {
    log.push_back("A");
    setField(b, "1");
    setField(d, "1");
  };
  b.onChange = [&] {
    log.push_back("B");
    setField(c, "1");
  };
  c.onChange = [&] { log.push_back("C"); };
  d.onChange = [&] { log.push_back("D:" + c.text()); };
  setField(a, "go");
  EXPECT_EQ(log, (std::vector<std::string>{"A", "B", "C", "D:1"}));

  // An equal text runs nothing.
  log.clear();
  setField(a, "go");
  setField(b, "1");
  EXPECT_TRUE(log.empty());
}

TEST_F(ModelTest, ASelfFormattingRuleTerminates) {
  Control& rate = box("Rate");
  int runs = 0;
  rate.onChange = [&] {
    ++runs;
    if (rate.text().find('.') == std::string::npos) setField(rate, rate.text() + ".00");
  };
  setField(rate, "12");
  EXPECT_EQ(rate.text(), "12.00");
  EXPECT_EQ(runs, 2);
}

TEST_F(ModelTest, ValuesRunClickRulesAndOptionsStayExclusive) {
  Control& frame = form.add(ControlKind::Frame, "Frame1", {0, 0, 2000, 2000});
  Control& one = form.add(ControlKind::OptionButton, "Option1", {}, "One", &frame);
  Control& two = form.add(ControlKind::OptionButton, "Option2", {}, "Two", &frame);
  Control& other = form.add(ControlKind::OptionButton, "Option3", {}, "Elsewhere");
  Control& tick = form.add(ControlKind::CheckBox, "Check1", {}, "Tick");
  std::vector<std::string> log;
  for (Control* c : {&one, &two, &other, &tick}) {
    c->onClick = [&log, c] { log.push_back(c->name() + "=" + std::to_string(c->value())); };
  }
  one.setValue(1);
  other.setValue(1);
  two.setValue(1);  // clears One without running its rule; Option3 is in another group
  tick.setValue(1);
  tick.setValue(0);
  EXPECT_EQ(log, (std::vector<std::string>{"Option1=1", "Option3=1", "Option2=1", "Check1=1",
                                           "Check1=0"}));
  EXPECT_EQ(one.value(), 0);
  EXPECT_EQ(other.value(), 1);
}

TEST_F(ModelTest, UserInputTakesTheSamePathAsTheWindow) {
  Control& hours = box("Hours");
  std::vector<char> seen;
  hours.onKeyPress = [&](char key) {
    seen.push_back(key);
    return key != 'x';
  };
  // The model formats what was typed; the next key extends the typed text, not the format.
  hours.onChange = [&] {
    if (!hours.text().empty() && hours.text().back() != '!') setField(hours, hours.text() + "!");
  };
  for (char key : std::string("1x2")) userType(hours, key);
  EXPECT_EQ(hours.text(), "12!");
  EXPECT_EQ(seen, (std::vector<char>{'1', 'x', '2'}));
  userType(hours, '\b');
  EXPECT_EQ(hours.text(), "1!");
  // A paste in between starts over from the new text.
  setField(hours, "7");
  userType(hours, '0');
  EXPECT_EQ(hours.text(), "7!0!");

  Control& button = form.add(ControlKind::CommandButton, "Go", {}, "Go");
  std::vector<std::string> events;
  button.onMouseDown = [&] { events.push_back("down"); };
  button.onClick = [&] { events.push_back("click"); };
  userClick(button);
  userActivate(button);
  EXPECT_EQ(events, (std::vector<std::string>{"down", "click", "click"}));
}

TEST_F(ModelTest, AFrameHidesAndDisablesWhatItHolds) {
  Control& frame = form.add(ControlKind::Frame, "Frame1", {});
  Control& inner = box("Inner", &frame);
  EXPECT_TRUE(inner.reachable());
  frame.setEnabled(false);
  EXPECT_FALSE(inner.reachable());
  EXPECT_TRUE(inner.shownWithContainers());
  frame.setEnabled(true);
  frame.setVisible(false);
  EXPECT_FALSE(inner.shownWithContainers());
}

TEST_F(ModelTest, ObserverHearsOnlyRealChanges) {
  Control& c = box("Watched");
  int heard = 0;
  c.observer = [&](Control&, Property) { ++heard; };
  c.setEnabled(true);
  c.setVisible(true);
  setField(c, "");
  EXPECT_EQ(heard, 0);
  c.setEnabled(false);
  setField(c, "x");
  EXPECT_EQ(heard, 2);
}

TEST(TrayRecord, TipIsCutToSixtyFourBytesWithItsZero) {
  TrayRecord record;
  record.setTip(std::string(100, 'a'));
  EXPECT_EQ(record.tipText(), std::string(63, 'a'));
  EXPECT_EQ(record.tip[63], '\0');
  record.setTip("Vantrel - Running");
  EXPECT_EQ(record.tipText(), "Vantrel - Running");
  EXPECT_EQ(record.tip[20], '\0');
  EXPECT_EQ(sizeof record.tip, 64u);
}

}  // namespace
}  // namespace vantrel
