#include "CRadioDataModel.h"

#include <libxml/xmlschemas.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "CQMVVLTException.h"
#include "CScriptEngine.h"
#include "CSettingDocument.h"
#include "CUpDownGradeSetting.h"
#include "DataFile.h"
#include "FirmwareVersion.h"
#include "MessageId.h"
#include "ProfileValue.h"
#include "StringTable.h"
#include "TextCodec.h"
#include "XmlChildSort.h"

namespace {

constexpr const char* kTemplateFolder = "ProfileTemplate";
constexpr const char* kRuleFile = "DataProfile.lua";
constexpr const char* kSchemaFile = "DataProfile.xsd";
constexpr int kProfileOptions = XML_PARSE_NOBLANKS;

struct SchemaDeleter {
    void operator()(xmlSchema* s) const { xmlSchemaFree(s); }
};
struct SchemaParserDeleter {
    void operator()(xmlSchemaParserCtxt* c) const { xmlSchemaFreeParserCtxt(c); }
};
struct SchemaValidDeleter {
    void operator()(xmlSchemaValidCtxt* c) const { xmlSchemaFreeValidCtxt(c); }
};

std::string Attr(const xmlNode* node, const char* name) {
    return GetAttribute(node, name).value_or("");
}

bool HasChildNamed(const xmlNode* parent, const std::string& name) {
    for (const xmlNode* c : ElementChildren(parent)) {
        if (GetAttribute(c, "name") == name) {
            return true;
        }
    }
    return false;
}

xmlNode* NewProfileElement(xmlDoc* doc, const char* name) {
    xmlNode* node = xmlNewDocNode(doc, nullptr, BAD_CAST name, nullptr);
    xmlNs* ns = xmlNewNs(node, BAD_CAST kProfileNamespaceUri, nullptr);
    xmlSetNs(node, ns);
    return node;
}

// What a trace names as the source: a file's path, or the first line of a text (at most 120
// characters), never a whole profile.
std::string SourceForTrace(const std::string& source, bool sourceIsFile) {
    if (sourceIsFile) {
        return source;
    }
    constexpr std::size_t kMaxShown = 120;
    const std::size_t end = std::min(source.find_first_of("\r\n"), kMaxShown);
    return end < source.size() ? source.substr(0, end) + "..." : source;
}

std::string ReadDataFileUtf8(const std::filesystem::path& path, std::u16string_view marker) {
    DataFileText file = ReadDataFile(path);
    UnscrambleUnlessPlain(file.text, file.narrow, marker);
    return Utf16ToUtf8(file.text);
}

}  // namespace

// The compiled profile schema and what its annotations declare.
struct ProfileSchema {
    XmlDocPtr compiledFrom;  // pruned by the schema parser; must outlive the schema
    std::unique_ptr<xmlSchema, SchemaDeleter> schema;
    CSchemaInfo info;
};

CRadioDataModel::CRadioDataModel(CModelEnvironment environment) : m_env(std::move(environment)) {}

CRadioDataModel::~CRadioDataModel() {
    // Nodes the rules detached refer to the documents: free them first.
    if (m_engine) {
        m_engine->ReleaseDetachedNodes();
    }
}

bool CRadioDataModel::Initialize() {
    constexpr const char* context = "CRadioDataModel::Initialize";
    return TraceExceptions(context, [&] {
        try {
            m_engine = std::make_unique<CScriptEngine>();
        } catch (const CQMVVLTException&) {
            ThrowQMVVLT(MessageId::kFatalError101, context, "creating the script engine failed");
        }
        const auto rulePath = m_env.installPath / kTemplateFolder / kRuleFile;
        const std::string rules = ReadDataFileUtf8(rulePath, kRuleFilePlainMarker);
        if (rules.empty()) {
            ThrowQMVVLT(MessageId::kFatalError101, context,
                        "ParseScriptText failed: cannot read " + rulePath.string());
        }
        m_engine->LoadScript(rules, kRuleFile);
        m_initialised = true;

        m_operationDoc.reset(xmlNewDoc(BAD_CAST "1.0"));
        if (!m_operationDoc) {
            ThrowQMVVLT(MessageId::kFatalErrorReinstall, context,
                        "create MSXML2::DOMDocument40 failed");
        }
        m_operationRoot = NewProfileElement(m_operationDoc.get(), "root");
        xmlDocSetRootElement(m_operationDoc.get(), m_operationRoot);
        return true;
    });
}

