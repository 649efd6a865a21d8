#include "Utility.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <system_error>

#include "CIniFile.h"
#include "MessageId.h"
#include "TextCodec.h"

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kCompanyKey = "Software\\Varentis Solutions";
constexpr std::string_view kDefaultComPort = "COM1";

std::mutex g_mutex;
std::optional<fs::path> g_configFolder;
std::optional<fs::path> g_installOverride;

std::optional<fs::path> EnvPath(const char* name) {
    const char* value = std::getenv(name);
    if (value && *value) {
        return fs::path(value);
    }
    return std::nullopt;
}

// The configuration folder set by --config, else by QMVVLT_CONFIG_DIR; none means the defaults.
std::optional<fs::path> ConfiguredFolder() {
    {
        std::lock_guard lock(g_mutex);
        if (g_configFolder) {
            return g_configFolder;
        }
    }
    return EnvPath("QMVVLT_CONFIG_DIR");
}

fs::path ExecutablePath() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path() : exe;
}

bool IsInside(const fs::path& path, const fs::path& folder) {
    const std::string p = path.lexically_normal().string();
    const std::string f = folder.lexically_normal().string();
    return !f.empty() && p.size() > f.size() && p.compare(0, f.size(), f) == 0 &&
           (p[f.size()] == '/' || f.back() == '/');
}

bool Exists(const fs::path& path) {
    std::error_code ec;
    return !path.empty() && fs::exists(path, ec);
}

// The installation prefix when the program runs from an installed tree (bin/ below it).
fs::path InstalledPrefix() {
    const fs::path exe = ExecutablePath();
    if (exe.empty() || IsInside(exe, QMVVLT_BUILD_DIR)) {
        return {};
    }
    return exe.parent_path().parent_path();
}

fs::path DefaultMachineFile() {
    const fs::path prefix = InstalledPrefix();
    if (prefix.empty()) {
        if (Exists(QMVVLT_BUILD_MACHINE_CONFIG)) {
            return QMVVLT_BUILD_MACHINE_CONFIG;
        }
    } else {
        // Under /usr (a distribution package) the configuration lives in /etc, whatever prefix
        // the build was configured for.
        const fs::path etc = prefix == "/usr" ? fs::path("/etc") : prefix / QMVVLT_SYSCONF_REL;
        const fs::path installed = etc / "qmvvlt" / "machine.ini";
        if (Exists(installed)) {
            return installed;
        }
    }
    const fs::path system = fs::path(QMVVLT_FULL_SYSCONF) / "qmvvlt" / "machine.ini";
    if (Exists(system)) {
        return system;
    }
    return "/etc/xdg/Varentis Solutions/QMV410 VLT.ini";
}

fs::path DefaultUserFile() {
    fs::path base;
    if (auto xdg = EnvPath("XDG_CONFIG_HOME")) {
        base = *xdg;
    } else if (auto home = EnvPath("HOME")) {
        base = *home / ".config";
    } else {
        base = fs::temp_directory_path();
    }
    return base / "Varentis Solutions" / "QMV410 VLT.ini";
}

// Length in UTF-16 code units, as the capacities count characters.
bool FitsCapacity(std::string_view text, std::size_t capacity) {
    return Utf8ToUtf16(text).size() + 1 <= capacity;
}

std::optional<std::string> ReadValue(const fs::path& file, std::string_view key,
                                     std::string_view name, std::size_t capacity = 0) {
    const std::optional<CIniFile> ini = CIniFile::Read(file);
    if (!ini) {
        return std::nullopt;
    }
    std::optional<std::string> value = ini->Get(key, name);
    if (value && capacity && !FitsCapacity(*value, capacity)) {
        return std::nullopt;
    }
    return value;
}

// A plain string value ends at its first NUL, as a registry string read into a buffer does.
std::string UpToNul(std::string text) {
    const std::size_t nul = text.find('\0');
    if (nul != std::string::npos) {
        text.resize(nul);
    }
    return text;
}

