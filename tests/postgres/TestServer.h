#pragma once

// The throwaway server that ctest starts for these tests (scripts/postgres), and the databases
// loaded into it.

#include <optional>
#include <string>

namespace moru::postgres::testing {

// The reason to skip a test that needs the server, or nullopt when it runs.
std::optional<std::string> ServerAbsent();

// The url of the test server's database for `user` (the superuser "postgres" needs no password;
// kReader gives kReaderPassword).
std::string ServerUrl(const std::string& user);
inline constexpr const char* kReader = "moru_reader";
inline constexpr const char* kReaderPassword = "moru-reader-password";

// No password from the environment or a password file of the account running the tests: only
// what a test gives counts.
void IgnoreAccountPasswords();

// Runs statements on the test server as its superuser; a failure to connect fails the test.
void AdministerServer(const std::string& statements);

} // namespace moru::postgres::testing

// Skips the test with the reason when there is no server.
#define MORU_NEEDS_SERVER()                                                                                            \
    do {                                                                                                               \
        if (auto absent = ::moru::postgres::testing::ServerAbsent()) GTEST_SKIP() << *absent;                          \
    } while (false)
