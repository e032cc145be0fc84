// SPDX-License-Identifier: GPL-3.0-or-later
// The translators' template holds every text the windows show, and a language chosen as a
// desktop chooses it is the one the program speaks.
#include <cstdlib>
#include <fstream>
#include <regex>
#include <set>

#include "platform/translation.h"
#include "program_fixture.h"

namespace vantrel {
namespace {

const char* const kForms[] = {"frmMain",    "frmSettings", "frmOptions", "frmLabels",
                              "frmInvoice", "frmprint",    "frmSplash",  "frmUELA",
                              "frmAbout",   "frmHelp",     "frmUpdate",  "frmQEx",
                              "frmCount",   "frmCompany",  "frmcustomer", "frmremind",
                              "frmLog",     "frmInvoices"};

// The template's texts, their quoted lines joined and unescaped.
std::set<std::string> templateTexts() {
  std::ifstream pot(VANTREL_SOURCE_DIR "/po/vantrel.pot");
  std::set<std::string> texts;
  std::string line, text;
  bool inId = false;
  auto unquoted = [](const std::string& quoted) {
    std::string out;
    for (std::size_t i = 1; i + 1 < quoted.size(); ++i) {
      if (quoted[i] == '\\' && i + 2 < quoted.size()) {
        const char next = quoted[++i];
        out += next == 'n' ? '\n' : next == 't' ? '\t' : next;
      } else {
        out += quoted[i];
      }
    }
    return out;
  };
  while (std::getline(pot, line)) {
    if (line.rfind("msgid \"", 0) == 0) {
      inId = true;
      text = unquoted(line.substr(6));
    } else if (inId && line.rfind("\"", 0) == 0) {
      text += unquoted(line);
    } else if (inId) {
      texts.insert(text);
      inId = false;
    }
  }
  return texts;
}

bool saysSomething(const std::string& text) {
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (std::isalpha(static_cast<unsigned char>(text[i])) &&
        std::isalpha(static_cast<unsigned char>(text[i + 1]))) {
      return true;
    }
  }
  return false;
}

// Whether a text is one of the template's, whole or with its %1, %2 ... put in.
class Template {
 public:
  Template() : texts_(templateTexts()) {
    for (const std::string& text : texts_) {
      if (text.find('%') == std::string::npos) continue;
      std::string pattern;
      for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && std::isdigit(text[i + 1])) {
          pattern += ".*";
          ++i;
        } else if (std::string_view("\\^$.|?*+()[]{}").find(text[i]) != std::string::npos) {
          pattern += std::string("\\") + text[i];
        } else {
          pattern += text[i];
        }
      }
      filled_.emplace_back(pattern);
    }
  }
  std::size_t size() const { return texts_.size(); }
  bool has(const std::string& text) const {
    if (texts_.count(text) != 0) return true;
    for (const std::regex& pattern : filled_) {
      if (std::regex_match(text, pattern)) return true;
    }
    return false;
  }

 private:
  std::set<std::string> texts_;
  std::vector<std::regex> filled_;
};

class CatalogTest : public ProgramFixture<> {};

TEST_F(CatalogTest, EveryTextAWindowShowsIsInTheTemplate) {
  const Template known;
  ASSERT_GT(known.size(), 400u);
  // Language names are written in their own language; the rest is not a text of the program.
  const std::set<std::string> untranslated = {"Deutsch", "Fran\u00E7ais", "www.vantrel.app",
                                              "Form1"};
  launch();
  std::set<std::string> missing;
  auto check = [&](const std::string& where, const std::string& text) {
    if (saysSomething(text) && untranslated.count(text) == 0 && !known.has(text)) {
      missing.insert(where + ": " + text);
    }
  };
  for (const char* name : kForms) {
    Form& form = *app->form(name);
    check(name, form.caption());
    for (const Control* c : form.controls()) {
      const std::string where = std::string(name) + "." + c->name();
      // Text boxes hold the user's data; a category's caption is its label, the user's too.
      const bool data = c->kind() == ControlKind::TextBox || c->kind() == ControlKind::Table ||
                        c->kind() == ControlKind::DatePicker ||
                        c->kind() == ControlKind::FileList ||
                        c->kind() == ControlKind::FolderList ||
                        c->kind() == ControlKind::DriveList || c->spoken.from != nullptr;
      if (!data) check(where, c->text());
      check(where + " (tooltip)", c->tooltip());
      if (c->spoken.from == nullptr) check(where + " (spoken)", c->spoken.name);
    }
  }
  std::string list;
  for (const std::string& m : missing) list += "\n  " + m;
  EXPECT_TRUE(missing.empty()) << "Not in po/vantrel.pot (mark them, then make pot):" << list;
}

// LANGUAGE picks the language unless the messages locale is C; a text the catalog lacks
// reads in English.
TEST(TranslationTest, TheDesktopChoosesTheLanguage) {
  struct Case {
    const char *language, *all, *lang;
    Language expected;
  } cases[] = {{"fr:de", "de_DE.UTF-8", nullptr, Language::French},
               {"es:en", "de_DE.UTF-8", nullptr, Language::English},
               {nullptr, nullptr, "de_AT.UTF-8", Language::German},
               {"de", "C.UTF-8", nullptr, Language::English}};
  for (const Case& c : cases) {
    for (auto [name, value] : {std::pair{"LANGUAGE", c.language}, {"LC_ALL", c.all},
                               {"LC_MESSAGES", static_cast<const char*>(nullptr)},
                               {"LANG", c.lang}}) {
      value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    resetTranslations();
    EXPECT_EQ(programLanguage(), c.expected) << c.language << " " << c.all << " " << c.lang;
  }
  EXPECT_EQ(trIn(Language::German, "Start Clock"), "Uhr starten");
  EXPECT_EQ(trIn(Language::French, "No such text in any catalog"), "No such text in any catalog");
  EXPECT_EQ(fill("%2 before %1, %3", {"a", "b"}), "b before a, %3");
  ::setenv("LC_ALL", "C.UTF-8", 1);
  resetTranslations();
}

}  // namespace
}  // namespace vantrel
