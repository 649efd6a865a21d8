#include <gtest/gtest.h>

#include "PublicGroupIdBank.h"

namespace {

PublicGroupIdBanks Banks(const std::string& start0, const std::string& size0,
                         const std::string& start1 = "0", const std::string& size1 = "0") {
    const std::string xml = "<limit public_grp_info_start_pid0=\"" + start0 +
                            "\" public_grp_info_lst_size0=\"" + size0 +
                            "\" public_grp_info_start_pid1=\"" + start1 +
                            "\" public_grp_info_lst_size1=\"" + size1 +
                            "\" public_grp_info_start_pid2=\"0\" public_grp_info_lst_size2=\"0\""
                            " public_grp_info_start_pid3=\"0\" public_grp_info_lst_size3=\"0\"/>";
    XmlDocPtr doc = ParseXmlSafely(xml);
    return LoadPublicGroupRanges(xmlDocGetRootElement(doc.get()));
}

}  // namespace

TEST(PublicGroupIdBank, NumbersFollowTheBasePid) {
    struct Case {
        const char* base;
        const char* count;
        int first, last;
    };
    const Case cases[] = {
        {"0", "5", 2, 6},
        {"10000001", "5", 1298, 1302},
        {"20000000", "5", 0, -1},        // in the private range: unset
        {"17179869183", "100", 1, 100},  // top of the range counts from 1
        {"17179869182", "10", 2, 11},
        {"17179867887", "10", 1297, 1306},  // c = 2^34 - 1 - s = 1296
        {"17179867884", "10", 0, -1},       // c = 1299: too far from the top
        {"17179869183", "0", 0, -1},        // no identifiers
        {"17179869184", "5", 0, -1},        // past 2^34 - 1
        {"-1", "5", 0, -1},
        {"abc", "5", 0, -1},
        {"9998000", "3", 3299, 3301},  // far below: (10000001 - s) + 1298
        // the image holds a size in 8 bits: larger sizes are clamped, never wrapped
        {"17179869183", "300", 1, 255},
        {"17179869183", "2147483648", 1, 255},
        {"17179869183", "4294967301", 1, 255},
    };
    for (const Case& c : cases) {
        const PublicGroupIdBank bank = Banks(c.base, c.count)[0];
        EXPECT_EQ(bank.firstNumber, c.first) << c.base;
        EXPECT_EQ(bank.lastNumber, c.last) << c.base;
        EXPECT_EQ(bank.basePid, c.base);
    }
}

TEST(PublicGroupIdBank, NumberAndPidConvertBothWaysWithinTheBanks) {
    const PublicGroupIdBanks banks = Banks("17179869183", "100", "17179868000", "50");
    // bank 1: c = 2^34 - 1 - 17179868000 = 1183 -> numbers 1184..1233
    struct Case {
        std::int64_t number;
        const char* pid;
    };
    const Case cases[] = {
        {1, "17179869183"},
        {100, "17179869084"},
        {1184, "17179868000"},
        {1233, "17179867951"},
        {0, ""},
        {101, ""},
        {1234, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PublicGroupNumberToPid(banks, c.number), c.pid) << c.number;
        if (*c.pid) {
            EXPECT_EQ(PidToPublicGroupNumber(banks, c.pid), c.number) << c.pid;
        }
    }
    // PIDs outside every bank (including unused ones with base "0") have no number.
    for (const char* pid : {"17179869083", "10000005", "1", "", "12x"}) {
        EXPECT_EQ(PidToPublicGroupNumber(banks, pid), 0) << pid;
    }
}
