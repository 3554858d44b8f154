#include "platform/ProcessState.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

using moru::platform::ProcessState;
using moru::platform::Teardown;

namespace {

std::vector<std::string> g_ended;

struct ServicePart {
    static constexpr Teardown kTeardown = Teardown::Service;
    ~ServicePart() { g_ended.push_back("service"); }
};
struct ResultsPart {
    static constexpr Teardown kTeardown = Teardown::Results;
    ~ResultsPart() { g_ended.push_back("results"); }
};
struct SessionPart {
    static constexpr Teardown kTeardown = Teardown::Session;
    // Its end reaches a part that has already gone, which is made again and ended as well.
    ~SessionPart()
    {
        g_ended.push_back("session");
        ProcessState::Part<ResultsPart>();
    }
};

int g_attempts = 0;
struct FailingOnce {
    static constexpr Teardown kTeardown = Teardown::Lists;
    FailingOnce()
    {
        if (++g_attempts == 1) throw std::runtime_error("first attempt fails");
    }
    int value = 7;
};

} // namespace

// Destroy ends the library's own parts too (the registry, the session); no test keeps any across
// its end.
TEST(ProcessState, PartsAreMadeOnceAndEndInTeardownOrderWhateverTheOrderOfUse)
{
    g_ended.clear();
    ServicePart& service = ProcessState::Part<ServicePart>();
    EXPECT_EQ(&ProcessState::Part<ServicePart>(), &service);
    ProcessState::Part<SessionPart>();
    ProcessState::Part<ResultsPart>();
    EXPECT_NE(ProcessState::Existing<ResultsPart>(), nullptr);

    ProcessState::Drop<ServicePart>();
    EXPECT_EQ(ProcessState::Existing<ServicePart>(), nullptr);
    EXPECT_EQ(g_ended, std::vector<std::string>{"service"});
    ProcessState::Part<ServicePart>();

    // Made service, session, results: ended results, session (which makes the results again),
    // service, then what was made again.
    g_ended.clear();
    ProcessState::Destroy();
    EXPECT_EQ(g_ended, (std::vector<std::string>{"results", "session", "service", "results"}));
    EXPECT_EQ(ProcessState::Existing<ResultsPart>(), nullptr);
    EXPECT_EQ(ProcessState::Existing<SessionPart>(), nullptr);
}

TEST(ProcessState, AFailedConstructionLeavesNoPartAndTheNextUseTriesAgain)
{
    g_attempts = 0;
    EXPECT_THROW(ProcessState::Part<FailingOnce>(), std::runtime_error);
    EXPECT_EQ(ProcessState::Existing<FailingOnce>(), nullptr);
    EXPECT_EQ(ProcessState::Part<FailingOnce>().value, 7);
    ProcessState::Drop<FailingOnce>();
}
