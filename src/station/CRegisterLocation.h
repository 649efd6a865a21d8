#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// Where a register lives: an SQLite file, or a PostgreSQL database (several stations share one).
struct CRegisterLocation {
    enum class Kind { kSqlite, kPostgres };

    Kind kind = Kind::kSqlite;
    std::string file;  // SQLite
    // PostgreSQL, as libpq takes them; a host starting with '/' is the folder of a Unix socket.
    std::string host;
    int port = -1;  // -1: the driver's default
    std::string database;
    std::string user;
    std::string password;
    std::string options;  // further libpq parameters, "key=value" separated by ';'
    std::string display;  // for messages: the address without its password

    static CRegisterLocation Sqlite(const std::filesystem::path& file);
    // "postgresql://[USER[:PASSWORD]@][HOST][:PORT]/DATABASE[?host=/socket/folder&key=value...]"
    // (also "postgres://"), or "sqlite:///PATH". Anything else raises kRegisterBadUrl. Without a
    // connect_timeout parameter, a server that does not answer is given up after 5 seconds.
    static CRegisterLocation FromUrl(std::string_view url);
};
