#pragma once

#include <memory>

class CAppSettings;
class IAppUi;

// The start-up sequence before any main window: the configuration bootstrap, the language the
// configuration chooses, and the installation checks. Each failure is shown through the UI.
class CQMVVLTApp {
  public:
    // The application's settings, or nothing when start-up must stop (after its message).
    static std::unique_ptr<CAppSettings> Start(IAppUi& ui);
    // Loads the language file of the current language; a missing or broken one switches the
    // configuration back to English and says so (kLanguageFileMissing).
    static void ChooseLanguage(IAppUi& ui);
};
