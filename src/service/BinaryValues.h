#pragma once

// Binary interaction parameters and pair values of the service, and the regression information
// behind them.
//
// A binary property (interaction type 1) belongs to two compounds; a pair property (type 3) names
// compound 1 and compound 3 always, compound 2 and compound 4 optionally. Every element of such a
// property has an IJ and a JI part for the compound order (1, 2) and (2, 1); its symmetry code says
// how they relate:
//   0 independent: IJ and JI as stored,
//   1 stored for one order only: one number that holds for both orders,
//   2 the same for both orders,
//   3 JI is the negative of IJ.
// A parameter array in the full form holds, element by element, IJ then JI (2 x element count
// numbers). In the condensed form an element with code 0 keeps both parts and every other element
// keeps IJ only, since JI follows from it.

#include "service/Model.h"

#include <array>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace moru::service {

// The compounds of a binary or pair value, each named by the identifier under which the library
// asked for it, spelt exactly as the library wrote it. An absent compound has an empty name. The
// names view texts that the value's holder keeps, as its numbers are (see BinaryPropertyValue).
struct PairCompounds {
    int InteractionType = InteractionBinary;
    std::string_view Compound1Name;
    std::string_view Compound2Name;
    std::string_view Compound3Name;
    std::string_view Compound4Name;
};

// A parameter array viewed where its holder keeps it.
using NumericView = std::span<const std::optional<double>>;

// One binary or pair value as the service returns it. Value views the parameter array, which the
// value's pointer keeps alive with the compounds' names, the property and the databank (a whole
// list shares one block); an element that is not stored is absent. A copy of the value views the
// same texts, numbers and objects and must not outlive its pointer.
struct BinaryPropertyValue {
    PairCompounds Compound;
    const IProperty* Property = nullptr;
    const IDatabank* Databank = nullptr;
    NumericView Value;
    bool HasRegressionInfo = false;
};
using BinaryPropertyValuePtr = std::shared_ptr<const BinaryPropertyValue>;
using BinaryPropertyValueList = std::vector<BinaryPropertyValuePtr>;

// What a single value keeps: its property and databank, its compounds' names (1 to 4, an absent one
// empty) and its numbers.
struct OwnValueParts {
    PropertyPtr Property;
    DatabankPtr Databank;
    std::array<std::string, 4> Names;
    NumericElements Numbers;
};

// A single value that keeps its own parts: `value` with its property, databank, names and Value
// referring to `parts`, all held in one allocation.
inline BinaryPropertyValuePtr HoldOwnValue(const BinaryPropertyValue& value, OwnValueParts parts)
{
    struct Held {
        BinaryPropertyValue value;
        OwnValueParts parts;
    };
    auto held = std::make_shared<Held>(Held{value, std::move(parts)});
    held->value.Property = held->parts.Property.get();
    held->value.Databank = held->parts.Databank.get();
    const auto& names = held->parts.Names;
    PairCompounds& compounds = held->value.Compound;
    compounds.Compound1Name = names[0];
    compounds.Compound2Name = names[1];
    compounds.Compound3Name = names[2];
    compounds.Compound4Name = names[3];
    held->value.Value = held->parts.Numbers;
    return {held, &held->value};
}

// A pair value placed into the engine's own lists: positions of its compounds (-1 for an absent
// one), of its property and of its databank, and its numbers.
struct EnginePairPropertyValueObject {
    int Compound1Position = -1;
    int Compound2Position = -1;
    int Compound3Position = -1;
    int Compound4Position = -1;
    int PropertyPosition = -1;
    int DatabankPosition = -1;
    NumericElements Values;
};
using EnginePairPropertyValuePtr = std::shared_ptr<const EnginePairPropertyValueObject>;

// ---- Regression information ----

enum IpHelpInfoType : int {
    HelpInfoNone = 0,
    HelpInfoVle = 1,   // vapour-liquid
    HelpInfoLle = 2,   // liquid-liquid
    HelpInfoHenry = 3, // Henry's law
    HelpInfoNist = 4,  // regressed from NIST data
};

struct IpRegressLimits {
    std::optional<double> Lower;
    std::optional<double> Upper;
};

struct IpRegressDeviations {
    std::optional<double> Npoints;
    std::optional<double> Aard; // average absolute relative deviation
    std::optional<double> Aad;  // average absolute deviation
    std::optional<double> MaxDeviation;
};

