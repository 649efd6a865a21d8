#include "AtomicFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <system_error>

#include "CQMVVLTException.h"

void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes, int failureCode,
                         std::string_view context) {
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
    std::string temp = (folder / ("." + path.filename().string() + ".XXXXXX")).string();
    const int fd = mkstemp(temp.data());
    if (fd < 0) {
        ThrowQMVVLT(failureCode, context, "cannot create a file in " + folder.string());
    }
    bool ok = true;
    for (std::size_t done = 0; ok && done < bytes.size();) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        ok = n > 0;
        done += ok ? static_cast<std::size_t>(n) : 0;
    }
    ok = fsync(fd) == 0 && ok;
    ok = close(fd) == 0 && ok;
    if (ok) {
        // Keep the permissions an existing file had; a new one gets the usual ones.
        std::error_code ec;
        auto perms = std::filesystem::status(path, ec).permissions();
        if (ec || perms == std::filesystem::perms::unknown) {
            const mode_t mask = umask(0);
            umask(mask);
            perms = static_cast<std::filesystem::perms>(0666 & ~mask);
        }
        std::filesystem::permissions(temp, perms, ec);
        ok = std::rename(temp.c_str(), path.c_str()) == 0;
    }
    if (!ok) {
        std::remove(temp.c_str());
        ThrowQMVVLT(failureCode, context, "cannot write " + path.string());
    }
}
