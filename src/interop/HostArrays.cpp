#include "interop/HostArrays.h"

#include "interop/HostText.h"

namespace moru::interop {

namespace {
template <class Element>
std::optional<std::vector<Element>> ReadElements(const Element* elements, int count)
{
    if (!elements || count < 1) return std::nullopt;
    return std::vector<Element>(elements, elements + count);
}
} // namespace

std::optional<std::vector<double>> ReadHostNumbers(const double* values, int count)
{
    return ReadElements(values, count);
}

std::optional<std::vector<std::int32_t>> ReadHostWholeNumbers(const int* values, int count)
{
    return ReadElements<std::int32_t>(values, count);
}

std::optional<std::vector<std::string>> ReadHostTexts(const char* const* texts, int count)
{
    if (!texts || count < 1) return std::nullopt;
    return ReadHostList(texts, count);
}

} // namespace moru::interop
