// Hosts call the library from worker threads, and callbacks call back into it: every export is
// serialized at the door, and a callback re-enters on the thread that holds the lock.

#include "HostSession.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

using namespace moru::host;

namespace {

struct Tally {
    std::atomic<int> wrong{0};
    std::atomic<int> failed{0};
};

// A search by CAS number and its details: ethanol, or a failure, never another compound.
void SearchEthanol(Tally& tally)
{
    const char* source[] = {"SAMPLE.PURE", nullptr};
    int handle = 0;
    if (MORU_EXPORT_OF(FoundCompounds_FindByIdentifierType)(source, "64-17-5", "CASRN", nullptr, &handle) != 1) {
        ++tally.failed;
        return;
    }
    char db[256], bank[256], name[256], alias[256], cas[256], property[256];
    int index = 0;
    double value = 0;
    const int details =
        MORU_EXPORT_OF(FoundCompounds_GetObjectDetails)(handle, db, bank, &index, name, alias, cas, property, &value);
    if (details != 1) ++tally.failed;
    else if (std::string(cas) != "64-17-5") ++tally.wrong;
    MORU_EXPORT_OF(FoundCompounds_ReleaseHandle)(handle);
    MORU_EXPORT_OF(FoundCompounds_ReleaseHandle)(handle); // twice: does nothing
}

// The property names of a databank, each read into the documented buffer.
void ListPropertyNames(Tally& tally)
{
    int types = 0, table = 0;
    const int count = MORU_EXPORT_OF(Databank_GetDatabankTypeAndPropertyList)("SAMPLE", "PURE", &types, &table);
    if (count <= 0) {
        ++tally.failed;
        return;
    }
    char name[MORU_MAX_PROPERTY_NAME_BYTES + 1];
    for (int position = 0; position < count; ++position) {
        if (MORU_EXPORT_OF(Databank_GetNextPropertyName)(table, position, name) != 1) ++tally.failed;
    }
    if (MORU_EXPORT_OF(Databank_GetNextPropertyName)(table, count, name) != -1) ++tally.wrong;
    MORU_EXPORT_OF(Databank_ReleaseHandle)(table);
}

// Every value of a compound through an enumerator and the handles it gives.
void ReadValues(Tally& tally)
{
    int enumerator = 0;
    if (MORU_EXPORT_OF(CompoundProperties_GetAllCompoundProperties)("SAMPLE", "PURE", "64-17-5", "CASRN",
                                                                    &enumerator) != 1) {
        ++tally.failed;
        return;
    }
    while (MORU_EXPORT_OF(PropertyValueCollectionEnum_MoveNext)(enumerator) == 1) {
        int value = 0, type = 0;
        if (MORU_EXPORT_OF(PropertyValueCollectionEnum_GetItem)(enumerator, &value) != 1) {
            ++tally.failed;
            continue;
        }
        if (MORU_EXPORT_OF(PropertyValueObject_Type)(value, &type) != 1) ++tally.failed;
        MORU_EXPORT_OF(PropertyValueObject_ReleaseHandle)(value);
    }
    MORU_EXPORT_OF(PropertyValueCollectionEnum_ReleaseHandle)(enumerator);
}

void Hammer(Tally& tally, int rounds)
{
    for (int round = 0; round < rounds; ++round) {
        SearchEthanol(tally);
        ListPropertyNames(tally);
        ReadValues(tally);
    }
}

class Threads : public ConnectedSuite<SampleDatabases> {};

TEST_F(Threads, SeveralThreadsCallingAtOnceGetTheAnswersOfOneThread)
{
    Tally tally;
    std::vector<std::thread> workers;
    workers.reserve(4);
    for (int i = 0; i < 4; ++i) workers.emplace_back(Hammer, std::ref(tally), 150);
    for (auto& worker : workers) worker.join();
    EXPECT_EQ(tally.wrong, 0);
    EXPECT_EQ(tally.failed, 0);
}

// A thread that connects and lists again and again while others read: their calls may fail while
// the databanks are not listed, but never crash or answer wrongly.
TEST_F(Threads, ReinitialisingWhileOtherThreadsReadIsSafe)
{
    Tally tally;
    std::atomic<bool> done{false};
    std::vector<std::thread> readers;
    readers.reserve(3);
    for (int i = 0; i < 3; ++i) {
        readers.emplace_back([&] {
            while (!done) Hammer(tally, 1);
        });
    }
    for (int i = 0; i < 30; ++i) ASSERT_TRUE(ConnectAndList(SampleDatabases::config));
    done = true;
    for (auto& reader : readers) reader.join();
    EXPECT_EQ(tally.wrong, 0);
    EXPECT_TRUE(ConnectAndList(SampleDatabases::config));
}

// Callbacks run inside the export that calls them, on the caller's thread: one that calls the
// library again must neither deadlock nor find the library in a broken state.
std::atomic<int> g_foundInCallback{0};

int MORU_CALL SearchFromCallback(const char*, const char*, const char*, const char*, const char*, const char*, int,
                                 const char*, const char*, const char*, int, int, int)
{
    Tally tally;
    SearchEthanol(tally);
    if (tally.failed == 0 && tally.wrong == 0) ++g_foundInCallback;
    return 0;
}

TEST_F(Threads, ACallbackMayCallTheLibraryAgain)
{
    g_foundInCallback = 0;
    std::thread caller([] {
        MORU_EXPORT_OF(ListMoruDatabanks_Vanta)
        (reinterpret_cast<void*>(static_cast<MoruDatabankInfoCallback>(&SearchFromCallback)));
    });
    caller.join();
    EXPECT_GT(g_foundInCallback, 0);
}

// A callback that connects again replaces the databases the listing is walking: the listing may
// fail, but nothing breaks, and the host lists again.
int g_reconnections = 0;

int MORU_CALL ReconnectFromCallback(const char*, const char*, const char*, const char*, const char*, const char*, int,
                                    const char*, const char*, const char*, int, int, int)
{
    if (g_reconnections++ == 0) {
        const std::string config = HostPath(SampleDatabases::config);
        MORU_EXPORT_OF(InitializeVNFromConfigFile)(config.c_str(), "");
    }
    return 0;
}

TEST_F(Threads, ACallbackThatConnectsAgainBreaksNothing)
{
    g_reconnections = 0;
    MORU_EXPORT_OF(ListMoruDatabanks_Vanta)
    (reinterpret_cast<void*>(static_cast<MoruDatabankInfoCallback>(&ReconnectFromCallback)));
    EXPECT_GT(g_reconnections, 0);
    ASSERT_TRUE(ConnectAndList(SampleDatabases::config));
    Tally tally;
    SearchEthanol(tally);
    EXPECT_EQ(tally.failed, 0);
    EXPECT_EQ(tally.wrong, 0);
}

} // namespace
