#pragma once

// The late-bound automation call: a method of a host object called by its name. On Windows the
// object is a COM IDispatch; elsewhere an object of the same shape whose texts are UTF-8.

#include <string_view>

namespace moru::platform {

// Holds a reference of its own to the host's object for as long as it lives, so that the object
// stays alive during the call whatever the host does from inside it.
class AutomationObject {
public:
    // `object` may be null; then nothing is held and every call fails.
    explicit AutomationObject(void* object);
    ~AutomationObject();
    AutomationObject(const AutomationObject&) = delete;
    AutomationObject& operator=(const AutomationObject&) = delete;

    bool IsNull() const { return m_object == nullptr; }

    // Looks up the public method `methodName` and calls it with one text argument; what it returns
    // is ignored. False when the name is unknown or the call fails.
    bool CallWithText(std::string_view methodName, std::string_view text) const;

private:
    void* m_object;
};

} // namespace moru::platform
