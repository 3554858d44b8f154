#include "DialogWorld.h"

#include "FindModel.h"
#include "service/Errors.h"

#include <stdexcept>

using namespace moru::service;

using namespace moru::fake;

using namespace moru::testing;
using moru::components::FindColumn;
using moru::components::FindModel;

namespace {

// The model of a find dialog opened by the full launch, with DB1.B1 selected.
class FindDialogModel : public DialogWorld {
protected:
    FindDialogModel()
    {
        SelectedMonikers() = {"DB1 B1"};
        LaunchFindDialogWithWindowName(&RecordFullAdd, &EnumSelected, &RecordSetDatabanks, 0, "water", "", "");
        HostCalls().clear();
        service.log.Clear();
    }
    FindModel Model() { return FindModel(component->findDialogs.back().findLauncher); }

    // Hits of DB1 for any text: three compounds whose weights and names sort differently.
    void ThreeHits()
    {
        db1->compounds->onFindForMM = [](const DatabankCollection& group, const std::string&, const std::string&,
                                         const std::string&) -> std::optional<FoundCompoundsList> {
            return FoundCompoundsList{
                MakeHit(1, group[0],
                        {MakeIdentifierValue("NAME", {"beta"}, 1), MakeIdentifierValue("FORMULA", {"H2O"}, 1)}),
                MakeHit(2, group[0],
                        {MakeIdentifierValue("NAME", {"Alpha"}, 2), MakeIdentifierValue("ALIAS", {"WATER"}, 2)}),
                MakeHit(3, group[0], {MakeIdentifierValue("NAME", {"gamma"}, 3)}),
            };
        };
    }
    static std::vector<std::string> Names(const FindModel& model)
    {
        std::vector<std::string> names;
        for (const auto& hit : model.Hits()) names.push_back(hit->name);
        return names;
    }
};

} // namespace

TEST_F(FindDialogModel, SearchesTheSelectionByTheChosenTypeElseTheAvailableDatabanks)
{
    auto model = Model();
    model.Search("water", "CASRN");
    EXPECT_EQ(service.log.Matching("FindForMM"),
              (std::vector<std::string>{"FindForMM DB1[B1] water|CASRN|MW", "FindForMM DB1[B1] water|CASRN|TB"}));

    service.log.Clear();
    model.MoveToAvailable({0});
    model.Search("water");
    EXPECT_EQ(service.log.Matching("FindForMM"),
              (std::vector<std::string>{"FindForMM DB1[B2,B1] water||MW", "FindForMM DB1[B2,B1] water||TB",
                                        "FindForMM DB2[C1] water||MW", "FindForMM DB2[C1] water||TB"}));

    service.log.Clear();
    EXPECT_EQ(model.Search(""), 0);
    EXPECT_TRUE(service.log.Matching("FindForMM").empty());
}

TEST_F(FindDialogModel, AHitCarriesItsIdentifiersAndNoSynonymWhenTheTextMatchedAnotherIdentifier)
{
    ThreeHits();
    auto model = Model();
    ASSERT_EQ(model.Search("water"), 3);
    const auto& hit = *model.Hits()[1];
    EXPECT_EQ(hit.databankName, "DB1.B1");
    EXPECT_EQ(hit.name, "Alpha");
    EXPECT_EQ(hit.alias, "WATER");
    EXPECT_EQ(hit.matchedSynonym, ""); // the text is its alias, not a synonym
    EXPECT_EQ(FindModel::CellText(*model.Hits()[0], FindColumn::Formula), "H2O");
    EXPECT_EQ(FindModel::CellText(hit, FindColumn::MolecularWeight), ""); // no weight given: empty, not 0
}