std::optional<int> ParseDword(const std::string& text) {
    if (text.empty()) {
        return std::nullopt;
    }
    char* end = nullptr;
    errno = 0;
    const long long v = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || v < INT32_MIN || v > UINT32_MAX) {
        return std::nullopt;
    }
    return static_cast<int>(static_cast<std::uint32_t>(v));
}

bool WriteValue(const fs::path& file, std::string_view key, std::string_view name,
                std::string_view value) {
    std::optional<CIniFile> ini = CIniFile::Read(file);
    if (!ini) {
        return false;  // never replace a file we could not read
    }
    ini->Set(key, name, value);
    return ini->Write(file);
}

int ReadDword(const fs::path& file, std::string_view name) {
    const auto text = ReadValue(file, Utility::kProductKey, name);
    const auto value = text ? ParseDword(*text) : std::nullopt;
    return value.value_or(-1);
}

bool WriteDword(const fs::path& file, std::string_view name, int value) {
    return WriteValue(file, Utility::kProductKey, name, std::to_string(value));
}

// A language names a subkey: it must be a single key name that fits its capacity.
bool IsValidLanguage(std::string_view language) {
    if (language.empty() || !FitsCapacity(language, Utility::kLanguageCapacity)) {
        return false;
    }
    for (char c : language) {
        if (static_cast<unsigned char>(c) < 0x20 || c == '\\' || c == '[' || c == ']') {
            return false;
        }
    }
    return true;
}

std::string LanguageFilePath(std::string_view language, std::string_view valueName) {
    if (language.empty()) {
        return {};
    }
    const auto value = ReadValue(Utility::StoreFiles().machine, Utility::LanguageKey(language),
                                 valueName, Utility::kLanguageFileCapacity);
    if (!value || UpToNul(*value).empty()) {
        return {};
    }
    return (fs::path(Utility::GetInstallPath()) / UpToNul(*value)).string();
}

constexpr std::string_view kDealerNames[3] = {"DealerInfo", "ContactInfo", "DealerNotes"};

}  // namespace

void Utility::SetConfigFolder(std::optional<fs::path> folder) {
    std::lock_guard lock(g_mutex);
    g_configFolder = std::move(folder);
}

void Utility::SetInstallPathOverride(std::optional<fs::path> folder) {
    std::lock_guard lock(g_mutex);
    g_installOverride = std::move(folder);
}

ConfigStoreFiles Utility::StoreFiles() {
    if (const std::optional<fs::path> folder = ConfiguredFolder()) {
        const fs::path machine = *folder / "machine.ini";
        return {*folder / "user.ini", Exists(machine) ? machine : DefaultMachineFile()};
    }
    return {DefaultUserFile(), DefaultMachineFile()};
}

fs::path Utility::UserDataFolder() {
    if (const std::optional<fs::path> folder = ConfiguredFolder()) {
        return *folder;
    }
    fs::path base;
    if (auto xdg = EnvPath("XDG_DATA_HOME")) {
        base = *xdg;
    } else if (auto home = EnvPath("HOME")) {
        base = *home / ".local" / "share";
    } else {
        base = fs::temp_directory_path();
    }
    return base / "Varentis Solutions" / "QMV410 VLT";
}

fs::path Utility::DiscoverDataFolder() {
    const fs::path prefix = InstalledPrefix();
    if (!prefix.empty() && Exists(prefix / QMVVLT_DATA_REL / "lib")) {
        return prefix / QMVVLT_DATA_REL;
    }
    if (Exists(fs::path(QMVVLT_BUILD_DATA_DIR) / "lib")) {
        return QMVVLT_BUILD_DATA_DIR;
    }
    return {};
}

std::string Utility::LanguageKey(std::string_view language) {
    return std::string(kProductKey) + "\\Language\\" + std::string(language);
}

std::string Utility::GetCurrentLanguage() {
    const auto value =
        ReadValue(StoreFiles().user, kProductKey, "CurrentLanguage", kLanguageCapacity);
    return value ? UpToNul(*value) : std::string();
}

