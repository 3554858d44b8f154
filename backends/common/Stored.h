#pragma once

// What every backend stores alike: the format record, the encoding of numbers, labels and texts in
// a value, the records read at connect, the properties, and how a binary value's stored elements
// become the parameter array a host reads.

#include "service/BinaryValues.h"
#include "service/Database.h"
#include "service/Model.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace moru::common {

// Stored in meta under "format"; a database without it is not a database of this service.
inline constexpr std::string_view FormatName = "moru-property-db 1";

// Stored in meta under "search_folding": how the search keys of identifiers were folded. A database
// without the entry was built when search keys held ASCII letters in lower case.
inline constexpr std::string_view SearchFoldingKey = "search_folding";
inline constexpr std::string_view UnicodeSimpleFolding = "unicode-simple";

// The key under which an identifier is searched: the value in the library's case folding, so
// that "ÉTHANOL" finds "éthanol". Names of properties, databanks and identifier types are unique
// under the same folding.
std::string SearchKey(std::string_view value);
// The search key of a database without a recorded folding: ASCII letters in lower case, every
// other byte as it is.
std::string AsciiSearchKey(std::string_view value);
// The same, made in `key`, whose room the caller reuses.
void SearchKeyInto(std::string_view value, std::string& key);
void AsciiSearchKeyInto(std::string_view value, std::string& key);

// Numbers are stored as little-endian IEEE doubles; an absent element is a NaN with a payload that
// no JSON number can produce.
std::string EncodeNumbers(const std::vector<std::optional<double>>& numbers);
std::vector<std::optional<double>> DecodeNumbers(const void* data, int size);
std::string EncodeLabels(const std::vector<int>& labels);
std::vector<int> DecodeLabels(const void* data, int size);
// The same, appended to a list the caller reuses.
void DecodeNumbersInto(const void* data, int size, std::vector<std::optional<double>>& numbers);
void DecodeLabelsInto(const void* data, int size, std::vector<int>& labels);
// Texts of a list, each ended by a NUL byte (texts themselves never hold one).
std::string EncodeTexts(const std::vector<std::string>& texts);
std::vector<std::string> DecodeTexts(const void* data, int size);

// Kinds of stored values.
enum ValueKind : int { ValueNumbers = 1, ValueText = 2, ValueTexts = 3 };

struct DatabankRecord {
    int Id = 0;
    std::string Name;
    std::optional<std::string> BaseName;
    std::optional<std::string> Description;
};

// A property as a database stores it.
class StoredProperty : public service::IProperty {
public:
    int m_id = 0;
    std::string m_name;
    int m_dataType = -1;
    int m_interactionType = 0;
    int m_elementCount = 0;
    std::vector<service::UnitRow> m_unitRows;
    // The stored element descriptions; empty when the database describes none.
    std::vector<int> m_labelIJ, m_labelJI, m_symmetry;

    std::string Name() const override { return m_name; }
    int InteractionType() const override { return m_interactionType; }
    int DataType() const override { return m_dataType; }
    int ElementCount() const override { return m_elementCount; }
    std::vector<service::UnitRow> UnitsTypeList() const override { return m_unitRows; }
    std::vector<int> LabelIJArray() const override { return m_labelIJ.empty() ? IProperty::LabelIJArray() : m_labelIJ; }
    std::vector<int> LabelJIArray() const override { return m_labelJI.empty() ? IProperty::LabelJIArray() : m_labelJI; }
    std::vector<int> SymmetryList() const override
    {
        return m_symmetry.empty() ? IProperty::SymmetryList() : m_symmetry;
    }
};

// The properties of a database, found by id and by name in the library's letter-case folding.
class PropertyCatalogue {
public:
    void Assign(std::vector<std::shared_ptr<StoredProperty>> properties);
    void Clear();
    const std::vector<std::shared_ptr<StoredProperty>>& All() const { return m_properties; }
    std::shared_ptr<StoredProperty> ByName(const std::string& name) const;
    std::shared_ptr<StoredProperty> ById(int id) const;

private:
    std::vector<std::shared_ptr<StoredProperty>> m_properties;
    std::map<std::string, std::shared_ptr<StoredProperty>> m_byKey;
};

