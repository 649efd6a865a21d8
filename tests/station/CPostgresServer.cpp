#include "CPostgresServer.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The newest installed server version's programs.
std::optional<fs::path> ServerPrograms() {
    std::error_code ec;
    std::vector<fs::path> found;
    for (const auto& entry : fs::directory_iterator("/usr/lib/postgresql", ec)) {
        if (fs::exists(entry.path() / "bin/initdb") && fs::exists(entry.path() / "bin/pg_ctl")) {
            found.push_back(entry.path() / "bin");
        }
    }
    if (found.empty()) {
        return std::nullopt;
    }
    return *std::max_element(found.begin(), found.end(), [](const fs::path& a, const fs::path& b) {
        return std::stoi(a.parent_path().filename()) < std::stoi(b.parent_path().filename());
    });
}

}  // namespace

CPostgresServer::CPostgresServer() : m_bin(ServerPrograms()) {
    const passwd* user = getpwnam("postgres");
    if (!m_bin || !user) {
        m_problem = "Debian's postgresql package is not installed";
        return;
    }
    if (geteuid() != 0) {
        m_problem = "starting a server as the postgres user needs root";
        return;
    }
    std::string pattern = "/tmp/qmvvlt-pg-XXXXXX";  // short: a socket path has a length limit
    if (!mkdtemp(pattern.data()) || chown(pattern.c_str(), user->pw_uid, user->pw_gid) != 0) {
        m_problem = "no temporary folder for the server";
        return;
    }
    m_folder = pattern;
    if (RunAsPostgres((*m_bin / "initdb").string() + " --no-sync -A trust -U postgres -D " +
                      (m_folder / "data").string())) {
        Start();
    }
}

CPostgresServer::~CPostgresServer() {
    Stop();
    if (!m_folder.empty()) {
        std::error_code ec;
        fs::remove_all(m_folder, ec);
    }
}

bool CPostgresServer::RunAsPostgres(const std::string& command) {
    const fs::path log = m_folder / "command.log";
    const std::string line =
        "runuser -u postgres -- " + command + " > " + log.string() + " 2>&1 < /dev/null";
    if (std::system(line.c_str()) == 0) {
        return true;
    }
    std::ifstream in(log);
    m_problem = command + " failed: " +
                std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return false;
}

bool CPostgresServer::Start() {
    if (!m_running && !m_folder.empty()) {
        m_running =
            RunAsPostgres((*m_bin / "pg_ctl").string() + " -D " + (m_folder / "data").string() +
                          " -l " + (m_folder / "server.log").string() + " -w -o \"-k " +
                          m_folder.string() + " -c listen_addresses=''\" start");
    }
    return m_running;
}

bool CPostgresServer::Stop() {
    if (m_running && RunAsPostgres((*m_bin / "pg_ctl").string() + " -D " +
                                   (m_folder / "data").string() + " -m fast -w stop")) {
        m_running = false;
    }
    return !m_running;
}

bool CPostgresServer::CreateDatabase(const std::string& name) {
    return m_running && RunAsPostgres((*m_bin / "createdb").string() + " -h " + m_folder.string() +
                                      " -U postgres " + name);
}

std::string CPostgresServer::Url(const std::string& database) const {
    return "postgresql://postgres@/" + database + "?host=" + m_folder.string();
}
