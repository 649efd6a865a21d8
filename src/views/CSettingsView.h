#pragma once

#include <QDateTime>
#include <QStringList>
#include <array>
#include <cstdint>
#include <map>
#include <string>

#include "CBaseView.h"

class CPasswordEdit;
class CTwoListEditor;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QTimeEdit;

// The radio-wide settings of a profile: display, clock and alarm, volumes, ambient noise,
// advanced options and the codeplug password, one long scrolling form. Each change is committed
// at once through the setting element's data item, except the password and the clock, which are
// committed (again) when the view is left.
class CSettingsView : public CBaseView {
    Q_OBJECT
  public:
    // Control ids.
    enum ControlId : int {
        kConfirm = 1002,
        kManagerAvailable = 1003,
        kManagerMembers = 1004,
        kSeeAllAvailable = 1005,
        kSeeAllMembers = 1006,
        kVibraCall = 1011,
        kTimerOff = 1012,
        kProgMode = 1013,
        kInternalPtt = 1014,
        kManagerAdd = 1015,
        kManagerRemove = 1016,
        kTimeLabel = 1017,
        kCaption = 1018,
        kVibraCallLabel = 1020,
        kContrastLabel = 1021,
        kBacklightLabel = 1022,
        kContrast = 1023,
        kBacklight = 1024,
        kTimeFormat = 1025,
        kTimeFormatLabel = 1026,
        kPcClockLabel = 1027,
        kAlarmOnLabel = 1028,
        kDateFormatLabel = 1030,
        kAlarmTimeLabel = 1031,
        kDateFormat = 1032,
        kNoiseAccessory = 1033,
        kRingerLabel = 1034,
        kRinger = 1035,
        kSpeaker = 1036,
        kSpeakerLabel = 1037,
        kAlarmVolumeLabel = 1038,
        kKeypadLabel = 1039,
        kAlarmVolume = 1040,
        kKeypad = 1041,
        kLanguage = 1043,
        kSeeAllAdd = 1044,
        kTptOffset = 1045,
        kTptOffsetLabel = 1046,
        kNoiseRadio = 1047,
        kSeeAllRemove = 1048,
        kManagerAvailableLabel = 1050,
        kSeeAllAvailableLabel = 1051,
        kManagerMembersLabel = 1052,
        kSeeAllMembersLabel = 1053,
        kLanguageLabel = 1054,
        kNoiseAccessoryLabel = 1055,
        kClockHeading = 1056,
        kAdvancedHeading = 1057,
        kDisplayHeading = 1058,
        kVolumeHeading = 1059,
        kNoiseRadioLabel = 1060,
        kDateLabel = 1061,
        kAccessoryVolumeLabel = 1063,
        kNoiseHeading = 1064,
        kAccessoryVolume = 1065,
        kPassword = 1066,
        kPasswordLabel = 1067,
        kConfirmLabel = 1068,
        kTimerOffLabel = 1069,
        kPcClock = 1070,
        kAlarmOn = 1071,
        kTimer = 1072,
        kTimerLabel = 1073,
        kProgModeLabel = 1074,
        kInternalPttLabel = 1075,
        kPrivateReplyLabel = 1076,
        kPrivateReply = 1077,
        kTime = 1078,
        kDate = 1080,
        kAlarmTime = 1081,
        kManagerModeNote = 1099,
    };

    explicit CSettingsView(IViewHost& host, QWidget* parent = nullptr);
    void LoadData() override;
    int ValidateCurrentItem() override;
    // Focuses the first password box (after its two boxes did not match).
    void FocusFirstField(int kind) override;

    // Display formats of the pickers: the hour's suffix follows the hour in the 12-hour format.
    static QString TimeDisplayFormat(int timeFormat);
    static QString DateDisplayFormat(int dateFormat);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildDisplay();
    void BuildClock();
    void BuildVolume();
    void BuildNoise();
    void BuildAdvanced();
    void BuildPassword();
    void BuildPrivateLists();
    CTwoListEditor* AddPrivateList(int membersLabel, const std::array<int, 6>& ids);
    void ConnectChanges();
    // A labelled list holding entries.
    QComboBox* AddList(int labelId, int labelText, int listId, const QStringList& entries = {});
    QCheckBox* AddCheck(int labelId, int labelText, int checkId);

    void LoadLists();
    void LoadClock();
    void LoadLanguages();
    void LoadPassword();
    void LoadPrivateLists();
    // The privates whose flag is clear (available) and set (members) into the editor.
    void RefreshPrivateList(CTwoListEditor* editor, const char* attribute);
    void SetPrivateFlag(const std::vector<int>& indexes, const char* attribute, bool on);
    void ApplyClockFormats();

    // Commits one attribute with the rule file's confirmation protocol; markModified = false
    // leaves the modified flag to the caller when the rule accepts.
    void Commit(CDataItem item, const char* name, const CScriptValue& value,
                bool markModified = true);
    void CommitSetting(const char* name, const CScriptValue& value) {
        Commit(m_setting, name, value);
    }
    std::uint32_t PickedTime() const;
    std::uint32_t PickedAlarm() const;

    // The check of a password box that lost the focus; false when it showed a message.
    bool CheckPasswordBox(CPasswordEdit* box);
    void EmptyPasswords();
    void PostFocusPassword(CPasswordEdit* box);

    CDataItem m_setting;
    CDataItem m_limit;
    bool m_loaded = false;
    bool m_refocusing = false;

    QCheckBox* m_vibracall = nullptr;
    QComboBox* m_contrast = nullptr;
    QComboBox* m_backlight = nullptr;
    QComboBox* m_timeFormat = nullptr;
    QTimeEdit* m_time = nullptr;
    QComboBox* m_dateFormat = nullptr;
    QDateEdit* m_date = nullptr;
    QCheckBox* m_pcClock = nullptr;
    QCheckBox* m_alarmOn = nullptr;
    QTimeEdit* m_alarmTime = nullptr;
    QComboBox* m_ringer = nullptr;
    QComboBox* m_speaker = nullptr;
    QComboBox* m_keypad = nullptr;
    QComboBox* m_alarmVolume = nullptr;
    QComboBox* m_accessoryVolume = nullptr;
    QComboBox* m_tptOffset = nullptr;
    QComboBox* m_noiseAccessory = nullptr;
    QComboBox* m_noiseRadio = nullptr;
    QComboBox* m_language = nullptr;
    QCheckBox* m_internalPtt = nullptr;
    QCheckBox* m_progMode = nullptr;
    QCheckBox* m_timerOff = nullptr;
    QComboBox* m_timer = nullptr;
    QCheckBox* m_privateReply = nullptr;
    CPasswordEdit* m_password = nullptr;
    CPasswordEdit* m_confirm = nullptr;
    CTwoListEditor* m_managerMode = nullptr;
    CTwoListEditor* m_seeAllGroups = nullptr;
    CDataItem m_privates;
    std::string m_ownPid;
    bool m_seeAllGroupsEnabled = false;

    std::string m_storedPassword;
    std::uint32_t m_shownTime = 0;
    std::uint32_t m_shownAlarm = 0;
    // The alarm keeps the date part it was loaded with; its picker shows only the time.
    std::uint32_t m_alarmDays = 0;
};
