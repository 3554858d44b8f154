#include "MoruIntegration.h"
#include "fake/FakeService.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

using namespace moru::service;

using namespace moru::fake;

namespace {

// What the host's callbacks received, in order.
struct Received {
    std::string kind; // "bank" or "binary"
    std::vector<std::optional<std::string>> texts;
    std::vector<int> numbers;
};
std::vector<Received> g_received;

std::optional<std::string> Text(const char* text) { return text ? std::optional<std::string>(text) : std::nullopt; }

int MORU_CALL OnDatabank13(const char* bank, const char* alias, const char* password, const char* display,
                           const char* base, const char* helpFile, int helpCode, const char* product, const char* type,
                           const char* prompt, int pure, int binaryCount, int reactions)
{
    g_received.push_back({"bank",
                          {Text(bank), Text(alias), Text(password), Text(display), Text(base), Text(helpFile),
                           Text(product), Text(type), Text(prompt)},
                          {helpCode, pure, binaryCount, reactions}});
    return 0;
}

int MORU_CALL OnDatabank15(const char* bank, const char* alias, const char* password, const char* display,
                           const char* base, const char* helpFile, int helpCode, const char* product, const char* type,
                           const char* prompt, int pure, int binaryCount, int reactions, int simulator, int viewer)
{
    OnDatabank13(bank, alias, password, display, base, helpFile, helpCode, product, type, prompt, pure, binaryCount,
                 reactions);
    g_received.back().numbers.push_back(simulator);
    g_received.back().numbers.push_back(viewer);
    return 0;
}

int MORU_CALL OnBinary(const char* alias, const char* bank, const char* parameter, const char* gamma, const char* vapor)
{
    g_received.push_back({"binary", {Text(alias), Text(bank), Text(parameter), Text(gamma), Text(vapor)}, {}});
    return 0;
}

void* Callback(auto function) { return reinterpret_cast<void*>(function); }

std::shared_ptr<GammaModelParameterInformation> Parameter(std::optional<std::string> name,
                                                          std::optional<std::string> gamma,
                                                          std::optional<std::string> vapor)
{
    auto entry = std::make_shared<GammaModelParameterInformation>();
    entry->ParameterName = std::move(name);
    entry->GammaModelName = std::move(gamma);
    entry->VaporModelName = std::move(vapor);
    return entry;
}

class DatabankListing : public ::testing::Test {
protected:
    DatabankListing()
    {
        g_received.clear();
        db1 = service.AddDatabase("DB1");
        bank1 = db1->AddDatabank("PURE");
        bank1->baseName = "PUREBASE";
        bank2 = db1->AddDatabank("BINARY");
        auto pure = std::make_shared<PureDatabankInfoObject>();
        pure->Password = "secret";
        pure->DisplayNameMM = "Pure data";
        pure->Product = "   ";
        pure->DatabankType = "PURE";
        pure->PromptMM = "Choose";
        pure->HelpFileName = "help.chm";
        pure->HelpCode = 42;
        db1->SetPureInfo("PURE", pure);
        auto binaryInfo = std::make_shared<InteractionParameterDatabankInformationObject>();
        binaryInfo->ParameterInfoList =
            std::vector<SundryItemPtr>{Parameter("NRTL", "NRTL", std::nullopt), Parameter(" ", "X", "Y"),
                                       std::make_shared<PureDatabankInfoObject>(), Parameter("PRKIJ", "", "PR")};
        db1->sundry->items["BINARY"] = binaryInfo;
        db1->reactions->total = 5;
        db1->reactions->perDatabank["PURE"] = 3;
        db1->accessSettings["ZRSIMULATOR"] = true;
    }

    FakeService service;
    std::shared_ptr<FakeDatabase> db1;
    std::shared_ptr<FakeDatabank> bank1, bank2;
};

} // namespace

