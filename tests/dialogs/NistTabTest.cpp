#include "DialogWorld.h"

#include <memory>
#include <sstream>
#include <stdexcept>

using namespace moru::service;

using namespace moru::fake;

using namespace moru::testing;
using moru::components::ScriptedNistDialogBox;
using moru::dialogs::MoruNISTDataFunctions;
using moru::service::DialogValue;

namespace {

class NistTab : public DialogWorld {
protected:
    void Launch(MoruNISTPropInfoCallback callback = &RecordAction)
    {
        LaunchNISTTab(callback, "C1", "W1", "C2", nullptr, "C3", "W3", "C4", "W4");
    }
    // The first and last of some calls, "<none>" for none: a comparison rather than a crash.
    static std::string FirstOf(const std::vector<std::string>& calls)
    {
        return calls.empty() ? "<none>" : calls.front();
    }
    static std::string LastOf(const std::vector<std::string>& calls) { return calls.empty() ? "<none>" : calls.back(); }

    // The dialog created last and its launcher; none fails the test (an exception, not a crash).
    ScriptedNistDialogBox& Box()
    {
        if (component->nistDialogs.empty() || !component->nistDialogs.back())
            throw std::runtime_error("no NIST dialog was created");
        return *component->nistDialogs.back();
    }
    INISTDataLauncher& Launcher()
    {
        if (!Box().launcher) throw std::runtime_error("the NIST dialog has no launcher");
        return *Box().launcher;
    }
    std::vector<std::string> Click(std::int32_t code, std::vector<std::optional<std::string>> names,
                                   std::vector<DialogValue> values = {})
    {
        HostCalls().clear();
        Launcher().ButtonClicked("Title", names, "Tab", values, code);
        return HostCalls();
    }
    static std::vector<std::optional<std::string>> Names(std::initializer_list<const char*> names)
    {
        std::vector<std::optional<std::string>> list;
        for (const char* name : names) list.emplace_back(name);
        return list;
    }
};

} // namespace

