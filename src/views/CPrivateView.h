#pragma once

#include <functional>
#include <string>
#include <vector>

#include "CContactEditView.h"

class CTwoListEditor;
class QCheckBox;

// One private contact: name, channel, identifier (typed, scanned from a bar code or captured
// from a radio), home group, group-only switch, ringer, and its private scroll list.
class CPrivateView : public CContactEditView {
    Q_OBJECT
  public:
    // Control ids.
    enum ControlId : int {
        kGroupOnly = 1016,
        kCaption = 1055,
        kHomeGroupLabel = 1056,
        kChannelLabel = 1057,
        kIdLabel = 1058,
        kName = 1059,
        kChannel = 1060,
        kId = 1061,
        kReadId = 1062,
        kHomeGroup = 1063,
        kNameLabel = 1064,
        kGroupOnlyLabel = 1065,
        kRinger = 1066,
        kRingerLabel = 1067,
        kAddLabel = 1094,
        kAdd = 1095,
        kDelete = 1098,
        // The private scroll list, kScrollEnable to kScrollRemove.
        kScrollEnable = 1110,
        kScrollAvailableLabel = 1111,
        kScrollMembersLabel = 1112,
        kScrollAvailable = 1113,
        kScrollMembers = 1114,
        kScrollAdd = 1115,
        kScrollRemove = 1116,
        kDeleteLabel = 1117,
    };

    explicit CPrivateView(IViewHost& host, QWidget* parent = nullptr);

    void FocusFirstField(int kind) override;

    QLineEdit* IdBox() const { return m_id; }
    QPushButton* ReadIdButton() const { return m_read; }
    QComboBox* HomeGroupList() const { return m_home; }
    QCheckBox* GroupOnlyBox() const { return m_groupOnly; }
    QComboBox* RingerList() const { return m_ringer; }
    QCheckBox* ScrollListBox() const { return m_scrollEnable; }
    CTwoListEditor* ScrollList() const { return m_scrollList; }
    bool ScannerMode() const { return m_scannerMode; }

    // The typing filter of the identifier box: digits only, no leading zero; a text that is not a
    // number up to end (other than start or end themselves) gives nullopt, and the box then goes
    // back to its last accepted text. removedBeforeCaret counts what went before the caret.
    static std::optional<QString> FilterId(const QString& typed, int caret, const QString& start,
                                           const QString& end, int& removedBeforeCaret);

  protected:
    void LoadFields() override;
    void ChannelChanged(bool asked) override;
    QWidget* CollectFaults(std::string& lines, OnRefusal how) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void NameChanged() override;

  private:
    // One contact of the private scroll list editor's table, by its global index.
    struct ScrollContact {
        std::string name;
        int icon;
    };
    // Rebuilds the private scroll list editor from the profile.
    void FillScrollList(bool moving = false);
    void OnScrollAdd(const std::vector<int>& indexes);
    void OnScrollRemove(const std::vector<int>& indexes);
    // Runs change on the private's scroll list for the contact of each chosen row (true: it
    // changed the list), then shows the lists again.
    void ChangeScrollList(
        const std::vector<int>& indexes,
        const std::function<bool(CDataItem& entries, const std::string& name)>& change);
    void FillHomeGroups();
    void OnIdChanged();
    // E3: true when the box then holds the stored identifier.
    bool CommitId(OnRefusal how);
    void OnIdFocusLost();
    void OnScannerEnter();
    void OnHomeActivated(int index);
    void OnRingerActivated(int index);
    void OnGroupOnlyClicked();
    void OnReadId();
    void OnScrollEnableClicked(bool checked);
    // The pid of the private or public group of that name on the private's channel, private
    // groups first; nothing when there is none.
    std::optional<std::string> GroupPidByName(const std::string& name) const;

    QLineEdit* m_id = nullptr;
    QPushButton* m_read = nullptr;
    QComboBox* m_home = nullptr;
    QCheckBox* m_groupOnly = nullptr;
    QComboBox* m_ringer = nullptr;
    QCheckBox* m_scrollEnable = nullptr;
    CTwoListEditor* m_scrollList = nullptr;
    std::vector<ScrollContact> m_contacts;
    QString m_acceptedId;
    int m_homePos = 0;
    bool m_filtering = false;
    bool m_scannerMode = false;
    bool m_idCommitted = false;
};
