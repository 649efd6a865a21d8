#include "CommandEnabling.h"

#include <QAction>
#include <QMenu>

#include "CChildFrame.h"
#include "CMainMenus.h"
#include "CProfileUndoStack.h"
#include "DialogText.h"
#include "MainCommand.h"

using namespace MainCommand;

namespace {

// Undo and Redo: enabled, and named after their step, for the active window.
void NameUndoCommands(const CMainMenus& menus, const CChildFrame* frame) {
    const CProfileUndoStack* stack = frame ? &frame->UndoStack() : nullptr;
    const struct {
        int command;
        bool enabled;
        QString step;
        int plainText;
        int namedText;
    } commands[] = {
        {kUndo, stack && stack->CanUndo(), stack ? stack->UndoText() : QString(),
         MessageId::kUndoMenu, MessageId::kUndoNamedMenu},
        {kRedo, stack && stack->CanRedo(), stack ? stack->RedoText() : QString(),
         MessageId::kRedoMenu, MessageId::kRedoNamedMenu},
    };
    for (const auto& c : commands) {
        QAction* action = menus.Action(c.command);
        action->setEnabled(c.enabled);
        QString text = DialogText(c.plainText).section(QLatin1Char('\t'), 0, 0);
        if (c.enabled && !c.step.isEmpty()) {
            // A name's "&" is shown, not taken for a mnemonic.
            QString step = c.step;
            step.replace(QLatin1Char('&'), QLatin1String("&&"));
            text = QString::fromStdString(
                CStringTable::Instance().Format(c.namedText, {step.toStdString()}));
        }
        action->setText(text);
    }
}

}  // namespace

void EnableCommands(const CMainMenus& menus, const CommandConditions& now) {
    const bool hasFrame = now.frame != nullptr;
    const bool idle = now.radioIdle;
    const CCommandState node = hasFrame ? now.frame->CommandState() : CCommandState();
    // One radio command at a time; nor may anything close, replace or re-read what it works on,
    // or change the language of the texts it shows.
    const struct {
        int command;
        bool enabled;
    } table[] = {
        {kNew, idle},
        {kOpen, idle},
        {kClose, hasFrame && idle},
        {kSave, hasFrame},
        {kSaveAs, hasFrame},
        {kImportContacts, hasFrame},
        {kExportContacts, hasFrame},
        {kExit, idle},
        {kFind, hasFrame},
        {kAdd, hasFrame && node.CanAdd()},
        {kScanAdd, hasFrame && node.CanScanAdd()},
        {kCut, now.edit.cut},
        {kCopy, now.edit.copy},
        {kPaste, now.edit.paste},
        {kDelete, now.edit.editFocused ? now.edit.clear : hasFrame && node.CanDelete()},
        {kRename, hasFrame && node.CanRename()},
        {kPreference, idle},
        {kRead, idle},
        {kWrite, hasFrame && idle},
        {kReset, idle},
        {kCompareWithRadio, hasFrame && idle},
        {kProgrammingStation, hasFrame},
        {kReport, hasFrame && idle},
    };
    for (const auto& row : table) {
        menus.Action(row.command)->setEnabled(row.enabled);
    }
    NameUndoCommands(menus, now.frame);
    menus.RecentMenu()->setEnabled(idle && !menus.RecentMenu()->isEmpty());
    if (QMenu* languages = menus.LanguageMenu()) {
        languages->setEnabled(idle);
    }
    menus.Action(kHelpPane)->setVisible(now.anyFrame);
    menus.ReportMenu()->setVisible(now.anyFrame);
    menus.WindowMenu()->setVisible(now.anyFrame);
}
