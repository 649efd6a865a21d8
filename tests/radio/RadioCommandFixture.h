#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <deque>
#include <filesystem>
#include <functional>

#include "CAppSettings.h"
#include "CQMVVLTDoc.h"
#include "CRadioCommandChain.h"
#include "LoadSettingDoc.h"
#include "TestInstall.h"
#include "TransferFixture.h"
#include "Utility.h"

// Answers the chain from a script, running each operation on a worker as the program does.
class CScriptedRadioUi : public IRadioCommandUi {
  public:
    explicit CScriptedRadioUi(CTransferContext& context) : m_context(context) {}

    int RunOperation(RadioOperation which, const std::function<int()>& operation) override {
        kinds.push_back(which);
        if (beforeOperation) {
            beforeOperation(which);
        }
        int code = 0;
        CTransferWorker worker([&] { code = operation(); });
        worker.Start();
        worker.Wait();
        ++operations;
        return code;
    }
    bool AskYesNo(int messageId) override {
        asked.push_back(messageId);
        return yes;
    }
    std::optional<std::string> AskPassword() override {
        ++passwordPrompts;
        if (passwords.empty()) {
            return std::nullopt;
        }
        std::string next = passwords.front();
        passwords.pop_front();
        return next;
    }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    void ShowNote(const std::string& text) override { notes.push_back(text); }
    bool ShowModifiedBandNotice() override {
        ++notices;
        return tickDontShowAgain;
    }

    bool yes = true;
    bool tickDontShowAgain = false;
    std::deque<std::string> passwords;
    std::vector<int> asked;
    std::vector<std::string> messages;
    std::vector<std::string> notes;
    // Called as each operation is about to start.
    std::function<void(RadioOperation)> beforeOperation;
    int passwordPrompts = 0;
    int notices = 0;
    int operations = 0;
    std::vector<RadioOperation> kinds;

  private:
    CTransferContext& m_context;
};

inline CVirtualCodeplug RadioImage(int firmwareVersion, const std::u16string& password,
                                   std::uint8_t clone = 10) {
    CVirtualCodeplug image = CVirtualRadio::DefaultImage();
    image.version.firmware_version = static_cast<std::int8_t>(firmwareVersion);
    image.settings.password = password;
    image.limits.clone_compatibility_version = clone;
    return image;
}

class RadioCommands : public ::testing::Test {
  protected:
    RadioCommands()
        : m_settings(LoadSettingDocFile(TestInstallFolder() / "lib/UpDownGradeSetting.stv")) {
        Utility::SetConfigFolder(TestInstallFolder() / ("config-" + std::to_string(getpid())));
    }
    ~RadioCommands() override { Utility::SetConfigFolder(std::nullopt); }

    struct Setup {
        Setup(CVirtualCodeplug image, const CUpDownGradeSetting& settings, CSimFaults faults = {})
            : bench(std::move(image), faults),
              ui(bench.context),
              chain(bench.context, settings, ui) {}
        CTransferBench bench;
        CScriptedRadioUi ui;
        CRadioCommandChain chain;
    };

    CUpDownGradeSetting m_settings;
};

// The sample profile, opened as the desktop program opens it.
struct SampleDocument {
    SampleDocument()
        : app(CHelpPaneSetting(LoadSettingDocFile(TestInstallFolder() / "lib/HelpPane.stv")),
              CRegionSetting(LoadSettingDocFile(TestInstallFolder() / "lib/Region.stv")),
              CUpDownGradeSetting(
                  LoadSettingDocFile(TestInstallFolder() / "lib/UpDownGradeSetting.stv"))),
          doc(app, TestInstallFolder(), ui) {
        EXPECT_TRUE(
            doc.Open(std::filesystem::path(QMVVLT_SOURCE_DATA_DIR) / "samples/SampleProfile.xml"));
    }
    struct CNoUi : IDocumentUi {
        bool AskYesNo(int) override { return false; }
        void ShowError(int, const std::string&) override {}
    } ui;
    CAppSettings app;
    CQMVVLTDoc doc;
};
