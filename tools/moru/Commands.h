#pragma once

// moru's commands that live in files of their own, and the printing that every command shares.
//
// How a command prints: it collects what it found into a Json document (field names in
// snake_case, absent texts and missing numbers as null; the README lists them) and ends with
// `return Print(document, PrintXxx);`, PrintXxx writing the same document as text for a person.
// Under --json, Print writes the document itself instead: one JSON document on standard output.
// A command that cannot deliver what was asked (a databank not listed, a compound not found)
// throws CommandFailure: main writes its message as one line on standard error, nothing on
// standard output, and exits with status 1, in both forms.
//
// A new command: main connects the configuration and lists its databanks before the command
// runs; the command calls RequireDatabank for each databank it names (the standard line for one
// not listed), builds its document, and ends with Print. Its fields go into the README's --json
// table, and a pair of moru_run_test calls (the table, and --json with JSON field checks) into
// tools/moru/CMakeLists.txt.

#include "Printable.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

namespace moru::host {

using tools::Printable;

// Keeps the order in which a command adds its fields, so that documents read in a stable order.
using Json = nlohmann::ordered_json;

// What a command could not deliver; the message is one line (see above).
struct CommandFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Whether --json was given; main sets it before any command runs.
inline bool& JsonOutput()
{
    static bool json = false;
    return json;
}

// A text from the library: null for a null pointer.
inline Json JsonText(const char* text) { return text ? Json(text) : Json(nullptr); }

// A number from the library: null for the missing-number marker 1e35.
inline Json JsonNumber(double number) { return number == 1e35 ? Json(nullptr) : Json(number); }

// A text field of a document as the table shows it: escaped by Printable, "-" for null.
inline std::string TextOf(const Json& field)
{
    if (field.is_null()) return "-";
    return Printable(field.is_string() ? field.get<std::string>() : field.dump());
}

// Every text of `document` in UTF-8. On Windows the library's texts and the command line are in
// the ANSI code page; elsewhere they are UTF-8 already.
inline void ConvertToUtf8(Json& document)
{
#ifdef _WIN32
    if (document.is_string()) {
        const auto& text = document.get_ref<const std::string&>();
        const int wide = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
        if (wide <= 0) return;
        std::wstring utf16(static_cast<std::size_t>(wide), L'\0');
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), utf16.data(), wide);
        const int bytes = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), wide, nullptr, 0, nullptr, nullptr);
        std::string utf8(static_cast<std::size_t>(bytes > 0 ? bytes : 0), '\0');
        WideCharToMultiByte(CP_UTF8, 0, utf16.data(), wide, utf8.data(), bytes, nullptr, nullptr);
        document = utf8;
        return;
    }
    if (!document.is_structured()) return; // a number's range is the number itself
    for (auto& element : document) ConvertToUtf8(element);
#else
    (void)document;
#endif
}

// Writes `document`: as JSON under --json (in UTF-8; bytes that are not UTF-8 become U+FFFD),
// else through `table`. Returns 0, the exit status of a command that delivered.
inline int Print(Json document, const std::function<void(const Json&)>& table)
{
    if (JsonOutput()) {
        ConvertToUtf8(document);
        const std::string text = document.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
        std::fputs(text.c_str(), stdout);
    } else {
        table(document);
    }
    return 0;
}

// Connects the databases of a configuration and lists their databanks, so that their names resolve;
// fails when the file cannot be read or no database connected (naming the first error).
Json CollectConnection(const std::string& config);
void PrintConnection(const Json& connection);
// Fails unless DB.BANK is a databank that the connected databases listed (in any letter case).
void RequireDatabank(const std::string& database, const std::string& databank);
// Whether a listed databank of the database holds a compound with that identifier value.
bool DatabaseHoldsCompound(const std::string& database, const std::string& type, const std::string& value);

// The catalogue commands: Collect* gathers a command's document, Print* writes it as text.
Json CollectDatabanks();
void PrintDatabanks(const Json& document);
Json CollectProperties(const std::string& database, const std::string& databank);
void PrintProperties(const Json& document);
// A search of `text` (in identifiers of `type`, any when null) that must find the compound.
Json CollectFind(const std::string& database, const std::string& databank, const std::string& text, const char* type);
void PrintSearch(const Json& search);
// The compound list's size and its first `limit` compounds.
Json CollectCompounds(const std::string& database, const std::string& databank, int limit);
void PrintCompounds(const Json& document);
Json CollectIdentifier(const std::string& database, const std::string& databank, int index, const std::string& type);
void PrintIdentifier(const Json& document);
Json CollectIndex(const std::string& database, const std::string& databank, const std::string& type,
                  const std::string& value);
void PrintIndex(const Json& document);

// Connects `config` and tours the catalogue of its SAMPLE database.
int Demo(const std::string& config);

// Every unary value of a compound (or the one of `property` when not empty), aligned, with units.
int ShowValues(const std::string& database, const std::string& databank, const std::string& compound,
               const std::string& property);

// The structure texts of a compound, of each type the database holds.
int ShowStructure(const std::string& database, const std::string& compound);

// The reactions of one databank ("DB.BANK") among `compounds`, written as identifiers of `type`;
// `widen` takes only reactions that can run and widens the compounds by their species.
int ShowReactions(const std::string& reference, const std::vector<std::string>& compounds, const std::string& type,
                  bool widen);

} // namespace moru::host
