#include "CContactsView.h"

#include <QLabel>
#include <QLineEdit>

#include "CQMVVLTException.h"
#include "MessageId.h"
#include "StringTable.h"

CContactsView::CContactsView(IViewHost& host, QWidget* parent)
    : CBaseView(host, "CContactsView", "Contacts", parent) {
    SetCaption(kCaption, QString::fromStdString(LoadString(MessageId::kContactsLabel)));
    for (int i = 0; i < static_cast<int>(m_values.size()); ++i) {
        m_values[static_cast<std::size_t>(i)] = NewReadOnlyEdit(kMaxContacts + i);
        AddRow(NewLabel(kFirstLabel + i,
                        QString::fromStdString(LoadString(MessageId::kMaximumContacts + i))),
               m_values[static_cast<std::size_t>(i)]);
    }
}

void CContactsView::LoadData() {
    try {
        const CDataItem root = RootItem();
        const CDataItem limit = root.GetChildByName("limit");
        const CDataItem contacts = root.GetChildByName("Contacts");
        const auto limitText = [&](const char* name) {
            return ScriptToText(limit.GetAttributeValue(name));
        };
        const int privateGroups = contacts.GetChildByName("PrivateGroups").GetChildCount();
        const int publicGroups = contacts.GetChildByName("PublicGroups").GetChildCount();
        const int privates = contacts.GetChildByName("Privates").GetChildCount();
        // The radio has one pool of contacts: privates may take all of it.
        const std::array<std::string, 8> values = {
            limitText("max_num_of_contacts"),
            limitText("max_num_of_private_grps"),
            limitText("max_num_of_public_grps"),
            limitText("max_num_of_contacts"),
            std::to_string(privateGroups + publicGroups + privates),
            std::to_string(privateGroups),
            std::to_string(publicGroups),
            std::to_string(privates),
        };
        for (std::size_t i = 0; i < values.size(); ++i) {
            m_values[i]->setText(QString::fromStdString(values[i]));
        }
    } catch (CQMVVLTException& e) {
        ThrowQMVVLT(MessageId::kProfileDataError, "CContactsView::LoadData", e.what());
    }
}