// The access setting `settingName` of a database's meta records ("access.NAME" = "1"), the name
// compared without regard to letter case.
bool AccessSetting(const std::map<std::string, std::string>& meta, const std::string& settingName);

// The record of a databank by id, or by name without regard to letter case; null when absent.
const DatabankRecord* RecordById(const std::vector<DatabankRecord>& records, int id);
const DatabankRecord* RecordByName(const std::vector<DatabankRecord>& records, std::string_view name);

// Databanks found by name, as a listing asks for every one of them: an open-addressed table of
// positions hashed on the exact name, each leading to the first databank whose name folds alike
// (so that a name differing only in case answers as a scan ignoring case would). Built at the
// first question over the records it is given and kept until Clear; names not stored exactly go
// to RecordByName.
class DatabankNameIndex {
public:
    const DatabankRecord* Find(const std::vector<DatabankRecord>& records, std::string_view name);
    void Clear();

private:
    void Build(const std::vector<DatabankRecord>& records);

    std::vector<std::uint32_t> m_slots; // a position + 1; 0 for a free slot
    std::vector<std::uint32_t> m_firstAlike;
    std::size_t m_lastFound = 0;
};

// A multiple search: each text searched by `search` (text, host position); the texts answered
// leave `searchStrings`, so that the next database searches only the rest.
service::FoundCompoundsList SearchEach(
    service::SearchStringMap& searchStrings,
    const std::function<service::FoundCompoundsList(const std::string& text, int position)>& search);

// The first hit's index, name and alias, as the one-compound search reports them; nothing when
// there is no hit.
void TakeFirstHit(const service::FoundCompoundsList& hits, int& compoundIndex, std::string& compoundName,
                  std::string& compoundAlias);

// A property reported under the name the library asked for, which may differ in letter case from
// the stored one: the library matches results back by its own text.
class EchoedProperty : public service::IProperty {
public:
    EchoedProperty(service::PropertyPtr stored, std::string name) : m_stored(std::move(stored)), m_name(std::move(name))
    {}
    std::string Name() const override { return m_name; }
    int InteractionType() const override { return m_stored->InteractionType(); }
    int DataType() const override { return m_stored->DataType(); }
    int ElementCount() const override { return m_stored->ElementCount(); }
    std::vector<service::UnitRow> UnitsTypeList() const override { return m_stored->UnitsTypeList(); }
    std::vector<int> LabelIJArray() const override { return m_stored->LabelIJArray(); }
    std::vector<int> LabelJIArray() const override { return m_stored->LabelJIArray(); }
    std::vector<int> SymmetryList() const override { return m_stored->SymmetryList(); }

private:
    service::PropertyPtr m_stored;
    std::string m_name;
};

// One element of a binary property: the labels of its IJ and JI parts and its symmetry code.
struct BinaryElement {
    int LabelIJ = 0;
    int LabelJI = 0;
    int Symmetry = 0;
};

// The parameter array of a stored value for its compounds in stored order, or exchanged.
service::NumericElements ParameterArray(const std::vector<BinaryElement>& elements, const std::vector<int>& labels,
                                        const service::NumericElements& numbers, bool exchanged, bool condensed);
// The same, appended to `array`.
void AppendParameterArray(const std::vector<BinaryElement>& elements, const std::vector<int>& labels,
                          const service::NumericElements& numbers, bool exchanged, bool condensed,
                          service::NumericElements& array);

// Fills the regression information of a value of `kind` from its stored sigma, ranges (by name:
// Temp, Pres, X, X1, X2, Henry), deviations (by name, in stored order) and citations.
void FillRegressionInformation(service::IpHelpInfoObject& info, int kind, std::optional<double> sigma,
                               const std::map<std::string, service::IpRegressLimits>& ranges,
                               std::vector<std::pair<std::string, service::IpRegressDeviations>> deviations,
                               std::vector<std::string> citations);

} // namespace moru::common
