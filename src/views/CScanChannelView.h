#pragma once

#include "CListEditorView.h"

// The scan list of one channel: the public groups of the channel, at most 10 of them scanned.
class CScanChannelView : public CListEditorView {
    Q_OBJECT
  public:
    // The radio scans at most this many groups per channel, whatever the rule file allows.
    static constexpr int kMaxScanGroups = 10;

    // Control ids.
    enum ControlId : int {
        kCaption = 1011,
        kMembers = 1017,
        kAvailable = 1018,
        kAddMember = 1019,
        kRemoveMember = 1020,
        kAvailableLabel = 1021,
        kMembersLabel = 1022,
    };

    explicit CScanChannelView(IViewHost& host, QWidget* parent = nullptr);
    void RefreshCaption() override;

  protected:
    bool Shows(const ContactRecord& record) const override;
    bool MayStartAdding(int members) override;
    bool MayAddAnother(int members) override;
    ChangeNotice RefreshNotice() const override;

  private:
    int Channel() const;
};
