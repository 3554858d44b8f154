#include "MoruDb.h"

#include <set>

namespace moru::dbtool {

std::string Format(const SourceError& error)
{
    return error.Location.empty() ? error.Message : error.Location + ": " + error.Message;
}

namespace {

// Builds the document like nlohmann's own DOM parser, but keeps the path of every value so that a
// repeated key is reported where it stands instead of silently replacing the first.
class DocumentBuilder : public nlohmann::json_sax<Json> {
public:
    DocumentBuilder(const std::string& text, SourceErrors& errors) : m_text(text), m_errors(errors) {}

    Json TakeRoot() { return std::move(m_root); }

    bool null() override { return Put(nullptr); }
    bool boolean(bool value) override { return Put(value); }
    bool number_integer(number_integer_t value) override { return Put(value); }
    bool number_unsigned(number_unsigned_t value) override { return Put(value); }
    bool number_float(number_float_t value, const string_t& text) override
    {
        // A number too small for a double reads as 0, which would store another value than written.
        if (value == 0 && text.substr(0, text.find_first_of("eE")).find_first_of("123456789") != string_t::npos) {
            m_errors.push_back({ValuePath(), "the number " + text + " is too small to store: it would read back as 0"});
        }
        return Put(value);
    }
    bool string(string_t& value) override { return Put(std::move(value)); }
    bool binary(binary_t&) override { return Put(nullptr); }

    bool start_object(std::size_t) override
    {
        Json* object = Place(Json::object());
        m_stack.push_back({object, {}, {}, 0});
        return true;
    }
    bool key(string_t& name) override
    {
        auto& frame = m_stack.back();
        frame.Key = name;
        if (!frame.Keys.insert(name).second) {
            m_errors.push_back({Path(), "duplicate key \"" + name + "\""});
            frame.Duplicate = true;
        } else {
            frame.Duplicate = false;
        }
        return true;
    }
    bool end_object() override
    {
        m_stack.pop_back();
        return true;
    }
    bool start_array(std::size_t) override
    {
        Json* array = Place(Json::array());
        m_stack.push_back({array, {}, {}, 0});
        return true;
    }
    bool end_array() override
    {
        m_stack.pop_back();
        return true;
    }
    bool parse_error(std::size_t position, const std::string&, const nlohmann::detail::exception& error) override
    {
        std::size_t line = 1, column = 1;
        for (std::size_t i = 0; i + 1 < position && i < m_text.size(); ++i) {
            if (m_text[i] == '\n') {
                ++line;
                column = 1;
            } else {
                ++column;
            }
        }
        std::string message = error.what();
        auto cut = message.find("syntax error");
        if (cut != std::string::npos) message = message.substr(cut);
        if (position >= m_text.size()) message += " (the text ends too early: is the file truncated?)";
        m_errors.push_back({"line " + std::to_string(line) + ", column " + std::to_string(column), message});
        return false;
    }

private:
    struct Frame {
        Json* Container;
        std::string Key;
        std::set<std::string> Keys;
        std::size_t Index;
        bool Duplicate = false;
    };

    // The path of the value about to be placed.
    std::string ValuePath() const
    {
        if (m_stack.empty() || !m_stack.back().Container->is_array()) return Path();
        const auto& frame = m_stack.back();
        std::string path;
        for (std::size_t i = 0; i + 1 < m_stack.size(); ++i) {
            const auto& outer = m_stack[i];
            if (outer.Container->is_object()) {
                if (!path.empty()) path += '.';
                path += outer.Key;
            } else {
                path += "[" + std::to_string(outer.Index == 0 ? 0 : outer.Index - 1) + "]";
            }
        }
        return path + "[" + std::to_string(frame.Index) + "]";
    }

    std::string Path() const
    {
        std::string path;
        for (const auto& frame : m_stack) {
            if (frame.Container->is_object()) {
                if (!path.empty()) path += '.';
                path += frame.Key;
            } else {
                path += "[" + std::to_string(frame.Index == 0 ? 0 : frame.Index - 1) + "]";
            }
        }
        return path;
    }

    Json* Place(Json value)
    {
        if (m_stack.empty()) {
            m_root = std::move(value);
            return &m_root;
        }
        auto& frame = m_stack.back();
        if (frame.Container->is_array()) {
            frame.Container->push_back(std::move(value));
            ++frame.Index;
            return &frame.Container->back();
        }
        // A repeated key keeps its first value; the repetition is already reported.
        if (frame.Duplicate) {
            m_discard = std::move(value);
            return &m_discard;
        }
        auto& slot = (*frame.Container)[frame.Key];
        slot = std::move(value);
        return &slot;
    }

    template <typename T>
    bool Put(T&& value)
    {
        Place(Json(std::forward<T>(value)));
        return true;
    }

    const std::string& m_text;
    SourceErrors& m_errors;
    Json m_root;
    Json m_discard;
    std::vector<Frame> m_stack;
};

} // namespace

std::optional<Json> ParseSource(const std::string& text, SourceErrors& errors)
{
    DocumentBuilder builder(text, errors);
    std::size_t before = errors.size();
    bool complete = Json::sax_parse(text, &builder, nlohmann::detail::input_format_t::json, true);
    if (!complete || errors.size() != before) return std::nullopt;
    return builder.TakeRoot();
}

} // namespace moru::dbtool
