#include <filesystem>
#include <iostream>
#include <string_view>

#include "AtomicFile.h"
#include "CCliSession.h"
#include "CQMVVLTException.h"
#include "CRegister.h"
#include "CliArgs.h"
#include "CliReportFile.h"
#include "Commands.h"
#include "FleetReport.h"
#include "MessageId.h"
#include "RadioText.h"
#include "RegisterCsv.h"
#include "ReportPage.h"
#include "StringTable.h"

namespace {

constexpr const char* kContext = "qmvvlt-cli register";

// The columns a listing shows, of RegisterColumns (export writes them all).
constexpr std::string_view kListed[] = {"op_time",      "station",       "port",
                                        "operation",    "pid",           "unit_label",
                                        "profile_file", "verify_result", "outcome_text"};

CRegisterFilter Filter(const CCliArgs& args) {
    CRegisterFilter filter;
    if (const auto pid = args.Value("--pid")) {
        if (!IsValidPid(*pid)) {
            throw CliUsageError{"--pid takes a PID of 1 to 11 digits"};
        }
        filter.pid = *pid;
    }
    if (const auto profile = args.Value("--profile")) {
        filter.profileFile = std::filesystem::path(*profile).filename().string();
    }
    if (const auto since = args.Value("--since")) {
        const auto time = RegisterTimeFromUser(*since);
        if (!time) {
            throw CliUsageError{"--since takes a date (YYYY-MM-DD) or an ISO 8601 date and time"};
        }
        filter.since = *time;
    }
    return filter;
}

void PrintTable(const std::vector<CRegisterRecord>& records) {
    const auto columns = RegisterColumns();
    std::vector<std::size_t> shown;
    for (const std::string_view key : kListed) {
        for (std::size_t i = 0; i < columns.size(); ++i) {
            if (key == columns[i]) {
                shown.push_back(i);
            }
        }
    }
    auto printRow = [&shown](const std::vector<std::string>& fields) {
        for (std::size_t i = 0; i < shown.size(); ++i) {
            std::cout << (i ? "\t" : "") << fields[shown[i]];
        }
        std::cout << '\n';
    };
    printRow(std::vector<std::string>(columns.begin(), columns.end()));
    for (const CRegisterRecord& record : records) {
        printRow(RegisterFields(record));
    }
}

bool IsRegisterFailure(int code) {
    return code == MessageId::kRegisterBadUrl || code == MessageId::kRegisterNotOpened ||
           code == MessageId::kRegisterQueryFailed;
}

}  // namespace

int CmdRegister(const CliContext& ctx) {
    if (ctx.args.empty()) {
        throw CliUsageError{"missing list, export or report"};
    }
    const std::string& what = ctx.args[0];
    const bool list = what == "list";
    const bool report = what == "report";
    if (!list && !report && what != "export") {
        throw CliUsageError{"unknown register command '" + what + "'"};
    }
    std::vector<std::string> valueOptions = {"--pid", "--profile", "--since", "--register"};
    if (!list) {
        valueOptions.emplace_back("-o");
    }
    const CCliArgs args(std::vector<std::string>(ctx.args.begin() + 1, ctx.args.end()),
                        valueOptions);
    args.ExpectPositionals(0, 0);
    const std::string out =
        list ? std::string() : args.Required("-o", report ? "FILE.html|FILE.pdf" : "FILE.csv");
    const CRegisterFilter filter = Filter(args);
    const auto url = args.Value("--register") ? args.Value("--register") : ctx.registerUrl;
    try {
        CRegister reg(CRegisterOptions::FromConfiguration(url));
        const std::vector<CRegisterRecord> records = reg.List(filter);
        if (list) {
            PrintTable(records);
        } else if (report) {
            // The fleet report: each radio with its last write.
            const CCliSession session(ctx, false);
            const std::filesystem::path folder = session.InstallPath() / kReportFolderName;
            WriteReportFile(FleetReportPage(records, folder, {}), folder, out);
            std::cout << out << '\n';
        } else {
            WriteFileAtomically(out, RegisterCsv(records), MessageId::kRegisterNotSaved, kContext);
            std::cout << CStringTable::Instance().Format(MessageId::kRegisterExported,
                                                         {std::to_string(records.size()), out})
                      << '\n';
        }
        if (const std::string status = reg.Status().Text(); !status.empty()) {
            std::cerr << status << '\n';
        }
    } catch (const CQMVVLTException& e) {
        if (!IsRegisterFailure(e.Code())) {
            throw;
        }
        std::cerr << e.Message() << '\n';
        return kExitDataError;
    }
    return kExitOk;
}
