#include "CSettingsView.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QLabel>
#include <QLayout>
#include <QListView>
#include <QPushButton>
#include <QTimeEdit>
#include <QTimer>
#include <array>

#include "CPasswordEdit.h"
#include "CQMVVLTDoc.h"
#include "CQMVVLTException.h"
#include "CTwoListEditor.h"
#include "IViewUi.h"
#include "MessageId.h"
#include "MessageStyle.h"
#include "NodeKind.h"
#include "RadioClock.h"
#include "StringTable.h"
#include "ViewIcons.h"

namespace {

QString Text(int id) {
    return QString::fromStdString(LoadString(id));
}

int Number(const CDataItem& item, const char* name) {
    return ScriptToInt32(item.GetAttributeValue(name));
}

bool Flag(const CDataItem& item, const char* name) {
    return ScriptToBool(item.GetAttributeValue(name));
}

// Options a model group lacks have no attribute in the profile at all.
bool Has(const CDataItem& item, const char* name) {
    return GetAttribute(item.Node(), name).has_value();
}

// Selects the entry at position, or none when the stored value maps outside the list.
void Select(QComboBox* list, int position) {
    list->setCurrentIndex(position >= 0 && position < list->count() ? position : -1);
}

constexpr int kMaxContrast = 6;
constexpr std::array<int, 6> kBacklightValues = {90000, 30000, 20000, 10000, 5000, 0};
constexpr int kTptOffsetSteps = 13;
constexpr std::array<int, 4> kNoiseLevelTexts = {MessageId::kNoiseLow, MessageId::kNoiseStandard,
                                                 MessageId::kNoiseMedium, MessageId::kNoiseHigh};
constexpr int kTimerStep = 60;
constexpr int kTimerEntries = 3;

struct RadioLanguage {
    int id;
    int nameId;
};
constexpr std::array<RadioLanguage, 6> kRadioLanguages = {{
    {0, MessageId::kLanguageEnglish},
    {1, MessageId::kLanguageSpanish},
    {4, MessageId::kLanguageFrench},
    {5, MessageId::kLanguagePortuguese},
    {7, MessageId::kLanguageGerman},
    {9, MessageId::kLanguageDutch},
}};

QString Seconds(int seconds) {
    const std::string number = std::to_string(seconds);
    const std::string unit = LoadString(MessageId::kSeconds);
    return QString::fromStdString(FormatPlaceholders("%d %s", {number, unit}));
}

// The years the radio's clock encoding and the picker agree on.
QDate FirstDate() {
    return QDate(2000, 1, 1);
}
QDate LastDate() {
    return QDate(2059, 12, 31);
}
// The texts of the list entries first..last, textOf giving each entry's text.
template <typename TextOf>
QStringList EntryTexts(int first, int last, TextOf textOf) {
    QStringList texts;
    for (int entry = first; entry <= last; ++entry) {
        texts << textOf(entry);
    }
    return texts;
}
constexpr int kSecondsPerDay = 86400;
constexpr int kPrivateListHeight = 130;
constexpr int kPrivateListGap = 10;

}  // namespace

CSettingsView::CSettingsView(IViewHost& host, QWidget* parent)
    : CBaseView(host, "CSettingsView", "Settings", parent) {
    SetCaption(kCaption, Text(MessageId::kSettingsCaption));
    BuildDisplay();
    BuildClock();
    BuildVolume();
    BuildNoise();
    BuildAdvanced();
    BuildPassword();
    BuildPrivateLists();
    ConnectChanges();
}

QComboBox* CSettingsView::AddList(int labelId, int labelText, int listId,
                                  const QStringList& entries) {
    auto* list = Register(listId, new QComboBox(this));
    list->addItems(entries);
    list->setMinimumWidth(160);
    AddRow(NewLabel(labelId, Text(labelText)), list);
    return list;
}

QCheckBox* CSettingsView::AddCheck(int labelId, int labelText, int checkId) {
    auto* check = Register(checkId, new QCheckBox(this));
    AddRow(NewLabel(labelId, Text(labelText)), check);
    return check;
}

