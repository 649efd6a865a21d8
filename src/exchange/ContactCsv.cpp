#include "ContactCsv.h"

#include <vector>

#include "CRadioDataModel.h"
#include "CsvText.h"

namespace {

std::string Attr(const xmlNode* node, const char* name) {
    return GetAttribute(node, name).value_or("");
}

// The name of the group with this PID: private groups first, as the views look them up.
std::string GroupName(const CXPath& xpath, const std::string& pid) {
    if (pid.empty()) {
        return {};
    }
    for (const char* list : {"PrivateGroups/dfns:PrivateGroup", "PublicGroups/dfns:PublicGroup"}) {
        for (xmlNode* group : xpath.SelectNodes(std::string("//dfns:") + list)) {
            if (Attr(group, "pid") == pid) {
                return Attr(group, "name");
            }
        }
    }
    return pid;  // a dangling reference stays visible rather than vanishing
}

std::string FlagOf(const xmlNode* node, const char* attribute) {
    return Attr(node, attribute) == "1" ? "1" : "0";
}

}  // namespace

std::string ExportContactsCsv(const CRadioDataModel& model) {
    using namespace ContactCsv;
    std::vector<std::string> header = {kType, kName, kId, kChannel, kHomeGroup};
    header.insert(header.end(), kGroups.begin(), kGroups.end());
    header.insert(header.end(), {kScrollList.name, kScanList.name, kRinger.name});
    for (const Column& flag : kPrivateFlags) {
        header.emplace_back(flag.name);
    }
    std::string out(kUtf8ByteOrderMark);
    auto writeRow = [&out](const std::vector<std::string>& fields) {
        for (std::size_t i = 0; i < fields.size(); ++i) {
            out += (i ? "," : "") + QuoteCsvField(fields[i]);
        }
        out += "\r\n";
    };
    writeRow(header);

    const CXPath xpath(model.GetProfileDoc());
    const PublicGroupIdBanks& banks = model.GetPublicGroupIdBanks();
    for (const Kind& kind : kKinds) {
        const bool isPublic = std::string_view(kind.element) == "PublicGroup";
        const bool isPrivate = std::string_view(kind.element) == "Private";
        for (xmlNode* c : xpath.SelectNodes(std::string("//dfns:Contacts/dfns:") + kind.list +
                                            "/dfns:" + kind.element)) {
            std::vector<std::string> row = {kind.word, Attr(c, "name")};
            const std::string pid = Attr(c, "pid");
            const std::int64_t number = isPublic ? PidToPublicGroupNumber(banks, pid) : 0;
            row.push_back(isPublic && number > 0 ? std::to_string(number) : pid);
            row.push_back(Attr(c, "channel"));
            row.push_back(isPrivate ? GroupName(xpath, Attr(c, "home_grp")) : "");
            std::vector<xmlNode*> parents;
            if (isPrivate) {
                parents = xpath.SelectNodes("dfns:ParentPrivateGroups/dfns:ParentPrivateGroup", c);
            }
            for (std::size_t i = 0; i < kGroups.size(); ++i) {
                row.push_back(i < parents.size() ? GroupName(xpath, Attr(parents[i], "pid")) : "");
            }
            row.push_back(FlagOf(c, kScrollList.attribute));
            row.push_back(isPublic ? FlagOf(c, kScanList.attribute) : "");
            row.push_back(isPrivate ? Attr(c, kRinger.attribute) : "");
            for (const Column& flag : kPrivateFlags) {
                row.push_back(isPrivate ? FlagOf(c, flag.attribute) : "");
            }
            writeRow(row);
        }
    }
    return out;
}
