#pragma once

// Two databases, each with databanks, listed so that their names resolve.

#include "MoruIntegration.h"
#include "fake/FakeService.h"

#include <gtest/gtest.h>

namespace moru::fake {

class CompoundWorld : public ::testing::Test {
protected:
    CompoundWorld()
    {
        dbA = service.AddDatabase("A");
        a1 = dbA->AddDatabank("A1");
        dbB = service.AddDatabase("B");
        b1 = dbB->AddDatabank("B1");
        b2 = dbB->AddDatabank("B2");
        ListAllDatabanks();
        service.log.Clear();
    }

    static service::FoundCompoundsPtr Water(const service::DatabankPtr& databank)
    {
        return MakeHit(7, databank,
                       {MakeIdentifierValue("Name", {"WATER"}), MakeIdentifierValue("alias", {"H2O"}),
                        MakeIdentifierValue("CASRN", {"7732-18-5"}), MakeIdentifierValue("FORMULA", {"H2O"})});
    }

    FakeService service;
    std::shared_ptr<FakeDatabase> dbA, dbB;
    std::shared_ptr<FakeDatabank> a1, b1, b2;
};

// 256-byte host buffers for hit details.
struct DetailBuffers {
    char dbName[256] = "x", dbankName[256] = "x", compName[256] = "x", compAlias[256] = "x", casNumber[256] = "x",
         propName[256] = "x";
    int compIndex = -5, compoundPosition = -5;
    double propertyValue = -5;
};

} // namespace moru::fake
