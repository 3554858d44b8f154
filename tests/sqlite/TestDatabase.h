#pragma once

#include "MoruDb.h"
#include "Service.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace moru::sqlite::testing {

// A directory of its own for each test, removed afterwards.
class ScratchDirectory {
public:
    ScratchDirectory();
    ~ScratchDirectory();
    const std::filesystem::path& Path() const { return m_path; }
    std::string File(const std::string& name) const { return (m_path / name).string(); }
    void Write(const std::string& name, const std::string& text) const;

private:
    std::filesystem::path m_path;
};

// A source holding every kind of record, with names that carry apostrophes, primes and letters
// outside ASCII.
dbtool::Json RichSource();

// Builds `source` into `path`; fails the test with the errors when there are any.
void Build(const dbtool::Json& source, const std::string& path);

} // namespace moru::sqlite::testing
