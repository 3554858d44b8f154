#pragma once

// The world of the binary families: two databases with databanks (A: A1, A2; B: B1).

#include "fake/FakeBinaryValues.h"
#include "fake/TwoDatabases.h"

namespace moru::fake {

using BinaryWorld = TwoDatabases;

} // namespace moru::fake
