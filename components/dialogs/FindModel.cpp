#include "FindModel.h"

#include "platform/Text.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace moru::components {

using namespace moru::service;

namespace {

// The identifier types a person may search by, in the order offered, when a database knows them.
const char* const kCandidateTypes[] = {"NAME",    "ALIAS",  "CASRN", "FORMULA", "IUPAC_NAME",
                                       "SYNONYM", "SMILES", "INCHI", "INCHIKEY"};

std::optional<double> FirstNumber(const FoundCompounds& hit)
{
    if (!hit.PropertyValues || hit.PropertyValues->empty() || !hit.PropertyValues->front()) return std::nullopt;
    const auto* elements = std::get_if<NumericElements>(&hit.PropertyValues->front()->Data);
    if (!elements || elements->empty()) return std::nullopt;
    return elements->front();
}

std::string FirstIdentifier(const FoundCompounds& hit, std::string_view type)
{
    if (!hit.IdentifierValues) return {};
    for (const auto& value : *hit.IdentifierValues) {
        if (value && value->Identifier && platform::EqualsIgnoringCase(value->Identifier->Name(), type) &&
            value->ValueList && !value->ValueList->empty())
            return value->ValueList->front();
    }
    return {};
}

// The synonym of a hit that the search text names, as the database holds it; empty when the text
// matched another identifier.
std::string MatchedSynonym(const FoundCompounds& hit, std::string_view text)
{
    if (!hit.IdentifierValues) return {};
    for (const auto& value : *hit.IdentifierValues) {
        if (!value || !value->Identifier || !value->ValueList ||
            !platform::EqualsIgnoringCase(value->Identifier->Name(), "SYNONYM"))
            continue;
        for (const auto& synonym : *value->ValueList) {
            if (platform::EqualsIgnoringCase(synonym, text)) return synonym;
        }
    }
    return {};
}

std::vector<DatabankPtr> ItemsOf(const DatabankCollectionPtr& collection)
{
    std::vector<DatabankPtr> items;
    if (collection)
        for (const auto& databank : collection->Items())
            if (databank) items.push_back(databank);
    return items;
}

std::vector<std::string> NamesOf(const std::vector<DatabankPtr>& databanks)
{
    std::vector<std::string> names;
    names.reserve(databanks.size());
    for (const auto& databank : databanks) names.push_back(FindModel::Reference(*databank));
    return names;
}

// Takes the entries at `positions` out of `from` and appends them to `to`, in the order given.
void Move(std::vector<DatabankPtr>& from, std::vector<DatabankPtr>& to, const std::vector<int>& positions)
{
    std::vector<DatabankPtr> moved;
    for (int position : positions) {
        if (position < 0 || static_cast<std::size_t>(position) >= from.size())
            throw std::out_of_range("no databank at position " + std::to_string(position + 1));
        if (std::find(moved.begin(), moved.end(), from[static_cast<std::size_t>(position)]) == moved.end())
            moved.push_back(from[static_cast<std::size_t>(position)]);
    }
    for (const auto& databank : moved) {
        from.erase(std::find(from.begin(), from.end(), databank));
        to.push_back(databank);
    }
}

} // namespace

FindModel::FindModel(std::shared_ptr<IFindCompoundLauncher> launcher) : m_launcher(std::move(launcher))
{
    m_showsDatabanksTab = m_launcher->CanShowDatabanksTab();
    m_canModify = m_launcher->CanModifyDatabankLists();
    m_selected = ItemsOf(m_launcher->GetSelectedDatabanks());
    m_available = ItemsOf(m_launcher->GetAvailableDatabanks());
    m_reported = m_selected;

    std::vector<DatabasePtr> databases;
    for (const auto* list : {&m_selected, &m_available})
        for (const auto& databank : *list)
            if (auto database = databank->Database();
                database && std::find(databases.begin(), databases.end(), database) == databases.end())
                databases.push_back(database);
    m_identifierTypes.emplace_back();
    for (const char* type : kCandidateTypes) {
        const bool known = std::any_of(databases.begin(), databases.end(), [&](const DatabasePtr& database) {
            try {
                const auto manager = database->CompoundManager();
                return manager && manager->GetIdentifier(type) != nullptr;
            } catch (const std::exception&) {
                return false; // a database that cannot say does not offer the type
            }
        });
        if (known) m_identifierTypes.emplace_back(type);
    }
}

std::string FindModel::Reference(const IDatabank& databank)
{
    const auto database = databank.Database();
    return (database ? database->Alias() : std::string()) + "." + databank.Name();
}

