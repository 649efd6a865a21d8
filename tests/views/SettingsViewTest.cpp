#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTimeEdit>
#include <map>
#include <regex>

#include "CSettingsView.h"
#include "CTwoListModel.h"
#include "ExpectSoon.h"
#include "FrameFixture.h"
#include "MessageId.h"
#include "RadioClock.h"
#include "XmlDom.h"

namespace {

using Attributes = std::map<std::string, std::string>;

class SettingsViewTest : public FrameFixture {
  protected:
    // A copy of the sample profile with some attributes of its setting element replaced.
    std::filesystem::path Profile(const Attributes& setting, const std::string& name = "S.lam",
                                  const std::string& firmwareVersion = "8") {
        std::string text = ReadFileBytes(QMVVLT_SOURCE_DATA_DIR "/samples/SampleProfile.xml");
        const auto begin = text.find("<setting ");
        const auto end = text.find("/>", begin);
        std::string element = text.substr(begin, end - begin);
        for (const auto& [attribute, value] : setting) {
            const std::regex pattern("\\s" + attribute + "=\"[^\"]*\"");
            EXPECT_TRUE(std::regex_search(element, pattern)) << attribute;
            element = std::regex_replace(element, pattern, " " + attribute + "=\"" + value + "\"");
        }
        text.replace(begin, end - begin, element);
        const std::string version = "firmware_version=\"8\"";
        text.replace(text.find(version), version.size(),
                     "firmware_version=\"" + firmwareVersion + "\"");
        const auto path = m_config.Path() / name;
        WriteFileBytes(path, text);
        return path;
    }
    CSettingsView* OpenSettings(const std::filesystem::path& profile) {
        Open(profile);
        Click(Node(kKindSettings));
        auto* view = qobject_cast<CSettingsView*>(m_frame->View());
        EXPECT_NE(view, nullptr);
        return view;
    }
    // Focus moves only inside the active window.
    void Activate() {
        QApplication::setActiveWindow(m_frame);
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_frame));
    }
    template <class W>
    W* Get(int ctrlId) const {
        auto* widget = qobject_cast<W*>(m_frame->View()->Control(ctrlId));
        EXPECT_NE(widget, nullptr) << ctrlId;
        return widget;
    }
    std::string Stored(const char* attribute) const {
        const CXPath xpath(m_frame->Document().Model().GetProfileDoc());
        const auto nodes = xpath.SelectNodes("//dfns:setting");
        return nodes.empty() ? "" : GetAttribute(nodes[0], attribute).value_or("<none>");
    }
    // Picks an entry as a user does: Home, then Down to the position.
    static void Choose(QComboBox* list, int position) {
        list->setFocus(Qt::TabFocusReason);
        QTest::keyClick(list, Qt::Key_Home);
        for (int i = 0; i < position; ++i) {
            QTest::keyClick(list, Qt::Key_Down);
        }
    }
    static void Retype(QLineEdit* box, const QString& text) {
        box->setFocus(Qt::TabFocusReason);
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        QTest::keyClicks(box, text);
    }
    // Leaves for the text messages node; true when the tree moved on.
    bool LeaveView() {
        Click(Node(kKindTextMessages));
        return m_frame->Current().kind == kKindTextMessages;
    }
};