TEST_F(DatabankListing, ReportsPureInformationWithBlankFieldsAsNull)
{
    ListMoruDatabanks(Callback(&OnDatabank13), nullptr, Callback(&OnBinary));
    ASSERT_EQ(g_received.size(), 4u); // PURE, then BINARY's two parameters, then BINARY
    const Received& pure = g_received[0];
    EXPECT_EQ(pure.texts, (std::vector<std::optional<std::string>>{"PURE", "DB1", "secret", "Pure data", "PUREBASE",
                                                                   "help.chm", std::nullopt, "PURE", "Choose"}));
    EXPECT_EQ(pure.numbers, (std::vector<int>{42, 1, 0, 3}));
}

TEST_F(DatabankListing, BinaryParameterCallbacksComeBeforeTheirDatabank)
{
    ListMoruDatabanks(Callback(&OnDatabank13), Callback(&OnDatabank13), Callback(&OnBinary));
    ASSERT_EQ(g_received.size(), 4u);
    EXPECT_EQ(g_received[1].kind, "binary");
    EXPECT_EQ(g_received[1].texts,
              (std::vector<std::optional<std::string>>{"DB1", "BINARY", "NRTL", "NRTL", std::nullopt}));
    EXPECT_EQ(g_received[2].texts,
              (std::vector<std::optional<std::string>>{"DB1", "BINARY", "PRKIJ", std::nullopt, "PR"}));
    const Received& binary = g_received[3];
    EXPECT_EQ(binary.kind, "bank");
    // No pure information: nulls and zeros, the base name absent too.
    EXPECT_EQ(binary.texts,
              (std::vector<std::optional<std::string>>{"BINARY", "DB1", std::nullopt, std::nullopt, std::nullopt,
                                                       std::nullopt, std::nullopt, std::nullopt, std::nullopt}));
    EXPECT_EQ(binary.numbers, (std::vector<int>{0, 0, 2, 0}));
}

TEST_F(DatabankListing, AccessFlagSelectsTheFifteenArgumentCallback)
{
    ListMoruDatabanks_WithDBAccessFlag(Callback(&OnDatabank15), nullptr, nullptr, 1);
    ASSERT_EQ(g_received.size(), 2u);
    // The texts stand in the same places as in the thirteen-argument callback.
    EXPECT_EQ(g_received[0].texts,
              (std::vector<std::optional<std::string>>{"PURE", "DB1", "secret", "Pure data", "PUREBASE", "help.chm",
                                                       std::nullopt, "PURE", "Choose"}));
    EXPECT_EQ(g_received[0].numbers, (std::vector<int>{42, 1, 0, 3, 1, 0}));
    EXPECT_EQ(g_received[1].numbers, (std::vector<int>{0, 0, 0, 0, 1, 0})); // no binary callback: count 0
    EXPECT_EQ(service.log.Matching("GetDatabaseAccessSetting"),
              (std::vector<std::string>{"GetDatabaseAccessSetting DB1 ZRVIEWER",
                                        "GetDatabaseAccessSetting DB1 ZRSIMULATOR"}));
}

TEST_F(DatabankListing, VantaListingReportsNamesOnly)
{
    ListMoruDatabanks_Vanta_WithDBAccessFlag(Callback(&OnDatabank15), 1);
    ASSERT_EQ(g_received.size(), 2u);
    EXPECT_EQ(g_received[0].texts,
              (std::vector<std::optional<std::string>>{"PURE", "DB1", std::nullopt, std::nullopt, std::nullopt,
                                                       std::nullopt, std::nullopt, std::nullopt, std::nullopt}));
    EXPECT_EQ(g_received[0].numbers, (std::vector<int>{0, 0, 0, 0, 1, 0}));
    EXPECT_TRUE(service.log.Matching("GetAllReactionsCount").empty());
    EXPECT_TRUE(service.log.Matching("SundryGetItem").empty());
}

