#include "interop/Handles.h"

#include "MoruIntegration.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace moru::interop;

namespace {
struct Tracked {
    explicit Tracked(bool& alive) : alive(alive) { alive = true; }
    ~Tracked() { alive = false; }
    bool& alive;
};
struct OtherKind {};

using ReleaseFunction = void(MORU_CALL*)(int);
const std::vector<ReleaseFunction> kReleaseFunctions = {
    CompoundCollection_ReleaseHandle,
    CompoundCollectionEnum_ReleaseHandle,
    PropertyValueCollectionEnum_ReleaseHandle,
    PropertyValueObject_ReleaseHandle,
    CompoundProperties_ReleaseHandle,
    Databank_ReleaseHandle,
    FoundCompounds_ReleaseHandle,
    GetAllCompounds_ReleaseHandle,
    BinaryPropertyValueObjects_ReleaseHandle,
    InteractionParameterValueObject_ReleaseHandle,
    Optimized_ReleaseHandle,
    Reactions_ReleaseHandle,
};
} // namespace

TEST(HandleRegistry, NullObjectGetsNoHandle) { EXPECT_EQ(GetHandleFromObject(std::shared_ptr<int>()), 0); }

TEST(HandleRegistry, HandleZeroAndUnknownHandlesReadAsNone)
{
    EXPECT_EQ(GetObjectFromHandle<int>(0), nullptr);
    EXPECT_EQ(GetObjectFromHandle<int>(-5), nullptr);
    EXPECT_EQ(GetObjectFromHandle<int>(0x7fffffff), nullptr);
}

TEST(HandleRegistry, ReaderOfAnotherKindSeesNothing)
{
    const int handle = GetHandleFromObject(std::make_shared<int>(7));
    EXPECT_EQ(GetObjectFromHandle<OtherKind>(handle), nullptr);
    ASSERT_NE(GetObjectFromHandle<int>(handle), nullptr);
    EXPECT_EQ(*GetObjectFromHandle<int>(handle), 7);
    ReleaseHandle(handle);
}

TEST(HandleRegistry, EveryReleaseFunctionIgnoresHandleZero)
{
    const auto before = HandleRegistry::Instance().Count();
    for (auto release : kReleaseFunctions) release(0);
    EXPECT_EQ(HandleRegistry::Instance().Count(), before);
}

TEST(HandleRegistry, EveryReleaseFunctionReleasesAHandleOfAnyKind)
{
    for (auto release : kReleaseFunctions) {
        bool alive = false;
        const int handle = GetHandleFromObject(std::make_shared<Tracked>(alive));
        ASSERT_TRUE(alive);
        release(handle);
        EXPECT_FALSE(alive);
        EXPECT_EQ(GetObjectFromHandle<Tracked>(handle), nullptr);
    }
}

TEST(HandleRegistry, TwoHandlesToOneObjectAreReleasedSeparately)
{
    bool alive = false;
    auto object = std::make_shared<Tracked>(alive);
    const int first = GetHandleFromObject(object);
    const int second = GetHandleFromObject(object);
    object.reset();
    EXPECT_NE(first, second);
    FoundCompounds_ReleaseHandle(first);
    EXPECT_TRUE(alive);
    EXPECT_NE(GetObjectFromHandle<Tracked>(second), nullptr);
    Reactions_ReleaseHandle(second);
    EXPECT_FALSE(alive);
}

TEST(HandleRegistry, ReleasingTwiceIsHarmless)
{
    const int handle = GetHandleFromObject(std::make_shared<int>(1));
    const auto before = HandleRegistry::Instance().Count();
    ReleaseHandle(handle);
    ReleaseHandle(handle);
    EXPECT_EQ(HandleRegistry::Instance().Count(), before - 1);
}

TEST(HandleRegistry, StaleHandleNeverReachesANewerObjectInItsSlot)
{
    // Churn through enough handles that released slots are reused.
    std::vector<int> stale;
    for (int round = 0; round < 3000; ++round) {
        const int handle = GetHandleFromObject(std::make_shared<int>(round));
        ASSERT_GT(handle, 0);
        stale.push_back(handle);
        ReleaseHandle(handle);
    }
    std::vector<int> live;
    live.reserve(3000);
    for (int i = 0; i < 3000; ++i) live.push_back(GetHandleFromObject(std::make_shared<int>(-1)));
    for (int handle : stale) EXPECT_EQ(GetObjectFromHandle<int>(handle), nullptr) << handle;
    for (int handle : live) {
        const auto object = GetObjectFromHandle<int>(handle);
        ASSERT_TRUE(object) << handle;
        EXPECT_EQ(*object, -1);
        ReleaseHandle(handle);
    }
}

TEST(HandleRegistry, MoveNextOnHandleZeroFails)
{
    struct Counter {
        bool MoveNext() { return ++position < 2; }
        int position = -1;
    };
    EXPECT_THROW(EnumeratorMoveNext<Counter>(0), std::exception);
    const int handle = GetHandleFromObject(std::make_shared<Counter>());
    EXPECT_EQ(EnumeratorMoveNext<Counter>(handle), 1);
    EXPECT_EQ(EnumeratorMoveNext<Counter>(handle), 1);
    EXPECT_EQ(EnumeratorMoveNext<Counter>(handle), 0);
    EXPECT_EQ(EnumeratorMoveNext<Counter>(handle), 0);
    ReleaseHandle(handle);
}

TEST(HandleRegistry, ASlotDrivenThroughAllItsGenerationsIsRetiredAndHandlesStayPositive)
{
    // One object at a time: released slots come round again and again, until each has used up its
    // generations. Every handle on the way must be positive and read back its own object.
    HandleRegistry registry;
    const int first = registry.GetHandleFromObject(std::make_shared<int>(0));
    registry.ReleaseHandle(first);
    std::size_t reusesOfFirstSlot = 0;
    const std::uint32_t firstSlotBits = static_cast<std::uint32_t>(first) & 0xFFFFF;
    for (int round = 1; round < 2200000; ++round) {
        const int handle = registry.GetHandleFromObject(std::make_shared<int>(round));
        ASSERT_GT(handle, 0) << "round " << round;
        const auto object = registry.GetObjectFromHandle<int>(handle);
        ASSERT_TRUE(object && *object == round) << "round " << round;
        if ((static_cast<std::uint32_t>(handle) & 0xFFFFF) == firstSlotBits) ++reusesOfFirstSlot;
        registry.ReleaseHandle(handle);
    }
    // The first slot came round for every generation after its first, and then no more.
    EXPECT_EQ(reusesOfFirstSlot, 2047u);
    EXPECT_EQ(registry.GetObjectFromHandle<int>(first), nullptr);
    EXPECT_EQ(registry.Count(), 0u);
}
