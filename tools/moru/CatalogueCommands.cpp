// moru's commands on the session and its catalogue: connecting, the databanks and their properties,
// compound search, the compound list, identifier conversion, and the demo that tours them.

#include "Commands.h"

#include "HostLibrary.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace moru::host {

namespace {

// The databanks the library listed, as "DB.BANK" in upper case: the names that resolve.
std::vector<std::string>& ListedDatabanks()
{
    static std::vector<std::string> listed;
    return listed;
}

std::string Upper(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c); });
    return text;
}

int MORU_CALL RegisterDatabank(const char* bank, const char* alias, const char*, const char*, const char*, const char*,
                               int, const char*, const char*, const char*, int, int, int)
{
    ListedDatabanks().push_back(Upper(std::string(alias ? alias : "") + "." + (bank ? bank : "")));
    return 0;
}

// The databank listing's callbacks add to the document being built; the library calls them during
// the listing, one thread, so the one being built is held here.
Json* listing = nullptr;
Json binaryParameters = Json::array();

int MORU_CALL AddDatabank(const char* bank, const char* alias, const char* password, const char* display,
                          const char* base, const char* helpFile, int helpCode, const char* product, const char* type,
                          const char* prompt, int pure, int binaryCount, int reactions, int simulator, int viewer)
{
    listing->push_back(Json{{"database", JsonText(alias)},
                            {"databank", JsonText(bank)},
                            {"base", JsonText(base)},
                            {"display", JsonText(display)},
                            {"type", JsonText(type)},
                            {"product", JsonText(product)},
                            {"prompt", JsonText(prompt)},
                            {"help_file", JsonText(helpFile)},
                            {"help_code", helpCode},
                            {"password_set", password != nullptr},
                            {"pure_information", pure != 0},
                            {"binary_parameter_sets", binaryCount},
                            {"reactions", reactions},
                            {"simulator", simulator != 0},
                            {"viewer", viewer != 0},
                            {"binary_parameters", binaryParameters}});
    binaryParameters = Json::array();
    return 0;
}

// Called before the info callback of its databank.
int MORU_CALL AddBinaryParameter(const char*, const char*, const char* parameter, const char* gamma, const char* vapor)
{
    binaryParameters.push_back(Json{
        {"parameter", JsonText(parameter)}, {"activity_model", JsonText(gamma)}, {"vapour_model", JsonText(vapor)}});
    return 0;
}

std::string Quoted(const Json& field) { return field.is_null() ? "-" : "\"" + TextOf(field) + "\""; }

std::string Yes(const Json& flag) { return flag.get<bool>() ? "yes" : "no"; }

std::string Reference(const Json& document)
{
    return TextOf(document["database"]) + "." + TextOf(document["databank"]);
}

} // namespace

Json CollectConnection(const std::string& config)
{
    const std::string path = HostPath(config);
    std::error_code error;
    if (!std::filesystem::is_regular_file(std::filesystem::path(path), error))
        throw CommandFailure("cannot read the configuration " + config);
    int size = 0, success = 0, codes = 0;
    const int messages = MORU_EXPORT_OF(InitVNFromConfigFileWithReturnMsgs)(path.c_str(), "", &size, &success, &codes);
    Json databases = Json::array();
    int codePosition = 0;
    std::string firstError;
    for (int position = 0; position < size; ++position) {
        const int bytes = MORU_EXPORT_OF(GetNextDatabaseErrorMessageSize)(messages, position);
        std::string message(bytes > 0 ? static_cast<std::size_t>(bytes) : 1, '\0');
        if (bytes > 0) MORU_EXPORT_OF(GetNextDatabaseErrorMessage)(messages, position, message.data(), bytes);
        // Messages ending ".rxm" carry no code: only the others advance through the code list.
        const std::string text = message.substr(0, message.find('\0')); // the text before its terminator
        const bool coded = text.size() < 4 || text.substr(text.size() - 4) != ".rxm";
        const int code = coded ? MORU_EXPORT_OF(GetNextDatabaseSuccessCode)(codes, codePosition++) : -1;
        const char* result = code == 0 ? "connected" : code == 1 ? "secured" : code == 2 ? "error" : "note";
        if (code == 2 && firstError.empty()) firstError = text;
        databases.push_back(Json{{"result", result}, {"code", code}, {"message", text}});
    }
    // The two result lists have no release function of their own: the databank family's, the
    // family of the session they describe, releases them.
    MORU_EXPORT_OF(Databank_ReleaseHandle)(messages);
    MORU_EXPORT_OF(Databank_ReleaseHandle)(codes);
    if (success != 1) {
        throw CommandFailure("no database of " + config + " connected" +
                             (firstError.empty() ? std::string() : ": " + Printable(firstError)));
    }
    ListedDatabanks().clear();
    MORU_EXPORT_OF(ListMoruDatabanks_Vanta)(reinterpret_cast<void*>(&RegisterDatabank));
    return Json{{"config", config}, {"connected", true}, {"databases", databases}};
}

