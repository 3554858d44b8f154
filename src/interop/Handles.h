#pragma once

// The handle registry: result objects handed to the host live here behind signed 32-bit handles
// until the host releases them. Each registration makes a new handle; an object lives while any
// of its handles or any other holder (an enumerator holding its collection) keeps it.
//
// A handle value holds a slot number and the slot's generation, so a released handle never
// reaches a newer object that reuses its slot: it reads as none, like 0.

#include "platform/ProcessState.h"

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <typeindex>
#include <typeinfo>
#include <vector>

namespace moru::interop {

class HandleRegistry {
public:
    // The registry is a part of the process state, destroyed first at unload.
    static constexpr platform::Teardown kTeardown = platform::Teardown::Results;
    static HandleRegistry& Instance() { return platform::ProcessState::Part<HandleRegistry>(); }

    // 0 for a null object.
    template <class T>
    int GetHandleFromObject(std::shared_ptr<T> object)
    {
        if (!object) return 0;
        return Register(std::static_pointer_cast<const void>(std::const_pointer_cast<const T>(object)), typeid(T));
    }

    // The object behind the handle when it is of kind T; null for 0, a released or never-issued
    // handle, or an object of another kind.
    template <class T>
    std::shared_ptr<T> GetObjectFromHandle(int handle) const
    {
        const Slot* slot = Lookup(handle);
        if (!slot || slot->kind != typeid(T)) {
            NoteWrongHandle(handle, slot, typeid(T));
            return nullptr;
        }
        return std::const_pointer_cast<T>(std::static_pointer_cast<const T>(slot->object));
    }

    // The same object, without taking a share of it: valid until the handle is released, so only
    // for a call, under the library's lock, that releases no handle while it uses the object. Spares
    // an export that runs for every entry of a result the counting of its shares.
    template <class T>
    T* PeekObjectFromHandle(int handle) const
    {
        const Slot* slot = Lookup(handle);
        if (!slot || slot->kind != typeid(T)) {
            NoteWrongHandle(handle, slot, typeid(T));
            return nullptr;
        }
        return const_cast<T*>(static_cast<const T*>(slot->object.get()));
    }

    // 0 and unknown handles are ignored.
    void ReleaseHandle(int handle);

    // Number of live handles.
    std::size_t Count() const { return m_live; }

private:
    struct Slot {
        std::shared_ptr<const void> object;
        std::type_index kind = typeid(void);
        std::uint32_t generation = 0;
    };

    int Register(std::shared_ptr<const void> object, std::type_index kind);
    const Slot* Lookup(int handle) const;
    // Notes why the handle holds no object of the kind wanted.
    static void NoteWrongHandle(int handle, const Slot* slot, const std::type_info& wanted);

    std::vector<Slot> m_slots;
    std::vector<std::uint32_t> m_freeSlots; // reused oldest first once enough have gathered
    std::size_t m_freeHead = 0;
    std::size_t m_live = 0;
};

template <class T>
int GetHandleFromObject(std::shared_ptr<T> object)
{
    return HandleRegistry::Instance().GetHandleFromObject(std::move(object));
}

template <class T>
std::shared_ptr<T> GetObjectFromHandle(int handle)
{
    return HandleRegistry::Instance().GetObjectFromHandle<T>(handle);
}

template <class T>
T* PeekObjectFromHandle(int handle)
{
    return HandleRegistry::Instance().PeekObjectFromHandle<T>(handle);
}

inline void ReleaseHandle(int handle) { HandleRegistry::Instance().ReleaseHandle(handle); }

// Advances the enumerator of kind Enumerator behind the handle: 1 when it now stands on an
// element, 0 once it has passed the last one. A handle that holds no such enumerator fails.
template <class Enumerator>
int EnumeratorMoveNext(int handle)
{
    auto enumerator = GetObjectFromHandle<Enumerator>(handle);
    if (!enumerator) throw std::invalid_argument("the handle holds no enumerator");
    return enumerator->MoveNext() ? 1 : 0;
}

} // namespace moru::interop
