#include "CReportAssembler.h"

#include "CDataAdaptor.h"
#include "CQMVVLTDoc.h"
#include "CReportProfile.h"
#include "ReportBuilders.h"
#include "ReportPage.h"
#include "TextCodec.h"
#include "Utility.h"

CReportAssembler::CReportAssembler(std::filesystem::path installPath)
    : m_installPath(std::move(installPath)) {}

std::filesystem::path CReportAssembler::ReportFolder() const {
    return m_installPath / kReportFolderName;
}

bool CReportAssembler::IsAvailable(const CQMVVLTDoc& doc, Kind kind) {
    return kind == Kind::kOverview || IsRadioReportAvailable(doc.Model().GetProfileDoc());
}

std::string CReportAssembler::Page(const CQMVVLTDoc& doc, Kind kind) const {
    ReportContext context;
    context.modelGroup = doc.Model().GetModelGroup();
    context.banks = doc.Model().GetPublicGroupIdBanks();
    DealerTexts dealer;
    if (Utility::ReadDealerInformation(dealer)) {
        context.dealer = dealer;
    }
    ReportContent content;
    std::string templateName;
    if (kind == Kind::kRadio) {
        const std::string ownPid =
            GetAttribute(CXPath(doc.Model().GetProfileDoc()).SelectFirst("//dfns:limit"), "pid")
                .value_or("");
        // The radio's own private scroll list stands in for the scroll list.
        XmlDocPtr own =
            CDataAdaptor::CopyPrvtScrlLst(doc.Model().ProfileText(), Utf8ToUtf16(ownPid));
        content = BuildRadioReport(own.get(), context);
        templateName = kRadioReportTemplate;
    } else {
        content = BuildOverviewReport(doc.Model().GetProfileDoc(), context);
        templateName = kOverviewReportTemplate;
    }
    return FillReportTemplate(LoadReportTemplate(ReportFolder() / templateName), content);
}
