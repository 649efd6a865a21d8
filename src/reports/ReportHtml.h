#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "MessageId.h"

// The HTML fragments the reports are made of. Every %s value is escaped on the way in.

// &, <, > and " as entities; with nbsp also every blank as "&nbsp;" (titles, labels, list items).
std::string EscapeReportText(std::string_view text, bool nbsp);
// Dealer texts: escaped without the blank rule, line breaks as "<BR>".
std::string EscapeDealerText(std::string_view text);

namespace ReportHtml {

std::string SectionTitle(std::string_view title);
std::string UnderlinedTitle(std::string_view title);
std::string LabelValue(std::string_view label, std::string_view value);
std::string SingleItem(std::string_view item);
std::string TwoColumnList(const std::vector<std::string>& items);
std::string Paragraph(std::string_view text);
inline constexpr std::string_view kSeparator = "<HR color='#0000ff'>";

// Column headers of the overview tables.

// Overview tables: the head opens the table, the caller closes it with "</table>". idHeader names
// the identifier column (public group numbers or PIDs).
std::string GroupTableHead(int idHeader);
std::string PrivateTableHead();
std::string GroupRow(std::string_view name, std::string_view id, unsigned channel);
std::string PrivateRow(std::string_view name, std::string_view pid, unsigned channel,
                       bool groupOnly);

}  // namespace ReportHtml
