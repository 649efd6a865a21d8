#include <fstream>
#include <iostream>
#include <sstream>

#include "AtomicFile.h"
#include "CCliSession.h"
#include "CContactCsvImporter.h"
#include "CProfileRuleCheck.h"
#include "CQMVVLTDoc.h"
#include "CQMVVLTException.h"
#include "CliArgs.h"
#include "Commands.h"
#include "ContactCsv.h"
#include "MessageId.h"
#include "StringTable.h"

namespace {

constexpr const char* kContext = "qmvvlt-cli contacts";

int Export(const CliContext& ctx, const std::vector<std::string>& rest) {
    const CCliArgs args(rest, {"-o"});
    args.ExpectPositionals(1, 1);
    CCliSession session(ctx, false);
    CQMVVLTDoc doc(session.App(), session.InstallPath(), session);
    if (!doc.Open(args.Positionals()[0])) {
        return kExitDataError;
    }
    const std::string csv = ExportContactsCsv(doc.Model());
    if (const auto out = args.Value("-o")) {
        WriteFileAtomically(*out, csv, MessageId::kFailedToSave, kContext);
    } else {
        std::cout << csv;
    }
    return kExitOk;
}

int Import(const CliContext& ctx, const std::vector<std::string>& rest) {
    const CCliArgs args(rest, {"-o"});
    args.ExpectPositionals(2, 2);
    const std::string out = args.Required("-o", "OUT.lam");
    const std::string& csvPath = args.Positionals()[1];
    std::ifstream in(csvPath, std::ios::binary);
    if (!in) {
        ThrowQMVVLT(MessageId::kNotContactsCsv, kContext, "File='" + csvPath + "' cannot be read");
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();

    CCliSession session(ctx, false);
    CQMVVLTDoc doc(session.App(), session.InstallPath(), session);
    if (!doc.Open(args.Positionals()[0])) {
        return kExitDataError;
    }
    CContactCsvImporter importer(doc.Model());
    const CsvImportResult result = importer.Import(bytes.str());
    for (const CsvRefusal& refusal : result.refused) {
        std::cerr << csvPath << ": " << FormatRefusal(refusal) << "\n";
    }
    // As with an imported XML profile, the file is made even when a rule is broken, so it can be
    // mended in the editor; the user is told which.
    for (const auto& finding : CProfileRuleCheck::Check(doc.Model().GetRootItem())) {
        std::cerr << out << ": " << finding.text << "\n";
    }
    if (!doc.Save(out)) {
        return kExitDataError;
    }
    std::cout << CStringTable::Instance().Format(
                     MessageId::kCsvImportSummary,
                     {std::to_string(result.added), std::to_string(result.updated),
                      std::to_string(result.refused.size())})
              << "\n"
              << out << "\n";
    return kExitOk;
}

}  // namespace

int CmdContacts(const CliContext& ctx) {
    if (ctx.args.empty()) {
        throw CliUsageError{"missing export or import"};
    }
    const std::vector<std::string> rest(ctx.args.begin() + 1, ctx.args.end());
    if (ctx.args[0] == "export") {
        return Export(ctx, rest);
    }
    if (ctx.args[0] == "import") {
        return Import(ctx, rest);
    }
    throw CliUsageError{"unknown contacts command '" + ctx.args[0] + "'"};
}
