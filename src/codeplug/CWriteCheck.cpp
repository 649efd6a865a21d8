#include "CWriteCheck.h"

#include <algorithm>

#include "RadioText.h"
#include "StringTable.h"
#include "TextCodec.h"

namespace {

constexpr int kContactProblem = 30109;   // "Contact \"%s\": %s"
constexpr int kTextProblem = 30110;      // "Text message \"%s\": %s"
constexpr int kSettingsProblem = 30111;  // "Settings: %s"
constexpr int kNameNotLatin1 = 218;
constexpr int kNameTooLong = 30112;
constexpr int kBadPid = 30113;
constexpr int kTextTooLong = 30114;
constexpr int kBadGroupPid = 30115;
constexpr int kBadPassword = 30116;
constexpr int kBadCallForwardPid = 30117;
constexpr int kTextNotLatin1 = 30105;
constexpr int kNoName = 30118;
constexpr std::uint64_t kHighestPid = 17179869183ULL;  // 2^34 - 1

bool IsPid(std::u16string_view text) {
    if (text.empty() || text.size() > kPidBudget) {
        return false;
    }
    std::uint64_t value = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9') {
            return false;
        }
        value = value * 10 + static_cast<std::uint64_t>(c - u'0');
    }
    return value <= kHighestPid;
}

class CProblemList {
  public:
    void Add(int format, std::u16string_view subject, int reason, bool notRadioText = false) {
        const std::string why = LoadString(reason);
        std::string text =
            format == kSettingsProblem
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
        problems.Add(kContactProblem, subject, kNoName);
    } else if (!IsLatin1(record.name)) {
        problems.Add(kContactProblem, subject, kNameNotLatin1, true);
    } else if (record.name.size() > kNameBudget) {
        problems.Add(kContactProblem, subject, kNameTooLong);
    }
    if (!IsPid(record.pid)) {
        problems.Add(kContactProblem, subject, kBadPid, !IsLatin1(record.pid));
    }
    if (record.cntct_type != kContactPrivate) {
        return;
    }
    const bool groupsOk =
        std::all_of(record.parent_groups.begin(), record.parent_groups.end(),
                    [](const std::u16string& pid) { return pid.empty() || IsPid(pid); }) &&
        (record.home_grp.empty() || IsPid(record.home_grp));
    if (!groupsOk) {
        problems.Add(kContactProblem, subject, kBadGroupPid);
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
            problems.Add(kTextProblem, text, kTextNotLatin1, true);
        } else if (text.size() > kTextBudget) {
            problems.Add(kTextProblem, text, kTextTooLong);
        }
    }
    const CRadioSettings& settings = image.settings;
    if (!IsLatin1(settings.password) || settings.password.size() > kShortFieldBudget) {
        problems.Add(kSettingsProblem, {}, kBadPassword, !IsLatin1(settings.password));
    }
    if (!settings.call_forward_id.empty() && !IsPid(settings.call_forward_id)) {
        problems.Add(kSettingsProblem, {}, kBadCallForwardPid);
    }
    return problems.Take();
}
