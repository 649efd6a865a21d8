#include <fstream>
#include <iostream>
#include <iterator>

#include "CDataAdaptor.h"
#include "CQMVVLTException.h"
#include "CVirtualCodeplugJson.h"
#include "CliArgs.h"
#include "Commands.h"
#include "TextCodec.h"

namespace {

// 103: "Failed to load profile."
constexpr int kLoadFailed = 103;

std::string ReadProfileFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        ThrowQMVVLT(kLoadFailed, "qmvvlt-cli image", "cannot open " + path);
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
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
