#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <fstream>
#include <iterator>

#include "CliRunner.h"

namespace {

const std::string kSample = std::string(QMVVLT_SOURCE_DATA_DIR) + "/samples/SampleProfile.xml";

QJsonObject ParseJson(const std::string& text) {
    return QJsonDocument::fromJson(QByteArray::fromStdString(text)).object();
}

}  // namespace

TEST(CliImage, PrintsTheWholeImageOfTheSampleProfile) {
    const CliResult r = RunCli({"image", kSample});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const QJsonObject image = ParseJson(r.out);
    const QJsonArray contacts = image["contacts"].toArray();
    ASSERT_EQ(contacts.size(), 150);
    EXPECT_EQ(contacts[149].toObject()["index"].toInt(), 149);
    EXPECT_EQ(contacts[149].toObject()["cntct_type"].toInt(), 255);
    EXPECT_EQ(image["texts"].toArray().size(), 25);
    const QJsonObject counters = image["counters"].toObject();
    EXPECT_EQ(counters["contacts"].toInt(), 9);
    EXPECT_EQ(counters["public_groups"].toInt(), 3);
    EXPECT_EQ(counters["private_groups"].toInt(), 2);
    EXPECT_EQ(counters["messages"].toInt(), 3);
    EXPECT_EQ(image["limits"].toObject()["model"].toString(), "Q410");
    EXPECT_EQ(image["version"].toObject()["firmware_phase"].toString(), "R");
}

TEST(CliImage, RadioPidSwitchesToThatRadiosPrivateScrollList) {
    const CliResult global = RunCli({"image", kSample});
    const CliResult personal = RunCli({"image", kSample, "--radio-pid", "10000005"});
    ASSERT_EQ(global.exitCode, 0);
    ASSERT_EQ(personal.exitCode, 0);
    auto scrollNames = [](const std::string& json) {
        std::vector<QString> names;
        for (const auto& c : ParseJson(json)["contacts"].toArray()) {
            if (c.toObject()["in_scroll_list"].toInt() == 1) {
                names.push_back(c.toObject()["name"].toString());
            }
        }
        return names;
    };
    EXPECT_EQ(scrollNames(global.out),
              (std::vector<QString>{"Dispatch", "Maintenance", "Ana Lima"}));
    EXPECT_EQ(scrollNames(personal.out), (std::vector<QString>{"Security", "Night Shift"}));
}

TEST(CliImage, FailuresGiveTheirExitStatusAndMessage) {
    struct Case {
        std::vector<std::string> args;
        int exitCode;
        const char* message;
    };
    const std::string broken = WriteTempFile("broken.xml", "<QMVProfile");
    const Case cases[] = {
        {{"image"}, 1, "missing argument"},
        {{"image", kSample, "--bogus"}, 1, "unknown option --bogus"},
        {{"frobnicate"}, 1, "unknown command"},
        {{"image", "/nonexistent/profile.xml"}, 2, "Invalid profile."},
        {{"image", broken}, 2, "Invalid profile."},
        {{"--verbose", "image", broken}, 2, "(CRadioDataModel::InitialOperaDoc:"},
    };
    for (const Case& c : cases) {
        const CliResult r = RunCli(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args[0];
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_TRUE(r.out.empty());
    }
}

TEST(CliImage, ReadsProfilesInEveryFormOnDisk) {
    const std::string config = WriteTempFile("image-config-marker", "") + ".d";
    const CliResult plain = RunCli({"--config", config, "image", kSample});
    ASSERT_EQ(plain.exitCode, 0) << plain.err;
    // The sample saved by the program: scrambled UTF-16.
    const std::string saved = WriteTempFile("saved.lam", "");
    ASSERT_EQ(RunCli({"--config", config, "import", kSample, "-o", saved}).exitCode, 0);
    const CliResult scrambled = RunCli({"--config", config, "image", saved});
    ASSERT_EQ(scrambled.exitCode, 0) << scrambled.err;
    EXPECT_EQ(ParseJson(scrambled.out), ParseJson(plain.out));
}

TEST(CliImage, OlderProfilesConvertAsAWriteConvertsThem) {
    const std::string config = WriteTempFile("image-older-config-marker", "") + ".d";
    const CliResult latest = RunCli({"--config", config, "image", kSample});
    ASSERT_EQ(latest.exitCode, 0) << latest.err;
    std::ifstream in(kSample, std::ios::binary);
    const std::string sample((std::istreambuf_iterator<char>(in)),
                             std::istreambuf_iterator<char>());
    // Firmware version 1 is group 1, 5 is group 2: import saves each in its group's form.
    for (const std::string version : {"1", "5"}) {
        std::string text = sample;
        const std::string from = "firmware_version=\"8\"";
        text.replace(text.find(from), from.size(), "firmware_version=\"" + version + "\"");
        const std::string xml = WriteTempFile("group-of-version-" + version + ".xml", text);
        const std::string saved = WriteTempFile("group-of-version-" + version + ".lam", "");
        ASSERT_EQ(RunCli({"--config", config, "import", xml, "-o", saved}).exitCode, 0);
        const CliResult r = RunCli({"--config", config, "image", saved});
        ASSERT_EQ(r.exitCode, 0) << version << r.err;
        EXPECT_EQ(ParseJson(r.out)["counters"], ParseJson(latest.out)["counters"]) << version;
    }
}
