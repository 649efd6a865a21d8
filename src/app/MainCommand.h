#pragma once

// Command ids of the main window's menus and toolbar (each action's "ctrlId").
namespace MainCommand {
enum Id : int {
    kNew = 57600,
    kOpen = 57601,
    kClose = 57602,
    kSave = 57603,
    kSaveAs = 57604,
    kExit = 57665,
    kUndo = 57643,
    kRedo = 57644,
    kFind = 57636,
    kAdd = 32771,
    kScanAdd = 32802,
    kCut = 57635,
    kCopy = 57634,
    kPaste = 57637,
    kDelete = 32772,
    kRename = 32773,
    kDealerInfo = 32774,
    kPreference = 32775,
    kHelpPane = 220,
    kToolbar = 59392,
    kStatusBar = 59393,
    kRead = 32776,
    kWrite = 32777,
    kReset = 32778,
    kOpenBackupFolder = 32790,
    kReport = 32779,
    kCascade = 57650,
    kTile = 57651,
    kTabbed = 31000,
    kHelpContents = 32780,
    kAbout = 57664,
    kImportContacts = 34440,
    kExportContacts = 34441,
    kCompareWithRadio = 34442,
    kRegister = 34445,
    kProgrammingStation = 34446,
};

}  // namespace MainCommand
