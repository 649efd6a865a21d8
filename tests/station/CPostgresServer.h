#pragma once

#include <filesystem>
#include <optional>
#include <string>

// A throw-away PostgreSQL server for tests, from Debian's postgresql package: initdb and pg_ctl
// run as the postgres user (the server refuses root), with the data folder and the Unix socket
// in a temporary folder that user owns, and no TCP port. Stopped and removed at destruction.
class CPostgresServer {
  public:
    CPostgresServer();
    ~CPostgresServer();
    CPostgresServer(const CPostgresServer&) = delete;
    CPostgresServer& operator=(const CPostgresServer&) = delete;

    // Whether the server runs; when not, why (for GTEST_SKIP).
    bool Running() const { return m_running; }
    const std::string& Problem() const { return m_problem; }

    bool Start();
    bool Stop();
    // A new empty database on this server.
    bool CreateDatabase(const std::string& name);
    // The register address of one of its databases.
    std::string Url(const std::string& database) const;

  private:
    // Runs a command as the postgres user; false (with the problem noted) when it fails.
    bool RunAsPostgres(const std::string& command);

    std::optional<std::filesystem::path> m_bin;
    std::filesystem::path m_folder;
    bool m_running = false;
    std::string m_problem;
};
