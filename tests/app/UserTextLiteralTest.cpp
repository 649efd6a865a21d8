#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <sstream>
#include <string>

// Every text the desktop program shows comes from the string table, so that a language file can
// replace it. This scans its sources for string literals that look like words meant for a person.

namespace {

namespace fs = std::filesystem;

// Literals with words that are not for the user: names of things, not texts to translate.
const std::set<std::string> kAllowed = {
    "Varentis Solutions",  // organisation name for QSettings
    "Software\\\\Varentis Solutions\\\\QMV410 VLT\\\\Recent File List",  // configuration key
    "Exception Catched",                                                 // trace text of exceptions
    "background-color: #C0C0FF; color: white; padding: 2px 6px;",        // style sheet
};

// Source text without comments; string literals are kept.
std::string WithoutComments(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '"' || text[i] == '\'') {
            const char quote = text[i];
            out += text[i];
            for (++i; i < text.size() && text[i] != quote; ++i) {
                if (text[i] == '\\' && i + 1 < text.size()) {
                    out += text[i++];
                }
                out += text[i];
            }
            if (i < text.size()) {
                out += text[i];
            }
        } else if (text.compare(i, 2, "//") == 0) {
            i = text.find('\n', i);
            if (i == std::string::npos) {
                break;
            }
            out += '\n';
        } else if (text.compare(i, 2, "/*") == 0) {
            i = text.find("*/", i + 2);
            if (i == std::string::npos) {
                break;
            }
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

// The command line's usage texts stay English, as its --help does.
const std::set<std::string> kCliUsage = {
    "usage: qmvvlt-cli [--install DIR] [--config DIR] [--register URL] [-v|--verbose] ",
    "       qmvvlt-cli -h|--help | --version\\n",
    "commands:\\n",
    "qmvvlt-cli: unknown or incomplete option ",  // before the configuration names a language
    "qmvvlt-cli: unknown command ",
    "\\nusage: qmvvlt-cli ",
    "qmvvlt-cli ",          // the program's name
    "trace:",               // diagnostics of --verbose
    " [y/N] y (--yes)\\n",  // the answer and the option that gave it
};
// Files that hold nothing but usage text.
const std::set<std::string> kCliUsageFiles = {"CommandTable.cpp"};

// The literals of one source file that a user would read: an argument of a call that puts text
// on the screen, or prose (two words with a space between them). With streams, a literal written
// to an output stream counts as shown too.
std::vector<std::string> UserTextLiterals(const std::string& source, bool streams = false) {
    static const std::regex literal(R"re("((?:[^"\\\n]|\\.)*)")re");
    static const std::regex shownBy(
        R"re((\btr|setText|setWindowTitle|setToolTip|setStatusTip|setWhatsThis|setAccessibleName|setAccessibleDescription|setPlaceholderText|setTitle|setLabelText|setIconText|addAction|addMenu|addButton|addTab|setHorizontalHeaderLabels|setHeaderLabels?|information|warning|critical|question|QLabel|QPushButton|QCheckBox|QRadioButton|QGroupBox|QAction|QMenu)\s*\(\s*(QStringLiteral\s*\(|QLatin1String\s*\(|QString::fromUtf8\s*\(|QString::fromLatin1\s*\()?\s*$)re");
    static const std::regex streamed(R"re((<<|\?|:)\s*$)re");
    // Usage errors stay English; exception details are the trace of --verbose, not messages.
    static const std::regex notMessage(R"re(CliUsageError|ThrowQMVVLT\s*\(|\bkContext\s*=)re");
    static const std::regex prose(R"re([A-Za-z]{2,}[.,:!?]? +[A-Za-z]{2,})re");
    static const std::regex word(R"re([A-Za-z]{2,})re");
    std::vector<std::string> found;
    const std::string code = WithoutComments(source);
    for (auto it = std::sregex_iterator(code.begin(), code.end(), literal);
         it != std::sregex_iterator(); ++it) {
        const std::string text = (*it)[1];
        const std::size_t lineStart = code.rfind('\n', it->position()) + 1;
        const std::string before = code.substr(lineStart, it->position() - lineStart);
        if (before.find("#include") != std::string::npos || kAllowed.count(text) != 0) {
            continue;
        }
        // The statement the literal is part of.
        const std::size_t stmtStart = code.find_last_of(";}", it->position()) + 1;
        const std::string statement = code.substr(stmtStart, it->position() - stmtStart);
        if (streams && (kCliUsage.count(text) != 0 || std::regex_search(statement, notMessage))) {
            continue;
        }
        const bool streamedOut = streams && statement.find("<<") != std::string::npos &&
                                 std::regex_search(before, streamed);
        const bool shown =
            (std::regex_search(before, shownBy) || streamedOut) && std::regex_search(text, word);
        if (shown || std::regex_search(text, prose)) {
            found.push_back(text);
        }
    }
    return found;
}

// The user texts of the sources under src/<folder>, one "path: "text"" line each.
std::string UserTextsIn(std::initializer_list<const char*> folders, bool streams) {
    std::ostringstream report;
    for (const char* folder : folders) {
        for (const auto& entry :
             fs::recursive_directory_iterator(fs::path(QMVVLT_SOURCE_DIR) / "src" / folder)) {
            const auto ext = entry.path().extension();
            if ((ext != ".cpp" && ext != ".h") ||
                (streams && kCliUsageFiles.count(entry.path().filename().string()) != 0)) {
                continue;
            }
            std::ifstream in(entry.path(), std::ios::binary);
            const std::string source((std::istreambuf_iterator<char>(in)),
                                     std::istreambuf_iterator<char>());
            for (const std::string& text : UserTextLiterals(source, streams)) {
                report << entry.path().lexically_relative(QMVVLT_SOURCE_DIR).string() << ": \""
                       << text << "\"\n";
            }
        }
    }
    return report.str();
}

TEST(UserTextLiterals, DesktopSourcesTakeTheirTextsFromTheStringTable) {
    EXPECT_EQ(UserTextsIn({"app", "views"}, false), "") << "give these texts string-table numbers";
}

TEST(UserTextLiterals, CommandLineOutputTakesItsTextsFromTheStringTable) {
    EXPECT_EQ(UserTextsIn({"cli"}, true), "") << "give these texts string-table numbers";
}

TEST(UserTextLiterals, ScannerTellsUserTextsFromNames) {
    const struct {
        const char* source;
        std::vector<std::string> expected;
    } cases[] = {
        {R"x(label->setText(QStringLiteral("Port"));)x", {"Port"}},
        {R"x(setWindowTitle(tr("Write Next Radio"));)x", {"Write Next Radio"}},
        {R"x(auto* b = new QPushButton("OK", this);)x", {"OK"}},
        {R"x(const char* k = "Please try again later";)x", {"Please try again later"}},
        {R"x(w->setProperty("ctrlId", 1); setObjectName(QStringLiteral("MainToolBar"));)x", {}},
        {R"x(QIcon::fromTheme(QStringLiteral("document-new")); setText(QStringLiteral("%1 (%2)"));)x",
         {}},
        {"// setText(\"A comment is not code\")\n/* \"nor is this one\" */ int x;", {}},
        {R"x(#include "CMainFrame.h")x", {}},
        {R"x(label->setText(Text(MessageId::kReady));)x", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UserTextLiterals(c.source), c.expected) << c.source;
    }
}

TEST(UserTextLiterals, ScannerFindsTextsWrittenToStreams) {
    const struct {
        const char* source;
        std::vector<std::string> expected;
    } cases[] = {
        {R"x(std::cout << "Privates:\n";)x", {"Privates:\\n"}},
        {R"x(out << (cable ? "\t(programming cable)" : "") << "\n";)x", {"\\t(programming cable)"}},
        {R"x(std::cerr << path << ": " << LoadString(MessageId::kNone) << "\n";)x", {}},
        {R"x(throw CliUsageError{"--kind must be radio or overview"};)x", {}},
        {"ThrowQMVVLT(MessageId::kNotContactsCsv, kContext,\n    \"File cannot be read\");", {}},
        {R"x(const std::string stem = empty ? "radio" : name;)x", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UserTextLiterals(c.source, true), c.expected) << c.source;
    }
}

}  // namespace
