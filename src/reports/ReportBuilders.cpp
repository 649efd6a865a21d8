#include "ReportBuilders.h"

#include <algorithm>
#include <cstdio>

#include "CReportProfile.h"
#include "Collation.h"
#include "MessageId.h"
#include "ReportHtml.h"
#include "StringTable.h"

namespace {

using namespace ReportHtml;

std::string Label(int id) {
    return LoadString(id);
}

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

std::string DealerSection(const ReportContext& context) {
    if (!context.dealer) {
        return {};
    }
    const DealerTexts& d = *context.dealer;
    if (Trimmed(d.dealerInfo).empty() && Trimmed(d.dealerNotes).empty() &&
        Trimmed(d.contactInfo).empty()) {
        return {};
    }
    std::string out = SectionTitle(Label(MessageId::kDealerInformation));
    out +=
        "<table width='445'><tr><td><table width=\"100%\" border=\"0\" cellpadding=\"0\" "
        "cellspacing=\"0\"><tr>";
    for (const std::string* text : {&d.dealerInfo, &d.dealerNotes, &d.contactInfo}) {
        out += "<td width=\"33%\" valign=\"top\" class=\"ItemVal\">" + EscapeDealerText(*text) +
               "</td>";
    }
    out += "</tr></table></td></tr></table>";
    out += kSeparator;
    return out;
}

void SortByName(std::vector<const ReportContact*>& contacts) {
    std::stable_sort(contacts.begin(), contacts.end(),
                     [](const ReportContact* a, const ReportContact* b) {
                         return CompareContactNamesUtf8(a->name, b->name) < 0;
                     });
}

std::vector<const ReportContact*> Pointers(const std::vector<ReportContact>& list) {
    std::vector<const ReportContact*> out;
    for (const ReportContact& c : list) {
        out.push_back(&c);
    }
    SortByName(out);
    return out;
}

// One single item per name, or "None".
std::string ItemList(const std::vector<std::string>& names) {
    if (names.empty()) {
        return SingleItem(Label(MessageId::kNone));
    }
    std::string out;
    for (const std::string& name : names) {
        out += SingleItem(name);
    }
    return out;
}

std::string NoneInSection() {
    return "&nbsp;" + SingleItem(Label(MessageId::kNone));
}

std::string EnabledText(bool on) {
    return Label(on ? MessageId::kEnabled : MessageId::kDisabled);
}

bool Contains(const std::vector<std::string>& list, const std::string& value) {
    return std::find(list.begin(), list.end(), value) != list.end();
}

std::string Hex2(std::uint32_t v) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02X", v);
    return buffer;
}

std::string Dec2(std::uint32_t v) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02u", v);
    return buffer;
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    for (auto pos = text.find(from); pos != std::string::npos;
         pos = text.find(from, pos + to.size())) {
        text.replace(pos, from.size(), to);
    }
    return text;
}

// The private groups a radio may talk to: all of them with see-all-groups, else its own.
std::vector<std::string> ReachablePrivateGroups(const CReportProfile& p, const ReportContact& own,
                                                bool onlyScrollList) {
    const bool seeAll = own.seeAllGroups && p.LimitFlag("see_all_groups_en");
    std::vector<std::string> names;
    for (const ReportContact* g : Pointers(p.PrivateGroups())) {
        if ((seeAll || Contains(own.parentGroups, g->pid)) &&
            (!onlyScrollList || g->inScrollList)) {
            names.push_back(g->name);
        }
    }
    return names;
}

std::vector<std::string> MemberGroupNames(const CReportProfile& p, const ReportContact& own) {
    std::vector<std::string> names;
    for (const ReportContact* g : Pointers(p.PrivateGroups())) {
        if (Contains(own.parentGroups, g->pid)) {
            names.push_back(g->name);
        }
    }
    return names;
}

// The public groups a private hears: its home group, then with scanning the groups in the scan
// list of its channel.
std::vector<const ReportContact*> ReceivedPublicGroups(const CReportProfile& p,
                                                       const ReportContact& priv) {
    std::vector<const ReportContact*> groups;
    const ReportContact* home = p.PublicGroupByPid(priv.homeGrp);
    if (home) {
        groups.push_back(home);
    }
    if (p.LimitFlag("public_scan_en") && p.SettingFlag("scan_en")) {
        for (const ReportContact* g : Pointers(p.PublicGroups())) {
            if (g != home && g->channel == priv.channel && g->inScanList) {
                groups.push_back(g);
            }
        }
    }
    return groups;
}

