#include "DialogWorld.h"

#include "service/Errors.h"

#include <cstring>
#include <sstream>
#include <stdexcept>

using namespace moru::service;

using namespace moru::fake;

using namespace moru::testing;
using moru::components::ListedCompound;
using moru::service::AddedCompounds;

namespace {

class FindDialog : public DialogWorld {
protected:
    // The launcher of the dialog created last; none fails the test (an exception, not a crash).
    IFindCompoundLauncher& Find()
    {
        if (component->findDialogs.empty() || !component->findDialogs.back().findLauncher)
            throw std::runtime_error("no find dialog was created");
        return *component->findDialogs.back().findLauncher;
    }

    static std::shared_ptr<ListedCompound> Entry(const std::string& databankName, const std::string& alias, int id)
    {
        auto entry = std::make_shared<ListedCompound>();
        entry->databankName = databankName;
        entry->alias = alias;
        entry->name = alias + "-name";
        entry->casNumber = "1-2-" + std::to_string(id);
        entry->compoundClass = "class";
        entry->matchedSynonym = "syn";
        entry->molecularWeight = 18.5;
        entry->boilingPoint = 373.15;
        entry->compound = std::make_shared<FakeCompound>(id);
        return entry;
    }
    static AddedCompounds Three()
    {
        return {Entry("DB1.B1", "A", 1), Entry("DB1.B1", "B", 2), Entry("DB1.B2", "C", 3)};
    }
};

// An entry whose every read fails, as an entry that is not a compound.
class UnreadableEntry : public ListedCompound {
public:
    std::string DatabankName() const override { throw moru::service::ServiceError("not a compound"); }
};

} // namespace

TEST_F(FindDialog, EnumeratesTheSelectionBeforeCreatingTheDialogOnTheFilledLauncher)
{
    SelectedMonikers() = {"DB1 B2", "DB2 C1"};
    component->scriptSource = [] {
        HostCalls().push_back("dialog created");
        return moru::components::Script();
    };
    LaunchFindDialog(&RecordShortAdd, &EnumSelected, &RecordSetDatabanks, 0, "water");

    EXPECT_EQ(HostCalls(), (std::vector<std::string>{"enum 0", "enum 1", "enum 2", "dialog created"}));
    ASSERT_EQ(component->findDialogs.size(), 1u);
    EXPECT_EQ(component->findDialogs[0].nistLauncher, nullptr); // the plain launch: one launcher
    EXPECT_EQ(Monikers(Find().GetSelectedDatabanks()), (std::vector<std::string>{"DB1 B2", "DB2 C1"}));
    EXPECT_EQ(Monikers(Find().GetAvailableDatabanks()), (std::vector<std::string>{"DB1 B1"}));
    // The launcher's own collections, not copies.
    EXPECT_EQ(Find().GetSelectedDatabanks(), Find().GetSelectedDatabanks());
    EXPECT_TRUE(messages.empty());
}

TEST_F(FindDialog, ASelectionEndingAtIndexZeroSelectsNothingAndOffersEverything)
{
    LaunchFindDialog(&RecordShortAdd, &EnumSelected, &RecordSetDatabanks, 0, "");
    EXPECT_EQ(HostCalls(), (std::vector<std::string>{"enum 0"}));
    EXPECT_TRUE(Monikers(Find().GetSelectedDatabanks()).empty());
    EXPECT_EQ(Monikers(Find().GetAvailableDatabanks()), (std::vector<std::string>{"DB1 B1", "DB1 B2", "DB2 C1"}));
}

TEST_F(FindDialog, AMonikerThatDoesNotResolveIsSkippedAndTheEnumerationGoesOn)
{
    SelectedMonikers() = {"DB1 NOPE", "DB1.B1", "DB2 C1"};
    LaunchFindDialog(&RecordShortAdd, &EnumSelected, nullptr, 0, "");
    EXPECT_EQ(HostCalls().size(), 4u);
    EXPECT_EQ(Monikers(Find().GetSelectedDatabanks()), (std::vector<std::string>{"DB2 C1"}));
}

