// moru reactions: the reactions among a list of compounds, as equations with their constants.

#include "Commands.h"
#include "HostLibrary.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace moru::host {

namespace {

// "2 H+" for a coefficient of magnitude 2, "H+" for 1.
std::string Term(double coefficient, const std::string& species)
{
    const double magnitude = std::fabs(coefficient);
    if (magnitude == 1.0) return Printable(species);
    char number[32];
    std::snprintf(number, sizeof number, "%g ", magnitude);
    return number + Printable(species);
}

std::string Side(const std::vector<std::string>& terms)
{
    std::string side;
    for (const auto& term : terms) side += (side.empty() ? "" : " + ") + term;
    return side.empty() ? "(nothing)" : side;
}

// The constants up to the last one written, absent ones (1e35) null.
Json Constants(const double* values, std::size_t capacity, double unwritten)
{
    std::size_t count = 0;
    for (std::size_t i = 0; i < capacity; ++i)
        if (values[i] != unwritten) count = i + 1;
    Json constants = Json::array();
    for (std::size_t i = 0; i < count; ++i) constants.push_back(JsonNumber(values[i]));
    return constants;
}

std::string ConstantsText(const Json& constants)
{
    std::string text;
    for (const auto& constant : constants) {
        char number[32];
        if (!constant.is_null()) std::snprintf(number, sizeof number, "%.10g", constant.get<double>());
        text += (text.empty() ? "" : ", ") + (constant.is_null() ? std::string("-") : std::string(number));
    }
    return text;
}

void PrintReactions(const Json& document)
{
    std::printf("  %zu reactions\n", document["reactions"].size());
    for (const auto& reaction : document["reactions"]) {
        std::vector<std::string> reactants, products;
        for (const auto& species : reaction["species"]) {
            const double coefficient = species["coefficient"].get<double>();
            if (coefficient != 0)
                (coefficient < 0 ? reactants : products)
                    .push_back(Term(coefficient, species["alias"].get<std::string>()));
        }
        std::printf("    %-6s %s = %s\n", TextOf(reaction["type"]).c_str(), Side(reactants).c_str(),
                    Side(products).c_str());
        std::printf("           basis %s; constants: %s", TextOf(reaction["basis"]).c_str(),
                    ConstantsText(reaction["constants"]).c_str());
        if (!reaction["symmetric_constants"].empty())
            std::printf("; symmetric: %s", ConstantsText(reaction["symmetric_constants"]).c_str());
        std::printf("\n");
    }
}

} // namespace

int ShowReactions(const std::string& reference, const std::vector<std::string>& compounds, const std::string& type,
                  bool widen)
{
    std::vector<const char*> compoundList;
    compoundList.reserve(compounds.size() + 1);
    for (const auto& compound : compounds) compoundList.push_back(compound.c_str());
    compoundList.push_back(nullptr);
    const char* databankList[] = {reference.c_str(), nullptr};
    int handle = 0;
    const int count = MORU_EXPORT_OF(Reactions_GetAllReactionObjects)(compoundList.data(), databankList, type.c_str(),
                                                                      widen ? 1 : 0, &handle);
    if (count < 0 || handle == 0) {
        MORU_EXPORT_OF(Reactions_ReleaseHandle)(handle);
        throw CommandFailure("no reactions: " + Printable(reference) +
                             " is not a databank of a connected database, or holds no reactions");
    }
    Json reactions = Json::array();
    // Values the library never writes keep this marker, so that only what a reaction holds is shown.
    constexpr double unwritten = -9.87654321e300;
    for (int position = 0; position < count; ++position) {
        char typeText[256] = "", basis[256] = "";
        std::array<std::array<char, MORU_SPECIES_ALIAS_BUFFER_SIZE>, MORU_MAX_REACTION_SPECIES> aliasBuffers{};
        std::array<char*, MORU_MAX_REACTION_SPECIES> aliases{};
        for (std::size_t i = 0; i < aliases.size(); ++i) aliases[i] = aliasBuffers[i].data();
        std::array<double, MORU_MAX_REACTION_SPECIES> coefficients{};
        std::array<double, MORU_MAX_EQUILIBRIUM_CONSTANTS> eqConsts{}, symmetric{};
        eqConsts.fill(unwritten);
        symmetric.fill(unwritten);
        int species = 0;
        if (MORU_EXPORT_OF(Reactions_GetNextReactionObject)(handle, position, typeText, basis, &species, aliases.data(),
                                                            coefficients.data(), eqConsts.data(), symmetric.data(),
                                                            nullptr) != 1) {
            MORU_EXPORT_OF(Reactions_ReleaseHandle)(handle);
            throw CommandFailure("reaction " + std::to_string(position) + " of " + Printable(reference) +
                                 " cannot be read");
        }
        Json speciesList = Json::array();
        for (int i = 0; i < species; ++i) {
            const auto index = static_cast<std::size_t>(i);
            speciesList.push_back(Json{{"alias", aliases[index]}, {"coefficient", coefficients[index]}});
        }
        reactions.push_back(Json{{"type", typeText[0] ? Json(typeText) : Json(nullptr)},
                                 {"basis", basis[0] ? Json(basis) : Json(nullptr)},
                                 {"species", speciesList},
                                 {"constants", Constants(eqConsts.data(), eqConsts.size(), unwritten)},
                                 {"symmetric_constants", Constants(symmetric.data(), symmetric.size(), unwritten)}});
    }
    MORU_EXPORT_OF(Reactions_ReleaseHandle)(handle);
    Json compoundNames = compounds;
    return Print(Json{{"databank", reference},
                      {"compounds", compoundNames},
                      {"type", type},
                      {"widen", widen},
                      {"reactions", reactions}},
                 PrintReactions);
}

} // namespace moru::host
