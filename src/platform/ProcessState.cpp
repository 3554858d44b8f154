#include "ProcessState.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <atomic>
#include <utility>

namespace moru::platform {

namespace {

struct Entry {
    void* part = nullptr;
    void (*deleter)(void*) = nullptr;
    Teardown teardown = Teardown::Results;
};

// The parts by slot. Reached only under the library's lock (the door) or while the library is
// loaded and unloaded. A plain array, which no destructor ends: the unload that destroys the parts
// runs among the library's static destructors, in an order no one chooses.
constexpr std::size_t kSlots = 16;
constinit std::array<Entry, kSlots> g_entries{};

std::array<Entry, kSlots>& Entries() { return g_entries; }

std::atomic<std::size_t>& SlotCount()
{
    static std::atomic<std::size_t> count{0};
    return count;
}

} // namespace

std::size_t ProcessState::NewSlot() { return SlotCount()++; }

void* ProcessState::Find(std::size_t slot) noexcept
{
    const auto& entries = Entries();
    return slot < entries.size() ? entries[slot].part : nullptr;
}

void ProcessState::Keep(std::size_t slot, Teardown teardown, void* part, Deleter deleter)
{
    if (slot >= kSlots) {
        deleter(part);
        throw std::logic_error("the process state has no room for another kind of part");
    }
    Entries()[slot] = Entry{part, deleter, teardown};
}

void ProcessState::Release(std::size_t slot)
{
    auto& entries = Entries();
    if (slot >= entries.size() || !entries[slot].part) return;
    // Detached first: its destructor may reach the state, and finds the part gone.
    const Entry entry = std::exchange(entries[slot], Entry{});
    entry.deleter(entry.part);
}

void ProcessState::Destroy() noexcept
{
    auto& entries = Entries();
    // A destructor that uses a part already gone makes it again; a few rounds end them all.
    for (int round = 0; round < 4; ++round) {
        std::array<std::pair<Teardown, std::size_t>, kSlots> order{};
        std::size_t count = 0;
        for (std::size_t slot = 0; slot < kSlots; ++slot) {
            if (entries[slot].part) order[count++] = {entries[slot].teardown, slot};
        }
        if (count == 0) return;
        std::sort(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(count),
                  [](const auto& a, const auto& b) { return a.first < b.first; });
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t slot = order[i].second;
            try {
                Release(slot);
            } catch (...) {
                // Nothing can be reported at unload; what a destructor could not end goes with the process.
            }
        }
    }
}

} // namespace moru::platform
