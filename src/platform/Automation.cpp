#include "platform/Automation.h"

#include <string>

#ifdef _WIN32
#include <windows.h>
#include <oleauto.h>
#endif

namespace moru::platform {

#ifdef _WIN32

namespace {

std::wstring Utf16(std::string_view utf8)
{
    if (utf8.empty()) return {};
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), length);
    return wide;
}

IDispatch* Dispatch(void* object) { return static_cast<IDispatch*>(object); }

} // namespace

AutomationObject::AutomationObject(void* object) : m_object(object)
{
    if (m_object) Dispatch(m_object)->AddRef();
}

AutomationObject::~AutomationObject()
{
    if (m_object) Dispatch(m_object)->Release();
}

bool AutomationObject::CallWithText(std::string_view methodName, std::string_view text) const
{
    if (!m_object) return false;
    const IID noInterface{};
    std::wstring name = Utf16(methodName);
    LPOLESTR names[] = {name.data()};
    DISPID method = DISPID_UNKNOWN;
    if (FAILED(Dispatch(m_object)->GetIDsOfNames(noInterface, names, 1, LOCALE_USER_DEFAULT, &method))) return false;

    const std::wstring wideText = Utf16(text);
    BSTR argument = SysAllocStringLen(wideText.data(), static_cast<UINT>(wideText.size()));
    if (!argument) return false;
    VARIANTARG arguments[1];
    VariantInit(&arguments[0]);
    arguments[0].vt = VT_BSTR;
    arguments[0].bstrVal = argument;
    DISPPARAMS parameters{arguments, nullptr, 1, 0};
    VARIANT result;
    VariantInit(&result);
    const HRESULT called = Dispatch(m_object)->Invoke(method, noInterface, LOCALE_USER_DEFAULT, DISPATCH_METHOD,
                                                      &parameters, &result, nullptr, nullptr);
    VariantClear(&result);
    VariantClear(&arguments[0]);
    return SUCCEEDED(called);
}

#else

namespace {

// The layout that the public header declares for automation objects on this platform.
struct Dispatch;
struct DispatchTable {
    int (*QueryInterface)(Dispatch* self, const void* interfaceId, void** object);
    unsigned int (*AddRef)(Dispatch* self);
    unsigned int (*Release)(Dispatch* self);
    int (*GetTypeInfoCount)(Dispatch* self, unsigned int* count);
    int (*GetTypeInfo)(Dispatch* self, unsigned int index, unsigned int locale, void** typeInfo);
    int (*GetIDsOfNames)(Dispatch* self, const void* interfaceId, const char* const* names, unsigned int count,
                         unsigned int locale, int* dispatchIds);
    int (*Invoke)(Dispatch* self, int dispatchId, const void* interfaceId, unsigned int locale, unsigned short flags,
                  const char* const* textArguments, unsigned int argumentCount);
};
struct Dispatch {
    const DispatchTable* table;
};

Dispatch* Object(void* object) { return static_cast<Dispatch*>(object); }

constexpr unsigned short kCallMethod = 1;

} // namespace

AutomationObject::AutomationObject(void* object) : m_object(object)
{
    if (m_object) Object(m_object)->table->AddRef(Object(m_object));
}

AutomationObject::~AutomationObject()
{
    if (m_object) Object(m_object)->table->Release(Object(m_object));
}

bool AutomationObject::CallWithText(std::string_view methodName, std::string_view text) const
{
    if (!m_object) return false;
    Dispatch* object = Object(m_object);
    const std::string name(methodName);
    const char* names[] = {name.c_str()};
    int method = -1;
    if (object->table->GetIDsOfNames(object, nullptr, names, 1, 0, &method) < 0) return false;
    const std::string argument(text);
    const char* arguments[] = {argument.c_str()};
    return object->table->Invoke(object, method, nullptr, 0, kCallMethod, arguments, 1) >= 0;
}

#endif

} // namespace moru::platform
