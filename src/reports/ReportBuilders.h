#pragma once

#include <optional>
#include <string>

#include "PublicGroupIdBank.h"
#include "Utility.h"
#include "XmlDom.h"

// What a report needs besides the profile document.
struct ReportContext {
    int modelGroup = 3;
    std::optional<DealerTexts> dealer;  // nothing when they cannot be read
    PublicGroupIdBanks banks;           // for the public group identifiers of the overview
};

// A report's pieces: the content goes behind the template's marker, the title and the picture code
// replace the placeholders ahead of it.
struct ReportContent {
    std::string title;
    std::string pictureCode;
    std::string html;
};

// The radio-specific report of the radio whose PID is the profile's own PID. doc must already have
// that radio's private scroll list in place (CDataAdaptor::CopyPrvtScrlLst).
ReportContent BuildRadioReport(xmlDoc* doc, const ReportContext& context);

// The overview report of every contact of the profile.
ReportContent BuildOverviewReport(xmlDoc* doc, const ReportContext& context);

// The model name a model code stands for ("Q410" -> "QMV410", "Q411" -> "QMV410 M").
std::string ModelName(const std::string& modelCode);
