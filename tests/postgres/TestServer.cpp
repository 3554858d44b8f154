#include "TestServer.h"

#include "PgService.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include <filesystem>
#include <fstream>

namespace moru::postgres::testing {

namespace {

std::optional<std::string> ReadLine(const std::string& name)
{
    std::ifstream file(std::filesystem::path(MORU_TEST_POSTGRES_DIR) / name);
    std::string line;
    if (!file || !std::getline(file, line)) return std::nullopt;
    return line;
}

} // namespace

std::optional<std::string> ServerAbsent()
{
    if (auto absent = ReadLine("absent")) return *absent;
    if (!ReadLine("host") || !ReadLine("port")) {
        return std::string("no test server is running (ctest starts one; by hand: scripts/postgres start ") +
               MORU_TEST_POSTGRES_DIR + ")";
    }
    return std::nullopt;
}

std::string ServerUrl(const std::string& user)
{
    std::string host;
    for (char c : ReadLine("host").value_or("")) {
        if (c == '/') host += "%2F";
        else host += c;
    }
    return "postgresql://" + user + "@" + host + ":" + ReadLine("port").value_or("") + "/postgres";
}

void IgnoreAccountPasswords()
{
    setenv("PGPASSFILE", "/nonexistent/pgpass", 1);
    unsetenv("PGPASSWORD");
}

void AdministerServer(const std::string& statements)
{
    common::DatabaseEntry entry;
    entry.Url = ServerUrl("postgres");
    PgConnection::Refusal refusal;
    auto connection = PgConnection::Open(ConnectionSettings(entry, "", false), refusal);
    ASSERT_TRUE(connection) << refusal.reason;
    connection->Execute(statements);
}

} // namespace moru::postgres::testing
