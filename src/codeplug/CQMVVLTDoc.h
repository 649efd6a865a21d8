#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "CAppSettings.h"
#include "CRadioDataModel.h"
#include "CRecoveryRecord.h"
#include "CVirtualCodeplug.h"
#include "IDocumentUi.h"

// One open profile: its data model, its copy of the group settings, and the file it came from.
// Creates profiles from templates or from a radio's image, opens and saves profile files, and
// exchanges the profile with the virtual codeplug.
class CQMVVLTDoc {
  public:
    CQMVVLTDoc(CAppSettings& app, std::filesystem::path installPath, IDocumentUi& ui);

    // New document from an installed template ("name" without ".lam"); false after telling the
    // user why.
    bool NewFromTemplate(const std::string& templateName);
    // New document from an image read from a radio; titled with the radio's PID, modified.
    bool NewFromVirtualCP(const CVirtualCodeplug& image);
    bool Open(const std::filesystem::path& path);
    // New document from a plain XML profile (in whatever encoding it declares), to be saved in the
    // form of its model group.
    bool ImportXml(const std::filesystem::path& path);
    // The document a recovery copy was kept of: its profile with the unsaved changes, its path and
    // title, modified.
    bool OpenRecovered(const CRecoveryRecord& record);
    // Stores the profile into path (asking 297 for an older format), never leaving a half-written
    // file: the text goes to a temporary file in the same folder that then replaces the target.
    // Failures raise CQMVVLTException (299 for a profile that cannot be taken off).
    void SaveTo(const std::filesystem::path& path);
    // Save with the document's path, or the given one (which becomes the document's path); false
    // after telling the user why. A failed first save of a new file leaves no file behind.
    bool Save(const std::filesystem::path& path = {});

    // Writes the profile as it now is, unsaved changes and all, to a new file in the recovered
    // folder (a profile file the program opens); the file, or nothing when it could not be written.
    std::optional<std::filesystem::path> KeepUnsaved() const;

    // The image the profile converts to for the radio whose own PID is radioPid.
    int GetVirtualCPData(CVirtualCodeplug& image, std::u16string_view radioPid);
    // Replaces the profile with the one an image converts to (sorted, as from a radio).
    int SetVirtualCPData(const CVirtualCodeplug& image);

    // The name a Save As dialog proposes: the path, or the title cut at its first colon, slash or
    // backslash with ".lam" appended; without a title the template's name, else "Profile.lam".
    std::filesystem::path ProposedSaveName() const;

    // The application settings and install folder the document was made with, for documents made
    // beside it.
    CAppSettings& App() const { return m_app; }
    const std::filesystem::path& InstallPath() const { return m_installPath; }

    CRadioDataModel& Model() { return *m_model; }
    const CRadioDataModel& Model() const { return *m_model; }
    xmlDoc* SettingsCopy() const { return m_settingsCopy.get(); }
    const std::filesystem::path& Path() const { return m_path; }
    const std::string& Title() const { return m_title; }
    bool IsModified() const { return m_modified; }
    // Calls the modification callback when the flag changes.
    void SetModified(bool modified);
    // Called with the new flag whenever the modified flag changes (a window's "[*]" marker).
    void SetModifiedCallback(std::function<void(bool)> callback) {
        m_modifiedCallback = std::move(callback);
    }
    // Called at every SetModified(true), also when the flag was already set: the profile changed.
    void SetChangeCallback(std::function<void()> callback) {
        m_changeCallback = std::move(callback);
    }
    // Called around every replacement of the profile document by another (a load, a converting
    // save's reload, a radio read into this document, an undo step): before it, whatever holds
    // data items of the profile lets go of them; after it (also when the replacement failed and
    // the profile stayed), it takes them from the profile again.
    void SetReplaceCallbacks(std::function<void()> before, std::function<void()> after) {
        m_beforeReplace = std::move(before);
        m_afterReplace = std::move(after);
    }
    // The profile as it now is, and making such a state the profile again (the group settings
    // follow a change of model group). RestoreSnapshot raises CQMVVLTException.
    CProfileSnapshot TakeSnapshot() const { return m_model->TakeSnapshot(); }
    void RestoreSnapshot(const CProfileSnapshot& snapshot);
    bool ConvertFlag() const { return m_convert; }
    // "Set Time Using PC Clock": a write sets the radio's clock from the PC's.
    bool UsePcClock() const { return m_usePcClock; }
    void SetUsePcClock(bool use) { m_usePcClock = use; }

    std::string PublicGroupNumberToPid(std::int64_t number) const;
    std::int64_t PidToPublicGroupNumber(const std::string& pid) const;

    // The profile templates installed (names without ".lam", sorted); 10114 when there are none.
    static std::vector<std::string> TemplateNames(const std::filesystem::path& installPath);
    static std::filesystem::path TemplatePath(const std::filesystem::path& installPath,
                                              const std::string& name);

  private:
    // Replaces the profile by running replace (which raises CQMVVLTException on failure, leaving
    // the profile as it was); the group settings then follow the new profile's model group.
    template <class F>
    void ReplaceProfile(F&& replace);
    void Refresh();
    bool Report(const class CQMVVLTException& e);

    CAppSettings& m_app;
    std::filesystem::path m_installPath;
    IDocumentUi& m_ui;
    std::unique_ptr<CRadioDataModel> m_model;
    XmlDocPtr m_settingsCopy;
    bool m_convert = false;
    bool m_modified = false;
    bool m_usePcClock = false;
    std::filesystem::path m_path;
    std::string m_title;
    std::string m_templateName;  // the template a new document came from
    std::function<void(bool)> m_modifiedCallback;
    std::function<void()> m_changeCallback;
    std::function<void()> m_beforeReplace;
    std::function<void()> m_afterReplace;
};
