#include "api/Contain.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

using moru::api::DoorMutex;

// A callback that calls back into the library takes the lock again on the thread that holds it;
// only the outermost unlock lets another thread in.
TEST(DoorLock, IsTakenAgainByItsOwnerAndFreedByTheOutermostUnlock)
{
    DoorMutex door;
    door.lock();
    door.lock();
    door.unlock();
    std::atomic<bool> entered{false};
    std::thread other([&] {
        door.lock();
        entered = true;
        door.unlock();
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(entered) << "another thread entered while the owner still held the lock once";
    door.unlock();
    other.join();
    EXPECT_TRUE(entered);
}

// Threads that take it, nested, around unguarded work never overlap.
TEST(DoorLock, KeepsThreadsApart)
{
    DoorMutex door;
    long counter = 0;
    int inside = 0;
    bool overlapped = false;
    auto work = [&] {
        for (int i = 0; i < 20000; ++i) {
            door.lock();
            door.lock();
            overlapped = overlapped || ++inside != 1;
            ++counter;
            --inside;
            door.unlock();
            door.unlock();
        }
    };
    std::thread a(work), b(work);
    work();
    a.join();
    b.join();
    EXPECT_EQ(counter, 60000);
    EXPECT_FALSE(overlapped);
}