std::string ChannelTitle(const ReportContact& c) {
    return c.name + " (" +
           CStringTable::Instance().Format(MessageId::kChannelN, {std::to_string(c.channel)}) + ")";
}

}  // namespace

std::string ModelName(const std::string& modelCode) {
    std::string name = modelCode;
    if (!name.empty() && name[0] == 'Q') {
        name.replace(0, 1, "QMV");
    }
    return Replace(name, "QMV411", "QMV410 M");
}

ReportContent BuildRadioReport(xmlDoc* doc, const ReportContext& context) {
    const CReportProfile p(doc);
    const std::string ownPid = p.Limit("pid");
    const std::string model = ModelName(p.Limit("model"));
    ReportContent report;
    report.pictureCode = Replace(p.Limit("model"), "Q411", "Q410");
    report.title = Label(MessageId::kRadioSpecificReport) + " - " +
                   Label(MessageId::kUnitPrivateId) + ":" + ownPid + " " +
                   Label(MessageId::kModel) + ":" + model;

    std::string& out = report.html;
    out = "&nbsp;<BR>&nbsp;<BR>";
    out += DealerSection(context);
    out += LabelValue(Label(MessageId::kUnitPrivateId), ownPid);
    const ReportContact* own = p.OwnPrivate();
    if (!own) {
        return report;  // only offered for a profile of one of its own radios
    }
    out += LabelValue(Label(MessageId::kName), own->name);
    out += LabelValue(Label(MessageId::kFirmwareVersion),
                      p.Version("firmware_phase") + Hex2(p.VersionNumber("firmware_release")) +
                          "." + Dec2(p.VersionNumber("firmware_version")) + "." +
                          Dec2(p.VersionNumber("firmware_revision")));
    out += LabelValue(Label(MessageId::kCodeplugVersion),
                      "CP" + Hex2(p.VersionNumber("codeplug_structure")) + "." +
                          Hex2(p.VersionNumber("codeplug_version")) + "." +
                          Hex2(p.VersionNumber("codeplug_dev_version")));
    out += LabelValue(Label(MessageId::kModel), model);
    out += LabelValue(Label(MessageId::kHomeChannel), std::to_string(own->channel));
    const ReportContact* home = p.ContactByPid(own->homeGrp);
    out += LabelValue(Label(MessageId::kHomeGroup), home ? home->name : Label(MessageId::kNone));
    out += LabelValue(Label(MessageId::kGroupOnly), EnabledText(own->showGrpOnly));
    out += LabelValue(Label(MessageId::kRinger), std::to_string(own->alertTone));
    if (p.LimitFlag("mngr_mode_en")) {
        out += LabelValue(Label(MessageId::kManagerMode), EnabledText(own->mngrMode));
    }
    if (p.LimitFlag("see_all_groups_en")) {
        out += LabelValue(Label(MessageId::kSeeAllGroups), EnabledText(own->seeAllGroups));
    }
    if (p.LimitFlag("public_scan_en")) {
        out += LabelValue(Label(MessageId::kScanMode), EnabledText(p.SettingFlag("scan_en")));
    }
    if (context.modelGroup != 1) {
        out +=
            LabelValue(Label(MessageId::kPrivateScrollList), EnabledText(own->privateScrollList));
    }

    std::vector<std::string> receive;
    for (const ReportContact* g : ReceivedPublicGroups(p, *own)) {
        receive.push_back(g->name);
    }
    for (const std::string& name : MemberGroupNames(p, *own)) {
        receive.push_back(name);
    }
    out += kSeparator;
    out += SectionTitle(Label(MessageId::kReceiveFrom)) + ItemList(receive);

    std::vector<std::string> transmit;
    for (const ReportContact* g : Pointers(p.PublicGroups())) {
        transmit.push_back(g->name);
    }
    for (const std::string& name : ReachablePrivateGroups(p, *own, false)) {
        transmit.push_back(name);
    }
    out += kSeparator;
    out += SectionTitle(Label(MessageId::kTransmitTo)) + ItemList(transmit);

    const int scrollTitle = context.modelGroup == 1  ? MessageId::kScrollList
                            : own->privateScrollList ? MessageId::kScrollListPrivate
                                                     : MessageId::kScrollListGlobal;
    std::vector<std::string> scroll;
    for (const ReportContact* g : Pointers(p.PublicGroups())) {
        if (g->inScrollList) {
            scroll.push_back(g->name);
        }
    }
    for (const std::string& name : ReachablePrivateGroups(p, *own, true)) {
        scroll.push_back(name);
    }
    for (const ReportContact* c : Pointers(p.Privates())) {
        if (c != own && c->inScrollList) {
            scroll.push_back(c->name);
        }
    }
    out += kSeparator;
    out += SectionTitle(Label(scrollTitle)) + ItemList(scroll);

    out += kSeparator;
    out += SectionTitle(Label(MessageId::kTextMessages)) + ItemList(p.Texts());
    return report;
}