void CRadioDataModel::LoadSchema() {
    constexpr const char* context = "CRadioDataModel::LoadProfile";
    const auto path = m_env.installPath / kTemplateFolder / kSchemaFile;
    const std::string text = ReadDataFileUtf8(path, kXmlPlainMarker);
    std::string error;
    XmlDocPtr forInfo = ParseXmlUtf8(text, &error);
    XmlDocPtr forSchema = ParseXmlUtf8(text, &error);
    if (!forInfo || !forSchema) {
        ThrowQMVVLT(MessageId::kFatalErrorReinstall, context,
                    "create Msxml2.XMLSchemaCache.4.0 failed: " + path.string() + ": " + error);
    }
    auto schema = std::make_unique<ProfileSchema>();
    schema->info = CSchemaInfo(forInfo.get());
    std::unique_ptr<xmlSchemaParserCtxt, SchemaParserDeleter> parser(
        xmlSchemaNewDocParserCtxt(forSchema.get()));
    if (parser) {
        xmlSchemaSetParserStructuredErrors(
            parser.get(), [](void*, xmlErrorPtr) {}, nullptr);
        schema->schema.reset(xmlSchemaParse(parser.get()));
    }
    if (!schema->schema) {
        ThrowQMVVLT(MessageId::kFatalErrorReinstall, context,
                    "create Msxml2.XMLSchemaCache.4.0 failed: " + path.string());
    }
    schema->compiledFrom = std::move(forSchema);
    m_schema = std::move(schema);
}

bool CRadioDataModel::LoadProfile(const std::string& source, bool sourceIsFile) {
    return Load(source, nullptr, sourceIsFile);
}

bool CRadioDataModel::LoadProfileContents(const std::string& name, const std::string& utf8,
                                          bool narrow) {
    const bool previous = m_narrow;
    m_narrow = narrow;
    try {
        return Load(name, &utf8, true);
    } catch (...) {
        m_narrow = previous;
        throw;
    }
}

bool CRadioDataModel::Load(const std::string& source, const std::string* contents, bool asFile) {
    const bool sourceIsFile = asFile;
    constexpr const char* context = "CRadioDataModel::LoadProfile";
    return TraceExceptions(context, [&] {
        if (m_initialised) {
            m_engine->ReleaseDetachedNodes();
        } else {
            Initialize();
        }
        if (!m_schema) {
            LoadSchema();
        }
        // The open profile stays as it is until the new one has validated: a refused file or
        // image must not cost the user the profile being edited.
        const std::vector<xmlNode*> previousLists = ElementChildren(m_operationRoot);
        XmlDocPtr previousRaw = std::move(m_rawDoc);
        const int previousGroup = m_modelGroup;
        const bool previousNarrow = m_narrow;
        std::vector<xmlNode*> previousGroupFields = std::move(m_groupFields);
        std::vector<xmlNode*> previousLatestFields = std::move(m_latestFields);
        auto restore = [&] {
            for (xmlNode* list : ElementChildren(m_operationRoot)) {
                if (std::find(previousLists.begin(), previousLists.end(), list) ==
                    previousLists.end()) {
                    xmlUnlinkNode(list);
                    xmlFreeNode(list);
                }
            }
            m_rawDoc = std::move(previousRaw);
            m_modelGroup = previousGroup;
            m_narrow = previousNarrow;
            m_groupFields = std::move(previousGroupFields);
            m_latestFields = std::move(previousLatestFields);
        };
        try {
            if (contents ? InitialOperaDocFrom(source, *contents, true)
                         : InitialOperaDoc(source, sourceIsFile)) {
                AddMissingFields(sourceIsFile);
                XmlDocPtr profile = std::move(m_rawDoc);
                ValidateAgainstSchema(profile.get(), source, sourceIsFile);
                m_rootItem =
                    CDataItem(m_engine.get(), &m_schema->info, xmlDocGetRootElement(profile.get()));
                m_profileDoc = std::move(profile);
                LoadPublicGroupRanges();
                m_fieldListsCopy.reset();
                for (xmlNode* list : previousLists) {
                    xmlUnlinkNode(list);
                    xmlFreeNode(list);
                }
                return true;
            }
        } catch (...) {
            restore();
            throw;
        }
        restore();
        return false;
    });
}

