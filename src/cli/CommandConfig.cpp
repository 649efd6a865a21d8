#include <algorithm>
#include <array>
#include <cctype>
#include <iostream>
#include <string>

#include "CQMVVLTException.h"
#include "CRegisterLocation.h"
#include "CliArgs.h"
#include "Commands.h"
#include "MessageId.h"
#include "StringTable.h"
#include "TextCodec.h"
#include "Utility.h"

namespace {

constexpr const char* kContext = "qmvvlt-cli config";
constexpr std::size_t kDealerTextLimit = 250;

// The Language menu's keys: the only languages the program can switch to.
constexpr std::array<std::string_view, 7> kLanguageKeys = {
    "English", "CaFrench", "French", "German", "LaPortuguese", "LaSpanish", "Spanish"};

// One line per value: line breaks and backslashes of dealer texts are escaped.
std::string OneLine(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\\') {
            out += "\\\\";
        } else {
            out += c;
        }
    }
    return out;
}

std::string Dword(int value) {
    return value == -1 ? std::string() : std::to_string(value);
}

struct ConfigValue {
    const char* name;
    std::string (*get)();
};

const ConfigValue kValues[] = {
    {"InstallPath", [] { return Utility::GetInstallPath(); }},
    {"DefaultLanguage", [] { return Utility::GetDefaultLanguage(); }},
    {"CurrentLanguage", [] { return Utility::GetCurrentLanguage(); }},
    {"CurrentComPort", [] { return Utility::GetCurrentComPort(); }},
    {"AutoDetect", [] { return Dword(Utility::GetAutoDetect()); }},
    {"ShowContextHelp", [] { return Dword(Utility::GetContextHelpFlag()); }},
    {"ShowRegionalizationPrompt", [] { return Dword(Utility::GetRegionalizationPromptFlag()); }},
    {"RegisterUrl", [] { return Utility::GetRegisterUrl(); }},
    {"HelpFileName", [] { return Utility::GetHelpFilePath(); }},
    {"GUIResource", [] { return Utility::GetResourceLibraryPath(); }},
    {"DealerInfo",
     [] {
         DealerTexts t;
         return Utility::ReadDealerInformation(t) ? t.dealerInfo : std::string();
     }},
    {"ContactInfo",
     [] {
         DealerTexts t;
         return Utility::ReadDealerInformation(t) ? t.contactInfo : std::string();
     }},
    {"DealerNotes",
     [] {
         DealerTexts t;
         return Utility::ReadDealerInformation(t) ? t.dealerNotes : std::string();
     }},
};

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

const ConfigValue& FindValue(const std::string& name) {
    for (const ConfigValue& v : kValues) {
        if (SameName(v.name, name)) {
            return v;
        }
    }
    throw CliUsageError{"unknown configuration value " + name};
}

int ParseFlag(const std::string& name, const std::string& value) {
    if (value == "0" || value == "1") {
        return value == "1" ? 1 : 0;
    }
    throw CliUsageError{name + " takes 0 or 1"};
}

void SetValue(const std::string& name, const std::string& value) {
    bool ok = false;
    if (SameName(name, "CurrentLanguage")) {
        if (std::find(kLanguageKeys.begin(), kLanguageKeys.end(), value) == kLanguageKeys.end()) {
            throw CliUsageError{"unknown language " + value};
        }
        ok = Utility::SetCurrentLanguage(value);
        // The new language gets its dealer defaults, as the next start would seed them.
        Utility::SeedDealerInformation();
    } else if (SameName(name, "CurrentComPort")) {
        if (value.empty()) {
            throw CliUsageError{"CurrentComPort must not be empty"};
        }
        ok = Utility::SetCurrentComPort(value);
    } else if (SameName(name, "RegisterUrl")) {
        if (!value.empty()) {
            try {
                CRegisterLocation::FromUrl(value);
            } catch (const CQMVVLTException& e) {
                throw CliUsageError{e.Message()};
            }
        }
        ok = Utility::SetRegisterUrl(value);
    } else if (SameName(name, "AutoDetect")) {
        ok = Utility::SetAutoDetect(ParseFlag(name, value));
    } else if (SameName(name, "ShowContextHelp")) {
        ok = Utility::SetContextHelpFlag(ParseFlag(name, value));
    } else if (SameName(name, "ShowRegionalizationPrompt")) {
        ok = Utility::SetRegionalizationPromptFlag(ParseFlag(name, value));
    } else if (SameName(name, "DealerInfo") || SameName(name, "ContactInfo") ||
               SameName(name, "DealerNotes")) {
        // The dealer dialog's fields take at most 250 characters each.
        if (Utf8ToUtf16(value).size() > kDealerTextLimit) {
            throw CliUsageError{name + " takes at most 250 characters"};
        }
        DealerTexts texts;
        if (!Utility::ReadDealerInformation(texts)) {
            ThrowQMVVLT(MessageId::kLanguageTypeError, kContext,
                        "no dealer information for the current language");
        }
        (SameName(name, "DealerInfo")    ? texts.dealerInfo
         : SameName(name, "ContactInfo") ? texts.contactInfo
                                         : texts.dealerNotes) = value;
        const int message = Utility::WriteDealerInformation(texts);
        if (message != 0) {
            ThrowQMVVLT(message, kContext, Utility::StoreFiles().user.string());
        }
        return;
    } else {
        FindValue(name);  // unknown names are a usage error
        throw CliUsageError{name + " is not a user-scope value"};
    }
    if (!ok) {
        ThrowQMVVLT(MessageId::kFatalRegistryError, kContext,
                    "cannot write " + name + " to " + Utility::StoreFiles().user.string());
    }
}

}  // namespace

int CmdConfig(const CliContext& ctx) {
    const CCliArgs args(ctx.args, {});
    args.ExpectPositionals(0, 2);
    // What the program's start does first: a first run fills the user scope from the machine's.
    const BootstrapResult boot = Utility::Bootstrap();
    if (!boot.ok) {
        ThrowQMVVLT(boot.messageId != 0 ? boot.messageId : MessageId::kFatalRegistryError, kContext,
                    "bootstrap of " + Utility::StoreFiles().user.string());
    }
    const auto& pos = args.Positionals();
    if (pos.size() == 2) {
        SetValue(pos[0], pos[1]);
        return kExitOk;
    }
    if (pos.size() == 1) {
        std::cout << OneLine(FindValue(pos[0]).get()) << '\n';
        return kExitOk;
    }
    const ConfigStoreFiles files = Utility::StoreFiles();
    std::cout << "# "
              << CStringTable::Instance().Format(MessageId::kCliUserScope, {files.user.string()})
              << "\n# "
              << CStringTable::Instance().Format(MessageId::kCliMachineScope,
                                                 {files.machine.string()})
              << '\n';
    for (const ConfigValue& v : kValues) {
        std::cout << v.name << '=' << OneLine(v.get()) << '\n';
    }
    return kExitOk;
}
