#include "HostSession.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

using namespace moru::host;

namespace {

// The database of the shared data bundle, when one was built.
class BundleValues : public ConnectedSuite<BundleDatabases> {
protected:
    // The value of a compound (by CAS number) in a databank, as a value object.
    static int Value(const char* databank, const char* cas, const char* property)
    {
        int handle = 0;
        EXPECT_EQ(1, MORU_EXPORT_OF(CompoundProperties_GetCompoundProperty)("BUNDLE", databank, cas, "CASRN", property,
                                                                            &handle));
        EXPECT_NE(0, handle) << databank << " " << cas << " " << property;
        return handle;
    }
};

TEST_F(BundleValues, AVapourPressureCorrelationIsItsCoefficientsThenItsRange)
{
    const int handle = Value("PERRY_2_8", "71-43-2", "VPANT");
    ASSERT_EQ(9, MORU_EXPORT_OF(PropertyValueObject_NumberOfElements)(handle));
    std::vector<double> vector(9);
    ASSERT_EQ(1, MORU_EXPORT_OF(PropertyValueObject_ValueVector)(handle, vector.data()));
    EXPECT_EQ((std::vector<double>{83.107, -6486.2, 0, 0, -9.2194, 6.9844e-06, 2, 278.68, 562.05}), vector);

    char rows[2][64], units[2][64];
    char* rowNames[] = {rows[0], rows[1]};
    char* defaults[] = {units[0], units[1]};
    ASSERT_EQ(2, MORU_EXPORT_OF(PropertyValueObject_UnitsOfMeasure)(handle, rowNames, defaults, 64));
    EXPECT_STREQ("Pa", units[0]);
    EXPECT_STREQ("TEMPERATURE", rows[1]);
    EXPECT_STREQ("K", units[1]);
    MORU_EXPORT_OF(PropertyValueObject_ReleaseHandle)(handle);

    const int form = Value("PERRY_2_8", "71-43-2", "VPANT_EQUATION");
    char equation[64] = "";
    EXPECT_EQ(1, MORU_EXPORT_OF(PropertyValueObject_ValueText)(form, equation, sizeof equation));
    EXPECT_STREQ("LNP_EXT_ANTOINE7", equation);
    MORU_EXPORT_OF(PropertyValueObject_ReleaseHandle)(form);
}

TEST_F(BundleValues, AnAbsentRangeReachesTheHostAsTheMissingMarker)
{
    const int handle = Value("JASPER_LANGE", "99-87-6", "SIGMA_JASPER");
    ASSERT_EQ(4, MORU_EXPORT_OF(PropertyValueObject_NumberOfElements)(handle));
    std::vector<double> vector(4);
    ASSERT_EQ(1, MORU_EXPORT_OF(PropertyValueObject_ValueVector)(handle, vector.data()));
    EXPECT_EQ((std::vector<double>{28.83, 0.0877, MORU_MISSING_NUMBER, MORU_MISSING_NUMBER}), vector);
    MORU_EXPORT_OF(PropertyValueObject_ReleaseHandle)(handle);

    std::vector<double> fetched(6, -1.0);
    int success = 0;
    MORU_EXPORT_OF(GetPropertyValueFromDbank)
    ("BUNDLE", "JASPER_LANGE", "CASRN", "99-87-6", "SIGMA_JASPER", 3, fetched.data(), 6, 8, &success);
    EXPECT_EQ(1, success);
    EXPECT_EQ(MORU_MISSING_NUMBER, fetched[3]); // Tmax: never a plausible 0 K
    EXPECT_EQ(-1.0, fetched[4]);
}

} // namespace
