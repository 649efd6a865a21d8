#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "CliProfileFiles.h"
#include "DataFile.h"
#include "MessageId.h"
#include "StringTable.h"

namespace fs = std::filesystem;
using namespace cli_test;

TEST(CliProfiles, TemplatesNewAndValidate) {
    const CliResult list = Cli({"templates"});
    ASSERT_EQ(list.exitCode, 0) << list.err;
    EXPECT_NE(list.out.find("QMV410\t"), std::string::npos);
    EXPECT_NE(list.out.find("QMV410 M\t"), std::string::npos);

    for (const char* name : {"QMV410", "QMV410 M"}) {
        const std::string file = Out(std::string(name) + ".lam");
        const CliResult made = Cli({"new", name, "-o", file});
        ASSERT_EQ(made.exitCode, 0) << made.err;
        EXPECT_NE(ReadBytes(file).substr(0, 5), "<?xml");  // scrambled on disk
        const CliResult valid = Cli({"validate", file});
        EXPECT_EQ(valid.exitCode, 0) << valid.err;
        EXPECT_NE(valid.out.find("model group G3"), std::string::npos);
    }
    const CliResult missing = Cli({"new", "QMV999", "-o", Out("x.lam")});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_FALSE(fs::exists(Out("x.lam")));
}

TEST(CliProfiles, ImportShowAndExportRoundTrip) {
    const std::string file = Out("sample.lam");
    const CliResult imported = Cli({"import", kSample, "-o", file});
    ASSERT_EQ(imported.exitCode, 0) << imported.err;
    EXPECT_EQ(ReadBytes(file).substr(0, 2), "\xFF\xFE");  // a group-3 profile is UTF-16
    const CliResult shown = Cli({"show", file});
    ASSERT_EQ(shown.exitCode, 0) << shown.err;
    for (const char* expected :
         {"Unit Private ID: 10000005 (Duty Manager)", "Model: QMV410 (Q410)",
          "Firmware Version: R5E.08.00", "Dispatch  PID 17179869183 (number 1)  channel 1  scan",
          "Night Shift  PID 10001001  channel 4  members: Carla Dias, Duty Manager",
          "Private Scroll List of Duty Manager (used): Security, Night Shift", "3. On my way"}) {
        EXPECT_NE(shown.out.find(expected), std::string::npos) << expected << "\n" << shown.out;
    }
    const CliResult exported = Cli({"export", file});
    ASSERT_EQ(exported.exitCode, 0) << exported.err;
    EXPECT_NE(exported.out.find("name=\"Duty Manager\""), std::string::npos);
}

TEST(CliProfiles, UpgradeTurnsAnOlderProfileIntoTheLatestFormat) {
    std::string text = ReadBytes(kSample);
    text.replace(text.find("firmware_version=\"8\""), 20, "firmware_version=\"1\"");
    const auto start = text.find("<scrolllist>");
    text.erase(start, text.find("</scrolllist>") + 13 - start);
    for (auto pos = text.find("<scrolllist/>"); pos != std::string::npos;
         pos = text.find("<scrolllist/>")) {
        text.erase(pos, 13);
    }
    const std::string xml = WriteTempFile("group1.xml", text);
    const std::string old = Out("group1.lam");
    ASSERT_EQ(Cli({"import", xml, "-o", old}).exitCode, 0);
    EXPECT_NE(ReadBytes(old).substr(0, 2), "\xFF\xFE");  // group 1: single-byte text
    const CliResult upgraded = Cli({"upgrade", old, "-o", Out("upgraded.lam")});
    ASSERT_EQ(upgraded.exitCode, 0) << upgraded.err;
    EXPECT_NE(upgraded.out.find("G1 -> G3"), std::string::npos);
    const CliResult valid = Cli({"validate", Out("upgraded.lam")});
    EXPECT_NE(valid.out.find("model group G3"), std::string::npos) << valid.out << valid.err;
}