TEST_F(NistTab, TheLaunchRegistersTheBoxAndOpensThePureOrTheMixtureDialog)
{
    InitializeTDEdialog("water");
    Launch();
    ASSERT_EQ(component->nistDialogs.size(), 1u);
    EXPECT_EQ(Box().calls, (std::vector<std::string>{"LaunchNISTDialog"}));
    EXPECT_EQ(MoruNISTDataFunctions::Instance().GetDBox().get(), &Box());
    EXPECT_EQ(Launcher().GetNumberOfCompound(), 1);
    EXPECT_EQ(Launcher().GetCompoundName(), "water");
    EXPECT_EQ(Launcher().GetCompoundName2(), std::nullopt);
    EXPECT_EQ(Launcher().GetWindowName2(), "");
    EXPECT_EQ(Launcher().GetClassName4(), "C4");
    LaunchNISTMixTab(&RecordAction, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(Box().calls, (std::vector<std::string>{"LaunchNISTMixDialog"}));
    EXPECT_EQ(Launcher().GetNumberOfCompound(), 2);
    moru::service::NISTPropListPtr pure;
    Launcher().GetNISTPropList(pure);
    EXPECT_EQ(pure, nullptr); // a mixture tab has no pure list
}

TEST_F(NistTab, TheTabSeesRecordsStagedAfterItsLaunch)
{
    InitializeTDEdialog("water");
    Launch();
    const double values[] = {1.0};
    PushPropertyValue_GetPropNameValue("CP", "", "", "", 1, "", "", "", 1, values, 0, 0, nullptr, nullptr, nullptr,
                                       nullptr, nullptr, nullptr, 0, nullptr, nullptr, nullptr, nullptr, nullptr,
                                       nullptr, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    moru::service::NISTPropListPtr list;
    Launcher().GetNISTPropList(list);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->size(), 1u);
}

TEST_F(NistTab, StagingAPureCompoundDoesNotRenameTheMixture)
{
    InitializeTDEdialogMix("water", "ethanol");
    InitializeTDEdialog("methane");
    LaunchNISTMixTab(&RecordAction, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(Launcher().GetCompoundName(), "water");
    EXPECT_EQ(Launcher().GetCompoundName2(), "ethanol");
    Launch();
    EXPECT_EQ(Launcher().GetCompoundName(), "methane");
}

TEST_F(NistTab, SingleCallCodes)
{
    Launch();
    EXPECT_EQ(Click(7, Names({"A"}), {1.0}), (std::vector<std::string>{"|||7|0|0|0|0|"}));
    EXPECT_EQ(Click(-999, {}), (std::vector<std::string>{"|||-999|0|0|0|0|"}));
    EXPECT_EQ(Click(8, Names({"P0", "P1"}), {1.5, 2.5, std::int32_t{3}, 4.5}),
              (std::vector<std::string>{"|P0||8|1.5|2.5|3|4.5|P1"}));
}

TEST_F(NistTab, TooShortListsOrWrongKindsMakeNoCallAtAll)
{
    Launch();
    EXPECT_TRUE(Click(8, Names({"P0"}), {1.5, 2.5, std::int32_t{3}, 4.5}).empty());
    EXPECT_TRUE(Click(8, Names({"P0", "P1"}), {1.5, 2.5, std::int32_t{3}}).empty());
    EXPECT_TRUE(Click(8, Names({"P0", "P1"}), {1.5, 2.5, 3.5, 4.5}).empty()); // the third must be whole
    EXPECT_TRUE(Click(8, Names({"P0", "P1"}), {std::string("x"), 2.5, std::int32_t{3}, 4.5}).empty());
    EXPECT_TRUE(Click(150, Names({"A", "B"}), {std::string("r0"), std::string("r1"), std::string("r2")}).empty());
    EXPECT_TRUE(Click(102, Names({"A", "B"}), {std::string("r0")}).empty());
}

TEST_F(NistTab, PropertyCallsThenTheClosingCall)
{
    Launch();
    EXPECT_EQ(Click(110, Names({"A", "B", "C"})),
              (std::vector<std::string>{"|A|Tab|110|0|0|0|0|", "|B|Tab|110|0|0|0|0|", "|C|Tab|110|0|0|0|0|",
                                        "Title|||999|0|0|0|0|"}));
    EXPECT_EQ(Click(102, Names({"A"}), {std::string("r0"), 2.0}),
              (std::vector<std::string>{"|A|Tab|102|0|0|0|0|r0", "Title|||999|0|0|0|0|"}));
    // A value that is not a text travels as an empty text, as for every other code.
    EXPECT_EQ(Click(103, Names({"A"}), {2.0}),
              (std::vector<std::string>{"|A|Tab|103|0|0|0|0|", "Title|||999|0|0|0|0|"}));
    EXPECT_EQ(Click(150, Names({"A"}), {2.0, std::int32_t{1}, 3.0}),
              (std::vector<std::string>{"|A|Tab|150|0|0|0|0|", "|ParameterSet|Tab|150|0|0|0|0|",
                                        "|ParameterSet|Tab|150|0|0|0|0|", "Title|||999|0|0|0|0|"}));
    EXPECT_EQ(Click(8, {std::string("P0"), std::nullopt}, {1.5, 2.5, std::int32_t{3}, 4.5}).front(),
              "|P0||8|1.5|2.5|3|4.5|");
}

TEST_F(NistTab, ParameterSetsFollowThePropertyCalls)
{
    Launch();
    EXPECT_EQ(
        Click(150, Names({"A", "B"}), {std::string("r0"), std::string("r1"), std::string("r2"), std::string("r3")}),
        (std::vector<std::string>{"|A|Tab|150|0|0|0|0|r2", "|B|Tab|150|0|0|0|0|r3", "|ParameterSet|Tab|150|0|0|0|0|r0",
                                  "|ParameterSet|Tab|150|0|0|0|0|r1", "Title|||999|0|0|0|0|"}));
    EXPECT_EQ(Click(125, Names({"A"}), {std::string("x"), std::string("y")}),
              (std::vector<std::string>{"|A|Tab|125|0|0|0|0|", "|ParameterSet|Tab|125|0|0|0|0|x",
                                        "|ParameterSet|Tab|125|0|0|0|0|y", "Title|||999|0|0|0|0|"}));
}

TEST_F(NistTab, CodeFourCarriesTheTitleAndOtherCodesCloseWithZero)
{
    Launch();
    EXPECT_EQ(Click(4, Names({"A", "B"})),
              (std::vector<std::string>{"Title|A|Tab|4|0|0|0|0|", "Title|B|Tab|4|0|0|0|0|", "|||0|0|0|0|0|"}));
    const std::vector<std::string> forty{"|A|Tab|40|0|0|0|0|", "Title|||0|0|0|0|0|"};
    EXPECT_EQ(Click(40, Names({"A"})), forty);
    EXPECT_EQ(LastOf(Click(120, Names({"A"}))), "Title|||0|0|0|0|0|");
    EXPECT_EQ(LastOf(Click(140, Names({"A"}))), "Title|||0|0|0|0|0|");
    EXPECT_EQ(LastOf(Click(139, Names({"A"}))), "Title|||999|0|0|0|0|");
    // A property name that is not a text travels as null.
    EXPECT_EQ(FirstOf(Click(40, {std::nullopt})), "|<null>|Tab|40|0|0|0|0|");
}

TEST_F(NistTab, WithoutACallbackActionsAreDropped)
{
    Launch(nullptr);
    EXPECT_TRUE(Click(110, Names({"A"})).empty());
}

TEST_F(NistTab, PushBacksBeforeAnyLaunchDoNothing)
{
    PushCitation("a", "b", "c");
    ForceClose();
    EXPECT_TRUE(component->nistDialogs.empty());
    EXPECT_EQ(MoruNISTDataFunctions::Instance().GetDBox(), nullptr);
}

TEST_F(NistTab, PushBacksReachTheBoxOpenedLastWithTheirFixedLengths)
{
    Launch();
    const double values[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    PushCitation("para", nullptr, "cite");
    PushReevalBack(2, values, nullptr);
    PushReevalBack(0, values, values);
    PushFittingBack(2000, "VLE", 0, values, values, values, values);
    PushFittingBack(1999, "VLE", 0, values, values, values, values);
    PushFittingBack(1999, "VLE", 3, values, nullptr, values, values);
    PushConsistencyTestBack("VLE", 0.5, values, values, nullptr, values);
    PushDRSDefaultPropertyBack(nullptr);
    TEDResultFormResize(640, 480);
    ForceClose();
    ForceClose();
    EXPECT_EQ(Box().calls, (std::vector<std::string>{
                               "LaunchNISTDialog",
                               "PushParaCitation para||cite",
                               "PushParaReeval 2 [1,2] -",
                               "PushParaReeval 0 - -",
                               "PushParaFitting 2000|VLE|0 [1,2,3,4,5,6] [1,2,3,4,5,6,7,8,9,10] - -",
                               "PushParaFitting 1999|VLE|0 - - - -",
                               "PushParaFitting 1999|VLE|3 [1,2,3] - [1,2,3] [1,2,3]",
                               "PushPropConsistencyTestBack VLE|0.5 [1,2,3,4,5,6] [1,2,3,4,5,6,7,8] - [1,2,3,4,5,6,7]",
                               "PushPropDRSDefaultPropertyBack ",
                               "MoruTEDResultFormResize 640 480",
                               "OnCloseTDEDialog",
                               "OnCloseTDEDialog",
                           }));
}

TEST_F(NistTab, AFailedCreationLeavesTheEarlierBoxRegistered)
{
    Launch();
    const auto first = MoruNISTDataFunctions::Instance().GetDBox();
    component->failingCreations = 1;
    Launch();
    EXPECT_EQ(MoruNISTDataFunctions::Instance().GetDBox(), first);
    EXPECT_TRUE(messages.empty()); // only the find dialog has a message box
}

TEST_F(NistTab, AScriptedUserClicksWhenTheTabOpens)
{
    std::istringstream script("click 110 | Title | Tab | A, B\nresize 1 2\n");
    component->script = moru::components::ParseScript(script);
    Launch();
    EXPECT_EQ(HostCalls(),
              (std::vector<std::string>{"|A|Tab|110|0|0|0|0|", "|B|Tab|110|0|0|0|0|", "Title|||999|0|0|0|0|"}));
}

TEST_F(NistTab, ALaunchBeforeAnyStagingHasNoNamesAndEmptyLists)
{
    LaunchNISTTab(&RecordAction, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(Launcher().GetCompoundName(), std::nullopt);
    EXPECT_EQ(Launcher().GetClassName(), "");
    moru::service::NISTPropListPtr list;
    Launcher().GetNISTPropList(list);
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->empty());
}

// A host that opens dialogs all day must not keep every one: the component keeps the most recent.
TEST_F(NistTab, OnlyTheMostRecentDialogsAreKept)
{
    const std::string largeName(1 << 20, 'n');
    InitializeTDEdialog(largeName.c_str());
    Launch();
    const std::weak_ptr<ScriptedNistDialogBox> first = component->nistDialogs.front();
    for (std::size_t i = 0; i < 3 * ScriptedDialogComponent::kKeptDialogs; ++i) Launch();
    EXPECT_EQ(component->nistDialogs.size(), ScriptedDialogComponent::kKeptDialogs);
    EXPECT_TRUE(first.expired());
    EXPECT_EQ(Box().calls, (std::vector<std::string>{"LaunchNISTDialog"}));
}