bool Utility::SetCurrentLanguage(std::string_view language) {
    return IsValidLanguage(language) &&
           WriteValue(StoreFiles().user, kProductKey, "CurrentLanguage", language);
}

std::string Utility::GetDefaultLanguage() {
    const auto value =
        ReadValue(StoreFiles().machine, kProductKey, "DefaultLanguage", kLanguageCapacity);
    return value ? UpToNul(*value) : std::string();
}

std::string Utility::GetInstallPath() {
    {
        std::lock_guard lock(g_mutex);
        if (g_installOverride) {
            return g_installOverride->string();
        }
    }
    if (auto env = EnvPath("QMVVLT_INSTALL_DIR")) {
        return env->string();
    }
    const auto value =
        ReadValue(StoreFiles().machine, kProductKey, "InstallPath", kInstallPathCapacity);
    if (value && !UpToNul(*value).empty()) {
        return UpToNul(*value);
    }
    return DiscoverDataFolder().string();
}

bool Utility::EnsureKeys() {
    const fs::path file = StoreFiles().user;
    std::optional<CIniFile> ini = CIniFile::Read(file);
    if (!ini) {
        return false;
    }
    const std::string languageKey = std::string(kProductKey) + "\\Language";
    if (ini->HasSection(kCompanyKey) && ini->HasSection(kProductKey) &&
        ini->HasSection(languageKey)) {
        return true;
    }
    ini->AddSection(kCompanyKey);
    ini->AddSection(kProductKey);
    ini->AddSection(languageKey);
    return ini->Write(file);
}

void Utility::EnsureComPort() {
    const fs::path file = StoreFiles().user;
    if (!ReadValue(file, kProductKey, "CurrentComPort")) {
        WriteValue(file, kProductKey, "CurrentComPort", kDefaultComPort);
    }
}

std::string Utility::GetCurrentComPort() {
    const auto value = ReadValue(StoreFiles().user, kProductKey, "CurrentComPort");
    return value ? UpToNul(*value) : std::string();
}

bool Utility::SetCurrentComPort(std::string_view port) {
    return WriteValue(StoreFiles().user, kProductKey, "CurrentComPort", port);
}

int Utility::GetAutoDetect() {
    return ReadDword(StoreFiles().user, "AutoDetect");
}

bool Utility::SetAutoDetect(int value) {
    return WriteDword(StoreFiles().user, "AutoDetect", value);
}

int Utility::GetContextHelpFlag() {
    return ReadDword(StoreFiles().user, "ShowContextHelp");
}

bool Utility::SetContextHelpFlag(int value) {
    return WriteDword(StoreFiles().user, "ShowContextHelp", value);
}

bool Utility::GetBackupBeforeWrite() {
    return ReadDword(StoreFiles().user, "BackupBeforeWrite") > 0;
}

bool Utility::SetBackupBeforeWrite(bool on) {
    return WriteDword(StoreFiles().user, "BackupBeforeWrite", on ? 1 : 0);
}

bool Utility::GetVerifyAfterWrite() {
    return ReadDword(StoreFiles().user, "VerifyAfterWrite") > 0;
}

bool Utility::SetVerifyAfterWrite(bool on) {
    return WriteDword(StoreFiles().user, "VerifyAfterWrite", on ? 1 : 0);
}

bool Utility::GetWireTrace() {
    return ReadDword(StoreFiles().user, "WireTrace") > 0;
}

bool Utility::SetWireTrace(bool on) {
    return WriteDword(StoreFiles().user, "WireTrace", on ? 1 : 0);
}

std::string Utility::GetRegisterUrl() {
    const auto value = ReadValue(StoreFiles().user, kProductKey, "RegisterUrl");
    return value ? UpToNul(*value) : std::string();
}

bool Utility::SetRegisterUrl(std::string_view url) {
    return WriteValue(StoreFiles().user, kProductKey, "RegisterUrl", url);
}

