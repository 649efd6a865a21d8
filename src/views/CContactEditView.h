#pragma once

#include <functional>
#include <string>

#include "CBaseView.h"
#include "NodeKind.h"

class CTwoListEditor;
class QComboBox;
class QLineEdit;
class QPushButton;

// What the three contact views share: the name box committed on focus loss, the channel list with
// its confirm-and-repeat protocol, the hidden add button, the delete button, and the check made
// before the tree leaves the contact (an incomplete contact is offered for deletion; a complete one
// keeps its stored values).
class CContactEditView : public CBaseView {
    Q_OBJECT
  public:
    static constexpr int kMaxNameLength = 20;

    // The control ids of the shared rows.
    struct Ids {
        int caption;
        int nameLabel;
        int channelLabel;
        int idLabel;
        int name;
        int channel;
        int addLabel;
        int add;
        int addTextId;  // string-table text of the add button's label
        int deleteLabel;
        int deleteButton;
    };

    // Set while a view deletes its own contact: focus-loss handlers then neither check nor commit.
    static bool SuspendValidation() { return s_suspendValidation; }

    int ValidateCurrentItem() override;
    void FocusFirstField(int kind) override;
    void RefreshCaption() override;
    void LoadData() override;
    void OnChangeNotice(const ChangeNotice& notice) override;

    QLineEdit* NameBox() const { return m_name; }
    QComboBox* ChannelList() const { return m_channel; }

  protected:
    // kind: the contact's node kind (8, 9, 10); list: its list element under Contacts.
    CContactEditView(IViewHost& host, NodeKind kind, const char* list, std::string className,
                     std::string resourceKey, const Ids& ids, QWidget* parent);

    // The rows after name and channel are the subclass's; it then calls AddButtonRows().
    void AddButtonRows();
    QLabel* IdLabel() const { return m_idLabel; }
    // Registers a two-list editor's labels, lists and buttons under their control ids.
    void RegisterTwoList(CTwoListEditor* editor, int availableLabel, int membersLabel,
                         int available, int members, int add, int remove);

    // Subclass hooks, all called inside Guarded().
    virtual void LoadFields() = 0;
    // Checked before the rules are asked; false keeps the old channel.
    virtual bool AcceptChannel(int /*channel*/) { return true; }
    // The question text of a channel change the rules want confirmed.
    virtual std::string ChannelQuestion(int messageId, int oldChannel, int newChannel) const;
    // After a stored channel change; asked: the change needed the user's consent.
    virtual void ChannelChanged(bool /*asked*/) {}
    // A refused repeat of a confirmed channel change is a profile data error, except where the
    // rules report an outcome that way (public groups).
    virtual bool RepeatMayBeRefused() const { return false; }
    // What a field's commit does when the box is empty or the rules refuse its text.
    enum class OnRefusal {
        kQuiet,    // report nothing (the fault is listed by ValidateCurrentItem)
        kRefocus,  // show the message and put the caret back into the box
        kRestore,  // show the message and put the stored value back into the box
    };
    // True when the contact as stored has everything a complete one has: a name and an
    // identifier (and, for a private group, members). Only an incomplete one is offered for
    // deletion when it is left.
    virtual bool StoredComplete();
    // Commits the fields beyond the name (F); adds the fault lines of those that stay faulty and
    // returns the widget to focus first when the name is fine.
    virtual QWidget* CollectFaults(std::string& /*lines*/, OnRefusal /*how*/) { return nullptr; }
    // After a rename (B, or the tree's label edit).
    virtual void NameChanged() {}
    // True when focus leaving a field should be ignored: the suspend flag is set, the focus left
    // the view, or it went to the delete button (or one of extra).
    bool IgnoreFocusLoss(std::initializer_list<const QWidget*> extra = {}) const;

    // Shows the string-table text of a rule's message.
    int ShowRuleMessage(int messageId, int style);
    // Reports a refused or empty field as how says: shows text (unless quiet), then refocuses box
    // or puts stored back into it. True when the box then holds the stored value.
    bool RefuseField(QLineEdit* box, OnRefusal how, const std::function<void()>& show,
                     const QString& stored);
    // Runs a handler; a profile data error closes the document, another failure shows its message.
    void Guarded(const std::function<void()>& handler);
    [[noreturn]] static void ProfileDataError(const char* context, int line);
    // Posts a request to focus widget with its whole text selected.
    void PostFocus(QWidget* widget);
    void MarkChanged();

    // The child element of that name; a missing one is a profile data error.
    static CDataItem RequiredChild(const CDataItem& parent, const char* name);
    CDataItem Contact();
    CDataItem Limit() const;
    CDataItem ContactList(const char* list) const;
    int Position() const { return m_position; }
    NodeKind Kind() const { return m_kind; }
    int CurrentChannel() const { return m_channelPos + 1; }
    bool Loaded() const { return m_loaded; }
    QPushButton* DeleteButton() const { return m_delete; }

    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Commits the name (B, step 5). True when the box now holds the stored name.
    bool CommitName(OnRefusal how);
    void OnNameFocusLost();
    void OnChannelActivated(int index);

    static inline bool s_suspendValidation = false;

    NodeKind m_kind;
    const char* m_list;
    Ids m_ids;
    CDataItem m_item;
    int m_position = 0;
    int m_channelPos = -1;
    bool m_loaded = false;
    QLineEdit* m_name = nullptr;
    QComboBox* m_channel = nullptr;
    QLabel* m_idLabel = nullptr;
    QPushButton* m_delete = nullptr;
    QPushButton* m_add = nullptr;
    QLabel* m_addLabel = nullptr;
    QLabel* m_deleteLabel = nullptr;
};
