#include "LoadSettingDoc.h"

#include "CQMVVLTException.h"
#include "DataFile.h"
#include "MessageId.h"
#include "TextCodec.h"
#include "Utility.h"

namespace {
constexpr const char* kContext = "LoadSettingDoc";
}  // namespace

XmlDocPtr LoadSettingDocFile(const std::filesystem::path& file) {
    DataFileText data;
    try {
        data = ReadDataFile(file);
    } catch (const CQMVVLTException&) {
        // An unreadable settings file is a broken installation like a missing one.
        ThrowQMVVLT(MessageId::kFilesNotAvailable, kContext,
                    "File='" + file.string() + "'\nread error");
    }
    if (data.text.empty()) {
        ThrowQMVVLT(MessageId::kFilesNotAvailable, kContext,
                    "File='" + file.string() + "'\nmissing or empty");
    }
    UnscrambleUnlessPlain(data.text, data.narrow);
    std::string error;
    XmlDocPtr doc = ParseXmlUtf8(Utf16ToUtf8(data.text), &error);
    if (!doc) {
        ThrowQMVVLT(MessageId::kFilesNotAvailable, kContext,
                    "File='" + file.string() + "'\n" + error);
    }
    return doc;
}

XmlDocPtr LoadSettingDoc(const std::string& name, bool fromLib) {
    if (name.empty()) {
        return nullptr;
    }
    const std::filesystem::path file =
        std::filesystem::path(Utility::GetInstallPath()) / (fromLib ? "lib" : "Report") / name;
    return LoadSettingDocFile(file);
}