TEST_F(SettingsViewTest, StoredValuesSelectTheirEntries) {
    const struct {
        Attributes setting;
        std::vector<std::pair<int, int>> expected;  // control, selected position
    } cases[] = {
        {{{"contrast", "6"},
          {"backlight", "90000"},
          {"ringer_vol_level", "0"},
          {"speaker_vol_level", "1"},
          {"keypad_vol_level", "8"},
          {"alarm_vol_level", "8"},
          {"earpiece_vol_level", "3"},
          {"tpt_offset", "13"},
          {"noise_level_accessory", "1"},
          {"noise_level_radio", "4"},
          {"tot_timer", "180"},
          {"time_format", "1"},
          {"date_format", "1"},
          {"language", "5"}},
         {{CSettingsView::kContrast, 0},
          {CSettingsView::kBacklight, 0},
          {CSettingsView::kRinger, 0},
          {CSettingsView::kSpeaker, 0},
          {CSettingsView::kKeypad, 8},
          {CSettingsView::kAlarmVolume, 7},
          {CSettingsView::kAccessoryVolume, 2},
          {CSettingsView::kTptOffset, 13},
          {CSettingsView::kNoiseAccessory, 0},
          {CSettingsView::kNoiseRadio, 3},
          {CSettingsView::kTimer, 2},
          {CSettingsView::kTimeFormat, 1},
          {CSettingsView::kDateFormat, 1},
          {CSettingsView::kLanguage, 2}}},
        {{{"contrast", "0"},
          {"backlight", "0"},
          {"tot_timer", "60"},
          {"time_format", "0"},
          {"date_format", "0"},
          {"language", "4"},
          {"tpt_offset", "0"}},
         {{CSettingsView::kContrast, 6},
          {CSettingsView::kBacklight, 5},
          {CSettingsView::kTimer, 0},
          {CSettingsView::kTimeFormat, 0},
          {CSettingsView::kDateFormat, 0},
          {CSettingsView::kLanguage, 1},
          {CSettingsView::kTptOffset, 0}}},
        // Not one of the six stored values, and a language the radio does not list.
        {{{"backlight", "10"}, {"language", "7"}, {"contrast", "4"}},
         {{CSettingsView::kBacklight, -1},
          {CSettingsView::kLanguage, -1},
          {CSettingsView::kContrast, 2}}},
    };
    int n = 0;
    for (const auto& c : cases) {
        OpenSettings(Profile(c.setting, "load" + std::to_string(n++) + ".lam"));
        for (const auto& [ctrlId, position] : c.expected) {
            EXPECT_EQ(Get<QComboBox>(ctrlId)->currentIndex(), position) << ctrlId;
        }
        CloseFrame();
    }
}

// A new user's first look: the sample and the templates select an entry in every list shown.
TEST_F(SettingsViewTest, ShippedProfilesSelectAnEntryInEveryList) {
    const std::filesystem::path data = QMVVLT_SOURCE_DATA_DIR;
    for (const auto& profile :
         {data / "samples/SampleProfile.xml", data / "ProfileTemplate/QMV410.lam",
          data / "ProfileTemplate/QMV410 M.lam"}) {
        CSettingsView* view = OpenSettings(profile);
        ASSERT_NE(view, nullptr);
        int shown = 0;
        for (const QComboBox* list : view->findChildren<QComboBox*>()) {
            if (list->isVisibleTo(view)) {
                ++shown;
                EXPECT_GE(list->currentIndex(), 0)
                    << profile.filename() << " " << list->property("ctrlId").toInt();
            }
        }
        EXPECT_GT(shown, 10) << profile.filename();
        CloseFrame();
    }
}

TEST_F(SettingsViewTest, EntriesOfTheListsFollowTheModel) {
    OpenSettings(Profile({}));
    const struct {
        int ctrlId;
        QStringList first;
        int count;
    } cases[] = {
        {CSettingsView::kContrast, {"6", "5"}, 7},
        {CSettingsView::kBacklight, {"90 seconds", "30 seconds"}, 6},
        {CSettingsView::kRinger, {"0", "1"}, 9},
        {CSettingsView::kKeypad, {"0", "1"}, 9},
        {CSettingsView::kSpeaker, {"1", "2"}, 8},
        {CSettingsView::kAlarmVolume, {"1", "2"}, 8},
        {CSettingsView::kAccessoryVolume, {"1", "2"}, 8},
        {CSettingsView::kTptOffset, {"0", "-1"}, 14},
        {CSettingsView::kNoiseAccessory, {"Low", "Standard"}, 4},
        {CSettingsView::kTimer, {"60 seconds", "120 seconds"}, 3},
        {CSettingsView::kLanguage, {"English", "French"}, 3},
        {CSettingsView::kTimeFormat, {"12hr", "24hr"}, 2},
    };
    for (const auto& c : cases) {
        auto* list = Get<QComboBox>(c.ctrlId);
        ASSERT_EQ(list->count(), c.count) << c.ctrlId;
        EXPECT_EQ(QStringList({list->itemText(0), list->itemText(1)}), c.first) << c.ctrlId;
    }
    EXPECT_EQ(Get<QComboBox>(CSettingsView::kBacklight)->itemText(5), "Off");
    EXPECT_EQ(Get<QComboBox>(CSettingsView::kTptOffset)->itemText(13), "-13");
}

