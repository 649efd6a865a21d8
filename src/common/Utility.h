#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// The user's dealer texts of one language.
struct DealerTexts {
    std::string dealerInfo;
    std::string contactInfo;
    std::string dealerNotes;
};

// Where the two scopes of the configuration store live.
struct ConfigStoreFiles {
    std::filesystem::path user;
    std::filesystem::path machine;
};

// Result of the start-up bootstrap: ok, or the message to show (0 for none) before stopping.
struct BootstrapResult {
    bool ok = false;
    int messageId = 0;
};

// The configuration accessors over the two scopes of the configuration store (CIniFile each):
// the user scope holds what the user changes, the machine scope what the installer wrote. Every
// accessor reads or writes one value and keeps nothing: another process's change is seen at once.
// Texts are UTF-8. A read failure counts as an absent value; a failed write returns false and
// leaves the stored value as it was.
//
// A stored text longer than its read capacity (characters including the terminator) is treated
// as absent: a truncated install path or language key would silently name the wrong thing.
class Utility {
  public:
    static constexpr std::size_t kLanguageCapacity = 50;
    static constexpr std::size_t kInstallPathCapacity = 512;
    static constexpr std::size_t kLanguageFileCapacity = 1024;
    static constexpr std::size_t kDealerDefaultCapacity = 512;

    // --- where the store is -------------------------------------------------------------------
    // Points both scopes at one folder ("user.ini" and "machine.ini"); nothing restores the
    // standard locations. Without it, the environment variable QMVVLT_CONFIG_DIR does the same.
    // A folder without "machine.ini" uses the default machine scope of this build or install.
    static void SetConfigFolder(std::optional<std::filesystem::path> folder);
    // Overrides InstallPath (the --install option); QMVVLT_INSTALL_DIR does the same.
    static void SetInstallPathOverride(std::optional<std::filesystem::path> folder);
    static ConfigStoreFiles StoreFiles();
    // The data folder found beside the program (installed tree) or in the source tree it was
    // built from; empty when neither exists.
    static std::filesystem::path DiscoverDataFolder();

    // The user's data folder (backups, wire traces): the configuration folder when one is set
    // (SetConfigFolder, QMVVLT_CONFIG_DIR), else "Varentis Solutions/QMV410 VLT" under
    // XDG_DATA_HOME or ~/.local/share.
    static std::filesystem::path UserDataFolder();

    // --- product key values -------------------------------------------------------------------
    static std::string GetCurrentLanguage();
    static bool SetCurrentLanguage(std::string_view language);
    static std::string GetDefaultLanguage();
    // InstallPath of the machine scope; the override wins, and an absent value falls back to
    // DiscoverDataFolder() so that a fresh build needs no manual configuration.
    static std::string GetInstallPath();
    static bool EnsureKeys();
    static void EnsureComPort();
    static std::string GetCurrentComPort();
    static bool SetCurrentComPort(std::string_view port);
    // 32-bit values: -1 when absent.
    static int GetAutoDetect();
    static bool SetAutoDetect(int value);
    static int GetContextHelpFlag();
    static bool SetContextHelpFlag(int value);
    static int GetRegionalizationPromptFlag();
    // Writes 1 for any non-zero value.
    static bool SetRegionalizationPromptFlag(int value);
    static void SeedRegionalizationPrompt();
    // Dealer tools, each off unless set to a non-zero value: read and save each radio before it
    // is written, read each radio back after it was written, record a wire trace.
    static bool GetBackupBeforeWrite();
    static bool SetBackupBeforeWrite(bool on);
    static bool GetVerifyAfterWrite();
    static bool SetVerifyAfterWrite(bool on);
    static bool GetWireTrace();
    static bool SetWireTrace(bool on);
    // The shared register of radio operations (a PostgreSQL address); empty: the register stays
    // on this computer.
    static std::string GetRegisterUrl();
    static bool SetRegisterUrl(std::string_view url);

    // --- language subkeys ---------------------------------------------------------------------
    // InstallPath joined with HelpFileName / GUIResource of the current language; empty when the
    // language is empty or the value absent.
    static std::string GetHelpFilePath();
    static std::string GetResourceLibraryPath();
    // The same for the help file of a given language.
    static std::string GetHelpFilePathOf(std::string_view language);
    static void SeedDealerInformation();
    static bool ReadDealerInformation(DealerTexts& texts);
    // The dealer dialog's OK: 0 on success, else the message to show (10117 when the user scope
    // cannot be opened, 10118 when the write fails).
    static int WriteDealerInformation(const DealerTexts& texts);

    // Start-up bootstrap; on failure the caller shows messageId (when not 0) and stops.
    static BootstrapResult Bootstrap();

    // Registry-style names of the store, shared with the tools that show it.
    static constexpr std::string_view kProductKey = "Software\\Varentis Solutions\\QMV410 VLT";
    static std::string LanguageKey(std::string_view language);
};
