#include "CListEditorView.h"

#include <QLabel>
#include <QListView>
#include <QPushButton>

#include "CQMVVLTException.h"
#include "CTwoListEditor.h"
#include "IViewUi.h"
#include "MessageId.h"
#include "MessageStyle.h"
#include "StringTable.h"

CListEditorView::CListEditorView(IViewHost& host, std::string className, std::string resourceKey,
                                 const Form& form, QWidget* parent)
    : CBaseView(host, std::move(className), std::move(resourceKey), parent), m_form(form) {
    m_editor = new CTwoListEditor(form.availableLabelText, form.membersLabelText, this);
    m_editor->SetButtonIds(form.addButton, form.removeButton, form.availableList, form.membersList);
    Register(form.availableList, m_editor->AvailableList());
    Register(form.membersList, m_editor->MembersList());
    Register(form.addButton, m_editor->AddButton());
    Register(form.removeButton, m_editor->RemoveButton());
    Register(form.availableLabel, m_editor->AvailableLabel());
    Register(form.membersLabel, m_editor->MembersLabel());
    AddRow(nullptr, m_editor);
    connect(m_editor, &CTwoListEditor::addRequested, this,
            [this](std::vector<int> indexes) { Move(indexes, true); });
    connect(m_editor, &CTwoListEditor::removeRequested, this,
            [this](std::vector<int> indexes) { Move(indexes, false); });
}

CListEditorView::~CListEditorView() = default;

void CListEditorView::LoadData() {
    try {
        m_table = std::make_unique<CContactTable>(RootItem());
        for (ContactRecord& record : m_table->Records()) {
            if (Shows(record)) {
                record.member =
                    ScriptToBool(m_table->ItemOf(record).GetAttributeValue(m_form.flag));
            }
        }
    } catch (CQMVVLTException& e) {
        // The profile lacks a list or an attribute the editor stands on.
        ThrowQMVVLT(MessageId::kProfileDataError, "CListEditorView::LoadData", e.what());
    }
    ShowRows();
}

int CListEditorView::MemberCount() const {
    int count = 0;
    for (const ContactRecord& record : m_table->Records()) {
        count += Shows(record) && record.member ? 1 : 0;
    }
    return count;
}

int CListEditorView::ShowMessage(int messageId, int style) {
    return m_host.Ui().ShowMessage(LoadString(messageId), style);
}

void CListEditorView::Move(const std::vector<int>& indexes, bool add) {
    if (add && !MayStartAdding(MemberCount())) {
        return;
    }
    bool changed = false;
    try {
        for (int index : indexes) {
            if (add && !MayAddAnother(MemberCount())) {
                break;
            }
            ContactRecord& record = m_table->At(index);
            const RuleResult stored = m_table->ItemOf(record).SetAttributeValue(m_form.flag, add);
            if (stored.result == 0) {
                record.member = add;
                changed = true;
            } else if (stored.result == 1) {
                ShowMessage(stored.messageId, MessageStyle::kOk);
            } else {
                break;
            }
        }
    } catch (const CQMVVLTException& e) {
        m_host.ReportFailure(e);
    }
    if (changed) {
        // One notice for the whole move: relabelling the tree node is costly, and its count is
        // only read once the move is done.
        m_host.NotifyAllViews(RefreshNotice());
        m_host.MarkModified();
    }
    ShowRows();
}

void CListEditorView::ShowRows() {
    auto [available, members] = m_table->Rows([this](const ContactRecord& r) { return Shows(r); });
    m_editor->SetRows(std::move(available), std::move(members));
}
