#include "CCableDiscovery.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <thread>

namespace {

bool EqualsIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

bool IsCharacterDevice(const std::string& path) {
    struct stat st {};
    return !path.empty() && path.front() == '/' && ::stat(path.c_str(), &st) == 0 &&
           S_ISCHR(st.st_mode);
}

}  // namespace

long long CCableDiscovery::PortNumber(const std::string& name) {
    std::size_t start = name.size();
    while (start > 0 && std::isdigit(static_cast<unsigned char>(name[start - 1]))) {
        --start;
    }
    if (start == name.size() || name.size() - start > 9) {
        return -1;
    }
    return std::stoll(name.substr(start));
}

std::string CCableDiscovery::GetCurrentPort(bool forceDetect, const PortSettings& settings) const {
    std::string candidate;
    if (forceDetect) {
        candidate = FindCablePort();
    } else if (settings.autoDetect > 0) {
        candidate = FindCablePort();
    } else if (settings.autoDetect == 0) {
        candidate = settings.currentComPort;
    }
    return ValidatePort(candidate);
}

std::string CCableDiscovery::ValidatePort(const std::string& name) const {
    const auto ports = m_lister.Ports();
    std::string best;
    long long bestNumber = -1;
    for (const auto& port : ports) {
        if (!name.empty() && (port.name == name || port.location == name)) {
            return name;
        }
        const long long number = PortNumber(port.name);
        const bool lower = number >= 0 && (bestNumber < 0 || number < bestNumber);
        if (best.empty() || lower) {
            best = port.name;
            bestNumber = number;
        }
    }
    // A pseudo-terminal (a virtual radio) is no listed port but is used as given.
    if (IsCharacterDevice(name)) {
        return name;
    }
    return best;
}

bool CCableDiscovery::IsCable(const PortDescription& port) {
    // A converter that does not say who made it or which one it is is not the cable.
    return EqualsIgnoringCase(port.description, kCableDescription) && !port.manufacturer.empty() &&
           !port.serialNumber.empty();
}

std::string CCableDiscovery::FindCablePort() const {
    // The converter may still be settling after it was plugged in.
    std::this_thread::sleep_for(m_settle);
    for (const auto& port : m_lister.Ports()) {
        if (EqualsIgnoringCase(port.description, kCableDescription)) {
            return IsCable(port) ? port.name : std::string();
        }
    }
    return {};
}
