#pragma once

// What the library keeps for the process between calls (the service factory, the session, the
// handle registry, the bulk tables, the dialog stores) are the parts of one object. Each part is
// made on first use; all of them are destroyed together, in one place, when the library is
// unloaded, in the order their kinds give.

#include <cstddef>
#include <memory>

namespace moru::platform {

// When a kind of part goes at unload, first to last: the results handed to the host (they may
// share what the others hold), the bulk lists, the dialogs' stores, the session with its
// databases, and the service that made them.
enum class Teardown : int { Results, Lists, Dialogs, Session, Service };

class ProcessState {
public:
    // The part of type T, made by T() on first use. T names its place in the teardown as
    // `static constexpr platform::Teardown kTeardown`. A construction that fails leaves no part,
    // so the next use tries again.
    template <class T>
    static T& Part()
    {
        const std::size_t slot = SlotOf<T>();
        if (void* part = Find(slot)) return *static_cast<T*>(part);
        std::unique_ptr<T> made(new T());
        T& part = *made;
        Keep(slot, T::kTeardown, made.release(), &Delete<T>);
        return part;
    }

    // The part of type T if it was made; null otherwise.
    template <class T>
    static T* Existing()
    {
        return static_cast<T*>(Find(SlotOf<T>()));
    }

    // Destroys the part of type T, if any; the next use makes a new one.
    template <class T>
    static void Drop()
    {
        Release(SlotOf<T>());
    }

    // Destroys every part, in teardown order. Parts that the destructors make again are destroyed
    // as well.
    static void Destroy() noexcept;

private:
    using Deleter = void (*)(void*);

    template <class T>
    static void Delete(void* part)
    {
        delete static_cast<T*>(part);
    }

    // One slot a type, numbered on the type's first use.
    template <class T>
    static std::size_t SlotOf()
    {
        static const std::size_t slot = NewSlot();
        return slot;
    }

    static std::size_t NewSlot();
    static void* Find(std::size_t slot) noexcept;
    static void Keep(std::size_t slot, Teardown teardown, void* part, Deleter deleter);
    static void Release(std::size_t slot);
};

} // namespace moru::platform