void PrintConnection(const Json& connection)
{
    for (const auto& database : connection["databases"])
        std::printf("  [%s] %s\n", database["result"].get<std::string>().c_str(), TextOf(database["message"]).c_str());
}

void RequireDatabank(const std::string& database, const std::string& databank)
{
    const auto& listed = ListedDatabanks();
    if (std::find(listed.begin(), listed.end(), Upper(database + "." + databank)) == listed.end())
        throw CommandFailure(Printable(database + "." + databank) + " is not a databank of a connected database");
}

bool DatabaseHoldsCompound(const std::string& database, const std::string& type, const std::string& value)
{
    const std::string prefix = Upper(database) + ".";
    for (const auto& listed : ListedDatabanks()) {
        if (listed.compare(0, prefix.size(), prefix) != 0) continue;
        int index = 0;
        MORU_EXPORT_OF(GetCompidFromIdInDbank)
        (database.c_str(), listed.substr(prefix.size()).c_str(), type.c_str(), value.c_str(), &index);
        if (index != 0) return true;
    }
    return false;
}

Json CollectDatabanks()
{
    Json databanks = Json::array();
    listing = &databanks;
    binaryParameters = Json::array();
    MORU_EXPORT_OF(ListMoruDatabanks_WithDBAccessFlag)
    (reinterpret_cast<void*>(&AddDatabank), nullptr, reinterpret_cast<void*>(&AddBinaryParameter), 1);
    listing = nullptr;
    return Json{{"databanks", databanks}};
}

void PrintDatabanks(const Json& document)
{
    for (const auto& bank : document["databanks"]) {
        const std::string reference = Reference(bank);
        for (const auto& parameter : bank["binary_parameters"]) {
            std::printf("  %s  binary parameter %s (activity model %s, vapour model %s)\n", reference.c_str(),
                        TextOf(parameter["parameter"]).c_str(), Quoted(parameter["activity_model"]).c_str(),
                        Quoted(parameter["vapour_model"]).c_str());
        }
        std::printf("  %s  base %s, display %s, type %s, product %s, prompt %s, help %s/%d, password %s\n",
                    reference.c_str(), Quoted(bank["base"]).c_str(), Quoted(bank["display"]).c_str(),
                    Quoted(bank["type"]).c_str(), Quoted(bank["product"]).c_str(), Quoted(bank["prompt"]).c_str(),
                    Quoted(bank["help_file"]).c_str(), bank["help_code"].get<int>(),
                    bank["password_set"].get<bool>() ? "set" : "-");
        std::printf("      pure information %s, %d binary parameter sets, %d reactions, simulator %s, viewer %s\n",
                    Yes(bank["pure_information"]).c_str(), bank["binary_parameter_sets"].get<int>(),
                    bank["reactions"].get<int>(), Yes(bank["simulator"]).c_str(), Yes(bank["viewer"]).c_str());
    }
}