int FindModel::Search(const std::string& text, const std::string& identifierType)
{
    m_hits.clear();
    const auto& offered = m_selected.empty() ? m_available : m_selected;
    if (text.empty()) return 0;

    // One search per database, over its offered databanks, databases in order of first appearance.
    std::vector<std::pair<DatabasePtr, DatabankCollection>> groups;
    for (const auto& databank : offered) {
        const DatabasePtr database = databank->Database();
        if (!database) continue;
        auto group =
            std::find_if(groups.begin(), groups.end(), [&](const auto& entry) { return entry.first == database; });
        if (group == groups.end()) group = groups.insert(groups.end(), {database, DatabankCollection()});
        group->second.Add(databank);
    }
    for (const auto& [database, group] : groups) {
        const auto manager = database->CompoundManager();
        if (!manager) continue;
        const auto weighed = manager->FindForMM(group, text, identifierType, "MW");
        const auto boiling = manager->FindForMM(group, text, identifierType, "TB");
        if (!weighed) continue;
        for (std::size_t i = 0; i < weighed->size(); ++i) {
            const auto& hit = (*weighed)[i];
            if (!hit || !hit->Databank) continue;
            auto listed = std::make_shared<ListedCompound>();
            listed->databankName = Reference(*hit->Databank);
            listed->name = FirstIdentifier(*hit, "NAME");
            listed->alias = FirstIdentifier(*hit, "ALIAS");
            listed->casNumber = FirstIdentifier(*hit, "CASRN");
            listed->formula = FirstIdentifier(*hit, "FORMULA");
            if (hit->Compound) listed->compoundClass = manager->GetCompoundClass(*hit->Compound).value_or("");
            listed->matchedSynonym = MatchedSynonym(*hit, text);
            listed->molecularWeight = FirstNumber(*hit).value_or(0.0);
            // Both searches list the same hits in the same order; a hit without the value has none.
            if (boiling && i < boiling->size() && (*boiling)[i])
                listed->boilingPoint = FirstNumber(*(*boiling)[i]).value_or(0.0);
            listed->compound = hit->Compound;
            m_hits.push_back(std::move(listed));
        }
    }
    return static_cast<int>(m_hits.size());
}

std::string FindModel::CellText(const ListedCompound& hit, FindColumn column)
{
    auto number = [](double value) {
        if (value == 0.0) return std::string();
        char text[32];
        std::snprintf(text, sizeof text, "%.2f", value);
        return std::string(text);
    };
    switch (column) {
    case FindColumn::Name: return hit.name;
    case FindColumn::Alias: return hit.alias;
    case FindColumn::CasNumber: return hit.casNumber;
    case FindColumn::Formula: return hit.formula;
    case FindColumn::CompoundClass: return hit.compoundClass;
    case FindColumn::MatchedSynonym: return hit.matchedSynonym;
    case FindColumn::MolecularWeight: return number(hit.molecularWeight);
    case FindColumn::BoilingPoint: return number(hit.boilingPoint);
    case FindColumn::Databank: return hit.databankName;
    }
    return {};
}

void FindModel::SortBy(FindColumn column, bool ascending)
{
    auto less = [column](const ListedCompoundPtr& a, const ListedCompoundPtr& b) {
        if (column == FindColumn::MolecularWeight) return a->molecularWeight < b->molecularWeight;
        if (column == FindColumn::BoilingPoint) return a->boilingPoint < b->boilingPoint;
        return platform::FoldCase(CellText(*a, column)) < platform::FoldCase(CellText(*b, column));
    };
    std::stable_sort(m_hits.begin(), m_hits.end(), [&](const ListedCompoundPtr& a, const ListedCompoundPtr& b) {
        return ascending ? less(a, b) : less(b, a);
    });
}

void FindModel::AddHits(const std::vector<int>& positions)
{
    std::vector<ListedCompoundPtr> chosen;
    for (int position : positions) {
        if (position < 0 || static_cast<std::size_t>(position) >= m_hits.size())
            throw std::out_of_range("the last search has no hit " + std::to_string(position + 1));
        chosen.push_back(m_hits[static_cast<std::size_t>(position)]);
    }
    Add(chosen);
}

void FindModel::Add(const std::vector<ListedCompoundPtr>& compounds)
{
    m_launcher->CompoundsAdded(AddedCompounds(compounds.begin(), compounds.end()));
}

std::vector<std::string> FindModel::SelectedNames() const { return NamesOf(m_selected); }
std::vector<std::string> FindModel::AvailableNames() const { return NamesOf(m_available); }

void FindModel::MoveToSelected(const std::vector<int>& availablePositions)
{
    if (!m_canModify) throw std::logic_error("the databank lists may not be changed");
    Move(m_available, m_selected, availablePositions);
}

void FindModel::MoveToAvailable(const std::vector<int>& selectedPositions)
{
    if (!m_canModify) throw std::logic_error("the databank lists may not be changed");
    Move(m_selected, m_available, selectedPositions);
}

void FindModel::Select(const std::vector<std::string>& references)
{
    std::vector<DatabankPtr> offered = m_selected;
    offered.insert(offered.end(), m_available.begin(), m_available.end());
    std::vector<DatabankPtr> selection;
    for (const auto& reference : references) {
        const auto found = std::find_if(offered.begin(), offered.end(), [&](const DatabankPtr& databank) {
            return platform::EqualsIgnoringCase(Reference(*databank), reference);
        });
        if (found == offered.end()) throw std::invalid_argument(reference + " is not offered");
        if (std::find(selection.begin(), selection.end(), *found) == selection.end()) selection.push_back(*found);
    }
    m_available.clear();
    for (const auto& databank : offered)
        if (std::find(selection.begin(), selection.end(), databank) == selection.end()) m_available.push_back(databank);
    m_selected = std::move(selection);
    Report();
}

bool FindModel::ReportSelection()
{
    if (m_selected == m_reported) return false;
    Report();
    return true;
}

void FindModel::Report()
{
    m_reported = m_selected;
    auto selection = std::make_shared<DatabankCollection>();
    for (const auto& databank : m_selected) selection->Add(databank);
    m_launcher->SetSelectedDatabanks(selection);
}

} // namespace moru::components
