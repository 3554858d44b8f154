#include "ServiceWalk.h"

#include "service/BinaryValues.h"
#include "service/Bulk.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <set>
#include <sstream>

namespace moru::postgres::testing {

using namespace moru::service;

namespace {

std::string Number(const std::optional<double>& number)
{
    if (!number) return "-";
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", *number);
    return text;
}

std::string Numbers(NumericView numbers)
{
    std::string text = "[";
    for (const auto& number : numbers) text += Number(number) + " ";
    return text + "]";
}

std::string Optional(const std::optional<std::string>& text) { return text ? "'" + *text + "'" : "null"; }

std::string ValueText(const Value& value)
{
    if (const auto* numbers = std::get_if<NumericElements>(&value)) return Numbers(*numbers);
    if (const auto* text = std::get_if<std::string>(&value)) return "'" + *text + "'";
    if (const auto* texts = std::get_if<TextList>(&value)) {
        std::string all = "{";
        for (const auto& t : *texts) all += "'" + t + "' ";
        return all + "}";
    }
    return "none";
}

std::string PropertyText(const IProperty& property)
{
    std::ostringstream out;
    out << property.Name() << "/" << property.DataType() << "/" << property.InteractionType() << "/"
        << property.ElementCount() << " units";
    for (const auto& row : property.UnitsTypeList()) out << " " << row.UnitRowName << ":" << row.DefaultUOM;
    out << " ij";
    for (int label : property.LabelIJArray()) out << " " << label;
    out << " ji";
    for (int label : property.LabelJIArray()) out << " " << label;
    out << " sym";
    for (int code : property.SymmetryList()) out << " " << code;
    return out.str();
}

void Hits(std::ostream& out, const std::optional<FoundCompoundsList>& hits)
{
    if (!hits) {
        out << " nullopt\n";
        return;
    }
    out << " " << hits->size() << " hits\n";
    for (const auto& hit : *hits) {
        out << "  compound " << hit->Compound->Id() << " in " << (hit->Databank ? hit->Databank->Name() : "-") << " at "
            << hit->CompoundPosition;
        if (hit->IdentifierValues) {
            for (const auto& value : *hit->IdentifierValues) {
                out << " " << (value->Identifier ? value->Identifier->Name() : "?") << "=";
                if (value->ValueList) {
                    for (const auto& text : *value->ValueList) out << "'" << text << "'";
                }
            }
        }
        if (hit->PropertyValues) {
            for (const auto& value : *hit->PropertyValues) {
                out << " value " << (value->Property ? value->Property->Name() : "?") << " " << ValueText(value->Data);
            }
        }
        out << "\n";
    }
}

void Regression(std::ostream& out, const IpHelpInfoObject& info)
{
    auto limits = [&](const IpRegressLimits& l) { out << " [" << Number(l.Lower) << "," << Number(l.Upper) << "]"; };
    auto deviations = [&](const IpRegressDeviations& d) {
        out << " (" << Number(d.Npoints) << "," << Number(d.Aard) << "," << Number(d.Aad) << ","
            << Number(d.MaxDeviation) << ")";
    };
    out << "  regression kind " << info.ParamType << " first " << Optional(info.FirstCompound);
    if (info.VleInfo) {
        const auto& v = *info.VleInfo;
        out << " sigma " << Number(v.Sigma);
        limits(v.Temp_Limits), limits(v.Pres_Limits), limits(v.X_Limits);
        deviations(v.Temp_Deviation), deviations(v.Pres_Deviation), deviations(v.X_Deviation);
    }
    if (info.LleInfo) {
        const auto& v = *info.LleInfo;
        out << " sigma " << Number(v.Sigma);
        limits(v.Temp_Limits), limits(v.X1_Limits), limits(v.X2_Limits);
        deviations(v.X1_Deviation), deviations(v.X2_Deviation);
    }
    if (info.HenryInfo) {
        const auto& v = *info.HenryInfo;
        out << " sigma " << Number(v.Sigma);
        limits(v.Temp_Limits), limits(v.Pres_Limits), limits(v.X_Limits), limits(v.Henry_Limits);
        deviations(v.Henry_Deviation);
    }
    if (info.NistInfo) {
        const auto& v = *info.NistInfo;
        out << " sigma " << Number(v.Sigma);
        limits(v.Temp_Limits), limits(v.Pres_Limits), limits(v.X_Limits);
        for (const auto& [name, d] : v.RegErrors) out << " " << name, deviations(d);
        for (const auto& citation : v.Citations) out << " '" << citation << "'";
    }
    out << "\n";
}

// Keeps the rows of the asked compounds, as the engine does: a backend may hand others too.
class TextSink : public IEngineValueSink {
public:
    TextSink(std::multiset<std::string>& rows, const std::vector<int>& compounds)
        : m_rows(rows), m_compounds(compounds.begin(), compounds.end())
    {}
    void Take(const EngineValueRow& row) override
    {
        if (!m_compounds.count(row.compound) || (row.compound2 != -1 && !m_compounds.count(row.compound2))) return;
        std::ostringstream out;
        out << row.databank << " " << row.property << " " << row.compound << " " << row.compound2 << " labels";
        for (int label : row.labels) out << " " << label;
        out << " " << Numbers(NumericElements(row.numbers.begin(), row.numbers.end()));
        m_rows.insert(out.str());
    }

private:
    std::multiset<std::string>& m_rows;
    std::set<int> m_compounds;
};

template <class Item>
std::vector<Item> EvenSample(const std::vector<Item>& items, std::size_t most)
{
    if (items.size() <= most) return items;
    std::vector<Item> sample;
    for (std::size_t i = 0; i < most; ++i) sample.push_back(items[i * items.size() / most]);
    return sample;
}

} // namespace

std::string WalkDatabase(IDatabase& database)
{
    std::ostringstream out;
    out << "database " << database.Alias() << " " << Optional(database.Description()) << " version "
        << database.DatabaseVersion();
    for (const char* setting : {"ZRSIMULATOR", "zrviewer", "ANYTHING"})
        out << " " << setting << "=" << database.GetDatabaseAccessSetting(setting);
    out << "\n";

    const auto databanks = database.EnumerateDatabanks();
    auto compounds = database.CompoundManager();
    auto properties = database.PropertyManager();
    auto values = database.PropertyValueManager();
    auto sundry = database.SundryDataManager();
    auto reactions = database.ReactionManager();
    auto binary = database.BinaryValueManager();
    auto structures = database.MolDataManager();
    auto bulk = database.BulkManager();

    // Every identifier of every compound, with its type, for the searches below.
    std::vector<std::pair<std::string, std::string>> identifiers; // type, value
    std::vector<int> compoundIds;
    const auto all = compounds->GetAllCompounds(nullptr);
    out << "all compounds";
    Hits(out, all);
    for (const auto& hit : all.value_or(FoundCompoundsList{})) {
        compoundIds.push_back(hit->Compound->Id());
        for (const auto& value : hit->IdentifierValues.value_or(std::vector<IdentifierValuePtr>{})) {
            for (const auto& text : value->ValueList.value_or(std::vector<std::string>{}))
                identifiers.emplace_back(value->Identifier->Name(), text);
        }
    }
    // A large database is walked through an even sample of its compounds and identifiers, so that
    // the walk stays within seconds.
    compoundIds = EvenSample(compoundIds, 120);
    identifiers = EvenSample(identifiers, 240);
    std::vector<std::string> propertyNames;
    std::set<std::string> binaryNames, pairNames;

    for (const auto& databank : databanks->Items()) {
        out << "databank " << databank->Id() << " " << databank->Name() << " " << Optional(databank->BaseDatabankName())
            << " " << Optional(databank->Description()) << "\n";
        const CompoundCollectionPtr withData = databank->GetIdentifiersOfCompoundsWithData();
        for (const auto& [id, names] : *withData)
            out << "  with data " << id << " " << Optional(names.Name) << " " << Optional(names.Alias) << "\n";
        for (bool withData : {false, true}) {
            out << "  properties" << (withData ? " with data" : "") << "\n";
            for (const auto& property :
                 properties->GetAllProperties(*databank, withData).value_or(std::vector<PropertyPtr>{})) {
                out << "   " << PropertyText(*property) << "\n";
                if (withData) continue;
                if (std::find(propertyNames.begin(), propertyNames.end(), property->Name()) == propertyNames.end())
                    propertyNames.push_back(property->Name());
                if (property->InteractionType() == InteractionBinary) binaryNames.insert(property->Name());
                if (property->InteractionType() == InteractionPair) pairNames.insert(property->Name());
            }
        }
        out << "  compounds of databank";
        Hits(out, compounds->GetAllCompounds(databank.get()));
        if (auto pure = std::dynamic_pointer_cast<PureDatabankInfoObject>(
                sundry->GetItem(PureDatabankInfoObject::GetSundryDataTableEntryName(databank->Name())))) {
            out << "  pure info " << Optional(pure->Password) << Optional(pure->DisplayNameMM)
                << Optional(pure->Product) << Optional(pure->DatabankType) << Optional(pure->PromptMM)
                << Optional(pure->HelpFileName) << pure->HelpCode << "\n";
        }
        if (auto info = std::dynamic_pointer_cast<InteractionParameterDatabankInformationObject>(
                sundry->GetItem(databank->Name()))) {
            for (const auto& item : info->ParameterInfoList.value_or(std::vector<SundryItemPtr>{})) {
                auto entry = std::dynamic_pointer_cast<GammaModelParameterInformation>(item);
                if (entry)
                    out << "  binary info " << Optional(entry->ParameterName) << Optional(entry->GammaModelName)
                        << Optional(entry->VaporModelName) << "\n";
            }
        }
        out << "  reactions " << reactions->GetAllReactionsCount(databank.get()) << "\n";
        for (int id : compoundIds) {
            const std::string index = std::to_string(id);
            const auto unary = values->GetAllUnaryPropertyValues(*databank, index, "CompoundIndex");
            if (!unary) continue;
            for (const auto& value : *unary)
                out << "  value " << id << " " << value->Property->Name() << " " << ValueText(value->Data) << "\n";
            for (const auto& [name, numbers] :
                 values->GetAllUnaryPropertyValues_Vanta(databank->Id(), id).value_or(UnaryValueMap{}))
                out << "  vanta " << id << " " << name << " " << Numbers(numbers) << "\n";
            for (const auto& name : propertyNames) {
                if (auto value = values->GetUnaryPropertyValue(*databank, index, "compoundindex", name))
                    out << "  one value " << id << " " << name << " " << ValueText(value->Data) << "\n";
            }
            out << "  has " << id << " "
                << compounds->DatabankHasCompound(
                       *databank, *compounds->GetCompound(index, *compounds->GetIdentifier("CompoundIndex")))
                << "\n";
        }
    }
    out << "reactions " << reactions->GetAllReactionsCount(nullptr) << "\n";

    // Searches by every identifier, as stored and in other letter case, of any type and its own.
    DatabankCollection group;
    for (const auto& databank : databanks->Items()) group.Add(databank);
    for (const auto& [type, text] : identifiers) {
        std::string upper = text;
        for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        for (const auto& [searchType, searchText] : {std::pair{std::string(), text}, std::pair{type, upper}}) {
            const std::string output = propertyNames.empty() ? "" : propertyNames.front();
            out << "find '" << searchText << "' " << searchType;
            Hits(out, compounds->FindForMM(group, searchText, searchType, output));
        }
        int index = -1;
        std::string name, alias;
        compounds->FindForVanta(group, text, 0, index, name, alias);
        out << "vanta '" << text << "' " << index << " " << name << " " << alias << "\n";
        for (const char* wanted : {"CASRN", "NAME", "CompoundIndex", "SYNONYM", "NOTATYPE"}) {
            const auto value = compounds->GetCompoundIdentifier(text, type, wanted);
            out << " id " << wanted << ":";
            if (value) {
                out << (value->Identifier ? value->Identifier->Name() : "?");
                for (const auto& t : value->ValueList.value_or(std::vector<std::string>{})) out << " '" << t << "'";
            } else {
                out << "null";
            }
            out << "\n";
        }
        if (auto compound = compounds->GetCompound(text, *compounds->GetIdentifier(type))) {
            out << " class " << Optional(compounds->GetCompoundClass(*compound)) << "\n";
            for (int structureType : {1, 2, 3}) {
                std::string structure;
                if (structures->GetStructureByName(text, type, structure, structureType))
                    out << " structure " << structureType << " " << structure << "\n";
            }
        }
        std::vector<std::string> names{text};
        std::vector<std::string> databankNames;
        for (const auto& databank : databanks->Items()) databankNames.push_back(databank->Name());
        if (auto found = reactions->GetCompoundsReactions(names, type, databankNames)) {
            for (const auto& reaction : *found) {
                out << " reaction " << reaction.Id << " " << reaction.Type << " " << reaction.Basis;
                for (std::size_t i = 0; i < reaction.Synonyms.size(); ++i)
                    out << " " << reaction.Synonyms[i] << "*" << reaction.Coefficients[i];
                out << " " << Numbers(reaction.EqConsts) << " " << Numbers(reaction.SymmetricEqConsts) << "\n";
            }
        }
    }
    // Texts that name nothing.
    SearchStringMap several{{0, "no such compound"}, {3, "\xff\xfe"}, {5, std::string("a\0b", 3)}, {7, ""}};
    if (!identifiers.empty()) several[9] = identifiers.front().second;
    out << "find several";
    Hits(out, compounds->FindForMM_Multiple(group, "", several, ""));
    out << " left " << several.size() << "\n";
    out << "unknown index " << (compounds->GetCompound("12x", *compounds->GetIdentifier("CompoundIndex")) != nullptr)
        << (compounds->GetCompound("", *compounds->GetIdentifier("CompoundIndex")) != nullptr)
        << (compounds->GetIdentifier("NOTATYPE") != nullptr) << "\n";

    // Binary and pair values among every compound.
    WorkingCompoundMap working;
    for (std::size_t i = 0; i < compoundIds.size(); ++i)
        working[std::to_string(compoundIds[i])] = static_cast<int>(compoundIds.size() - i);
    PropertyPositionMap wanted;
    for (std::size_t i = 0; i < propertyNames.size(); ++i) wanted[propertyNames[i]] = static_cast<int>(i);
    std::set<int> paired; // compounds of some binary or pair value
    for (bool condensed : {false, true}) {
        for (const auto& list :
             {binary->GetAllBinaryPropertyValuesForModelManager(working, "CompoundIndex", group, wanted, condensed),
              binary->GetAllPairPropertyValuesForModelManager(working, "CompoundIndex", group, wanted, condensed, 0)}) {
            out << "values " << condensed << (list ? "" : " nullopt") << "\n";
            for (const auto& value : list.value_or(BinaryPropertyValueList{})) {
                const auto& c = value->Compound;
                for (const auto* name : {&c.Compound1Name, &c.Compound2Name, &c.Compound3Name, &c.Compound4Name}) {
                    if (!name->empty()) paired.insert(std::stoi(std::string(*name)));
                }
                out << "  " << value->Databank->Name() << " " << value->Property->Name() << " " << c.Compound1Name
                    << "," << c.Compound2Name << "," << c.Compound3Name << "," << c.Compound4Name << " "
                    << Numbers(value->Value) << " " << value->HasRegressionInfo << "\n";
            }
        }
    }
    // Every ordered pair of those, and one compound that is in none.
    std::vector<int> pairIds(paired.begin(), paired.end());
    pairIds = EvenSample(pairIds, 24);
    if (!compoundIds.empty()) pairIds.push_back(compoundIds.front());
    for (const auto& databank : databanks->Items()) {
        for (const auto& name : binaryNames) {
            for (int first : pairIds) {
                for (int second : pairIds) {
                    const auto a = std::to_string(first), b = std::to_string(second);
                    if (auto value = binary->GetBinaryPropertyValue(*databank, a, b, "CompoundIndex", name, false))
                        out << " pair " << databank->Name() << " " << name << " " << a << "," << b << " "
                            << Numbers(value->Value) << " " << value->HasRegressionInfo << "\n";
                }
            }
        }
        for (const auto& names : {binaryNames, pairNames}) {
            for (const auto& name : names) {
                for (int first : pairIds) {
                    for (int second : pairIds) {
                        IpHelpInfoObject info;
                        std::string message;
                        const auto a = std::to_string(first), b = std::to_string(second);
                        if (binary->FetchExistingHelpInfo(info, *databank, name, a, "CompoundIndex", b, "compoundindex",
                                                          message))
                            Regression(out, info);
                        else if (first == pairIds.front())
                            out << "  no regression " << a << "," << b << " " << message << "\n";
                    }
                }
            }
        }
    }

    // The engine's pass.
    std::vector<std::string> lookups{"no such compound", "\xff"};
    for (const auto& entry : identifiers) lookups.push_back(entry.second);
    for (const auto& row : bulk->OptimizedFind(lookups, true, false)) {
        out << "engine " << row.identifier << " " << row.compoundIndex << " " << Optional(row.name) << " "
            << Optional(row.alias) << " " << Optional(row.casNo) << " " << row.classNumber << " " << row.keldaIndex
            << " " << row.plxIndex << "\n";
    }
    out << "engine properties " << bulk->GetAllProperties().value_or(std::vector<PropertyPtr>{}).size() << "\n";
    std::vector<int> sortedIds = compoundIds;
    std::sort(sortedIds.begin(), sortedIds.end());
    std::multiset<std::string> rows;
    TextSink sink(rows, sortedIds);
    const EngineValueQuery query{propertyNames, sortedIds, databanks->Items()};
    bulk->OptimizedGetAllScalarPropertyValues(query, sink);
    bulk->OptimizedGetAllBinaryPropertyValues(query, sink);
    for (const auto& row : rows) out << "engine value " << row << "\n";
    return out.str();
}

} // namespace moru::postgres::testing
