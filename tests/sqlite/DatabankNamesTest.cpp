#include "common/Stored.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace moru::common {
namespace {

std::vector<DatabankRecord> Records(const std::vector<std::string>& names)
{
    std::vector<DatabankRecord> records;
    records.reserve(names.size());
    for (std::size_t i = 0; i < names.size(); ++i) records.push_back({static_cast<int>(i + 1), names[i], {}, {}});
    return records;
}

int IdOf(const DatabankRecord* record) { return record ? record->Id : 0; }

TEST(DatabankNameIndex, FindsEveryNameOfManyAndNoOther)
{
    // Enough names that the table grows and its slots are shared.
    std::vector<std::string> names;
    names.reserve(300);
    for (int i = 0; i < 300; ++i) names.push_back("BANK-" + std::to_string(i));
    const auto records = Records(names);
    DatabankNameIndex index;
    for (std::size_t i = 0; i < names.size(); ++i) EXPECT_EQ(IdOf(index.Find(records, names[i])), int(i + 1)) << i;
    EXPECT_EQ(index.Find(records, "BANK-300"), nullptr);
    EXPECT_EQ(index.Find(records, ""), nullptr);
    EXPECT_EQ(DatabankNameIndex().Find({}, "BANK-1"), nullptr);
}

TEST(DatabankNameIndex, AnswersAsAScanIgnoringCase)
{
    // "ABK" and "AB" with the Kelvin sign fold alike: each answers the first of them, as does a
    // spelling stored under neither; a name stored twice answers its first record.
    const auto records = Records({"PURE", "ABK", "AB\xE2\x84\xAA", "\xC3\x89TUDE", "PURE", "abk"});
    DatabankNameIndex index;
    EXPECT_EQ(IdOf(index.Find(records, "PURE")), 1);
    EXPECT_EQ(IdOf(index.Find(records, "AB\xE2\x84\xAA")), 2);
    EXPECT_EQ(IdOf(index.Find(records, "abk")), 2);
    EXPECT_EQ(IdOf(index.Find(records, "ABK")), 2);
    EXPECT_EQ(IdOf(index.Find(records, "Abk")), 2);
    EXPECT_EQ(IdOf(index.Find(records, "\xC3\xA9tude")), 4);
    EXPECT_EQ(IdOf(index.Find(records, "pure")), 1);
    for (const auto& record : records) EXPECT_EQ(index.Find(records, record.Name), RecordByName(records, record.Name));
}

TEST(DatabankNameIndex, ClearedIndexAnswersFromTheNewRecords)
{
    const auto before = Records({"OLD", "KEPT"});
    const auto after = Records({"KEPT", "NEW"});
    DatabankNameIndex index;
    EXPECT_EQ(IdOf(index.Find(before, "KEPT")), 2);
    index.Clear();
    EXPECT_EQ(index.Find(after, "OLD"), nullptr);
    EXPECT_EQ(index.Find(after, "KEPT"), &after[0]);
    EXPECT_EQ(index.Find(after, "NEW"), &after[1]);
}

} // namespace
} // namespace moru::common
