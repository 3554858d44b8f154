#pragma once

// A small world for the dialog bridges: the fake service with two databases, our scripted dialog
// component in place of windows, message boxes captured, and host callbacks that record every
// call. The callbacks are real functions of the header's types, so a wrong calling convention or
// argument list does not compile (and would break the stack of a 32-bit host).

#include "MoruIntegration.h"
#include "ScriptedDialogs.h"
#include "dialogs/TdeStaging.h"
#include "fake/FakeService.h"
#include "platform/MessageBox.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace moru::testing {

using components::ScriptedDialogComponent;

// Every host callback writes one line here.
inline std::vector<std::string>& HostCalls()
{
    static std::vector<std::string> calls;
    return calls;
}

inline std::string Text(const char* text) { return text ? text : "<null>"; }

inline std::string Number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

inline int MORU_CDECL RecordShortAdd(const char* databank, const char* alias, int row)
{
    HostCalls().push_back("add " + Text(databank) + "|" + Text(alias) + "|" + std::to_string(row));
    return 0;
}

inline int MORU_CDECL RecordFullAdd(const char* databank, const char* alias, int row, const char* name, const char* cas,
                                    const char* compoundClass, const char* synonym, double weight, double boiling,
                                    int id)
{
    HostCalls().push_back("add " + Text(databank) + "|" + Text(alias) + "|" + std::to_string(row) + "|" + Text(name) +
                          "|" + Text(cas) + "|" + Text(compoundClass) + "|" + Text(synonym) + "|" + Number(weight) +
                          "|" + Number(boiling) + "|" + std::to_string(id));
    return 0;
}

inline void MORU_CDECL RecordSetDatabanks(char** monikers, int count)
{
    std::string line = "set " + std::to_string(count);
    for (int i = 0; i < count; ++i) line += "|" + Text(monikers[i]);
    line += monikers && monikers[count] == nullptr ? " (ends with null)" : " (no end)";
    HostCalls().push_back(line);
}

inline void MORU_CDECL RecordHelp(int helpId) { HostCalls().push_back("help " + std::to_string(helpId)); }

inline void MORU_CDECL RecordAction(const char* windowTitle, const char* propName, const char* tabName, int code,
                                    double value1, double value2, int intValue, double value3, const char* text)
{
    HostCalls().push_back(Text(windowTitle) + "|" + Text(propName) + "|" + Text(tabName) + "|" + std::to_string(code) +
                          "|" + Number(value1) + "|" + Number(value2) + "|" + std::to_string(intValue) + "|" +
                          Number(value3) + "|" + Text(text));
}

// The host's selected databanks, read by the enumeration callback.
inline std::vector<const char*>& SelectedMonikers()
{
    static std::vector<const char*> monikers;
    return monikers;
}

inline const char* MORU_CDECL EnumSelected(int index)
{
    HostCalls().push_back("enum " + std::to_string(index));
    const auto& monikers = SelectedMonikers();
    return index >= 0 && static_cast<std::size_t>(index) < monikers.size() ? monikers[static_cast<std::size_t>(index)]
                                                                           : nullptr;
}

inline const char* MORU_CDECL EnumNeverEnding(int) { return "DB1 B1"; }

class DialogWorld : public ::testing::Test {
protected:
    DialogWorld()
    {
        HostCalls().clear();
        SelectedMonikers().clear();
        dialogs::MoruNISTDataFunctions::ResetInstanceForTesting();
        m_previousSink = platform::SetMessageSink(
            [this](const std::string& text, const std::string& caption) { messages.push_back(caption + ": " + text); });
        db1 = service.AddDatabase("DB1");
        b1 = db1->AddDatabank("B1");
        b2 = db1->AddDatabank("B2");
        db2 = service.AddDatabase("DB2");
        c1 = db2->AddDatabank("C1");
        component = &dynamic_cast<ScriptedDialogComponent&>(service::GetServiceFactory().DialogComponent());
        component->scriptSource = nullptr;
    }
    ~DialogWorld() override { platform::SetMessageSink(std::move(m_previousSink)); }

    static std::vector<std::string> Monikers(const service::DatabankCollectionPtr& databanks)
    {
        std::vector<std::string> monikers;
        if (!databanks) return monikers;
        for (const auto& databank : databanks->Items())
            monikers.push_back(databank->Database()->Alias() + " " + databank->Name());
        return monikers;
    }

    fake::FakeService service;
    std::shared_ptr<fake::FakeDatabase> db1, db2;
    std::shared_ptr<fake::FakeDatabank> b1, b2, c1;
    ScriptedDialogComponent* component = nullptr;
    std::vector<std::string> messages;

private:
    platform::MessageSink m_previousSink;
};

} // namespace moru::testing
