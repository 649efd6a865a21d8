#include "CTraceFolder.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <mutex>
#include <vector>

#include "CWireTrace.h"
#include "Utility.h"

std::filesystem::path CTraceFolder::UserFolder() {
    return Utility::UserDataFolder() / "traces";
}

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kPrefix = "trace-";
constexpr std::string_view kSuffix = ".txt";
constexpr std::string_view kStampShape = "00000000-000000-000";  // digits where '0' stands

std::string TraceName(std::chrono::system_clock::time_point when) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(when.time_since_epoch()).count() %
        1000;
    std::tm local{};
    localtime_r(&seconds, &local);
    char stamp[32];
    const std::size_t n = std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    std::snprintf(stamp + n, sizeof stamp - n, "-%03d", static_cast<int>(ms));
    return std::string(kPrefix) + stamp + std::string(kSuffix);
}

}  // namespace

bool CTraceFolder::IsTraceName(const std::string& name) {
    if (name.size() != kPrefix.size() + kStampShape.size() + kSuffix.size() ||
        name.compare(0, kPrefix.size(), kPrefix) != 0 ||
        name.compare(name.size() - kSuffix.size(), kSuffix.size(), kSuffix) != 0) {
        return false;
    }
    for (std::size_t i = 0; i < kStampShape.size(); ++i) {
        const char c = name[kPrefix.size() + i];
        const bool digit = c >= '0' && c <= '9';
        if (kStampShape[i] == '0' ? !digit : c != kStampShape[i]) {
            return false;
        }
    }
    return true;
}

void CTraceFolder::Prune(int keep) const {
    std::error_code ec;
    std::vector<fs::path> traces;
    for (const auto& entry : fs::directory_iterator(m_folder, ec)) {
        if (entry.is_regular_file(ec) && IsTraceName(entry.path().filename().string())) {
            traces.push_back(entry.path());
        }
    }
    std::sort(traces.begin(), traces.end());
    const auto excess = static_cast<std::ptrdiff_t>(traces.size()) - std::max(keep, 0);
    for (std::ptrdiff_t i = 0; i < excess; ++i) {
        fs::remove(traces[static_cast<std::size_t>(i)], ec);
    }
}

std::shared_ptr<CWireTrace> CTraceFolder::StartTrace() const {
    // Operations on several ports start traces at once: each gets a name of its own.
    static std::mutex starting;
    const std::lock_guard lock(starting);
    std::error_code ec;
    fs::create_directories(m_folder, ec);
    Prune(kKept - 1);
    // The new trace's name sorts after every trace there is, even when one was started within
    // the same millisecond (or the clock went back): pruning by name keeps the newest.
    std::string newest;
    for (const auto& entry : fs::directory_iterator(m_folder, ec)) {
        const std::string name = entry.path().filename().string();
        if (IsTraceName(name) && name > newest) {
            newest = name;
        }
    }
    auto when = std::chrono::system_clock::now();
    std::string name = TraceName(when);
    for (int step = 0; name <= newest && step < 1000; ++step) {
        when += std::chrono::milliseconds(1);
        name = TraceName(when);
    }
    const fs::path path = m_folder / name;
    if (fs::exists(path, ec)) {
        return nullptr;  // a clock far behind the newest trace: never overwrite one
    }
    auto trace = std::make_shared<CWireTrace>(path);
    return trace->IsOpen() ? trace : nullptr;
}