TEST_F(FindDialog, ASelectionThatNeverEndsIsReadUpToItsBound)
{
    LaunchFindDialog(&RecordShortAdd, &EnumNeverEnding, nullptr, 0, "");
    ASSERT_EQ(component->findDialogs.size(), 1u);
    EXPECT_EQ(Find().GetSelectedDatabanks()->Count(), MORU_MAX_SELECTED_DATABANKS);
    EXPECT_EQ(Monikers(Find().GetAvailableDatabanks()), (std::vector<std::string>{"DB1 B2", "DB2 C1"}));
}

TEST_F(FindDialog, TheFirstCompoundOfEveryAdditionTakesTheReplaceRow)
{
    LaunchFindDialogWithWindowName(&RecordFullAdd, nullptr, nullptr, 5, nullptr, nullptr, nullptr);
    Find().CompoundsAdded(Three());
    Find().CompoundsAdded(AddedCompounds{Entry("DB1.B1", "D", 4)});
    EXPECT_EQ(HostCalls(), (std::vector<std::string>{
                               "add DB1.B1|A|5|A-name|1-2-1|class|syn|18.5|373.15|1",
                               "add DB1.B1|B|-1|B-name|1-2-2|class|syn|18.5|373.15|2",
                               "add DB1.B2|C|-1|C-name|1-2-3|class|syn|18.5|373.15|3",
                               "add DB1.B1|D|5|D-name|1-2-4|class|syn|18.5|373.15|4",
                           }));
}

TEST_F(FindDialog, WithoutAReplaceRowEveryCompoundIsANewRow)
{
    LaunchFindDialog(&RecordShortAdd, nullptr, nullptr, 0, nullptr);
    Find().CompoundsAdded(Three());
    EXPECT_EQ(HostCalls(), (std::vector<std::string>{"add B1|A|-1", "add B1|B|-1", "add B2|C|-1"}));
}

TEST_F(FindDialog, TheShortFormPassesTheDatabankPartOnlyOfANameWithExactlyOneFullStop)
{
    LaunchFindDialog(&RecordShortAdd, nullptr, nullptr, 0, nullptr);
    Find().CompoundsAdded(AddedCompounds{Entry("DB.BANK", "A", 1), Entry("NODOT", "B", 2), Entry("A.B.C", "C", 3)});
    EXPECT_EQ(HostCalls(), (std::vector<std::string>{"add BANK|A|-1", "add |B|-1", "add |C|-1"}));
}

TEST_F(FindDialog, EntriesThatAreNotCompoundsAreSkippedWithoutTakingTheReplaceRow)
{
    LaunchFindDialog(&RecordShortAdd, nullptr, nullptr, 7, nullptr);
    auto withoutCompound = Entry("DB1.B1", "X", 9);
    withoutCompound->compound = nullptr;
    Find().CompoundsAdded(
        AddedCompounds{nullptr, std::make_shared<UnreadableEntry>(), withoutCompound, Entry("DB1.B1", "A", 1)});
    // The replace row belongs to position 0, which was skipped.
    EXPECT_EQ(HostCalls(), (std::vector<std::string>{"add B1|A|-1"}));
}

TEST_F(FindDialog, HelpIsPassedOnOnlyByTheKeldaLaunch)
{
    LaunchFindDialog(&RecordShortAdd, nullptr, nullptr, 0, nullptr);
    Find().CompoundsAdded(std::nullopt);
    LaunchFindDialogWithWindowName(&RecordFullAdd, nullptr, nullptr, 0, nullptr, "C", "W");
    Find().CompoundsAdded(std::nullopt);
    EXPECT_TRUE(HostCalls().empty());
    LaunchFindDialogWithKELDA(&RecordFullAdd, nullptr, nullptr, 0, nullptr, "C", "W", &RecordHelp);
    Find().CompoundsAdded(std::nullopt);
    EXPECT_EQ(HostCalls(), (std::vector<std::string>{"help 110021"}));
    LaunchFindDialogWithKELDA(&RecordFullAdd, nullptr, nullptr, 0, nullptr, "C", "W", nullptr);
    Find().CompoundsAdded(std::nullopt); // no help callback: nothing
    EXPECT_EQ(HostCalls().size(), 1u);
}

