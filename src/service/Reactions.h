#pragma once

// Reactions as the database service delivers them.

#include <optional>
#include <string>
#include <vector>

namespace moru::service {

// One reaction of a database. Species are index-aligned across `Synonyms` and `Coefficients`: a
// negative coefficient puts the species among the reactants, a positive one among the products.
struct ReactionRecord {
    int Id = 0;       // identity within its database
    std::string Type; // "DISS" marks a dissociation reaction
    std::string Basis;
    // Each species by an identifier of the kind the caller asked for: the caller's own text where
    // the species is a compound the caller named, else the compound's identifier of that kind,
    // else the species' own name.
    std::vector<std::string> Synonyms;
    std::vector<double> Coefficients;
    std::vector<std::optional<double>> EqConsts; // an absent constant is nullopt
    std::vector<std::optional<double>> SymmetricEqConsts;
};

} // namespace moru::service
