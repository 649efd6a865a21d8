#include "CliOutputFile.h"

#include <fstream>
#include <random>
#include <string>
#include <system_error>

#include "CQMVVLTException.h"

void WriteFileAtomically(const std::filesystem::path& path, std::string_view content,
                         int failureCode, std::string_view context) {
    std::filesystem::path temp = path;
    temp += ".tmp" + std::to_string(std::random_device()());
    std::error_code ec;
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
        out.flush();
        if (!out) {
            out.close();
            std::filesystem::remove(temp, ec);
            ThrowQMVVLT(failureCode, context, "cannot write " + path.string());
        }
    }
    std::filesystem::rename(temp, path, ec);
    if (ec) {
        std::filesystem::remove(temp, ec);
        ThrowQMVVLT(failureCode, context, "cannot write " + path.string());
    }
}
