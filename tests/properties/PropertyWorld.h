#pragma once

// One database with a pure databank, listed so that its names resolve, and a value manager that
// the tests fill.

#include "MoruIntegration.h"
#include "fake/FakeService.h"

#include <gtest/gtest.h>

namespace moru::fake {

class PropertyWorld : public ::testing::Test {
protected:
    PropertyWorld()
    {
        db = service.AddDatabase("DB");
        pure = db->AddDatabank("PURE");
        ListAllDatabanks();
        service.log.Clear();
    }

    // Stores a value of WATER (identified by NAME) in PURE.
    void Store(const service::PropertyValuePtr& value)
    {
        db->propertyValues->values[FakePropertyValueManager::Key("PURE", "WATER")][value->Property->Name()] = value;
    }

    // A handle to the stored value of WATER, through the export.
    int ValueHandle(const char* propertyName)
    {
        int handle = 0;
        EXPECT_EQ(1, CompoundProperties_GetCompoundProperty("DB", "PURE", "WATER", "NAME", propertyName, &handle));
        EXPECT_NE(0, handle);
        return handle;
    }

    FakeService service;
    std::shared_ptr<FakeDatabase> db;
    std::shared_ptr<FakeDatabank> pure;
};

} // namespace moru::fake