TEST_F(FindDialog, KeldaModeIsSetBeforeTheLaunchAndStaysAfterTheOtherLaunches)
{
    auto& application = moru::service::GetServiceFactory().Application();
    LaunchFindDialogWithWindowName(&RecordFullAdd, nullptr, nullptr, 0, nullptr, nullptr, nullptr);
    EXPECT_FALSE(application.IsKELDA());
    component->failingCreations = 1; // set even when the dialog then fails
    LaunchFindDialogWithKELDA(&RecordFullAdd, nullptr, nullptr, 0, nullptr, nullptr, nullptr, nullptr);
    EXPECT_TRUE(application.IsKELDA());
    LaunchFindDialog(&RecordShortAdd, nullptr, nullptr, 0, nullptr);
    EXPECT_TRUE(application.IsKELDA());
}

TEST_F(FindDialog, TheSelectionReachesTheHostAsMonikersEvenWhenEmpty)
{
    LaunchFindDialog(&RecordShortAdd, nullptr, &RecordSetDatabanks, 0, nullptr);
    Find().SetSelectedDatabanks(std::make_shared<DatabankCollection>());
    auto two = std::make_shared<DatabankCollection>();
    two->Add(c1);
    two->Add(b1);
    Find().SetSelectedDatabanks(two);
    Find().SetSelectedDatabanks(nullptr);
    EXPECT_EQ(HostCalls(),
              (std::vector<std::string>{"set 0 (ends with null)", "set 2|DB2 C1|DB1 B1 (ends with null)"}));
    // The launcher's own selection is not changed by the user's.
    EXPECT_TRUE(Monikers(Find().GetSelectedDatabanks()).empty());
}

TEST_F(FindDialog, TheInitialSearchStringIsCopiedDuringTheLaunch)
{
    char text[] = "water";
    LaunchFindDialog(&RecordShortAdd, nullptr, nullptr, 0, text);
    std::strcpy(text, "gone!"); // the host may reuse its buffer once the launch returned
    EXPECT_EQ(Find().GetInitialSearchString(), "water");
    LaunchFindDialog(&RecordShortAdd, nullptr, nullptr, 0, nullptr);
    EXPECT_EQ(Find().GetInitialSearchString(), "");
}

TEST_F(FindDialog, WindowNamesAndTheOtherOperationsOfTheLauncher)
{
    SetDatabankTabFlag(false);
    LaunchFindDialog(&RecordShortAdd, nullptr, nullptr, 0, nullptr);
    EXPECT_FALSE(Find().CanShowDatabanksTab());
    EXPECT_TRUE(Find().CanModifyDatabankLists());
    EXPECT_TRUE(Find().FilterEnabled());
    EXPECT_EQ(Find().Database(), nullptr);
    LaunchFindDialogWithWindowName(&RecordFullAdd, nullptr, nullptr, 0, nullptr, "Class", nullptr);
    ASSERT_FALSE(component->findDialogs.empty());
    ASSERT_TRUE(component->findDialogs.back().nistLauncher);
    auto& nist = *component->findDialogs.back().nistLauncher;
    EXPECT_EQ(nist.GetClassName(), "Class");
    EXPECT_EQ(nist.GetWindowName(), "");
    EXPECT_EQ(nist.GetClassName2(), std::nullopt);
    EXPECT_EQ(nist.GetWindowName4(), std::nullopt);
    EXPECT_EQ(nist.GetNumberOfCompound(), 1);
    EXPECT_EQ(nist.GetCompoundName(), "");
    moru::service::NISTPropListPtr list = std::make_shared<moru::service::NISTPropList>(2);
    const auto before = list;
    nist.GetNISTPropList(list);
    EXPECT_EQ(list, before);                                 // left as the caller set it
    nist.ButtonClicked("W", {std::string("P")}, "T", {}, 7); // a find dialog reports no actions
    EXPECT_TRUE(HostCalls().empty());
}