void CSettingsView::BuildDisplay() {
    AddHeading(kDisplayHeading, Text(MessageId::kDisplay));
    m_vibracall = AddCheck(kVibraCallLabel, MessageId::kVibraCall, kVibraCall);
    m_contrast = AddList(
        kContrastLabel, MessageId::kContrast, kContrast,
        EntryTexts(0, kMaxContrast, [](int pos) { return QString::number(kMaxContrast - pos); }));
    m_backlight = AddList(kBacklightLabel, MessageId::kBacklight, kBacklight,
                          EntryTexts(0, static_cast<int>(kBacklightValues.size()) - 1, [](int pos) {
                              const int value = kBacklightValues[static_cast<std::size_t>(pos)];
                              return value ? Seconds(value / 1000) : Text(MessageId::kOff);
                          }));
}

void CSettingsView::BuildClock() {
    AddHeading(kClockHeading, Text(MessageId::kClockAlarm));
    m_timeFormat = AddList(kTimeFormatLabel, MessageId::kTimeFormat, kTimeFormat,
                           {Text(MessageId::kTwelveHour), Text(MessageId::kTwentyFourHour)});
    m_time = Register(kTime, new QTimeEdit(this));
    AddRow(NewLabel(kTimeLabel, Text(MessageId::kTime)), m_time);
    m_dateFormat = AddList(kDateFormatLabel, MessageId::kDateFormat, kDateFormat,
                           {Text(MessageId::kMonthFirst), Text(MessageId::kDayFirst)});
    m_date = Register(kDate, new QDateEdit(this));
    m_date->setDateRange(FirstDate(), LastDate());
    m_date->setCalendarPopup(true);
    AddRow(NewLabel(kDateLabel, Text(MessageId::kDate)), m_date);
    m_pcClock = AddCheck(kPcClockLabel, MessageId::kSetTimeUsingPcClock, kPcClock);
    m_alarmOn = AddCheck(kAlarmOnLabel, MessageId::kAlarmOn, kAlarmOn);
    m_alarmTime = Register(kAlarmTime, new QTimeEdit(this));
    AddRow(NewLabel(kAlarmTimeLabel, Text(MessageId::kAlarmTime)), m_alarmTime);
}

void CSettingsView::BuildVolume() {
    AddHeading(kVolumeHeading, Text(MessageId::kVolume));
    m_ringer = AddList(kRingerLabel, MessageId::kRingerVolume, kRinger);
    m_speaker = AddList(kSpeakerLabel, MessageId::kSpeakerVolume, kSpeaker);
    m_keypad = AddList(kKeypadLabel, MessageId::kKeypadVolume, kKeypad);
    m_alarmVolume = AddList(kAlarmVolumeLabel, MessageId::kAlarmVolume, kAlarmVolume);
    m_accessoryVolume = AddList(kAccessoryVolumeLabel, MessageId::kAccessory, kAccessoryVolume);
    m_tptOffset =
        AddList(kTptOffsetLabel, MessageId::kTalkPermitToneOffset, kTptOffset,
                EntryTexts(0, kTptOffsetSteps, [](int step) { return QString::number(-step); }));
}

void CSettingsView::BuildNoise() {
    AddHeading(kNoiseHeading, Text(MessageId::kAmbientNoise));
    const QStringList levels =
        EntryTexts(0, static_cast<int>(kNoiseLevelTexts.size()) - 1,
                   [](int pos) { return Text(kNoiseLevelTexts[static_cast<std::size_t>(pos)]); });
    m_noiseAccessory =
        AddList(kNoiseAccessoryLabel, MessageId::kAccessory, kNoiseAccessory, levels);
    m_noiseRadio = AddList(kNoiseRadioLabel, MessageId::kRadioNoise, kNoiseRadio, levels);
}

void CSettingsView::BuildAdvanced() {
    AddHeading(kAdvancedHeading, Text(MessageId::kAdvanced));
    m_language = AddList(kLanguageLabel, MessageId::kRadioLanguage, kLanguage);
    m_internalPtt = AddCheck(kInternalPttLabel, MessageId::kDisableInternalPtt, kInternalPtt);
    m_progMode = AddCheck(kProgModeLabel, MessageId::kDisableProgrammingMode, kProgMode);
    m_timerOff = AddCheck(kTimerOffLabel, MessageId::kDisableTxTimeoutTimer, kTimerOff);
    m_timer = AddList(
        kTimerLabel, MessageId::kTxTimeoutTimer, kTimer,
        EntryTexts(1, kTimerEntries, [](int entry) { return Seconds(entry * kTimerStep); }));
    m_privateReply = AddCheck(kPrivateReplyLabel, MessageId::kDisablePrivateReply, kPrivateReply);
}

