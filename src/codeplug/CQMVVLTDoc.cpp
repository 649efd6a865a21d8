#include "CQMVVLTDoc.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

#include "AtomicFile.h"
#include "CDataAdaptor.h"
#include "CProfileWriter.h"
#include "CQMVVLTException.h"
#include "DataFile.h"
#include "MessageId.h"
#include "RecoveredFolder.h"
#include "StringTable.h"
#include "TextCodec.h"
#include "XmlChildSort.h"

namespace {

constexpr const char* kProfileExtension = ".lam";
constexpr const char* kDefaultSaveStem = "Profile";

}  // namespace

CQMVVLTDoc::CQMVVLTDoc(CAppSettings& app, std::filesystem::path installPath, IDocumentUi& ui)
    : m_app(app),
      m_installPath(std::move(installPath)),
      m_ui(ui),
      m_model(std::make_unique<CRadioDataModel>(app.ModelEnvironment(m_installPath))) {}

bool CQMVVLTDoc::Report(const CQMVVLTException& e) {
    m_ui.ShowError(e.Code(), e.Trace());
    return false;
}

std::vector<std::string> CQMVVLTDoc::TemplateNames(const std::filesystem::path& installPath) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry :
         std::filesystem::directory_iterator(installPath / "ProfileTemplate", ec)) {
        const std::string file = entry.path().filename().string();
        if (!entry.is_directory(ec) && file.size() > 4 &&
            entry.path().extension() == kProfileExtension) {
            names.push_back(file.substr(0, file.size() - 4));
        }
    }
    if (names.empty()) {
        ThrowQMVVLT(MessageId::kNoTemplateFiles, "CNewProfileDlg",
                    LoadString(MessageId::kNoTemplateFiles));
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::filesystem::path CQMVVLTDoc::TemplatePath(const std::filesystem::path& installPath,
                                               const std::string& name) {
    return installPath / "ProfileTemplate" / (name + kProfileExtension);
}

template <class F>
void CQMVVLTDoc::ReplaceProfile(F&& replace) {
    if (m_beforeReplace) {
        m_beforeReplace();
    }
    try {
        replace();
        Refresh();
    } catch (...) {
        if (m_afterReplace) {
            m_afterReplace();
        }
        throw;
    }
    if (m_afterReplace) {
        m_afterReplace();
    }
}

bool CQMVVLTDoc::NewFromTemplate(const std::string& templateName) {
    const std::string path = TemplatePath(m_installPath, templateName).string();
    try {
        // A template that does not load creates no document: try it in a model of its own first.
        CRadioDataModel trial(m_app.ModelEnvironment(m_installPath));
        trial.LoadProfile(path, true);
        ReplaceProfile([&] { m_model->LoadProfile(path, true); });
    } catch (const CQMVVLTException& e) {
        return Report(e);
    }
    m_title.clear();
    m_path.clear();
    m_templateName = templateName;
    SetModified(false);
    return true;
}

bool CQMVVLTDoc::NewFromVirtualCP(const CVirtualCodeplug& image) {
    try {
        SetVirtualCPData(image);
    } catch (const CQMVVLTException& e) {
        return Report(e);
    }
    SetModified(true);
    m_path.clear();
    m_templateName.clear();
    const xmlNode* limit = CXPath(m_model->GetProfileDoc()).SelectFirst("//dfns:limit");
    m_title = GetAttribute(limit, "pid").value_or("");
    return true;
}

bool CQMVVLTDoc::Open(const std::filesystem::path& path) {
    try {
        ReplaceProfile([&] { m_model->LoadProfile(path.string(), true); });
    } catch (const CQMVVLTException& e) {
        return Report(e);
    }
    m_path = path;
    m_title = path.filename().string();
    m_templateName.clear();
    SetModified(false);
    return true;
}

bool CQMVVLTDoc::ImportXml(const std::filesystem::path& path) {
    try {
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            ThrowQMVVLT(MessageId::kInvalidProfile, "CQMVVLTDoc::ImportXml",
                        "File='" + path.string() + "'\nDesc: " + std::strerror(errno));
        }
        const std::string bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
        if (!in.good() && !in.eof()) {
            ThrowQMVVLT(MessageId::kFailedToLoadProfile, "CQMVVLTDoc::ImportXml",
                        "cannot read " + path.string());
        }
        // The parser honours the declared encoding; the model takes the text as UTF-8.
        std::string error;
        XmlDocPtr parsed = ParseXmlSafely(bytes, &error);
        if (!parsed) {
            ThrowQMVVLT(MessageId::kInvalidProfile, "CQMVVLTDoc::ImportXml",
                        "File='" + path.string() + "'\nDesc: " + error);
        }
        // UTF-8 text goes to the model as it is, so that a refusal names the file's own lines.
        const bool utf8 =
            (!parsed->encoding || xmlStrcasecmp(parsed->encoding, BAD_CAST "UTF-8") == 0) &&
            bytes.find('\0') == std::string::npos && IsValidUtf8(bytes);
        ReplaceProfile([&] {
            m_model->LoadProfileContents(path.string(),
                                         utf8 ? bytes : DocumentToString(parsed.get()), false);
        });
        m_model->SetNarrowFile(m_model->GetModelGroup() == 1);
    } catch (const CQMVVLTException& e) {
        return Report(e);
    }
    m_path.clear();
    m_title = path.stem().string();
    m_templateName.clear();
    SetModified(true);
    return true;
}

