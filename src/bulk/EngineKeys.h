#pragma once

// The combined keys of the engine's values. A value handle hands its values out in key order, and
// the engine reads a value's positions back from its key, so the format is part of what hosts see.

#include <climits>
#include <optional>

namespace moru::bulk {

// Where a value stands in the engine's lists.
struct EnginePositions {
    int compound = 0;
    int compound2 = -1; // binary values only
    int property = 0;
};

// The key format of one fetch: compound position times the number of listed properties, plus the
// property position. A binary value's compound part is compound 1 times the number of listed
// compounds, plus compound 2.
class EngineKeys {
public:
    // The format for the listed counts; nullopt when some key would not fit a signed 32-bit
    // integer, so that keys are refused rather than handed out wrapped.
    static std::optional<EngineKeys> For(int compoundCount, int propertyCount, bool binary)
    {
        if (compoundCount < 0 || propertyCount <= 0) return std::nullopt;
        long long range = static_cast<long long>(compoundCount) * propertyCount;
        if (binary) range *= compoundCount;
        if (range > INT_MAX) return std::nullopt;
        return EngineKeys(binary ? compoundCount : -1, propertyCount);
    }

    bool Binary() const { return m_compoundCount >= 0; }

    int Make(int compound, int property) const { return compound * m_propertyCount + property; }
    int Make(int compound1, int compound2, int property) const
    {
        return Make(compound1 * m_compoundCount + compound2, property);
    }

    EnginePositions Decode(int key) const
    {
        EnginePositions positions;
        positions.property = key % m_propertyCount;
        const int compounds = key / m_propertyCount;
        if (Binary()) {
            positions.compound = compounds / m_compoundCount;
            positions.compound2 = compounds % m_compoundCount;
        } else {
            positions.compound = compounds;
        }
        return positions;
    }

private:
    EngineKeys(int compoundCount, int propertyCount) : m_compoundCount(compoundCount), m_propertyCount(propertyCount) {}

    int m_compoundCount; // -1 for unary keys
    int m_propertyCount;
};

} // namespace moru::bulk
