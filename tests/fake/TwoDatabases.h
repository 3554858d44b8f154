#pragma once

// A fixture with two databases and their databanks, listed so that their names resolve:
// database A with A1 and A2, database B with B1.

#include "MoruIntegration.h"
#include "fake/FakeService.h"

#include <gtest/gtest.h>

namespace moru::fake {

class TwoDatabases : public ::testing::Test {
protected:
    TwoDatabases()
    {
        dbA = service.AddDatabase("A");
        a1 = dbA->AddDatabank("A1");
        a2 = dbA->AddDatabank("A2");
        dbB = service.AddDatabase("B");
        b1 = dbB->AddDatabank("B1");
        ListAllDatabanks();
        service.log.Clear();
    }

    FakeService service;
    std::shared_ptr<FakeDatabase> dbA, dbB;
    std::shared_ptr<FakeDatabank> a1, a2, b1;
};

} // namespace moru::fake
