#include "ViewIcons.h"

#include <QApplication>
#include <QStyle>

namespace ViewIcons {

QIcon Add() {
    return QIcon::fromTheme("list-add",
                            QApplication::style()->standardIcon(QStyle::SP_FileDialogNewFolder));
}

QIcon Delete() {
    return QIcon::fromTheme("list-remove",
                            QApplication::style()->standardIcon(QStyle::SP_TrashIcon));
}

}  // namespace ViewIcons