ReportContent BuildOverviewReport(xmlDoc* doc, const ReportContext& context) {
    const CReportProfile p(doc);
    ReportContent report;
    report.title = Label(MessageId::kOverviewReport);
    // Both model codes share one picture.
    report.pictureCode = Replace(Replace(p.Limit("model"), "21S", "20S"), "Q411", "Q410");

    std::string& out = report.html;
    out = DealerSection(context);

    const auto privates = Pointers(p.Privates());
    const auto publicGroups = Pointers(p.PublicGroups());
    const auto privateGroups = Pointers(p.PrivateGroups());

    out += SectionTitle(Label(MessageId::kAllPrivates));
    if (privates.empty()) {
        out += NoneInSection();
    } else {
        out += PrivateTableHead();
        for (const ReportContact* c : privates) {
            out += PrivateRow(c->name, c->pid, c->channel, c->showGrpOnly);
        }
        out += "</table>";
    }

    out += SectionTitle(Label(MessageId::kAllPublicGroups));
    if (publicGroups.empty()) {
        out += NoneInSection();
    } else {
        out += GroupTableHead(MessageId::kPublicGroupNumberHeader);
        for (const ReportContact* g : publicGroups) {
            const auto number = PidToPublicGroupNumber(context.banks, g->pid);
            out += GroupRow(g->name, number ? std::to_string(number) : g->pid, g->channel);
        }
        out += "</table>";
    }

    out += SectionTitle(Label(MessageId::kAllPrivateGroups));
    if (privateGroups.empty()) {
        out += NoneInSection();
    } else {
        out += GroupTableHead(MessageId::kPidHeader);
        for (const ReportContact* g : privateGroups) {
            out += GroupRow(g->name, g->pid, g->channel);
        }
        out += "</table>";
    }

    const struct {
        int label;
        bool ReportContact::*flag;
    } flagLists[] = {
        {MessageId::kManagerModeEnabled, &ReportContact::mngrMode},
        {MessageId::kSeeAllGroupsEnabled, &ReportContact::seeAllGroups},
        {MessageId::kGroupOnlyEnabled, &ReportContact::showGrpOnly},
    };
    for (const auto& list : flagLists) {
        std::vector<std::string> names;
        for (const ReportContact* c : privates) {
            if (c->*list.flag) {
                names.push_back(c->name);
            }
        }
        out += SectionTitle(Label(list.label));
        out += names.empty() ? NoneInSection() : TwoColumnList(names);
    }

    out += SectionTitle(Label(MessageId::kPrivateGroups));
    for (const ReportContact* g : privateGroups) {
        std::vector<std::string> members;
        for (const ReportContact* c : privates) {
            if (Contains(c->parentGroups, g->pid)) {
                members.push_back(c->name);
            }
        }
        out += UnderlinedTitle(ChannelTitle(*g)) + "&nbsp;&nbsp;" +
               UnderlinedTitle(Label(MessageId::kGroupMembers));
        out +=
            members.empty() ? SingleItem(Label(MessageId::kNone)) + "<BR>" : TwoColumnList(members);
    }
    if (privateGroups.empty()) {
        out += NoneInSection();
    }

    out += kSeparator;
    out += SectionTitle(Label(MessageId::kPublicGroups));
    for (const ReportContact* g : publicGroups) {
        std::vector<std::string> receivers;
        for (const ReportContact* c : privates) {
            const auto heard = ReceivedPublicGroups(p, *c);
            if (std::find(heard.begin(), heard.end(), g) != heard.end()) {
                receivers.push_back(c->name);
            }
        }
        out += UnderlinedTitle(ChannelTitle(*g)) + "&nbsp;&nbsp;" +
               UnderlinedTitle(Label(MessageId::kReceiveList));
        out += receivers.empty() ? SingleItem(Label(MessageId::kNone)) : TwoColumnList(receivers);
    }
    if (publicGroups.empty()) {
        out += NoneInSection();
    }
    return report;
}
