// SPDX-License-Identifier: GPL-3.0-or-later
#include "script_parser.h"

#include <gtest/gtest.h>

#include <string>

namespace vantrel {
namespace {

// The line number and message of the error a script raises, or -1 when it parses.
std::pair<int, std::string> errorOf(const std::string& script) {
  try {
    parseScript(script);
  } catch (const ScriptError& e) {
    return {e.line(), e.what()};
  }
  return {-1, ""};
}

TEST(ScriptParser, SplitsCommandsAndKeepsTheirLines) {
  auto commands = parseScript(
      "# a story\n"
      "\n"
      "click frmMain.cmdStart   # start the clock\r\n"
      "  wait 1.5\n"
      "expect frmMain.Text8.text \"0:00\"");
  ASSERT_EQ(commands.size(), 3u);
  EXPECT_EQ(commands[0].line, 3);
  EXPECT_EQ(commands[0].verb, Verb::Click);
  EXPECT_EQ(commands[0].ref.written, "frmMain.cmdStart");
  EXPECT_EQ(commands[0].ref.parts, (std::vector<std::string>{"frmMain", "cmdStart"}));
  EXPECT_EQ(commands[1].line, 4);
  EXPECT_EQ(commands[1].ms, 1500);
  EXPECT_EQ(commands[2].line, 5);
  EXPECT_EQ(commands[2].ref.parts.size(), 3u);
  EXPECT_EQ(commands[2].args[1].text, "0:00");
}

TEST(ScriptParser, QuotedStringsKeepSpacesHashesAndEscapes) {
  auto commands = parseScript(
      "type frmMain.Text1 \"a # b\\\"c\\\\d\\re\\b\"\n"
      "set frmMain.Text1 \"\"\n"
      "expect messages \"one | two\"#comment right after\n");
  ASSERT_EQ(commands.size(), 3u);
  EXPECT_EQ(commands[0].args[1].text, "a # b\"c\\d\re\b");
  EXPECT_TRUE(commands[1].args[1].quoted);
  EXPECT_EQ(commands[1].args[1].text, "");
  EXPECT_EQ(commands[2].args[1].text, "one | two");
}

TEST(ScriptParser, FileCancelOnlyWhenUnquoted) {
  auto commands = parseScript("file cancel\nfile \"cancel\"\nfile \"jobs/a b.pcl\"\n");
  ASSERT_EQ(commands.size(), 3u);
  EXPECT_FALSE(commands[0].args[0].quoted);
  EXPECT_TRUE(commands[1].args[0].quoted);
  EXPECT_EQ(commands[2].args[0].text, "jobs/a b.pcl");
}

TEST(ScriptParser, WaitReadsSecondsExactly) {
  auto ms = [](const std::string& seconds) { return parseScript("wait " + seconds)[0].ms; };
  EXPECT_EQ(ms("0"), 0);
  EXPECT_EQ(ms("60"), 60000);
  EXPECT_EQ(ms("0.1"), 100);
  EXPECT_EQ(ms("2.25"), 2250);
  EXPECT_EQ(ms(".5"), 500);
  EXPECT_EQ(ms("0.0015"), 2);  // rounded to whole milliseconds
  EXPECT_EQ(ms("0.0014"), 1);
  for (const char* bad : {"-1", "1e3", "1.", "abc", "1:00", "\"\"", "9999999999"}) {
    EXPECT_EQ(errorOf(std::string("wait ") + bad).first, 1) << bad;
  }
}

TEST(ScriptParser, ErrorsNameTheLine) {
  struct Case {
    const char* script;
    int line;
    const char* mentions;
  };
  const Case cases[] = {
      {"click frmMain.a\nexpect frmMain.b \"open\n", 2, "unterminated quote"},
      {"\n\ntype frmMain.a \"x\\ny\"", 3, "unknown escape \\n"},
      {"clik frmMain.a", 1, "unknown command \"clik\""},
      {"\"click\" frmMain.a", 1, "unknown command"},
      {"print frmMain.a\nclick", 2, "click takes 1 argument, not 0"},
      {"expect frmMain.a", 1, "expect takes 2 arguments, not 1"},
      {"type frmMain.a \"x\" \"y\"", 1, "not 3"},
      {"press frmMain", 1, "does not fit"},
      {"close frmMain.cmdExit", 1, "does not fit"},
      {"print a.b.c.d", 1, "does not fit"},
      {"print frmMain..text", 1, "empty name"},
      {"click \"frmMain.a\"", 1, "without quotes"},
      {"tray click", 1, "doubleclick or rightclick"},
      {"answer \"\"", 1, "a button's caption"},
      {"idle soon", 1, "idle takes seconds"},
      {"expect frmMain.a \"x\"y", 1, "after a closing quote"},
      {"expect frmMain.a ab\"c\"", 1, "quote inside a word"},
  };
  for (const Case& c : cases) {
    auto [line, message] = errorOf(c.script);
    EXPECT_EQ(line, c.line) << c.script;
    EXPECT_NE(message.find(c.mentions), std::string::npos) << c.script << " -> " << message;
  }
}

}  // namespace
}  // namespace vantrel
