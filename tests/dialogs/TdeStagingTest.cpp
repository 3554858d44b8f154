#include "DialogWorld.h"

using namespace moru::testing;
using moru::dialogs::MoruNISTDataFunctions;

namespace {

class TdeStaging : public DialogWorld {
protected:
    const moru::service::NISTPropList& Pure() { return *MoruNISTDataFunctions::Instance().GetNISTPropList(); }
    const moru::service::NISTMixPropList& Mix() { return *MoruNISTDataFunctions::Instance().GetNISTMixPropList(); }

    // A pure record with every argument given, counts as the test says.
    static bool Push(const char* propName, int propVariables, int propNum, const double* propValues, int expNum,
                     int evalNum, int calcNum, const char** elemUnit = nullptr, const double* expValues1 = kValues,
                     const char** expCitation = kTexts, const double* calcValues1 = kValues)
    {
        return PushPropertyValue_GetPropNameValue(
            propName, "model", "desProp", "desPara", propVariables, "T", "P", "Pa", propNum, propValues, 0.5, expNum,
            kValues, expValues1, kValues, kValues, kWhole, expCitation, evalNum, kValues, kValues, kValues, kValues,
            kWhole, kTexts, calcNum, kValues, calcValues1, kValues, elemUnit, "family", "subgroup");
    }

    static constexpr double kValues[] = {1.5, 2.5, 3.5, 4.5};
    static constexpr int kWhole[] = {7, 8, 9, 10};
    static inline const char* kTexts[] = {"a", nullptr, "c", "d"};
};

} // namespace

TEST_F(TdeStaging, ACompoundNameIsRequiredAndSettingItEmptiesOnlyThePureRecords)
{
    ASSERT_TRUE(InitializeTDEdialog("water"));
    ASSERT_TRUE(Push("CP", 1, 2, kValues, 0, 0, 0));
    EXPECT_FALSE(InitializeTDEdialog(nullptr));
    EXPECT_EQ(Pure().size(), 1u); // a null name leaves what was staged
    EXPECT_EQ(MoruNISTDataFunctions::Instance().GetCompoundName(), "water");
    ASSERT_TRUE(PushMixPropertyValue_GetMixPropNameValue(
        nullptr, nullptr, nullptr, nullptr, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
        nullptr, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, false));
    EXPECT_TRUE(InitializeTDEdialog("ethanol"));
    EXPECT_TRUE(Pure().empty());
    EXPECT_EQ(Mix().size(), 1u);
}

TEST_F(TdeStaging, AMixtureNeedsBothNamesAndEmptiesOnlyTheMixtureRecords)
{
    ASSERT_TRUE(Push("CP", 1, 1, kValues, 0, 0, 0));
    EXPECT_FALSE(InitializeTDEdialogMix("a", nullptr));
    EXPECT_FALSE(InitializeTDEdialogMix(nullptr, "b"));
    EXPECT_EQ(MoruNISTDataFunctions::Instance().GetMixCompoundName(), std::nullopt);
    EXPECT_TRUE(InitializeTDEdialogMix("a", "b"));
    EXPECT_EQ(Pure().size(), 1u);
    EXPECT_EQ(MoruNISTDataFunctions::Instance().GetMixCompoundName2(), "b");
}

TEST_F(TdeStaging, RequiredArgumentsOfAPureRecord)
{
    EXPECT_FALSE(Push(nullptr, 1, 1, kValues, 0, 0, 0));
    EXPECT_FALSE(Push("CP", 0, 1, kValues, 0, 0, 0));
    EXPECT_FALSE(Push("CP", 1, 0, kValues, 0, 0, 0));
    EXPECT_FALSE(Push("CP", 1, 1, nullptr, 0, 0, 0));
    EXPECT_TRUE(Pure().empty());
    // A negative count passes and reads no value.
    ASSERT_TRUE(Push("CP", -1, -3, kValues, 0, 0, 0));
    ASSERT_EQ(Pure().size(), 1u);
    EXPECT_TRUE(Pure()[0].propValues.empty());
    EXPECT_EQ(Pure()[0].propNum, -3);
}