TEST(CliProfiles, ReportsAsHtmlAndPdf) {
    const std::string file = Out("report.lam");
    ASSERT_EQ(Cli({"import", kSample, "-o", file}).exitCode, 0);
    struct Case {
        const char* kind;
        const char* out;
        const char* lead;  // how the file begins
    };
    for (const Case c :
         {Case{"radio", "radio.html", "\xFF\xFE"}, Case{"overview", "overview.html", "\xFF\xFE"},
          Case{"radio", "radio.pdf", "%PDF"}, Case{"overview", "overview.pdf", "%PDF"}}) {
        // An earlier report the user made private is replaced whole and stays private.
        std::ofstream(Out(c.out)) << "old";
        fs::permissions(Out(c.out), fs::perms::owner_read | fs::perms::owner_write);
        const CliResult r = Cli({"report", file, "--kind", c.kind, "-o", Out(c.out)});
        ASSERT_EQ(r.exitCode, 0) << c.out << r.err;
        EXPECT_EQ(ReadBytes(Out(c.out)).substr(0, std::string(c.lead).size()), c.lead) << c.out;
        EXPECT_EQ(static_cast<int>(fs::status(Out(c.out)).permissions() & fs::perms::all), 0600)
            << c.out;
    }
    EXPECT_TRUE(fs::exists(Out("Q410.jpg")));  // the pictures lie beside the page

    // A profile whose own PID is none of its privates offers only the overview.
    std::string other = ReadBytes(kSample);
    other.replace(other.find("limit pid=\"10000005\""), 20, "limit pid=\"10000099\"");
    const std::string otherFile = Out("other.lam");
    ASSERT_EQ(Cli({"import", WriteTempFile("other.xml", other), "-o", otherFile}).exitCode, 0);
    EXPECT_EQ(Cli({"report", otherFile, "--kind", "radio", "-o", Out("no.html")}).exitCode, 2);
    EXPECT_FALSE(fs::exists(Out("no.html")));
    EXPECT_EQ(Cli({"report", otherFile, "--kind", "overview", "-o", Out("yes.html")}).exitCode, 0);
    EXPECT_EQ(Cli({"report", otherFile, "--kind", "summary", "-o", Out("x.html")}).exitCode, 1);
}

TEST(CliProfiles, BrokenProfilesExitWithTheirMessage) {
    const std::string broken = WriteTempFile("broken.lam", "<?xml version=\"1.0\"?><QMVProfile");
    const CliResult r = Cli({"validate", broken});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("Invalid profile."), std::string::npos) << r.err;
    const std::string unsupported = WriteTempFile("clone12.xml", [] {
        std::string t = ReadBytes(kSample);
        t.replace(t.find("clone_compatibility_version=\"10\""), 32,
                  "clone_compatibility_version=\"12\"");
        return t;
    }());
    const CliResult refused = Cli({"import", unsupported, "-o", Out("clone12.lam")});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_NE(refused.err.find("Error: Radio model is unsupported."), std::string::npos);
    EXPECT_FALSE(fs::exists(Out("clone12.lam")));
}

// Why a file is refused comes under the message without --verbose: the schema's or the parser's
// first complaint with its line, or why the file cannot be read.
TEST(CliProfiles, RefusedProfilesSayWhyUnderTheMessage) {
    const std::string sample = ReadBytes(kSample);
    std::string schema = sample;
    schema.replace(schema.find("tx_tot_en=\"1\""), 13, "tx_tot_en=\"2\"");
    const struct {
        const char* what;
        std::string file;
        std::string reason;
        std::string line;  // of the element, or where the parser stopped
    } files[] = {
        {"schema", WriteTempFile("schema.lam", schema),
         "limit', attribute 'tx_tot_en': '2' is not a valid value", "(line 20)"},
        {"parse", WriteTempFile("cut.lam", sample.substr(0, 300)),
         "Premature end of data in tag QMVProfile", "(line 5)"},
        {"empty", WriteTempFile("empty.lam", ""), "Document is empty", "(line 1)"},
        {"missing", Out("missing.lam"), "No such file or directory", ""},
    };
    for (const auto& f : files) {
        for (const std::vector<std::string>& args : {std::vector<std::string>{"validate", f.file},
                                                     {"import", f.file, "-o", Out("refused.lam")},
                                                     {"show", f.file},
                                                     {"image", f.file}}) {
            SCOPED_TRACE(std::string(f.what) + " " + args[0]);
            const CliResult r = Cli(args);
            EXPECT_EQ(r.exitCode, 2);
            const auto message = r.err.find("Invalid profile.\n");
            ASSERT_NE(message, std::string::npos) << r.err;
            const auto next = message + std::string_view("Invalid profile.\n").size();
            const std::string reason = r.err.substr(next, r.err.find('\n', next) - next);
            EXPECT_NE(reason.find(f.reason), std::string::npos) << r.err;
            EXPECT_TRUE(reason.ends_with(f.line)) << r.err;
            EXPECT_EQ(r.err.find("trace:"), std::string::npos) << r.err;
        }
    }
    EXPECT_FALSE(fs::exists(Out("refused.lam")));
}

