#pragma once

// Two databases with listed databanks and compounds that their bulk managers know, for the bulk
// family. Each test starts and ends with empty bulk tables.

#include "MoruIntegration.h"
#include "bulk/BulkLists.h"
#include "fake/FakeBulk.h"
#include "fake/FakeService.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace moru::fake {

// What one Optimized_GetNextCompoundIdentifier call wrote.
struct CompoundEntry {
    int position = -7, index = -7;
    char database[20] = "x";
    char name[256] = "x", alias[256] = "x", cas[256] = "x";
    double compoundClass = -7, kelda = -7, plx = -7;
};

class BulkWorld : public ::testing::Test {
protected:
    BulkWorld()
    {
        db1 = service.AddDatabase("DB1");
        a = db1->AddDatabank("a");
        b = db1->AddDatabank("b");
        d = db1->AddDatabank("d");
        db2 = service.AddDatabase("DB2");
        c = db2->AddDatabank("c");
        ListAllDatabanks();
        db1->Bulk().compounds["water"] = {1, "WATER", "H2O", "7732-18-5", 2.0, 11.0, 21.0};
        db1->Bulk().compounds["ethanol"] = {7, "ETHANOL", "C2H6O", "64-17-5", 3.0, 12.0, 22.0};
        db2->Bulk().compounds["water"] = {101, "WATER2", "H2O", "7732-18-5", 9.0, 0.0, 0.0};
        db2->Bulk().compounds["argon"] = {5, "ARGON", "AR", std::nullopt, 4.0, 13.0, 23.0};
        service.log.Clear();
    }
    ~BulkWorld() override { Optimized_UnInitializeAllLists(); }

    static int Load(std::vector<const char*> banks, std::vector<const char*> compounds,
                    std::vector<const char*> properties)
    {
        banks.push_back(nullptr);
        compounds.push_back(nullptr);
        properties.push_back(nullptr);
        return Optimized_InitializeAllLists(banks.data(), compounds.data(), properties.data());
    }
    static int Next(int handle, int position, CompoundEntry& e)
    {
        return Optimized_GetNextCompoundIdentifier(handle, position, &e.position, e.database, &e.index, e.name, e.alias,
                                                   e.cas, &e.compoundClass, &e.kelda, &e.plx);
    }

    FakeService service;
    std::shared_ptr<FakeDatabase> db1, db2;
    std::shared_ptr<FakeDatabank> a, b, c, d;
};

} // namespace moru::fake