void CRadioDataModel::CheckAgainstSchema() const {
    TraceExceptions("CRadioDataModel::CheckAgainstSchema", [&] {
        if (!m_schema || !m_profileDoc) {
            ThrowQMVVLT(MessageId::kInvalidProfile, "CRadioDataModel::CheckAgainstSchema",
                        "no profile loaded");
        }
        ValidateAgainstSchema(m_profileDoc.get(), "", false);
    });
}

void CRadioDataModel::ValidateAgainstSchema(xmlDoc* profile, const std::string& source,
                                            bool sourceIsFile) const {
    constexpr const char* context = "CRadioDataModel::LoadProfile";
    std::unique_ptr<xmlSchemaValidCtxt, SchemaValidDeleter> validator(
        xmlSchemaNewValidCtxt(m_schema->schema.get()));
    if (!profile || !validator) {
        ThrowQMVVLT(MessageId::kFatalErrorReinstall, context,
                    "create Msxml2.DOMDocument.4.0 failed");
    }
    std::string reason;
    xmlSchemaSetValidStructuredErrors(
        validator.get(),
        [](void* ctx, xmlErrorPtr error) {
            auto* text = static_cast<std::string*>(ctx);
            if (text->empty() && error && error->message) {
                *text = error->message;
                while (!text->empty() && text->back() == '\n') {
                    text->pop_back();
                }
                // Fields added on load have no line; the ones the file holds do.
                if (error->line > 0) {
                    *text += " (line " + std::to_string(error->line) + ")";
                }
            }
        },
        &reason);
    if (xmlSchemaValidateDoc(validator.get(), profile) != 0) {
        ThrowQMVVLT(MessageId::kInvalidProfile, context,
                    "File='" + SourceForTrace(source, sourceIsFile) + "'\nDesc: " + reason);
    }
}

bool CRadioDataModel::InitialOperaDoc(const std::string& source, bool sourceIsFile) {
    if (!sourceIsFile) {
        return InitialOperaDocFrom(source, source, false);
    }
    // A file that cannot be opened says why, rather than reading as an empty document.
    if (const std::ifstream probe(source, std::ios::binary); !probe) {
        ThrowQMVVLT(MessageId::kInvalidProfile, "CRadioDataModel::InitialOperaDoc",
                    "File='" + source + "'\nDesc: " + std::strerror(errno));
    }
    ::ProfileText file = TraceExceptions("CRadioDataModel::InitialOperaDoc",
                                         [&] { return ReadProfileText(source); });
    m_narrow = file.narrow;
    return InitialOperaDocFrom(source, file.utf8, true);
}

