#include "MoruIntegration.h"
#include "fake/FakeService.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace moru::fake;

// Every export, given nulls, handle 0, released handles and handles of the wrong kind: each gives
// its failure value and nothing crashes (the sanitizer build watches for stray writes).
TEST(BadInput, EveryExportSurvivesNullsAndForeignHandles)
{
    FakeService service;
    service.AddDatabase("DB")->AddDatabank("BANK");
    service.collection->resultText = "DB OK";
    ListAllDatabanks();

    int size = 0, success = 0, codes = 0;
    const int messages = InitVNFromConfigFileWithReturnMsgs(nullptr, nullptr, &size, &success, &codes);
    int released = 0;
    Databank_GetDatabankTypeAndPropertyList("DB", "BANK", &size, &released);
    Databank_ReleaseHandle(released);
    const std::vector<int> handles = {0, -1, 123456789, released, messages, codes};

    char buffer[256];
    double number = 0;
    int value = 0;
    const char* emptyList[] = {nullptr};
    for (int handle : handles) {
        EXPECT_EQ(
            FoundCompounds_GetObjectDetails(handle, buffer, buffer, &value, buffer, buffer, buffer, buffer, &number),
            0);
        EXPECT_EQ(FoundCompounds_GetNextCompoundIdentifier(handle, 0, &value, buffer, buffer, &value, buffer, buffer,
                                                           buffer, buffer, &number),
                  -1);
        EXPECT_EQ(GetAllCompounds_Identifiers(handle, 0, buffer, buffer, buffer), 0);
        CompoundCollection_GetEnumerator(handle, &value);
        EXPECT_EQ(value, 0);
        EXPECT_EQ(CompoundCollectionEnum_MoveNext(handle), 0);
        EXPECT_EQ(CompoundCollectionEnum_GetItem(handle, &value, buffer, 1, buffer, 1), 0);
        EXPECT_EQ(Databank_GetNextPropertyName(handle, 0, buffer), 0);
        if (handle != codes) {
            EXPECT_EQ(GetNextDatabaseSuccessCode(handle, 0), -1);
        }
        if (handle != messages) {
            EXPECT_EQ(GetNextDatabaseErrorMessageSize(handle, 0), -1);
            EXPECT_EQ(GetNextDatabaseErrorMessage(handle, 0, buffer, 1), 0);
        }
    }

    InitializeFromConfigFile(nullptr, nullptr);
    EXPECT_EQ(InitVNFromConfigFileWithReturnMsgs(nullptr, nullptr, nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(GetDescription(nullptr, nullptr, 0), 0);
    EXPECT_EQ(GetDescription("DB", buffer, -1), 0);
    FindCompHelpID(nullptr);
    ListMoruDatabanks(nullptr, nullptr, nullptr);
    ListMoruDatabanks_WithDBAccessFlag(nullptr, nullptr, nullptr, 1);
    ListMoruDatabanks_Vanta(nullptr);
    ListMoruDatabanks_Vanta_WithDBAccessFlag(nullptr, 1);
    SetPureDatabankList(nullptr, 5);
    Databank_GetIdentifiersOfCompoundsWithData(nullptr, nullptr, nullptr);
    EXPECT_EQ(Databank_GetDatabankTypeAndPropertyList(nullptr, nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(FoundCompounds_Find(nullptr, nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(FoundCompounds_FindByIdentifierType(emptyList, nullptr, nullptr, nullptr, &value), 0);
    EXPECT_EQ(FoundCompounds_FindMultiple(emptyList, "NAME", nullptr, nullptr, &value), 0);
    EXPECT_EQ(FoundCompounds_Find_Vanta(emptyList, "x", 0, &value, nullptr, buffer), 0);
    EXPECT_EQ(value, -1);
    EXPECT_EQ(GetAllCompounds(nullptr, &value, &value), 0);
    GetIdValueFromDbank(nullptr, nullptr, nullptr, 0, nullptr, 0, nullptr, 0);
    GetIdValueFromDbank("DB", "BANK", "NAME", 1, buffer, 0, buffer, 0);
    GetCompidFromIdInDbank(nullptr, nullptr, nullptr, nullptr, nullptr);
    Reactions_ReleaseHandle(messages);
    Reactions_ReleaseHandle(codes);
}