TEST_F(SettingsViewTest, ChoosingAnEntryStoresItsValue) {
    const struct {
        int ctrlId;
        int position;
        const char* attribute;
        const char* stored;
    } cases[] = {
        {CSettingsView::kContrast, 0, "contrast", "6"},
        {CSettingsView::kContrast, 6, "contrast", "0"},
        {CSettingsView::kBacklight, 0, "backlight", "90000"},
        {CSettingsView::kBacklight, 5, "backlight", "0"},
        {CSettingsView::kBacklight, 3, "backlight", "10000"},
        {CSettingsView::kRinger, 0, "ringer_vol_level", "0"},
        {CSettingsView::kSpeaker, 0, "speaker_vol_level", "1"},
        {CSettingsView::kKeypad, 8, "keypad_vol_level", "8"},
        {CSettingsView::kAlarmVolume, 7, "alarm_vol_level", "8"},
        {CSettingsView::kAccessoryVolume, 1, "earpiece_vol_level", "2"},
        {CSettingsView::kTptOffset, 13, "tpt_offset", "13"},
        {CSettingsView::kNoiseAccessory, 3, "noise_level_accessory", "4"},
        {CSettingsView::kNoiseRadio, 0, "noise_level_radio", "1"},
        {CSettingsView::kTimer, 1, "tot_timer", "120"},
        {CSettingsView::kTimer, 2, "tot_timer", "180"},
        {CSettingsView::kLanguage, 2, "language", "5"},
        {CSettingsView::kTimeFormat, 0, "time_format", "0"},
        {CSettingsView::kDateFormat, 1, "date_format", "1"},
    };
    OpenSettings(Profile({}));
    for (const auto& c : cases) {
        Choose(Get<QComboBox>(c.ctrlId), c.position);
        EXPECT_EQ(Stored(c.attribute), c.stored) << c.ctrlId << " at " << c.position;
    }
    EXPECT_TRUE(m_frame->Document().IsModified());
}

TEST_F(SettingsViewTest, CheckBoxesStoreTheirFlagsAndEnableTheirControls) {
    const struct {
        int ctrlId;
        const char* attribute;
        int dependent;   // a control enabled by the flag, or 0
        bool enabledOn;  // its state while checked
    } cases[] = {
        {CSettingsView::kVibraCall, "vibracall", 0, false},
        {CSettingsView::kInternalPtt, "internal_ptt_dis", 0, false},
        {CSettingsView::kProgMode, "prog_mode_dis", 0, false},
        {CSettingsView::kTimerOff, "tx_timeout_timer_dis", CSettingsView::kTimer, false},
        {CSettingsView::kPrivateReply, "priv_grp_call_rep_dis", 0, false},
        {CSettingsView::kAlarmOn, "alarm_en", CSettingsView::kAlarmTime, true},
    };
    OpenSettings(Profile({}));
    for (const auto& c : cases) {
        auto* check = Get<QCheckBox>(c.ctrlId);
        ASSERT_FALSE(check->isChecked()) << c.ctrlId;
        for (const char* expected : {"1", "0"}) {
            check->setFocus(Qt::TabFocusReason);
            QTest::keyClick(check, Qt::Key_Space);
            EXPECT_EQ(Stored(c.attribute), expected) << c.ctrlId;
            if (c.dependent) {
                const bool on = std::string(expected) == "1";
                EXPECT_EQ(m_frame->View()->Control(c.dependent)->isEnabled(), on == c.enabledOn)
                    << c.dependent;
            }
        }
    }
}

