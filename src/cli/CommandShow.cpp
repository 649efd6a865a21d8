#include <iostream>
#include <map>

#include "CCliSession.h"
#include "CQMVVLTDoc.h"
#include "CReportProfile.h"
#include "CliArgs.h"
#include "Commands.h"
#include "MessageId.h"
#include "ReportBuilders.h"
#include "StringTable.h"

namespace {

std::string Flags(const ReportContact& c, bool withScan) {
    std::string flags;
    if (withScan && c.inScanList) {
        flags += "  " + LoadString(MessageId::kCliScanFlag);
    }
    if (c.inScrollList) {
        flags += "  " + LoadString(MessageId::kCliScrollFlag);
    }
    return flags;
}

std::string Text(int id, std::initializer_list<std::string_view> args) {
    return CStringTable::Instance().Format(id, args);
}

std::string Join(const std::vector<std::string>& names) {
    std::string out;
    for (const std::string& name : names) {
        out += (out.empty() ? "" : ", ") + name;
    }
    return out.empty() ? LoadString(MessageId::kNone) : out;
}

}  // namespace

int CmdShow(const CliContext& ctx) {
    const CCliArgs args(ctx.args, {});
    args.ExpectPositionals(1, 1);
    CCliSession session(ctx, false);
    CQMVVLTDoc doc(session.App(), session.InstallPath(), session);
    if (!doc.Open(args.Positionals()[0])) {
        return kExitDataError;
    }
    const CReportProfile p(doc.Model().GetProfileDoc());
    const ReportContact* own = p.OwnPrivate();
    auto& out = std::cout;
    out << LoadString(MessageId::kUnitPrivateId) << ": " << p.Limit("pid");
    if (own) {
        out << " (" << own->name << ")";
    }
    char firmware[64];
    std::snprintf(firmware, sizeof firmware, "%s%02X.%02u.%02u",
                  p.Version("firmware_phase").c_str(), p.VersionNumber("firmware_release"),
                  p.VersionNumber("firmware_version"), p.VersionNumber("firmware_revision"));
    char codeplug[64];
    std::snprintf(codeplug, sizeof codeplug, "CP%02X.%02X.%02X",
                  p.VersionNumber("codeplug_structure"), p.VersionNumber("codeplug_version"),
                  p.VersionNumber("codeplug_dev_version"));
    out << "\n"
        << LoadString(MessageId::kModel) << ": "
        << Text(MessageId::kCliModelLine, {ModelName(p.Limit("model")), p.Limit("model"),
                                           p.Limit("clone_compatibility_version")})
        << "\n"
        << LoadString(MessageId::kFirmwareVersion) << ": " << firmware << "\n"
        << LoadString(MessageId::kCodeplugVersion) << ": " << codeplug << "\n"
        << Text(MessageId::kCliModelGroup, {std::to_string(doc.Model().GetModelGroup())}) << "\n";
    const std::size_t contacts =
        p.PublicGroups().size() + p.PrivateGroups().size() + p.Privates().size();
    out << Text(MessageId::kCliCapacities,
                {std::to_string(contacts), p.Limit("max_num_of_contacts"),
                 std::to_string(p.PublicGroups().size()), p.Limit("max_num_of_public_grps"),
                 std::to_string(p.PrivateGroups().size()), p.Limit("max_num_of_private_grps"),
                 std::to_string(p.Privates().size()), std::to_string(p.Texts().size()),
                 p.Limit("max_num_of_predefined_msgs"), p.Limit("max_num_of_channels")})
        << "\n";

    auto nameOf = [&](const std::string& pid) {
        const ReportContact* c = p.ContactByPid(pid);
        return c ? c->name : pid;
    };
    out << "\n" << LoadString(MessageId::kPublicGroups) << ":\n";
    for (const ReportContact& g : p.PublicGroups()) {
        out << "  " << g.name << "  "
            << Text(MessageId::kCliPidNumber,
                    {g.pid, std::to_string(doc.PidToPublicGroupNumber(g.pid))})
            << "  " << Text(MessageId::kCliChannel, {std::to_string(g.channel)}) << Flags(g, true)
            << "\n";
    }
    out << LoadString(MessageId::kPrivateGroups) << ":\n";
    for (const ReportContact& g : p.PrivateGroups()) {
        std::vector<std::string> members;
        for (const ReportContact& c : p.Privates()) {
            for (const std::string& parent : c.parentGroups) {
                if (parent == g.pid) {
                    members.push_back(c.name);
                }
            }
        }
        out << "  " << g.name << "  " << Text(MessageId::kCliPid, {g.pid}) << "  "
            << Text(MessageId::kCliChannel, {std::to_string(g.channel)}) << Flags(g, false) << "  "
            << Text(MessageId::kCliMembers, {Join(members)}) << "\n";
    }
    out << LoadString(MessageId::kPrivatesNode) << ":\n";
    for (const ReportContact& c : p.Privates()) {
        std::vector<std::string> groups;
        for (const std::string& parent : c.parentGroups) {
            groups.push_back(nameOf(parent));
        }
        out << "  " << c.name << "  " << Text(MessageId::kCliPid, {c.pid}) << "  "
            << Text(MessageId::kCliChannel, {std::to_string(c.channel)}) << Flags(c, false) << "  "
            << Text(MessageId::kCliGroups, {Join(groups)}) << "  "
            << Text(MessageId::kCliHome,
                    {c.homeGrp.empty() ? LoadString(MessageId::kNone) : nameOf(c.homeGrp)})
            << "\n";
    }

    std::map<unsigned, std::vector<std::string>> scanLists;
    std::vector<std::string> scroll;
    for (const auto* list : {&p.PublicGroups(), &p.PrivateGroups(), &p.Privates()}) {
        for (const ReportContact& c : *list) {
            if (list == &p.PublicGroups() && c.inScanList) {
                scanLists[c.channel].push_back(c.name);
            }
            if (c.inScrollList) {
                scroll.push_back(c.name);
            }
        }
    }
    out << "\n" << LoadString(MessageId::kCliScanLists) << ":\n";
    for (const auto& [channel, names] : scanLists) {
        out << "  " << Text(MessageId::kChannelN, {std::to_string(channel)}) << ": " << Join(names)
            << "\n";
    }
    out << LoadString(MessageId::kScrollListGlobal) << ": " << Join(scroll) << "\n";
    const xmlDoc* profile = doc.Model().GetProfileDoc();
    for (xmlNode* priv : CXPath(const_cast<xmlDoc*>(profile))
                             .SelectNodes("//dfns:Private[dfns:scrolllist/dfns:list]")) {
        std::vector<std::string> names;
        for (xmlNode* entry : CXPath(priv->doc).SelectNodes("dfns:scrolllist/dfns:list", priv)) {
            names.push_back(GetAttribute(entry, "name").value_or(""));
        }
        const bool active = GetAttribute(priv, "private_scroll_list").value_or("0") != "0";
        out << Text(active ? MessageId::kCliListOfUsed : MessageId::kCliListOfNotUsed,
                    {LoadString(MessageId::kPrivateScrollList),
                     GetAttribute(priv, "name").value_or("")})
            << ": " << Join(names) << "\n";
    }
    out << "\n" << LoadString(MessageId::kTextMessages) << ":\n";
    int n = 0;
    for (const std::string& text : p.Texts()) {
        out << "  " << ++n << ". " << text << "\n";
    }
    return kExitOk;
}
