#pragma once

#include "CEditCommandRouter.h"

class CChildFrame;
class CMainMenus;

// What the main window's commands depend on at one moment.
struct CommandConditions {
    const CChildFrame* frame = nullptr;  // the active profile window
    bool anyFrame = false;               // a profile window is open
    bool radioIdle = true;               // no radio command runs
    EditCommandState edit;               // what the focused edit box allows
};

// Enables the commands for now, names Undo and Redo after their steps, and shows the menus that
// need an open profile.
void EnableCommands(const CMainMenus& menus, const CommandConditions& now);