bool CRadioDataModel::InitialOperaDocFrom(const std::string& source, const std::string& text,
                                          bool sourceIsFile) {
    constexpr const char* context = "CRadioDataModel::InitialOperaDoc";
    return TraceExceptions(context, [&] {
        std::string error;
        XmlDocPtr raw = ParseXmlUtf8(text, &error, kProfileOptions);
        if (!raw) {
            ThrowQMVVLT(MessageId::kInvalidProfile, context,
                        "File='" + SourceForTrace(source, sourceIsFile) + "'\nDesc: " + error);
        }
        // Every element is declared globally in the schema: the root must be checked here.
        const xmlNode* root = xmlDocGetRootElement(raw.get());
        if (!IsProfileElement(root) || NodeName(root) != "QMVProfile") {
            ThrowQMVVLT(MessageId::kInvalidProfile, context,
                        "File='" + SourceForTrace(source, sourceIsFile) +
                            "'\nDesc: the document is not a profile");
        }
        if (sourceIsFile) {
            SortProfileLists(raw.get());
        }
        ValidateProfile(raw.get());
        m_rawDoc = std::move(raw);

        const CXPath xpath(m_rawDoc.get());
        const xmlNode* version = xpath.SelectFirst("//dfns:version");
        const xmlNode* limit = xpath.SelectFirst("//dfns:limit");
        if (!version || !limit) {
            ThrowQMVVLT(MessageId::kInvalidProfile, context,
                        "File='" + SourceForTrace(source, sourceIsFile) +
                            "'\nDesc: no version or limit element");
        }
        const std::string firmware = FormatFirmwareVersion(
            Attr(version, "firmware_phase"), ParseProfileNumber(Attr(version, "firmware_release")),
            ParseProfileNumber(Attr(version, "firmware_version")),
            ParseProfileNumber(Attr(version, "firmware_revision")));
        m_modelGroup = m_env.upDownGrade ? m_env.upDownGrade->GetModelGroup(firmware) : 0;
        // Firmware newer than the settings know has at least the latest group's fields: as group
        // 0 it would get them overwritten with defaults and lose them again at every save.
        if (m_modelGroup == 0 && m_env.upDownGrade &&
            m_env.upDownGrade->IsNewerThanEveryGroup(firmware)) {
            m_modelGroup = kLatestModelGroup;
        }
        PrepareFieldLists(Attr(limit, "clone_compatibility_version"));
        return true;
    });
}

bool CRadioDataModel::ValidateProfile(xmlDoc* raw) const {
    const xmlNode* limit = CXPath(raw).SelectFirst("//dfns:limit");
    const auto clone = GetAttribute(limit, "clone_compatibility_version");
    if (!clone) {
        return false;
    }
    if (*clone != "10" && *clone != "15") {
        ThrowQMVVLT(MessageId::kUnsupportedModel, "CRadioDataModel::ValidateProfile",
                    LoadString(MessageId::kUnsupportedModel));
    }
    return true;
}

bool CRadioDataModel::PassesOptionalTest(const xmlNode* entry) const {
    if (ParseProfileNumber(Attr(entry, "optional")) != 1 || Attr(entry, "optional").empty()) {
        return true;
    }
    const std::string nodename = Attr(entry, "nodename");
    const std::string name = Attr(entry, "name");
    if (!IsXmlNameSafe(nodename) || !IsXmlNameSafe(name) || !m_rawDoc) {
        return false;
    }
    return CXPath(m_rawDoc.get()).SelectFirst("//dfns:" + nodename + "[@" + name + "]") != nullptr;
}