void CSettingsView::BuildPassword() {
    m_password = Register(kPassword, new CPasswordEdit(this));
    AddRow(NewLabel(kPasswordLabel, Text(MessageId::kCodeplugPassword)), m_password);
    m_confirm = Register(kConfirm, new CPasswordEdit(this));
    AddRow(NewLabel(kConfirmLabel, Text(MessageId::kConfirmPassword)), m_confirm);
}

// ids: the two labels, the two lists, the two buttons.
CTwoListEditor* CSettingsView::AddPrivateList(int membersLabel, const std::array<int, 6>& ids) {
    auto* editor = new CTwoListEditor(MessageId::kAllPrivatesList, membersLabel, this);
    editor->SetButtonIds(ids[4], ids[5], ids[2], ids[3]);
    editor->SetButtonTexts(MessageId::kAddMembersButton, MessageId::kRemoveMembersButton);
    Register(ids[0], editor->AvailableLabel());
    Register(ids[1], editor->MembersLabel());
    Register(ids[2], editor->AvailableList());
    Register(ids[3], editor->MembersList());
    Register(ids[4], editor->AddButton());
    Register(ids[5], editor->RemoveButton());
    // A few rows of privates each; the lists scroll, and the form stays short enough to survey.
    for (QListView* list : {editor->AvailableList(), editor->MembersList()}) {
        list->setMaximumHeight(kPrivateListHeight);
    }
    editor->layout()->setContentsMargins(0, kPrivateListGap, 0, 0);
    AddRow(nullptr, editor);
    return editor;
}

void CSettingsView::BuildPrivateLists() {
    m_managerMode = AddPrivateList(MessageId::kManagerModeOnFor,
                                   {kManagerAvailableLabel, kManagerMembersLabel, kManagerAvailable,
                                    kManagerMembers, kManagerAdd, kManagerRemove});
    m_seeAllGroups = AddPrivateList(MessageId::kSeeAllGroupsOnFor,
                                    {kSeeAllAvailableLabel, kSeeAllMembersLabel, kSeeAllAvailable,
                                     kSeeAllMembers, kSeeAllAdd, kSeeAllRemove});
    auto* note = NewLabel(kManagerModeNote, Text(MessageId::kManagerModeNote));
    note->setWordWrap(true);
    AddRow(nullptr, note);

    connect(m_managerMode, &CTwoListEditor::addRequested, this, [this](std::vector<int> indexes) {
        SetPrivateFlag(indexes, "mngr_mode", true);
        // Manager mode implies seeing all groups on the radio.
        if (m_seeAllGroupsEnabled) {
            SetPrivateFlag(indexes, "see_all_groups", true);
        }
    });
    connect(m_managerMode, &CTwoListEditor::removeRequested, this,
            [this](std::vector<int> indexes) { SetPrivateFlag(indexes, "mngr_mode", false); });
    connect(m_seeAllGroups, &CTwoListEditor::addRequested, this,
            [this](std::vector<int> indexes) { SetPrivateFlag(indexes, "see_all_groups", true); });
    connect(m_seeAllGroups, &CTwoListEditor::removeRequested, this,
            [this](std::vector<int> indexes) { SetPrivateFlag(indexes, "see_all_groups", false); });
}