TEST_F(DatabankListing, ReactionCountsFollowVersionAndTotal)
{
    auto old = service.AddDatabase("OLD");
    old->version = 2006;
    old->reactions->total = 9;
    old->reactions->perDatabank["R"] = 9;
    old->AddDatabank("R");
    auto none = service.AddDatabase("NONE");
    none->reactions->perDatabank["S"] = 4; // never asked: the database total is 0
    none->AddDatabank("S");
    ListMoruDatabanks(Callback(&OnDatabank13), nullptr, nullptr);
    ASSERT_EQ(g_received.size(), 4u);
    EXPECT_EQ(g_received[2].numbers.back(), 0);
    EXPECT_EQ(g_received[3].numbers.back(), 0);
    EXPECT_EQ(service.log.Matching("GetAllReactionsCount"),
              (std::vector<std::string>{"GetAllReactionsCount <all>", "GetAllReactionsCount PURE",
                                        "GetAllReactionsCount BINARY", "GetAllReactionsCount <all>"}));
}

TEST_F(DatabankListing, EmptyDatabankNameArrivesAsEmptyString)
{
    db1->AddDatabank("");
    ListMoruDatabanks_Vanta(Callback(&OnDatabank13));
    ASSERT_EQ(g_received.size(), 3u);
    EXPECT_EQ(g_received[2].texts[0], std::optional<std::string>(""));
}

TEST_F(DatabankListing, NullInfoCallbackListsAndAppendsNothing)
{
    ListMoruDatabanks(nullptr, nullptr, Callback(&OnBinary));
    EXPECT_TRUE(g_received.empty());
    int types = 0, table = 0;
    EXPECT_EQ(Databank_GetDatabankTypeAndPropertyList("DB1", "PURE", &types, &table), 0);
    EXPECT_TRUE(service.log.Matching("GetAllProperties").empty());
}

TEST_F(DatabankListing, DatabaseWithoutDatabanksIsPassedOverAndAFailureEndsTheWalk)
{
    auto broken = service.AddDatabase("BROKEN");
    service.log.failing.insert("EnumerateDatabanks BROKEN");
    auto last = service.AddDatabase("LAST");
    last->AddDatabank("L1");
    last->AddDatabank("L2");
    last->reactions->total = 1;
    ListMoruDatabanks_Vanta(Callback(&OnDatabank13));
    EXPECT_EQ(g_received.size(), 4u);

    g_received.clear();
    service.log.failing.insert("GetAllReactionsCount");
    ListMoruDatabanks(Callback(&OnDatabank13), nullptr, nullptr);
    EXPECT_TRUE(g_received.empty()); // the first database's total already fails
}

TEST_F(DatabankListing, ListingTwiceAppendsAgainAndTheFirstEntryResolves)
{
    ListMoruDatabanks_Vanta(Callback(&OnDatabank13));
    ListMoruDatabanks_Vanta(Callback(&OnDatabank13));
    EXPECT_EQ(g_received.size(), 4u);
    int types = 0, table = 0;
    db1->properties->properties["PURE"] = {std::make_shared<FakeProperty>("TC", 0)};
    EXPECT_EQ(Databank_GetDatabankTypeAndPropertyList("db1", "pure", &types, &table), 1);
    Databank_ReleaseHandle(table);
}

TEST_F(DatabankListing, FailureMidwayKeepsTheCallbacksMadeAndTheDatabanksAppended)
{
    db1->reactions->total = 5;
    // The second databank's reaction count raises: the walk ends inside the export.
    struct FailingOnBinary : FakeReactionManager {
        using FakeReactionManager::FakeReactionManager;
        int GetAllReactionsCount(const IDatabank* databank) override
        {
            if (databank && databank->Name() == "BINARY") throw ServiceError("count failed");
            return FakeReactionManager::GetAllReactionsCount(databank);
        }
    };
    db1->reactions = std::make_shared<FailingOnBinary>(service.log);
    db1->reactions->total = 5;
    ListMoruDatabanks(Callback(&OnDatabank13), nullptr, Callback(&OnBinary));
    ASSERT_EQ(g_received.size(), 3u); // PURE's callback, then BINARY's two parameter callbacks
    EXPECT_EQ(g_received[0].texts[0], std::optional<std::string>("PURE"));
    int types = 0, table = 0;
    db1->properties->properties["BINARY"] = {std::make_shared<FakeProperty>("NRTL", 1)};
    EXPECT_EQ(Databank_GetDatabankTypeAndPropertyList("DB1", "BINARY", &types, &table), 1);
    Databank_ReleaseHandle(table);
}