Json CollectProperties(const std::string& database, const std::string& databank)
{
    RequireDatabank(database, databank);
    int type = 0, table = 0;
    const int count =
        MORU_EXPORT_OF(Databank_GetDatabankTypeAndPropertyList)(database.c_str(), databank.c_str(), &type, &table);
    static const char* const kTypes[] = {"none", "pure", "binary", "pure and binary"};
    Json names = Json::array();
    std::vector<char> name(4096);
    for (int position = 0; position < count; ++position) {
        // Cleared before each call, so that a name the library leaves untouched never shows the last one.
        std::fill(name.begin(), name.end(), '\0');
        if (MORU_EXPORT_OF(Databank_GetNextPropertyName)(table, position, name.data()) == 1)
            names.push_back(name.data());
    }
    MORU_EXPORT_OF(Databank_ReleaseHandle)(table);
    if (count <= 0) throw CommandFailure(Printable(database + "." + databank) + " has no properties");
    return Json{{"database", database},
                {"databank", databank},
                {"type", type >= 0 && type <= 3 ? Json(kTypes[type]) : Json(nullptr)},
                {"type_code", type},
                {"properties", names}};
}

void PrintProperties(const Json& document)
{
    const std::string type = document["type"].is_null()   ? "?"
                             : document["type_code"] == 0 ? "no pure or binary properties"
                                                          : document["type"].get<std::string>();
    std::printf("  %s: %zu properties, %s\n", Reference(document).c_str(), document["properties"].size(), type.c_str());
    for (const auto& name : document["properties"]) std::printf("    %s\n", TextOf(name).c_str());
}

Json SearchCompound(const std::string& database, const std::string& databank, const std::string& text, const char* type)
{
    RequireDatabank(database, databank);
    const std::string reference = database + "." + databank;
    const char* source[] = {reference.c_str(), nullptr};
    int handle = 0;
    const int found =
        type ? MORU_EXPORT_OF(FoundCompounds_FindByIdentifierType)(source, text.c_str(), type, nullptr, &handle)
             : MORU_EXPORT_OF(FoundCompounds_Find)(source, text.c_str(), nullptr, &handle);
    Json search{{"search", text}, {"databank", reference}, {"type", JsonText(type)}, {"found", found == 1}};
    if (found != 1) {
        MORU_EXPORT_OF(FoundCompounds_ReleaseHandle)(handle); // on every path: releasing 0 does nothing
        return search;
    }
    char db[256] = "", bank[256] = "", name[256] = "", alias[256] = "", cas[256] = "", property[256] = "";
    int index = 0;
    double value = 0;
    MORU_EXPORT_OF(FoundCompounds_GetObjectDetails)(handle, db, bank, &index, name, alias, cas, property, &value);
    MORU_EXPORT_OF(FoundCompounds_ReleaseHandle)(handle);
    search["compound"] = Json{{"database", db}, {"databank", bank}, {"index", index},
                              {"name", name},   {"alias", alias},   {"cas", cas[0] ? Json(cas) : Json(nullptr)}};
    return search;
}

Json CollectFind(const std::string& database, const std::string& databank, const std::string& text, const char* type)
{
    Json search = SearchCompound(database, databank, text, type);
    if (!search["found"].get<bool>())
        throw CommandFailure("\"" + Printable(text) + "\": not found in " + Printable(database + "." + databank));
    return search;
}

void PrintSearch(const Json& search)
{
    if (!search["found"].get<bool>()) {
        std::printf("  \"%s\": not found in %s\n", TextOf(search["search"]).c_str(),
                    TextOf(search["databank"]).c_str());
        return;
    }
    const Json& compound = search["compound"];
    std::printf("  \"%s\": compound %d in %s: name \"%s\", alias \"%s\", CAS %s\n", TextOf(search["search"]).c_str(),
                compound["index"].get<int>(), Reference(compound).c_str(), TextOf(compound["name"]).c_str(),
                TextOf(compound["alias"]).c_str(), TextOf(compound["cas"]).c_str());
}

Json CollectCompounds(const std::string& database, const std::string& databank, int limit)
{
    RequireDatabank(database, databank);
    const std::string reference = database + "." + databank;
    const char* source[] = {reference.c_str(), nullptr};
    int handle = 0, count = 0;
    if (!MORU_EXPORT_OF(GetAllCompounds)(source, &handle, &count)) {
        MORU_EXPORT_OF(GetAllCompounds_ReleaseHandle)(handle); // on every path: releasing 0 does nothing
        throw CommandFailure(Printable(reference) + " offers no compound list");
    }
    Json compounds = Json::array();
    char name[256], alias[256], cas[256];
    for (int position = 0; position < count && position < limit; ++position) {
        name[0] = alias[0] = cas[0] = '\0';
        if (MORU_EXPORT_OF(GetAllCompounds_Identifiers)(handle, position, name, alias, cas))
            compounds.push_back(Json{{"name", name}, {"alias", alias}, {"cas", cas[0] ? Json(cas) : Json(nullptr)}});
    }
    MORU_EXPORT_OF(GetAllCompounds_ReleaseHandle)(handle);
    return Json{{"databank", reference}, {"count", count}, {"compounds", compounds}};
}

