#include "Script.h"

#include <algorithm>
#include <charconv>
#include <locale>
#include <sstream>
#include <stdexcept>

namespace moru::components {

namespace {

std::string Trim(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

std::vector<std::string> SplitTrimmed(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::string part;
    std::istringstream stream(text);
    while (std::getline(stream, part, separator)) parts.push_back(Trim(part));
    if (!text.empty() && text.back() == separator) parts.emplace_back();
    return parts;
}

std::vector<std::string> Words(const std::string& text)
{
    std::vector<std::string> words;
    std::istringstream stream(text);
    for (std::string word; stream >> word;) words.push_back(word);
    return words;
}

int WholeNumber(const std::string& token, int line)
{
    int number = 0;
    const char* end = token.data() + token.size();
    const auto [stop, failure] = std::from_chars(token.data(), end, number);
    if (failure != std::errc() || stop != end)
        throw std::invalid_argument("line " + std::to_string(line) + ": " + token + " is not a whole number");
    return number;
}

} // namespace

const std::vector<std::string>& KeyNames()
{
    static const std::vector<std::string> names = {"tab",   "enter", "esc", "space",  "up",       "down",   "left",
                                                   "right", "home",  "end", "pageup", "pagedown", "delete", "f1"};
    return names;
}

bool IsKeyName(const std::string& key)
{
    std::string_view name = key;
    for (std::string_view modifier : {"ctrl+", "shift+"})
        if (name.substr(0, modifier.size()) == modifier) name.remove_prefix(modifier.size());
    const auto& names = KeyNames();
    return std::find(names.begin(), names.end(), name) != names.end();
}

service::DialogValue ParseDialogValue(const std::string& token)
{
    const char* end = token.data() + token.size();
    std::int32_t whole = 0;
    if (auto [stop, failure] = std::from_chars(token.data(), end, whole);
        failure == std::errc() && stop == end && !token.empty())
        return whole;
    // Numbers are read the same way whatever the locale: the full stop is the decimal mark.
    std::istringstream stream(token);
    stream.imbue(std::locale::classic());
    double number = 0;
    if (!token.empty() && stream >> number && stream.peek() == std::char_traits<char>::eof()) return number;
    return token;
}

Script ParseScript(std::istream& text)
{
    Script script;
    std::string raw;
    for (int line = 1; std::getline(text, raw); ++line) {
        const std::string content = Trim(raw);
        if (content.empty() || content[0] == '#') continue;
        ScriptStep step;
        step.line = line;
        const auto blank = content.find_first_of(" \t");
        step.verb = content.substr(0, blank);
        const std::string rest = blank == std::string::npos ? std::string() : Trim(content.substr(blank));
        if (step.verb == "search") {
            step.text = rest;
        } else if (step.verb == "pick") {
            step.arguments = Words(rest);
            if (step.arguments.empty()) throw std::invalid_argument("line " + std::to_string(line) + ": pick what?");
            for (const auto& position : step.arguments) {
                if (WholeNumber(position, line) < 1)
                    throw std::invalid_argument("line " + std::to_string(line) + ": hits are counted from 1");
            }
        } else if (step.verb == "add" || step.verb == "help") {
            if (!rest.empty())
                throw std::invalid_argument("line " + std::to_string(line) + ": " + step.verb + " takes nothing");
        } else if (step.verb == "select") {
            step.arguments = Words(rest);
        } else if (step.verb == "click") {
            const auto fields = SplitTrimmed(rest, '|');
            if (fields.empty() || fields.size() > 5)
                throw std::invalid_argument("line " + std::to_string(line) +
                                            ": click CODE | TITLE | TAB | NAMES | VALUES");
            step.code = WholeNumber(fields[0], line);
            if (fields.size() > 1) step.text = fields[1];
            if (fields.size() > 2) step.tabName = fields[2];
            if (fields.size() > 3 && !fields[3].empty())
                for (auto& name : SplitTrimmed(fields[3], ',')) step.propNames.emplace_back(std::move(name));
            if (fields.size() > 4 && !fields[4].empty())
                for (const auto& value : SplitTrimmed(fields[4], ',')) step.values.push_back(ParseDialogValue(value));
        } else if (step.verb == "resize") {
            step.arguments = Words(rest);
            if (step.arguments.size() != 2)
                throw std::invalid_argument("line " + std::to_string(line) + ": resize X Y");
            for (const auto& number : step.arguments) {
                if (std::holds_alternative<std::string>(ParseDialogValue(number)))
                    throw std::invalid_argument("line " + std::to_string(line) + ": " + number + " is not a number");
            }
        } else if (step.verb == "type") {
            if (rest.empty()) throw std::invalid_argument("line " + std::to_string(line) + ": type what?");
            step.text = rest;
        } else if (step.verb == "key") {
            step.arguments = Words(rest);
            if (step.arguments.empty()) throw std::invalid_argument("line " + std::to_string(line) + ": key what?");
            for (const auto& key : step.arguments) {
                if (!IsKeyName(key))
                    throw std::invalid_argument("line " + std::to_string(line) + ": " + key + " is not a key");
            }
        } else if (step.verb == "shot") {
            if (rest.empty() || rest.find_first_of("/\\:. \t") != std::string::npos)
                throw std::invalid_argument("line " + std::to_string(line) + ": shot NAME, a plain name");
            step.text = rest;
        } else {
            throw std::invalid_argument("line " + std::to_string(line) + ": " + step.verb + " is not a step");
        }
        script.push_back(std::move(step));
    }
    return script;
}

} // namespace moru::components
