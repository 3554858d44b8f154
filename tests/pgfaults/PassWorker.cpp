// A host that runs bulk passes over the server until told to stop, for the test of schemas
// swapped under running hosts: moru_pass_worker CONFIG COMPOUNDS STOP OUT. Each pass reads its
// scalar values in two calls and appends one line to OUT: "old N" or "new N" (N values, all below
// or all above kChanged), "mixed" with both counts, or "failed" with the reason from the trace.

#include "ServerHarness.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

using namespace moru::pgfaults;

namespace {

// The new data has every value raised by 100000; no value of the old reaches this.
constexpr double kChanged = 50000;

} // namespace

int main(int argc, char** argv)
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: moru_pass_worker CONFIG COMPOUNDS STOP OUT\n");
        return 2;
    }
    // A failed pass says why.
    setenv("MORU_TRACE", (std::string(argv[4]) + ".trace").c_str(), 1);
    moru::host::HostLibrary::Instance(moru::host::LibraryFileIn(MORU_LIBRARY_DIR));
    std::ofstream out(argv[4]);
    const auto connected = Initialise(argv[1]);
    if (connected.success != 1) {
        out << "failed to connect: " << (connected.messages.empty() ? "" : connected.messages[0]) << std::endl;
        return 1;
    }
    std::vector<std::string> names;
    std::ifstream list(argv[2]);
    for (std::string line; std::getline(list, line);) names.push_back(line);
    std::vector<const char*> compounds;
    compounds.reserve(names.size());
    for (const auto& name : names) compounds.push_back(name.c_str());

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(50);
    while (!std::filesystem::exists(argv[3]) && std::chrono::steady_clock::now() < deadline) {
        // The values twice in one pass, in two calls: a push between them must not show.
        std::string failedCall;
        std::optional<std::vector<ScalarValue>> values, again;
        if (StartPass({"SAMPLE.PURE"}, compounds, {"MW", "TB"}, &failedCall)) values = ScalarValues(&failedCall);
        if (values) again = ScalarValues(&failedCall);
        if (!values || !again) {
            out << "failed " << TraceLineOf(failedCall) << std::endl;
            continue;
        }
        values->insert(values->end(), again->begin(), again->end());
        std::size_t changed = 0;
        for (const auto& value : *values) changed += value.number > kChanged ? 1 : 0;
        if (changed == 0) out << "old " << values->size() << std::endl;
        else if (changed == values->size()) out << "new " << values->size() << std::endl;
        else out << "mixed " << changed << " of " << values->size() << std::endl;
    }
    return 0;
}
