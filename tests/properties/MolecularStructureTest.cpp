#include "properties/PropertyWorld.h"

#include <cstring>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#include <oleauto.h>
#endif

namespace moru::fake {
namespace {

// A host's structure control: counts its references and records the method calls it receives.
#ifdef _WIN32
class TestControl : public IDispatch {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override
    {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++references); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--references); }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override
    {
        if (count != 1 || std::wstring(names[0]) != L"GetMoleInfoFromData") return DISP_E_UNKNOWNNAME;
        ids[0] = kMethodId;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* parameters, VARIANT*, EXCEPINFO*,
                                     UINT*) override
    {
        referencesDuringCall = references;
        if (id != kMethodId || !(flags & DISPATCH_METHOD) || parameters->cArgs != 1 ||
            parameters->rgvarg[0].vt != VT_BSTR)
            return DISP_E_BADPARAMCOUNT;
        const BSTR text = parameters->rgvarg[0].bstrVal;
        const int length = static_cast<int>(SysStringLen(text));
        const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
        std::string utf8(static_cast<std::size_t>(bytes), '\0');
        WideCharToMultiByte(CP_UTF8, 0, text, length, utf8.data(), bytes, nullptr, nullptr);
        received.push_back(utf8);
        return S_OK;
    }
    void* Pointer() { return static_cast<IDispatch*>(this); }

    static constexpr DISPID kMethodId = 17;
    int references = 1;
    int referencesDuringCall = 0;
    std::vector<std::string> received;
};
#else
class TestControl : public MoruDispatch {
public:
    TestControl() { lpVtbl = &kTable; }
    void* Pointer() { return static_cast<MoruDispatch*>(this); }

    static constexpr int kMethodId = 17;
    int references = 1;
    int referencesDuringCall = 0;
    std::vector<std::string> received;

private:
    static TestControl* Self(MoruDispatch* self) { return static_cast<TestControl*>(self); }
    static int QueryInterface(MoruDispatch*, const void*, void** object)
    {
        *object = nullptr;
        return -1;
    }
    static unsigned int AddRef(MoruDispatch* self) { return static_cast<unsigned int>(++Self(self)->references); }
    static unsigned int Release(MoruDispatch* self) { return static_cast<unsigned int>(--Self(self)->references); }
    static int GetTypeInfoCount(MoruDispatch*, unsigned int* count)
    {
        *count = 0;
        return 0;
    }
    static int GetTypeInfo(MoruDispatch*, unsigned int, unsigned int, void**) { return -1; }
    static int GetIDsOfNames(MoruDispatch*, const void*, const char* const* names, unsigned int count, unsigned int,
                             int* ids)
    {
        if (count != 1 || std::string(names[0]) != "GetMoleInfoFromData") return -1;
        ids[0] = kMethodId;
        return 0;
    }
    static int Invoke(MoruDispatch* self, int id, const void*, unsigned int, unsigned short, const char* const* texts,
                      unsigned int count)
    {
        Self(self)->referencesDuringCall = Self(self)->references;
        if (id != kMethodId || count != 1) return -1;
        Self(self)->received.push_back(texts[0]);
        return 0;
    }
    static constexpr MoruDispatchVtbl kTable = {QueryInterface, AddRef,        Release, GetTypeInfoCount,
                                                GetTypeInfo,    GetIDsOfNames, Invoke};
};
#endif

class MolecularStructures : public PropertyWorld {
protected:
    MolecularStructures()
    {
        db->molData->structures[{"ETHANOL", 2}] = "CCO";
        std::memset(buffer, 'x', sizeof buffer);
    }

    bool Get(const char* compound, int type = 2, const char* database = "DB")
    {
        return GetMolecularStructureString(database, compound, "NAME", type, buffer);
    }

    char buffer[4097];
};

TEST_F(MolecularStructures, CopiesTheStructureText)
{
    EXPECT_TRUE(Get("ETHANOL"));
    EXPECT_STREQ("CCO", buffer);
    EXPECT_EQ(std::vector<std::string>{"GetStructureByName ETHANOL|NAME|2"}, service.log.Calls());
}

