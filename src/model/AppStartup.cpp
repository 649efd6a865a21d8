#include "AppStartup.h"

#include "CQMVVLTException.h"
#include "CScriptEngine.h"
#include "LoadSettingDoc.h"
#include "MessageId.h"
#include "Utility.h"

StartupResult RunStartup() {
    StartupResult result;
    const BootstrapResult bootstrap = Utility::Bootstrap();
    if (!bootstrap.ok) {
        result.messageId = bootstrap.messageId;
        result.detail = "configuration store: " + Utility::StoreFiles().user.string();
        return result;
    }
    if (!CScriptEngine::IsAvailable()) {
        result.messageId = MessageId::kNeedsScriptEngine;
        return result;
    }
    std::unique_ptr<CAppSettings> settings;
    try {
        settings = std::make_unique<CAppSettings>(CAppSettings::Load());
    } catch (const CQMVVLTException& e) {
        result.messageId = e.Code();
        result.detail = e.Trace();
        return result;
    }
    const std::string expected = ExpectedRegion(kApplicationName);
    if (settings->RegionName() != expected) {
        result.messageId = MessageId::kFilesNotAvailable;
        result.detail = "Region.stv declares \"" + settings->RegionName() +
                        "\"; this build serves \"" + expected + "\"";
        return result;
    }
    std::string trace;
    if (!settings->BuildGroupSettings(kLatestModelGroup, &trace)) {
        result.detail = trace;
        return result;
    }
    result.settings = std::move(settings);
    return result;
}
