#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "StringTable.h"

namespace {

// The shipped language files, by language key (English is compiled in).
const char* const kLanguageKeys[] = {"CaFrench",     "French",    "German",
                                     "LaPortuguese", "LaSpanish", "Spanish"};

// Texts shown together, whose keyboard mnemonics must differ: the menu bar, each menu, and the
// button rows of the dialogs.
const struct {
    const char* name;
    std::vector<int> ids;
} kMnemonicGroups[] = {
    {"menu bar", {225, 233, 247, 251, 255, 256, 259}},
    {"File", {226, 227, 228, 229, 230, 231, 232}},
    // Undo, Redo and Find (34500, 34501, 34504) join it where the table has them.
    {"Edit", {34500, 34501, 34504, 234, 235, 236, 237, 238, 239, 240, 241, 242, 219, 243}},
    {"View", {248, 249, 219}},
    {"Device", {252, 253, 254}},
    {"Window", {257, 258, 31000}},
    {"Help", {260, 261}},
    {"report window", {33100, 33101, 33102, 33103, 228}},
    {"write dialog", {33200, 168, 169}},
    {"new profile dialog", {32001, 168, 169}},
};

std::map<int, std::string> EnglishTexts() {
    std::map<int, std::string> texts;
    for (std::size_t i = 0; i < kEnglishStringCount; ++i) {
        texts.emplace(kEnglishStrings[i].id, kEnglishStrings[i].text);
    }
    return texts;
}

// The mnemonic letters of a menu text ("&&" is a literal ampersand), lower case.
std::string Mnemonics(const std::string& text) {
    std::string letters;
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&') {
            continue;
        }
        if (text[i + 1] != '&') {
            letters += static_cast<char>(std::tolower(static_cast<unsigned char>(text[i + 1])));
        }
        ++i;
    }
    return letters;
}

// What follows the tab of a menu text: the shortcut.
std::string Shortcut(const std::string& text) {
    const auto tab = text.find('\t');
    return tab == std::string::npos ? std::string() : text.substr(tab + 1);
}

// The blanks and line breaks a text starts and ends with: other texts are glued to it.
std::pair<std::string, std::string> EdgeBlanks(const std::string& text) {
    const auto first = text.find_first_not_of(" \n");
    if (first == std::string::npos) {
        return {text, ""};
    }
    return {text.substr(0, first), text.substr(text.find_last_not_of(" \n") + 1)};
}

std::string Join(const std::vector<int>& ids) {
    std::ostringstream out;
    for (int id : ids) {
        out << ' ' << id;
    }
    return out.str();
}

// Every problem of one translation against the English table, one line each; empty when sound.
std::string Problems(const std::map<int, std::string>& english,
                     const std::map<int, std::string>& texts) {
    std::vector<int> missing, extra, placeholders, shortcuts, edges;
    for (const auto& [id, text] : english) {
        const auto it = texts.find(id);
        if (it == texts.end()) {
            missing.push_back(id);
            continue;
        }
        if (PlaceholdersOf(it->second) != PlaceholdersOf(text)) {
            placeholders.push_back(id);
        }
        if (Shortcut(it->second) != Shortcut(text)) {
            shortcuts.push_back(id);
        }
        if (EdgeBlanks(it->second) != EdgeBlanks(text)) {
            edges.push_back(id);
        }
    }
    for (const auto& [id, text] : texts) {
        if (!english.count(id)) {
            extra.push_back(id);
        }
    }
    std::ostringstream out;
    if (!missing.empty()) {
        out << "missing ids:" << Join(missing) << '\n';
    }
    if (!extra.empty()) {
        out << "ids not in the English table:" << Join(extra) << '\n';
    }
    if (!placeholders.empty()) {
        out << "placeholders differ from English:" << Join(placeholders) << '\n';
    }
    if (!shortcuts.empty()) {
        out << "shortcuts differ from English:" << Join(shortcuts) << '\n';
    }
    if (!edges.empty()) {
        out << "leading or trailing blanks differ from English:" << Join(edges) << '\n';
    }
    for (const auto& group : kMnemonicGroups) {
        std::map<char, std::vector<int>> users;
        for (int id : group.ids) {
            const auto it = texts.find(id);
            const std::string letters = it == texts.end() ? std::string() : Mnemonics(it->second);
            if (letters.size() > 1) {
                out << "more than one mnemonic in " << id << '\n';
            }
            for (char letter : letters) {
                users[letter].push_back(id);
            }
        }
        for (const auto& [letter, ids] : users) {
            if (ids.size() > 1) {
                out << group.name << ": mnemonic '" << letter << "' used by" << Join(ids) << '\n';
            }
        }
    }
    return out.str();
}

