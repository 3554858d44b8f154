#pragma once

// A call's line in the trace: the export, a summary of its arguments, its result and why it
// failed. Made only while calls are traced.

#include "platform/Diagnostics.h"

#include <cstddef>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>

namespace moru::api {

// An export's arguments, by reference, with their names as written in the call:
// MORU_ARGUMENTS(handle, buffer, size). Nothing is read from them until a line is made.
template <class... Values>
class Arguments {
public:
    explicit Arguments(const char* names, const Values&... values) : m_names(names), m_values(values...) {}

    // "handle=17, buffer=buffer, size=20": numbers as they are, texts by their length, buffers,
    // lists and pointers by whether they are there. A password shows only whether it is set.
    std::string Summary() const
    {
        std::string summary;
        std::string_view names = m_names;
        std::apply([&](const Values&... values) { (Describe(summary, NextName(names), values), ...); }, m_values);
        return summary;
    }

private:
    static std::string_view NextName(std::string_view& names)
    {
        const std::size_t comma = names.find(',');
        std::string_view name = names.substr(0, comma);
        names = comma == std::string_view::npos ? std::string_view() : names.substr(comma + 1);
        while (!name.empty() && name.front() == ' ') name.remove_prefix(1);
        return name;
    }

    static bool IsSecret(std::string_view name)
    {
        return name.find("assword") != std::string_view::npos || name.find("Pwd") != std::string_view::npos;
    }

    template <class T>
    static void Describe(std::string& summary, std::string_view name, const T& value)
    {
        if (!summary.empty()) summary.append(", ");
        summary.append(name).append("=");
        if constexpr (std::is_same_v<T, const char*>) {
            if (!value) {
                summary.append("null");
            } else if (IsSecret(name)) {
                summary.append(*value ? "(set)" : "(empty)");
            } else {
                summary.append("text[").append(std::to_string(std::strlen(value))).append("]");
            }
        } else if constexpr (std::is_same_v<T, char*>) {
            summary.append(value ? "buffer" : "null");
        } else if constexpr (std::is_same_v<T, bool>) {
            summary.append(value ? "true" : "false");
        } else if constexpr (std::is_integral_v<T> || std::is_floating_point_v<T>) {
            platform::detail::AppendPart(summary, value);
        } else if constexpr (std::is_pointer_v<T>) {
            if (!value) {
                summary.append("null");
            } else if constexpr (std::is_same_v<std::remove_cv_t<std::remove_pointer_t<T>>, const char*> ||
                                 std::is_same_v<std::remove_cv_t<std::remove_pointer_t<T>>, char*>) {
                summary.append("list");
            } else if constexpr (std::is_function_v<std::remove_pointer_t<T>>) {
                summary.append("callback");
            } else if constexpr (std::is_void_v<std::remove_pointer_t<T>>) {
                summary.append("pointer");
            } else if constexpr (std::is_const_v<std::remove_pointer_t<T>>) {
                summary.append("in");
            } else {
                summary.append("out");
            }
        } else {
            summary.append("?");
        }
    }

    const char* m_names;
    std::tuple<const Values&...> m_values;
};

// Arguments<> of no arguments, for exports that take none.
template <>
class Arguments<> {
public:
    explicit Arguments(const char*) {}
    std::string Summary() const { return {}; }
};

#define MORU_ARGUMENTS(...) ::moru::api::Arguments(#__VA_ARGS__, __VA_ARGS__)

// Writes the call's line.
template <class Result, class... Values>
void TraceCall(const char* exportName, const Arguments<Values...>& arguments, const Result& result) noexcept
{
    try {
        std::string line = exportName;
        line.append("(").append(arguments.Summary()).append(")");
        if constexpr (!std::is_same_v<Result, std::nullopt_t>) {
            line.append(" = ");
            platform::detail::AppendPart(line, result);
        }
        // A reason is shown whatever the result: some exports fail with more than one value.
        const std::string reason = platform::TakeFailureReason();
        if (!reason.empty()) line.append(": ").append(reason);
        platform::WriteTraceLine(line);
    } catch (...) {
        // The trace never fails a call.
    }
}

} // namespace moru::api
