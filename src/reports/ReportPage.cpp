#include "ReportPage.h"

#include <fstream>
#include <iterator>

#include "AtomicFile.h"
#include "CQMVVLTException.h"
#include "MessageId.h"
#include "ReportHtml.h"
#include "TextCodec.h"

namespace {

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (auto pos = text.find(from); pos != std::string::npos;
         pos = text.find(from, pos + to.size())) {
        text.replace(pos, from.size(), to);
    }
}

bool WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    try {
        WriteFileAtomically(path, bytes, MessageId::kFatalError101, "CReportOptionDlg::SaveReport");
        return true;
    } catch (const CQMVVLTException&) {
        return false;
    }
}

}  // namespace

std::string LoadReportTemplate(const std::filesystem::path& file) {
    std::string bytes;
    try {
        std::ifstream in(file, std::ios::binary);
        if (in) {
            bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
        // A folder opens but cannot be read (the read raises or leaves the stream bad).
        if (!in || in.bad()) {
            bytes.clear();
            ThrowQMVVLT(MessageId::kFatalError101, "CReportOptionDlg::LoadReportTemplate",
                        "Open template file failed");
        }
    } catch (const std::ios_base::failure&) {
        ThrowQMVVLT(MessageId::kFatalError101, "CReportOptionDlg::LoadReportTemplate",
                    "Open template file failed");
    }
    // Templates are single-byte text in the system code page; one saved as UTF-8 is taken as such.
    return IsValidUtf8(bytes) ? bytes : Cp1252ToUtf8(bytes);
}

std::string FillReportTemplate(const std::string& templateText, const ReportContent& content) {
    const std::string marker = kReportContentMarker;
    const auto at = templateText.find(marker);
    const std::size_t split = at == std::string::npos ? templateText.size() : at + marker.size();
    std::string head = templateText.substr(0, split);
    ReplaceAll(head, "REPORT_TITLE", EscapeReportText(content.title, false));
    ReplaceAll(head, "MODEL_PIC", EscapeReportText(content.pictureCode, false));
    return head + content.html + templateText.substr(split);
}

std::string ReportPageBytes(const std::string& page) {
    const std::u16string wide = Utf8ToUtf16(page);
    std::string bytes = "\xFF\xFE";
    bytes.reserve(2 + wide.size() * 2);
    for (char16_t c : wide) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}

void CopyReportPictures(const std::filesystem::path& reportFolder,
                        const std::filesystem::path& folder) {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(reportFolder, ec)) {
        if (entry.is_regular_file(ec) && entry.path().extension() == ".jpg") {
            std::filesystem::copy_file(entry.path(), folder / entry.path().filename(),
                                       std::filesystem::copy_options::overwrite_existing, ec);
        }
    }
}

std::filesystem::path SaveReport(const std::filesystem::path& reportFolder,
                                 const std::string& outputName, const std::string& page,
                                 const std::filesystem::path& pageFolder) {
    std::error_code ec;
    std::filesystem::create_directories(pageFolder, ec);
    const auto written = pageFolder / outputName;
    if (!WriteFile(written, ReportPageBytes(page))) {
        ThrowQMVVLT(MessageId::kFatalError101, "CReportOptionDlg::SaveReport",
                    "Open script file failed");
    }
    CopyReportPictures(reportFolder, pageFolder);
    return written;
}
