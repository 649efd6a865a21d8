#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "CliRunner.h"
#include "DataFile.h"

namespace {

const std::string kProfile =
    "<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n"
    "<QMVProfile xmlns=\"urn:varentis:qmv-vlt:profile\"><TextMessages>"
    "<TextMessage txt=\"Caf\xC3\xA9 &amp; \xE2\x82\xAC Z\"/></TextMessages></QMVProfile>";
const std::string kExported =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
    "<QMVProfile xmlns=\"urn:varentis:qmv-vlt:profile\"><TextMessages>"
    "<TextMessage txt=\"Caf\xC3\xA9 &amp; \xE2\x82\xAC Z\"/></TextMessages></QMVProfile>";

TEST(ExportCommand, EveryOnDiskFormGivesThePlainText) {
    const struct {
        const char* name;
        bool narrow;
        bool scramble;
    } cases[] = {{"wide-scrambled.lam", false, true},
                 {"narrow-scrambled.lam", true, true},
                 {"wide-plain.lam", false, false},
                 {"narrow-plain.lam", true, false}};
    for (const auto& c : cases) {
        const std::string file =
            WriteTempFile(c.name, EncodeDataFile(kProfile, c.narrow, c.scramble));
        const CliResult result = RunCli({"export", file});
        EXPECT_EQ(result.exitCode, 0) << c.name << result.err;
        EXPECT_EQ(result.out, kExported) << c.name;
    }
}

TEST(ExportCommand, WritesTheOutputFileOnlyOnSuccess) {
    const std::string in = WriteTempFile("in.lam", EncodeDataFile(kProfile, false, true));
    const std::string out = WriteTempFile("out.xml", "old");
    ASSERT_EQ(RunCli({"export", in, "-o", out}).exitCode, 0);
    std::ifstream file(out, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), kExported);

    const std::string bad = WriteTempFile("bad.lam", "<QMVProfile/>");  // no declaration: scrambled
    const std::string kept = WriteTempFile("kept.xml", "old");
    const CliResult result = RunCli({"export", bad, "-o", kept});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.err.find("Invalid profile."), std::string::npos) << result.err;
    std::ifstream keptFile(kept, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(keptFile), {}), "old");
}

TEST(ExportCommand, MissingOrEmptyProfilesAreErrors) {
    for (const std::string& file :
         {WriteTempFile("empty.lam", ""), std::string("/nonexistent/profile.lam")}) {
        const CliResult result = RunCli({"export", file});
        EXPECT_EQ(result.exitCode, 2) << file;
        EXPECT_TRUE(result.out.empty());
    }
    EXPECT_EQ(RunCli({"export"}).exitCode, 1);
}

}  // namespace
