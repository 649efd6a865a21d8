#include "CUnitProfile.h"

#include <algorithm>

#include "CDataAdaptor.h"
#include "CQMVVLTException.h"
#include "CUnitList.h"
#include "CWriteCheck.h"
#include "MessageId.h"
#include "StringTable.h"

namespace {

constexpr const char* kContext = "CUnitProfile";
constexpr int kIdOk = 1;  // the answer the rules take as confirmed: the list is the user's answer

using Refusal = std::pair<int, std::string>;

Refusal BadValue(const std::string& column, const std::string& value, int reason) {
    if (reason == 0) {
        return {MessageId::kCsvBadValue,
                CStringTable::Instance().Format(MessageId::kCsvBadValue, {value, column})};
    }
    return {MessageId::kUnitBadValue,
            CStringTable::Instance().Format(MessageId::kUnitBadValue,
                                            {value, column, LoadString(reason)})};
}

}  // namespace

CUnitProfile::CUnitProfile(CModelEnvironment environment, CProfileSnapshot job)
    : m_model(std::move(environment)), m_job(std::move(job)) {
    TraceExceptions(kContext, [&] {
        m_model.LoadProfileContents(kContext, m_job.profile, m_job.narrow);
        m_model.RestoreSnapshot(m_job);
        m_jobProblems = WriteProblems();
    });
}

std::vector<std::string> CUnitProfile::SettingNames() const {
    std::vector<std::string> names;
    const xmlNode* setting = m_model.GetRootItem().GetChildByName("setting").Node();
    for (const xmlAttr* a = setting->properties; a; a = a->next) {
        names.emplace_back(reinterpret_cast<const char*>(a->name));
    }
    return names;
}

void CUnitProfile::Apply(const CUnit* unit) {
    TraceExceptions(kContext, [&] {
        if (!unit) {
            m_model.RestoreSnapshot(m_job);
            return;
        }
        if (const auto refusal = TryApply(*unit)) {
            ThrowQMVVLT(MessageId::kUnitBadValue, kContext, refusal->second);
        }
    });
}

std::optional<Refusal> CUnitProfile::TryApply(const CUnit& unit) {
    m_model.RestoreSnapshot(m_job);
    if (unit.overrides.empty()) {
        return std::nullopt;
    }
    if (auto refused = Commit(unit)) {
        return refused;
    }
    // Settings without a rule of their own are stored as given; their type is the schema's.
    try {
        m_model.CheckAgainstSchema();
    } catch (const CQMVVLTException&) {
        for (const auto& [column, value] : unit.overrides) {
            CUnit alone;
            alone.overrides = {{column, value}};
            m_model.RestoreSnapshot(m_job);
            try {
                if (!Commit(alone)) {
                    m_model.CheckAgainstSchema();
                }
            } catch (const CQMVVLTException&) {
                return BadValue(column, value, 0);
            }
        }
        return Refusal{MessageId::kInvalidProfile, LoadString(MessageId::kInvalidProfile)};
    }
    try {
        for (const std::string& problem : WriteProblems()) {
            if (std::find(m_jobProblems.begin(), m_jobProblems.end(), problem) ==
                m_jobProblems.end()) {
                return Refusal{MessageId::kProfileCannotBeWritten, problem};
            }
        }
    } catch (const CQMVVLTException& e) {
        return Refusal{e.Code(), LoadString(e.Code())};
    }
    return std::nullopt;
}

std::optional<Refusal> CUnitProfile::Commit(const CUnit& unit) {
    CDataItem setting = m_model.GetRootItem().GetChildByName("setting");
    for (const auto& [column, value] : unit.overrides) {
        RuleResult stored;
        try {
            stored = setting.SetAttributeValue(column, ScriptText(value));
            if (stored.result == 2) {  // a question
                stored = setting.SetAttributeValue(column, ScriptText(value), kIdOk);
            }
        } catch (const CQMVVLTException& e) {
            return BadValue(column, value, e.Code());
        }
        if (stored.result != 0) {
            return BadValue(column, value, stored.messageId);
        }
    }
    return std::nullopt;
}

std::vector<std::string> CUnitProfile::WriteProblems() const {
    std::vector<std::string> texts;
    for (const CWriteCheck::Problem& problem : CWriteCheck::Check(Image({}))) {
        texts.push_back(problem.text);
    }
    return texts;
}

CVirtualCodeplug CUnitProfile::Image(std::u16string_view radioPid) const {
    CVirtualCodeplug image;
    TraceExceptions(kContext,
                    [&] { CDataAdaptor::XML2VirtualCP(m_model.ProfileText(), image, radioPid); });
    return image;
}
