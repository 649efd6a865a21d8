#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "CliProfileFiles.h"

namespace fs = std::filesystem;
using namespace cli_test;

TEST(CliContacts, ExportImportAndDiff) {
    const std::string csv = Out("contacts.csv");
    const CliResult exported = Cli({"contacts", "export", kSample, "-o", csv});
    ASSERT_EQ(exported.exitCode, 0) << exported.err;
    // Spreadsheet programs take the file for UTF-8 by its byte-order mark.
    EXPECT_EQ(ReadBytes(csv).substr(0, 18), "\xEF\xBB\xBFtype,name,id,ch");

    // One more contact and one refused row, imported into a copy of the sample.
    std::ofstream(csv, std::ios::app) << "private,New Hire,10000400,2,,,,,,,,,,,,,\r\n"
                                      << "private,Too Far,99999999999,1,,,,,,,,,,,,,\r\n";
    const std::string lam = Out("imported.lam");
    const CliResult imported = Cli({"contacts", "import", kSample, csv, "-o", lam});
    ASSERT_EQ(imported.exitCode, 0) << imported.err;
    EXPECT_NE(imported.err.find("Line 12: The PID is outside"), std::string::npos) << imported.err;
    EXPECT_NE(imported.out.find("added: 1, updated: 9, rows refused: 1"), std::string::npos)
        << imported.out;

    const CliResult same = Cli({"diff", kSample, kSample});
    EXPECT_EQ(same.exitCode, 0) << same.err;
    const CliResult differ = Cli({"diff", kSample, lam});
    EXPECT_EQ(differ.exitCode, 1) << differ.err;
    EXPECT_EQ(differ.out, "[Contacts]\n  added: Private \"New Hire\"\n");
}

TEST(CliContacts, NotCsvWritesNothing) {
    const std::string notCsv =
        WriteTempFile("picture.csv", std::string("\x89PNG\r\n\x1a\n\0\0", 10));
    const std::string lam = Out("never.lam");
    const CliResult result = Cli({"contacts", "import", kSample, notCsv, "-o", lam});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.err.find("not a contacts CSV file"), std::string::npos) << result.err;
    EXPECT_FALSE(fs::exists(lam));

    EXPECT_EQ(Cli({"contacts", "import", kSample, notCsv}).exitCode, 1);  // no -o
    EXPECT_EQ(Cli({"diff", kSample, Out("missing.lam")}).exitCode, 2);
}