void CSettingsView::ConnectChanges() {
    const auto onCheck = [this](QCheckBox* check, const char* name) {
        connect(check, &QCheckBox::toggled, this,
                [this, name](bool on) { CommitSetting(name, CScriptValue(on)); });
    };
    connect(m_vibracall, &QCheckBox::toggled, this,
            [this](bool on) { CommitSetting("vibracall", ScriptInteger(on ? 1 : 0)); });
    onCheck(m_internalPtt, "internal_ptt_dis");
    onCheck(m_progMode, "prog_mode_dis");
    onCheck(m_privateReply, "priv_grp_call_rep_dis");
    connect(m_timerOff, &QCheckBox::toggled, this, [this](bool on) {
        m_timer->setEnabled(!on);
        CommitSetting("tx_timeout_timer_dis", CScriptValue(on));
    });
    connect(m_alarmOn, &QCheckBox::toggled, this, [this](bool on) {
        m_alarmTime->setEnabled(on);
        CommitSetting("alarm_en", CScriptValue(on));
    });

    const auto onList = [this](QComboBox* list, const char* name, auto valueOf) {
        connect(list, &QComboBox::currentIndexChanged, this, [this, name, valueOf](int pos) {
            if (pos >= 0) {
                CommitSetting(name, ScriptInteger(valueOf(pos)));
            }
        });
    };
    onList(m_contrast, "contrast", [](int pos) { return kMaxContrast - pos; });
    onList(m_backlight, "backlight", [](int pos) { return kBacklightValues[pos]; });
    onList(m_ringer, "ringer_vol_level", [](int pos) { return pos; });
    onList(m_keypad, "keypad_vol_level", [](int pos) { return pos; });
    onList(m_speaker, "speaker_vol_level", [](int pos) { return pos + 1; });
    onList(m_alarmVolume, "alarm_vol_level", [](int pos) { return pos + 1; });
    onList(m_accessoryVolume, "earpiece_vol_level", [](int pos) { return pos + 1; });
    onList(m_tptOffset, "tpt_offset", [](int pos) { return pos; });
    onList(m_noiseAccessory, "noise_level_accessory", [](int pos) { return pos + 1; });
    onList(m_noiseRadio, "noise_level_radio", [](int pos) { return pos + 1; });
    onList(m_timer, "tot_timer", [](int pos) { return pos * kTimerStep + kTimerStep; });
    connect(m_language, &QComboBox::currentIndexChanged, this, [this](int pos) {
        if (pos >= 0) {
            CommitSetting("language", ScriptInteger(m_language->itemData(pos).toInt()));
        }
    });
    connect(m_timeFormat, &QComboBox::currentIndexChanged, this, [this](int pos) {
        if (pos >= 0) {
            ApplyClockFormats();
            CommitSetting("time_format", CScriptValue(pos == 1));
        }
    });
    connect(m_dateFormat, &QComboBox::currentIndexChanged, this, [this](int pos) {
        if (pos >= 0) {
            ApplyClockFormats();
            CommitSetting("date_format", CScriptValue(pos == 1));
        }
    });

    const auto commitTime = [this] { CommitSetting("current_time", ScriptInteger(PickedTime())); };
    connect(m_time, &QTimeEdit::timeChanged, this, commitTime);
    connect(m_date, &QDateEdit::dateChanged, this, commitTime);
    connect(m_alarmTime, &QTimeEdit::timeChanged, this,
            [this] { CommitSetting("alarm_time", ScriptInteger(PickedAlarm())); });
    connect(m_pcClock, &QCheckBox::toggled, this, [this](bool on) {
        if (!m_loaded) {
            return;
        }
        m_host.Document().SetUsePcClock(on);
        m_time->setEnabled(!on);
        m_date->setEnabled(!on);
        if (!on) {
            CommitSetting("current_time", ScriptInteger(PickedTime()));
        }
    });

    for (CPasswordEdit* box : {m_password, m_confirm}) {
        connect(box, &QLineEdit::textEdited, this, [this](const QString& text) {
            if (text.toStdString() != m_storedPassword) {
                m_host.MarkModified();
            }
        });
    }
}

void CSettingsView::LoadData() {
    m_loaded = false;
    try {
        const CDataItem root = RootItem();
        m_setting = root.GetChildByName("setting");
        m_limit = root.GetChildByName("limit");
        LoadLists();
        LoadLanguages();
        LoadClock();
        LoadPassword();
        LoadPrivateLists();
    } catch (CQMVVLTException& e) {
        e.AddTrace("CSettingsView::LoadData", __LINE__, LoadString(MessageId::kErrorSettingsView));
        throw;
    }
    m_loaded = true;
}