std::vector<xmlNode*> CRadioDataModel::BuildFieldList(int group, const std::string& cloneVersion) {
    xmlNode* keep = NewProfileElement(m_operationDoc.get(), "keepNode");
    xmlAddChild(m_operationRoot, keep);
    xmlNode* add =
        NewProfileElement(m_operationDoc.get(), ("addField_G" + std::to_string(group)).c_str());
    if (!m_env.upDownGrade || !IsXmlNameSafe(m_env.region)) {
        xmlAddChild(m_operationRoot, add);
        return {};
    }
    const CXPath settings(m_env.upDownGrade->Document());
    const std::string g = "//dfns:CodePlugSetting/dfns:G" + std::to_string(group);
    const std::string region = m_env.region;
    // The version completes the step name "Clone_<v>", so it may start with a digit; one that
    // cannot complete a name selects nothing.
    const std::string clone = IsXmlNameSafe("Clone_" + cloneVersion) ? cloneVersion : "-";

    auto copyInto = [&](xmlNode* target, const xmlNode* entry) {
        xmlAddChild(target, xmlDocCopyNode(const_cast<xmlNode*>(entry), m_operationDoc.get(), 2));
    };
    for (const xmlNode* e : settings.SelectNodes(g + "/dfns:" + region + "/dfns:Clone_" + clone +
                                                 "/dfns:*[@isExist='1']")) {
        if (PassesOptionalTest(e)) {
            copyInto(keep, e);
        }
    }
    for (const std::string& section : {region, std::string("RegionCommon")}) {
        for (const xmlNode* e :
             settings.SelectNodes(g + "/dfns:" + section + "/dfns:*[@isExist='1']")) {
            if (PassesOptionalTest(e) && !HasChildNamed(keep, Attr(e, "name"))) {
                copyInto(keep, e);
            }
        }
    }

    const auto groups = settings.SelectNodes("//dfns:CodePlugSetting/dfns:*");
    xmlAddChild(m_operationRoot, add);
    const std::string ownCondition = "[@isExist='0'or (@isExist='1' and @optional='1')]";
    const std::string otherCondition = "[@isExist='1']";
    // The first group never contributes: nothing is older than it.
    for (std::size_t j = groups.size(); j-- > 1;) {
        xmlNode* groupElement = groups[j];
        const std::string& condition =
            static_cast<std::size_t>(group) == j + 1 ? ownCondition : otherCondition;
        std::vector<xmlNode*> entries;
        for (xmlNode* e :
             settings.SelectNodes("dfns:" + region + "/dfns:*[not(@*)]", groupElement)) {
            for (xmlNode* n :
                 settings.SelectNodes("dfns:Clone_" + clone + "/dfns:*" + condition, e)) {
                entries.push_back(n);
            }
        }
        for (const std::string& section : {region, std::string("RegionCommon")}) {
            for (xmlNode* n :
                 settings.SelectNodes("dfns:" + section + "/dfns:*" + condition, groupElement)) {
                entries.push_back(n);
            }
        }
        for (const xmlNode* e : entries) {
            const std::string name = Attr(e, "name");
            if (!HasChildNamed(add, name) && !HasChildNamed(keep, name)) {
                copyInto(add, e);
            }
        }
    }
    return ElementChildren(add);
}

void CRadioDataModel::PrepareFieldLists(const std::string& cloneVersion) {
    // The lists of the profile open until now stay until the new one has loaded (Load).
    m_groupFields = BuildFieldList(m_modelGroup, cloneVersion);
    m_latestFields = m_modelGroup == kLatestModelGroup
                         ? m_groupFields
                         : BuildFieldList(kLatestModelGroup, cloneVersion);
}