TEST(LanguageFiles, EnglishMenusHaveDistinctMnemonics) {
    const auto english = EnglishTexts();
    EXPECT_EQ(Problems(english, english), "");
}

TEST(LanguageFiles, EachFileTranslatesEveryEntryFaithfully) {
    const auto english = EnglishTexts();
    for (const char* key : kLanguageKeys) {
        const auto file =
            std::filesystem::path(QMVVLT_SOURCE_DATA_DIR) / "lang" / (key + std::string(".txt"));
        const auto texts = ReadLanguageFile(file);
        ASSERT_TRUE(texts) << file << " is missing, malformed or not UTF-8";
        EXPECT_EQ(Problems(english, *texts), "") << file;
    }
}

// The ids the help map jumps to and the links of one help page, in order.
std::vector<std::string> HelpTargets(const std::filesystem::path& page) {
    std::ifstream in(page, std::ios::binary);
    const std::string html((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    static const std::regex target(R"re((id|href)="[^"]*")re");
    std::vector<std::string> found;
    for (auto it = std::sregex_iterator(html.begin(), html.end(), target);
         it != std::sregex_iterator(); ++it) {
        found.push_back(it->str());
    }
    return found;
}

// A translated help page keeps every anchor and link of the English one, so the help pane lands
// where the English page would; a page not translated yet is shown in English instead.
TEST(LanguageFiles, TranslatedHelpPagesKeepTheEnglishAnchors) {
    const auto help = std::filesystem::path(QMVVLT_SOURCE_DATA_DIR) / "help";
    for (const char* key : kLanguageKeys) {
        int pages = 0;
        for (const auto& entry : std::filesystem::directory_iterator(help / "English")) {
            const auto translated = help / key / entry.path().filename();
            if (std::filesystem::exists(translated)) {
                EXPECT_EQ(HelpTargets(translated), HelpTargets(entry.path())) << translated;
                ++pages;
            }
        }
        EXPECT_GT(pages, 0) << key << " has no help pages";
    }
}

TEST(LanguageFiles, CheckerCatchesEachKindOfFault) {
    const std::map<int, std::string> english = {
        {116, "Channel %d"}, {226, "&New\tCtrl+N"}, {227, "&Open...\tCtrl+O"}, {30109, "%s: %s"}};
    const struct {
        const char* what;
        std::map<int, std::string> texts;
        const char* expected;
    } cases[] = {
        {"missing",
         {{226, "&Nouveau\tCtrl+N"}, {227, "&Ouvrir...\tCtrl+O"}, {30109, "%s : %s"}},
         "missing ids: 116"},
        {"extra",
         {{116, "Canal %d"},
          {226, "&Nouveau\tCtrl+N"},
          {227, "&Ouvrir...\tCtrl+O"},
          {30109, "%s : %s"},
          {999, "x"}},
         "not in the English table: 999"},
        {"placeholder",
         {{116, "Canal %s"},
          {226, "&Nouveau\tCtrl+N"},
          {227, "&Ouvrir...\tCtrl+O"},
          {30109, "%s : %s"}},
         "placeholders differ from English: 116"},
        {"shortcut",
         {{116, "Canal %d"},
          {226, "&Nouveau\tStrg+N"},
          {227, "&Ouvrir...\tCtrl+O"},
          {30109, "%s : %s"}},
         "shortcuts differ from English: 226"},
        {"blanks",
         {{116, "Canal %d "},
          {226, "&Nouveau\tCtrl+N"},
          {227, "&Ouvrir...\tCtrl+O"},
          {30109, "%s : %s"}},
         "blanks differ from English: 116"},
        {"mnemonic",
         {{116, "Canal %d"},
          {226, "&Nouveau\tCtrl+N"},
          {227, "&Nouvrir...\tCtrl+O"},
          {30109, "%s : %s"}},
         "File: mnemonic 'n' used by 226 227"},
    };
    for (const auto& c : cases) {
        EXPECT_NE(Problems(english, c.texts).find(c.expected), std::string::npos)
            << c.what << ":\n"
            << Problems(english, c.texts);
    }
}

}  // namespace