TEST_F(SettingsViewTest, VibraCallFollowsBitZeroAndTheModelsSwitch) {
    const struct {
        const char* value;
        bool checked;
    } cases[] = {{"3", true}, {"2", false}};
    int n = 0;
    for (const auto& c : cases) {
        OpenSettings(Profile({{"vibracall", c.value}}, "v" + std::to_string(n++) + ".lam"));
        EXPECT_EQ(Get<QCheckBox>(CSettingsView::kVibraCall)->isChecked(), c.checked) << c.value;
        EXPECT_TRUE(Get<QCheckBox>(CSettingsView::kVibraCall)->isEnabled());
        CloseFrame();
    }
    std::string text = ReadFileBytes(QMVVLT_SOURCE_DATA_DIR "/samples/SampleProfile.xml");
    text.replace(text.find("vibracall_dis=\"0\""), 17, "vibracall_dis=\"1\"");
    WriteFileBytes(m_config.Path() / "nv.lam", text);
    OpenSettings(m_config.Path() / "nv.lam");
    EXPECT_FALSE(Get<QCheckBox>(CSettingsView::kVibraCall)->isEnabled());
}

TEST_F(SettingsViewTest, ShortPasswordIsRefusedOnLeavingTheBoxAndTheView) {
    OpenSettings(Profile({}));
    Activate();
    auto* first = Get<QLineEdit>(CSettingsView::kPassword);
    Retype(first, "123");
    QTest::keyClick(first, Qt::Key_Tab);
    EXPECT_EQ(m_ui.Count(LoadString(MessageId::kEnterFourDigits)), 1);
    EXPECT_SOON(first->hasFocus());
    EXPECT_EQ(first->selectedText().size(), 3);
    EXPECT_FALSE(LeaveView());
    EXPECT_EQ(m_ui.Count(LoadString(MessageId::kEnterFourDigits)), 2);
    EXPECT_EQ(Stored("password"), "");
}

TEST_F(SettingsViewTest, DifferentPasswordsEmptyBothBoxes) {
    OpenSettings(Profile({}));
    Activate();
    auto* first = Get<QLineEdit>(CSettingsView::kPassword);
    auto* second = Get<QLineEdit>(CSettingsView::kConfirm);
    Retype(first, "1234");
    QTest::keyClick(first, Qt::Key_Tab);
    EXPECT_TRUE(m_ui.shown.empty()) << "the second box still has to be typed";
    Retype(second, "5678");
    m_frame->View()->Control(CSettingsView::kContrast)->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(m_ui.Count(LoadString(MessageId::kPasswordsDoNotMatch)), 1);
    EXPECT_EQ(first->text(), "");
    EXPECT_EQ(second->text(), "");
    EXPECT_SOON(first->hasFocus());
}

TEST_F(SettingsViewTest, PasswordIsCommittedWhenTheViewIsLeft) {
    const struct {
        const char* stored;
        QString first;
        QString second;
        bool leaves;
        const char* after;
        bool mismatch;  // the boxes differ: "passwords do not match"
    } cases[] = {
        {"1234", "", "", true, "", false},
        {"", "4321", "4321", true, "4321", false},
        {"1111", "2222", "3333", false, "1111", true},
        {"1111", "2222", "", false, "1111", true},
    };
    int n = 0;
    for (const auto& c : cases) {
        OpenSettings(Profile({{"password", c.stored}}, "p" + std::to_string(n++) + ".lam"));
        m_ui.shown.clear();
        // Typed without leaving either box for another control of the view.
        Retype(Get<QLineEdit>(CSettingsView::kPassword), c.first);
        Retype(Get<QLineEdit>(CSettingsView::kConfirm), c.second);
        EXPECT_EQ(LeaveView(), c.leaves) << c.after;
        EXPECT_EQ(Stored("password"), c.after);
        EXPECT_EQ(m_ui.Showed(MessageId::kPasswordsDoNotMatch), c.mismatch) << c.after;
        if (!c.leaves) {
            EXPECT_EQ(Get<QLineEdit>(CSettingsView::kPassword)->text(), "");
        }
        CloseFrame();
    }
}