TEST_F(FindDialog, ADialogThatCannotBeCreatedIsReportedInAMessageBoxAndTheNextLaunchWorks)
{
    component->failingCreations = 1;
    LaunchFindDialog(&RecordShortAdd, &EnumSelected, nullptr, 0, nullptr);
    EXPECT_EQ(messages, (std::vector<std::string>{"MORU: Failed to launch FindCompounds Dialog"}));
    EXPECT_TRUE(component->findDialogs.empty());
    LaunchFindDialog(&RecordShortAdd, &EnumSelected, nullptr, 0, nullptr);
    EXPECT_EQ(component->findDialogs.size(), 1u);
    EXPECT_EQ(messages.size(), 1u);
}

TEST_F(FindDialog, AServiceFailureOnTheWayToTheDialogIsReportedLikeAFailedCreation)
{
    service.log.failing.insert("IDatabank.Name");
    SelectedMonikers() = {"DB1 B1"};
    LaunchFindDialog(&RecordShortAdd, &EnumSelected, nullptr, 0, nullptr);
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_TRUE(component->findDialogs.empty());
}

TEST_F(FindDialog, NullCallbacksAndALaunchBeforeAnyDatabaseAreHarmless)
{
    service.collection->databases.clear();
    LaunchFindDialogWithKELDA(nullptr, nullptr, nullptr, 3, nullptr, nullptr, nullptr, nullptr);
    ASSERT_EQ(component->findDialogs.size(), 1u);
    EXPECT_TRUE(Monikers(Find().GetAvailableDatabanks()).empty());
    Find().CompoundsAdded(Three());
    Find().CompoundsAdded(std::nullopt);
    Find().SetSelectedDatabanks(std::make_shared<DatabankCollection>());
    EXPECT_TRUE(HostCalls().empty());
    EXPECT_TRUE(messages.empty());
}

TEST_F(FindDialog, TheScriptedUserSearchesPicksAndAddsThroughTheLauncher)
{
    db1->compounds->onFindForMM = [&](const DatabankCollection& group, const std::string& text, const std::string&,
                                      const std::string&) -> std::optional<FoundCompoundsList> {
        if (text != "water") return std::nullopt;
        return FoundCompoundsList{
            MakeHit(11, group[0],
                    {MakeIdentifierValue("NAME", {"oxidane"}, 11), MakeIdentifierValue("CASRN", {"7732-18-5"}, 11),
                     MakeIdentifierValue("SYNONYM", {"aqua", "Water"}, 11)}),
            MakeHit(12, group[0], {MakeIdentifierValue("NAME", {"water"}, 12)})};
    };
    db1->compounds->compoundClasses[11] = "inorganic";
    std::istringstream script("search water\npick 2 1\nselect DB1.B2\nadd\nhelp\n");
    component->script = moru::components::ParseScript(script);
    SelectedMonikers() = {"DB1 B1"};
    LaunchFindDialogWithKELDA(&RecordFullAdd, &EnumSelected, &RecordSetDatabanks, 4, "ignored", "", "", &RecordHelp);
    EXPECT_EQ(HostCalls(), (std::vector<std::string>{
                               "enum 0",
                               "enum 1",
                               "set 1|DB1 B2 (ends with null)",
                               "add DB1.B1||4|water||||0|0|12", // found by its name: no synonym matched
                               "add DB1.B1||-1|oxidane|7732-18-5|inorganic|Water|0|0|11",
                               "help 110021",
                           }));
}
