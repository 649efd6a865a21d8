#include "TreeFilter.h"

#include <QTreeWidgetItemIterator>
#include <vector>

#include "CQMVVLTTreeView.h"
#include "Collation.h"
#include "NodeKind.h"
#include "TextCodec.h"

namespace {

void ShowWithParents(QTreeWidgetItem* item, bool expand) {
    for (QTreeWidgetItem* node = item; node; node = node->parent()) {
        node->setHidden(false);
        if (expand && node != item) {
            node->setExpanded(true);
        }
    }
}

}  // namespace

int FilterProfileTree(CQMVVLTTreeView& tree, const QString& text) {
    const bool all = text.isEmpty();
    for (QTreeWidgetItemIterator it(&tree); *it; ++it) {
        if ((*it)->isHidden() != !all) {
            (*it)->setHidden(!all);
        }
    }
    if (all) {
        return 0;
    }
    const std::u16string part = text.toStdU16String();
    int matches = 0;
    for (const NodeKind listKind :
         {kKindPrivates, kKindPrivateGroups, kKindPublicGroups, kKindTextMessages}) {
        QTreeWidgetItem* node = tree.ListNode(listKind);
        if (!node) {
            continue;
        }
        const CDataItem list = tree.ListItem(listKind);
        static const std::vector<const char*> kMessageFields = {"txt"};
        static const std::vector<const char*> kContactFields = {"name", "pid"};
        const auto& fields = listKind == kKindTextMessages ? kMessageFields : kContactFields;
        for (int i = 0; i < node->childCount(); ++i) {
            QTreeWidgetItem* child = node->child(i);
            const CDataItem member = list.GetChildByIndex(CQMVVLTTreeView::PositionOf(child));
            if (member.IsEmpty()) {
                continue;
            }
            for (const char* field : fields) {
                if (ContainsContactText(Utf8ToUtf16(ScriptToText(member.GetAttributeValue(field))),
                                        part)) {
                    ShowWithParents(child, true);
                    ++matches;
                    break;
                }
            }
        }
    }
    ShowWithParents(tree.currentItem(), false);
    return matches;
}