TEST_F(SettingsViewTest, PasswordBoxesTakeDigitsOnlyAndNoPaste) {
    OpenSettings(Profile({}));
    auto* box = Get<QLineEdit>(CSettingsView::kPassword);
    Retype(box, "1a2b3");
    EXPECT_EQ(box->text(), "123");
    QApplication::clipboard()->setText("9");
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(box->text(), "123");
    EXPECT_EQ(box->contextMenuPolicy(), Qt::NoContextMenu);
}

TEST_F(SettingsViewTest, ClockShowsTheStoredTimeInItsFormats) {
    const std::uint32_t value = RadioClockSeconds(2024, 5, 6, 11, 59, 0);
    const struct {
        const char* timeFormat;
        const char* dateFormat;
        QString time;
        QString date;
    } cases[] = {
        {"0", "0", "11:59:AM", "05/06/24"},
        {"1", "1", "11:59", "06/05/24"},
    };
    int n = 0;
    for (const auto& c : cases) {
        OpenSettings(Profile({{"current_time", std::to_string(value)},
                              {"time_format", c.timeFormat},
                              {"date_format", c.dateFormat}},
                             "c" + std::to_string(n++) + ".lam"));
        EXPECT_EQ(Get<QTimeEdit>(CSettingsView::kTime)->text(), c.time);
        EXPECT_EQ(Get<QDateEdit>(CSettingsView::kDate)->text(), c.date);
        CloseFrame();
    }
}

TEST_F(SettingsViewTest, TwelveHourSuffixFollowsTheHour) {
    OpenSettings(
        Profile({{"current_time", std::to_string(RadioClockSeconds(2024, 5, 6, 11, 59, 0))},
                 {"time_format", "0"}}));
    auto* time = Get<QTimeEdit>(CSettingsView::kTime);
    ASSERT_TRUE(time->text().endsWith("AM"));
    time->setFocus(Qt::TabFocusReason);
    time->setCurrentSection(QDateTimeEdit::HourSection);
    QTest::keyClick(time, Qt::Key_Up);
    EXPECT_EQ(time->text(), "12:59:PM");
    EXPECT_EQ(Stored("current_time"), std::to_string(RadioClockSeconds(2024, 5, 6, 12, 59, 0)));
}

TEST_F(SettingsViewTest, ZeroClockShowsTheComputersDate) {
    OpenSettings(Profile({{"current_time", "0"}}));
    const QDate today = QDate::currentDate();
    EXPECT_TRUE(Get<QDateEdit>(CSettingsView::kDate)->date() == today ||
                Get<QDateEdit>(CSettingsView::kDate)->date() == today.addDays(-1));
    EXPECT_EQ(Stored("current_time"), "0") << "nothing stored before leaving";
}

TEST_F(SettingsViewTest, PcClockFlagDisablesThePickersAndOutlivesTheView) {
    OpenSettings(Profile({}));
    auto* check = Get<QCheckBox>(CSettingsView::kPcClock);
    check->setFocus(Qt::TabFocusReason);
    QTest::keyClick(check, Qt::Key_Space);
    EXPECT_TRUE(m_frame->Document().UsePcClock());
    EXPECT_FALSE(Get<QTimeEdit>(CSettingsView::kTime)->isEnabled());
    EXPECT_FALSE(Get<QDateEdit>(CSettingsView::kDate)->isEnabled());
    ASSERT_TRUE(LeaveView());
    Click(Node(kKindSettings));
    EXPECT_TRUE(Get<QCheckBox>(CSettingsView::kPcClock)->isChecked());
    EXPECT_FALSE(Get<QDateEdit>(CSettingsView::kDate)->isEnabled());

    // Clearing it commits the pickers' date and time.
    Get<QDateEdit>(CSettingsView::kDate)->setDate(QDate(2030, 2, 3));
    check = Get<QCheckBox>(CSettingsView::kPcClock);
    check->setFocus(Qt::TabFocusReason);
    QTest::keyClick(check, Qt::Key_Space);
    EXPECT_FALSE(m_frame->Document().UsePcClock());
    EXPECT_TRUE(Get<QDateEdit>(CSettingsView::kDate)->isEnabled());
    const QTime t = Get<QTimeEdit>(CSettingsView::kTime)->time();
    EXPECT_EQ(Stored("current_time"),
              std::to_string(RadioClockSeconds(2030, 2, 3, t.hour(), t.minute(), t.second())));
}

