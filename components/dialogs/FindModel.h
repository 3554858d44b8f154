#pragma once

// What the find-compounds dialog shows and does, without a window: the offered databanks in two
// lists, the search over them by identifier type, the results and their order, and what reaches the
// launcher. The scripted dialog and the window both act through it, so both behave alike.

#include "service/Dialogs.h"

#include <memory>
#include <string>
#include <vector>

namespace moru::components {

// A compound as the find dialog lists it.
class ListedCompound : public service::IDbankCompound {
public:
    std::string DatabankName() const override { return databankName; }
    std::string OrvikAlias() const override { return alias; }
    std::string OrvikName() const override { return name; }
    std::string CASnumber() const override { return casNumber; }
    std::string CompoundClass() const override { return compoundClass; }
    std::string MatchedSynonym() const override { return matchedSynonym; }
    double MolecularWeight() const override { return molecularWeight; }
    double BoilingPoint() const override { return boilingPoint; }
    service::CompoundPtr Compound() const override { return compound; }

    std::string databankName, alias, name, casNumber, formula, compoundClass, matchedSynonym;
    double molecularWeight = 0.0, boilingPoint = 0.0;
    service::CompoundPtr compound;
};
using ListedCompoundPtr = std::shared_ptr<ListedCompound>;

// The columns of the results, in the order the window shows them.
enum class FindColumn {
    Name,
    Alias,
    CasNumber,
    Formula,
    CompoundClass,
    MatchedSynonym,
    MolecularWeight,
    BoilingPoint,
    Databank
};
inline constexpr int kFindColumnCount = 9;

class FindModel {
public:
    // Reads the launcher's settings and its two databank lists once; later changes are the model's.
    explicit FindModel(std::shared_ptr<service::IFindCompoundLauncher> launcher);

    std::string InitialSearchString() { return m_launcher->GetInitialSearchString(); }
    bool ShowsDatabanksTab() const { return m_showsDatabanksTab; }
    bool CanModifyDatabankLists() const { return m_canModify; }

    // "" (any identifier) first, then the types that the offered databanks' databases know, in a
    // fixed order.
    const std::vector<std::string>& IdentifierTypes() const { return m_identifierTypes; }

    // Searches the offered databanks (the selected ones, else the available ones) for `text` as an
    // identifier of `identifierType` ("" for any); the hits replace those of the last search, in
    // the order the databases gave them. An empty text finds nothing. Returns the number of hits.
    int Search(const std::string& text, const std::string& identifierType = "");
    const std::vector<ListedCompoundPtr>& Hits() const { return m_hits; }
    // Orders the hits by a column, numbers by value, texts ignoring case; equal rows keep their order.
    void SortBy(FindColumn column, bool ascending);
    // A cell as the window shows it; a number of 0 (not given) shows empty.
    static std::string CellText(const ListedCompound& hit, FindColumn column);

    // Hands the hits at these positions (0 for the first) to the launcher as one added list, in the
    // order given; throws std::out_of_range for a position with no hit, before anything is added.
    void AddHits(const std::vector<int>& positions);
    void Add(const std::vector<ListedCompoundPtr>& compounds);
    void AskForHelp() { m_launcher->CompoundsAdded(std::nullopt); }

    // "ALIAS.BANK" of each databank of the two lists.
    std::vector<std::string> SelectedNames() const;
    std::vector<std::string> AvailableNames() const;
    // Moves the databanks at these positions between the lists (appended in the order given); the
    // launcher hears of it at the next ReportSelection. Throws std::logic_error when the lists may
    // not be changed, std::out_of_range for a position outside its list, before moving anything.
    void MoveToSelected(const std::vector<int>& availablePositions);
    void MoveToAvailable(const std::vector<int>& selectedPositions);
    // Hands the selection to the launcher when a move changed it since the last report, so that a
    // person who shuffles the lists is heard once, with the outcome. Returns whether it did.
    bool ReportSelection();
    // Makes exactly these offered databanks, named "ALIAS.BANK" (any case), the selection, in the
    // order given, and hands it to the launcher; throws std::invalid_argument for a name not offered.
    void Select(const std::vector<std::string>& references);

    static std::string Reference(const service::IDatabank& databank);

private:
    void Report();

    std::shared_ptr<service::IFindCompoundLauncher> m_launcher;
    bool m_showsDatabanksTab = false;
    bool m_canModify = false;
    std::vector<service::DatabankPtr> m_selected;
    std::vector<service::DatabankPtr> m_available;
    std::vector<std::string> m_identifierTypes;
    std::vector<ListedCompoundPtr> m_hits;
    std::vector<service::DatabankPtr> m_reported; // the selection the launcher last heard of
};

} // namespace moru::components
