#pragma once

// Sends the library's call trace to a file of the test's own while it lives, and reads it back.

#include "platform/Diagnostics.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace moru::fake {

class TraceCapture {
public:
    TraceCapture()
        : m_path(
              std::filesystem::temp_directory_path() /
              ("moru-trace-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".log"))
    {
        std::filesystem::remove(m_path);
        EXPECT_TRUE(platform::StartTrace(m_path.string()));
    }
    ~TraceCapture()
    {
        platform::StopTrace();
        std::error_code ignored;
        std::filesystem::remove(m_path, ignored);
    }
    TraceCapture(const TraceCapture&) = delete;
    TraceCapture& operator=(const TraceCapture&) = delete;

    // Every line written so far, without the time and thread that begin it.
    std::vector<std::string> Calls() const
    {
        std::vector<std::string> calls;
        std::ifstream file(m_path);
        for (std::string line; std::getline(file, line);) {
            // "<time> thread <number> <call>"
            const std::size_t thread = line.find(" thread ");
            const std::size_t call = thread == std::string::npos ? thread : line.find(' ', thread + 8);
            calls.push_back(call == std::string::npos ? line : line.substr(call + 1));
        }
        return calls;
    }

    // The last line that begins with the export's name, or "" when there is none.
    std::string LastCallOf(const std::string& exportName) const
    {
        const auto calls = Calls();
        for (auto call = calls.rbegin(); call != calls.rend(); ++call) {
            if (call->rfind(exportName + "(", 0) == 0) return *call;
        }
        return {};
    }

    // The reason the export's last line gives, after its result; "" when it gives none.
    std::string ReasonOf(const std::string& exportName) const
    {
        // A summary of arguments holds no ": ", so the first one begins the reason.
        const std::string call = LastCallOf(exportName);
        const std::size_t reason = call.find(": ");
        return reason == std::string::npos ? std::string() : call.substr(reason + 2);
    }

    // The whole file as written, for checks that nothing secret reached it.
    std::string Text() const
    {
        std::ifstream file(m_path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }

private:
    std::filesystem::path m_path;
};

} // namespace moru::fake
