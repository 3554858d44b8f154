#pragma once

// The object model of the property database service as the library sees it.
// Text is UTF-8 throughout; the library converts to the host's code page at its boundary.
// Objects are shared: the library keeps what it hands to the host alive behind handles.

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace moru::service {

class IDatabase;
class IDatabank;
class ICompound;
class IProperty;

using DatabasePtr = std::shared_ptr<IDatabase>;
using DatabankPtr = std::shared_ptr<IDatabank>;

// Interaction types of a property: how many compounds a value belongs to.
enum InteractionType : int {
    InteractionUnary = 0,  // one compound
    InteractionBinary = 1, // two compounds
    InteractionPair = 3,   // pair values of up to four compounds
};

// An ordered list of databanks: a database's own databanks, the session's catalogue of listed
// databanks, a group handed to a search. Appending a databank that is already present adds it again.
class DatabankCollection {
public:
    int Count() const { return static_cast<int>(m_databanks.size()); }
    const DatabankPtr& operator[](int index) const { return m_databanks.at(static_cast<std::size_t>(index)); }
    // The first databank whose name equals `name`, compared without regard to letter case.
    DatabankPtr Find(const std::string& name) const;
    void Add(DatabankPtr databank) { m_databanks.push_back(std::move(databank)); }
    const std::vector<DatabankPtr>& Items() const { return m_databanks; }

private:
    std::vector<DatabankPtr> m_databanks;
};
using DatabankCollectionPtr = std::shared_ptr<DatabankCollection>;

class ICompound {
public:
    virtual ~ICompound() = default;
    virtual int Id() const = 0; // the compound index within its database
};
using CompoundPtr = std::shared_ptr<ICompound>;

// An identifier type known to the service ("NAME", "ALIAS", "CASRN", "CompoundIndex", ...).
class IIdentifier {
public:
    virtual ~IIdentifier() = default;
    virtual std::string Name() const = 0;
};
using IdentifierPtr = std::shared_ptr<IIdentifier>;

// The values of one identifier type for one compound.
struct IdentifierValue {
    IdentifierPtr Identifier;
    std::optional<std::vector<std::string>> ValueList;
    CompoundPtr Compound;
};
using IdentifierValuePtr = std::shared_ptr<IdentifierValue>;

struct UnitRow {
    std::string UnitRowName;
    std::string DefaultUOM;
};

class IProperty {
public:
    virtual ~IProperty() = default;
    virtual std::string Name() const = 0;
    virtual int InteractionType() const = 0;
    virtual int DataType() const = 0;     // the service's PropertyDataType code
    virtual int ElementCount() const = 0; // number of elements of one value
    virtual std::vector<UnitRow> UnitsTypeList() const = 0;
    // One entry per element: the label under which the element's value for the compound order
    // (1, 2) is stored, the label for the order (2, 1), and the element's symmetry code (see
    // service/BinaryValues.h). A property that describes no elements has labels 1..n in both
    // orders and code -1 (one number per element).
    virtual std::vector<int> LabelIJArray() const;
    virtual std::vector<int> LabelJIArray() const;
    virtual std::vector<int> SymmetryList() const;
};
using PropertyPtr = std::shared_ptr<IProperty>;

// A value as stored: numbers (each element may be absent), one text, or a list of texts.
using NumericElements = std::vector<std::optional<double>>;
using TextList = std::vector<std::string>;
using Value = std::variant<std::monostate, NumericElements, std::string, TextList>;

struct PropertyValue {
    PropertyPtr Property;
    Value Data;
};
using PropertyValuePtr = std::shared_ptr<PropertyValue>;

// One hit of a compound search or listing.
struct FoundCompounds {
    CompoundPtr Compound;
    DatabankPtr Databank;
    std::optional<std::vector<PropertyValuePtr>> PropertyValues;
    std::optional<std::vector<IdentifierValuePtr>> IdentifierValues;
    int CompoundPosition = 0;
};
using FoundCompoundsPtr = std::shared_ptr<FoundCompounds>;
using FoundCompoundsList = std::vector<FoundCompoundsPtr>;

// Compounds keyed by compound index, each with its name and alias (either may be absent),
// in the collection's own order.
struct CompoundNames {
    std::optional<std::string> Name;
    std::optional<std::string> Alias;
};
using CompoundCollection = std::vector<std::pair<int, CompoundNames>>;
using CompoundCollectionPtr = std::shared_ptr<const CompoundCollection>;

// Items kept in a database's sundry data. The library tells the kinds apart by dynamic type.
class SundryItem {
public:
    virtual ~SundryItem() = default;
};
using SundryItemPtr = std::shared_ptr<SundryItem>;

class PureDatabankInfoObject : public SundryItem {
public:
    // The sundry-data entry under which the pure information of a databank is stored.
    static std::string GetSundryDataTableEntryName(const std::string& databankName)
    {
        return "PUREINFO:" + databankName;
    }

    std::optional<std::string> Password;
    std::optional<std::string> DisplayNameMM;
    std::optional<std::string> Product;
    std::optional<std::string> DatabankType;
    std::optional<std::string> PromptMM;
    std::optional<std::string> HelpFileName;
    int HelpCode = 0;
};

class GammaModelParameterInformation : public SundryItem {
public:
    std::optional<std::string> ParameterName;
    std::optional<std::string> GammaModelName;
    std::optional<std::string> VaporModelName;
};

// Binary parameter information of a databank, stored under the databank's name.
class InteractionParameterDatabankInformationObject : public SundryItem {
public:
    // Entries are GammaModelParameterInformation; an entry of another kind is skipped by readers.
    std::optional<std::vector<SundryItemPtr>> ParameterInfoList;
};

} // namespace moru::service