void PrintCompounds(const Json& document)
{
    std::printf("  %d compounds\n", document["count"].get<int>());
    for (const auto& compound : document["compounds"]) {
        std::printf("    %-40s %-16s %s\n", TextOf(compound["name"]).c_str(), TextOf(compound["alias"]).c_str(),
                    TextOf(compound["cas"]).c_str());
    }
}

Json CollectIdentifier(const std::string& database, const std::string& databank, int index, const std::string& type)
{
    RequireDatabank(database, databank);
    char name[256] = "", value[4096] = "";
    MORU_EXPORT_OF(GetIdValueFromDbank)
    (database.c_str(), databank.c_str(), type.c_str(), index, name, sizeof name, value, sizeof value);
    if (!value[0]) {
        throw CommandFailure("compound " + std::to_string(index) + ": no " + Printable(type) + " in " +
                             Printable(database + "." + databank));
    }
    return Json{{"database", database}, {"databank", databank}, {"index", index},
                {"name", name},         {"type", type},         {"value", value}};
}

void PrintIdentifier(const Json& document)
{
    std::printf("  compound %d (%s): %s %s\n", document["index"].get<int>(), TextOf(document["name"]).c_str(),
                TextOf(document["type"]).c_str(), TextOf(document["value"]).c_str());
}

Json CollectIndex(const std::string& database, const std::string& databank, const std::string& type,
                  const std::string& value)
{
    RequireDatabank(database, databank);
    int index = 0;
    MORU_EXPORT_OF(GetCompidFromIdInDbank)(database.c_str(), databank.c_str(), type.c_str(), value.c_str(), &index);
    if (index == 0) {
        throw CommandFailure("no compound with " + Printable(type) + " \"" + Printable(value) + "\" in " +
                             Printable(database + "." + databank));
    }
    return Json{{"database", database}, {"databank", databank}, {"type", type}, {"value", value}, {"index", index}};
}

void PrintIndex(const Json& document)
{
    std::printf("  %s \"%s\": compound %d\n", TextOf(document["type"]).c_str(), TextOf(document["value"]).c_str(),
                document["index"].get<int>());
}

int Demo(const std::string& config)
{
    Json tour{{"connection", CollectConnection(config)}};
    tour["databanks"] = CollectDatabanks();
    tour["properties"] = CollectProperties("SAMPLE", "PURE");
    Json searches = Json::array();
    searches.push_back(SearchCompound("SAMPLE", "PURE", "7732-18-5", "CASRN"));
    for (const char* text : {"ethanol", "wood alcohol", "unobtainium"})
        searches.push_back(SearchCompound("SAMPLE", "PURE", text, nullptr));
    tour["searches"] = searches;
    tour["index"] = CollectIndex("SAMPLE", "PURE", "CASRN", "64-17-5");
    tour["identifier"] = CollectIdentifier("SAMPLE", "PURE", tour["index"]["index"].get<int>(), "INCHI");
    tour["compounds"] = CollectCompounds("SAMPLE", "PURE", 8);
    return Print(tour, [](const Json& document) {
        std::printf("Connecting %s\n", TextOf(document["connection"]["config"]).c_str());
        PrintConnection(document["connection"]);
        std::printf("\nDatabanks\n");
        PrintDatabanks(document["databanks"]);
        std::printf("\nProperties\n");
        PrintProperties(document["properties"]);
        std::printf("\nSearching SAMPLE.PURE\n");
        for (const auto& search : document["searches"]) PrintSearch(search);
        std::printf("\nIdentifier conversion\n");
        PrintIdentifier(document["identifier"]);
        PrintIndex(document["index"]);
        std::printf("\nThe first compounds of SAMPLE\n");
        PrintCompounds(document["compounds"]);
    });
}

} // namespace moru::host
