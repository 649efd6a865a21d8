#include <gtest/gtest.h>

#include "CQMVVLTException.h"
#include "CsvText.h"
#include "MessageId.h"

namespace {

struct ReadCase {
    std::string text;
    char delimiter;
    std::vector<CsvRecord> records;
};

}  // namespace

void PrintTo(const CsvRecord& r, std::ostream* os) {
    *os << "line " << r.line << ":";
    for (const auto& f : r.fields) {
        *os << " [" << f << "]";
    }
}

TEST(CsvText, ReadsRecordsWithTheLineTheyStartOn) {
    const std::vector<ReadCase> cases = {
        {"a,b\r\nc,d\r\n", ',', {{1, {"a", "b"}}, {2, {"c", "d"}}}},
        {"a,b\nc,d", ',', {{1, {"a", "b"}}, {2, {"c", "d"}}}},
        {"\"x,y\",\"he said \"\"hi\"\"\"\n", ',', {{1, {"x,y", "he said \"hi\""}}}},
        {"\"two\r\nlines\",z\r\nnext\r\n", ',', {{1, {"two\r\nlines", "z"}}, {3, {"next"}}}},
        {"\n\r\n   \n a , b \n", ',', {{4, {"a", "b"}}}},
        {"a;\"b;c\"\n", ';', {{1, {"a", "b;c"}}}},
        {"\xC3\xA9,\"\",\n", ',', {{1, {"\xC3\xA9", "", ""}}}},
    };
    for (const ReadCase& c : cases) {
        EXPECT_EQ(ReadCsvRecords(c.text, c.delimiter, "test", MessageId::kNotContactsCsv),
                  c.records)
            << c.text;
    }
}

TEST(CsvText, MalformedTextIsRefused) {
    for (const std::string& text : {std::string("\"open\nfield"), std::string("a\"b,c\n"),
                                    std::string("\"a\"x,b\n"), std::string("a,b\0c\n", 6)}) {
        try {
            ReadCsvRecords(text, ',', "test", MessageId::kNotContactsCsv);
            ADD_FAILURE() << "accepted: " << text;
        } catch (const CQMVVLTException& e) {
            EXPECT_EQ(e.Code(), MessageId::kNotContactsCsv) << text;
        }
    }
}

TEST(CsvText, QuotedFieldsReadBackUnchanged) {
    const std::vector<std::string> fields = {"plain",   "a,b",           "say \"x\"", " lead",
                                             "trail\t", "multi\r\nline", "",          "semi;colon"};
    for (const char delimiter : {',', ';'}) {
        std::string row;
        for (std::size_t i = 0; i < fields.size(); ++i) {
            row += (i ? std::string(1, delimiter) : "") + QuoteCsvField(fields[i], delimiter);
        }
        const auto records =
            ReadCsvRecords(row + "\r\n", delimiter, "test", MessageId::kNotContactsCsv);
        ASSERT_EQ(records.size(), 1u) << row;
        EXPECT_EQ(records[0].fields, fields) << row;
    }
}

TEST(CsvText, BytesBecomeUtf8) {
    EXPECT_EQ(CsvBytesToUtf8("\xEF\xBB\xBFname"), "name");
    EXPECT_EQ(CsvBytesToUtf8("J\xC3\xBCrgen"), "J\xC3\xBCrgen");
    EXPECT_EQ(CsvBytesToUtf8("J\xFCrgen \x80"), "J\xC3\xBCrgen \xE2\x82\xAC");  // code page 1252
}
