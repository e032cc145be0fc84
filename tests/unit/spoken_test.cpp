// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/spoken.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/form.h"
#include "platform/headless/headless_services.h"

namespace vantrel {
namespace {

class SpokenTest : public ::testing::Test {
 protected:
  HeadlessServices platform{::testing::TempDir()};
  Form form{platform.services(), "frmTest", "Test", 9600, 7200};
  Control& add(ControlKind kind, Geometry g, std::string text = {}, Control* in = nullptr) {
    return form.add(kind, "C" + std::to_string(form.controls().size()), g, std::move(text), in);
  }
};

// A box is named by the label in front of it, or the one above it; a table's box by its row
// and its column; never by a label across the window or a heading that is a row of its own.
TEST_F(SpokenTest, BoxesAreNamedByWhatStandsBesideThem) {
  Control& frame = add(ControlKind::Frame, {0, 0, 9000, 7000}, "Customer");
  add(ControlKind::Label, {100, 100, 1000, 270}, "Total Cost", &frame);
  Control& total = add(ControlKind::TextBox, {100, 400, 1000, 300}, "", &frame);
  add(ControlKind::Label, {100, 800, 900, 270}, "Zip Code:", &frame);
  add(ControlKind::TextBox, {1000, 800, 1000, 300}, "", &frame);
  add(ControlKind::Label, {100, 1200, 900, 270}, "Phone", &frame);
  Control& phone = add(ControlKind::TextBox, {1000, 1200, 1000, 300}, "", &frame);
  add(ControlKind::Label, {3000, 2000, 900, 270}, "Qty", &frame);
  add(ControlKind::Label, {4000, 2000, 900, 270}, "Price", &frame);
  Control& row = add(ControlKind::Label, {2000, 2400, 900, 270}, "Design", &frame);
  add(ControlKind::TextBox, {3000, 2400, 900, 300}, "", &frame);
  Control& lower = add(ControlKind::TextBox, {3000, 2800, 900, 300}, "", &frame);
  Control& price = add(ControlKind::TextBox, {4000, 2400, 900, 300}, "", &frame);
  Control& far = add(ControlKind::TextBox, {3000, 6000, 900, 300}, "", &frame);
  EXPECT_EQ(spokenName(total), "Total Cost");
  EXPECT_EQ(spokenName(phone), "Phone") << "the label above belongs to its own row";
  EXPECT_EQ(spokenName(price), "Design, Price");
  EXPECT_EQ(spokenName(lower), "Qty") << "a column heading over the boxes stacked below it";
  EXPECT_EQ(spokenName(far), "") << "nothing near it: the frame does not name it";

  Control& plus = add(ControlKind::CommandButton, {0, 0, 300, 300}, "+");
  plus.setTooltip("Add 1 Minute");
  EXPECT_EQ(spokenName(plus), "Add 1 Minute");
  Control& rate = add(ControlKind::TextBox, {0, 0, 300, 300});
  rate.spoken = {"Service 2 (%1), rate", &row};
  setField(row, "Garden");
  EXPECT_EQ(spokenName(rate), "Service 2 (Garden), rate");
  EXPECT_EQ(spokenName(add(ControlKind::MenuItem, {}, "E&xit")), "Exit");
}

// A marked letter is kept; the others are shared so that every caption gets one ("Stop" gives
// up its s and then its t), and one without letters gets a free key, pressed unseen.
TEST(AccessKeysTest, EveryCaptionGetsAKeyOfItsOwnAndMarkedOnesKeepTheirs) {
  EXPECT_EQ(accessKeyCandidates("Save &As"), "asve");
  EXPECT_EQ(shareAccessKeys({"E&xit", "Stop", "St", "Ss", "+"}),
            (std::vector<char>{'x', 'o', 't', 's', 'a'}));
}

}  // namespace
}  // namespace vantrel