int Utility::GetRegionalizationPromptFlag() {
    return ReadDword(StoreFiles().user, "ShowRegionalizationPrompt");
}

bool Utility::SetRegionalizationPromptFlag(int value) {
    return WriteDword(StoreFiles().user, "ShowRegionalizationPrompt", value != 0 ? 1 : 0);
}

void Utility::SeedRegionalizationPrompt() {
    const ConfigStoreFiles files = StoreFiles();
    if (ReadDword(files.user, "ShowRegionalizationPrompt") != -1) {
        return;
    }
    const int machine = ReadDword(files.machine, "ShowRegionalizationPrompt");
    WriteDword(files.user, "ShowRegionalizationPrompt", machine == 0 ? 0 : 1);
}

std::string Utility::GetHelpFilePath() {
    return LanguageFilePath(GetCurrentLanguage(), "HelpFileName");
}

std::string Utility::GetHelpFilePathOf(std::string_view language) {
    return LanguageFilePath(language, "HelpFileName");
}

std::string Utility::GetResourceLibraryPath() {
    return LanguageFilePath(GetCurrentLanguage(), "GUIResource");
}

void Utility::SeedDealerInformation() {
    const std::string language = GetCurrentLanguage();
    if (!IsValidLanguage(language)) {
        return;
    }
    const ConfigStoreFiles files = StoreFiles();
    const std::string key = LanguageKey(language);
    std::optional<CIniFile> user = CIniFile::Read(files.user);
    if (!user) {
        return;
    }
    bool changed = !user->HasSection(key);
    user->AddSection(key);
    for (std::string_view name : kDealerNames) {
        if (user->Get(key, name)) {
            continue;
        }
        const auto def = ReadValue(files.machine, key, name, kDealerDefaultCapacity);
        user->Set(key, name, def ? UpToNul(*def) : std::string());
        changed = true;
    }
    if (changed) {
        user->Write(files.user);
    }
}

bool Utility::ReadDealerInformation(DealerTexts& texts) {
    const std::string language = GetCurrentLanguage();
    if (!IsValidLanguage(language)) {
        return false;
    }
    const std::optional<CIniFile> user = CIniFile::Read(StoreFiles().user);
    const std::string key = LanguageKey(language);
    if (!user || !user->HasSection(key)) {
        return false;
    }
    // Stored without a terminator; a multi-string's first entry ends at the first NUL.
    const auto info = user->Get(key, kDealerNames[0]);
    const auto contact = user->Get(key, kDealerNames[1]);
    const auto notes = user->Get(key, kDealerNames[2]);
    if (!info || !contact || !notes) {
        return false;
    }
    texts = {UpToNul(*info), UpToNul(*contact), UpToNul(*notes)};
    return true;
}

int Utility::WriteDealerInformation(const DealerTexts& texts) {
    const std::string language = GetCurrentLanguage();
    const fs::path file = StoreFiles().user;
    std::optional<CIniFile> user = CIniFile::Read(file);
    if (!IsValidLanguage(language) || !user) {
        return MessageId::kDealerReadFailed;
    }
    const std::string key = LanguageKey(language);
    user->Set(key, "DealerInfo", texts.dealerInfo);
    user->Set(key, "ContactInfo", texts.contactInfo);
    user->Set(key, "DealerNotes", texts.dealerNotes);
    return user->Write(file) ? 0 : MessageId::kDealerWriteFailed;
}

BootstrapResult Utility::Bootstrap() {
    if (!EnsureKeys()) {
        return {false, MessageId::kFatalRegistryError};
    }
    EnsureComPort();
    if (GetCurrentLanguage().empty()) {
        const std::string language = GetDefaultLanguage();
        if (language.empty()) {
            return {false, MessageId::kFatalRegistryError};
        }
        if (!SetCurrentLanguage(language)) {
            return {false, 0};
        }
    }
    SeedDealerInformation();
    SeedRegionalizationPrompt();
    return {true, 0};
}