// What the conversion needs is required at load; the rules every edit keeps are checked over the
// whole profile, each broken rule reported with its message.
TEST(CliProfiles, ValidateRefusesProfilesThatCannotBeWritten) {
    struct Case {
        const char* what;
        std::string from;
        std::string to;
        std::string message;
        int exitCode = 2;
    };
    const Case cases[] = {
        {"missing contrast", "contrast=\"", "xcontrast=\"", "Invalid profile."},
        {"missing channel", "name=\"Dispatch\" pid=\"17179869183\" channel=\"1\"",
         "name=\"Dispatch\" pid=\"17179869183\"", "Invalid profile."},
        {"long name", "name=\"Dispatch\"", "name=\"Dispatch of the northern yard\"",
         "Contact \"Dispatch of the northern yard\": The length of contact name can not exceed "
         "20."},
        {"PID out of range", "pid=\"10000003\"", "pid=\"99999999999\"",
         "Contact \"Bruno Costa\": The PID is outside the valid PID range of this radio."},
        {"too many contacts", "max_num_of_contacts=\"150\"", "max_num_of_contacts=\"4\"",
         "Contacts: The list holds more entries than this radio can take."},
        // A warning only: the write sends the texts and warns before it does.
        {"texts for a radio without texts", "max_num_of_predefined_msgs=\"25\"",
         "max_num_of_predefined_msgs=\"0\"",
         "Warning: Text Messages: This radio does not support this list", 0},
    };
    const std::string sample = ReadBytes(kSample);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string text = sample;
        const auto at = text.find(c.from);
        ASSERT_NE(at, std::string::npos);
        text.replace(at, c.from.size(), c.to);
        const CliResult r = Cli({"validate", WriteTempFile("rules.xml", text)});
        EXPECT_EQ(r.exitCode, c.exitCode);
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_EQ(r.out.empty(), c.exitCode != 0);
    }
}

// The labels of show, validate and ports are the German file's texts when the configuration says
// German, and no English label is left.
TEST(CliProfiles, ShowValidateAndPortsSpeakTheConfiguredLanguage) {
    const std::string config = Out("config-de");
    fs::create_directories(config);
    auto cli = [&](std::vector<std::string> args) {
        args.insert(args.begin(), {"--config", config});
        return RunCli(args);
    };
    ASSERT_EQ(cli({"config", "CurrentLanguage", "German"}).exitCode, 0);
    const auto german = ReadLanguageFile(fs::path(QMVVLT_SOURCE_DATA_DIR) / "lang/German.txt");
    ASSERT_TRUE(german);
    auto de = [&](int id, std::initializer_list<std::string_view> args) {
        return FormatPlaceholders(german->at(id), args);
    };
    const std::string file = Out("sample-de.lam");
    ASSERT_EQ(Cli({"import", kSample, "-o", file}).exitCode, 0);

    // The number of added fields is the model's business; the text around it is checked.
    const std::string valid = de(MessageId::kCliValidUtf16, {file, "3", "\x01"});
    const std::string validPrefix = valid.substr(0, valid.find('\x01'));
    const std::string validSuffix = valid.substr(valid.find('\x01') + 1) + "\n";
    const struct {
        std::vector<std::string> args;
        std::vector<std::string> german;
        std::vector<std::string> english;
    } cases[] = {
        {{"show", file},
         {de(MessageId::kCliModelGroup, {"3"}) + "\n",
          "\n" + de(MessageId::kCliScanLists, {}) + ":\n", de(MessageId::kPrivatesNode, {}) + ":\n",
          de(MessageId::kCliMembers, {"Carla Dias, Duty Manager"}),
          de(MessageId::kCliPidNumber, {"17179869183", "1"})},
         {"Model group", "Scan lists", "Privates:", "members:", "(number", "channel "}},
        {{"validate", file}, {validPrefix, validSuffix}, {"valid, model group", "fields added"}},
        {{"ports"}, {de(MessageId::kCliCurrentPort, {""})}, {"current port"}},
    };
    for (const auto& c : cases) {
        const CliResult r = cli(c.args);
        ASSERT_EQ(r.exitCode, 0) << c.args[0] << r.err;
        for (const std::string& text : c.german) {
            EXPECT_NE(r.out.find(text), std::string::npos) << text << "\n" << r.out;
        }
        for (const std::string& text : c.english) {
            EXPECT_EQ(r.out.find(text), std::string::npos) << text << "\n" << r.out;
        }
    }
}
