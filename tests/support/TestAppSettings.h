#pragma once

#include <gtest/gtest.h>

#include <string>

#include "CAppSettings.h"
#include "IDocumentUi.h"
#include "LoadSettingDoc.h"
#include "TestInstall.h"

// The application's settings as the program loads them, from the test program's copy of the
// data folder.
inline CAppSettings TestAppSettings() {
    return CAppSettings(
        CHelpPaneSetting(LoadSettingDocFile(TestInstallFolder() / "lib/HelpPane.stv")),
        CRegionSetting(LoadSettingDocFile(TestInstallFolder() / "lib/Region.stv")),
        CUpDownGradeSetting(
            LoadSettingDocFile(TestInstallFolder() / "lib/UpDownGradeSetting.stv")));
}

// A document's questions answered No; an error it reports fails the test.
class CNoQuestionsUi : public IDocumentUi {
  public:
    bool AskYesNo(int) override { return false; }
    void ShowError(int messageId, const std::string& detail) override {
        ADD_FAILURE() << messageId << " " << detail;
    }
};
