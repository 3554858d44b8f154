// What every backend's binary value lists get from the shared building, over rows that a backend
// hands over in its own order: the host's order, the values left out, and the lifetime of what
// the list hands out.

#include "common/BinaryValueManager.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace moru {
namespace {

using common::StoredPairValue;
using service::BinaryPropertyValueList;

// One databank (id 1) with the binary property NRTL (id 10) of one element.
class RowsDatabase : public common::StoredDatabase {
public:
    RowsDatabase() : StoredDatabase("ROWS") { TakeDatabanks({{1, "BANK", std::nullopt, std::nullopt}}); }
    service::CompoundCollectionPtr CompoundsWithData(int) const override { return nullptr; }
    // Pure values and databank information: none.
    std::optional<int> ResolveCompound(const std::string&, const std::string&) const override { return std::nullopt; }
    bool CompoundExists(int) const override { return false; }
    std::vector<int> ReadPropertyIdsWithData(int) const override { return {}; }
    std::optional<service::Value> ReadUnaryValue(int, int, int) const override { return std::nullopt; }
    std::vector<std::pair<int, service::Value>> ReadUnaryValuesOfCompound(int, int) const override { return {}; }
    std::optional<std::string> ReadStructure(int, int) const override { return std::nullopt; }
    std::shared_ptr<service::PureDatabankInfoObject> ReadPureInfo(int) const override { return nullptr; }
    std::vector<service::SundryItemPtr> ReadBinaryInfo(int) const override { return {}; }

private:
    bool IsOpen() const override { return true; }
    std::vector<std::shared_ptr<common::StoredProperty>> ReadProperties() const override
    {
        common::PropertyRows rows;
        rows.AddProperty(10, "NRTL", 0, service::InteractionBinary, 1);
        rows.AddElement(10, 1, 2, 0);
        return rows.Take();
    }
};

struct Row {
    Row(std::optional<int> first, std::optional<int> second, std::optional<int> third = std::nullopt, double ijPart = 0,
        double jiPart = 0)
        : compound1(first), compound2(second), compound3(third), ij(ijPart), ji(jiPart)
    {}
    std::optional<int> compound1, compound2, compound3;
    double ij, ji;
};

// Compounds are named "C<id>"; every value stores the labels 1 and 2.
class RowsManager : public common::StoredBinaryValueManager {
public:
    explicit RowsManager(const RowsDatabase& database) : StoredBinaryValueManager(database) {}
    std::vector<Row> rows;

private:
    std::optional<int> CompoundId(const std::string& identifier, const std::string&) override
    {
        if (identifier.size() < 2 || identifier[0] != 'C') return std::nullopt;
        return std::stoi(identifier.substr(1));
    }
    std::vector<common::BinaryElement> ReadElements(int) override { return {{1, 2, 0}}; }
    bool ReadBinaryValue(int, int, int, int, common::StoredPairValueSink&) override { return false; }
    std::optional<long long> ValueIdOf(int, int, int, int, int) override { return std::nullopt; }
    std::optional<common::StoredRegression> ReadRegression(long long) override { return std::nullopt; }
    void ReadValues(int, int, int, const std::vector<int>&, common::StoredPairValueSink& sink) override
    {
        for (const auto& row : rows) {
            const std::string labels = common::EncodeLabels({1, 2});
            const std::string numbers = common::EncodeNumbers({row.ij, row.ji});
            sink.Take({{row.compound1, row.compound2, row.compound3, std::nullopt}, labels, numbers, false});
        }
    }
};

class StoredBinaryValues : public ::testing::Test {
protected:
    std::shared_ptr<RowsDatabase> database = std::make_shared<RowsDatabase>();
    RowsManager manager{*database};

    BinaryPropertyValueList List(const service::WorkingCompoundMap& working)
    {
        auto values = manager.GetAllBinaryPropertyValuesForModelManager(
            working, "NAME", *database->EnumerateDatabanks(), {{"NRTL", 0}}, false);
        return values ? *values : BinaryPropertyValueList{};
    }
    static std::vector<std::string> Pairs(const BinaryPropertyValueList& values)
    {
        std::vector<std::string> pairs;
        for (const auto& value : values)
            pairs.push_back(std::string(value->Compound.Compound1Name) + "-" +
                            std::string(value->Compound.Compound2Name));
        return pairs;
    }
};

TEST_F(StoredBinaryValues, ComeByTheHostPositionOfTheFirstCompoundEachCompoundsRowsAsTheBackendGaveThem)
{
    manager.rows = {{1, 3}, {1, 2}, {2, 1}, {3, 1}, {3, 2}};
    const auto values = List({{"C3", 0}, {"C1", 1}, {"C2", 2}});
    EXPECT_EQ(Pairs(values), (std::vector<std::string>{"C3-C1", "C3-C2", "C1-C3", "C1-C2", "C2-C1"}));
}

TEST_F(StoredBinaryValues, LeaveOutValuesOfOtherCompoundsAndBinaryValuesThatAreNotOfTwo)
{
    manager.rows = {{1, 4}, {1, std::nullopt}, {1, 2, 3}, {4, 1}, {1, 2}};
    EXPECT_EQ(Pairs(List({{"C1", 0}, {"C2", 1}, {"C3", 2}})), (std::vector<std::string>{"C1-C2"}));
}

TEST_F(StoredBinaryValues, NameACompoundWrittenTwiceByItsFirstPosition)
{
    manager.rows = {{1, 2}};
    // "C01" and "C1" name compound 1; the map orders "C01" first but "C1" stands earlier.
    EXPECT_EQ(Pairs(List({{"C01", 5}, {"C1", 0}, {"C2", 1}})), (std::vector<std::string>{"C1-C2"}));
}

TEST_F(StoredBinaryValues, KeepEachValueAliveOnItsOwnWithItsNumbers)
{
    manager.rows = {{1, 2, std::nullopt, 0.5, 1.5}, {2, 1, std::nullopt, 2.5, 3.5}};
    service::BinaryPropertyValuePtr kept;
    {
        const auto values = List({{"C1", 0}, {"C2", 1}});
        ASSERT_EQ(values.size(), 2U);
        kept = values[1];
    }
    EXPECT_EQ(kept->Compound.Compound1Name, "C2");
    EXPECT_EQ(service::NumericElements(kept->Value.begin(), kept->Value.end()), (service::NumericElements{2.5, 3.5}));
    EXPECT_EQ(kept->Property->Name(), "NRTL");
}

TEST_F(StoredBinaryValues, AreNoneWithoutAWorkingCompoundThatResolves)
{
    manager.rows = {{1, 2}};
    EXPECT_FALSE(manager.GetAllBinaryPropertyValuesForModelManager({{"X", 0}}, "NAME", *database->EnumerateDatabanks(),
                                                                   {{"NRTL", 0}}, false));
}

} // namespace
} // namespace moru
