#include "CPortRegistry.h"

#include <filesystem>

CPortClaim::CPortClaim(CPortClaim&& other) noexcept
    : m_registry(other.m_registry), m_port(std::move(other.m_port)), m_key(std::move(other.m_key)) {
    other.m_registry = nullptr;
}

CPortClaim& CPortClaim::operator=(CPortClaim&& other) noexcept {
    if (this != &other) {
        Release();
        m_registry = other.m_registry;
        m_port = std::move(other.m_port);
        m_key = std::move(other.m_key);
        other.m_registry = nullptr;
    }
    return *this;
}

void CPortClaim::Release() {
    if (m_registry) {
        m_registry->Release(m_key);
        m_registry = nullptr;
    }
    m_port.clear();
    m_key.clear();
}

bool CPortClaim::Covers(const std::string& port) const {
    return m_registry && CPortRegistry::Key(port) == m_key;
}

CPortRegistry& CPortRegistry::Instance() {
    static CPortRegistry registry;
    return registry;
}

std::string CPortRegistry::Key(const std::string& port) {
    // A bare name is a device in /dev, as the serial port opens it.
    const std::string path = port.find('/') == std::string::npos ? "/dev/" + port : port;
    std::error_code ec;
    const auto device = std::filesystem::canonical(path, ec);
    return ec ? std::filesystem::path(path).lexically_normal().string() : device.string();
}

CPortClaim CPortRegistry::TryClaim(const std::string& port) {
    std::string key = Key(port);
    std::lock_guard lock(m_mutex);
    if (!m_busy.insert(key).second) {
        return {};
    }
    return CPortClaim(*this, port, std::move(key));
}

bool CPortRegistry::Busy(const std::string& port) const {
    const std::string key = Key(port);
    std::lock_guard lock(m_mutex);
    return m_busy.count(key) > 0;
}

void CPortRegistry::Release(const std::string& key) {
    std::lock_guard lock(m_mutex);
    m_busy.erase(key);
}
