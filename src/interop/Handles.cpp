#include "interop/Handles.h"

#include "platform/Diagnostics.h"

#include <cxxabi.h>

#include <cstdlib>
#include <string>

namespace moru::interop {

namespace {
// Handle layout: bits 0..19 slot number + 1, bits 20..30 generation; always positive.
constexpr int kSlotBits = 20;
constexpr std::uint32_t kSlotLimit = (1u << kSlotBits) - 1;
constexpr std::uint32_t kGenerationLimit = 1u << (31 - kSlotBits);
// Released slots are reused only once this many have gathered, so each slot comes round slowly.
constexpr std::size_t kReuseThreshold = 1024;
// A kind of result as a developer reads it: its class's name without its namespaces.
std::string KindName(const char* mangledName)
{
    int status = 0;
    char* demangled = abi::__cxa_demangle(mangledName, nullptr, nullptr, &status);
    std::string name = status == 0 && demangled ? demangled : mangledName;
    std::free(demangled);
    const std::size_t templateStart = name.find('<');
    const std::size_t lastScope = name.rfind("::", templateStart);
    return lastScope == std::string::npos ? name : name.substr(lastScope + 2);
}
} // namespace

int HandleRegistry::Register(std::shared_ptr<const void> object, std::type_index kind)
{
    std::uint32_t index;
    if (m_freeSlots.size() - m_freeHead > kReuseThreshold || m_slots.size() >= kSlotLimit) {
        if (m_freeHead == m_freeSlots.size()) throw std::length_error("no handle is free");
        index = m_freeSlots[m_freeHead++];
        if (m_freeHead > 4096 && m_freeHead * 2 > m_freeSlots.size()) {
            m_freeSlots.erase(m_freeSlots.begin(), m_freeSlots.begin() + static_cast<std::ptrdiff_t>(m_freeHead));
            m_freeHead = 0;
        }
    } else {
        index = static_cast<std::uint32_t>(m_slots.size());
        m_slots.push_back(Slot{});
    }
    Slot& slot = m_slots[index];
    slot.object = std::move(object);
    slot.kind = kind;
    ++m_live;
    return static_cast<int>((slot.generation << kSlotBits) | (index + 1));
}

const HandleRegistry::Slot* HandleRegistry::Lookup(int handle) const
{
    if (handle <= 0) return nullptr;
    const auto value = static_cast<std::uint32_t>(handle);
    const std::uint32_t index = (value & kSlotLimit) - 1;
    const std::uint32_t generation = value >> kSlotBits;
    if (index >= m_slots.size()) return nullptr;
    const Slot& slot = m_slots[index];
    if (!slot.object || slot.generation != generation) return nullptr;
    return &slot;
}

void HandleRegistry::NoteWrongHandle(int handle, const Slot* slot, const std::type_info& wanted)
{
    if (!platform::Tracing()) return;
    if (handle == 0) {
        platform::NoteFailure("handle 0 holds no result; a ", KindName(wanted.name()), " was wanted");
    } else if (!slot) {
        platform::NoteFailure("handle ", handle, " is not a live handle (released, or never issued)");
    } else {
        platform::NoteFailure("handle ", handle, " is a ", KindName(slot->kind.name()), ", not a ",
                              KindName(wanted.name()));
    }
}

void HandleRegistry::ReleaseHandle(int handle)
{
    if (!Lookup(handle)) return;
    const std::uint32_t index = (static_cast<std::uint32_t>(handle) & kSlotLimit) - 1;
    Slot& slot = m_slots[index];
    // Take the object out first: its destructor may release other objects.
    auto object = std::move(slot.object);
    slot.object.reset();
    slot.kind = typeid(void);
    --m_live;
    // A slot whose generations are used up is retired, so no old handle can ever match it again.
    if (++slot.generation < kGenerationLimit) m_freeSlots.push_back(index);
}

} // namespace moru::interop