bool CQMVVLTDoc::OpenRecovered(const CRecoveryRecord& record) {
    try {
        const std::string name = record.path.empty() ? record.title : record.path.string();
        ReplaceProfile([&] { m_model->LoadProfileContents(name, record.profile, record.narrow); });
    } catch (const CQMVVLTException& e) {
        return Report(e);
    }
    m_path = record.path;
    m_title = record.title;
    m_templateName.clear();
    SetModified(true);
    return true;
}

std::optional<std::filesystem::path> CQMVVLTDoc::KeepUnsaved() const {
    try {
        const std::filesystem::path path = NewRecoveredPath(ProposedSaveName().stem().string());
        // The wide form holds every character the profile may have.
        WriteFileAtomically(path, EncodeDataFile(m_model->ProfileText(), false, true),
                            MessageId::kFailedToSave, "CQMVVLTDoc::KeepUnsaved");
        return path;
    } catch (const CQMVVLTException&) {
        return std::nullopt;
    }
}

void CQMVVLTDoc::Refresh() {
    std::string trace;
    if (!m_app.SwitchToGroup(m_model->GetModelGroup(), &trace)) {
        m_ui.ShowError(MessageId::kNodesNotCorrect, trace);
    }
    m_settingsCopy.reset(m_app.WorkingCopy() ? xmlCopyDoc(m_app.WorkingCopy(), 1) : nullptr);
}

void CQMVVLTDoc::SaveTo(const std::filesystem::path& path) {
    TraceExceptions("CQMVVLTDoc::Serialize", [&] {
        if (m_model->GetModelGroup() != kLatestModelGroup && !m_convert &&
            m_ui.AskYesNo(MessageId::kAskConvertToLatest)) {
            m_convert = true;
        }
        m_model->TakeOffDoc(m_convert);
        if (m_convert) {
            m_model->UpgradeToLatestVersion();
        } else if (m_model->GetModelGroup() == 1) {
            m_model->SetNarrowFile(true);  // group-1 profiles are single-byte text
        }
        const std::string text = m_model->RawProfileText();
        if (m_convert && m_model->GetModelGroup() != kLatestModelGroup) {
            ReplaceProfile([&] { m_model->LoadProfile(text, false); });
        }
        bool lossless = true;
        std::string bytes = EncodeDataFile(text, m_model->IsNarrowFile(), true, &lossless);
        if (!lossless) {
            // Single-byte text cannot hold every character: keep them all in the wide form.
            m_model->SetNarrowFile(false);
            bytes = EncodeDataFile(text, false, true);
        }
        WriteFileAtomically(path, bytes, MessageId::kFailedToSave, "CQMVVLTDoc::Serialize");
    });
}

bool CQMVVLTDoc::Save(const std::filesystem::path& path) {
    const std::filesystem::path target = path.empty() ? m_path : path;
    if (target.empty()) {
        return false;
    }
    try {
        SaveTo(target);
    } catch (const CQMVVLTException& e) {
        return Report(e);
    }
    m_path = target;
    m_title = target.filename().string();
    SetModified(false);
    return true;
}

int CQMVVLTDoc::GetVirtualCPData(CVirtualCodeplug& image, std::u16string_view radioPid) {
    return TraceExceptions(
        "CQMVVLTDoc::GetVirtualCPData",
        [&] { return CDataAdaptor::XML2VirtualCP(m_model->ProfileText(), image, radioPid); },
        "Exception Caught");
}

int CQMVVLTDoc::SetVirtualCPData(const CVirtualCodeplug& image) {
    return TraceExceptions("CQMVVLTDoc::SetVirtualCPData", [&] {
        std::string text;
        if (CProfileWriter::VirtualCP2XML(image, text) == 0) {
            return 0;
        }
        // The four load-time sorts, on one parse of the text.
        std::string error;
        XmlDocPtr doc = ParseXmlUtf8(text, &error);
        if (!doc) {
            ThrowQMVVLT(MessageId::kInvalidProfile, "CDataItem::SortXMLChildNodes", error);
        }
        SortProfileLists(doc.get());
        const std::string sorted = DocumentToString(doc.get());
        bool loaded = false;
        ReplaceProfile([&] { loaded = m_model->LoadProfile(sorted, false); });
        return loaded ? 1 : 0;
    });
}

std::filesystem::path CQMVVLTDoc::ProposedSaveName() const {
    if (!m_path.empty()) {
        return m_path;
    }
    std::string stem = m_title.substr(0, m_title.find_first_of(":/\\"));
    if (stem.empty()) {
        // Never ".lam" alone: a hidden file the user would not find again.
        stem = m_templateName.empty() ? kDefaultSaveStem : m_templateName;
    }
    return stem + kProfileExtension;
}

void CQMVVLTDoc::RestoreSnapshot(const CProfileSnapshot& snapshot) {
    TraceExceptions("CQMVVLTDoc::RestoreSnapshot",
                    [&] { ReplaceProfile([&] { m_model->RestoreSnapshot(snapshot); }); });
}

void CQMVVLTDoc::SetModified(bool modified) {
    if (modified && m_changeCallback) {
        m_changeCallback();
    }
    if (modified == m_modified) {
        return;
    }
    m_modified = modified;
    if (m_modifiedCallback) {
        m_modifiedCallback(modified);
    }
}

std::string CQMVVLTDoc::PublicGroupNumberToPid(std::int64_t number) const {
    return ::PublicGroupNumberToPid(m_model->GetPublicGroupIdBanks(), number);
}

std::int64_t CQMVVLTDoc::PidToPublicGroupNumber(const std::string& pid) const {
    return ::PidToPublicGroupNumber(m_model->GetPublicGroupIdBanks(), pid);
}
