#pragma once

#include "CContactEditView.h"

// One public group: name, channel (its scan list membership follows the channel) and an
// identifier from the public group ID banks, offered by display number; numbers taken by other
// groups are marked "x".
class CPublicGroupView : public CContactEditView {
    Q_OBJECT
  public:
    // Control ids.
    enum ControlId : int {
        kChannel = 1002,
        kId = 1004,
        kCaption = 1049,
        kNameLabel = 1050,
        kChannelLabel = 1051,
        kIdLabel = 1052,
        kName = 1053,
        kAddLabel = 1092,
        kAdd = 1093,
        kDelete = 1118,
        kDeleteLabel = 1119,
    };

    explicit CPublicGroupView(IViewHost& host, QWidget* parent = nullptr);

    QComboBox* IdList() const { return m_id; }

    // The entry of a display number in the identifier list.
    static QString IdEntry(std::int64_t number, bool takenByOther);
    // The display number of an entry ("x  12" and "   12" give 12; 0 for anything else).
    static std::int64_t IdEntryNumber(const QString& entry);

  protected:
    void LoadFields() override;
    std::string ChannelQuestion(int messageId, int oldChannel, int newChannel) const override;
    void ChannelChanged(bool asked) override;
    bool RepeatMayBeRefused() const override { return true; }

  private:
    void CheckBanks();
    void FillIdList();
    void OnIdActivated(int index);

    QComboBox* m_id = nullptr;
    int m_idPos = -1;
};