void CRadioDataModel::AddMissingFields(bool apply) {
    const CXPath raw(m_rawDoc.get());
    for (const xmlNode* entry : m_groupFields) {
        const std::string_view kind = NodeName(entry);
        if (kind == "CPField") {
            const std::string nodename = Attr(entry, "nodename");
            const std::string name = Attr(entry, "name");
            const std::string defaultValue = Attr(entry, "defaulvalue");
            const std::string replaceBy = Attr(entry, "replaceby");
            if (!IsXmlNameSafe(nodename) || !IsXmlNameSafe(name)) {
                continue;
            }
            for (xmlNode* element : raw.SelectNodes("//dfns:" + nodename)) {
                // A value the profile holds is the user's: only an absent field gets a default.
                if (xmlHasNsProp(element, BAD_CAST name.c_str(), nullptr)) {
                    continue;
                }
                std::string value = defaultValue;
                if (!replaceBy.empty()) {
                    if (auto old = GetAttribute(element, replaceBy.c_str()); old && !old->empty()) {
                        value = *old;
                    }
                }
                SetAttribute(element, name.c_str(), value);
            }
        } else if (kind == "CPTag" && apply) {
            const std::string parent = Attr(entry, "parentNode");
            const std::string name = Attr(entry, "name");
            if (!IsXmlNameSafe(parent) || !IsXmlNameSafe(name)) {
                continue;
            }
            for (xmlNode* element : raw.SelectNodes("//dfns:" + parent)) {
                const auto children = ElementChildren(element);
                if (std::none_of(children.begin(), children.end(),
                                 [&](const xmlNode* c) { return NodeName(c) == name; })) {
                    xmlNewChild(element, element->ns, BAD_CAST name.c_str(), nullptr);
                }
            }
        }
    }
}

int CRadioDataModel::TakeOffDoc(bool toLatest) {
    constexpr const char* context = "CRadioDataModel::TakeOffDoc";
    return TraceExceptions(context, [&] {
        if (!m_profileDoc) {
            ThrowQMVVLT(MessageId::kFailedToSave, context,
                        "ErrorMsg: no profile loaded\nDesc: \nSource: libxml2");
        }
        XmlDocPtr copy(xmlCopyDoc(m_profileDoc.get(), 1));
        if (!copy) {
            ThrowQMVVLT(MessageId::kFailedToSave, context,
                        "ErrorMsg: out of memory\nDesc: \nSource: libxml2");
        }
        m_rawDoc = std::move(copy);
        const int target = toLatest ? kLatestModelGroup : m_modelGroup;
        const CXPath raw(m_rawDoc.get());
        for (const xmlNode* entry : toLatest ? m_latestFields : m_groupFields) {
            const std::string_view kind = NodeName(entry);
            const std::string name = Attr(entry, "name");
            if (kind == "CPTag") {
                const std::string parent = Attr(entry, "parentNode");
                if (!IsXmlNameSafe(parent)) {
                    continue;
                }
                for (xmlNode* element : raw.SelectNodes("//dfns:" + parent)) {
                    for (xmlNode* child : ElementChildren(element)) {
                        if (NodeName(child) == name) {
                            xmlUnlinkNode(child);
                            xmlFreeNode(child);
                        }
                    }
                }
            } else if (kind == "CPField") {
                if (ParseProfileNumber(Attr(entry, "optional")) == 1 && m_env.upDownGrade &&
                    IsXPathLiteralSafe(name) && IsXmlNameSafe(m_env.region)) {
                    const CXPath settings(m_env.upDownGrade->Document());
                    const std::string g = "//dfns:CodePlugSetting/dfns:G" + std::to_string(target);
                    const std::string match = "/dfns:*[@name='" + name + "']";
                    if (settings.SelectFirst(g + "/dfns:" + m_env.region + match) ||
                        settings.SelectFirst(g + "/dfns:RegionCommon" + match)) {
                        continue;  // the target format has the field: it stays
                    }
                }
                const std::string nodename = Attr(entry, "nodename");
                if (!IsXmlNameSafe(nodename)) {
                    continue;
                }
                for (xmlNode* element : raw.SelectNodes("//dfns:" + nodename)) {
                    if (xmlAttr* attr = xmlHasNsProp(element, BAD_CAST name.c_str(), nullptr)) {
                        xmlRemoveProp(attr);
                    }
                }
            }
        }
        return 1;
    });
}

void CRadioDataModel::LoadPublicGroupRanges() {
    xmlNode* limit = nullptr;
    for (xmlNode* c : ElementChildren(m_rootItem.Node())) {
        if (IsProfileElement(c) && NodeName(c) == "limit") {
            limit = c;
            break;
        }
    }
    m_banks = ::LoadPublicGroupRanges(limit);
}

