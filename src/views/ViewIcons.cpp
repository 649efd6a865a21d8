#include "ViewIcons.h"

#include <QApplication>
#include <QStyle>
#include <map>

namespace ViewIcons {

QIcon Add() {
    return QIcon::fromTheme("list-add",
                            QApplication::style()->standardIcon(QStyle::SP_FileDialogNewFolder));
}

QIcon Delete() {
    return QIcon::fromTheme("list-remove",
                            QApplication::style()->standardIcon(QStyle::SP_TrashIcon));
}

const QIcon& ContactImage(int image) {
    // Icons decode their pictures when made: long lists share one per image.
    static std::map<int, QIcon> icons;
    auto it = icons.find(image);
    if (it == icons.end()) {
        QStyle* style = QApplication::style();
        it = icons
                 .emplace(image,
                          style->standardIcon(image == kOwnRadioImage ? QStyle::SP_DriveNetIcon
                                                                      : QStyle::SP_FileLinkIcon))
                 .first;
    }
    return it->second;
}

}  // namespace ViewIcons