TEST_F(MolecularStructures, AnUnknownDatabaseOrStructureIsTrueWithAnEmptyBuffer)
{
    EXPECT_TRUE(Get("ETHANOL", 2, "NODB"));
    EXPECT_STREQ("", buffer);
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_TRUE(Get("ETHANOL", 1));
    EXPECT_STREQ("", buffer);
}

TEST_F(MolecularStructures, A4096ByteTextFillsTheBufferAndOneMoreFails)
{
    db->molData->structures[{"BIG", 1}] = std::string(4096, 'C');
    db->molData->structures[{"BIGGER", 1}] = std::string(4097, 'C');
    EXPECT_TRUE(Get("BIG", 1));
    EXPECT_EQ(4096u, std::strlen(buffer));
    EXPECT_EQ('\0', buffer[4096]);
    EXPECT_FALSE(Get("BIGGER", 1));
    EXPECT_STREQ("", buffer);
}

TEST_F(MolecularStructures, BytesAreCountedInTheHostsCodePage)
{
    db->molData->structures[{"ACCENT", 1}] = std::string(4095, 'C') + "\xC3\xA9"; // "é"
#ifdef _WIN32
    EXPECT_TRUE(Get("ACCENT", 1)); // one byte in the ANSI code page
    EXPECT_EQ('\xE9', buffer[4095]);
    EXPECT_EQ('\0', buffer[4096]);
#else
    EXPECT_FALSE(Get("ACCENT", 1)); // two bytes in UTF-8
    EXPECT_STREQ("", buffer);
#endif
}

TEST_F(MolecularStructures, NullArgumentsAreFalseWithTheBufferEmptied)
{
    EXPECT_FALSE(GetMolecularStructureString("DB", "ETHANOL", nullptr, 2, buffer));
    EXPECT_STREQ("", buffer);
    EXPECT_FALSE(GetMolecularStructureString("DB", "ETHANOL", "NAME", 2, nullptr));
    EXPECT_FALSE(GetMolecularStructureString(nullptr, "ETHANOL", "NAME", 2, buffer));
    EXPECT_TRUE(service.log.Calls().empty());
}

TEST_F(MolecularStructures, AServiceFailureIsFalse)
{
    service.log.failing.insert("GetStructureByName");
    EXPECT_FALSE(Get("ETHANOL"));
    EXPECT_STREQ("", buffer);
}

TEST_F(MolecularStructures, ThePushCallsTheControlWithTheTextAndHoldsItsOwnReference)
{
    db->molData->structures[{"ETHANOL", 2}] = "CCO \xC3\xA9"; // "é": the text reaches the control unchanged
    TestControl control;
    PushDataToMoleStructControl("DB", "ETHANOL", "NAME", 2, control.Pointer());
    EXPECT_EQ(std::vector<std::string>{"CCO \xC3\xA9"}, control.received);
    EXPECT_EQ(2, control.referencesDuringCall);
    EXPECT_EQ(1, control.references);
}

TEST_F(MolecularStructures, NoDatabaseOrStructureLeavesTheControlUncalled)
{
    TestControl control;
    PushDataToMoleStructControl("NODB", "ETHANOL", "NAME", 2, control.Pointer());
    PushDataToMoleStructControl("DB", "ETHANOL", "NAME", 1, control.Pointer());
    PushDataToMoleStructControl("DB", "ETHANOL", "NAME", 2, nullptr);
    EXPECT_TRUE(control.received.empty());
    EXPECT_EQ(1, control.references);
    EXPECT_EQ(std::vector<std::string>{"GetStructureByName ETHANOL|NAME|1"}, service.log.Calls());
}

TEST_F(MolecularStructures, AServiceFailureGivesBackTheReference)
{
    service.log.failing.insert("GetStructureByName");
    TestControl control;
    PushDataToMoleStructControl("DB", "ETHANOL", "NAME", 2, control.Pointer());
    EXPECT_TRUE(control.received.empty());
    EXPECT_EQ(1, control.references);
}

} // namespace
} // namespace moru::fake
