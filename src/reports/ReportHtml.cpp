#include "ReportHtml.h"

#include "MessageId.h"
#include "StringTable.h"

std::string EscapeReportText(std::string_view text, bool nbsp) {
    std::string out;
    out.reserve(text.size() + 16);
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case ' ':
                out += nbsp ? "&nbsp;" : " ";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string EscapeDealerText(std::string_view text) {
    std::string out;
    const std::string escaped = EscapeReportText(text, false);
    for (std::size_t i = 0; i < escaped.size(); ++i) {
        if (escaped[i] == '\r' && i + 1 < escaped.size() && escaped[i + 1] == '\n') {
            continue;  // CR LF is one break
        }
        if (escaped[i] == '\r' || escaped[i] == '\n') {
            out += "<BR>";
        } else {
            out += escaped[i];
        }
    }
    return out;
}

namespace ReportHtml {

namespace {
constexpr std::string_view kItemTable =
    "<table border=\"0\" cellpadding=\"0\" cellspacing=\"0\" class=\"Item\">";
constexpr std::string_view kRowGap = "\t\t   ";
}  // namespace

std::string SectionTitle(std::string_view title) {
    return "<div class=\"ItemTitle\">" + EscapeReportText(title, true) + "</div>";
}

std::string UnderlinedTitle(std::string_view title) {
    return "<span class=\"ItemTitleU\">" + EscapeReportText(title, true) + "</span><BR>";
}

std::string LabelValue(std::string_view label, std::string_view value) {
    std::string out(kItemTable);
    out += kRowGap;
    out += "<tr>";
    out += kRowGap;
    out += "<td width=\"110\" class=\"ItemName\">" + EscapeReportText(label, true) + ":</td>";
    out += kRowGap;
    out += "<td width=\"70\" class=\"ItemVal\">" + EscapeReportText(value, false) + "</td>";
    out += kRowGap;
    out += "</tr>";
    out += kRowGap;
    out += "</table>";
    return out;
}

std::string SingleItem(std::string_view item) {
    std::string out(kItemTable);
    out += kRowGap;
    out += "<tr>";
    out += kRowGap;
    out += "<td width=\"15\">&nbsp;</td>";
    out += kRowGap;
    out += "<td width=\"265\" class=\"ItemVal\">" + EscapeReportText(item, true) + "</td>";
    out += kRowGap;
    out += "</tr>";
    out += kRowGap;
    out += "</table>";
    return out;
}

std::string TwoColumnList(const std::vector<std::string>& items) {
    std::string out = "<table border=\"0\" cellpadding=\"0\" cellspacing=\"0\">";
    for (std::size_t i = 0; i < items.size(); i += 2) {
        out += "<tr><td width=\"15\">&nbsp;</td>";
        out += "<td width=\"265\" class=\"ItemVal\">" + EscapeReportText(items[i], true) + "</td>";
        const std::string second =
            i + 1 < items.size() ? EscapeReportText(items[i + 1], true) : "&nbsp;";
        out += "<td width=\"265\" class=\"ItemVal\">" + second + "</td></tr>";
    }
    return out + "</table>";
}

std::string Paragraph(std::string_view text) {
    std::string out = "<table border=\"0\" cellpadding=\"0\" cellspacing=\"0\">";
    out += kRowGap;
    out += "<tr>";
    out += kRowGap;
    out += "<td class=\"ItemVal\"><p>" + EscapeReportText(text, false) + "</p></td>";
    out += kRowGap;
    out += "</tr>";
    out += kRowGap;
    out += "</table>";
    return out;
}

namespace {

std::string HeadCell(std::string_view text, int width, std::string_view tip = {}) {
    std::string cell = "<td width=\"" + std::to_string(width) + "\" class=\"ItemTitleUC\"";
    if (!tip.empty()) {
        cell += " title=\"" + EscapeReportText(tip, false) + "\"";
    }
    return cell + ">" + EscapeReportText(text, true) + "</td>";
}

}  // namespace

std::string GroupTableHead(int idHeader) {
    return std::string(kItemTable) + "<tr>" + HeadCell(LoadString(MessageId::kName), 136) +
           HeadCell(LoadString(idHeader), 74) +
           HeadCell(LoadString(MessageId::kChannelHeader), 46) + "</tr>";
}

std::string PrivateTableHead() {
    return std::string(kItemTable) + "<tr>" + HeadCell(LoadString(MessageId::kName), 100) +
           HeadCell(LoadString(MessageId::kPidHeader), 74) +
           HeadCell(LoadString(MessageId::kChannelHeader), 48) +
           HeadCell(LoadString(MessageId::kGroupOnlyHeader), 30,
                    LoadString(MessageId::kGroupOnly)) +
           "</tr>";
}

std::string GroupRow(std::string_view name, std::string_view id, unsigned channel) {
    std::string out = "<tr>";
    out += kRowGap;
    out += "<td  class=\"ItemVal\">" + EscapeReportText(name, true) + "</td>";
    out += kRowGap;
    out += "<td class=\"ItemVal\">" + EscapeReportText(id, false) + "</td>";
    out += kRowGap;
    out += "<td class=\"ItemVal\">" + std::to_string(channel) + "</td>";
    out += kRowGap;
    return out + "</tr>";
}

std::string PrivateRow(std::string_view name, std::string_view pid, unsigned channel,
                       bool groupOnly) {
    std::string out = "<tr>";
    out += kRowGap;
    out += "<td class=\"ItemVal\">" + EscapeReportText(name, true) + "</td>";
    out += kRowGap;
    out += "<td class=\"ItemVal\">" + EscapeReportText(pid, false) + "</td>";
    out += kRowGap;
    out += "<td class=\"ItemVal\">" + std::to_string(channel) + "</td>";
    out += kRowGap;
    out += std::string("<td class=\"ItemVal\">") + (groupOnly ? "X" : "&nbsp;") + "</td>";
    out += kRowGap;
    return out + "</tr>";
}

}  // namespace ReportHtml
