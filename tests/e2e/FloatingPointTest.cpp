// Spreadsheet hosts read a raised floating-point exception flag as an error of their own, and some
// hosts run with rounding or x87 precision of their own choosing: no export may leave a flag
// raised or a control mode changed.

#include "HostSession.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <functional>
#include <string>
#include <utility>
#include <vector>

using namespace moru::host;

namespace {

#if defined(__i386__) || defined(__x86_64__)
// The x87 control word and the SSE control and status register, read directly: the C library's
// environment functions cover them, but a test should not trust what it checks.
unsigned short X87ControlWord()
{
    unsigned short word = 0;
    __asm__ __volatile__("fnstcw %0" : "=m"(word));
    return word;
}
void SetX87ControlWord(unsigned short word) { __asm__ __volatile__("fldcw %0" : : "m"(word)); }
unsigned int SseControlAndStatus()
{
    unsigned int word = 0;
    __asm__ __volatile__("stmxcsr %0" : "=m"(word));
    return word;
}
#endif

struct Environment {
    int raised = 0;
    int rounding = 0;
    unsigned int x87 = 0, sse = 0;
    bool operator==(const Environment&) const = default;
};

Environment Current()
{
    Environment e;
    e.raised = std::fetestexcept(FE_ALL_EXCEPT);
    e.rounding = std::fegetround();
#if defined(__i386__) || defined(__x86_64__)
    e.x87 = X87ControlWord();
    e.sse = SseControlAndStatus();
#endif
    return e;
}

std::string Describe(const Environment& e)
{
    return "flags " + std::to_string(e.raised) + ", rounding " + std::to_string(e.rounding) + ", x87 " +
           std::to_string(e.x87) + ", sse " + std::to_string(e.sse);
}

int MORU_CALL IgnoreReactionDatabank(const char*, const char*, const char*, const char*, const char*, const char*, int,
                                     const char*, const char*, const char*, int, int, int)
{
    return 0;
}

// Calls that parse, convert, compare and format numbers, each named.
std::vector<std::pair<std::string, std::function<void()>>> Calls()
{
    static const char* pure[] = {"SAMPLE.PURE", nullptr};
    return {
        {"connect", [] { EXPECT_TRUE(ConnectAndList(SampleDatabases::config)); }},
        {"list",
         [] {
             MORU_EXPORT_OF(ListMoruDatabanks_Vanta)
             (reinterpret_cast<void*>(static_cast<MoruDatabankInfoCallback>(&IgnoreReactionDatabank)));
         }},
        {"search",
         [] {
             int handle = 0;
             MORU_EXPORT_OF(FoundCompounds_Find)(pure, "ethanol", "TB", &handle);
             char db[256], bank[256], name[256], alias[256], cas[256], property[256];
             int index = 0;
             double value = 0;
             MORU_EXPORT_OF(FoundCompounds_GetObjectDetails)
             (handle, db, bank, &index, name, alias, cas, property, &value);
             MORU_EXPORT_OF(FoundCompounds_ReleaseHandle)(handle);
         }},
        {"values",
         [] {
             int enumerator = 0;
             MORU_EXPORT_OF(CompoundProperties_GetAllCompoundProperties)
             ("SAMPLE", "PURE", "ethanol", "NAME", &enumerator);
             while (MORU_EXPORT_OF(PropertyValueCollectionEnum_MoveNext)(enumerator) == 1) {
                 int value = 0;
                 MORU_EXPORT_OF(PropertyValueCollectionEnum_GetItem)(enumerator, &value);
                 double numbers[MORU_MAX_UNARY_ELEMENTS];
                 char text[4097];
                 if (MORU_EXPORT_OF(PropertyValueObject_NumberOfElements)(value) <= MORU_MAX_UNARY_ELEMENTS)
                     MORU_EXPORT_OF(PropertyValueObject_ValueVector)(value, numbers);
                 MORU_EXPORT_OF(PropertyValueObject_ValueText)(value, text, sizeof text);
                 MORU_EXPORT_OF(PropertyValueObject_ReleaseHandle)(value);
             }
             MORU_EXPORT_OF(PropertyValueCollectionEnum_ReleaseHandle)(enumerator);
         }},
        {"typed fetch",
         [] {
             double values[4];
             int success = 0;
             MORU_EXPORT_OF(GetPropertyValueFromDbank)
             ("SAMPLE", "PURE", "NAME", "ethanol", "MW", 3, values, 4, 0, &success);
         }},
        {"bulk pass",
         [] {
             const char* banks[] = {"SAMPLE.PURE", "SAMPLE.NRTL-SAMPLE", nullptr};
             const char* compounds[] = {"methanol", "water", "ethanol", nullptr};
             const char* properties[] = {"MW", "TB", "NRTL", nullptr};
             MORU_EXPORT_OF(Optimized_InitializeAllLists)(banks, compounds, properties);
             int handle = 0;
             MORU_EXPORT_OF(Optimized_GetAllCompoundsIdentifiers)(&handle);
             MORU_EXPORT_OF(Optimized_GetAllProperties)(&handle);
             const int count = MORU_EXPORT_OF(Optimized_GetAllScalarPropertyValues)(&handle);
             for (int i = 0; i < count; ++i) {
                 int databank = 0, compound = 0, property = 0;
                 double value = 0;
                 MORU_EXPORT_OF(Optimized_GetNextScalarPropertyValue)
                 (handle, i, &databank, &compound, &property, &value);
             }
             MORU_EXPORT_OF(Optimized_GetAllBinaryPropertyValues)(&handle);
             MORU_EXPORT_OF(Optimized_UnInitializeAllLists)();
         }},
    };
}

class FloatingPoint : public ConnectedSuite<SampleDatabases> {};

TEST_F(FloatingPoint, NoExportRaisesAFlagOrChangesAControlMode)
{
    const std::fenv_t* defaults = FE_DFL_ENV;
    for (int mode : {FE_TONEAREST, FE_UPWARD}) {
        std::fesetenv(defaults);
        std::fesetround(mode);
#if defined(__i386__) || defined(__x86_64__)
        // x87 precision of 53 bits, as some hosts set it; the others keep the platform's.
        if (mode == FE_UPWARD) SetX87ControlWord(static_cast<unsigned short>((X87ControlWord() & ~0x300u) | 0x200u));
#endif
        for (auto& [name, call] : Calls()) {
            std::feclearexcept(FE_ALL_EXCEPT);
            const Environment before = Current();
            call();
            const Environment after = Current();
            EXPECT_EQ(before, after) << name << " in rounding mode " << mode << ": before " << Describe(before)
                                     << "; after " << Describe(after);
        }
    }
    std::fesetenv(defaults);
}

} // namespace
