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
