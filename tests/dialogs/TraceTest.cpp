// A failed call of the dialog family says why in the trace.

#include "DialogWorld.h"
#include "fake/TraceCapture.h"
#include "service/Errors.h"

#include <string>

using namespace moru::service;

using namespace moru::fake;

using namespace moru::testing;

namespace {

class DialogTrace : public DialogWorld {
protected:
    TraceCapture trace;
};

// An entry that cannot be read, as one that is not a compound.
class UnreadableEntry : public moru::components::ListedCompound {
public:
    std::string DatabankName() const override { throw moru::service::ServiceError("the entry is gone"); }
};

} // namespace

TEST_F(DialogTrace, StagingSaysWhatARecordLacks)
{
    EXPECT_FALSE(InitializeTDEdialog(nullptr));
    EXPECT_EQ(trace.ReasonOf("InitializeTDEdialog"), "no compound name to stage");
    EXPECT_FALSE(InitializeTDEdialogMix("water", nullptr));
    EXPECT_EQ(trace.ReasonOf("InitializeTDEdialogMix"), "a mixture needs both compound names; the second is missing");
    const double values[] = {1.0};
    EXPECT_FALSE(PushPropertyValue_GetPropNameValue(
        nullptr, "", "", "", 1, "", "", "", 1, values, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0,
        nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, nullptr, nullptr, nullptr, nullptr, "", ""));
    EXPECT_EQ(trace.ReasonOf("PushPropertyValue_GetPropNameValue"),
              "a property record needs its name, its variables, and its values with their count");
}

TEST_F(DialogTrace, APushBackBeforeAnyTabSaysSo)
{
    PushCitation("P", "1", "a citation");
    EXPECT_EQ(trace.ReasonOf("PushCitation"), "no NIST tab has been opened");
    ForceClose();
    EXPECT_EQ(trace.ReasonOf("ForceClose"), "no NIST tab has been opened");
    LaunchNISTTab(&RecordAction, "", "", "", "", "", "", "", "");
    ForceClose();
    EXPECT_EQ(trace.ReasonOf("ForceClose"), "");
}

TEST_F(DialogTrace, AFindDialogThatCannotBeLaunchedSaysWhatStoppedIt)
{
    component->failingCreations = 1;
    LaunchFindDialog(&RecordShortAdd, nullptr, nullptr, 0, nullptr);
    EXPECT_EQ(trace.ReasonOf("LaunchFindDialog"),
              "the find dialog could not be launched: the dialog box cannot be created");
    EXPECT_EQ(messages.size(), 1u);
}

// The dialog calls its launcher outside any export too; what its catch-alls drop is still noted.
TEST_F(DialogTrace, AnEntryThatCannotBeReadIsNotedAndSkipped)
{
    LaunchFindDialog(&RecordShortAdd, nullptr, nullptr, 0, nullptr);
    ASSERT_EQ(component->findDialogs.size(), 1u);
    moru::platform::TakeFailureReason();
    auto entry = std::make_shared<UnreadableEntry>();
    entry->compound = std::make_shared<FakeCompound>(1);
    component->findDialogs.back().findLauncher->CompoundsAdded(moru::service::AddedCompounds{entry});
    EXPECT_EQ(moru::platform::TakeFailureReason(), "added compound 1 could not be read: the entry is gone");
    EXPECT_TRUE(HostCalls().empty());
}
