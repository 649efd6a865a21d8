#include "CWriteCheck.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

CVirtualCodeplug SoundImage() {
    CVirtualCodeplug image;
    CContactRecord& group = image.contacts[0];
    group.name = u"Dispatch";
    group.pid = u"17179869183";
    group.cntct_type = kContactPublicGroup;
    CContactRecord& ana = image.contacts[1];
    ana.name = std::u16string(25, u'\u00e9');  // the whole field, in ISO-8859-1
    ana.pid = u"10000002";
    ana.cntct_type = kContactPrivate;
    ana.parent_groups[0] = u"10001000";
    ana.home_grp = u"10001000";
    image.texts[0] = std::u16string(80, u'x');
    image.settings.password = u"1234";
    image.settings.call_forward_id = u"0";
    return image;
}

// The name of the private contact of the sound image, as the texts show it.
std::string AnaName() {
    std::string name;
    for (int i = 0; i < 25; ++i) {
        name += "\u00e9";
    }
    return name;
}

TEST(WriteCheck, NamesEachFieldTheRadioCannotTakeAsItIs) {
    struct Case {
        const char* what;
        std::function<void(CVirtualCodeplug&)> change;
        std::vector<std::string> texts;
        bool notRadioText;
    };
    const Case cases[] = {
        {"nothing", [](CVirtualCodeplug&) {}, {}, false},
        {"a name above U+00FF",
         [](CVirtualCodeplug& i) { i.contacts[0].name = u"Caf\u00e9 \u2615"; },
         {"Contact \"Caf\u00e9 \u2615\": Contact name can only contain ISO-8859-1 characters."},
         true},
        {"a name of 26 characters",
         [](CVirtualCodeplug& i) { i.contacts[0].name = std::u16string(26, u'n'); },
         {"Contact \"" + std::string(26, 'n') +
          "\": The name is longer than the radio can hold (25 characters)."},
         false},
        {"a contact without a name",
         [](CVirtualCodeplug& i) { i.contacts[0].name.clear(); },
         {"Contact \"17179869183\": The contact has no name."},
         false},
        {"a PID above 2^34 - 1",
         [](CVirtualCodeplug& i) { i.contacts[1].pid = u"17179869184"; },
         {"Contact \"" + AnaName() +
          "\": The PID is not a valid PID (1 to 11 digits, at most 17179869183)."},
         false},
        {"a PID of 12 digits",
         [](CVirtualCodeplug& i) { i.contacts[0].pid = u"100000000000"; },
         {"Contact \"Dispatch\": The PID is not a valid PID (1 to 11 digits, at most "
          "17179869183)."},
         false},
        {"a PID with letters",
         [](CVirtualCodeplug& i) { i.contacts[0].pid = u"12AB"; },
         {"Contact \"Dispatch\": The PID is not a valid PID (1 to 11 digits, at most "
          "17179869183)."},
         false},
        {"a home group that is no PID",
         [](CVirtualCodeplug& i) { i.contacts[1].home_grp = u"1000100x"; },
         {"Contact \"" + AnaName() + "\": A group PID of this contact is not a valid PID."},
         false},
        {"a text above U+00FF",
         [](CVirtualCodeplug& i) { i.texts[3] = u"\u2615"; },
         {"Text message \"\u2615\": Text message can only contain ISO-8859-1 characters."},
         true},
        {"a text of 81 characters",
         [](CVirtualCodeplug& i) { i.texts[0] += u"y"; },
         {"Text message \"" + std::string(80, 'x') +
          "y\": The text is longer than the radio can hold (80 characters)."},
         false},
        {"a password of 5 characters",
         [](CVirtualCodeplug& i) { i.settings.password = u"12345"; },
         {"Settings: The codeplug password must be at most 4 ISO-8859-1 characters."},
         false},
        {"a call-forward PID with letters",
         [](CVirtualCodeplug& i) { i.settings.call_forward_id = u"forward"; },
         {"Settings: The call-forward PID is not a valid PID."},
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CVirtualCodeplug image = SoundImage();
        c.change(image);
        const auto problems = CWriteCheck::Check(image);
        ASSERT_EQ(problems.size(), c.texts.size());
        for (std::size_t i = 0; i < problems.size(); ++i) {
            EXPECT_EQ(problems[i].text, c.texts[i]);
            EXPECT_EQ(problems[i].notRadioText, c.notRadioText);
        }
    }
}

}  // namespace
