// A host that connects again and again for hours: names resolve as fast after the thousandth
// initialisation as after the first.

#include "HostSession.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

using namespace moru::host;

namespace {

class Reinitialisation : public ConnectedSuite<SampleDatabases> {
protected:
    // The quickest of a few timings of resolving the sample's databanks many times, in seconds:
    // loading the bulk lists with no compounds and no properties does little else.
    static double ResolvingTime()
    {
        const char* banks[] = {"SAMPLE.PURE", "SAMPLE.NRTL-SAMPLE", nullptr};
        const char* none[] = {nullptr};
        double best = 1e9;
        for (int attempt = 0; attempt < 5; ++attempt) {
            const auto start = std::chrono::steady_clock::now();
            for (int i = 0; i < 400; ++i) EXPECT_EQ(MORU_EXPORT_OF(Optimized_InitializeAllLists)(banks, none, none), 1);
            best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        }
        MORU_EXPORT_OF(Optimized_UnInitializeAllLists)();
        return best;
    }
};

TEST_F(Reinitialisation, ResolvingANameCostsNoMoreAfterManyInitialisations)
{
    ASSERT_TRUE(ConnectAndList(SampleDatabases::config));
    const double fresh = ResolvingTime();
    for (int i = 0; i < 600; ++i) ASSERT_TRUE(ConnectAndList(SampleDatabases::config));
    const double later = ResolvingTime();
    // Scanning the entries of every earlier listing made this tens of times slower; the margin is
    // for a busy machine.
    EXPECT_LT(later, 4 * fresh + 0.002) << "fresh " << fresh << " s, after 600 initialisations " << later << " s";
}

} // namespace
