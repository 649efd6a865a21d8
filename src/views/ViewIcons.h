#pragma once

#include <QIcon>

// The icons of the views' add and delete buttons: the desktop theme's, else the style's.
namespace ViewIcons {
QIcon Add();
QIcon Delete();
}  // namespace ViewIcons
