#include "CRadioBackup.h"

#include "CQMVVLTDoc.h"
#include "CQMVVLTException.h"
#include "MessageId.h"
#include "Utility.h"

std::filesystem::path CRadioBackup::UserFolder() {
    return Utility::UserDataFolder() / "backups";
}

namespace fs = std::filesystem;

namespace {

// A backup keeps the radio's own format: nothing is asked, nothing converted.
class CQuietDocumentUi : public IDocumentUi {
  public:
    bool AskYesNo(int) override { return false; }
    void ShowError(int, const std::string&) override {}
};

}  // namespace

std::string CRadioBackup::FileName(std::u16string_view pid, std::time_t when) {
    std::string digits;
    for (char16_t c : pid) {
        if (c >= u'0' && c <= u'9') {
            digits += static_cast<char>(c);
        }
    }
    if (digits.empty()) {
        digits = "radio";
    }
    std::tm local{};
    localtime_r(&when, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    return digits + "-" + stamp + ".lam";
}

fs::path CRadioBackup::Save(const CVirtualCodeplug& image, CAppSettings& app,
                            const fs::path& installPath) const {
    const std::string name = FileName(image.limits.pid, std::time(nullptr));
    fs::path path = m_folder / name;
    std::error_code ec;
    fs::create_directories(m_folder, ec);
    if (ec) {
        ThrowQMVVLT(MessageId::kBackupNotWritten, "CRadioBackup::Save", path.string());
    }
    // Two backups of one radio within a second: the second gets a number, the first stays.
    const std::string stem = fs::path(name).stem().string();
    for (int n = 2; fs::exists(path, ec); ++n) {
        path = m_folder / (stem + "-" + std::to_string(n) + ".lam");
    }
    CQuietDocumentUi ui;
    CQMVVLTDoc doc(app, installPath, ui);
    try {
        doc.SetVirtualCPData(image);
        doc.SaveTo(path);
    } catch (const CQMVVLTException&) {
        // The message names the file; what went wrong below is the document's own affair.
        ThrowQMVVLT(MessageId::kBackupNotWritten, "CRadioBackup::Save", path.string());
    }
    return path;
}