TEST_F(FindDialogModel, SortsTextsIgnoringCaseAndNumbersByValueKeepingEqualRowsInOrder)
{
    ThreeHits();
    auto model = Model();
    model.Search("x");
    model.SortBy(FindColumn::Name, true);
    EXPECT_EQ(Names(model), (std::vector<std::string>{"Alpha", "beta", "gamma"}));
    model.SortBy(FindColumn::Name, false);
    EXPECT_EQ(Names(model), (std::vector<std::string>{"gamma", "beta", "Alpha"}));

    model.Search("x");
    model.Hits()[0]->molecularWeight = 100.0;
    model.Hits()[1]->molecularWeight = 18.0;
    model.Hits()[2]->molecularWeight = 100.0;
    model.SortBy(FindColumn::MolecularWeight, true); // 9 < 10 as numbers, not as texts
    EXPECT_EQ(Names(model), (std::vector<std::string>{"Alpha", "beta", "gamma"}));
    model.SortBy(FindColumn::MolecularWeight, false);
    EXPECT_EQ(Names(model), (std::vector<std::string>{"beta", "gamma", "Alpha"}));
}

TEST_F(FindDialogModel, AddsTheChosenHitsAsOneListAndRefusesAMissingHitBeforeAddingAnything)
{
    ThreeHits();
    auto model = Model();
    model.Search("x");
    EXPECT_THROW(model.AddHits({0, 3}), std::out_of_range);
    EXPECT_TRUE(HostCalls().empty());
    model.AddHits({2, 0});
    ASSERT_EQ(HostCalls().size(), 2u);
    EXPECT_EQ(HostCalls()[0].substr(0, 20), "add DB1.B1||-1|gamma");
    EXPECT_EQ(HostCalls()[1].substr(0, 19), "add DB1.B1||-1|beta");
}

TEST_F(FindDialogModel, TheHostHearsOfMovedDatabanksOnceWithTheOutcomeAndNotAtAllWhenNothingChanged)
{
    auto model = Model();
    EXPECT_EQ(model.SelectedNames(), (std::vector<std::string>{"DB1.B1"}));
    EXPECT_EQ(model.AvailableNames(), (std::vector<std::string>{"DB1.B2", "DB2.C1"}));
    model.MoveToSelected({1, 0});
    EXPECT_EQ(model.SelectedNames(), (std::vector<std::string>{"DB1.B1", "DB2.C1", "DB1.B2"}));
    EXPECT_TRUE(model.AvailableNames().empty());
    model.MoveToAvailable({0});
    EXPECT_THROW(model.MoveToAvailable({0, 5}), std::out_of_range);
    EXPECT_EQ(model.SelectedNames(), (std::vector<std::string>{"DB2.C1", "DB1.B2"}));
    EXPECT_TRUE(HostCalls().empty());
    EXPECT_TRUE(model.ReportSelection());
    EXPECT_FALSE(model.ReportSelection());
    model.MoveToAvailable({1});
    model.MoveToSelected({1}); // back where it was
    EXPECT_FALSE(model.ReportSelection());
    EXPECT_EQ(HostCalls(), (std::vector<std::string>{"set 2|DB2 C1|DB1 B2 (ends with null)"}));
}

TEST_F(FindDialogModel, SelectingByNameTakesOnlyOfferedDatabanksInTheOrderGiven)
{
    auto model = Model();
    model.Select({"db2.c1", "DB1.B1"});
    EXPECT_EQ(model.SelectedNames(), (std::vector<std::string>{"DB2.C1", "DB1.B1"}));
    EXPECT_EQ(model.AvailableNames(), (std::vector<std::string>{"DB1.B2"}));
    EXPECT_THROW(model.Select({"DB1.B9"}), std::invalid_argument);
    EXPECT_EQ(model.SelectedNames(), (std::vector<std::string>{"DB2.C1", "DB1.B1"}));
    EXPECT_EQ(HostCalls().size(), 1u);
}

TEST_F(FindDialogModel, OffersAnyIdentifierFirstThenTheTypesTheDatabasesKnow)
{
    db1->compounds->onGetIdentifier = [](const std::string& type) -> moru::service::IdentifierPtr {
        return type == "CASRN" || type == "NAME" ? std::make_shared<FakeIdentifier>(type) : nullptr;
    };
    db2->compounds->onGetIdentifier = [](const std::string& type) -> moru::service::IdentifierPtr {
        if (type == "SMILES") throw moru::service::ServiceError("no such type");
        return type == "FORMULA" ? std::make_shared<FakeIdentifier>(type) : nullptr;
    };
    EXPECT_EQ(Model().IdentifierTypes(), (std::vector<std::string>{"", "NAME", "CASRN", "FORMULA"}));
}
