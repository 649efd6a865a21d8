#include <iostream>

#include "CDataAdaptor.h"
#include "CQMVVLTException.h"
#include "CVirtualCodeplugJson.h"
#include "CliArgs.h"
#include "Commands.h"
#include "DataFile.h"
#include "TextCodec.h"

namespace {

// 103: "Failed to load profile."
constexpr int kLoadFailed = 103;

// A profile in any of its forms on disk (plain or scrambled, UTF-16 or single-byte) as UTF-8.
std::string ReadProfileFile(const std::string& path) {
    std::string text = ReadProfileText(path).utf8;
    if (text.empty()) {
        ThrowQMVVLT(kLoadFailed, "qmvvlt-cli image", "cannot open " + path);
    }
    return text;
}

}  // namespace

int CmdImage(const CliContext& ctx) {
    const CCliArgs args(ctx.args, {"--radio-pid"});
    args.ExpectPositionals(1, 1);
    const std::string text = ReadProfileFile(args.Positionals()[0]);
    CVirtualCodeplug image;
    CDataAdaptor::XML2VirtualCP(text, image, Utf8ToUtf16(args.Value("--radio-pid").value_or("")));
    image.Count();
    std::cout << CVirtualCodeplugJson::ToJson(image);
    return kExitOk;
}
