#include "CContactListView.h"

#include <QLabel>
#include <QPushButton>

#include "CQMVVLTException.h"
#include "MessageId.h"
#include "NodeKind.h"
#include "StringTable.h"
#include "ViewIcons.h"

namespace {
QString Text(int id) {
    return QString::fromStdString(LoadString(id));
}
}  // namespace

CContactListView::CContactListView(IViewHost& host, std::string className, std::string resourceKey,
                                   int captionTextId, const char* listName,
                                   const std::vector<AddButton>& buttons, QWidget* parent)
    : CBaseView(host, std::move(className), std::move(resourceKey), parent), m_listName(listName) {
    SetCaption(kCaption, Text(captionTextId));
    KeepShown(kCaption);
    for (const AddButton& spec : buttons) {
        auto* button = Register(spec.buttonId, new QPushButton(ViewIcons::Add(), QString(), this));
        const ChangeNotice notice{NoticeAction::kAdd, spec.noticeKind};
        connect(button, &QPushButton::clicked, this,
                [this, notice] { m_host.NotifyAllViews(notice); });
        AddRow(NewLabel(spec.labelId, Text(spec.textId)), button);
        m_buttons.push_back(button);
    }
}

void CContactListView::LoadData() {
    try {
        const bool canAdd =
            RootItem().GetChildByName("Contacts").GetChildByName(m_listName).CanAddChild();
        for (QPushButton* button : m_buttons) {
            button->setEnabled(canAdd);
        }
    } catch (CQMVVLTException& e) {
        ThrowQMVVLT(MessageId::kProfileDataError, "CContactListView::LoadData", e.what());
    }
}
