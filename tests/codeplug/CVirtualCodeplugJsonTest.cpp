#include <gtest/gtest.h>

#include "CVirtualCodeplugJson.h"
#include "FullProfile.h"

TEST(VirtualCodeplugJson, FullImageRoundTrips) {
    CVirtualCodeplug image = MakeFullImage();
    image.limits.extra_capability = 0xDEADBEEFu;
    image.contacts[149].group_count = 4;
    image.contacts[149].home_group_position = 2;
    image.version.firmware_release = -3;
    image.Count();
    std::string error;
    const auto back = CVirtualCodeplugJson::FromJson(CVirtualCodeplugJson::ToJson(image), &error);
    ASSERT_TRUE(back) << error;
    EXPECT_EQ(*back, image);
}

TEST(VirtualCodeplugJson, BadImagesAreRefusedWithTheFieldNamed) {
    struct Case {
        const char* json;
        const char* mention;
    };
    const Case cases[] = {
        {"[1,2]", "not a JSON object"},
        {"{\"limits\": {\"max_num_of_contacts\": 256}}", "limits.max_num_of_contacts"},
        {"{\"settings\": {\"password\": 12}}", "settings.password"},
        {"{\"contacts\": [{\"index\": 150}]}", "contacts[0].index"},
        {"{\"texts\": [\"a\", 1]}", "texts"},
        {"{\"version\": {\"firmware_release\": 1.5}}", "version.firmware_release"},
        {"{\"version\": {\"firmware_phase\": \"RD\"}}", "firmware_phase"},
        {"{\"limits\": {\"languages\": [1,2,3,4,5,6,7]}}", "limits.languages"},
        {"{\"contacts\": 5}", "contacts"},
        {"{", ""},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_FALSE(CVirtualCodeplugJson::FromJson(c.json, &error)) << c.json;
        EXPECT_NE(error.find(c.mention), std::string::npos) << c.json << " -> " << error;
    }
}

TEST(VirtualCodeplugJson, AbsentFieldsKeepDefaults) {
    std::string error;
    const auto image = CVirtualCodeplugJson::FromJson(
        "{\"contacts\": [{\"index\": 7, \"name\": \"A\", \"pid\": \"5\", \"cntct_type\": 2}]}",
        &error);
    ASSERT_TRUE(image) << error;
    EXPECT_EQ(image->contacts[7].name, u"A");
    EXPECT_EQ(image->contacts[0], CContactRecord{});
    EXPECT_EQ(image->settings.speaker_vol_level, 1);
    EXPECT_EQ(image->counters.public_groups, 1);
}