struct VleIpRegressHelpInfo {
    std::optional<double> Sigma;
    IpRegressLimits Temp_Limits, Pres_Limits, X_Limits;
    IpRegressDeviations Temp_Deviation, Pres_Deviation, X_Deviation;
};

struct LleIpRegressHelpInfo {
    std::optional<double> Sigma;
    IpRegressLimits Temp_Limits, X1_Limits, X2_Limits;
    IpRegressDeviations X1_Deviation, X2_Deviation;
};

struct HenryIpRegressHelpInfo {
    std::optional<double> Sigma;
    IpRegressLimits Temp_Limits, Pres_Limits, X_Limits, Henry_Limits;
    IpRegressDeviations Henry_Deviation;
};

struct NistIpRegressHelpInfo {
    std::optional<double> Sigma;
    IpRegressLimits Temp_Limits, Pres_Limits, X_Limits;
    // One entry per regressed property: its name and its deviations.
    std::vector<std::pair<std::string, IpRegressDeviations>> RegErrors;
    std::vector<std::string> Citations;

    int Size() const { return static_cast<int>(RegErrors.size()); }
    const std::string& GetPropertyName(int i) const { return RegErrors.at(static_cast<std::size_t>(i)).first; }
    const IpRegressDeviations& GetRegErrorAt(int i) const { return RegErrors.at(static_cast<std::size_t>(i)).second; }
    int CitationSize() const { return static_cast<int>(Citations.size()); }
    const std::string& GetCitation(int i) const { return Citations.at(static_cast<std::size_t>(i)); }
};

// The regression information of one parameter for one compound pair; empty (ParamType
// HelpInfoNone) until filled. Only the detail object of its ParamType is present.
struct IpHelpInfoObject {
    DatabasePtr Database;
    std::optional<std::string> FirstCompound;
    int ParamType = HelpInfoNone;
    std::optional<VleIpRegressHelpInfo> VleInfo;
    std::optional<LleIpRegressHelpInfo> LleInfo;
    std::optional<HenryIpRegressHelpInfo> HenryInfo;
    std::optional<NistIpRegressHelpInfo> NistInfo;
};

// Working compounds: identifier to its first position in the host's list.
using WorkingCompoundMap = std::map<std::string, int>;
// Properties: name to position in the host's list.
using PropertyPositionMap = std::map<std::string, int>;

class IBinaryValueManager {
public:
    virtual ~IBinaryValueManager() = default;

    // The parameter set of `modelName` for the pair, in the order (compound 1, compound 2) whichever
    // order the databank stores; both identifiers are of `identifierType`. Null when the databank
    // holds none.
    virtual BinaryPropertyValuePtr GetBinaryPropertyValue(const IDatabank& databank, const std::string& compound1Id,
                                                          const std::string& compound2Id,
                                                          const std::string& identifierType,
                                                          const std::string& modelName, bool condensed) = 0;

    // Every value of a binary property of `properties` in `databanks` whose two compounds are both
    // working compounds, in the order the databank stores the pair. nullopt: none.
    virtual std::optional<BinaryPropertyValueList> GetAllBinaryPropertyValuesForModelManager(
        const WorkingCompoundMap& workingCompounds, const std::string& compoundIdType,
        const DatabankCollection& databanks, const PropertyPositionMap& properties, bool condensed) = 0;

    // The same for pair properties; every named compound of a value is a working compound.
    // `workingCount` is the length of the host's working list, repeats counted.
    virtual std::optional<BinaryPropertyValueList> GetAllPairPropertyValuesForModelManager(
        const WorkingCompoundMap& workingCompounds, const std::string& compoundIdType,
        const DatabankCollection& databanks, const PropertyPositionMap& properties, bool condensed,
        int workingCount) = 0;

    // Fills `info` with the regression information of `property` for the pair, stored in either
    // order; leaves it empty when there is none. Returns whether any was found; `message` says why not.
    virtual bool FetchExistingHelpInfo(IpHelpInfoObject& info, const IDatabank& databank, const std::string& property,
                                       const std::string& compound1, const std::string& compound1Type,
                                       const std::string& compound2, const std::string& compound2Type,
                                       std::string& message) = 0;
};

} // namespace moru::service
