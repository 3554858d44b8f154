#pragma once

#include "MoruDb.h"
#include "Service.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

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

// The entries of an initialisation result text, empty ones included.
std::vector<std::string> Entries(const std::string& result);
bool EndsWith(const std::string& text, const std::string& ending);

// The texts of an identifier lookup; empty when it found no compound or no text, so that a failed
// lookup is a failed expectation and never a null dereference.
std::vector<std::string> Texts(const service::IdentifierValuePtr& value);
// The numbers of a hit's first property value; empty when it has none or another kind.
service::NumericElements FirstNumbers(const service::FoundCompounds& hit);

// Builds `source` into `path`; fails the test with the errors when there are any.
void Build(const dbtool::Json& source, const std::string& path);

} // namespace moru::sqlite::testing
