#pragma once

// The checks of a JSON source as it is read: every read that finds something other than what the
// format asks for records an error at the value's JSON path and gives back nothing, so that reading
// goes on and one build reports every problem of the source.

#include "MoruDb.h"

#include <cstddef>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace moru::dbtool {

// JSON paths: Member("databanks[2]", "name") is "databanks[2].name", Item("values", 17) "values[17]".
std::string Member(const std::string& path, const char* name);
std::string Item(const std::string& path, std::size_t index);

// Why a database alias or databank name cannot be addressed by a host (a NUL ends host strings,
// the separator splits initialisation results), or nullopt.
std::optional<std::string> UnaddressableName(const std::string& name);

class SourceChecks {
public:
    explicit SourceChecks(SourceErrors& errors) : m_errors(errors) {}

    void Error(const std::string& path, std::string message);

    // False, with an error, when `ok` is false: `what` names the kind of value that was expected.
    bool Expect(const Json& value, const std::string& path, const char* what, bool ok);

    // An error for every member of `object` that is not among `names`.
    void Known(const Json& object, const std::string& path, std::initializer_list<const char*> names);

    // The member `name` of `object`; a missing or null member is nothing, an error when `required`.
    const Json* Find(const Json& object, const std::string& path, const char* name, bool required);

    std::optional<std::string> Text(const Json& object, const std::string& path, const char* name, bool required);
    std::optional<int> Integer(const Json& value, const std::string& path);
    std::optional<int> Integer(const Json& object, const std::string& path, const char* name, bool required);
    std::optional<double> Number(const Json& value, const std::string& path);
    std::optional<double> Number(const Json& object, const std::string& path, const char* name, bool required);
    const Json* List(const Json& object, const std::string& path, const char* name, bool required);
    const Json* Object(const Json& object, const std::string& path, const char* name, bool required);

    // The elements of a list; null stands for a missing number.
    std::vector<std::optional<double>> Numbers(const Json& list, const std::string& path);
    std::vector<std::string> Texts(const Json& list, const std::string& path);

private:
    SourceErrors& m_errors;
};

} // namespace moru::dbtool
