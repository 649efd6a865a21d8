#pragma once

#include <mutex>
#include <set>
#include <string>

class CPortRegistry;

// One port in use by this process's radio operations, for as long as the claim lives. An empty
// claim (false) was refused: the port was in use already.
class CPortClaim {
  public:
    CPortClaim() = default;
    ~CPortClaim() { Release(); }
    CPortClaim(CPortClaim&& other) noexcept;
    CPortClaim& operator=(CPortClaim&& other) noexcept;
    CPortClaim(const CPortClaim&) = delete;
    CPortClaim& operator=(const CPortClaim&) = delete;

    explicit operator bool() const { return m_registry != nullptr; }
    // The port as it was claimed ("" for an empty claim).
    const std::string& Port() const { return m_port; }
    // Whether this claim is on port, under this or another name of the same device.
    bool Covers(const std::string& port) const;
    void Release();

  private:
    friend class CPortRegistry;
    CPortClaim(CPortRegistry& registry, std::string port, std::string key)
        : m_registry(&registry), m_port(std::move(port)), m_key(std::move(key)) {}

    CPortRegistry* m_registry = nullptr;
    std::string m_port;
    std::string m_key;
};

// The serial ports in use by this process's radio operations: operations on different ports run
// side by side, and a port is never used by two of them at once. A claim on a busy port is refused
// at once rather than waited for, so the caller can say that the port is busy.
class CPortRegistry {
  public:
    static CPortRegistry& Instance();

    // The port for the caller until the claim ends; an empty claim when it is in use. A device
    // reached through a symbolic link is the same port as the device itself.
    CPortClaim TryClaim(const std::string& port);
    bool Busy(const std::string& port) const;

  private:
    friend class CPortClaim;
    static std::string Key(const std::string& port);
    void Release(const std::string& key);

    mutable std::mutex m_mutex;
    std::set<std::string> m_busy;
};
