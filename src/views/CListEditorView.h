#pragma once

#include <memory>
#include <vector>

#include "CBaseView.h"
#include "CContactTable.h"
#include "NodeKind.h"

class CTwoListEditor;

// A view that edits one contact list through a flag on each contact (the scan list of a channel,
// the scroll list): the contact table, the two-list editor and the commit of each moved row.
class CListEditorView : public CBaseView {
    Q_OBJECT
  public:
    struct Form {
        int availableLabelText;
        int membersLabelText;
        int availableList, membersList, addButton, removeButton;
        int availableLabel, membersLabel;
        const char* flag;  // the membership attribute
    };
    CListEditorView(IViewHost& host, std::string className, std::string resourceKey,
                    const Form& form, QWidget* parent = nullptr);
    ~CListEditorView() override;

    void LoadData() override;
    CTwoListEditor* Editor() const { return m_editor; }

  protected:
    // Whether a contact is shown by this editor at all.
    virtual bool Shows(const ContactRecord& record) const = 0;
    // Checks before a move adds rows (false: nothing happens) and before each added row (false:
    // the move ends), given the number of members.
    virtual bool MayStartAdding(int /*members*/) { return true; }
    virtual bool MayAddAnother(int /*members*/) { return true; }
    // The refresh notice sent after each stored change.
    virtual ChangeNotice RefreshNotice() const = 0;
    int MemberCount() const;
    int ShowMessage(int messageId, int style);

  private:
    void Move(const std::vector<int>& indexes, bool add);
    void ShowRows();

    Form m_form;
    CTwoListEditor* m_editor = nullptr;
    std::unique_ptr<CContactTable> m_table;
};