TEST_F(SettingsViewTest, AlarmTimeKeepsItsDatePartAndMarksTheDocument) {
    OpenSettings(Profile({{"alarm_time", std::to_string(3 * 86400 + 25200)},
                          {"alarm_en", "1"},
                          {"time_format", "1"}}));
    auto* alarm = Get<QTimeEdit>(CSettingsView::kAlarmTime);
    EXPECT_EQ(alarm->text(), "07:00");
    alarm->setFocus(Qt::TabFocusReason);
    alarm->setCurrentSection(QDateTimeEdit::MinuteSection);
    QTest::keyClick(alarm, Qt::Key_Up);
    EXPECT_EQ(Stored("alarm_time"), std::to_string(3 * 86400 + 25260));
    EXPECT_TRUE(m_frame->Document().IsModified());
}

TEST_F(SettingsViewTest, ModelWithoutAnOptionHidesItsRowsAndClosesTheGap) {
    const auto heightBetween = [this](int upper, int lower) {
        return m_frame->View()->Control(lower)->mapTo(m_frame->View(), QPoint()).y() -
               m_frame->View()->Control(upper)->mapTo(m_frame->View(), QPoint()).y();
    };
    OpenSettings(Profile({}, "g3.lam", "8"));
    const int fullGap =
        heightBetween(CSettingsView::kTptOffsetLabel, CSettingsView::kAdvancedHeading);
    for (const int id :
         {CSettingsView::kPassword, CSettingsView::kConfirm, CSettingsView::kPasswordLabel,
          CSettingsView::kConfirmLabel, CSettingsView::kNoiseHeading,
          CSettingsView::kNoiseAccessory, CSettingsView::kNoiseAccessoryLabel,
          CSettingsView::kNoiseRadio, CSettingsView::kNoiseRadioLabel}) {
        EXPECT_FALSE(m_frame->View()->Control(id)->isHidden()) << id;
    }
    CloseFrame();

    // A group-1 radio has no codeplug password and no ambient noise levels.
    OpenSettings(Profile({}, "g1.lam", "1"));
    for (const int id :
         {CSettingsView::kPassword, CSettingsView::kConfirm, CSettingsView::kPasswordLabel,
          CSettingsView::kConfirmLabel, CSettingsView::kNoiseHeading,
          CSettingsView::kNoiseAccessory, CSettingsView::kNoiseAccessoryLabel,
          CSettingsView::kNoiseRadio, CSettingsView::kNoiseRadioLabel}) {
        EXPECT_TRUE(m_frame->View()->Control(id)->isHidden()) << id;
    }
    for (const int id :
         {CSettingsView::kContrast, CSettingsView::kTptOffset, CSettingsView::kAdvancedHeading,
          CSettingsView::kLanguage, CSettingsView::kTime}) {
        EXPECT_FALSE(m_frame->View()->Control(id)->isHidden()) << id;
    }
    EXPECT_LT(heightBetween(CSettingsView::kTptOffsetLabel, CSettingsView::kAdvancedHeading),
              fullGap);
    EXPECT_TRUE(LeaveView());
}

TEST_F(SettingsViewTest, LoadFailureIsShownAndTheWindowStaysUsable) {
    Open(Profile({}));
    const CXPath xpath(m_frame->Document().Model().GetProfileDoc());
    xmlUnsetProp(xpath.SelectNodes("//dfns:setting")[0], BAD_CAST "contrast");
    Click(Node(kKindSettings));
    EXPECT_TRUE(m_ui.Showed(MessageId::kProgrammingError108));
    Click(Node(kKindTextMessages));
    ASSERT_NE(m_frame->View(), nullptr);
    EXPECT_EQ(m_frame->Current().kind, kKindTextMessages);
}

