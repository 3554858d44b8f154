#pragma once

// Two databases with databanks, listed so that their names resolve, for the binary families.

#include "MoruIntegration.h"
#include "fake/FakeBinaryValues.h"
#include "fake/FakeService.h"

#include <gtest/gtest.h>

namespace moru::fake {

class BinaryWorld : public ::testing::Test {
protected:
    BinaryWorld()
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