void CSettingsView::LoadLists() {
    const QSignalBlocker blockers[] = {
        QSignalBlocker(m_vibracall),   QSignalBlocker(m_contrast),
        QSignalBlocker(m_backlight),   QSignalBlocker(m_ringer),
        QSignalBlocker(m_speaker),     QSignalBlocker(m_keypad),
        QSignalBlocker(m_alarmVolume), QSignalBlocker(m_accessoryVolume),
        QSignalBlocker(m_tptOffset),   QSignalBlocker(m_noiseAccessory),
        QSignalBlocker(m_noiseRadio),  QSignalBlocker(m_internalPtt),
        QSignalBlocker(m_progMode),    QSignalBlocker(m_timerOff),
        QSignalBlocker(m_timer),       QSignalBlocker(m_privateReply),
        QSignalBlocker(m_alarmOn),     QSignalBlocker(m_timeFormat),
        QSignalBlocker(m_dateFormat),
    };
    m_vibracall->setChecked(Number(m_setting, "vibracall") & 1);
    m_vibracall->setEnabled(!Flag(m_limit, "vibracall_dis"));
    Select(m_contrast, kMaxContrast - Number(m_setting, "contrast"));
    const int backlight = Number(m_setting, "backlight");
    int backlightPos = -1;
    for (std::size_t i = 0; i < kBacklightValues.size(); ++i) {
        if (kBacklightValues[i] == backlight) {
            backlightPos = static_cast<int>(i);
        }
    }
    Select(m_backlight, backlightPos);

    const int maxVolume = Number(m_limit, "max_vol_level");
    for (QComboBox* list : {m_ringer, m_keypad, m_speaker, m_alarmVolume, m_accessoryVolume}) {
        list->clear();
        const int first = (list == m_ringer || list == m_keypad) ? 0 : 1;
        for (int level = first; level <= maxVolume; ++level) {
            list->addItem(QString::number(level));
        }
    }
    Select(m_ringer, Number(m_setting, "ringer_vol_level"));
    Select(m_keypad, Number(m_setting, "keypad_vol_level"));
    Select(m_speaker, Number(m_setting, "speaker_vol_level") - 1);
    Select(m_alarmVolume, Number(m_setting, "alarm_vol_level") - 1);
    Select(m_accessoryVolume, Number(m_setting, "earpiece_vol_level") - 1);
    Select(m_tptOffset, Number(m_setting, "tpt_offset"));
    for (const auto& [list, name] : {std::pair{m_noiseAccessory, "noise_level_accessory"},
                                     std::pair{m_noiseRadio, "noise_level_radio"}}) {
        Select(list, Has(m_setting, name) ? Number(m_setting, name) - 1 : -1);
    }

    m_internalPtt->setChecked(Flag(m_setting, "internal_ptt_dis"));
    m_progMode->setChecked(Flag(m_setting, "prog_mode_dis"));
    m_privateReply->setChecked(Flag(m_setting, "priv_grp_call_rep_dis"));
    const bool timerOff = Flag(m_setting, "tx_timeout_timer_dis");
    m_timerOff->setChecked(timerOff);
    m_timer->setEnabled(!timerOff);
    Select(m_timer, Number(m_setting, "tot_timer") / kTimerStep - 1);
    const bool alarmOn = Flag(m_setting, "alarm_en");
    m_alarmOn->setChecked(alarmOn);
    m_alarmTime->setEnabled(alarmOn);
    Select(m_timeFormat, Flag(m_setting, "time_format") ? 1 : 0);
    Select(m_dateFormat, Flag(m_setting, "date_format") ? 1 : 0);
    ApplyClockFormats();
}

void CSettingsView::LoadLanguages() {
    const QSignalBlocker block(m_language);
    m_language->clear();
    const int selected = Number(m_setting, "language");
    const CDataItem languages = m_limit.GetChildByName("languages");
    const int count = std::min(languages.GetChildCount(), Number(m_limit, "num_of_languages"));
    for (int i = 0; i < count; ++i) {
        const CDataItem language = languages.GetChildByIndex(i);
        if (language.IsEmpty()) {
            continue;
        }
        const int id = Number(language, "language_id");
        for (const RadioLanguage& known : kRadioLanguages) {
            if (known.id == id) {
                m_language->addItem(Text(known.nameId), id);
            }
        }
    }
    m_language->setCurrentIndex(m_language->findData(selected));
}

void CSettingsView::LoadClock() {
    const QSignalBlocker blockTime(m_time);
    const QSignalBlocker blockDate(m_date);
    const QSignalBlocker blockAlarm(m_alarmTime);
    const QSignalBlocker blockPcClock(m_pcClock);
    const auto stored = static_cast<std::uint32_t>(Number(m_setting, "current_time"));
    if (stored == 0) {
        const QDateTime now = QDateTime::currentDateTime();
        m_date->setDate(now.date());
        m_time->setTime(now.time());
    } else {
        const RadioClockFields f = RadioClockDecode(stored);
        const QDate date(f.year, f.month, f.day);
        m_date->setDate(date.isValid() ? date : LastDate());
        m_time->setTime(QTime(f.hour, f.minute, f.second));
    }
    m_shownTime = PickedTime();

    const auto alarm = static_cast<std::uint32_t>(Number(m_setting, "alarm_time"));
    m_alarmDays = alarm / kSecondsPerDay;
    m_alarmTime->setTime(QTime(0, 0).addSecs(static_cast<int>(alarm % kSecondsPerDay)));
    m_shownAlarm = PickedAlarm();

    const bool usePcClock = m_host.Document().UsePcClock();
    m_pcClock->setChecked(usePcClock);
    m_time->setEnabled(!usePcClock);
    m_date->setEnabled(!usePcClock);
}

