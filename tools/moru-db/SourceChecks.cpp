#include "SourceChecks.h"

#include "service/ResultText.h"

#include <cstdint>

namespace moru::dbtool {

// A registry number is 2 to 7 digits, a hyphen, 2 digits, a hyphen and a check digit: the sum of the
// other digits, weighted 1, 2, 3, ... from the right, modulo 10.
std::string CheckCasNumber(std::string_view text)
{
    auto first = text.find('-');
    auto second = first == std::string_view::npos ? first : text.find('-', first + 1);
    bool shaped = first != std::string_view::npos && second != std::string_view::npos && first >= 2 && first <= 7 &&
                  second == first + 3 && text.size() == second + 2;
    for (std::size_t i = 0; shaped && i < text.size(); ++i) {
        if (i != first && i != second && (text[i] < '0' || text[i] > '9')) shaped = false;
    }
    if (!shaped) return "\"" + std::string(text) + "\" is not a CAS registry number (digits-2 digits-check digit)";
    int sum = 0, weight = 1;
    for (std::size_t i = second; i-- > 0;) {
        if (text[i] == '-') continue;
        sum += (text[i] - '0') * weight++;
    }
    int expected = sum % 10;
    if (text.back() - '0' != expected) {
        return "CAS registry number \"" + std::string(text) + "\" fails its check digit (expected " +
               std::to_string(expected) + ")";
    }
    return {};
}

std::string Member(const std::string& path, const char* name) { return path.empty() ? name : path + "." + name; }
std::string Item(const std::string& path, std::size_t index) { return path + "[" + std::to_string(index) + "]"; }

std::optional<std::string> UnaddressableName(const std::string& name)
{
    if (name.find('\0') != std::string::npos) return "must not hold a NUL character";
    if (name.find(service::kResultSeparator) != std::string::npos) {
        return std::string("must not hold \"") + service::kResultSeparator +
               "\", which separates the entries of result texts";
    }
    return std::nullopt;
}

namespace {

const char* TypeName(const Json& value)
{
    if (value.is_null()) return "null";
    if (value.is_boolean()) return "a boolean";
    if (value.is_number()) return "a number";
    if (value.is_string()) return "a text";
    if (value.is_array()) return "a list";
    return "an object";
}

} // namespace

void SourceChecks::Error(const std::string& path, std::string message)
{
    m_errors.push_back({path, std::move(message)});
}

bool SourceChecks::Expect(const Json& value, const std::string& path, const char* what, bool ok)
{
    if (!ok) Error(path, std::string("must be ") + what + ", not " + TypeName(value));
    return ok;
}

void SourceChecks::Known(const Json& object, const std::string& path, std::initializer_list<const char*> names)
{
    for (const auto& [key, value] : object.items()) {
        bool known = false;
        for (const char* name : names) known = known || key == name;
        if (!known) Error(Member(path, key.c_str()), "is not a member of this record");
    }
}

const Json* SourceChecks::Find(const Json& object, const std::string& path, const char* name, bool required)
{
    auto found = object.find(name);
    if (found == object.end() || found->is_null()) {
        if (required) Error(Member(path, name), "is missing");
        return nullptr;
    }
    return &*found;
}

std::optional<std::string> SourceChecks::Text(const Json& object, const std::string& path, const char* name,
                                              bool required)
{
    const Json* value = Find(object, path, name, required);
    if (!value || !Expect(*value, Member(path, name), "a text", value->is_string())) return std::nullopt;
    return value->get<std::string>();
}

std::optional<int> SourceChecks::Integer(const Json& value, const std::string& path)
{
    if (value.is_number_float()) {
        Error(path, "must be a whole number written without a fraction or exponent (such as 1), not " + value.dump());
        return std::nullopt;
    }
    if (!value.is_number_integer()) {
        Error(path, std::string("must be a whole number of 32 bits, not ") + TypeName(value));
        return std::nullopt;
    }
    if (value.is_number_unsigned() ? value.get<unsigned long long>() > INT32_MAX
                                   : value.get<long long>() < INT32_MIN || value.get<long long>() > INT32_MAX) {
        Error(path, "must be a whole number from -2147483648 to 2147483647, not " + value.dump());
        return std::nullopt;
    }
    return value.get<int>();
}

std::optional<int> SourceChecks::Integer(const Json& object, const std::string& path, const char* name, bool required)
{
    const Json* value = Find(object, path, name, required);
    return value ? Integer(*value, Member(path, name)) : std::nullopt;
}

std::optional<double> SourceChecks::Number(const Json& value, const std::string& path)
{
    if (!Expect(value, path, "a number", value.is_number())) return std::nullopt;
    return value.get<double>();
}

std::optional<double> SourceChecks::Number(const Json& object, const std::string& path, const char* name, bool required)
{
    const Json* value = Find(object, path, name, required);
    return value ? Number(*value, Member(path, name)) : std::nullopt;
}

const Json* SourceChecks::List(const Json& object, const std::string& path, const char* name, bool required)
{
    const Json* value = Find(object, path, name, required);
    if (!value || !Expect(*value, Member(path, name), "a list", value->is_array())) return nullptr;
    return value;
}

const Json* SourceChecks::Object(const Json& object, const std::string& path, const char* name, bool required)
{
    const Json* value = Find(object, path, name, required);
    if (!value || !Expect(*value, Member(path, name), "an object", value->is_object())) return nullptr;
    return value;
}

std::vector<std::optional<double>> SourceChecks::Numbers(const Json& list, const std::string& path)
{
    std::vector<std::optional<double>> numbers;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i].is_null()) numbers.emplace_back();
        else numbers.push_back(Number(list[i], Item(path, i)));
    }
    return numbers;
}

std::vector<std::string> SourceChecks::Texts(const Json& list, const std::string& path)
{
    std::vector<std::string> texts;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (!Expect(list[i], Item(path, i), "a text", list[i].is_string())) continue;
        texts.push_back(list[i].get<std::string>());
        if (texts.back().find('\0') != std::string::npos) Error(Item(path, i), "must not hold a NUL character");
    }
    return texts;
}

} // namespace moru::dbtool
