#pragma once

#include <QIcon>

// The icons of the views' add and delete buttons: the desktop theme's, else the style's.
namespace ViewIcons {
// The tree's image numbers of the contacts.
inline constexpr int kPublicGroupImage = 6;
inline constexpr int kPrivateGroupImage = 8;
inline constexpr int kPrivateImage = 10;
inline constexpr int kOwnRadioImage = 11;

QIcon Add();
QIcon Delete();
// A contact's picture by its image number.
const QIcon& ContactImage(int image);
}  // namespace ViewIcons
