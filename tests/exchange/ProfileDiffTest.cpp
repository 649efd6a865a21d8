#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "MessageId.h"
#include "ProfileDiff.h"
#include "StringTable.h"
#include "TestInstall.h"

namespace {

using Kind = ProfileDifference::Kind;
using Entry = std::tuple<std::string, Kind, std::string, std::string, std::string, std::string>;

std::string Sample() {
    return ReadFileBytes(std::filesystem::path(QMVVLT_SOURCE_DATA_DIR) /
                         "samples/SampleProfile.xml");
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    const auto pos = text.find(from);
    EXPECT_NE(pos, std::string::npos) << from;
    return pos == std::string::npos ? text : text.replace(pos, from.size(), to);
}

std::vector<Entry> Diff(const std::string& a, const std::string& b) {
    const XmlDocPtr da = ParseXmlSafely(a);
    const XmlDocPtr db = ParseXmlSafely(b);
    std::vector<Entry> out;
    for (const auto& d : DiffProfiles(da.get(), db.get())) {
        out.emplace_back(d.section, d.kind, d.subject, d.field, d.before, d.after);
    }
    return out;
}

}  // namespace

TEST(ProfileDiff, AProfileEqualsItself) {
    EXPECT_THAT(Diff(Sample(), Sample()), testing::IsEmpty());
}

TEST(ProfileDiff, ListsOneChangeOfEachKind) {
    std::string b = Sample();
    b = Replace(b, "backlight=\"10000\"", "backlight=\"30000\"");
    b = Replace(b, "<language language_id=\"5\"/>", "");
    b = Replace(b,
                "<PublicGroup cntct_type=\"2\" name=\"Maintenance\" pid=\"17179869182\" "
                "channel=\"2\" in_scan_list=\"0\" in_scroll_list=\"1\"/>",
                "<PublicGroup cntct_type=\"2\" name=\"Harbour\" pid=\"17179869180\" channel=\"5\" "
                "in_scan_list=\"0\" in_scroll_list=\"0\"/>");
    b = Replace(b, "name=\"Security\" pid=\"17179869181\" channel=\"3\"",
                "name=\"Security\" pid=\"17179869181\" channel=\"4\"");
    b = Replace(b, "name=\"Bruno Costa\"", "name=\"Bruno C.\"");  // found again by its PID
    b = Replace(b, "<ParentPrivateGroup pid=\"10001000\"/>\n        </ParentPrivateGroups>",
                "<ParentPrivateGroup pid=\"10001000\"/><ParentPrivateGroup pid=\"10001001\"/>"
                "</ParentPrivateGroups>");
    b = Replace(b, "home_grp=\"10001001\" show_grp_only=\"1\"",
                "home_grp=\"10001000\" "
                "show_grp_only=\"1\"");
    b = Replace(b, "<list name=\"Night Shift\"/>", "");
    b = Replace(b, "txt=\"On my way\"", "txt=\"On my way now\"");

    const std::string groups = LoadString(MessageId::kDiffGroups);
    const std::string scroll = LoadString(MessageId::kDiffScrollList);
    const std::vector<Entry> expected = {
        {"limit", Kind::Changed, "languages", "", "0, 4, 5", "0, 4"},
        {"setting", Kind::Changed, "backlight", "", "10000", "30000"},
        {"Contacts", Kind::Removed, "PublicGroup \"Maintenance\"", "", "", ""},
        {"Contacts", Kind::Added, "PublicGroup \"Harbour\"", "", "", ""},
        {"Contacts", Kind::Changed, "PublicGroup \"Security\"", "channel", "3", "4"},
        {"Contacts", Kind::Changed, "Private \"Bruno Costa\"", "name", "Bruno Costa", "Bruno C."},
        {"Contacts", Kind::Changed, "Private \"Ana Lima\"", groups, "Day Shift",
         "Day Shift, Night Shift"},
        {"Contacts", Kind::Changed, "Private \"Carla Dias\"", "home_grp", "Night Shift",
         "Day Shift"},
        {"Contacts", Kind::Changed, "Private \"Duty Manager\"", scroll, "Security, Night Shift",
         "Security"},
        {"TextMessages", Kind::Removed, "\"On my way\"", "", "", ""},
        {"TextMessages", Kind::Added, "\"On my way now\"", "", "", ""},
    };
    const auto actual = Diff(Sample(), b);
    EXPECT_THAT(actual, testing::UnorderedElementsAreArray(expected));

    // The same, the other way round: what was added is removed.
    const auto back = Diff(b, Sample());
    EXPECT_EQ(back.size(), expected.size());
    EXPECT_THAT(back, testing::Contains(
                          Entry{"Contacts", Kind::Removed, "PublicGroup \"Harbour\"", "", "", ""}));
}

TEST(ProfileDiff, LinesComeBySection) {
    std::string b = Replace(Sample(), "backlight=\"10000\"", "backlight=\"30000\"");
    b = Replace(b, "txt=\"On my way\"", "txt=\"Later\"");
    const XmlDocPtr da = ParseXmlSafely(Sample());
    const XmlDocPtr db = ParseXmlSafely(b);
    const auto lines = FormatProfileDifferences(DiffProfiles(da.get(), db.get()));
    const std::vector<std::string> expected = {"[setting]", "  backlight: \"10000\" -> \"30000\"",
                                               "[TextMessages]", "  removed: \"On my way\"",
                                               "  added: \"Later\""};
    EXPECT_EQ(lines, expected);
}
