#include "CQMVVLTApp.h"

#include "AppStartup.h"
#include "CAppSettings.h"
#include "IAppUi.h"
#include "MessageId.h"
#include "MessageStyle.h"
#include "StringTable.h"
#include "Utility.h"

namespace {
constexpr const char* kBuiltInLanguage = "English";
}  // namespace

void CQMVVLTApp::ChooseLanguage(IAppUi& ui) {
    const std::string language = Utility::GetCurrentLanguage();
    if (language.empty() || language == kBuiltInLanguage) {
        return;
    }
    const std::string file = Utility::GetResourceLibraryPath();
    if (!file.empty() && CStringTable::Instance().LoadLanguageFile(file)) {
        return;
    }
    Utility::SetCurrentLanguage(kBuiltInLanguage);
    ui.Inform(MessageId::kLanguageFileMissing);
}

std::unique_ptr<CAppSettings> CQMVVLTApp::Start(IAppUi& ui) {
    // The bootstrap comes first so the language is known before any other message is shown.
    const BootstrapResult bootstrap = Utility::Bootstrap();
    if (!bootstrap.ok) {
        if (bootstrap.messageId != 0) {
            ui.Inform(bootstrap.messageId);
        }
        return nullptr;
    }
    ChooseLanguage(ui);
    StartupResult result = RunStartup();
    if (result.Ok()) {
        return std::move(result.settings);
    }
    if (result.messageId != 0) {
        ui.Inform(result.messageId, result.detail);
    } else if (!result.detail.empty()) {
        // A broken group settings merge is shown by its trace.
        ui.ShowMessage(result.detail, MessageStyle::kOk);
    }
    return nullptr;
}