class SettingsPrivatesTest : public SettingsViewTest {
  protected:
    QStringList Names(int listId) const {
        QStringList names;
        for (const TwoListRow& row : Model(listId).Rows()) {
            names << row.name;
        }
        return names;
    }
    const CTwoListModel& Model(int listId) const {
        return *qobject_cast<const CTwoListModel*>(Get<QListView>(listId)->model());
    }
    std::string Flag(const char* name, const char* attribute) const {
        const CXPath xpath(m_frame->Document().Model().GetProfileDoc());
        const auto nodes = xpath.SelectNodes(std::string("//dfns:Private[@name='") + name + "']");
        return nodes.empty() ? "" : GetAttribute(nodes[0], attribute).value_or("");
    }
    // Selects the named row alone with a click, then presses the button.
    void Move(int listId, const QString& name, int buttonId) {
        auto* list = Get<QListView>(listId);
        const int row = static_cast<int>(Names(listId).indexOf(name));
        ASSERT_GE(row, 0) << name.toStdString();
        const QRect rect = list->visualRect(list->model()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseClick(Get<QPushButton>(buttonId), Qt::LeftButton);
    }
};

TEST_F(SettingsPrivatesTest, ManagerModeAlsoAddsToSeeAllGroupsButRemovingLeavesIt) {
    OpenSettings(Profile({}));
    // The sample's own radio is a manager already.
    const QStringList both = {"Bruno Costa", "Duty Manager"};
    ASSERT_EQ(Names(CSettingsView::kManagerMembers), QStringList{"Duty Manager"});
    ASSERT_EQ(Names(CSettingsView::kSeeAllMembers), QStringList{"Duty Manager"});
    Move(CSettingsView::kManagerAvailable, "Bruno Costa", CSettingsView::kManagerAdd);
    EXPECT_EQ(Flag("Bruno Costa", "mngr_mode"), "1");
    EXPECT_EQ(Flag("Bruno Costa", "see_all_groups"), "1");
    EXPECT_EQ(Names(CSettingsView::kManagerMembers), both);
    EXPECT_EQ(Names(CSettingsView::kSeeAllMembers), both);
    EXPECT_FALSE(Names(CSettingsView::kManagerAvailable).contains("Bruno Costa"));
    EXPECT_TRUE(m_frame->Document().IsModified());

    Move(CSettingsView::kManagerMembers, "Bruno Costa", CSettingsView::kManagerRemove);
    EXPECT_EQ(Flag("Bruno Costa", "mngr_mode"), "0");
    EXPECT_EQ(Flag("Bruno Costa", "see_all_groups"), "1");
    EXPECT_EQ(Names(CSettingsView::kSeeAllMembers), both);

    Move(CSettingsView::kSeeAllMembers, "Bruno Costa", CSettingsView::kSeeAllRemove);
    EXPECT_EQ(Flag("Bruno Costa", "see_all_groups"), "0");
    EXPECT_EQ(Names(CSettingsView::kSeeAllMembers), QStringList{"Duty Manager"});
    EXPECT_EQ(Flag("Duty Manager", "mngr_mode"), "1");
}

TEST_F(SettingsPrivatesTest, OwnRadioHasItsIconAndListsFollowTheModel) {
    OpenSettings(Profile({}));
    for (const int listId : {CSettingsView::kManagerAvailable, CSettingsView::kManagerMembers}) {
        for (const TwoListRow& row : Model(listId).Rows()) {
            EXPECT_EQ(row.icon, row.name == "Duty Manager" ? 11 : 10) << row.name.toStdString();
        }
    }
    CloseFrame();

    std::string text = ReadFileBytes(QMVVLT_SOURCE_DATA_DIR "/samples/SampleProfile.xml");
    text.replace(text.find("mngr_mode_en=\"1\""), 16, "mngr_mode_en=\"0\"");
    WriteFileBytes(m_config.Path() / "nm.lam", text);
    OpenSettings(m_config.Path() / "nm.lam");
    for (const int id : {CSettingsView::kManagerAvailable, CSettingsView::kManagerMembers,
                         CSettingsView::kManagerAdd, CSettingsView::kManagerRemove}) {
        EXPECT_FALSE(m_frame->View()->Control(id)->isEnabled()) << id;
    }
    EXPECT_TRUE(Get<QListView>(CSettingsView::kSeeAllAvailable)->isEnabled());
    EXPECT_TRUE(Get<QPushButton>(CSettingsView::kSeeAllAdd)->isEnabled());
}

TEST_F(SettingsViewTest, EverySettingSurvivesSaveAndReopen) {
    OpenSettings(Profile({}));
    const std::vector<std::pair<int, int>> choices = {
        {CSettingsView::kContrast, 1},        {CSettingsView::kBacklight, 4},
        {CSettingsView::kTimeFormat, 0},      {CSettingsView::kDateFormat, 1},
        {CSettingsView::kRinger, 3},          {CSettingsView::kSpeaker, 6},
        {CSettingsView::kKeypad, 1},          {CSettingsView::kAlarmVolume, 2},
        {CSettingsView::kAccessoryVolume, 5}, {CSettingsView::kTptOffset, 7},
        {CSettingsView::kNoiseAccessory, 0},  {CSettingsView::kNoiseRadio, 2},
        {CSettingsView::kLanguage, 2},        {CSettingsView::kTimer, 2},
    };
    for (const auto& [ctrlId, position] : choices) {
        Choose(Get<QComboBox>(ctrlId), position);
    }
    for (const int ctrlId :
         {CSettingsView::kVibraCall, CSettingsView::kAlarmOn, CSettingsView::kInternalPtt,
          CSettingsView::kProgMode, CSettingsView::kPrivateReply, CSettingsView::kTimerOff}) {
        auto* check = Get<QCheckBox>(ctrlId);
        check->setFocus(Qt::TabFocusReason);
        QTest::keyClick(check, Qt::Key_Space);
    }
    Get<QDateEdit>(CSettingsView::kDate)->setDate(QDate(2041, 7, 8));
    Get<QTimeEdit>(CSettingsView::kTime)->setTime(QTime(21, 22, 23));
    Get<QTimeEdit>(CSettingsView::kAlarmTime)->setTime(QTime(6, 30));
    Retype(Get<QLineEdit>(CSettingsView::kPassword), "2468");
    Retype(Get<QLineEdit>(CSettingsView::kConfirm), "2468");
    ASSERT_TRUE(LeaveView());
    const std::string saved = Stored("current_time");
    EXPECT_EQ(saved, std::to_string(RadioClockSeconds(2041, 7, 8, 21, 22, 23)));
    Attributes before;
    for (const char* name : {"contrast",
                             "backlight",
                             "time_format",
                             "date_format",
                             "ringer_vol_level",
                             "speaker_vol_level",
                             "keypad_vol_level",
                             "alarm_vol_level",
                             "earpiece_vol_level",
                             "tpt_offset",
                             "noise_level_accessory",
                             "noise_level_radio",
                             "language",
                             "tot_timer",
                             "vibracall",
                             "alarm_en",
                             "internal_ptt_dis",
                             "prog_mode_dis",
                             "priv_grp_call_rep_dis",
                             "tx_timeout_timer_dis",
                             "current_time",
                             "alarm_time",
                             "password"}) {
        before[name] = Stored(name);
    }
    EXPECT_EQ(before["password"], "2468");
    EXPECT_EQ(before["alarm_time"], std::to_string(6 * 3600 + 30 * 60));
    const auto path = m_config.Path() / "saved.lam";
    ASSERT_TRUE(m_frame->Document().Save(path));
    CloseFrame();

    OpenSettings(path);
    for (const auto& [name, value] : before) {
        EXPECT_EQ(Stored(name.c_str()), value) << name;
    }
    for (const auto& [ctrlId, position] : choices) {
        EXPECT_EQ(Get<QComboBox>(ctrlId)->currentIndex(), position) << ctrlId;
    }
    EXPECT_EQ(Get<QDateEdit>(CSettingsView::kDate)->date(), QDate(2041, 7, 8));
    EXPECT_EQ(Get<QTimeEdit>(CSettingsView::kTime)->time(), QTime(21, 22, 23));
    EXPECT_EQ(Get<QLineEdit>(CSettingsView::kConfirm)->text(), "2468");
    EXPECT_TRUE(LeaveView());
    EXPECT_FALSE(m_frame->Document().IsModified());
}

}  // namespace
