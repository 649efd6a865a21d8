#include "CQMVVLTApp.h"

#include "AppStartup.h"
#include "CAppSettings.h"
#include "IAppUi.h"
#include "LanguageResources.h"
#include "MessageId.h"
#include "MessageStyle.h"
#include "QtTranslation.h"
#include "Utility.h"

void CQMVVLTApp::ChooseLanguage(IAppUi& ui) {
    switch (LoadCurrentLanguageTexts()) {
        case LanguageLoad::kBuiltIn:
            break;
        case LanguageLoad::kLoaded:
            QtTranslation::Install(Utility::GetCurrentLanguage());
            break;
        case LanguageLoad::kMissing:
            Utility::SetCurrentLanguage(kBuiltInLanguage);
            ui.Inform(MessageId::kLanguageFileMissing);
            break;
    }
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
