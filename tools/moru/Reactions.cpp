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
std::string Term(double coefficient, const char* species)
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

// The constants up to the last one written; absent ones (1e35) as "-".
std::string Constants(const double* values, std::size_t capacity, double unwritten)
{
    std::size_t count = 0;
    for (std::size_t i = 0; i < capacity; ++i)
        if (values[i] != unwritten) count = i + 1;
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        char number[32];
        std::snprintf(number, sizeof number, "%.10g", values[i]);
        text += (i ? ", " : "") + (values[i] == 1e35 ? std::string("-") : std::string(number));
    }
    return text;
}

} // namespace

int ShowReactions(const std::string& reference, const std::vector<std::string>& compounds, const std::string& type,
                  bool widen)
{
    std::vector<const char*> compoundList;
    for (const auto& compound : compounds) compoundList.push_back(compound.c_str());
    compoundList.push_back(nullptr);
    const char* databankList[] = {reference.c_str(), nullptr};
    int handle = 0;
    const int count = MORU_EXPORT_OF(Reactions_GetAllReactionObjects)(compoundList.data(), databankList, type.c_str(),
                                                                      widen ? 1 : 0, &handle);
    if (count < 0 || handle == 0) {
        std::printf("  no reactions: %s is not a databank of a connected database, or holds no reactions\n",
                    reference.c_str());
        MORU_EXPORT_OF(Reactions_ReleaseHandle)(handle);
        return 1;
    }
    std::printf("  %d reactions\n", count);
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
            std::printf("    reaction %d cannot be read\n", position);
            continue;
        }
        std::vector<std::string> reactants, products;
        for (int i = 0; i < species; ++i) {
            const auto index = static_cast<std::size_t>(i);
            if (coefficients[index] != 0)
                (coefficients[index] < 0 ? reactants : products).push_back(Term(coefficients[index], aliases[index]));
        }
        std::printf("    %-6s %s = %s\n", typeText[0] ? Printable(typeText).c_str() : "-", Side(reactants).c_str(),
                    Side(products).c_str());
        std::printf("           basis %s; constants: %s", basis[0] ? Printable(basis).c_str() : "-",
                    Constants(eqConsts.data(), eqConsts.size(), unwritten).c_str());
        const std::string symmetricText = Constants(symmetric.data(), symmetric.size(), unwritten);
        if (!symmetricText.empty()) std::printf("; symmetric: %s", symmetricText.c_str());
        std::printf("\n");
    }
    MORU_EXPORT_OF(Reactions_ReleaseHandle)(handle);
    return 0;
}

} // namespace moru::host