void CSettingsView::LoadPassword() {
    m_storedPassword =
        Has(m_setting, "password") ? ScriptToText(m_setting.GetAttributeValue("password")) : "";
    const QString text = QString::fromStdString(m_storedPassword);
    m_password->setText(text);
    m_confirm->setText(text);
}

void CSettingsView::LoadPrivateLists() {
    m_privates = RootItem().GetChildByName("Contacts").GetChildByName("Privates");
    m_ownPid = ScriptToText(m_limit.GetAttributeValue("pid"));
    m_seeAllGroupsEnabled = Flag(m_limit, "see_all_groups_en");
    const struct {
        CTwoListEditor* editor;
        const char* attribute;
        bool enabled;
    } lists[] = {
        {m_managerMode, "mngr_mode", Flag(m_limit, "mngr_mode_en")},
        {m_seeAllGroups, "see_all_groups", m_seeAllGroupsEnabled},
    };
    for (const auto& list : lists) {
        list.editor->SetListsEnabled(list.enabled);
        RefreshPrivateList(list.editor, list.attribute);
    }
}

void CSettingsView::RefreshPrivateList(CTwoListEditor* editor, const char* attribute) {
    std::vector<TwoListRow> available;
    std::vector<TwoListRow> members;
    const int count = m_privates.GetChildCount();
    for (int i = 0; i < count; ++i) {
        const CDataItem item = m_privates.GetChildByIndex(i);
        if (item.IsEmpty() || !Has(item, "name")) {
            continue;
        }
        const std::string pid = ScriptToText(item.GetAttributeValue("pid"));
        TwoListRow row{i, QString::fromStdString(ScriptToText(item.GetAttributeValue("name"))),
                       pid == m_ownPid ? ViewIcons::kOwnRadioImage : ViewIcons::kPrivateImage};
        (Flag(item, attribute) ? members : available).push_back(std::move(row));
    }
    editor->SetRows(std::move(available), std::move(members));
}

void CSettingsView::SetPrivateFlag(const std::vector<int>& indexes, const char* attribute,
                                   bool on) {
    try {
        // From the last to the first, as the rows leave their list.
        for (auto it = indexes.rbegin(); it != indexes.rend(); ++it) {
            const CDataItem item = m_privates.GetChildByIndex(*it);
            if (!item.IsEmpty() && Flag(item, attribute) != on) {
                Commit(item, attribute, CScriptValue(on));
            }
        }
        RefreshPrivateList(std::string(attribute) == "mngr_mode" ? m_managerMode : m_seeAllGroups,
                           attribute);
    } catch (const CQMVVLTException& e) {
        m_host.ReportFailure(e);
    }
}

QString CSettingsView::TimeDisplayFormat(int timeFormat) {
    // AP shows AM before noon and PM after it, so the suffix follows the hour by itself.
    return timeFormat == 1 ? QStringLiteral("HH:mm") : QStringLiteral("hh:mm:AP");
}

QString CSettingsView::DateDisplayFormat(int dateFormat) {
    return dateFormat == 1 ? QStringLiteral("dd/MM/yy") : QStringLiteral("MM/dd/yy");
}

void CSettingsView::ApplyClockFormats() {
    const QString timeFormat = TimeDisplayFormat(m_timeFormat->currentIndex());
    m_time->setDisplayFormat(timeFormat);
    m_alarmTime->setDisplayFormat(timeFormat);
    m_date->setDisplayFormat(DateDisplayFormat(m_dateFormat->currentIndex()));
}

std::uint32_t CSettingsView::PickedTime() const {
    const QDate d = m_date->date();
    const QTime t = m_time->time();
    return RadioClockSeconds(d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second());
}

std::uint32_t CSettingsView::PickedAlarm() const {
    return m_alarmDays * kSecondsPerDay +
           static_cast<std::uint32_t>(QTime(0, 0).secsTo(m_alarmTime->time()));
}

