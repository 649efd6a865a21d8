#pragma once

#include <functional>
#include <string>
#include <vector>

#include "CContactEditView.h"

class CTwoListEditor;
struct TwoListRow;

// One private group: name, channel, identifier (its own, or one a private holds without using
// it), and its members: privates on the group's channel, each in at most five groups. Privates
// with no group left are listed greyed and cannot be chosen.
class CPrivateGroupView : public CContactEditView {
    Q_OBJECT
  public:
    static constexpr int kMaxGroupsPerPrivate = 5;

    // Control ids.
    enum ControlId : int {
        kCaption = 1065,
        kNameLabel = 1066,
        kChannelLabel = 1067,
        kIdLabel = 1068,
        kName = 1069,
        kChannel = 1070,
        kId = 1071,
        kAvailable = 1072,
        kAddMember = 1073,
        kRemoveMember = 1074,
        kMembers = 1075,
        kAvailableLabel = 1076,
        kMembersLabel = 1077,
        kAddLabel = 1096,
        kAdd = 1097,
        kDeleteLabel = 1121,
        kDelete = 1122,
    };

    explicit CPrivateGroupView(IViewHost& host, QWidget* parent = nullptr);

    QComboBox* IdList() const { return m_id; }
    CTwoListEditor* Members() const { return m_members; }

  protected:
    void LoadFields() override;
    bool AcceptChannel(int channel) override;
    void ChannelChanged(bool asked) override;
    bool StoredComplete() override;
    QWidget* CollectFaults(std::string& lines, OnRefusal how) override;

  private:
    void FillIdList();
    // Rebuilds both membership lists from the profile.
    void FillMembers();
    void OnIdActivated(int index);
    void OnAdd(const std::vector<int>& indexes);
    void OnRemove(const std::vector<int>& indexes);
    // Runs change on the membership entries of each chosen private, then rebuilds the lists.
    void ChangeMemberships(
        const std::vector<int>& indexes,
        const std::function<void(CDataItem& groups, const std::string& pid)>& change);
    // The position of the entry naming the group pid among a private's entries, or -1.
    static int MembershipIndex(const CDataItem& groups, const std::string& pid);
    // The status bar: kFivePrivateGroupsAlready when no private can be added, else the idle text.
    void UpdateStatus();
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The membership entries of a private (a missing list is a profile data error).
    CDataItem Memberships(const CDataItem& private_) const;
    // 5 minus the private's groups; a private in more than five is a profile data error.
    int GroupsLeft(const CDataItem& private_) const;
    std::string GroupPid();

    QComboBox* m_id = nullptr;
    CTwoListEditor* m_members = nullptr;
    int m_idPos = -1;
};
