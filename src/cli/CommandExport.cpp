#include <iostream>

#include "AtomicFile.h"
#include "CQMVVLTException.h"
#include "CliArgs.h"
#include "Commands.h"
#include "DataFile.h"
#include "MessageId.h"
#include "XmlDom.h"

namespace {

constexpr const char* kContext = "qmvvlt-cli export";

// The text is UTF-8 now, whatever form the file had: say so in the declaration, or a reader would
// decode it as UTF-16 again.
std::string DeclareUtf8(std::string text) {
    if (text.compare(0, 5, "<?xml") != 0) {
        return text;
    }
    const std::size_t end = text.find("?>");
    const std::size_t enc = text.find("encoding", 0);
    if (end == std::string::npos || enc == std::string::npos || enc > end) {
        return text;
    }
    const std::size_t open = text.find_first_of("\"'", enc);
    if (open == std::string::npos || open > end) {
        return text;
    }
    const std::size_t close = text.find(text[open], open + 1);
    if (close == std::string::npos || close > end) {
        return text;
    }
    return text.replace(open + 1, close - open - 1, "utf-8");
}

}  // namespace

int CmdExport(const CliContext& ctx) {
    const CCliArgs args(ctx.args, {"-o"});
    args.ExpectPositionals(1, 1);
    const std::string& path = args.Positionals()[0];
    ProfileText profile = ReadProfileText(path);
    if (profile.utf8.empty()) {
        ThrowQMVVLT(MessageId::kInvalidProfile, kContext,
                    "File='" + path + "'\nDesc: missing or empty");
    }
    // Refuse what is not XML (a wrongly scrambled file, say) rather than print garbage.
    std::string error;
    if (!ParseXmlUtf8(profile.utf8, &error)) {
        ThrowQMVVLT(MessageId::kInvalidProfile, kContext, "File='" + path + "'\nDesc: " + error);
    }
    const std::string text = DeclareUtf8(std::move(profile.utf8));
    if (const auto out = args.Value("-o")) {
        WriteFileAtomically(*out, text, MessageId::kFailedToSave, kContext);
    } else {
        std::cout << text;
    }
    return kExitOk;
}