TEST_F(TdeStaging, AllFieldsOfAPureRecordInTheirPlaces)
{
    const char* units[] = {"K", nullptr, "Pa"};
    ASSERT_TRUE(Push("CP", 2, 3, kValues, 2, 1, 4, units));
    const auto& record = Pure().at(0);
    EXPECT_EQ(record.propName, "CP");
    EXPECT_EQ(record.modelName, "model");
    EXPECT_EQ(record.var2Name, "P");
    EXPECT_EQ(record.propValues, (std::vector<double>{1.5, 2.5, 3.5}));
    EXPECT_EQ(record.propUncertainty, 0.5);
    EXPECT_EQ(record.expValues2, (std::vector<double>{1.5, 2.5}));
    EXPECT_EQ(record.expStatus, (std::vector<std::int32_t>{7, 8}));
    EXPECT_EQ(record.evalCitation, (std::vector<std::string>{"a"}));
    EXPECT_EQ(record.calcValues2, (std::vector<double>{1.5, 2.5, 3.5, 4.5}));
    EXPECT_EQ(record.elemUnit, (std::vector<std::string>{"K", "", "Pa"}));
    EXPECT_EQ(record.DipSubgrp, "subgroup");
}

TEST_F(TdeStaging, ListsOfAPureRecordKeepAbsentApartFromGiven)
{
    const char* units[] = {"K"};
    // propNum 1: no unit list even with units given; counts of 0: no list of the group.
    ASSERT_TRUE(Push("CP", 1, 1, kValues, 0, 0, 0, units));
    const auto& first = Pure().at(0);
    EXPECT_EQ(first.elemUnit, std::nullopt);
    for (const auto* list : {&first.expValues, &first.expValues1, &first.expValues2, &first.expUncertainty,
                             &first.evalValues, &first.calcValues})
        EXPECT_EQ(*list, std::nullopt);
    EXPECT_EQ(first.expStatus, std::nullopt);
    EXPECT_EQ(first.expCitation, std::nullopt);

    // One null array of a group: that list alone is absent; a null string entry reads empty.
    ASSERT_TRUE(Push("CP", 1, 1, kValues, 3, 0, 2, nullptr, nullptr, kTexts, nullptr));
    const auto& second = Pure().at(1);
    EXPECT_EQ(second.expValues1, std::nullopt);
    EXPECT_EQ(second.expValues, (std::vector<double>{1.5, 2.5, 3.5}));
    ASSERT_TRUE(second.expUncertainty);
    EXPECT_EQ(second.expUncertainty->size(), 3u);
    EXPECT_EQ(second.expCitation, (std::vector<std::string>{"a", "", "c"}));
    EXPECT_EQ(second.calcValues1, std::nullopt);
    ASSERT_TRUE(second.calcValues && second.calcValues2);
    EXPECT_EQ(second.calcValues->size(), 2u);
    EXPECT_EQ(second.calcValues2->size(), 2u);
}

TEST_F(TdeStaging, AMixtureRecordNeedsNothingAndKeepsItsListsAbsentWithoutPoints)
{
    const double values[] = {0.1, 0.2};
    const int accepted[] = {1, 0};
    ASSERT_TRUE(PushMixPropertyValue_GetMixPropNameValue("VLE", "1", "2", "3", 2, values, nullptr, values, values,
                                                         values, values, values, values, accepted, 3, "cite", "K",
                                                         "1999", "300-400", nullptr, "short", true));
    ASSERT_TRUE(PushMixPropertyValue_GetMixPropNameValue(nullptr, nullptr, nullptr, nullptr, 0, values, values, values,
                                                         values, values, values, values, values, accepted, 0, nullptr,
                                                         nullptr, nullptr, nullptr, nullptr, nullptr, false));
    ASSERT_EQ(Mix().size(), 2u);
    EXPECT_EQ(Mix()[0].expValues, (std::vector<double>{0.1, 0.2}));
    EXPECT_EQ(Mix()[0].expX1, std::nullopt);
    EXPECT_EQ(Mix()[0].expAcc, (std::vector<std::int32_t>{1, 0}));
    EXPECT_EQ(Mix()[0].DataPrange, "");
    EXPECT_TRUE(Mix()[0].IsFromDataSetForm);
    EXPECT_EQ(Mix()[1].expValues, std::nullopt);
    EXPECT_EQ(Mix()[1].expAcc, std::nullopt);
    EXPECT_EQ(Mix()[1].desProp, "");
}
