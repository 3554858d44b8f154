#include "TestDatabase.h"

#include "Schema.h"

#include <functional>
#include <sstream>

namespace moru::sqlite::testing {
namespace {

using namespace moru::service;
using dbtool::Json;

// Two compounds whose names differ only in a letter outside ASCII, a name that differs from one of
// them only in that letter's case, and names, types and databanks spelt beyond ASCII.
Json AccentSource()
{
    return Json::parse(R"JSON({
  "format": "moru-property-db 1",
  "database": {"alias": "ACCENTS", "version": 2021},
  "properties": [{"name": "ΔHF", "dataType": 1, "interactionType": 0, "elementCount": 1}],
  "compounds": [
    {"id": 1, "identifiers": {"NAME": ["éthanol"], "ÜBERSETZUNG": ["Äthanol"]}},
    {"id": 2, "identifiers": {"NAME": ["methanol"], "ALIAS": ["CH4O"]}},
    {"id": 3, "identifiers": {"NAME": ["Ÿ-ACID"], "ALIAS": ["Źf"]}}
  ],
  "databanks": [
    {"name": "ÉTUDE", "id": 1, "compounds": [1, 2, 3],
     "binaryInfo": [{"parameter": "NRTL", "gammaModel": "NRTL"}],
     "values": [{"property": "ΔHF", "compound": 1, "numbers": [-234.8]}]}
  ]
})JSON");
}

class Connected : public ::testing::Test {
protected:
    // Builds `source` and connects it; `spoil` may change the file between the two.
    void Connect(const Json& source, const std::function<void(Connection&)>& spoil = {})
    {
        Build(source, scratch.File("test.db"));
        if (spoil) {
            Connection db(scratch.File("test.db"), Connection::Mode::Create);
            spoil(db);
        }
        const std::string config = R"({"databases": [{"alias": "ÉTUDES", "path": "test.db"}]})";
        scratch.Write("databases.json", config);
        std::istringstream stream(config);
        result = collection.InitializeFromConfigurationFile(&stream, scratch.File("databases.json"), "");
        database = collection.Find("études");
        if (!database) return;
        compounds = database->CompoundManager();
        if (const auto databanks = database->EnumerateDatabanks()) group.Add(databanks->Find("ÉTUDE"));
    }

    std::vector<int> Find(const std::string& text, const std::string& type = "", const std::string& property = "")
    {
        std::vector<int> ids;
        auto hits = compounds->FindForMM(group, text, type, property);
        if (hits) {
            for (const auto& hit : *hits) ids.push_back(hit && hit->Compound ? hit->Compound->Id() : -1);
        }
        return ids;
    }

    ScratchDirectory scratch;
    SqliteDatabaseCollection collection{std::make_shared<DatabankCollection>()};
    std::string result;
    DatabasePtr database;
    DatabankCollection group;
    std::shared_ptr<ICompoundManager> compounds;
};

// A database from before the folding was recorded: no meta entry, keys lower-cased in ASCII only
// (SQLite's lower() without ICU is exactly that).
void MakeOld(Connection& db)
{
    db.Execute("DELETE FROM meta WHERE key = 'search_folding'; UPDATE identifier SET search_key = lower(value);");
}

TEST_F(Connected, SearchFoldsLettersBeyondAscii)
{
    Connect(AccentSource());
    ASSERT_TRUE(database) << result;
    ASSERT_TRUE(compounds);
    EXPECT_EQ(Find("ÉTHANOL"), std::vector<int>{1});
    EXPECT_EQ(Find("Éthanol", "name"), std::vector<int>{1});
    EXPECT_EQ(Find("ÿ-acid"), std::vector<int>{3});
    // E does not fold to é, so neither éthanol nor the methanol that ends alike is found.
    EXPECT_TRUE(Find("ETHANOL").empty());
    EXPECT_TRUE(Find("ź-ACID").empty());
    EXPECT_EQ(Texts(compounds->GetCompoundIdentifier("ÉTHANOL", "NAME", "CompoundIndex")),
              std::vector<std::string>{"1"});
}

TEST_F(Connected, TypesPropertiesDatabanksAndAliasesFoldLikeSearchTexts)
{
    Connect(AccentSource());
    ASSERT_TRUE(database) << result;
    EXPECT_EQ(database->Alias(), "ÉTUDES");
    ASSERT_TRUE(compounds);
    ASSERT_NE(group[0], nullptr);
    auto hits = compounds->FindForMM(group, "äTHANOL", "übersetzung", "δhf");
    ASSERT_TRUE(hits);
    ASSERT_EQ(hits->size(), 1u);
    EXPECT_EQ(FirstNumbers(*hits->front()), NumericElements{-234.8});
    const auto identifier = compounds->GetIdentifier("Übersetzung");
    ASSERT_TRUE(identifier);
    EXPECT_EQ(identifier->Name(), "ÜBERSETZUNG");
    EXPECT_EQ(Texts(compounds->GetCompoundIdentifier("1", "CompoundIndex", "übersetzung")),
              std::vector<std::string>{"Äthanol"});
    const auto sundry = database->SundryDataManager();
    ASSERT_TRUE(sundry);
    EXPECT_TRUE(sundry->GetItem("étude"));
}

TEST_F(Connected, BuildRecordsTheFoldingOfItsKeys)
{
    Connect(AccentSource());
    ASSERT_TRUE(database) << result;
    const auto sqlite = std::dynamic_pointer_cast<SqliteDatabase>(database);
    ASSERT_TRUE(sqlite);
    EXPECT_EQ(sqlite->Meta("search_folding"), "unicode-simple");
}

TEST_F(Connected, DatabaseWithAsciiKeysIsSearchedAsItWasBuilt)
{
    Connect(RichSource(), MakeOld);
    ASSERT_TRUE(database) << result;
    ASSERT_TRUE(compounds);
    const auto databanks = database->EnumerateDatabanks();
    ASSERT_TRUE(databanks);
    group = DatabankCollection();
    group.Add(databanks->Find("pure"));
    EXPECT_EQ(Find("water"), std::vector<int>{1});
    EXPECT_EQ(Find("n,n-DiisopropylEthylAmine", "NAME"), std::vector<int>{2});
    // Stored as "ÉTHANOL", keyed "Éthanol": the query keeps É as the key did.
    EXPECT_EQ(Find("Éthanol"), std::vector<int>{7});
    EXPECT_EQ(Find("ÉTHANOL"), std::vector<int>{7});
    EXPECT_TRUE(Find("éthanol").empty());
}

TEST_F(Connected, DatabaseWithAnUnknownFoldingIsNotConnected)
{
    Connect(AccentSource(),
            [](Connection& db) { db.Execute("UPDATE meta SET value = 'unicode-full' WHERE key = 'search_folding'"); });
    EXPECT_EQ(database, nullptr);
    EXPECT_NE(result.find("unknown case folding \"unicode-full\""), std::string::npos) << result;
}

} // namespace
} // namespace moru::sqlite::testing
