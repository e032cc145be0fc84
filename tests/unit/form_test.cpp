#include <gtest/gtest.h>

#include "platform/form.h"
#include "platform/headless/headless_services.h"

namespace vantrel {
namespace {

TEST(Form, FindsControlsByName) {
  HeadlessServices platform("/tmp");
  Form form(platform.services(), "frmTest", "Test", 1000, 1000);
  Control& box = form.add(ControlKind::TextBox, "Text1", {0, 0, 100, 100}, "a");
  EXPECT_EQ(form.find("Text1"), &box);
  EXPECT_EQ(form.find("Text2"), nullptr);
}

}  // namespace
}  // namespace vantrel