void CSettingsView::Commit(CDataItem item, const char* name, const CScriptValue& value,
                           bool markModified) {
    if (!m_loaded) {
        return;
    }
    int result = 0;
    try {
        RuleResult stored = item.SetAttributeValue(name, value);
        if (stored.result == 1) {
            m_host.Ui().ShowMessage(LoadString(stored.messageId), MessageStyle::kOk);
        } else if (stored.result != 0) {
            const int button = m_host.Ui().ShowMessage(LoadString(stored.messageId), stored.style);
            stored = item.SetAttributeValue(name, value, button);
            if (stored.result == 1) {
                m_host.Ui().ShowMessage(LoadString(stored.messageId), MessageStyle::kOk);
            }
        }
        result = stored.result;
    } catch (const CQMVVLTException& e) {
        m_host.ReportFailure(e);
        result = -1;
    }
    if (result != 0 || markModified) {
        m_host.MarkModified();
    }
    if (result != 0) {
        // The profile kept its value: show it again rather than the refused choice (once the
        // control whose change this was has returned).
        QTimer::singleShot(0, this, [this] {
            try {
                LoadLists();
            } catch (const CQMVVLTException& e) {
                m_host.ReportFailure(e);
            }
        });
    }
}

bool CSettingsView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut && m_loaded && !m_refocusing &&
        (watched == m_password || watched == m_confirm)) {
        QWidget* next = QApplication::focusWidget();
        if (next && next != watched && isAncestorOf(next)) {
            CheckPasswordBox(static_cast<CPasswordEdit*>(watched));
        }
    }
    return CBaseView::eventFilter(watched, event);
}

bool CSettingsView::CheckPasswordBox(CPasswordEdit* box) {
    const auto length = box->text().size();
    if (length != 0 && length != CPasswordEdit::kLength) {
        m_host.Ui().ShowMessage(LoadString(MessageId::kEnterFourDigits), MessageStyle::kOk);
        PostFocusPassword(box);
        return false;
    }
    CPasswordEdit* other = box == m_password ? m_confirm : m_password;
    if (box->text() != other->text() && !other->hasFocus() && !other->text().isEmpty()) {
        m_host.Ui().ShowMessage(LoadString(MessageId::kPasswordsDoNotMatch), MessageStyle::kOk);
        EmptyPasswords();
        PostFocusPassword(m_password);
        return false;
    }
    return true;
}

void CSettingsView::EmptyPasswords() {
    m_password->clear();
    m_confirm->clear();
}

void CSettingsView::PostFocusPassword(CPasswordEdit* box) {
    QTimer::singleShot(0, box, [this, box] {
        // Taking the focus back must not check the box it leaves.
        m_refocusing = true;
        box->setFocus(Qt::OtherFocusReason);
        box->selectAll();
        m_refocusing = false;
    });
}

void CSettingsView::FocusFirstField(int /*kind*/) {
    PostFocusPassword(m_password);
}

int CSettingsView::ValidateCurrentItem() {
    if (!m_loaded) {
        return 1;
    }
    if (Has(m_setting, "password")) {
        for (CPasswordEdit* box : {m_password, m_confirm}) {
            const auto length = box->text().size();
            if (length != 0 && length != CPasswordEdit::kLength) {
                m_host.Ui().ShowMessage(LoadString(MessageId::kEnterFourDigits), MessageStyle::kOk);
                PostFocusPassword(box);
                return 0;
            }
        }
        if (m_password->text() != m_confirm->text()) {
            m_host.Ui().ShowMessage(LoadString(MessageId::kPasswordsDoNotMatch), MessageStyle::kOk);
            EmptyPasswords();
            PostFocusPassword(m_password);
            return 0;
        }
        const std::string text = m_password->text().toStdString();
        if (text != m_storedPassword) {
            Commit(m_setting, "password", ScriptText(text));
            m_storedPassword = ScriptToText(m_setting.GetAttributeValue("password"));
        }
    }
    const std::uint32_t picked = PickedTime();
    const std::uint32_t alarm = PickedAlarm();
    Commit(m_setting, "current_time", ScriptInteger(picked), false);
    Commit(m_setting, "alarm_time", ScriptInteger(alarm), false);
    if ((picked != m_shownTime && !m_host.Document().UsePcClock()) ||
        (alarm != m_shownAlarm && m_alarmOn->isChecked())) {
        m_host.MarkModified();
    }
    return 1;
}
