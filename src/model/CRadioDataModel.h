#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "CDataItem.h"
#include "CProfileSnapshot.h"
#include "CSchemaInfo.h"
#include "PublicGroupIdBank.h"
#include "XmlDom.h"

class CScriptEngine;
class CUpDownGradeSetting;
struct ProfileSchema;

// What a data model reads of the application: the install folder (rule file and schema), the
// settings document with the fields of each model group as loaded at start-up, and the region.
struct CModelEnvironment {
    std::filesystem::path installPath;
    const CUpDownGradeSetting* upDownGrade = nullptr;
    std::string region;
};

// One open profile: its working documents, model group and rule engine. Loading finds the model
// group from the firmware version, adds the fields of the latest format the profile's group lacks,
// and validates the result against the profile schema; saving takes the added fields off again.
class CRadioDataModel {
  public:
    explicit CRadioDataModel(CModelEnvironment environment);
    ~CRadioDataModel();
    CRadioDataModel(const CRadioDataModel&) = delete;
    CRadioDataModel& operator=(const CRadioDataModel&) = delete;

    // Starts the rule engine and creates the operation document (once).
    bool Initialize();
    // Loads a profile from a file (sourceIsFile) or from UTF-8 XML text. Failures raise: 105 for
    // text that does not parse or validate, 106 for a profile without its lists, 10156 for an
    // unsupported model, 101/102 when the engine or schema cannot be set up.
    bool LoadProfile(const std::string& source, bool sourceIsFile);
    // Loads contents as if they had been read from a profile file named name (sorted, every
    // field the group lacks added); narrow is the form the contents had.
    bool LoadProfileContents(const std::string& name, const std::string& utf8, bool narrow);
    bool InitialOperaDoc(const std::string& source, bool sourceIsFile);
    // Refuses (10156) a profile whose compatibility version is neither 10 nor 15; false when the
    // profile does not say.
    bool ValidateProfile(xmlDoc* raw) const;
    // Validates the profile as it now is against the profile schema: 105 with the schema's reason
    // when a value does not fit its declared type (edits of attributes without a rule are stored
    // as given).
    void CheckAgainstSchema() const;
    std::vector<xmlNode*> BuildFieldList(int group, const std::string& cloneVersion);
    void PrepareFieldLists(const std::string& cloneVersion);
    void AddMissingFields(bool apply);
    // Copies the edited profile into the raw document and removes the fields added at load (or,
    // with toLatest, those the latest format does not have). Failures raise 299.
    int TakeOffDoc(bool toLatest);
    void LoadPublicGroupRanges();
    // Rewrites the raw profile's firmware version to the first version of the latest group.
    void UpgradeToLatestVersion();

    int GetModelGroup() const { return m_modelGroup; }
    bool IsNarrowFile() const { return m_narrow; }
    void SetNarrowFile(bool narrow) { m_narrow = narrow; }
    // The raw profile: after TakeOffDoc what is saved. A failed load leaves every document, the
    // group and the field lists as they were.
    xmlDoc* GetRawProfileDoc() const { return m_rawDoc.get(); }
    xmlDoc* GetProfileDoc() const { return m_profileDoc.get(); }
    CDataItem GetRootItem() const { return m_rootItem; }
    const PublicGroupIdBanks& GetPublicGroupIdBanks() const { return m_banks; }
    const std::vector<xmlNode*>& GroupFieldList() const { return m_groupFields; }
    const std::vector<xmlNode*>& LatestFieldList() const { return m_latestFields; }
    CScriptEngine* Engine() const { return m_engine.get(); }
    // The profile document as UTF-8 XML text.
    std::string ProfileText() const;
    std::string RawProfileText() const;

    // The profile as it now is, with what it was loaded with.
    CProfileSnapshot TakeSnapshot() const;
    // Makes a snapshot of this model the profile again (data items of the replaced profile are
    // invalid afterwards). Raises 105 when the snapshot's text does not parse; the profile then
    // stays as it was.
    void RestoreSnapshot(const CProfileSnapshot& snapshot);

  private:
    bool PassesOptionalTest(const xmlNode* entry) const;
    bool Load(const std::string& source, const std::string* contents, bool asFile);
    bool InitialOperaDocFrom(const std::string& source, const std::string& text, bool asFile);
    void LoadSchema();
    void ValidateAgainstSchema(xmlDoc* profile, const std::string& source, bool sourceIsFile) const;

    CModelEnvironment m_env;
    XmlDocPtr m_profileDoc;
    XmlDocPtr m_operationDoc;
    xmlNode* m_operationRoot = nullptr;
    std::unique_ptr<CScriptEngine> m_engine;
    bool m_initialised = false;
    bool m_narrow = false;
    PublicGroupIdBanks m_banks;
    int m_modelGroup = 0;
    XmlDocPtr m_rawDoc;
    std::vector<xmlNode*> m_groupFields;
    std::vector<xmlNode*> m_latestFields;
    std::unique_ptr<ProfileSchema> m_schema;
    CDataItem m_rootItem;
    // A copy of the operation document with the field lists of the last load, shared by snapshots.
    mutable std::shared_ptr<const xmlDoc> m_fieldListsCopy;
};