void CRadioDataModel::UpgradeToLatestVersion() {
    if (!m_env.upDownGrade || !m_rawDoc) {
        return;
    }
    const auto version = m_env.upDownGrade->UpgradeVersion(kLatestModelGroup);
    if (!version || version->size() < 8 || (*version)[2] != '.' || (*version)[5] != '.') {
        return;
    }
    xmlNode* node = CXPath(m_rawDoc.get()).SelectFirst("//dfns:version");
    if (!node) {
        return;
    }
    const unsigned release =
        static_cast<unsigned>(std::strtoul(version->substr(0, 2).c_str(), nullptr, 16));
    SetAttribute(node, "firmware_release", std::to_string(release));
    SetAttribute(node, "firmware_version", version->substr(3, 2));
    SetAttribute(node, "firmware_revision", version->substr(version->size() - 2));
}

std::string CRadioDataModel::ProfileText() const {
    return m_profileDoc ? DocumentToString(m_profileDoc.get()) : std::string();
}

std::string CRadioDataModel::RawProfileText() const {
    return m_rawDoc ? DocumentToString(m_rawDoc.get()) : std::string();
}

CProfileSnapshot CRadioDataModel::TakeSnapshot() const {
    CProfileSnapshot snapshot;
    snapshot.profile = ProfileText();
    if (!m_fieldListsCopy && m_operationDoc) {
        m_fieldListsCopy.reset(xmlCopyDoc(m_operationDoc.get(), 1), xmlFreeDoc);
    }
    snapshot.fieldLists = m_fieldListsCopy;
    snapshot.modelGroup = m_modelGroup;
    snapshot.narrow = m_narrow;
    return snapshot;
}

void CRadioDataModel::RestoreSnapshot(const CProfileSnapshot& snapshot) {
    constexpr const char* context = "CRadioDataModel::RestoreSnapshot";
    TraceExceptions(context, [&] {
        std::string error;
        XmlDocPtr profile = ParseXmlUtf8(snapshot.profile, &error, kProfileOptions);
        if (!profile || !m_engine || !m_schema || !m_operationRoot) {
            ThrowQMVVLT(MessageId::kInvalidProfile, context, "Desc: " + error);
        }
        if (snapshot.fieldLists && snapshot.fieldLists != m_fieldListsCopy) {
            // The lists of another load (before a radio read, say): the operation document takes
            // copies of them, in the order BuildFieldList made them (keep, add; then the latest
            // group's pair when the profile's group is older).
            for (xmlNode* list : ElementChildren(m_operationRoot)) {
                xmlUnlinkNode(list);
                xmlFreeNode(list);
            }
            const xmlNode* source =
                xmlDocGetRootElement(const_cast<xmlDoc*>(snapshot.fieldLists.get()));
            for (xmlNode* list : ElementChildren(source)) {
                xmlAddChild(m_operationRoot, xmlDocCopyNode(list, m_operationDoc.get(), 1));
            }
            const std::vector<xmlNode*> lists = ElementChildren(m_operationRoot);
            m_groupFields = lists.size() > 1 ? ElementChildren(lists[1]) : std::vector<xmlNode*>{};
            m_latestFields = snapshot.modelGroup == kLatestModelGroup ? m_groupFields
                             : lists.size() > 3                       ? ElementChildren(lists[3])
                                                                      : std::vector<xmlNode*>{};
            m_fieldListsCopy = snapshot.fieldLists;
        }
        // Nodes the rules detached belong to the profile about to be freed.
        m_engine->ReleaseDetachedNodes();
        m_rootItem =
            CDataItem(m_engine.get(), &m_schema->info, xmlDocGetRootElement(profile.get()));
        m_profileDoc = std::move(profile);
        m_rawDoc.reset();
        m_modelGroup = snapshot.modelGroup;
        m_narrow = snapshot.narrow;
        LoadPublicGroupRanges();
    });
}
