#include "CWriteCheck.h"

#include <algorithm>

#include "MessageId.h"
#include "RadioText.h"
#include "StringTable.h"
#include "TextCodec.h"

namespace {

class CProblemList {
  public:
    void Add(int format, std::u16string_view subject, int reason, bool notRadioText = false) {
        const std::string why = LoadString(reason);
        std::string text =
            format == MessageId::kSettingsProblem
                ? CStringTable::Instance().Format(format, {why})
                : CStringTable::Instance().Format(format, {Utf16ToUtf8(subject), why});
        m_problems.push_back({std::move(text), notRadioText});
    }
    std::vector<CWriteCheck::Problem> Take() { return std::move(m_problems); }

  private:
    std::vector<CWriteCheck::Problem> m_problems;
};

void CheckContact(const CContactRecord& record, CProblemList& problems) {
    const std::u16string_view subject = record.name.empty() ? record.pid : record.name;
    if (record.name.empty()) {
        problems.Add(MessageId::kContactProblem, subject, MessageId::kNoName);
    } else if (!IsLatin1(record.name)) {
        problems.Add(MessageId::kContactProblem, subject, MessageId::kNameNotLatin1, true);
    } else if (record.name.size() > kNameBudget) {
        problems.Add(MessageId::kContactProblem, subject, MessageId::kNameTooLong);
    }
    if (!IsValidPid(record.pid)) {
        problems.Add(MessageId::kContactProblem, subject, MessageId::kBadPid,
                     !IsLatin1(record.pid));
    }
    if (record.cntct_type != kContactPrivate) {
        return;
    }
    const bool groupsOk =
        std::all_of(record.parent_groups.begin(), record.parent_groups.end(),
                    [](const std::u16string& pid) { return pid.empty() || IsValidPid(pid); }) &&
        (record.home_grp.empty() || IsValidPid(record.home_grp));
    if (!groupsOk) {
        problems.Add(MessageId::kContactProblem, subject, MessageId::kBadGroupPid);
    }
}

}  // namespace

std::vector<CWriteCheck::Problem> CWriteCheck::Check(const CVirtualCodeplug& image) {
    CProblemList problems;
    for (const CContactRecord& record : image.contacts) {
        if (record.cntct_type <= kContactPublicGroup) {
            CheckContact(record, problems);
        }
    }
    for (const std::u16string& text : image.texts) {
        if (!IsLatin1(text)) {
            problems.Add(MessageId::kTextProblem, text, MessageId::kTextNotLatin1, true);
        } else if (text.size() > kTextBudget) {
            problems.Add(MessageId::kTextProblem, text, MessageId::kTextTooLong);
        }
    }
    const CRadioSettings& settings = image.settings;
    if (!IsLatin1(settings.password) || settings.password.size() > kShortFieldBudget) {
        problems.Add(MessageId::kSettingsProblem, {}, MessageId::kBadPassword,
                     !IsLatin1(settings.password));
    }
    if (!settings.call_forward_id.empty() && !IsValidPid(settings.call_forward_id)) {
        problems.Add(MessageId::kSettingsProblem, {}, MessageId::kBadCallForwardPid);
    }
    return problems.Take();
}
